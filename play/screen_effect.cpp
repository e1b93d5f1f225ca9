// The screen effects: each frame a handler captures the finished stage picture into a work
// surface, clears the screen to palette colour 16 and draws the picture back transformed, with
// texture alpha ignored; then, unless paused, it moves the effect on and says whether it has
// finished. The handlers are chosen by the kind of the effect's database entry.
#include "play/screen_effect.h"

#include <algorithm>

#include "data/database.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/effect_blit.h"
#include "graphics/fill.h"
#include "graphics/lens.h"
#include "graphics/mosaic.h"
#include "graphics/rotate.h"
#include "graphics/standard_surfaces.h"
#include "objects/chara.h"
#include "objects/chara_draw_effect_frame.h"
#include "objects/effect_kinds.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"
#include "shell/root_two.h"

namespace {

constexpr int kScreenW = 640;
constexpr int kScreenH = 480;
constexpr DWORD kOpaque = 0;
constexpr DWORD kTransparent = 1;
constexpr DWORD kUncovered = 16;   // the palette colour of what the picture leaves bare
constexpr int kWavePhases = 360;
constexpr double kPerScreenWidth = 0.0015625;   // 1 / 640: the zoom's value is the width shown

using SCREENEFFECTHANDLER = int (*)(cPlayScene& scene, int paused);

DDSURFACEDATA* Back() { return &g_BackBuffer; }
// The video work surface, and the one in system memory for the effects that read pixels.
DDSURFACEDATA* VideoWork() { return &g_StdSurface[kWorkPicture]; }
DDSURFACEDATA* SystemWork() { return &g_StdSurface[kWorkPicture + 1]; }

// The entry's parameter n (1 to 5; 1 the duration in tenths of a second).
int Param(const cScreenEffect& effect, int n) { return effect.ScrEntry().m_nParams[n - 1]; }

void Capture(DDSURFACEDATA* work) { DDBltFast(work, 0, 0, kScreenW, kScreenH, Back(), 0, 0, kOpaque); }
void ClearScreen() { DDFillRectPal(Back(), 0, 0, kScreenW, kScreenH, kUncovered); }

// The transformed picture is drawn whole: the alpha of the captured texture must not thin it.
template <class DRAW>
void Redraw(DRAW draw)
{
    DDSetAlphaOp(D3DTOP_DISABLE);
    draw();
    DDResetAlphaOp();
}

// One step of the value from p2 toward p3; 1 when the effect has finished.
int StepFromTo(cScreenEffect& effect)
{
    return effect.StepScreenEffect(Param(effect, 2), Param(effect, 3), effect.m_dStep);
}
// One step of the time from 0 toward the duration.
int StepTimed(cScreenEffect& effect) { return effect.StepScreenEffect(0, Param(effect, 1), effect.m_dStep); }

struct SCREENPOINT {
    int x, y;
};

// Player 1's centre on the screen; the screen's centre while the stage has no player 1.
SCREENPOINT PlayerCentre(const cPlayScene& scene)
{
    const cChara* player = scene.m_lpPlayerOne;
    if (!player) return {kScreenW / 2, kScreenH / 2};
    return {WrapAdd(player->m_ScreenRect.left, player->m_nDrawWidth / 2),
            WrapAdd(player->m_ScreenRect.top, player->m_nDrawHeight / 2)};
}

// The distance from c to the far edge of an axis of the given length.
int FarSide(int c, int length) { return c >= length / 2 ? c : WrapSub(length, c); }

int ScreenEffectNone(cPlayScene&, int)
{
    if (lpDTCon && lpDTCon->bVirBackBuffer) DDSetVirBackBuffer(FALSE);
    return 0;
}

// The picture drawn at the position worked out in the frame before; the next position comes
// from the value before this frame's step. The divisions are real ones: a duration of 0 gives
// a position that is no number rather than a trap.
int ScreenEffectMove(cPlayScene& scene, int paused)
{
    cScreenEffect& effect = scene.m_ScreenEffect;
    Capture(VideoWork());
    ClearScreen();
    Redraw([&] { DDBltFast(Back(), effect.m_nCounter, effect.m_nCounter2, kScreenW, kScreenH, VideoWork(), 0, 0, kOpaque); });
    if (paused) return 0;
    const double duration = Param(effect, 1);
    const int x0 = Param(effect, 2), y0 = Param(effect, 3);
    const double value = effect.m_dValue;
    effect.m_nCounter = TruncToInt(static_cast<double>(WrapSub(Param(effect, 4), x0)) / duration * value + x0);
    effect.m_nCounter2 = TruncToInt(value * (static_cast<double>(WrapSub(Param(effect, 5), y0)) / duration) + y0);
    return StepTimed(effect);
}

// The shake's offset (the second value) runs between -p2 and p2 at p3 × p2 × 4 / (p1 × 6)
// pixels a frame, real division; the counter is the direction, 0 moving +, 1 moving -.
void Shake(cScreenEffect& effect)
{
    const int amplitude = Param(effect, 2);
    const double speed = static_cast<double>(WrapMul(WrapMul(Param(effect, 3), amplitude), 4)) /
                         static_cast<double>(WrapMul(Param(effect, 1), 6));
    double& offset = effect.m_dValue2;
    if (effect.m_nCounter == 0) {
        offset += speed;
        if (offset >= amplitude) {
            offset = amplitude;
            effect.m_nCounter = 1;
        }
    } else {
        offset -= speed;
        if (!(offset > -amplitude)) {
            offset = -amplitude;
            effect.m_nCounter = 0;
        }
    }
}

// Only the strip the moved picture leaves bare is cleared.
int ScreenEffectShakeH(cPlayScene& scene, int paused)
{
    cScreenEffect& effect = scene.m_ScreenEffect;
    const double offset = effect.m_dValue2;
    Capture(VideoWork());
    if (offset > 0) DDFillRectPal(Back(), 0, 0, TruncToInt(offset + 1), kScreenH, kUncovered);
    else if (offset < 0) DDFillRectPal(Back(), TruncToInt(offset + kScreenW), 0, TruncToInt(1 - offset), kScreenH, kUncovered);
    Redraw([&] { DDBltFast(Back(), TruncToInt(offset), 0, kScreenW, kScreenH, VideoWork(), 0, 0, kOpaque); });
    if (paused) return 0;
    Shake(effect);
    return StepTimed(effect);
}

int ScreenEffectShakeV(cPlayScene& scene, int paused)
{
    cScreenEffect& effect = scene.m_ScreenEffect;
    Capture(VideoWork());
    ClearScreen();
    Redraw([&] { DDBltFast(Back(), 0, TruncToInt(effect.m_dValue2), kScreenW, kScreenH, VideoWork(), 0, 0, kOpaque); });
    if (paused) return 0;
    Shake(effect);
    return StepTimed(effect);
}

// Bands of ceil(extent / p4) rows or columns shifted alternately by the value.
int Split(cPlayScene& scene, int paused, BOOL vertical)
{
    cScreenEffect& effect = scene.m_ScreenEffect;
    const int band = BandLength(vertical ? kScreenW : kScreenH, Param(effect, 4));
    Capture(VideoWork());
    ClearScreen();
    Redraw([&] {
        DDBltStripeShift(Back(), 0, 0, kScreenW, kScreenH, band, TruncToInt(effect.m_dValue), VideoWork(), 0, 0, kOpaque,
                         vertical);
    });
    return paused ? 0 : StepFromTo(effect);
}
int ScreenEffectSplitH(cPlayScene& scene, int paused) { return Split(scene, paused, FALSE); }
int ScreenEffectSplitV(cPlayScene& scene, int paused) { return Split(scene, paused, TRUE); }

// p4 waves of amplitude value in bands of p5; the phase (the counter) turns a degree a frame.
int Wave(cPlayScene& scene, int paused, BOOL vertical)
{
    cScreenEffect& effect = scene.m_ScreenEffect;
    Capture(VideoWork());
    ClearScreen();
    Redraw([&] {
        DDBltWave(Back(), 0, 0, kScreenW, kScreenH, Param(effect, 4), effect.m_dValue, effect.m_nCounter, Param(effect, 5),
                  VideoWork(), 0, 0, kOpaque, vertical);
    });
    if (paused) return 0;
    effect.m_nCounter = WrapAdd(effect.m_nCounter, 1);
    if (effect.m_nCounter == kWavePhases) effect.m_nCounter = 0;
    return StepFromTo(effect);
}
int ScreenEffectWaveH(cPlayScene& scene, int paused) { return Wave(scene, paused, FALSE); }
int ScreenEffectWaveV(cPlayScene& scene, int paused) { return Wave(scene, paused, TRUE); }

// While the toggle (the second counter) is 0 the backgrounds hide the stage; every p2 frames
// (of the loaded entry, whichever way the effect plays) the toggle flips. The backgrounds are
// drawn as the stage draws them, so a front layer's transparent parts stay transparent.
int ScreenEffectBlink(cPlayScene& scene, int paused)
{
    cScreenEffect& effect = scene.m_ScreenEffect;
    if (effect.m_nCounter2 == 0) {
        scene.DrawBackgrounds(Back(), 0);
        scene.DrawBackgrounds(Back(), 1);
    }
    if (effect.m_nCounter >= g_Database.m_ScrEffects.At(effect.m_nId).m_nParams[1]) {
        effect.m_nCounter = 0;
        effect.m_nCounter2 = effect.m_nCounter2 ? 0 : 1;
    }
    if (paused) return 0;
    effect.m_nCounter = WrapAdd(effect.m_nCounter, 1);
    return StepTimed(effect);
}

int ScreenEffectRotate(cPlayScene& scene, int paused)
{
    cScreenEffect& effect = scene.m_ScreenEffect;
    Capture(SystemWork());
    ClearScreen();
    Redraw([&] {
        DDBltRotate(Back(), kScreenW / 2, kScreenH / 2, kScreenW, kScreenH, kScreenW / 2, kScreenH / 2,
                    TruncToInt(effect.m_dValue), SystemWork(), 0, 0, kOpaque);
    });
    return paused ? 0 : StepFromTo(effect);
}

// The part of the picture within the value's radius of player 1, reaching the far edges.
int ScreenEffectCircle(cPlayScene& scene, int paused)
{
    cScreenEffect& effect = scene.m_ScreenEffect;
    const SCREENPOINT c = PlayerCentre(scene);
    Capture(VideoWork());
    ClearScreen();
    Redraw([&] {
        DDBltCircle(Back(), c.x, c.y, FarSide(c.x, kScreenW), FarSide(c.y, kScreenH), TruncToInt(effect.m_dValue),
                    Param(effect, 4), VideoWork(), c.x, c.y, kOpaque);
    });
    return paused ? 0 : StepFromTo(effect);
}

// The value is the width in dots the screen shows: above 640 the view closes in on player 1
// and stays inside the picture; below it the picture shrinks toward the screen's centre.
int ScreenEffectZoom(cPlayScene& scene, int paused)
{
    cScreenEffect& effect = scene.m_ScreenEffect;
    DDSURFACEDATA* work = CharaEffectWork();
    const double s = effect.m_dValue * kPerScreenWidth;
    Capture(work);
    if (s >= 1) {
        const SCREENPOINT c = PlayerCentre(scene);
        const double a = kScreenW / s, b = kScreenH / s;
        int x0 = TruncToInt(c.x - a * 0.5);
        if (WrapAdd(x0, TruncToInt(a)) >= kScreenW) x0 = TruncToInt(kScreenW - a);
        else if (x0 < 0) x0 = 0;
        int y0 = TruncToInt(c.y - b * 0.5);
        if (WrapAdd(y0, TruncToInt(b)) >= kScreenH) y0 = TruncToInt(kScreenH - b);
        else if (y0 < 0) y0 = 0;
        Redraw([&] { DDBlt(Back(), 0, 0, kScreenW, kScreenH, work, x0, y0, TruncToInt(a), TruncToInt(b), kTransparent); });
    } else {
        ClearScreen();
        const double w = s * kScreenW, h = s * kScreenH;
        Redraw([&] {
            DDBlt(Back(), TruncToInt((kScreenW - w) * 0.5), TruncToInt((kScreenH - h) * 0.5), TruncToInt(w), TruncToInt(h),
                  work, 0, 0, kScreenW, kScreenH, kTransparent);
        });
    }
    return paused ? 0 : StepFromTo(effect);
}

// A lens at player 1's centre moved by (p4, p5), wide enough to reach every corner, of depth
// the value.
int ScreenEffectLens(cPlayScene& scene, int paused)
{
    cScreenEffect& effect = scene.m_ScreenEffect;
    const SCREENPOINT c = PlayerCentre(scene);
    const int ex = WrapAdd(c.x, Param(effect, 4));
    const int ey = WrapAdd(c.y, Param(effect, 5));
    const double r = g_dSqrt2 * std::max(FarSide(ex, kScreenW), FarSide(ey, kScreenH));
    const int side = WrapMul(TruncToInt(r), g_nBpp == 16 ? 4 : 2);
    DDFillRectPal(SystemWork(), 0, 0, side, side, 0);
    Capture(SystemWork());
    ClearScreen();
    Redraw([&] { DDBltLens(Back(), ex, ey, TruncToInt(r), TruncToInt(effect.m_dValue), SystemWork(), ex, ey, kOpaque, FALSE); });
    return paused ? 0 : StepFromTo(effect);
}

int ScreenEffectMosaic(cPlayScene& scene, int paused)
{
    cScreenEffect& effect = scene.m_ScreenEffect;
    Capture(SystemWork());
    ClearScreen();
    Redraw([&] {
        DDBltMosaic(Back(), 0, 0, kScreenW, kScreenH, TruncToInt(effect.m_dValue), SystemWork(), 0, 0, kOpaque);
    });
    return paused ? 0 : StepFromTo(effect);
}

constexpr SCREENEFFECTHANDLER ScreenEffectTable[kScrEffectKinds] = {
    ScreenEffectNone,   ScreenEffectMove,   ScreenEffectShakeH, ScreenEffectShakeV, ScreenEffectSplitH,
    ScreenEffectSplitV, ScreenEffectWaveH,  ScreenEffectWaveV,  ScreenEffectBlink,  ScreenEffectRotate,
    ScreenEffectCircle, ScreenEffectZoom,   ScreenEffectLens,   ScreenEffectMosaic,
};

}  // namespace

void cScreenEffect::BeforeDraw() const
{
    if (m_nId != 0) DDSetVirBackBuffer(TRUE);
}

void cStageDraw::DrawScreenEffect(int paused)
{
    cPlayScene& scene = SceneOf(this);
    cScreenEffect& effect = scene.m_ScreenEffect;
    // No effect plays as kind 0 without looking an entry up; an entry of a kind this program
    // does not know plays as kind 0 too, rather than running off the table.
    int kind = effect.m_nId == 0 ? 0 : effect.ScrEntry().m_nKind;
    if (kind < 0 || kind >= kScrEffectKinds) kind = 0;
    if (ScreenEffectTable[kind](scene, paused)) {
        effect.m_nId = 0;
        DDSetVirBackBuffer(FALSE);
    }
}
