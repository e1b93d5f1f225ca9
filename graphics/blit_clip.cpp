// The clipping that every blit shares, and the source rectangle of mirror records.
#include <algorithm>
#include <cstdint>
#include "graphics/blit.h"
#include "graphics/device.h"

namespace {

using i64 = std::int64_t;

// One axis of an unscaled blit: destination start `pos`, source start `src`, common size.
// A start cut off on either record moves the start on the other by as much.
bool ClipUnscaled(i64& pos, i64& src, i64& size, i64 srcLimit, i64 dstLimit)
{
    if (src < 0) {
        pos -= src;
        size += src;
        src = 0;
    }
    size = std::min(size, srcLimit - src);
    if (pos < 0) {
        src -= pos;
        size += pos;
        pos = 0;
    }
    size = std::min(size, dstLimit - pos);
    return size > 0;
}

// One axis of a scaled blit: destination start and size (size > 0), source start and extent
// (a negative extent samples backwards from its start, the exclusive right or bottom edge).
// The source is clamped to its record and the destination follows the part kept; with
// cutDestination the destination is clamped to its record too and the source follows.
bool ClipScaled(i64& pos, i64& size, i64& src, i64& extent, i64 srcLimit, i64 dstLimit, bool cutDestination)
{
    const bool flipped = extent < 0;
    const i64 lo = flipped ? src + extent : src, hi = flipped ? src : src + extent;
    const i64 requested = hi - lo;
    const i64 keptLo = std::max<i64>(lo, 0), keptHi = std::min(hi, srcLimit);
    if (keptHi <= keptLo) return false;
    // The destination's start shows the source's low edge, or its high edge when flipped.
    const i64 droppedAtStart = flipped ? hi - keptHi : keptLo - lo;
    const i64 kept = keptHi - keptLo;
    pos += droppedAtStart * size / requested;
    size = size * kept / requested;
    src = flipped ? keptHi : keptLo;
    extent = flipped ? -kept : kept;
    if (size <= 0) return false;
    if (cutDestination) {
        if (pos < 0) {
            const i64 cut = -pos, srcCut = cut * extent / size;
            src += srcCut;
            extent -= srcCut;
            size -= cut;
            pos = 0;
        }
        if (pos + size > dstLimit) {
            const i64 newSize = dstLimit - pos;
            if (newSize <= 0) return false;
            extent = extent * newSize / size;
            size = newSize;
        }
    }
    return size > 0 && extent != 0 && (extent < 0) == flipped;
}

}  // namespace

BOOL DDClipRect(DDSURFACEDATA* lpDst, int* x, int* y, int* w, int* h, DDSURFACEDATA* lpSrc, int* sx, int* sy, int* sw,
                int* sh)
{
    if (!lpDst || !lpSrc || !x || !y || !w || !h || !sx || !sy || !sw || !sh) return FALSE;
    if (*w <= 0 || *h <= 0 || *sw == 0 || *sh == 0) return FALSE;
    i64 X = *x, Y = *y, W = *w, H = *h, SX = *sx, SY = *sy, SW = *sw, SH = *sh;
    if (SW == W && SH == H) {
        if (!ClipUnscaled(X, SX, W, lpSrc->nWidth, lpDst->nWidth) || !ClipUnscaled(Y, SY, H, lpSrc->nHeight, lpDst->nHeight))
            return FALSE;
        SW = W;
        SH = H;
    } else {
        // Direct3D lets the device clip the destination and draws flipped extents; DirectDraw
        // cuts the destination itself and cannot flip.
        const bool direct3D = lpDTCon != nullptr;
        if (!direct3D && (SW < 0 || SH < 0)) return FALSE;
        if (!ClipScaled(X, W, SX, SW, lpSrc->nWidth, lpDst->nWidth, !direct3D) ||
            !ClipScaled(Y, H, SY, SH, lpSrc->nHeight, lpDst->nHeight, !direct3D))
            return FALSE;
    }
    *x = static_cast<int>(X), *y = static_cast<int>(Y), *w = static_cast<int>(W), *h = static_cast<int>(H);
    *sx = static_cast<int>(SX), *sy = static_cast<int>(SY), *sw = static_cast<int>(SW), *sh = static_cast<int>(SH);
    return TRUE;
}

void DDMirrorSourceRect(DDSURFACEDATA* lpSrc, int* sx, int* sy, int* sw, int* sh)
{
    if (!lpDTCon || !lpSrc || !lpSrc->lpMirrorSD || !sx || !sy || !sw || !sh) return;
    auto flip = [](int cell, int& start, int& extent) {
        if (cell == 0) return;
        if (extent == cell) {
            start += extent;
            extent = -extent;
        } else if (extent < cell) {
            start = start + cell - 2 * (start % cell);
            extent = -extent;
        }
    };
    flip(lpSrc->nMirrorW, *sx, *sw);
    flip(lpSrc->nMirrorH, *sy, *sh);
}
