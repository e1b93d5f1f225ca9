// Appearance conditions: whether a block, a chara or an item of the running stage is present.
#include <cstdint>

#include "data/block_data.h"
#include "data/condition_data.h"
#include "objects/item.h"
#include "play/block_grid.h"
#include "play/draw_sandbox.h"
#include "play/play_scene.h"

namespace {

// The steps every carrier shares. The latch is set by every test that holds but only counts
// with check-once; a draw outside the play frame tests without setting it. latch may be null
// (a block outside the grid keeps none).
int CheckAppearance(cPlayScene& scene, cSafeVector<cConditionData>& conditions, int mode, int checkOnce,
                    std::uint8_t* latch, cChara* subject)
{
    if (conditions.empty()) return 1;
    if (checkOnce != 0 && latch && *latch != 0) return 1;
    // Without a subject nothing can be tested, so the conditions do not hold.
    if (!subject || !scene.CheckConditionList(conditions, mode, *subject)) return 0;
    if (latch && !InDrawSandbox()) *latch = 1;
    return 1;
}

}  // namespace

bool cStageConditions::BlockConditionTest(cBlockData& block)
{
    cPlayScene* scene = g_lpPlayScene.load(std::memory_order_relaxed);
    return !scene || scene->CheckBlockConditions(block) != 0;
}

int cStageConditions::CheckBlockConditions(cBlockData& block)
{
    cPlayScene& scene = SceneOf(this);
    // Most blocks carry no conditions, and every drawn or probed block asks.
    if (block.m_Conditions.empty()) return 1;
    // Only a cell of the grid keeps a latch: a template elsewhere is tested every time.
    auto* cell = dynamic_cast<cBlockCell*>(&block);
    return CheckAppearance(scene, block.m_Conditions, block.m_nConditionMode, block.m_bCheckOnce,
                           cell ? &cell->m_byOwn : nullptr, scene.m_lpPlayerOne);
}

int cStageConditions::CheckCharaConditions(cStageChara& chara)
{
    cPlayScene& scene = SceneOf(this);
    return CheckAppearance(scene, chara.m_Def.m_Conditions, chara.m_Def.m_nConditionMode, chara.m_Def.m_bCheckOnce,
                           &chara.m_byAppeared, &chara);
}

int cStageConditions::CheckItemConditions(cItem& item)
{
    cPlayScene& scene = SceneOf(this);
    return CheckAppearance(scene, item.m_Def.m_Conditions, item.m_Def.m_nConditionMode, item.m_Def.m_bCheckOnce,
                           &item.m_byAppeared, scene.m_lpPlayerOne);
}
