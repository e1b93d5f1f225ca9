#include "scenes/world_map_scene.h"

#include <cstdio>
#include <iterator>
#include <string>

#include "data/ranking_data.h"
#include "data/save_data.h"
#include "data/stage_data.h"
#include "data/stage_loader.h"
#include "data/system_data.h"
#include "data/world_map_data.h"
#include "graphics/device.h"
#include "graphics/standard_surfaces.h"
#include "play/game_manager.h"
#include "play/world_entry.h"
#include "scenes/menu_drawing.h"
#include "scenes/ranking_buttons.h"
#include "shell/error_box.h"
#include "shell/game_arithmetic.h"
#include "shell/game_requests.h"
#include "shell/input.h"
#include "shell/log.h"
#include "shell/shared_flags.h"
#include "sound/direct_sound.h"

namespace {

// Decide, cancel and the two ranking buttons report only on the frame they are pressed.
constexpr WORD kMapOneShotButtons = 15;

constexpr int kWorldPictures[] = {kWorldBackPicture, kWorldChipPicture, kWorldEventPicture, kAccessoryPicture, kWindowPicture, kWorkPicture};
constexpr int kWorldPictureCount = static_cast<int>(std::size(kWorldPictures));

constexpr int kEntryQuestion = 10;
constexpr int kQuestionX = 304;
constexpr int kQuestionY = 260;

enum { MAP_FADEIN, MAP_WALK, MAP_ENTER, MAP_FADEOUT };

void ReportUnloadableStage(const cWorldStageData& entry)
{
    ErrorBoxF("ステージファイル %s が読み込めません！", entry.m_strStageFile.c_str());
}

int IndexIn(const cWorldPointData* point, const cWorldStageData* entry, int& entryIndex)
{
    const cSafeVector<cWorldPointData>& points = g_WorldMapData.m_Points;
    entryIndex = -1;
    if (!point || points.empty()) return -1;
    const int pointIndex = static_cast<int>(point - points.data());
    if (entry && !point->m_Stages.empty()) entryIndex = static_cast<int>(entry - point->m_Stages.data());
    return pointIndex;
}

}  // namespace

cWorldMapScene::cWorldMapScene()
{
    m_States = {&cScene::CallFadeIn, static_cast<STATEHANDLER>(&cWorldMapScene::StateMap),
                static_cast<STATEHANDLER>(&cWorldMapScene::StateEnterStage), &cScene::CallFadeOut};
}

cWorldMapScene::~cWorldMapScene() { ReleaseFrontEndPictures(kWorldPictures, kWorldPictureCount, true); }

void cWorldMapScene::Run() { RunFrontEndFrame(kMapOneShotButtons); }

void cWorldMapScene::Init()
{
    SURFACEINFO& back = g_SurfaceInfo[kWorldBackPicture];
    std::snprintf(back.szFileName, sizeof back.szFileName, "%s", g_WorldMapData.m_strPicture.c_str());
    BeginFrontEndInit(1, kWorldPictures, kWorldPictureCount);
    g_MenuCursor.Reset();
    g_SaveData.RecountTotal();
    CURSORPOS& walker = *g_MenuCursor.m_pCurrent;
    walker.nColumn = g_SaveData.m_nMapX;
    walker.nRow = g_SaveData.m_nMapY;
    walker.nX = 288;
    walker.nY = 224;
    SetScroll();
    m_nFacing = g_SaveData.m_nMapState;
    FindWalkerEntry();
    m_PrevCursor = walker;
    CreateRankingSurface();
    if (IsStageEntry(m_pEntry)) LoadEntryInfo();
    if (g_SaveData.m_bAutoSave && g_GameManager.m_nPrevScene == SCENE_PLAY) AutoSave();
    DrawMapSurface();
    m_nSubState = 0;
}

void cWorldMapScene::AutoSave()
{
    // A story never saved has no slot to save into.
    if (g_SaveData.m_nSaveSlot < 0) {
        ReportLog("auto-save: no save slot yet; nothing was written");
        return;
    }
    g_SaveData.SaveSlot(g_SaveData.m_nSaveSlot);
}

void cWorldMapScene::LoadEntryInfo()
{
    g_SaveData.SetStageFile(m_pEntry->m_strStageFile.c_str());
    m_nBestValue = g_SaveData.GetStageValue(g_SaveData.m_strStageKey);
    if (g_GameManager.m_bRanking) {
        g_RankingData.LoadForStage(g_GameManager.m_nPlayMode, g_SaveData.m_strStageKey.c_str());
        g_SaveData.StepRankingKind(g_GameManager.m_nPlayMode, 0);
    }
    DrawRankingSurface();
}

void cWorldMapScene::PrepareEntryPlay()
{
    cSaveData& save = g_SaveData;
    save.SetStageFile(g_StageData.m_strPath.c_str());
    save.m_nClearSwitch = m_pEntry->m_nClearSwitch;
    save.m_nSeriesNumber = 1;
    if (!g_SystemData.m_bStoryKeepLives) save.m_nStartLives = g_SystemData.m_StartLives.At(PLAYMODE_STORY);
    else if (g_SystemData.m_UnlimitedLives.At(PLAYMODE_STORY)) save.m_nStartLives = kUnlimitedLives;
    else save.m_nStartLives = WrapAdd(save.m_nLives, 1);
    int entryIndex = -1;
    const int pointIndex = IndexIn(m_pPoint, m_pEntry, entryIndex);
    SetCurrentWorldEntry(pointIndex, entryIndex);
}

