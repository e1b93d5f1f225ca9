// The palette from the palette image, the transparent colour and the palette-index map.
#include "graphics/palette.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>
#include "graphics/device.h"
#include "graphics/surface.h"
#include "graphics/surface_lock.h"
#include "platform/os/files.h"
#include "platform/video/gdi.h"
#include "platform/video/pixel_format.h"
#include "shell/error_box.h"
#include "shell/log.h"

PALETTEENTRY g_Palette[256] = {};
PALETTEENTRY g_DisplayPalette[256] = {};
BYTE g_BlendTable[65536] = {};

namespace {

int Component(DWORD pixel, int channel) { return static_cast<int>((pixel >> g_PixelFormat[PF_SHIFT_R + channel]) & g_PixelFormat[PF_MAX_R + channel]); }

// A temporary record loaded from a file: not transparent, at the display depth, in system
// memory in both back ends; released with its scope.
struct cTemporarySurface {
    DDSURFACEDATA sd;
    int code;
    explicit cTemporarySurface(const char* szFile)
    {
        ClearSurfaceData(&sd);
        code = DDCreateSurfaceFromFile(&sd, szFile, FALSE, g_nBpp, 1, DTMEMORYTYPE_SYSTEM, nullptr, nullptr, 0, 0, FALSE);
    }
    ~cTemporarySurface() { DDReleaseSurfaceData(&sd); }
};

}  // namespace

bool DDLoadPaletteFromFile(PALETTEENTRY* lpPal, const char* szFile)
{
    if (!lpPal) return false;
    plat::cGdiObject bitmap(LoadImageA(nullptr, szFile, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!bitmap) return false;
    const plat::cBmpImage* image = plat::BitmapImage(bitmap.get());
    if (image->nBitCount == 8) {
        auto entry = [image](int i) {
            return i < static_cast<int>(image->colorTable.size()) ? image->colorTable[i] : 0u;
        };
        if (lpDTCon) {
            for (int i = 0; i < 256; ++i) {
                const DWORD c = entry(i);
                lpPal[i] = PALETTEENTRY{static_cast<BYTE>(c >> 16), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c), 255};
            }
        } else if (lpDDCon && g_nBpp == 8) {
            for (int i = 0; i < 256; ++i) {
                const DWORD c = entry(i);
                const BYTE flags = (i < 10 || i >= 246) ? PC_EXPLICIT : PC_RESERVED;
                lpPal[i] = PALETTEENTRY{static_cast<BYTE>(c >> 16), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c), flags};
            }
        }
    }
    if (lpDDCon && g_nBpp == 8 && g_lpDDPalette) g_lpDDPalette->SetEntries(0, 0, 256, lpPal);
    if (g_nBpp == 16 || g_nBpp == 24 || g_nBpp == 32) {
        cTemporarySurface temporary(szFile);
        if (DDCheckSurfaceResult(temporary.code)) DDSetPalette_UnPal(lpPal, &temporary.sd);
    }
    return true;
}

int DDSetPalette_UnPal(PALETTEENTRY* lpPal, DDSURFACEDATA* lpSD)
{
    cSurfaceLock lock;
    if (!lock.Lock(lpSD)) {
        EcLog("DDSetPalette_UnPal Lock Err");
        return 1;
    }
    const DDSURFACEDATA* locked = lock.Locked();
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 16; ++column) {
            const int x = column, y = 8 + row;
            // A palette image too small for the block leaves the missing entries as they are.
            if (x >= locked->nWidth || y >= locked->nHeight) continue;
            PALETTEENTRY& e = lpPal[16 * row + column];
            const BYTE* at = lock.PixelAddress(x, y);
            if (g_nBpp == 16) {
                const DWORD p = plat::ReadPixel(at, 2);
                if (lpDTCon) {
                    if (!(p & 0x8000)) continue;
                    e.peRed = static_cast<BYTE>(Component(p, 0) * 255 / g_PixelFormat[PF_MAX_R]);
                    e.peGreen = static_cast<BYTE>(Component(p, 1) * 255 / g_PixelFormat[PF_MAX_G]);
                    e.peBlue = static_cast<BYTE>(Component(p, 2) * 255 / g_PixelFormat[PF_MAX_B]);
                } else {
                    e.peRed = static_cast<BYTE>(Component(p, 0));
                    e.peGreen = static_cast<BYTE>(Component(p, 1));
                    e.peBlue = static_cast<BYTE>(Component(p, 2));
                }
            } else if (g_nBpp == 32) {
                if (lpDTCon && at[3] == 0) continue;
                e = PALETTEENTRY{at[2], at[1], at[0], at[3]};
            }
        }
    }
    return 1;
}

