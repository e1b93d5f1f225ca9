// What the world map draws: the map into its work picture, the walker, the lives box, the
// entry's name, best value and ranking panel.
#include <algorithm>
#include <cstring>
#include <string>

#include "data/ranking_data.h"
#include "data/save_data.h"
#include "data/system_data.h"
#include "data/world_map_data.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/fill.h"
#include "graphics/font.h"
#include "graphics/sprite_batch.h"
#include "graphics/standard_surfaces.h"
#include "play/game_manager.h"
#include "scenes/menu_drawing.h"
#include "scenes/world_map_scene.h"

namespace {

constexpr int kCell = 32;
constexpr int kRankingPanelX = 367;
constexpr int kRankingPanelY = 64;
constexpr int kBestValueText = 2;

// The walking frames: a program-wide count of the walker's draws, 40 draws a frame.
int s_nWalkerDraws = 0;

bool RankingShown()
{
    return g_SystemData.m_ModeResults.At(PLAYMODE_STORY).m_bEnabled && g_SaveData.m_bRankingView;
}

// A text window of one 16-dot line, w wide, centred on x 304.
void DrawCentredLine(int y, int w, const std::string& line)
{
    g_Font[1].PrintfWindow(&g_BackBuffer, 304 - w / 2, y, w, 16, "%s", line.c_str());
}

}  // namespace

void cWorldMapScene::DrawMapSurface()
{
    const cWorldMapData& map = g_WorldMapData;
    DDSURFACEDATA* work = &g_StdSurface[kWorkPicture];
    m_bMapDrawn = true;
    m_nDrawnScrollX = m_nScrollX;
    m_nDrawnScrollY = m_nScrollY;
    DDFillSurfacePal(work, static_cast<DWORD>(std::clamp(map.m_nBackColor, 0, 255)));
    DDSURFACEDATA* back = &g_StdSurface[kWorldBackPicture];
    // The background picture is optional: without one only the colour shows.
    if (map.m_bPicture && HasDeviceSurface(back)) {
        const int sx = m_nScrollX >= 0 ? m_nScrollX * kCell : 0, dx = m_nScrollX >= 0 ? 0 : -m_nScrollX * kCell;
        const int sy = m_nScrollY >= 0 ? m_nScrollY * kCell : 0, dy = m_nScrollY >= 0 ? 0 : -m_nScrollY * kCell;
        DDBltFast(work, dx, dy, 640, 480, back, sx, sy, 0);
    }
    DDSURFACEDATA* chips = &g_StdSurface[kWorldChipPicture];
    DDBeginSpriteBatch(FALSE);
    for (int row = 0; row < 15; ++row) {
        for (int column = 0; column < 20; ++column) {
            const int x = m_nScrollX + column, y = m_nScrollY + row;
            if (x < 0 || y < 0 || x >= map.m_nWidth || y >= map.m_nHeight) continue;
            const int c = map.m_Chips.At(map.ChipAt(x, y)).m_nPicture;
            DDBltFast(work, column * kCell, row * kCell, kCell, kCell, chips, c % 5 * kCell, c / 5 * kCell,
                      DDBLTFAST_SRCCOLORKEY);
        }
    }
    DDEndSpriteBatch();
    DDSURFACEDATA* events = &g_StdSurface[kWorldEventPicture];
    DDBeginSpriteBatch(FALSE);
    for (const cWorldPointData& point : map.m_Points) {
        const cWorldStageData* entry = FindOpenEntry(&point);
        if (!entry) continue;
        DDBltFast(work, (point.m_nX - m_nScrollX) * kCell, (point.m_nY - m_nScrollY) * kCell, kCell, kCell, events,
                  IsEntryCleared(entry) ? kCell : 0, entry->m_nIcon * kCell, DDBLTFAST_SRCCOLORKEY);
    }
    DDEndSpriteBatch();
}

void cWorldMapScene::DrawWalker()
{
    static constexpr int kSource[4][2] = {{0, 64}, {64, 64}, {64, 96}, {0, 96}};  // down, up, left, right
    const int facing = m_nFacing >= 0 && m_nFacing < 4 ? m_nFacing : 0;
    ++s_nWalkerDraws;
    const int sx = kSource[facing][0] + (s_nWalkerDraws > 40 ? kCell : 0);
    if (s_nWalkerDraws >= 80) s_nWalkerDraws = 0;
    DDBltFast(&g_BackBuffer, 288, 224, kCell, kCell, &g_StdSurface[kAccessoryPicture], sx, kSource[facing][1],
              DDBLTFAST_SRCCOLORKEY);
}

void cWorldMapScene::CreateRankingSurface()
{
    if (RebuildSceneSurface(272, 352, TRUE)) DrawRankingSurface();
}

void cWorldMapScene::DrawRankingSurface()
{
    if (DDSURFACEDATA* panel = SceneSurface())
        g_RankingData.Draw(panel, 0, 0, g_SaveData.m_nRankingKind, -1, g_GameManager.m_nPlayMode);
}

void cWorldMapScene::DrawScreen(int showInfo)
{
    DDSURFACEDATA* work = &g_StdSurface[kWorkPicture];
    if (work->bLost) {
        work->bLost = FALSE;
        DrawMapSurface();
    }
    DDBltFast(&g_BackBuffer, 0, 0, 640, 480, work, 0, 0, 0);
    DrawWalker();

    const cSystemData& system = g_SystemData;
    if (system.m_bMapShowLives) {
        const int lives = g_SaveData.m_nLives;
        const bool unlimited = lives == kUnlimitedLives;
        const int w = ((unlimited ? 1 : DecimalDigits(lives)) + 1) * 16;
        const int x = 621 - w;
        g_Font[1].DrawWindow(&g_BackBuffer, x, 17, w, 20);
        DDBltFast(&g_BackBuffer, x, 19, 16, 16, &g_StdSurface[kAccessoryPicture], 0, 48, DDBLTFAST_SRCCOLORKEY);
        if (unlimited) g_Font[1].Printf(&g_BackBuffer, x + 16, 19, "%s", "∞");
        else g_Font[1].Printf(&g_BackBuffer, x + 16, 19, "%d", lives);
    }
    if (!showInfo || !IsStageEntry(m_pEntry)) return;

    if (RankingShown()) {
        if (TakeSceneSurfaceLost()) DrawRankingSurface();
        if (DDSURFACEDATA* panel = SceneSurface())
            DDBltFast(&g_BackBuffer, kRankingPanelX, kRankingPanelY, panel->nWidth, panel->nHeight, panel, 0, 0, 0);
    }
    const bool bestShown = system.m_bMapShowScore && m_nBestValue > 0;
    const int y = bestShown ? 184 : 204;
    const std::string& name = m_pEntry->m_strLabel;
    const int nameLength = CountMbChars(name.c_str());
    if (nameLength >= 1) DrawCentredLine(y, nameLength * 16, name);
    if (bestShown) {
        const std::string& text = system.m_Texts.At(kBestValueText);
        DrawCentredLine(y + 20, (CountMbChars(text.c_str()) + DecimalDigits(m_nBestValue)) * 16,
                        text + std::to_string(m_nBestValue));
    }
}
