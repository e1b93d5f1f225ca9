#include "scenes/title_scene.h"

#include <algorithm>

#include "data/save_data.h"
#include "data/system_data.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/effect_blit.h"
#include "graphics/fill.h"
#include "graphics/font.h"
#include "graphics/standard_surfaces.h"
#include "platform/os/timer.h"
#include "play/free_play.h"
#include "play/game_manager.h"
#include "play/menu_cursor.h"
#include "play/palette_colors.h"
#include "play/replay_state.h"
#include "scenes/menu_drawing.h"
#include "scenes/menu_items.h"
#include "shell/error_box.h"
#include "shell/game_requests.h"
#include "shell/input.h"
#include "shell/shared_flags.h"
#include "sound/direct_sound.h"

namespace {

// Decide and cancel report only on the frame they are pressed.
constexpr WORD kTitleOneShotButtons = 3;

constexpr int kTitlePictures[] = {kTitlePicture, kGameModePicture, kAccessoryPicture, kWindowPicture};
constexpr int kTitlePictureCount = static_cast<int>(std::size(kTitlePictures));

constexpr int kSlotListRows = 10;

int ModeRanking(int playMode) { return g_SystemData.m_ModeResults.At(playMode).m_bEnabled; }

// A challenge begins from its record, or anew with one open record per challenge stage.
void PrepareChallenge()
{
    if (g_SaveData.LoadChallenge()) return;
    g_SaveData.Reset();
    g_SaveData.m_ChallengeStages.assign(static_cast<std::size_t>(std::max(0, g_SystemData.m_nChallengeStages)),
                                        cChallengeStageData());
}

}  // namespace

cTitleScene::cTitleScene()
{
    m_States = {&cScene::CallFadeIn, static_cast<STATEHANDLER>(&cTitleScene::StateMainMenu),
                static_cast<STATEHANDLER>(&cTitleScene::StateContinueSlots), &cScene::CallFadeOut};
}

cTitleScene::~cTitleScene() { ReleaseFrontEndPictures(kTitlePictures, kTitlePictureCount, true); }

void cTitleScene::Run() { RunFrontEndFrame(kTitleOneShotButtons); }

void cTitleScene::Init()
{
    BeginFrontEndInit(0, kTitlePictures, kTitlePictureCount);
    g_MenuCursor.Reset();
    m_nItemCount = CollectEnabledItems(g_SystemData.m_TitleMenu, kMaxItems, m_nItems, GAMEMODE_NEWSTORY);
    // The cursor comes back on the mode chosen last; a mode not shown keeps its value, which
    // the first move wraps.
    int row = g_GameManager.m_nGameMode;
    for (int k = 0; k < m_nItemCount; ++k)
        if (m_nItems[k] == g_GameManager.m_nGameMode) row = k;
    g_MenuCursor.m_pCurrent->nRow = row;
    if (g_SystemData.m_bMenuPictures) m_nMenuX = 288 - g_StdSurface[kGameModePicture].nWidth / 2;
    CreateMenuSurface();
    m_nSubState = 0;
}

void cTitleScene::CreateMenuSurface()
{
    int width = 0;
    if (g_SystemData.m_bMenuPictures) {
        width = g_StdSurface[kGameModePicture].nWidth + 32;
    } else {
        int longest = 0;
        for (int k = 0; k < m_nItemCount; ++k)
            longest = std::max(longest, CountMbChars(g_SystemData.m_TitleMenu.At(m_nItems[k]).m_strLabel.c_str()));
        width = longest * 32 + 34;
    }
    if (RebuildSceneSurface(width, m_nItemCount * 32 + 2, TRUE)) DrawMenuSurface();
}

void cTitleScene::DrawMenuSurface()
{
    DDSURFACEDATA* surface = SceneSurface();
    if (!surface) return;
    // Transparent first: what the rows or the window face leave uncovered is not drawn.
    DDFillSurfacePal(surface, 0);
    if (g_SystemData.m_bMenuPictures) {
        DDSURFACEDATA* strips = &g_StdSurface[kGameModePicture];
        for (int k = 0; k < m_nItemCount; ++k)
            DDBltFast(surface, 32, 32 * k, strips->nWidth, 32, strips, 0, m_nItems[k] * 32, 0);
        return;
    }
    DDBltWithFrame(surface, 1, 1, surface->nWidth - 2, surface->nHeight - 2, &g_StdSurface[kWindowPicture], 1, 240);
    for (int k = 0; k < m_nItemCount; ++k)
        g_Font[2].Printf(surface, 32, 32 * k, "%s", g_SystemData.m_TitleMenu.At(m_nItems[k]).m_strLabel.c_str());
}

void cTitleScene::DrawScreen()
{
    DDBltFast(&g_BackBuffer, 0, 0, 640, 480, &g_StdSurface[kTitlePicture], 0, 0, 0);
    if (TakeSceneSurfaceLost()) DrawMenuSurface();
    if (DDSURFACEDATA* surface = SceneSurface())
        DDBltFast(&g_BackBuffer, m_nMenuX, m_nMenuY, surface->nWidth, surface->nHeight, surface, 0, 0,
                  DDBLTFAST_SRCCOLORKEY);
    AnimatePaletteColors();
}

void cTitleScene::FadeIn()
{
    if (IsEightBitColour()) DrawMenuSurface();
    DrawScreen();
    if (FrontEndFadeInStep()) m_nState = 1;
}

void cTitleScene::FadeOut()
{
    FrontEndFadeOutStep(SCENE_TITLE, true);
}

