#pragma once
// The story menu (scene type 2), opened by cancel on the world map: saving the progress into
// a story slot, switching automatic saving on or off, back to the map, back to the title; and
// the story's total score.
#include "play/scene.h"

class cStoryMenuScene : public cScene {
public:
    static constexpr int kMaxItems = 4;

    cStoryMenuScene();
    ~cStoryMenuScene() override;
    void Run() override;
    void Init() override;
    void FadeIn() override;
    void FadeOut() override;

    void StateMenu();
    void StateSave();
    void StateAutoSave();
    void StateBackToMap();
    void StateBackToTitle();

    void DrawScreen();
    void DrawItems();
    void DrawTotalScore();

    int m_nItemCount = 1;
    int m_nItems[kMaxItems] = {};
    int m_nSlotTop = 0;
    int m_nSlotRows = 0;
};
