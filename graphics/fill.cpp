// Fills by palette colour number and by colour value, on both back ends.
#include "graphics/fill.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include "graphics/blit_quad.h"
#include "graphics/device.h"
#include "graphics/palette.h"
#include "graphics/surface_lock.h"
#include "shell/log.h"

namespace {

using i64 = std::int64_t;

// The part of [x, x + w) inside [0, limit): start and size, size 0 when none.
void CutSpan(int& x, int& w, int limit)
{
    const i64 start = std::max<i64>(x, 0), end = std::min<i64>(static_cast<i64>(x) + w, limit);
    x = static_cast<int>(start);
    w = end > start ? static_cast<int>(end - start) : 0;
}

int FillDirectDraw(DDSURFACEDATA* lpSD, int x, int y, int w, int h, DWORD dwColor)
{
    if (!lpSD || !lpSD->lpDDraw || !lpSD->lpDDraw->lpDDS) return 0;
    CutSpan(x, w, lpSD->nWidth);
    CutSpan(y, h, lpSD->nHeight);
    if (w <= 0 || h <= 0) return 0;
    RECT rect{x, y, x + w, y + h};
    DDBLTFX fx{};
    fx.dwSize = 100;
    fx.dwFillColor = dwColor;
    return SUCCEEDED(lpSD->lpDDraw->lpDDS->Blt(&rect, nullptr, nullptr, DDBLT_WAIT | DDBLT_COLORFILL, &fx)) ? 1 : 0;
}

// A quad of one colour through the record's own vertex buffer, blended by its alpha.
int FillQuad(DDSURFACEDATA* lpSD, int x, int y, int w, int h, DWORD dwColor)
{
    DTSURFACEDATA* dt = lpSD->lpDT;
    if (!dt->lpVB) return 0;
    plat::cD3DVertex quad[4];
    DDMakeQuad(quad, x, y, w, h, 0.0f, 0.0f, 0.0f, 0.0f, dwColor);
    void* vertices = nullptr;
    if (FAILED(dt->lpVB->Lock(0, kQuadBytes, &vertices, 0))) return 0;
    std::memcpy(vertices, quad, kQuadBytes);
    dt->lpVB->Unlock();
    if (!DDBeginScene() || !DDSetRenderTarget(0, lpSD)) return 0;
    g_lpDevice->SetRenderState(D3DRS_TEXTUREFACTOR, dwColor);
    g_lpDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    g_lpDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TFACTOR);
    g_lpDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    g_lpDevice->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_TFACTOR);
    g_lpDevice->SetStreamSource(0, dt->lpVB, 0, sizeof(plat::cD3DVertex));
    g_lpDevice->SetFVF(kQuadFvf);
    const bool drawn = SUCCEEDED(g_lpDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2));
    DDSetRenderTarget(0, lpDTCon->lpDefaultTarget);
    return drawn ? 1 : 0;
}

// Records that are not render targets: the pixels inside the logical area, locked.
int FillPixels(DDSURFACEDATA* lpSD, int x, int y, int w, int h, DWORD dwColor)
{
    cSurfaceLock lock;
    if (!lock.Lock(lpSD)) return 0;
    const DDSURFACEDATA* locked = lock.Locked();
    CutSpan(x, w, locked->nWidth);
    CutSpan(y, h, locked->nHeight);
    if (w <= 0 || h <= 0) return 1;
    DWORD pixel = dwColor;
    if (lock.m_nBpp == 16) {
        const bool fullScreenBack = DDIsFullScreenBackBuffer(locked) != FALSE;
        const int* f = g_PixelFormat;
        const int* shifts = fullScreenBack ? g_BackBufferFormat : g_PixelFormat;
        auto scaled = [&](int byte, int channel) {
            return ((dwColor >> (8 * byte)) & 0xFF) * static_cast<DWORD>(f[PF_MAX_R + channel]) / 255;
        };
        const DWORD green = scaled(1, 1) * (fullScreenBack ? 2 : 1);
        pixel = scaled(2, 0) << shifts[PF_SHIFT_R] | green << shifts[PF_SHIFT_G] | scaled(0, 2) << shifts[PF_SHIFT_B];
        if (!fullScreenBack) pixel |= scaled(3, 3) << f[PF_SHIFT_A];
    } else if (lock.m_nBpp != 32) {
        return 0;
    }
    for (int row = y; row < y + h; ++row)
        for (int col = x; col < x + w; ++col) plat::WritePixel(lock.PixelAddress(col, row), lock.m_nBytesPerPixel, pixel);
    return 1;
}

