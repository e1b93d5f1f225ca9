// The world map: which entry a point offers, where the walker may step, the entry question,
// entering a stage, coming back from one and the automatic save.
#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "data/stage_loader.h"
#include "play/world_entry.h"
#include "scenes/world_map_scene.h"
#include "shell/log.h"
#include "tests/scenes/front_end_fixture.h"

namespace {

enum { MAPSTATE_FADEIN, MAPSTATE_WALK, MAPSTATE_ENTER, MAPSTATE_FADEOUT };

constexpr int kPassable = 5;   // chips 5 to 9 of a new map may be walked on, 0 to 4 not
constexpr int kBlocked = 0;

cWorldStageData Entry(int kind, int clearSwitch, int manual, const char* file)
{
    cWorldStageData entry;
    entry.m_nLock = kind;
    entry.m_nClearSwitch = clearSwitch;
    entry.m_bPassThrough = manual;
    entry.m_strLabel = "入口";
    entry.m_strStageFile = file;
    return entry;
}

// A 30 x 20 map of passable chips with one blocked cell (11, 7), and these points:
//   (12, 7) a manual stage entry (switch 10), (8, 7) one that opens by itself (switch 11),
//   (10, 8) a barrier, (10, 6) a barrier whose switch is off on a passable chip, (9, 6) the
//   same on a blocked chip, (9, 8) a stage entry on a blocked chip.
class WorldMap : public qbtest::cFrontEndTest {
protected:
    void SetUp() override
    {
        qbtest::cFrontEndTest::SetUp();
        ASSERT_TRUE(OpenReportFile("Report_Game.txt"));
        cWorldMapData& map = g_WorldMapData;
        map.SetDefaults();
        ASSERT_EQ(map.SetSize(30, 20), 1);
        for (int& chip : map.m_Grid) chip = kPassable;
        SetChip(11, 7, kBlocked);
        SetChip(9, 6, kBlocked);
        SetChip(9, 8, kBlocked);
        AddPoint(12, 7, Entry(0, 10, 1, "data\\stg4\\Meadow.stg4"));
        AddPoint(8, 7, Entry(0, 11, 0, "data\\stg4\\Caves.stg4"));
        AddPoint(10, 8, Entry(2, 0, 0, ""));
        cWorldStageData closedBarrier = Entry(2, 0, 0, "");
        closedBarrier.m_nRequiredSwitch = 20;
        AddPoint(10, 6, closedBarrier);
        AddPoint(9, 6, closedBarrier);
        AddPoint(9, 8, Entry(0, 12, 1, "data\\stg4\\Meadow.stg4"));
        g_GameManager.m_nPrevScene = SCENE_TITLE;
    }
    static void SetChip(int x, int y, int chip)
    {
        g_WorldMapData.m_Grid.At((y << g_WorldMapData.m_nPitchShift) + x) = chip;
    }
    static void AddPoint(int x, int y, const cWorldStageData& entry)
    {
        cWorldPointData point;
        point.m_nX = x;
        point.m_nY = y;
        point.m_Stages.assign(1, entry);
        g_WorldMapData.m_Points.push_back(point);
    }
    static cWorldPointData& PointAt(int x, int y) { return *g_WorldMapData.FindPointAt(x, y); }
    // A scene with the walker on (x, y) after its Init and fade-in.
    cWorldMapScene& StartAt(int x, int y)
    {
        g_SaveData.m_nMapX = x;
        g_SaveData.m_nMapY = y;
        m_Scene.emplace();
        Frame(*m_Scene);
        RunWhile(*m_Scene, MAPSTATE_FADEIN);
        return *m_Scene;
    }
    static const CURSORPOS& Walker() { return *g_MenuCursor.m_pCurrent; }
    void WriteDamagedStage(const char* name)
    {
        m_Folder.WriteFile(std::string("data/stg4/") + name, std::string("\xB4\x02\0\0xx", 6));
        plat::FlushPathCache();
    }

