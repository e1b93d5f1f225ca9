#include <algorithm>
#include <cmath>
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/effect_blit.h"
#include "graphics/effect_blit_math.h"
#include "graphics/sprite_batch.h"

namespace {

struct cCircle {
    DDSURFACEDATA* lpDst;
    DDSURFACEDATA* lpSrc;
    long long cx, cy, scx, scy, r;
    long long left, right;  // usable source columns
    DWORD dwFlags;

    // The span of rows d .. d + rows - 1, as wide as the circle at row offset m.
    void Span(long long d, long long rows, long long m) const
    {
        // No span where the row lies outside the circle (64-bit squares, never a negative root).
        if (m * m >= r * r) return;
        long long s = static_cast<long long>(std::sqrt(static_cast<double>(r * r - m * m)));
        if (s >= r) s = r - 1;
        long long source = scx - s, dest = cx - s, width = 2 * s;
        if (source < left) {
            width -= left - source;
            dest += left - source;
            source = left;
        }
        if (source + width >= right) width = right - source;
        if (width <= 0 || dest >= lpDst->nWidth || dest + width <= 0) return;
        if (lpDTCon)
            DDBlt(lpDst, Sat(dest), Sat(cy + d), Sat(width), Sat(rows), lpSrc, Sat(source), Sat(scy + d), Sat(width), Sat(rows),
                  dwFlags);
        else
            DDBltFast(lpDst, Sat(dest), Sat(cy + d), Sat(width), Sat(rows), lpSrc, Sat(source), Sat(scy + d), dwFlags);
    }
};

}  // namespace

int DDBltCircle(DDSURFACEDATA* lpDst, int cx, int cy, int hw, int hh, int r, int nBand, DDSURFACEDATA* lpSrc, int scx,
                int scy, DWORD dwFlags)
{
    if (r <= 0 || nBand <= 0 || !lpDst || !lpSrc) return 1;
    DDResolveMirror(&lpDst);
    DDResolveMirror(&lpSrc);
    const cCircle circle{lpDst, lpSrc, cx, cy, scx, scy, r, std::max<long long>(0, static_cast<long long>(scx) - hw),
                         std::min<long long>(static_cast<long long>(scx) + hw, lpSrc->nWidth), dwFlags};
    // Rows outside the destination draw nothing: the walk is kept to them, so that a huge
    // radius or half height costs no more than the screen.
    const long long top = -static_cast<long long>(cy), bottom = static_cast<long long>(lpDst->nHeight) - cy;
    const long long halfH = hh;
    DDBeginSpriteBatch(FALSE);
    if (nBand == 1) {
        const long long first = std::min({static_cast<long long>(r) - 1, halfH - 1, bottom - 1});
        const long long last = std::max({-static_cast<long long>(r), -halfH, top});
        for (long long d = first; d >= last; --d) circle.Span(d, 1, d);
    } else {
        const long long b = nBand;
        long long d = static_cast<long long>(r) - b;
        // Bands at or below the half height are skipped: step over them at once.
        if (d >= halfH) d -= (d - halfH) / b * b + b;
        // Bands wholly below the destination that no move can bring up draw nothing.
        if (d >= bottom && d + b <= halfH) d -= (d - bottom) / b * b + b;
        for (; d + b > -halfH; d -= b) {
            if (d >= halfH) continue;
            if (d + b > halfH) d = halfH - b;
            if (d < -halfH) d = -halfH;
            // Every later band lies higher still, above the destination.
            if (d + b <= top && d > -halfH) break;
            circle.Span(d, b, d + (b >> 1));
        }
    }
    DDEndSpriteBatch();
    return 1;
}
