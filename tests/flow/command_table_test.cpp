#include <gtest/gtest.h>

#include <vector>

#include "flow/command_table.h"
#include "flow/running_flow.h"
#include "tests/flow/flow_fixture.h"

namespace {

// Runs a one-command flow to its end; the steps (from 1) after which `holds` is true of its
// entry, given the entry's remaining time before the step and whether the flow finished.
template <class Holds>
std::vector<int> StepsWhere(FlowStageFixture& stage, const cCommandData& command, Holds holds)
{
    stage.SetFlows({FlowOf(TRIGGER_NONE, {command})});
    cRunningFlow& running = stage.Chara().m_RunningFlows[0];
    const cFlowCommandEntry& entry = running.m_Entries[0];
    std::vector<int> steps;
    running.Start(stage.Chara());
    for (int step = 1; step <= 1000; ++step) {
        const int before = entry.m_nRemaining;
        const bool finished = running.Step(stage.Chara());
        if (holds(entry, before, finished)) steps.push_back(step);
        if (finished) break;
    }
    return steps;
}

// The steps in which the entry ran: its remaining time went down, or it finished.
std::vector<int> RunningSteps(FlowStageFixture& stage, const cCommandData& command)
{
    return StepsWhere(stage, command, [](const cFlowCommandEntry& entry, int before, bool finished) {
        return finished || entry.m_nRemaining != before;
    });
}

// The steps with which the entry began a tenth of a second, the steps at which a command timed
// by tenths acts: its step counter was 0 when the command ran, and the command counted it.
std::vector<int> TenthSteps(FlowStageFixture& stage, const cCommandData& command)
{
    return StepsWhere(stage, command,
                      [](const cFlowCommandEntry& entry, int, bool) { return entry.m_nStepCounter == 1; });
}

}  // namespace

TEST(CommandDispatch, AnEveryStepCommandRunsAtEachStepOfItsEntry)
{
    const qbtest::cNoModalLoops noLoops;   // the game wait's steps, not its loop
    for (int n : {1, 2, 3}) {
        for (int kind : {COMMAND_GAME_WAIT, COMMAND_SOUND, COMMAND_BGM}) {
            FlowStageFixture stage(n);
            EXPECT_EQ(RunningSteps(stage, FlowCommand(kind, 0, 1)).size(), static_cast<std::size_t>(6 * n))
                << "kind " << kind << " n " << n;
            EXPECT_EQ(RunningSteps(stage, FlowCommand(kind, 0, 0)).size(), 1u) << "kind " << kind << " n " << n;
        }
    }
}

TEST(CommandDispatch, AOncePerTenthCommandActsAtTheFirstStepAndEveryTenthOfASecond)
{
    for (int n : {1, 2, 4}) {
        for (int kind : {COMMAND_SHOT, COMMAND_BLOCK_SUMMON, COMMAND_CHARA_SUMMON, COMMAND_ITEM_SUMMON}) {
            FlowStageFixture stage(n);
            EXPECT_EQ(TenthSteps(stage, FlowCommand(kind, 0, 3)), (std::vector<int>{1, 6 * n + 1, 12 * n + 1}))
                << "kind " << kind << " n " << n;
            EXPECT_EQ(TenthSteps(stage, FlowCommand(kind, 0, 0)), (std::vector<int>{1}));
        }
    }
}

TEST(CommandDispatch, TheSwordActsOncePerRunOfItsEntry)
{
    FlowStageFixture stage(2);
    // Each run of the entry starts its step counter at 0 again: the flow's second run swings
    // the sword a second time. Within a run the counter never comes back to 0: one swing.
    EXPECT_EQ(TenthSteps(stage, FlowCommand(COMMAND_SWORD, 0, 5)), (std::vector<int>{1}));
    EXPECT_EQ(TenthSteps(stage, FlowCommand(COMMAND_SWORD, 0, 5)), (std::vector<int>{1}));
    EXPECT_EQ(stage.Chara().m_RunningFlows[0].m_Entries[0].m_nStepCounter, 5 * 6 * 2);
}

TEST(CommandDispatch, AResetStartsTheStepCounterOfTheEntryAgain)
{
    FlowStageFixture stage;
    stage.SetFlows({FlowOf(TRIGGER_NONE, {FlowCommand(COMMAND_SHOT, 0, 2)})});
    cRunningFlow& running = stage.Chara().m_RunningFlows[0];
    running.Start(stage.Chara());
    for (int step = 0; step < 3; ++step) running.Step(stage.Chara());
    EXPECT_EQ(running.m_Entries[0].m_nStepCounter, 3);
    // Stopped mid-run and started again: the shot fires at the first step of the new run, which
    // begins a tenth of a second.
    running.Stop(stage.Chara());
    running.Start(stage.Chara());
    EXPECT_EQ(running.m_Entries[0].m_nStepCounter, 3);
    running.Step(stage.Chara());
    EXPECT_EQ(running.m_Entries[0].m_nStepCounter, 1);
}

