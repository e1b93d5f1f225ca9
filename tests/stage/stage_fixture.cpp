#include "tests/stage/stage_fixture.h"

#include "data/command_info.h"
#include "shell/game_requests.h"

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

cCharaData ClearingChara(int column, int row)
{
    cCharaData beaten = PlacedChara(column, row, false);
    beaten.m_nMaxHp = 0;
    cCommandData clear;
    clear.m_nKind = COMMAND_STAGE_CLEAR;
    clear.m_bParallel = 1;
    clear.m_Params.assign(static_cast<std::size_t>(g_CommandInfo[COMMAND_STAGE_CLEAR].count), 0);
    cFlowData flow;
    flow.m_nTrigger = 18;
    flow.m_Commands.push_back(clear);
    beaten.m_Flows.push_back(flow);
    return beaten;
}

cCharaData StageCharaTemplate()
{
    cCharaData definition;
    definition.Reset();
    definition.m_nOperator = 1;
    definition.m_nImageNumber = 1;
    return definition;
}

cStageFixture::cStageFixture(int width, int height) : m_nWidth(width), m_nHeight(height)
{
    g_StageData.Reset();
    g_StageData.m_nWidth = width;
    g_StageData.m_nHeight = height;
    g_StageData.m_nSpeedLevel = 4;
    g_StageData.m_bTimeLimit = 0;
    g_StageData.m_Charas.push_back(PlacedChara(2, 5, true));
    g_SaveData.Reset();
    g_SystemData.m_bRecordReplay = 0;
    g_GameManager.m_nGameMode = GAMEMODE_FREEPLAY;
    g_GameManager.m_nPlayMode = PLAYMODE_FREEPLAY;
    g_GameManager.m_nPrevScene = SCENE_TITLE;
    g_bTestPlay.store(0);
    Commit();
    NewScene();
}

cStageFixture::~cStageFixture()
{
    // The scene clears g_lpPlayScene as it goes, before the guards put player 1 back.
    m_Scene.reset();
}

cPlayScene& cStageFixture::NewScene()
{
    // The old scene goes first: its destructor clears the hooks the new one sets.
    m_Scene.reset();
    m_Scene = std::make_unique<cPlayScene>();
    g_lpPlayScene = m_Scene.get();
    return *m_Scene;
}

void cStageFixture::SetUpCamera()
{
    m_Scene->m_ScrollX.SetUp(0, m_nWidth, (m_nWidth + 20) * 32 - 640);
    m_Scene->m_ScrollY.SetUp(1, m_nHeight, (m_nHeight + 20) * 32 - 640);
}

cHero& cStageFixture::AddPlayerOne()
{
    Player.assign(1, cHero{});
    cHero& hero = Player.At(0);
    hero.m_Def.Reset();
    hero.m_nSerial = kPlayerOneSerial;
    m_Scene->m_lpPlayerOne = &hero;
    return hero;
}

cViewStage::cViewStage() : cStageFixture(40, 20)
{
    SetUpCamera();
    Scene().m_ScrollX.SetLimit(2, 29, 1, 1);
    Scene().m_ScrollY.SetLimit(1, 14, 1, 1);
}

cStageTest::cStageTest()
{
    g_StageData.SetSpeedLevel(10);
    g_CommonPalette.m_Blocks.assign(1, cBlockData{});
    g_CommonPalette.m_Blocks[0].m_nHitMode = 0;
    g_SystemData.m_bSummonSwitch = 0;
    m_Stage.SetUpCamera();
    Scene().m_ScrollX.m_dPos = 320;
    Scene().m_ScrollY.m_dPos = 320;
    m_Stage.BuildBlockGrid();
}

cItemData cStageTest::ItemTemplate()
{
    cItemData definition;
    definition.Reset();
    definition.m_nImageNumber = 1;
    return definition;
}

cBlockData cStageTest::SolidBlock(int number)
{
    cBlockData block;
    block.Reset();
    block.m_nImageNumber = static_cast<std::int16_t>(number);
    block.m_nHitMode = 1;
    return block;
}

}  // namespace qbtest
