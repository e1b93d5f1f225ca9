#include "platform/video/ddraw.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <SDL2/SDL.h>
#include "platform/video/d3d9_faults.h"
#include "platform/video/gdi.h"
#include "platform/video/gdi_font.h"
#include "platform/os/messages.h"
#include "platform/video/presenter.h"
#include "platform/ui/sdl_window.h"
#include "platform/ui/window.h"

const GUID IID_IDirectDraw7 = {0x15e65ec0, 0x3b9c, 0x11d2, {0xb9, 0x2f, 0x00, 0x60, 0x97, 0x97, 0xea, 0x5b}};

namespace plat {

struct cDDrawState {
    // The DirectDraw object while it lives: every surface it made holds a reference to it, so
    // that releasing it while surfaces remain reports a count above 0.
    IDirectDraw7* lpObject = nullptr;
    HWND hWnd = nullptr;
    DWORD dwCoopFlags = 0;
    bool bFullScreen = false;
    int nDisplayWidth = 0, nDisplayHeight = 0, nDisplayBpp = 0;
    std::size_t videoBytes = 0;
    std::vector<IDirectDrawSurface7*> surfaces;
};

namespace {

std::mutex s_DirectDrawLock;
std::weak_ptr<cDDrawState> s_LiveDirectDraw;
std::size_t s_DirectDrawVideoMemoryLimit = 0;
bool s_bRefreshRateAccepted = true;

// The video memory a DirectDraw object reports when no test has set a limit.
constexpr std::size_t kReportedVideoMemory = std::size_t(256) << 20;
constexpr DWORD kUnknownRefreshRate = 60;

// The current refresh rate of the display that shows the main window (the first display
// before there is a window); 0 when SDL video is not running or cannot tell.
int DisplayRefreshRate()
{
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return 0;
    int rate = 0;
    RunOnWindowThread([&rate] {
        SDL_Window* window = MainSdlWindow();
        const int display = window ? std::max(SDL_GetWindowDisplayIndex(window), 0) : 0;
        SDL_DisplayMode mode{};
        if (SDL_GetCurrentDisplayMode(display, &mode) == 0) rate = mode.refresh_rate;
    });
    return rate;
}

D3DFORMAT FormatForDepth(int bpp)
{
    switch (bpp) {
    case 8: return D3DFMT_P8;
    case 16: return D3DFMT_R5G6B5;
    default: return D3DFMT_X8R8G8B8;
    }
}

D3DFORMAT DisplayFormat(const cDDrawState& s)
{
    return FormatForDepth(s.bFullScreen ? s.nDisplayBpp : DesktopBitsPerPixel());
}

bool InVideoMemory(const IDirectDrawSurface7& s)
{
    return !(s.m_dwCaps & DDSCAPS_SYSTEMMEMORY);
}

void FillPixelFormat(D3DFORMAT format, DDPIXELFORMAT* pf)
{
    std::memset(pf, 0, sizeof *pf);
    pf->dwSize = sizeof *pf;
    switch (format) {
    case D3DFMT_P8:
        pf->dwFlags = DDPF_PALETTEINDEXED8 | DDPF_RGB;
        pf->dwRGBBitCount = 8;
        break;
    case D3DFMT_R5G6B5:
        pf->dwFlags = DDPF_RGB;
        pf->dwRGBBitCount = 16;
        pf->dwRBitMask = 0xF800, pf->dwGBitMask = 0x07E0, pf->dwBBitMask = 0x001F;
        break;
    default:
        pf->dwFlags = DDPF_RGB;
        pf->dwRGBBitCount = 32;
        pf->dwRBitMask = 0xFF0000, pf->dwGBitMask = 0x00FF00, pf->dwBBitMask = 0x0000FF;
        break;
    }
}

// A rectangle inside a store, or false.
bool Inside(const RECT& r, const cPixelStore& store)
{
    return r.left >= 0 && r.top >= 0 && r.right <= store.nWidth && r.bottom <= store.nHeight && r.left < r.right &&
           r.top < r.bottom;
}

RECT Whole(const cPixelStore& store) { return RECT{0, 0, store.nWidth, store.nHeight}; }

// Keyed copy of one row of n pixels of type T: a pixel equal to the key is skipped.
template <class T>
void CopyKeyedRow(BYTE* to, const BYTE* from, int n, DWORD key)
{
    for (int i = 0; i < n; ++i) {
        T p;
        std::memcpy(&p, from + i * sizeof(T), sizeof(T));
        if (p != key) std::memcpy(to + i * sizeof(T), &p, sizeof(T));
    }
}

// The copy of a blit at its own size between two stores of one format (what a stage draws
// most: tiles, charas, backgrounds): whole rows at a time, without sampling or conversion.
// False when the copy is not of that kind.
bool CopyUnscaled(cPixelStore& dest, RECT d, const cPixelStore& src, RECT s, bool keyed, DWORD key, const RECT& clip)
{
    const int bpp = BytesPerPixel(dest.format);
    if (&dest == &src || dest.format != src.format || d.right - d.left != s.right - s.left ||
        d.bottom - d.top != s.bottom - s.top || bpp == 3)
        return false;
    const int x0 = std::max(d.left, clip.left), x1 = std::min(d.right, clip.right);
    if (x0 >= x1) return true;
    const int n = x1 - x0;
    const int sx0 = s.left + (x0 - d.left);
    for (int y = std::max(d.top, clip.top); y < std::min(d.bottom, clip.bottom); ++y) {
        const BYTE* from = src.Row(s.top + (y - d.top)) + sx0 * bpp;
        BYTE* to = dest.Row(y) + x0 * bpp;
        if (!keyed) std::memcpy(to, from, static_cast<std::size_t>(n) * bpp);
        else if (bpp == 1) CopyKeyedRow<std::uint8_t>(to, from, n, key);
        else if (bpp == 2) CopyKeyedRow<std::uint16_t>(to, from, n, key);
        else CopyKeyedRow<std::uint32_t>(to, from, n, key);
    }
    return true;
}

// Point-sampled copy of src rectangle s onto dest rectangle d (same or other size), skipping
// pixels equal to the key when keyed. Rectangles are inside their stores; d may be clipped
// against the destination by clip (in destination coordinates).
void Copy(cPixelStore& dest, RECT d, const cPixelStore& src, RECT s, bool keyed, DWORD key, const RECT& clip)
{
    if (CopyUnscaled(dest, d, src, s, keyed, key, clip)) return;
    const int dw = d.right - d.left, dh = d.bottom - d.top, sw = s.right - s.left, sh = s.bottom - s.top;
    const int dbpp = BytesPerPixel(dest.format), sbpp = BytesPerPixel(src.format);
    const bool convert = dest.format != src.format;
    for (int y = std::max(d.top, clip.top); y < std::min(d.bottom, clip.bottom); ++y) {
        const int sy = s.top + static_cast<int>(static_cast<std::int64_t>(y - d.top) * sh / dh);
        const BYTE* srow = src.Row(sy);
        BYTE* drow = dest.Row(y);
        for (int x = std::max(d.left, clip.left); x < std::min(d.right, clip.right); ++x) {
            const int sx = s.left + static_cast<int>(static_cast<std::int64_t>(x - d.left) * sw / dw);
            DWORD p = ReadPixel(srow + sx * sbpp, sbpp);
            if (keyed && p == key) continue;
            if (convert) p = PackFromArgb(dest.format, UnpackToArgb(src.format, p));
            WritePixel(drow + x * dbpp, dbpp, p);
        }
    }
}

}  // namespace

void SimulateDDrawSurfaceLoss()
{
    std::lock_guard lock(s_DirectDrawLock);
    if (auto state = s_LiveDirectDraw.lock())
        for (IDirectDrawSurface7* surface : state->surfaces)
            if (InVideoMemory(*surface)) surface->m_bLost = true;
}

void SetDDrawVideoMemoryLimit(std::size_t bytes)
{
    std::lock_guard lock(s_DirectDrawLock);
    s_DirectDrawVideoMemoryLimit = bytes;
}

void SetDDrawRefreshRateAccepted(bool accepted)
{
    std::lock_guard lock(s_DirectDrawLock);
    s_bRefreshRateAccepted = accepted;
}

}  // namespace plat

