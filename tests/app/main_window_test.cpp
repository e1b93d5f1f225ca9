#include "app/main_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/win_main.h"
#include "app/window_requests.h"
#include "data/save_data.h"
#include "data/system_data.h"
#include "graphics/device.h"
#include "platform/input/keyboard.h"
#include "platform/os/message_box.h"
#include "platform/os/timer.h"
#include "platform/ui/window.h"
#include "play/play_scene.h"
#include "shell/log.h"
#include "shell/shared_flags.h"
#include "shell/system_ini.h"
#include "shell/thread.h"
#include "sound/direct_sound.h"
#include "tests/app/main_window_maker.h"
#include "tests/support/byte_builder.h"
#include "tests/support/restore.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait.h"

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
        plat::SetCarriedBoxesRefused(false);
        plat::SetBoxPresenter(nullptr);
        g_hWnd.store(nullptr);
        g_bActive.store(0);
        g_SoundTable.clear();
        SetEcLogFile(0, "EC_Game.txt");
        // A close sequence leaves its WM_QUIT here; the next test must not see it.
        PostedNow();
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
        qbtest::WaitUntil([&] { return returned.load(); }, [&] {
            MSG m;
            while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) posted.push_back(m.message);
            Sleep(1);
        });
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
    // Request, chosen file, dialog result, load result -> chosen flag, close requests, dialogs
    // shown (a dialog shown again is cancelled).
    constexpr const char* kStage = "data\\stg4\\a.stg4_001";
    constexpr const char* kReplay = "data\\stg4\\a.rpl4_692";
    struct Case { UINT request; const char* path; bool chosen; int loads; int chosenFlag; int closes; int dialogs; } cases[] = {
        {WM_GAME_OPENSTAGE, kStage, false, 1, 0, 0, 1},   // cancelled
        {WM_GAME_OPENSTAGE, kStage, true, 1, 1, 0, 1},    // chosen and loaded
        {WM_GAME_OPENSTAGE, kStage, true, 0, 0, 1, 1},    // chosen, load failed: closes, and no file counts as chosen
        {WM_GAME_OPENSTAGE, kReplay, true, 1, 1, 0, 1},
        // A replay chosen for free play that cannot be loaded has shown its box: back to the dialog.
        {WM_GAME_OPENSTAGE, kReplay, true, 0, 0, 0, 2},
        {WM_GAME_OPENREPLAY, kReplay, false, 1, 0, 0, 1},
        {WM_GAME_OPENREPLAY, kReplay, true, 1, 1, 0, 1},
        // A replay that cannot be loaded has shown its box; the title's menu stays.
        {WM_GAME_OPENREPLAY, kReplay, true, 0, 0, 0, 1},
    };
    for (const auto& c : cases) {
        const UINT request = c.request;
        static const char* s_pPath;
        static bool s_bChosen;
        static int s_nLoads;
        static int s_nDialogs;
        s_pPath = c.path;
        s_bChosen = c.chosen;
        s_nLoads = c.loads;
        s_nDialogs = 0;
        g_RequestSeams.openFileDialog = [](HWND, char* path, const char*, const char*, const char*, const char*) {
            s_dwServedOn = GetCurrentThreadId();
            std::strcpy(path, s_pPath);
            return ++s_nDialogs == 1 && s_bChosen;
        };
        g_RequestSeams.startFreePlay = [](const char*, int) { return s_nLoads; };
        g_RequestSeams.loadReplay = [](const char*) { return s_nLoads; };
        g_bRequestDone.store(0);
        g_bFileChosen.store(7);
        const std::vector<UINT> posted = SendFromGameThread(request, 0, 0);
        const std::string what = GetMessageName(request) + std::string(" ") + c.path + " chosen " + (c.chosen ? "1" : "0");
        EXPECT_EQ(s_dwServedOn, GetCurrentThreadId());
        EXPECT_EQ(g_bRequestDone.load(), 1);
        EXPECT_EQ(g_bFileChosen.load(), c.chosenFlag) << what;
        EXPECT_EQ(CountOf(posted, WM_CLOSE), c.closes) << what;
        EXPECT_EQ(s_nDialogs, c.dialogs) << what;
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

TEST_F(MainWindow, ASavedReplayThatCannotBeWrittenLetsPlayGoOn)
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
    EXPECT_EQ(CountOf(posted, WM_CLOSE), 0);
    EXPECT_EQ(g_bFileChosen.load(), 1);
    EXPECT_EQ(g_bRequestDone.load(), 1);
}

