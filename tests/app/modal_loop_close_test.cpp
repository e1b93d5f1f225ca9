// The stage's modal loops under the harness, on real threads: the game thread runs a stage
// whose play frame starts a loop, this thread is the window thread, and the script closes the
// program. The close must end the loop, the game thread and the window's message loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/game_loop.h"
#include "app/harness.h"
#include "app/main_window.h"
#include "app/scene_factory.h"
#include "app/window_requests.h"
#include "data/save_data.h"
#include "data/system_data.h"
#include "platform/os/messages.h"
#include "platform/os/timer.h"
#include "platform/ui/window.h"
#include "play/game_manager.h"
#include "play/modal_loop.h"
#include "play/play_scene.h"
#include "play/stage_clear.h"
#include "shell/log.h"
#include "shell/shared_flags.h"
#include "shell/thread.h"
#include "sound/direct_sound.h"
#include "tests/app/trace_lines.h"
#include "tests/stage/stage_fixture.h"
#include "tests/support/restore.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait.h"

namespace modal_loop_close_test {

enum class eLoop { KeyWait, ChainedKeyWait, GameWait, Ranking, QuitBeforeStart, NoThread, MessageThenClear };

// What the play frame at kLoopFrame does.
eLoop s_Loop = eLoop::GameWait;
int s_nWaitFrames = 0;
constexpr int kLoopFrame = 3;

// A stage whose play frames only count themselves, and whose frame kLoopFrame starts a loop.
class cLoopingStage : public cPlayScene {
public:
    void Run() override
    {
        if (++m_nFrame != kLoopFrame) return;
        switch (s_Loop) {
        case eLoop::KeyWait: m_Wait.Set(1, 1, 0, 0); break;
        case eLoop::ChainedKeyWait: m_Wait.Set(1, 1, 0, 1); break;
        case eLoop::GameWait: m_Wait.Set(0, 0, s_nWaitFrames, 0); break;
        case eLoop::QuitBeforeStart: m_nQuitRequest.store(1); break;
        case eLoop::NoThread: FailNextThreadStart(); break;
        case eLoop::Ranking:
            m_StageClear.SizeResults();
            RunRankingLoop(*this);
            return;
        case eLoop::MessageThenClear:
            // A flow's message, then its stage clear in the same frame: the tally would show
            // extra lives in a loop of their own.
            m_Wait.Set(1, 1, 0, 0);
            RunModalLoop(*this);
            BeginStageClear(*this);
            return;
        }
        RunModalLoop(*this);
    }
};

cScene* MakeLoopingStage(int type) { return type == SCENE_PLAY ? new cLoopingStage : MakeScene(type); }

struct RUN {
    bool bEnded = false;
    int nStatus = -1;
    std::string strLog;
    std::vector<qbtest::TRACELINE> trace;
};

class ModalLoopClose : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Folder.ChangeInto();
        plat::SetWindowThread();
        g_RequestSeams = DefaultRequestSeams();
        g_bClosing.store(0);
        g_SoundTable.resize(17);
        m_Stage.AddPlayerOne();
    }
    void TearDown() override
    {
        StopHarness();
        unsetenv("QUILLBRAMWOOD_SCRIPT");
        g_GameManager.DeleteScenes();
        SetSceneFactory(MakeScene);
        g_SoundTable.clear();
        g_bActive.store(0);
        g_bClosing.store(0);
        plat::SetCarriedBoxesRefused(false);
        g_hWnd.store(nullptr);
        SetEcLogFile(0, "EC_Game.txt");
    }

    // One run of the game loop on thGame under the script, this thread serving the window until
    // its WM_QUIT or the bound.
    RUN Run(eLoop loop, int closeFrame, int waitFrames = 0, const std::string& keys = "")
    {
        s_Loop = loop;
        s_nWaitFrames = waitFrames;
        const std::string name = "script" + std::to_string(++m_nRuns) + ".txt";
        const std::string trace = "trace" + std::to_string(m_nRuns) + ".txt";
        m_Folder.WriteFile(name, "clock virtual\neclog on\nclose " + std::to_string(closeFrame) + "\ntrace " + trace + "\n" + keys);
        setenv("QUILLBRAMWOOD_SCRIPT", (m_Folder.Path() / name).c_str(), 1);
        std::string error;
        EXPECT_TRUE(StartHarness(error)) << error;
        ApplyHarnessLogSwitch();
        SetSceneFactory(MakeLoopingStage);
        g_GameManager.m_nScene = SCENE_PLAY;
        g_bClosing.store(0);
        plat::SetCarriedBoxesRefused(false);
        const HWND hWnd = plat::CreateWindowHandle(WndProc);
        g_hWnd.store(hWnd);
        g_bActive.store(1);

        RUN run;
        if (!thGame.Start(GameLoop, nullptr) || !thGame.PostStartUntilReceived(false)) return run;
        MSG msg{};
        run.bEnded = qbtest::WaitUntil([&] { return msg.message == WM_QUIT; }, [&] {
            if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                Sleep(1);
                return;
            }
            if (msg.message == WM_QUIT) return;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }, qbtest::kWaitBound * qbtest::kSlowness);
        run.nStatus = static_cast<int>(msg.wParam);
        EXPECT_EQ(thGame.m_hThread.load(), nullptr);
        StopHarness();
        SetEcLogFile(0, "EC_Game.txt");
        run.strLog = m_Folder.Exists("EC_Game.txt") ? m_Folder.ReadFile("EC_Game.txt") : "";
        m_Folder.WriteFile("EC_Game.txt", "");
        run.trace = qbtest::ParseTrace(m_Folder.ReadFile(trace));
        g_GameManager.DeleteScenes();
        return run;
    }

    qbtest::cTempFolder m_Folder;
    qbtest::cStageFixture m_Stage{40, 20};
    int m_nRuns = 0;
};

