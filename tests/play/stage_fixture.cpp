#include "tests/play/stage_fixture.h"

#include "play/block_grid.h"

namespace qbtest {

std::vector<int> cRequestLog::s_StageBgm;
std::vector<int> cRequestLog::s_Sounds;

namespace {

void Observe(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_GAME_PLAYSE) cRequestLog::s_Sounds.push_back(static_cast<int>(wParam));
    if (msg == WM_GAME_PLAYBGM && wParam == 4) {
        cRequestLog::s_StageBgm.push_back(static_cast<int>(lParam));
        // What the window thread's handler does with it.
        g_SaveData.m_nStageBgm = static_cast<int>(lParam);
    }
}

}  // namespace

cRequestLog::cRequestLog()
{
    s_StageBgm.clear();
    s_Sounds.clear();
    SetRequestObserver(Observe);
}

cRequestLog::~cRequestLog() { SetRequestObserver(nullptr); }

cBlockData PlacedBlock(int column, int row, int image)
{
    cBlockData block;
    block.m_nColumn = static_cast<std::int16_t>(column);
    block.m_nRow = static_cast<std::int16_t>(row);
    block.m_nImageNumber = static_cast<std::int16_t>(image);
    block.m_nHitMode = 1;
    return block;
}

cCharaData PlacedChara(int column, int row, bool hero)
{
    cCharaData chara;
    chara.m_nColumn = static_cast<std::int16_t>(column);
    chara.m_nRow = static_cast<std::int16_t>(row);
    chara.m_nImageNumber = 1;
    chara.m_nOperator = hero ? 0 : 1;
    chara.m_nHeldItem = -1;
    return chara;
}

cStageFixture::cStageFixture()
{
    g_StageData.Reset();
    g_StageData.m_nWidth = 13;
    g_StageData.m_nHeight = 15;
    g_StageData.m_nSpeedLevel = 4;
    g_StageData.m_bTimeLimit = 0;
    g_StageData.m_Charas.push_back(PlacedChara(2, 5, true));
    g_SaveData.Reset();
    g_SystemData.m_bRecordReplay = 0;
    g_GameManager.m_nGameMode = 3;
    g_GameManager.m_nPlayMode = 2;
    g_GameManager.m_nPrevScene = SCENE_TITLE;
    g_bTestPlay.store(0);
    Commit();
}

cStageFixture::~cStageFixture()
{
    m_Scene.reset();
    Player.clear();
    g_BlockGrid.m_Cells.clear();
}

cPlayScene& cStageFixture::NewScene()
{
    m_Scene = std::make_unique<cPlayScene>();
    g_lpPlayScene = m_Scene.get();
    return *m_Scene;
}

}  // namespace qbtest
