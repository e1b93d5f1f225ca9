// One frame of play: quit, pause and replay keys, the input, the timers, then the sub-steps in
// their fixed order, and the draw. The steps whose pieces do not exist yet (block collision,
// hits, damage and defeat, shots, block effects, the hero's own frame) say so once.
#include <cstdio>

#include "data/replay_data.h"
#include "data/stage_data.h"
#include "data/system_data.h"
#include "objects/hero.h"
#include "platform/os/messages.h"
#include "play/game_manager.h"
#include "play/play_scene.h"
#include "play/stage_seams.h"
#include "shell/game_requests.h"
#include "shell/input.h"
#include "shell/log.h"
#include "shell/not_built_yet.h"
#include "shell/shared_flags.h"
#include "shell/timing.h"

namespace {

constexpr int kReplayMode = 4;
constexpr int kMaxPlayTime = 599999;
constexpr int kTriggerAlways = 0;
constexpr int kUnlimitedLife = 2147483647;

bool IsBlockLike(const cChara& chara) { return chara.m_Def.m_bWholeCellBoxes != 0; }


// A chara's moves with block collision in a sub-step: 1 killed, 2 to be erased, 0 otherwise.
int MoveChara(cPlayScene& scene, cStageChara& chara)
{
    int fate = 0;
    if (chara.MoveX() == 4) fate = 2;
    if (scene.CollideX(chara) == 2) fate = 1;
    chara.cChara::ApplyGravity(CurrentStageSpeed().dGravity);
    const int y = chara.MoveY();
    if (y == 7) fate = 1;
    else if (y == 8 && fate == 0) fate = 2;
    if (scene.CollideY(chara) == 2) fate = 1;
    return fate;
}

// What follows a chara's moves: a killed chara (fate 1) is defeated, one to be erased (fate 2)
// is unlinked, any other has its knock-back decay. Moves the iterator on; true when the
// frame must end.
bool SettleChara(cPlayScene& scene, cCharaList::iterator& it, int fate)
{
    cStageChara& chara = *it;
    if (fate == 1) {
        PlaySe(9);
        const int r = scene.OnCharaDefeated(chara);
        if (r == 1) {
            it = scene.UnlinkChara(it);
            return true;
        }
        if (r != 0) return true;
    } else if (fate == 2) {
        it = scene.UnlinkChara(it);
        return false;
    } else {
        chara.DecayKnockbackX(CurrentStageSpeed());
        chara.DecayKnockbackY(CurrentStageSpeed());
    }
    ++it;
    return false;
}

// The player's moves and the death tests that follow them: 2 when the player dies, with the
// label of the test written to the error-check log.
int MovePlayer(cPlayScene& scene, cHero& hero)
{
    auto dead = [](const char* label) {
        EcLog(label);
        return 2;
    };
    auto squeezed = [&hero]() {
        return ((hero.m_bContactLeft && hero.m_bContactRight) || (hero.m_bContactUp && hero.m_bContactDown)) &&
               hero.m_nCrushGrace == 0;
    };
    auto squeezeDeath = [&](const char* label) {
        char text[96];
        std::snprintf(text, sizeof text, "Player[P1].LRUD = %d,%d,%d,%d", hero.m_bContactLeft, hero.m_bContactRight,
                      hero.m_bContactUp, hero.m_bContactDown);
        EcLog(text);
        hero.RestorePosition();
        return dead(label);
    };
    hero.MoveX();
    scene.ClampToScreenX(hero);
    if (scene.CollideX(hero) == 2) return dead("Dead 1");
    scene.ClampToScreenX(hero);
    hero.cChara::ApplyGravity(CurrentStageSpeed().dGravity);
    if (hero.MoveY() == 7) return dead("Dead 2");
    if (scene.ClampToScreenY(hero) == 2) return dead("Dead 3");
    if (scene.CollideY(hero) == 2) return dead("Dead 4");
    if (scene.ClampToScreenY(hero) == 2) return dead("Dead 5");
    if (squeezed()) return squeezeDeath("Dead SP");
    LogNotBuiltYet("hits with block-like charas");
    if ((hero.m_bContactLeft || hero.m_bContactRight) && scene.CollideXBoth(hero) == 2 && hero.m_nCrushGrace == 0)
        return dead("Dead 7");
    if ((hero.m_bContactUp || hero.m_bContactDown) && scene.CollideYBoth(hero) == 2 && hero.m_nCrushGrace == 0)
        return dead("Dead 8");
    if (squeezed()) return squeezeDeath("Dead 9");
    const STAGESPEED speed = CurrentStageSpeed();
    hero.DecayKnockbackX(speed);
    hero.DecayKnockbackY(speed);
    return 0;
}

}  // namespace

