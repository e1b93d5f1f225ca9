#include "graphics/screen_color.h"

#include <algorithm>
#include <cmath>
#include "graphics/blit.h"
#include "graphics/blit_quad.h"
#include "graphics/device.h"
#include "graphics/effect_pixels.h"
#include "graphics/palette.h"
#include "graphics/surface_lock.h"
#include "shell/log.h"

namespace {

constexpr double kFadeRadians = 0.017453292519943295;

// The fade angles in degrees, one per direction and back end, for the whole run.
double s_dFadeOutAngleD3D = 90.0;
double s_dFadeOutAngleDD = 90.0;
double s_dFadeInAngleD3D = 0.0;
double s_dFadeInAngleDD = 0.0;

// x × w + colour × (256 − w), shifted down by 8, on the three colour bytes at once: red and
// blue share one word in 16-bit lanes, green another (no lane exceeds 255 × 256).
[[gnu::noinline]] void FadeRow32(const DWORD* __restrict work, DWORD* __restrict out, int n, DWORD w, DWORD colorRB,
                                 DWORD colorG)
{
    for (int i = 0; i < n; ++i) {
        const DWORD p = work[i];
        const DWORD rb = (((p & 0x00FF00FFu) * w + colorRB) >> 8) & 0x00FF00FFu;
        const DWORD g = (((p & 0x0000FF00u) * w + colorG) >> 8) & 0x0000FF00u;
        out[i] = (out[i] & 0xFF000000u) | rb | g;
    }
}

// Direct3D: the back buffer (or the virtual one) covered by black of alpha 255 − s.
bool FadeDirect3D(double angle)
{
    const int s = static_cast<int>(std::sin(angle * kFadeRadians) * 255);
    DDSURFACEDATA* target = &g_BackBuffer;
    DDRedirectBackBuffer(&target);
    plat::cD3DVertex quad[4];
    DDMakeQuad(quad, 0, 0, target->nWidth, target->nHeight, 0.0f, 0.0f, 0.0f, 0.0f, static_cast<DWORD>(255 - s) << 24);
    const EFFECTQUADRESULT result = DDDrawEffectQuad(target, target, quad, [] {
        g_lpDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
        g_lpDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        g_lpDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
        g_lpDevice->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    });
    return result != EFFECTQUAD_NOSCENE;
}

// DirectDraw: the palette range (8 bits) or the picture saved in g_DDWork pulled toward the
// colour by sin(angle).
void FadeDirectDraw(double angle, PALETTEENTRY* lpWorkPal, int nFirst, int nLast, BYTE bRed, BYTE bGreen, BYTE bBlue,
                    const PALETTEENTRY* lpSrcPal)
{
    const int s = static_cast<int>(std::sin(angle * kFadeRadians) * 256);
    if (g_nBpp == 8) {
        DDBlendPalette(lpWorkPal, nFirst, nLast, s, bRed, bGreen, bBlue, lpSrcPal);
        nFirst = std::max(nFirst, 0);
        nLast = std::min(nLast, 255);
        if (g_lpDDPalette && lpWorkPal && nFirst <= nLast)
            g_lpDDPalette->SetEntries(0, static_cast<DWORD>(nFirst), static_cast<DWORD>(nLast - nFirst + 1), lpWorkPal + nFirst);
    } else {
        DDFade_UnPal(&g_BackBuffer, s, bRed, bGreen, bBlue, &g_DDWork);
    }
}

void SaveBackBufferForFade()
{
    if (g_nBpp != 8) DDBltFast(&g_DDWork, 0, 0, g_DDWork.nWidth, g_DDWork.nHeight, &g_BackBuffer, 0, 0, 0);
}

// One call of a fade: angles run from `from` to `to` (90 → 0 out, 0 → 90 in).
BYTE Fade(double& angleD3D, double& angleDD, double from, double to, PALETTEENTRY* lpWorkPal, int nFirst, int nLast,
          BYTE bRed, BYTE bGreen, BYTE bBlue, double dStep, const PALETTEENTRY* lpSrcPal, BYTE bReset)
{
    double* angle = nullptr;
    if (lpDTCon) {
        if (bReset) angleD3D = to;
        if (!FadeDirect3D(angleD3D)) return 0;
        angle = &angleD3D;
    } else if (lpDDCon) {
        if (angleDD == from) SaveBackBufferForFade();
        if (bReset) angleDD = to;
        FadeDirectDraw(angleDD, lpWorkPal, nFirst, nLast, bRed, bGreen, bBlue, lpSrcPal);
        angle = &angleDD;
    } else {
        return 0;
    }
    if (*angle == to) {
        *angle = from;
        return 1;
    }
    *angle = to < from ? std::max(*angle - dStep, to) : std::min(*angle + dStep, to);
    return 0;
}

}  // namespace

