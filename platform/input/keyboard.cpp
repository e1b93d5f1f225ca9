#include "platform/input/keyboard.h"

#include <SDL2/SDL_scancode.h>

#include <array>
#include <atomic>
#include <vector>

namespace {

// One SDL scancode and the virtual key a Windows keyboard reports for it. Where the side of a
// modifier has its own virtual key, the key also answers for that code (see kSideKeys).
struct ScanToKey { int scancode; int virtualKey; };

constexpr ScanToKey kScanToKey[] = {
    {SDL_SCANCODE_A, 'A'}, {SDL_SCANCODE_B, 'B'}, {SDL_SCANCODE_C, 'C'}, {SDL_SCANCODE_D, 'D'},
    {SDL_SCANCODE_E, 'E'}, {SDL_SCANCODE_F, 'F'}, {SDL_SCANCODE_G, 'G'}, {SDL_SCANCODE_H, 'H'},
    {SDL_SCANCODE_I, 'I'}, {SDL_SCANCODE_J, 'J'}, {SDL_SCANCODE_K, 'K'}, {SDL_SCANCODE_L, 'L'},
    {SDL_SCANCODE_M, 'M'}, {SDL_SCANCODE_N, 'N'}, {SDL_SCANCODE_O, 'O'}, {SDL_SCANCODE_P, 'P'},
    {SDL_SCANCODE_Q, 'Q'}, {SDL_SCANCODE_R, 'R'}, {SDL_SCANCODE_S, 'S'}, {SDL_SCANCODE_T, 'T'},
    {SDL_SCANCODE_U, 'U'}, {SDL_SCANCODE_V, 'V'}, {SDL_SCANCODE_W, 'W'}, {SDL_SCANCODE_X, 'X'},
    {SDL_SCANCODE_Y, 'Y'}, {SDL_SCANCODE_Z, 'Z'},
    {SDL_SCANCODE_1, '1'}, {SDL_SCANCODE_2, '2'}, {SDL_SCANCODE_3, '3'}, {SDL_SCANCODE_4, '4'},
    {SDL_SCANCODE_5, '5'}, {SDL_SCANCODE_6, '6'}, {SDL_SCANCODE_7, '7'}, {SDL_SCANCODE_8, '8'},
    {SDL_SCANCODE_9, '9'}, {SDL_SCANCODE_0, '0'},
    {SDL_SCANCODE_RETURN, VK_RETURN}, {SDL_SCANCODE_ESCAPE, VK_ESCAPE},
    {SDL_SCANCODE_BACKSPACE, VK_BACK}, {SDL_SCANCODE_TAB, VK_TAB}, {SDL_SCANCODE_SPACE, VK_SPACE},
    {SDL_SCANCODE_MINUS, 0xBD}, {SDL_SCANCODE_EQUALS, 0xBB}, {SDL_SCANCODE_LEFTBRACKET, 0xDB},
    {SDL_SCANCODE_RIGHTBRACKET, 0xDD}, {SDL_SCANCODE_BACKSLASH, 0xDC},
    {SDL_SCANCODE_NONUSHASH, 0xDC}, {SDL_SCANCODE_SEMICOLON, 0xBA},
    {SDL_SCANCODE_APOSTROPHE, 0xDE}, {SDL_SCANCODE_GRAVE, 0xC0}, {SDL_SCANCODE_COMMA, 0xBC},
    {SDL_SCANCODE_PERIOD, 0xBE}, {SDL_SCANCODE_SLASH, 0xBF}, {SDL_SCANCODE_CAPSLOCK, 0x14},
    {SDL_SCANCODE_F1, 0x70}, {SDL_SCANCODE_F2, 0x71}, {SDL_SCANCODE_F3, 0x72},
    {SDL_SCANCODE_F4, 0x73}, {SDL_SCANCODE_F5, 0x74}, {SDL_SCANCODE_F6, 0x75},
    {SDL_SCANCODE_F7, 0x76}, {SDL_SCANCODE_F8, 0x77}, {SDL_SCANCODE_F9, 0x78},
    {SDL_SCANCODE_F10, 0x79}, {SDL_SCANCODE_F11, 0x7A}, {SDL_SCANCODE_F12, 0x7B},
    {SDL_SCANCODE_F13, 0x7C}, {SDL_SCANCODE_F14, 0x7D}, {SDL_SCANCODE_F15, 0x7E},
    {SDL_SCANCODE_F16, 0x7F}, {SDL_SCANCODE_F17, 0x80}, {SDL_SCANCODE_F18, 0x81},
    {SDL_SCANCODE_F19, 0x82}, {SDL_SCANCODE_F20, 0x83}, {SDL_SCANCODE_F21, 0x84},
    {SDL_SCANCODE_F22, 0x85}, {SDL_SCANCODE_F23, 0x86}, {SDL_SCANCODE_F24, 0x87},
    {SDL_SCANCODE_PRINTSCREEN, 0x2C}, {SDL_SCANCODE_SCROLLLOCK, 0x91},
    {SDL_SCANCODE_PAUSE, 0x13}, {SDL_SCANCODE_INSERT, 0x2D}, {SDL_SCANCODE_HOME, 0x24},
    {SDL_SCANCODE_PAGEUP, 0x21}, {SDL_SCANCODE_DELETE, VK_DELETE}, {SDL_SCANCODE_END, 0x23},
    {SDL_SCANCODE_PAGEDOWN, 0x22}, {SDL_SCANCODE_RIGHT, VK_RIGHT}, {SDL_SCANCODE_LEFT, VK_LEFT},
    {SDL_SCANCODE_DOWN, VK_DOWN}, {SDL_SCANCODE_UP, VK_UP},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x90}, {SDL_SCANCODE_KP_DIVIDE, 0x6F},
    {SDL_SCANCODE_KP_MULTIPLY, 0x6A}, {SDL_SCANCODE_KP_MINUS, 0x6D},
    {SDL_SCANCODE_KP_PLUS, 0x6B}, {SDL_SCANCODE_KP_ENTER, VK_RETURN},
    {SDL_SCANCODE_KP_1, 0x61}, {SDL_SCANCODE_KP_2, 0x62}, {SDL_SCANCODE_KP_3, 0x63},
    {SDL_SCANCODE_KP_4, 0x64}, {SDL_SCANCODE_KP_5, 0x65}, {SDL_SCANCODE_KP_6, 0x66},
    {SDL_SCANCODE_KP_7, 0x67}, {SDL_SCANCODE_KP_8, 0x68}, {SDL_SCANCODE_KP_9, 0x69},
    {SDL_SCANCODE_KP_0, 0x60}, {SDL_SCANCODE_KP_PERIOD, 0x6E},
    {SDL_SCANCODE_NONUSBACKSLASH, 0xE2}, {SDL_SCANCODE_APPLICATION, 0x5D},
    // Japanese keyboards: ろ, ￥, 変換, 無変換, カタカナひらがな.
    {SDL_SCANCODE_INTERNATIONAL1, 0xE2}, {SDL_SCANCODE_INTERNATIONAL3, 0xDC},
    {SDL_SCANCODE_INTERNATIONAL4, 0x1C}, {SDL_SCANCODE_INTERNATIONAL5, 0x1D},
    {SDL_SCANCODE_INTERNATIONAL2, 0x15},
    {SDL_SCANCODE_LCTRL, VK_CONTROL}, {SDL_SCANCODE_LSHIFT, VK_SHIFT},
    {SDL_SCANCODE_LALT, VK_MENU}, {SDL_SCANCODE_LGUI, 0x5B},
    {SDL_SCANCODE_RCTRL, VK_CONTROL}, {SDL_SCANCODE_RSHIFT, VK_SHIFT},
    {SDL_SCANCODE_RALT, VK_MENU}, {SDL_SCANCODE_RGUI, 0x5C},
};

