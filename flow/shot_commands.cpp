// The shot, sword and summon commands are not built yet: each says so once, but keeps its
// timing. Shots and summons act at the first step of their entry and every tenth of a second
// after; the sword acts once per run of its entry, its counter never returning to 0.
#include "flow/shot_commands.h"

#include "flow/command_stubs.h"
#include "flow/command_table.h"
#include "flow/running_flow.h"
#include "shell/game_arithmetic.h"

namespace {

void OncePerTenth(cFlowCommandEntry& entry, int kind, const char* what)
{
    if (TenthSecondDue(entry)) NotBuiltCommandActs(kind, what);
    CountTenthSecondStep(entry);
}

}  // namespace

void FlowCmdShot(cChara&, cFlowCommandEntry& entry)
{
    OncePerTenth(entry, COMMAND_SHOT, "shot command");
}

void FlowCmdSword(cChara&, cFlowCommandEntry& entry)
{
    if (entry.m_nStepCounter == 0) NotBuiltCommandActs(COMMAND_SWORD, "sword command");
    entry.m_nStepCounter = WrapAdd(entry.m_nStepCounter, 1);
}

void FlowCmdSummonBlock(cChara&, cFlowCommandEntry& entry)
{
    OncePerTenth(entry, COMMAND_BLOCK_SUMMON, "block summon command");
}

void FlowCmdSummonChara(cChara&, cFlowCommandEntry& entry)
{
    OncePerTenth(entry, COMMAND_CHARA_SUMMON, "chara summon command");
}

void FlowCmdSummonItem(cChara&, cFlowCommandEntry& entry)
{
    OncePerTenth(entry, COMMAND_ITEM_SUMMON, "item summon command");
}
