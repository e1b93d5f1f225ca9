#include "graphics/blit.h"
#include "graphics/effect_blit.h"
#include "graphics/effect_blit_math.h"
#include "graphics/fill.h"

int DDDrawFrame(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int nThick, DWORD dwPalNum)
{
    DDBeginFillBatch();
    DDFillRectPal(lpDst, x, y, w, nThick, dwPalNum);
    DDFillRectPal(lpDst, x, SatAdd(y, SatSub(h, nThick)), w, nThick, dwPalNum);
    DDFillRectPal(lpDst, x, y, nThick, h, dwPalNum);
    DDFillRectPal(lpDst, SatAdd(x, SatSub(w, nThick)), y, nThick, h, dwPalNum);
    DDEndFillBatch();
    return 1;
}

int DDBltWithFrame(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int nThick, DWORD dwPalNum)
{
    DDBltFast(lpDst, x, y, w, h, lpSrc, 0, 0, 0);
    const int twice = SatAdd(nThick, nThick);
    return DDDrawFrame(lpDst, SatSub(x, nThick), SatSub(y, nThick), SatAdd(w, twice), SatAdd(h, twice), nThick, dwPalNum);
}

int DDDrawNumber(DDSURFACEDATA* lpDst, int x, int y, int cw, int ch, DDSURFACEDATA* lpSheet, int sx, int sy,
                 DWORD dwFlags, int nValue, int nCells, BOOL bCenter, int)
{
    int value = nValue < 0 ? 0 : nValue;
    int digits[10];
    int count = 0;
    do {
        digits[count++] = value % 10;
        value /= 10;
    } while (value != 0);
    long long offset = 0;
    if (count < nCells) {
        offset = static_cast<long long>(nCells - count) * cw;
        if (bCenter) offset /= 2;
    }
    long long pen = x + offset;
    for (int i = count - 1; i >= 0; --i, pen += cw)
        DDBltFast(lpDst, Sat(pen), y, cw, ch, lpSheet, Sat(static_cast<long long>(sx) + static_cast<long long>(digits[i]) * cw),
                  sy, dwFlags);
    return 1;
}
