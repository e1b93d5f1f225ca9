#pragma once
// The SDL window behind the main window, and the window thread's drain of SDL events into
// window messages. Only the window thread calls these, except MainSdlWindow's reader.
#include "platform/os/windows_types.h"

struct SDL_Window;

namespace plat {

// A point packed into a mouse message's lParam: x in the low word, y in the high word.
inline LPARAM PackPoint(int x, int y)
{
    return static_cast<LPARAM>((static_cast<DWORD>(y & 0xFFFF) << 16) | static_cast<DWORD>(x & 0xFFFF));
}

// The SDL window of the main window; null before it is made, after it is gone, and when SDL
// video could not be started at all.
SDL_Window* MainSdlWindow();

// True when SDL runs without a display (the dummy driver) or without video: the main window
// then counts as active from its creation.
bool IsHeadless();

// Starts SDL video and events on the window thread (falling back to the dummy driver when no
// display can be opened) and installs the event drain as the window thread's event pump.
// SDL then turns SIGINT and SIGTERM into SDL_QUIT. False when SDL cannot be started at all.
bool StartSdlVideo();

// Makes the SDL window for hWnd with the given client rectangle (screen coordinates) and
// title (CP932), hidden until ShowSdlWindow. False when it cannot be made.
bool CreateMainSdlWindow(HWND hWnd, int clientX, int clientY, int clientWidth, int clientHeight,
                         const char* titleCp932);
void DestroyMainSdlWindow();

// Drains every pending SDL event: keys and mouse buttons into the key table, joysticks into
// their snapshot, focus loss clears held keys; then posts the window messages they stand for
// (WM_ACTIVATEAPP, WM_MOVE, WM_SIZE, WM_PAINT, WM_CLOSE for SDL_QUIT, keys, mouse).
// With waitMs > 0 (INFINITE: no limit) it first waits that long for an event when none is
// pending. This is the window thread's event pump.
void DrainSdlEvents(DWORD waitMs);

// The last mouse position over the main window, in client coordinates.
POINT LastMousePosition();

}  // namespace plat
