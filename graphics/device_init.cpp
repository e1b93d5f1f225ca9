// DDInit and DDUninit: the Direct3D 9 and the two DirectDraw 7 set-ups and their release.
#include <algorithm>
#include <cstdio>
#include "graphics/device.h"
#include "graphics/dialog_mode.h"
#include "graphics/fill.h"
#include "graphics/sprite_batch.h"
#include "graphics/surface.h"
#include "platform/video/gdi.h"
#include "platform/os/message_box.h"
#include "platform/ui/window.h"
#include "shell/log.h"
#include "shell/system_report.h"

namespace {

constexpr int kPixelFormat16[8] = {10, 5, 0, 15, 31, 31, 31, 1};      // A1R5G5B5
constexpr int kPixelFormat32[8] = {16, 8, 0, 24, 255, 255, 255, 255};  // A8R8G8B8
constexpr int kBackBufferFull16[8] = {11, 5, 0, 16, 31, 63, 31, 0};    // R5G6B5

const char* FormatName(D3DFORMAT format)
{
    switch (format) {
    case D3DFMT_X8R8G8B8: return "X8R8G8B8";
    case D3DFMT_R5G6B5: return "R5G6B5";
    case D3DFMT_A1R5G5B5: return "A1R5G5B5";
    default: return "";
    }
}

void CopyFormat(int* to, const int* from) { std::copy(from, from + 8, to); }

void SetDefaultRenderStatesOnDevice()
{
    g_lpDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    g_lpDevice->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    g_lpDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    g_lpDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    g_lpDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    g_lpDevice->SetRenderState(D3DRS_COLORVERTEX, TRUE);
    g_lpDevice->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1);
    for (DWORD sampler = 0; sampler < 2; ++sampler) {
        g_lpDevice->SetSamplerState(sampler, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
        g_lpDevice->SetSamplerState(sampler, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
        g_lpDevice->SetSamplerState(sampler, D3DSAMP_MINFILTER, D3DTEXF_POINT);
        g_lpDevice->SetSamplerState(sampler, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    }
    DDResetDrawColor();
    DDResetColorOp();
    DDResetAlphaOp();
}

bool DDInitD3D9(HWND hWnd, int nWidth, int nHeight, int nBpp, int nBackBuffers)
{
    (void)nWidth, (void)nHeight, (void)nBackBuffers;
    const int ddiVersion = GetDDIVersion();
    if (ddiVersion < 9) {
        ReportLogEcho("ビデオカードのドライバがDirectX9をサポートしていません！ %d", ddiVersion);
        return false;
    }
    g_lpD3D = Direct3DCreate9(D3D_SDK_VERSION);
    if (!g_lpD3D) {
        ReportLogEcho("ビデオカードがDirectX9をサポートしていません！");
        return false;
    }
    lpDTCon = new DTCONTEXT();
    D3DPRESENT_PARAMETERS& pp = lpDTCon->d3dpp;
    pp = D3DPRESENT_PARAMETERS{};
    if (g_nWindowMode == 1) {
        // The desktop keeps its own refresh rate: frames are paced by the runtime.
        pp.Windowed = TRUE;
        pp.BackBufferWidth = 0;
        pp.BackBufferHeight = 0;
        pp.FullScreen_RefreshRateInHz = 0;
    } else {
        pp.Windowed = FALSE;
        pp.BackBufferWidth = static_cast<UINT>(g_nScreenWidth);
        pp.BackBufferHeight = static_cast<UINT>(g_nScreenHeight);
        pp.FullScreen_RefreshRateInHz = 60;
    }
    pp.PresentationInterval = g_bVSync ? D3DPRESENT_INTERVAL_DEFAULT : D3DPRESENT_INTERVAL_IMMEDIATE;
    if (FAILED(g_lpD3D->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &lpDTCon->d3dCaps))) EcLog("GetDeviceCaps Err");
    const D3DCAPS9& caps = lpDTCon->d3dCaps;
    pp.SwapEffect = (caps.Caps3 & D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD) ? D3DSWAPEFFECT_DISCARD : D3DSWAPEFFECT_COPY;
    lpDTCon->bPow2 = (caps.TextureCaps & D3DPTEXTURECAPS_POW2) != 0;
    lpDTCon->bSquareOnly = (caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) != 0;
    lpDTCon->bDynamicTextures = (caps.Caps2 & D3DCAPS2_DYNAMICTEXTURES) != 0;

    if (nBpp == 16) {
        lpDTCon->fmtBackBuffer = g_nWindowMode == 1 ? D3DFMT_A1R5G5B5 : D3DFMT_R5G6B5;
        lpDTCon->fmtTexture = D3DFMT_A1R5G5B5;
        CopyFormat(g_PixelFormat, kPixelFormat16);
        CopyFormat(g_BackBufferFormat, g_nWindowMode == 1 ? kPixelFormat16 : kBackBufferFull16);
    } else if (nBpp == 32) {
        lpDTCon->fmtBackBuffer = D3DFMT_X8R8G8B8;
        lpDTCon->fmtTexture = D3DFMT_A8R8G8B8;
        CopyFormat(g_PixelFormat, kPixelFormat32);
    } else {
        return false;
    }
    pp.BackBufferFormat = lpDTCon->fmtBackBuffer;
    pp.BackBufferCount = 1;
    pp.MultiSampleType = D3DMULTISAMPLE_NONE;
    pp.hDeviceWindow = nullptr;
    pp.EnableAutoDepthStencil = FALSE;
    pp.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    lpDTCon->fmtCreated = pp.BackBufferFormat;

    if (SUCCEEDED(g_lpD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, hWnd, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp,
                                        &g_lpDevice))) {
        ReportLogEcho("Device HAL-HARD");
    } else if (SUCCEEDED(g_lpD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, hWnd,
                                               D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &g_lpDevice))) {
        ReportLogEcho("Device HAL-SOFT");
    } else {
        EcLog("CreateDevice Err");
        return false;
    }
    ReportLogEcho("%s", FormatName(lpDTCon->fmtBackBuffer));
    SetDefaultRenderStatesOnDevice();