void cWorldMapScene::FadeIn()
{
    if (m_bAutoOpenFailed) {
        // The program is closing: the map stays as it is until it has.
        DrawScreen(1);
        return;
    }
    if (IsEightBitColour()) DrawRankingSurface();
    DrawScreen(g_SaveData.m_bGaveUp ? 0 : 1);
    if (!FrontEndFadeInStep()) return;
    m_nState = MAP_WALK;
    if (!IsStageEntry(m_pEntry)) return;
    CURSORPOS& walker = *g_MenuCursor.m_pCurrent;
    if (g_SaveData.m_bGaveUp) {
        // Left through the continue screen: back where the walker came from, without reopening.
        g_SaveData.m_bGaveUp = 0;
        if (!IsEntryCleared(m_pEntry)) {
            walker.nColumn = g_SaveData.m_nReturnX;
            walker.nRow = g_SaveData.m_nReturnY;
            SetScroll();
            DrawMapSurface();
        }
        return;
    }
    if (g_GameManager.m_nPrevScene == SCENE_STORYMENU || IsManualEntry(m_pEntry)) return;
    if (!LoadStage(m_pEntry->m_strStageFile.c_str(), 1, &g_StageBackup)) {
        ReportUnloadableStage(*m_pEntry);
        PostMessageA(g_hWnd.load(), WM_CLOSE, 0, 0);
        m_bAutoOpenFailed = true;
        m_nState = MAP_FADEIN;
        return;
    }
    PrepareEntryPlay();
    g_SaveData.m_nReturnX = walker.nColumn;
    g_SaveData.m_nReturnY = walker.nRow;
    g_GameManager.m_nNextScene = SCENE_PLAY;
    m_nState = MAP_FADEOUT;
}

void cWorldMapScene::FadeOut()
{
    DrawScreen(1);
    FrontEndFadeOutStep(SCENE_WORLDMAP, true);
}

void cWorldMapScene::OpenEntry()
{
    g_SaveData.m_nMapX = g_MenuCursor.m_pCurrent->nColumn;
    g_SaveData.m_nMapY = g_MenuCursor.m_pCurrent->nRow;
    g_MenuCursor.Push(0);
    m_nState = MAP_ENTER;
    m_nSubState = 0;
}

void cWorldMapScene::RankingKeys(int buttons)
{
    if (ApplyRankingButtons(buttons, PLAYMODE_STORY)) DrawRankingSurface();
}

void cWorldMapScene::StateMap()
{
    const cInput& input = g_Input.At(0);
    MoveWalker(*g_MenuCursor.m_pCurrent, input.m_wDirection);
    DS_PlayOnDirectionKey(input.m_wDirection, 3, 0);
    FindWalkerEntry();
    const CURSORPOS& walker = *g_MenuCursor.m_pCurrent;
    if (IsStageEntry(m_pEntry)) {
        if (walker.nColumn != m_InfoCursor.nColumn || walker.nRow != m_InfoCursor.nRow) {
            LoadEntryInfo();
            m_InfoCursor = walker;
        }
        if (!IsManualEntry(m_pEntry)) {
            OpenEntry();
            return;
        }
        if (input.m_wButton & 1) {
            // A cleared entry opens again only when it may be replayed.
            if (m_pEntry->m_bReplayable || !IsEntryCleared(m_pEntry)) {
                OpenEntry();
                return;
            }
        } else {
            RankingKeys(input.m_wButton);
        }
    }
    if (input.m_wButton & 2) {
        PlaySe(4);
        g_SaveData.m_nMapX = walker.nColumn;
        g_SaveData.m_nMapY = walker.nRow;
        g_GameManager.m_nNextScene = SCENE_STORYMENU;
        m_nState = MAP_FADEOUT;
        return;
    }
    DrawScreen(1);
}

void cWorldMapScene::DeclineEntry()
{
    g_MenuCursor.Pop(1);
    if (!IsManualEntry(m_pEntry)) {
        // An entry that opened by itself: the walker steps back off it.
        *g_MenuCursor.m_pCurrent = m_PrevCursor;
        SetScroll();
        DrawMapSurface();
    }
    m_nState = MAP_WALK;
    m_nSubState = 0;
}

void cWorldMapScene::StateEnterStage()
{
    const cInput& input = g_Input.At(0);
    if (m_nSubState == 0) {
        PlaySe(1);
        // A stage that cannot be played is only declined: the question stays, and the program
        // goes on whatever the file holds.
        m_bStageLoaded = LoadStage(m_pEntry->m_strStageFile.c_str(), 1, &g_StageBackup, false);
        if (!m_bStageLoaded) ReportUnloadableStage(*m_pEntry);
        g_MenuCursor.m_pCurrent->nRow = 1;
        m_nSubState = 1;
    }
    if (m_nSubState != 1) return;
    const int x = MoveQuestion(input.m_wDirection, kQuestionX, kQuestionY, kEntryQuestion);
    if (input.m_wButton & 1) {
        PlaySe(1);
        if (g_MenuCursor.m_pCurrent->nRow == 0 && m_bStageLoaded) {
            g_SaveData.m_nMapState = m_nFacing;
            PrepareEntryPlay();
            g_GameManager.m_nNextScene = SCENE_PLAY;
            m_nState = MAP_FADEOUT;
            m_nSubState = 0;
            return;
        }
        DeclineEntry();
        return;
    }
    if (input.m_wButton & 2) {
        PlaySe(2);
        DeclineEntry();
        return;
    }
    RankingKeys(input.m_wButton);
    DrawScreen(1);
    DrawQuestion(x, kQuestionY, kEntryQuestion);
}
