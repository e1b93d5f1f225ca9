#include "shell/game_requests.h"

#include "shell/shared_flags.h"

void PlaySe(int n) { SendMessageA(g_hWnd.load(), WM_GAME_PLAYSE, static_cast<WPARAM>(n), 0); }

void PlayDbSe(WORD n)
{
    if (n == 0) return;
    SendMessageA(g_hWnd.load(), WM_GAME_PLAYSE, static_cast<WPARAM>(n) + 16, 0);
}
