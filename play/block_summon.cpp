// A block summon: one block placed, erased or toggled in the cell nearest to a position.
#include <algorithm>

#include "data/palette_data.h"
#include "data/role_accessors.h"
#include "play/block_grid.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"

namespace {

// The block the cell shows: a block number, and its conditions hold.
bool ShowsBlock(cBlockCell& cell)
{
    return cell.m_nImageNumber != 0 && BlockConditionsHold(cell);
}

bool IsProtected(cBlockCell& cell)
{
    if (StrictBlockProtectionSwitch() != 0) return cell.m_bFixed != 0;
    return cell.m_bFixed != 0 && ShowsBlock(cell);
}

void Erase(cBlockCell& cell)
{
    static_cast<cBlockData&>(cell) = g_CommonPalette.m_Blocks.At(0);
    cell.m_byOwn = 0;
}

}  // namespace

void cStageObjects::SummonBlock(double x, double y, int /*facing*/, const cEdShot& command, const cBlockData& block)
{
    // The cell nearest to the position: half a block rounds up.
    const int column = TruncToInt(x + 16.5) >> 5;
    const int row = TruncToInt(y + 16.5) >> 5;
    const std::int64_t index = g_BlockGrid.CellIndex(column, row);
    if (!g_BlockGrid.Contains(index)) {
        // Reported, and nothing placed: cell 0 is not the cell the summon meant.
        g_BlockGrid.ReportOutside(index);
        return;
    }
    const int cellIndex = static_cast<int>(index);
    cBlockCell& cell = g_BlockGrid.At(cellIndex);
    if (IsProtected(cell)) return;

    // Places the block; false when the command's options cancelled it, the cell unchanged.
    auto place = [&]() {
        const bool cancellable = SummonCancelOverPlayers(command) != 0 || SummonCancelOverCharas(command) != 0;
        cBlockCell old;
        if (cancellable) old = cell;
        static_cast<cBlockData&>(cell) = block;
        cell.m_byOwn = 0;
        if (MarkCharasInBlock(cellIndex, column, row, command) == 1 && cancellable) {
            cell = old;
            return false;
        }
        return true;
    };

    switch (SummonBlockMode(command)) {
    case 0:
        place();
        break;
    case 1:
        Erase(cell);
        break;
    case 2: {
        if (std::find(m_ToggledCells.begin(), m_ToggledCells.end(), cellIndex) != m_ToggledCells.end()) return;
        if (ShowsBlock(cell)) {
            Erase(cell);
        } else if (!place()) {
            return;
        }
        m_ToggledCells.push_back(cellIndex);
        break;
    }
    default:
        break;
    }
}
