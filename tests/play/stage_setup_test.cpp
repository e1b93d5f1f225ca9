#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "data/replay_data.h"
#include "graphics/stage_picture_surfaces.h"
#include "graphics/surface.h"
#include "platform/os/message_box.h"
#include "platform/os/timer.h"
#include "play/block_grid.h"
#include "play/sub_step_table.h"
#include "tests/stage/stage_fixture.h"

using qbtest::cRequestLog;
using qbtest::cStageFixture;
using qbtest::PlacedBlock;

namespace {

// The W = 13, H = 15 stage: blocks inside and in the margin, a hero at (2, 5) whose stored
// start (the stage-clear command's) is (4, 7) facing right.
class StageSetUp : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_StageData.m_Blocks.push_back(PlacedBlock(0, 0, 5));
        g_StageData.m_Blocks.push_back(PlacedBlock(-1, 3, 6));    // left margin
        g_StageData.m_Blocks.push_back(PlacedBlock(13, 14, 7));   // right margin
        g_StageData.m_Blocks.push_back(PlacedBlock(12, -10, 8));  // top margin, row 0 of the grid
        m_Fixture.Commit();
        g_SaveData.m_bFollowUp = 1;
        g_SaveData.m_nFollowUpA = 4;
        g_SaveData.m_nFollowUpB = 7;
        g_SaveData.m_nFollowUpC = 1;
    }

    cStageFixture m_Fixture;
};

TEST_F(StageSetUp, BuildsTheGridOf64CellRowsWithPlacedBlocksInTheirCells)
{
    cPlayScene& scene = m_Fixture.NewScene();
    scene.SetStage(0, 1);

    EXPECT_EQ(g_BlockGrid.m_nShift, 6);   // 13 + 19 = 32 has 6 bits: P = 64
    ASSERT_EQ(g_BlockGrid.m_Cells.size(), 35u * 64u);
    struct Case { int cell; int image; int hitMode; } cases[] = {
        {10 + (10 << 6), 5, 1},   // (0, 0)
        {9 + (13 << 6), 6, 1},    // (-1, 3)
        {23 + (24 << 6), 7, 1},   // (13, 14)
        {22 + (0 << 6), 8, 1},    // (12, -10)
        {0, 0, 0},                // an empty cell
        {11 + (10 << 6), 0, 0},
        {35 * 64 - 1, 0, 0},
    };
    for (const Case& c : cases) {
        const cBlockCell& cell = g_BlockGrid.m_Cells.At(c.cell);
        EXPECT_EQ(cell.m_nImageNumber, c.image) << c.cell;
        EXPECT_EQ(cell.m_nHitMode, c.hitMode) << c.cell;
        EXPECT_EQ(cell.m_byOwn, 0) << c.cell;
    }
    // An empty cell keeps the default template's other fields.
    EXPECT_EQ(g_BlockGrid.m_Cells.At(0).m_nPassLayer, -1);
    EXPECT_EQ(g_BlockGrid.m_Cells.At(0).m_bFixed, 0);
}

TEST_F(StageSetUp, PlacesTheHeroAtItsStoredStartWithTheHomePointOfItsOwnCell)
{
    cPlayScene& scene = m_Fixture.NewScene();
    scene.SetStage(0, 1);

    ASSERT_EQ(Player.size(), 1u);
    const cHero& hero = Player.At(0);
    // Walking bounds 16 x 24, bottom-aligned: draw offsets (8, 8).
    EXPECT_EQ(hero.m_dX, 456.5);   // (10 + 4) * 32 + 8 + 0.5
    EXPECT_EQ(hero.m_dY, 552.0);   // (10 + 7) * 32 + 8
    EXPECT_EQ(hero.m_dHomeX, 400.0);   // ((10 + 2) * 32) | 16
    EXPECT_EQ(hero.m_dHomeY, 496.0);   // ((10 + 5) * 32) | 16
    EXPECT_EQ(hero.m_Def.m_nFacing, 1);
    EXPECT_EQ(hero.m_nSerial, 0);
    // The stage is narrower and no taller than the screen: both axes rest on their minimum.
    EXPECT_EQ(scene.m_ScrollX.m_dPos, 320.0);
    EXPECT_EQ(scene.m_ScrollY.m_dPos, 320.0);
    ASSERT_EQ(scene.m_CharaLayers.size(), 8u);
    ASSERT_EQ(scene.m_CharaLayers.At(1).size(), 1u);
    EXPECT_EQ(scene.m_CharaLayers.At(1).front(), &Player.At(0));
}

