// The screen-effect command: it replaces the stage's screen effect with the entry it names,
// and entry 0 stops the effect at once.
#include <gtest/gtest.h>

#include "flow/media_commands.h"
#include "flow/running_flow.h"
#include "graphics/device.h"
#include "tests/flow/flow_fixture.h"
#include "tests/graphics/graphics_fixture.h"
#include "tests/stage/chara_effects.h"

namespace {

cCommandData ScreenEffectCommand(int number, int mode, int loop)
{
    cCommandData command = FlowCommand(COMMAND_SCREEN_EFFECT);
    command.m_Params.assign({number, mode, loop});
    return command;
}

TEST(ScreenEffectCommand, StartsTheNamedEntryInItsModeReplacingTheRunningEffect)
{
    FlowStageFixture stage;
    qbtest::cCharaEffects effects;
    effects.SetScreen(1, 9, {10, 0, 90});
    effects.SetScreen(2, 13, {10, 1, 60});
    const cScreenEffect& playing = stage.Scene().m_ScreenEffect;

    // Through a flow, as a game runs it.
    stage.SetFlows({FlowOf(TRIGGER_NONE, {ScreenEffectCommand(1, 1, 1)})});
    cRunningFlow& running = stage.Chara().m_RunningFlows[0];
    running.Start(stage.Chara());
    running.Step(stage.Chara());
    EXPECT_EQ(playing.m_nId, 1);
    EXPECT_EQ(playing.m_nMode, 1);
    EXPECT_EQ(playing.m_bLoop, 1);
    EXPECT_EQ(playing.m_dValue, 90) << "played in reverse, from its end";

    struct CASE {
        int number;
        int id;
        double value;
    } cases[] = {
        {2, 2, 1},
        {65536 + 1, 1, 0},   // only the number's low 16 bits count
        {0, 0, 0},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.number);
        cCommandData command = ScreenEffectCommand(c.number, 0, 0);
        ExecCmdRunScreenEffect(stage.Chara(), command);
        EXPECT_EQ(playing.m_nId, c.id);
        EXPECT_EQ(playing.m_nMode, 0);
        EXPECT_EQ(playing.m_bLoop, 0);
        EXPECT_EQ(playing.m_dValue, c.value);
    }
}

using ScreenEffectCommandOnDirect3D = qbtest::cGraphicsTest;

TEST_F(ScreenEffectCommandOnDirect3D, NumberZeroReturnsDrawingToTheRealBackBufferAtOnce)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    {
        FlowStageFixture stage;
        qbtest::cCharaEffects effects;
        effects.SetScreen(1, 9, {10, 0, 90});
        DDSetVirBackBuffer(TRUE);
        cCommandData start = ScreenEffectCommand(1, 0, 0);
        ExecCmdRunScreenEffect(stage.Chara(), start);
        EXPECT_TRUE(lpDTCon->bVirBackBuffer) << "a new effect keeps drawing off screen";
        cCommandData stop = ScreenEffectCommand(0, 0, 0);
        ExecCmdRunScreenEffect(stage.Chara(), stop);
        EXPECT_FALSE(lpDTCon->bVirBackBuffer);
    }
}

}  // namespace
