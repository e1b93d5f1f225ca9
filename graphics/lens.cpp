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

// The offsets of the disc by row: for row dy, the offsets along x of +|dx| and −|dx| and the
// offsets along y, each indexed by |dx|. Taken from tables built once per call, one root per
// magnitude pair (the quotient q of +a gives trunc(q + 0.5); that of −a is −q exactly, giving
// trunc(−q + 0.5), so each offset is the one its own formula gives); lenses too large for the
// tables compute their rows directly.
class cLensOffsets {
public:
    cLensOffsets(i64 reach, i64 r, i64 d, i64 R) : m_nR(r), m_nD(d), m_nBigR(R), m_nSize(reach + 1)
    {
        if (m_nSize * m_nSize > (i64{1} << 20)) {
            m_nSize = 0;
            return;
        }
        // Entries outside the disc are never read, so the tables of an earlier call are reused
        // as they are: a fresh allocation each call would cost more than the lens itself.
        for (auto& table : m_Tables)
            if (table.size() < static_cast<std::size_t>(m_nSize * m_nSize)) table.resize(static_cast<std::size_t>(m_nSize * m_nSize));
        // (a, b) and (b, a) share their Z.
        for (i64 b = 0; b < m_nSize; ++b)
            for (i64 a = b; a < m_nSize; ++a) {
                const i64 rho2 = a * a + b * b;
                if (rho2 > r * r) break;
                const double Z = std::sqrt(static_cast<double>(R * R - rho2));
                Set(a, b, Z);
                Set(b, a, Z);
            }
    }
    // Pointers for row dy, indexed by |dx| from 0 to span.
    void Row(i64 dy, i64 span, const int*& xPlus, const int*& xMinus, const int*& y)
    {
        const i64 b = dy < 0 ? -dy : dy;
        if (m_nSize > 0) {
            const std::size_t row = static_cast<std::size_t>(b * m_nSize);
            xPlus = m_Tables[kXPlus].data() + row;
            xMinus = m_Tables[kXMinus].data() + row;
            y = m_Tables[dy < 0 ? kYMinus : kYPlus].data() + row;
            return;
        }
        for (auto& scratch : m_Row) scratch.resize(static_cast<std::size_t>(span + 1));
        for (i64 a = 0; a <= span; ++a) {
            m_Row[0][static_cast<std::size_t>(a)] = DirectOffset(a, b, m_nD, m_nBigR);
            m_Row[1][static_cast<std::size_t>(a)] = DirectOffset(-a, b, m_nD, m_nBigR);
            m_Row[2][static_cast<std::size_t>(a)] = DirectOffset(dy, a, m_nD, m_nBigR);
        }
        xPlus = m_Row[0].data(), xMinus = m_Row[1].data(), y = m_Row[2].data();
    }

private:
    enum { kXPlus, kXMinus, kYPlus, kYMinus };
    // Offset along a with the other offset b: x tables hold it at [b][a], y tables at [a][b].
    void Set(i64 a, i64 b, double Z)
    {
        int plus = static_cast<int>(a), minus = static_cast<int>(-a);
        if (Z != 0) {
            const double q = static_cast<double>(a * m_nD) / Z;
            plus = static_cast<int>(q + 0.5);
            minus = static_cast<int>(-q + 0.5);
        }
        const std::size_t x = static_cast<std::size_t>(b * m_nSize + a), y = static_cast<std::size_t>(a * m_nSize + b);
        m_Tables[kXPlus][x] = plus;
        m_Tables[kXMinus][x] = minus;
        m_Tables[kYPlus][y] = plus;
        m_Tables[kYMinus][y] = minus;
    }
    i64 m_nR, m_nD, m_nBigR, m_nSize;
    // The drawing thread's tables, kept between calls.
    static thread_local std::vector<int> m_Tables[4];
    std::vector<int> m_Row[3];
};

thread_local std::vector<int> cLensOffsets::m_Tables[4];

