#include <cstddef>

#include "data/command_info.h"
#include "tools/demo-game/demo_database.h"
#include "tools/demo-game/demo_templates.h"

namespace {

// Key histories of a key condition: the direction alone, then the buttons after the no-button one.
constexpr int kLeftOnly = 1;
constexpr int kRightOnly = 2;
constexpr int kFirstButton = 11;
// Absolute directions of a straight move.
constexpr int kMoveLeft = 2;
constexpr int kMoveRight = 3;

cKeyConditionData HeldKey(int key)
{
    cKeyConditionData condition;
    condition.m_Keys[static_cast<std::size_t>(key)] = 1;
    condition.m_bAnyDuration = 1;
    return condition;
}

// The key held walks that way; the key repeats the flow for as long as it is held.
cFlowData Walk(int key, int direction)
{
    cFlowData walk;
    walk.m_nTrigger = TRIGGER_ALWAYS;
    walk.m_bKeyRepeat = 1;
    cCommandData step = DemoCommand(COMMAND_STRAIGHT_MOVE, 1);
    cEdMove::Create(step.m_pMove);
    step.m_pMove->m_nDirection = static_cast<BYTE>(direction);
    step.m_pMove->m_nSpeed = 30;
    walk.m_Commands.push_back(step);
    walk.m_KeyConditions.push_back(HeldKey(key));
    return walk;
}

}  // namespace

cCharaData DemoHero()
{
    cCharaData hero;
    hero.m_strName = "主人公";
    hero.m_nImageNumber = 1;
    hero.m_nOperator = 0;
    hero.m_nMaxHp = 5;
    hero.m_nBodyAttack = 1;
    hero.m_nFacing = 1;
    // A move turns the hero the way it walks.
    hero.m_bFixedFacing = 0;

    hero.m_Flows.push_back(Walk(kRightOnly, kMoveRight));
    hero.m_Flows.push_back(Walk(kLeftOnly, kMoveLeft));

    cFlowData jump;
    jump.m_nTrigger = TRIGGER_ALWAYS;
    cCommandData command = DemoCommand(COMMAND_JUMP, 0);
    command.m_nSound = DEMO_SOUND_JUMP;
    command.m_Params.resize(3);
    command.m_Params[2] = 7;  // the height in half blocks: up onto a ledge
    jump.m_Commands.push_back(command);
    jump.m_KeyConditions.push_back(HeldKey(kFirstButton));
    hero.m_Flows.push_back(jump);
    return hero;
}
