#include "shell/keyboard_hook.h"

#include "platform/input/keyboard.h"
#include "platform/os/message_box.h"
#include "platform/ui/dialog_box.h"
#include "platform/ui/ime.h"
#include "shell/error_box.h"

// Window thread only, like the dialogs.
HHOOK g_hHook = nullptr;
int g_bCtrlHeld = 0;

namespace {

constexpr LPARAM kReleaseFlag = static_cast<LPARAM>(0x80000000u);

LRESULT PassOn(int code, WPARAM virtualKey, LPARAM keyFlags) { return CallNextHookEx(g_hHook, code, virtualKey, keyFlags); }

bool CompositionOpen(HIMC context) { return ImmGetCompositionStringA(context, GCS_COMPSTR, nullptr, 0) != 0; }

}  // namespace

bool cHook::Attach(HWND hWnd, int modeless)
{
    m_hWnd = hWnd;
    m_bModeless = modeless;
    SetPropA(hWnd, "cHook", this);
    if (!g_hHook) g_hHook = SetWindowsHookExA(WH_KEYBOARD, KeyboardHookProc, nullptr, GetCurrentThreadId());
    return g_hHook != nullptr;
}

bool cHook::IsNavigationKey(WPARAM virtualKey)
{
    switch (virtualKey) {
    case VK_SPACE:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_DELETE:
        return true;
    default:
        return virtualKey >= VK_F1 && virtualKey <= VK_F1 + 7;
    }
}

LRESULT KeyboardHookProc(int code, WPARAM virtualKey, LPARAM keyFlags)
{
    if (code < 0 || code == HC_NOREMOVE) return PassOn(code, virtualKey, keyFlags);
    HWND active = GetActiveWindow();
    auto* hook = static_cast<cHook*>(GetPropA(active, "cHook"));
    if (!hook || hook->m_hWnd != active) return PassOn(code, virtualKey, keyFlags);

    if (keyFlags & kReleaseFlag) {
        if (virtualKey == VK_CONTROL) g_bCtrlHeld = 0;
        if (!(hook->m_bModeless && g_bCtrlHeld)) PostMessageA(active, WM_KEYUP, virtualKey, keyFlags);
        return PassOn(code, virtualKey, keyFlags);
    }
    if (virtualKey == VK_RETURN) {
        HIMC context = ImmGetContext(active);
        if (context) {
            const bool composing = CompositionOpen(context);
            ImmReleaseContext(active, context);
            // The Enter that confirms a composition belongs to the input method.
            if (composing) return PassOn(code, virtualKey, keyFlags);
        } else {
            DebugErrorBoxF("Err ImmGetContext");
        }
    } else if (virtualKey == VK_TAB) {
        return PassOn(code, virtualKey, keyFlags);
    } else {
        HIMC context = ImmGetContext(active);
        if (context && !CompositionOpen(context) && cHook::IsNavigationKey(virtualKey)) {
            PostMessageA(active, WM_HOOK_NAVKEY, virtualKey, keyFlags);
            ImmReleaseContext(active, context);
            return PassOn(code, virtualKey, keyFlags);
        }
        if (context) ImmReleaseContext(active, context);
        else DebugErrorBoxF("Err ImmGetContext");
        if (virtualKey == VK_CONTROL) g_bCtrlHeld = 1;
    }
    if (!(hook->m_bModeless && g_bCtrlHeld)) PostMessageA(active, WM_KEYDOWN, virtualKey, keyFlags);
    return PassOn(code, virtualKey, keyFlags);
}

void UnhookKeyboardHooks()
{
    if (g_hHook) UnhookWindowsHookEx(g_hHook);
    g_hHook = nullptr;
}