TEST_F(MainWindow, TheReplaySaveDialogOffersTheProgressRecordsStageKey)
{
    static std::vector<std::string> s_Offered;
    s_Offered.clear();
    g_RequestSeams.replaySaveDialog = [](char*, const char* defaultName) {
        s_Offered.emplace_back(defaultName ? defaultName : "(null)");
        return false;
    };
    const qbtest::cRestore<std::string> restoreKey(g_SaveData.m_strStageKey);
    for (const char* key : {"abc.", ""}) {
        g_SaveData.m_strStageKey = key;
        SendFromGameThread(WM_GAME_SAVEREPLAY, 0, 0);
        EXPECT_EQ(g_bFileChosen.load(), 0);
        EXPECT_EQ(g_bRequestDone.load(), 1);
    }
    EXPECT_EQ(s_Offered, (std::vector<std::string>{"abc.", ""}));
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

TEST_F(MainWindow, ScreenBgmRequestsTakeTheScreensNumberThroughTheCheckedList)
{
    static std::vector<int> s_Lookups;
    s_Lookups.clear();
    g_RequestSeams.bgmFileName = [](int entry) -> const char* {
        s_Lookups.push_back(entry);
        return "bgm\\a.ogg";
    };
    const qbtest::cRestore keepBgm(g_SystemData.m_ScreenBgm);
    const qbtest::cRestore keepLoop(g_SystemData.m_ScreenBgmLoop);
    // Screen number 0 stops the BGM without looking an entry up; a list too short for the
    // screen is reported and its entry 0 taken.
    struct Case { std::vector<int> numbers; WPARAM screen; std::vector<int> lookups; const char* report; } cases[] = {
        {{0, 5, 0, 7}, 0, {}, nullptr},
        {{0, 5, 0, 7}, 1, {5}, nullptr},
        {{0, 5, 0, 7}, 2, {}, nullptr},
        {{0, 5, 0, 7}, 3, {7}, nullptr},
        {{9, 5}, 3, {9}, "err V[3] ( 2 , 4 )"},
        {{0, 5}, 2, {}, "err V[2] ( 2 , 4 )"},
    };
    for (const auto& c : cases) {
        g_SystemData.m_ScreenBgm.assign(c.numbers.begin(), c.numbers.end());
        g_SystemData.m_ScreenBgmLoop.assign(4, 1);
        s_Lookups.clear();
        const std::vector<UINT> posted = SendFromGameThread(WM_GAME_PLAYBGM, c.screen, 0);
        EXPECT_EQ(s_Lookups, c.lookups) << "screen " << c.screen;
        EXPECT_EQ(CountOf(posted, WM_CLOSE), c.report ? 1 : 0) << "screen " << c.screen;
        if (c.report) {
            EXPECT_NE(Report().find(std::string(c.report) + "\n"), std::string::npos) << c.report;
        }
    }
}

TEST_F(MainWindow, TheDeviceResetRunsOnTheWindowThreadWhileTheSenderWaits)
{
    static std::atomic<int> s_nResets;
    s_nResets = 0;
    g_RequestSeams.restoreDevice = [] {
        s_dwServedOn = GetCurrentThreadId();
        ++s_nResets;
    };
    SendFromGameThread(WM_GAME_RESTOREDEVICE, 0, 0);
    EXPECT_EQ(s_nResets.load(), 1);
    EXPECT_EQ(s_dwServedOn, GetCurrentThreadId());
}

// The main window as WinMain makes it, resized to a client area of 320 x 240 and moved to
// (30, 40).
HWND MakeDesktopMainWindow()
{
    HWND hWnd = qbtest::MakeMainWindowAsWinMainDoes("QuillbramwoodPlacementTest");
    if (!hWnd) return nullptr;
    g_MainWindow.SetClientSize(320, 240);
    g_MainWindow.SetPosition(30, 40);
    return hWnd;
}

TEST_F(MainWindow, ClosingSavesThePlacementOfAShownWindowOfARunningGameOnly)
{
    // WindowMode, game ready, show command before the close -> Window.dat {x, y, w, h, zoomed}.
    struct Case { int windowMode; BYTE ready; int show; bool saved; int zoomed; } cases[] = {
        {1, 1, SW_SHOWNORMAL, true, 0},
        {2, 1, SW_SHOWMAXIMIZED, true, 1},
        {0, 1, SW_SHOWNORMAL, false, 0},    // full screen
        {1, 0, SW_SHOWNORMAL, false, 0},    // before start-up finished
        {1, 1, SW_MINIMIZE, false, 0},      // minimised
    };
    const qbtest::cRestore keepMode(g_SystemIni.WindowMode);
    const qbtest::cRestore keepReady(g_bGameReady);
    for (const auto& c : cases) {
        std::filesystem::remove_all(m_Folder.Path() / "user_data");
        std::filesystem::create_directories(m_Folder.Path() / "user_data");
        HWND hWnd = MakeDesktopMainWindow();
        ASSERT_NE(hWnd, nullptr);
        g_hWnd.store(hWnd);
        // WM_MOVE put the client area on the screen: inside the dialog frame (3) and caption (19).
        const RECT client = g_rcClient.Load();
        EXPECT_EQ(client.left, 33);
        EXPECT_EQ(client.top, 62);
        EXPECT_EQ(client.right, 353);
        EXPECT_EQ(client.bottom, 302);
        ShowWindow(hWnd, c.show);
        g_SystemIni.WindowMode = c.windowMode;
        g_bGameReady.store(c.ready);

        SendMessageA(hWnd, WM_CLOSE, 0, 0);
        EXPECT_FALSE(IsWindow(hWnd)) << "the close sequence ends by destroying the window";
        EXPECT_EQ(g_hWnd.load(), nullptr);
        const std::vector<UINT> posted = PostedNow();
        EXPECT_EQ(CountOf(posted, WM_QUIT), 1);
        const std::string where = "mode " + std::to_string(c.windowMode) + " ready " + std::to_string(c.ready) +
                                  " show " + std::to_string(c.show);
        ASSERT_EQ(m_Folder.Exists("user_data/Window.dat"), c.saved) << where;
        if (c.saved) {
            const std::string expected =
                qbtest::cByteBuilder().U32(692).U32(5).I32(30).I32(40).I32(320).I32(240).I32(c.zoomed).U32(0).Str();
            EXPECT_EQ(m_Folder.ReadFile("user_data/Window.dat"), expected) << where;
        }
        g_bClosing.store(0);
        plat::SetCarriedBoxesRefused(false);
    }
}

TEST_F(MainWindow, APlacementThatCannotBeSavedLeavesAReportLineAndTheCloseGoesOn)
{
    const qbtest::cRestore keepMode(g_SystemIni.WindowMode);
    const qbtest::cRestore keepReady(g_bGameReady);
    // A folder stands where Window.dat would be written.
    std::filesystem::create_directories(m_Folder.Path() / "user_data" / "Window.dat");
    HWND hWnd = MakeDesktopMainWindow();
    ASSERT_NE(hWnd, nullptr);
    g_hWnd.store(hWnd);
    ShowWindow(hWnd, SW_SHOWNORMAL);
    g_SystemIni.WindowMode = 1;
    g_bGameReady.store(1);

    SendMessageA(hWnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(CountOf(PostedNow(), WM_QUIT), 1);
    const std::string report = m_Folder.ReadFile("Report_Game.txt");
    EXPECT_NE(report.find("user_data\\Window.dat の保存に失敗しました\n"), std::string::npos) << report;
    EXPECT_TRUE(std::filesystem::is_directory(m_Folder.Path() / "user_data" / "Window.dat"));
}

// The game thread in the middle of its work: it asks for the name dialog, a sound and a box
// again and again, as a stage clear would, and ends on WM_QUIT.
std::atomic<int> g_nBusyRounds{0};
std::atomic<int> g_nAskedWhileClosing{0};
unsigned BusyGameBody(void*)
{
    for (;;) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return 1;
            continue;
        }
        g_bNameDialogDone.store(0);
        SendMessageA(g_hWnd.load(), WM_GAME_NAMEDIALOG, 0, 0);
        qbtest::WaitUntil([] { return g_bNameDialogDone.load() != 0; });
        PlaySe(0);
        MessageBoxA(nullptr, "q", "c", MB_YESNO);
        ++g_nBusyRounds;
    }
}