// The left and right virtual keys of the modifiers, which answer beside the shared one.
constexpr ScanToKey kSideKeys[] = {
    {SDL_SCANCODE_LSHIFT, 0xA0}, {SDL_SCANCODE_RSHIFT, 0xA1},
    {SDL_SCANCODE_LCTRL, 0xA2}, {SDL_SCANCODE_RCTRL, 0xA3},
    {SDL_SCANCODE_LALT, 0xA4}, {SDL_SCANCODE_RALT, 0xA5},
};

constexpr int kKeys = 256;

// A virtual key is down while any scancode that makes it is down, or while the harness or
// the mouse holds it. Each source is kept apart so that releasing one (the left Shift) does
// not release a key another still holds (the right Shift).
class cKeyTable {
public:
    cKeyTable()
    {
        for (const auto& k : kScanToKey) m_ScancodesOf[k.virtualKey].push_back(k.scancode);
        for (const auto& k : kSideKeys) m_ScancodesOf[k.virtualKey].push_back(k.scancode);
        for (auto& s : m_ScancodeDown) s.store(false, std::memory_order_relaxed);
        for (auto& s : m_HeldDown) s.store(false, std::memory_order_relaxed);
    }

    bool IsDown(int vk) const
    {
        if (vk < 0 || vk >= kKeys) return false;
        if (m_HeldDown[vk].load(std::memory_order_relaxed)) return true;
        for (int scancode : m_ScancodesOf[vk]) {
            if (m_ScancodeDown[scancode].load(std::memory_order_relaxed)) return true;
        }
        return false;
    }

    void SetScancode(int scancode, bool down)
    {
        if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return;
        m_ScancodeDown[scancode].store(down, std::memory_order_relaxed);
    }

