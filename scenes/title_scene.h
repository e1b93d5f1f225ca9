#pragma once
// The title menu (scene type 0), the first scene and the one every game returns to: the title
// picture with a menu of the enabled game modes. Choosing one sets the game and play modes,
// prepares the progress record and hands over to the world map, the stage select, the stage
// play or the options; continue opens the list of story slots, and quit ends the program.
#include "play/scene.h"

class cTitleScene : public cScene {
public:
    static constexpr int kMaxItems = 7;  // one per game mode

    cTitleScene();
    ~cTitleScene() override;
    void Run() override;
    void Init() override;
    void FadeIn() override;
    void FadeOut() override;

    void StateMainMenu();
    void StateContinueSlots();

    // The stage-file dialog on the window thread, which starts free play of a chosen file: 1
    // when a file was chosen and loaded, else 0.
    static int RequestStageLoad();
    void CreateMenuSurface();
    void DrawMenuSurface();
    void DrawScreen();

    int m_nItemCount = 1;
    int m_nItems[kMaxItems] = {};
    int m_nSlotTop = 0;
    int m_nSlotRows = 0;
    int m_nMenuX = 192;
    int m_nMenuY = 240;
};