int DDFade_UnPal(DDSURFACEDATA* lpSD, int nWeight, BYTE bRed, BYTE bGreen, BYTE bBlue, DDSURFACEDATA* lpWork)
{
    if (lpDTCon) {
        EcLog("D3DではDDFade_UnPalは未対応");
        return 1;
    }
    cSurfaceLock dst, work;
    if (!dst.Lock(lpSD) || !work.Lock(lpWork)) return 0;
    const int w = std::clamp(nWeight, 0, 256);
    // Only pixels that both records have.
    const int width = std::min(dst.Locked()->nWidth, work.Locked()->nWidth);
    const int height = std::min(dst.Locked()->nHeight, work.Locked()->nHeight);
    if (width <= 0 || height <= 0) return 1;
    if (g_nBpp == 32) {
        const DWORD keep = static_cast<DWORD>(256 - w);
        const DWORD colorRB = (static_cast<DWORD>(bRed) * keep) << 16 | static_cast<DWORD>(bBlue) * keep;
        const DWORD colorG = (static_cast<DWORD>(bGreen) * keep) << 8;
        for (int y = 0; y < height; ++y)
            FadeRow32(effect::Row<DWORD>(work.m_lpBits, work.Pitch(), y), effect::Row<DWORD>(dst.m_lpBits, dst.Pitch(), y),
                      width, static_cast<DWORD>(w), colorRB, colorG);
    } else if (g_nBpp == 16) {
        // Each component's result depends on that component alone: one table per channel.
        const BYTE colour[3] = {bRed, bGreen, bBlue};
        WORD table[3][256] = {};
        for (int c = 0; c < 3; ++c) {
            const int max = effect::Maximum(c);
            if (max <= 0) continue;
            for (int v = 0; v <= std::min(max, 255); ++v) {
                const int out8 = (colour[c] * (256 - w) + w * (v * 255 / max)) >> 8;
                table[c][v] = static_cast<WORD>((out8 * max / 255) << g_PixelFormat[PF_SHIFT_R + c]);
            }
        }
        for (int y = 0; y < height; ++y) {
            const WORD* in = effect::Row<WORD>(work.m_lpBits, work.Pitch(), y);
            WORD* out = effect::Row<WORD>(dst.m_lpBits, dst.Pitch(), y);
            for (int x = 0; x < width; ++x) {
                const DWORD p = in[x];
                out[x] = static_cast<WORD>(table[0][effect::Component(p, 0) & 255] | table[1][effect::Component(p, 1) & 255] |
                                           table[2][effect::Component(p, 2) & 255]);
            }
        }
    }
    return 1;
}

BYTE DDFadeOut(PALETTEENTRY* lpWorkPal, int nFirst, int nLast, BYTE bRed, BYTE bGreen, BYTE bBlue, double dStep,
               const PALETTEENTRY* lpSrcPal, BYTE bReset)
{
    return Fade(s_dFadeOutAngleD3D, s_dFadeOutAngleDD, 90.0, 0.0, lpWorkPal, nFirst, nLast, bRed, bGreen, bBlue, dStep,
                lpSrcPal, bReset);
}

BYTE DDFadeIn(PALETTEENTRY* lpWorkPal, int nFirst, int nLast, BYTE bRed, BYTE bGreen, BYTE bBlue, double dStep,
              const PALETTEENTRY* lpSrcPal, BYTE bReset)
{
    return Fade(s_dFadeInAngleD3D, s_dFadeInAngleDD, 0.0, 90.0, lpWorkPal, nFirst, nLast, bRed, bGreen, bBlue, dStep,
                lpSrcPal, bReset);
}

