#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "flow/running_flow.h"
#include "tests/flow/flow_fixture.h"

namespace {

// Holds when chara variable `index` equals `value`.
cConditionData CharaVariableIs(int index, int value)
{
    cConditionData condition;
    condition.m_nKind = 3;
    condition.m_nVariable = static_cast<std::int16_t>(index);
    condition.m_nOperand = value;
    condition.m_nOperator = 0;
    return condition;
}

cFlowData AlwaysFlow(int group, std::initializer_list<cCommandData> commands, cConditionData condition)
{
    cFlowData flow = FlowOf(TRIGGER_ALWAYS, commands, group);
    flow.m_Conditions.push_back(condition);
    return flow;
}

// A key condition: right held, however long.
cKeyConditionData RightHeld()
{
    cKeyConditionData key;
    key.Init();
    key.m_Keys[2] = 1;
    key.m_bAnyDuration = 1;
    return key;
}

struct STARTED {
    int frame;
    int subStep;
    int flow;

    bool operator==(const STARTED&) const = default;
};

std::ostream& operator<<(std::ostream& out, const STARTED& s)
{
    return out << "(" << s.frame << "," << s.subStep << ": " << s.flow << ")";
}

// Frames of `subSteps` sub-steps as the play frame runs them: the frame flags cleared once, then
// in each sub-step trigger 0 and the chara's update. `before` runs first in each sub-step.
std::vector<STARTED> PlayFrames(FlowStageFixture& stage, int frames, int subSteps,
                                const std::function<void(int, int)>& before)
{
    cChara& chara = stage.Chara();
    std::vector<STARTED> started;
    for (int frame = 1; frame <= frames; ++frame) {
        chara.ResetFlowFrameFlags();
        for (int subStep = 1; subStep <= subSteps; ++subStep) {
            before(frame, subStep);
            std::vector<int> running;
            for (const cRunningFlow& flow : chara.m_RunningFlows) running.push_back(flow.m_bRunning);
            chara.RaiseTrigger(TRIGGER_ALWAYS);
            for (std::size_t i = 0; i < running.size(); ++i) {
                if (!running[i] && chara.m_RunningFlows[i].m_bRunning)
                    started.push_back({frame, subStep, static_cast<int>(i)});
            }
            chara.UpdateCommon(0, false, APPROACHSCROLL{});
        }
    }
    return started;
}

}  // namespace

TEST(FlowTriggers, AFlowIsTestedOnceAFrameUnlessTheRetestSwitchIsOn)
{
    for (int retest : {0, 1}) {
        FlowStageFixture stage(4);
        g_SystemData.m_bRunMarkedTriggers = retest;
        stage.Chara().m_nHp = 1;
        stage.SetFlows({AlwaysFlow(0, {FlowCommand(COMMAND_WAIT, 0, 10)}, CharaVariableIs(0, 1))});
        // The condition becomes true in the second sub-step of the first frame.
        const auto started = PlayFrames(stage, 2, 4, [&](int frame, int subStep) {
            if (frame == 1 && subStep == 2) stage.Chara().m_Vars[0] = 1;
        });
        const STARTED expected = retest ? STARTED{1, 2, 0} : STARTED{2, 1, 0};
        EXPECT_EQ(started, (std::vector<STARTED>{expected})) << "retest " << retest;
    }
}

TEST(FlowTriggers, OneFlowOfAGroupRunsAtATimeAndNoneAgainInTheFrameOneStarted)
{
    struct Case {
        const char* what;
        int retest;
        int firstTenths;
        std::vector<STARTED> started;
    } cases[] = {
        // The first flow runs 4 x 6 steps and one more: it stops in frame 7, sub-step 1.
        {"retest off: the next frame", 0, 1, {{1, 1, 0}, {8, 1, 1}}},
        {"retest on: the next sub-step", 1, 1, {{1, 1, 0}, {7, 2, 1}}},
        // One step: it stops in the sub-step it started, but its group stays taken that frame.
        {"retest on, stopped in its first frame", 1, 0, {{1, 1, 0}, {2, 1, 1}}},
    };
    for (const Case& c : cases) {
        FlowStageFixture stage(4);
        g_SystemData.m_bRunMarkedTriggers = c.retest;
        stage.Chara().m_nHp = 1;
        stage.SetFlows({AlwaysFlow(1, {FlowCommand(COMMAND_WAIT, 0, c.firstTenths), FlowCommand(COMMAND_WAIT)},
                                   CharaVariableIs(0, 0)),
                        AlwaysFlow(1, {FlowCommand(COMMAND_WAIT, 0, 10)}, CharaVariableIs(1, 0)),
                        AlwaysFlow(2, {FlowCommand(COMMAND_WAIT, 0, 100)}, CharaVariableIs(1, 1))});
        // The first flow may start only once.
        const auto started = PlayFrames(stage, 9, 4, [&](int frame, int subStep) {
            if (frame == 1 && subStep == 2) stage.Chara().m_Vars[0] = 1;
        });
        EXPECT_EQ(started, c.started) << c.what;
    }
}