void cPlayScene::StatePlay()
{
    // 1 to 3: quit, pause, replay keys.
    if (m_nQuitRequest.load()) {
        PostMessageA(g_hWnd.load(), WM_CLOSE, 0, 0);
        return;
    }
    if (PauseOnKey()) return;
    if (CheckReplaySaveKeys()) return;
    ++m_nFrame;

    // 5. The input of player 1.
    cInput& input = g_Input.At(0);
    if (g_GameManager.m_nGameMode != kReplayMode) {
        if (Player.At(0).m_bBlockDirection) input.ClearDirection();
        if (Player.At(0).m_bBlockButtons) input.ClearButtons();
        if (input.m_wButton == 0) m_bHoldButtons = 0;
        else if (m_bHoldButtons) input.ClearButtons();
        input.RecordHistory();
        input.RecordKeyHistories();
        if (g_SystemData.m_bRecordReplay) LogNotBuiltYet("replay recording");
    } else {
        input.ClearDirection();
        input.ClearButtons();
        LogNotBuiltYet("replay playback");
        input.m_nDirection = DirectionNumber(input.m_wDirection);
        input.RecordHistory();
        input.RecordKeyHistories();
    }

    // 6. Play time, in hundredths of a second.
    if (m_nPlayTime < kMaxPlayTime) {
        ++m_nPlayFrames;
        m_nPlayTime = m_nPlayFrames * 100 / 60;
        if (m_nPlayTime > kMaxPlayTime) m_nPlayTime = kMaxPlayTime;
    }

    // 7. The time limit.
    cHero& hero = Player.At(0);
    if (!m_bNoTimeLimit) {
        bool timeUp = false;
        if (CountEvery(1, 60)) {
            m_nTimeLeft = (m_nTimeLeft - 1 > kNoTimeLimit) ? kNoTimeLimit : m_nTimeLeft - 1;
            if (m_nTimeLeft <= 0) {
                m_nTimeLeft = 0;
                timeUp = true;
            }
        }
        if (timeUp && !hero.m_bDead) {
            PlaySe(8);
            LogNotBuiltYet("chara defeat");
            return;
        }
    }

    // 8. The flows' per-frame flags, and the screen pins of the last warp.
    hero.ResetFlowFrameFlags();
    for (cStageChara& chara : m_Charas) {
        if (!chara.m_bDead) chara.ResetFlowFrameFlags();
    }
    for (cStageChara& chara : m_Charas) chara.m_bFixedScreenX = chara.m_bFixedScreenY = 0;
    hero.m_bFixedScreenX = hero.m_bFixedScreenY = 0;

    // 9. The sub-steps; any early end leaves the rest undone and draws nothing.
    const int steps = g_StageData.m_nSubSteps;
    for (int i = 1; i <= steps; ++i) {
        m_nSubStep = i;
        ++m_nSubStepTotal;
        UpdateActivation();

        // Lifetimes.
        if (!hero.m_bDead) {
            for (auto it = m_Charas.begin(); it != m_Charas.end();) {
                if (!it->m_bDead && it->m_nLife != kUnlimitedLife && --it->m_nLife < 0) it = UnlinkChara(it);
                else ++it;
            }
            for (auto it = m_Items.begin(); it != m_Items.end();) {
                if (it->m_nLife != kUnlimitedLife && --it->m_nLife < 0) it = m_Items.erase(it);
                else ++it;
            }
        }

        // Contacts and positions of the sub-step before.
        LogNotBuiltYet("invincibility timers");
        for (cStageChara& chara : m_Charas) {
            chara.ClearContactFlags();
            chara.SavePosition();
        }
        hero.ClearContactFlags();
        hero.SavePosition();
        hero.RememberDirection();
        hero.RememberFloorBlock();

        m_ScrollX.Advance();
        m_ScrollY.Advance();

        // Block-like charas, then the player, then the other charas.
        if (!hero.m_bDead) {
            for (auto it = m_Charas.begin(); it != m_Charas.end();) {
                cStageChara& chara = *it;
                if (!IsBlockLike(chara) || chara.m_bDead || !chara.m_bActive || !chara.m_bAwake) {
                    ++it;
                    continue;
                }
                chara.RaiseTrigger(kTriggerAlways);
                if (chara.Update(0)) {
                    const int r = OnCharaDefeated(chara);
                    it = UnlinkChara(it);
                    if (r != 0) return;
                    continue;
                }
                if (SettleChara(*this, it, MoveChara(*this, chara))) return;
            }

            hero.RaiseTrigger(kTriggerAlways);
            bool killed = hero.Update(0) != 0;
            if (!killed && m_nResult == 1) {
                BeginStageClear(*this);
                m_nState = PLAYSTATE_CLEAR;
                return;
            }
            if (!killed && m_nResult != 2) {
                LogNotBuiltYet("block effects and riding");
                killed = MovePlayer(*this, hero) == 2;
            }
            if (killed || m_nResult == 2) {
                PlaySe(8);
                LogNotBuiltYet("chara defeat");
                return;
            }

            for (auto it = m_Charas.begin(); it != m_Charas.end();) {
                cStageChara& chara = *it;
                if (IsBlockLike(chara) || chara.m_bDead || !chara.m_bActive || !chara.m_bAwake) {
                    ++it;
                    continue;
                }
                chara.RaiseTrigger(kTriggerAlways);
                if (chara.Update(0)) {
                    if (chara.m_bRemoveRequest) {
                        it = UnlinkChara(it);
                        continue;
                    }
                    const int r = OnCharaDefeated(chara);
                    it = UnlinkChara(it);
                    if (r != 0) return;
                    continue;
                }
                LogNotBuiltYet("riding and hits of charas");
                int fate = MoveChara(*this, chara);
                CollideXBoth(chara);
                CollideYBoth(chara);
                if ((chara.m_bContactLeft && chara.m_bContactRight) || (chara.m_bContactUp && chara.m_bContactDown))
                    fate = 1;
                if (SettleChara(*this, it, fate)) return;
            }
        }

        LogNotBuiltYet("shots");
        if (!hero.m_bDead) {
            if (i == 1) LogNotBuiltYet("off-screen removal");
            LogNotBuiltYet("block-item effects, contacts and item pickups");
        }
    }

    // 11. The draw.
    Draw(1, 0, 1, 1);
}
