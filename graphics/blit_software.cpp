#include "graphics/blit_software.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>
#include "graphics/device.h"
#include "graphics/surface_lock.h"

namespace {

using i64 = std::int64_t;

// Source index of destination step k: start + trunc(k × extent / size), one less for a
// negative extent, which samples backwards from its exclusive edge.
i64 SourceIndex(i64 start, i64 extent, i64 size, i64 k)
{
    return (extent < 0 ? start - 1 : start) + k * extent / size;
}

// How a 16-bit texture pixel is stored into the destination.
struct cPixel16 {
    bool bFullScreenBack = false;

    WORD Convert(WORD p) const
    {
        if (!bFullScreenBack) return p;
        const int* f = g_PixelFormat;
        const int* b = g_BackBufferFormat;
        const DWORD red = (p >> f[PF_SHIFT_R]) & f[PF_MAX_R], green = (p >> f[PF_SHIFT_G]) & f[PF_MAX_G],
                    blue = (p >> f[PF_SHIFT_B]) & f[PF_MAX_B];
        return static_cast<WORD>(red << b[PF_SHIFT_R] | (green * 2) << b[PF_SHIFT_G] | blue << b[PF_SHIFT_B]);
    }
};

// Copies one row given its source columns (-1: outside the source, skipped).
template <class T, class Store>
void CopyRow(T* dst, i64 x, const T* src, const std::vector<i64>& columns, int first, int last, bool keyed,
             bool (*opaque)(T), Store store)
{
    for (int i = first; i < last; ++i) {
        const i64 c = columns[i];
        if (c < 0) continue;
        const T p = src[c];
        if (keyed && !opaque(p)) continue;
        dst[x + i] = store(p);
    }
}

bool Opaque32(DWORD p) { return (p >> 24) != 0; }
bool Opaque16(WORD p) { return (p & 0xA000) != 0; }

}  // namespace

int DDBltSoftware(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, int sw, int sh,
                  DWORD dwFlags)
{
    if (w <= 0 || h <= 0) return 0;
    cSurfaceLock dst, src;
    if (!dst.Lock(lpDst) || !src.Lock(lpSrc)) return 0;
    const DDSURFACEDATA* d = dst.Locked();
    const DDSURFACEDATA* s = src.Locked();
    const bool keyed = dwFlags == 1;
    const bool unscaled = sw == w && sh == h;
    const i64 dstW = d->nWidth, dstH = d->nHeight, srcW = s->nWidth, srcH = s->nHeight;

    // Columns of the destination rectangle that land inside the destination, and their
    // source columns (-1 where the source column lies outside the source).
    const int first = static_cast<int>(std::clamp<i64>(-static_cast<i64>(x), 0, w));
    const int last = static_cast<int>(std::clamp<i64>(dstW - x, 0, w));
    if (first >= last) return 1;
    std::vector<i64> columns(static_cast<std::size_t>(w), -1);
    for (int i = first; i < last; ++i) {
        const i64 c = unscaled ? static_cast<i64>(sx) + i : SourceIndex(sx, sw, w, i);
        if (c >= 0 && c < srcW) columns[i] = c;
    }
    const bool contiguous = unscaled && !keyed && g_nBpp == 32;
    cPixel16 pixel16{DDIsFullScreenBackBuffer(d) != FALSE};
    for (int j = 0; j < h; ++j) {
        const i64 dy = static_cast<i64>(y) + j;
        const i64 syRow = unscaled ? static_cast<i64>(sy) + j : SourceIndex(sy, sh, h, j);
        if (dy < 0 || dy >= dstH || syRow < 0 || syRow >= srcH) continue;
        BYTE* dstRow = dst.PixelAddress(0, static_cast<int>(dy));
        const BYTE* srcRow = src.PixelAddress(0, static_cast<int>(syRow));
        if (g_nBpp == 32) {
            auto* out = reinterpret_cast<DWORD*>(dstRow);
            const auto* in = reinterpret_cast<const DWORD*>(srcRow);
            if (contiguous) {
                // The columns inside both records form one run.
                int a = first, b = last;
                while (a < b && columns[a] < 0) ++a;
                while (b > a && columns[b - 1] < 0) --b;
                if (a < b) std::memcpy(out + x + a, in + columns[a], static_cast<std::size_t>(b - a) * 4);
            } else {
                CopyRow<DWORD>(out, x, in, columns, first, last, keyed, Opaque32, [](DWORD p) { return p; });
            }
        } else if (g_nBpp == 16) {
            CopyRow<WORD>(reinterpret_cast<WORD*>(dstRow), x, reinterpret_cast<const WORD*>(srcRow), columns, first, last,
                          keyed, Opaque16, [&pixel16](WORD p) { return pixel16.Convert(p); });
        }
    }
    return 1;
}