TEST_F(StageSetUp, PlacesCharasAndItemsWithSerialsLayersAndTheStartTrigger)
{
    cStageData& stage = g_StageData;
    stage.m_nScrollAxisX = 13 * 32;   // the whole stage with its margins: 1056 x 1120
    stage.m_nScrollAxisY = 15 * 32;
    cCharaData copies = qbtest::PlacedChara(2, 3, false);
    copies.m_nCopies = 2;             // three copies, 400 dots apart: the first lies left of the stage
    copies.m_nCopyXBase = -400;
    copies.m_nCopyXStep = 400;
    cCharaData carrier = qbtest::PlacedChara(6, 3, false);
    carrier.m_nHeldItem = 0;
    cCharaData beaten = qbtest::PlacedChara(9, 4, false);
    beaten.m_nMaxHp = 0;              // HP 0 when its start trigger has run
    stage.m_Charas.push_back(copies);
    stage.m_Charas.push_back(carrier);
    stage.m_Charas.push_back(beaten);
    cItemData carried;
    carried.m_nColumn = 6;
    carried.m_nRow = 3;
    cItemData free;
    free.m_nColumn = 8;
    free.m_nRow = 2;
    stage.m_Items.push_back(carried);
    stage.m_Items.push_back(free);
    // Each template's start flow appends its digit to S1, so S1 tells the order they ran in.
    for (int digit = 1; digit <= 4; ++digit) {
        cCommandData code;
        code.m_nKind = 36;
        code.m_bParallel = 1;
        code.m_strCode = "S1 = S1 * 10 + " + std::to_string(digit);
        cFlowData flow;
        flow.m_nTrigger = 18;
        flow.m_Commands.push_back(code);
        stage.m_Charas.At(digit - 1).m_Flows.push_back(flow);
    }
    m_Fixture.Commit();
    cPlayScene& scene = m_Fixture.NewScene();
    scene.SetStage(0, 1);

    std::vector<int> serials;
    for (const cStageChara& chara : scene.m_Charas) serials.push_back(chara.m_nSerial);
    EXPECT_EQ(serials, (std::vector<int>{1, 2, 3})) << "the copies inside take consecutive serials";
    EXPECT_EQ(scene.m_nCharaSerial, 5) << "the defeated chara had serial 4";
    EXPECT_EQ(scene.m_nDefeatsReported, 1);
    ASSERT_EQ(scene.m_Charas.size(), 3u);
    auto it = scene.m_Charas.begin();
    cStageChara* first = &*it++;
    cStageChara* second = &*it++;
    cStageChara* third = &*it;
    EXPECT_EQ(second->m_dX - first->m_dX, 400.0);
    EXPECT_NE(third->HeldItem(), nullptr);
    std::vector<const cChara*> layer(scene.m_CharaLayers.At(1).begin(), scene.m_CharaLayers.At(1).end());
    EXPECT_EQ(layer, (std::vector<const cChara*>{&Player.At(0), first, second, third})) << "the hero first, then list order";

    ASSERT_EQ(scene.m_Items.size(), 1u);
    EXPECT_EQ(scene.m_Items.front().m_nSerial, 1) << "the carried item took serial 0";
    EXPECT_EQ(scene.m_nItemSerial, 2);

    // Trigger 18: the hero first, then the charas in list order.
    // The hero (1), the two copies inside the stage (2), the carrier (3), the beaten chara (4).
    EXPECT_EQ(scene.m_StageVars.At(1), 12234);
}

TEST_F(StageSetUp, TheCameraStartsOnTheHeroWithAnIntegerHalfWidth)
{
    g_StageData.m_nWidth = 60;
    g_StageData.m_nHeight = 40;
    g_StageData.m_Charas.At(0).m_nColumn = 30;
    g_StageData.m_Charas.At(0).m_nRow = 20;
    g_StageData.m_nHeroBodyW = 15;   // half of 15 is 7
    g_StageData.m_nHeroBodyH = 25;   // half of 25 is 12
    g_SaveData.m_bFollowUp = 0;
    m_Fixture.Commit();
    cPlayScene& scene = m_Fixture.NewScene();
    scene.SetStage(0, 1);

    // Draw offsets (8, 7): x = 40 * 32 + 8 + 0.5, y = 30 * 32 + 7.
    EXPECT_EQ(Player.At(0).m_dX, 1288.5);
    EXPECT_EQ(Player.At(0).m_dY, 967.0);
    EXPECT_EQ(scene.m_ScrollX.m_dPos, 1288.5 + 7 - 320);
    EXPECT_EQ(scene.m_ScrollY.m_dPos, 967.0 + 12 - 240);
}

