#include "scenes/stage_select_scene.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "data/data_paths.h"
#include "data/ranking_data.h"
#include "data/save_data.h"
#include "data/stage_data.h"
#include "data/stage_loader.h"
#include "data/system_data.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/standard_surfaces.h"
#include "play/game_manager.h"
#include "play/menu_cursor.h"
#include "play/palette_colors.h"
#include "scenes/menu_drawing.h"
#include "scenes/ranking_buttons.h"
#include "shell/error_box.h"
#include "shell/game_arithmetic.h"
#include "shell/game_requests.h"
#include "shell/input.h"
#include "sound/direct_sound.h"

namespace {

// Decide, cancel and the two ranking buttons report only on the frame they are pressed.
constexpr WORD kSelectOneShotButtons = 15;

constexpr int kSelectPictures[] = {kAccessoryPicture, kWindowPicture};
constexpr int kSelectPictureCount = static_cast<int>(std::size(kSelectPictures));

constexpr int kSelectListY = 160;
constexpr int kSelectRowHeight = 32;
constexpr int kSelectCursorX = 32;
constexpr int kSelectRankingX = 292;
constexpr int kSelectRankingY = 108;

// Texts of the System record's system text list.
constexpr int kSelectStageText = 0;
constexpr int kSelectHighScoreText = 3;
constexpr int kSelectTotalText = 4;

enum { SELECT_FADEIN, SELECT_LIST, SELECT_FADEOUT };

bool ChallengeRanks() { return g_SystemData.m_ModeResults.At(PLAYMODE_CHALLENGE).m_bEnabled != 0; }

// A record the list has no entry for (a damaged Challenge.dat) is shown as not cleared.
const cChallengeStageData* ChallengeRecordAt(int index)
{
    const cSafeVector<cChallengeStageData>& records = g_SaveData.m_ChallengeStages;
    if (index < 0 || static_cast<std::size_t>(index) >= records.size()) return nullptr;
    return &records[static_cast<std::size_t>(index)];
}

}  // namespace

cStageSelectScene::cStageSelectScene()
{
    m_States = {&cScene::CallFadeIn, static_cast<STATEHANDLER>(&cStageSelectScene::StateSelect),
                &cScene::CallFadeOut};
}

cStageSelectScene::~cStageSelectScene() { ReleaseFrontEndPictures(kSelectPictures, kSelectPictureCount, true); }

void cStageSelectScene::Run() { RunFrontEndFrame(kSelectOneShotButtons); }

std::string cStageSelectScene::StageFileName(int n)
{
    char name[MAX_PATH] = {};
    std::snprintf(name, sizeof name, "%s%02d-1.%s", g_DataPaths[DATAPATH_CHALLENGE_STAGE], n, g_DataExts[1]);
    return name;
}

void cStageSelectScene::UpdateListExtent()
{
    m_nCount = g_SystemData.m_bChallengeAllOpen ? g_SystemData.m_nChallengeStages : g_SaveData.m_nStageNumber;
    // A remembered top past the list (fewer stages open than when it was kept) would show no
    // row at all.
    m_nTop = std::clamp(m_nTop, 0, std::max(0, m_nCount - 1));
    m_nRows = m_nCount < m_nTop + kMaxRows ? std::max(0, m_nCount - m_nTop) : kMaxRows;
}

void cStageSelectScene::SelectStageForRanking(int n)
{
    g_SaveData.SetStageFile(StageFileName(n).c_str());
    if (g_GameManager.m_bRanking)
        g_RankingData.LoadForStage(g_GameManager.m_nPlayMode, g_SaveData.m_strStageKey.c_str());
}

void cStageSelectScene::Init()
{
    BeginFrontEndInit(2, kSelectPictures, kSelectPictureCount);
    g_MenuCursor.Reset();
    m_nTop = g_GameManager.m_nStageSelectTop;
    UpdateListExtent();
    // Kept on the list as the top is, so that the ranking shown is the stage under the cursor.
    const int row = std::clamp(g_GameManager.m_nStageSelectRow, 0, std::max(0, m_nCount - 1));
    g_MenuCursor.m_pCurrent->nRow = row;
    SelectStageForRanking(row + 1);
    CreateListSurface();
    m_nSubState = 0;
}

void cStageSelectScene::CreateListSurface()
{
    if (RebuildSceneSurface(640, 480, FALSE)) DrawListSurface();
}