using plat::cPixelStore;

// --- palette and clipper --------------------------------------------------------------

HRESULT IDirectDrawPalette::SetEntries(DWORD, DWORD start, DWORD count, const PALETTEENTRY* entries)
{
    if (!entries || start > 256 || count > 256 - start) return DDERR_INVALIDPARAMS;
    std::copy(entries, entries + count, m_Entries + start);
    if (m_bDisplayed) {
        std::uint32_t palette[256];
        for (int i = 0; i < 256; ++i)
            palette[i] = static_cast<std::uint32_t>(m_Entries[i].peRed) << 16 | m_Entries[i].peGreen << 8 | m_Entries[i].peBlue;
        plat::RepaletteLastFrame(palette);
    }
    return DD_OK;
}

HRESULT IDirectDrawPalette::GetEntries(DWORD, DWORD start, DWORD count, PALETTEENTRY* entries)
{
    if (!entries || start > 256 || count > 256 - start) return DDERR_INVALIDPARAMS;
    std::copy(m_Entries + start, m_Entries + start + count, entries);
    return DD_OK;
}

HRESULT IDirectDrawClipper::SetHWnd(DWORD, HWND hWnd)
{
    if (plat::DeviceCallFails("IDirectDrawClipper::SetHWnd")) return DDERR_GENERIC;
    m_hWnd = hWnd;
    return DD_OK;
}

