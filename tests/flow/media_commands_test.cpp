#include <gtest/gtest.h>

#include "flow/running_flow.h"
#include "tests/flow/flow_fixture.h"

TEST(MediaCommands, TheScreenColourCommandSetsTheStagesScreenColourFromItsEightValues)
{
    FlowStageFixture stage;
    cCommandData command = FlowCommand(COMMAND_SCREEN_COLOR);
    command.m_Params.assign({200, 100, 50, 40, 0, 3, 1, 2});
    stage.SetFlows({FlowOf(TRIGGER_NONE, {command})});
    cRunningFlow& running = stage.Chara().m_RunningFlows[0];
    running.Start(stage.Chara());
    const bool finished = running.Step(stage.Chara());
    const cScreenColor& colour = stage.Scene().m_ScreenColor;
    EXPECT_EQ(colour.m_bActive, 1);
    EXPECT_EQ(colour.m_bStarted, 1);
    EXPECT_EQ((std::vector<int>{colour.m_byRed, colour.m_byGreen, colour.m_byBlue}), (std::vector<int>{200, 100, 50}));
    EXPECT_EQ(colour.m_nStrength, 40);
    EXPECT_EQ(colour.m_nFrames, 18) << "tenths of a second at 60 frames";
    EXPECT_EQ(colour.m_nMode, 1);
    EXPECT_EQ(colour.m_nRepeats, 2);
    EXPECT_TRUE(finished) << "the command ran in its one step and the flow went on to its end";
}
