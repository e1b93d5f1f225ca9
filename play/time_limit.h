#pragma once
// The stage's time limit and the play time, both counted by the play frame.

// The time shown by a stage without a limit, and the largest time left.
constexpr int kNoTimeLimit = 999;

class cTimeLimit {
public:
    // The set-up's start: `seconds` left when the stage has a limit, else none; no play time.
    void Start(int limited, int seconds);
    // Counts the time left down by -delta once a second (the counter the remaining-time display
    // reads); 1 when the time ran out in this call.
    int TickTimeLimit(int delta);
    // One play frame more, in hundredths of a second, held at 599999.
    void TickPlayTime();

    // Remaining seconds, 0 to 999; a stage without a limit shows 999 and never counts down.
    int m_nTimeLeft = 0;
    int m_bNoTimeLimit = 0;
    int m_nPlayFrames = 0;
    int m_nPlayTime = 0;            // hundredths of a second
};
