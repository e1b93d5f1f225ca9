#pragma once
// The graphics device: the back end chosen by DDInit (Direct3D 9 or DirectDraw 7), the
// display settings, the device records, the special surfaces and the per-draw state.
#include <string>
#include "graphics/surface_data.h"
#include "shell/shared_flags.h"

// Display settings.
extern BOOL g_bDirect3D;
extern HWND g_hWndDD;
extern int g_nScreenWidth, g_nScreenHeight;
extern int g_nBpp;
extern int g_nBytesPerPixel;
extern int g_nWindowMode;  // 0 full screen, 1 window
extern BOOL g_bVSync;
extern int g_nRefreshRate;
extern BOOL g_bUseRefreshRate;
extern DDSURFACEDATA* g_lpSurfaces;
extern SURFACEINFO* g_lpSurfaceInfo;
extern int g_nSurfaces;
extern BOOL g_bDDInit;
extern IDirect3D9* g_lpD3D;
extern IDirect3DDevice9* g_lpDevice;
extern IDirectDraw7* g_lpDD;
extern IDirectDrawPalette* g_lpDDPalette;
extern IDirectDrawClipper* g_lpDDClipper;
// The client area on the screen, where DirectDraw copies its frames in a window: written by
// the window thread when the window moves, read by the game thread at every present.
extern cSharedRect g_rcClient;
extern int g_nDesktopBpp;
extern DWORD g_dwColorKey;

// Pixel-format records: shifts of red, green, blue, alpha, then their maxima.
enum { PF_SHIFT_R, PF_SHIFT_G, PF_SHIFT_B, PF_SHIFT_A, PF_MAX_R, PF_MAX_G, PF_MAX_B, PF_MAX_A };
extern int g_PixelFormat[8];
extern int g_BackBufferFormat[8];

struct RGBTRIPLE {
    BYTE rgbtBlue;
    BYTE rgbtGreen;
    BYTE rgbtRed;
};

// The Direct3D device record.
struct DTCONTEXT {
    D3DFORMAT fmtBackBuffer = D3DFMT_UNKNOWN;
    D3DFORMAT fmtTexture = D3DFMT_UNKNOWN;
    D3DPRESENT_PARAMETERS d3dpp{};
    int nAdapter = 0;
    int nDeviceType = D3DDEVTYPE_HAL;
    D3DFORMAT fmtCreated = D3DFMT_UNKNOWN;
    D3DCAPS9 d3dCaps{};
    BOOL bPow2 = FALSE;
    BOOL bSquareOnly = FALSE;
    BOOL bDynamicTextures = FALSE;
    BOOL bVirBackBuffer = FALSE;
    DDSURFACEDATA* lpDefaultTarget = nullptr;
    BOOL bCopyVirBack = FALSE;
    RGBTRIPLE rgbTransmit{};
    RGBTRIPLE rgbTransmitFile{};
    DWORD dwTransmit = 0;
    DWORD dwTransmitBack = 0;
    WORD wTransmit_16 = 0;
    WORD wTransmitBack_16 = 0;
    BOOL bInScene = FALSE;
    DWORD dwDrawColor = 0xFFFFFFFF;
    int nColorOp = D3DTOP_MODULATE;
    int nAlphaOp = D3DTOP_SELECTARG1;
    int nNextSurface = 1;
    int nNextFont = 0;
    std::string strTextureError;
};

// The DirectDraw record.
struct DDCONTEXT {
    RGBTRIPLE rgbTransmit{};
    RGBTRIPLE rgbTransmitFile{};
    int nNextFont = 0;
};

extern DTCONTEXT* lpDTCon;
extern DDCONTEXT* lpDDCon;

// Special surface records.
extern DDSURFACEDATA g_BackBuffer;
extern DDSURFACEDATA g_VirBackBuffer;
extern DDSURFACEDATA g_WorkSD;
extern DDSURFACEDATA g_Primary;
extern DDSURFACEDATA g_DDWork;

// DDInit result codes of the DirectDraw set-up.
enum {
    DDINIT_OK = 0,
    CREATEEX_ERR = 1,
    SETCOOPLEVEL_ERR = 2,
    SETDISPLAYMODE_ERR = 3,
    CREATESURFACE_ERR = 4,
    GETATTACHEDSURFACE_ERR = 5,
    CREATEPALETTE_ERR = 6,
    SETPALETTE_ERR = 7,
    LOADIMAGE_ERR = 8,
    SETCOLORKEY_ERR = 9,
    CLIPPER_ERR = 10,
    SETHWND_ERR = 11,
    SETCLIPPER_ERR = 12,
};

bool DDInit(BOOL bDirect3D, HWND hWnd, int nWidth, int nHeight, int nBpp, BOOL bVSync, int nWindowMode,
            int nBackBuffers, int nRefreshRate, BOOL bUseRefreshRate, DDSURFACEDATA* lpSurfaces,
            SURFACEINFO* lpSurfaceInfo, int nSurfaces, int nReserved);
void DDUninit();
void DDRelease();
bool DDCheckInitResult(int nCode);
void DDAnalysePixelFormat(int* lpFormat);
WORD DDPalToRGB16(const BYTE* lpEntry);

// Per-draw state (no effect under DirectDraw).
void DDSetDrawColor(DWORD dwARGB);
void DDResetDrawColor();
void DDSetColorOp(int nOp);
void DDResetColorOp();
void DDSetAlphaOp(int nOp);
void DDResetAlphaOp();

// The virtual back buffer and the pointer swaps every drawing function applies.
void DDSetVirBackBuffer(BOOL bOn);
int DDRedirectBackBuffer(DDSURFACEDATA** lplpSD);
void DDCopyVirBackBuffer(DDSURFACEDATA* lpBack, DDSURFACEDATA* lpVir);
void DDResolveMirror(DDSURFACEDATA** lplpSD);

// The device's render states of the set-up (blending, culling, sampling) and the default
// draw state; set again after a device reset.
void DDSetDefaultRenderStates();

int DDBeginScene();
void DDEndScene();
int DDSetRenderTarget(int nReserved, DDSURFACEDATA* lpSD);

// DirectDraw only: locks the record's surface; false when nothing was locked (under
// Direct3D too). The caller unlocks.
bool DDLock(DDSURFACEDATA* lpSD, DDSURFACEDESC2* lpDesc, BYTE** lplpBits, int nBpp);
