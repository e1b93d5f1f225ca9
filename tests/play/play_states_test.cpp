#include <gtest/gtest.h>

#include <vector>

#include "data/command_info.h"
#include "graphics/device.h"
#include "graphics/standard_surfaces.h"
#include "platform/input/keyboard.h"
#include "platform/os/message_box.h"
#include "play/menu_cursor.h"
#include "tests/stage/stage_fixture.h"
#include "tests/support/demo_game.h"
#include "tests/support/restore.h"
#include "tests/support/temp_folder.h"

using qbtest::cRequestLog;
using qbtest::cStageFixture;

namespace {

class PlayStates : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::SetKeyState(VK_SPACE, false);
        m_Input = cInput{};
    }
    void TearDown() override
    {
        plat::SetKeyState(VK_SPACE, false);
        g_Input.At(0) = m_Input;
    }
    cPlayScene& Scene(int state)
    {
        m_Fixture.Commit();
        cPlayScene& scene = m_Fixture.NewScene();
        scene.SetStage(0, 1);
        scene.m_nState = state;
        return scene;
    }
    // One frame of the scene with these buttons down (fresh presses).
    void Frame(cPlayScene& scene, WORD buttons = 0, WORD direction = 0)
    {
        cInput& input = g_Input.At(0);
        input.m_wButton = buttons;
        input.m_wDirection = direction;
        scene.Run();
    }

    cStageFixture m_Fixture;
    cInput m_Input = g_Input.At(0);
};

TEST_F(PlayStates, ReadyShowsEachStartCaptionFor79FramesThenPlays)
{
    struct Case { int sign; int small; int playFrame; } cases[] = {
        {1, 1, 159}, {1, 0, 80}, {0, 1, 80}, {0, 0, 1},
    };
    for (const Case& c : cases) {
        g_StageData.m_bStartSign = c.sign;
        g_StageData.m_bStartSignSmall = c.small;
        cPlayScene& scene = Scene(PLAYSTATE_READY);
        int frame = 0;
        while (scene.m_nState == PLAYSTATE_READY && frame < 400) {
            ++frame;
            Frame(scene);
        }
        EXPECT_EQ(frame, c.playFrame) << c.sign << c.small;
        EXPECT_EQ(scene.m_nState, PLAYSTATE_PLAY);
        EXPECT_EQ(scene.m_nStateFrames, 0);
    }
}

TEST_F(PlayStates, ADirectStageInEditorTestPlayShowsNoCaption)
{
    qbtest::cRestore<std::atomic<int>> editor(g_bEditorLaunch);
    g_bEditorLaunch.store(1);
    g_bTestPlay.store(1);
    g_StageData.m_bStartSign = 1;
    cPlayScene& scene = Scene(PLAYSTATE_READY);
    Frame(scene);
    EXPECT_EQ(scene.m_nState, PLAYSTATE_PLAY);
}

TEST_F(PlayStates, HeldSpacePausesAgainAfterResumingAndCancelRestoresTheSavedState)
{
    cPlayScene& scene = Scene(PLAYSTATE_PLAY);
    cRequestLog log;
    plat::SetKeyState(VK_SPACE, true);
    Frame(scene);
    EXPECT_EQ(scene.m_nState, PLAYSTATE_PAUSE);
    EXPECT_EQ(scene.m_nSavedState, PLAYSTATE_PLAY);
    Frame(scene);   // the menu opens on its second item
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nRow, 1);
    Frame(scene, 2);   // cancel
    EXPECT_EQ(scene.m_nState, PLAYSTATE_PLAY);
    EXPECT_EQ(scene.m_bHoldButtons, 1);
    Frame(scene);   // space still held
    EXPECT_EQ(scene.m_nState, PLAYSTATE_PAUSE);
    EXPECT_EQ(cRequestLog::s_Sounds, (std::vector<int>{4, 2, 4}));
}

TEST_F(PlayStates, ThePauseMenuResumesRetriesOrQuits)
{
    struct Case { int downs; int state; int setUps; int nextScene; } cases[] = {
        {0, PLAYSTATE_PLAY, 1, SCENE_TITLE},      // "つづける"
        {1, PLAYSTATE_READY, 2, SCENE_TITLE},     // "リトライ": the set-up runs again
        {2, PLAYSTATE_FADEOUT, 1, SCENE_TITLE},   // "しゅうりょう" (wrapped round)
    };
    for (const Case& c : cases) {
        g_GameManager.m_nNextScene = SCENE_PLAY;
        cPlayScene& scene = Scene(PLAYSTATE_PLAY);
        plat::SetKeyState(VK_SPACE, true);
        Frame(scene);
        plat::SetKeyState(VK_SPACE, false);
        Frame(scene);
        for (int i = 0; i < c.downs; ++i) {
            Frame(scene, 0, 8);
            Frame(scene);
        }
        Frame(scene, 1);
        EXPECT_EQ(scene.m_nState, c.state) << c.downs;
        EXPECT_EQ(scene.m_nSetUpCount, c.setUps) << c.downs;
        if (c.state == PLAYSTATE_FADEOUT) {
            EXPECT_EQ(g_GameManager.m_nNextScene, c.nextScene);
        }
    }
}

