#pragma once
// The title menu (scene type 0). The menu itself is not built yet: the scene initialises on its
// first frame and then runs empty frames, so that the game loop has a scene to run.
#include "play/scene.h"

class cTitleScene : public cScene {
public:
    void Run() override;
};