    // The "BackBuffer" record.
    g_BackBuffer.AllocDevicePart();
    std::snprintf(g_BackBuffer.szSurfaceType, sizeof g_BackBuffer.szSurfaceType, "%s", "BackBuffer");
    g_BackBuffer.nWidth = g_BackBuffer.nTexWidth = g_nScreenWidth;
    g_BackBuffer.nHeight = g_BackBuffer.nTexHeight = g_nScreenHeight;
    g_BackBuffer.nMemType = 0;
    g_BackBuffer.lpDT->nMemType = 0;
    g_BackBuffer.lpDT->bTransmit = FALSE;
    g_BackBuffer.lpDT->bRenderTarget = TRUE;
    HRESULT hr = g_lpDevice->CreateVertexBuffer(112, D3DUSAGE_WRITEONLY, D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1,
                                                D3DPOOL_MANAGED, &g_BackBuffer.lpDT->lpVB, nullptr);
    if (FAILED(hr)) {
        ReportLogEcho("Back CreateVertexBuffer Err %x", static_cast<unsigned>(hr));
        return false;
    }
    g_lpDevice->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &g_BackBuffer.lpDT->lpSurface);
    if (g_BackBuffer.lpDT->lpSurface) g_BackBuffer.lpDT->lpSurface->GetDesc(&g_BackBuffer.lpDT->descTex);
    g_BackBuffer.lpDT->nIndex = 0;
    lpDTCon->nNextSurface = 1;
    lpDTCon->nNextFont = 0;

    // The virtual back buffer and the work surface; their results are not checked.
    DDSetVirBackBuffer(FALSE);
    lpDTCon->bCopyVirBack = FALSE;
    DDCreateSurface(&g_VirBackBuffer, g_nScreenWidth, g_nScreenHeight, FALSE, 0, 0, nullptr, FALSE);
    std::snprintf(g_VirBackBuffer.szSurfaceType, sizeof g_VirBackBuffer.szSurfaceType, "%s", "VirBackBuffer");
    DDCreateSurface(&g_WorkSD, g_nScreenWidth, g_nScreenHeight, FALSE, 0, 0, nullptr, FALSE);
    std::snprintf(g_WorkSD.szSurfaceType, sizeof g_WorkSD.szSurfaceType, "%s", "WorkSD");
    if (g_nWindowMode == 0) DDHideCursorCompletely();
    return true;
}

PALETTEENTRY MakeEntry(int red, int green, int blue, int flags)
{
    return PALETTEENTRY{static_cast<BYTE>(red), static_cast<BYTE>(green), static_cast<BYTE>(blue), static_cast<BYTE>(flags)};
}

