#include "objects/effect_playback.h"

#include <utility>

#include "data/database.h"
#include "objects/database_working_tables.h"
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

cEffectPlayback::TEMPLATES CharaTemplates() { return {g_CharaEffectTemplates, g_CharaEffectTemplatesReverse}; }
cEffectPlayback::TEMPLATES ScreenTemplates() { return {g_ScrEffectTemplates, g_ScrEffectTemplatesReverse}; }

}  // namespace

void cEffectPlayback::InitCharaEffectTemplate(int id, int reversed)
{
    m_nId = static_cast<std::int16_t>(id);
    m_nTable = reversed ? EFFECTTABLE_CHARA_REVERSED : EFFECTTABLE_CHARA;
    m_nEntry = id;
    cCharaEffectData& entry = CharaEntry();
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
    m_nTable = reversed ? EFFECTTABLE_SCREEN_REVERSED : EFFECTTABLE_SCREEN;
    m_nEntry = id;
    cScrEffectData& entry = ScrEntry();
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
        m_nCounter2 = p[2];
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
        m_nCounter2 = 0;
        break;
    default:
        break;
    }
}

cCharaEffectData& cEffectPlayback::CharaEntry() const
{
    return m_nTable == EFFECTTABLE_CHARA_REVERSED ? g_Database.m_CharaEffectsReverse.At(m_nEntry)
                                                  : g_Database.m_CharaEffects.At(m_nEntry);
}

cScrEffectData& cEffectPlayback::ScrEntry() const
{
    return m_nTable == EFFECTTABLE_SCREEN_REVERSED ? g_Database.m_ScrEffectsReverse.At(m_nEntry)
                                                   : g_Database.m_ScrEffects.At(m_nEntry);
}

void cEffectPlayback::LoadTemplate(const cEffectPlayback& source)
{
    m_nTable = source.m_nTable;
    m_nEntry = source.m_nEntry;
    m_nFrom = source.m_nFrom;
    m_nTo = source.m_nTo;
    m_dValue = source.m_dValue;
    m_dValue2 = source.m_dValue2;
    m_dStep = source.m_dStep;
    m_nCounter = source.m_nCounter;
    m_nCounter2 = source.m_nCounter2;
    m_nToggle = source.m_nToggle;
}

void cEffectPlayback::Start(const TEMPLATES& templates, int id, int mode, int loop)
{
    m_bReversed = mode == 1 ? 1 : 0;
    LoadTemplate(m_bReversed ? templates.reversed.At(id) : templates.normal.At(id));
    m_nId = static_cast<std::int16_t>(id);
    m_nMode = mode;
    m_bLoop = loop;
    m_nReserved = 0;
}

void cEffectPlayback::Restart(const TEMPLATES& templates)
{
    if (m_nMode == 2) m_bReversed = m_bReversed ? 0 : 1;
    LoadTemplate(m_bReversed ? templates.reversed.At(m_nId) : templates.normal.At(m_nId));
    m_nReserved = 0;
}

bool cEffectPlayback::RestartAtEnd(const TEMPLATES& templates)
{
    if (!m_bLoop && !(m_nMode == 2 && m_bReversed == 0)) return false;
    Restart(templates);
    return true;
}

void cEffectPlayback::StartCharaEffect(int id, int mode, int loop) { Start(CharaTemplates(), id, mode, loop); }
void cEffectPlayback::StartScreenEffect(int id, int mode, int loop) { Start(ScreenTemplates(), id, mode, loop); }
void cEffectPlayback::RestartCharaEffect() { Restart(CharaTemplates()); }
void cEffectPlayback::RestartScreenEffect() { Restart(ScreenTemplates()); }

int cEffectPlayback::StepCharaEffect()
{
    // The value is accumulated and compared as a double: how the sum rounds decides on which
    // frame the end is passed.
    if (m_nFrom <= m_nTo) {
        m_dValue += m_dStep;
        if (m_dValue <= m_nTo) return 0;
    } else {
        m_dValue -= m_dStep;
        if (m_dValue >= m_nTo) return 0;
    }
    return RestartAtEnd(CharaTemplates()) ? 0 : 1;
}

int cEffectPlayback::StepScreenEffect(int from, int to, double step)
{
    if (from <= to) {
        m_dValue += step;
        if (TruncToInt(m_dValue) <= to) return 0;
    } else {
        m_dValue -= step;
        if (TruncToInt(m_dValue) >= to) return 0;
    }
    return RestartAtEnd(ScreenTemplates()) ? 0 : 1;
}
