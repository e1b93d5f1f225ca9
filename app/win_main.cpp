#include "app/win_main.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/game_loop.h"
#include "app/harness.h"
#include "app/main_window.h"
#include "app/start_up.h"
#include "data/data_version.h"
#include "platform/os/instance_lock.h"
#include "platform/os/message_box.h"
#include "platform/os/system.h"
#include "platform/os/text.h"
#include "platform/os/timer.h"
#include "platform/ui/sdl_window.h"
#include "platform/ui/window.h"
#include "shell/error_box.h"
#include "shell/log.h"
#include "shell/path_utils.h"
#include "shell/shared_flags.h"
#include "shell/system_report.h"
#include "shell/thread.h"

namespace {

constexpr DWORD kMainWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// Exit statuses: scripts and the editor tell a start-up that failed from one that ended as the
// player chose (a normal close, No to a second start, Cancel in the drawing-mode dialog).
constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;

enum class eInstanceClaim { Held, Declined, Failed };

// Asks about a running instance: Held when this start may go on, which it only does holding
// the lock, so that a later start still finds it.
eInstanceClaim ClaimSingleInstance(plat::cInstanceLock& lock)
{
    if (lock.TryAcquire()) return eInstanceClaim::Held;
    if (!lock.Problem().empty()) {
        // Not another instance: the lock file itself cannot be used, and asking whether to end
        // "the running program" would mislead.
        std::string problem;
        if (!plat::Utf8ToCp932(lock.Problem(), problem)) problem = lock.Problem();
        const std::string text = "二重起動を防ぐロックファイルが使えません。\n" + problem +
                                 "\n\nThe single-instance lock cannot be used.";
        MessageBoxA(nullptr, text.c_str(), "二重起動", MB_OK);
        return eInstanceClaim::Failed;
    }
    const int answer = MessageBoxA(nullptr,
                                   "既に起動しています。\n実行中のプログラムを閉じて再起動しますか？\n\nRunning this program now. Restart?",
                                   "二重起動", MB_YESNO);
    if (answer == IDNO) return eInstanceClaim::Declined;
    if (lock.EndOwnerAndTakeOver(500) == plat::cInstanceLock::EndResult::CannotEnd || !lock.Held()) {
        MessageBoxA(nullptr, "プログラムの終了に失敗しました。", "二重起動", MB_OK);
        return eInstanceClaim::Failed;
    }
    return eInstanceClaim::Held;
}

// The report file cannot be made: the game folder is read-only (installed for all users), so
// nothing could be reported, saved or configured. Said on standard error and in a box, since
// no report exists to say it in.
void ReportUnwritableGameFolder(int error)
{
    const std::string folder = GameFolderUtf8();
    std::fprintf(stderr,
                 "quillbramwood: cannot write in the game folder %s (Report_Game.txt: %s). The runtime writes its "
                 "report (Report_Game.txt) and the player's saves and settings (user_data/) there: copy the game "
                 "to a folder you can write to and start it there.\n",
                 folder.c_str(), error != 0 ? std::strerror(error) : "cannot be created");
    std::fflush(stderr);
    const std::string text = "ゲームのフォルダに書き込めません。\n" + GameFolderCp932() +
                             "\n\nレポート（Report_Game.txt）とセーブデータ・設定（user_data）はゲームのフォルダに書き込まれます。\n"
                             "書き込めるフォルダにゲームをコピーしてから起動して下さい。";
    MessageBoxA(nullptr, text.c_str(), "Quillbramwood", MB_OK);
}

// A thread that would not end may still touch anything the program holds: nothing is released
// but the lock, and the process ends at once.
[[noreturn]] void EndWithThreadsLeftRunning(plat::cInstanceLock& lock, int code)
{
    ReportLog("threads left running: ending without releasing");
    lock.Release();
    std::fflush(nullptr);
    plat::EndProcessNow(code);
}

}  // namespace

int RunMessageLoop()
{
    MSG msg{};
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) break;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            // Nothing to do: sleep until an SDL event, a posted message or a sent call (a frame
            // to show) wakes the thread, instead of polling.
            WaitMessage();
        }
    }
    return static_cast<int>(msg.wParam);
}