bool AttachPrimary(IDirectDrawSurface7* surface)
{
    g_Primary.AllocDevicePart();
    g_Primary.lpDDraw->lpDDS = surface;
    return true;
}

int DDInitFullScreen(HWND hWnd, int nBackBuffers)
{
    for (DDSURFACEDATA* record : {&g_Primary, &g_BackBuffer, &g_DDWork}) {
        record->nWidth = record->nTexWidth = g_nScreenWidth;
        record->nHeight = record->nTexHeight = g_nScreenHeight;
    }
    if (FAILED(DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&g_lpDD), IID_IDirectDraw7, nullptr))) {
        ReportLogEcho("DirectDrawCreateEx Err");
        return CREATEEX_ERR;
    }
    if (FAILED(g_lpDD->SetCooperativeLevel(hWnd, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE | DDSCL_ALLOWREBOOT))) {
        ReportLogEcho("SetCooperativeLevel Err");
        return SETCOOPLEVEL_ERR;
    }
    const DWORD rate = g_bUseRefreshRate ? static_cast<DWORD>(g_nRefreshRate) : 0;
    HRESULT hr = g_lpDD->SetDisplayMode(g_nScreenWidth, g_nScreenHeight, g_nBpp, rate, 0);
    if (FAILED(hr) && rate != 0) hr = g_lpDD->SetDisplayMode(g_nScreenWidth, g_nScreenHeight, g_nBpp, 0, 0);
    if (FAILED(hr)) {
        ReportLogEcho("SetDisplayMode Err");
        return SETDISPLAYMODE_ERR;
    }
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = nBackBuffers == 1 ? 1 : 2;
    IDirectDrawSurface7* primary = nullptr;
    if (FAILED(g_lpDD->CreateSurface(&desc, &primary, nullptr))) {
        ReportLogEcho("Primary CreateSurface Err");
        return CREATESURFACE_ERR;
    }
    AttachPrimary(primary);
    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    g_BackBuffer.AllocDevicePart();
    if (FAILED(primary->GetAttachedSurface(&caps, &g_BackBuffer.lpDDraw->lpDDS))) {
        ReportLogEcho("GetAttachedSurface Err");
        return GETATTACHEDSURFACE_ERR;
    }
    if (!DDCreateSurface(&g_DDWork, g_nScreenWidth, g_nScreenHeight, FALSE, 1, 0, nullptr, FALSE)) return CREATESURFACE_ERR;
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; ++i) entries[i] = MakeEntry(i, i, i == 0 ? 255 : 0, PC_RESERVED);
    if (FAILED(g_lpDD->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &g_lpDDPalette, nullptr))) {
        ReportLogEcho("CreatePalette Err");
        return CREATEPALETTE_ERR;
    }
    if (g_nBpp == 8) {
        if (FAILED(primary->SetPalette(g_lpDDPalette))) {
            ReportLogEcho("SetPalette Err");
            return SETPALETTE_ERR;
        }
    } else {
        DDAnalysePixelFormat(g_PixelFormat);
    }
    DDHideCursorCompletely();
    return DDINIT_OK;
}