    std::optional<cWorldMapScene> m_Scene;
};

TEST_F(WorldMap, APointOffersItsFirstEntryWhoseVariableConditionHolds)
{
    struct Case { int value, op, operand; bool open; } cases[] = {
        {3, 0, 3, true}, {3, 1, 3, false}, {3, 2, 3, true}, {2, 2, 3, false}, {3, 3, 2, false},
        {3, 4, 3, false}, {4, 4, 3, true}, {2, 5, 3, true}, {3, 5, 3, false},
        {12, 6, 4, true}, {-12, 6, 5, false}, {-12, 6, 4, true}, {7, 6, 0, true}, {0, 6, 0, true},
        {12, 7, 5, true}, {-12, 7, 4, false}, {7, 7, 0, false}, {0, 7, 0, false},
        {INT_MIN, 6, -1, true}, {INT_MIN, 6, 3, false}, {INT_MIN, 7, 3, true}, {INT_MIN, 6, 1 << 30, true},
        {3, 8, 3, false}, {3, -1, 3, false},
    };
    cWorldPointData point;
    point.m_Stages.assign(2, Entry(0, 0, 0, "first"));
    point.m_Stages[1].m_strStageFile = "second";   // no conditions: always open
    for (const Case& c : cases) {
        cWorldStageData& conditioned = point.m_Stages[0];
        conditioned.m_nConditionVariable = 3;
        conditioned.m_nConditionOperator = c.op;
        conditioned.m_nConditionValue = c.operand;
        g_SaveData.m_Variables.At(3) = c.value;
        const cWorldStageData* open = cWorldMapScene::FindOpenEntry(&point);
        ASSERT_NE(open, nullptr);
        EXPECT_EQ(open->m_strStageFile, c.open ? "first" : "second") << c.value << " op " << c.op << " " << c.operand;
    }
    EXPECT_EQ(cWorldMapScene::FindOpenEntry(nullptr), nullptr);
}

TEST_F(WorldMap, AConditionOnAVariableBeyondTheCommonOnesFailsWithoutClosingTheGame)
{
    cWorldPointData point;
    point.m_Stages.assign(1, Entry(0, 0, 0, "x"));
    cWorldStageData& entry = point.m_Stages[0];
    entry.m_nConditionOperator = 0;   // equal to 0: what a variable read as 0 would pass
    entry.m_nConditionValue = 0;
    for (int variable : {256, 1000, -1, INT_MIN}) {
        entry.m_nConditionVariable = variable;
        EXPECT_EQ(cWorldMapScene::FindOpenEntry(&point), nullptr) << variable;
    }
    entry.m_nConditionVariable = 255;
    EXPECT_NE(cWorldMapScene::FindOpenEntry(&point), nullptr);
    EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(WorldMap, TheOtherConditionsAndTheFirstOpenEntryInListOrder)
{
    cWorldPointData point;
    point.m_Stages.assign(3, Entry(0, 0, 0, "switch"));
    point.m_Stages[0].m_nRequiredSwitch = 30;
    point.m_Stages[1].m_strStageFile = "total";
    point.m_Stages[1].m_nMinimumTotal = 500;
    point.m_Stages[2].m_strStageFile = "last";
    struct Case { int switch30; int total; const char* open; } cases[] = {
        {1, 0, "switch"}, {0, 500, "total"}, {0, 499, "last"}, {1, 500, "switch"},
    };
    for (const Case& c : cases) {
        g_SaveData.m_Switches.At(30) = c.switch30;
        g_SaveData.m_nBestTotal = c.total;
        EXPECT_EQ(cWorldMapScene::FindOpenEntry(&point)->m_strStageFile, c.open) << c.switch30 << " " << c.total;
    }
}

TEST_F(WorldMap, TheWalkerTurnsEvenWhenBlockedChipsBarriersAndEdgesRefuseTheStep)
{
    struct Case { int x, y, direction; int toX, toY, facing; } cases[] = {
        {10, 7, 2, 10, 7, 3},   // a blocked chip
        {10, 7, 8, 10, 7, 0},   // a barrier whose conditions hold
        {10, 7, 4, 10, 6, 1},   // a barrier whose conditions fail: its passable chip decides
        {10, 6, 1, 10, 6, 2},   // ... and its blocked chip
        {9, 7, 8, 9, 8, 0},     // an open stage entry on a blocked chip
        {10, 7, 1, 9, 7, 2},
        {0, 0, 1, 0, 0, 2},     // the map's edges
        {0, 0, 4, 0, 0, 1},
        {29, 19, 2, 29, 19, 3},
        {29, 19, 8, 29, 19, 0},
        {5, 5, 1 | 4, 4, 5, 2}, // left before up
    };
    cWorldMapScene& scene = StartAt(10, 7);
    for (const Case& c : cases) {
        CURSORPOS& walker = *g_MenuCursor.m_pCurrent;
        walker = CURSORPOS{c.x, c.y, 288, 224};
        scene.m_nFacing = -1;
        scene.MoveWalker(walker, c.direction);
        EXPECT_EQ(walker.nColumn, c.toX) << c.x << "," << c.y << " dir " << c.direction;
        EXPECT_EQ(walker.nRow, c.toY) << c.x << "," << c.y << " dir " << c.direction;
        EXPECT_EQ(scene.m_nFacing, c.facing) << c.x << "," << c.y << " dir " << c.direction;
        EXPECT_EQ(walker.nX, 288);
        EXPECT_EQ(walker.nY, 224);
        EXPECT_EQ(g_SaveData.m_nReturnX, c.x) << "the cell the walker came from";
    }
}

TEST_F(WorldMap, SteppingOntoAnEntryThatOpensByItselfAsksAtOnceAndNoPutsTheWalkerBack)
{
    cWorldMapScene& scene = StartAt(10, 7);
    ASSERT_EQ(scene.m_nState, MAPSTATE_WALK);
    Frame(scene, 0, 1);
    EXPECT_EQ(Walker().nColumn, 9);
    Frame(scene, 0, 1);
    EXPECT_EQ(scene.m_nState, MAPSTATE_ENTER);
    ASSERT_EQ(g_MenuCursor.m_Entries.size(), 2u);
    EXPECT_EQ(g_MenuCursor.m_pParent->nColumn, 8) << "the walker stands on the entry";
    ClearRequests();
    Frame(scene);
    EXPECT_EQ(Sounds(), std::vector<int>{1});
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nRow, 1) << "the question starts on its second answer";
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nY, 260 + 16);
    ClearRequests();
    Frame(scene, 2);
    EXPECT_EQ(Sounds(), std::vector<int>{2});
    EXPECT_EQ(scene.m_nState, MAPSTATE_WALK);
    EXPECT_EQ(g_MenuCursor.m_Entries.size(), 1u);
    EXPECT_EQ(Walker().nColumn, 9);
    EXPECT_EQ(Walker().nRow, 7);
    EXPECT_EQ(scene.m_nScrollX, 0);
    Frame(scene);
    EXPECT_EQ(scene.m_nState, MAPSTATE_WALK) << "the cell it came back to asks nothing";
}