int FillDirect3D(DDSURFACEDATA* lpSD, int x, int y, int w, int h, DWORD dwColor)
{
    if (!lpSD) return 0;
    DDResolveMirror(&lpSD);
    DDRedirectBackBuffer(&lpSD);
    DTSURFACEDATA* dt = lpSD->lpDT;
    if (!dt || !g_lpDevice) return 0;
    if (!dt->bRenderTarget) return FillPixels(lpSD, x, y, w, h, dwColor);
    CutSpan(x, w, lpSD->nWidth);
    CutSpan(y, h, lpSD->nHeight);
    if (w <= 0 || h <= 0) return 0;
    const DWORD transparent = lpSD == &g_BackBuffer ? lpDTCon->dwTransmitBack : lpDTCon->dwTransmit;
    if (dt->bTransmit && (g_nBpp == 16 || g_nBpp == 32) && dwColor == transparent) {
        // How a keyed texture is made transparent again: the fill replaces, not blends.
        if (!DDBeginScene() || !DDSetRenderTarget(0, lpSD)) return 0;
        const D3DRECT rect{x, y, x + w, y + h};
        g_lpDevice->Clear(1, &rect, D3DCLEAR_TARGET, dwColor, 1.0f, 0);
        DDSetRenderTarget(0, lpDTCon->lpDefaultTarget);
        return 1;
    }
    if (g_FillBatch.bActive) {
        g_FillBatch.records.push_back({lpSD, x, y, w, h, dwColor});
        return 1;
    }
    return FillQuad(lpSD, x, y, w, h, dwColor);
}

// A palette colour number as a colour value of the live back end.
DWORD PalNumToRGB(DWORD dwPalNum)
{
    if (dwPalNum > 255) {
        EcLogF("PalNumToRGB(DWORD dwPalNum) Err dwPalNum = %d", static_cast<int>(dwPalNum));
        return 0;
    }
    const PALETTEENTRY& e = g_Palette[dwPalNum];
    const DWORD r = e.peRed, g = e.peGreen, b = e.peBlue;
    if (lpDTCon) {
        if (g_nBpp != 16 && g_nBpp != 32) return 0;
        return dwPalNum == 0 ? lpDTCon->dwTransmit : 0xFF000000u | r << 16 | g << 8 | b;
    }
    switch (g_nBpp) {
    case 8: return dwPalNum;
    case 16: {
        // The palette holds components in the display's widths at this depth: packed unscaled.
        const int* f = g_PixelFormat;
        return (b & f[PF_MAX_B]) << f[PF_SHIFT_B] | (g & f[PF_MAX_G]) << f[PF_SHIFT_G] | (r & f[PF_MAX_R]) << f[PF_SHIFT_R];
    }
    case 24:
    case 32: return r << 16 | g << 8 | b;
    default: return 0;
    }
}

}  // namespace

int DDFillRect(DDSURFACEDATA* lpSD, int x, int y, int w, int h, DWORD dwColor)
{
    if (lpDTCon) return FillDirect3D(lpSD, x, y, w, h, dwColor);
    if (lpDDCon) return FillDirectDraw(lpSD, x, y, w, h, dwColor);
    return 0;
}

int DDFillSurface(DDSURFACEDATA* lpSD, DWORD dwColor)
{
    if (!lpSD) return 0;
    return DDFillRect(lpSD, 0, 0, lpSD->nWidth, lpSD->nHeight, dwColor);
}

int DDFillRectPal(DDSURFACEDATA* lpSD, int x, int y, int w, int h, DWORD dwPalNum)
{
    if (!lpDTCon && !lpDDCon) return 0;
    const DWORD color = PalNumToRGB(dwPalNum);
    if (lpDTCon) return DDFillRect(lpSD, x, y, w, h, color);
    return FillDirectDraw(lpSD, x, y, w, h, color);
}

int DDFillSurfacePal(DDSURFACEDATA* lpSD, DWORD dwPalNum)
{
    if (!lpSD) return 0;
    return DDFillRectPal(lpSD, 0, 0, lpSD->nWidth, lpSD->nHeight, dwPalNum);
}
