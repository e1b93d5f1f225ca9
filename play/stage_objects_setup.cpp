#include "play/stage_objects_setup.h"

#include "data/role_accessors.h"
#include "objects/hero.h"
#include "play/block_grid.h"
#include "play/play_scene.h"

namespace {

constexpr int kTriggerBeforeStageStart = 18;

template <class T>
void AddValue(const std::function<void(const void*, std::size_t)>& add, T value)
{
    add(&value, sizeof value);
}

}  // namespace

void ClearStageObjects(cPlayScene& scene)
{
    // Through the one unlink, so that nothing keeps the address of a chara that goes.
    for (auto it = scene.m_Charas.begin(); it != scene.m_Charas.end();) it = scene.UnlinkChara(it);
    scene.m_Items.clear();
}

void RegisterCharaLayers(cPlayScene& scene)
{
    cHero& hero = Player.At(0);
    scene.m_CharaLayers.At(CharaLayer(hero.m_Def)).push_back(&hero);
    for (cStageChara& chara : scene.m_Charas) scene.m_CharaLayers.At(CharaLayer(chara.m_Def)).push_back(&chara);
}

void RaiseStartTriggers(cPlayScene& scene)
{
    Player.At(0).RaiseTrigger(kTriggerBeforeStageStart);
    // A chara that a start flow summons is appended to the list and visited in the same pass.
    for (auto it = scene.m_Charas.begin(); it != scene.m_Charas.end();) {
        cStageChara& chara = *it;
        chara.RaiseTrigger(kTriggerBeforeStageStart);
        if (chara.m_bRemoveRequest) {
            it = scene.UnlinkChara(it);
        } else if (chara.m_nHp <= 0) {
            scene.OnCharaDefeated(chara);
            it = scene.UnlinkChara(it);
        } else {
            ++it;
        }
    }
}

void cStageObjects::UpdateActivation()
{
    cPlayScene& scene = SceneOf(this);
    // Player 1 is always present.
    if (m_lpPlayerOne) {
        m_lpPlayerOne->m_bActive = 1;
        m_lpPlayerOne->m_bOnScreen = 1;
        m_lpPlayerOne->m_nActivationPass = 1;
    }
    UpdateCharaActivation();
    for (cItem& item : m_Items) {
        if (scene.CheckItemConditions(item)) {
            item.m_bActive = 1;
            item.m_bOnScreen = item.IsOnScreen();
        } else {
            item.m_bActive = 0;
            item.m_bOnScreen = 0;
        }
    }
    // Shots and swords carry no conditions.
    for (cShot& shot : scene.m_ShotLists.m_Shots) {
        shot.m_bActive = 1;
        shot.m_bOnScreen = shot.IsOnScreen();
    }
}

STAGECOUNTS CountStageObjects(const cPlayScene& scene)
{
    return STAGECOUNTS{static_cast<int>(scene.m_Charas.size()), static_cast<int>(scene.m_Items.size())};
}

void HashStageObjects(const cPlayScene& scene, const std::function<void(const void*, std::size_t)>& add)
{
    for (const cStageChara& chara : scene.m_Charas) {
        AddValue(add, chara.m_nSerial);
        AddValue(add, chara.m_dX);
        AddValue(add, chara.m_dY);
        AddValue(add, chara.m_dVX);
        AddValue(add, chara.m_dVY);
        AddValue(add, chara.m_nHp);
        AddValue(add, chara.m_nSp);
        AddValue(add, chara.m_bDead);
        AddValue(add, chara.m_nDirection);
        AddValue(add, chara.m_bActive);
        AddValue(add, chara.m_bAwake);
    }
    for (const cItem& item : scene.m_Items) {
        AddValue(add, item.m_nSerial);
        AddValue(add, item.m_dX);
        AddValue(add, item.m_dY);
        AddValue(add, item.m_bActive);
    }
    for (const cBlockCell& cell : g_BlockGrid.m_Cells) {
        AddValue(add, cell.m_nImageNumber);
        AddValue(add, cell.m_nHitMode);
        AddValue(add, cell.m_byOwn);
    }
}