// --- surfaces -------------------------------------------------------------------------

IDirectDrawSurface7::IDirectDrawSurface7(std::shared_ptr<plat::cDDrawState> owner, std::shared_ptr<cPixelStore> store,
                                         DWORD caps)
    : m_Owner(std::move(owner)), m_Store(std::move(store)), m_dwCaps(caps)
{
    std::lock_guard lock(plat::s_DirectDrawLock);
    m_Owner->surfaces.push_back(this);
    if (plat::InVideoMemory(*this)) m_Owner->videoBytes += m_Store->bytes.size();
    if (m_Owner->lpObject) {
        m_lpDirectDraw = m_Owner->lpObject;
        m_lpDirectDraw->AddRef();
    }
}

IDirectDrawSurface7::~IDirectDrawSurface7()
{
    if (m_lpPalette) m_lpPalette->Release();
    if (m_lpClipper) m_lpClipper->Release();
    // The primary owns the back buffers of its chain.
    if (m_dwCaps & DDSCAPS_PRIMARYSURFACE) {
        for (IDirectDrawSurface7* next = m_lpNext; next && next != this;) {
            IDirectDrawSurface7* after = next->m_lpNext;
            next->m_lpNext = nullptr;
            next->Release();
            next = after;
        }
    }
    {
        std::lock_guard lock(plat::s_DirectDrawLock);
        auto& list = m_Owner->surfaces;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        if (plat::InVideoMemory(*this)) m_Owner->videoBytes -= m_Store->bytes.size();
    }
    if (m_lpDirectDraw) m_lpDirectDraw->Release();
}

HRESULT IDirectDrawSurface7::GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** surface)
{
    if (!caps || !surface) return DDERR_INVALIDPARAMS;
    *surface = nullptr;
    if (!(caps->dwCaps & DDSCAPS_BACKBUFFER) || !m_lpNext || plat::DeviceCallFails("IDirectDrawSurface7::GetAttachedSurface"))
        return DDERR_NOTFOUND;
    m_lpNext->AddRef();
    *surface = m_lpNext;
    return DD_OK;
}

