// The shots of a sub-step, and the charas and items that left the stage's area. Leaving the
// area is no death: no trigger, no sound.
#include "data/role_accessors.h"
#include "data/stage_data.h"
#include "objects/item.h"
#include "objects/stage_chara.h"
#include "play/play_frame_steps.h"
#include "play/play_scene.h"
#include "shell/not_built_yet.h"

namespace {

constexpr int kRuleCharas = 0;
constexpr int kRuleBlockCharas = 1;
constexpr int kRuleItems = 2;

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

void MoveShots(cPlayScene&, int) { LogNotBuiltYet("shots"); }

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
