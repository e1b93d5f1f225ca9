// The per-draw state, the virtual back buffer, scenes and render targets, and DDLock.
#include <cstring>
#include "graphics/blit.h"
#include "graphics/device.h"
#include "shell/log.h"

void DDSetDrawColor(DWORD dwARGB)
{
    if (lpDTCon) lpDTCon->dwDrawColor = dwARGB;
}
void DDResetDrawColor() { DDSetDrawColor(0xFFFFFFFF); }
void DDSetColorOp(int nOp)
{
    if (lpDTCon) lpDTCon->nColorOp = nOp;
}
void DDResetColorOp() { DDSetColorOp(D3DTOP_MODULATE); }
void DDSetAlphaOp(int nOp)
{
    if (lpDTCon) lpDTCon->nAlphaOp = nOp;
}
void DDResetAlphaOp() { DDSetAlphaOp(D3DTOP_SELECTARG1); }

void DDSetVirBackBuffer(BOOL bOn)
{
    if (!lpDTCon) return;
    if (lpDTCon->bVirBackBuffer && !bOn && g_VirBackBuffer.lpDT && g_VirBackBuffer.lpDT->lpSurface)
        DDCopyVirBackBuffer(&g_BackBuffer, &g_VirBackBuffer);
    lpDTCon->bVirBackBuffer = bOn;
    lpDTCon->lpDefaultTarget = bOn ? &g_BackBuffer : &g_VirBackBuffer;
    DDSURFACEDATA* target = lpDTCon->lpDefaultTarget;
    if (g_lpDevice && target->lpDT && target->lpDT->lpSurface) g_lpDevice->SetRenderTarget(0, target->lpDT->lpSurface);
}

int DDRedirectBackBuffer(DDSURFACEDATA** lplpSD)
{
    if (!lpDTCon || !lplpSD || !lpDTCon->bVirBackBuffer || *lplpSD != &g_BackBuffer) return 0;
    *lplpSD = &g_VirBackBuffer;
    return 1;
}

void DDCopyVirBackBuffer(DDSURFACEDATA* lpBack, DDSURFACEDATA* lpVir)
{
    if (!lpDTCon || !lpBack || !lpVir) return;
    lpDTCon->bCopyVirBack = TRUE;
    DDSetAlphaOp(D3DTOP_DISABLE);
    DDBltFast(lpBack, 0, 0, lpVir->nWidth, lpVir->nHeight, lpVir, 0, 0, 0);
    DDResetAlphaOp();
    lpDTCon->bCopyVirBack = FALSE;
}

void DDResolveMirror(DDSURFACEDATA** lplpSD)
{
    if (lpDTCon && lplpSD && *lplpSD && (*lplpSD)->lpMirrorSD) *lplpSD = (*lplpSD)->lpMirrorSD;
}

int DDBeginScene()
{
    if (!lpDTCon || !g_lpDevice) return 0;
    if (lpDTCon->bInScene) return 1;
    HRESULT hr = g_lpDevice->BeginScene();
    if (FAILED(hr)) {
        ReportLogEcho("BeginScene Err %x", static_cast<unsigned>(hr));
        return 0;
    }
    lpDTCon->bInScene = TRUE;
    return 1;
}

void DDEndScene()
{
    if (!lpDTCon || !g_lpDevice || !lpDTCon->bInScene) return;
    g_lpDevice->EndScene();
    lpDTCon->bInScene = FALSE;
}

int DDSetRenderTarget(int, DDSURFACEDATA* lpSD)
{
    if (!g_lpDevice || !lpSD || !lpSD->lpDT || !lpSD->lpDT->bRenderTarget) return 0;
    HRESULT hr = g_lpDevice->SetRenderTarget(0, lpSD->lpDT->lpSurface);
    if (FAILED(hr)) {
        ReportLogEcho("SetRenderTarget Err %x (%s)", static_cast<unsigned>(hr), lpSD->szFileName);
        return 0;
    }
    return 1;
}

bool DDLock(DDSURFACEDATA* lpSD, DDSURFACEDESC2* lpDesc, BYTE** lplpBits, int nBpp)
{
    if (lpDTCon) {
        // Nothing is locked under Direct3D: say so instead of reporting success.
        EcLog("D3DではDDLockは未対応");
        return false;
    }
    if (!lpSD || !lpSD->lpDDraw || !lpSD->lpDDraw->lpDDS || !lpDesc) return false;
    std::memset(lpDesc, 0, sizeof *lpDesc);
    lpDesc->dwSize = 124;
    if (FAILED(lpSD->lpDDraw->lpDDS->Lock(nullptr, lpDesc, DDLOCK_WAIT, nullptr))) return false;
    if (lplpBits && (nBpp == 8 || nBpp == 16 || nBpp == 24 || nBpp == 32)) *lplpBits = static_cast<BYTE*>(lpDesc->lpSurface);
    return true;
}
