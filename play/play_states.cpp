// The stage-play scene's states other than the fades and the play frame: the start captions,
// the pause menu, the clear display, the continue menu and the game over.
#include "data/option_data.h"
#include "data/save_data.h"
#include "data/stage_data.h"
#include "data/system_data.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/effect_blit.h"
#include "graphics/standard_surfaces.h"
#include "objects/hero.h"
#include "platform/input/keyboard.h"
#include "platform/video/ddraw.h"
#include "play/game_manager.h"
#include "play/menu_cursor.h"
#include "play/play_scene.h"
#include "play/replay_state.h"
#include "play/stage_clear.h"
#include "shell/game_requests.h"
#include "shell/input.h"
#include "shell/shared_flags.h"
#include "sound/direct_sound.h"

namespace {

constexpr int kCaptionFrames = 80;     // a caption shows until its counter reaches this
constexpr int kPauseFirstText = 19;
constexpr int kContinueFirstText = 22;
constexpr int kMenuY = 272;
constexpr int kKeyF3 = 0x72;

void DrawWord(int x, int y, int w, int h, int sx, int sy)
{
    DDBltFast(&g_BackBuffer, x, y, w, h, &g_StdSurface[kWordPicture], sx, sy, DDBLTFAST_SRCCOLORKEY);
}

void RestartHeroPattern()
{
    cHero& hero = Player.At(0);
    hero.m_Animator.SetPattern(hero.m_bFlying ? 2 : 0, 1);
}

bool DirectPlay() { return g_bTestPlay.load() != 0; }

// The pause menu's item count: 3 with retry, else 2.
int PauseItemCount()
{
    const cSystemData& system = g_SystemData;
    const cSaveData& save = g_SaveData;
    switch (g_GameManager.m_nPlayMode) {
    case PLAYMODE_STORY:
        return (system.m_bPauseRetryStory && save.m_Switches.At(save.m_nClearSwitch) != 0) ? 3 : 2;
    case PLAYMODE_CHALLENGE:
        return (system.m_bPauseRetryChallenge && save.m_ChallengeStages.At(save.m_nClearSwitch - 1).m_bCleared != 0)
                   ? 3
                   : 2;
    case PLAYMODE_FREEPLAY: return 3;
    default: return 2;
    }
}

// The pause and continue menus share their input and drawing.
void MenuInput(int x, int count)
{
    cInput& input = g_Input.At(0);
    input.TriggerButtons(0);
    input.ApplyRepeat();
    g_MenuCursor.MoveGrid(input.m_wDirection, x, kMenuY, 0, 16, 1, count);
    DS_PlayOnDirectionKey(input.m_wDirection, 2, 0);
}

void DrawMenu(cPlayScene& scene, int x, int first, int count)
{
    scene.Draw(0, 1, 0, 1);
    DrawTextList(&g_BackBuffer, x, kMenuY, first, count, 1);
    const CURSORPOS& c = *g_MenuCursor.m_pCurrent;
    DDBltFast(&g_BackBuffer, c.nX, c.nY, 16, 16, &g_StdSurface[kAccessoryPicture], 64, 0, DDBLTFAST_SRCCOLORKEY);
}

}  // namespace

void cPlayScene::StateReady()
{
    if (m_Replay.m_bReplayLost) {
        m_Replay.m_bReplayLost = 0;
        g_GameManager.m_nNextScene = SCENE_TITLE;
        m_nState = PLAYSTATE_FADEOUT;
        return;
    }
    Draw(0, 1, 0, 1);
    const bool editorDirect = g_bEditorLaunch.load() && DirectPlay();
    if (!editorDirect) {
        if (g_GameManager.m_nGameMode == GAMEMODE_REPLAY) {
            if (++m_nStateFrames < kCaptionFrames) {
                DrawWord(256, 224, 128, 32, 0, 32);
                return;
            }
        } else {
            if (g_StageData.m_bStartSign && ++m_nStateFrames < kCaptionFrames) {
                DrawWord(256, 224, 128, 32, 0, 0);
                DDDrawNumber(&g_BackBuffer, 384, 224, 32, 32, &g_StdSurface[kWordPicture], 0, 128,
                             DDBLTFAST_SRCCOLORKEY, g_SaveData.m_nStageNumber, 1, FALSE);
                return;
            }
            if (g_StageData.m_bStartSignSmall && ++m_nStateFrames2 < kCaptionFrames) {
                DrawWord(280, 224, 80, 32, 160, 0);
                return;
            }
        }
    }
    RestartHeroPattern();
    m_nStateFrames = 0;
    m_nState = PLAYSTATE_PLAY;
}

bool cPlayScene::PauseOnKey()
{
    if (!CheckPauseKey()) return false;
    PlaySe(4);
    m_nSavedState = m_nState;
    m_nSavedSubState = m_nSubState;
    m_nSubState = 0;
    m_nState = PLAYSTATE_PAUSE;
    return true;
}

