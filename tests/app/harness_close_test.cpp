// The script's close request in the game thread's loop: the frame it is asked after is the last
// one, however long the window thread takes to close.
#include "app/harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string>

#include "app/game_loop.h"
#include "app/scene_factory.h"
#include "platform/os/messages.h"
#include "play/game_manager.h"
#include "shell/shared_flags.h"
#include "shell/thread.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait.h"

namespace {

class cEmptyHarnessScene : public cScene {
public:
    void Run() override {}
};

cScene* EmptyHarnessScene(int) { return new cEmptyHarnessScene; }

LRESULT HarnessQuietProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

// The game thread's body with a window of its own, so that the test can send it messages: a
// send returns once the thread has been inside a message call.
std::atomic<HWND> g_hHarnessGameWindow{nullptr};
unsigned HarnessGameThread(void* arg)
{
    g_hHarnessGameWindow.store(plat::CreateWindowHandle(HarnessQuietProc));
    return GameLoop(arg);
}

class HarnessClose : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Folder.ChangeInto();
        plat::SetWindowThread();
        m_hWnd = plat::CreateWindowHandle(HarnessQuietProc);
        g_hWnd.store(m_hWnd);
        SetSceneFactory(EmptyHarnessScene);
        g_hHarnessGameWindow.store(nullptr);
    }
    void TearDown() override
    {
        StopHarness();
        unsetenv("QUILLBRAMWOOD_SCRIPT");
        g_GameManager.DeleteScenes();
        SetSceneFactory(MakeScene);
        g_bActive.store(0);
        g_hWnd.store(nullptr);
    }
    bool CloseIsQueued()
    {
        MSG msg;
        return PeekMessageA(&msg, m_hWnd, WM_CLOSE, WM_CLOSE, PM_NOREMOVE) != 0;
    }
    qbtest::cTempFolder m_Folder;
    HWND m_hWnd = nullptr;
};

TEST_F(HarnessClose, NoFrameRunsAndNoTraceLineIsWrittenAfterTheCloseFrameWhileTheWindowThreadTakesItsTime)
{
    m_Folder.WriteFile("script.txt", "clock virtual\nclose 3\ntrace trace.txt\n");
    setenv("QUILLBRAMWOOD_SCRIPT", (m_Folder.Path() / "script.txt").c_str(), 1);
    std::string error;
    ASSERT_TRUE(StartHarness(error)) << error;
    g_bActive.store(1);
    cThread game;
    ASSERT_TRUE(game.Start(HarnessGameThread, nullptr));
    ASSERT_TRUE(qbtest::WaitUntil([&] { return CloseIsQueued(); }));
    // This thread stands for a window thread slow to take the close: before it does, the game
    // thread goes round its loop twice (each send is answered inside one of its message calls).
    ASSERT_TRUE(qbtest::WaitUntil([] { return g_hHarnessGameWindow.load() != nullptr; }));
    SendMessageA(g_hHarnessGameWindow.load(), WM_USER, 0, 0);
    SendMessageA(g_hHarnessGameWindow.load(), WM_USER, 0, 0);
    EXPECT_EQ(HarnessFrame(), 3);
    game.Exit();  // the close sequence's end of the game thread
    StopHarness();
    const std::string trace = m_Folder.ReadFile("trace.txt");
    EXPECT_EQ(std::count(trace.begin(), trace.end(), '\n'), 3) << trace;
}

}  // namespace
