#include "graphics/blur.h"

#include <algorithm>
#include <cstdint>
#include <vector>
#include "graphics/device.h"
#include "graphics/effect_pixels.h"
#include "graphics/surface_lock.h"
#include "shell/log.h"

namespace {

using i64 = std::int64_t;

// The three colour components of a pixel in the format's own range: 16-bit components by
// g_PixelFormat, 32-bit pixels as their red, green and blue bytes.
struct cComponents {
    int bpp;
    int shift[3], max[3];
    explicit cComponents(int bytesPerPixel) : bpp(bytesPerPixel)
    {
        for (int c = 0; c < 3; ++c) {
            shift[c] = bpp == 2 ? g_PixelFormat[PF_SHIFT_R + c] : 16 - 8 * c;
            max[c] = bpp == 2 ? g_PixelFormat[PF_MAX_R + c] : 255;
        }
    }
    int Get(DWORD p, int c) const { return static_cast<int>((p >> shift[c]) & static_cast<DWORD>(max[c])); }
};

// Summed areas of the components and of the count of samples taken, one cell per pixel of
// the region of samples plus a zero row and column. The sums wrap in T, and a difference of
// four of them is exact as long as one box's true sum fits: T is 64 bits for boxes that
// could overflow 32.
template <class T>
class cSummedAreas {
public:
    // The cells are the drawing thread's, kept between calls (a fresh allocation of a screen's
    // worth each call costs more than the blur); row 0 and column 0 are the zero edge.
    cSummedAreas(int width, int height) : m_nStride(static_cast<std::size_t>(width) + 1)
    {
        const std::size_t size = m_nStride * (static_cast<std::size_t>(height) + 1) * 4;
        if (Cells().size() < size) Cells().resize(size);
        std::fill(Cells().begin(), Cells().begin() + static_cast<std::ptrdiff_t>(m_nStride * 4), T{0});
        for (int row = 1; row <= height; ++row) std::fill(Cell(0, row), Cell(0, row) + 4, T{0});
    }

