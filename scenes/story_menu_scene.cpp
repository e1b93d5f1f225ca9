#include "scenes/story_menu_scene.h"

#include <algorithm>
#include <string>

#include "data/save_data.h"
#include "data/system_data.h"
#include "graphics/device.h"
#include "graphics/effect_blit.h"
#include "graphics/fill.h"
#include "graphics/font.h"
#include "graphics/standard_surfaces.h"
#include "play/game_manager.h"
#include "play/menu_cursor.h"
#include "play/palette_colors.h"
#include "scenes/menu_drawing.h"
#include "scenes/menu_items.h"
#include "shell/error_box.h"
#include "shell/game_requests.h"
#include "shell/input.h"
#include "sound/direct_sound.h"

namespace {

constexpr WORD kStoryOneShotButtons = 3;

constexpr int kStoryPictures[] = {kWindowPicture, kSymbolPicture, kAccessoryPicture};
constexpr int kStoryPictureCount = static_cast<int>(std::size(kStoryPictures));

constexpr int kItemsX = 264;
constexpr int kItemsY = 192;
constexpr int kSlots = 99;

// Texts of the System record's system text list.
constexpr int kTotalScoreText = 4;
constexpr int kSaveQuestion = 12;
constexpr int kAutoSaveQuestion = 14;
constexpr int kNoSlotNotice = 16;
constexpr int kTitleQuestion = 17;

enum { STORY_FADEIN, STORY_MENU, STORY_SAVE, STORY_AUTOSAVE, STORY_TOMAP, STORY_TOTITLE, STORY_FADEOUT };

void ClearScreen() { DDFillSurfacePal(&g_BackBuffer, 16); }

void DrawSlotList(int top, int rows)
{
    DrawSaveSlotList(&g_BackBuffer, kSlotListX, kSlotListY, g_SaveSlots, top, rows);
}

// Saves the progress into a slot: true on success. A file that cannot be written says so, and
// the record keeps the slot and the auto-save switch it had.
bool SaveIntoSlot(int slot, int autoSave)
{
    cSaveData& save = g_SaveData;
    const int previousSlot = save.m_nSaveSlot;
    const int previousAutoSave = save.m_bAutoSave;
    save.m_nSaveSlot = slot;
    save.m_bAutoSave = autoSave;
    if (save.SaveSlot(slot)) return true;
    save.m_nSaveSlot = previousSlot;
    save.m_bAutoSave = previousAutoSave;
    ErrorBoxF("%s に保存できませんでした！", SaveSlotPath(slot).c_str());
    return false;
}

}  // namespace

cStoryMenuScene::cStoryMenuScene()
{
    m_States = {&cScene::CallFadeIn,
                static_cast<STATEHANDLER>(&cStoryMenuScene::StateMenu),
                static_cast<STATEHANDLER>(&cStoryMenuScene::StateSave),
                static_cast<STATEHANDLER>(&cStoryMenuScene::StateAutoSave),
                static_cast<STATEHANDLER>(&cStoryMenuScene::StateBackToMap),
                static_cast<STATEHANDLER>(&cStoryMenuScene::StateBackToTitle),
                &cScene::CallFadeOut};
    m_nSubState = 0;
}

cStoryMenuScene::~cStoryMenuScene() { ReleaseFrontEndPictures(kStoryPictures, kStoryPictureCount, false); }

void cStoryMenuScene::Run() { RunFrontEndFrame(kStoryOneShotButtons); }

void cStoryMenuScene::Init()
{
    // The world map's music: coming from the map does not start it again.
    BeginFrontEndInit(1, kStoryPictures, kStoryPictureCount);
    m_nItemCount = CollectEnabledItems(g_SystemData.m_StoryMenu, kMaxItems, m_nItems, 0);
    g_MenuCursor.Reset();
}

