#include "graphics/display_report.h"

#include "graphics/device.h"

bool DDFillDisplayReport(DISPLAYREPORT& report)
{
    if (!g_bDDInit) return false;
    report.bFullScreen = g_nWindowMode == 0;
    report.nBpp = g_nBpp;
    if (g_lpDD) {
        report.bDirectDraw = true;
        DDSCAPS2 caps{};
        caps.dwCaps = DDSCAPS_VIDEOMEMORY;
        if (FAILED(g_lpDD->GetAvailableVidMem(&caps, &report.dwVramTotal, &report.dwVramFree)))
            report.dwVramTotal = report.dwVramFree = 0;
        if (FAILED(g_lpDD->GetMonitorFrequency(&report.dwRefreshRate))) report.dwRefreshRate = 0;
    }
    if (lpDTCon && g_lpDevice) {
        // The capabilities the set-up read from the device. Our device has no texture-memory
        // figure or blend-stage counts to tell: those stay 0.
        const D3DCAPS9& caps = lpDTCon->d3dCaps;
        report.bDirect3D = true;
        report.strDevice = "Software Direct3D 9";
        report.nMaxTextureWidth = static_cast<int>(caps.MaxTextureWidth);
        report.nMaxTextureHeight = static_cast<int>(caps.MaxTextureHeight);
        report.bAlphaFullscreenFlipOrDiscard = (caps.Caps3 & D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD) != 0;
        report.bTexturePow2 = (caps.TextureCaps & D3DPTEXTURECAPS_POW2) != 0;
        report.bTextureSquareOnly = (caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) != 0;
        report.bDynamicTextures = (caps.Caps2 & D3DCAPS2_DYNAMICTEXTURES) != 0;
    }
    return true;
}
