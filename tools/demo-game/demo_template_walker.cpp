#include "data/command_info.h"
#include "tools/demo-game/demo_database.h"
#include "tools/demo-game/demo_templates.h"

cCharaData DemoWalker(int sheet)
{
    cCharaData chara;
    chara.m_strName = "ウォーカー";
    chara.m_nImageNumber = static_cast<std::int16_t>(sheet);
    chara.m_nOperator = 1;
    chara.m_nMaxHp = 2;
    chara.m_nBodyAttack = 1;
    chara.m_nScore = 100;

    cFlowData walk;
    walk.m_nTrigger = TRIGGER_ALWAYS;
    cCommandData move = DemoCommand(COMMAND_STRAIGHT_MOVE, 20);
    cEdMove::Create(move.m_pMove);
    move.m_pMove->m_nDirection = 0;  // forward
    move.m_pMove->m_nSpeed = 10;
    walk.m_Commands.push_back(move);
    walk.m_Commands.push_back(DemoCommand(COMMAND_TURN, 0));
    chara.m_Flows.push_back(walk);

    cFlowData cry;
    cry.m_nTrigger = TRIGGER_DAMAGED;
    cCommandData sound = DemoCommand(COMMAND_SOUND, 0);
    sound.m_nSound = DEMO_SOUND_HIT;
    cry.m_Commands.push_back(sound);
    chara.m_Flows.push_back(cry);
    return chara;
}
