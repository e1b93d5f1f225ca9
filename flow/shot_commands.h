#pragma once
// The shot, sword and summon commands (kinds 11 to 15).
class cChara;
class cFlowCommandEntry;

void FlowCmdShot(cChara& chara, cFlowCommandEntry& entry);
void FlowCmdSword(cChara& chara, cFlowCommandEntry& entry);
void FlowCmdSummonBlock(cChara& chara, cFlowCommandEntry& entry);
void FlowCmdSummonChara(cChara& chara, cFlowCommandEntry& entry);
void FlowCmdSummonItem(cChara& chara, cFlowCommandEntry& entry);