HRESULT IDirectDrawSurface7::SetColorKey(DWORD flags, DDCOLORKEY* key)
{
    if (!(flags & DDCKEY_SRCBLT)) return DDERR_INVALIDPARAMS;
    if (plat::DeviceCallFails("IDirectDrawSurface7::SetColorKey")) return DDERR_GENERIC;
    m_bKeyed = key != nullptr;
    m_dwColorKey = key ? key->dwColorSpaceLowValue : 0;
    return DD_OK;
}

HRESULT IDirectDrawSurface7::Lock(RECT* rect, DDSURFACEDESC2* desc, DWORD, HANDLE)
{
    if (!desc) return DDERR_INVALIDPARAMS;
    if (m_bLost) return DDERR_SURFACELOST;
    if (m_bLocked) return DDERR_SURFACEBUSY;
    if (plat::DeviceCallFails("IDirectDrawSurface7::Lock")) return DDERR_GENERIC;
    BYTE* bits = m_Store->bytes.data();
    if (rect) {
        if (!plat::Inside(*rect, *m_Store)) return DDERR_INVALIDRECT;
        bits = m_Store->Row(rect->top) + rect->left * plat::BytesPerPixel(m_Store->format);
    }
    GetSurfaceDesc(desc);
    desc->dwFlags |= DDSD_LPSURFACE;
    desc->lpSurface = bits;
    m_bLocked = true;
    return DD_OK;
}

HRESULT IDirectDrawSurface7::Unlock(RECT*)
{
    if (!m_bLocked) return DDERR_GENERIC;
    m_bLocked = false;
    return DD_OK;
}

HRESULT IDirectDrawSurface7::GetDC(void** hdc)
{
    if (!hdc) return DDERR_INVALIDPARAMS;
    if (m_bLost) return DDERR_SURFACELOST;
    if (m_bLocked) return DDERR_SURFACEBUSY;
    const IDirectDrawPalette* palette = m_lpPalette;
    if (!palette) {
        std::lock_guard lock(plat::s_DirectDrawLock);
        for (const IDirectDrawSurface7* surface : m_Owner->surfaces)
            if ((surface->m_dwCaps & DDSCAPS_PRIMARYSURFACE) && surface->m_lpPalette) palette = surface->m_lpPalette;
    }
    *hdc = plat::CreateSurfaceDC(m_Store, palette ? palette->m_Entries : nullptr);
    return DD_OK;
}

HRESULT IDirectDrawSurface7::ReleaseDC(void* hdc)
{
    plat::DeleteSurfaceDC(hdc);
    return DD_OK;
}

HRESULT IDirectDrawSurface7::IsLost() { return m_bLost ? DDERR_SURFACELOST : DD_OK; }

HRESULT IDirectDrawSurface7::Restore()
{
    if (plat::DeviceCallFails("IDirectDrawSurface7::Restore")) return DDERR_GENERIC;
    auto restore = [](IDirectDrawSurface7* s) {
        if (!s->m_bLost) return;
        s->m_bLost = false;
        std::fill(s->m_Store->bytes.begin(), s->m_Store->bytes.end(), BYTE{0});
    };
    restore(this);
    if (m_dwCaps & DDSCAPS_PRIMARYSURFACE)
        for (IDirectDrawSurface7* next = m_lpNext; next && next != this; next = next->m_lpNext) restore(next);
    return DD_OK;
}