void DDSetTransmit(BYTE cbRed, BYTE cbGreen, BYTE cbBlue)
{
    const int* f = g_PixelFormat;
    if (lpDTCon) {
        lpDTCon->rgbTransmit = RGBTRIPLE{cbBlue, cbGreen, cbRed};
        EcLogF("SetTrans lpDTCon->rgbTransmit.rgbtRed = %d,lpDTCon->rgbTransmit.rgbtGreen = %d,lpDTCon->rgbTransmit.rgbtBlue = %d",
               cbRed, cbGreen, cbBlue);
        if (g_nBpp != 16 && g_nBpp != 32) return;
        lpDTCon->dwTransmit = 0;
        lpDTCon->dwTransmitBack = 0xFF000000u | static_cast<DWORD>(cbRed) << 16 | cbGreen << 8 | cbBlue;
        lpDTCon->wTransmit_16 = 0;
        if (g_nBpp == 32) {
            lpDTCon->wTransmitBack_16 = 0;
            g_dwColorKey = 0;
        } else {
            lpDTCon->wTransmitBack_16 =
                static_cast<WORD>((cbBlue & f[PF_MAX_B]) << f[PF_SHIFT_B] | (cbGreen & f[PF_MAX_G]) << f[PF_SHIFT_G] |
                                  (cbRed & f[PF_MAX_R]) << f[PF_SHIFT_R] | (f[PF_MAX_A] & 1) << f[PF_SHIFT_A]);
        }
        return;
    }
    if (!lpDDCon) return;
    if (g_nBpp == 16) {
        const DWORD r = cbRed * f[PF_MAX_R] / 255, g = cbGreen * f[PF_MAX_G] / 255, b = cbBlue * f[PF_MAX_B] / 255;
        g_dwColorKey = r << f[PF_SHIFT_R] | g << f[PF_SHIFT_G] | b << f[PF_SHIFT_B];
        EcLog("※16bit色で　DDSetTransmit(BYTE cbRed,BYTE cbGreen,BYTE cbBlue)　は未対応！");
        DebugErrorBoxF("Tr %d RGB32(%d,%d,%d) -> RGB16(%d,%d,%d)", static_cast<int>(g_dwColorKey), cbRed, cbGreen, cbBlue,
                       static_cast<int>(r * 255 / f[PF_MAX_R]), static_cast<int>(g * 255 / f[PF_MAX_G]),
                       static_cast<int>(b * 255 / f[PF_MAX_B]));
    } else if (g_nBpp == 32) {
        g_dwColorKey = static_cast<DWORD>(cbRed) << f[PF_SHIFT_R] | static_cast<DWORD>(cbGreen) << f[PF_SHIFT_G] |
                       static_cast<DWORD>(cbBlue) << f[PF_SHIFT_B];
        lpDDCon->rgbTransmit = RGBTRIPLE{cbBlue, cbGreen, cbRed};
    }
}