    // Row r of samples (values[k] per column, valid[k] whether it counts) added below row r − 1.
    template <class Sample>
    void AddRow(int r, int width, Sample sample)
    {
        T running[4] = {0, 0, 0, 0};
        T* above = Cell(0, r);
        T* out = Cell(0, r + 1);
        for (int k = 0; k < width; ++k) {
            int v[3];
            if (sample(k, v)) {
                running[0] += static_cast<T>(v[0]);
                running[1] += static_cast<T>(v[1]);
                running[2] += static_cast<T>(v[2]);
                running[3] += 1;
            }
            for (int i = 0; i < 4; ++i) out[4 * (k + 1) + i] = above[4 * (k + 1) + i] + running[i];
        }
    }
    // Sums over columns [c0, c1) and rows [r0, r1).
    void Box(int c0, int c1, int r0, int r1, T* sums) const
    {
        const T* a = Cell(c0, r0);
        const T* b = Cell(c1, r0);
        const T* c = Cell(c0, r1);
        const T* d = Cell(c1, r1);
        for (int i = 0; i < 4; ++i) sums[i] = d[i] - b[i] - c[i] + a[i];
    }

private:
    static std::vector<T>& Cells()
    {
        static thread_local std::vector<T> cells;
        return cells;
    }
    T* Cell(int column, int row) { return Cells().data() + (static_cast<std::size_t>(row) * m_nStride + column) * 4; }
    const T* Cell(int column, int row) const { return Cells().data() + (static_cast<std::size_t>(row) * m_nStride + column) * 4; }
    std::size_t m_nStride;
};

// How a mean is stored into the destination.
struct cBlurWriter {
    int bpp;
    bool direct3D;
    bool fullScreenBack;
    void Put(BYTE* at, const int* mean) const
    {
        if (bpp == 2) {
            const WORD p = fullScreenBack ? effect::PackBack16(mean[0], mean[1], mean[2]) : effect::Pack16(mean[0], mean[1], mean[2]);
            *reinterpret_cast<WORD*>(at) = p;
            return;
        }
        at[0] = static_cast<BYTE>(mean[2]);
        at[1] = static_cast<BYTE>(mean[1]);
        at[2] = static_cast<BYTE>(mean[0]);
        if (direct3D) at[3] = 255;
    }
};

template <class T>
void Blur(cSurfaceLock& dst, cSurfaceLock& src, int x, int y, int rx, int ry, int sx, int sy, int c0, int c1, int r0, int r1,
          bool keyed)
{
    const int bpp = src.m_nBytesPerPixel;
    const cComponents components(bpp);
    const int width = c1 - c0, height = r1 - r0;
    cSummedAreas<T> areas(width, height);
    // Whether each sample of the region counts, kept for the pixels' own transparency test.
    static thread_local std::vector<BYTE> counted;
    if (counted.size() < static_cast<std::size_t>(width) * height) counted.resize(static_cast<std::size_t>(width) * height);
    for (int r = 0; r < height; ++r) {
        const BYTE* row = src.PixelAddress(sx + c0, sy + r0 + r);
        BYTE* flags = counted.data() + static_cast<std::size_t>(r) * width;
        areas.AddRow(r, width, [&](int k, int* v) {
            const DWORD p = effect::Read(row + static_cast<std::ptrdiff_t>(k) * bpp, bpp);
            flags[k] = !(keyed && effect::Transparent(p));
            if (!flags[k]) return false;
            for (int c = 0; c < 3; ++c) v[c] = components.Get(p, c);
            return true;
        });
    }
    const DDSURFACEDATA* d = dst.Locked();
    const cBlurWriter writer{bpp, lpDTCon != nullptr, bpp == 2 && lpDTCon && DDIsFullScreenBackBuffer(d)};
    // Only pixels that land inside the destination.
    const int firstRow = static_cast<int>(std::max<i64>(r0, -static_cast<i64>(y)));
    const int lastRow = static_cast<int>(std::min<i64>(r1, static_cast<i64>(d->nHeight) - y));
    const int firstColumn = static_cast<int>(std::max<i64>(c0, -static_cast<i64>(x)));
    const int lastColumn = static_cast<int>(std::min<i64>(c1, static_cast<i64>(d->nWidth) - x));
    for (int r = firstRow; r < lastRow; ++r) {
        const int top = std::max(r - ry, r0) - r0, bottom = std::min(r + ry, r1) - r0;
        const BYTE* flags = counted.data() + static_cast<std::size_t>(r - r0) * width;
        BYTE* out = dst.PixelAddress(0, y + r);
        for (int c = firstColumn; c < lastColumn; ++c) {
            if (keyed && !flags[c - c0]) continue;
            const int left = std::max(c - rx, c0) - c0, right = std::min(c + rx, c1) - c0;
            T sums[4];
            areas.Box(left, right, top, bottom, sums);
            if (sums[3] == 0) continue;
            const int mean[3] = {static_cast<int>(sums[0] / sums[3]), static_cast<int>(sums[1] / sums[3]),
                                 static_cast<int>(sums[2] / sums[3])};
            writer.Put(out + static_cast<std::ptrdiff_t>(x + c) * bpp, mean);
        }
    }
}

}  // namespace

BOOL DDBltBlur(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int rx, int ry, DDSURFACEDATA* lpSrc, int sx, int sy,
               DWORD dwFlags)
{
    // Radii below 1 have no box to take.
    if (rx <= 0 || ry <= 0) return TRUE;
    cSurfaceLock dst, src;
    if (!dst.Lock(lpDst) || !src.Lock(lpSrc)) return FALSE;
    if (g_nBpp == 8) {
        EcLogF("%s", "8ビットぼかしは不可能！");
        return TRUE;
    }
    if (g_nBpp != 16 && g_nBpp != 32) return TRUE;
    // The samples: the rectangle's pixels that lie inside the source.
    const DDSURFACEDATA* s = src.Locked();
    const int c0 = static_cast<int>(std::clamp<i64>(-static_cast<i64>(sx), 0, std::max(w, 0)));
    const int c1 = static_cast<int>(std::clamp<i64>(static_cast<i64>(s->nWidth) - sx, c0, std::max(w, 0)));
    const int r0 = static_cast<int>(std::clamp<i64>(-static_cast<i64>(sy), 0, std::max(h, 0)));
    const int r1 = static_cast<int>(std::clamp<i64>(static_cast<i64>(s->nHeight) - sy, r0, std::max(h, 0)));
    if (c0 >= c1 || r0 >= r1) return TRUE;
    const bool keyed = dwFlags == 1;
    // Boxes no larger than the region: the largest sum is 255 × its area.
    const i64 boxArea = std::min<i64>(2 * static_cast<i64>(rx), c1 - c0) * std::min<i64>(2 * static_cast<i64>(ry), r1 - r0);
    if (boxArea * 255 < (i64{1} << 32)) Blur<std::uint32_t>(dst, src, x, y, rx, ry, sx, sy, c0, c1, r0, r1, keyed);
    else Blur<std::uint64_t>(dst, src, x, y, rx, ry, sx, sy, c0, c1, r0, r1, keyed);
    return TRUE;
}