void cPlayScene::StatePause()
{
    if (CheckReplaySaveKeys()) return;
    const int count = PauseItemCount();
    if (m_nSubState == 0) {
        g_MenuCursor.m_pCurrent->nRow = 1;
        m_nSubState = 1;
    } else if (m_nSubState != 1) {
        return;
    }
    const int x = GetTextListX(320, kPauseFirstText, count, 1);
    MenuInput(x, count);
    const cInput& input = g_Input.At(0);
    if (input.m_wButton & 1) {
        PlaySe(1);
        switch (g_MenuCursor.m_pCurrent->nRow) {
        case 0:
            m_nState = PLAYSTATE_FADEOUT;
            if (DirectPlay()) {
                // The fade-out may end before the close comes: it must then start nothing.
                m_nQuitRequest.store(1);
                PostMessageA(g_hWnd.load(), WM_CLOSE, 0, 0);
            } else {
                g_GameManager.m_nNextScene = SCENE_TITLE;
                g_MenuCursor.m_pCurrent->nRow = g_GameManager.m_nGameMode;
                m_nSubState = 0;
            }
            return;
        case 1:
            m_bHoldButtons = 1;
            m_nState = m_nSavedState;
            m_nSubState = m_nSavedSubState;
            return;
        default:
            m_bHoldButtons = 1;
            g_SaveData.RestoreStageStart(1, g_GameManager.m_nPlayMode, DirectPlay());
            SetStage(1, 0);
            m_nSubState = 0;
            m_nState = PLAYSTATE_READY;
            return;
        }
    }
    if (input.m_wButton & 2) {
        PlaySe(2);
        m_bHoldButtons = 1;
        m_nState = m_nSavedState;
        m_nSubState = (count == 2) ? 0 : m_nSavedSubState;
        return;
    }
    DrawMenu(*this, x, kPauseFirstText, count);
}

void cPlayScene::StateClear()
{
    const cStageData& stage = g_StageData;
    const int nameMode = g_OptionData.m_nRankingMode;
    const bool manualName = nameMode == 0 || nameMode == 1;
    if (!stage.m_bClearAutoAdvance) {
        if (PauseOnKey()) return;
        if (CheckReplaySaveKeys()) return;
        if (manualName && (GetAsyncKeyState(kKeyF3) & 0x8000)) EnterRankingName(*this);
    }
    if (m_nSubState == 0) {
        m_nStateFrames = 0;
        m_nSubState = 1;
    }
    cInput& input = g_Input.At(0);
    input.TriggerButtons(0);
    input.ApplyRepeat();
    bool advance = false;
    if (stage.m_bClearAutoAdvance) {
        advance = m_nStateFrames >= 200;
    } else if ((input.m_wButton & 1) && m_nStateFrames >= 200) {
        advance = true;
        if (m_StageClear.m_bRankingReady && !manualName) EnterRankingName(*this);
        else PlaySe(1);
    }
    if (advance) {
        g_GameManager.m_nNextScene = AfterClear(*this);
        m_nStateFrames = 0;
        m_nSubState = 0;
        m_nState = PLAYSTATE_FADEOUT;
        return;
    }
    bool ranked = false;
    for (int place : m_StageClear.m_RankPos) ranked = ranked || place != -1;
    if (!stage.m_bClearAutoAdvance && !m_StageClear.m_bRankingEntered && ranked && manualName) {
        Draw(0, 1, 0, 0);
        DrawClearHint();
    } else {
        Draw(0, 1, 0, 1);
    }
    if (stage.m_bClearSign) {
        m_nStateFrames += 4;
        if (m_nStateFrames < 100)
            DDBltStripeShift(&g_BackBuffer, 256, 192, 128, 32, 4, 100 - m_nStateFrames, &g_StdSurface[kWordPicture], 0,
                             64, DDBLTFAST_SRCCOLORKEY, FALSE);
        else
            DrawWord(256, 192, 128, 32, 0, 64);
    } else {
        m_nStateFrames = 200;
    }
    if (m_nStateFrames >= 200 && g_GameManager.m_bRanking && !stage.m_bClearAutoAdvance) DrawClearResults(*this);
}

void cPlayScene::StateContinue()
{
    if (CheckReplaySaveKeys()) return;
    if (m_nSubState == 0) {
        g_MenuCursor.m_pCurrent->nRow = 0;
        m_nSubState = 1;
    }
    const int x = GetTextListX(320, kContinueFirstText, 2, 1);
    MenuInput(x, 2);
    if (g_Input.At(0).m_wButton & 1) {
        PlaySe(1);
        if (g_MenuCursor.m_pCurrent->nRow == 0) {
            SetStage(1, 0);
            m_nState = PLAYSTATE_READY;
        } else {
            g_SaveData.m_bGaveUp = 1;
            g_GameManager.m_nNextScene = SCENE_WORLDMAP;
            g_MenuCursor.m_pCurrent->nRow = g_GameManager.m_nGameMode;
            m_nSubState = 0;
            m_nState = PLAYSTATE_FADEOUT;
        }
        return;
    }
    DrawMenu(*this, x, kContinueFirstText, 2);
}

void cPlayScene::StateGameOver()
{
    if (PauseOnKey()) return;
    if (CheckReplaySaveKeys()) return;
    if (g_Input.At(0).m_wButton & 1) {
        PlaySe(1);
        g_GameManager.m_nNextScene = SCENE_TITLE;
        m_nState = PLAYSTATE_FADEOUT;
        return;
    }
    Draw(0, 1, 0, 1);
    if (g_StageData.m_bGameOverSign) DrawWord(248, 224, 144, 32, 0, 96);
}
