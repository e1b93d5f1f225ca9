#include "graphics/translucent.h"

#include <algorithm>
#include <cstdint>
#include "graphics/blit.h"
#include "graphics/blit_quad.h"
#include "graphics/device.h"
#include "graphics/effect_pixels.h"
#include "graphics/palette.h"
#include "graphics/surface_lock.h"

namespace {

using i64 = std::int64_t;

// The source rectangle and both records under Direct3D, as every path of these blits sees
// them: moved for a mirror record (sw, sh possibly negated), resolved and redirected.
struct cDirect3DBlit {
    DDSURFACEDATA* dst;
    DDSURFACEDATA* src;
    int sx, sy, sw, sh;

    bool Prepare(DDSURFACEDATA* lpDst, DDSURFACEDATA* lpSrc, int w, int h)
    {
        sw = w, sh = h;
        DDMirrorSourceRect(lpSrc, &sx, &sy, &sw, &sh);
        dst = lpDst, src = lpSrc;
        if (!dst || !src) return false;
        DDResolveMirror(&dst);
        DDResolveMirror(&src);
        DDRedirectBackBuffer(&dst);
        DDRedirectBackBuffer(&src);
        return dst->lpDT && src->lpDT;
    }
    bool QuadPath() const { return dst->lpDT->bRenderTarget && src->lpDT->nMemType != DTMEMORYTYPE_SYSTEM && src->lpDT->lpTexture; }
    void Quad(plat::cD3DVertex* quad, int x, int y, int w, int h, DWORD color) const
    {
        DDMakeBlitQuad(quad, x, y, w, h, src, sx, sy, sw, sh, color);
    }
};

// Visits each pixel (j, i) of the rectangle whose destination and source both lie inside
// their records: visit(destination address, source address).
template <class Visit>
void ForEachPixel(cSurfaceLock& dst, cSurfaceLock& src, int x, int y, int w, int h, int sx, int sy, Visit visit)
{
    const DDSURFACEDATA* d = dst.Locked();
    const DDSURFACEDATA* s = src.Locked();
    const i64 j0 = std::max<i64>({0, -static_cast<i64>(x), -static_cast<i64>(sx)});
    const i64 j1 = std::min<i64>({w, static_cast<i64>(d->nWidth) - x, static_cast<i64>(s->nWidth) - sx});
    const i64 i0 = std::max<i64>({0, -static_cast<i64>(y), -static_cast<i64>(sy)});
    const i64 i1 = std::min<i64>({h, static_cast<i64>(d->nHeight) - y, static_cast<i64>(s->nHeight) - sy});
    const int bpp = dst.m_nBytesPerPixel;
    for (i64 i = i0; i < i1; ++i) {
        BYTE* out = dst.PixelAddress(static_cast<int>(x + j0), static_cast<int>(y + i));
        const BYTE* in = src.PixelAddress(static_cast<int>(sx + j0), static_cast<int>(sy + i));
        for (i64 j = j0; j < j1; ++j, out += bpp, in += bpp) visit(out, in);
    }
}

inline WORD& Word(BYTE* at) { return *reinterpret_cast<WORD*>(at); }
inline WORD Word(const BYTE* at) { return *reinterpret_cast<const WORD*>(at); }
inline DWORD& Dword(BYTE* at) { return *reinterpret_cast<DWORD*>(at); }
inline DWORD Dword(const BYTE* at) { return *reinterpret_cast<const DWORD*>(at); }

// Half and half per pixel.
void MixPixels(cSurfaceLock& dst, cSurfaceLock& src, int x, int y, int w, int h, int sx, int sy, bool keyed,
               const BYTE* lpTable)
{
    if (lpDTCon && g_nBpp == 16) {
        const bool back = DDIsFullScreenBackBuffer(dst.Locked()) != FALSE;
        const int* b = g_BackBufferFormat;
        ForEachPixel(dst, src, x, y, w, h, sx, sy, [&](BYTE* out, const BYTE* in) {
            const DWORD s = Word(in);
            if (keyed && !effect::Opaque16(s)) return;
            const DWORD d = Word(out);
            if (back) {
                auto part = [&](int c) { return static_cast<int>((d >> b[PF_SHIFT_R + c]) & static_cast<DWORD>(b[PF_MAX_R + c])); };
                const int red = (effect::Component(s, 0) + part(0)) >> 1, blue = (effect::Component(s, 2) + part(2)) >> 1;
                const int green = (part(1) + 2 * effect::Component(s, 1)) >> 1;
                Word(out) = static_cast<WORD>(red << b[PF_SHIFT_R] | green << b[PF_SHIFT_G] | blue << b[PF_SHIFT_B]);
            } else {
                Word(out) = effect::Pack16((effect::Component(s, 0) + effect::Component(d, 0)) >> 1,
                                           (effect::Component(s, 1) + effect::Component(d, 1)) >> 1,
                                           (effect::Component(s, 2) + effect::Component(d, 2)) >> 1);
            }
        });
    } else if (lpDTCon && g_nBpp == 32) {
        ForEachPixel(dst, src, x, y, w, h, sx, sy, [&](BYTE* out, const BYTE* in) {
            if (keyed && in[3] == 0) return;
            for (int k = 0; k < 3; ++k) out[k] = static_cast<BYTE>((in[k] + out[k]) >> 1);
            out[3] = 255;
        });
    } else if (g_nBpp == 8) {
        const BYTE* table = lpTable ? lpTable : g_BlendTable;
        ForEachPixel(dst, src, x, y, w, h, sx, sy, [&](BYTE* out, const BYTE* in) {
            if (keyed && *in == 0) return;
            *out = *out == 0 ? *in : table[*out * 256 + *in];
        });
    } else if (g_nBpp == 16) {
        ForEachPixel(dst, src, x, y, w, h, sx, sy, [&](BYTE* out, const BYTE* in) {
            const DWORD s = Word(in);
            if (keyed && s == g_dwColorKey) return;
            const DWORD d = Word(out);
            if (d == g_dwColorKey) {
                Word(out) = static_cast<WORD>(s);
                return;
            }
            int mean[3];
            for (int k = 0; k < 3; ++k) {
                const int max = std::max(effect::Maximum(k), 1);
                mean[k] = ((effect::Component(s, k) * 255 / max + effect::Component(d, k) * 255 / max) >> 1) * max / 255;
            }
            Word(out) = effect::Pack16(mean[0], mean[1], mean[2]);
        });
    } else if (g_nBpp == 32) {
        ForEachPixel(dst, src, x, y, w, h, sx, sy, [&](BYTE* out, const BYTE* in) {
            const DWORD s = Dword(in);
            if (keyed && s == g_dwColorKey) return;
            const bool under = Dword(out) == g_dwColorKey;
            for (int k = 0; k < 3; ++k) out[k] = under ? in[k] : static_cast<BYTE>((in[k] + out[k]) >> 1);
        });
    }
}

// The tint under Direct3D per pixel: level 1 the mean with the colour, other levels
// trunc(source × f + (1 − f) × colour) in single precision.
void TintPixelsDirect3D(cSurfaceLock& dst, cSurfaceLock& src, int x, int y, int w, int h, int sx, int sy, bool keyed,
                        const PALETTEENTRY& tint, int nLevel)
{
    static const int kFactors[4] = {0x80, 0x40, 0x20, 0x10};
    const int factor = nLevel >= 1 && nLevel <= 4 ? kFactors[nLevel - 1] : 0;
    const float f = static_cast<float>(factor) / 255.0f;
    const BYTE colour[3] = {tint.peRed, tint.peGreen, tint.peBlue};
    int L[3];
    float rest[3];
    const bool sixteen = g_nBpp == 16;
    for (int k = 0; k < 3; ++k) {
        L[k] = sixteen ? colour[k] * effect::Maximum(k) / 255 : colour[k];
        rest[k] = (1.0f - f) * static_cast<float>(L[k]);
    }
    auto tinted = [&](int s, int k) {
        return nLevel == 1 ? (s + L[k]) >> 1 : static_cast<int>(static_cast<float>(s) * f + rest[k]);
    };
    if (sixteen) {
        const bool back = DDIsFullScreenBackBuffer(dst.Locked()) != FALSE;
        ForEachPixel(dst, src, x, y, w, h, sx, sy, [&](BYTE* out, const BYTE* in) {
            const DWORD s = Word(in);
            if (keyed && !effect::Opaque16(s)) return;
            const int red = tinted(effect::Component(s, 0), 0), green = tinted(effect::Component(s, 1), 1),
                      blue = tinted(effect::Component(s, 2), 2);
            if (!back) {
                Word(out) = effect::Pack16(red, green, blue);
                return;
            }
            // Green of the full-screen back buffer: level 1 the unhalved sum, else doubled.
            const int* b = g_BackBufferFormat;
            const int green6 = nLevel == 1 ? effect::Component(s, 1) + L[1] : green * 2;
            Word(out) = static_cast<WORD>((red & b[PF_MAX_R]) << b[PF_SHIFT_R] | (green6 & b[PF_MAX_G]) << b[PF_SHIFT_G] |
                                          (blue & b[PF_MAX_B]) << b[PF_SHIFT_B]);
        });
    } else if (g_nBpp == 32) {
        ForEachPixel(dst, src, x, y, w, h, sx, sy, [&](BYTE* out, const BYTE* in) {
            if (keyed && in[3] == 0) return;
            out[0] = static_cast<BYTE>(tinted(in[0], 2));
            out[1] = static_cast<BYTE>(tinted(in[1], 1));
            out[2] = static_cast<BYTE>(tinted(in[2], 0));
            out[3] = 255;
        });
    }
}

// (value + tint) >> 1 repeated `times`: it settles within a few steps, after which further
// steps change nothing.
int Halve(int value, int tint, int times)
{
    for (int i = 0; i < times; ++i) {
        const int next = (value + tint) >> 1;
        if (next == value) break;
        value = next;
    }
    return value;
}

// The 8-bit index after `times` lookups: once an index repeats, the rest of the count runs
// round the cycle, so only the count modulo its length is taken.
BYTE TintIndex(BYTE index, BYTE colour, int times)
{
    int seenAt[256];
    std::fill(std::begin(seenAt), std::end(seenAt), -1);
    for (int step = 0; step < times; ++step) {
        if (seenAt[index] >= 0) {
            const int cycle = step - seenAt[index];
            for (int left = (times - step) % cycle; left > 0; --left) index = g_BlendTable[index * 256 + colour];
            return index;
        }
        seenAt[index] = step;
        index = g_BlendTable[index * 256 + colour];
    }
    return index;
}

void TintPixelsDirectDraw(cSurfaceLock& dst, cSurfaceLock& src, int x, int y, int w, int h, int sx, int sy, bool keyed,
                          const PALETTEENTRY& tint, BYTE colourNumber, int nLevel)
{
    if (g_nBpp == 8) {
        // Each source index maps to one result: 256 of them at most.
        int result[256];
        std::fill(std::begin(result), std::end(result), -1);
        ForEachPixel(dst, src, x, y, w, h, sx, sy, [&](BYTE* out, const BYTE* in) {
            if (keyed && *in == g_dwColorKey) return;
            if (result[*in] < 0) result[*in] = TintIndex(*in, colourNumber, nLevel);
            *out = static_cast<BYTE>(result[*in]);
        });
    } else if (g_nBpp == 16) {
        int T[3], table[3][256];
        const BYTE colour[3] = {tint.peRed, tint.peGreen, tint.peBlue};
        for (int k = 0; k < 3; ++k) {
            const int max = std::max(effect::Maximum(k), 1);
            T[k] = colour[k] * 255 / max;
            for (int v = 0; v <= std::min(max, 255); ++v) table[k][v] = Halve(v * 255 / max, T[k], nLevel) * max / 255;
        }
        ForEachPixel(dst, src, x, y, w, h, sx, sy, [&](BYTE* out, const BYTE* in) {
            const DWORD s = Word(in);
            if (keyed && s == g_dwColorKey) return;
            Word(out) = effect::Pack16(table[0][effect::Component(s, 0) & 255], table[1][effect::Component(s, 1) & 255],
                                       table[2][effect::Component(s, 2) & 255]);
        });
    } else if (g_nBpp == 32) {
        BYTE table[3][256];
        const BYTE colour[3] = {tint.peBlue, tint.peGreen, tint.peRed};
        for (int k = 0; k < 3; ++k)
            for (int v = 0; v < 256; ++v) table[k][v] = static_cast<BYTE>(Halve(v, colour[k], nLevel));
        ForEachPixel(dst, src, x, y, w, h, sx, sy, [&](BYTE* out, const BYTE* in) {
            if (keyed && Dword(in) == g_dwColorKey) return;
            for (int k = 0; k < 3; ++k) out[k] = table[k][in[k]];
        });
    }
}

}  // namespace