TEST_F(PlayStates, ThePauseMenuOffersRetryByPlayMode)
{
    struct Case { int playMode; int storyRetry; int cleared; int items; } cases[] = {
        {PLAYMODE_STORY, 1, 1, 3},     {PLAYMODE_STORY, 1, 0, 2},     {PLAYMODE_STORY, 0, 1, 2},
        {PLAYMODE_CHALLENGE, 1, 1, 3}, {PLAYMODE_CHALLENGE, 0, 1, 2}, {PLAYMODE_FREEPLAY, 0, 0, 3},
        {PLAYMODE_REPLAY, 1, 1, 2},
    };
    for (const Case& c : cases) {
        g_GameManager.m_nPlayMode = c.playMode;
        g_SystemData.m_bPauseRetryStory = c.storyRetry;
        g_SystemData.m_bPauseRetryChallenge = c.storyRetry;
        g_SaveData.m_nClearSwitch = 1;
        g_SaveData.m_Switches.assign(10, 0);
        g_SaveData.m_Switches.At(1) = c.cleared;
        g_SaveData.m_ChallengeStages.assign(3, cChallengeStageData{});
        g_SaveData.m_ChallengeStages.At(0).m_bCleared = c.cleared;
        cPlayScene& scene = Scene(PLAYSTATE_PAUSE);
        Frame(scene);
        // Down from the second item lands on the third, or wraps to the first.
        Frame(scene, 0, 8);
        EXPECT_EQ(g_MenuCursor.m_pCurrent->nRow, c.items == 3 ? 2 : 0) << c.playMode << c.storyRetry << c.cleared;
    }
}

TEST_F(PlayStates, QuitInDirectPlayClosesTheProgram)
{
    g_bTestPlay.store(1);
    cPlayScene& scene = Scene(PLAYSTATE_PAUSE);
    g_GameManager.m_nNextScene = SCENE_PLAY;
    Frame(scene);
    Frame(scene, 0, 4);   // up from the second item: the first
    Frame(scene, 1);
    EXPECT_EQ(scene.m_nState, PLAYSTATE_FADEOUT);
    EXPECT_EQ(g_GameManager.m_nNextScene, SCENE_PLAY);   // no scene chosen
}

TEST_F(PlayStates, TheClearCaptionComesInStripesFourFramesAStepAndCanBeLeftAt200)
{
    cPlayScene& scene = Scene(PLAYSTATE_CLEAR);
    std::vector<int> frames;
    for (int i = 0; i < 3; ++i) {
        Frame(scene);
        frames.push_back(scene.m_nStateFrames);
    }
    EXPECT_EQ(frames, (std::vector<int>{4, 8, 12}));

    g_StageData.m_bClearSign = 0;
    cPlayScene& unsigned_ = Scene(PLAYSTATE_CLEAR);
    Frame(unsigned_);
    EXPECT_EQ(unsigned_.m_nStateFrames, 200);
    Frame(unsigned_, 1);
    EXPECT_EQ(unsigned_.m_nState, PLAYSTATE_FADEOUT);
}

TEST_F(PlayStates, GameOverLeavesForTheTitleOnDecide)
{
    cPlayScene& scene = Scene(PLAYSTATE_GAMEOVER);
    g_GameManager.m_nNextScene = SCENE_PLAY;
    Frame(scene);
    EXPECT_EQ(scene.m_nState, PLAYSTATE_GAMEOVER);
    Frame(scene, 1);
    EXPECT_EQ(scene.m_nState, PLAYSTATE_FADEOUT);
    EXPECT_EQ(g_GameManager.m_nNextScene, SCENE_TITLE);
}

TEST(MenuCursor, MoveGridWrapsRoundTheRows)
{
    struct Case { int row; int direction; int rows; int after; } cases[] = {
        {0, 4, 3, 2}, {2, 8, 3, 0}, {1, 8, 3, 2}, {1, 0, 3, 1}, {0, 4, 2, 1},
    };
    for (const Case& c : cases) {
        cMenuCursor cursor;
        cursor.m_pCurrent->nRow = c.row;
        cursor.MoveGrid(c.direction, 100, 272, 0, 16, 1, c.rows);
        EXPECT_EQ(cursor.m_pCurrent->nRow, c.after);
        EXPECT_EQ(cursor.m_pCurrent->nY, 272 + 16 * c.after);
        EXPECT_EQ(cursor.m_pCurrent->nX, 100);
    }
}

}  // namespace

namespace {

// The scene's entry with the standard pictures of the demo game loaded by the graphics layer.
class PlayEntry : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::SetBoxesShownBySdl(false);
        ASSERT_TRUE(qbtest::WriteDemoGame(m_Folder.Path()));
        m_Folder.ChangeInto();
        ASSERT_TRUE(DDInit(TRUE, nullptr, 640, 480, 32, FALSE, 1, 1, 60, FALSE, g_StdSurface, g_SurfaceInfo,
                           kStdSurfaceCount, 0));
    }
    void TearDown() override { DDUninit(); }

    qbtest::cTempFolder m_Folder;
    cStageFixture m_Fixture;
};