void cStageSelectScene::DrawListSurface()
{
    DDSURFACEDATA* page = SceneSurface();
    if (!page) return;
    const cSystemData& system = g_SystemData;
    const cSaveData& save = g_SaveData;
    g_Font[2].DrawWindow(page, 1, 1, 638, 478);
    const std::string& heading = system.m_TitleMenu.At(GAMEMODE_CHALLENGE).m_strLabel;
    g_Font[2].Printf(page, 320 - CountMbChars(heading.c_str()) * 16, 32, "%s", heading.c_str());
    if (system.m_bSelectShowTotal && save.m_nBestTotal > 0) {
        const std::string& text = system.m_Texts.At(kSelectTotalText);
        const int w = (CountMbChars(text.c_str()) + DecimalDigits(save.m_nBestTotal)) * 16;
        g_Font[1].Printf(page, 320 - w / 2, 88, "%s%d", text.c_str(), save.m_nBestTotal);
    }
    if (!save.m_bRankingView && system.m_bSelectShowHighScore)
        g_Font[2].Printf(page, 32, 128, "         %s", system.m_Texts.At(kSelectHighScoreText).c_str());

    UpdateListExtent();
    const std::string& stageText = system.m_Texts.At(kSelectStageText);
    const int markX = (CountMbChars(stageText.c_str()) + 4) * 32;
    for (int r = 0; r < m_nRows; ++r) {
        const int i = m_nTop + r;
        const int y = kSelectListY + kSelectRowHeight * r;
        g_Font[2].Printf(page, 64, y, "%s%d", stageText.c_str(), i + 1);
        const cChallengeStageData* record = ChallengeRecordAt(i);
        if (record && record->m_bCleared)
            DDBltFast(page, markX, y, 32, 32, &g_StdSurface[kAccessoryPicture], 96, 0, DDBLTFAST_SRCCOLORKEY);
        if (system.m_bSelectShowHighScore) g_Font[2].Printf(page, markX + 64, y, "%d", record ? record->m_nBest : 0);
    }
    if (ChallengeRanks() && save.m_bRankingView)
        g_RankingData.Draw(page, kSelectRankingX, kSelectRankingY, save.m_nRankingKind, -1, g_GameManager.m_nPlayMode);
}

void cStageSelectScene::DrawScreen()
{
    if (TakeSceneSurfaceLost()) DrawListSurface();
    if (DDSURFACEDATA* page = SceneSurface()) DDBltFast(&g_BackBuffer, 0, 0, 640, 480, page, 0, 0, 0);
    AnimatePaletteColors();
}

void cStageSelectScene::FadeIn()
{
    if (IsEightBitColour()) DrawListSurface();
    DrawScreen();
    if (FrontEndFadeInStep()) m_nState = SELECT_LIST;
}

void cStageSelectScene::FadeOut() { FrontEndFadeOutStep(SCENE_STAGESELECT, true); }

void cStageSelectScene::StartStage(int row)
{
    const std::string name = StageFileName(row + 1);
    // A stage that cannot be played is only refused: the list stays, whatever the file holds.
    if (!LoadStage(name.c_str(), 1, &g_StageBackup, false)) {
        PlaySe(3);
        ErrorBoxF("ステージファイル %s が読み込めません！", name.c_str());
        return;
    }
    PlaySe(1);
    cSaveData& save = g_SaveData;
    save.SetStageFile(g_StageData.m_strPath.c_str());
    save.m_nSeriesNumber = 1;
    save.m_nClearSwitch = row + 1;
    if (g_SystemData.m_UnlimitedLives.At(PLAYMODE_CHALLENGE) != 0) {
        save.m_nStartLives = kUnlimitedLives;
        save.m_nLives = kUnlimitedLives;
    } else {
        save.m_nStartLives = g_SystemData.m_StartLives.At(PLAYMODE_CHALLENGE);
        save.m_nLives = WrapSub(save.m_nStartLives, 1);
    }
    // The next part of the series follows each clear.
    save.m_bSeries = 1;
    g_GameManager.m_nStageSelectRow = row;
    g_GameManager.m_nStageSelectTop = m_nTop;
    g_GameManager.m_nNextScene = SCENE_PLAY;
    g_GameManager.m_nPrevScene = SCENE_STAGESELECT;
    m_nState = SELECT_FADEOUT;
}

void cStageSelectScene::RankingKeys(int buttons)
{
    if (ApplyRankingButtons(buttons, PLAYMODE_CHALLENGE)) DrawListSurface();
}

void cStageSelectScene::StateSelect()
{
    const cInput& input = g_Input.At(0);
    UpdateListExtent();
    g_MenuCursor.MoveList(input.m_wDirection, 1, m_nTop, kSelectListY, kSelectRowHeight, kSelectCursorX, m_nRows, m_nCount, 1);
    DS_PlayOnDirectionKey(input.m_wDirection, 3, 0);
    const int row = g_MenuCursor.m_pCurrent->nRow;
    if (input.m_wDirection != 0) {
        SelectStageForRanking(row + 1);
        DrawListSurface();
    }
    // An empty list (no challenge stage) has nothing to start.
    if ((input.m_wButton & 1) && m_nCount > 0) {
        StartStage(row);
        if (m_nState != SELECT_LIST) return;
    }
    if (input.m_wButton & 2) {
        PlaySe(2);
        g_GameManager.m_nNextScene = SCENE_TITLE;
        g_GameManager.m_nPrevScene = SCENE_STAGESELECT;
        m_nState = SELECT_FADEOUT;
        return;
    }
    RankingKeys(input.m_wButton);
    DrawScreen();
    DrawLargeCursor(*g_MenuCursor.m_pCurrent);
}
