// What the stage draws over its picture: the status bar at the top, the remaining time under it
// and the line of text at the bottom.
#include <algorithm>
#include <cstdint>
#include <string>

#include "data/role_accessors.h"
#include "data/save_data.h"
#include "data/stage_data.h"
#include "data/system_data.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/effect_blit.h"
#include "graphics/font.h"
#include "graphics/standard_surfaces.h"
#include "objects/hero.h"
#include "platform/video/ddraw.h"
#include "play/gauge_warning.h"
#include "play/play_scene.h"
#include "shell/game_requests.h"
#include "shell/shared_flags.h"
#include "shell/timing.h"

namespace {

constexpr int kStatusItems = 5;
constexpr int kGaugeWidth = 50;
constexpr int kTimeWarningSound = 13;
constexpr int kDirectPlayText = 26;    // "スペースキーで終了"
constexpr int kEditorPlayText = 25;    // "スペースキーでタイトルへ戻る"

enum { ITEM_TOTAL, ITEM_SCORE, ITEM_HP, ITEM_SP, ITEM_LIVES };

int CharsOf(const std::string& text) { return CountMbChars(text.c_str()); }

int ItemWidth(int item, const cStatusItemData& status)
{
    const int head = status.m_bIcon ? 16 : 16 * CharsOf(status.m_strLabel);
    const bool gauge = item == ITEM_HP || item == ITEM_SP;
    return head + (gauge ? kGaugeWidth : 16 * status.m_nDigits);
}

// The filled part of a gauge: the maximum may be anything a game sets, so the product is taken
// in 64 bits and the width kept inside the frame.
int GaugeFill(int value, int max)
{
    if (max == 0) return 0;
    const std::int64_t width = std::int64_t{value} * kGaugeWidth / max;
    return static_cast<int>(std::clamp<std::int64_t>(width, 0, kGaugeWidth));
}

void DrawIcon(DDSURFACEDATA* target, int x, int item)
{
    DDBltFast(target, x, 3, 16, 16, &g_StdSurface[kAccessoryPicture], 16 * item, 32, DDBLTFAST_SRCCOLORKEY);
}

// An icon and the value beside it, or the label and the value as one text.
void DrawCount(DDSURFACEDATA* target, int x, int item, const cStatusItemData& status, const char* value)
{
    if (status.m_bIcon) {
        DrawIcon(target, x, item);
        g_Font[1].Printf(target, x + 16, 3, "%s", value);
    } else {
        g_Font[1].Printf(target, x, 3, "%s%s", status.m_strLabel.c_str(), value);
    }
}

void DrawGauge(DDSURFACEDATA* target, int x, int item, const cStatusItemData& status, int value, int max)
{
    int e = 16;
    if (status.m_bIcon) {
        DrawIcon(target, x, item);
    } else {
        g_Font[1].Printf(target, x, 3, "%s", status.m_strLabel.c_str());
        e = 16 * CharsOf(status.m_strLabel);
    }
    DDSURFACEDATA* sheet = &g_StdSurface[kAccessoryPicture];
    const int sx = item == ITEM_HP ? 0 : 64;
    DDBltFast(target, x + e, 3, kGaugeWidth, 16, sheet, sx, 128, DDBLTFAST_SRCCOLORKEY);
    const int row = IsGaugeLow(item, value, max) ? 160 : 144;
    DDBltFast(target, x + e, 3, GaugeFill(value, max), 16, sheet, sx, row, DDBLTFAST_SRCCOLORKEY);
    if (status.m_bGaugeNumber) g_Font[0].Printf(target, x + e, 6, "%d", value);
}

}  // namespace

void cStageDraw::DrawStatusBar(DDSURFACEDATA* lpTarget)
{
    cPlayScene& scene = SceneOf(this);
    if (!scene.m_bStatusBar) return;
    cSafeVector<cStatusItemData>& items = g_SystemData.m_StatusItems;
    const int count = std::min(kStatusItems, static_cast<int>(items.size()));
    int shown = 0;
    int widths = 0;
    for (int i = 0; i < count; ++i) {
        if (!items.At(i).m_bShow) continue;
        ++shown;
        widths += ItemWidth(i, items.At(i));
    }
    if (shown == 0) return;
    const int spacing = (638 - widths) / (shown + 1);

    DDBltFast(lpTarget, 0, 0, 640, 20, &g_StdSurface[kStatusPicture], 0, 0, 0);
    const cHero* hero = Player.empty() ? nullptr : &Player.At(0);
    int x = spacing;
    for (int i = 0; i < count; ++i) {
        const cStatusItemData& status = items.At(i);
        if (!status.m_bShow) continue;
        switch (i) {
        case ITEM_TOTAL:
        case ITEM_SCORE:
            DrawCount(lpTarget, x, i, status, std::to_string(i == ITEM_TOTAL ? g_SaveData.m_nResult1 : g_SaveData.m_nScore).c_str());
            break;
        case ITEM_HP:
            DrawGauge(lpTarget, x, i, status, hero ? hero->m_nHp : 0, hero ? CharaMaxHp(hero->m_Def) : 0);
            break;
        case ITEM_SP:
            DrawGauge(lpTarget, x, i, status, hero ? hero->m_nSp : 0, hero ? CharaMaxSp(hero->m_Def) : 0);
            break;
        default: {
            const int lives = g_SaveData.m_nLives;
            DrawCount(lpTarget, x, i, status, lives == kUnlimitedLives ? "-" : std::to_string(lives).c_str());
            break;
        }
        }
        x += ItemWidth(i, status) + spacing;
    }
}

void cStageDraw::DrawTimeLeft(DDSURFACEDATA* lpTarget, int timer)
{
    cPlayScene& scene = SceneOf(this);
    if (scene.m_TimeLimit.m_bNoTimeLimit) return;
    DDDrawNumber(lpTarget, 272, 24, 32, 32, &g_StdSurface[kWordPicture], 0, 160, DDBLTFAST_SRCCOLORKEY, scene.m_TimeLimit.m_nTimeLeft, 3,
                 TRUE);
    // The warning sounds once a second: in the frame in which the shared counter has just
    // counted a second off.
    if (timer && scene.m_TimeLimit.m_nTimeLeft >= 1 && scene.m_TimeLimit.m_nTimeLeft <= g_StageData.m_nTimeWarning && CountEvery(2, 0))
        PlaySe(kTimeWarningSound);
}

void cStageDraw::DrawBottomLine()
{
    int text = -1;
    if (g_bTestPlay.load()) {
        text = kDirectPlayText;
    } else if (g_bEditorLaunch.load()) {
        text = kEditorPlayText;
    }
    cSafeVector<std::string>& texts = g_SystemData.m_Texts;
    if (text < 0 || text >= static_cast<int>(texts.size())) return;
    const std::string& line = texts.At(text);
    g_Font[1].DrawText(&g_BackBuffer, 320 - 8 * CharsOf(line), 456, line.c_str(), FALSE);
}
