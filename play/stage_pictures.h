#pragma once
// The pictures of a stage: the standard stage pictures and background slots that the scene
// loads when it starts a stage and releases when it goes, and the pictures flows show over the
// stage, in the order they were placed.
#include <list>

#include "objects/picture.h"

struct DDSURFACEDATA;

class cStagePictures {
public:
    // The background slots take the stage's background pictures; then the first stage after
    // another scene loads every standard stage picture, a stage that follows a stage only the
    // backgrounds. False when a picture could not be loaded.
    bool Load(bool reEntered);
    // Every picture the stage loaded, when the scene goes.
    void Release();
    // The set-up's start: no picture shown.
    void ClearPictures();
    // The pictures of one layer (0 behind the blocks, 1 in front of everything).
    void Draw(DDSURFACEDATA* target, int layer, int paused);

    std::list<cPicture> m_Pictures;
};
