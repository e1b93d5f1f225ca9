#include "data/block_data.h"

#include "data/stage_geometry.h"
#include "graphics/blit.h"
#include "graphics/standard_surfaces.h"

namespace {

BLOCKCONDITIONTEST s_pBlockConditionTest = nullptr;
BLOCKPICTURE s_pBlockPicture = nullptr;

constexpr int kMarkTilesPerColumn = 15;

}  // namespace

void SetBlockConditionTest(BLOCKCONDITIONTEST test)
{
    s_pBlockConditionTest = test;
}

BLOCKPICTURE SetBlockPicture(BLOCKPICTURE draw)
{
    const BLOCKPICTURE previous = s_pBlockPicture;
    s_pBlockPicture = draw;
    return previous;
}

void MarkTileSource(int tile, int& x, int& y)
{
    x = (tile / kMarkTilesPerColumn) * kCell;
    y = (tile % kMarkTilesPerColumn) * kCell;
}

cBlockData::cBlockData()
{
    Reset();
}

bool cBlockData::Reset()
{
    ResetTemplate();
    m_nHitMode = 1;
    m_nPassLayer = -1;
    return true;
}

void cBlockData::ValidateBody()
{
    if (m_nImageNumber == 0) {
        m_nHitMode = 0;
        m_bFixed = 0;
    }
}

void cBlockData::CheckItemReference(const TEMPLATESOURCES& sources)
{
    if (ReferenceOutside(m_nItemSource, m_nItemIndex, CountsOf(sources.common).items, CountsOf(sources.stage).items)) {
        m_nItemSource = TEMPLATESOURCE_NONE;
        m_nItemIndex = 0;
    }
}

bool BlockConditionsHold(cBlockData& block)
{
    if (block.m_Conditions.empty()) return true;
    // Outside stage play nothing can be tested: the block counts as present.
    if (!s_pBlockConditionTest) return true;
    return s_pBlockConditionTest(block);
}

int cBlockData::GetHitMode(int layer)
{
    if (!BlockConditionsHold(*this)) return 0;
    if (m_nPassLayer == layer) return 0;
    return m_nHitMode;
}

void cBlockData::Draw(DDSURFACEDATA* target, int x, int y)
{
    // The picture comes from the stage's image sources, which a program without stages
    // (a tool) does not register: its blocks show only their marks.
    if (s_pBlockPicture) s_pBlockPicture(*this, target, x, y);
    if (m_bMark != 1) return;
    int sx = 0;
    int sy = 0;
    MarkTileSource(m_nMarkTile, sx, sy);
    DDBltFast(target, x, y, kCell, kCell, &g_StdSurface[kMarkSheet], sx, sy, DDBLTFAST_SRCCOLORKEY);
}
