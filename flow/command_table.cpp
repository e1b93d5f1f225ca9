#include "flow/command_table.h"

#include "data/command_data.h"
#include "data/stage_data.h"
#include "flow/control_commands.h"
#include "flow/media_commands.h"
#include "flow/movement_commands.h"
#include "flow/running_flow.h"
#include "flow/shot_commands.h"
#include "flow/status_ops.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"

namespace {

// Kinds 0 and 1: the entry's time is all they do.
void FlowCmdNone(cChara&, cFlowCommandEntry&) {}

// Kinds 17 to 36 run command functions of (chara, command record), which item actions share.
template <void (*Function)(cChara&, cCommandData&)>
void RunCommandFunction(cChara& chara, cFlowCommandEntry& entry)
{
    Function(chara, *entry.m_lpCommand);
}

void FlowWrapStageClear(cChara& chara, cFlowCommandEntry& entry)
{
    const int result = ExecCmdStageClear(chara, *entry.m_lpCommand);
    if (cPlayScene* scene = Scene()) scene->m_nResult = result;
}

void FlowWrapMessage(cChara& chara, cFlowCommandEntry& entry)
{
    const cPlayScene* scene = Scene();
    const int chain = (scene && scene->m_lpCurFlow) ? scene->m_lpCurFlow->m_bMessageChain : 0;
    ExecCmdMessage(chara, *entry.m_lpCommand, chain);
}

void FlowWrapStatusOperation(cChara& chara, cFlowCommandEntry& entry)
{
    ExecCmdStatusOperation(chara, *entry.m_lpCommand);
}

void FlowWrapPlaySound(cChara& chara, cFlowCommandEntry& entry)
{
    ExecCmdPlaySound(*entry.m_lpCommand, chara);
}

void FlowWrapPlayBgm(cChara&, cFlowCommandEntry& entry)
{
    ExecCmdPlayBgm(*entry.m_lpCommand);
}

}  // namespace

const std::array<FlowCommandInitFunc, COMMAND_KINDS> FlowCommandInitTable = {
    nullptr,            // 0
    nullptr,            // 1
    InitMoveStraight,   // 2
    InitMoveTiming,     // 3
    InitMoveCircle,     // 4
    InitMoveCharge,     // 5
    InitMoveHoming,     // 6
    InitMoveTiming,     // 7: timed like the ground-turn move
    nullptr,            // 8
    nullptr,            // 9
    InitJump,           // 10
};

const std::array<FlowCommandFunc, COMMAND_KINDS> FlowCommandTable = {
    FlowCmdNone,
    FlowCmdNone,
    FlowCmdMoveStraight,
    FlowCmdMoveGroundTurn,
    FlowCmdMoveCircle,
    FlowCmdMoveCharge,
    FlowCmdMoveHoming,
    FlowCmdMoveAvoidOffscreen,
    FlowCmdDisableMove,
    FlowCmdTurn,
    FlowCmdJump,
    FlowCmdShot,
    FlowCmdSword,
    FlowCmdSummonBlock,
    FlowCmdSummonChara,
    FlowCmdSummonItem,
    FlowCmdFlowOperation,
    FlowWrapStageClear,
    RunCommandFunction<ExecCmdGameWait>,
    FlowWrapMessage,
    RunCommandFunction<ExecCmdWarp>,
    RunCommandFunction<ExecCmdSetTarget>,
    FlowWrapStatusOperation,
    RunCommandFunction<ExecCmdStatusOperation2>,
    RunCommandFunction<ExecCmdGetItem>,
    RunCommandFunction<ExecCmdChangeGraphic>,
    RunCommandFunction<ExecCmdChangeAnimeSet>,
    RunCommandFunction<ExecCmdRunAnime>,
    RunCommandFunction<ExecCmdRunEffect>,
    RunCommandFunction<ExecCmdRunCharaEffect>,
    RunCommandFunction<ExecCmdRunScreenEffect>,
    RunCommandFunction<ExecCmdShowPicture>,
    RunCommandFunction<ExecCmdChangeScreenColor>,
    RunCommandFunction<ExecCmdChangeBackground>,
    FlowWrapPlaySound,
    FlowWrapPlayBgm,
    RunCommandFunction<ExecCmdRunCode>,
};

FlowCommandFunc FlowCommandOf(int kind)
{
    if (kind < 0 || kind >= COMMAND_KINDS) return FlowCmdNone;
    return FlowCommandTable[static_cast<std::size_t>(kind)];
}

FlowCommandInitFunc FlowCommandInitOf(int kind)
{
    if (kind < 0 || kind >= COMMAND_KINDS) return nullptr;
    return FlowCommandInitTable[static_cast<std::size_t>(kind)];
}

void DispatchFlowCommand(cChara& chara, cFlowCommandEntry& entry)
{
    if (!entry.m_lpCommand) return;
    FlowCommandOf(entry.m_lpCommand->m_nKind)(chara, entry);
}

int StepsPerTenth()
{
    return g_StageData.m_nSubSteps6;
}

bool TenthSecondDue(const cFlowCommandEntry& entry)
{
    return entry.m_nStepCounter == 0;
}

void CountTenthSecondStep(cFlowCommandEntry& entry)
{
    entry.m_nStepCounter = WrapAdd(entry.m_nStepCounter, 1);
    if (entry.m_nStepCounter >= StepsPerTenth()) entry.m_nStepCounter = 0;
}
