#include "app/game_loop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "platform/os/messages.h"
#include "platform/os/timer.h"
#include "shell/log.h"
#include "shell/shared_flags.h"
#include "shell/thread.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait.h"

namespace {

std::atomic<int> g_nFrames{0};
std::atomic<int> g_nFramesUntilFalse{0};

// A frame that fails once g_nFramesUntilFalse frames have run (never when it is 0).
bool FakeFrame()
{
    const int n = ++g_nFrames;
    return g_nFramesUntilFalse.load() == 0 || n < g_nFramesUntilFalse.load();
}
unsigned FakeGameLoop(void*) { return RunGameLoop(FakeFrame); }

LRESULT QuietProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

class GameLoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Folder.ChangeInto();
        SetEcLogFile(1, "EC_Game.txt");
        plat::SetWindowThread();
        m_hWnd = plat::CreateWindowHandle(QuietProc);
        g_hWnd.store(m_hWnd);
        g_nFrames.store(0);
        g_nFramesUntilFalse.store(0);
    }
    void TearDown() override
    {
        SetEcLogFile(0, "EC_Game.txt");
        g_hWnd.store(nullptr);
        g_bActive.store(0);
        plat::SetClock(nullptr);
    }
    int PostedCloses()
    {
        int closes = 0;
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) closes += m.message == WM_CLOSE;
        return closes;
    }
    std::string Log() const { return m_Folder.Exists("EC_Game.txt") ? m_Folder.ReadFile("EC_Game.txt") : ""; }
    qbtest::cTempFolder m_Folder;
    HWND m_hWnd = nullptr;
};

TEST_F(GameLoopTest, AFrameThatFailsPostsCloseExactlyOnceAndEndsTheLoop)
{
    g_bActive.store(1);
    g_nFramesUntilFalse.store(3);
    cThread thread;
    ASSERT_TRUE(thread.Start(FakeGameLoop, nullptr));
    thread.WaitEnd();
    EXPECT_EQ(g_nFrames.load(), 3);
    EXPECT_EQ(PostedCloses(), 1);
    EXPECT_EQ(Log().find("GameLoop WM_QUIT!"), std::string::npos);
}

TEST_F(GameLoopTest, NoFramesWhileInactiveAndQuitEndsWithoutClose)
{
    plat::cManualClock clock;
    plat::SetClock(&clock);
    g_bActive.store(0);
    cThread thread;
    ASSERT_TRUE(thread.Start(FakeGameLoop, nullptr));
    ASSERT_TRUE(thread.PostStartUntilReceived(false));
    // Every inactive pass sleeps 1 ms on the manual clock: wait for a good number of passes.
    ASSERT_TRUE(qbtest::WaitUntil([&] { return clock.NowMicroseconds() >= 100000; }));
    EXPECT_EQ(g_nFrames.load(), 0);

    g_bActive.store(1);
    ASSERT_TRUE(qbtest::WaitUntil([] { return g_nFrames.load() >= 3; }));
    plat::SetClock(nullptr);
    thread.Exit();
    EXPECT_EQ(PostedCloses(), 0);
    EXPECT_NE(Log().find("GameLoop WM_QUIT!\n"), std::string::npos);
    EXPECT_EQ(Log().find("left running"), std::string::npos);
}

}  // namespace