int WinMain(HINSTANCE hInstance, HINSTANCE, const char* lpCmdLine, int nCmdShow)
{
    plat::SetWindowThread();
    SetEcLogFile(0, "EC_Game.txt");
    ApplyHarnessLogSwitch();

    // Every path inside the program is CP932 and at most 260 bytes: a working folder whose
    // name has no CP932 form, or that leaves no room below that limit, cannot hold a game.
    char reportPath[MAX_PATH] = "Report_Game.txt";
    if (!MakeAbsolutePath(reportPath)) {
        MessageBoxA(nullptr,
                    "ゲームのフォルダ名に使えない文字があるか、フォルダ名が長すぎます。\n\n"
                    "The game folder's path has characters without a CP932 form, or it is too long.",
                    "Quillbramwood", MB_OK);
        return kExitFailed;
    }
    // The report file is emptied only once this start holds the lock: a second start must
    // leave the running game's report as it is.
    plat::cInstanceLock lock("ゲーム");
    switch (ClaimSingleInstance(lock)) {
    case eInstanceClaim::Held: break;
    case eInstanceClaim::Declined: return kExitDone;
    case eInstanceClaim::Failed: return kExitFailed;
    }
    errno = 0;
    if (!OpenReportFile(reportPath)) {
        ReportUnwritableGameFolder(errno);   // the failed open's reason
        return kExitFailed;
    }
    ReportLog("App : ver %u", static_cast<unsigned>(kDataVersion));
    WriteSystemReport();

    g_bEditorLaunch.store(nCmdShow == 5 ? 1 : 0);

    // Without any SDL video the program still runs, headless and without a window to show.
    if (!plat::StartSdlVideo()) ReportLog("SDL video could not be started: running without a window");

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = WndProc;
    windowClass.hInstance = hInstance;
    windowClass.lpszClassName = "Quillbramwood";
    if (!RegisterClassExA(&windowClass)) return kExitFailed;

    g_MainWindow.m_hInstance = hInstance;
    g_MainWindow.InitLayout(640, 480, 100, 100, 640, 480, kMainWindowStyle, 0, 0, 0, 0, 0);
    HWND hWnd = CreateWindowExA(0, "Quillbramwood", "", kMainWindowStyle, 100, 100, g_MainWindow.m_nWindowWidth,
                                g_MainWindow.m_nWindowHeight, nullptr, nullptr, hInstance, nullptr);
    if (!hWnd) {
        ErrorBox("ウインドウが生成出来ません！");
        return kExitFailed;
    }
    g_MainWindow.m_hWnd = hWnd;
    g_MainWindow.CentreOnDesktop();

    // Start-up markers in the error-check log, G to J: the last letter written shows how far a
    // start that went wrong got (window made, editor told, game started, game thread running).
    EcLogF("G");
    if (g_bEditorLaunch) NotifyEditorStart();
    EcLogF("H");

    if (!InitGame(lpCmdLine, nCmdShow)) {
        UnInitGame();
        if (g_bEditorLaunch) NotifyEditorExit(0);
        return StartUpWasCancelled() ? kExitDone : kExitFailed;
    }
    g_bGameReady.store(1);
    EcLogF("I");

    // A game thread that cannot start, or that ends before it has its queue, fails the
    // start-up instead of leaving the window thread posting for ever.
    if (!thGame.Start(GameLoop, nullptr) || !thGame.PostStartUntilReceived(false)) {
        ReportLogBox("The game thread could not be started.");
        thGame.Exit();
        UnInitGame();
        if (g_bEditorLaunch) NotifyEditorExit(0);
        return kExitFailed;
    }
    EcLogF("J");

    const int loopCode = RunMessageLoop();
    // A run that closed because its stage could not start failed, as a failed start-up does.
    const int code = g_bRunFailed.load() ? kExitFailed : loopCode;
    if (LeftThreadsRunning()) EndWithThreadsLeftRunning(lock, code);

    UnInitGame();
    EcLogF("UnInitGame後");
    lock.Release();
    EcLogF("ReleaseMutex後");
    plat::DestroyMainSdlWindow();
    return code;
}