HRESULT IDirectDrawSurface7::SetPalette(IDirectDrawPalette* palette)
{
    if (plat::DeviceCallFails("IDirectDrawSurface7::SetPalette")) return DDERR_GENERIC;
    // The palette it already holds changes nothing, and the window thread takes the display
    // palette back this way while the drawing thread presents through it.
    if (palette == m_lpPalette) return DD_OK;
    if (palette) palette->AddRef();
    if (palette && (m_dwCaps & DDSCAPS_PRIMARYSURFACE)) palette->m_bDisplayed = true;
    if (m_lpPalette) m_lpPalette->Release();
    m_lpPalette = palette;
    return DD_OK;
}

HRESULT IDirectDrawSurface7::SetClipper(IDirectDrawClipper* clipper)
{
    if (plat::DeviceCallFails("IDirectDrawSurface7::SetClipper")) return DDERR_GENERIC;
    if (clipper) clipper->AddRef();
    if (m_lpClipper) m_lpClipper->Release();
    m_lpClipper = clipper;
    return DD_OK;
}

HRESULT IDirectDrawSurface7::GetPixelFormat(DDPIXELFORMAT* format)
{
    if (!format) return DDERR_INVALIDPARAMS;
    plat::FillPixelFormat(m_Store->format, format);
    return DD_OK;
}

HRESULT IDirectDrawSurface7::GetSurfaceDesc(DDSURFACEDESC2* desc)
{
    if (!desc) return DDERR_INVALIDPARAMS;
    std::memset(desc, 0, sizeof *desc);
    desc->dwSize = sizeof *desc;
    desc->dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc->dwWidth = static_cast<DWORD>(m_Store->nWidth);
    desc->dwHeight = static_cast<DWORD>(m_Store->nHeight);
    desc->lPitch = m_Store->nPitch;
    desc->ddsCaps.dwCaps = m_dwCaps;
    plat::FillPixelFormat(m_Store->format, &desc->ddpfPixelFormat);
    return DD_OK;
}

HRESULT IDirectDrawSurface7::Blt(RECT* destRect, IDirectDrawSurface7* source, RECT* sourceRect, DWORD flags, DDBLTFX* fx)
{
    if (m_bLost || (source && source->m_bLost)) return DDERR_SURFACELOST;
    if (m_bLocked || (source && source->m_bLocked)) return DDERR_SURFACEBUSY;
    RECT d = destRect ? *destRect : plat::Whole(*m_Store);
    RECT clip = plat::Whole(*m_Store);
    if (m_lpClipper && m_lpClipper->m_hWnd) {
        // A clipped primary takes screen coordinates and clips to the window's client area.
        POINT origin{0, 0};
        ClientToScreen(m_lpClipper->m_hWnd, &origin);
        d.left -= origin.x, d.right -= origin.x, d.top -= origin.y, d.bottom -= origin.y;
    } else if (!plat::Inside(d, *m_Store)) {
        return DDERR_INVALIDRECT;
    }
    if (d.left >= d.right || d.top >= d.bottom) return DDERR_INVALIDRECT;
    if (flags & DDBLT_COLORFILL) {
        if (!fx) return DDERR_INVALIDPARAMS;
        const int x0 = std::max(d.left, clip.left), x1 = std::min(d.right, clip.right);
        const int y0 = std::max(d.top, clip.top), y1 = std::min(d.bottom, clip.bottom);
        if (x0 < x1 && y0 < y1) m_Store->Fill(x0, y0, x1, y1, fx->dwFillColor);
    } else {
        if (!source) return DDERR_INVALIDPARAMS;
        RECT s = sourceRect ? *sourceRect : plat::Whole(*source->m_Store);
        if (!plat::Inside(s, *source->m_Store)) return DDERR_INVALIDRECT;
        plat::Copy(*m_Store, d, *source->m_Store, s, (flags & DDBLT_KEYSRC) && source->m_bKeyed, source->m_dwColorKey, clip);
    }
    if (m_dwCaps & DDSCAPS_PRIMARYSURFACE) Present();
    return DD_OK;
}

