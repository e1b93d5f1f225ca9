#pragma once
// The title menu (scene type 0). The menu itself is not built yet: the scene runs its frames
// as every front-end scene does (cScene::RunFrontEndFrame) and its states do nothing yet, so
// that the game loop has a scene to run.
#include "play/scene.h"

class cTitleScene : public cScene {
public:
    cTitleScene();
    void Run() override;
    void Init() override;

    void StateMainMenu();
    void StateContinueSlots();
};
