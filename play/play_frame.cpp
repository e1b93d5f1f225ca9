// One frame of play: quit, pause and replay keys, the input, the timers, then the sub-steps in
// their fixed order, and the draw. A step that ends the frame returns at once: the remaining
// sub-steps are skipped and nothing is drawn, so the screen keeps the previous frame.
#include <algorithm>

#include "data/command_info.h"
#include "data/replay_data.h"
#include "data/role_accessors.h"
#include "data/save_data.h"
#include "data/stage_data.h"
#include "data/system_data.h"
#include "objects/chara_movement.h"
#include "objects/hero.h"
#include "platform/os/messages.h"
#include "play/game_manager.h"
#include "play/play_frame_steps.h"
#include "play/play_scene.h"
#include "play/replay_state.h"
#include "shell/game_requests.h"
#include "shell/input.h"
#include "shell/shared_flags.h"

namespace {

constexpr int kUnlimitedLife = 2147483647;

// A chara's fate after its moves in a sub-step.
enum class eFate { Stays, Killed, Erased };

bool IsBlockLike(const cChara& chara) { return CharaIsBlock(chara.m_Def) != 0; }

// Whether the per-chara steps visit a chara in the pass over block-like charas or the other.
bool TakesPart(const cStageChara& chara, bool blockLike)
{
    return IsBlockLike(chara) == blockLike && !chara.m_bDead && chara.m_bActive && chara.m_bAwake;
}

// A chara whose update reported its end: its defeat, then it leaves, or stays to show its
// death (the draw removes it) when the defeat-display switch is on. Moves the iterator on;
// true when the frame must end.
bool EndChara(cPlayScene& scene, cCharaList::iterator& it)
{
    const int r = scene.OnCharaDefeated(*it);
    if (DefeatDisplaySwitch() == 0) {
        it = scene.UnlinkChara(it);
    } else if (r == 1) {
        it = scene.UnlinkChara(it);
        return true;
    } else {
        PlaySe(9);
        ++it;
    }
    return r != 0;
}

// The moves with block collision: a fall out of the stage or a deadly block kills, an edge of
// the stage erases.
eFate MoveChara(cPlayScene& scene, cStageChara& chara)
{
    eFate fate = eFate::Stays;
    if (chara.MoveX() == 4) fate = eFate::Erased;
    if (scene.CollideX(chara) == 2) fate = eFate::Killed;
    chara.cChara::ApplyGravity(CurrentStageSpeed().dGravity);
    const int y = chara.MoveY();
    if (y == 7) fate = eFate::Killed;
    else if (y == 8 && fate == eFate::Stays) fate = eFate::Erased;
    if (scene.CollideY(chara) == 2) fate = eFate::Killed;
    return fate;
}

// What follows a chara's moves. A killed chara stays for its death display unless its defeat
// clears the stage. Moves the iterator on; true when the frame must end.
bool SettleChara(cPlayScene& scene, cCharaList::iterator& it, eFate fate)
{
    cStageChara& chara = *it;
    if (fate == eFate::Killed) {
        PlaySe(9);
        const int r = scene.OnCharaDefeated(chara);
        if (r == 1) {
            it = scene.UnlinkChara(it);
            return true;
        }
        if (r != 0) return true;
    } else if (fate == eFate::Erased) {
        it = scene.UnlinkChara(it);
        return false;
    } else {
        const STAGESPEED speed = CurrentStageSpeed();
        chara.DecayKnockbackX(speed);
        chara.DecayKnockbackY(speed);
    }
    ++it;
    return false;
}

// The block-like charas, before the player: they move first so that the player collides with
// where they are now. True when the frame must end.
bool UpdateBlockCharas(cPlayScene& scene)
{
    // The list is walked live: charas summoned during the pass are visited in it.
    for (auto it = scene.m_Charas.begin(); it != scene.m_Charas.end();) {
        cStageChara& chara = *it;
        if (!TakesPart(chara, true)) {
            ++it;
            continue;
        }
        chara.RaiseTrigger(TRIGGER_ALWAYS);
        if (chara.Update(0)) {
            if (EndChara(scene, it)) return true;
            continue;
        }
        if (scene.m_bStatusChanged && scene.CheckPlayerHp()) return true;
        if (SettleChara(scene, it, MoveChara(scene, chara))) return true;
    }
    return false;
}

// The other charas, after the player. A squeeze kills them at once: the grace after a block
// summon protects the player only.
bool UpdateOtherCharas(cPlayScene& scene)
{
    for (auto it = scene.m_Charas.begin(); it != scene.m_Charas.end();) {
        cStageChara& chara = *it;
        if (!TakesPart(chara, false)) {
            ++it;
            continue;
        }
        chara.RaiseTrigger(TRIGGER_ALWAYS);
        if (chara.Update(0)) {
            if (chara.m_bRemoveRequest) {
                it = scene.UnlinkChara(it);
                continue;
            }
            if (EndChara(scene, it)) return true;
            continue;
        }
        if (scene.m_bStatusChanged && scene.CheckPlayerHp()) return true;
        if (chara.m_bRiding) scene.FollowRiddenChara(chara, scene.m_Charas);
        eFate fate = MoveChara(scene, chara);
        if (scene.ProcessHits(chara, scene.m_Charas) == 2) fate = eFate::Killed;
        scene.CollideXBoth(chara);
        scene.CollideYBoth(chara);
        if (Squeezed(chara)) fate = eFate::Killed;
        if (SettleChara(scene, it, fate)) return true;
    }
    return false;
}

// Lifetimes run only while player 1 lives.
void TickLifetimes(cPlayScene& scene)
{
    for (auto it = scene.m_Charas.begin(); it != scene.m_Charas.end();) {
        if (!it->m_bDead && it->m_nLife != kUnlimitedLife && --it->m_nLife < 0) it = scene.UnlinkChara(it);
        else ++it;
    }
    for (auto it = scene.m_Items.begin(); it != scene.m_Items.end();) {
        if (it->m_nLife != kUnlimitedLife && --it->m_nLife < 0) it = scene.m_Items.erase(it);
        else ++it;
    }
}

// One sub-step; true when the frame must end.
bool RunSubStep(cPlayScene& scene, cHero& hero, int subStep)
{
    scene.m_nSubStep = subStep;
    ++scene.m_nSubStepTotal;
    scene.UpdateActivation();
    if (!hero.m_bDead) TickLifetimes(scene);

    // The contacts and positions of this sub-step start afresh.
    for (cStageChara& chara : scene.m_Charas) {
        chara.TickInvincibility();
        chara.ClearContactFlags();
        chara.SavePosition();
    }
    hero.TickInvincibility();
    hero.ClearContactFlags();
    hero.SavePosition();
    hero.RememberDirection();
    hero.RememberFloorBlock();

    scene.m_ScrollX.Advance();
    scene.m_ScrollY.Advance();

    if (!hero.m_bDead) {
        if (UpdateBlockCharas(scene)) return true;
        if (UpdatePlayerOne(scene, hero)) return true;
        if (UpdateOtherCharas(scene)) return true;
    }
    MoveShots(scene, subStep);
    if (hero.m_bDead) return false;
    if (subStep == 1) RemoveOutOfAreaObjects(scene);
    if (TakeStageResult(scene, hero, scene.ApplyBlockItemEffect(hero))) return true;
    if (TakeStageResult(scene, hero, scene.ProcessContacts())) return true;
    return TakeStageResult(scene, hero, scene.TouchItems(hero));
}

}  // namespace

