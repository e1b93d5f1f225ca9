// The blocks of one draw layer: only the 16 rows and 21 columns of cells under the screen, at
// the fine offset of the scroll position.
#include "data/stage_data.h"
#include "data/stage_geometry.h"
#include "graphics/sprite_batch.h"
#include "graphics/standard_surfaces.h"
#include "objects/image_source.h"
#include "play/block_draw.h"
#include "play/block_grid.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"

namespace {

constexpr int kRows = 16;
constexpr int kColumns = 21;

}  // namespace

// A block's picture comes from the image source the objects draw from: the image number picks
// the picture and the frame the cell in it. On the block sheet the number alone is the cell, 15
// to a column, and the frame plays no part: the number is the block number, and old files'
// shot-sheet numbers were shifted by one as cells are. Number 0 is no picture.
void DrawBlockPicture(cBlockData& block, DDSURFACEDATA* target, int x, int y)
{
    if (block.m_nImageNumber == 0) return;
    const int kind = static_cast<std::int8_t>(block.m_nImageKind);
    cImageSource source;
    source.Set(0, kind, block.m_nImageNumber, block.m_nImageFrame, nullptr, 0, StageImageSheets());
    DrawImageCell(target, x, y, kCell, kCell, source, kCell, kCell);
}

void cStageDraw::DrawBlocks(DDSURFACEDATA* target, int blockLayer)
{
    cPlayScene& scene = SceneOf(this);
    const int sx = TruncToInt(scene.m_ScrollX.m_dPos);
    const int sy = TruncToInt(scene.m_ScrollY.m_dPos);
    const int c0 = sx >> 5;
    const int r0 = sy >> 5;
    const int fx = sx & 31;
    const int fy = sy & 31;
    const int columns = WrapAdd(g_StageData.m_nWidth, kBothMarginBlocks);
    const int rows = WrapAdd(g_StageData.m_nHeight, kBothMarginBlocks);
    const int shift = g_BlockGrid.m_nShift;
    const std::int64_t cells = static_cast<std::int64_t>(g_BlockGrid.m_Cells.size());
    DDBeginSpriteBatch(TRUE);
    DDAddBatchSurface(&g_StdSurface[kMarkSheet]);
    for (int k = 0; k < kRows; ++k) {
        const int r = r0 + k;
        if (r < 0 || r >= rows) continue;
        for (int j = 0; j < kColumns; ++j) {
            const int c = c0 + j;
            if (c < 0 || c >= columns) continue;
            const std::int64_t index = c + (static_cast<std::int64_t>(r) << shift);
            if (index >= cells) continue;
            cBlockCell& cell = g_BlockGrid.m_Cells[static_cast<std::size_t>(index)];
            if (cell.m_nImageNumber == 0 || cell.m_nDrawPass != blockLayer) continue;
            // Outside the play frame the draw's sandbox keeps the test from setting latches; the
            // cell itself is tested so that a check-once block that appeared stays drawn. A
            // hidden block is tested too: the test may draw random numbers and latch the block.
            if (!scene.CheckBlockConditions(cell) || cell.m_bHidden != 0) continue;
            cell.Draw(target, kCell * j - fx, kCell * k - fy);
        }
    }
    DDEndSpriteBatch();
}
