// Bitmap pictures in surfaces: the DirectDraw copy with its conversions and mirroring, the
// Direct3D mirrored copy, reloading and the size check.
#include <algorithm>
#include <bit>
#include <cstdio>
#include <string>
#include <unordered_map>
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/palette.h"
#include "graphics/surface.h"
#include "graphics/surface_lock.h"
#include "platform/video/gdi.h"
#include "platform/video/pixel_format.h"
#include "shell/log.h"

namespace {

// Where column x of a picture lands when every full cell of `cell` columns is flipped.
int MirrorIndex(int x, int cell, int size)
{
    if (cell <= 0) return x;
    const int first = x / cell * cell;
    if (first + cell > size) return x;  // a partial cell at the end stays as it is
    return first + cell - 1 - (x - first);
}

// A component of 8 bits placed in a display channel by truncation, as GDI converts.
DWORD Narrow(DWORD c, int channel)
{
    const int max = g_PixelFormat[PF_MAX_R + channel];
    const int bits = std::popcount(static_cast<unsigned>(max));
    return (bits >= 8 ? c : c >> (8 - bits)) << g_PixelFormat[PF_SHIFT_R + channel];
}

// At 8 bits a picture that is not an 8-bit one is copied as a blit into a palette device does:
// each colour (the key colour too) takes the index of the nearest colour of the loaded palette,
// by squared distance over red, green and blue, the lowest index on ties.
class cNearestPaletteIndex {
public:
    DWORD operator()(DWORD rgb)
    {
        auto found = m_Known.find(rgb);
        if (found != m_Known.end()) return found->second;
        const int r = static_cast<int>((rgb >> 16) & 0xFF), g = static_cast<int>((rgb >> 8) & 0xFF),
                  b = static_cast<int>(rgb & 0xFF);
        DWORD best = 0;
        int bestDistance = 0x7FFFFFFF;
        for (int i = 0; i < 256; ++i) {
            const PALETTEENTRY& e = g_Palette[i];
            const int dr = r - e.peRed, dg = g - e.peGreen, db = b - e.peBlue;
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = static_cast<DWORD>(i);
            }
        }
        m_Known.emplace(rgb, best);
        return best;
    }

private:
    std::unordered_map<DWORD, DWORD> m_Known;
};

}  // namespace

