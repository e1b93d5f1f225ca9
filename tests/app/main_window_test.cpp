#include "app/main_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/window_requests.h"
#include "platform/keyboard.h"
#include "platform/message_box.h"
#include "platform/timer.h"
#include "play/play_scene.h"
#include "shell/globals.h"
#include "shell/log.h"
#include "shell/shared_flags.h"
#include "shell/thread.h"
#include "sound/direct_sound.h"
#include "tests/support/temp_folder.h"

namespace {

// The test's thread is the window thread and owns the main window; a second thread plays the
// game thread that sends requests.
class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Folder.ChangeInto();
        ASSERT_TRUE(OpenReportFile("Report_Game.txt"));
        plat::SetBoxesShownBySdl(false);
        plat::SetWindowThread();
        m_hWnd = plat::CreateWindowHandle(WndProc);
        ASSERT_NE(m_hWnd, nullptr);
        g_hWnd.store(m_hWnd);
        g_RequestSeams = DefaultRequestSeams();
        g_bClosing.store(0);
        g_bFileChosen.store(0);
        g_bRequestDone.store(0);
        g_bNameDialogDone.store(0);
        s_dwServedOn = 0;
    }
    void TearDown() override
    {
        g_RequestSeams = DefaultRequestSeams();
        g_bClosing.store(0);
        g_hWnd.store(nullptr);
        g_SoundTable.clear();
    }

    // Sends from another thread and serves messages here until the send has returned; the
    // messages posted meanwhile are collected, not dispatched.
    std::vector<UINT> SendFromGameThread(UINT msg, WPARAM wParam, LPARAM lParam)
    {
        std::atomic<bool> returned{false};
        std::thread game([&] {
            SendMessageA(m_hWnd, msg, wParam, lParam);
            returned.store(true);
        });
        std::vector<UINT> posted;
        for (int i = 0; i < 5000 && !returned.load(); ++i) {
            MSG m;
            while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) posted.push_back(m.message);
            Sleep(1);
        }
        game.join();
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) posted.push_back(m.message);
        return posted;
    }
    std::vector<UINT> PostedNow()
    {
        std::vector<UINT> posted;
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) posted.push_back(m.message);
        return posted;
    }
    std::string Report() const { return m_Folder.ReadFile("Report_Game.txt"); }

    static DWORD s_dwServedOn;
    qbtest::cTempFolder m_Folder;
    HWND m_hWnd = nullptr;
};
DWORD MainWindow::s_dwServedOn = 0;

int CountOf(const std::vector<UINT>& messages, UINT msg)
{
    int n = 0;
    for (UINT m : messages) n += m == msg;
    return n;
}

TEST_F(MainWindow, PlainMessagesOfTheTable)
{
    struct Case { UINT msg; WPARAM wParam; int closes; } cases[] = {
        {WM_ACTIVATEAPP, 1, 0}, {WM_ACTIVATEAPP, 0, 0}, {WM_KEYDOWN, VK_ESCAPE, 1}, {WM_KEYDOWN, VK_RETURN, 0},
        {WM_KEYDOWN, 'A', 0},   {WM_COMMAND, 0, 0},     {WM_MOUSEMOVE, 0, 0},       {WM_LBUTTONDOWN, 0, 0},
        {WM_RBUTTONDOWN, 0, 0}, {WM_QUERYNEWPALETTE, 0, 0},
    };
    for (const auto& c : cases) {
        g_bActive.store(5);
        EXPECT_EQ(SendMessageA(m_hWnd, c.msg, c.wParam, 0), 0) << GetMessageName(c.msg);
        EXPECT_EQ(g_bActive.load(), c.msg == WM_ACTIVATEAPP ? static_cast<int>(c.wParam) : 5) << GetMessageName(c.msg);
        EXPECT_EQ(CountOf(PostedNow(), WM_CLOSE), c.closes) << GetMessageName(c.msg) << " " << c.wParam;
    }
    SendMessageA(m_hWnd, WM_CREATE, 0, 0);
    EXPECT_EQ(g_MainWindow.m_bCreated, 1);
}

TEST_F(MainWindow, MessagesBetweenTheRequestsGoToTheDefaultHandler)
{
    for (UINT msg : {WM_USER + 7u, WM_USER + 50u, WM_USER + 99u})
        EXPECT_EQ(SendMessageA(m_hWnd, msg, 0, 0), DefWindowProcA(m_hWnd, msg, 0, 0)) << msg;
}