void cStoryMenuScene::DrawItems()
{
    int longest = 0;
    for (int k = 0; k < m_nItemCount; ++k)
        longest = std::max(longest, CountMbChars(g_SystemData.m_StoryMenu.At(m_nItems[k]).m_strLabel.c_str()));
    DDBltWithFrame(&g_BackBuffer, kItemsX, kItemsY, (longest + 1) * 16, m_nItemCount * 16,
                   &g_StdSurface[kWindowPicture], 1, 240);
    for (int k = 0; k < m_nItemCount; ++k)
        g_Font[1].Printf(&g_BackBuffer, kItemsX + 16, kItemsY + 16 * k, "%s",
                         g_SystemData.m_StoryMenu.At(m_nItems[k]).m_strLabel.c_str());
}

void cStoryMenuScene::DrawTotalScore()
{
    const int total = g_SaveData.m_nBestTotal;
    if (!g_SystemData.m_bMenuShowTotal || total <= 0) return;
    const std::string& text = g_SystemData.m_Texts.At(kTotalScoreText);
    const int w = (CountMbChars(text.c_str()) + DecimalDigits(total)) * 16;
    g_Font[1].PrintfWindow(&g_BackBuffer, 320 - w / 2, 260, w, 16, "%s%d", text.c_str(), total);
}

void cStoryMenuScene::DrawScreen()
{
    ClearScreen();
    DrawItems();
    DrawTotalScore();
    AnimatePaletteColors();
}

void cStoryMenuScene::FadeIn()
{
    DrawScreen();
    DrawSmallCursor(CURSORPOS{0, 0, kItemsX, kItemsY});
    if (FrontEndFadeInStep()) m_nState = STORY_MENU;
}

void cStoryMenuScene::FadeOut()
{
    if (FrontEndFadeOutStep(SCENE_STORYMENU, false)) m_nState = -1;
}

void cStoryMenuScene::StateMenu()
{
    const cInput& input = g_Input.At(0);
    g_MenuCursor.MoveGrid(input.m_wDirection, kItemsX, kItemsY, 0, 16, 1, m_nItemCount);
    DS_PlayOnDirectionKey(input.m_wDirection, 2, 0);
    if (input.m_wButton & 1) {
        PlaySe(1);
        m_nState = m_nItems[std::clamp(g_MenuCursor.m_pCurrent->nRow, 0, m_nItemCount - 1)] + STORY_SAVE;
        g_MenuCursor.Push(0);
        return;
    }
    if (input.m_wButton & 2) {
        PlaySe(2);
        m_nState = STORY_TOMAP;
        return;
    }
    DrawScreen();
    DrawSmallCursor(*g_MenuCursor.m_pCurrent);
}

void cStoryMenuScene::StateSave()
{
    const cInput& input = g_Input.At(0);
    if (m_nSubState == 0) {
        // A slot of -1 (never saved) is clamped to row 0 by the list move.
        *g_MenuCursor.m_pCurrent = CURSORPOS{};
        g_MenuCursor.m_pCurrent->nRow = g_SaveData.m_nSaveSlot;
        LoadSaveSlotList(g_SaveSlots);
        m_nSlotRows = std::min(kSlots, 10);
        m_nSlotTop = g_SaveData.m_nSaveSlot;
        m_nSubState = 1;
    }
    if (m_nSubState == 1) {
        g_MenuCursor.MoveList(input.m_wDirection, 1, m_nSlotTop, kSlotListY, 16, kSlotListX, m_nSlotRows, kSlots, 1);
        DS_PlayOnDirectionKey(input.m_wDirection, 3, 0);
        if (input.m_wButton & 1) {
            PlaySe(1);
            g_MenuCursor.Push(0);
            m_nSubState = 2;
            // The question starts on its second answer.
            g_MenuCursor.m_pCurrent->nRow = 1;
            return;
        }
        if (input.m_wButton & 2) {
            PlaySe(2);
            g_MenuCursor.Pop(1);
            m_nState = STORY_MENU;
            m_nSubState = 0;
            return;
        }
        ClearScreen();
        DrawSlotList(m_nSlotTop, m_nSlotRows);
        DrawSmallCursor(*g_MenuCursor.m_pCurrent);
        return;
    }
    if (m_nSubState != 2) return;
    const int x = MoveQuestion(input.m_wDirection, 320, 400, kSaveQuestion);
    if (input.m_wButton & 1) {
        if (g_MenuCursor.m_pCurrent->nRow == 0) {
            PlaySe(5);
            SaveIntoSlot(g_MenuCursor.m_pParent->nRow, g_SaveData.m_bAutoSave);
        } else {
            PlaySe(1);
        }
        g_MenuCursor.Pop(1);
        m_nSubState = 1;
        return;
    }
    if (input.m_wButton & 2) {
        PlaySe(2);
        g_MenuCursor.Pop(1);
        m_nSubState = 1;
        return;
    }
    ClearScreen();
    DrawSlotList(m_nSlotTop, m_nSlotRows);
    DrawTextList(&g_BackBuffer, x, 400, kSaveQuestion, 2, 1);
    DrawParentCursor(*g_MenuCursor.m_pParent);
    DrawSmallCursor(*g_MenuCursor.m_pCurrent);
}