int DDInitWindow(HWND hWnd)
{
    RECT client{0, 0, g_nScreenWidth, g_nScreenHeight};
    if (!hWnd || !GetClientRect(hWnd, &client) || client.right <= 0 || client.bottom <= 0)
        client = RECT{0, 0, g_nScreenWidth, g_nScreenHeight};
    POINT topLeft{client.left, client.top}, bottomRight{client.right, client.bottom};
    if (hWnd) {
        ClientToScreen(hWnd, &topLeft);
        ClientToScreen(hWnd, &bottomRight);
    }
    g_rcClient.Store(RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y});
    const int width = client.right - client.left, height = client.bottom - client.top;
    for (DDSURFACEDATA* record : {&g_Primary, &g_BackBuffer, &g_DDWork}) {
        record->nWidth = record->nTexWidth = width;
        record->nHeight = record->nTexHeight = height;
    }
    HDC hdc = GetDC(hWnd);
    g_nDesktopBpp = GetDeviceCaps(hdc, BITSPIXEL);
    ReleaseDC(hWnd, hdc);

    if (FAILED(DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&g_lpDD), IID_IDirectDraw7, nullptr))) {
        ReportLogEcho("DirectDrawCreateEx Err");
        return CREATEEX_ERR;
    }
    if (FAILED(g_lpDD->SetCooperativeLevel(hWnd, DDSCL_NORMAL))) {
        ReportLogEcho("SetCooperativeLevel Err");
        return SETCOOPLEVEL_ERR;
    }
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    IDirectDrawSurface7* primary = nullptr;
    if (FAILED(g_lpDD->CreateSurface(&desc, &primary, nullptr))) {
        ReportLogEcho("Primary CreateSurface Err");
        return CREATESURFACE_ERR;
    }
    AttachPrimary(primary);
    if (!DDCreateSurface(&g_BackBuffer, width, height, FALSE, 0, 0, nullptr, FALSE)) return CREATESURFACE_ERR;
    if (!DDCreateSurface(&g_DDWork, width, height, FALSE, 1, 0, nullptr, FALSE)) return CREATESURFACE_ERR;
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; ++i)
        entries[i] = (i < 10 || i >= 246) ? MakeEntry(i, 0, 0, PC_EXPLICIT) : MakeEntry(i, i, 0, PC_RESERVED);
    if (FAILED(g_lpDD->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &g_lpDDPalette, nullptr))) {
        ReportLogEcho("CreatePalette Err");
        return CREATEPALETTE_ERR;
    }
    if (g_nDesktopBpp <= 8) {
        if (FAILED(primary->SetPalette(g_lpDDPalette))) {
            ReportLogEcho("SetPalette Err");
            return SETPALETTE_ERR;
        }
    } else {
        DDAnalysePixelFormat(g_PixelFormat);
    }
    if (FAILED(g_lpDD->CreateClipper(0, &g_lpDDClipper, nullptr))) {
        ReportLogEcho("CreateClipper Err");
        return CLIPPER_ERR;
    }
    if (FAILED(g_lpDDClipper->SetHWnd(0, hWnd))) {
        ReportLogEcho("SetHWnd Err");
        return SETHWND_ERR;
    }
    if (FAILED(primary->SetClipper(g_lpDDClipper))) {
        ReportLogEcho("SetClipper Err");
        return SETCLIPPER_ERR;
    }
    DDShowCursorAgain();
    return DDINIT_OK;
}

void ReleaseStandardSurfaces()
{
    for (int i = 0; g_lpSurfaces && i < g_nSurfaces; ++i) DDReleaseSurface(&g_lpSurfaces[i]);
}

}  // namespace

bool DDInit(BOOL bDirect3D, HWND hWnd, int nWidth, int nHeight, int nBpp, BOOL bVSync, int nWindowMode, int nBackBuffers,
            int nRefreshRate, BOOL bUseRefreshRate, DDSURFACEDATA* lpSurfaces, SURFACEINFO* lpSurfaceInfo, int nSurfaces,
            int nReserved)
{
    (void)nReserved;
    // A second DirectDraw set-up releases the first before it makes its own device record,
    // so that the record it then fills is the live one.
    if (!bDirect3D && g_lpDD && nWindowMode == 1) g_lpDD->RestoreDisplayMode();
    if (!bDirect3D && g_bDDInit) DDUninit();
    // What a failed set-up left behind goes first, so that nothing of it leaks or stays live.
    if (!g_bDDInit && (lpDTCon || lpDDCon || g_lpD3D || g_lpDD)) DDUninit();

    g_bDirect3D = bDirect3D;
    g_hWndDD = hWnd;
    g_nScreenWidth = nWidth;
    g_nScreenHeight = nHeight;
    g_nBpp = nBpp;
    g_nBytesPerPixel = nBpp / 8;
    g_nWindowMode = nWindowMode;
    g_bVSync = bVSync;
    g_nRefreshRate = nRefreshRate;
    g_bUseRefreshRate = bUseRefreshRate;
    g_lpSurfaces = lpSurfaces;
    g_lpSurfaceInfo = lpSurfaceInfo;
    g_nSurfaces = nSurfaces;

    if (bDirect3D) {
        if (!DDInitD3D9(hWnd, nWidth, nHeight, nBpp, nBackBuffers)) return false;
    } else {
        lpDDCon = new DDCONTEXT();
        int code;
        if (nWindowMode == 0) {
            if (hWnd) SetWindowLongA(hWnd, GWL_STYLE, static_cast<LONG>(WS_POPUP));
            code = DDInitFullScreen(hWnd, nBackBuffers);
        } else {
            code = DDInitWindow(hWnd);
        }
        if (code != DDINIT_OK) {
            DDCheckInitResult(code);
            return false;
        }
    }
    g_bDDInit = TRUE;
    return true;
}