BOOL DDBltTrans(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, DWORD dwFlags,
                const BYTE* lpTable, int nTrans)
{
    if (lpDTCon) {
        cDirect3DBlit blit{nullptr, nullptr, sx, sy, w, h};
        if (!blit.Prepare(lpDst, lpSrc, w, h)) return TRUE;
        if (blit.QuadPath()) {
            plat::cD3DVertex quad[4];
            blit.Quad(quad, x, y, w, h, static_cast<DWORD>(255 - (nTrans & 0xFF)) << 24 | 0x00FFFFFFu);
            IDirect3DTexture9* texture = blit.src->lpDT->lpTexture;
            const EFFECTQUADRESULT result = DDDrawEffectQuad(blit.src, blit.dst, quad, [texture] {
                DDSetBlitStages(D3DTOP_MODULATE, D3DTOP_MODULATE);
                g_lpDevice->SetTexture(0, texture);
            });
            if (result == EFFECTQUAD_DRAWN) {
                g_lpDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
                g_lpDevice->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
            }
            return TRUE;
        }
        lpDst = blit.dst, lpSrc = blit.src, sx = blit.sx, sy = blit.sy;
    }
    cSurfaceLock dst, src;
    if (!dst.Lock(lpDst) || !src.Lock(lpSrc)) return FALSE;
    MixPixels(dst, src, x, y, w, h, sx, sy, dwFlags == 1, lpTable);
    return TRUE;
}

