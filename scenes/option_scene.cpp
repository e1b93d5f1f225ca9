#include "scenes/option_scene.h"

#include <algorithm>
#include <iterator>

#include "data/data_paths.h"
#include "data/option_data.h"
#include "data/system_data.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/standard_surfaces.h"
#include "platform/os/messages.h"
#include "platform/os/timer.h"
#include "play/game_manager.h"
#include "play/menu_cursor.h"
#include "play/palette_colors.h"
#include "scenes/menu_drawing.h"
#include "scenes/menu_items.h"
#include "shell/game_requests.h"
#include "shell/input.h"
#include "shell/log.h"
#include "shell/shared_flags.h"
#include "sound/bgm.h"
#include "sound/direct_sound.h"

namespace {

constexpr WORD kOptionOneShotButtons = 3;

constexpr int kOptionPictures[] = {kAccessoryPicture, kWindowPicture};
constexpr int kOptionPictureCount = static_cast<int>(std::size(kOptionPictures));

constexpr int kOptionRowsY = 96;
constexpr int kOptionRowHeight = 16;
constexpr int kOptionLabelX = 64;
constexpr int kOptionValueX = 208;
constexpr int kOptionItemCursorX = 48;
constexpr int kOptionValueCursorX = 192;
constexpr int kOptionRankingModes = 4;

enum { OPTION_FADEIN, OPTION_MENU, OPTION_FADEOUT };

// A ranking entry mode from a damaged or foreign file shows, and is edited, as mode 0.
int ShownRankingMode()
{
    const int mode = g_OptionData.m_nRankingMode;
    return mode >= 0 && mode < kOptionRankingModes ? mode : 0;
}

void SaveOptions()
{
    const char* path = g_DataPaths[DATAPATH_OPTION];
    // The options stay in memory either way; the player is told that the file kept its old ones.
    if (!g_OptionData.Save(path)) ReportLogBox("%s に保存できませんでした！", path);
}

}  // namespace

cOptionScene::cOptionScene()
{
    m_States = {&cScene::CallFadeIn, static_cast<STATEHANDLER>(&cOptionScene::StateMenu), &cScene::CallFadeOut};
}

cOptionScene::~cOptionScene() { ReleaseFrontEndPictures(kOptionPictures, kOptionPictureCount, true); }

void cOptionScene::Run() { RunFrontEndFrame(kOptionOneShotButtons); }

void cOptionScene::Init()
{
    BeginFrontEndInit(3, kOptionPictures, kOptionPictureCount);
    g_MenuCursor.Reset();
    m_nItemCount = CollectEnabledItems(g_SystemData.m_OptionMenu, ITEM_COUNT, m_nItems, ITEM_COLOR);
    CreateOptionSurface();
    m_nSubState = 0;
}

std::string cOptionScene::ValueText(int item)
{
    const cOptionData& options = g_OptionData;
    switch (item) {
    case ITEM_COLOR: return std::to_string(options.m_nWindowColor);
    case ITEM_BGM: return options.m_bBgm ? "ON" : "OFF";
    case ITEM_VOLUME: return std::to_string(options.m_nVolume);
    case ITEM_RANKINGMODE: {
        // A name list shorter than the modes shows nothing for the missing names.
        const cSafeVector<std::string>& names = g_SystemData.m_RankingModeNames;
        const std::size_t mode = static_cast<std::size_t>(ShownRankingMode());
        return mode < names.size() ? names[mode] : std::string();
    }
    case ITEM_NAME: return options.m_strName;
    default: return std::string();
    }
}

void cOptionScene::CreateOptionSurface()
{
    if (RebuildSceneSurface(640, 480, FALSE)) DrawOptionSurface();
}

void cOptionScene::DrawOptionSurface()
{
    DDSURFACEDATA* page = SceneSurface();
    if (!page) return;
    g_Font[2].DrawWindow(page, 1, 1, 638, 478);
    const std::string& heading = g_SystemData.m_TitleMenu.At(GAMEMODE_OPTIONS).m_strLabel;
    g_Font[2].Printf(page, 320 - CountMbChars(heading.c_str()) * 16, 32, "%s", heading.c_str());
    for (int k = 0; k < m_nItemCount; ++k) {
        const int item = m_nItems[k];
        const int y = kOptionRowsY + kOptionRowHeight * k;
        g_Font[1].Printf(page, kOptionLabelX, y, "%s", g_SystemData.m_OptionMenu.At(item).m_strLabel.c_str());
        g_Font[1].Printf(page, kOptionValueX, y, "%s", ValueText(item).c_str());
    }
}

void cOptionScene::DrawScreen()
{
    if (TakeSceneSurfaceLost()) DrawOptionSurface();
    if (DDSURFACEDATA* page = SceneSurface()) DDBltFast(&g_BackBuffer, 0, 0, 640, 480, page, 0, 0, 0);
    AnimatePaletteColors();
}

void cOptionScene::FadeIn()
{
    if (IsEightBitColour()) DrawOptionSurface();
    DrawScreen();
    if (FrontEndFadeInStep()) m_nState = OPTION_MENU;
}