int cTitleScene::RequestStageLoad()
{
    g_bRequestDone.store(0);
    SendMessageA(g_hWnd.load(), WM_GAME_OPENSTAGE, 0, 0);
    // The window thread sets the flag before the send returns; a window that is gone (the
    // program closing) answers nothing, and nothing was chosen.
    while (!g_bRequestDone.load() && g_hWnd.load()) Sleep(1);
    return g_bRequestDone.load() && g_bFileChosen.load() ? 1 : 0;
}

void cTitleScene::StateMainMenu()
{
    const cInput& input = g_Input.At(0);
    g_MenuCursor.MoveGrid(input.m_wDirection, m_nMenuX, m_nMenuY, 0, 32, 1, m_nItemCount);
    DS_PlayOnDirectionKey(input.m_wDirection, 2, 0);
    if (!(input.m_wButton & 1)) {
        DrawScreen();
        DrawLargeCursor(*g_MenuCursor.m_pCurrent);
        return;
    }
    PlaySe(1);
    const int row = std::clamp(g_MenuCursor.m_pCurrent->nRow, 0, m_nItemCount - 1);
    g_GameManager.m_nGameMode = m_nItems[row];
    switch (g_GameManager.m_nGameMode) {
    case GAMEMODE_NEWSTORY:
        g_GameManager.m_nPlayMode = PLAYMODE_STORY;
        g_GameManager.m_bRanking = ModeRanking(PLAYMODE_STORY);
        NewStoryReset();
        g_GameManager.m_nNextScene = SCENE_WORLDMAP;
        m_nState = 3;
        break;
    case GAMEMODE_CONTINUE:
        g_GameManager.m_nPlayMode = PLAYMODE_STORY;
        g_GameManager.m_bRanking = ModeRanking(PLAYMODE_STORY);
        g_MenuCursor.Push(0);
        m_nState = 2;
        m_nSubState = 0;
        break;
    case GAMEMODE_CHALLENGE:
        g_GameManager.m_nPlayMode = PLAYMODE_CHALLENGE;
        g_GameManager.m_bRanking = ModeRanking(PLAYMODE_CHALLENGE);
        PrepareChallenge();
        g_GameManager.m_nNextScene = SCENE_STAGESELECT;
        m_nState = 3;
        break;
    case GAMEMODE_FREEPLAY:
        g_GameManager.m_nPlayMode = PLAYMODE_FREEPLAY;
        g_GameManager.m_bRanking = ModeRanking(PLAYMODE_FREEPLAY);
        if (!RequestStageLoad()) break;
        g_GameManager.m_nNextScene = SCENE_PLAY;
        m_nState = 3;
        break;
    case GAMEMODE_REPLAY:
        g_GameManager.m_nPlayMode = PLAYMODE_REPLAY;
        g_GameManager.m_bRanking = ModeRanking(PLAYMODE_REPLAY);
        if (!RequestReplayLoad()) break;
        g_GameManager.m_nNextScene = SCENE_PLAY;
        m_nState = 3;
        break;
    case GAMEMODE_OPTIONS:
        g_GameManager.m_nNextScene = SCENE_OPTION;
        m_nState = 3;
        break;
    default:
        // Quit: the scene stays on its menu until the close sequence ends the program.
        PostMessageA(g_hWnd.load(), WM_CLOSE, 0, 0);
        break;
    }
}

void cTitleScene::StateContinueSlots()
{
    if (m_nSubState == 0) {
        *g_MenuCursor.m_pCurrent = CURSORPOS{};
        m_nSlotTop = 0;
        LoadSaveSlotList(g_SaveSlots);
        m_nSubState = 1;
    }
    if (m_nSubState != 1) return;
    const cInput& input = g_Input.At(0);
    const int slots = static_cast<int>(g_SaveSlots.size());
    m_nSlotRows = std::min(slots, kSlotListRows);
    g_MenuCursor.MoveList(input.m_wDirection, 1, m_nSlotTop, kSlotListY, 16, kSlotListX, m_nSlotRows, slots, 1);
    DS_PlayOnDirectionKey(input.m_wDirection, 3, 0);
    const int row = g_MenuCursor.m_pCurrent->nRow;
    if (input.m_wButton & 1) {
        if (!g_SaveSlots.At(row).m_bUsed) {
            PlaySe(3);
            return;
        }
        // A slot whose file went bad since the list was read is refused: the progress in hand
        // would otherwise enter the map as if it were the slot's.
        if (!g_SaveData.LoadSlot(row)) {
            PlaySe(3);
            ErrorBoxF("%s の読み込みに失敗しました！", SaveSlotPath(row).c_str());
            LoadSaveSlotList(g_SaveSlots);
            return;
        }
        PlaySe(1);
        g_GameManager.m_nNextScene = SCENE_WORLDMAP;
        m_nState = 3;
        return;
    }
    if (input.m_wButton & 2) {
        PlaySe(2);
        g_MenuCursor.Pop(1);
        m_nState = 1;
        m_nSubState = 0;
        return;
    }
    DDBltFast(&g_BackBuffer, 0, 0, 640, 480, &g_StdSurface[kTitlePicture], 0, 0, 0);
    AnimatePaletteColors();
    DrawSaveSlotList(&g_BackBuffer, kSlotListX, kSlotListY, g_SaveSlots, m_nSlotTop, m_nSlotRows);
    DrawSmallCursor(*g_MenuCursor.m_pCurrent);
}
