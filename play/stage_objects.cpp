// The stage's charas as a population: removal, activation and the solid tests that summons ask.
#include <algorithm>

#include "data/role_accessors.h"
#include "objects/hero.h"
#include "play/block_grid.h"
#include "play/play_scene.h"

cCharaList::iterator cStageObjects::UnlinkChara(cCharaList::iterator position)
{
    cPlayScene& scene = SceneOf(this);
    cStageChara& chara = *position;
    // The objects following it lose their target.
    for (cGameObject* follower : chara.m_Followers) {
        auto* other = dynamic_cast<cChara*>(follower);
        if (other && other != &chara && other->m_lpTarget == &chara) {
            other->m_lpTarget = nullptr;
        }
    }
    // It leaves every list that names it: its target's, the other charas' and the layers.
    if (chara.m_lpTarget) chara.m_lpTarget->m_Followers.RemoveValue(&chara);
    for (cStageChara& other : m_Charas) {
        if (&other != &chara) other.m_Followers.RemoveValue(&chara);
    }
    if (m_lpPlayerOne) m_lpPlayerOne->m_Followers.RemoveValue(&chara);
    for (cHero& player : Player) player.m_Followers.RemoveValue(&chara);
    for (cSafeList<cChara*>& layer : m_CharaLayers) layer.remove(&chara);
    // Shots hold their target by address: a homing shot must not read a chara that is gone.
    for (cShot& shot : scene.m_ShotLists.m_Shots) {
        if (shot.m_lpTarget == &chara) shot.m_lpTarget = nullptr;
    }
    // Already-hit lists and immunities hold serials, never handed out twice: nothing to drop.
    // The destructor drops the rest: its target's list, the charas aiming at it, and the
    // scene's current chara, flow and entry.
    return m_Charas.erase(position);
}

void cStageObjects::UpdateCharaActivation()
{
    cPlayScene& scene = SceneOf(this);
    m_ActivityTable.assign(60, 0);
    for (cStageChara& chara : m_Charas) {
        if (scene.CheckCharaConditions(chara)) {
            chara.m_bActive = 1;
            chara.m_bOnScreen = chara.IsOnScreen();
            chara.CheckActive(m_ActivityTable);
        } else {
            chara.m_bActive = 0;
            chara.m_bOnScreen = 0;
        }
    }
    // Only now that every chara in view has set its switch: one in view wakes all that share it.
    for (cStageChara& chara : m_Charas) {
        chara.m_bAwake = (chara.m_bActive != 0 && chara.TryActivate(m_ActivityTable) != 0) ? 1 : 0;
    }
}


int cStageObjects::IsInSolid(cChara& chara)
{
    if (SkipsBlocks(chara)) return 0;
    // All four corners are asked, then the chosen cell once more: every ask may test the
    // block's conditions and draw random numbers, so none is skipped.
    const INTRECT& span = chara.m_BlockSpan;
    const int cell = SceneOf(this).FindBlockAtCorners(span.left, span.top, span.right, span.bottom, chara.m_nPassLayer);
    if (g_BlockGrid.HitModeAt(cell, chara.m_nPassLayer) != 0) return 1;
    return OverlapsBlockChara(chara);
}

int cStageObjects::OverlapsBlockChara(const cChara& chara)
{
    if (SkipsBlocks(chara)) return 0;
    for (const cStageChara& other : m_Charas) {
        if (CharaIsBlock(other.m_Def) == 0 || other.m_bDead != 0 || other.m_bActive == 0) continue;
        if (other.m_nSerial == chara.m_nSerial) continue;
        if (other.m_dX <= chara.m_dRight && chara.m_dX <= other.m_dRight && other.m_dY <= chara.m_dBottom &&
            chara.m_dY <= other.m_dBottom)
            return 1;
    }
    return 0;
}

int cStageObjects::MarkCharasInBlock(int cell, int column, int row, const cEdShot& command)
{
    const double left = column * 32.0;
    const double right = column * 32.0 + 32 - 0.1;
    const double top = row * 32.0;
    const double bottom = row * 32.0 + 32 - 0.1;
    cBlockCell& block = g_BlockGrid.At(cell);
    auto caught = [&](cChara& chara) {
        return block.GetHitMode(chara.m_nPassLayer) != 0 && chara.m_dX <= right && chara.m_dRight >= left &&
               chara.m_dY <= bottom && chara.m_dBottom >= top;
    };
    if (m_lpPlayerOne && m_lpPlayerOne->m_bDead == 0 && caught(*m_lpPlayerOne)) {
        m_lpPlayerOne->m_nCrushGrace = 2;
        if (SummonCancelOverPlayers(command)) return 1;
    }
    for (cStageChara& chara : m_Charas) {
        if (chara.m_bDead != 0 || chara.m_bActive == 0 || !caught(chara)) continue;
        chara.m_nCrushGrace = 2;
        if (SummonCancelOverCharas(command)) return 1;
    }
    return 0;
}
