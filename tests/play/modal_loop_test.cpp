// The stage's modal loops on their real threads: what they show, which keys end them, what
// they leave of the game, and the starts that must not run a loop at all.
#include "play/modal_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "data/ranking_data.h"
#include "platform/input/keyboard.h"
#include "platform/os/messages.h"
#include "platform/os/random.h"
#include "platform/os/timer.h"
#include "platform/video/presenter.h"
#include "shell/key_config.h"
#include "shell/thread.h"
#include "tests/play/stage_draw_fixture.h"
#include "tests/support/restore.h"

namespace modal_loop_test {

constexpr int kDecideKey = 'Z';
constexpr int kPageKey = 'V';   // button 4: the ranking kind
// A loop still running after this many passes has missed its end: it is told to quit, so the
// test fails instead of hanging.
constexpr int kRunaway = 200;

// The keys of each pass of the loop (pass 1 shows the frame of the play frame that started it)
// and what the loop showed, seen through the frame hooks on the loop's thread.
struct LOOPSCRIPT {
    std::vector<int> decideDown;   // passes with the decide key down
    std::vector<int> pageDown;
    int quitAtPass = 0;            // the close sequence's quit request at this pass (0: none)
    bool postQuit = true;          // ... with its WM_QUIT to the loop
};
LOOPSCRIPT s_Script;
cPlayScene* s_lpScene = nullptr;
int s_nPass = 0;
int s_nShown = 0;
std::vector<unsigned> s_LoopSeeds;   // the loop thread's own generator at each shown frame
std::vector<unsigned> s_GameSeeds;   // the game thread's, as the trace sees it from the loop

bool Has(const std::vector<int>& passes, int pass) { return std::find(passes.begin(), passes.end(), pass) != passes.end(); }

void ApplyPass()
{
    plat::SetKeyState(kDecideKey, Has(s_Script.decideDown, s_nPass));
    plat::SetKeyState(kPageKey, Has(s_Script.pageDown, s_nPass));
    if (s_nPass == s_Script.quitAtPass || s_nPass == kRunaway) {
        s_lpScene->m_nQuitRequest.store(1);
        if (s_Script.postQuit) PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
    }
}

void OnStart()
{
    ++s_nPass;
    ApplyPass();
}

void OnCarry()
{
    if (!OnModalLoopThread()) return;
    s_nPass = 1;
    ApplyPass();
}

void OnEnd()
{
    ++s_nShown;
    s_LoopSeeds.push_back(plat::RandomState());
    s_GameSeeds.push_back(GameThreadRandomState());
}

class ModalLoop : public qbtest::cStageDrawTest {
protected:
    void SetUp() override
    {
        qbtest::cStageDrawTest::SetUp();
        plat::SetClock(&m_Clock);
        g_KeyConfig.bUse = 0;
        g_bActive.store(1);
        g_bClosing.store(0);
        s_lpScene = m_Scene;
        Fresh();
        SetFrameHooks(OnStart, OnEnd, OnCarry);
    }
    // Before each case of a table: no keys, nothing shown, the scene not quitting.
    void Fresh()
    {
        s_Script = LOOPSCRIPT{};
        s_nPass = s_nShown = 0;
        s_LoopSeeds.clear();
        s_GameSeeds.clear();
        qbtest::cRequestLog::s_Sounds.clear();
        m_Scene->m_nQuitRequest.store(0);
        m_Scene->m_bHoldButtons = 0;
        g_bClosing.store(0);
    }
    void TearDown() override
    {
        SetFrameHooks(nullptr, nullptr);
        plat::SetKeyState(kDecideKey, false);
        plat::SetKeyState(kPageKey, false);
        plat::SetClock(nullptr);
        s_lpScene = nullptr;
        qbtest::cStageDrawTest::TearDown();
    }
    // Runs the loop and returns the frames it handed over.
    std::uint64_t Run(void (*loop)(cPlayScene&))
    {
        const std::uint64_t before = plat::LastFrameGeneration();
        loop(*m_Scene);
        EXPECT_EQ(thPause.m_hThread.load(), nullptr);
        EXPECT_EQ(thRanking.m_hThread.load(), nullptr);
        return plat::LastFrameGeneration() - before;
    }

