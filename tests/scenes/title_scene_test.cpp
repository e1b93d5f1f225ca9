// The title menu: its items from the System record, the game modes it starts, the continue
// list of story slots, and the progress resets of a new story and of free play.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "platform/os/files.h"
#include "play/free_play.h"
#include "scenes/title_scene.h"
#include "tests/scenes/front_end_fixture.h"

namespace {

class TitleScene : public qbtest::cFrontEndTest {
protected:
    // A title scene that has run its Init and its fade-in: on the main menu.
    cTitleScene& OnMenu()
    {
        m_Scene.emplace();
        Frame(*m_Scene);
        RunWhile(*m_Scene, 0);
        EXPECT_EQ(m_Scene->m_nState, 1);
        return *m_Scene;
    }
    // Moves the cursor to the row of the item of a game mode and decides.
    void Choose(cTitleScene& scene, int mode)
    {
        int row = -1;
        for (int k = 0; k < scene.m_nItemCount; ++k)
            if (scene.m_nItems[k] == mode) row = k;
        ASSERT_GE(row, 0) << mode;
        g_MenuCursor.m_pCurrent->nRow = row;
        Frame(scene, 1);
    }
    void EnableItems(std::initializer_list<int> modes, int listLength = 7)
    {
        cSafeVector<cMenuItemData>& items = g_SystemData.m_TitleMenu;
        items.resize(static_cast<std::size_t>(listLength));
        for (cMenuItemData& item : items) item.m_bEnabled = 0;
        for (int mode : modes) items.At(mode).m_bEnabled = 1;
    }

