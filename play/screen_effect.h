#pragma once
// The screen effect running over the stage (shakes, waves, zooms, splits and the like), set by
// the screen-effect command: its kind (0 none) and its working values. The stage draw hands it
// the frame before anything is drawn and again once everything is.
class cScreenEffect {
public:
    void Reset() { *this = cScreenEffect{}; }
    // The effect's parts of the stage draw, before the backgrounds and after the messages.
    void BeforeDraw();
    void AfterDraw();

    short m_nKind = 0;
    const void* m_lpTemplate = nullptr;
    int m_nCounter = 0;
    int m_nCounter2 = 0;
};
