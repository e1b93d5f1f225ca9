#include "data/command_info.h"
#include "data/role_accessors.h"
#include "tools/demo-game/demo_database.h"
#include "tools/demo-game/demo_templates.h"

namespace {

// The turn command's facings (with fixed facing on; it does nothing without).
constexpr int kFaceLeft = 0;
constexpr int kFaceRight = 1;

cCommandData TurnTo(int facing)
{
    cCommandData turn = DemoCommand(COMMAND_TURN, 0);
    turn.m_Params.resize(1);
    turn.m_Params[0] = facing;
    return turn;
}

cCommandData WalkForward(int tenths)
{
    cCommandData move = DemoCommand(COMMAND_STRAIGHT_MOVE, tenths);
    cEdMove::Create(move.m_pMove);
    move.m_pMove->m_nDirection = 0;  // forward
    move.m_pMove->m_nSpeed = 10;
    return move;
}

}  // namespace

cCharaData DemoWalker(int sheet)
{
    cCharaData chara;
    chara.m_strName = "ウォーカー";
    // Row 1 of its sheet, as the hero takes row 1 of the first: a chara's image number counts
    // 15 rows a sheet.
    chara.m_nImageNumber = static_cast<std::int16_t>((sheet - 1) * 15 + 1);
    chara.m_nOperator = 1;
    // Charas touch only across hit layers: the hero keeps the default layer 1.
    SetCharaLayer(chara, kDemoEnemyLayer);
    // Two touches of the hero defeat it, so the first one leaves it to cry.
    chara.m_nMaxHp = 2;
    chara.m_nBodyAttack = 1;
    chara.m_nScore = 100;
    // A placed chara carries the placed item of this index (-1 none) and gives it at its
    // defeat: 0 would take the stage's first coin away from where it lies.
    chara.m_nHeldItem = -1;
    chara.m_bFixedFacing = 1;

    // Placed facing left: there and back again, two seconds each way.
    cFlowData walk;
    walk.m_nTrigger = TRIGGER_ALWAYS;
    walk.m_Commands.push_back(WalkForward(20));
    walk.m_Commands.push_back(TurnTo(kFaceRight));
    walk.m_Commands.push_back(WalkForward(20));
    walk.m_Commands.push_back(TurnTo(kFaceLeft));
    chara.m_Flows.push_back(walk);

    // The sound command plays the database sound of its first parameter.
    cFlowData cry;
    cry.m_nTrigger = TRIGGER_DAMAGED;
    cCommandData sound = DemoCommand(COMMAND_SOUND, 0);
    sound.m_Params.resize(1);
    sound.m_Params[0] = DEMO_SOUND_HIT;
    cry.m_Commands.push_back(sound);
    chara.m_Flows.push_back(cry);
    return chara;
}