BOOL DDBltHalf(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, DWORD dwFlags,
               const BYTE* lpTable)
{
    return DDBltTrans(lpDst, x, y, w, h, lpSrc, sx, sy, dwFlags, lpTable, 128);
}

BOOL DDBltTint(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, DWORD dwFlags,
               const PALETTEENTRY* lpPal, const BYTE*, int nColor, int nLevel)
{
    // A level below 1 draws nothing (under DirectDraw a negative one would loop on).
    if (nLevel <= 0 || !lpPal) return TRUE;
    const BYTE colourNumber = static_cast<BYTE>(nColor & 255);
    const PALETTEENTRY tint = lpPal[colourNumber];
    if (lpDTCon) {
        cDirect3DBlit blit{nullptr, nullptr, sx, sy, w, h};
        if (!blit.Prepare(lpDst, lpSrc, w, h)) return TRUE;
        if (blit.QuadPath()) {
            static const DWORD kFactors[4] = {128, 80, 48, 16};
            const DWORD factor = nLevel <= 4 ? kFactors[nLevel - 1] : 0;
            plat::cD3DVertex quad[4];
            blit.Quad(quad, x, y, w, h, 0xFFFFFFFFu);
            IDirect3DTexture9* texture = blit.src->lpDT->lpTexture;
            const DWORD textureFactor = factor << 24 | static_cast<DWORD>(tint.peRed) << 16 | static_cast<DWORD>(tint.peGreen) << 8 |
                                        tint.peBlue;
            DDDrawEffectQuad(blit.src, blit.dst, quad, [texture, textureFactor] {
                g_lpDevice->SetRenderState(D3DRS_TEXTUREFACTOR, textureFactor);
                g_lpDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_BLENDFACTORALPHA);
                g_lpDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
                g_lpDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TFACTOR);
                g_lpDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
                g_lpDevice->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
                g_lpDevice->SetTexture(0, texture);
            });
            return TRUE;
        }
        cSurfaceLock dst, src;
        if (!dst.Lock(blit.dst) || !src.Lock(blit.src)) return FALSE;
        TintPixelsDirect3D(dst, src, x, y, w, h, blit.sx, blit.sy, dwFlags == 1, tint, nLevel);
        return TRUE;
    }
    cSurfaceLock dst, src;
    if (!dst.Lock(lpDst) || !src.Lock(lpSrc)) return FALSE;
    TintPixelsDirectDraw(dst, src, x, y, w, h, sx, sy, dwFlags == 1, tint, colourNumber, nLevel);
    return TRUE;
}