TEST_F(StageSetUp, ResetsTimeCountersAndStageVariables)
{
    cPlayScene& scene = m_Fixture.NewScene();
    scene.m_nResult = 2;
    scene.m_TimeLimit.m_nTimeLeft = 5;
    scene.m_nSubStepTotal = 9;
    scene.SetStage(0, 1);

    EXPECT_EQ(scene.m_TimeLimit.m_nTimeLeft, 999);
    EXPECT_EQ(scene.m_TimeLimit.m_bNoTimeLimit, 1);
    EXPECT_EQ(scene.m_nResult, 0);
    EXPECT_EQ(scene.m_nSubStepTotal, 0);
    EXPECT_EQ(scene.m_StageVars, std::vector<int>(255, 0));
    EXPECT_EQ(scene.m_ActivityTable.size(), 60u);
    EXPECT_EQ(g_GameManager.m_nFps, 60);

    g_StageData.m_bTimeLimit = 1;
    g_StageData.m_nTimeLimit = 120;
    m_Fixture.Commit();
    scene.SetStage(1, 0);
    EXPECT_EQ(scene.m_TimeLimit.m_nTimeLeft, 120);
    EXPECT_EQ(scene.m_TimeLimit.m_bNoTimeLimit, 0);
}

TEST_F(StageSetUp, LetsGoOfEffectsPicturesAndTheirSurfaces)
{
    cPlayScene& scene = m_Fixture.NewScene();
    scene.m_EffectList.m_Effects.emplace_back();
    scene.m_StagePictures.m_Pictures.emplace_back();
    DDSURFACEDATA record;
    ClearSurfaceData(&record);
    g_PictureSurface.push_back(record);
    g_PictureSurfaceInfo.push_back(SURFACEINFO{});
    scene.SetStage(0, 1);
    EXPECT_TRUE(scene.m_EffectList.m_Effects.empty());
    EXPECT_TRUE(scene.m_StagePictures.m_Pictures.empty());
    EXPECT_TRUE(g_PictureSurface.empty());
    EXPECT_TRUE(g_PictureSurfaceInfo.empty());
}

