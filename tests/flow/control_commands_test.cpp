#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "data/move_part.h"
#include "data/world_map_data.h"
#include "flow/control_commands.h"
#include "flow/running_flow.h"
#include "objects/item_actions.h"
#include "tests/flow/flow_fixture.h"
#include "tests/stage/stage_fixture.h"
#include "tests/support/restore.h"

namespace {

cCommandData StageVarIncrement(int variable, int parallel)
{
    cCommandData command = FlowCommand(COMMAND_CODE, parallel);
    const std::string name = "S" + std::to_string(variable);
    command.m_strCode = name + " = " + name + " + 1";
    return command;
}

cCommandData FlowOperation(int operation, int target, int id)
{
    cCommandData command = FlowCommand(COMMAND_FLOW_OPERATION, 1);
    command.m_Params = {operation, target, id};
    return command;
}

cFlowData FlowWithId(int id, int trigger, std::initializer_list<cCommandData> commands)
{
    cFlowData flow = FlowOf(trigger, commands);
    flow.m_nId = static_cast<BYTE>(id);
    return flow;
}

// A flow's run flags (R running, P paused, F stopped for good, D deleted, X step aborted), then
// its command animations in list order (r playing, s held).
std::string FlowState(const cChara& chara, const cRunningFlow& flow)
{
    std::string state;
    if (flow.m_bRunning) state += 'R';
    if (flow.m_bPaused) state += 'P';
    if (flow.m_bStoppedForever) state += 'F';
    if (flow.m_bDeleted) state += 'D';
    if (flow.m_bAbort) state += 'X';
    state += '/';
    for (const cCharaAnimation& animation : chara.m_Animations) {
        if (animation.nOwner == flow.m_nSerial) state += animation.bStopped ? 's' : 'r';
    }
    return state;
}

}  // namespace

TEST(FlowOperation, EachOperationActsOnTheFlowsItsTargetNamesAndTheirAnimations)
{
    // Flows A (no ID), B (ID 5, the one running the operation) and C (ID 5). A and C are
    // paused; each flow has an animation still playing and one held that has played out. B's
    // entry after the operation counts in S1 whether the step went on.
    struct Case {
        int operation, target, id;
        const char* a;
        const char* b;
        const char* c;
        int wentOn, removal;
    } cases[] = {
        {0, 0, 5, "RP/rs", "RX/", "RP/rs", 0, 0},
        {0, 1, 5, "RPX/", "R/rs", "RPX/", 1, 0},
        {0, 2, 5, "RP/rs", "RX/", "RPX/", 0, 0},
        {1, 0, 5, "RP/rs", "X/", "RP/rs", 0, 0},
        {1, 1, 5, "PX/", "R/rs", "PX/", 1, 0},
        {1, 2, 5, "RP/rs", "X/", "PX/", 0, 0},
        {2, 0, 5, "RP/rs", "RPX/s", "RP/rs", 0, 0},
        {2, 1, 5, "RPX/s", "R/rs", "RPX/s", 1, 0},
        {2, 2, 5, "RP/rs", "RPX/s", "RPX/s", 0, 0},
        {3, 0, 5, "RP/rs", "R/rr", "RP/rs", 1, 0},
        {3, 1, 5, "R/rr", "R/rs", "R/rr", 1, 0},
        {3, 2, 5, "RP/rs", "R/rr", "R/rr", 1, 0},
        {4, 0, 5, "RP/rs", "RDX/rs", "RP/rs", 0, 1},
        {4, 1, 5, "RPDX/rs", "R/rs", "RPDX/rs", 1, 1},
        {4, 2, 5, "RP/rs", "RDX/rs", "RPDX/rs", 0, 1},
        {5, 0, 5, "RP/rs", "RFX/", "RP/rs", 0, 0},
        {5, 1, 5, "RPFX/", "R/rs", "RPFX/", 1, 0},
        {5, 2, 5, "RP/rs", "RFX/", "RPFX/", 0, 0},
        // An ID no flow has, and ID 0, which names no flow; an unknown operation or target.
        {0, 2, 7, "RP/rs", "R/rs", "RP/rs", 1, 0},
        {1, 2, 0, "RP/rs", "R/rs", "RP/rs", 1, 0},
        {6, 0, 5, "RP/rs", "R/rs", "RP/rs", 1, 0},
        {1, 3, 5, "RP/rs", "R/rs", "RP/rs", 1, 0},
    };
    for (const Case& c : cases) {
        FlowStageFixture stage;
        stage.Scene().m_StageVars.assign(kStageVars, 0);
        const cCommandData wait = FlowCommand(COMMAND_WAIT, 0, 50);
        stage.SetFlows({FlowWithId(0, TRIGGER_NONE, {wait}),
                        FlowWithId(5, TRIGGER_NONE, {FlowOperation(c.operation, c.target, c.id), StageVarIncrement(1, 0)}),
                        FlowWithId(5, TRIGGER_NONE, {wait})});
        cChara& chara = stage.Chara();
        for (cRunningFlow& flow : chara.m_RunningFlows) {
            flow.Start(chara);
            cCharaAnimation playing;
            playing.nOwner = flow.m_nSerial;
            playing.nPlay = 5;
            playing.nCommandFrames = 6;
            cCharaAnimation spent;
            spent.nOwner = flow.m_nSerial;
            spent.nPlay = -7;
            spent.bStopped = 1;
            chara.m_Animations.push_back(playing);
            chara.m_Animations.push_back(spent);
        }
        chara.m_RunningFlows[0].Pause();
        chara.m_RunningFlows[2].Pause();

        chara.m_RunningFlows[1].Step(chara);
        const auto name = ::testing::Message() << "operation " << c.operation << " target " << c.target << " id " << c.id;
        EXPECT_EQ(FlowState(chara, chara.m_RunningFlows[0]), c.a) << name;
        EXPECT_EQ(FlowState(chara, chara.m_RunningFlows[1]), c.b) << name;
        EXPECT_EQ(FlowState(chara, chara.m_RunningFlows[2]), c.c) << name;
        EXPECT_EQ(stage.Scene().m_StageVars.At(1), c.wentOn) << name;
        EXPECT_EQ(chara.m_bFlowRemoval, c.removal) << name;
    }
}

