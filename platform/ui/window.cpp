#include "platform/ui/window.h"

#include <SDL2/SDL.h>

#include <map>
#include <mutex>
#include <string>
#include <cstring>

#include "platform/os/messages.h"
#include "platform/ui/sdl_window.h"
#include "platform/os/text.h"

namespace {

struct cWindowRecord {
    DWORD style = 0;
    RECT outer{};
    int clientWidth = 0;
    int clientHeight = 0;
    bool visible = false;
    bool iconic = false;
    bool zoomed = false;
    std::string title;  // CP932
};

std::mutex s_Mutex;
std::map<std::string, WNDPROC> s_Classes;
std::map<HWND, cWindowRecord> s_Windows;
HWND s_hMainWindow = nullptr;

cWindowRecord* FindLocked(HWND hWnd)
{
    auto it = s_Windows.find(hWnd);
    return it == s_Windows.end() ? nullptr : &it->second;
}

struct cBorders { int left, top, right, bottom; };

cBorders FrameOf(DWORD style, bool menu)
{
    cBorders f{0, 0, 0, 0};
    if (style & (WS_BORDER | WS_DLGFRAME)) f.top += GetSystemMetrics(SM_CYCAPTION);
    if (style & WS_THICKFRAME) {
        f.left = f.right = GetSystemMetrics(SM_CXFRAME);
        f.top += GetSystemMetrics(SM_CYFRAME);
        f.bottom = GetSystemMetrics(SM_CYFRAME);
    } else if (style & WS_DLGFRAME) {
        f.left = f.right = GetSystemMetrics(SM_CXDLGFRAME);
        f.top += GetSystemMetrics(SM_CYDLGFRAME);
        f.bottom = GetSystemMetrics(SM_CYDLGFRAME);
    }
    if (menu) f.top += GetSystemMetrics(SM_CYMENU);
    return f;
}

POINT ClientOrigin(const cWindowRecord& w)
{
    const cBorders f = FrameOf(w.style, false);
    return POINT{w.outer.left + f.left, w.outer.top + f.top};
}

// Outer size from the client size under the record's style.
void SetOuterFromClient(cWindowRecord& w, int left, int top)
{
    const cBorders f = FrameOf(w.style, false);
    w.outer = RECT{left, top, left + f.left + w.clientWidth + f.right, top + f.top + w.clientHeight + f.bottom};
}

// What the SDL window of the main window should look like after a change of its record.
struct cSdlPlacement {
    POINT origin;
    int width, height;
    bool resizable;
};

cSdlPlacement PlacementOf(const cWindowRecord& w)
{
    return cSdlPlacement{ClientOrigin(w), w.clientWidth, w.clientHeight, (w.style & WS_THICKFRAME) != 0};
}

// SDL video is called on the window thread only: whatever thread changes a window, the SDL
// window follows there. Never called with s_Mutex held, since the window thread's event
// drain takes it too.
void OnWindowThread(const std::function<void()>& fn) { plat::RunOnWindowThread(fn); }

void MirrorToSdl(HWND hWnd, const cSdlPlacement& p)
{
    if (hWnd != plat::MainWindowHandle() || !plat::MainSdlWindow()) return;
    OnWindowThread([p] {
        SDL_Window* window = plat::MainSdlWindow();
        if (!window) return;
        SDL_SetWindowPosition(window, p.origin.x, p.origin.y);
        int width = 0, height = 0;
        SDL_GetWindowSize(window, &width, &height);
        if (width != p.width || height != p.height) SDL_SetWindowSize(window, p.width, p.height);
        SDL_SetWindowResizable(window, p.resizable ? SDL_TRUE : SDL_FALSE);
    });
}

// Adds (sign 1) or takes away (sign -1) the screen position of the window's client area.
BOOL MoveByClientOrigin(HWND hWnd, POINT* point, int sign)
{
    std::lock_guard<std::mutex> lock(s_Mutex);
    cWindowRecord* w = FindLocked(hWnd);
    if (!w || !point) return FALSE;
    const POINT origin = ClientOrigin(*w);
    point->x += sign * origin.x;
    point->y += sign * origin.y;
    return TRUE;
}

}  // namespace

