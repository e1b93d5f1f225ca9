// A chara's picture of the frame: the current cell of its animation through its image source,
// its mark icon, and the death display after a defeat. The draw effects that reshape the
// picture are not built yet: a chara effect draws the chara plainly and ends at once.
#include "data/stage_geometry.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/standard_surfaces.h"
#include "data/role_accessors.h"
#include "objects/chara.h"
#include "objects/image_source.h"
#include "play/game_manager.h"
#include "shell/game_arithmetic.h"

int cChara::CurrentFrame(int paused)
{
    return m_Animations.CurrentFrame(m_Animator, paused);
}

void cChara::RunHiddenEffect(int paused) { m_DrawEffect.Run(*this, nullptr, nullptr, paused, 0); }

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
    source.Set(1, static_cast<std::int8_t>(m_Def.m_nImageKind), m_nImage, CharaBaseImage(m_Def), this, frame,
               StageImageSheets());
    const int own = source.m_bOwnScale ? source.m_nOwnScale : 1;
    DrawImageCell(target, m_ScreenRect.left, m_ScreenRect.top, m_nDrawWidth, m_nDrawHeight, source,
                  WrapMul(own, m_nBaseDrawWidth), WrapMul(own, m_nBaseDrawHeight));
    m_DrawEffect.Run(*this, target, &source, paused, 1);
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
    if (m_nKind != 0) {
        m_DrawEffect.Run(*this, target, nullptr, paused, 1);
        return 1;
    }
    if (m_DrawEffect.IsPlaying()) {
        m_DrawEffect.Run(*this, target, nullptr, paused, 1);
        return 0;
    }
    if (paused) return 0;
    return m_DrawEffect.AdvanceDeathDisplay(g_GameManager.m_nFps);
}
