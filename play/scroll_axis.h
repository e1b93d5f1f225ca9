#pragma once
// One camera axis of a stage: the stage pixel shown at the screen's left (or top) edge, the
// limits it may move between, the stage's size on the axis and the automatic scroll.

class cScrollAxis {
public:
    // Fills the axis for a stage of `blocks` blocks on it (margins excluded): axis 0 is the
    // horizontal one (screen 640, grid row shift from the width), axis 1 the vertical one
    // (screen 480). `extentValue` is the stage record's pixel-extent value of the axis.
    void SetUp(int axis, int blocks, int extentValue);
    // Keeps the position inside [minimum, maximum - screen size]; the minimum wins when the
    // two cross. clamped is 1 when a limit applied, including position + screen == maximum.
    void Clamp();
    // One sub-step of the automatic scroll.
    void Advance();
    // speed is in tenths of a pixel per frame; steps is the stage's sub-steps per frame.
    void SetAutoScroll(int on, int speed, double steps);
    // from and to are block columns (or rows) of the stage, to inclusive.
    void SetLimit(int from, int to, int useFrom, int useTo);
    // The auto-scroll velocity that objects follow: 0 while the axis is held at a limit.
    double CarrySpeed() const;

    double m_dPos = 0;
    int m_bClamped = 0;
    int m_nAxis = 0;
    int m_nScreenSize = 0;
    int m_nMin = 0;
    int m_nMax = 0;
    int m_nBaseMin = 0;
    int m_nBaseMax = 0;
    int m_nMargin = 0;
    int m_nExtent = 0;     // the whole stage in pixels, margins included
    int m_nSize = 0;       // blocks, margins included
    int m_nPitch = 0;      // horizontal: 2^shift, the grid's row pitch; vertical: the row count
    int m_nShift = 0;      // horizontal: the grid's row shift; vertical: 0
    double m_dSpeed = 0;   // pixels per sub-step
    int m_bAuto = 0;
};

// The number of bits needed to write value (0 for 0 and for negative values).
int BitLength(int value);
