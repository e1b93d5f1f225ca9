#include "graphics/mosaic.h"

#include <algorithm>
#include <cstdint>
#include "graphics/device.h"
#include "graphics/effect_pixels.h"
#include "graphics/surface_lock.h"

namespace {

using i64 = std::int64_t;

// One cell: columns [c0, c1) and rows [r0, r1) of the rectangle, cut to the source already.
struct cCell {
    int c0, c1, r0, r1;
    int cornerColumn, cornerRow;  // the cell's own top-left corner (may lie outside the source)
};

class cMosaic {
public:
    cMosaic(cSurfaceLock& dst, cSurfaceLock& src, int x, int y, int sx, int sy, bool keyed)
        : m_Dst(dst), m_Src(src), m_nX(x), m_nY(y), m_nSX(sx), m_nSY(sy), m_bKeyed(keyed),
          m_nBpp(src.m_nBytesPerPixel), m_bFullScreenBack(lpDTCon && g_nBpp == 16 && DDIsFullScreenBackBuffer(dst.Locked()))
    {
    }

    void Draw(const cCell& cell)
    {
        DWORD pixel = 0;
        if (!Choose(cell, pixel)) return;
        const DDSURFACEDATA* d = m_Dst.Locked();
        // The whole cell as the rectangle has it, inside the destination.
        const i64 cellRight = cell.cornerColumn + m_nCell, cellBottom = cell.cornerRow + m_nCell;
        const i64 left = std::max<i64>(static_cast<i64>(m_nX) + cell.cornerColumn, 0);
        const i64 right = std::min<i64>(static_cast<i64>(m_nX) + std::min<i64>(cellRight, m_nWidth), d->nWidth);
        const i64 top = std::max<i64>(static_cast<i64>(m_nY) + cell.cornerRow, 0);
        const i64 bottom = std::min<i64>(static_cast<i64>(m_nY) + std::min<i64>(cellBottom, m_nHeight), d->nHeight);
        for (i64 Y = top; Y < bottom; ++Y) {
            BYTE* row = m_Dst.PixelAddress(0, static_cast<int>(Y));
            for (i64 X = left; X < right; ++X) Store(row + X * m_nBpp, pixel);
        }
    }

    int m_nCell = 1, m_nWidth = 0, m_nHeight = 0;

private:
    DWORD At(int column, int row) const { return effect::Read(m_Src.PixelAddress(m_nSX + column, m_nSY + row), m_nBpp); }
    bool CornerInside(const cCell& cell) const
    {
        return cell.cornerColumn == cell.c0 && cell.cornerRow == cell.r0 && cell.c0 < cell.c1 && cell.r0 < cell.r1;
    }

    // The cell's colour as a pixel ready to store; false: the cell stays unwritten.
    bool Choose(const cCell& cell, DWORD& pixel) const
    {
        if (lpDTCon && g_nBpp == 16) {
            if (!CornerInside(cell)) return false;
            const DWORD p = At(cell.c0, cell.r0);
            if (m_bKeyed && !effect::Opaque16(p)) return false;
            pixel = m_bFullScreenBack ? effect::ConvertBack16(p) : p;
            return true;
        }
        if (g_nBpp == 8) {
            if (!CornerInside(cell)) return false;
            pixel = At(cell.c0, cell.r0);
            return !(m_bKeyed && pixel == g_dwColorKey);
        }
        if (g_nBpp == 16) return Mean16(cell, pixel);
        if (g_nBpp == 32) return Mean32(cell, pixel);
        return false;
    }

    // DirectDraw 16 bits: components widened to 0-255, averaged, narrowed back.
    bool Mean16(const cCell& cell, DWORD& pixel) const
    {
        i64 sum[3] = {0, 0, 0}, count = 0;
        for (int r = cell.r0; r < cell.r1; ++r)
            for (int c = cell.c0; c < cell.c1; ++c) {
                const DWORD p = At(c, r);
                if (m_bKeyed && p == g_dwColorKey) continue;
                for (int k = 0; k < 3; ++k) sum[k] += effect::Component(p, k) * 255 / std::max(effect::Maximum(k), 1);
                ++count;
            }
        if (count == 0) return false;
        int out[3];
        for (int k = 0; k < 3; ++k) out[k] = static_cast<int>(sum[k] / count) * effect::Maximum(k) / 255;
        pixel = effect::Pack16(out[0], out[1], out[2]);
        return !(m_bKeyed && pixel == g_dwColorKey);
    }