// The lines appear in the log in this order.
::testing::AssertionResult InOrder(const std::string& log, const std::vector<std::string>& lines)
{
    std::size_t at = 0;
    for (const std::string& line : lines) {
        const std::size_t found = log.find(line + "\n", at);
        if (found == std::string::npos) return ::testing::AssertionFailure() << "no \"" << line << "\" in order in\n" << log;
        at = found + line.size();
    }
    return ::testing::AssertionSuccess();
}

// The play frames' lines without their frame numbers.
std::vector<qbtest::TRACELINE> PlayLines(std::vector<qbtest::TRACELINE> trace)
{
    std::vector<qbtest::TRACELINE> lines;
    for (qbtest::TRACELINE& line : trace) {
        if (line.at("loop") != "0") continue;
        line.erase("frame");
        lines.push_back(line);
    }
    return lines;
}

TEST_F(ModalLoopClose, AScriptedCloseDuringALoopEndsEveryThreadAndTheProgramWithStatus0)
{
    struct Case {
        const char* what;
        eLoop loop;
        std::vector<std::string> closeLines;
        int loopLines;   // lines tagged loop=1 up to the close frame
    } cases[] = {
        {"a key-wait", eLoop::KeyWait,
         {"WM_CLOSE thPause.m_hThread", "WM_CLOSE 成功！", "thPause.Exit()", "Exit A", "Exit E", "thGame.Exit()"}, 4},
        {"a game wait", eLoop::GameWait,
         {"WM_CLOSE thPause.m_hThread", "WM_CLOSE 成功！", "thPause.Exit()", "Exit A", "Exit E", "thGame.Exit()"}, 4},
        {"the ranking display", eLoop::Ranking,
         {"WM_CLOSE 成功！", "Exit A", "Exit E", "thPause.Exit()", "Exit A", "Exit E", "thGame.Exit()"}, 4},
        {"a quit request before the loop's start", eLoop::QuitBeforeStart,
         {"WM_CLOSE 成功！", "thPause.Exit()", "Exit A", "Exit E", "thGame.Exit()"}, 0},
        {"a loop thread that cannot be made", eLoop::NoThread,
         {"WM_CLOSE 成功！", "thPause.Exit()", "Exit A", "Exit E", "thGame.Exit()"}, 0},
    };
    constexpr int kClose = 6;
    for (const Case& c : cases) {
        const RUN run = Run(c.loop, kClose, 1000);
        ASSERT_TRUE(run.bEnded) << c.what << ": the window's message loop did not end";
        EXPECT_EQ(run.nStatus, 0) << c.what;
        EXPECT_TRUE(InOrder(run.strLog, c.closeLines)) << c.what;
        EXPECT_EQ(run.strLog.find("left running"), std::string::npos) << c.what << "\n" << run.strLog;
        ASSERT_EQ(run.trace.size(), static_cast<std::size_t>(kClose)) << c.what << ": one line a frame, none after the close";
        int loopLines = 0;
        for (std::size_t f = 0; f < run.trace.size(); ++f) {
            EXPECT_EQ(run.trace[f].at("frame"), std::to_string(f + 1)) << c.what;
            loopLines += run.trace[f].at("loop") == "1";
        }
        EXPECT_EQ(loopLines, c.loopLines) << c.what;
    }
}

