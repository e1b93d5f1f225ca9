// Shots and swords in the demo: the hero swings a sword on the second button and fires a
// spread of three shots ahead on the third. The sword type's pictures come with the stage's own
// pictures; without them the sword is invisible but swings and hits all the same.
#include <cstddef>

#include "data/command_info.h"
#include "tools/demo-game/demo_content.h"
#include "tools/demo-game/demo_database.h"
#include "tools/demo-game/demo_templates.h"

namespace {

// Key histories of the second and third button alone.
constexpr int kSecondButton = 12;
constexpr int kThirdButton = 13;
constexpr int kDemoSwordType = 1;

cSwordTypeData DemoSwordType()
{
    cSwordTypeData type;
    type.SetDefaults();
    type.m_strName = "剣";
    type.m_Frames.resize(2);
    for (std::size_t i = 0; i < 2; ++i) {
        cSwordFrameData& frame = type.m_Frames[i];
        frame.m_nPlacement = 0;     // in front of the hero
        frame.m_nWidth = (i == 0) ? 20 : 28;
        frame.m_nHeight = 10;
        frame.m_nSrcX = (i == 0) ? 0 : 20;
        frame.m_nDuration = 1;
    }
    return type;
}

cFlowData OnButton(int button, const cCommandData& command)
{
    cFlowData flow;
    flow.m_nTrigger = TRIGGER_ALWAYS;
    flow.m_Commands.push_back(command);
    cKeyConditionData key;
    key.m_Keys[static_cast<std::size_t>(button)] = 1;
    key.m_bAnyDuration = 1;
    flow.m_KeyConditions.push_back(key);
    return flow;
}

cCommandData SwordSwing()
{
    cCommandData sword = DemoCommand(COMMAND_SWORD, 3);
    cEdShot::Create(sword.m_pShot);
    sword.m_pShot->m_nTrajectory = kDemoSwordType;
    sword.m_pShot->m_nPower = 1;
    return sword;
}

// Three shots spread 45 degrees apart ahead of the hero, each flying 16 hbl.
cCommandData SpreadVolley()
{
    cCommandData volley = DemoCommand(COMMAND_SHOT, 0);
    cEdShot::Create(volley.m_pShot);
    cEdShot& shot = *volley.m_pShot;
    shot.m_nFormation = 2;        // "拡散"
    shot.m_nFormationCount = 3;
    shot.m_nFormationParams[0] = 45;
    shot.m_nDirection = 0;        // "前"
    shot.m_nSpeed = 40;
    shot.m_nGraphic = 1;
    shot.m_nPower = 1;
    shot.m_bRangeLimit = 1;
    shot.m_nRange = 16;
    return volley;
}

}  // namespace

void AddShotFeatures(DEMOGAME& game)
{
    game.database.m_SwordTypes.resize(kDemoSwordType);
    game.database.m_SwordTypes.push_back(DemoSwordType());
    // Every stage's hero template and its placed copy, which inherits from it.
    for (DEMOSTAGE& demo : game.stages) {
        for (cSafeVector<cCharaData>* list : {&demo.stage.m_PaletteCharas, &demo.stage.m_Charas}) {
            for (cCharaData& chara : *list) {
                if (chara.m_nOperator != 0 || chara.m_nImageNumber == 0) continue;
                chara.m_Flows.push_back(OnButton(kSecondButton, SwordSwing()));
                chara.m_Flows.push_back(OnButton(kThirdButton, SpreadVolley()));
            }
        }
    }
}
