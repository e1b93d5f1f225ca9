#include "platform/ui/sdl_window.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <cstring>

#include "platform/input/joystick.h"
#include "platform/input/keyboard.h"
#include "platform/os/message_box.h"
#include "platform/os/messages.h"
#include "platform/os/text.h"
#include "platform/ui/dialog_box.h"
#include "platform/ui/ime.h"
#include "platform/ui/window.h"

namespace {

std::atomic<SDL_Window*> s_Window{nullptr};
std::atomic<HWND> s_hMain{nullptr};
std::atomic<bool> s_bHeadless{true};
std::atomic<Uint32> s_WakeEvent{static_cast<Uint32>(-1)};
std::atomic<LONG> s_nMouseX{0};
std::atomic<LONG> s_nMouseY{0};

void Post(UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = s_hMain.load();
    if (hWnd) PostMessageA(hWnd, msg, wParam, lParam);
}

// Without a display SDL can only wait for events by polling every millisecond: the window
// thread then sleeps on a condition of its own, woken by posts and sends, and looks at SDL
// (for the SDL_QUIT that SIGINT and SIGTERM become) at this interval: a few wake-ups a
// second, and a close that follows a signal within a quarter of a second.
constexpr int kHeadlessEventLookMs = 250;

std::mutex s_WakeLock;
std::condition_variable s_WakeChanged;
bool s_bWakePending = false;

void WaitHeadless(DWORD waitMs)
{
    const int bound = waitMs == INFINITE ? kHeadlessEventLookMs : std::min<int>(static_cast<int>(waitMs), kHeadlessEventLookMs);
    std::unique_lock lock(s_WakeLock);
    s_WakeChanged.wait_for(lock, std::chrono::milliseconds(bound), [] { return s_bWakePending; });
    s_bWakePending = false;
}

// Posts and sends to the window thread wake its wait: headless its own condition, else an SDL
// event of our own.
void WakeWindowThread()
{
    {
        std::lock_guard lock(s_WakeLock);
        s_bWakePending = true;
    }
    s_WakeChanged.notify_all();
    if (s_bHeadless.load()) return;
    const Uint32 type = s_WakeEvent.load();
    if (type == static_cast<Uint32>(-1)) return;
    SDL_Event event;
    SDL_zero(event);
    event.type = type;
    SDL_PushEvent(&event);
}

// The next event already queued, without looking at the display again.
bool TakeQueuedEvent(SDL_Event& event)
{
    return SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0;
}

WPARAM MouseKeys()
{
    WPARAM keys = 0;
    if (GetAsyncKeyState(VK_LBUTTON) & 0x8000) keys |= 0x0001;
    if (GetAsyncKeyState(VK_RBUTTON) & 0x8000) keys |= 0x0002;
    return keys;
}

void OnWindowEvent(const SDL_WindowEvent& e)
{
    switch (e.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        Post(WM_ACTIVATEAPP, 1, 0);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        plat::ClearKeyStates();
        Post(WM_ACTIVATEAPP, 0, 0);
        break;
    case SDL_WINDOWEVENT_MOVED:
        if (plat::NoteClientMoved(e.data1, e.data2)) Post(WM_MOVE, 0, plat::PackPoint(e.data1, e.data2));
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        if (plat::NoteClientResized(e.data1, e.data2)) Post(WM_SIZE, SIZE_RESTORED, plat::PackPoint(e.data1, e.data2));
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        plat::NoteShowState(true, false);
        Post(WM_SIZE, SIZE_MINIMIZED, 0);
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_RESTORED: {
        const bool zoomed = e.event == SDL_WINDOWEVENT_MAXIMIZED;
        plat::NoteShowState(false, zoomed);
        RECT client{};
        GetClientRect(s_hMain.load(), &client);
        Post(WM_SIZE, zoomed ? SIZE_MAXIMIZED : SIZE_RESTORED, plat::PackPoint(client.right, client.bottom));
        break;
    }
    case SDL_WINDOWEVENT_EXPOSED:
        Post(WM_PAINT, 0, 0);
        break;
    case SDL_WINDOWEVENT_CLOSE: {
        // A window of a dialog shown while the game window is hidden: its close asks the
        // program to close, as the game window's would (that one comes as SDL_QUIT).
        SDL_Window* main = s_Window.load();
        if (!main || SDL_GetWindowID(main) != e.windowID) Post(WM_CLOSE, 0, 0);
        break;
    }
    default:
        break;
    }
}

void OnMouseButton(const SDL_MouseButtonEvent& e)
{
    plat::OnSdlMouseButton(e.button, e.state == SDL_PRESSED);
    s_nMouseX.store(e.x);
    s_nMouseY.store(e.y);
    UINT msg = 0;
    if (e.button == SDL_BUTTON_LEFT) msg = e.state == SDL_PRESSED ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    if (e.button == SDL_BUTTON_RIGHT) msg = e.state == SDL_PRESSED ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    if (msg) Post(msg, MouseKeys(), plat::PackPoint(e.x, e.y));
}

}  // namespace