    // 32 bits: the mean of the blue, green and red bytes.
    bool Mean32(const cCell& cell, DWORD& pixel) const
    {
        i64 sum[3] = {0, 0, 0}, count = 0;
        for (int r = cell.r0; r < cell.r1; ++r)
            for (int c = cell.c0; c < cell.c1; ++c) {
                const DWORD p = At(c, r);
                if (m_bKeyed && (lpDTCon ? !effect::Opaque32(p) : p == g_dwColorKey)) continue;
                for (int k = 0; k < 3; ++k) sum[k] += (p >> (8 * k)) & 0xFF;
                ++count;
            }
        if (count == 0) return false;
        pixel = static_cast<DWORD>(sum[2] / count) << 16 | static_cast<DWORD>(sum[1] / count) << 8 |
                static_cast<DWORD>(sum[0] / count);
        if (lpDTCon) {
            pixel |= 0xFF000000u;
            return true;
        }
        return !(m_bKeyed && pixel == g_dwColorKey);
    }

    void Store(BYTE* at, DWORD pixel) const
    {
        switch (m_nBpp) {
        case 1: *at = static_cast<BYTE>(pixel); break;
        case 2: *reinterpret_cast<WORD*>(at) = static_cast<WORD>(pixel); break;
        default:
            if (lpDTCon) {
                *reinterpret_cast<DWORD*>(at) = pixel;
            } else {
                // The fourth byte of a DirectDraw pixel is not written.
                at[0] = static_cast<BYTE>(pixel);
                at[1] = static_cast<BYTE>(pixel >> 8);
                at[2] = static_cast<BYTE>(pixel >> 16);
            }
        }
    }

    cSurfaceLock& m_Dst;
    cSurfaceLock& m_Src;
    int m_nX, m_nY, m_nSX, m_nSY;
    bool m_bKeyed;
    int m_nBpp;
    bool m_bFullScreenBack;
};

}  // namespace

BOOL DDBltMosaic(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int nCell, DDSURFACEDATA* lpSrc, int sx, int sy,
                 DWORD dwFlags)
{
    // A cell size below 1 has no cells (a negative one would never step forward).
    if (nCell <= 0) return TRUE;
    cSurfaceLock dst, src;
    if (!dst.Lock(lpDst) || !src.Lock(lpSrc)) return FALSE;
    if (w <= 0 || h <= 0) return TRUE;
    // The rectangle's pixels that lie inside the source.
    const DDSURFACEDATA* s = src.Locked();
    const i64 c0 = std::clamp<i64>(-static_cast<i64>(sx), 0, w), c1 = std::clamp<i64>(static_cast<i64>(s->nWidth) - sx, c0, w);
    const i64 r0 = std::clamp<i64>(-static_cast<i64>(sy), 0, h), r1 = std::clamp<i64>(static_cast<i64>(s->nHeight) - sy, r0, h);
    cMosaic mosaic(dst, src, x, y, sx, sy, dwFlags == 1);
    mosaic.m_nCell = nCell;
    mosaic.m_nWidth = w;
    mosaic.m_nHeight = h;
    // Only cells that hold source pixels can be drawn.
    for (i64 row = r0 / nCell * nCell; row < r1; row += nCell) {
        for (i64 column = c0 / nCell * nCell; column < c1; column += nCell) {
            const cCell cell{static_cast<int>(std::clamp<i64>(column, c0, c1)), static_cast<int>(std::clamp<i64>(column + nCell, c0, c1)),
                             static_cast<int>(std::clamp<i64>(row, r0, r1)), static_cast<int>(std::clamp<i64>(row + nCell, r0, r1)),
                             static_cast<int>(column), static_cast<int>(row)};
            mosaic.Draw(cell);
        }
    }
    return TRUE;
}
