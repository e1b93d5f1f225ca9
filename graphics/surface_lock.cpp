#include "graphics/surface_lock.h"

#include "graphics/device.h"
#include "shell/error_box.h"
#include "shell/log.h"

BOOL cSurfaceLock::Lock(DDSURFACEDATA* lpSD)
{
    Unlock();
    if (!lpSD) return FALSE;
    if (lpDTCon) {
        DDResolveMirror(&lpSD);
        // While the virtual back buffer is copied to the back buffer, the back buffer is meant.
        if (!lpDTCon->bCopyVirBack) DDRedirectBackBuffer(&lpSD);
    }
    m_nBpp = g_nBpp;
    m_nBytesPerPixel = g_nBpp / 8;
    if (lpDTCon) {
        DTSURFACEDATA* dt = lpSD->lpDT;
        if (!dt || !dt->lpSurface || !g_lpDevice) return FALSE;
        D3DLOCKED_RECT locked{};
        if (dt->bRenderTarget && lpSD != &g_BackBuffer) {
            if (!dt->lpSystemSurface || FAILED(g_lpDevice->GetRenderTargetData(dt->lpSurface, dt->lpSystemSurface))) {
                EcLogF("%s", "FAILED( lpDevice->GetRenderTargetData(lpSD->lpDT->lpSurface,lpSD->lpDT->lpSystemSurface) )");
                return FALSE;
            }
            if (FAILED(dt->lpSystemSurface->LockRect(&locked, nullptr, 0))) {
                EcLogF("%s", "FAILED( lpSD->lpDT->lpSystemSurface->LockRect(&lock, NULL, 0) )");
                return FALSE;
            }
        } else if (FAILED(dt->lpSurface->LockRect(&locked, nullptr, 0))) {
            DebugErrorBoxF("%s", "FAILED( lpSD->lpDT->lpSurface->LockRect(&(lock), NULL, 0) )");
            return FALSE;
        }
        m_lpBits = static_cast<BYTE*>(locked.pBits);
        m_nPitch = locked.Pitch;
    } else {
        DDSURFACEDESC2 desc;
        BYTE* bits = nullptr;
        if (!DDLock(lpSD, &desc, &bits, m_nBpp)) return FALSE;
        if (!bits) {
            lpSD->lpDDraw->lpDDS->Unlock(nullptr);
            return FALSE;
        }
        m_lpBits = bits;
        m_nPitch = desc.lPitch;
    }
    m_lpSD = lpSD;
    return TRUE;
}

void cSurfaceLock::Unlock()
{
    if (!m_lpSD) return;
    DDSURFACEDATA* lpSD = m_lpSD;
    m_lpSD = nullptr;
    m_lpBits = nullptr;
    if (lpDTCon) {
        DTSURFACEDATA* dt = lpSD->lpDT;
        if (!dt) return;
        if (lpSD == &g_BackBuffer) {
            if (FAILED(dt->lpSurface->UnlockRect())) EcLog("Back :: D3D_OK != m_lpSD->lpDT->lpSurface->UnlockRect();");
        } else if (dt->bRenderTarget) {
            if (FAILED(dt->lpSystemSurface->UnlockRect())) EcLog("D3D_OK != m_lpSD->lpDT->lpSystemSurface->UnlockRect();");
            if (FAILED(g_lpDevice->UpdateSurface(dt->lpSystemSurface, nullptr, dt->lpSurface, nullptr)))
                DebugErrorBoxF("%s", "FAILED( lpDevice->UpdateSurface(m_lpSD->lpDT->lpSystemSurface, NULL, m_lpSD->lpDT->lpSurface, NULL)");
        } else if (FAILED(dt->lpSurface->UnlockRect())) {
            EcLog("D3D_OK != m_lpSD->lpDT->lpSurface->UnlockRect();");
        }
    } else if (lpSD->lpDDraw && lpSD->lpDDraw->lpDDS) {
        lpSD->lpDDraw->lpDDS->Unlock(nullptr);
    }
}

BOOL DDIsFullScreenBackBuffer(const DDSURFACEDATA* lpSD) { return lpSD == &g_BackBuffer && g_nWindowMode == 0; }
