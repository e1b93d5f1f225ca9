#pragma once
// The block grid of the running stage: (height + 20) rows of 2^k cells, k the bit length of
// width + 19, so that the cell of block column c and row r (margins included) is
// c + (r << k). A cell is a block template plus one byte of its own.
#include <cstdint>

#include "data/block_data.h"
#include "objects/object_base.h"
#include "shell/safe_container.h"

class cStageData;

// The most memory a block grid may take. The cell bound alone still admits a small stage
// whose grid needs gigabytes; such a grid is refused before anything is allocated.
constexpr std::int64_t kMaxBlockGridBytes = std::int64_t{1} << 30;

class cBlockCell : public cBlockData {
public:
    // The latch of the cell's check-once appearance conditions: 0 in every cell the set-up
    // builds or a summon writes.
    BYTE m_byOwn = 0;
};

class cBlockGrid : public cBlockHitSource {
public:
    // Empty cells for a stage of width x height blocks: the default template with its block
    // number, hit mode and the byte its own check clears with them set to 0. False, with the
    // grid left empty, when the cell count (in 64 bits) is above kMaxStageCells or the cells
    // would take more than kMaxBlockGridBytes; throws std::bad_alloc when memory runs out.
    bool Build(int width, int height);
    // The cell count Build would make, in 64 bits.
    static std::int64_t CellCount(int width, int height);
    // The bytes the cells of that grid take (INT64_MAX when they cannot be counted).
    static std::int64_t GridBytes(int width, int height);
    // Copies every placed block of the stage into its cell; a block outside the grid is
    // reported through the checked access and placed nowhere.
    void PlaceStageBlocks(const cStageData& stage);

    // The cell index of block column `column` and row `row`, margins included, computed in 64
    // bits so that a position far outside the grid never wraps onto a cell inside it.
    std::int64_t CellIndex(std::int64_t column, std::int64_t row) const;
    bool Contains(std::int64_t index) const;
    // The cell at `index`: outside the grid the report and cell 0.
    cBlockCell& At(int index) { return m_Cells.At(index); }

    // The checked access's report of an index outside the grid, without the access.
    void ReportOutside(std::int64_t index) const;

    int HitModeAt(int cell, int layer) const override;
    int RowShift() const override { return m_nShift; }

    cSafeVector<cBlockCell> m_Cells;
    int m_nShift = 0;
    int m_nWidth = 0;    // blocks, margins included (2^shift)
    int m_nRows = 0;
};

extern cBlockGrid g_BlockGrid;