    void SetHeld(int vk, bool down)
    {
        if (vk < 0 || vk >= kKeys) return;
        m_HeldDown[vk].store(down, std::memory_order_relaxed);
    }

    void Clear()
    {
        for (auto& s : m_ScancodeDown) s.store(false, std::memory_order_relaxed);
        for (auto& s : m_HeldDown) s.store(false, std::memory_order_relaxed);
    }

private:
    std::array<std::vector<int>, kKeys> m_ScancodesOf;   // built once, read-only afterwards
    std::array<std::atomic<bool>, SDL_NUM_SCANCODES> m_ScancodeDown;
    std::array<std::atomic<bool>, kKeys> m_HeldDown;      // harness and mouse buttons
};

cKeyTable& Keys()
{
    static cKeyTable table;
    return table;
}

}  // namespace

SHORT GetAsyncKeyState(int virtualKey)
{
    return Keys().IsDown(virtualKey) ? static_cast<SHORT>(0x8000) : 0;
}

namespace plat {

void OnSdlKey(int sdlScancode, bool down)
{
    Keys().SetScancode(sdlScancode, down);
}

void OnSdlMouseButton(int sdlButton, bool down)
{
    if (sdlButton == 1) Keys().SetHeld(VK_LBUTTON, down);
    else if (sdlButton == 3) Keys().SetHeld(VK_RBUTTON, down);
}

void ClearKeyStates()
{
    Keys().Clear();
}

void SetKeyState(int virtualKey, bool down)
{
    Keys().SetHeld(virtualKey, down);
}

namespace {

struct cKeyScan { int virtualKey; int scan; bool extended; };

// The keyboard's scan codes (set 1) of the keys a key message can name.
constexpr cKeyScan kKeyScans[] = {
    {VK_ESCAPE, 0x01, false}, {VK_BACK, 0x0E, false}, {VK_TAB, 0x0F, false}, {VK_RETURN, 0x1C, false},
    {VK_CONTROL, 0x1D, false}, {VK_SHIFT, 0x2A, false}, {VK_MENU, 0x38, false}, {VK_SPACE, 0x39, false},
    {VK_UP, 0x48, true}, {VK_LEFT, 0x4B, true}, {VK_RIGHT, 0x4D, true}, {VK_DOWN, 0x50, true},
    {VK_DELETE, 0x53, true},
    {'1', 0x02, false}, {'2', 0x03, false}, {'3', 0x04, false}, {'4', 0x05, false}, {'5', 0x06, false},
    {'6', 0x07, false}, {'7', 0x08, false}, {'8', 0x09, false}, {'9', 0x0A, false}, {'0', 0x0B, false},
    {'Q', 0x10, false}, {'W', 0x11, false}, {'E', 0x12, false}, {'R', 0x13, false}, {'T', 0x14, false},
    {'Y', 0x15, false}, {'U', 0x16, false}, {'I', 0x17, false}, {'O', 0x18, false}, {'P', 0x19, false},
    {'A', 0x1E, false}, {'S', 0x1F, false}, {'D', 0x20, false}, {'F', 0x21, false}, {'G', 0x22, false},
    {'H', 0x23, false}, {'J', 0x24, false}, {'K', 0x25, false}, {'L', 0x26, false}, {'Z', 0x2C, false},
    {'X', 0x2D, false}, {'C', 0x2E, false}, {'V', 0x2F, false}, {'B', 0x30, false}, {'N', 0x31, false},
    {'M', 0x32, false},
    {VK_F1, 0x3B, false}, {VK_F1 + 1, 0x3C, false}, {VK_F1 + 2, 0x3D, false}, {VK_F1 + 3, 0x3E, false},
    {VK_F1 + 4, 0x3F, false}, {VK_F1 + 5, 0x40, false}, {VK_F1 + 6, 0x41, false}, {VK_F1 + 7, 0x42, false},
    {VK_F1 + 8, 0x43, false}, {VK_F1 + 9, 0x44, false}, {VK_F1 + 10, 0x57, false}, {VK_F1 + 11, 0x58, false},
};

}  // namespace

LPARAM KeyMessageLParam(int virtualKey, bool down, bool wasDown)
{
    DWORD bits = 1;
    for (const cKeyScan& k : kKeyScans) {
        if (k.virtualKey != virtualKey) continue;
        bits |= static_cast<DWORD>(k.scan) << 16;
        if (k.extended) bits |= 1u << 24;
        break;
    }
    if (wasDown) bits |= 1u << 30;
    if (!down) bits |= 1u << 31;
    return static_cast<LPARAM>(bits);
}

int VirtualKeyFromScancode(int sdlScancode)
{
    for (const auto& k : kScanToKey) {
        if (k.scancode == sdlScancode) return k.virtualKey;
    }
    return 0;
}

}  // namespace plat