TEST_F(WorldMap, AManualEntryWaitsForDecideAndACancelledQuestionLeavesTheWalkerOnIt)
{
    cWorldMapScene& scene = StartAt(12, 7);
    EXPECT_EQ(scene.m_nState, MAPSTATE_WALK);
    Frame(scene);
    EXPECT_EQ(scene.m_nState, MAPSTATE_WALK);
    Frame(scene, 1);
    EXPECT_EQ(scene.m_nState, MAPSTATE_ENTER);
    EXPECT_EQ(g_SaveData.m_nMapX, 12);
    Frame(scene);
    Frame(scene, 2);
    EXPECT_EQ(scene.m_nState, MAPSTATE_WALK);
    EXPECT_EQ(Walker().nColumn, 12);
}

TEST_F(WorldMap, AClearedEntryOpensAgainOnlyWhenItMayBeReplayed)
{
    g_SaveData.m_Switches.At(10) = 1;
    for (int replayable : {0, 1}) {
        PointAt(12, 7).m_Stages[0].m_bReplayable = replayable;
        cWorldMapScene& scene = StartAt(12, 7);
        Frame(scene, 1);
        EXPECT_EQ(scene.m_nState, replayable ? MAPSTATE_ENTER : MAPSTATE_WALK) << replayable;
    }
}

