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

// A window of the loop's thread, made by its first frame: a send to it is served only while
// that thread is inside a message call.
std::atomic<HWND> g_hLoopWindow{nullptr};
bool WindowMakingFrame()
{
    if (!g_hLoopWindow.load()) g_hLoopWindow.store(plat::CreateWindowHandle(QuietProc));
    return FakeFrame();
}
unsigned WindowMakingGameLoop(void*) { return RunGameLoop(WindowMakingFrame); }

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
        g_hLoopWindow.store(nullptr);
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
    // The inactive loop must wait, not poll: polling sleeps, which moves the manual clock.
    plat::cManualClock clock;
    plat::SetClock(&clock);
    SetGameActive(1);
    cThread thread;
    ASSERT_TRUE(thread.Start(WindowMakingGameLoop, nullptr));
    ASSERT_TRUE(qbtest::WaitUntil([] { return g_hLoopWindow.load() != nullptr; }));

    SetGameActive(0);
    // Served inside a message call of the loop, after which it has seen that it is inactive.
    SendMessageA(g_hLoopWindow.load(), WM_USER, 0, 0);
    const int framesBefore = g_nFrames.load();
    for (int i = 0; i < 50; ++i) SendMessageA(g_hLoopWindow.load(), WM_USER, 0, 0);
    EXPECT_EQ(g_nFrames.load(), framesBefore);
    EXPECT_EQ(clock.NowMicroseconds(), 0u) << "the inactive loop slept between looks at its queue";

    SetGameActive(1);
    ASSERT_TRUE(qbtest::WaitUntil([&] { return g_nFrames.load() >= framesBefore + 3; }));
    plat::SetClock(nullptr);
    thread.Exit();
    EXPECT_EQ(PostedCloses(), 0);
    EXPECT_NE(Log().find("GameLoop WM_QUIT!\n"), std::string::npos);
    EXPECT_EQ(Log().find("left running"), std::string::npos);
}

}  // namespace