int DDSetTransmitFromFile(const char* szFile)
{
    cTemporarySurface temporary(szFile);
    if (!DDCheckSurfaceResult(temporary.code)) {
        EcLogF("%s 作成失敗！", szFile);
        return 0;
    }
    cSurfaceLock lock;
    if (!lock.Lock(&temporary.sd)) {
        EcLog("Lock 失敗！");
        return 0;
    }
    const BYTE* at = lock.PixelAddress(0, 0);
    if (lpDTCon) {
        if (g_nBpp == 16) {
            const DWORD p = plat::ReadPixel(at, 2);
            g_dwColorKey = p;
            plat::cGdiObject bitmap(LoadImageA(nullptr, szFile, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
            if (!bitmap) return 0;
            const plat::cBmpImage* image = plat::BitmapImage(bitmap.get());
            if (image->nBitCount == 8) {
                const DWORD c = image->colorTable.empty() ? 0 : image->colorTable[0];
                lpDTCon->rgbTransmitFile = RGBTRIPLE{static_cast<BYTE>(c), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c >> 16)};
            }
            DDSetTransmit(static_cast<BYTE>(Component(p, 0)), static_cast<BYTE>(Component(p, 1)),
                          static_cast<BYTE>(Component(p, 2)));
            EcLogF("SetTrans(filename) lpDTCon->wTransmit_16 = (%x)", lpDTCon->wTransmit_16);
        } else if (g_nBpp == 32) {
            DDSetTransmit(at[2], at[1], at[0]);
        }
    } else {
        if (g_nBpp == 8) {
            g_dwColorKey = at[0];
        } else if (g_nBpp == 16) {
            g_dwColorKey = plat::ReadPixel(at, 2);
        } else if (g_nBpp == 32) {
            g_dwColorKey = plat::ReadPixel(at, 4);
            lpDDCon->rgbTransmit = RGBTRIPLE{at[0], at[1], at[2]};
        }
    }
    return 1;
}

int DDBuildPalIndexMap(BYTE** lplpMap, DDSURFACEDATA* lpSD)
{
    if (!lplpMap || !lpSD) return 0;
    cSurfaceLock lock;
    if (!lock.Lock(lpSD)) {
        OutOfMemoryBox();
        return 0;
    }
    delete[] *lplpMap;
    const int pitch = lock.PitchPixels();
    const std::size_t size = static_cast<std::size_t>(lpSD->nHeight) * pitch;
    // Pixels of no palette colour map to 0, so that the map is defined everywhere.
    BYTE* map = new BYTE[size]();
    *lplpMap = map;
    const bool transparentTexture = lpSD->lpDT && lpSD->lpDT->bTransmit;
    const int* f = g_PixelFormat;
    auto find = [](int r, int g, int b) -> int {
        for (int i = 0; i < 256; ++i)
            if (g_Palette[i].peRed == r && g_Palette[i].peGreen == g && g_Palette[i].peBlue == b) return i;
        return -1;
    };
    for (int y = 0; y < lpSD->nHeight; ++y) {
        for (int x = 0; x < lpSD->nWidth; ++x) {
            const BYTE* at = lock.PixelAddress(x, y);
            int index = -1;
            if (g_nBpp == 16) {
                const DWORD p = plat::ReadPixel(at, 2);
                if (lpDTCon) {
                    if (p == 0 && transparentTexture) index = 0;
                    else index = find(Component(p, 0) * 255 / f[PF_MAX_R], Component(p, 1) * 255 / f[PF_MAX_G],
                                      Component(p, 2) * 255 / f[PF_MAX_B]);
                } else {
                    for (int i = 0; i < 256 && index < 0; ++i)
                        if (DDPalToRGB16(&g_Palette[i].peRed) == p) index = i;
                }
            } else if (g_nBpp == 24 || g_nBpp == 32) {
                index = find(at[2], at[1], at[0]);
            }
            if (index >= 0) map[static_cast<std::size_t>(y) * pitch + x] = static_cast<BYTE>(index);
        }
    }
    return 1;
}

void DDBlendPalette(PALETTEENTRY* lpDst, int nFirst, int nLast, int nWeight, BYTE bRed, BYTE bGreen, BYTE bBlue,
                    const PALETTEENTRY* lpSrc)
{
    if (!lpDst || !lpSrc) return;
    nFirst = std::max(nFirst, 0);
    nLast = std::min(nLast, 255);
    const int w = std::clamp(nWeight, 0, 256);
    auto mix = [w](int source, int colour) { return static_cast<BYTE>((source * w + colour * (256 - w)) >> 8); };
    for (int i = nFirst; i <= nLast; ++i) {
        const PALETTEENTRY s = lpSrc[i];
        lpDst[i] = PALETTEENTRY{mix(s.peRed, bRed), mix(s.peGreen, bGreen), mix(s.peBlue, bBlue), 1};
    }
}

void DDRotatePalette(PALETTEENTRY* lpDst, int nFirst, int nLast, int nCount, int nDirection, const PALETTEENTRY* lpSrc)
{
    if (!lpDst || !lpSrc || (g_nBpp != 8 && g_nBpp != 16 && g_nBpp != 32)) return;
    std::memmove(lpDst, lpSrc, 256 * sizeof(PALETTEENTRY));
    nFirst = std::max(nFirst, 0);
    nLast = std::min(nLast, 255);
    const int size = nLast - nFirst + 1;
    if (size <= 0 || (nDirection != 0 && nDirection != 1)) return;
    const int count = std::clamp(nCount, 0, size);
    // Direction 0 moves every entry up: a turn of the range to the right.
    PALETTEENTRY* first = lpDst + nFirst;
    if (nDirection == 0) std::rotate(first, first + (size - count) % size, first + size);
    else std::rotate(first, first + count % size, first + size);
}

BOOL DDLoadBlendTable(BYTE* lpTable, const char* szFile)
{
    if (lpDTCon) return TRUE;
    if (!lpTable || !szFile) return FALSE;
    std::unique_ptr<FILE, int (*)(FILE*)> file(plat::OpenRegularFile(szFile), std::fclose);
    if (!file) return FALSE;
    // A short table would leave the rest of the old one behind it: read it aside first.
    std::vector<BYTE> table(65536);
    if (std::fread(table.data(), 1, table.size(), file.get()) != table.size()) {
        EcLogF("%s: a blend table must hold 65536 bytes", szFile);
        return FALSE;
    }
    std::memcpy(lpTable, table.data(), table.size());
    return TRUE;
}