void DDSetDefaultRenderStates()
{
    if (g_lpDevice) SetDefaultRenderStatesOnDevice();
}

void DDUninit()
{
    // A batch left open holds records of this device: it ends with it, undrawn.
    g_SpriteBatch = SPRITEBATCH{};
    g_FillBatch = FILLBATCH{};
    if (g_lpDD) {
        ReleaseStandardSurfaces();
        plat::SafeRelease(g_lpDDClipper);
        plat::SafeRelease(g_lpDDPalette);
        DDReleaseSurface(&g_BackBuffer);
        DDReleaseSurface(&g_Primary);
        DDReleaseSurface(&g_DDWork);
        if (g_lpDD->Release() > 0) MessageBoxA(nullptr, "解放漏れがあります", "DirectDraw", MB_ICONERROR);
        g_lpDD = nullptr;
    }
    delete lpDDCon;
    lpDDCon = nullptr;
    if (g_lpD3D) {
        ReleaseStandardSurfaces();
        DDReleaseSurface(&g_WorkSD);
        DDReleaseSurface(&g_VirBackBuffer);
        DDReleaseSurface(&g_BackBuffer);
        plat::SafeRelease(g_lpDevice);
        plat::SafeRelease(g_lpD3D);
    }
    // Records still listed belong to the device that is gone: a later device, whose serials
    // start again at 1, neither restores them nor loses its own records when they go.
    g_SurfaceList.clear();
    delete lpDTCon;
    lpDTCon = nullptr;
    g_bDDInit = FALSE;
}

void DDRelease() { DDUninit(); }

bool DDCheckInitResult(int nCode)
{
    static const struct { int code; const char* name; } names[] = {
        {CREATEEX_ERR, "CREATEEX_ERR"},         {SETCOOPLEVEL_ERR, "SETCOOPLEVEL_ERR"},
        {SETDISPLAYMODE_ERR, "SETDISPLAYMODE_ERR"}, {CREATESURFACE_ERR, "CREATESURFACE_ERR"},
        {GETATTACHEDSURFACE_ERR, "GETATTACHEDSURFACE_ERR"}, {CREATEPALETTE_ERR, "CREATEPALETTE_ERR"},
        {SETPALETTE_ERR, "SETPALETTE_ERR"},     {CLIPPER_ERR, "CLIPPER_ERR"},
        {SETHWND_ERR, "SETHWND_ERR"},           {SETCLIPPER_ERR, "SETCLIPPER_ERR"},
    };
    for (const auto& n : names)
        if (n.code == nCode) {
            EcLog(n.name);
            return false;
        }
    return true;
}

void DDAnalysePixelFormat(int* lpFormat)
{
    if (!lpDDCon || !g_Primary.lpDDraw || !g_Primary.lpDDraw->lpDDS) return;
    DDPIXELFORMAT pf{};
    pf.dwSize = sizeof pf;
    if (FAILED(g_Primary.lpDDraw->lpDDS->GetPixelFormat(&pf))) return;
    const DWORD masks[3] = {pf.dwRBitMask, pf.dwGBitMask, pf.dwBBitMask};
    for (int i = 0; i < 3; ++i) {
        int shift = 0;
        while (shift < static_cast<int>(pf.dwRGBBitCount) && !(masks[i] & (1u << shift))) ++shift;
        lpFormat[PF_SHIFT_R + i] = shift;
        lpFormat[PF_MAX_R + i] = shift < 32 ? static_cast<int>(masks[i] >> shift) : 0;
    }
}

WORD DDPalToRGB16(const BYTE* lpEntry)
{
    if (lpDTCon) {
        EcLog("DDPalToRGB16はDirect3Dでは未対応");
        return 0;
    }
    const int* f = g_PixelFormat;
    return static_cast<WORD>(((lpEntry[2] & f[PF_MAX_B]) << f[PF_SHIFT_B]) | ((lpEntry[1] & f[PF_MAX_G]) << f[PF_SHIFT_G]) |
                             ((lpEntry[0] & f[PF_MAX_R]) << f[PF_SHIFT_R]));
}