void cOptionScene::FadeOut()
{
    // Cancel and the back item both leave this way: the options are always saved.
    if (!FrontEndFadeOutStep(SCENE_OPTION, true)) return;
    ApplyBgmSwitch();
    SaveOptions();
}

void cOptionScene::ApplyBgmSwitch()
{
    const int on = g_OptionData.m_bBgm;
    const int started = g_Bgm.IsStarted();
    if (started && on == 0) {
        g_Bgm.UnInit();
        g_GameManager.m_nBgm = 0;
    } else if (!started && on == 1) {
        g_Bgm.UnInit();
        g_Bgm.Init(1, g_BgmOggNames, g_BgmMidiNames, kBgmSlots);
        g_GameManager.m_nBgm = 0;
    }
}

void cOptionScene::ApplyValue()
{
    if (m_nEditItem == ITEM_COLOR) {
        LoadHbtPalette(g_OptionData.m_nWindowColor);
    } else if (m_nEditItem == ITEM_VOLUME) {
        const int volume = DS_VolumeOfLevel(g_OptionData.m_nVolume);
        for (DSSOUNDDATA& sound : g_SoundTable) DS_SetVolume(sound, 0, volume, 0);
    }
}

void cOptionScene::OpenNameDialog()
{
    g_bNameDialogDone.store(0);
    SendMessageA(g_hWnd.load(), WM_GAME_NAMEDIALOG, 0, 0);
    // The window thread sets the flag once the dialog has closed; a window that is gone (the
    // program closing) answers nothing.
    while (!g_bNameDialogDone.load() && g_hWnd.load()) Sleep(1);
    DrawOptionSurface();
}

void cOptionScene::ChooseItem(int item)
{
    m_nEditItem = item;
    cOptionData& options = g_OptionData;
    switch (item) {
    case ITEM_COLOR: m_pValue = &options.m_nWindowColor; m_nMin = 0; m_nMax = kWindowColors - 1; break;
    case ITEM_BGM: m_pValue = &options.m_bBgm; m_nMin = 0; m_nMax = 1; break;
    case ITEM_VOLUME: m_pValue = &options.m_nVolume; m_nMin = 0; m_nMax = kVolumeLevels - 1; break;
    case ITEM_RANKINGMODE: m_pValue = &options.m_nRankingMode; m_nMin = 0; m_nMax = kOptionRankingModes - 1; break;
    case ITEM_NAME:
        OpenNameDialog();
        return;
    default:
        g_GameManager.m_nNextScene = SCENE_TITLE;
        m_nSubState = 0;
        m_nState = OPTION_FADEOUT;
        return;
    }
    m_nSavedValue = *m_pValue;
    // A value from outside its range (a damaged file) is edited from the range's start, so the
    // steps below always land inside it.
    if (*m_pValue < m_nMin || *m_pValue > m_nMax) *m_pValue = m_nMin;
    g_MenuCursor.Push(0);
    m_nSubState = 2;
}

void cOptionScene::EditValue(int direction, int buttons)
{
    int& value = *m_pValue;
    if (direction & 4) {
        if (++value > m_nMax) value = m_nMin;
        ApplyValue();
        DrawOptionSurface();
    }
    if (direction & 8) {
        if (--value < m_nMin) value = m_nMax;
        ApplyValue();
        DrawOptionSurface();
    }
    DS_PlayOnDirectionKey(direction, 2, 0);
    if (buttons & 1) {
        PlaySe(1);
        g_MenuCursor.Pop(1);
        m_nSubState = 1;
        return;
    }
    if (buttons & 2) {
        PlaySe(2);
        value = m_nSavedValue;
        ApplyValue();
        g_MenuCursor.Pop(1);
        m_nSubState = 1;
        DrawOptionSurface();
        return;
    }
    DrawScreen();
    const CURSORPOS& parent = *g_MenuCursor.m_pParent;
    DrawParentCursor(parent);
    DrawSmallCursor(CURSORPOS{0, 0, kOptionValueCursorX, parent.nY});
}

void cOptionScene::StateMenu()
{
    const cInput& input = g_Input.At(0);
    if (m_nSubState == 0) {
        *g_MenuCursor.m_pCurrent = CURSORPOS{};
        m_nSubState = 1;
    }
    if (m_nSubState == 2) {
        EditValue(input.m_wDirection, input.m_wButton);
        return;
    }
    if (m_nSubState != 1) return;
    g_MenuCursor.MoveGrid(input.m_wDirection, kOptionItemCursorX, kOptionRowsY, 0, kOptionRowHeight, 1, m_nItemCount);
    DS_PlayOnDirectionKey(input.m_wDirection, 2, 0);
    if (input.m_wButton & 1) {
        PlaySe(1);
        ChooseItem(m_nItems[std::clamp(g_MenuCursor.m_pCurrent->nRow, 0, m_nItemCount - 1)]);
        return;
    }
    if (input.m_wButton & 2) {
        PlaySe(2);
        g_GameManager.m_nNextScene = SCENE_TITLE;
        m_nSubState = 0;
        m_nState = OPTION_FADEOUT;
        return;
    }
    DrawScreen();
    DrawSmallCursor(*g_MenuCursor.m_pCurrent);
}
