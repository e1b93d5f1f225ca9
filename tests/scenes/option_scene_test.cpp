// The options: which items show, editing a value with its wrap-around and cancel, the sound
// volume applied at once, the BGM switch applied and the options saved on every way out.
#include <gtest/gtest.h>

#include <optional>

#include "data/data_version.h"
#include "data/option_data.h"
#include "platform/os/file_ops.h"
#include "scenes/option_scene.h"
#include "shell/log.h"
#include "sound/bgm.h"
#include "sound/direct_sound.h"
#include "tests/data/player_file_builders.h"
#include "tests/scenes/front_end_fixture.h"

namespace {

enum { OPTIONSTATE_FADEIN, OPTIONSTATE_MENU, OPTIONSTATE_FADEOUT };

constexpr WORD kValueUp = 4, kValueDown = 8;

class Options : public qbtest::cFrontEndTest {
protected:
    void SetUp() override
    {
        qbtest::cFrontEndTest::SetUp();
        ASSERT_TRUE(OpenReportFile("Report_Game.txt"));
        g_GameManager.m_nGameMode = GAMEMODE_OPTIONS;
        g_GameManager.m_nScene = SCENE_OPTION;
        g_OptionData = cOptionData();
    }
    void TearDown() override
    {
        plat::FailCommitsAfter(-1);
        for (DSSOUNDDATA& sound : g_SoundTable) DS_ReleaseSound(sound);
        g_SoundTable.clear();
        DS_UnInit();
        g_Bgm.UnInit();
        qbtest::cFrontEndTest::TearDown();
    }
    // A sound table of three entries of two copies each, at the volume of level 7.
    void LoadSounds()
    {
        ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
        g_SoundTable.resize(3);
        for (DSSOUNDDATA& sound : g_SoundTable)
            ASSERT_TRUE(DS_LoadSound(sound, "wave\\Cursor.wav", 2, kSoundVolumeTable[7]));
    }
    static std::vector<int> FirstCopyVolumes()
    {
        std::vector<int> volumes;
        for (DSSOUNDDATA& sound : g_SoundTable) volumes.push_back(DS_GetVolume(sound, 0));
        return volumes;
    }
    cOptionScene& OnMenu()
    {
        m_Scene.emplace();
        Frame(*m_Scene);
        RunWhile(*m_Scene, OPTIONSTATE_FADEIN);
        EXPECT_EQ(m_Scene->m_nState, OPTIONSTATE_MENU);
        // The list's first frame puts its cursor on the first row.
        Frame(*m_Scene);
        EXPECT_EQ(m_Scene->m_nSubState, 1);
        return *m_Scene;
    }
    // Decides on the row of the item (every item shown: the row is the item).
    void Edit(cOptionScene& scene, int item)
    {
        g_MenuCursor.m_pCurrent->nRow = item;
        Frame(scene, 1);
        ASSERT_EQ(scene.m_nSubState, 2) << item;
    }
    static std::string Option(int color, int bgm, int volume, int mode, const std::string& name)
    {
        return qbtest::BuildOptionFile(color, bgm, volume, mode, name, g_nDataVersion);
    }

