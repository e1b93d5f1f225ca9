#include <gtest/gtest.h>

#include <memory>

#include "data/move_part.h"
#include "flow/movement_commands.h"
#include "shell/game_arithmetic.h"
#include "tests/play/block_stage.h"

TEST(GroundTurnMove, AWalkerTurnsBackOnTheStepItsRightEdgeLeavesTheGround)
{
    cBlockStage stage;
    cBlockStage::DrawBlocks({"##."}, 10, 11);   // ground under columns 10 and 11 only
    cStageChara chara;
    cBlockStage::SetUpChara(chara, 360, 322, 20, 30, 1);
    cCommandData command;
    command.m_pMove = std::make_shared<cEdMove>();
    command.m_pMove->m_bKeepAnime = 1;
    cFlowCommandEntry entry;
    entry.m_lpCommand = &command;
    entry.m_dSpeed = 2;

    double x = 360;
    int turnStep = 0;
    for (int step = 1; step <= 6; ++step) {
        // The step on which the right edge is first over the empty column turns the walker;
        // it still moves forward on that step.
        const bool turns = turnStep == 0 && (TruncToInt(x + 19) >> 5) == 12;
        if (turns) turnStep = step;
        chara.m_dVX = 0;
        FlowCmdMoveGroundTurn(chara, entry);
        EXPECT_EQ(chara.m_nDirection, turnStep != 0 ? 0 : 1) << step;
        EXPECT_DOUBLE_EQ(chara.m_dVX, (turnStep != 0 && !turns) ? -2 : 2) << step;
        x += chara.m_dVX;
        chara.m_dX = x;
        chara.ClampX(2);
    }
    EXPECT_EQ(turnStep, 4);   // right edges 379, 381, 383, then 385
}