HRESULT IDirectDrawSurface7::BltFast(DWORD x, DWORD y, IDirectDrawSurface7* source, RECT* sourceRect, DWORD flags)
{
    if (!source) return DDERR_INVALIDPARAMS;
    if (m_bLost || source->m_bLost) return DDERR_SURFACELOST;
    if (m_bLocked || source->m_bLocked) return DDERR_SURFACEBUSY;
    RECT s = sourceRect ? *sourceRect : plat::Whole(*source->m_Store);
    if (!plat::Inside(s, *source->m_Store)) return DDERR_INVALIDRECT;
    RECT d{static_cast<LONG>(x), static_cast<LONG>(y), static_cast<LONG>(x) + (s.right - s.left),
           static_cast<LONG>(y) + (s.bottom - s.top)};
    if (!plat::Inside(d, *m_Store)) return DDERR_INVALIDRECT;
    plat::Copy(*m_Store, d, *source->m_Store, s, (flags & DDBLTFAST_SRCCOLORKEY) && source->m_bKeyed,
               source->m_dwColorKey, plat::Whole(*m_Store));
    if (m_dwCaps & DDSCAPS_PRIMARYSURFACE) Present();
    return DD_OK;
}

HRESULT IDirectDrawSurface7::Flip(IDirectDrawSurface7*, DWORD)
{
    if (!(m_dwCaps & DDSCAPS_PRIMARYSURFACE) || !m_lpNext) return DDERR_NOTFOUND;
    if (m_bLost) return DDERR_SURFACELOST;
    // The primary shows what the first back buffer held; the buffers move one place along.
    std::shared_ptr<cPixelStore> shown = m_Store;
    IDirectDrawSurface7* last = this;
    for (IDirectDrawSurface7* next = m_lpNext; next && next != this; next = next->m_lpNext) {
        last->m_Store = next->m_Store;
        last = next;
    }
    last->m_Store = shown;
    Present();
    return DD_OK;
}

void IDirectDrawSurface7::Present()
{
    std::uint32_t palette[256] = {};
    if (m_lpPalette)
        for (int i = 0; i < 256; ++i) {
            const PALETTEENTRY& e = m_lpPalette->m_Entries[i];
            palette[i] = static_cast<std::uint32_t>(e.peRed) << 16 | e.peGreen << 8 | e.peBlue;
        }
    plat::PresentFrame(m_Store->bytes.data(), m_Store->nWidth, m_Store->nHeight, m_Store->nPitch, m_Store->format, palette);
}

// --- the DirectDraw object ------------------------------------------------------------

IDirectDraw7::IDirectDraw7() : m_State(std::make_shared<plat::cDDrawState>()) { m_State->lpObject = this; }

IDirectDraw7::~IDirectDraw7()
{
    m_State->lpObject = nullptr;
    if (m_State->bFullScreen) plat::SetPresentFullScreen(false);
}

HRESULT IDirectDraw7::SetCooperativeLevel(HWND hWnd, DWORD flags)
{
    if (plat::DeviceCallFails("IDirectDraw7::SetCooperativeLevel")) return DDERR_GENERIC;
    if ((flags & DDSCL_FULLSCREEN) && !(flags & DDSCL_EXCLUSIVE)) return DDERR_INVALIDPARAMS;
    m_State->hWnd = hWnd;
    m_State->dwCoopFlags = flags;
    return DD_OK;
}

HRESULT IDirectDraw7::SetDisplayMode(DWORD width, DWORD height, DWORD bpp, DWORD refreshRate, DWORD)
{
    if (!(m_State->dwCoopFlags & DDSCL_EXCLUSIVE)) return DDERR_NOEXCLUSIVEMODE;
    if (plat::DeviceCallFails("IDirectDraw7::SetDisplayMode")) return DDERR_UNSUPPORTEDMODE;
    {
        std::lock_guard lock(plat::s_DirectDrawLock);
        if (refreshRate != 0 && !plat::s_bRefreshRateAccepted) return DDERR_UNSUPPORTEDMODE;
    }
    if ((bpp != 8 && bpp != 16 && bpp != 32) || width == 0 || height == 0 || width > 8192 || height > 8192)
        return DDERR_UNSUPPORTEDMODE;
    m_State->bFullScreen = true;
    m_State->nDisplayWidth = static_cast<int>(width);
    m_State->nDisplayHeight = static_cast<int>(height);
    m_State->nDisplayBpp = static_cast<int>(bpp);
    plat::SetPresentFullScreen(true);
    return DD_OK;
}

