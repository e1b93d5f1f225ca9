#pragma once
// The movement commands (kinds 2 to 10) and the initialisers that prepare their entries when a
// chara's flows are built.
class cChara;
class cFlowCommandEntry;

// A direction choice made absolute by the chara's facing: 2 left, 3 right, 6 up, 7 down, 8 to
// 11 the diagonals (12 follows the key that started the running flow).
int ResolveMoveDirection(const cChara& chara, int choice);

void InitMoveStraight(cFlowCommandEntry& entry, cChara& chara, int direction);
void InitMoveTiming(cFlowCommandEntry& entry, cChara& chara, int direction);
void InitMoveCircle(cFlowCommandEntry& entry, cChara& chara, int direction);
void InitMoveCharge(cFlowCommandEntry& entry, cChara& chara, int direction);
void InitMoveHoming(cFlowCommandEntry& entry, cChara& chara, int direction);
void InitJump(cFlowCommandEntry& entry, cChara& chara, int direction);

void FlowCmdMoveStraight(cChara& chara, cFlowCommandEntry& entry);
void FlowCmdMoveGroundTurn(cChara& chara, cFlowCommandEntry& entry);
void FlowCmdMoveCircle(cChara& chara, cFlowCommandEntry& entry);
void FlowCmdMoveCharge(cChara& chara, cFlowCommandEntry& entry);
void FlowCmdMoveHoming(cChara& chara, cFlowCommandEntry& entry);
void FlowCmdMoveAvoidOffscreen(cChara& chara, cFlowCommandEntry& entry);
void FlowCmdDisableMove(cChara& chara, cFlowCommandEntry& entry);
void FlowCmdTurn(cChara& chara, cFlowCommandEntry& entry);
void FlowCmdJump(cChara& chara, cFlowCommandEntry& entry);
