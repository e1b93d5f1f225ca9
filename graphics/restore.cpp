#include "graphics/restore.h"

#include <atomic>
#include <cstring>
#include <vector>
#include "graphics/device.h"
#include "graphics/palette.h"
#include "graphics/surface.h"
#include "platform/ui/window.h"
#include "shell/log.h"

namespace {

std::atomic<FontsLostDevice> s_FontsLost{nullptr};
std::atomic<FontsRestore> s_FontsRestore{nullptr};

void RestoreFonts()
{
    if (const FontsRestore restore = s_FontsRestore.load()) restore();
}

bool HasFile(const DDSURFACEDATA* lpSD) { return lpSD->szFileName[0] && std::strcmp(lpSD->szFileName, "E") != 0; }

}  // namespace

void DDSetFontRestoreHooks(FontsLostDevice lost, FontsRestore restore)
{
    s_FontsLost.store(lost);
    s_FontsRestore.store(restore);
}

int DDRestoreSurface()
{
    EcLog("Restore In");
    if (!lpDTCon || !g_lpDevice) {
        EcLog("DDではDDRestoreSurfaceは未対応");
        return 1;
    }
    for (DDSURFACEDATA* sd : g_SurfaceList) {
        if (!sd->lpDT || sd->lpDT->nMemType == DTMEMORYTYPE_SYSTEM) continue;
        plat::SafeRelease(sd->lpDT->lpTexture);
        plat::SafeRelease(sd->lpDT->lpSurface);
    }
    if (const FontsLostDevice lost = s_FontsLost.load()) lost();
    if (g_BackBuffer.lpDT) plat::SafeRelease(g_BackBuffer.lpDT->lpSurface);
    // The device keeps what was last bound to it; a reset needs every such reference gone.
    g_lpDevice->SetTexture(0, nullptr);
    g_lpDevice->SetStreamSource(0, nullptr, 0, 0);
    g_lpDevice->SetIndices(nullptr);
    EcLog("a-");
    if (g_lpDevice->TestCooperativeLevel() != D3DERR_DEVICENOTRESET) {
        EcLog("復旧失敗…リセット可能な状態ではありません…");
        return 0;
    }
    EcLog("a");
    if (FAILED(g_lpDevice->Reset(&lpDTCon->d3dpp))) return 0;
    lpDTCon->bInScene = FALSE;
    DDSetDefaultRenderStates();
    if (g_BackBuffer.lpDT) {
        g_lpDevice->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &g_BackBuffer.lpDT->lpSurface);
        if (g_BackBuffer.lpDT->lpSurface) g_BackBuffer.lpDT->lpSurface->GetDesc(&g_BackBuffer.lpDT->descTex);
    }
    // Re-creating a mirrored picture lists and unlists a temporary record: walk a copy.
    const std::vector<DDSURFACEDATA*> records = g_SurfaceList;
    for (std::size_t i = 0; i < records.size(); ++i) {
        DDSURFACEDATA* sd = records[i];
        EcLogF("i = %d lpSD->szSurfaceType = %s lpSD->szFileName = %s Size = (%d,%d)", static_cast<int>(i),
               sd->szSurfaceType, sd->szFileName, sd->nWidth, sd->nHeight);
        if (!sd->lpDT) continue;
        bool ok;
        if (HasFile(sd)) {
            // A picture that had a palette-index map gets it built again rather than dropped.
            ok = DDCreateSurfaceFromFile(sd, sd->szFileName, sd->lpDT->bTransmit, g_nBpp, sd->nMemType, sd->lpDT->nMemType,
                                         sd->lpMirrorSD, sd->lpDT->lpPalIndexMap, sd->nMirrorW, sd->nMirrorH, TRUE) == 0;
        } else {
            ok = DDCreateSurface(sd, sd->nWidth, sd->nHeight, sd->lpDT->bTransmit, sd->nMemType, sd->lpDT->nMemType,
                                 sd->lpMirrorSD, TRUE);
            sd->bLost = TRUE;
        }
        if (!ok) EcLog("Err");
    }
    DDSetRenderTarget(0, lpDTCon->lpDefaultTarget);
    RestoreFonts();
    if (g_nWindowMode == 0) ShowWindow(g_hWndDD, SW_SHOWNORMAL);
    EcLog("Restore Out");
    return 1;
}

bool DDRestore()
{
    if (lpDTCon) {
        EcLog("D3DではDDRestoreは未対応");
        return true;
    }
    if (!lpDDCon || !g_Primary.lpDDraw || !g_Primary.lpDDraw->lpDDS) return true;
    IDirectDrawSurface7* primary = g_Primary.lpDDraw->lpDDS;
    if (primary->IsLost() != DDERR_SURFACELOST) return true;
    if (FAILED(primary->Restore())) return false;
    if (g_BackBuffer.lpDDraw && g_BackBuffer.lpDDraw->lpDDS && g_BackBuffer.lpDDraw->lpDDS->IsLost() == DDERR_SURFACELOST)
        g_BackBuffer.lpDDraw->lpDDS->Restore();
    for (int i = 0; g_lpSurfaces && i < g_nSurfaces; ++i) {
        DDSURFACEDATA* sd = &g_lpSurfaces[i];
        if (!sd->lpDDraw || !sd->lpDDraw->lpDDS || sd->lpDDraw->lpDDS->IsLost() != DDERR_SURFACELOST) continue;
        sd->lpDDraw->lpDDS->Restore();
        if (sd->nMemType != 0) continue;
        if (HasFile(sd)) DDReloadBitmap(sd, g_nBpp);
        else sd->bLost = TRUE;
    }
    if (g_nBpp == 8 && g_lpDDPalette) g_lpDDPalette->SetEntries(0, 0, 256, g_DisplayPalette);
    RestoreFonts();
    return true;
}
