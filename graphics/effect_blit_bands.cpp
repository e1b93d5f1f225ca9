#include <cmath>
#include "graphics/blit.h"
#include "graphics/effect_blit.h"
#include "graphics/effect_blit_math.h"
#include "graphics/sprite_batch.h"

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;

// The sprite batch (grouping off) around an effect's blits.
class cEffectBatch {
public:
    cEffectBatch() { DDBeginSpriteBatch(FALSE); }
    ~cEffectBatch() { DDEndSpriteBatch(); }
    cEffectBatch(const cEffectBatch&) = delete;
    cEffectBatch& operator=(const cEffectBatch&) = delete;
};

}  // namespace

int DDBltWave(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int nWaves, double dAmplitude, int nPhase, int nBand,
              DDSURFACEDATA* lpSrc, int sx, int sy, DWORD dwFlags, BOOL bVertical)
{
    if (nBand <= 0 || w <= 0 || h <= 0) return 1;
    const double k = nWaves * kRadiansPerDegree;
    const int length = bVertical ? w : h;
    // In double: 360 / 480 as an int would be 0.
    const double step = 360.0 / length * nBand;
    // Bands go down (or right) from the first: past the destination's far edge nothing more shows.
    const long long visible = bVertical ? static_cast<long long>(lpDst ? lpDst->nWidth : 0) - x
                                        : static_cast<long long>(lpDst ? lpDst->nHeight : 0) - y;
    double sum = 0.0;
    const cEffectBatch batch;
    for (int at = 0; at < length && at < visible; at += std::min(nBand, length - at)) {
        sum += step;
        const int size = std::min(nBand, length - at);
        const int offset = TruncSat(dAmplitude * std::sin(k * (nPhase + sum)));
        if (bVertical) DDBltFast(lpDst, SatAdd(x, at), SatAdd(y, offset), size, h, lpSrc, SatAdd(sx, at), sy, dwFlags);
        else DDBltFast(lpDst, SatAdd(x, offset), SatAdd(y, at), w, size, lpSrc, sx, SatAdd(sy, at), dwFlags);
    }
    return 1;
}

int DDBltStripeShift(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int nBand, int nShift, DDSURFACEDATA* lpSrc,
                     int sx, int sy, DWORD dwFlags, BOOL bVertical)
{
    if (nBand == 0) return DDBltFast(lpDst, x, y, w, h, lpSrc, sx, sy, dwFlags);
    const int bands = (bVertical ? w : h) / nBand;  // a partial last band is not drawn
    const long long visible = bVertical ? static_cast<long long>(lpDst ? lpDst->nWidth : 0) - x
                                        : static_cast<long long>(lpDst ? lpDst->nHeight : 0) - y;
    const cEffectBatch batch;
    // The odd bands first, moved back; then the even ones, moved forward.
    for (int first : {1, 0}) {
        const int shift = first == 1 ? SatSub(0, nShift) : nShift;
        for (int b = first; b < bands; b += 2) {
            const int at = b * nBand;
            if (at >= visible) break;
            if (bVertical) DDBltFast(lpDst, SatAdd(x, at), SatAdd(y, shift), nBand, h, lpSrc, SatAdd(sx, at), sy, dwFlags);
            else DDBltFast(lpDst, SatAdd(x, shift), SatAdd(y, at), w, nBand, lpSrc, sx, SatAdd(sy, at), dwFlags);
        }
    }
    return 1;
}

int DDBltTurnOver(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpFront, int fx, int fy,
                  DDSURFACEDATA* lpBack, int bx, int by, int sw, int sh, DWORD dwFlags, int nPhase, int nAxis)
{
    if (nAxis != 0 && nAxis != 1) return 1;
    const long long size = nAxis == 0 ? w : h;
    const long long half = size >> 1;
    long long inset = 0;
    bool back = false;
    // A size below 2 has no half turn and a negative phase has not started turning: the
    // front at full size.
    if (half > 0 && nPhase >= 0) {
        const long long phase = nPhase;
        inset = (phase / half) % 2 == 0 ? phase % half : half - phase % half - 1;
        back = ((half + phase) / size) % 2 == 1;
    }
    DDSURFACEDATA* source = back ? lpBack : lpFront;
    const int srcX = back ? bx : fx, srcY = back ? by : fy;
    // A picture wholly outside the destination (or without area) shows nothing: it is not
    // handed to the scaling blit, whose quad could not hold such coordinates.
    const long long left = nAxis == 0 ? x + inset : x, top = nAxis == 1 ? y + inset : y;
    const long long width = nAxis == 0 ? w - 2 * inset : w, height = nAxis == 1 ? h - 2 * inset : h;
    if (!lpDst || width <= 0 || height <= 0 || left >= lpDst->nWidth || top >= lpDst->nHeight || left + width <= 0 ||
        top + height <= 0)
        return 1;
    if (nAxis == 0) return DDBlt(lpDst, Sat(x + inset), y, Sat(w - 2 * inset), h, source, srcX, srcY, sw, sh, dwFlags);
    return DDBlt(lpDst, x, Sat(y + inset), w, Sat(h - 2 * inset), source, srcX, srcY, sw, sh, dwFlags);
}

int DDBltSplitQuarters(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, int nGap,
                       DWORD dwFlags)
{
    const int hw = w >> 1, hh = h >> 1;
    const int left = SatSub(x, nGap), top = SatSub(y, nGap);
    const int right = Sat(static_cast<long long>(x) + hw + nGap), bottom = Sat(static_cast<long long>(y) + hh + nGap);
    const cEffectBatch batch;
    DDBltFast(lpDst, left, top, hw, hh, lpSrc, sx, sy, dwFlags);
    DDBltFast(lpDst, right, top, hw, hh, lpSrc, SatAdd(sx, hw), sy, dwFlags);
    DDBltFast(lpDst, left, bottom, hw, hh, lpSrc, sx, SatAdd(sy, hh), dwFlags);
    DDBltFast(lpDst, right, bottom, hw, hh, lpSrc, SatAdd(sx, hw), SatAdd(sy, hh), dwFlags);
    return 1;
}