TEST_F(MainWindow, FileRequestsAreServedOnTheWindowThreadWhileTheSenderWaits)
{
    // Dialog result, load result -> chosen flag, close requests.
    struct Case { bool chosen; int loads; int chosenFlag; int closes; } cases[] = {
        {false, 1, 0, 0},   // cancelled
        {true, 1, 1, 0},    // chosen and loaded
        {true, 0, 0, 1},    // chosen, load failed: closes, and no file counts as chosen
    };
    for (UINT request : {WM_GAME_OPENSTAGE, WM_GAME_OPENREPLAY}) {
        for (const auto& c : cases) {
            static bool s_bChosen;
            static int s_nLoads;
            s_bChosen = c.chosen;
            s_nLoads = c.loads;
            g_RequestSeams.openFileDialog = [](HWND, char* path, const char*, const char*, const char*, const char*) {
                s_dwServedOn = GetCurrentThreadId();
                std::strcpy(path, "data\\stg4\\a.stg4_001");
                return s_bChosen;
            };
            g_RequestSeams.startFreePlay = [](const char*, int) { return s_nLoads; };
            g_RequestSeams.loadReplay = [](const char*) { return s_nLoads; };
            g_bRequestDone.store(0);
            g_bFileChosen.store(7);
            const std::vector<UINT> posted = SendFromGameThread(request, 0, 0);
            EXPECT_EQ(s_dwServedOn, GetCurrentThreadId());
            EXPECT_EQ(g_bRequestDone.load(), 1);
            EXPECT_EQ(g_bFileChosen.load(), c.chosenFlag) << request << " chosen " << c.chosen;
            EXPECT_EQ(CountOf(posted, WM_CLOSE), c.closes) << request << " chosen " << c.chosen;
        }
    }
}

TEST_F(MainWindow, WhileClosingDialogRequestsAreRefusedAsDone)
{
    static int s_nDialogs;
    s_nDialogs = 0;
    g_RequestSeams.openFileDialog = [](HWND, char*, const char*, const char*, const char*, const char*) {
        ++s_nDialogs;
        return true;
    };
    g_RequestSeams.nameDialog = [] { ++s_nDialogs; };
    g_RequestSeams.replaySaveDialog = [](char*, const char*) {
        ++s_nDialogs;
        return true;
    };
    g_bClosing.store(1);
    for (UINT request : {WM_GAME_OPENSTAGE, WM_GAME_OPENREPLAY, WM_GAME_SAVEREPLAY}) {
        g_bRequestDone.store(0);
        g_bFileChosen.store(1);
        SendFromGameThread(request, 0, 0);
        EXPECT_EQ(g_bRequestDone.load(), 1) << request;
        EXPECT_EQ(g_bFileChosen.load(), 0) << request;
    }
    g_bNameDialogDone.store(0);
    SendFromGameThread(WM_GAME_NAMEDIALOG, 0, 0);
    EXPECT_EQ(g_bNameDialogDone.load(), 1);
    EXPECT_EQ(s_nDialogs, 0);
}

TEST_F(MainWindow, TheNameDialogRunsAndSetsItsDoneFlag)
{
    static std::string s_strOrder;
    s_strOrder.clear();
    g_RequestSeams.setDialogMode = [](int on) { s_strOrder += on ? "on " : "off "; };
    g_RequestSeams.nameDialog = [] { s_strOrder += "dialog "; };
    SendFromGameThread(WM_GAME_NAMEDIALOG, 0, 0);
    EXPECT_EQ(s_strOrder, "on dialog off ");
    EXPECT_EQ(g_bNameDialogDone.load(), 1);
}

TEST_F(MainWindow, ASavedReplayThatCannotBeWrittenClosesTheProgram)
{
    static int s_nWhich;
    s_nWhich = -1;
    g_RequestSeams.replaySaveDialog = [](char* path, const char*) {
        std::strcpy(path, "user_data\\rpl4\\r.rpl4_001");
        return true;
    };
    g_RequestSeams.saveReplay = [](const char*, int previous) {
        s_nWhich = previous;
        return 0;
    };
    const std::vector<UINT> posted = SendFromGameThread(WM_GAME_SAVEREPLAY, 5, 0);
    EXPECT_EQ(s_nWhich, 1);
    EXPECT_EQ(CountOf(posted, WM_CLOSE), 1);
    EXPECT_EQ(g_bFileChosen.load(), 1);
    EXPECT_EQ(g_bRequestDone.load(), 1);
}

