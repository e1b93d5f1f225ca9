#include <algorithm>
#include <climits>

#include "platform/input/keyboard.h"
#include "shell/input.h"
#include "shell/key_config.h"

namespace {

constexpr DWORD kAxisLow = 10000;    // at or below: left, up
constexpr DWORD kAxisHigh = 55535;   // at or above: right, down

bool KeyDown(int virtualKey)
{
    return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

}  // namespace

// A joystick that failed is tried again after twice the retry frames; until then it counts
// as failed without being asked.
bool cInput::ReadJoystick(int joystick, int retryFrames, JOYINFOEX& joy)
{
    if (joystick < 0 || joystick >= INPUT_JOYSTICKS) return false;
    if (!m_bJoystickOk[joystick] && m_nJoystickRetry[joystick] > 0) {
        --m_nJoystickRetry[joystick];
        return false;
    }
    joy = JOYINFOEX{};
    joy.dwSize = sizeof(JOYINFOEX);
    joy.dwFlags = JOY_RETURNX | JOY_RETURNY | JOY_RETURNBUTTONS;
    if (joyGetPosEx(static_cast<UINT>(joystick), &joy) == JOYERR_NOERROR) {
        m_bJoystickOk[joystick] = 1;
        return true;
    }
    m_bJoystickOk[joystick] = 0;
    m_nJoystickRetry[joystick] = static_cast<int>(std::clamp(2LL * retryFrames, 0LL, static_cast<long long>(INT_MAX)));
    return false;
}

bool cInput::JoystickAxisPressed(const JOYINFOEX& joy, int code)
{
    switch (code) {
    case JOYCODE_XLOW: return joy.dwXpos <= kAxisLow;
    case JOYCODE_XHIGH: return joy.dwXpos >= kAxisHigh;
    case JOYCODE_YLOW: return joy.dwYpos <= kAxisLow;
    case JOYCODE_YHIGH: return joy.dwYpos >= kAxisHigh;
    default: return false;
    }
}

int cInput::PollDefault(int joystick, int flags, int retryFrames)
{
    if (g_KeyConfig.bUse) return 0;

    bool joyDirection = false;
    bool joyButtons = false;
    JOYINFOEX joy{};
    if (ReadJoystick(joystick, retryFrames, joy) && (flags & 1)) {
        m_nDirection = 5;
        m_wDirection = 0;
        if (joy.dwXpos <= kAxisLow) { m_nDirection = 4; m_wDirection = DIR_LEFT; }
        else if (joy.dwXpos >= kAxisHigh) { m_nDirection = 6; m_wDirection = DIR_RIGHT; }
        if (joy.dwYpos <= kAxisLow) { m_wDirection |= DIR_UP; m_nDirection -= 3; }
        else if (joy.dwYpos >= kAxisHigh) { m_wDirection |= DIR_DOWN; m_nDirection += 3; }
        joyDirection = m_nDirection != 5;

        m_wButton = 0;
        for (int i = 0; i < 8; ++i) {
            if (m_wJoyButtonMask[i] & joy.dwButtons) m_wButton |= static_cast<WORD>(1u << i);
        }
        joyButtons = m_wButton != 0;
    }

    if (flags & 2) {
        if (!joyDirection) {
            m_nDirection = 5;
            m_wDirection = 0;
            if (KeyDown(VK_LEFT)) { m_wDirection |= DIR_LEFT; m_nDirection -= 1; }
            if (KeyDown(VK_RIGHT)) { m_wDirection |= DIR_RIGHT; m_nDirection += 1; }
            if (KeyDown(VK_UP)) { m_wDirection |= DIR_UP; m_nDirection -= 3; }
            if (KeyDown(VK_DOWN)) { m_wDirection |= DIR_DOWN; m_nDirection += 3; }
        }
        if (!joyButtons) {
            static constexpr int kButtonKeys[8] = {'Z', 'X', 'C', 'V', 'A', 'S', 'D', 'F'};
            m_wButton = 0;
            for (int i = 0; i < 8; ++i) {
                if (KeyDown(kButtonKeys[i])) m_wButton |= static_cast<WORD>(1u << i);
            }
        }
    }
    return 1;
}

int cInput::PollKeyConfig([[maybe_unused]] int keySets, int retryFrames)
{
    const KEYCONFIG& config = g_KeyConfig;
    if (!config.bUse) return 0;

    const int joysticks = std::clamp(config.nJoysticks, 0, KEYCONFIG_JOYSTICKS);
    JOYINFOEX joy[KEYCONFIG_JOYSTICKS] = {};
    bool joyRead[KEYCONFIG_JOYSTICKS] = {};
    for (int j = 0; j < joysticks; ++j) joyRead[j] = ReadJoystick(j, retryFrames, joy[j]);

    m_nDirection = 5;
    m_wDirection = 0;
    m_wButton = 0;

    // A device that is neither the keyboard nor a joystick read this frame is never down.
    auto entryDown = [&](int index, bool directionEntry) {
        const KEYCONFIGENTRY& e = config.Entry[index];
        if (e.nDevice == KEYCONFIG_KEYBOARD) return KeyDown(e.wCode);
        if (e.nDevice < 0 || e.nDevice >= joysticks || !joyRead[e.nDevice]) return false;
        const JOYINFOEX& reading = joy[e.nDevice];
        if (directionEntry && JoystickAxisPressed(reading, e.wCode)) return true;
        return (reading.dwButtons & e.wCode) != 0;
    };

    if (entryDown(0, true)) { m_wDirection |= DIR_LEFT; m_nDirection -= 1; }
    else if (entryDown(1, true)) { m_wDirection |= DIR_RIGHT; m_nDirection += 1; }
    if (entryDown(2, true)) { m_wDirection |= DIR_UP; m_nDirection -= 3; }
    else if (entryDown(3, true)) { m_wDirection |= DIR_DOWN; m_nDirection += 3; }

    const int entries = std::clamp(config.nEntries, 0, KEYCONFIG_ENTRIES);
    for (int k = 0; k + 4 < entries; ++k) {
        if (entryDown(k + 4, false)) m_wButton |= static_cast<WORD>(1u << k);
    }
    return 1;
}
