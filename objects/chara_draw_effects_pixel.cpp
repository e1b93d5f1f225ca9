// The draw effects computed pixel by pixel: the rotations, the lens, the tint, the
// translucency, the mosaic and the blur. Each reads the cheapest source its back end allows:
// under DirectDraw the effect copy of the sheet (system memory), under Direct3D a work surface
// that the effect is rendered from into the staging surface when the device cannot draw it
// straight onto the back buffer.
#include <algorithm>
#include <optional>

#include "data/database.h"
#include "graphics/blit.h"
#include "graphics/blur.h"
#include "graphics/device.h"
#include "graphics/fill.h"
#include "graphics/lens.h"
#include "graphics/mosaic.h"
#include "graphics/palette.h"
#include "graphics/rotate.h"
#include "graphics/translucent.h"
#include "objects/chara.h"
#include "objects/chara_draw_effect.h"
#include "objects/chara_draw_effect_frame.h"
#include "objects/image_source.h"
#include "shell/game_arithmetic.h"

namespace {

constexpr int kBlurTintColour = 31;

double Root2() { return GameSqrt(2.0); }

void DrawRotateB(const CHARAEFFECTFRAME& f)
{
    const int cx = WrapAdd(f.x, f.w / 2);
    const int cy = WrapAdd(f.y, f.h / 2);
    if (f.scaled) {
        DDSURFACEDATA* work = RotationWork();
        f.chara.DrawEffectSurface(work, f.source);
        DDBltRotate(f.target, cx, cy, f.w, f.h, f.w / 2, f.h / 2, f.IntValue(), work, 0, 0, kEffectKeyed);
        return;
    }
    // DirectDraw draws no colour change here.
    std::optional<cColourState> colour;
    if (lpDTCon) colour.emplace(f.source);
    DDBltRotate(f.target, cx, cy, f.w, f.h, f.w / 2, f.h / 2, f.IntValue(), f.EffectSurface(), f.sx, f.sy, kEffectKeyed);
}

// Under DirectDraw a giant chara is turned at its picture's size and the result scaled.
void DrawRotateA(const CHARAEFFECTFRAME& f)
{
    if (lpDTCon) {
        DrawRotateB(f);
        return;
    }
    if (!f.scaled) {
        DDBltRotate(f.target, WrapAdd(f.x, f.w / 2), WrapAdd(f.y, f.h / 2), f.w, f.h, f.w / 2, f.h / 2, f.IntValue(),
                    f.EffectSurface(), f.sx, f.sy, kEffectKeyed);
        return;
    }
    DDSURFACEDATA* work = CharaEffectWork();
    const int side = TruncToInt(f.sw * Root2());
    DDFillRectPal(work, 0, 0, side, side, 0);
    DDBltRotate(work, side / 2, side / 2, f.sw, f.sh, f.sw / 2, f.sh / 2, f.IntValue(), f.EffectSurface(), f.sx, f.sy, kEffectOpaque);
    const int d = TruncToInt(f.w * Root2());
    DDBlt(f.target, WrapSub(WrapAdd(f.x, f.w / 2), d / 2), WrapSub(WrapAdd(f.y, f.h / 2), d / 2), d, d, work, 0, 0, side, side,
          kEffectKeyed);
}

void DrawLens(const CHARAEFFECTFRAME& f)
{
    const int dx = WrapMul(f.Param(4), f.s);
    const int dy = WrapMul(f.Param(5), f.s);
    const int m = std::max(WrapAbs(dx), WrapAbs(dy));
    const int r = TruncToInt((f.w / 2 + m) * Root2());
    int depth = f.IntValue();
    DDSURFACEDATA* large = LargeWork();
    const int cleared = (!lpDTCon && g_nBpp != 16) ? WrapMul(2, r) : WrapMul(4, r);
    DDFillRectPal(large, 0, 0, cleared, cleared, 0);
    if (f.scaled) {
        f.chara.DrawEffectSurface(large, f.source);
        depth = WrapMul(depth, f.s);
    } else {
        const cColourState colour(f.source);
        DDBltFast(large, 0, 0, f.w, f.h, f.Surface(), f.sx, f.sy, kEffectOpaque);
    }
    const int scx = WrapAdd(f.w / 2, dx);
    const int scy = WrapAdd(f.h / 2, dy);
    if (lpDTCon && (f.source.m_bColorChange || lpDTCon->bVirBackBuffer)) {
        DDSURFACEDATA* staging = StagingSurface();
        DDFillRectPal(staging, 0, 0, WrapMul(4, r), WrapMul(4, r), 0);
        const BOOL clear = f.source.m_bColorChange || (g_nWindowMode == 1 && g_nBpp == 32);
        DDBltLens(staging, r, r, r, depth, large, scx, scy, kEffectKeyed, clear);
        DDBltFastEx(f.target, WrapSub(WrapAdd(f.x, scx), r), WrapSub(WrapAdd(f.y, scy), r), WrapMul(2, r), WrapMul(2, r), staging,
                    0, 0, kEffectKeyed, ColourStateOf(f.source));
        return;
    }
    DDBltLens(f.target, WrapAdd(f.x, scx), WrapAdd(f.y, scy), r, depth, large, scx, scy, kEffectKeyed, FALSE);
}

void DrawTint(const CHARAEFFECTFRAME& f)
{
    DDSURFACEDATA* work = TintWork();
    if (f.scaled) {
        f.chara.DrawEffectSurface(work, f.source);
    } else if (f.source.m_bColorChange) {
        f.chara.DrawEffectSurfaceRaw(work, f.source);
    } else {
        DDBltTint(f.target, f.x, f.y, f.w, f.h, f.EffectSurface(), f.sx, f.sy, kEffectKeyed, g_DisplayPalette, g_BlendTable,
                  f.Param(4), f.IntValue());
        return;
    }
    DDBltTint(f.target, f.x, f.y, f.w, f.h, work, 0, 0, kEffectKeyed, g_DisplayPalette, g_BlendTable, f.Param(4), f.IntValue());
}

void DrawHalf(const CHARAEFFECTFRAME& f)
{
    DDSURFACEDATA* work = TintWork();
    if (f.scaled) {
        f.chara.DrawEffectSurface(work, f.source);
    } else if (lpDTCon && f.source.m_bColorChange) {
        f.chara.DrawEffectSurfaceRaw(work, f.source);
    } else {
        DDBltHalf(f.target, f.x, f.y, f.w, f.h, f.EffectSurface(), f.sx, f.sy, kEffectKeyed, g_BlendTable);
        return;
    }
    DDBltHalf(f.target, f.x, f.y, f.w, f.h, work, 0, 0, kEffectKeyed, g_BlendTable);
}

// The mosaic's or the blur's filter of a w x h rectangle from (sx, sy) of src to (x, y) of dst.
using FRAMEFILTER = void (*)(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int value);

void MosaicFilter(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int value)
{
    DDBltMosaic(dst, x, y, w, h, value, src, sx, sy, kEffectKeyed);
}

void BlurFilter(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int value)
{
    DDBltBlur(dst, x, y, w, h, value, value, src, sx, sy, kEffectKeyed);
}

// The filtered frame through the staging surface, copied to the target with the colour change.
void FilterThroughStaging(const CHARAEFFECTFRAME& f, FRAMEFILTER filter, DDSURFACEDATA* from)
{
    DDSURFACEDATA* staging = StagingSurface();
    DDFillRectPal(staging, 0, 0, WrapMul(2, f.w), WrapMul(2, f.h), 0);
    filter(staging, 0, 0, f.w, f.h, from, 0, 0, f.IntValue());
    DDBltFastEx(f.target, f.x, f.y, f.w, f.h, staging, 0, 0, kEffectKeyed, ColourStateOf(f.source));
}

void DrawFiltered(const CHARAEFFECTFRAME& f, FRAMEFILTER filter)
{
    DDSURFACEDATA* large = LargeWork();
    if (f.scaled) {
        f.chara.DrawEffectSurface(large, f.source);
        if (lpDTCon && (f.source.m_bColorChange || lpDTCon->bVirBackBuffer)) FilterThroughStaging(f, filter, large);
        else filter(f.target, f.x, f.y, f.w, f.h, large, 0, 0, f.IntValue());
        return;
    }
    if (!lpDTCon) {
        filter(f.target, f.x, f.y, f.w, f.h, f.EffectSurface(), f.sx, f.sy, f.IntValue());
        return;
    }
    f.chara.DrawEffectSurfaceRaw(large, f.source);
    FilterThroughStaging(f, filter, large);
}

void DrawBlur(const CHARAEFFECTFRAME& f)
{
    if (g_nBpp != 8) {
        DrawFiltered(f, BlurFilter);
        return;
    }
    // No blur at 8 bits: the frame is tinted toward colour 31 instead. A scaled frame is put
    // into the large work surface before it is read, not after.
    DDSURFACEDATA* from = f.EffectSurface();
    int sx = f.sx;
    int sy = f.sy;
    if (f.scaled) {
        from = LargeWork();
        f.chara.DrawEffectSurface(from, f.source);
        sx = sy = 0;
    }
    DDBltTint(f.target, f.x, f.y, f.w, f.h, from, sx, sy, kEffectKeyed, g_DisplayPalette, g_BlendTable, kBlurTintColour,
              f.IntValue());
}

}  // namespace

int DrawEffectRotateA(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw)
{
    return DrawThenStep(chara, target, source, paused, draw, DrawRotateA);
}

int DrawEffectRotateB(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw)
{
    return DrawThenStep(chara, target, source, paused, draw, DrawRotateB);
}

int DrawEffectLens(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw)
{
    return DrawThenStep(chara, target, source, paused, draw, DrawLens);
}

int DrawEffectTint(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw)
{
    return DrawThenStep(chara, target, source, paused, draw, DrawTint);
}

int DrawEffectTranslucent(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw)
{
    // The toggle hides the chara here, where the blink's shows it.
    cEffectPlayback& playback = PlaybackOf(chara);
    if (draw == 1 && target && source && !playback.m_nToggle) DrawHalf(CHARAEFFECTFRAME(chara, target, *source));
    FlipOnInterval(playback, paused);
    return StepUnlessPaused(chara, paused);
}

int DrawEffectMosaic(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw)
{
    return DrawThenStep(chara, target, source, paused, draw,
                        [](const CHARAEFFECTFRAME& f) { DrawFiltered(f, MosaicFilter); });
}

int DrawEffectBlur(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw)
{
    return DrawThenStep(chara, target, source, paused, draw, DrawBlur);
}
