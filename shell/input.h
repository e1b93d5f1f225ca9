#pragma once
// Player input: each frame the keyboard and the joystick become a direction word (1 left,
// 2 right, 4 up, 8 down) and a button word (bit n-1 for button n), with what the scenes and
// the stage read on top of them: a direction number, menu auto-repeat, one-shot buttons, a
// run-length history of both words and per-key press histories.
#include <cstdint>

#include "platform/input/joystick.h"
#include "platform/os/windows_types.h"
#include "shell/safe_container.h"

constexpr WORD DIR_LEFT = 1;
constexpr WORD DIR_RIGHT = 2;
constexpr WORD DIR_UP = 4;
constexpr WORD DIR_DOWN = 8;

constexpr int INPUT_RING = 32;          // entries of each run-length ring
constexpr int INPUT_KEYLOG = 32;        // samples of each per-key history
constexpr int INPUT_DIRECTION_LOGS = 10;
constexpr int INPUT_BUTTON_LOGS = 9;
constexpr int INPUT_JOYSTICKS = 8;

// One run of a per-key history.
struct KEYSAMPLE {
    std::int32_t nPressed;   // 0 or 1
    std::int32_t nFrames;    // frames the state has lasted
};

// One run of a word in a run-length ring.
struct INPUTRUN {
    WORD wState;
    std::int32_t nFrames;
};

class cInput {
public:
    cInput();

    void SetRepeat(unsigned delay, unsigned interval);
    void ResetButtonMasks();

    // Fixed keys (flag 1 the joystick, flag 2 the keyboard); 0 without polling when the key
    // configuration is in use.
    int PollDefault(int joystick, int flags, int retryFrames);
    // Through g_KeyConfig; 0 without polling when it is not in use. One key set is supported.
    int PollKeyConfig(int keySets, int retryFrames);
    static bool JoystickAxisPressed(const JOYINFOEX& joy, int code);

    void ClearDirection();
    void ClearButtons();

    // Menu filters, in this order at the start of a frame.
    void ApplyRepeat();
    void TriggerButtons(WORD mask);   // 0: all eight buttons

    void ClearHistory();
    void RecordHistory();
    WORD StateAgo(int ring, int n) const;   // ring 0 direction, 1 buttons; n = 0 is this frame

    void ResetKeyHistories();
    void RecordKeyHistories();
    static void RecordKey(cSafeVector<KEYSAMPLE>& history, WORD word, WORD valueOrMask, bool bitMode);

    WORD m_wDirection = 0;
    WORD m_wButton = 0;
    WORD m_wDirectionLog = 0;   // raw direction words, four bits a frame, newest lowest
    INPUTRUN m_StateRing[2][INPUT_RING];
    int m_nStateRingPos[2];
    cSafeVector<cSafeVector<KEYSAMPLE>> m_DirectionKeyLog;   // by direction case, newest first
    cSafeVector<cSafeVector<KEYSAMPLE>> m_ButtonKeyLog;      // 0 no button, 1 to 8 buttons
    int m_nDirection = 5;
    unsigned m_nRepeatCountX = 0;
    unsigned m_nRepeatCountY = 0;
    unsigned m_nRepeatDelay = 0;
    unsigned m_nRepeatInterval = 0;
    int m_bTriggerHeld = 0;
    WORD m_wJoyButtonMask[8] = {};
    // Kept per joystick, so that one absent joystick does not hold back another.
    int m_bJoystickOk[INPUT_JOYSTICKS] = {};
    int m_nJoystickRetry[INPUT_JOYSTICKS] = {};

private:
    bool ReadJoystick(int joystick, int retryFrames, JOYINFOEX& joy);
};

// Direction number 1 to 9 in screen order (5 none); left wins over right and up over down.
int DirectionNumber(WORD direction);

// Element 0 is player 1, the only one polled.
extern cSafeVector<cInput> g_Input;
