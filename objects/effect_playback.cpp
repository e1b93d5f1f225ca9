#include "objects/effect_playback.h"

#include <utility>

#include "data/database.h"
#include "shell/game_arithmetic.h"

namespace {

// |end - start| / (duration x 6) per frame: durations are tenths of a second at 60 frames.
// A duration of 0 or less gives an infinite or NaN step, as the arithmetic has it.
double LinearStep(int duration, int start, int end)
{
    const int difference = WrapSub(end, start);
    const int magnitude = difference < 0 ? WrapSub(0, difference) : difference;
    return static_cast<double>(magnitude) / static_cast<double>(WrapMul(duration, 6));
}

constexpr double kTimedStep = 1.0 / 6.0;

}  // namespace

void cEffectPlayback::InitCharaEffectTemplate(int id, int reversed)
{
    m_nId = static_cast<std::int16_t>(id);
    cCharaEffectData& entry = reversed ? g_Database.m_CharaEffectsReverse.At(id) : g_Database.m_CharaEffects.At(id);
    m_lpCharaEntry = &entry;
    int* p = entry.m_nParams;   // p[0] is the duration, p[1] and p[2] the start and end
    switch (entry.m_nKind) {
    case 1: case 2: case 3: case 4: case 5: case 7: case 8: case 9: case 10: case 11: case 12: case 13: case 15: case 16:
        if (reversed) std::swap(p[1], p[2]);
        m_nFrom = p[1];
        m_nTo = p[2];
        m_dValue = p[1];
        m_dStep = LinearStep(p[0], p[1], p[2]);
        if (entry.m_nKind == 4 || entry.m_nKind == 5) m_nCounter = 0;
        break;
    case 6: case 14:
        m_nFrom = 0;
        m_nTo = p[0];
        m_dValue = 0.0;
        m_dStep = kTimedStep;
        m_nCounter = 0;
        m_nToggle = 0;
        break;
    default:
        break;
    }
}

void cEffectPlayback::InitScreenEffectTemplate(int id, int reversed)
{
    m_nId = static_cast<std::int16_t>(id);
    cScrEffectData& entry = reversed ? g_Database.m_ScrEffectsReverse.At(id) : g_Database.m_ScrEffects.At(id);
    m_lpScrEntry = &entry;
    int* p = entry.m_nParams;
    switch (entry.m_nKind) {
    case 1:
        if (reversed) {
            std::swap(p[1], p[3]);
            std::swap(p[2], p[4]);
        }
        m_dValue = 0.0;
        m_dStep = kTimedStep;
        m_nCounter = p[1];
        m_nToggle = p[2];
        break;
    case 2: case 3:
        m_dValue = 0.0;
        m_dValue2 = 0.0;
        m_dStep = kTimedStep;
        m_nCounter = 0;
        break;
    case 4: case 5: case 6: case 7: case 9: case 10: case 11: case 12: case 13:
        if (reversed) std::swap(p[1], p[2]);
        m_dValue = p[1];
        m_dStep = LinearStep(p[0], p[1], p[2]);
        if (entry.m_nKind == 6 || entry.m_nKind == 7) m_nCounter = 0;
        break;
    case 8:
        m_dValue = 0.0;
        m_dStep = kTimedStep;
        m_nCounter = 0;
        m_nToggle = 0;
        break;
    default:
        break;
    }
}
