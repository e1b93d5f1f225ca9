#pragma once
// Window messages between threads: each thread that calls one of these gets its own queues
// (one of posted messages, one of sent messages). A window belongs to the thread that made it.
#include <functional>
#include "platform/windows_types.h"

struct MSG { HWND hwnd; UINT message; WPARAM wParam; LPARAM lParam; DWORD time; POINT pt; };

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ACTIVATEAPP = 0x001C;
constexpr UINT WM_GETMINMAXINFO = 0x0024;
constexpr UINT WM_COPYDATA = 0x004A;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_QUERYNEWPALETTE = 0x030F;
constexpr UINT WM_PALETTECHANGED = 0x0311;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;

BOOL PostMessageA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);          // null window: the caller's thread queue
BOOL PostThreadMessageA(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam); // fails until the thread has a queue
LRESULT SendMessageA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);        // blocks until handled; 0 for no window
BOOL PeekMessageA(MSG* msg, HWND hWnd, UINT filterMin, UINT filterMax, UINT removeMsg);
BOOL GetMessageA(MSG* msg, HWND hWnd, UINT filterMin, UINT filterMax);           // 0 on WM_QUIT, -1 on error
BOOL WaitMessage();
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
void PostQuitMessage(int exitCode);
LRESULT DefWindowProcA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

DWORD GetCurrentThreadId();                  // our own ids, never reused
DWORD GetWindowThreadProcessId(HWND hWnd, DWORD* processId);
BOOL IsWindow(HWND hWnd);
BOOL DestroyWindow(HWND hWnd);               // sends WM_DESTROY, then the handle is dead

namespace plat {

// Makes a window handle owned by the calling thread whose messages go to proc.
// (The window thread's SDL window is attached to it by the window layer.)
HWND CreateWindowHandle(WNDPROC proc);

// Makes sure the calling thread has its queues (every message call does this too).
void EnsureThreadQueue();

// Called on a thread when it ends: drops its queues so later posts to it fail,
// and answers any sends still waiting on it with 0.
void ReleaseThreadQueue();

// A function the owner thread's waits call so that non-queue events (SDL on the window
// thread) are pumped while it waits; the waker is called by posts and sends to that thread.
void SetThreadEventPump(void (*pump)(), void (*wake)());

// The window thread: the process's main thread, the only one that calls SDL video, event and
// joystick functions. Marked once at start-up.
void SetWindowThread();
bool IsWindowThread();

// Runs fn on the window thread, served inside its message calls like a sent message, and
// returns once it has run. Runs at once on the window thread itself or when none is marked.
// False when it could not be carried (the window thread is gone or closing).
bool RunOnWindowThread(const std::function<void()>& fn);

}  // namespace plat
