#include "graphics/present.h"

#include <algorithm>

#include "graphics/debug_text.h"
#include "graphics/device.h"
#include "platform/os/timer.h"
#include "platform/ui/window.h"
#include "shell/timing.h"

bool DDIsDirect3D() { return lpDTCon != nullptr; }

void DDDrawPaceOverlay(DDSURFACEDATA* glyphs, const char* text)
{
    DDPrintDebugText(&g_BackBuffer, 0, 16, 8, 16, glyphs, "%s", text);
}

bool DDIsFullScreen() { return g_bDDInit && g_nWindowMode == 0; }

int DDPresent(int nFps, int a, DDSURFACEDATA* b)
{
    if (!lpDTCon || !g_lpDevice) return 1;
    if (lpDTCon->bVirBackBuffer) DDCopyVirBackBuffer(&g_BackBuffer, &g_VirBackBuffer);
    // Sleeps until the frame is due rather than polling.
    const unsigned fps = nFps > 0 ? static_cast<unsigned>(nFps) : 0u;
    while (!PaceFrame(fps, a != 0, b)) Sleep(std::max<DWORD>(1, PaceFrameDueIn(fps)));
    DDEndScene();
    const HRESULT hr = g_lpDevice->Present(nullptr, nullptr, nullptr, nullptr);
    if (hr == D3DERR_DEVICELOST) {
        // Minimised without being activated; the restore shows it again.
        if (g_nWindowMode == 0) ShowWindow(g_hWndDD, SW_SHOWMINNOACTIVE);
        return 0;
    }
    return 1;
}