namespace plat {

SDL_Window* MainSdlWindow() { return s_Window.load(); }

bool IsHeadless() { return s_bHeadless.load(); }

bool StartSdlVideo()
{
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
            // No display could be opened: go on without one.
            SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
            if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return false;
            SetBoxesShownBySdl(false);
        }
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    s_bHeadless.store(!driver || std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0);
    if (s_WakeEvent.load() == static_cast<Uint32>(-1)) s_WakeEvent.store(SDL_RegisterEvents(1));
    // SDL starts with text input on; it runs only while a dialog's edit has the focus.
    SDL_StopTextInput();
    // With a display, boxes are dialogs of our own in the game window: they serve sent
    // messages while they wait and stay in front in full screen.
    if (!s_bHeadless.load()) SetBoxPresenter(ShowBoxAsDialog);
    SetThreadEventPump(DrainSdlEvents, WakeWindowThread);
    return true;
}

bool CreateMainSdlWindow(HWND hWnd, int clientX, int clientY, int clientWidth, int clientHeight,
                         const char* titleCp932)
{
    if (s_Window.load()) return false;
    SDL_Window* window = SDL_CreateWindow(Cp932ToUtf8(titleCp932 ? titleCp932 : "").c_str(), clientX, clientY,
                                          clientWidth, clientHeight, SDL_WINDOW_HIDDEN);
    if (!window) return false;
    s_hMain.store(hWnd);
    s_Window.store(window);
    return true;
}

void DestroyMainSdlWindow()
{
    SDL_Window* window = s_Window.exchange(nullptr);
    s_hMain.store(nullptr);
    if (window) SDL_DestroyWindow(window);
}

void DrainSdlEvents(DWORD waitMs)
{
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return;
    bool mouseMoved = false;
    SDL_Event event;
    // Each look at the display costs system calls (and under X a trip to the server), so a drain
    // looks once and then takes what is queued: SDL's wait looks by itself before it sleeps.
    bool have;
    if (waitMs > 0 && !s_bHeadless.load()) {
        have = SDL_WaitEventTimeout(&event, waitMs == INFINITE ? -1 : static_cast<int>(waitMs)) != 0;
    } else {
        SDL_PumpEvents();
        have = TakeQueuedEvent(event);
        if (!have && waitMs > 0) {
            WaitHeadless(waitMs);
            SDL_PumpEvents();
            have = TakeQueuedEvent(event);
        }
    }
    for (; have; have = TakeQueuedEvent(event)) {
        switch (event.type) {
        case SDL_QUIT:
            // SIGINT, SIGTERM and the desktop's close button all end the game through WM_CLOSE.
            Post(WM_CLOSE, 0, 0);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const bool down = event.type == SDL_KEYDOWN;
            OnSdlKey(event.key.keysym.scancode, down);
            const int vk = VirtualKeyFromScancode(event.key.keysym.scancode);
            if (vk)
                Post(down ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(vk),
                     KeyMessageLParam(vk, down, !down || event.key.repeat != 0));
            break;
        }
        case SDL_TEXTEDITING:
        case SDL_TEXTINPUT: {
            const bool commit = event.type == SDL_TEXTINPUT;
            if (QueueSdlTextEvent(commit, commit ? event.text.text : event.edit.text)) Post(WM_IME_COMPOSITION, 0, 0);
            break;
        }
        case SDL_MOUSEMOTION:
            s_nMouseX.store(event.motion.x);
            s_nMouseY.store(event.motion.y);
            mouseMoved = true;
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            OnMouseButton(event.button);
            break;
        case SDL_WINDOWEVENT:
            OnWindowEvent(event.window);
            break;
        default:
            break;
        }
    }
    if (mouseMoved) Post(WM_MOUSEMOVE, MouseKeys(), plat::PackPoint(s_nMouseX.load(), s_nMouseY.load()));
    UpdateJoystickSnapshot();
}

POINT LastMousePosition() { return POINT{s_nMouseX.load(), s_nMouseY.load()}; }

}  // namespace plat