TEST(SubStepTable, MarksRateSubStepsSpreadByAddition)
{
    struct Case { int steps; int rate; std::vector<int> table; } cases[] = {
        {4, 3, {1, 1, 1, 0}},          // marks at 0, 1.33, 2.67
        {4, 4, {1, 1, 1, 1}},
        {4, 0, {1, 1, 1, 1}},
        {4, -2, {1, 1, 1, 1}},         // a negative rate counts as 0
        {5, 2, {1, 0, 1, 0, 0}},       // 0, 2.5
        {3, 5, {1, 1, 1}},             // more marks than sub-steps
        {7, 3, {1, 0, 1, 0, 1, 0, 0}},
        {1, 1, {1}},
        {10, 1, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        cSafeVector<int> table;
        FillSubStepTable(table, c.steps, c.rate);
        EXPECT_EQ(std::vector<int>(table.begin(), table.end()), c.table) << c.steps << " " << c.rate;
    }
}

TEST_F(StageSetUp, FillsTheSubStepTableFromTheSpeedLevelAndTheHitTestRate)
{
    struct Case { int level; int rate; std::vector<int> table; } cases[] = {
        {4, 3, {1, 1, 1, 0}},
        {14, 0, {1, 1, 1, 1}},   // level 14 runs 4 sub-steps
        {0, 1, {1}},             // a level below 1 runs as level 1
    };
    for (const Case& c : cases) {
        g_StageData.m_nSpeedLevel = c.level;
        g_StageData.m_nContactLevel = c.rate;
        m_Fixture.Commit();
        cPlayScene& scene = m_Fixture.NewScene();
        scene.SetStage(0, 1);
        EXPECT_EQ(std::vector<int>(scene.m_SubStepActive.begin(), scene.m_SubStepActive.end()), c.table) << c.level;
    }
}

TEST_F(StageSetUp, AsksForTheStageBgmByTheEntryAndKeepRules)
{
    struct Case { const char* what; int entry; int keep; int number; int playing; std::vector<int> requests; } cases[] = {
        {"entry always asks", 1, 0, 3, 3, {3}},
        {"entry keeps the one playing", 1, 1, 3, 3, {}},
        {"entry with keep changes another", 1, 1, 3, 2, {3}},
        {"entry with keep and both zero stops", 1, 1, 0, 0, {0}},
        {"a retry never restarts the one playing", 0, 0, 3, 3, {}},
        {"a retry changes another", 0, 0, 3, 2, {3}},
        {"a retry with both zero asks nothing", 0, 1, 0, 0, {}},
    };
    for (const Case& c : cases) {
        g_StageData.m_bBgmKeep = c.keep;
        g_StageData.m_nBgm = c.number;
        g_StageData.m_bBgmLoop = 1;
        m_Fixture.Commit();
        cPlayScene& scene = m_Fixture.NewScene();
        g_SaveData.m_nStageBgm = c.playing;
        g_SaveData.m_bStageBgmLoop = 0;
        g_GameManager.m_nBgm = 7;
        cRequestLog log;
        scene.SetStage(1, c.entry);
        EXPECT_EQ(cRequestLog::s_StageBgm, c.requests) << c.what;
        EXPECT_EQ(g_SaveData.m_bStageBgmLoop, c.requests.empty() ? 0 : 1) << c.what;
        EXPECT_EQ(g_GameManager.m_nBgm, 0) << c.what;
    }
}

TEST_F(StageSetUp, SeedsTheGeneratorFromTheSceneSeedAndARetryReusesIt)
{
    plat::cManualClock clock;
    clock.Set(123456789ull * 1000);
    plat::SetClock(&clock);
    cPlayScene& scene = m_Fixture.NewScene();
    EXPECT_EQ(scene.m_Replay.m_nSeed, 123456789);
    clock.Set(5000ull * 1000);
    scene.SetStage(0, 1);
    const int first = std::rand();
    scene.SetStage(1, 0);
    EXPECT_EQ(std::rand(), first);
    std::srand(123456789u);
    EXPECT_EQ(std::rand(), first);

    // Recording a replay takes a new seed from the clock and stores it in the replay.
    g_SystemData.m_bRecordReplay = 1;
    scene.SetStage(1, 0);
    EXPECT_EQ(scene.m_Replay.m_nSeed, 5000);
    EXPECT_EQ(g_ReplayData.m_nSeed, 5000);
    plat::SetClock(nullptr);
}

TEST_F(StageSetUp, AGridOfMoreThan2To24CellsIsRefusedAndTheSceneThenDoesNothing)
{
    plat::SetBoxesShownBySdl(false);
    g_StageData.m_nWidth = 1 << 20;   // 2^20 + 19 has 21 bits
    g_StageData.m_nHeight = 100;      // 120 rows of 2^21 cells
    m_Fixture.Commit();
    cPlayScene& scene = m_Fixture.NewScene();
    scene.SetStage(0, 1);
    EXPECT_EQ(scene.m_bSetUpFailed, 1);
    EXPECT_TRUE(g_BlockGrid.m_Cells.empty());
    scene.m_nState = PLAYSTATE_READY;
    scene.Run();
    EXPECT_EQ(scene.m_nState, PLAYSTATE_READY);
}

namespace {

std::vector<std::string> g_SetUpBoxTexts;

int RecordSetUpBox(HWND, const char* text, const char*, UINT)
{
    g_SetUpBoxTexts.push_back(text);
    return IDOK;
}

}  // namespace

TEST_F(StageSetUp, AGridOfMoreThanAGigabyteIsRefusedWithTheOutOfMemoryBoxBeforeItIsBuilt)
{
    // Within the cell bound: 12 columns and the margins fit rows of 32 cells, and 2^19 rows
    // make 2^24.
    const int width = 12;
    const int height = (1 << 19) - 20;
    ASSERT_EQ(cBlockGrid::CellCount(width, height), kMaxStageCells);
    EXPECT_GT(cBlockGrid::GridBytes(width, height), kMaxBlockGridBytes);
    EXPECT_EQ(cBlockGrid::GridBytes(width, 2), static_cast<std::int64_t>(22 * 32 * sizeof(cBlockCell)));
    EXPECT_EQ(cBlockGrid::GridBytes(1 << 30, 1 << 30), INT64_MAX);   // saturates
    // Refused, not tried: an attempt would take gigabytes or throw.
    EXPECT_FALSE(g_BlockGrid.Build(width, height));

    g_StageData.m_nWidth = width;
    g_StageData.m_nHeight = height;
    m_Fixture.Commit();
    cPlayScene& scene = m_Fixture.NewScene();
    g_SetUpBoxTexts.clear();
    plat::SetBoxPresenter(RecordSetUpBox);
    scene.SetStage(0, 1);
    plat::SetBoxPresenter(nullptr);
    EXPECT_EQ(scene.m_bSetUpFailed, 1);
    EXPECT_TRUE(g_BlockGrid.m_Cells.empty());
    EXPECT_EQ(g_SetUpBoxTexts, std::vector<std::string>{"メモリ不足により、ステージの初期設定に失敗しました！"});
}

TEST(UseLife, TakesOneLifeUnlessUnlimitedOrDirectPlay)
{
    qbtest::cRestore<cSaveData> save(g_SaveData);
    qbtest::cRestore<std::atomic<int>> testPlay(g_bTestPlay);
    struct Case { int testPlay; int lives; int result; int after; } cases[] = {
        {1, 0, 1, 0}, {0, 999999, 1, 999999}, {0, 3, 1, 2}, {0, 1, 1, 0}, {0, 0, 0, 0}, {0, -1, 0, -1},
    };
    cPlayScene scene;
    for (const Case& c : cases) {
        g_bTestPlay.store(c.testPlay);
        g_SaveData.m_nLives = c.lives;
        EXPECT_EQ(scene.UseLife(), c.result) << c.lives;
        EXPECT_EQ(g_SaveData.m_nLives, c.after) << c.lives;
    }
}

}  // namespace