    plat::cManualClock m_Clock;
    qbtest::cRequestLog m_Requests;
    qbtest::cRestore<KEYCONFIG> m_KeyConfig{g_KeyConfig};
    qbtest::cRestore<std::atomic<int>> m_Active{g_bActive};
};

TEST_F(ModalLoop, AWaitOfNFramesShowsNFramesAndEndsOnThePassAfter)
{
    for (int frames : {0, 1, 30}) {
        Fresh();
        m_Scene->m_Wait.Set(0, 0, frames, 0);
        EXPECT_EQ(Run(RunModalLoop), static_cast<std::uint64_t>(frames)) << frames;
        EXPECT_EQ(s_nShown, frames) << frames;
        EXPECT_EQ(m_Scene->m_Wait.nFrames, -1) << frames;
        EXPECT_EQ(m_Scene->m_nQuitRequest.load(), 0);
        EXPECT_TRUE(qbtest::cRequestLog::s_Sounds.empty()) << frames;
    }
}

TEST_F(ModalLoop, AKeyWaitEndsOnAFreshDecidePressOnly)
{
    struct Case {
        const char* what;
        int mode;
        int noDelay;
        std::vector<int> decideDown;
        int shown;
        int sound;
    } cases[] = {
        {"a first message waits 10 frames, then takes a press", 1, 0, {11}, 10, 12},
        {"a press held through the delay is no fresh press", 1, 0, {5, 6, 7, 8, 9, 10, 11, 12, 14}, 13, 12},
        {"a chained message takes the first fresh press", 1, 1, {2}, 1, 12},
        {"a decide held into a chained message does not close it", 1, 1, {1, 2, 3, 6}, 5, 12},
        {"a held decide needs its release even before the first frame", 1, 1, {1, 3}, 2, 12},
        {"other modes have no delay and end with sound 1", 0, 0, {2}, 1, 1},
    };
    for (const Case& c : cases) {
        Fresh();
        s_Script.decideDown = c.decideDown;
        m_Scene->m_Wait.Set(c.mode, 1, 0, c.noDelay);
        EXPECT_EQ(Run(RunModalLoop), static_cast<std::uint64_t>(c.shown)) << c.what;
        EXPECT_EQ(s_nShown, c.shown) << c.what;
        EXPECT_EQ(qbtest::cRequestLog::s_Sounds, std::vector<int>{c.sound}) << c.what;
        EXPECT_EQ(m_Scene->m_bHoldButtons, 1) << c.what << ": the play frame waits for the release";
    }
}

TEST_F(ModalLoop, LoopFramesRunOnAFreshGeneratorAndLeaveTheGameThreadsAlone)
{
    srand(4242);
    rand();
    const unsigned gameSeed = plat::RandomState();
    m_Scene->m_Wait.Set(0, 0, 3, 0);
    ASSERT_EQ(Run(RunModalLoop), 3u);
    EXPECT_EQ(s_LoopSeeds, (std::vector<unsigned>{1, 1, 1})) << "a new thread's generator starts at 1; draws put it back";
    EXPECT_EQ(s_GameSeeds, (std::vector<unsigned>{gameSeed, gameSeed, gameSeed}));
    EXPECT_EQ(plat::RandomState(), gameSeed);
    EXPECT_EQ(GameThreadRandomState(), gameSeed);
    EXPECT_FALSE(OnModalLoopThread());
}

TEST_F(ModalLoop, AQuitRequestEndsAKeyWaitByItsQuitOrByItselfAfterTheGrace)
{
    for (bool postQuit : {true, false}) {
        Fresh();
        s_Script.quitAtPass = 3;
        s_Script.postQuit = postQuit;
        m_Scene->m_Wait.Set(1, 1, 0, 1);
        const DWORD start = timeGetTime();
        // The frame under way when the request came is finished; none follows it.
        EXPECT_EQ(Run(RunModalLoop), 3u) << postQuit;
        EXPECT_EQ(m_Scene->m_bHoldButtons, 0);
        if (!postQuit) {
            EXPECT_GE(timeGetTime() - start, 2000u) << "drew nothing for the grace, then ended";
        }
    }
}

TEST_F(ModalLoop, NoLoopRunsWhenTheStageQuitsTheProgramClosesOrNoThreadCanBeMade)
{
    struct Case {
        const char* what;
        int quit;
        int closing;
        bool failStart;
    } cases[] = {
        {"the quit request set before the start", 1, 0, false},
        {"the program closing", 0, 1, false},
        {"no thread", 0, 0, true},
    };
    for (const Case& c : cases) {
        for (void (*loop)(cPlayScene&) : {RunModalLoop, RunRankingLoop}) {
            Fresh();
            m_Scene->m_nQuitRequest.store(c.quit);
            g_bClosing.store(c.closing);
            if (c.failStart) FailNextThreadStart();
            m_Scene->m_Wait.Set(0, 0, 5, 0);
            // The ranking loop ends only on decide; only a quit request does not stop it.
            if (c.quit && loop == RunRankingLoop) s_Script.decideDown = {2};
            const std::uint64_t shown = Run(loop);
            if (c.quit && loop == RunRankingLoop) EXPECT_EQ(shown, 1u) << c.what;
            else EXPECT_EQ(shown, 0u) << c.what;
        }
    }
    Fresh();
}

TEST_F(ModalLoop, TheRankingLoopPagesOnlyWithTwoKindsAndEndsOnDecide)
{
    struct Case {
        const char* what;
        std::vector<BYTE> flags;
        int kindAtEnd;
        std::vector<int> sounds;
    } cases[] = {
        {"one kind: the page key does nothing", {0, 1, 0, 0, 0}, 1, {1}},
        {"two kinds: the page key steps to the next", {0, 1, 0, 1, 0}, 3, {6, 1}},
    };
    for (const Case& c : cases) {
        Fresh();
        qbtest::cRestore<cRankingData> rankings(g_RankingData);
        g_GameManager.m_nPlayMode = PLAYMODE_FREEPLAY;
        g_SystemData.m_ModeResults.At(PLAYMODE_FREEPLAY).m_bEnabled = 1;
        g_SystemData.m_ModeResults.At(PLAYMODE_FREEPLAY).m_ValueFlags = c.flags;
        g_SaveData.m_nRankingKind = 0;
        m_Scene->m_StageClear.SizeResults();
        s_Script.pageDown = {2};
        s_Script.decideDown = {4};
        EXPECT_EQ(Run(RunRankingLoop), 3u) << c.what;
        EXPECT_EQ(g_SaveData.m_nRankingKind, c.kindAtEnd) << c.what;
        EXPECT_EQ(qbtest::cRequestLog::s_Sounds, c.sounds) << c.what;
    }
}

TEST(WaitState, ANewStageWaitsForNothing)
{
    const cPlayScene scene;
    const WAITSTATE& wait = scene.m_Wait;
    EXPECT_EQ(wait.nMode, 0);
    EXPECT_EQ(wait.nDelay, 0);
    EXPECT_EQ(wait.bKeyWait, 0);
    EXPECT_EQ(wait.nFrames, 0);
    EXPECT_EQ(wait.nCounter, 0);
}

}  // namespace modal_loop_test