TEST(FlowOperation, AFlowStartedWhileItsStageStartRunsIsNotStartedAgain)
{
    // A stage-start flow that starts itself, and two that start each other, run once each.
    struct Case {
        const char* name;
        int otherId;   // the ID the first flow starts
    } cases[] = {{"itself", 1}, {"each other", 2}};
    for (const Case& c : cases) {
        FlowStageFixture stage;
        stage.Scene().m_StageVars.assign(kStageVars, 0);
        stage.SetFlows({FlowWithId(1, TRIGGER_BEFORE_STAGE,
                                   {StageVarIncrement(1, 1), FlowOperation(0, 2, c.otherId), StageVarIncrement(3, 1)}),
                        FlowWithId(2, TRIGGER_BEFORE_STAGE, {StageVarIncrement(2, 1), FlowOperation(0, 2, 1)})});
        cChara& chara = stage.Chara();
        chara.m_RunningFlows[0].Start(chara);
        EXPECT_EQ(stage.Scene().m_StageVars.At(1), 1) << c.name;
        EXPECT_EQ(stage.Scene().m_StageVars.At(2), c.otherId == 2 ? 1 : 0) << c.name;
        EXPECT_EQ(stage.Scene().m_StageVars.At(3), 1) << c.name;
        EXPECT_EQ(chara.m_RunningFlows[0].m_bRunning, 0) << c.name;
        EXPECT_EQ(chara.m_RunningFlows[1].m_bRunning, 0) << c.name;
    }
}

TEST(FlowOperation, TheRestOfTheStepStillActsOnTheFlowThatStartedAStageStartFlow)
{
    // B starts the stage-start flow D, whose commands run at once, then pauses "this flow":
    // that is B, not D.
    FlowStageFixture stage;
    stage.Scene().m_StageVars.assign(kStageVars, 0);
    stage.SetFlows({FlowWithId(0, TRIGGER_NONE,
                               {FlowOperation(0, 2, 9), FlowOperation(2, 0, 0), StageVarIncrement(1, 0)}),
                    FlowWithId(9, TRIGGER_BEFORE_STAGE, {StageVarIncrement(2, 1)})});
    cChara& chara = stage.Chara();
    cRunningFlow& running = chara.m_RunningFlows[0];
    running.Start(chara);
    running.Step(chara);
    EXPECT_EQ(stage.Scene().m_StageVars.At(2), 1);
    EXPECT_EQ(running.m_bPaused, 1);
    EXPECT_EQ(chara.m_RunningFlows[1].m_bPaused, 0);
    EXPECT_EQ(stage.Scene().m_StageVars.At(1), 0);
    EXPECT_EQ(stage.Scene().m_lpCurFlow, &running);
}

