#pragma once
// A picture shown over the stage: a whole image file at a stage or screen position, scaled or
// not, for a number of frames or until removed. The stage keeps its pictures in a list beside
// their surfaces and removes each one whose draw reports the end.
#include <cstdint>

struct DDSURFACEDATA;

class cPicture {
public:
    // width and height are the size on the screen, already zoomed; a zoom of 100 draws
    // unscaled. Display mode 2 shows the picture for `frames` draws.
    void Init(int id, double x, double y, int width, int height, int screenFixed, int layer, int zoom,
              int displayMode, int frames, int timerRunsWhilePaused, int hasId, int idNumber);
    // Draws the picture onto target from its surface (nothing when it has none). A timed
    // picture counts down first, unless paused with a timer that stops in the pause, and
    // returns 1 without drawing once its frames are used up.
    int Draw(DDSURFACEDATA* target, DDSURFACEDATA* surface, int paused);

    int m_nId = 0;                  // Picture database entry, 16 bits
    double m_dX = 0;
    double m_dY = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_bScaled = 0;
    int m_nLayer = 0;               // 0 behind the blocks, 1 in front
    int m_nDisplayMode = 0;         // 2: shown for m_nFramesLeft frames
    int m_nFramesLeft = 0;
    int m_bTimerRunsWhilePaused = 0;
    int m_bScreenFixed = 0;         // keeps the screen position of its first draw
    int m_bLatched = 0;
    int m_nLatchedX = 0;
    int m_nLatchedY = 0;
    int m_bHasId = 0;
    int m_nIdNumber = 0;            // what a picture command with an ID finds it by
    // Which picture this is while it lives, whatever the list does around it: a command that
    // waits for its picture takes away that one only.
    int m_nSerial = 0;
};
