#pragma once
// The flow operation (kind 16) and the stage-clear, game-wait, message, warp and target
// commands (kinds 17 to 21; also item actions 2 to 6).
class cChara;
class cCommandData;
class cFlowCommandEntry;

void FlowCmdFlowOperation(cChara& chara, cFlowCommandEntry& entry);
// 1: the stage is to be cleared.
int ExecCmdStageClear(cChara& chara, cCommandData& command);
void ExecCmdGameWait(cChara& chara, cCommandData& command);
// `chain`: the running flow's message-chain flag (0 outside a flow).
void ExecCmdMessage(cChara& chara, cCommandData& command, int chain);
void ExecCmdWarp(cChara& chara, cCommandData& command);
void ExecCmdSetTarget(cChara& chara, cCommandData& command);
