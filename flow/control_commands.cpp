// The flow-control, stage-clear, wait, message, warp and target commands are not built yet:
// each says so once. The stage clear already gives its result, which its flow wrapper hands to
// the stage.
#include "flow/control_commands.h"

#include "flow/command_stubs.h"

void FlowCmdFlowOperation(cChara&, cFlowCommandEntry&)
{
    NotBuiltCommandActs(COMMAND_FLOW_OPERATION, "flow operation command");
}

int ExecCmdStageClear(cChara&, cCommandData&)
{
    NotBuiltCommandActs(COMMAND_STAGE_CLEAR, "stage clear command");
    return 1;
}

void ExecCmdGameWait(cChara&, cCommandData&)
{
    NotBuiltCommandActs(COMMAND_GAME_WAIT, "game wait command");
}

void ExecCmdMessage(cChara&, cCommandData&, int)
{
    NotBuiltCommandActs(COMMAND_MESSAGE, "message command");
}

void ExecCmdWarp(cChara&, cCommandData&)
{
    NotBuiltCommandActs(COMMAND_WARP, "warp command");
}

void ExecCmdSetTarget(cChara&, cCommandData&)
{
    NotBuiltCommandActs(COMMAND_SET_TARGET, "target command");
}
