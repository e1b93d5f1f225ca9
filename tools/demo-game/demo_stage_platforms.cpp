// The third stage: a pit the hero crosses on a moving platform, then a block that hurts and a
// block that gives an item whose actions raise the score and play a sound.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "data/command_info.h"
#include "data/role_accessors.h"
#include "tools/demo-game/demo_content.h"
#include "tools/demo-game/demo_database.h"
#include "tools/demo-game/demo_stage_layout.h"
#include "tools/demo-game/demo_templates.h"

namespace {

constexpr int kGroundRow = 13;
// The pit spans columns 4 to 7; the platform starts at its left end, level with the ground, and
// glides to its right end and back, a second each way (1.6 pixels a frame).
constexpr int kPitFrom = 4;
constexpr int kPitTo = 7;
// The layout's own gap of the first stretch, which this stage fills.
constexpr int kLayoutGap = 9;
constexpr int kHurtColumn = 11;
constexpr int kGiftColumn = 12;
constexpr int kPlatformTenths = 10;
constexpr int kPlatformSpeed = 16;
// Straight-move directions and item-action parameters.
constexpr int kMoveLeft = 2;
constexpr int kMoveRight = 3;
constexpr int kOperationAdd = 1;
constexpr int kOperationSubtract = 2;
// What the status action changes: the hero's own HP, or the game's score (a system value).
constexpr int kOfTheChara = 0;
constexpr int kSystemValue = 2;
constexpr int kStatusHp = 1;
constexpr int kSystemScore = 3;

cCommandData Glide(int direction)
{
    cCommandData move = DemoCommand(COMMAND_STRAIGHT_MOVE, kPlatformTenths);
    cEdMove::Create(move.m_pMove);
    move.m_pMove->m_nDirection = static_cast<BYTE>(direction);
    move.m_pMove->m_nSpeed = kPlatformSpeed;
    return move;
}

// A block-like chara that flies through blocks, over the pit and back.
cCharaData Platform()
{
    cCharaData platform;
    platform.m_strName = "リフト";
    platform.m_nImageNumber = 15 * 2 + 2;
    platform.m_nOperator = 1;
    platform.m_bWholeCellBoxes = 1;
    platform.m_nMaxHp = 1;
    platform.m_nHeldItem = -1;
    platform.m_bFixedFacing = 1;
    SetCharaMoveType(platform, 1);
    cFlowData glide;
    glide.m_nTrigger = TRIGGER_ALWAYS;
    glide.m_Commands.push_back(Glide(kMoveRight));
    glide.m_Commands.push_back(Glide(kMoveLeft));
    platform.m_Flows.push_back(glide);
    return platform;
}

// The status action on `status` of the hero (whose) or the system value (kSystemValue).
cCommandData StatusAction(int whose, int status, int operation, int amount)
{
    cCommandData action;
    action.m_bItemAction = 1;
    action.m_nKind = static_cast<std::int8_t>(COMMAND_STATUS - kItemActionCommandOffset);
    action.m_Params.resize(18);
    action.m_Params[3] = whose;
    action.m_Params[4] = status;
    action.m_Params[5] = operation;
    action.m_Params[7] = amount;
    action.m_Params[16] = 1;   // the change is shown
    return action;
}

cItemData BlockItem(const char* name, cCommandData action, int sound)
{
    cItemData item;
    item.m_strName = name;
    item.m_nImageNumber = 1;
    item.m_nSound = static_cast<std::int16_t>(sound);
    item.m_Actions.push_back(action);
    return item;
}

cBlockData WithItem(cBlockData block, int paletteIndex)
{
    block.m_nItemSource = 2;   // the stage palette
    block.m_nItemIndex = static_cast<std::int16_t>(paletteIndex);
    return block;
}

}  // namespace

void AddPlatformsStage(DEMOGAME& game)
{
    const DEMOSTAGELAYOUT layout{40, DEMO_BGM_OGG, "背景その1.bmp", 12, 3, 2, 0, true};
    cStageData stage = DemoStageLayout(layout);

    // The pit goes and the layout's gap beyond it is filled, so the hero lands on solid ground.
    std::erase_if(stage.m_Blocks, [](const cBlockData& block) {
        return block.m_nColumn >= kPitFrom && block.m_nColumn <= kPitTo && block.m_nRow >= kGroundRow;
    });
    for (const cBlockData& ground : std::vector<cBlockData>(stage.m_Blocks)) {
        if (ground.m_nColumn != kPitTo + 1 || ground.m_nRow < kGroundRow) continue;
        cBlockData filled = ground;
        filled.m_nColumn = kLayoutGap;
        stage.m_Blocks.push_back(filled);
    }

    const int hurtItem = static_cast<int>(stage.m_PaletteItems.size());
    stage.m_PaletteItems.push_back(
        BlockItem("とげ", StatusAction(kOfTheChara, kStatusHp, kOperationSubtract, 1), DEMO_SOUND_HIT));
    // The gift heals, scores and chimes.
    cItemData gift = BlockItem("ごほうび", StatusAction(kOfTheChara, kStatusHp, kOperationAdd, 1), DEMO_SOUND_COIN);
    gift.m_Actions.push_back(StatusAction(kSystemValue, kSystemScore, kOperationAdd, 500));
    cCommandData chime;
    chime.m_bItemAction = 1;
    chime.m_nKind = static_cast<std::int8_t>(COMMAND_SOUND - kItemActionCommandOffset);
    chime.m_Params.resize(1);
    chime.m_Params[0] = DEMO_SOUND_COIN;
    gift.m_Actions.push_back(chime);
    const int giftItem = static_cast<int>(stage.m_PaletteItems.size());
    stage.m_PaletteItems.push_back(gift);

    for (cBlockData& block : stage.m_Blocks) {
        if (block.m_nRow != kGroundRow) continue;
        if (block.m_nColumn == kHurtColumn) block = WithItem(block, hurtItem);
        if (block.m_nColumn == kGiftColumn) block = WithItem(block, giftItem);
    }

    const int platformIndex = static_cast<int>(stage.m_PaletteCharas.size());
    stage.m_PaletteCharas.push_back(Platform());
    cCharaData placed = stage.m_PaletteCharas[static_cast<std::size_t>(platformIndex)];
    placed.m_nColumn = kPitFrom;
    placed.m_nRow = kGroundRow;
    placed.m_nInheritSource = 2;
    placed.m_nInheritIndex = static_cast<std::int16_t>(platformIndex);
    stage.m_Charas.push_back(placed);

    game.stages.push_back({"data\\stg4\\Platforms.stg4_001", "リフト", stage});
}