namespace {

// One component v (0..max) multiplied by the colour component c and laid over itself with
// opacity a, rounded as the device's modulate and blend stages round.
inline DWORD MultiplyComponent(DWORD v, DWORD c, DWORD a)
{
    const DWORD shaded = (v * c + 127) / 255;
    return (shaded * a + v * (255 - a) + 127) / 255;
}

// The screen colour on a record that is no texture (the back buffer while the stage draws
// straight into it): the device cannot sample it, so its pixels are multiplied in place. The
// bits outside red, green and blue are kept.
void MultiplyInPlace(DDSURFACEDATA* lpSD, BYTE bAlpha, BYTE bRed, BYTE bGreen, BYTE bBlue)
{
    cSurfaceLock lock;
    if (!lock.Lock(lpSD) || lock.m_nBytesPerPixel < 2) return;
    const int* format = DDIsFullScreenBackBuffer(lock.Locked()) ? g_BackBufferFormat : g_PixelFormat;
    const DWORD colour[3] = {bRed, bGreen, bBlue};
    const DWORD opacity = 255u - bAlpha;
    DWORD keep = 0xFFFFFFFFu;
    for (int c = 0; c < 3; ++c) keep &= ~(static_cast<DWORD>(format[PF_MAX_R + c]) << format[PF_SHIFT_R + c]);
    const int width = lock.Locked()->nWidth;
    const int height = lock.Locked()->nHeight;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            BYTE* at = lock.PixelAddress(x, y);
            const DWORD p = effect::Read(at, lock.m_nBytesPerPixel);
            DWORD out = p & keep;
            for (int c = 0; c < 3; ++c) {
                const DWORD max = static_cast<DWORD>(format[PF_MAX_R + c]);
                const int shift = format[PF_SHIFT_R + c];
                // A colour component of 0..255 is a fraction of the full channel at any depth.
                const DWORD v = (p >> shift) & max;
                out |= (MultiplyComponent(v, colour[c], opacity) & max) << shift;
            }
            if (lock.m_nBytesPerPixel == 2) *reinterpret_cast<WORD*>(at) = static_cast<WORD>(out);
            else *reinterpret_cast<DWORD*>(at) = out;
        }
    }
}

}  // namespace

int DDChangeColorFrom(DDSURFACEDATA* lpDst, int, int, int, int, DDSURFACEDATA* lpSrc, BYTE bAlpha, BYTE bRed,
                      BYTE bGreen, BYTE bBlue)
{
    if (!lpDTCon) {
        EcLog("DDrawでは DDChangeColor(DDSURFACEDATA *lpDstSD,int x,int y,int nWidth,int nHeight,int nAlpha,BYTE bRed,BYTE bGreen,BYTE bBlue) は未対応");
        return 1;
    }
    if (!lpDst || !lpSrc) return 1;
    DDResolveMirror(&lpDst);
    DDResolveMirror(&lpSrc);
    DDRedirectBackBuffer(&lpDst);
    DDRedirectBackBuffer(&lpSrc);
    if (!lpSrc->lpDT || !lpSrc->lpDT->lpTexture) {
        if (lpSrc == lpDst) MultiplyInPlace(lpDst, bAlpha, bRed, bGreen, bBlue);
        return 1;
    }
    const double tw = lpSrc->nTexWidth > 0 ? lpSrc->nTexWidth : 1, th = lpSrc->nTexHeight > 0 ? lpSrc->nTexHeight : 1;
    const DWORD color = static_cast<DWORD>(255 - bAlpha) << 24 | static_cast<DWORD>(bRed) << 16 |
                        static_cast<DWORD>(bGreen) << 8 | bBlue;
    plat::cD3DVertex quad[4];
    DDMakeQuad(quad, 0, 0, lpDst->nWidth, lpDst->nHeight, 0.0f, 0.0f, static_cast<float>(lpDst->nWidth / tw),
               static_cast<float>(lpDst->nHeight / th), color);
    IDirect3DTexture9* texture = lpSrc->lpDT->lpTexture;
    DDDrawEffectQuad(lpSrc, lpDst, quad, [texture] {
        DDSetBlitStages(D3DTOP_MODULATE, D3DTOP_MODULATE);
        g_lpDevice->SetTexture(0, texture);
    });
    return 1;
}

int DDChangeColor(DDSURFACEDATA* lpDst, int x, int y, int nWidth, int nHeight, BYTE bAlpha, BYTE bRed, BYTE bGreen,
                  BYTE bBlue)
{
    return DDChangeColorFrom(lpDst, x, y, nWidth, nHeight, lpDst, bAlpha, bRed, bGreen, bBlue);
}
