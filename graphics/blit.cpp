// DDBltFast, DDBlt and their forms with a draw state, on both back ends.
#include "graphics/blit.h"

#include "graphics/blit_quad.h"
#include "graphics/blit_software.h"
#include "graphics/device.h"
#include "graphics/sprite_batch.h"

namespace {

int BltDirectDraw(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, int sw, int sh,
                  DWORD dwFlags, bool fast)
{
    if (!lpDst || !lpSrc || !lpDst->lpDDraw || !lpSrc->lpDDraw || !lpDst->lpDDraw->lpDDS || !lpSrc->lpDDraw->lpDDS) return 0;
    if (!DDClipRect(lpDst, &x, &y, &w, &h, lpSrc, &sx, &sy, &sw, &sh)) return 0;
    RECT source{sx, sy, sx + sw, sy + sh};
    if (fast)
        return lpDst->lpDDraw->lpDDS->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y), lpSrc->lpDDraw->lpDDS, &source,
                                              dwFlags | DDBLTFAST_WAIT);
    RECT dest{x, y, x + w, y + h};
    return lpDst->lpDDraw->lpDDS->Blt(&dest, lpSrc->lpDDraw->lpDDS, &source, DDBLT_WAIT | (dwFlags == 1 ? DDBLT_KEYSRC : 0),
                                      nullptr);
}

int BltDirect3D(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, int sw, int sh,
                DWORD dwFlags)
{
    DDMirrorSourceRect(lpSrc, &sx, &sy, &sw, &sh);
    if (!lpDst || !lpSrc) return 0;
    DDSURFACEDATA* named = lpSrc;
    DDResolveMirror(&lpDst);
    DDResolveMirror(&lpSrc);
    if (lpDTCon->bCopyVirBack) {
        lpDst = &g_BackBuffer;
        lpSrc = &g_VirBackBuffer;
    } else {
        DDRedirectBackBuffer(&lpDst);
        DDRedirectBackBuffer(&lpSrc);
    }
    if (!lpDst->lpDT || !lpSrc->lpDT) return 0;
    if (lpDst->lpDT->bRenderTarget && lpSrc->lpDT->nMemType != DTMEMORYTYPE_SYSTEM) {
        if (!DDClipRect(lpDst, &x, &y, &w, &h, lpSrc, &sx, &sy, &sw, &sh)) return 0;
        if (DDCollectSprite(lpDst, x, y, w, h, lpSrc, named, sx, sy, sw, sh, dwFlags)) return 1;
        return DDDrawBlitQuad(lpDst, x, y, w, h, lpSrc, sx, sy, sw, sh, dwFlags) ? 1 : 0;
    }
    return DDBltSoftware(lpDst, x, y, w, h, lpSrc, sx, sy, sw, sh, dwFlags);
}

}  // namespace

int DDBlt(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, int sw, int sh,
          DWORD dwFlags)
{
    if (lpDTCon) return BltDirect3D(lpDst, x, y, w, h, lpSrc, sx, sy, sw, sh, dwFlags);
    if (lpDDCon) return BltDirectDraw(lpDst, x, y, w, h, lpSrc, sx, sy, sw, sh, dwFlags, false);
    return 0;
}

int DDBltFast(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, DWORD dwFlags)
{
    if (lpDTCon) return BltDirect3D(lpDst, x, y, w, h, lpSrc, sx, sy, w, h, dwFlags);
    if (lpDDCon) return BltDirectDraw(lpDst, x, y, w, h, lpSrc, sx, sy, w, h, dwFlags, true);
    return 0;
}

int DDBltEx(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, int sw, int sh,
            DWORD dwFlags, const int* lpState)
{
    if (!lpDTCon || !lpState) return DDBlt(lpDst, x, y, w, h, lpSrc, sx, sy, sw, sh, dwFlags);
    DDSetDrawColor(static_cast<DWORD>(lpState[0]));
    DDSetColorOp(lpState[1]);
    const int result = DDBlt(lpDst, x, y, w, h, lpSrc, sx, sy, sw, sh, dwFlags);
    DDResetDrawColor();
    DDResetColorOp();
    return result;
}

int DDBltFastEx(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, DWORD dwFlags,
                const int* lpState)
{
    if (lpDTCon) return DDBltEx(lpDst, x, y, w, h, lpSrc, sx, sy, w, h, dwFlags, lpState);
    return DDBltFast(lpDst, x, y, w, h, lpSrc, sx, sy, dwFlags);
}
