// A chara's picture of the frame: the current cell of its animation drawn through the handler
// of its chara effect, its mark icon, and the death display after a defeat. Drawing moves the
// game on: the animations tick, effects step and end, and the death display decides when a
// chara is erased and when the hero's death follows.
#include "data/database.h"
#include "data/role_accessors.h"
#include "data/stage_geometry.h"
#include "data/system_data.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/standard_surfaces.h"
#include "objects/chara.h"
#include "objects/image_source.h"
#include "play/game_manager.h"
#include "play/palette_colors.h"
#include "shell/game_arithmetic.h"

namespace {

constexpr int kFlashColours = 9;   // entries 1..9 of the flash colours

// The cell of the chara's picture in this frame; the row from ImageRow.
void SetImageSource(cChara& chara, cImageSource& source, int frame)
{
    const int row = chara.ImageRow(source);
    source.Set(1, static_cast<std::int8_t>(CharaImageKind(chara.m_Def)), chara.m_nImage, row, &chara, frame,
               StageImageSheets());
}

}  // namespace

int cChara::CurrentFrame(int paused)
{
    return m_Animations.CurrentFrame(m_Animator, paused);
}

void cChara::RunHiddenEffect(int paused) { m_DrawEffect.Run(*this, nullptr, nullptr, paused, 0); }

int cChara::ImageRow(cImageSource& source)
{
    const cAnimeSetData& set = g_Database.m_AnimeSets.At(CharaAnimeSet(m_Def));
    int row = CharaBaseImage(m_Def);
    if (CharaRowFlag1(m_Def)) row = WrapAdd(row, set.m_nRowOffsetC);
    if (CharaRowFlag3(m_Def)) row = WrapAdd(row, set.m_nRowOffsetB);
    source.m_bColorChange = 0;
    if (!CharaRowFlag2(m_Def)) return row;
    row = WrapAdd(row, set.m_nRowOffsetA);
    // Only the table's entries are colours: any other index changes no colour.
    const int colour = CharaColourAnimation(m_Def);
    if (lpDTCon && g_SystemData.m_bColorAnim && colour >= 1 && colour <= kFlashColours) {
        source.m_bColorChange = 1;
        source.m_ColorState[0] = static_cast<int>(g_FlashColors[colour].dwColor);
        source.m_ColorState[1] = g_FlashColors[colour].nColorOp;
    }
    return row;
}

bool cChara::NeedsScaling(const cImageSource& source) const
{
    if (source.m_bOwnScale) return Scale() != source.m_nOwnScale;
    return Scale() > 1;
}

void cChara::DrawEffectSurface(DDSURFACEDATA* work, const cImageSource& source)
{
    const int* state = source.m_bColorChange ? source.m_ColorState : nullptr;
    if (NeedsScaling(source)) {
        const int own = source.m_bOwnScale ? source.m_nOwnScale : 1;
        DDBltEx(work, 0, 0, m_nDrawWidth, m_nDrawHeight, ImageSurface(source.m_ScaleSurface), source.m_nSrcX,
                source.m_nSrcY, WrapMul(own, m_nBaseDrawWidth), WrapMul(own, m_nBaseDrawHeight), 0, state);
    } else {
        DDBltFastEx(work, 0, 0, m_nDrawWidth, m_nDrawHeight, ImageSurface(source.m_EffectSurface), source.m_nSrcX,
                    source.m_nSrcY, 0, state);
    }
}

void cChara::DrawEffectSurfaceRaw(DDSURFACEDATA* work, const cImageSource& source)
{
    DDBltFastEx(work, 0, 0, m_nDrawWidth, m_nDrawHeight, ImageSurface(source.m_Surface), source.m_nSrcX, source.m_nSrcY,
                0, source.m_bColorChange ? source.m_ColorState : nullptr);
}

void cChara::Draw(DDSURFACEDATA* target, int paused)
{
    const int frame = CurrentFrame(paused);
    if (m_bHidden || CharaInvisible(m_Def)) {
        RunHiddenEffect(paused);
        return;
    }
    UpdateScreenRect();
    if (m_bFixedScreenX) {
        m_ScreenRect.left = m_nFixedScreenX;
        m_ScreenRect.right = WrapSub(WrapAdd(m_nFixedScreenX, m_nDrawWidth), 1);
    }
    if (m_bFixedScreenY) {
        m_ScreenRect.top = m_nFixedScreenY;
        m_ScreenRect.bottom = WrapSub(WrapAdd(m_nFixedScreenY, m_nDrawHeight), 1);
    }
    cImageSource source;
    SetImageSource(*this, source, frame);
    m_DrawEffect.Run(*this, target, &source, paused, 1);
    // The mark is drawn over whatever the effect drew, and is not affected by it.
    if (m_Def.m_bMark != 1) return;
    int sx = 0;
    int sy = 0;
    MarkTileSource(m_Def.m_nMark, sx, sy);
    if (Scale() <= 1) {
        DDBltFast(target, m_ScreenRect.left, m_ScreenRect.top, kCell, kCell, &g_StdSurface[kMarkSheet], sx, sy,
                  DDBLTFAST_SRCCOLORKEY);
    } else {
        const TILESHEETS tiles = SelectTileSheetSurfaces(lpDTCon == nullptr, StageImageSheets().bVideoStretch);
        DDBlt(target, m_ScreenRect.left, m_ScreenRect.top, m_nDrawWidth, m_nDrawHeight, &g_StdSurface[tiles.nMarkSheet],
              sx, sy, m_nBaseDrawWidth, m_nBaseDrawHeight, DDBLTFAST_SRCCOLORKEY);
    }
}

int cChara::DrawDefeated(DDSURFACEDATA* target, int paused)
{
    // Frame 0 at the screen rectangle last computed: no fixed position, no mark.
    cImageSource source;
    SetImageSource(*this, source, 0);
    if (m_nKind != 0) {
        if (!m_DrawEffect.IsPlaying()) return 1;
        return m_DrawEffect.Run(*this, target, &source, paused, 1);
    }
    if (m_DrawEffect.IsPlaying()) {
        m_DrawEffect.Run(*this, target, &source, paused, 1);
        return 0;
    }
    if (paused) return 0;
    // The hero's death follows one more second after its death effect.
    return m_DrawEffect.AdvanceDeathDisplay(g_GameManager.m_nFps);
}