TEST_F(MainWindow, TheCloseSequenceEndsAGameThreadThatIsBusyWithRequests)
{
    SetEcLogFile(1, "EC_Game.txt");
    g_SoundTable.resize(1);
    g_bActive.store(1);
    const qbtest::cRestore keepReady(g_bGameReady);
    g_bGameReady.store(0);
    g_nBusyRounds = 0;
    g_nAskedWhileClosing = 0;
    // The name dialog and boxes are shown on this thread; neither may be shown once closing.
    g_RequestSeams.nameDialog = [] { g_nAskedWhileClosing += g_bClosing.load(); };
    plat::SetBoxPresenter([](HWND, const char*, const char*, UINT) {
        g_nAskedWhileClosing += g_bClosing.load();
        return IDYES;
    });

    ASSERT_TRUE(thGame.Start(BusyGameBody, nullptr));
    ASSERT_TRUE(thGame.PostStartUntilReceived(false));
    MSG m;
    qbtest::WaitUntil([] { return g_nBusyRounds.load() >= 3; }, [&] {
        PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);
        Sleep(0);
    });
    ASSERT_GE(g_nBusyRounds.load(), 3);

    PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(RunMessageLoop(), 0);
    EXPECT_EQ(thGame.m_hThread.load(), nullptr);
    EXPECT_EQ(g_hWnd.load(), nullptr);
    EXPECT_EQ(g_nAskedWhileClosing.load(), 0);
    const std::string log = m_Folder.ReadFile("EC_Game.txt");
    const std::size_t exited = log.find("thGame.Exit()\n");
    EXPECT_NE(exited, std::string::npos) << log;
    EXPECT_NE(log.find("WM_DESTROY\n", exited), std::string::npos) << log;
    EXPECT_EQ(log.find("left running"), std::string::npos) << "ended by its WM_QUIT\n" << log;
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
    g_lpPlayScene.store(&scene);
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
    g_lpPlayScene.store(nullptr);
}

}  // namespace
