#include "play/block_grid.h"

#include "data/stage_data.h"
#include "data/stage_geometry.h"
#include "play/scroll_axis.h"
#include "shell/safe_container.h"

namespace {

int RowShiftFor(int width)
{
    return BitLength(static_cast<int>(std::int64_t{width} + kBothMarginBlocks - 1));
}

}  // namespace

std::int64_t cBlockGrid::CellCount(int width, int height)
{
    const int shift = RowShiftFor(width);
    if (shift > 31) return INT64_MAX;
    const std::int64_t rows = std::int64_t{height} + kBothMarginBlocks;
    return rows < 0 ? 0 : rows << shift;
}

std::int64_t cBlockGrid::GridBytes(int width, int height)
{
    // An empty cell owns no memory beyond its own size: its lists are empty.
    constexpr std::int64_t kCellBytes = sizeof(cBlockCell);
    const std::int64_t count = CellCount(width, height);
    return count > INT64_MAX / kCellBytes ? INT64_MAX : count * kCellBytes;
}

bool cBlockGrid::Build(int width, int height)
{
    m_Cells.clear();
    m_nShift = 0;
    m_nWidth = 0;
    m_nRows = 0;
    const std::int64_t count = CellCount(width, height);
    if (count > kMaxStageCells || GridBytes(width, height) > kMaxBlockGridBytes) return false;
    cBlockCell empty;
    empty.m_nImageNumber = 0;
    empty.m_nHitMode = 0;
    empty.m_bFixed = 0;
    m_Cells.assign(static_cast<std::size_t>(count), empty);
    m_nShift = RowShiftFor(width);
    m_nWidth = 1 << m_nShift;
    m_nRows = static_cast<int>(std::int64_t{height} + kBothMarginBlocks);
    return true;
}

std::int64_t cBlockGrid::CellIndex(std::int64_t column, std::int64_t row) const
{
    return column + row * (std::int64_t{1} << m_nShift);
}

bool cBlockGrid::Contains(std::int64_t index) const
{
    return index >= 0 && static_cast<std::uint64_t>(index) < m_Cells.size();
}

void cBlockGrid::PlaceStageBlocks(const cStageData& stage)
{
    for (const cBlockData& placed : stage.m_Blocks) {
        const std::int64_t index =
            CellIndex(std::int64_t{placed.m_nColumn} + kMarginBlocks, std::int64_t{placed.m_nRow} + kMarginBlocks);
        if (!Contains(index)) {
            // Reported as a bad index; writing cell 0 instead would put the block where none was.
            ReportOutside(index);
            continue;
        }
        static_cast<cBlockData&>(m_Cells[static_cast<std::size_t>(index)]) = placed;
    }
}

void cBlockGrid::ReportOutside(std::int64_t index) const
{
    safe_container_detail::ReportBadIndex('V', static_cast<int>(static_cast<std::uint32_t>(index)), m_Cells.size(),
                                          sizeof(cBlockCell));
}

int cBlockGrid::HitModeAt(int cell, int layer) const
{
    // Reading a hit mode may latch the block's check-once conditions, which the cell keeps.
    return const_cast<cBlockGrid*>(this)->m_Cells.At(cell).GetHitMode(layer);
}
