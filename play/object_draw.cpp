// Player 1 and the stage charas in the stage draw. A death display that ends here moves the
// stage on: a chara is removed, and player 1's end leads to a retry, a continue or a game over.
#include "data/role_accessors.h"
#include "data/save_data.h"
#include "data/stage_data.h"
#include "data/system_data.h"
#include "graphics/device.h"
#include "objects/hero.h"
#include "play/game_manager.h"
#include "play/play_scene.h"

namespace {

// What player 1's death leads to once its display has ended.
void RunDeathSequence(cPlayScene& scene)
{
    const bool testPlay = g_bTestPlay.load() != 0;
    if (g_GameManager.m_nGameMode == GAMEMODE_REPLAY) {
        g_SaveData.RestoreStageStart(1, g_GameManager.m_nPlayMode, testPlay);
        scene.SetStage(1, 1);
        scene.m_nState = PLAYSTATE_READY;
        return;
    }
    if (!scene.UseLife()) {
        scene.m_nState = PLAYSTATE_GAMEOVER;
        return;
    }
    // A stage that takes carried statuses over loses those the system drops on a death; the
    // carry switch is about storing them after a clear.
    if (g_StageData.m_bTakeOverStatus) g_SaveData.ClearCarryFlags();
    g_SaveData.RestoreStageStart(0, g_GameManager.m_nPlayMode, testPlay);
    if (g_GameManager.m_nPlayMode == PLAYMODE_STORY && g_SystemData.m_bStoryContinue) {
        scene.m_nSubState = 0;
        scene.m_nState = PLAYSTATE_CONTINUE;
        return;
    }
    scene.SetStage(1, 0);
    scene.m_nState = PLAYSTATE_READY;
}

}  // namespace

void cStageDraw::DrawPlayer(int paused)
{
    cPlayScene& scene = SceneOf(this);
    if (Player.empty()) return;
    cHero& hero = Player.At(0);
    hero.UpdateScreenRect();
    if (hero.m_bDead) {
        if (hero.DrawDefeated(&g_BackBuffer, paused)) RunDeathSequence(scene);
        return;
    }
    hero.Draw(&g_BackBuffer, paused);
    hero.DrawHpGauge(&g_BackBuffer);
    hero.DrawSpGauge(&g_BackBuffer);
}

int cStageDraw::DrawChara(cStageChara& chara, int paused)
{
    if (chara.m_bDead) {
        chara.UpdateScreenRect();
        return chara.DrawDefeated(&g_BackBuffer, paused) ? 1 : 0;
    }
    if (!chara.m_bOnScreen) {
        if (chara.m_bAwake) {
            chara.UpdateScreenRect();
            chara.CurrentFrame(paused);
            chara.RunHiddenEffect(paused);
        }
        return 0;
    }
    if (chara.m_bHidden) {
        chara.CurrentFrame(paused);
        chara.RunHiddenEffect(paused);
        chara.DrawHpGauge(&g_BackBuffer);
        chara.DrawSpGauge(&g_BackBuffer);
        return 0;
    }
    chara.Draw(&g_BackBuffer, paused);
    chara.DrawHpGauge(&g_BackBuffer);
    chara.DrawSpGauge(&g_BackBuffer);
    chara.DrawMarkIcon(&g_BackBuffer);
    return 0;
}
