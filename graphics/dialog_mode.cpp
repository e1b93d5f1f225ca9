#include "graphics/dialog_mode.h"

#include "graphics/device.h"
#include "platform/os/message_box.h"
#include "platform/video/presenter.h"
#include "shell/log.h"

void DDHideCursorCompletely()
{
    while (ShowCursor(FALSE) >= 0) {
    }
}

void DDShowCursorAgain()
{
    while (ShowCursor(TRUE) < 0) {
    }
}

int DDSetDialogMode(BOOL bOn)
{
    if (!g_bDDInit || g_nWindowMode != 0) return 1;
    if (lpDTCon && g_lpDevice) {
        if (bOn) {
            DDEndScene();
            if (FAILED(g_lpDevice->SetDialogBoxMode(TRUE))) {
                EcLog("D3D_OK != lpDevice->SetDialogBoxMode(TRUE)");
                return 0;
            }
            ShowCursor(TRUE);
            return 1;
        }
        DDHideCursorCompletely();
        return FAILED(g_lpDevice->SetDialogBoxMode(FALSE)) ? 0 : 1;
    }
    if (lpDDCon && g_lpDD) {
        if (bOn) {
            if (FAILED(g_lpDD->FlipToGDISurface())) return 0;
            ShowCursor(TRUE);
            return 1;
        }
        DDHideCursorCompletely();
    }
    return 1;
}

int DDMesBox(const char* text, const char* caption, UINT type)
{
    if (!DDSetDialogMode(TRUE)) {
        EcLogF("DDMesBox 失敗! %s, %s", text ? text : "", caption ? caption : "");
        return 0;
    }
    // The answer goes back to the caller, so that a yes/no question over a full-screen
    // display is answered like any other.
    const int answer = MessageBoxA(g_hWndDD, text, caption, type);
    DDSetDialogMode(FALSE);
    return answer;
}
