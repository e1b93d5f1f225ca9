#pragma once
// The screen colour of the stage: a tint that holds, a tint that returns to the colour before
// it, or a flash that repeats, set by the screen-colour command and drawn at the end of every
// stage frame (the frame's picture multiplied by the colour, or the 8-bit palette blended
// toward it).
#include "platform/os/windows_types.h"

class cScreenColor {
public:
    // The command's eight values: the colour, strength in percent, restore flag, time in tenths
    // of a second, mode (0 tint, other flash) and repeats of a flash.
    void Set(int red, int green, int blue, int strength, int restore, int tenths, int mode, int repeats);
    void Reset() { *this = cScreenColor{}; }

    // What one frame of the colour draws: the level (255 no colour) and the colour, or, at the
    // end of a flash period, the screen without colour.
    struct FRAME {
        int nLevel;
        BYTE byRed, byGreen, byBlue;
        bool bPeriodEnd;
    };
    // Computes this frame's level and, unless paused, advances the counters. Only while active.
    FRAME Advance(int paused);

    // The fourteen stored values, in their order.
    int m_bStarted = 0;
    BYTE m_byRed = 0, m_byGreen = 0, m_byBlue = 0, m_bySpare = 0;
    int m_nStrength = 0;
    int m_bRestore = 0;
    int m_nFrames = 0;
    int m_nMode = 0;
    int m_nRepeats = 0;
    int m_bActive = 0;
    int m_nCounter = 0;
    int m_nRepeatCounter = 0;
    int m_nLevel = 0;
    BYTE m_bySavedRed = 0, m_bySavedGreen = 0, m_bySavedBlue = 0, m_bySavedSpare = 0;
    int m_nSavedStrength = 0;
    int m_nSavedLevel = 255;
};