    std::optional<cTitleScene> m_Scene;
};

TEST_F(TitleScene, ShowsTheEnabledItemsOfTheSevenModesOnlyAndItemZeroWhenNoneIs)
{
    struct Case { std::vector<int> enabled; int listLength; std::vector<int> shown; } cases[] = {
        {{0, 1, 2, 3, 4, 5, 6}, 7, {0, 1, 2, 3, 4, 5, 6}},
        {{1, 3, 6}, 7, {1, 3, 6}},
        {{}, 7, {0}},
        {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 10, {0, 1, 2, 3, 4, 5, 6}},  // a longer list: its first seven
        {{2}, 3, {2}},
    };
    for (const Case& c : cases) {
        cSafeVector<cMenuItemData>& items = g_SystemData.m_TitleMenu;
        items.assign(static_cast<std::size_t>(c.listLength), cMenuItemData());
        for (cMenuItemData& item : items) item.m_bEnabled = 0;
        for (int i : c.enabled) items.At(i).m_bEnabled = 1;
        cTitleScene scene;
        Frame(scene);
        ASSERT_EQ(scene.m_nItemCount, static_cast<int>(c.shown.size())) << c.listLength;
        for (int k = 0; k < scene.m_nItemCount; ++k) EXPECT_EQ(scene.m_nItems[k], c.shown[k]) << k;
    }
}

TEST_F(TitleScene, TheCursorComesBackOnTheModeChosenLastOrWrapsFromItsValue)
{
    EnableItems({0, 1, 2, 5, 6});
    struct Case { int lastMode; int row; int rowAfterDown; } cases[] = {
        {GAMEMODE_CHALLENGE, 2, 3},
        {GAMEMODE_OPTIONS, 3, 4},
        {GAMEMODE_NEWSTORY, 0, 1},
        {GAMEMODE_REPLAY, 4, 0},     // not shown: the row keeps the mode's value
        {GAMEMODE_FREEPLAY, 3, 4},
    };
    for (const Case& c : cases) {
        g_GameManager.m_nGameMode = c.lastMode;
        cTitleScene scene;
        Frame(scene);
        EXPECT_EQ(g_MenuCursor.m_pCurrent->nRow, c.row) << c.lastMode;
        RunWhile(scene, 0);
        Frame(scene, 0, 8);
        EXPECT_EQ(g_MenuCursor.m_pCurrent->nRow, c.rowAfterDown) << c.lastMode;
        EXPECT_EQ(g_MenuCursor.m_pCurrent->nY, 240 + 32 * c.rowAfterDown);
    }
}

TEST_F(TitleScene, ANewStoryStartsOnTheMapStartWithTheStoryLives)
{
    struct Case { int unlimited; int startLives; int lives; int continueLives; } cases[] = {
        {0, 5, 4, 5}, {1, 5, 999999, 999999}, {0, 1, 0, 1},
    };
    for (const Case& c : cases) {
        g_SystemData.m_UnlimitedLives.At(PLAYMODE_STORY) = c.unlimited;
        g_SystemData.m_StartLives.At(PLAYMODE_STORY) = c.startLives;
        g_SaveData.m_nLives = 77;
        g_SaveData.m_Switches.At(5) = 1;
        g_SaveData.m_nRound = 3;
        cTitleScene& scene = OnMenu();
        Choose(scene, GAMEMODE_NEWSTORY);
        EXPECT_EQ(scene.m_nState, 3);
        EXPECT_EQ(g_GameManager.m_nNextScene, SCENE_WORLDMAP);
        EXPECT_EQ(g_GameManager.m_nPlayMode, PLAYMODE_STORY);
        EXPECT_EQ(g_SaveData.m_nLives, c.lives);
        EXPECT_EQ(g_SaveData.m_nStartLives, c.continueLives);
        EXPECT_EQ(g_SaveData.m_nMapX, g_WorldMapData.m_nStartX);
        EXPECT_EQ(g_SaveData.m_nMapY, g_WorldMapData.m_nStartY);
        EXPECT_EQ(g_SaveData.m_Switches.At(5), 0);
        EXPECT_EQ(g_SaveData.m_nRound, 0);
        EXPECT_EQ(g_SaveData.m_nSaveSlot, -1);
    }
}

TEST_F(TitleScene, EachModeSetsItsPlayModeAndRankingAndOptionsAndQuitLeaveThePlayMode)
{
    g_SystemData.m_ModeResults.At(PLAYMODE_CHALLENGE).m_bEnabled = 1;
    g_SystemData.m_ModeResults.At(PLAYMODE_FREEPLAY).m_bEnabled = 0;
    struct Case { int mode; int playMode; int ranking; int state; int next; int closes; } cases[] = {
        {GAMEMODE_CHALLENGE, PLAYMODE_CHALLENGE, 1, 3, SCENE_STAGESELECT, 0},
        {GAMEMODE_FREEPLAY, PLAYMODE_FREEPLAY, 0, 1, -1, 0},   // no dialog answered: the menu stays
        {GAMEMODE_OPTIONS, -7, -7, 3, SCENE_OPTION, 0},
        {GAMEMODE_QUIT, -7, -7, 1, -1, 1},
        {GAMEMODE_CONTINUE, PLAYMODE_STORY, g_SystemData.m_ModeResults.At(0).m_bEnabled, 2, -1, 0},
    };
    for (const Case& c : cases) {
        cTitleScene& scene = OnMenu();
        g_GameManager.m_nPlayMode = -7;
        g_GameManager.m_bRanking = -7;
        g_GameManager.m_nNextScene = -1;
        ClearRequests();
        Choose(scene, c.mode);
        EXPECT_EQ(g_GameManager.m_nGameMode, c.mode);
        EXPECT_EQ(g_GameManager.m_nPlayMode, c.playMode) << c.mode;
        EXPECT_EQ(g_GameManager.m_bRanking, c.ranking) << c.mode;
        EXPECT_EQ(scene.m_nState, c.state) << c.mode;
        EXPECT_EQ(g_GameManager.m_nNextScene, c.next) << c.mode;
        EXPECT_EQ(TakeCloses(), c.closes) << c.mode;
        EXPECT_EQ(Sounds(), std::vector<int>{1}) << c.mode;
    }
}

TEST_F(TitleScene, AChallengeWithoutItsRecordStartsAnewWithOneRecordPerStage)
{
    g_SystemData.m_nChallengeStages = 4;
    g_SaveData.m_nScore = 50;
    cTitleScene& scene = OnMenu();
    Choose(scene, GAMEMODE_CHALLENGE);
    ASSERT_EQ(g_SaveData.m_ChallengeStages.size(), 4u);
    for (const cChallengeStageData& stage : g_SaveData.m_ChallengeStages) {
        EXPECT_EQ(stage.m_bCleared, 0);
        EXPECT_EQ(stage.m_nBest, 0);
    }
    EXPECT_EQ(g_SaveData.m_nScore, 0);
}

class TitleSlots : public TitleScene {
protected:
    // Slot `slot` saved with a score to tell it by.
    void SaveSlot(int slot, int score)
    {
        cSaveData save;
        save.Reset();
        save.m_nScore = score;
        save.m_nMapX = 2;
        save.m_nSaveSlot = slot;   // as the story menu saves it
        ASSERT_EQ(save.SaveSlot(slot), 1);
    }
    cTitleScene& OnSlots()
    {
        cTitleScene& scene = OnMenu();
        Choose(scene, GAMEMODE_CONTINUE);
        Frame(scene);
        EXPECT_EQ(scene.m_nState, 2);
        EXPECT_EQ(scene.m_nSubState, 1);
        return scene;
    }
};

TEST_F(TitleSlots, AUsedSlotIsLoadedAndAnEmptyOneRefused)
{
    SaveSlot(3, 1234);
    cTitleScene& scene = OnSlots();
    EXPECT_EQ(scene.m_nSlotRows, 10);
    EXPECT_EQ(g_MenuCursor.m_Entries.size(), 2u);
    ClearRequests();
    Frame(scene, 1);   // slot 1: empty
    EXPECT_EQ(Sounds(), std::vector<int>{3});
    EXPECT_EQ(scene.m_nState, 2);
    for (int i = 0; i < 3; ++i) Frame(scene, 0, 8);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nY, 160 + 3 * 16);
    ClearRequests();
    Frame(scene, 1);
    EXPECT_EQ(Sounds(), std::vector<int>{1});
    EXPECT_EQ(scene.m_nState, 3);
    EXPECT_EQ(g_GameManager.m_nNextScene, SCENE_WORLDMAP);
    EXPECT_EQ(g_SaveData.m_nScore, 1234);
    EXPECT_EQ(g_SaveData.m_nSaveSlot, 3);
}

