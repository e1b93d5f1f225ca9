// The movement commands are not built yet: each says so once. The turn keeps its once per
// tenth of a second, so that flows that use it are timed as they will be.
#include "flow/movement_commands.h"

#include "flow/command_stubs.h"
#include "flow/command_table.h"
#include "flow/running_flow.h"
#include "shell/not_built_yet.h"

void InitMoveStraight(cFlowCommandEntry&, cChara&, int) { LogNotBuiltYet("straight move set-up"); }
void InitMoveTiming(cFlowCommandEntry&, cChara&, int) { LogNotBuiltYet("timed move set-up"); }
void InitMoveCircle(cFlowCommandEntry&, cChara&, int) { LogNotBuiltYet("circle move set-up"); }
void InitMoveCharge(cFlowCommandEntry&, cChara&, int) { LogNotBuiltYet("charge move set-up"); }
void InitMoveHoming(cFlowCommandEntry&, cChara&, int) { LogNotBuiltYet("homing move set-up"); }
void InitJump(cFlowCommandEntry&, cChara&, int) { LogNotBuiltYet("jump set-up"); }

void FlowCmdMoveStraight(cChara&, cFlowCommandEntry&)
{
    NotBuiltCommandActs(COMMAND_STRAIGHT_MOVE, "straight move command");
}

void FlowCmdMoveGroundTurn(cChara&, cFlowCommandEntry&)
{
    NotBuiltCommandActs(COMMAND_GROUND_TURN_MOVE, "ground turn move command");
}

void FlowCmdMoveCircle(cChara&, cFlowCommandEntry&)
{
    NotBuiltCommandActs(COMMAND_CIRCLE_MOVE, "circle move command");
}

void FlowCmdMoveCharge(cChara&, cFlowCommandEntry&)
{
    NotBuiltCommandActs(COMMAND_CHARGE_MOVE, "charge move command");
}

void FlowCmdMoveHoming(cChara&, cFlowCommandEntry&)
{
    NotBuiltCommandActs(COMMAND_HOMING_MOVE, "homing move command");
}

void FlowCmdMoveAvoidOffscreen(cChara&, cFlowCommandEntry&)
{
    NotBuiltCommandActs(COMMAND_AVOID_OFFSCREEN_MOVE, "off-screen avoiding move command");
}

void FlowCmdDisableMove(cChara&, cFlowCommandEntry&)
{
    NotBuiltCommandActs(COMMAND_CANCEL_MOVE, "move disabling command");
}

void FlowCmdTurn(cChara&, cFlowCommandEntry& entry)
{
    if (TenthSecondDue(entry)) NotBuiltCommandActs(COMMAND_TURN, "turn command");
    CountTenthSecondStep(entry);
}

void FlowCmdJump(cChara&, cFlowCommandEntry&)
{
    NotBuiltCommandActs(COMMAND_JUMP, "jump command");
}
