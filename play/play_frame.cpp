// One frame of play: quit, pause and replay keys, the input, the timers, then the sub-steps in
// their fixed order, and the draw. The steps whose pieces do not exist yet (block collision,
// hits, damage and defeat, shots, block effects, the hero's own frame) say so once.
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
#include "shell/not_built_yet.h"
#include "shell/shared_flags.h"
#include "shell/timing.h"

namespace {

constexpr int kReplayMode = 4;
constexpr int kMaxPlayTime = 599999;
constexpr int kTriggerAlways = 0;
constexpr int kUnlimitedLife = 2147483647;

bool IsBlockLike(const cChara& chara) { return chara.m_Def.m_bWholeCellBoxes != 0; }

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
        LogNotBuiltYet("hero input blocks");
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
        LogNotBuiltYet("hero's remembered direction and floor");

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
                LogNotBuiltYet("block collision of charas");
                ++it;
            }

            hero.RaiseTrigger(kTriggerAlways);
            LogNotBuiltYet("hero's frame update");
            if (m_nResult == 1) {
                BeginStageClear(*this);
                m_nState = PLAYSTATE_CLEAR;
                return;
            }
            if (m_nResult == 2) {
                PlaySe(8);
                LogNotBuiltYet("chara defeat");
                return;
            }
            LogNotBuiltYet("hero's moves, block collision and death tests");

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
                ++it;
            }
            LogNotBuiltYet("chara moves, block collision and hits");
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