TEST_F(WorldMap, YesEntersTheStageWithItsSwitchAndTheLivesRules)
{
    struct Case { int keep, unlimited, lives, start; } cases[] = {
        {0, 0, 7, 5}, {1, 0, 7, 8}, {1, 1, 7, 999999}, {0, 1, 7, 5},
    };
    for (const Case& c : cases) {
        g_SystemData.m_bStoryKeepLives = c.keep;
        g_SystemData.m_UnlimitedLives.At(PLAYMODE_STORY) = c.unlimited;
        g_SystemData.m_StartLives.At(PLAYMODE_STORY) = 5;
        g_SaveData.m_nLives = c.lives;
        cWorldMapScene& scene = StartAt(12, 7);
        scene.m_nFacing = 3;
        Frame(scene, 1);
        Frame(scene);
        Frame(scene, 0, 4);
        EXPECT_EQ(g_MenuCursor.m_pCurrent->nRow, 0);
        Frame(scene, 1);
        EXPECT_EQ(scene.m_nState, MAPSTATE_FADEOUT);
        EXPECT_EQ(g_GameManager.m_nNextScene, SCENE_PLAY);
        EXPECT_EQ(g_SaveData.m_nStartLives, c.start) << c.keep << c.unlimited;
        EXPECT_EQ(g_SaveData.m_nClearSwitch, 10);
        EXPECT_EQ(g_SaveData.m_nSeriesNumber, 1);
        EXPECT_EQ(g_SaveData.m_nMapState, 3) << "the walker's facing is kept";
        EXPECT_EQ(g_SaveData.m_strStageKey, "data\\stg4\\Meadow.");
        EXPECT_EQ(CurrentWorldEntry(), &PointAt(12, 7).m_Stages[0]);
    }
}

TEST_F(WorldMap, TheEnteredEntryIsKeptByItsPlaceAndAMissingOneHasNoAfterClearSetting)
{
    PointAt(12, 7).m_Stages[0].m_nReserved = 2;   // back to the title after the clear
    cWorldMapScene& scene = StartAt(12, 7);
    Frame(scene, 1);
    Frame(scene);
    Frame(scene, 0, 4);
    Frame(scene, 1);
    ASSERT_EQ(CurrentWorldEntry(), &PointAt(12, 7).m_Stages[0]);
    EXPECT_EQ(CurrentAfterClearSetting(), 2);
    // The map holds the entry no more (a shorter point list): nothing is followed.
    cWorldPointData& point = PointAt(12, 7);
    point.m_Stages.clear();
    EXPECT_EQ(CurrentWorldEntry(), nullptr);
    EXPECT_EQ(CurrentAfterClearSetting(), 0);
    g_WorldMapData.m_Points.clear();
    EXPECT_EQ(CurrentWorldEntry(), nullptr);
    EXPECT_EQ(CurrentAfterClearSetting(), 0);
}

