#pragma once
// DirectDraw 7 as the graphics layer uses it: our own software surfaces in the display's
// format (8-bit palette indices, R5G6B5 or X8R8G8B8), source colour keys, colour fills,
// plain and stretched blits, a 256-entry palette, flip chains and a clipper. What reaches
// the primary surface (a flip, or a blit in a window) goes to the presenter.
#include <memory>
#include "platform/video/d3d9_base.h"

#ifndef QB_GUID_DEFINED
#define QB_GUID_DEFINED
struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};
#endif
using REFIID = const GUID&;
extern const GUID IID_IDirectDraw7;

constexpr HRESULT DD_OK = 0;
constexpr HRESULT DDERR_GENERIC = E_FAIL;
constexpr HRESULT DDERR_INVALIDPARAMS = E_INVALIDARG;
constexpr HRESULT DDERR_INVALIDRECT = static_cast<HRESULT>(0x88760096u);
constexpr HRESULT DDERR_NOTFOUND = static_cast<HRESULT>(0x887600FFu);
constexpr HRESULT DDERR_OUTOFVIDEOMEMORY = static_cast<HRESULT>(0x8876017Cu);
constexpr HRESULT DDERR_SURFACEBUSY = static_cast<HRESULT>(0x887601AEu);
constexpr HRESULT DDERR_SURFACELOST = static_cast<HRESULT>(0x887601C2u);
constexpr HRESULT DDERR_UNSUPPORTEDMODE = static_cast<HRESULT>(0x8876024Eu);
constexpr HRESULT DDERR_NOEXCLUSIVEMODE = static_cast<HRESULT>(0x887600E1u);

constexpr DWORD DDSCL_FULLSCREEN = 0x1;
constexpr DWORD DDSCL_ALLOWREBOOT = 0x2;
constexpr DWORD DDSCL_NORMAL = 0x8;
constexpr DWORD DDSCL_EXCLUSIVE = 0x10;

constexpr DWORD DDSD_CAPS = 0x1;
constexpr DWORD DDSD_HEIGHT = 0x2;
constexpr DWORD DDSD_WIDTH = 0x4;
constexpr DWORD DDSD_PITCH = 0x8;
constexpr DWORD DDSD_BACKBUFFERCOUNT = 0x20;
constexpr DWORD DDSD_LPSURFACE = 0x800;
constexpr DWORD DDSD_PIXELFORMAT = 0x1000;

constexpr DWORD DDSCAPS_BACKBUFFER = 0x4;
constexpr DWORD DDSCAPS_COMPLEX = 0x8;
constexpr DWORD DDSCAPS_FLIP = 0x10;
constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x40;
constexpr DWORD DDSCAPS_PRIMARYSURFACE = 0x200;
constexpr DWORD DDSCAPS_SYSTEMMEMORY = 0x800;
constexpr DWORD DDSCAPS_VIDEOMEMORY = 0x4000;

constexpr DWORD DDPF_PALETTEINDEXED8 = 0x20;
constexpr DWORD DDPF_RGB = 0x40;

constexpr DWORD DDCKEY_SRCBLT = 0x8;
constexpr DWORD DDLOCK_WAIT = 0x1;
constexpr DWORD DDBLT_COLORFILL = 0x400;
constexpr DWORD DDBLT_KEYSRC = 0x8000;
constexpr DWORD DDBLT_WAIT = 0x01000000;
constexpr DWORD DDBLTFAST_SRCCOLORKEY = 0x1;
constexpr DWORD DDBLTFAST_WAIT = 0x10;
constexpr DWORD DDFLIP_WAIT = 0x1;
constexpr DWORD DDWAITVB_BLOCKBEGIN = 0x1;
constexpr DWORD DDPCAPS_8BIT = 0x4;
constexpr DWORD DDPCAPS_ALLOW256 = 0x40;

constexpr BYTE PC_RESERVED = 0x1;
constexpr BYTE PC_EXPLICIT = 0x2;

struct PALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
};

struct DDCOLORKEY {
    DWORD dwColorSpaceLowValue;
    DWORD dwColorSpaceHighValue;
};

struct DDPIXELFORMAT {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwFourCC;
    DWORD dwRGBBitCount;
    DWORD dwRBitMask;
    DWORD dwGBitMask;
    DWORD dwBBitMask;
    DWORD dwRGBAlphaBitMask;
};

struct DDSCAPS2 {
    DWORD dwCaps;
    DWORD dwCaps2;
    DWORD dwCaps3;
    DWORD dwCaps4;
};

struct DDSURFACEDESC2 {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwHeight;
    DWORD dwWidth;
    LONG lPitch;
    DWORD dwBackBufferCount;
    void* lpSurface;
    DDCOLORKEY ddckCKSrcBlt;
    DDPIXELFORMAT ddpfPixelFormat;
    DDSCAPS2 ddsCaps;
};

struct DDBLTFX {
    DWORD dwSize;
    DWORD dwFillColor;
};

