#include "graphics/lens.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>
#include "graphics/device.h"
#include "graphics/effect_pixels.h"
#include "graphics/surface_lock.h"

namespace {

using i64 = std::int64_t;

// The source offset along the axis of a, the other axis's offset being b, inside the disc:
// trunc(a × d / Z + 0.5), or a where Z is 0.
int DirectOffset(i64 a, i64 b, i64 d, i64 R)
{
    const double Z = std::sqrt(static_cast<double>(R * R - (a * a + b * b)));
    if (Z == 0) return static_cast<int>(a);
    return static_cast<int>(static_cast<double>(a * d) / Z + 0.5);
}

// The offsets of the disc taken once per magnitude pair: the quotient q of +a gives
// trunc(q + 0.5) and that of −a is −q exactly, giving trunc(−q + 0.5), so each offset is the
// one its own formula gives. Lenses too large for the table compute each pixel directly.
class cLensOffsets {
public:
    cLensOffsets(i64 reach, i64 r, i64 d, i64 R) : m_nD(d), m_nR(R), m_nSize(reach + 1)
    {
        if (m_nSize * m_nSize > (i64{1} << 20)) {
            m_nSize = 0;
            return;
        }
        m_Plus.resize(static_cast<std::size_t>(m_nSize * m_nSize));
        m_Minus.resize(m_Plus.size());
        for (i64 b = 0; b < m_nSize; ++b)
            for (i64 a = 0; a < m_nSize; ++a) {
                if (a * a + b * b > r * r) continue;
                const std::size_t at = static_cast<std::size_t>(b * m_nSize + a);
                m_Plus[at] = DirectOffset(a, b, d, R);
                m_Minus[at] = DirectOffset(-a, b, d, R);
            }
    }
    int Offset(i64 a, i64 b) const
    {
        if (m_nSize == 0) return DirectOffset(a, b, m_nD, m_nR);
        const std::size_t at = static_cast<std::size_t>((b < 0 ? -b : b) * m_nSize + (a < 0 ? -a : a));
        return a < 0 ? m_Minus[at] : m_Plus[at];
    }

private:
    i64 m_nD, m_nR, m_nSize;
    std::vector<int> m_Plus, m_Minus;
};

}  // namespace

BOOL DDBltLens(DDSURFACEDATA* lpDst, int cx, int cy, int r, int d, DDSURFACEDATA* lpSrc, int scx, int scy, DWORD dwFlags,
               BOOL bClear)
{
    if (r < 0 || d < 0) return FALSE;
    const i64 r64 = r, d64 = d;
    const i64 R = static_cast<i64>(std::sqrt(static_cast<double>(r64 * r64 + d64 * d64)));
    if (R <= d64) return FALSE;
    cSurfaceLock dst, src;
    if (!dst.Lock(lpDst) || !src.Lock(lpSrc)) return FALSE;
    const DDSURFACEDATA* dd = dst.Locked();
    const DDSURFACEDATA* ss = src.Locked();
    const int bpp = dst.m_nBytesPerPixel;
    const bool direct3D = lpDTCon != nullptr;
    const bool clear = direct3D && g_nBpp == 32 && bClear;
    const bool keyed16 = direct3D && g_nBpp == 16 && dwFlags == 1;
    const bool convert = direct3D && g_nBpp == 16 && DDIsFullScreenBackBuffer(dd);
    // The square cut to the destination first.
    const i64 top = std::max(-r64, -static_cast<i64>(cy)), bottom = std::min(r64, static_cast<i64>(dd->nHeight) - 1 - cy);
    const i64 left = std::max(-r64, -static_cast<i64>(cx)), right = std::min(r64, static_cast<i64>(dd->nWidth) - 1 - cx);
    if (top > bottom || left > right) return TRUE;
    const i64 reach = std::max({-top, bottom, -left, right});
    const cLensOffsets offsets(reach, r64, d64, R);
    for (i64 dy = top; dy <= bottom; ++dy) {
        BYTE* row = dst.PixelAddress(0, static_cast<int>(cy + dy));
        // The disc's span on this row.
        i64 span = static_cast<i64>(std::sqrt(static_cast<double>(r64 * r64 - dy * dy)));
        while (span * span + dy * dy > r64 * r64) --span;
        while ((span + 1) * (span + 1) + dy * dy <= r64 * r64) ++span;
        for (i64 dx = left; dx <= right; ++dx) {
            BYTE* out = row + (cx + dx) * bpp;
            if (dx < -span || dx > span) {
                if (clear) *reinterpret_cast<DWORD*>(out) = 0;
                continue;
            }
            const i64 X = scx + static_cast<i64>(offsets.Offset(dx, dy)), Y = scy + static_cast<i64>(offsets.Offset(dy, dx));
            if (X < 0 || Y < 0 || X >= ss->nWidth || Y >= ss->nHeight) {
                if (clear) *reinterpret_cast<DWORD*>(out) = 0;
                continue;
            }
            const DWORD p = effect::Read(src.PixelAddress(static_cast<int>(X), static_cast<int>(Y)), bpp);
            if (direct3D && g_nBpp == 32) {
                if ((p >> 24) == 0) {
                    if (clear) *reinterpret_cast<DWORD*>(out) = 0;
                    continue;
                }
                *reinterpret_cast<DWORD*>(out) = p;
            } else if (direct3D) {
                if (keyed16 && !effect::Opaque16(p)) continue;
                *reinterpret_cast<WORD*>(out) = convert ? effect::ConvertBack16(p) : static_cast<WORD>(p);
            } else {
                if (p == g_dwColorKey) continue;
                switch (bpp) {
                case 1: *out = static_cast<BYTE>(p); break;
                case 2: *reinterpret_cast<WORD*>(out) = static_cast<WORD>(p); break;
                default: *reinterpret_cast<DWORD*>(out) = p; break;
                }
            }
        }
    }
    return TRUE;
}