TEST_F(MainWindow, ASoundIndexOutOfRangeReportsAndClosesOnce)
{
    g_SoundTable.resize(3);
    struct Case { WPARAM index; const char* report; } cases[] = {
        {5, "err V[5] ( 3 , 284 )"},
        {3, "err V[3] ( 3 , 284 )"},
        {static_cast<WPARAM>(-1), "err V[-1] ( 3 , 284 )"},
    };
    for (const auto& c : cases) {
        const std::vector<UINT> posted = SendFromGameThread(WM_GAME_PLAYSE, c.index, 0);
        EXPECT_EQ(CountOf(posted, WM_CLOSE), 1) << c.report;
        EXPECT_NE(Report().find(std::string(c.report) + "\n"), std::string::npos) << c.report;
    }
    const std::vector<UINT> posted = SendFromGameThread(WM_GAME_PLAYSE, 2, 0);
    EXPECT_EQ(CountOf(posted, WM_CLOSE), 0);
    EXPECT_EQ(Report().find("err V[2]"), std::string::npos);

    // An empty table has no sound 0 to play instead: still one report and one close.
    g_SoundTable.clear();
    const std::vector<UINT> empty = SendFromGameThread(WM_GAME_PLAYSE, 0, 0);
    EXPECT_EQ(CountOf(empty, WM_CLOSE), 1);
    const std::string report = Report();
    const std::size_t first = report.find("err V[0] ( 0 , 284 )");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(report.find("err V[", first + 1), std::string::npos);
}

TEST_F(MainWindow, DatabaseSoundsFollowTheSeventeenBuiltInOnes)
{
    // A table of the 17 built-in sounds only: database sound 1 is entry 17, just past it.
    g_SoundTable.resize(17);
    PlayDbSe(0);
    EXPECT_EQ(Report().find("err V["), std::string::npos);
    EXPECT_EQ(CountOf(PostedNow(), WM_CLOSE), 0);
    PlayDbSe(1);
    EXPECT_NE(Report().find("err V[17] ( 17 , 284 )\n"), std::string::npos);
    EXPECT_EQ(CountOf(PostedNow(), WM_CLOSE), 1);
    PlaySe(16);
    EXPECT_EQ(Report().find("err V[16]"), std::string::npos);
}

TEST_F(MainWindow, BgmRequestsAboveTheStageScreenDoNothing)
{
    static int s_nLookups;
    s_nLookups = 0;
    g_RequestSeams.bgmFileName = [](int) -> const char* {
        ++s_nLookups;
        return "bgm\\a.ogg";
    };
    g_RequestSeams.setStageBgm = [](int) { ++s_nLookups; };
    SendFromGameThread(WM_GAME_PLAYBGM, 5, 3);
    SendFromGameThread(WM_GAME_PLAYBGM, 77, 3);
    EXPECT_EQ(s_nLookups, 0);
    // The stage screen stores its number and looks up its file, also for number 0.
    SendFromGameThread(WM_GAME_PLAYBGM, 4, 0);
    EXPECT_EQ(s_nLookups, 2);
}

// A modal loop standing in for thPause: runs until WM_QUIT.
std::atomic<bool> g_bPauseSawQuit{false};
unsigned PauseBody(void*)
{
    for (;;) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message == WM_QUIT) {
            g_bPauseSawQuit.store(true);
            return 0;
        }
        Sleep(1);
    }
}

TEST_F(MainWindow, CloseWhileTheStagesModalLoopRunsEndsOnlyThatLoop)
{
    SetEcLogFile(1, "EC_Game.txt");
    cPlayScene scene;
    g_lpPlayScene = &scene;
    ASSERT_TRUE(thPause.Start(PauseBody, nullptr));
    ASSERT_TRUE(thPause.PostStartUntilReceived(false));

    SendMessageA(m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(scene.m_nQuitRequest.load(), 1);
    EXPECT_TRUE(IsWindow(m_hWnd));
    EXPECT_EQ(g_bClosing.load(), 0);
    thPause.WaitEnd();
    EXPECT_TRUE(g_bPauseSawQuit.load());

    const std::string log = m_Folder.ReadFile("EC_Game.txt");
    EXPECT_EQ(log, "WM_CLOSE thPause.m_hThread\n");
    SetEcLogFile(0, "EC_Game.txt");
    g_lpPlayScene = nullptr;
}

}  // namespace
