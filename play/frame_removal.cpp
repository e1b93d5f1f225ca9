// The shots of a sub-step, and the charas and items that left the stage's area. Leaving the
// area is no death: no trigger, no sound.
#include <iterator>

#include "data/role_accessors.h"
#include "data/stage_data.h"
#include "objects/chara_movement.h"
#include "objects/item.h"
#include "objects/shot.h"
#include "objects/stage_chara.h"
#include "play/play_frame_steps.h"
#include "play/play_scene.h"

namespace {

constexpr int kRuleCharas = 0;
constexpr int kRuleBlockCharas = 1;
constexpr int kRuleItems = 2;
constexpr int kRuleHeroShots = 3;
constexpr int kRuleOtherShots = 4;

// A shot, not a sword, outside the rule of its side.
bool ShotLeftTheArea(const cShot& shot)
{
    if (!shot.IsShot()) return false;
    return shot.IsOutOfArea(g_StageData.m_OutOfRange[(shot.m_nKind == 0) ? kRuleHeroShots : kRuleOtherShots]) != 0;
}

// One pass over the living, active charas of one kind (block-like or not) against one rule.
void RemoveOutOfAreaCharas(cPlayScene& scene, bool blockLike, int rule)
{
    const cOutOfRangeData& area = g_StageData.m_OutOfRange[rule];
    for (auto it = scene.m_Charas.begin(); it != scene.m_Charas.end();) {
        const cStageChara& chara = *it;
        if ((CharaIsBlock(chara.m_Def) != 0) == blockLike && !chara.m_bDead && chara.m_bActive &&
            chara.IsOutOfArea(area)) {
            it = scene.UnlinkChara(it);
        } else {
            ++it;
        }
    }
}

}  // namespace

void MoveShots(cPlayScene& scene, int subStep)
{
    const double gravity = CurrentStageSpeed().dGravity;
    for (auto it = scene.m_ShotLists.m_Shots.begin(); it != scene.m_ShotLists.m_Shots.end();) {
        cShot& shot = *it;
        bool gone = shot.Update() != 0;
        if (!gone) {
            shot.cGameObject::ApplyGravity(gravity);
            shot.MoveY();
            shot.MoveX();
            // The area is tested once a frame; a block stops a shot in any sub-step.
            gone = (subStep == 1 && ShotLeftTheArea(shot)) || shot.HitsBlock() != 0;
        }
        // Taken after the update, so that shots it fires are visited in this pass too.
        const auto next = std::next(it);
        if (gone) scene.m_ShotLists.Remove(shot);
        it = next;
    }
}

void RemoveOutOfAreaObjects(cPlayScene& scene)
{
    if (scene.m_bOutRuleChara) RemoveOutOfAreaCharas(scene, false, kRuleCharas);
    if (scene.m_bOutRuleCharaBlock) RemoveOutOfAreaCharas(scene, true, kRuleBlockCharas);
    if (scene.m_bOutRuleItem) {
        const cOutOfRangeData& area = g_StageData.m_OutOfRange[kRuleItems];
        for (auto it = scene.m_Items.begin(); it != scene.m_Items.end();) {
            if (it->IsOutOfArea(area)) it = scene.m_Items.erase(it);
            else ++it;
        }
    }
}
