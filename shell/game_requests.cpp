#include "shell/game_requests.h"

#include <atomic>

#include "shell/shared_flags.h"

namespace {

std::atomic<REQUESTOBSERVER> s_Observer{nullptr};

void Send(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (REQUESTOBSERVER observer = s_Observer.load()) observer(msg, wParam, lParam);
    SendMessageA(g_hWnd.load(), msg, wParam, lParam);
}

}  // namespace

void PlaySe(int n) { Send(WM_GAME_PLAYSE, static_cast<WPARAM>(n), 0); }

void PlayDbSe(WORD n)
{
    if (n == 0) return;
    Send(WM_GAME_PLAYSE, static_cast<WPARAM>(n) + 16, 0);
}

void PlayBgm(int screen, int n) { Send(WM_GAME_PLAYBGM, static_cast<WPARAM>(screen), static_cast<LPARAM>(n)); }

void SetRequestObserver(REQUESTOBSERVER observer) { s_Observer.store(observer); }
