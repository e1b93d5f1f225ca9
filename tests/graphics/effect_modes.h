#pragma once
// The display modes the per-pixel effects run in, with surfaces of random pixels and the
// pixel rules of each written out here: Direct3D 16-bit textures
// are A1R5G5B5 (opaque when p & 0xA000), its full-screen back buffer R5G6B5 (green doubled,
// no alpha bit); DirectDraw 16 bits is R5G6B5 without alpha; DirectDraw pixels equal to the
// colour key are transparent and its 32-bit pixels keep their fourth byte.
#include <cstdint>
#include <random>
#include "tests/graphics/blit_reference.h"
#include "tests/graphics/graphics_fixture.h"

namespace qbtest {

struct cEffectMode {
    const char* name;
    BOOL bDirect3D;
    int nBpp;
    int nWindowMode;
    bool bBackBuffer;  // the destination is the full-screen back buffer

    int Bytes() const { return nBpp / 8; }
    // Components red, green, blue of a source pixel in the format's own range.
    int Component(std::uint32_t p, int c) const
    {
        if (nBpp == 32) return static_cast<int>((p >> (16 - 8 * c)) & 0xFF);
        if (bDirect3D) return static_cast<int>((p >> (10 - 5 * c)) & 31);
        static const int shift[3] = {11, 5, 0}, max[3] = {31, 63, 31};
        return static_cast<int>((p >> shift[c]) & static_cast<std::uint32_t>(max[c]));
    }
    int Maximum(int c) const { return nBpp == 32 ? 255 : (bDirect3D || c != 1 ? 31 : 63); }
    // A computed colour as the destination stores it over `under`.
    std::uint32_t Store(int r, int g, int b, std::uint32_t under) const
    {
        if (nBpp == 32) {
            const std::uint32_t rgb = static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b);
            return bDirect3D ? 0xFF000000u | rgb : (under & 0xFF000000u) | rgb;
        }
        if (bBackBuffer) return static_cast<std::uint32_t>(r) << 11 | static_cast<std::uint32_t>(g * 2) << 5 | static_cast<std::uint32_t>(b);
        if (bDirect3D) return 0x8000u | static_cast<std::uint32_t>(r) << 10 | static_cast<std::uint32_t>(g) << 5 | static_cast<std::uint32_t>(b);
        return static_cast<std::uint32_t>(r) << 11 | static_cast<std::uint32_t>(g) << 5 | static_cast<std::uint32_t>(b);
    }
    // A source pixel copied as it is into the destination.
    std::uint32_t Copy(std::uint32_t p) const
    {
        return bBackBuffer ? Store(Component(p, 0), Component(p, 1), Component(p, 2), 0) : p;
    }
    bool Transparent(std::uint32_t p, std::uint32_t key) const
    {
        if (!bDirect3D) return p == key;
        return nBpp == 16 ? (p & 0xA000) == 0 : (p >> 24) == 0;
    }
    // The key value the tests give DirectDraw.
    std::uint32_t Key() const { return nBpp == 8 ? 9u : nBpp == 16 ? 0xF81Fu : 0xFF00FFu; }
};

inline const cEffectMode kEffectModes[] = {
    {"Direct3D 32", TRUE, 32, 1, false},        {"Direct3D 16", TRUE, 16, 1, false},
    {"Direct3D 16 full-screen back buffer", TRUE, 16, 0, true},
    {"DirectDraw 32", FALSE, 32, 0, false},     {"DirectDraw 16", FALSE, 16, 0, false},
    {"DirectDraw 8", FALSE, 8, 0, false},
};

// Random pixels of the mode, about one in `transparentEvery` transparent.
inline cImage RandomImage(const cEffectMode& mode, int w, int h, std::mt19937& random, int transparentEvery = 5)
{
    cImage image{w, h, {}};
    for (int i = 0; i < w * h; ++i) {
        std::uint32_t p = random();
        const bool transparent = static_cast<int>(random() % static_cast<unsigned>(transparentEvery)) == 0;
        if (mode.nBpp == 8) p &= 0xFF;
        else if (mode.nBpp == 16) p &= 0xFFFF;
        else if (mode.bDirect3D) p = (p & 0xFFFFFF) | 0xFF000000u;
        else p &= 0xFFFFFF;
        if (transparent) {
            if (!mode.bDirect3D) p = mode.Key();
            else if (mode.nBpp == 16) p &= ~0xA000u;
            else p &= 0xFFFFFF;
        } else if (!mode.bDirect3D && p == mode.Key()) {
            p ^= 1;
        } else if (mode.bDirect3D && mode.nBpp == 16 && (p & 0xA000) == 0) {
            p |= 0x8000;
        }
        image.px.push_back(p);
    }
    return image;
}

// A source and a destination of the mode (the destination the back buffer where the mode
// says so), both drawn by the pixel copy, with the mode's colour key set.
class cEffectSurfaces {
public:
    bool Make(const cEffectMode& mode, int srcW, int srcH, int dstW, int dstH)
    {
        ClearSurfaceData(&m_Src);
        ClearSurfaceData(&m_Dst);
        if (!mode.bDirect3D) g_dwColorKey = mode.Key();
        if (!DDCreateSurface(&m_Src, srcW, srcH, TRUE, 1, DTMEMORYTYPE_SYSTEM, nullptr, FALSE)) return false;
        if (mode.bBackBuffer) return true;
        return DDCreateSurface(&m_Dst, dstW, dstH, FALSE, 1, DTMEMORYTYPE_SYSTEM, nullptr, FALSE);
    }
    ~cEffectSurfaces()
    {
        DDReleaseSurface(&m_Src);
        DDReleaseSurface(&m_Dst);
    }
    DDSURFACEDATA* Dst(const cEffectMode& mode) { return mode.bBackBuffer ? &g_BackBuffer : &m_Dst; }
    DDSURFACEDATA m_Src{}, m_Dst{};
};

}  // namespace qbtest
