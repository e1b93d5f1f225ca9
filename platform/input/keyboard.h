#pragma once
// Keyboard state: a 256-entry table of Windows virtual keys that the window thread keeps current
// while it drains SDL events; GetAsyncKeyState reads it from any thread.
#include "platform/os/windows_types.h"

using SHORT = std::int16_t;

constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_F1 = 0x70;
constexpr int VK_F2 = 0x71;

SHORT GetAsyncKeyState(int virtualKey);   // high bit set while the key is down

namespace plat {

// Window thread: an SDL key event (scancode, down or up) updates the table.
void OnSdlKey(int sdlScancode, bool down);
// Window thread: a mouse button (1 left, 3 right) updates VK_LBUTTON / VK_RBUTTON.
void OnSdlMouseButton(int sdlButton, bool down);
// Focus loss: every held key is released.
void ClearKeyStates();
// The harness writes key states at the start of a frame, by virtual key.
void SetKeyState(int virtualKey, bool down);
// The virtual key for an SDL scancode, 0 when there is none.
int VirtualKeyFromScancode(int sdlScancode);
// The lParam of WM_KEYDOWN / WM_KEYUP as a keyboard gives it: repeat count 1, the scan code
// (bits 16-23), the extended-key flag (bit 24), the previous state (bit 30) and the
// transition (bit 31, set for a release).
LPARAM KeyMessageLParam(int virtualKey, bool down, bool wasDown);

}  // namespace plat
