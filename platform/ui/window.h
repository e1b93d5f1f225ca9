#pragma once
// Top-level windows: classes, creation, style, placement and the cursor. The first top-level
// window is the main window, shown by an SDL window; its rectangles are kept here in screen
// coordinates with frames worked out from the style, as a desktop would draw them.
#include <string>

#include "platform/os/messages.h"

using ATOM = WORD;
using HDC = void*;

struct WNDCLASSEXA {
    UINT cbSize; UINT style; WNDPROC lpfnWndProc; int cbClsExtra; int cbWndExtra;
    HINSTANCE hInstance; HANDLE hIcon; HANDLE hCursor; HANDLE hbrBackground;
    const char* lpszMenuName; const char* lpszClassName; HANDLE hIconSm;
};

struct PAINTSTRUCT { HDC hdc; BOOL fErase; RECT rcPaint; };

struct MINMAXINFO { POINT ptReserved; POINT ptMaxSize; POINT ptMaxPosition; POINT ptMinTrackSize; POINT ptMaxTrackSize; };

// Window messages beyond the common ones of platform/messages.h.
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_SETICON = 0x0080;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;

constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_OWNDC = 0x0020;

constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;

constexpr int GWL_STYLE = -16;

constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_RESTORE = 9;

constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;

constexpr UINT SPI_GETWORKAREA = 0x0030;

// System metrics: the screen size comes from the display; the frame parts are fixed values of
// our own, since an SDL window's decorations belong to the desktop.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CYMENU = 15;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CYFRAME = 33;
int GetSystemMetrics(int index);

// The class of the toolkit's dialog windows: never the main window, even without a parent.
constexpr const char* kDialogClassName = "#32770";

ATOM RegisterClassExA(const WNDCLASSEXA* windowClass);  // 0 when the class name is taken
HWND CreateWindowExA(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                     int width, int height, HWND parent, void* menu, HINSTANCE instance, void* param);
LONG GetWindowLongA(HWND hWnd, int index);
LONG SetWindowLongA(HWND hWnd, int index, LONG value);
BOOL SetWindowPos(HWND hWnd, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL MoveWindow(HWND hWnd, int x, int y, int width, int height, BOOL repaint);
BOOL GetWindowRect(HWND hWnd, RECT* rect);
BOOL GetClientRect(HWND hWnd, RECT* rect);
BOOL ClientToScreen(HWND hWnd, POINT* point);
BOOL ScreenToClient(HWND hWnd, POINT* point);
BOOL ShowWindow(HWND hWnd, int command);
BOOL IsIconic(HWND hWnd);
BOOL IsZoomed(HWND hWnd);
BOOL SetWindowTextA(HWND hWnd, const char* text);
BOOL GetCursorPos(POINT* point);
BOOL SystemParametersInfoA(UINT action, UINT param, void* out, UINT winIni);
HDC BeginPaint(HWND hWnd, PAINTSTRUCT* paint);
BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* paint);

namespace plat {

// The outer rectangle for a client rectangle under a style (frames from the system metrics).
RECT OuterRectForClient(const RECT& client, DWORD style, bool menu);

// The title a window was given (CP932); empty for a window we do not know.
std::string WindowTitle(HWND hWnd);

// The main window (the first top-level window), null before it exists.
HWND MainWindowHandle();

// The event drain reports what the desktop did to the main window: the client origin or size
// moved, or it was minimised, maximised or restored. Each returns true when something changed.
bool NoteClientMoved(int clientX, int clientY);
bool NoteClientResized(int clientWidth, int clientHeight);
void NoteShowState(bool iconic, bool zoomed);

// Forgets every window record (the main window is gone).
void ForgetWindows();

}  // namespace plat