TEST(FlowTriggers, ARunningPausedOrStoppedForeverFlowIsNotStarted)
{
    FlowStageFixture stage;
    stage.SetFlows({FlowOf(TRIGGER_HIT_BLOCK, {FlowCommand(COMMAND_WAIT, 0, 10)}),
                    FlowOf(TRIGGER_HIT_BLOCK, {FlowCommand(COMMAND_WAIT, 0, 10)}),
                    FlowOf(TRIGGER_HIT_BLOCK, {FlowCommand(COMMAND_WAIT, 0, 10)}),
                    FlowOf(TRIGGER_DAMAGED, {FlowCommand(COMMAND_WAIT, 0, 10)})});
    cChara& chara = stage.Chara();
    g_SystemData.m_bRunMarkedTriggers = 1;
    chara.RaiseTrigger(TRIGGER_HIT_BLOCK);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(chara.m_RunningFlows[static_cast<std::size_t>(i)].m_bRunning, 1);
    EXPECT_EQ(chara.m_RunningFlows[3].m_bRunning, 0);

    chara.ResetFlowFrameFlags();
    cRunningFlow& running = chara.m_RunningFlows[0];
    running.Step(chara);
    chara.m_RunningFlows[1].Pause();
    chara.m_RunningFlows[1].Stop(chara);   // stopping a paused flow leaves it paused
    chara.m_RunningFlows[2].StopForever(chara);
    chara.RaiseTrigger(TRIGGER_HIT_BLOCK);
    EXPECT_EQ(running.m_nSteps, 1);   // not restarted
    EXPECT_EQ(chara.m_RunningFlows[1].m_bRunning, 0);
    EXPECT_EQ(chara.m_RunningFlows[2].m_bRunning, 1);
    EXPECT_EQ(chara.m_RunningFlows[2].m_bStoppedForever, 1);
    chara.m_RunningFlows[1].Resume();
    chara.RaiseTrigger(TRIGGER_HIT_BLOCK);
    EXPECT_EQ(chara.m_RunningFlows[1].m_bRunning, 1);
}

TEST(FlowTriggers, TheKeyGateOpensWhenTheKeysStartToMatchUnlessTheyMayRepeat)
{
    for (int repeat : {0, 1}) {
        FlowStageFixture stage;
        g_SystemData.m_bRunMarkedTriggers = 1;
        cFlowData flow = FlowOf(TRIGGER_HIT_BLOCK, {FlowCommand(COMMAND_WAIT)}, 3);
        flow.m_KeyConditions.push_back(RightHeld());
        flow.m_bKeyRepeat = static_cast<BYTE>(repeat);
        stage.SetFlows({flow});
        cChara& chara = stage.Chara();
        cInput& input = g_Input[0];
        input.ResetKeyHistories();
        std::vector<int> starts;
        for (int direction : {0, 2, 2, 2, 0, 2}) {
            input.m_wDirection = static_cast<WORD>(direction);
            input.RecordKeyHistories();
            chara.m_RunningFlows[0].m_bRunning = 0;
            chara.ResetFlowFrameFlags();
            chara.RaiseTrigger(TRIGGER_HIT_BLOCK);
            starts.push_back(chara.m_RunningFlows[0].m_bRunning);
        }
        const std::vector<int> expected = repeat ? std::vector<int>{0, 1, 1, 1, 0, 1} : std::vector<int>{0, 1, 0, 0, 0, 1};
        EXPECT_EQ(starts, expected) << "repeat " << repeat;
        EXPECT_EQ(chara.m_RunningFlows[0].m_nStartKey, 2);
    }
}

TEST(FlowTriggers, KeysStillHeldKeepAnAlwaysFlowsGroupBusyForTheUpdate)
{
    FlowStageFixture stage;
    cFlowData flow = FlowOf(TRIGGER_ALWAYS, {FlowCommand(COMMAND_WAIT)}, 4);
    flow.m_KeyConditions.push_back(RightHeld());
    stage.SetFlows({flow});
    cChara& chara = stage.Chara();
    chara.m_nHp = 1;
    cInput& input = g_Input[0];
    input.ResetKeyHistories();
    input.m_wDirection = DIR_RIGHT;
    input.RecordKeyHistories();
    chara.RaiseTrigger(TRIGGER_ALWAYS);
    EXPECT_EQ(chara.m_RunningFlows[0].m_bRunning, 1);
    chara.UpdateCommon(0, false, APPROACHSCROLL{});   // one step: the flow ends, its group frees
    EXPECT_EQ(chara.m_GroupStarted[4], 0);

    chara.ResetFlowFrameFlags();
    input.RecordKeyHistories();
    chara.RaiseTrigger(TRIGGER_ALWAYS);
    EXPECT_EQ(chara.m_RunningFlows[0].m_bRunning, 0);
    EXPECT_EQ(chara.m_GroupStarted[4], 1);
    EXPECT_EQ(chara.m_GroupEnded[4], 1);
    EXPECT_EQ(chara.m_bGroupEnded, 1);
    chara.UpdateCommon(0, false, APPROACHSCROLL{});
    EXPECT_EQ(chara.m_GroupStarted[4], 0);
}
