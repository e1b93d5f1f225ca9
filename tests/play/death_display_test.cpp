// Death displays in the stage draw: a defeated chara's display ends and it leaves the stage;
// player 1's ends one second after its death effect and decides what follows the death.
#include <gtest/gtest.h>

#include "platform/input/keyboard.h"
#include "platform/os/messages.h"
#include "platform/os/timer.h"
#include "shell/key_config.h"
#include "play/game_manager.h"
#include "shell/thread.h"
#include "tests/stage/chara_effects.h"
#include "tests/stage/stage_fixture.h"

using qbtest::cStageFixture;

namespace {

class DeathDisplay : public ::testing::Test {
protected:
    cPlayScene& Scene()
    {
        m_Fixture.Commit();
        cPlayScene& scene = m_Fixture.NewScene();
        scene.SetStage(0, 1);
        scene.m_nState = PLAYSTATE_PLAY;
        return scene;
    }
    cStageFixture m_Fixture;
};

TEST_F(DeathDisplay, ADefeatedCharaLeavesTheStageWhenItsDisplayEnds)
{
    g_StageData.m_Charas.push_back(qbtest::PlacedChara(6, 5, false));
    cPlayScene& scene = Scene();
    ASSERT_EQ(scene.m_Charas.size(), 1u);
    scene.m_Charas.front().m_bDead = 1;
    scene.Draw(1, 0, 0, 0);
    EXPECT_TRUE(scene.m_Charas.empty());
}

TEST_F(DeathDisplay, ADrawOfAModalLoopRemovesNothingAndTheNextGameDrawDoes)
{
    g_StageData.m_Charas.push_back(qbtest::PlacedChara(6, 5, false));
    cPlayScene& scene = Scene();
    ASSERT_EQ(scene.m_Charas.size(), 1u);
    scene.m_Charas.front().m_bDead = 1;
    {
        // This thread stands for the modal loop's thread while the loop runs.
        int running = 0;
        qbtest::cRestore<std::atomic<DWORD>> id(thPause.m_dwThreadId);
        qbtest::cRestore<std::atomic<HANDLE>> handle(thPause.m_hThread);
        thPause.m_dwThreadId = GetCurrentThreadId();
        thPause.m_hThread.store(&running);
        scene.Draw(0, 1, 0, 1);
        EXPECT_EQ(scene.m_Charas.size(), 1u);
    }
    scene.Draw(0, 1, 0, 1);
    EXPECT_TRUE(scene.m_Charas.empty());
}

// The ranking display's passes: decide goes down at its third.
int s_nRankingPass = 0;
void PressDecideAtTheThirdPass()
{
    plat::SetKeyState('Z', ++s_nRankingPass == 3);
}

TEST_F(DeathDisplay, TheRankingDisplaysDrawsOnItsOwnThreadRemoveNothing)
{
    g_StageData.m_Charas.push_back(qbtest::PlacedChara(6, 5, false));
    cPlayScene& scene = Scene();
    scene.m_StageClear.SizeResults();
    scene.m_Charas.front().m_bDead = 1;
    plat::cManualClock clock;
    plat::SetClock(&clock);
    qbtest::cRestore<KEYCONFIG> keys(g_KeyConfig);
    qbtest::cRestore<std::atomic<int>> active(g_bActive);
    g_KeyConfig.bUse = 0;
    g_bActive.store(1);
    s_nRankingPass = 1;
    SetFrameHooks(PressDecideAtTheThirdPass, nullptr);
    RunRankingLoop(scene);
    SetFrameHooks(nullptr, nullptr);
    plat::SetKeyState('Z', false);
    plat::SetClock(nullptr);
    EXPECT_EQ(s_nRankingPass, 3);
    EXPECT_EQ(scene.m_Charas.size(), 1u);
    scene.Draw(0, 1, 0, 1);
    EXPECT_TRUE(scene.m_Charas.empty());
}

TEST_F(DeathDisplay, PlayerOnesDeathFollowsItsDisplayBySecondAndLives)
{
    struct Case {
        const char* what;
        int playMode, lives, storyContinue;
        int state, livesAfter, setUps;
    } cases[] = {
        {"a life left: the stage starts again", PLAYMODE_FREEPLAY, 2, 0, PLAYSTATE_READY, 1, 1},
        {"no life left: game over", PLAYMODE_FREEPLAY, 0, 0, PLAYSTATE_GAMEOVER, 0, 0},
        {"unlimited lives stay unlimited", PLAYMODE_FREEPLAY, kUnlimitedLives, 0, PLAYSTATE_READY, kUnlimitedLives, 1},
        {"story mode offering to continue", PLAYMODE_STORY, 2, 1, PLAYSTATE_CONTINUE, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_GameManager.m_nPlayMode = c.playMode;
        g_GameManager.m_nGameMode = c.playMode == PLAYMODE_STORY ? GAMEMODE_NEWSTORY : GAMEMODE_FREEPLAY;
        g_SystemData.m_bStoryContinue = c.storyContinue;
        cPlayScene& scene = Scene();
        g_SaveData.m_nLives = c.lives;
        g_GameManager.m_nFps = 60;
        const int setUps = scene.m_nSetUpCount;
        Player.At(0).m_bDead = 1;
        // Paused draws hold the display; each unpaused one counts a frame, and the 61st ends it.
        for (int i = 0; i < 5; ++i) scene.Draw(0, 1, 0, 1);
        for (int i = 0; i < 60; ++i) scene.Draw(1, 0, 0, 0);
        ASSERT_EQ(scene.m_nState, PLAYSTATE_PLAY);
        ASSERT_EQ(scene.m_nSetUpCount, setUps);
        scene.Draw(1, 0, 0, 0);
        EXPECT_EQ(scene.m_nState, c.state);
        EXPECT_EQ(g_SaveData.m_nLives, c.livesAfter);
        EXPECT_EQ(scene.m_nSetUpCount - setUps, c.setUps);
    }
}

TEST_F(DeathDisplay, PlayerOnesDeathDropsTheCarriedStatusesWhenTheStageTakesThemOver)
{
    struct Case {
        int takeOver, carry;
        int kept;   // the value each carried group's flag has after the death
    } cases[] = {{0, 0, 1}, {0, 1, 1}, {1, 0, 0}, {1, 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "take over " << c.takeOver << ", carry " << c.carry);
        g_StageData.m_bTakeOverStatus = c.takeOver;
        g_StageData.m_bCarryStatus = c.carry;
        g_SystemData.m_DeathClearFlags.assign(kCarryGroups, 1);
        cPlayScene& scene = Scene();
        g_SaveData.m_nLives = 2;
        g_GameManager.m_nFps = 60;
        g_SaveData.m_CarryFlags.assign(kCarryGroups, 1);
        Player.At(0).m_bDead = 1;
        for (int i = 0; i <= 60; ++i) scene.Draw(1, 0, 0, 0);
        ASSERT_EQ(scene.m_nState, PLAYSTATE_READY) << "the death sequence ran";
        EXPECT_EQ(g_SaveData.m_CarryFlags, cSafeVector<int>(kCarryGroups, c.kept));
    }
}

}  // namespace

namespace {

// The burst of the trace: 5 tenths from 0 to 32, which passes 32 on its 31st step.
class DeathEffectDisplay : public DeathDisplay {
protected:
    void SetUp() override { m_Effects.Set(1, 1, {5, 0, 32, 0, 0}); }
    qbtest::cCharaEffects m_Effects;
};

TEST_F(DeathEffectDisplay, PlayerOnesDeathFollowsItsDeathEffectByASecond)
{
    struct Case {
        int fps;
        int deathDraw;   // the draw on which the death sequence runs
    } cases[] = {{60, 92}, {30, 62}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fps << " frames a second");
        g_StageData.m_nFrameRate = c.fps;
        cPlayScene& scene = Scene();
        g_SaveData.m_nLives = 2;
        g_GameManager.m_nFps = c.fps;
        const int setUps = scene.m_nSetUpCount;
        cHero& hero = Player.At(0);
        hero.m_bDead = 1;
        hero.m_DrawEffect.Start(1, 0, 0);
        int effectEnd = 0;
        int death = 0;
        for (int draw = 1; draw <= 200 && death == 0; ++draw) {
            scene.Draw(1, 0, 0, 0);
            if (effectEnd == 0 && !Player.At(0).m_DrawEffect.IsPlaying()) effectEnd = draw;
            if (scene.m_nSetUpCount != setUps) death = draw;
        }
        EXPECT_EQ(effectEnd, 31);
        EXPECT_EQ(death, c.deathDraw);
    }
}

TEST_F(DeathEffectDisplay, ADefeatedCharaIsErasedWhenItsDeathEffectEnds)
{
    g_StageData.m_Charas.push_back(qbtest::PlacedChara(6, 5, false));
    cPlayScene& scene = Scene();
    ASSERT_EQ(scene.m_Charas.size(), 1u);
    scene.m_Charas.front().m_bDead = 1;
    scene.m_Charas.front().m_DrawEffect.Start(1, 0, 0);
    int erased = 0;
    for (int draw = 1; draw <= 100 && erased == 0; ++draw) {
        // Paused draws show the effect without moving it on.
        scene.Draw(0, 1, 0, 1);
        scene.Draw(1, 0, 0, 0);
        if (scene.m_Charas.empty()) erased = draw;
    }
    EXPECT_EQ(erased, 31);
}

}  // namespace
