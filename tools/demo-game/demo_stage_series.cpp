// A ridge in two parts, a numbered series: the first part's goal clears it on to the second,
// which the game loads without leaving the stage; only the second is ranked. The goal is a
// block at the end of the ground that gives an item whose action clears the stage.
#include <cstdint>

#include "data/command_info.h"
#include "tools/demo-game/demo_content.h"
#include "tools/demo-game/demo_database.h"
#include "tools/demo-game/demo_stage_layout.h"

namespace {

constexpr int kRidgeWidth = 40;
// The last ground column, whose top block gives the goal.
constexpr int kGoalColumn = kRidgeWidth - 1;
// The stage-clear command's parameters: "次のステージへ" goes to the next part.
constexpr int kStageClearParams = 9;
constexpr int kToTheNextPart = 0;

cItemData Goal()
{
    cCommandData clear;
    clear.m_bItemAction = 1;
    clear.m_nKind = static_cast<std::int8_t>(COMMAND_STAGE_CLEAR - kItemActionCommandOffset);
    clear.m_Params.assign(kStageClearParams, 0);
    clear.m_Params[0] = kToTheNextPart;
    cItemData goal;
    goal.m_strName = "ゴール";
    goal.m_nImageNumber = 1;
    goal.m_nSound = DEMO_SOUND_COIN;
    goal.m_Actions.push_back(clear);
    return goal;
}

// A part of the ridge: the shared layout with the goal under its last ground column.
cStageData RidgePart(const char* background, int walkers)
{
    const DEMOSTAGELAYOUT layout{kRidgeWidth, DEMO_BGM_OGG, background, 12, 2, walkers, 0, true};
    cStageData stage = DemoStageLayout(layout);
    const int goal = static_cast<int>(stage.m_PaletteItems.size());
    stage.m_PaletteItems.push_back(Goal());
    cBlockData* top = nullptr;
    for (cBlockData& block : stage.m_Blocks)
        if (block.m_nColumn == kGoalColumn && (!top || block.m_nRow < top->m_nRow)) top = &block;
    if (top) {
        top->m_nItemSource = 2;   // the stage palette
        top->m_nItemIndex = static_cast<std::int16_t>(goal);
    }
    return stage;
}

}  // namespace

void AddSeriesStages(DEMOGAME& game)
{
    game.stages.push_back({"data\\stg4\\Ridge-1.stg4_001", "尾根", RidgePart("背景その1.bmp", 2)});
    game.laterParts.push_back({"data\\stg4\\Ridge-2.stg4_001", "尾根", RidgePart("背景その1.bmp", 3)});
}