// The lens at one pixel type: put(out, source pixel) writes or skips a source pixel; miss(out)
// handles a destination pixel with no source pixel (outside the disc or the source).
template <class T, class Put, class Miss>
void DrawLens(cSurfaceLock& dst, cSurfaceLock& src, i64 cx, i64 cy, i64 r, i64 d, i64 R, i64 scx, i64 scy, Put put,
              Miss miss)
{
    const DDSURFACEDATA* dd = dst.Locked();
    const DDSURFACEDATA* ss = src.Locked();
    // The square cut to the destination first.
    const i64 top = std::max(-r, -cy), bottom = std::min(r, static_cast<i64>(dd->nHeight) - 1 - cy);
    const i64 left = std::max(-r, -cx), right = std::min(r, static_cast<i64>(dd->nWidth) - 1 - cx);
    if (top > bottom || left > right) return;
    cLensOffsets offsets(std::max({-top, bottom, -left, right}), r, d, R);
    const std::uint64_t srcW = static_cast<std::uint64_t>(ss->nWidth), srcH = static_cast<std::uint64_t>(ss->nHeight);
    const BYTE* bits = src.m_lpBits;
    const i64 pitch = src.Pitch();
    for (i64 dy = top; dy <= bottom; ++dy) {
        T* row = reinterpret_cast<T*>(dst.PixelAddress(0, static_cast<int>(cy + dy))) + cx;
        // The disc's span on this row.
        i64 span = static_cast<i64>(std::sqrt(static_cast<double>(r * r - dy * dy)));
        while (span * span + dy * dy > r * r) --span;
        while ((span + 1) * (span + 1) + dy * dy <= r * r) ++span;
        for (i64 dx = left; dx < std::min(-span, right + 1); ++dx) miss(row + dx);
        for (i64 dx = std::max(span + 1, left); dx <= right; ++dx) miss(row + dx);
        const int *xPlus = nullptr, *xMinus = nullptr, *yOffset = nullptr;
        offsets.Row(dy, span, xPlus, xMinus, yOffset);
        const i64 Y0 = scy;
        auto pixel = [&](i64 dx, i64 ox, i64 oy) {
            const i64 X = scx + ox, Y = Y0 + oy;
            if (static_cast<std::uint64_t>(X) >= srcW || static_cast<std::uint64_t>(Y) >= srcH) {
                miss(row + dx);
                return;
            }
            put(row + dx, *reinterpret_cast<const T*>(bits + Y * pitch + X * static_cast<i64>(sizeof(T))));
        };
        for (i64 dx = std::max(-span, left); dx <= std::min<i64>(-1, right); ++dx) pixel(dx, xMinus[-dx], yOffset[-dx]);
        for (i64 dx = std::max<i64>(0, left); dx <= std::min(span, right); ++dx) pixel(dx, xPlus[dx], yOffset[dx]);
    }
}

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
    auto none = [](auto*) {};
    if (lpDTCon && g_nBpp == 32) {
        // Alpha 0 is never drawn; with the clear flag it clears, as does every pixel of the
        // square without a source pixel.
        const bool clear = bClear != FALSE;
        auto put = [clear](DWORD* out, DWORD p) {
            if ((p >> 24) != 0) *out = p;
            else if (clear) *out = 0;
        };
        if (clear) DrawLens<DWORD>(dst, src, cx, cy, r64, d64, R, scx, scy, put, [](DWORD* out) { *out = 0; });
        else DrawLens<DWORD>(dst, src, cx, cy, r64, d64, R, scx, scy, put, none);
    } else if (lpDTCon && g_nBpp == 16) {
        const bool keyed = dwFlags == 1, convert = DDIsFullScreenBackBuffer(dst.Locked()) != FALSE;
        DrawLens<WORD>(dst, src, cx, cy, r64, d64, R, scx, scy, [keyed, convert](WORD* out, WORD p) {
            if (keyed && !effect::Opaque16(p)) return;
            *out = convert ? effect::ConvertBack16(p) : p;
        }, none);
    } else if (!lpDTCon) {
        // DirectDraw skips the colour key whatever the flags.
        const DWORD key = g_dwColorKey;
        auto keyed = [key](auto* out, auto p) {
            if (p != key) *out = p;
        };
        switch (g_nBpp) {
        case 8: DrawLens<BYTE>(dst, src, cx, cy, r64, d64, R, scx, scy, keyed, none); break;
        case 16: DrawLens<WORD>(dst, src, cx, cy, r64, d64, R, scx, scy, keyed, none); break;
        case 32: DrawLens<DWORD>(dst, src, cx, cy, r64, d64, R, scx, scy, keyed, none); break;
        default: break;
        }
    }
    return TRUE;
}
