#include "app/game_loop.h"

#include "app/harness.h"
#include "platform/os/messages.h"
#include "platform/os/timer.h"
#include "play/game_manager.h"
#include "shell/log.h"
#include "shell/shared_flags.h"

namespace {

// Once the script has asked to close, the thread only waits for the close sequence's WM_QUIT
// (serving what is sent to it meanwhile), so that a scripted run ends on the same frame and
// traces alike however long the window thread takes.
bool RunManagerFrame()
{
    if (HarnessHoldsFrames()) {
        WaitMessage();
        return true;
    }
    return g_GameManager.RunFrame();
}

}  // namespace

unsigned RunGameLoop(bool (*runFrame)())
{
    for (;;) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                EcLogF("GameLoop WM_QUIT!");
                return 1;
            }
            continue;
        }
        if (!g_bActive.load()) {
            Sleep(1);
            continue;
        }
        if (!runFrame()) break;
    }
    PostMessageA(g_hWnd.load(), WM_CLOSE, 0, 0);
    return 1;
}

unsigned GameLoop(void*) { return RunGameLoop(RunManagerFrame); }
