// The story menu: saving into a slot, automatic saving, back to the map and to the title.
#include <gtest/gtest.h>

#include <optional>

#include "platform/os/file_ops.h"
#include "scenes/story_menu_scene.h"
#include "tests/scenes/front_end_fixture.h"

namespace {

enum { STORYSTATE_MENU = 1, STORYSTATE_SAVE, STORYSTATE_AUTOSAVE, STORYSTATE_TOMAP, STORYSTATE_TOTITLE,
       STORYSTATE_FADEOUT };

class StoryMenu : public qbtest::cFrontEndTest {
protected:
    void TearDown() override
    {
        plat::FailCommitsAfter(-1);
        qbtest::cFrontEndTest::TearDown();
    }
    cStoryMenuScene& OnMenu()
    {
        m_Scene.emplace();
        Frame(*m_Scene);
        RunWhile(*m_Scene, 0);
        EXPECT_EQ(m_Scene->m_nState, STORYSTATE_MENU);
        return *m_Scene;
    }
    // Decides on the item of the story-menu list.
    void Choose(cStoryMenuScene& scene, int item)
    {
        g_MenuCursor.m_pCurrent->nRow = item;
        Frame(scene, 1);
        ASSERT_EQ(scene.m_nState, item + STORYSTATE_SAVE);
    }
    // The slot's file as a record; false when it cannot be read.
    static bool ReadSlot(int slot, cSaveData& save) { return save.Load(SaveSlotPath(slot).c_str()) != 0; }

    std::optional<cStoryMenuScene> m_Scene;
};

TEST_F(StoryMenu, ShowsTheEnabledItemsOfTheFourOnlyAndItemZeroWhenNoneIs)
{
    struct Case { std::vector<int> enabled; int listLength; std::vector<int> shown; } cases[] = {
        {{0, 1, 2, 3}, 4, {0, 1, 2, 3}},
        {{0, 2, 3}, 4, {0, 2, 3}},
        {{}, 4, {0}},
        {{0, 1, 2, 3, 4, 5}, 6, {0, 1, 2, 3}},   // a longer stored list: its first four
    };
    for (const Case& c : cases) {
        cSafeVector<cMenuItemData>& items = g_SystemData.m_StoryMenu;
        items.assign(static_cast<std::size_t>(c.listLength), cMenuItemData());
        for (cMenuItemData& item : items) item.m_bEnabled = 0;
        for (int i : c.enabled) items.At(i).m_bEnabled = 1;
        cStoryMenuScene scene;
        Frame(scene);
        ASSERT_EQ(scene.m_nItemCount, static_cast<int>(c.shown.size())) << c.listLength;
        for (int k = 0; k < scene.m_nItemCount; ++k) EXPECT_EQ(scene.m_nItems[k], c.shown[k]) << k;
    }
}

TEST_F(StoryMenu, SavingIntoSlotThreeMakesItTheSlotOfTheStory)
{
    cStoryMenuScene& scene = OnMenu();
    Choose(scene, 0);
    Frame(scene);
    EXPECT_EQ(scene.m_nSubState, 1);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nRow, 0) << "a story never saved opens the list on row 0";
    for (int i = 0; i < 3; ++i) Frame(scene, 0, 8);
    Frame(scene, 1);
    ASSERT_EQ(scene.m_nSubState, 2);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nRow, 1) << "the question starts on its second answer";
    Frame(scene);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nY, 400 + 16);
    Frame(scene, 0, 4);
    ClearRequests();
    g_SaveData.m_nScore = 4321;
    Frame(scene, 1);
    EXPECT_EQ(Sounds(), std::vector<int>{5});
    EXPECT_EQ(scene.m_nSubState, 1);
    EXPECT_EQ(g_SaveData.m_nSaveSlot, 3);
    cSaveData saved;
    ASSERT_TRUE(ReadSlot(3, saved));
    EXPECT_EQ(saved.m_nScore, 4321);
    EXPECT_EQ(saved.m_nSaveSlot, 3);
    EXPECT_EQ(g_SaveSlots.At(3).m_bUsed, 1);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nRow, 3) << "the list's cursor stays on the slot";

    // Out of the list and in again: it opens on the story's slot.
    Frame(scene, 2);
    EXPECT_EQ(scene.m_nState, STORYSTATE_MENU);
    Choose(scene, 0);
    Frame(scene);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nRow, 3);
    EXPECT_EQ(scene.m_nSlotTop, 3);
}

