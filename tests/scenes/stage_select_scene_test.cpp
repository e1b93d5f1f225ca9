// The stage select: the list's extent and paging, the cursor kept for the next visit, the
// ranking of the stage under the cursor, starting a stage and refusing one that cannot be read.
#include <gtest/gtest.h>

#include <optional>

#include "scenes/stage_select_scene.h"
#include "tests/scenes/front_end_fixture.h"

namespace {

enum { SELECTSTATE_FADEIN, SELECTSTATE_LIST, SELECTSTATE_FADEOUT };

constexpr WORD kListUp = 4, kListDown = 8, kListLeft = 1, kListRight = 2;

// The demo's twelve challenge stages, all open, in challenge mode with its ranking.
class StageSelect : public qbtest::cFrontEndTest {
protected:
    void SetUp() override
    {
        qbtest::cFrontEndTest::SetUp();
        g_GameManager.m_nGameMode = GAMEMODE_CHALLENGE;
        g_GameManager.m_nPlayMode = PLAYMODE_CHALLENGE;
        g_GameManager.m_bRanking = 1;
        g_GameManager.m_nScene = SCENE_STAGESELECT;
        g_GameManager.m_nStageSelectRow = 0;
        g_GameManager.m_nStageSelectTop = 0;
        g_SaveData.m_ChallengeStages.assign(static_cast<std::size_t>(g_SystemData.m_nChallengeStages),
                                            cChallengeStageData());
    }
    // The scene on its list, after its fade-in.
    cStageSelectScene& OnList()
    {
        m_Scene.emplace();
        Frame(*m_Scene);
        RunWhile(*m_Scene, SELECTSTATE_FADEIN);
        EXPECT_EQ(m_Scene->m_nState, SELECTSTATE_LIST);
        return *m_Scene;
    }
    static int Row() { return g_MenuCursor.m_pCurrent->nRow; }
    void WriteDamagedStage(const char* name)
    {
        m_Folder.WriteFile(std::string("data/stg4/") + name, std::string("\xB4\x02\0\0xx", 6));
        plat::FlushPathCache();
    }

