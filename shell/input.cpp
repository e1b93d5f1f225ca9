#include "shell/input.h"

#include <climits>

namespace {

// The direction word of each per-direction history; index 9 is any direction, in bit mode.
constexpr WORD kDirectionCases[INPUT_DIRECTION_LOGS - 1] = {
    0, DIR_LEFT, DIR_RIGHT, DIR_UP, DIR_DOWN,
    DIR_UP | DIR_LEFT, DIR_DOWN | DIR_LEFT, DIR_UP | DIR_RIGHT, DIR_DOWN | DIR_RIGHT,
};

void GrowRun(std::int32_t& frames)
{
    if (frames < INT_MAX) ++frames;
}

// Auto-repeat of one axis: the bits pass on the frame they change and then whenever their
// count is at least the delay and a multiple of the interval.
void RepeatAxis(WORD& direction, WORD axisBits, WORD previousRaw, unsigned& count,
                unsigned delay, unsigned interval)
{
    if ((direction & axisBits) != (previousRaw & axisBits)) {
        count = 0;
        return;
    }
    ++count;
    const bool repeats = count >= delay && interval != 0 && count % interval == 0;
    if (!repeats) direction &= static_cast<WORD>(~axisBits);
}

}  // namespace

cInput::cInput()
    : m_DirectionKeyLog(INPUT_DIRECTION_LOGS, cSafeVector<KEYSAMPLE>(INPUT_KEYLOG, KEYSAMPLE{0, 0})),
      m_ButtonKeyLog(INPUT_BUTTON_LOGS, cSafeVector<KEYSAMPLE>(INPUT_KEYLOG, KEYSAMPLE{0, 0}))
{
    ClearHistory();
}

void cInput::SetRepeat(unsigned delay, unsigned interval)
{
    m_nRepeatDelay = delay;
    m_nRepeatInterval = interval;
}

void cInput::ResetButtonMasks()
{
    for (int i = 0; i < 8; ++i) m_wJoyButtonMask[i] = static_cast<WORD>(1u << i);
}

void cInput::ClearDirection()
{
    m_wDirection = 0;
    m_nDirection = 5;
}

void cInput::ClearButtons()
{
    m_wButton = 0;
}

int DirectionNumber(WORD direction)
{
    int number = 5;
    if (direction & DIR_LEFT) number -= 1;
    else if (direction & DIR_RIGHT) number += 1;
    if (direction & DIR_UP) number -= 3;
    else if (direction & DIR_DOWN) number += 3;
    return number;
}

void cInput::ApplyRepeat()
{
    const WORD previousRaw = static_cast<WORD>(m_wDirectionLog & 0xF);
    m_wDirectionLog = static_cast<WORD>((m_wDirectionLog << 4) | (m_wDirection & 0xF));
    RepeatAxis(m_wDirection, DIR_LEFT | DIR_RIGHT, previousRaw, m_nRepeatCountX,
               m_nRepeatDelay, m_nRepeatInterval);
    RepeatAxis(m_wDirection, DIR_UP | DIR_DOWN, previousRaw, m_nRepeatCountY,
               m_nRepeatDelay, m_nRepeatInterval);
}

void cInput::TriggerButtons(WORD mask)
{
    if (mask == 0) mask = 0xFF;
    const bool anyDownAtStart = (m_wButton & mask) != 0;
    for (int n = 0; n < 8; ++n) {
        const WORD bit = static_cast<WORD>(1u << n);
        if (!(mask & bit)) continue;
        if (m_bTriggerHeld && (m_wButton & bit)) m_wButton &= static_cast<WORD>(~bit);
        if ((m_wButton & bit) && !m_bTriggerHeld) {
            m_bTriggerHeld = 1;   // this press passes once
            return;
        }
    }
    if (!anyDownAtStart) m_bTriggerHeld = 0;
    else m_wButton &= static_cast<WORD>(~mask);
}

void cInput::ClearHistory()
{
    for (auto& ring : m_StateRing) {
        for (auto& run : ring) run = INPUTRUN{0, 0};
    }
    m_nStateRingPos[0] = m_nStateRingPos[1] = 0;
}

void cInput::RecordHistory()
{
    const WORD words[2] = {m_wDirection, m_wButton};
    for (int ring = 0; ring < 2; ++ring) {
        int& pos = m_nStateRingPos[ring];
        if (m_StateRing[ring][pos].wState == words[ring]) {
            GrowRun(m_StateRing[ring][pos].nFrames);
        } else {
            pos = (pos + 1) % INPUT_RING;
            m_StateRing[ring][pos] = INPUTRUN{words[ring], 1};
        }
    }
}

WORD cInput::StateAgo(int ring, int n) const
{
    if (ring != 0 && ring != 1) return 0;
    int pos = m_nStateRingPos[ring];
    long long remainder = static_cast<long long>(n) + 1;
    for (int i = 0; i < INPUT_RING; ++i) {
        const INPUTRUN& run = m_StateRing[ring][pos];
        if (remainder <= run.nFrames) break;
        remainder -= run.nFrames;
        pos = (pos + INPUT_RING - 1) % INPUT_RING;
    }
    return m_StateRing[ring][pos].wState;
}

void cInput::ResetKeyHistories()
{
    for (auto* logs : {&m_DirectionKeyLog, &m_ButtonKeyLog}) {
        for (auto& history : *logs) history.assign(INPUT_KEYLOG, KEYSAMPLE{0, 0});
    }
}

void cInput::RecordKey(cSafeVector<KEYSAMPLE>& history, WORD word, WORD valueOrMask, bool bitMode)
{
    const int down = bitMode ? (word & valueOrMask) != 0 : word == valueOrMask;
    KEYSAMPLE& newest = history.At(0);
    if (newest.nPressed != down) {
        history.insert(history.begin(), KEYSAMPLE{down, 1});
        history.pop_back();
    } else {
        GrowRun(newest.nFrames);
    }
}

void cInput::RecordKeyHistories()
{
    for (int i = 0; i < INPUT_DIRECTION_LOGS - 1; ++i) {
        RecordKey(m_DirectionKeyLog.At(i), m_wDirection, kDirectionCases[i], false);
    }
    RecordKey(m_DirectionKeyLog.At(INPUT_DIRECTION_LOGS - 1), m_wDirection, 0xF, true);
    RecordKey(m_ButtonKeyLog.At(0), m_wButton, 0, false);
    for (int b = 1; b < INPUT_BUTTON_LOGS; ++b) {
        RecordKey(m_ButtonKeyLog.At(b), m_wButton, static_cast<WORD>(1u << (b - 1)), true);
    }
}