TEST_F(TitleSlots, ASlotThatFailsToLoadIsRefusedWithABoxAndTheProgressInHandStays)
{
    SaveSlot(0, 99);
    cTitleScene& scene = OnSlots();
    // The file goes bad after the list was read.
    m_Folder.WriteFile("user_data/story/Story01.dat", "bad");
    g_SaveData.m_nScore = 7;
    ClearRequests();
    Frame(scene, 1);
    EXPECT_EQ(Sounds(), std::vector<int>{3});
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].find("Story01.dat"), std::string::npos) << Boxes()[0];
    EXPECT_EQ(scene.m_nState, 2);
    EXPECT_EQ(g_GameManager.m_nNextScene, m_Manager.next);
    EXPECT_EQ(g_SaveData.m_nScore, 7);
    EXPECT_EQ(g_SaveSlots.At(0).m_bUsed, 0) << "the list shows what the folder holds now";
}

TEST_F(TitleSlots, CancelGoesBackToTheMainMenuCursor)
{
    cTitleScene& scene = OnSlots();
    ClearRequests();
    Frame(scene, 2);
    EXPECT_EQ(Sounds(), std::vector<int>{2});
    EXPECT_EQ(scene.m_nState, 1);
    EXPECT_EQ(g_MenuCursor.m_Entries.size(), 1u);
    EXPECT_EQ(scene.m_nItems[g_MenuCursor.m_pCurrent->nRow], GAMEMODE_CONTINUE);
}

TEST_F(TitleScene, TheFadeOutHandsOverAndResetsTheCursor)
{
    cTitleScene& scene = OnMenu();
    Choose(scene, GAMEMODE_OPTIONS);
    g_GameManager.m_nScene = SCENE_TITLE;
    RunUntilHandedOver(scene);
    EXPECT_EQ(g_GameManager.m_nScene, SCENE_OPTION);
    EXPECT_EQ(g_GameManager.m_nPrevScene, SCENE_TITLE);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nRow, 0);
    EXPECT_EQ(scene.m_nState, 3) << "the scene stays in its fade-out";
}

TEST_F(TitleScene, TheScreenBgmIsAskedForWhenItIsZeroOrAnotherOne)
{
    struct Case { int bgm; int playing; bool asked; } cases[] = {{0, 0, true}, {1, 0, true}, {1, 1, false}, {0, 1, true}};
    for (const Case& c : cases) {
        g_SystemData.m_ScreenBgm.At(0) = c.bgm;
        g_GameManager.m_nBgm = c.playing;
        ClearRequests();
        cTitleScene scene;
        Frame(scene);
        EXPECT_EQ(BgmScreens(), c.asked ? std::vector<int>{0} : std::vector<int>{}) << c.bgm << " " << c.playing;
        EXPECT_EQ(g_GameManager.m_nBgm, c.bgm);
    }
}

TEST_F(TitleScene, APictureThatCannotBeLoadedAsksToCloseAndTheSceneGoesOn)
{
    std::filesystem::remove(m_Folder.Path() / "bmp" / "Title.bmp");
    plat::FlushPathCache();
    cTitleScene scene;
    Frame(scene);
    EXPECT_EQ(TakeCloses(), 1);
    EXPECT_EQ(scene.m_nState, 0);
}

}  // namespace