TEST_F(ModalLoopClose, ACloseDuringAMessageThenAClearInThatFrameStillEndsTheProgramWithStatus0)
{
    // The clear's score crosses two extra-life steps; the close stops the tally after the first.
    qbtest::cRestore<cSaveData> save(g_SaveData);
    qbtest::cRestore<cSystemData> system(g_SystemData);
    g_SaveData.m_nLives = 3;
    g_SaveData.m_nScore = 250;
    g_SaveData.m_nResult1 = 0;
    g_SystemData.m_bExtraLifeByScore = 1;
    g_SystemData.m_nExtraLifeScore = 100;
    constexpr int kClose = kLoopFrame + 2;
    const RUN run = Run(eLoop::MessageThenClear, kClose);
    ASSERT_TRUE(run.bEnded) << "the window's message loop did not end";
    EXPECT_EQ(run.nStatus, 0);
    EXPECT_TRUE(InOrder(run.strLog, {"WM_CLOSE thPause.m_hThread", "WM_CLOSE 成功！", "thPause.Exit()", "thGame.Exit()"}));
    EXPECT_EQ(run.strLog.find("left running"), std::string::npos) << run.strLog;
    ASSERT_EQ(run.trace.size(), static_cast<std::size_t>(kClose)) << "no frame after the close";
    EXPECT_EQ(g_SaveData.m_nResult1, 250) << "the clear was tallied";
    EXPECT_EQ(g_SaveData.m_nLives, 4) << "one extra life shown, then the tally stopped";
}

TEST_F(ModalLoopClose, KeyWaitsClosedEarlyOrLateLeaveTheSamePlayFrames)
{
    for (eLoop loop : {eLoop::ChainedKeyWait, eLoop::KeyWait}) {
        const int early = loop == eLoop::ChainedKeyWait ? 3 : 12;
        const RUN a = Run(loop, early);
        const RUN b = Run(loop, 40);
        ASSERT_TRUE(a.bEnded && b.bEnded);
        EXPECT_EQ(a.trace.size(), static_cast<std::size_t>(early));
        EXPECT_EQ(b.trace.size(), 40u);
        EXPECT_EQ(PlayLines(a.trace), PlayLines(b.trace));
        EXPECT_EQ(PlayLines(b.trace).size(), static_cast<std::size_t>(kLoopFrame - 1));
    }
}

TEST_F(ModalLoopClose, AHalfSecondWaitShowsThirtyLoopFramesWhileThePlayFramesStandStill)
{
    const RUN run = Run(eLoop::GameWait, 40, 30);
    ASSERT_TRUE(run.bEnded);
    ASSERT_EQ(run.trace.size(), 40u);
    const qbtest::TRACELINE& before = run.trace[kLoopFrame - 2];
    // Frames 3 to 32 are the loop's; in frame 33 the loop ends and play frame 3 finishes.
    for (int f = kLoopFrame; f < kLoopFrame + 30; ++f) {
        const qbtest::TRACELINE& line = run.trace[f - 1];
        EXPECT_EQ(line.at("loop"), "1") << f;
        EXPECT_EQ(line.at("pframe"), std::to_string(kLoopFrame)) << f;
        EXPECT_EQ(line.at("hash"), before.at("hash")) << f;
        EXPECT_EQ(line.at("seed"), before.at("seed")) << f;
    }
    EXPECT_EQ(run.trace[kLoopFrame + 30 - 1].at("loop"), "0");
    EXPECT_EQ(run.trace[kLoopFrame + 30 - 1].at("pframe"), std::to_string(kLoopFrame));
    EXPECT_EQ(run.trace[kLoopFrame + 30].at("pframe"), std::to_string(kLoopFrame + 1));
}

TEST_F(ModalLoopClose, ScriptedKeysReachTheLoopAndItsSoundGoesOnTheFrameItEndedIn)
{
    // The first message's delay takes loop frames 3 to 12; a press at 13 ends it, one at 12 is
    // held into 13 and ends nothing.
    struct Case { const char* keys; int endFrame; } cases[] = {
        {"keys 13 Z\nkeys 14\n", 13},
        {"keys 12 Z\nkeys 14\nkeys 16 Z\nkeys 17\n", 16},
    };
    for (const Case& c : cases) {
        const RUN run = Run(eLoop::KeyWait, 20, 0, c.keys);
        ASSERT_TRUE(run.bEnded) << c.keys;
        ASSERT_EQ(run.trace.size(), 20u) << c.keys;
        for (int f = kLoopFrame; f < c.endFrame; ++f) EXPECT_EQ(run.trace[f - 1].at("loop"), "1") << c.keys << f;
        const qbtest::TRACELINE& end = run.trace[c.endFrame - 1];
        EXPECT_EQ(end.at("loop"), "0") << c.keys;
        EXPECT_EQ(end.at("pframe"), std::to_string(kLoopFrame)) << c.keys;
        EXPECT_EQ(end.at("se"), "12") << c.keys;
        EXPECT_EQ(run.trace[c.endFrame].at("pframe"), std::to_string(kLoopFrame + 1)) << c.keys;
    }
}

}  // namespace modal_loop_close_test