TEST_F(PlayEntry, EnteringFromAnotherSceneCostsALifeAndReEnteringAfterAStageNone)
{
    struct Case { int previous; int livesAfter; int setUps; } cases[] = {{SCENE_TITLE, 2, 1}, {SCENE_PLAY, 3, 1}};
    for (const Case& c : cases) {
        cPlayScene& scene = m_Fixture.NewScene();
        g_SaveData.m_nStartLives = 3;
        g_SaveData.m_nLives = 3;
        g_GameManager.m_nPrevScene = c.previous;
        scene.Run();
        EXPECT_EQ(g_SaveData.m_nLives, c.livesAfter) << c.previous;
        EXPECT_EQ(scene.m_nSetUpCount, c.setUps) << c.previous;
        EXPECT_EQ(scene.m_nState, PLAYSTATE_FADEIN) << c.previous;
    }
}

TEST_F(PlayEntry, AStageClearedDuringItsSetUpStillFadesIn)
{
    // A chara without HP whose start flow clears the stage: its defeat during the set-up
    // begins the clear.
    g_StageData.m_Charas.push_back(qbtest::ClearingChara(6, 5));
    m_Fixture.Commit();
    cPlayScene& scene = m_Fixture.NewScene();
    scene.Run();
    ASSERT_EQ(scene.m_nSetUpCount, 1);
    ASSERT_EQ(scene.m_nDefeatsReported, 1);
    EXPECT_EQ(scene.m_nState, PLAYSTATE_FADEIN);
}

TEST_F(PlayEntry, QuitInDirectPlayLoadsAndEntersNothingWhileTheProgramCloses)
{
    // The fade-out may end before the close does: the stage must not be loaded again then (a
    // load the close stops is reported, one that fails ends the program as failed), nor
    // another scene entered.
    qbtest::cRestore<std::atomic<int>> failed(g_bRunFailed);
    g_bRunFailed.store(0);
    static int boxes = 0;
    boxes = 0;
    plat::SetBoxAnswerSource([](UINT, const char*) {
        ++boxes;
        return 0;
    });
    g_bTestPlay.store(1);
    m_Fixture.Commit();
    cPlayScene& scene = m_Fixture.NewScene();
    scene.SetStage(0, 1);
    scene.m_nState = PLAYSTATE_PAUSE;
    g_GameManager.m_nNextScene = SCENE_TITLE;
    g_GameManager.m_nFadeSpeed = 10;   // as the start-up sets it: about 26 frames
    const int sceneBefore = g_GameManager.m_nScene;
    cInput& input = g_Input.At(0);
    const WORD presses[][2] = {{0, 0}, {0, 4}, {1, 0}};   // the menu, up to its first item, decide
    for (const auto& press : presses) {
        input.m_wButton = press[0];
        input.m_wDirection = press[1];
        scene.Run();
    }
    input.m_wButton = input.m_wDirection = 0;
    ASSERT_EQ(scene.m_nState, PLAYSTATE_FADEOUT);
    for (int frame = 0; frame < 100; ++frame) scene.Run();
    plat::SetBoxAnswerSource(nullptr);
    EXPECT_EQ(scene.m_nState, PLAYSTATE_FADEOUT);
    EXPECT_EQ(g_GameManager.m_nScene, sceneBefore);
    EXPECT_EQ(boxes, 0);
    EXPECT_EQ(g_bRunFailed.load(), 0);
}

TEST_F(PlayEntry, AStageThatCannotBeLoadedAgainFailsTheRunUnlessTheProgramIsAlreadyClosing)
{
    // Free play loads its stage again after the fade-out; here the file is gone. Before the
    // close sequence began that is a failure; after it, the close (which stops such a load)
    // is what ends the program, as the player or the system asked.
    struct Case { int closing; int failed; } cases[] = {{0, 1}, {1, 0}};
    for (const Case& c : cases) {
        qbtest::cRestore<std::atomic<int>> failed(g_bRunFailed);
        qbtest::cRestore<std::atomic<int>> closing(g_bClosing);
        g_bRunFailed.store(0);
        g_bClosing.store(c.closing);
        m_Fixture.Commit();
        cPlayScene& scene = m_Fixture.NewScene();
        scene.SetStage(0, 1);
        g_StageData.m_strPath = "data\\stg4\\gone.stg4_001";
        g_GameManager.m_nGameMode = GAMEMODE_FREEPLAY;
        g_GameManager.m_nFadeSpeed = 10;
        g_SaveData.m_bSeries = 0;
        scene.m_nState = PLAYSTATE_FADEOUT;
        for (int frame = 0; frame < 100 && scene.m_nState == PLAYSTATE_FADEOUT; ++frame) scene.Run();
        EXPECT_NE(scene.m_nState, PLAYSTATE_FADEOUT) << "the fade-out ended";
        EXPECT_EQ(g_bRunFailed.load(), c.failed) << c.closing;
    }
}

}  // namespace
