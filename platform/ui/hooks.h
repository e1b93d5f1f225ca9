#pragma once
// Thread keyboard hooks: the dialog loop runs them with every key press and release of the
// window thread before the focused control sees the key.
#include "platform/os/windows_types.h"

using HHOOK = void*;
using HOOKPROC = LRESULT (*)(int code, WPARAM wParam, LPARAM lParam);

constexpr int WH_KEYBOARD = 2;
constexpr int HC_ACTION = 0;
constexpr int HC_NOREMOVE = 3;

// Only WH_KEYBOARD hooks of the calling thread; null for anything else.
HHOOK SetWindowsHookExA(int idHook, HOOKPROC proc, HINSTANCE module, DWORD threadId);
BOOL UnhookWindowsHookEx(HHOOK hook);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);

namespace plat {

// Runs the calling thread's keyboard hooks, newest first, for one key event.
void RunKeyboardHooks(WPARAM virtualKey, LPARAM keyFlags);
// Tests: the next installation fails.
void FailNextHookInstall();

}  // namespace plat
