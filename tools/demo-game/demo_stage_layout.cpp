#include "tools/demo-game/demo_stage_layout.h"

#include <cstdint>

#include "tools/demo-game/demo_templates.h"

namespace {

constexpr int kStageRows = 15;
// The stage repeats a stretch of 13 columns: ground with a gap at column 9 of the stretch, a
// ledge over columns 5 to 7 two rows above the hero's head, and coins on the ledge, over the
// gap and over the ground beyond it, each where a jump takes the hero.
constexpr int kStretch = 13;
constexpr int kGap = 9;
constexpr int kLedgeFrom = 5;
constexpr int kLedgeTo = 7;
constexpr int kGroundRow = kStageRows - 2;
constexpr int kStandRow = kGroundRow - 1;  // the row of a chara standing on the ground
constexpr int kLedgeRow = kGroundRow - 3;
// Walker k stands at column kStretch * k + 3, right of a gap: it walks left for two seconds
// and back, and stays on the ground between two gaps.
constexpr int kWalkerColumn = 3;

template <class T>
T Placed(const T& from, int column, int row, int paletteIndex)
{
    T placed = from;
    placed.m_nColumn = static_cast<std::int16_t>(column);
    placed.m_nRow = static_cast<std::int16_t>(row);
    placed.m_nInheritSource = 2;  // the stage palette
    placed.m_nInheritIndex = static_cast<std::int16_t>(paletteIndex);
    return placed;
}

}  // namespace

cStageData DemoStageLayout(const DEMOSTAGELAYOUT& layout)
{
    const int width = layout.width;
    cStageData stage;
    stage.Reset();
    stage.m_nWidth = width;
    stage.m_nHeight = kStageRows;
    // The camera's axes span the whole stage; left at 0 they end at the screen's size and the
    // hero standing on the ground is already below the stage's bottom.
    stage.m_nScrollAxisX = width * 32;
    stage.m_nScrollAxisY = kStageRows * 32;
    stage.m_nBgm = layout.bgm;
    stage.m_bBgmLoop = 1;
    stage.m_Backgrounds[0].m_strPicture = layout.background;
    stage.m_bTimeLimit = layout.timeLimit > 0;
    if (layout.timeLimit > 0) stage.m_nTimeLimit = layout.timeLimit;
    stage.m_bStartSign = layout.stageCaption;
    stage.m_PaletteBlocks.push_back(DemoBlock("地面", 1, 1));
    stage.m_PaletteBlocks.push_back(DemoBlock("足場", layout.ledgeBlock, 1));
    stage.m_PaletteCharas.push_back(DemoHero());
    stage.m_PaletteCharas.push_back(DemoWalker(layout.walkerSheet));
    stage.m_PaletteItems.push_back(DemoCoin());

    auto gapAt = [&](int column) { return column % kStretch == kGap && column < width - 4; };
    for (int column = 0; column < width; ++column) {
        if (gapAt(column)) continue;
        stage.m_Blocks.push_back(Placed(stage.m_PaletteBlocks[1], column, kGroundRow, 1));
        stage.m_Blocks.push_back(Placed(stage.m_PaletteBlocks[1], column, kGroundRow + 1, 1));
    }
    for (int from = 0; from + kLedgeTo < width; from += kStretch)
        for (int column = from + kLedgeFrom; column <= from + kLedgeTo; ++column)
            stage.m_Blocks.push_back(Placed(stage.m_PaletteBlocks[2], column, kLedgeRow, 2));
    stage.m_Charas.push_back(Placed(stage.m_PaletteCharas[1], 2, kStandRow, 1));
    for (int walker = 1; walker <= layout.walkers; ++walker)
        stage.m_Charas.push_back(Placed(stage.m_PaletteCharas[2], walker * kStretch + kWalkerColumn, kStandRow, 2));
    const cItemData& coin = stage.m_PaletteItems[1];
    for (int from = 0; from + kStretch - 1 < width; from += kStretch) {
        stage.m_Items.push_back(Placed(coin, from + (kLedgeFrom + kLedgeTo) / 2, kLedgeRow - 1, 1));
        if (gapAt(from + kGap)) stage.m_Items.push_back(Placed(coin, from + kGap, kStandRow - 1, 1));
        stage.m_Items.push_back(Placed(coin, from + kStretch - 1, kStandRow - 1, 1));
    }
    return stage;
}