HRESULT IDirectDraw7::RestoreDisplayMode()
{
    if (m_State->bFullScreen) plat::SetPresentFullScreen(false);
    m_State->bFullScreen = false;
    return DD_OK;
}

HRESULT IDirectDraw7::CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface7** surface, IUnknown*)
{
    if (!desc || !surface || !(desc->dwFlags & DDSD_CAPS)) return DDERR_INVALIDPARAMS;
    *surface = nullptr;
    auto& s = *m_State;
    const DWORD caps = desc->ddsCaps.dwCaps;
    const D3DFORMAT format = plat::DisplayFormat(s);
    if (plat::DeviceCallFails("IDirectDraw7::CreateSurface")) return DDERR_GENERIC;
    if (caps & DDSCAPS_PRIMARYSURFACE) {
        if (s.dwCoopFlags == 0 || plat::DeviceCallFails("IDirectDraw7::CreateSurface.Primary")) return DDERR_GENERIC;
        int width = s.nDisplayWidth, height = s.nDisplayHeight;
        if (!s.bFullScreen) {
            RECT client{0, 0, 640, 480};
            if (!s.hWnd || !GetClientRect(s.hWnd, &client) || client.right <= 0 || client.bottom <= 0)
                client = RECT{0, 0, 640, 480};
            width = client.right, height = client.bottom;
        }
        const bool chain = (caps & DDSCAPS_FLIP) && (caps & DDSCAPS_COMPLEX);
        if (chain && (!s.bFullScreen || !(desc->dwFlags & DDSD_BACKBUFFERCOUNT) || desc->dwBackBufferCount == 0))
            return DDERR_INVALIDPARAMS;
        auto* primary = new IDirectDrawSurface7(m_State, std::make_shared<cPixelStore>(width, height, format),
                                                DDSCAPS_PRIMARYSURFACE | DDSCAPS_VIDEOMEMORY | (caps & (DDSCAPS_FLIP | DDSCAPS_COMPLEX)));
        IDirectDrawSurface7* last = primary;
        for (DWORD i = 0; chain && i < desc->dwBackBufferCount; ++i) {
            auto* back = new IDirectDrawSurface7(m_State, std::make_shared<cPixelStore>(width, height, format),
                                                 DDSCAPS_BACKBUFFER | DDSCAPS_VIDEOMEMORY | DDSCAPS_FLIP);
            back->m_bChainMember = true;
            last->m_lpNext = back;
            last = back;
        }
        *surface = primary;
        return DD_OK;
    }
    if (!(desc->dwFlags & DDSD_WIDTH) || !(desc->dwFlags & DDSD_HEIGHT) || desc->dwWidth == 0 || desc->dwHeight == 0 ||
        desc->dwWidth > 16384 || desc->dwHeight > 16384)
        return DDERR_INVALIDPARAMS;
    const bool system = caps & DDSCAPS_SYSTEMMEMORY;
    auto store = std::make_shared<cPixelStore>(static_cast<int>(desc->dwWidth), static_cast<int>(desc->dwHeight), format);
    if (!system) {
        if (plat::DeviceCallFails("IDirectDraw7::CreateSurface.Video")) return DDERR_OUTOFVIDEOMEMORY;
        std::lock_guard lock(plat::s_DirectDrawLock);
        if (plat::s_DirectDrawVideoMemoryLimit != 0 && s.videoBytes + store->bytes.size() > plat::s_DirectDrawVideoMemoryLimit)
            return DDERR_OUTOFVIDEOMEMORY;
    }
    *surface = new IDirectDrawSurface7(m_State, std::move(store),
                                       DDSCAPS_OFFSCREENPLAIN | (system ? DDSCAPS_SYSTEMMEMORY : DDSCAPS_VIDEOMEMORY));
    return DD_OK;
}

