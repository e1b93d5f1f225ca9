#include "tools/demo-game/demo_stage_layout.h"

#include <cstdint>

#include "tools/demo-game/demo_templates.h"

namespace {

constexpr int kStageRows = 15;

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
    stage.m_PaletteBlocks.push_back(DemoBlock("地面", 1, 1));
    stage.m_PaletteBlocks.push_back(DemoBlock("足場", layout.ledgeBlock, 1));
    stage.m_PaletteCharas.push_back(DemoHero());
    stage.m_PaletteCharas.push_back(DemoWalker(layout.walkerSheet));
    stage.m_PaletteItems.push_back(DemoCoin());

    for (int column = 0; column < width; ++column) {
        if (column % 13 == 9 && column < width - 4) continue;  // a gap to jump over
        stage.m_Blocks.push_back(Placed(stage.m_PaletteBlocks[1], column, kStageRows - 2, 1));
        stage.m_Blocks.push_back(Placed(stage.m_PaletteBlocks[1], column, kStageRows - 1, 1));
    }
    for (int ledge = 0; ledge < width / 10; ++ledge)
        for (int k = 0; k < 3; ++k) stage.m_Blocks.push_back(Placed(stage.m_PaletteBlocks[2], ledge * 10 + 5 + k, 9 - ledge % 2 * 2, 2));
    stage.m_Charas.push_back(Placed(stage.m_PaletteCharas[1], 2, kStageRows - 3, 1));
    for (int walker = 1; walker <= layout.walkers; ++walker)
        stage.m_Charas.push_back(Placed(stage.m_PaletteCharas[2], walker * 9 + 3, kStageRows - 3, 2));
    for (int coin = 0; coin < width / 5; ++coin)
        stage.m_Items.push_back(Placed(stage.m_PaletteItems[1], coin * 5 + 4, 8 - coin % 3, 1));
    return stage;
}
