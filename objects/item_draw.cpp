// An item's picture of the frame: its animation cell through the image source, and its mark.
#include "data/block_data.h"
#include "data/stage_geometry.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/standard_surfaces.h"
#include "objects/image_source.h"
#include "objects/item.h"
#include "shell/game_arithmetic.h"

void cItem::Draw(DDSURFACEDATA* target, int paused)
{
    if (m_Def.m_bHidden) return;
    const int frame = paused ? m_Animator.CurrentFrame() : m_Animator.Tick();
    const IMAGESHEETS sheets = StageImageSheets();
    cImageSource source;
    source.Set(2, static_cast<std::int8_t>(m_Def.m_nImageKind), m_nImage, m_Def.m_nImageFrame, this, frame, sheets);
    const int scale = Scale();
    const int own = source.m_bOwnScale ? source.m_nOwnScale : 1;
    const bool stretch = source.m_bOwnScale ? scale != own : scale > 1;
    const int left = m_ScreenRect.left;
    const int top = m_ScreenRect.top;
    if (stretch) {
        DrawImageCell(target, left, top, m_nDrawWidth, m_nDrawHeight, source, WrapMul(m_nBaseDrawWidth, own),
                      WrapMul(m_nBaseDrawHeight, own));
    } else {
        DrawImageCell(target, left, top, m_nDrawWidth, m_nDrawHeight, source, m_nDrawWidth, m_nDrawHeight);
    }
    if (m_Def.m_bMark != 1) return;
    int sx = 0;
    int sy = 0;
    MarkTileSource(m_Def.m_nMarkTile, sx, sy);
    if (scale <= 1) {
        DDBltFast(target, left, top, kCell, kCell, &g_StdSurface[kMarkSheet], sx, sy, DDBLTFAST_SRCCOLORKEY);
    } else {
        const TILESHEETS tiles = SelectTileSheetSurfaces(lpDTCon == nullptr, sheets.bVideoStretch);
        DDBlt(target, left, top, m_nDrawWidth, m_nDrawHeight, &g_StdSurface[tiles.nMarkSheet], sx, sy, kCell, kCell,
              DDBLTFAST_SRCCOLORKEY);
    }
}