int GetSystemMetrics(int index)
{
    switch (index) {
    case SM_CXSCREEN:
    case SM_CYSCREEN: {
        SDL_DisplayMode mode{};
        bool known = false;
        if (SDL_WasInit(SDL_INIT_VIDEO)) OnWindowThread([&] { known = SDL_GetDesktopDisplayMode(0, &mode) == 0; });
        if (known) return index == SM_CXSCREEN ? mode.w : mode.h;
        return index == SM_CXSCREEN ? 1024 : 768;
    }
    case SM_CXVSCROLL: return 16;
    case SM_CYHSCROLL: return 16;
    case SM_CYCAPTION: return 19;
    case SM_CXDLGFRAME: return 3;
    case SM_CYDLGFRAME: return 3;
    case SM_CYMENU: return 19;
    case SM_CXFRAME: return 4;
    case SM_CYFRAME: return 4;
    default: return 0;
    }
}

ATOM RegisterClassExA(const WNDCLASSEXA* windowClass)
{
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) return 0;
    std::lock_guard<std::mutex> lock(s_Mutex);
    if (!s_Classes.emplace(windowClass->lpszClassName, windowClass->lpfnWndProc).second) return 0;
    return static_cast<ATOM>(0xC000 + s_Classes.size());
}

HWND CreateWindowExA(DWORD, const char* className, const char* title, DWORD style, int x, int y, int width,
                     int height, HWND parent, void*, HINSTANCE, void*)
{
    WNDPROC proc = nullptr;
    {
        std::lock_guard<std::mutex> lock(s_Mutex);
        auto it = className ? s_Classes.find(className) : s_Classes.end();
        if (it == s_Classes.end()) return nullptr;
        proc = it->second;
    }
    cWindowRecord record;
    record.style = style;
    record.title = title ? title : "";
    record.outer = RECT{x, y, x + width, y + height};
    const cBorders f = FrameOf(style, false);
    record.clientWidth = width - f.left - f.right;
    record.clientHeight = height - f.top - f.bottom;
    if (record.clientWidth < 0) record.clientWidth = 0;
    if (record.clientHeight < 0) record.clientHeight = 0;

    HWND hWnd = plat::CreateWindowHandle(proc);
    if (!hWnd) return nullptr;
    bool isMain = false;
    {
        std::lock_guard<std::mutex> lock(s_Mutex);
        s_Windows[hWnd] = record;
        if (!s_hMainWindow && !parent && std::strcmp(className, kDialogClassName) != 0) {
            s_hMainWindow = hWnd;
            isMain = true;
        }
    }
    if (isMain && SDL_WasInit(SDL_INIT_VIDEO)) {
        const POINT origin = ClientOrigin(record);
        bool made = false;
        OnWindowThread([&] {
            made = plat::CreateMainSdlWindow(hWnd, origin.x, origin.y, record.clientWidth, record.clientHeight,
                                             title ? title : "");
        });
        if (!made) {
            std::lock_guard<std::mutex> lock(s_Mutex);
            s_Windows.erase(hWnd);
            s_hMainWindow = nullptr;
            return nullptr;
        }
    }
    if (SendMessageA(hWnd, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(hWnd);
        return nullptr;
    }
    // No focus event ever comes without a display: the main window is active from the start.
    if (isMain && plat::IsHeadless()) SendMessageA(hWnd, WM_ACTIVATEAPP, 1, 0);
    return hWnd;
}

LONG GetWindowLongA(HWND hWnd, int index)
{
    std::lock_guard<std::mutex> lock(s_Mutex);
    cWindowRecord* w = FindLocked(hWnd);
    if (!w || index != GWL_STYLE) return 0;
    return static_cast<LONG>(w->style);
}

LONG SetWindowLongA(HWND hWnd, int index, LONG value)
{
    LONG previous;
    cSdlPlacement placement;
    {
        std::lock_guard<std::mutex> lock(s_Mutex);
        cWindowRecord* w = FindLocked(hWnd);
        if (!w || index != GWL_STYLE) return 0;
        previous = static_cast<LONG>(w->style);
        // The client area keeps its place and size; the frame grows or shrinks around it.
        const POINT origin = ClientOrigin(*w);
        w->style = static_cast<DWORD>(value);
        const cBorders f = FrameOf(w->style, false);
        SetOuterFromClient(*w, origin.x - f.left, origin.y - f.top);
        placement = PlacementOf(*w);
    }
    MirrorToSdl(hWnd, placement);
    return previous;
}

BOOL SetWindowPos(HWND hWnd, HWND, int x, int y, int width, int height, UINT flags)
{
    bool moved = false, sized = false;
    POINT origin{};
    int clientWidth = 0, clientHeight = 0;
    cSdlPlacement placement;
    {
        std::lock_guard<std::mutex> lock(s_Mutex);
        cWindowRecord* w = FindLocked(hWnd);
        if (!w) return FALSE;
        const cBorders f = FrameOf(w->style, false);
        int left = w->outer.left, top = w->outer.top;
        if (!(flags & SWP_NOMOVE)) {
            moved = left != x || top != y;
            left = x;
            top = y;
        }
        if (!(flags & SWP_NOSIZE)) {
            const int newWidth = width - f.left - f.right > 0 ? width - f.left - f.right : 0;
            const int newHeight = height - f.top - f.bottom > 0 ? height - f.top - f.bottom : 0;
            sized = newWidth != w->clientWidth || newHeight != w->clientHeight;
            w->clientWidth = newWidth;
            w->clientHeight = newHeight;
        }
        SetOuterFromClient(*w, left, top);
        placement = PlacementOf(*w);
        origin = ClientOrigin(*w);
        clientWidth = w->clientWidth;
        clientHeight = w->clientHeight;
    }
    MirrorToSdl(hWnd, placement);
    if (moved) SendMessageA(hWnd, WM_MOVE, 0, plat::PackPoint(origin.x, origin.y));
    if (sized) SendMessageA(hWnd, WM_SIZE, SIZE_RESTORED, plat::PackPoint(clientWidth, clientHeight));
    return TRUE;
}

BOOL MoveWindow(HWND hWnd, int x, int y, int width, int height, BOOL)
{
    return SetWindowPos(hWnd, nullptr, x, y, width, height, SWP_NOZORDER);
}

BOOL GetWindowRect(HWND hWnd, RECT* rect)
{
    std::lock_guard<std::mutex> lock(s_Mutex);
    cWindowRecord* w = FindLocked(hWnd);
    if (!w || !rect) return FALSE;
    *rect = w->outer;
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, RECT* rect)
{
    std::lock_guard<std::mutex> lock(s_Mutex);
    cWindowRecord* w = FindLocked(hWnd);
    if (!w || !rect) return FALSE;
    *rect = RECT{0, 0, w->clientWidth, w->clientHeight};
    return TRUE;
}

BOOL ClientToScreen(HWND hWnd, POINT* point) { return MoveByClientOrigin(hWnd, point, 1); }

BOOL ScreenToClient(HWND hWnd, POINT* point) { return MoveByClientOrigin(hWnd, point, -1); }

BOOL ShowWindow(HWND hWnd, int command)
{
    bool wasVisible;
    {
        std::lock_guard<std::mutex> lock(s_Mutex);
        cWindowRecord* w = FindLocked(hWnd);
        if (!w) return FALSE;
        wasVisible = w->visible;
        w->visible = command != SW_HIDE;
        if (command == SW_SHOWMAXIMIZED) { w->zoomed = true; w->iconic = false; }
        if (command == SW_SHOWMINIMIZED || command == SW_MINIMIZE || command == SW_SHOWMINNOACTIVE) w->iconic = true;
        if (command == SW_RESTORE || command == SW_SHOWNORMAL) { w->iconic = false; w->zoomed = false; }
    }
    if (hWnd == plat::MainWindowHandle() && plat::MainSdlWindow()) {
        OnWindowThread([command] {
            SDL_Window* window = plat::MainSdlWindow();
            if (!window) return;
            switch (command) {
            case SW_HIDE: SDL_HideWindow(window); break;
            case SW_SHOWMAXIMIZED: SDL_ShowWindow(window); SDL_MaximizeWindow(window); break;
            case SW_SHOWMINIMIZED:
            case SW_MINIMIZE:
            case SW_SHOWMINNOACTIVE: SDL_MinimizeWindow(window); break;
            case SW_RESTORE: SDL_ShowWindow(window); SDL_RestoreWindow(window); break;
            default: SDL_ShowWindow(window); break;
            }
        });
    }
    return wasVisible ? TRUE : FALSE;
}

BOOL IsIconic(HWND hWnd)
{
    std::lock_guard<std::mutex> lock(s_Mutex);
    cWindowRecord* w = FindLocked(hWnd);
    return w && w->iconic;
}

BOOL IsZoomed(HWND hWnd)
{
    std::lock_guard<std::mutex> lock(s_Mutex);
    cWindowRecord* w = FindLocked(hWnd);
    return w && w->zoomed;
}

BOOL SetWindowTextA(HWND hWnd, const char* text)
{
    {
        std::lock_guard<std::mutex> lock(s_Mutex);
        cWindowRecord* w = FindLocked(hWnd);
        if (!w) return FALSE;
        w->title = text ? text : "";
    }
    if (hWnd == plat::MainWindowHandle() && plat::MainSdlWindow()) {
        const std::string title = plat::Cp932ToUtf8(text ? text : "");
        OnWindowThread([&title] {
            if (SDL_Window* window = plat::MainSdlWindow()) SDL_SetWindowTitle(window, title.c_str());
        });
    }
    return TRUE;
}

BOOL GetCursorPos(POINT* point)
{
    if (!point) return FALSE;
    POINT p = plat::LastMousePosition();
    HWND main = plat::MainWindowHandle();
    if (main) ClientToScreen(main, &p);
    *point = p;
    return TRUE;
}

BOOL SystemParametersInfoA(UINT action, UINT, void* out, UINT)
{
    if (action != SPI_GETWORKAREA || !out) return FALSE;
    RECT* rect = static_cast<RECT*>(out);
    SDL_Rect bounds{};
    bool known = false;
    if (SDL_WasInit(SDL_INIT_VIDEO)) OnWindowThread([&] { known = SDL_GetDisplayUsableBounds(0, &bounds) == 0; });
    if (known) {
        *rect = RECT{bounds.x, bounds.y, bounds.x + bounds.w, bounds.y + bounds.h};
    } else {
        *rect = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return TRUE;
}

HDC BeginPaint(HWND hWnd, PAINTSTRUCT* paint)
{
    if (!paint) return nullptr;
    *paint = PAINTSTRUCT{};
    GetClientRect(hWnd, &paint->rcPaint);
    paint->hdc = hWnd;
    return paint->hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT*) { return TRUE; }

namespace plat {

RECT OuterRectForClient(const RECT& client, DWORD style, bool menu)
{
    const cBorders f = FrameOf(style, menu);
    return RECT{client.left - f.left, client.top - f.top, client.right + f.right, client.bottom + f.bottom};
}

std::string WindowTitle(HWND hWnd)
{
    std::lock_guard<std::mutex> lock(s_Mutex);
    cWindowRecord* w = FindLocked(hWnd);
    return w ? w->title : std::string();
}

HWND MainWindowHandle()
{
    std::lock_guard<std::mutex> lock(s_Mutex);
    return s_hMainWindow;
}

bool NoteClientMoved(int clientX, int clientY)
{
    std::lock_guard<std::mutex> lock(s_Mutex);
    cWindowRecord* w = s_hMainWindow ? FindLocked(s_hMainWindow) : nullptr;
    if (!w) return false;
    const POINT origin = ClientOrigin(*w);
    if (origin.x == clientX && origin.y == clientY) return false;
    const cBorders f = FrameOf(w->style, false);
    SetOuterFromClient(*w, clientX - f.left, clientY - f.top);
    return true;
}

bool NoteClientResized(int clientWidth, int clientHeight)
{
    std::lock_guard<std::mutex> lock(s_Mutex);
    cWindowRecord* w = s_hMainWindow ? FindLocked(s_hMainWindow) : nullptr;
    if (!w || (w->clientWidth == clientWidth && w->clientHeight == clientHeight)) return false;
    w->clientWidth = clientWidth;
    w->clientHeight = clientHeight;
    SetOuterFromClient(*w, w->outer.left, w->outer.top);
    return true;
}

void NoteShowState(bool iconic, bool zoomed)
{
    std::lock_guard<std::mutex> lock(s_Mutex);
    cWindowRecord* w = s_hMainWindow ? FindLocked(s_hMainWindow) : nullptr;
    if (!w) return;
    w->iconic = iconic;
    w->zoomed = zoomed;
}

void ForgetWindows()
{
    std::lock_guard<std::mutex> lock(s_Mutex);
    s_Windows.clear();
    s_Classes.clear();
    s_hMainWindow = nullptr;
}

}  // namespace plat