namespace plat {
struct cDDrawState;
}
class IDirectDraw7;

class IDirectDrawPalette : public IUnknown {
public:
    HRESULT SetEntries(DWORD flags, DWORD start, DWORD count, const PALETTEENTRY* entries);
    HRESULT GetEntries(DWORD flags, DWORD start, DWORD count, PALETTEENTRY* entries);
    PALETTEENTRY m_Entries[256] = {};
    // Set once the palette is the primary surface's: its changes then reach the shown frame.
    bool m_bDisplayed = false;
};

class IDirectDrawClipper : public IUnknown {
public:
    HRESULT SetHWnd(DWORD flags, HWND hWnd);
    HWND m_hWnd = nullptr;
};

class IDirectDrawSurface7 : public IUnknown {
public:
    HRESULT GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** surface);
    HRESULT SetColorKey(DWORD flags, DDCOLORKEY* key);
    HRESULT Lock(RECT* rect, DDSURFACEDESC2* desc, DWORD flags, HANDLE event);
    HRESULT Unlock(RECT* rect);
    HRESULT IsLost();
    HRESULT Restore();
    HRESULT SetPalette(IDirectDrawPalette* palette);
    HRESULT SetClipper(IDirectDrawClipper* clipper);
    HRESULT GetPixelFormat(DDPIXELFORMAT* format);
    HRESULT GetSurfaceDesc(DDSURFACEDESC2* desc);
    HRESULT Blt(RECT* destRect, IDirectDrawSurface7* source, RECT* sourceRect, DWORD flags, DDBLTFX* fx);
    HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface7* source, RECT* sourceRect, DWORD flags);
    HRESULT Flip(IDirectDrawSurface7* target, DWORD flags);
    // A GDI context of the surface's pixels (text); an 8-bit surface takes the display palette.
    HRESULT GetDC(void** hdc);
    HRESULT ReleaseDC(void* hdc);

    // Internals of our device.
    IDirectDrawSurface7(std::shared_ptr<plat::cDDrawState> owner, std::shared_ptr<plat::cPixelStore> store, DWORD caps);
    ~IDirectDrawSurface7() override;
    void Present();
    std::shared_ptr<plat::cDDrawState> m_Owner;
    std::shared_ptr<plat::cPixelStore> m_Store;
    DWORD m_dwCaps;
    bool m_bKeyed = false;
    DWORD m_dwColorKey = 0;
    bool m_bLocked = false;
    bool m_bLost = false;
    IDirectDrawPalette* m_lpPalette = nullptr;
    IDirectDrawClipper* m_lpClipper = nullptr;
    IDirectDrawSurface7* m_lpNext = nullptr;  // next buffer of a flip chain (owned by the primary)
    IDirectDraw7* m_lpDirectDraw = nullptr;   // the object that made it, referenced while it lives
    bool m_bChainMember = false;              // a back buffer of a flip chain, owned by its primary
};

class IDirectDraw7 : public IUnknown {
public:
    HRESULT SetCooperativeLevel(HWND hWnd, DWORD flags);
    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bpp, DWORD refreshRate, DWORD flags);
    HRESULT RestoreDisplayMode();
    HRESULT CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface7** surface, IUnknown* outer);
    HRESULT CreatePalette(DWORD flags, PALETTEENTRY* entries, IDirectDrawPalette** palette, IUnknown* outer);
    HRESULT CreateClipper(DWORD flags, IDirectDrawClipper** clipper, IUnknown* outer);
    HRESULT FlipToGDISurface();
    // Returns at once: frames are paced by the runtime, never by blocking on the vertical blank.
    HRESULT WaitForVerticalBlank(DWORD flags, HANDLE event);
    // A fixed video memory (the limit set by tests when there is one) less what the video
    // surfaces of this object take.
    HRESULT GetAvailableVidMem(DDSCAPS2* caps, DWORD* total, DWORD* free);
    // The refresh rate of the display that shows the main window; 60 when it is unknown.
    HRESULT GetMonitorFrequency(DWORD* frequency);

    // Internals of our device.
    IDirectDraw7();
    ~IDirectDraw7() override;
    std::shared_ptr<plat::cDDrawState> m_State;
};

HRESULT DirectDrawCreateEx(GUID* driver, void** directDraw, REFIID iid, IUnknown* outer);

namespace plat {

// Every surface in video memory (the primary and its flip chain included) of the live
// DirectDraw object is lost until restored; restoring leaves its pixels cleared to 0.
void SimulateDDrawSurfaceLoss();

// Video memory for DirectDraw surfaces in bytes; creations past it fail with
// DDERR_OUTOFVIDEOMEMORY. 0: no limit.
void SetDDrawVideoMemoryLimit(std::size_t bytes);

// Refresh rates that SetDisplayMode accepts besides 0 (the driver's default); tests may
// refuse 60 to reach the retry without a rate.
void SetDDrawRefreshRateAccepted(bool accepted);

}  // namespace plat
