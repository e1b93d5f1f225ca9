#include "graphics/device.h"

#include <cstring>

BOOL g_bDirect3D = FALSE;
HWND g_hWndDD = nullptr;
int g_nScreenWidth = 0, g_nScreenHeight = 0;
int g_nBpp = 0;
int g_nBytesPerPixel = 0;
int g_nWindowMode = 1;
BOOL g_bVSync = FALSE;
int g_nRefreshRate = 0;
BOOL g_bUseRefreshRate = FALSE;
DDSURFACEDATA* g_lpSurfaces = nullptr;
SURFACEINFO* g_lpSurfaceInfo = nullptr;
int g_nSurfaces = 0;
BOOL g_bDDInit = FALSE;
IDirect3D9* g_lpD3D = nullptr;
IDirect3DDevice9* g_lpDevice = nullptr;
IDirectDraw7* g_lpDD = nullptr;
IDirectDrawPalette* g_lpDDPalette = nullptr;
IDirectDrawClipper* g_lpDDClipper = nullptr;
cSharedRect g_rcClient;
int g_nDesktopBpp = 0;
DWORD g_dwColorKey = 0;
int g_PixelFormat[8] = {};
int g_BackBufferFormat[8] = {};

DTCONTEXT* lpDTCon = nullptr;
DDCONTEXT* lpDDCon = nullptr;

DDSURFACEDATA g_BackBuffer = {};
DDSURFACEDATA g_VirBackBuffer = {};
DDSURFACEDATA g_WorkSD = {};
DDSURFACEDATA g_Primary = {};
DDSURFACEDATA g_DDWork = {};

void ClearSurfaceData(DDSURFACEDATA* lpSD)
{
    if (lpSD) std::memset(lpSD, 0, sizeof *lpSD);
}

void DDSURFACEDATA::AllocDevicePart()
{
    // Plain records that are cleared with memset hold their parts by plain pointers.
    if (g_bDirect3D && !lpDT) lpDT = new DTSURFACEDATA{};
    if (!g_bDirect3D && !lpDDraw) lpDDraw = new DDRAWSURFACEDATA{};
}
