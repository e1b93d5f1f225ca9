#pragma once
// How the per-pixel effects take pixels apart and put them together: components read with
// g_PixelFormat, 16-bit pixels written with the format's alpha bit (set under Direct3D, absent
// under DirectDraw), and the full-screen 16-bit back buffer of Direct3D with its own layout
// (red and blue at its shifts, green doubled to 6 bits, no alpha bit).
#include "graphics/device.h"

namespace effect {

inline int Component(DWORD pixel, int channel)
{
    return static_cast<int>((pixel >> g_PixelFormat[PF_SHIFT_R + channel]) & static_cast<DWORD>(g_PixelFormat[PF_MAX_R + channel]));
}
inline int Maximum(int channel) { return g_PixelFormat[PF_MAX_R + channel]; }

// The alpha bit a computed 16-bit pixel carries.
inline DWORD AlphaBit16()
{
    // DirectDraw's formats describe no alpha: its pixels never carry one.
    if (!lpDTCon) return 0;
    const int* f = g_PixelFormat;
    return (f[PF_MAX_A] & 1) && f[PF_SHIFT_A] >= 0 && f[PF_SHIFT_A] < 32 ? 1u << f[PF_SHIFT_A] : 0u;
}

inline WORD Pack16(int red, int green, int blue)
{
    const int* f = g_PixelFormat;
    return static_cast<WORD>(static_cast<DWORD>(red & f[PF_MAX_R]) << f[PF_SHIFT_R] |
                             static_cast<DWORD>(green & f[PF_MAX_G]) << f[PF_SHIFT_G] |
                             static_cast<DWORD>(blue & f[PF_MAX_B]) << f[PF_SHIFT_B] | AlphaBit16());
}

// Components in the texture format packed into the full-screen back buffer.
inline WORD PackBack16(int red, int green, int blue)
{
    const int* b = g_BackBufferFormat;
    return static_cast<WORD>(static_cast<DWORD>(red) << b[PF_SHIFT_R] | static_cast<DWORD>(green * 2) << b[PF_SHIFT_G] |
                             static_cast<DWORD>(blue) << b[PF_SHIFT_B]);
}
inline WORD ConvertBack16(DWORD pixel) { return PackBack16(Component(pixel, 0), Component(pixel, 1), Component(pixel, 2)); }

// The transparency tests of source pixels under Direct3D.
inline bool Opaque16(DWORD pixel) { return (pixel & 0xA000) != 0; }
inline bool Opaque32(DWORD pixel) { return (pixel >> 24) != 0; }

// Transparency of a source pixel as the blur and the mosaic test it: under Direct3D by the
// alpha (the 16-bit mask 0xA000), under DirectDraw by equality with the colour key.
inline bool Transparent(DWORD pixel)
{
    if (lpDTCon) return g_nBpp == 16 ? !Opaque16(pixel) : !Opaque32(pixel);
    return pixel == g_dwColorKey;
}

// A pixel of the locked depth read at a byte address.
inline DWORD Read(const BYTE* at, int bytesPerPixel)
{
    switch (bytesPerPixel) {
    case 1: return *at;
    case 2: return *reinterpret_cast<const WORD*>(at);
    default: return *reinterpret_cast<const DWORD*>(at);
    }
}

// Typed access to a locked record's rows.
template <class T>
inline T* Row(BYTE* bits, int pitch, int y)
{
    return reinterpret_cast<T*>(bits + static_cast<std::ptrdiff_t>(y) * pitch);
}

}  // namespace effect
