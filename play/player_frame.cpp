// Player 1's part of a sub-step: its update and what a flow asked of the stage, the block
// effect and the ride, then the moves with the death tests in their fixed order. The first
// test that holds kills the player, and the log names it.
#include "data/command_info.h"
#include "objects/chara_movement.h"
#include "objects/hero.h"
#include "play/play_frame_steps.h"
#include "play/play_scene.h"
#include "play/stage_clear.h"
#include "shell/game_requests.h"
#include "shell/log.h"

namespace {


// The moves and the death tests: 2 when the player dies, with the test's label in the
// error-check log.
int MovePlayer(cPlayScene& scene, cHero& hero)
{
    auto dead = [](const char* label) {
        EcLog(label);
        return 2;
    };
    // A squeeze kills only once the grace of a block summoned onto the player has run out;
    // the player dies where it stood before the squeeze.
    auto squeezed = [&hero]() { return Squeezed(hero) && hero.m_nCrushGrace == 0; };
    auto squeezeDeath = [&](const char* label) {
        EcLogF("Player[P1].LRUD = %d,%d,%d,%d", hero.m_bContactLeft, hero.m_bContactRight, hero.m_bContactUp,
               hero.m_bContactDown);
        hero.RestorePosition();
        return dead(label);
    };
    auto crushedNow = [&hero](int result) { return result == 2 && !hero.m_bDead && hero.m_nCrushGrace == 0; };

    const STAGESPEED speed = CurrentStageSpeed();
    hero.MoveX();
    scene.ClampToScreenX(hero);
    // A wall that kills still lets the clamp, gravity and the vertical move run first.
    const bool killedX = scene.CollideX(hero) == 2;
    scene.ClampToScreenX(hero);
    hero.cChara::ApplyGravity(speed.dGravity);
    const int moveY = hero.MoveY();
    if (killedX) return dead("Dead 1");
    if (moveY == 7) return dead("Dead 2");
    if (scene.ClampToScreenY(hero) == 2) return dead("Dead 3");
    if (scene.CollideY(hero) == 2) return dead("Dead 4");
    if (scene.ClampToScreenY(hero) == 2) return dead("Dead 5");
    if (squeezed()) return squeezeDeath("Dead SP");
    if (crushedNow(scene.ProcessHits(hero, scene.m_Charas))) return dead("Dead 6");
    if ((hero.m_bContactLeft || hero.m_bContactRight) && crushedNow(scene.CollideXBoth(hero))) return dead("Dead 7");
    if ((hero.m_bContactUp || hero.m_bContactDown) && crushedNow(scene.CollideYBoth(hero))) return dead("Dead 8");
    if (squeezed()) return squeezeDeath("Dead 9");
    hero.DecayKnockbackX(speed);
    hero.DecayKnockbackY(speed);
    return 0;
}

}  // namespace

bool Squeezed(const cChara& chara)
{
    return (chara.m_bContactLeft && chara.m_bContactRight) || (chara.m_bContactUp && chara.m_bContactDown);
}

void ClearStage(cPlayScene& scene)
{
    BeginStageClear(scene);
    scene.m_nState = PLAYSTATE_CLEAR;
}

void KillPlayerOne(cPlayScene& scene, cHero& hero)
{
    PlaySe(8);
    if (hero.cChara::Defeat() == 1) ClearStage(scene);
}

bool TakeStageResult(cPlayScene& scene, cHero& hero, int result)
{
    if (result == 1) {
        ClearStage(scene);
        return true;
    }
    if (result == 2) {
        KillPlayerOne(scene, hero);
        return true;
    }
    return false;
}

bool UpdatePlayerOne(cPlayScene& scene, cHero& hero)
{
    hero.RaiseTrigger(TRIGGER_ALWAYS);
    if (hero.Update(0)) {
        KillPlayerOne(scene, hero);
        return true;
    }
    // What a flow asked for is taken before the player's block effect and moves.
    if (TakeStageResult(scene, hero, scene.m_nResult)) return true;
    if (scene.m_bStatusChanged && scene.CheckPlayerHp()) return true;
    if (TakeStageResult(scene, hero, scene.ApplyBlockEffect(hero))) return true;
    if (hero.m_bRiding) scene.FollowRiddenChara(hero, scene.m_Charas);
    if (MovePlayer(scene, hero) == 2) {
        KillPlayerOne(scene, hero);
        return true;
    }
    return false;
}
