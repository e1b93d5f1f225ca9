// The draw effects that move parts of the frame: the burst, the split, the wave, the blink,
// the turn, the circle and the zoom. A scaled frame is first drawn at its size into the
// chara-effect work surface and the effect reads it from there; an unscaled one is read from
// its sheet with the colour change around the call.
#include "data/database.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/effect_blit.h"
#include "objects/chara.h"
#include "objects/chara_draw_effect.h"
#include "objects/chara_draw_effect_frame.h"
#include "objects/image_source.h"
#include "shell/game_arithmetic.h"

namespace {

constexpr int kWavePhases = 360;

// The frame at its draw size in the chara-effect work surface.
DDSURFACEDATA* ScaledIntoWork(const CHARAEFFECTFRAME& f)
{
    DDSURFACEDATA* work = CharaEffectWork();
    f.chara.DrawEffectSurface(work, f.source);
    return work;
}

void DrawStripes(const CHARAEFFECTFRAME& f, BOOL vertical)
{
    const int band = BandLength(f.h, f.Param(4));
    if (f.scaled) {
        DDBltStripeShift(f.target, f.x, f.y, f.w, f.h, band, f.ScaledValue(), ScaledIntoWork(f), 0, 0, kEffectKeyed, vertical);
        return;
    }
    const cColourState colour(f.source);
    DDBltStripeShift(f.target, f.x, f.y, f.w, f.h, band, f.IntValue(), f.Surface(), f.sx, f.sy, kEffectKeyed, vertical);
}

// The wave draws on the back buffer, which is the target every caller passes; its phase
// turns by a degree each unpaused frame.
int RunWave(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw, BOOL vertical)
{
    cEffectPlayback& playback = PlaybackOf(chara);
    if (draw == 1 && target && source) {
        const CHARAEFFECTFRAME f(chara, target, *source);
        const int phase = playback.m_nCounter;
        if (f.scaled) {
            DDBltWave(&g_BackBuffer, f.x, f.y, f.w, f.h, f.Param(4), f.s * f.Value(), phase, WrapMul(f.Param(5), f.s),
                      ScaledIntoWork(f), 0, 0, kEffectKeyed, vertical);
        } else {
            const cColourState colour(f.source);
            DDBltWave(&g_BackBuffer, f.x, f.y, f.w, f.h, f.Param(4), f.Value(), phase, f.Param(5), f.Surface(), f.sx, f.sy,
                      kEffectKeyed, vertical);
        }
    }
    if (!paused) {
        playback.m_nCounter = WrapAdd(playback.m_nCounter, 1);
        if (playback.m_nCounter >= kWavePhases) playback.m_nCounter = 0;
    }
    return StepUnlessPaused(chara, paused);
}

void DrawCircle(const CHARAEFFECTFRAME& f)
{
    const int cx = WrapAdd(f.x, f.w / 2);
    const int cy = WrapAdd(f.y, f.h / 2);
    // Under Direct3D an unscaled frame goes through the work surface as a scaled one does.
    if (f.scaled || lpDTCon) {
        DDBltCircle(f.target, cx, cy, f.w / 2, f.h / 2, f.ScaledValue(), WrapMul(f.Param(4), f.s), ScaledIntoWork(f),
                    f.w / 2, f.h / 2, kEffectKeyed);
        return;
    }
    DDBltCircle(f.target, cx, cy, f.w / 2, f.h / 2, f.IntValue(), f.Param(4), f.Surface(), WrapAdd(f.sx, f.w / 2),
                WrapAdd(f.sy, f.h / 2), kEffectKeyed);
}

void DrawZoom(const CHARAEFFECTFRAME& f)
{
    if (f.scaled) {
        // The growth is scaled and then halved before it is spread on both sides.
        const int e = TruncToInt((f.Value() - 32) * f.s) >> 1;
        DDBlt(f.target, WrapSub(f.x, e / 2), WrapSub(f.y, e / 2), WrapAdd(f.w, e), WrapAdd(f.h, e), ScaledIntoWork(f), 0, 0,
              f.w, f.h, kEffectKeyed);
        return;
    }
    const int e = TruncToInt(f.Value() - 32);
    const cColourState colour(f.source);
    DDBlt(f.target, WrapSub(f.x, e / 2), WrapSub(f.y, e / 2), WrapAdd(f.w, e), WrapAdd(f.h, e), f.EffectSurface(), f.sx,
          f.sy, f.w, f.h, kEffectKeyed);
}

}  // namespace

int DrawEffectBurst(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw)
{
    return DrawThenStep(chara, target, source, paused, draw, [](const CHARAEFFECTFRAME& f) {
        if (f.scaled) {
            DDBltSplitQuarters(f.target, f.x, f.y, f.w, f.h, ScaledIntoWork(f), 0, 0, f.ScaledValue(), kEffectKeyed);
            return;
        }
        const cColourState colour(f.source);
        DDBltSplitQuarters(f.target, f.x, f.y, f.w, f.h, f.Surface(), f.sx, f.sy, f.IntValue(), kEffectKeyed);
    });
}

int DrawEffectSplitH(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw)
{
    return DrawThenStep(chara, target, source, paused, draw, [](const CHARAEFFECTFRAME& f) { DrawStripes(f, FALSE); });
}

int DrawEffectSplitV(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw)
{
    return DrawThenStep(chara, target, source, paused, draw, [](const CHARAEFFECTFRAME& f) { DrawStripes(f, TRUE); });
}

int DrawEffectWaveH(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw)
{
    return RunWave(chara, target, source, paused, draw, FALSE);
}

int DrawEffectWaveV(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw)
{
    return RunWave(chara, target, source, paused, draw, TRUE);
}

int DrawEffectBlink(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw)
{
    cEffectPlayback& playback = PlaybackOf(chara);
    if (draw == 1 && target && source && playback.m_nToggle) DrawPlainFrame(CHARAEFFECTFRAME(chara, target, *source));
    FlipOnInterval(playback, paused);
    return StepUnlessPaused(chara, paused);
}

int DrawEffectTurn(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw)
{
    return DrawThenStep(chara, target, source, paused, draw, [](const CHARAEFFECTFRAME& f) {
        const cColourState colour(f.source);
        DDBltTurnOver(f.target, f.x, f.y, f.w, f.h, f.ScaleSurface(), f.sx, f.sy, f.ScaleBackSurface(), f.sx, f.sy, f.sw, f.sh,
                      kEffectKeyed, f.IntValue(), 0);
    });
}

int DrawEffectCircle(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw)
{
    return DrawThenStep(chara, target, source, paused, draw, DrawCircle);
}

int DrawEffectZoom(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw)
{
    return DrawThenStep(chara, target, source, paused, draw, DrawZoom);
}