TEST_F(WorldMap, AStageTheQuestionCannotLoadIsDeclinedWithoutClosingTheGame)
{
    WriteDamagedStage("Broken.stg4_001");
    PointAt(12, 7).m_Stages[0].m_strStageFile = "data\\stg4\\Broken.stg4";
    cWorldMapScene& scene = StartAt(12, 7);
    Frame(scene, 1);
    Frame(scene);
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_NE(Boxes()[1].find("data\\stg4\\Broken.stg4"), std::string::npos) << Boxes()[1];
    EXPECT_EQ(TakeCloses(), 0);
    Frame(scene, 0, 4);
    Frame(scene, 1);
    EXPECT_EQ(scene.m_nState, MAPSTATE_WALK) << "yes declines too";
    EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(WorldMap, AnEntryOpeningByItselfAfterTheFadeInEntersItsStage)
{
    struct Case { int previous; int state; } cases[] = {{SCENE_TITLE, MAPSTATE_FADEOUT}, {SCENE_STORYMENU, MAPSTATE_WALK}};
    for (const Case& c : cases) {
        g_GameManager.m_nPrevScene = c.previous;
        g_GameManager.m_nNextScene = -1;
        cWorldMapScene& scene = StartAt(8, 7);
        EXPECT_EQ(scene.m_nState, c.state) << c.previous;
        if (c.state != MAPSTATE_FADEOUT) continue;
        EXPECT_EQ(g_GameManager.m_nNextScene, SCENE_PLAY);
        EXPECT_EQ(g_SaveData.m_nReturnX, 8);
        EXPECT_EQ(g_SaveData.m_nClearSwitch, 11);
    }
}

TEST_F(WorldMap, AFailedOpenAfterTheFadeInIsTriedOnce)
{
    WriteDamagedStage("Broken.stg4_001");
    PointAt(8, 7).m_Stages[0].m_strStageFile = "data\\stg4\\Broken.stg4";
    cWorldMapScene& scene = StartAt(8, 7);
    const std::size_t boxes = Boxes().size();
    EXPECT_EQ(boxes, 2u);
    EXPECT_EQ(TakeCloses(), 2) << "the loader's close and the map's";
    for (int i = 0; i < 20; ++i) Frame(scene);
    EXPECT_EQ(Boxes().size(), boxes);
    EXPECT_EQ(TakeCloses(), 0);
    EXPECT_EQ(scene.m_nState, MAPSTATE_FADEIN);
}

TEST_F(WorldMap, BackThroughTheContinueScreenTheWalkerReturnsWithoutReopening)
{
    struct Case { int cleared; int x; } cases[] = {{0, 9}, {1, 8}};
    for (const Case& c : cases) {
        g_SaveData.m_Switches.At(11) = c.cleared;
        g_SaveData.m_bGaveUp = 1;
        g_SaveData.m_nReturnX = 9;
        g_SaveData.m_nReturnY = 7;
        g_GameManager.m_nPrevScene = SCENE_PLAY;
        cWorldMapScene& scene = StartAt(8, 7);
        EXPECT_EQ(g_SaveData.m_bGaveUp, 0);
        EXPECT_EQ(scene.m_nState, MAPSTATE_WALK);
        EXPECT_EQ(Walker().nColumn, c.x) << c.cleared;
        Frame(scene);
        EXPECT_EQ(scene.m_nState, MAPSTATE_WALK) << c.cleared;
    }
}

TEST_F(WorldMap, BackFromAStageItSavesIntoTheStorysSlotAndWithoutOneWritesNothing)
{
    g_SaveData.m_bAutoSave = 1;
    g_GameManager.m_nPrevScene = SCENE_PLAY;
    g_SaveData.m_nSaveSlot = 2;
    g_SaveData.m_nScore = 55;
    StartAt(10, 7);
    cSaveData saved;
    ASSERT_TRUE(saved.Load("user_data\\story\\Story03.dat"));
    EXPECT_EQ(saved.m_nScore, 55);

    g_SaveData.m_nSaveSlot = -1;
    StartAt(10, 7);
    EXPECT_FALSE(m_Folder.Exists("user_data/story/Story00.dat"));
    const std::string report = m_Folder.ReadFile("Report_Game.txt");
    EXPECT_NE(report.find("auto-save"), std::string::npos) << report;
}

TEST_F(WorldMap, CancelOpensTheStoryMenuKeepingTheWalkersCell)
{
    cWorldMapScene& scene = StartAt(10, 7);
    Frame(scene, 0, 4);
    ClearRequests();
    Frame(scene, 2);
    EXPECT_EQ(Sounds(), std::vector<int>{4});
    EXPECT_EQ(scene.m_nState, MAPSTATE_FADEOUT);
    EXPECT_EQ(g_GameManager.m_nNextScene, SCENE_STORYMENU);
    EXPECT_EQ(g_SaveData.m_nMapX, 10);
    EXPECT_EQ(g_SaveData.m_nMapY, 6);
    g_GameManager.m_nScene = SCENE_WORLDMAP;
    RunUntilHandedOver(scene);
    EXPECT_EQ(g_GameManager.m_nScene, SCENE_STORYMENU);
    EXPECT_EQ(g_GameManager.m_nPrevScene, SCENE_WORLDMAP);
}

TEST_F(WorldMap, AMapPictureThatIsMissingOrUnnamedIsNoFailure)
{
    g_WorldMapData.m_bPicture = 1;
    for (const char* picture : {"", "bmp\\NoSuchPicture.bmp"}) {
        g_WorldMapData.m_strPicture = picture;
        cWorldMapScene& scene = StartAt(10, 7);
        EXPECT_EQ(scene.m_nState, MAPSTATE_WALK) << picture;
        EXPECT_EQ(TakeCloses(), 0) << picture;
        EXPECT_TRUE(Boxes().empty()) << picture;
    }
}

}  // namespace
