#pragma once
// Window messages between threads: each thread that calls one of these gets its own queues
// (one of posted messages, one of sent messages). A window belongs to the thread that made it.
#include <functional>
#include "platform/os/windows_types.h"

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

DWORD GetCurrentThreadId();                  // our own ids from 1, never reused
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
// and answers any sends still waiting on it with 0. Its windows die with it (no WM_DESTROY).
// It also runs by itself when a thread that used the queues ends. After it, the thread's own
// message calls find no queue (PeekMessageA and WaitMessage FALSE, GetMessageA -1).
void ReleaseThreadQueue();

// An event pump for the calling thread (SDL on the window thread), so that events outside the
// queues are drained inside its message calls and its waits wake on posts and sends.
// - pump(0): handles every event already pending, never blocks. PeekMessageA, GetMessageA and
//   WaitMessage call it first, so messages it posts to its own thread are seen by that call.
// - pump(waitMs), waitMs > 0 (INFINITE: no limit): the same, but when nothing is pending it first
//   waits up to waitMs for an event. The thread's blocking waits call it instead of sleeping on
//   their own condition; an early return is harmless, the wait checks again.
// - wake(): called from any other thread after it posted, sent, answered, resumed or otherwise
//   changed something for this thread. It must leave an event pending (an SDL user event), so
//   that a pump wait that has not begun yet returns at once.
// Both run outside every lock of the queues and may call any message function (nested message
// calls made by the pump do not call it again). Null, null removes the pump.
using EventPump = void (*)(DWORD waitMs);
using EventWake = void (*)();
void SetThreadEventPump(EventPump pump, EventWake wake);

// Cooperative suspension by thread id: a suspended thread stops at its next message call or
// Sleep (and serves no sent message) until its count is back at 0. Both return the previous
// suspend count, (DWORD)-1 for a thread that is unknown or has ended.
DWORD SuspendThreadById(DWORD threadId);
DWORD ResumeThreadById(DWORD threadId);

// The stop point of a suspended thread: returns once the calling thread is not suspended.
// Every message call and Sleep call it.
void StopWhileSuspended();

// The window thread: the process's main thread, the only one that calls SDL video, event and
// joystick functions. Marked once at start-up (a later mark moves it: tests).
void SetWindowThread();
bool IsWindowThread();

// Runs fn on the window thread, served inside its message calls like a sent message, and
// returns once it has run. Runs at once on the window thread itself or when none is marked.
// False when it could not be carried (the window thread is gone or closing).
bool RunOnWindowThread(const std::function<void()>& fn);

}  // namespace plat
