#include "graphics/rotate.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include "graphics/blit.h"
#include "graphics/blit_quad.h"
#include "graphics/device.h"
#include "graphics/effect_pixels.h"
#include "graphics/surface_lock.h"

namespace {

using i64 = std::int64_t;

constexpr double kDegreeFactor = 0.017453292519943278;

i64 FloorDiv(i64 a, i64 b)
{
    const i64 q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}
i64 CeilDiv(i64 a, i64 b) { return -FloorDiv(-a, b); }

// Narrows [first, last) to the steps k with lo <= start + step × k < hi.
void KeepSteps(i64 start, i64 step, i64 lo, i64 hi, i64& first, i64& last)
{
    if (step == 0) {
        if (start < lo || start >= hi) last = first;
        return;
    }
    if (step > 0) {
        first = std::max(first, CeilDiv(lo - start, step));
        last = std::min(last, CeilDiv(hi - start, step));
    } else {
        first = std::max(first, FloorDiv(start - hi, -step) + 1);
        last = std::min(last, FloorDiv(start - lo, -step) + 1);
    }
}

// The turned quad: the picture centred on (x, y), turned about the pivot from its top-left.
void RotateQuad(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int px, int py, int nAngle, DDSURFACEDATA* lpSrc,
                int sx, int sy, int sw, int sh)
{
    if (!lpSrc->lpDT->lpTexture) return;
    const float theta = static_cast<float>(nAngle * kDegreeFactor);
    const float s = std::sin(theta), c = std::cos(theta);
    const double tw = lpSrc->nTexWidth > 0 ? lpSrc->nTexWidth : 1, th = lpSrc->nTexHeight > 0 ? lpSrc->nTexHeight : 1;
    const float u0 = static_cast<float>(sx / tw), v0 = static_cast<float>(sy / th);
    const float u1 = static_cast<float>((sx + sw) / tw), v1 = static_cast<float>((sy + sh) / th);
    const float originX = static_cast<float>(x) - 0.5f + static_cast<float>(px - (w >> 1));
    const float originY = static_cast<float>(y) - 0.5f + static_cast<float>(py - (h >> 1));
    const struct { int cx, cy; float u, v; } corners[4] = {{0, 0, u0, v0}, {0, h, u0, v1}, {w, 0, u1, v0}, {w, h, u1, v1}};
    plat::cD3DVertex quad[4];
    for (int i = 0; i < 4; ++i) {
        const float dx = static_cast<float>(corners[i].cx - px), dy = static_cast<float>(corners[i].cy - py);
        quad[i] = {originX + dx * c - dy * s, originY + dx * s + dy * c, 0.0f, 1.0f, lpDTCon->dwDrawColor, corners[i].u,
                   corners[i].v};
    }
    IDirect3DTexture9* texture = lpSrc->lpDT->lpTexture;
    DDDrawEffectQuad(lpSrc, lpDst, quad, [texture] {
        DDSetBlitStages(lpDTCon->nColorOp, lpDTCon->nAlphaOp);
        g_lpDevice->SetTexture(0, texture);
    });
}

template <class T>
void CopyTurned(cSurfaceLock& dst, cSurfaceLock& src, int x, int y, int w, int h, int px, int py, int nAngle, int sx,
                int sy, bool keyed)
{
    const double theta = nAngle * kDegreeFactor;
    const i64 s = static_cast<i64>(std::sin(theta) * 1024), c = static_cast<i64>(std::cos(theta) * 1024);
    const i64 s2 = static_cast<i64>(std::sin(-theta) * 1024), c2 = static_cast<i64>(std::cos(-theta) * 1024);
    // The area the turned corners span, widened by 2.
    i64 minX = INT64_MAX, maxX = INT64_MIN, minY = INT64_MAX, maxY = INT64_MIN;
    for (const i64 cx : {i64{0}, static_cast<i64>(w) - 1})
        for (const i64 cy : {i64{0}, static_cast<i64>(h) - 1}) {
            const i64 dx = cx - px, dy = cy - py;
            const i64 X = ((dx * c - dy * s) >> 10) + px, Y = ((dx * s + dy * c) >> 10) + py;
            minX = std::min(minX, X), maxX = std::max(maxX, X), minY = std::min(minY, Y), maxY = std::max(maxY, Y);
        }
    const DDSURFACEDATA* d = dst.Locked();
    const DDSURFACEDATA* so = src.Locked();
    // Area positions X land on destination column X − px + x.
    const i64 shiftX = static_cast<i64>(x) - px, shiftY = static_cast<i64>(y) - py;
    const i64 top = std::max(minY - 2, -shiftY), bottom = std::min(maxY + 2, d->nHeight - shiftY);
    const i64 left = std::max(minX - 2, -shiftX), right = std::min(maxX + 2, d->nWidth - shiftX);
    // Source offsets u, v inside the rectangle and the source: lo <= offset < hi.
    const i64 uLo = std::max<i64>(0, -static_cast<i64>(sx)), uHi = std::min<i64>(w, static_cast<i64>(so->nWidth) - sx);
    const i64 vLo = std::max<i64>(0, -static_cast<i64>(sy)), vHi = std::min<i64>(h, static_cast<i64>(so->nHeight) - sy);
    if (uLo >= uHi || vLo >= vHi) return;
    const bool convert = sizeof(T) == 2 && lpDTCon && DDIsFullScreenBackBuffer(d);
    const T key = static_cast<T>(g_dwColorKey);
    const bool keyFits = static_cast<DWORD>(key) == g_dwColorKey;
    for (i64 Y = top; Y < bottom; ++Y) {
        const i64 dY = Y - py;
        // u = px + (A >> 10), v = py + (B >> 10), both stepping with X.
        const i64 a0 = c2 * (left - px) - s2 * dY, b0 = s2 * (left - px) + c2 * dY;
        i64 first = 0, last = right - left;
        KeepSteps(a0, c2, (uLo - px) * 1024, (uHi - px) * 1024, first, last);
        KeepSteps(b0, s2, (vLo - py) * 1024, (vHi - py) * 1024, first, last);
        if (first >= last) continue;
        T* out = reinterpret_cast<T*>(dst.PixelAddress(0, static_cast<int>(Y + shiftY))) + (left + shiftX);
        const BYTE* bits = src.m_lpBits;
        const i64 pitch = src.Pitch(), column0 = static_cast<i64>(sx) + px, row0 = static_cast<i64>(sy) + py;
        i64 a = a0 + c2 * first, b = b0 + s2 * first;
        for (i64 k = first; k < last; ++k, a += c2, b += s2) {
            const i64 at = (row0 + (b >> 10)) * pitch + (column0 + (a >> 10)) * static_cast<i64>(sizeof(T));
            const T p = *reinterpret_cast<const T*>(bits + at);
            if (keyed && keyFits && p == key) continue;
            out[k] = convert ? static_cast<T>(effect::ConvertBack16(p)) : p;
        }
    }
}

BOOL RotatePixels(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int px, int py, int nAngle, DDSURFACEDATA* lpSrc,
                  int sx, int sy, DWORD dwFlags)
{
    cSurfaceLock dst, src;
    if (!dst.Lock(lpDst) || !src.Lock(lpSrc)) return FALSE;
    if (w <= 0 || h <= 0) return TRUE;
    const bool keyed = dwFlags == 1;
    switch (g_nBpp) {
    case 8: CopyTurned<BYTE>(dst, src, x, y, w, h, px, py, nAngle, sx, sy, keyed); break;
    case 16: CopyTurned<WORD>(dst, src, x, y, w, h, px, py, nAngle, sx, sy, keyed); break;
    case 32: CopyTurned<DWORD>(dst, src, x, y, w, h, px, py, nAngle, sx, sy, keyed); break;
    default: break;
    }
    return TRUE;
}

}  // namespace

BOOL DDBltRotate(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int px, int py, int nAngle, DDSURFACEDATA* lpSrc,
                 int sx, int sy, DWORD dwFlags)
{
    if (lpDTCon) {
        if (!lpDst || !lpSrc) return TRUE;
        int sw = w, sh = h;
        DDMirrorSourceRect(lpSrc, &sx, &sy, &sw, &sh);
        DDResolveMirror(&lpDst);
        DDResolveMirror(&lpSrc);
        DDRedirectBackBuffer(&lpDst);
        DDRedirectBackBuffer(&lpSrc);
        if (!lpDst->lpDT || !lpSrc->lpDT) return TRUE;
        if (lpDst->lpDT->bRenderTarget && lpSrc->lpDT->nMemType != DTMEMORYTYPE_SYSTEM) {
            RotateQuad(lpDst, x, y, w, h, px, py, nAngle, lpSrc, sx, sy, sw, sh);
            return TRUE;
        }
    }
    return RotatePixels(lpDst, x, y, w, h, px, py, nAngle, lpSrc, sx, sy, dwFlags);
}