TEST_F(StoryMenu, ASaveThatCannotBeWrittenSaysSoAndTheStoryKeepsItsSlot)
{
    g_SaveData.m_nSaveSlot = 5;
    cStoryMenuScene& scene = OnMenu();
    Choose(scene, 0);
    Frame(scene);
    Frame(scene, 0, 8);
    Frame(scene, 1);
    Frame(scene, 0, 4);
    plat::FailCommitsAfter(0);
    Frame(scene, 1);
    plat::FailCommitsAfter(-1);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].find("Story07.dat"), std::string::npos) << Boxes()[0];
    EXPECT_EQ(g_SaveData.m_nSaveSlot, 5);
    EXPECT_EQ(g_SaveSlots.At(6).m_bUsed, 0);
    EXPECT_FALSE(m_Folder.Exists("user_data/story/Story07.dat"));
}

TEST_F(StoryMenu, AutomaticSavingOnWritesTheSlotRecordingItOnAndOffWritesNothing)
{
    g_SaveData.m_nSaveSlot = 2;
    cStoryMenuScene& scene = OnMenu();
    Choose(scene, 1);
    Frame(scene);
    EXPECT_EQ(scene.m_nSubState, 1);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nRow, 1) << "off: the cursor on the second answer";
    Frame(scene, 0, 4);
    Frame(scene, 1);
    EXPECT_EQ(scene.m_nState, STORYSTATE_MENU);
    EXPECT_EQ(g_SaveData.m_bAutoSave, 1);
    cSaveData saved;
    ASSERT_TRUE(ReadSlot(2, saved));
    EXPECT_EQ(saved.m_bAutoSave, 1) << "the file records automatic saving on";

    std::filesystem::remove(m_Folder.Path() / "user_data" / "story" / "Story03.dat");
    plat::FlushPathCache();
    Choose(scene, 1);
    Frame(scene);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nRow, 0);
    Frame(scene, 0, 8);
    Frame(scene, 1);
    EXPECT_EQ(g_SaveData.m_bAutoSave, 0);
    EXPECT_FALSE(m_Folder.Exists("user_data/story/Story03.dat"));
}

TEST_F(StoryMenu, WithoutASlotAutomaticSavingOnlyShowsTheNotice)
{
    cStoryMenuScene& scene = OnMenu();
    Choose(scene, 1);
    Frame(scene);
    EXPECT_EQ(scene.m_nSubState, 2);
    Frame(scene, 0, 4);
    ClearRequests();
    Frame(scene, 1);
    EXPECT_EQ(Sounds(), std::vector<int>{1});
    EXPECT_EQ(scene.m_nState, STORYSTATE_MENU);
    EXPECT_EQ(g_SaveData.m_bAutoSave, 0);
    EXPECT_EQ(g_SaveData.m_nSaveSlot, -1);
    EXPECT_EQ(g_MenuCursor.m_Entries.size(), 1u);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nRow, 1) << "the item cursor where it was";
}

TEST_F(StoryMenu, BackToTheTitleAsksFirstAndBackToTheMapGoesAtOnce)
{
    cStoryMenuScene& scene = OnMenu();
    Choose(scene, 3);
    Frame(scene);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nRow, 1);
    Frame(scene, 1);   // "やっぱりやめる"
    EXPECT_EQ(scene.m_nState, STORYSTATE_MENU);
    Choose(scene, 3);
    Frame(scene, 0, 4);
    Frame(scene, 1);
    EXPECT_EQ(scene.m_nState, STORYSTATE_FADEOUT);
    EXPECT_EQ(g_GameManager.m_nNextScene, SCENE_TITLE);

    cStoryMenuScene& again = OnMenu();
    ClearRequests();
    Frame(again, 2);
    EXPECT_EQ(Sounds(), std::vector<int>{2});
    EXPECT_EQ(again.m_nState, STORYSTATE_TOMAP);
    Frame(again);
    EXPECT_EQ(again.m_nState, STORYSTATE_FADEOUT);
    EXPECT_EQ(g_GameManager.m_nNextScene, SCENE_WORLDMAP);
    g_GameManager.m_nScene = SCENE_STORYMENU;
    RunUntilHandedOver(again);
    EXPECT_EQ(g_GameManager.m_nScene, SCENE_WORLDMAP);
    EXPECT_EQ(g_GameManager.m_nPrevScene, SCENE_STORYMENU);
    EXPECT_EQ(again.m_nState, -1);
}

}  // namespace
