// Surface records made empty or from a bitmap file, on both back ends, and their release.
#include "graphics/surface.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include "graphics/device.h"
#include "graphics/fill.h"
#include "graphics/palette.h"
#include "platform/os/messages.h"
#include "platform/video/d3dx9.h"
#include "platform/video/gdi.h"
#include "shell/error_box.h"
#include "shell/log.h"
#include "shell/shared_flags.h"

std::vector<DDSURFACEDATA*> g_SurfaceList;

namespace {

constexpr DWORD kVertexFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

void SetText(char (&field)[260], const char* text) { std::snprintf(field, sizeof field, "%s", text ? text : ""); }

// An unrecoverable texture failure: the start-up's message, then the program closes.
void TextureFailure()
{
    if (lpDTCon && !lpDTCon->strTextureError.empty()) ErrorBoxF("%s", lpDTCon->strTextureError.c_str());
    PostMessageA(g_hWnd.load(), WM_CLOSE, 0, 0);
}

void ListSurface(DDSURFACEDATA* lpSD)
{
    if (std::find(g_SurfaceList.begin(), g_SurfaceList.end(), lpSD) == g_SurfaceList.end()) g_SurfaceList.push_back(lpSD);
}

// Serial and vertex buffer of a record that owns device resources.
HRESULT MakeVertexBuffer(DDSURFACEDATA* lpSD)
{
    lpSD->lpDT->nIndex = lpDTCon->nNextSurface++;
    return g_lpDevice->CreateVertexBuffer(112, D3DUSAGE_WRITEONLY, kVertexFvf, D3DPOOL_MANAGED, &lpSD->lpDT->lpVB, nullptr);
}

// A record made again without being released first lets go of what it held, instead of
// leaking it.
void ResetDevicePointers(DTSURFACEDATA* dt)
{
    plat::SafeRelease(dt->lpSurface);
    plat::SafeRelease(dt->lpSystemSurface);
    plat::SafeRelease(dt->lpVB);
    plat::SafeRelease(dt->lpReserved);
    plat::SafeRelease(dt->lpTexture);
}

bool FetchLevel(DDSURFACEDATA* lpSD)
{
    DTSURFACEDATA* dt = lpSD->lpDT;
    plat::SafeRelease(dt->lpSurface);
    HRESULT hr = dt->lpTexture->GetSurfaceLevel(0, &dt->lpSurface);
    if (FAILED(hr)) {
        ReportLogEcho("GetSurfaceLevel Err hr = %x", static_cast<unsigned>(hr));
        return false;
    }
    dt->lpTexture->GetLevelDesc(0, &dt->descTex);
    lpSD->nTexWidth = static_cast<int>(dt->descTex.Width);
    lpSD->nTexHeight = static_cast<int>(dt->descTex.Height);
    return true;
}

bool CreateSurfaceD3D(DDSURFACEDATA* lpSD, int nWidth, int nHeight, BOOL bTransmit, int nMemType, int nDTMemType,
                      DDSURFACEDATA* lpMirrorSD, BOOL bRestore)
{
    lpSD->AllocDevicePart();
    DTSURFACEDATA* dt = lpSD->lpDT;
    if (!bRestore) {
        SetText(lpSD->szSurfaceType, "OffScreen");
        SetText(lpSD->szFileName, "E");
        dt->nMemType = nDTMemType;
        ResetDevicePointers(dt);
        dt->bTransmit = bTransmit == 1;
        if (!lpMirrorSD && FAILED(MakeVertexBuffer(lpSD))) {
            ReportLogEcho("CreateVertexBuffer Err");
            return false;
        }
    }
    if (lpMirrorSD) {
        lpSD->nWidth = lpSD->nTexWidth = nWidth;
        lpSD->nHeight = lpSD->nTexHeight = nHeight;
        lpSD->nMemType = nMemType;
        return true;
    }
    int w = nWidth, h = nHeight;
    DDAdjustTextureSize(&w, &h);
    if (!DDCheckTextureSize(w, h))
        ReportLogEcho("上記の理由でテクスチャの描画が失敗する可能性があります。(空)");
    if (dt->nMemType == DTMEMORYTYPE_VIDEO_NORT) dt->nMemType = DTMEMORYTYPE_VIDEO_RT;
    if (dt->nMemType == DTMEMORYTYPE_VIDEO_RT) {
        dt->bRenderTarget = TRUE;
        HRESULT hr = D3DXCreateTexture(g_lpDevice, w, h, 1, D3DUSAGE_RENDERTARGET, lpDTCon->fmtTexture, D3DPOOL_DEFAULT,
                                       &dt->lpTexture);
        if (hr == D3DERR_OUTOFVIDEOMEMORY) {
            ReportLogEcho("VRAM不足のためシステムメモリにテクスチャを作成します。(空)");
            dt->nMemType = DTMEMORYTYPE_SYSTEM;
        } else if (FAILED(hr)) {
            return false;
        }
    }
    if (dt->nMemType == DTMEMORYTYPE_SYSTEM && (!bRestore || !dt->lpTexture)) {
        // A system-memory texture survives a device loss and is kept when restoring.
        dt->bRenderTarget = FALSE;
        HRESULT hr = D3DXCreateTexture(g_lpDevice, w, h, 1, D3DUSAGE_DYNAMIC, lpDTCon->fmtTexture, D3DPOOL_SYSTEMMEM,
                                       &dt->lpTexture);
        if (FAILED(hr)) {
            ReportLogEcho("D3DXCreateTexture Err hr = %x", static_cast<unsigned>(hr));
            TextureFailure();
            return false;
        }
    }
    if (!FetchLevel(lpSD)) return false;
    if (dt->nMemType == DTMEMORYTYPE_VIDEO_RT && !dt->lpSystemSurface) {
        HRESULT hr = g_lpDevice->CreateOffscreenPlainSurface(dt->descTex.Width, dt->descTex.Height, dt->descTex.Format,
                                                             D3DPOOL_SYSTEMMEM, &dt->lpSystemSurface, nullptr);
        if (FAILED(hr)) {
            ReportLogEcho("CreateOffscreenPlainSurface Err hr = %x", static_cast<unsigned>(hr));
            TextureFailure();
            return false;
        }
    }
    lpSD->nWidth = nWidth;
    lpSD->nHeight = nHeight;
    if (dt->bRenderTarget) {
        g_lpDevice->SetRenderTarget(0, dt->lpSurface);
        g_lpDevice->Clear(0, nullptr, D3DCLEAR_TARGET, lpDTCon->dwTransmitBack, 1.0f, 0);
        DDSetRenderTarget(0, lpDTCon->lpDefaultTarget);
    }
    if (!bRestore) ListSurface(lpSD);
    return true;
}

bool CreateSurfaceDDraw(DDSURFACEDATA* lpSD, int nWidth, int nHeight, BOOL bTransmit, int nMemType)
{
    lpSD->AllocDevicePart();
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = static_cast<DWORD>(nWidth);
    desc.dwHeight = static_cast<DWORD>(nHeight);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | (nMemType == 1 ? DDSCAPS_SYSTEMMEMORY : 0);
    IDirectDrawSurface7*& surface = lpSD->lpDDraw->lpDDS;
    plat::SafeRelease(surface);
    if (FAILED(g_lpDD->CreateSurface(&desc, &surface, nullptr))) {
        if (nMemType == 1) {
            ReportLogEcho("CreateSurface System Err");
            return false;
        }
        desc.ddsCaps.dwCaps |= DDSCAPS_SYSTEMMEMORY;
        if (FAILED(g_lpDD->CreateSurface(&desc, &surface, nullptr))) {
            ReportLogEcho("CreateSurface Video -> System Err");
            return false;
        }
        nMemType = 1;
    }
    if (bTransmit == 1) {
        DDCOLORKEY key{g_dwColorKey, g_dwColorKey};
        if (FAILED(surface->SetColorKey(DDCKEY_SRCBLT, &key))) ReportLogEcho("SetColorKey Err");
    }
    lpSD->nWidth = lpSD->nTexWidth = nWidth;
    lpSD->nHeight = lpSD->nTexHeight = nHeight;
    lpSD->nMemType = nMemType;
    DDFillRectPal(lpSD, 0, 0, nWidth, nHeight, 0);
    return true;
}

int CreateFromFileDDraw(DDSURFACEDATA* lpSD, const char* szFile, BOOL bTransmit, int nBpp, int nMemType,
                        const void* lpPalMap, int nMirrorW, int nMirrorH)
{
    plat::cGdiObject bitmap(LoadImageA(nullptr, szFile, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!bitmap) {
        EcLog(szFile);
        return LOADIMAGE_ERR;
    }
    BITMAP bm{};
    GetObjectA(bitmap.get(), sizeof bm, &bm);
    if (!CreateSurfaceDDraw(lpSD, bm.bmWidth, bm.bmHeight, bTransmit, nMemType)) return CREATESURFACE_ERR;
    if (!CopyBitmap(lpSD, szFile, nBpp, lpPalMap, nMirrorW, nMirrorH)) return LOADIMAGE_ERR;
    lpSD->nMirrorW = nMirrorW;
    lpSD->nMirrorH = nMirrorH;
    lpSD->nWidth = lpSD->nTexWidth = bm.bmWidth;
    lpSD->nHeight = lpSD->nTexHeight = bm.bmHeight;
    SetText(lpSD->szFileName, szFile);
    lpSD->nMemType = nMemType;
    return 0;
}

HRESULT LoadTexture(DDSURFACEDATA* lpSD, const char* szFile, int w, int h, D3DCOLOR key, bool system)
{
    return D3DXCreateTextureFromFileExA(g_lpDevice, szFile, w, h, 1, system ? D3DUSAGE_DYNAMIC : 0, lpDTCon->fmtTexture,
                                        system ? D3DPOOL_SYSTEMMEM : D3DPOOL_MANAGED, D3DX_FILTER_NONE, D3DX_DEFAULT, key,
                                        nullptr, nullptr, &lpSD->lpDT->lpTexture);
}

int CreateFromFileD3D(DDSURFACEDATA* lpSD, const char* szFile, BOOL bTransmit, int nBpp, int nMemType, int nDTMemType,
                      DDSURFACEDATA* lpMirrorSD, const void* lpPalMap, int nMirrorW, int nMirrorH, BOOL bRestore)
{
    lpSD->AllocDevicePart();
    DTSURFACEDATA* dt = lpSD->lpDT;
    if (!bRestore) {
        SetText(lpSD->szSurfaceType, "OffScreenFromFile");
        SetText(lpSD->szFileName, szFile);
        dt->nMemType = nDTMemType;
        ResetDevicePointers(dt);
        dt->bTransmit = bTransmit == 1;
        if (!lpMirrorSD) {
            HRESULT hr = MakeVertexBuffer(lpSD);
            if (FAILED(hr)) {
                ReportLogEcho("CreateVertexBuffer Err %x", static_cast<unsigned>(hr));
                return hr;
            }
        }
    }
    plat::cGdiObject bitmap(LoadImageA(nullptr, szFile, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!bitmap) {
        if (szFile && *szFile) ReportLogEcho("LoadImage Err %s", szFile);
        return LOADIMAGE_ERR;
    }
    BITMAP bm{};
    GetObjectA(bitmap.get(), sizeof bm, &bm);
    bitmap.reset();
    if (lpMirrorSD) {
        lpSD->nWidth = lpSD->nTexWidth = bm.bmWidth;
        lpSD->nHeight = lpSD->nTexHeight = bm.bmHeight;
    } else {
        int w = bm.bmWidth, h = bm.bmHeight;
        DDAdjustTextureSize(&w, &h);
        if (!DDCheckTextureSize(w, h))
            ReportLogEcho("上記の理由でテクスチャの描画が失敗する可能性があります。(%s)", szFile);
        const RGBTRIPLE& rgb = nBpp == 16 ? lpDTCon->rgbTransmitFile : lpDTCon->rgbTransmit;
        const D3DCOLOR key = 0xFF000000u | static_cast<DWORD>(rgb.rgbtRed) << 16 | rgb.rgbtGreen << 8 | rgb.rgbtBlue;
        if (dt->nMemType == DTMEMORYTYPE_VIDEO_NORT) {
            EcLog("DDCreateSurfaceFromFile Err DTMEMORYTYPE_VIDEO_NORTの指定は未対応です。DTMEMORYTYPE_VIDEO_RTでテクスチャを作成します。");
            dt->nMemType = DTMEMORYTYPE_VIDEO_RT;
        }
        if (dt->nMemType == DTMEMORYTYPE_VIDEO_RT) {
            dt->bRenderTarget = FALSE;
            HRESULT hr = LoadTexture(lpSD, szFile, w, h, key, false);
            if (hr == D3DERR_OUTOFVIDEOMEMORY) {
                ReportLogEcho("VRAM不足のためシステムメモリにテクスチャを作成します。(%s)", szFile);
                dt->nMemType = DTMEMORYTYPE_SYSTEM;
            } else if (FAILED(hr)) {
                ReportLogEcho("テクスチャの作成に失敗。(%s)", szFile);
                return hr;
            }
        }
        if (dt->nMemType == DTMEMORYTYPE_SYSTEM && (!bRestore || !dt->lpTexture)) {
            dt->bRenderTarget = FALSE;
            HRESULT hr = LoadTexture(lpSD, szFile, w, h, key, true);
            if (FAILED(hr)) {
                ReportLogEcho("D3DXCreateTextureFromFileEx Err %x %s", static_cast<unsigned>(hr), szFile);
                TextureFailure();
                return hr;
            }
        }
        if (!FetchLevel(lpSD)) return E_FAIL;
        lpSD->nWidth = bm.bmWidth;
        lpSD->nHeight = bm.bmHeight;
        if (nMirrorW || nMirrorH) {
            DDSURFACEDATA temporary;
            ClearSurfaceData(&temporary);
            const int code = DDCreateSurfaceFromFile(&temporary, szFile, bTransmit, nBpp, nMemType, nDTMemType, nullptr,
                                                     lpPalMap, 0, 0, FALSE);
            const bool mirrored = code == 0 && CreateMirror(lpSD, &temporary, nMirrorW, nMirrorH);
            DDReleaseSurfaceData(&temporary);
            if (!mirrored) {
                ReportLogEcho("CreateMirror Err");
                return 1;
            }
        }
    }
    if (!bRestore && !lpMirrorSD) ListSurface(lpSD);
    lpSD->nMirrorW = nMirrorW;
    lpSD->nMirrorH = nMirrorH;
    lpSD->nMemType = nMemType;
    delete[] dt->lpPalIndexMap;
    dt->lpPalIndexMap = nullptr;
    if (lpPalMap && nBpp != 8 && !lpMirrorSD) DDBuildPalIndexMap(&dt->lpPalIndexMap, lpSD);
    return 0;
}

}  // namespace

bool DDCreateSurface(DDSURFACEDATA* lpSD, int nWidth, int nHeight, BOOL bTransmit, int nMemType, int nDTMemType,
                     DDSURFACEDATA* lpMirrorSD, BOOL bRestore)
{
    if (!lpSD || nWidth <= 0 || nHeight <= 0) return false;
    if (lpDTCon && g_lpDevice)
        return CreateSurfaceD3D(lpSD, nWidth, nHeight, bTransmit, nMemType, nDTMemType, lpMirrorSD, bRestore);
    if (lpDDCon && g_lpDD) return CreateSurfaceDDraw(lpSD, nWidth, nHeight, bTransmit, nMemType);
    return false;
}

int DDCreateSurfaceFromFile(DDSURFACEDATA* lpSD, const char* szFile, BOOL bTransmit, int nBpp, int nMemType, int nDTMemType,
                            DDSURFACEDATA* lpMirrorSD, const void* lpPalMap, int nMirrorW, int nMirrorH, BOOL bRestore)
{
    if (!lpSD || !szFile) return LOADIMAGE_ERR;
    // The name may be the record's own, which the creation writes again.
    const std::string file(szFile);
    szFile = file.c_str();
    if (lpDTCon && g_lpDevice)
        return CreateFromFileD3D(lpSD, szFile, bTransmit, nBpp, nMemType, nDTMemType, lpMirrorSD, lpPalMap, nMirrorW,
                                 nMirrorH, bRestore);
    if (lpDDCon && g_lpDD) return CreateFromFileDDraw(lpSD, szFile, bTransmit, nBpp, nMemType, lpPalMap, nMirrorW, nMirrorH);
    return CREATESURFACE_ERR;
}

bool DDCheckSurfaceResult(int nCode)
{
    switch (nCode) {
    case CREATESURFACE_ERR: EcLog("CREATESURFACE_ERR"); return false;
    case LOADIMAGE_ERR: EcLog("LOADIMAGE_ERR"); return false;
    case SETCOLORKEY_ERR: EcLog("SETCOLORKEY_ERR"); return false;
    default: break;
    }
    // A failing HRESULT from a texture or vertex-buffer creation is a failure too.
    if (nCode < 0) {
        EcLogF("CREATESURFACE_ERR %x", static_cast<unsigned>(nCode));
        return false;
    }
    return true;
}

void DDReleaseSurfaceData(DDSURFACEDATA* lpSD)
{
    if (!lpSD) return;
    if (DTSURFACEDATA* dt = lpSD->lpDT) {
        if (!lpSD->lpMirrorSD) {
            plat::SafeRelease(dt->lpTexture);
            plat::SafeRelease(dt->lpReserved);
            plat::SafeRelease(dt->lpVB);
            plat::SafeRelease(dt->lpSystemSurface);
            plat::SafeRelease(dt->lpSurface);
            const int serial = dt->nIndex;
            std::erase_if(g_SurfaceList, [lpSD, serial](DDSURFACEDATA* listed) {
                return listed == lpSD || (listed->lpDT && listed->lpDT->nIndex == serial && serial != 0);
            });
            delete[] dt->lpPalIndexMap;
        }
        delete dt;
        lpSD->lpDT = nullptr;
    }
    if (DDRAWSURFACEDATA* dd = lpSD->lpDDraw) {
        plat::SafeRelease(dd->lpDDS);
        delete[] dd->lpPalIndexMap;
        delete dd;
        lpSD->lpDDraw = nullptr;
    }
}

void DDReleaseSurface(DDSURFACEDATA* lpSD) { DDReleaseSurfaceData(lpSD); }

void DDAdjustTextureSize(int* lpW, int* lpH)
{
    if (!lpDTCon || !lpW || !lpH) return;
    auto pow2 = [](int v) {
        if (v <= 1) return 1;
        int high = 1;
        while (high * 2 <= v) high *= 2;
        return high == v ? v : high * 2;
    };
    if (lpDTCon->bPow2) {
        *lpW = pow2(*lpW);
        *lpH = pow2(*lpH);
    }
    if (lpDTCon->bSquareOnly) *lpW = *lpH = std::max(*lpW, *lpH);
}

BOOL DDCheckTextureSize(int nW, int nH)
{
    if (!lpDTCon) return TRUE;
    BOOL ok = TRUE;
    if (nW > static_cast<int>(lpDTCon->d3dCaps.MaxTextureWidth)) {
        ReportLogEcho("このビデオカードでは横幅%dを超える画像はサポートされていません！", static_cast<int>(lpDTCon->d3dCaps.MaxTextureWidth));
        ok = FALSE;
    }
    if (nH > static_cast<int>(lpDTCon->d3dCaps.MaxTextureHeight)) {
        ReportLogEcho("このビデオカードでは縦幅%dを超える画像はサポートされていません！", static_cast<int>(lpDTCon->d3dCaps.MaxTextureHeight));
        ok = FALSE;
    }
    return ok;
}