    qbtest::cRestore<cOptionData> m_Options{g_OptionData};
    std::optional<cOptionScene> m_Scene;
};

TEST_F(Options, ShowsTheEnabledItemsOfTheSixOnlyAndItemZeroWhenNoneIs)
{
    struct Case { std::vector<int> enabled; int listLength; std::vector<int> shown; } cases[] = {
        {{0, 1, 2, 3, 4, 5}, 6, {0, 1, 2, 3, 4, 5}},
        {{1, 2, 5}, 6, {1, 2, 5}},
        {{}, 6, {0}},
        {{0, 1, 2, 3, 4, 5, 6, 7}, 8, {0, 1, 2, 3, 4, 5}},   // a longer stored list: its first six
        {{1, 2}, 3, {1, 2}},                                 // a shorter one
    };
    for (const Case& c : cases) {
        cSafeVector<cMenuItemData>& items = g_SystemData.m_OptionMenu;
        items.assign(static_cast<std::size_t>(c.listLength), cMenuItemData());
        for (cMenuItemData& item : items) item.m_bEnabled = 0;
        for (int i : c.enabled) items.At(i).m_bEnabled = 1;
        cOptionScene scene;
        Frame(scene);
        ASSERT_EQ(scene.m_nItemCount, static_cast<int>(c.shown.size())) << c.listLength;
        for (int k = 0; k < scene.m_nItemCount; ++k) EXPECT_EQ(scene.m_nItems[k], c.shown[k]) << k;
        EXPECT_EQ(TakeCloses(), 0);
    }
}

TEST_F(Options, UpAndDownWrapInsideEachRangeAndDecideKeepsTheValue)
{
    struct Case { int item; int* value; int before; WORD direction; int after; } cases[] = {
        {cOptionScene::ITEM_VOLUME, &g_OptionData.m_nVolume, 10, kValueUp, 0},
        {cOptionScene::ITEM_VOLUME, &g_OptionData.m_nVolume, 0, kValueDown, 10},
        {cOptionScene::ITEM_COLOR, &g_OptionData.m_nWindowColor, 23, kValueUp, 0},
        {cOptionScene::ITEM_COLOR, &g_OptionData.m_nWindowColor, 0, kValueDown, 23},
        {cOptionScene::ITEM_BGM, &g_OptionData.m_bBgm, 1, kValueUp, 0},
        {cOptionScene::ITEM_RANKINGMODE, &g_OptionData.m_nRankingMode, 3, kValueUp, 0},
        {cOptionScene::ITEM_RANKINGMODE, &g_OptionData.m_nRankingMode, 1, kValueUp | kValueDown, 1},  // both in one frame
        {cOptionScene::ITEM_RANKINGMODE, &g_OptionData.m_nRankingMode, 7, kValueUp, 1},   // outside: read as 0
        {cOptionScene::ITEM_RANKINGMODE, &g_OptionData.m_nRankingMode, -2, kValueDown, 3},
    };
    for (const Case& c : cases) {
        *c.value = c.before;
        cOptionScene& scene = OnMenu();
        Edit(scene, c.item);
        Frame(scene, 0, c.direction);
        EXPECT_EQ(*c.value, c.after) << c.item << " from " << c.before;
        ClearRequests();
        Frame(scene, 1);
        EXPECT_EQ(Sounds(), std::vector<int>{1});
        EXPECT_EQ(scene.m_nSubState, 1);
        EXPECT_EQ(*c.value, c.after) << c.item << " from " << c.before << ": kept";
        EXPECT_EQ(g_MenuCursor.m_pCurrent->nRow, c.item) << "back on the item";
    }
}

TEST_F(Options, TheVolumeSetsEveryEntrysFirstCopyAtOnceAndCancelPutsItBack)
{
    LoadSounds();
    g_OptionData.m_nVolume = 10;
    cOptionScene& scene = OnMenu();
    Edit(scene, cOptionScene::ITEM_VOLUME);
    Frame(scene, 0, kValueUp);
    EXPECT_EQ(g_OptionData.m_nVolume, 0);
    EXPECT_EQ(FirstCopyVolumes(), std::vector<int>(3, -10000));
    EXPECT_EQ(DS_GetVolume(g_SoundTable.At(0), 1), kSoundVolumeTable[7]) << "other copies keep theirs";
    Frame(scene, 0, kValueUp);
    EXPECT_EQ(FirstCopyVolumes(), std::vector<int>(3, -3000));
    ClearRequests();
    Frame(scene, 2);
    EXPECT_EQ(Sounds(), std::vector<int>{2});
    EXPECT_EQ(g_OptionData.m_nVolume, 10);
    EXPECT_EQ(FirstCopyVolumes(), std::vector<int>(3, 0)) << "the old level's volume again";
    EXPECT_EQ(scene.m_nSubState, 1);
}

TEST_F(Options, ARankingModeOutsideTheNamesShowsModeZeroAndAMissingNameNothing)
{
    g_SystemData.m_RankingModeNames.assign({"甲", "乙"});
    struct Case { int mode; const char* shown; } cases[] = {{1, "乙"}, {0, "甲"}, {3, ""}, {9, "甲"}, {-1, "甲"}};
    for (const Case& c : cases) {
        g_OptionData.m_nRankingMode = c.mode;
        EXPECT_EQ(cOptionScene::ValueText(cOptionScene::ITEM_RANKINGMODE), c.shown) << c.mode;
    }
    g_SystemData.m_RankingModeNames.clear();
    EXPECT_EQ(cOptionScene::ValueText(cOptionScene::ITEM_RANKINGMODE), "");
    EXPECT_EQ(cOptionScene::ValueText(cOptionScene::ITEM_BGM), "ON");
    cOptionScene& scene = OnMenu();
    Frame(scene);
    EXPECT_EQ(TakeCloses(), 0) << "nothing read past the names";
}

TEST_F(Options, EveryWayOutSavesTheOptions)
{
    struct Case { const char* what; int row; WORD button; } cases[] = {
        {"cancel on the list", 2, 2},
        {"the back item", 5, 1},
    };
    for (const Case& c : cases) {
        g_OptionData = cOptionData();
        g_OptionData.m_bBgm = 0;
        cOptionScene& scene = OnMenu();
        Edit(scene, cOptionScene::ITEM_VOLUME);
        Frame(scene, 0, kValueDown);
        Frame(scene, 1);
        g_MenuCursor.m_pCurrent->nRow = c.row;
        Frame(scene, c.button);
        ASSERT_EQ(scene.m_nState, OPTIONSTATE_FADEOUT) << c.what;
        EXPECT_EQ(g_GameManager.m_nNextScene, SCENE_TITLE) << c.what;
        EXPECT_FALSE(m_Folder.Exists("user_data/Option.dat")) << c.what << ": only when the fade ends";
        RunUntilHandedOver(scene);
        EXPECT_EQ(g_GameManager.m_nScene, SCENE_TITLE) << c.what;
        g_GameManager.m_nScene = SCENE_OPTION;
        EXPECT_EQ(g_GameManager.m_nPrevScene, SCENE_OPTION) << c.what;
        EXPECT_EQ(m_Folder.ReadFile("user_data/Option.dat"), Option(0, 0, 6, 0, "aaa")) << c.what;
        std::filesystem::remove(m_Folder.Path() / "user_data/Option.dat");
        plat::FlushPathCache();
    }
}

TEST_F(Options, ASaveThatFailsIsToldInABoxAndAReportLineAndTheOptionsStay)
{
    m_Folder.WriteFile("user_data/Option.dat", Option(3, 1, 7, 0, "old"));
    plat::FlushPathCache();
    g_OptionData.m_nVolume = 4;
    cOptionScene& scene = OnMenu();
    Frame(scene, 2);
    plat::FailCommitsAfter(0);
    RunUntilHandedOver(scene);
    plat::FailCommitsAfter(-1);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].find("user_data\\Option.dat"), std::string::npos) << Boxes()[0];
    EXPECT_NE(m_Folder.ReadFile("Report_Game.txt").find(Boxes()[0]), std::string::npos);
    EXPECT_EQ(m_Folder.ReadFile("user_data/Option.dat"), Option(3, 1, 7, 0, "old")) << "the old file kept";
    EXPECT_EQ(g_OptionData.m_nVolume, 4);
    EXPECT_EQ(g_GameManager.m_nScene, SCENE_TITLE) << "the scene goes on to the title";
}