    std::optional<cStageSelectScene> m_Scene;
};

TEST_F(StageSelect, NamesEachStageAsPartOneOfItsNumberedSeries)
{
    struct Case { int n; const char* file; } cases[] = {
        {1, "data\\stg4\\c01-1.stg4"}, {12, "data\\stg4\\c12-1.stg4"}, {123, "data\\stg4\\c123-1.stg4"},
    };
    for (const Case& c : cases) EXPECT_EQ(cStageSelectScene::StageFileName(c.n), c.file) << c.n;
}

TEST_F(StageSelect, ListsTheOpenStagesAndPagesKeepingOneRowOfTheOldPage)
{
    struct Case {
        int stages, allOpen, highestOpen;  // the System record's count and flag, the progress's open stage
        int keptRow, keptTop;              // what the last started stage left
        std::vector<WORD> moves;
        int row, top, rows;
        const char* what;
    } cases[] = {
        {40, 1, 1, 0, 0, {}, 0, 0, 10, "ten rows of forty"},
        {40, 1, 1, 0, 0, {kListRight}, 9, 9, 10, "a page shows stages 10 to 19"},
        {40, 1, 1, 0, 0, {kListRight, kListRight, kListRight, kListRight}, 36, 30, 10, "the last page"},
        {40, 1, 1, 0, 0, {kListRight, kListRight, kListRight, kListRight, kListRight}, 39, 30, 10, "then its last stage"},
        {40, 1, 1, 0, 0, {kListRight, kListLeft}, 0, 0, 10, "and back"},
        {40, 1, 1, 9, 0, {kListDown}, 10, 1, 10, "down past the last row scrolls one"},
        {40, 0, 1, 0, 0, {kListRight, kListDown, kListLeft}, 0, 0, 1, "one open stage: paging does nothing"},
        {40, 0, 5, 3, 1, {}, 3, 1, 4, "a kept top that fits is kept"},
        {40, 0, 5, 35, 30, {}, 4, 4, 1, "a kept top past the open stages comes back onto the list"},
        {12, 1, 1, 0, 0, {kListRight}, 9, 2, 10, "a short last page ends the list at its last row"},
    };
    for (const Case& c : cases) {
        g_SystemData.m_nChallengeStages = c.stages;
        g_SystemData.m_bChallengeAllOpen = c.allOpen;
        g_SaveData.m_nStageNumber = c.highestOpen;
        g_SaveData.m_ChallengeStages.assign(static_cast<std::size_t>(c.stages), cChallengeStageData());
        g_GameManager.m_nStageSelectRow = c.keptRow;
        g_GameManager.m_nStageSelectTop = c.keptTop;
        cStageSelectScene& scene = OnList();
        for (WORD move : c.moves) Frame(scene, 0, move);
        Frame(scene);
        EXPECT_EQ(Row(), c.row) << c.what;
        EXPECT_EQ(scene.m_nTop, c.top) << c.what;
        EXPECT_EQ(scene.m_nRows, c.rows) << c.what;
        EXPECT_EQ(g_MenuCursor.m_pCurrent->nY, 160 + 32 * (c.row - c.top)) << c.what;
        EXPECT_EQ(g_SaveData.m_strStageKey, cStageSelectScene::StageFileName(c.row + 1).substr(0, 13) + ".")
            << c.what << ": the stage under the cursor";
        EXPECT_EQ(TakeCloses(), 0) << c.what;
    }
}

TEST_F(StageSelect, OnlyAMoveReadsTheRankingOfTheStageUnderTheCursor)
{
    // The first three stages ranked 1000, 2000 and 3000 points.
    for (int n = 1; n <= 3; ++n) {
        cRankingData ranking;
        ranking.Table(RANKING_SCORE).Insert("ann", 1000 * n);
        const std::string key = cStageSelectScene::StageFileName(n).substr(0, 13) + ".";
        ASSERT_EQ(ranking.SaveForStage(PLAYMODE_CHALLENGE, key.c_str()), 1) << key;
    }
    auto best = [] { return g_RankingData.Table(RANKING_SCORE).m_Entries.At(0).m_nValue; };
    cStageSelectScene& scene = OnList();
    ASSERT_EQ(best(), 1000) << "the first stage's, at the start";
    Frame(scene, 0, kListDown);
    EXPECT_EQ(best(), 2000) << "the second stage's";
    // A ranking changed in memory stays while only buttons are pressed.
    g_RankingData.Table(RANKING_SCORE).m_Entries.At(0).m_nValue = 1;
    for (WORD buttons : {4, 4, 8}) Frame(scene, buttons);
    EXPECT_EQ(best(), 1);
    Frame(scene, 0, kListDown);
    EXPECT_EQ(best(), 3000) << "the third stage's";
    Frame(scene, 0, kListDown);
    EXPECT_EQ(g_RankingData.Table(RANKING_SCORE).m_Entries.At(0).m_bUsed, 0) << "the fourth has none";
}

TEST_F(StageSelect, TheRankingButtonsSwitchTheViewAndKindOnlyWhileChallengeRanks)
{
    struct Case { int enabled, viewBefore; WORD buttons; int viewAfter, kindAfter; std::vector<int> sounds; } cases[] = {
        {1, 0, 4, 1, 0, {6}},
        {1, 1, 4, 0, 0, {6}},
        {0, 1, 4, 0, 0, {}},    // the view cannot stay on while the ranking is off
        {0, 0, 4, 0, 0, {}},
        {1, 1, 8, 1, 1, {6}},
        {0, 1, 8, 1, 0, {}},
    };
    for (const Case& c : cases) {
        g_SystemData.m_ModeResults.At(PLAYMODE_CHALLENGE).m_bEnabled = c.enabled;
        g_SaveData.m_bRankingView = c.viewBefore;
        g_SaveData.m_nRankingKind = 0;
        cStageSelectScene& scene = OnList();
        ClearRequests();
        Frame(scene, c.buttons);
        EXPECT_EQ(g_SaveData.m_bRankingView, c.viewAfter) << c.enabled << " " << c.buttons;
        EXPECT_EQ(g_SaveData.m_nRankingKind, c.kindAfter) << c.enabled << " " << c.buttons;
        EXPECT_EQ(Sounds(), c.sounds) << c.enabled << " " << c.buttons;
    }
}

TEST_F(StageSelect, DecideStartsTheStageAsPartOneOfItsSeriesAndKeepsTheCursor)
{
    struct Case { int unlimited; int lives, startLives; } cases[] = {{1, kUnlimitedLives, kUnlimitedLives}, {0, 2, 3}};
    for (const Case& c : cases) {
        g_SystemData.m_UnlimitedLives.At(PLAYMODE_CHALLENGE) = c.unlimited;
        g_SystemData.m_StartLives.At(PLAYMODE_CHALLENGE) = 3;
        g_GameManager.m_nScene = SCENE_STAGESELECT;
        g_GameManager.m_nStageSelectRow = 0;
        g_GameManager.m_nStageSelectTop = 0;
        cStageSelectScene& scene = OnList();
        Frame(scene, 0, kListRight);
        Frame(scene, 0, kListDown);
        ClearRequests();
        Frame(scene, 1);
        EXPECT_EQ(Sounds(), std::vector<int>{1});
        ASSERT_EQ(scene.m_nState, SELECTSTATE_FADEOUT);
        EXPECT_EQ(g_GameManager.m_nNextScene, SCENE_PLAY);
        EXPECT_EQ(g_GameManager.m_nPrevScene, SCENE_STAGESELECT);
        EXPECT_EQ(g_GameManager.m_nStageSelectRow, 10);
        EXPECT_EQ(g_GameManager.m_nStageSelectTop, 2);
        EXPECT_EQ(g_StageData.m_strPath, "data\\stg4\\c11-1.stg4_001");
        EXPECT_EQ(g_SaveData.m_strStageKey, "data\\stg4\\c11.");
        EXPECT_EQ(g_SaveData.m_bSeries, 1);
        EXPECT_EQ(g_SaveData.m_nSeriesNumber, 1);
        EXPECT_EQ(g_SaveData.m_nClearSwitch, 11);
        EXPECT_EQ(g_SaveData.m_nLives, c.lives);
        EXPECT_EQ(g_SaveData.m_nStartLives, c.startLives);
        RunUntilHandedOver(scene);
        EXPECT_EQ(g_GameManager.m_nScene, SCENE_PLAY);
    }

    // The next visit opens on the started stage; a cancel to the title keeps what it left.
    cStageSelectScene& scene = OnList();
    EXPECT_EQ(Row(), 10);
    EXPECT_EQ(scene.m_nTop, 2);
    Frame(scene, 0, kListUp);
    Frame(scene, 0, kListUp);
    Frame(scene, 2);
    EXPECT_EQ(scene.m_nState, SELECTSTATE_FADEOUT);
    EXPECT_EQ(g_GameManager.m_nNextScene, SCENE_TITLE);
    EXPECT_EQ(g_GameManager.m_nStageSelectRow, 10);
    EXPECT_EQ(g_GameManager.m_nStageSelectTop, 2);
}

TEST_F(StageSelect, AStageThatCannotBeReadIsRefusedWithItsBoxAndTheGameGoesOn)
{
    WriteDamagedStage("c02-1.stg4_001");
    g_SystemData.m_nChallengeStages = 14;
    g_SaveData.m_ChallengeStages.assign(14, cChallengeStageData());
    struct Case { int row; std::size_t boxes; const char* file; } cases[] = {
        {1, 2, "data\\stg4\\c02-1.stg4"},    // damaged: the loader's box, then the list's
        {13, 1, "data\\stg4\\c14-1.stg4"},   // missing
    };
    for (const Case& c : cases) {
        g_GameManager.m_nStageSelectRow = c.row;
        cStageSelectScene& scene = OnList();
        qbtest::g_FrontBoxes.clear();
        ClearRequests();
        Frame(scene, 1);
        EXPECT_EQ(Sounds(), std::vector<int>{3}) << c.file;
        ASSERT_EQ(Boxes().size(), c.boxes) << c.file;
        EXPECT_EQ(Boxes().back(), std::string("ステージファイル ") + c.file + " が読み込めません！");
        EXPECT_EQ(scene.m_nState, SELECTSTATE_LIST) << c.file;
        EXPECT_EQ(TakeCloses(), 0) << c.file;
        EXPECT_EQ(g_GameManager.m_nStageSelectRow, c.row) << c.file;
    }
}

TEST_F(StageSelect, StagesWithoutAChallengeRecordShowAsNotClearedWithoutClosingTheGame)
{
    g_SaveData.m_ChallengeStages.assign(2, cChallengeStageData());
    g_SaveData.m_ChallengeStages.At(1).m_bCleared = 1;
    cStageSelectScene& scene = OnList();
    for (int i = 0; i < 12; ++i) Frame(scene, 0, kListDown);
    EXPECT_EQ(Row(), 11);
    EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(StageSelect, AnEmptyListStartsNothing)
{
    g_SystemData.m_nChallengeStages = 0;
    cStageSelectScene& scene = OnList();
    EXPECT_EQ(scene.m_nRows, 0);
    ClearRequests();
    Frame(scene, 1);
    EXPECT_EQ(scene.m_nState, SELECTSTATE_LIST);
    EXPECT_TRUE(Sounds().empty());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(TakeCloses(), 0);
}

}  // namespace
