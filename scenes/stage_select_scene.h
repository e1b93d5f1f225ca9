#pragma once
// The stage select (scene type 3), the menu of challenge mode: the numbered challenge stages
// with their clear marks and best values, the ranking of the stage under the cursor, and the
// chosen stage started in the stage play. Cancel goes back to the title. The cursor comes back
// where the last started stage left it.
#include <string>

#include "play/scene.h"

class cStageSelectScene : public cScene {
public:
    static constexpr int kMaxRows = 10;

    cStageSelectScene();
    ~cStageSelectScene() override;
    void Run() override;
    void Init() override;
    void FadeIn() override;
    void FadeOut() override;

    void StateSelect();

    // The file of challenge stage n (from 1), without its version number: "data\stg4\c05-1.stg4".
    static std::string StageFileName(int n);
    // The selectable stages and the rows shown from m_nTop (which is kept inside the list).
    void UpdateListExtent();
    // The stage under the cursor becomes the progress record's stage, and its ranking is read.
    void SelectStageForRanking(int n);
    void CreateListSurface();
    void DrawListSurface();
    void DrawScreen();

    int m_nTop = 0;
    int m_nCount = 0;
    int m_nRows = 0;

private:
    void StartStage(int row);
    void RankingKeys(int buttons);
};