bool CopyBitmap(DDSURFACEDATA* lpSD, const char* szFile, int nBpp, const void* lpPalMap, int nMirrorW, int nMirrorH)
{
    if (lpDTCon || !szFile || !*szFile) return true;
    if (!lpSD) return false;
    // The name may be the record's own, which is written again below.
    const std::string file(szFile);
    szFile = file.c_str();
    plat::cGdiObject bitmap(LoadImageA(nullptr, szFile, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!bitmap) return false;
    const plat::cBmpImage& image = *plat::BitmapImage(bitmap.get());
    if (nBpp == 8 && (image.nWidth != lpSD->nWidth || image.nHeight != lpSD->nHeight)) {
        // The picture is refused: nothing is copied and the caller hears of it.
        EcLogF("CopyBitmap Err %s Surface(%d,%d) Bmp(%d,%d)", szFile, lpSD->nWidth, lpSD->nHeight, image.nWidth,
               image.nHeight);
        return false;
    }
    cSurfaceLock lock;
    if (!lock.Lock(lpSD)) return false;
    const int width = std::min(image.nWidth, lpSD->nWidth), height = std::min(image.nHeight, lpSD->nHeight);
    const int bytes = nBpp / 8;
    const bool keyConversion = nBpp == 16 && (image.nBitCount == 24 || image.nBitCount == 32);
    const RGBTRIPLE key = lpDDCon ? lpDDCon->rgbTransmitFile : RGBTRIPLE{};
    const int* f = g_PixelFormat;
    const bool nearestIndex = nBpp == 8 && !(image.IsPaletted() && image.nBitCount == 8);
    cNearestPaletteIndex nearest;
    for (int y = 0; y < height; ++y) {
        const int dy = MirrorIndex(y, nMirrorH, image.nHeight);
        for (int x = 0; x < width; ++x) {
            const int dx = MirrorIndex(x, nMirrorW, image.nWidth);
            if (dx >= lpSD->nWidth || dy >= lpSD->nHeight) continue;
            const DWORD rgb = image.Pixel(x, y);
            const DWORD r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
            DWORD pixel;
            if (nearestIndex) {
                pixel = nearest(rgb & 0xFFFFFF);
            } else if (nBpp == 8) {
                pixel = image.indices[static_cast<std::size_t>(y) * image.nWidth + x];
            } else if (keyConversion) {
                if (r == key.rgbtRed && g == key.rgbtGreen && b == key.rgbtBlue) {
                    pixel = g_dwColorKey;
                } else {
                    pixel = (r * f[PF_MAX_R] / 255) << f[PF_SHIFT_R] | (g * f[PF_MAX_G] / 255) << f[PF_SHIFT_G] |
                            (b * f[PF_MAX_B] / 255) << f[PF_SHIFT_B];
                    // No opaque pixel may become the transparent colour: one step away in blue.
                    if (pixel == g_dwColorKey) {
                        const DWORD blue = (pixel >> f[PF_SHIFT_B]) & f[PF_MAX_B];
                        const DWORD moved = blue == static_cast<DWORD>(f[PF_MAX_B]) ? blue - 1 : blue + 1;
                        pixel = (pixel & ~(static_cast<DWORD>(f[PF_MAX_B]) << f[PF_SHIFT_B])) | moved << f[PF_SHIFT_B];
                    }
                }
            } else {
                pixel = Narrow(r, 0) | Narrow(g, 1) | Narrow(b, 2);
            }
            plat::WritePixel(lock.PixelAddress(dx, dy), bytes, pixel);
        }
    }
    lock.Unlock();
    lpSD->nWidth = image.nWidth;
    lpSD->nHeight = image.nHeight;
    lpSD->nMirrorW = nMirrorW;
    lpSD->nMirrorH = nMirrorH;
    std::snprintf(lpSD->szFileName, sizeof lpSD->szFileName, "%s", szFile);
    BYTE*& map = lpSD->lpDDraw->lpPalIndexMap;
    if (lpPalMap && nBpp != 8) return DDBuildPalIndexMap(&map, lpSD) != 0;
    delete[] map;
    map = nullptr;
    return true;
}

bool CreateMirror(DDSURFACEDATA* lpDst, DDSURFACEDATA* lpSrc, int nMirrorW, int nMirrorH)
{
    if (!lpDTCon || nMirrorW == 0 || nMirrorH != 0) return true;
    if (!lpDst || !lpSrc || nMirrorW < 0) return false;
    if (lpDst->lpDT && lpDst->lpDT->bRenderTarget && DDBeginScene() && DDSetRenderTarget(0, lpDst)) {
        g_lpDevice->Clear(0, nullptr, D3DCLEAR_TARGET, lpDTCon->dwTransmit, 1.0f, 0);
        DDSetRenderTarget(0, lpDTCon->lpDefaultTarget);
    }
    // Every cell drawn left-right flipped: a blit of the cell with a negative source width.
    const int cells = lpSrc->nWidth / nMirrorW;
    for (int i = 0; i < cells; ++i)
        DDBlt(lpDst, i * nMirrorW, 0, nMirrorW, lpSrc->nHeight, lpSrc, (i + 1) * nMirrorW, 0, -nMirrorW, lpSrc->nHeight, 0);
    return true;
}

bool DDReloadBitmap(DDSURFACEDATA* lpSD, int nBpp)
{
    if (lpDTCon) return true;
    if (!lpSD || !lpSD->lpDDraw) return false;
    return CopyBitmap(lpSD, lpSD->szFileName, nBpp, lpSD->lpDDraw->lpPalIndexMap, lpSD->nMirrorW, lpSD->nMirrorH);
}

int DDCheckBitmapSize(int* lpbTooBig, const char* szFile, int nMaxW, int nMaxH)
{
    if (lpDTCon) return 1;
    plat::cGdiObject bitmap(LoadImageA(nullptr, szFile, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!bitmap) {
        if (lpbTooBig) *lpbTooBig = 0;
        return 0;
    }
    BITMAP bm{};
    GetObjectA(bitmap.get(), sizeof bm, &bm);
    if (lpbTooBig) *lpbTooBig = bm.bmWidth > nMaxW || bm.bmHeight > nMaxH;
    return 1;
}