void cStoryMenuScene::StateAutoSave()
{
    const cInput& input = g_Input.At(0);
    if (m_nSubState == 0) {
        *g_MenuCursor.m_pCurrent = CURSORPOS{};
        g_MenuCursor.m_pCurrent->nRow = g_SaveData.m_bAutoSave ? 0 : 1;
        m_nSubState = g_SaveData.m_nSaveSlot == -1 ? 2 : 1;
        return;
    }
    if (m_nSubState == 1) {
        const int x = MoveQuestion(input.m_wDirection, 320, 224, kAutoSaveQuestion);
        if (input.m_wButton & 1) {
            PlaySe(1);
            // Switched on before the slot is written, so that the file says it is on.
            if (g_MenuCursor.m_pCurrent->nRow == 0) SaveIntoSlot(g_SaveData.m_nSaveSlot, 1);
            else g_SaveData.m_bAutoSave = 0;
        } else if (input.m_wButton & 2) {
            PlaySe(2);
        } else {
            ClearScreen();
            DrawQuestion(x, 224, kAutoSaveQuestion);
            return;
        }
        g_MenuCursor.Pop(1);
        m_nState = STORY_MENU;
        m_nSubState = 0;
        return;
    }
    if (m_nSubState != 2) return;
    if (input.m_wButton & 3) {
        PlaySe(input.m_wButton & 1 ? 1 : 2);
        g_MenuCursor.Pop(1);
        m_nState = STORY_MENU;
        m_nSubState = 0;
        return;
    }
    ClearScreen();
    DrawTextList(&g_BackBuffer, GetTextListX(320, kNoSlotNotice, 1, 0), 232, kNoSlotNotice, 1, 0);
}

void cStoryMenuScene::StateBackToMap()
{
    m_nSubState = 0;
    g_GameManager.m_nNextScene = SCENE_WORLDMAP;
    m_nState = STORY_FADEOUT;
}

void cStoryMenuScene::StateBackToTitle()
{
    const cInput& input = g_Input.At(0);
    if (m_nSubState == 0) {
        *g_MenuCursor.m_pCurrent = CURSORPOS{};
        g_MenuCursor.m_pCurrent->nRow = 1;
        m_nSubState = 1;
    }
    if (m_nSubState != 1) return;
    const int x = MoveQuestion(input.m_wDirection, 320, 224, kTitleQuestion);
    if (input.m_wButton & 1) {
        PlaySe(1);
        if (g_MenuCursor.m_pCurrent->nRow == 0) {
            // Nothing is saved.
            g_GameManager.m_nNextScene = SCENE_TITLE;
            m_nState = STORY_FADEOUT;
            return;
        }
    } else if (input.m_wButton & 2) {
        PlaySe(2);
    } else {
        ClearScreen();
        DrawQuestion(x, 224, kTitleQuestion);
        return;
    }
    g_MenuCursor.Pop(1);
    m_nState = STORY_MENU;
    m_nSubState = 0;
}