void cPlayScene::StatePlay()
{
    // Quit, pause, replay keys.
    if (m_nQuitRequest.load()) {
        PostMessageA(g_hWnd.load(), WM_CLOSE, 0, 0);
        return;
    }
    if (PauseOnKey()) return;
    if (CheckReplaySaveKeys()) return;
    ++m_nFrame;

    // The input of player 1.
    cInput& input = g_Input.At(0);
    cHero& hero = Player.At(0);
    if (g_GameManager.m_nGameMode != GAMEMODE_REPLAY) {
        if (hero.m_bBlockDirection) input.ClearDirection();
        if (hero.m_bBlockButtons) input.ClearButtons();
        // Buttons held from the pause menu count only once all are released.
        if (input.m_wButton == 0) m_bHoldButtons = 0;
        else if (m_bHoldButtons) input.ClearButtons();
        input.RecordHistory();
        input.RecordKeyHistories();
        if (g_SystemData.m_bRecordReplay) m_Replay.Record(input);
    } else {
        input.ClearDirection();
        input.ClearButtons();
        if (m_Replay.Play(input)) {
            // The replay has ended: it plays again from its start.
            g_SaveData.RestoreStageStart(1, g_GameManager.m_nPlayMode, g_bTestPlay.load() != 0);
            SetStage(1, 1);
            m_nState = PLAYSTATE_READY;
            return;
        }
        input.m_nDirection = DirectionNumber(input.m_wDirection);
        input.RecordHistory();
        input.RecordKeyHistories();
    }

    m_TimeLimit.TickPlayTime();
    // A time-out kills a living player and ends the frame; a dead player's display goes on.
    if (m_TimeLimit.TickTimeLimit(-1) == 1 && !hero.m_bDead) {
        KillPlayerOne(*this, hero);
        return;
    }

    // The flows' per-frame flags, and the screen pins of the last warp.
    hero.ResetFlowFrameFlags();
    for (cStageChara& chara : m_Charas) {
        if (!chara.m_bDead) chara.ResetFlowFrameFlags();
    }
    for (cStageChara& chara : m_Charas) chara.m_bFixedScreenX = chara.m_bFixedScreenY = 0;
    hero.m_bFixedScreenX = hero.m_bFixedScreenY = 0;

    // A stage always runs at least one sub-step a frame, whatever its record says.
    const int steps = std::max(1, g_StageData.m_nSubSteps);
    for (int i = 1; i <= steps; ++i) {
        if (RunSubStep(*this, hero, i)) return;
    }
    Draw(1, 0, 1, 1);
}