TEST(StageClearCommand, NamesTheNextStageAndStoresTheMapPositionAndTheNextStart)
{
    // Before: next stage 55, part 3 of its series, map (7, 8) walking state 2, a start
    // override (9, 9, 9). The world map is 20 x 10; player 1 faces `facing`.
    struct Case {
        const char* name;
        int params[9];
        int facing;
        int next, mapX, mapY, mapState, override, column, row, direction;
    } cases[] = {
        {"the next stage; no override", {0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, 4, 7, 8, 2, 0, 9, 9, 9},
        {"a stage by number", {1, 12, 0, 0, 0, 0, 0, 0, 0}, 0, 12, 7, 8, 2, 0, 9, 9, 9},
        {"the world cleared", {2, 12, 0, 0, 0, 0, 0, 0, 0}, 0, 0, 7, 8, 2, 0, 9, 9, 9},
        {"an unknown choice keeps it", {3, 12, 0, 0, 0, 0, 0, 0, 0}, 0, 55, 7, 8, 2, 0, 9, 9, 9},
        {"map x 99 on a map 20 wide", {0, 0, 1, 99, 3, 0, 0, 0, 0}, 0, 4, 19, 3, 0, 0, 9, 9, 9},
        {"map y at the height", {0, 0, 1, 5, 10, 0, 0, 0, 0}, 0, 4, 5, 9, 0, 0, 9, 9, 9},
        {"a negative map position as given", {0, 0, 1, -4, -1, 0, 0, 0, 0}, 0, 4, -4, -1, 0, 0, 9, 9, 9},
        {"a start facing left", {0, 0, 0, 0, 0, 1, 3, 4, 0}, 1, 4, 7, 8, 2, 1, 3, 4, 0},
        {"a start facing right", {0, 0, 0, 0, 0, 1, 3, 4, 1}, 0, 4, 7, 8, 2, 1, 3, 4, 1},
        {"player 1's facing, right", {0, 0, 0, 0, 0, 1, 3, 4, 2}, 1, 4, 7, 8, 2, 1, 3, 4, 1},
        {"player 1's facing, left", {0, 0, 0, 0, 0, 1, 3, 4, 2}, 0, 4, 7, 8, 2, 1, 3, 4, 0},
    };
    for (const Case& c : cases) {
        FlowStageFixture stage;
        qbtest::cRestore<cWorldMapData> map(g_WorldMapData);
        g_WorldMapData.m_nWidth = 20;
        g_WorldMapData.m_nHeight = 10;
        stage.AddPlayerOne().m_nDirection = c.facing;
        stage.Scene().m_StageClear.m_nNextStage = 55;
        g_SaveData.m_nSeriesNumber = 3;
        g_SaveData.m_nMapX = 7;
        g_SaveData.m_nMapY = 8;
        g_SaveData.m_nMapState = 2;
        g_SaveData.m_bFollowUp = 1;
        g_SaveData.m_nFollowUpA = g_SaveData.m_nFollowUpB = g_SaveData.m_nFollowUpC = 9;
        cCommandData command = FlowCommand(COMMAND_STAGE_CLEAR);
        command.m_Params.assign(std::begin(c.params), std::end(c.params));

        EXPECT_EQ(ExecCmdStageClear(stage.Chara(), command), 1) << c.name;
        EXPECT_EQ(stage.Scene().m_StageClear.m_nNextStage, c.next) << c.name;
        EXPECT_EQ(g_SaveData.m_nMapX, c.mapX) << c.name;
        EXPECT_EQ(g_SaveData.m_nMapY, c.mapY) << c.name;
        EXPECT_EQ(g_SaveData.m_nMapState, c.mapState) << c.name;
        EXPECT_EQ(g_SaveData.m_bFollowUp, c.override) << c.name;
        EXPECT_EQ(g_SaveData.m_nFollowUpA, c.column) << c.name;
        EXPECT_EQ(g_SaveData.m_nFollowUpB, c.row) << c.name;
        EXPECT_EQ(g_SaveData.m_nFollowUpC, c.direction) << c.name;
    }
}

TEST(StageClearCommand, TheNextStageAfterTheLastNumberWraps)
{
    FlowStageFixture stage;
    g_SaveData.m_nSeriesNumber = INT_MAX;
    cCommandData command = FlowCommand(COMMAND_STAGE_CLEAR);
    ExecCmdStageClear(stage.Chara(), command);
    EXPECT_EQ(stage.Scene().m_StageClear.m_nNextStage, INT_MIN);
}

namespace {

// Stage charas of 32 x 32 with no draw offsets on the 13 x 15 stage, whose inside runs from 320
// to 736 across and 320 to 800 down, seen from scroll (320, 320).
class WarpAndTarget : public qbtest::cStageTest {
protected:
    cStageChara& AddChara(double x, double y, int facing)
    {
        Scene().PlaceChara(1, 1, CharaTemplate(), nullptr);
        cStageChara& chara = Scene().m_Charas.back();
        chara.m_nDrawOffsetX = chara.m_nDrawOffsetY = chara.m_nBaseDrawOffsetX = chara.m_nBaseDrawOffsetY = 0;
        chara.m_nWidth = chara.m_nHeight = chara.m_nDrawWidth = chara.m_nDrawHeight = 32;
        chara.m_nDirection = facing;
        chara.m_byCollision = 1;
        chara.m_dX = x;
        chara.m_dY = y;
        chara.OnMovedX();
        chara.OnMovedY();
        chara.UpdateScreenRect();
        return chara;
    }
};

}  // namespace

TEST_F(WarpAndTarget, AWarpMovesTheCharaAtOnceUnlessItWouldLeaveTheStageOrStandInAWall)
{
    const double q16 = 0.7071067811865476 * 16;
    struct Case {
        const char* name;
        int mode = 0, choice = 0, distance = 0, perCopy = 0, copy = 0, coordinates = 0;
        int blockX = 0, dotX = 0, blockY = 0, dotY = 0, mirrorX = 0, mirrorY = 0;
        int facing = 1, flying = 1;
        bool target = false, wall = false;
        double x = 0, y = 0, vy = 0;
        int fixed = 0, fixedX = 0, fixedY = 0;
    } cases[] = {
        {.name = "right 2 half-blocks", .choice = 3, .distance = 2, .x = 512, .y = 480, .vy = 3},
        {.name = "forward, facing left", .choice = 0, .distance = 2, .facing = 0, .x = 448, .y = 480, .vy = 3},
        {.name = "down-right diagonal", .choice = 11, .distance = 1, .x = 480 + q16, .y = 480 + q16, .vy = 3},
        {.name = "the distance per copy", .choice = 7, .distance = 1, .perCopy = 1, .copy = 2, .x = 480, .y = 528, .vy = 3},
        {.name = "a walker lands its warp standing", .choice = 3, .distance = 2, .flying = 0, .x = 512, .y = 480, .vy = 0},
        {.name = "relative, mirrored facing right", .mode = 2, .blockX = 1, .dotX = 5, .dotY = -3, .mirrorX = 1,
         .x = 443, .y = 477, .vy = 3},
        {.name = "relative, facing left", .mode = 2, .blockX = 1, .dotX = 5, .dotY = -3, .mirrorX = 1, .facing = 0,
         .x = 517, .y = 477, .vy = 3},
        {.name = "absolute: the block, then the dots unmirrored", .mode = 2, .coordinates = 1, .blockX = 3, .dotX = 5,
         .blockY = 4, .dotY = 6, .mirrorX = 1, .mirrorY = 1, .x = 421.5, .y = 454, .vy = 3},
        {.name = "a screen point", .mode = 2, .coordinates = 2, .blockX = 3, .dotX = 4, .blockY = 1, .dotY = 18,
         .facing = 0, .x = 420, .y = 370, .vy = 3, .fixed = 1, .fixedX = 100, .fixedY = 50},
        {.name = "centred on the target, forward as the target faces", .mode = 1, .choice = 0, .distance = 1,
         .target = true, .x = 600, .y = 408, .vy = 3},
        {.name = "into a wall", .choice = 3, .distance = 2, .flying = 0, .wall = true, .x = 480, .y = 480, .vy = 3},
        {.name = "out of the stage", .choice = 2, .distance = 20, .x = 480, .y = 480, .vy = 3},
        {.name = "a screen point out of the stage is still where it is drawn", .mode = 2, .coordinates = 2,
         .blockX = -13, .dotX = 16, .x = 480, .y = 480, .vy = 3, .fixed = 1, .fixedX = 160, .fixedY = 160},
        {.name = "toward a target it does not have", .mode = 1, .choice = 3, .distance = 2, .x = 480, .y = 480, .vy = 3,
         .fixed = 1, .fixedX = 7, .fixedY = 7},
    };
    for (const Case& c : cases) {
        Scene().m_Charas.clear();
        m_Stage.BuildBlockGrid();
        if (c.wall) static_cast<cBlockData&>(CellAt(16, 15)) = SolidBlock();
        cStageChara* target = nullptr;
        if (c.target) {
            target = &AddChara(600, 400, 0);
            target->m_nDrawWidth = 64;
            target->m_nDrawHeight = 48;
        }
        cStageChara& chara = AddChara(480, 480, c.facing);
        chara.m_bFlying = c.flying;
        chara.m_sCopyIndex = static_cast<std::int16_t>(c.copy);
        chara.m_dVY = 3;
        // Off the list of the target it was placed with, onto its new target's, so that
        // whichever goes first lets go of the other.
        chara.UnregisterFromTarget();
        chara.m_lpTarget = target;
        chara.RegisterWithTarget();
        chara.m_bFixedScreenX = chara.m_bFixedScreenY = 1;
        chara.m_nFixedScreenX = chara.m_nFixedScreenY = 7;
        cCommandData command = FlowCommand(COMMAND_WARP);
        cEdMove::Create(command.m_pMove);
        cEdMove& move = *command.m_pMove;
        move.m_nMode = static_cast<BYTE>(c.mode);
        move.m_nDirection = static_cast<BYTE>(c.choice);
        move.m_nDistance = static_cast<std::int16_t>(c.distance);
        move.m_nDistancePerFactor = static_cast<std::int16_t>(c.perCopy);
        move.m_nCoordinates = static_cast<BYTE>(c.coordinates);
        move.m_nTargetBlockX = static_cast<std::int16_t>(c.blockX);
        move.m_nTargetDotX = static_cast<std::int16_t>(c.dotX);
        move.m_nTargetBlockY = static_cast<std::int16_t>(c.blockY);
        move.m_nTargetDotY = static_cast<std::int16_t>(c.dotY);
        move.m_bMirrorTargetX = static_cast<BYTE>(c.mirrorX);
        move.m_bMirrorTargetY = static_cast<BYTE>(c.mirrorY);

        ExecCmdWarp(chara, command);
        EXPECT_DOUBLE_EQ(chara.m_dX, c.x) << c.name;
        EXPECT_DOUBLE_EQ(chara.m_dY, c.y) << c.name;
        EXPECT_DOUBLE_EQ(chara.m_dRight, c.x + 31) << c.name;
        EXPECT_DOUBLE_EQ(chara.m_dBottom, c.y + 31) << c.name;
        EXPECT_EQ(chara.m_ScreenRect.left, static_cast<int>(c.x - 320)) << c.name;
        EXPECT_EQ(chara.m_ScreenRect.top, static_cast<int>(c.y - 320)) << c.name;
        EXPECT_EQ(chara.m_dVY, c.vy) << c.name;
        EXPECT_EQ(chara.m_bFixedScreenX, c.fixed) << c.name;
        EXPECT_EQ(chara.m_bFixedScreenY, c.fixed) << c.name;
        if (c.fixed) {
            EXPECT_EQ(chara.m_nFixedScreenX, c.fixedX) << c.name;
            EXPECT_EQ(chara.m_nFixedScreenY, c.fixedY) << c.name;
        }
    }
}

TEST_F(WarpAndTarget, TheTargetSettingChoosesAmongTheLayersWithTheCommandsFilters)
{
    // The chara (centre (176, 176) on the screen) sits in layer 0; layer 1 holds a far chara
    // with ID 7 and then one 80 away, layer 2 one 60 away; layer 5 is empty.
    cStageChara& chara = AddChara(480, 480, 1);
    cStageChara& far = AddChara(700, 700, 1);
    far.m_Def.m_nCharaId = 7;
    cStageChara& near1 = AddChara(560, 480, 1);
    cStageChara& near2 = AddChara(480, 420, 1);
    Scene().m_CharaLayers.At(0).push_back(&chara);
    Scene().m_CharaLayers.At(1).push_back(&far);
    Scene().m_CharaLayers.At(1).push_back(&near1);
    Scene().m_CharaLayers.At(2).push_back(&near2);
    for (cStageChara& c : Scene().m_Charas) c.m_bActive = c.m_bOnScreen = 1;
    struct Case {
        const char* name;
        int params[10];
        const cChara* target;
    } cases[] = {
        {"player 1", {0}, &m_Player},
        {"itself", {1}, &chara},
        {"the nearest in layer 1", {2, 1, 0, 1}, &near1},
        {"the nearest in layer 2", {2, 2, 0, 1}, &near2},
        {"the nearest of all layers: itself", {2, 0, 1, 1}, &chara},
        {"the nearest of all layers but itself", {2, 0, 1, 1, 1}, &near2},
        {"the nearest by ID", {2, 1, 0, 1, 0, 0, 0, 0, 1, 7}, &far},
        {"the nearest of an empty layer: none", {2, 5, 0, 1}, nullptr},
        {"the first in layer 1", {3, 1}, &far},
        {"the first of all layers", {3, 0, 1}, &chara},
        {"the first of all layers but itself", {3, 0, 1, 0, 1}, &far},
        {"the first of an empty layer: none", {3, 5}, nullptr},
    };
    for (const Case& c : cases) {
        chara.UnregisterFromTarget();
        chara.m_lpTarget = nullptr;
        cCommandData command = FlowCommand(COMMAND_SET_TARGET);
        command.m_Params.assign(std::begin(c.params), std::end(c.params));
        ExecCmdSetTarget(chara, command);
        EXPECT_EQ(chara.m_lpTarget, c.target) << c.name;
    }
}

TEST_F(WarpAndTarget, ANewTargetTakesTheCharaFromTheOldTargetsListAndListsItOnce)
{
    cStageChara& chara = AddChara(480, 480, 1);
    chara.m_lpTarget = &m_Player;
    m_Player.m_TargetedBy.assign(2, &chara);   // listed twice
    cCommandData toItself = FlowCommand(COMMAND_SET_TARGET);
    toItself.m_Params[0] = 1;
    ExecCmdSetTarget(chara, toItself);
    ExecCmdSetTarget(chara, toItself);
    EXPECT_TRUE(m_Player.m_TargetedBy.empty());
    EXPECT_EQ(chara.m_TargetedBy, (cSafeVector<cChara*>{&chara}));

    cCommandData toNobody = FlowCommand(COMMAND_SET_TARGET);
    toNobody.m_Params = {2, 5, 0, 1, 0, 0, 0, 0, 0, 0};
    ExecCmdSetTarget(chara, toNobody);
    EXPECT_EQ(chara.m_lpTarget, nullptr);
    EXPECT_TRUE(chara.m_TargetedBy.empty());
}

TEST_F(WarpAndTarget, ItemActionsTwoFiveAndSixAreTheStageClearWarpAndTargetOnTheHero)
{
    cCommandData clear = FlowCommand(COMMAND_STAGE_CLEAR);
    clear.m_nKind = 2;
    clear.m_Params[0] = 1;
    clear.m_Params[1] = 12;
    EXPECT_EQ(RunItemAction(m_Player, clear), 1);
    EXPECT_EQ(Scene().m_StageClear.m_nNextStage, 12);

    cCommandData warp = FlowCommand(COMMAND_WARP);
    warp.m_nKind = 5;
    cEdMove::Create(warp.m_pMove);
    warp.m_pMove->m_nMode = 2;
    warp.m_pMove->m_nCoordinates = 2;
    EXPECT_EQ(RunItemAction(m_Player, warp), 0);
    EXPECT_EQ(m_Player.m_bFixedScreenX, 1);

    cCommandData target = FlowCommand(COMMAND_SET_TARGET);
    target.m_nKind = 6;
    target.m_Params[0] = 1;
    EXPECT_EQ(RunItemAction(m_Player, target), 0);
    EXPECT_EQ(m_Player.m_lpTarget, &m_Player);
    m_Player.UnregisterFromTarget();
    m_Player.m_lpTarget = nullptr;
}
