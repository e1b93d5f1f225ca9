#include "app/game_loop.h"

#include <atomic>

#include "app/harness.h"
#include "platform/os/messages.h"
#include "play/game_manager.h"
#include "play/play_scene.h"
#include "shell/log.h"
#include "shell/shared_flags.h"

namespace {

// Set once the game thread has asked to close again for a close that ended a stage's loop.
std::atomic<bool> s_bCloseAskedAgain{false};

// Once the script has asked to close, the thread only waits for the close sequence's WM_QUIT
// (serving what is sent to it meanwhile), so that a scripted run ends on the same frame and
// traces alike however long the window thread takes.
bool RunManagerFrame()
{
    if (HarnessHoldsFrames()) {
        // A close taken while the stage's modal loop ran ended only that loop; the play frame
        // that would ask again does not run, so the close is asked again here, once.
        const cPlayScene* play = g_lpPlayScene.load();
        if (play && play->m_nQuitRequest.load() && !s_bCloseAskedAgain.exchange(true))
            PostMessageA(g_hWnd.load(), WM_CLOSE, 0, 0);
        WaitMessage();
        return true;
    }
    return g_GameManager.RunFrame();
}

// The thread running a game loop, 0 when none: SetGameActive wakes it.
std::atomic<DWORD> s_dwLoopThread{0};

}  // namespace

unsigned RunGameLoop(bool (*runFrame)())
{
    s_dwLoopThread.store(GetCurrentThreadId());
    s_bCloseAskedAgain.store(false);
    for (;;) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                EcLogF("GameLoop WM_QUIT!");
                s_dwLoopThread.store(0);
                return 1;
            }
            continue;
        }
        if (!g_bActive.load()) {
            // Asleep until a message comes: an inactive game costs nothing. A post made since
            // the look above still wakes this wait.
            WaitMessage();
            continue;
        }
        if (!runFrame()) break;
    }
    s_dwLoopThread.store(0);
    PostMessageA(g_hWnd.load(), WM_CLOSE, 0, 0);
    return 1;
}

void SetGameActive(int active)
{
    g_bActive.store(active);
    const DWORD loop = s_dwLoopThread.load();
    if (active && loop != 0) PostThreadMessageA(loop, WM_NULL, 0, 0);
}

unsigned GameLoop(void*) { return RunGameLoop(RunManagerFrame); }
