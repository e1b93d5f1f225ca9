// What a defeat means for the stage: a clear, the player's death or nothing more, and the HP
// sweep that follows a change of another chara's status.
#include "data/role_accessors.h"
#include "objects/hero.h"
#include "play/play_scene.h"
#include "play/stage_clear.h"
#include "shell/game_requests.h"

namespace {


void StartClear(cPlayScene& scene)
{
    BeginStageClear(scene);
    scene.m_nState = PLAYSTATE_CLEAR;
}

}  // namespace

int cContacts::ResolveDefeat(cChara& chara)
{
    // The hero's defeat is the player's death, which the caller carries out.
    if (chara.m_nKind == 0) return 2;
    if (chara.m_bDead == 1) return 0;
    return chara.Defeat();
}

int cContacts::OnCharaDefeated(cChara& chara)
{
    cPlayScene& scene = SceneOf(this);
    ++m_nDefeatsReported;
    const int result = ResolveDefeat(chara);
    if (result == 1) {
        StartClear(scene);
        return 1;
    }
    if (result == 2) {
        PlaySe(kSoundPlayerDeath);
        if (Player.At(0).Defeat() == 1) StartClear(scene);
        return 2;
    }
    return result;
}

int cContacts::CheckPlayerHp()
{
    cPlayScene& scene = SceneOf(this);
    cHero& player = Player.At(0);
    if (player.m_nHp <= 0) {
        // A player already dying is not defeated again: its sound, triggers and score once.
        if (player.m_bDead != 0) return 1;
        PlaySe(kSoundPlayerDeath);
        if (player.Defeat() == 1) StartClear(scene);
        return 1;
    }
    for (auto it = scene.m_Charas.begin(); it != scene.m_Charas.end();) {
        cStageChara& chara = *it;
        if (chara.m_bRemoveRequest != 0) {
            it = scene.UnlinkChara(it);
            continue;
        }
        if (chara.m_nHp > 0) {
            ++it;
            continue;
        }
        if (chara.m_bDead != 0) {
            // Its death is already on show (or it goes now): no second defeat, no second sound.
            if (DefeatDisplaySwitch() == 0) it = scene.UnlinkChara(it);
            else ++it;
            continue;
        }
        const int result = OnCharaDefeated(chara);
        if (DefeatDisplaySwitch() == 0) {
            it = scene.UnlinkChara(it);
        } else if (result == 1) {
            scene.UnlinkChara(it);
            return 1;
        } else {
            PlaySe(kSoundCharaDeath);
            ++it;
        }
        if (result != 0) return 1;
    }
    return 0;
}
