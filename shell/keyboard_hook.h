#pragma once
// The keyboard hook of the dialogs: a modal dialog's loop gives its keys to the focused
// control, so the hook copies every key press and release to the active dialog as its own
// messages, keeps the Enter that confirms an open composition for the input method, and sends
// the navigation keys as WM_HOOK_NAVKEY while no composition is open.
#include "platform/os/messages.h"
#include "platform/ui/hooks.h"

constexpr UINT WM_HOOK_NAVKEY = WM_USER + 1000;

class cHook {
public:
    cHook() = default;
    virtual ~cHook() = default;
    cHook(const cHook&) = delete;
    cHook& operator=(const cHook&) = delete;

    // Binds the hook to a dialog window (property "cHook") and installs the thread's hook if
    // none is installed yet; false when the installation fails.
    bool Attach(HWND hWnd, int modeless);
    static bool IsNavigationKey(WPARAM virtualKey);

    HWND m_hWnd = nullptr;
    int m_bModeless = 0;
};

extern HHOOK g_hHook;
extern int g_bCtrlHeld;

LRESULT KeyboardHookProc(int code, WPARAM virtualKey, LPARAM keyFlags);
void UnhookKeyboardHooks();