TEST_F(Options, TheBgmSwitchStopsOrRestartsTheManagerOnlyAtTheFadeOut)
{
    // The switch is turned over once while editing.
    struct Case { int startedBefore, switchBefore, startedAfter, bgmAfter; } cases[] = {
        {1, 1, 0, 0},     // off: stopped, and the title asks anew
        {0, 0, 1, 0},     // on: started again
        {1, 0, 1, 5},     // on while running: nothing
        {0, 1, 0, 5},     // off while stopped: nothing
    };
    for (const Case& c : cases) {
        g_Bgm.UnInit();
        if (c.startedBefore) {
            ASSERT_EQ(g_Bgm.Init(1, g_BgmOggNames, g_BgmMidiNames, kBgmSlots), 1);
        }
        g_OptionData.m_bBgm = c.switchBefore;
        cOptionScene& scene = OnMenu();
        g_GameManager.m_nBgm = 5;
        Edit(scene, cOptionScene::ITEM_BGM);
        Frame(scene, 0, kValueUp);
        Frame(scene, 1);
        EXPECT_EQ(g_Bgm.IsStarted(), c.startedBefore) << "not while editing";
        Frame(scene, 2);
        RunUntilHandedOver(scene);
        g_GameManager.m_nScene = SCENE_OPTION;
        EXPECT_EQ(g_Bgm.IsStarted(), c.startedAfter) << c.startedBefore << c.switchBefore;
        EXPECT_EQ(g_GameManager.m_nBgm, c.bgmAfter) << c.startedBefore << c.switchBefore;
    }
}

}  // namespace
