#include "objects/chara_draw_effect.h"

#include "data/database.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/standard_surfaces.h"
#include "objects/chara.h"
#include "objects/chara_draw_effect_frame.h"
#include "objects/image_source.h"
#include "shell/game_arithmetic.h"
#include "shell/system_ini.h"

namespace {

constexpr int kStagingSurface = 69;

TILESHEETS WorkSheets()
{
    return SelectTileSheetSurfaces(lpDTCon == nullptr ? 1 : 0, g_SystemIni.DD_VideoStretch);
}

}  // namespace

const CHARADRAWEFFECT CharaDrawEffectTable[kCharaDrawEffects] = {
    DrawEffectNone,    DrawEffectBurst,   DrawEffectSplitH,   DrawEffectSplitV, DrawEffectWaveH,
    DrawEffectWaveV,   DrawEffectBlink,   DrawEffectRotateA,  DrawEffectRotateB, DrawEffectTurn,
    DrawEffectCircle,  DrawEffectZoom,    DrawEffectLens,     DrawEffectTint,   DrawEffectTranslucent,
    DrawEffectMosaic,  DrawEffectBlur,
};

int cCharaDrawEffect::Kind() const
{
    const int kind = g_Database.m_CharaEffects.At(m_EffectPlayback.m_nId).m_nKind;
    // A kind no editor makes (a damaged or newer database) draws the chara plainly instead of
    // calling outside the table.
    return (kind >= 0 && kind < kCharaDrawEffects) ? kind : 0;
}

int cCharaDrawEffect::Run(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw)
{
    const int finished = CharaDrawEffectTable[Kind()](chara, target, source, paused, draw);
    if (finished == 1) m_EffectPlayback.m_nId = 0;
    return finished;
}

int cCharaDrawEffect::AdvanceDeathDisplay(int frames)
{
    m_nDefeatCount = WrapAdd(m_nDefeatCount, 1);
    return m_nDefeatCount > frames ? 1 : 0;
}

CHARAEFFECTFRAME::CHARAEFFECTFRAME(cChara& owner, DDSURFACEDATA* drawTarget, const cImageSource& frameSource)
    : chara(owner),
      target(drawTarget),
      source(frameSource),
      x(owner.m_ScreenRect.left),
      y(owner.m_ScreenRect.top),
      w(owner.m_nDrawWidth),
      h(owner.m_nDrawHeight),
      s(owner.Scale()),
      sx(frameSource.m_nSrcX),
      sy(frameSource.m_nSrcY),
      scaled(owner.NeedsScaling(frameSource))
{
    const int own = frameSource.m_bOwnScale ? frameSource.m_nOwnScale : 1;
    sw = WrapMul(own, owner.m_nBaseDrawWidth);
    sh = WrapMul(own, owner.m_nBaseDrawHeight);
}

DDSURFACEDATA* CHARAEFFECTFRAME::Surface() const { return ImageSurface(source.m_Surface); }
DDSURFACEDATA* CHARAEFFECTFRAME::EffectSurface() const { return ImageSurface(source.m_EffectSurface); }
DDSURFACEDATA* CHARAEFFECTFRAME::ScaleSurface() const { return ImageSurface(source.m_ScaleSurface); }
DDSURFACEDATA* CHARAEFFECTFRAME::ScaleBackSurface() const { return ImageSurface(source.m_ScaleBackSurface); }

double CHARAEFFECTFRAME::Value() const { return chara.m_DrawEffect.m_EffectPlayback.m_dValue; }

int CHARAEFFECTFRAME::Param(int n) const
{
    return g_Database.m_CharaEffects.At(chara.m_DrawEffect.m_EffectPlayback.m_nId).m_nParams[n - 1];
}

int CHARAEFFECTFRAME::IntValue() const { return TruncToInt(Value()); }
int CHARAEFFECTFRAME::ScaledValue() const { return TruncToInt(s * Value()); }

cColourState::cColourState(const cImageSource& source) : m_bSet(source.m_bColorChange != 0)
{
    if (!m_bSet) return;
    DDSetDrawColor(static_cast<DWORD>(source.m_ColorState[0]));
    DDSetColorOp(source.m_ColorState[1]);
}

cColourState::~cColourState()
{
    if (!m_bSet) return;
    DDResetDrawColor();
    DDResetColorOp();
}

const int* ColourStateOf(const cImageSource& source) { return source.m_bColorChange ? source.m_ColorState : nullptr; }

DDSURFACEDATA* CharaEffectWork() { return &g_StdSurface[WorkSheets().nEffectWork]; }
DDSURFACEDATA* RotationWork() { return &g_StdSurface[lpDTCon ? kWorkPicture : kWorkPicture + 1]; }
DDSURFACEDATA* TintWork() { return &g_StdSurface[kWorkPicture + 1]; }
DDSURFACEDATA* LargeWork() { return &g_StdSurface[WorkSheets().nLargeWork]; }
DDSURFACEDATA* StagingSurface() { return &g_StdSurface[kStagingSurface]; }

cEffectPlayback& PlaybackOf(cChara& chara) { return chara.m_DrawEffect.m_EffectPlayback; }

void DrawPlainFrame(const CHARAEFFECTFRAME& f)
{
    // The Ex forms take a null state as none.
    const int* state = ColourStateOf(f.source);
    if (f.scaled) DDBltEx(f.target, f.x, f.y, f.w, f.h, f.ScaleSurface(), f.sx, f.sy, f.sw, f.sh, DDBLTFAST_SRCCOLORKEY, state);
    else DDBltFastEx(f.target, f.x, f.y, f.w, f.h, f.Surface(), f.sx, f.sy, DDBLTFAST_SRCCOLORKEY, state);
}

void FlipOnInterval(cEffectPlayback& playback, int paused)
{
    const int interval = g_Database.m_CharaEffects.At(playback.m_nId).m_nParams[1];
    if (playback.m_nCounter >= interval) {
        playback.m_nCounter = 0;
        playback.m_nToggle = playback.m_nToggle ? 0 : 1;
    }
    if (!paused) playback.m_nCounter = WrapAdd(playback.m_nCounter, 1);
}

int StepUnlessPaused(cChara& chara, int paused)
{
    if (paused) return 0;
    return PlaybackOf(chara).StepCharaEffect();
}

int DrawEffectNone(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int, int draw)
{
    // No effect: drawn plainly, never stepped and never ended.
    if (draw == 1 && target && source) DrawPlainFrame(CHARAEFFECTFRAME(chara, target, *source));
    return 0;
}
