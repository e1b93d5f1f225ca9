#include "app/game_loop.h"

#include "platform/os/messages.h"
#include "platform/os/timer.h"
#include "play/game_manager.h"
#include "shell/log.h"
#include "shell/shared_flags.h"

namespace {

bool RunManagerFrame() { return g_GameManager.RunFrame(); }

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
