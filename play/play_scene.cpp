#include "play/play_scene.h"

#include <string>

#include "data/block_data.h"
#include "data/ranking_data.h"
#include "data/replay_data.h"
#include "data/save_data.h"
#include "data/stage_data.h"
#include "graphics/device.h"
#include "graphics/fill.h"
#include "graphics/palette.h"
#include "graphics/screen_color.h"
#include "graphics/standard_surfaces.h"
#include "objects/image_source.h"
#include "platform/input/keyboard.h"
#include "platform/os/timer.h"
#include "play/draw_sandbox.h"
#include "play/free_play.h"
#include "play/game_manager.h"
#include "play/menu_cursor.h"
#include "shell/game_requests.h"
#include "shell/shared_flags.h"
#include "shell/system_ini.h"

std::atomic<cPlayScene*> g_lpPlayScene{nullptr};

cChara* PlayerOne()
{
    const cPlayScene* scene = g_lpPlayScene.load();
    return scene ? scene->m_lpPlayerOne : nullptr;
}

cPlayScene::cPlayScene()
{
    m_States = {&cScene::CallFadeIn,
                static_cast<STATEHANDLER>(&cPlayScene::StateReady),
                static_cast<STATEHANDLER>(&cPlayScene::StatePlay),
                static_cast<STATEHANDLER>(&cPlayScene::StatePause),
                static_cast<STATEHANDLER>(&cPlayScene::StateClear),
                static_cast<STATEHANDLER>(&cPlayScene::StateContinue),
                static_cast<STATEHANDLER>(&cPlayScene::StateGameOver),
                &cScene::CallFadeOut};
    // A defined seed for the first attempt (the set-up reuses it on retries when it does not
    // record a replay): the clock, which the harness's virtual clock makes repeatable.
    m_Replay.m_nSeed = static_cast<int>(timeGetTime());
    g_SaveData.m_nStageBgm = 0;
    // Block collision, drawing and summons read a block's presence through the block record.
    // The test is this scene's, so it lives as long as the scene (the destructor clears it)
    // instead of being registered at start-up with the program's other hooks.
    SetBlockConditionTest(&cPlayScene::BlockConditionTest);
}

cPlayScene::~cPlayScene()
{
    m_StagePictures.Release();
    // The messages' text surfaces belong to the stage as its pictures do.
    m_MessageList.ClearMessageSurfaces();
    SetBlockConditionTest(nullptr);
    // Nothing may reach a deleted stage through the global.
    cPlayScene* self = this;
    g_lpPlayScene.compare_exchange_strong(self, nullptr);
}

void cPlayScene::Run()
{
    if (m_bSetUpFailed) return;
    if (m_nState == -1) {
        Init();
        // Whatever the set-up's flows made of the state, the stage starts with its fade-in.
        m_nState = PLAYSTATE_FADEIN;
    }
    if (m_bSetUpFailed) return;
    RunState();
}

void cPlayScene::Init()
{
    m_StageClear.SizeResults();
    SelectTileSheetSurfaces(lpDTCon == nullptr, g_SystemIni.DD_VideoStretch);
    const bool reEntered = g_GameManager.m_nPrevScene == SCENE_PLAY;
    if (!m_StagePictures.Load(reEntered)) {
        PostClose();
        return;
    }
    EnterStage(reEntered);
    g_MenuCursor.Reset();
    m_nSubState = 0;
}

void cPlayScene::EnterStage(bool reEntered)
{
    // A replay's first loop reads its file again as every later loop does: the lives and the
    // rest of the progress are the stored ones, not a new life taken from the title's.
    const bool replaying = g_GameManager.m_nGameMode == GAMEMODE_REPLAY;
    if (!reEntered) {
        ResetStageState();
        if (!replaying) UseLife();
    }
    SetStage((reEntered || replaying) ? 1 : 0, 1);
}

void cPlayScene::ResetStageState()
{
    g_SaveData.m_nLives = g_SaveData.m_nStartLives;
    g_SaveData.m_nScore = 0;
    g_SaveData.ClearStageCounters();
    g_SaveData.m_bFollowUp = 0;
    m_ScrollX.m_dPos = 0.0;
    m_ScrollY.m_dPos = 0.0;
    m_nSubState = 0;
    m_nStateFrames = m_nStateFrames2 = 0;
    m_bHoldButtons = 0;
    m_TimeLimit.m_nTimeLeft = 0;
    m_StageClear.m_bRankingEntered = 0;
    m_MessageList.Clear();
    if (g_GameManager.m_nGameMode != GAMEMODE_REPLAY) {
        g_ReplayData.Clear();
        g_PrevReplayData.Clear();
    }
    if (g_bTestPlay.load()) g_SaveData.m_nStageNumber = 1;
    if (g_GameManager.m_bRanking)
        g_RankingData.LoadForStage(g_GameManager.m_nPlayMode, g_SaveData.m_strStageKey.c_str());
}

int cPlayScene::UseLife()
{
    if (g_bTestPlay.load()) return 1;
    int& lives = g_SaveData.m_nLives;
    if (lives == kUnlimitedLives) return 1;
    if (lives >= 1) {
        --lives;
        return 1;
    }
    return 0;
}

void cPlayScene::FadeIn()
{
    Draw(0, 1, 0, 1);
    const BYTE done = DDFadeIn(g_DisplayPalette, 0, 255, 0, 0, 0, g_GameManager.m_nFadeSpeed, g_Palette, 0);
    if ((done & 0xFF) == 1) m_nState = PLAYSTATE_READY;
}

void cPlayScene::FadeOut()
{
    Draw(0, 1, 0, 1);
    const BYTE done = DDFadeOut(g_DisplayPalette, 0, 255, 0, 0, 0, g_GameManager.m_nFadeSpeed, g_Palette, 0);
    if ((done & 0xFF) != 1) return;
    DDFillSurfacePal(&g_BackBuffer, 16);
    // The program is closing: no stage is loaded again (the close would stop the load) and no
    // scene entered; the screen stays black until the game thread ends.
    if (m_nQuitRequest.load()) return;
    if (g_GameManager.m_nGameMode == GAMEMODE_FREEPLAY && !g_SaveData.m_bSeries) {
        // The loader resets the stage record, its path among its fields: keep a copy.
        const std::string path = g_StageData.m_strPath;
        if (!StartFreePlay(path.c_str(), 0)) PostClose();
    }
    g_GameManager.m_nFps = 60;
    g_GameManager.m_nScene = g_GameManager.m_nNextScene;
    g_GameManager.m_nPrevScene = SCENE_PLAY;
    m_nState = -1;
}

void cPlayScene::Draw(int full, int paused, int timer, int bottomText)
{
    if (full != 0) {
        DrawStage(full, paused, timer, bottomText);
        return;
    }
    // Only the play frame's own draw may change the game: how long READY, the pause or a
    // modal loop is watched must not change the attempt.
    cDrawSandbox sandbox;
    DrawStage(full, paused, timer, bottomText);
}

bool cPlayScene::CheckPauseKey() { return (GetAsyncKeyState(VK_SPACE) & 0x8000) != 0; }

void cPlayScene::RequestStageBgm(int n, int loop)
{
    g_SaveData.m_bStageBgmLoop = loop;
    PlayBgm(4, n);
}