TEST(CommandDispatch, AKindOutsideTheTableGetsTheEmptyHandlerAndStillTakesItsTime)
{
    EXPECT_EQ(FlowCommandOf(COMMAND_KINDS), FlowCommandOf(COMMAND_NONE));
    EXPECT_EQ(FlowCommandOf(-1), FlowCommandOf(COMMAND_NONE));
    EXPECT_EQ(FlowCommandOf(127), FlowCommandOf(COMMAND_WAIT));
    EXPECT_EQ(FlowCommandInitOf(-128), nullptr);
    EXPECT_EQ(FlowCommandInitOf(COMMAND_KINDS), nullptr);
    EXPECT_NE(FlowCommandInitOf(COMMAND_STRAIGHT_MOVE), nullptr);
    EXPECT_EQ(FlowCommandInitOf(COMMAND_AVOID_OFFSCREEN_MOVE), FlowCommandInitOf(COMMAND_GROUND_TURN_MOVE));

    FlowStageFixture stage;
    for (int kind : {static_cast<int>(COMMAND_KINDS), -1, 127, -128}) {
        cCommandData command = FlowCommand(COMMAND_NONE, 0, 1);
        command.m_nKind = static_cast<std::int8_t>(kind);
        stage.SetFlows({FlowOf(TRIGGER_NONE, {command})});
        cRunningFlow& running = stage.Chara().m_RunningFlows[0];
        running.Start(stage.Chara());
        const double x = stage.Chara().m_dX;
        const double y = stage.Chara().m_dY;
        const int direction = stage.Chara().m_nDirection;
        int steps = 1;
        while (!running.Step(stage.Chara()) && steps < 100) ++steps;
        EXPECT_EQ(steps, 6) << kind;
        // It did nothing but take its time.
        EXPECT_EQ(stage.Chara().m_dX, x) << kind;
        EXPECT_EQ(stage.Chara().m_dY, y) << kind;
        EXPECT_EQ(stage.Chara().m_nDirection, direction) << kind;
        const cSafeVector<int>& vars = stage.Chara().m_Vars;
        EXPECT_EQ(std::vector<int>(vars.begin(), vars.end()), std::vector<int>(9, 0)) << kind;
    }
}

TEST(CommandDispatch, TheStageClearWrapperHandsItsResultToTheStage)
{
    FlowStageFixture stage;
    stage.Scene().m_nResult = 0;
    stage.SetFlows({FlowOf(TRIGGER_NONE, {FlowCommand(COMMAND_STAGE_CLEAR)})});
    cRunningFlow& running = stage.Chara().m_RunningFlows[0];
    running.Start(stage.Chara());
    EXPECT_TRUE(running.Step(stage.Chara()));
    EXPECT_EQ(stage.Scene().m_nResult, 1);
}

TEST(CommandDispatch, ConsecutiveKeyWaitMessagesChainUntilAnotherWaitingCommandStarts)
{
    FlowStageFixture stage;
    cCommandData keyWait = FlowCommand(COMMAND_MESSAGE);
    cCommandData timed = FlowCommand(COMMAND_MESSAGE);
    timed.m_Params[6] = 2;
    cCommandData deleting = FlowCommand(COMMAND_MESSAGE);
    deleting.m_Params[15] = 1;
    stage.SetFlows({FlowOf(TRIGGER_NONE, {keyWait, FlowCommand(COMMAND_SOUND, 1), keyWait, deleting, timed,
                                          FlowCommand(COMMAND_WAIT), keyWait})});
    cRunningFlow& running = stage.Chara().m_RunningFlows[0];
    running.Start(stage.Chara());
    std::vector<int> chain;
    for (int step = 0; step < 6; ++step) {
        running.Step(stage.Chara());
        chain.push_back(running.m_bMessageChain);
    }
    // A parallel command between two of them keeps the chain; a deleting or timed message, or
    // a wait, breaks it.
    EXPECT_EQ(chain, (std::vector<int>{1, 1, 0, 0, 0, 1}));
}

TEST(CommandDispatch, AStageStartFlowRunsItsParallelCommandsFromKind16OnceAndStops)
{
    FlowStageFixture stage;
    stage.Scene().m_StageVars.assign(255, 0);
    cCommandData code = FlowCommand(COMMAND_CODE, 1);
    code.m_strCode = "S1 = S1 + 5";
    stage.SetFlows({FlowOf(TRIGGER_BEFORE_STAGE,
                           {FlowCommand(COMMAND_SOUND, 1, 4), FlowCommand(COMMAND_TURN, 1),
                            FlowCommand(COMMAND_SOUND, 0), FlowCommand(COMMAND_SHOT, 1),
                            FlowCommand(COMMAND_FLOW_OPERATION, 1), code})});
    cRunningFlow& running = stage.Chara().m_RunningFlows[0];
    running.Start(stage.Chara());
    EXPECT_EQ(running.m_bRunning, 0);
    EXPECT_EQ(stage.Scene().m_StageVars[1], 5) << "the code ran once";
    // The entries that ran are done, each having run once: the parallel sound, flow operation
    // and code; not the turn (below kind 16), nor the sound and shot that wait.
    std::vector<int> done;
    for (const cFlowCommandEntry& entry : running.m_Entries) done.push_back(entry.m_bDone);
    EXPECT_EQ(done, (std::vector<int>{1, 0, 0, 0, 1, 1}));
}