HRESULT IDirectDraw7::CreatePalette(DWORD flags, PALETTEENTRY* entries, IDirectDrawPalette** palette, IUnknown*)
{
    if (!palette || !entries || !(flags & DDPCAPS_8BIT)) return DDERR_INVALIDPARAMS;
    *palette = nullptr;
    if (plat::DeviceCallFails("IDirectDraw7::CreatePalette")) return DDERR_GENERIC;
    auto* created = new IDirectDrawPalette();
    std::copy(entries, entries + 256, created->m_Entries);
    *palette = created;
    return DD_OK;
}

HRESULT IDirectDraw7::CreateClipper(DWORD, IDirectDrawClipper** clipper, IUnknown*)
{
    if (!clipper) return DDERR_INVALIDPARAMS;
    *clipper = nullptr;
    if (plat::DeviceCallFails("IDirectDraw7::CreateClipper")) return DDERR_GENERIC;
    *clipper = new IDirectDrawClipper();
    return DD_OK;
}

HRESULT IDirectDraw7::FlipToGDISurface()
{
    return plat::DeviceCallFails("IDirectDraw7::FlipToGDISurface") ? DDERR_GENERIC : DD_OK;
}

HRESULT IDirectDraw7::WaitForVerticalBlank(DWORD, HANDLE) { return DD_OK; }

HRESULT IDirectDraw7::GetAvailableVidMem(DDSCAPS2* caps, DWORD* total, DWORD* free)
{
    if (!caps || (!total && !free)) return DDERR_INVALIDPARAMS;
    if (plat::DeviceCallFails("IDirectDraw7::GetAvailableVidMem")) return DDERR_GENERIC;
    std::size_t capacity, used;
    {
        std::lock_guard lock(plat::s_DirectDrawLock);
        capacity = plat::s_DirectDrawVideoMemoryLimit != 0 ? plat::s_DirectDrawVideoMemoryLimit : plat::kReportedVideoMemory;
        used = m_State->videoBytes;
    }
    capacity = std::min<std::size_t>(capacity, 0xFFFFFFFFu);
    if (total) *total = static_cast<DWORD>(capacity);
    if (free) *free = static_cast<DWORD>(used < capacity ? capacity - used : 0);
    return DD_OK;
}

HRESULT IDirectDraw7::GetMonitorFrequency(DWORD* frequency)
{
    if (!frequency) return DDERR_INVALIDPARAMS;
    if (plat::DeviceCallFails("IDirectDraw7::GetMonitorFrequency")) return DDERR_GENERIC;
    const int rate = plat::DisplayRefreshRate();
    *frequency = rate > 0 ? static_cast<DWORD>(rate) : plat::kUnknownRefreshRate;
    return DD_OK;
}

HRESULT DirectDrawCreateEx(GUID*, void** directDraw, REFIID iid, IUnknown*)
{
    if (!directDraw) return DDERR_INVALIDPARAMS;
    *directDraw = nullptr;
    if (std::memcmp(&iid, &IID_IDirectDraw7, sizeof(GUID)) != 0) return DDERR_INVALIDPARAMS;
    if (plat::DeviceCallFails("DirectDrawCreateEx")) return DDERR_GENERIC;
    auto* created = new IDirectDraw7();
    {
        std::lock_guard lock(plat::s_DirectDrawLock);
        plat::s_LiveDirectDraw = created->m_State;
    }
    *directDraw = created;
    return DD_OK;
}
