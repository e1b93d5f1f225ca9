// The world map's entries and its walker: which entry a point offers, and where a step goes.
#include <algorithm>
#include <span>

#include "data/save_data.h"
#include "data/world_map_data.h"
#include "scenes/world_map_scene.h"

namespace {

// A condition on a variable beyond the common variables fails, instead of stopping the game on
// a bad index or reading as 0.
bool NamesACommonVariable(const cWorldStageData& entry)
{
    return entry.m_nConditionVariable == 0 ||
           (entry.m_nConditionVariable > 0 && entry.m_nConditionVariable < kCommonVariables);
}

}  // namespace

const cWorldStageData* cWorldMapScene::FindOpenEntry(const cWorldPointData* point)
{
    if (!point) return nullptr;
    const cSaveData& save = g_SaveData;
    const std::size_t variables = std::min<std::size_t>(save.m_Variables.size(), kCommonVariables);
    const WORLDSTAGESTATE state{save.m_Switches, std::span<const int>(save.m_Variables.data(), variables),
                                save.m_nBestTotal};
    for (const cWorldStageData& entry : point->m_Stages)
        if (NamesACommonVariable(entry) && entry.IsOffered(state)) return &entry;
    return nullptr;
}

bool cWorldMapScene::IsEntryCleared(const cWorldStageData* entry)
{
    return entry && g_SaveData.m_Switches.At(entry->m_nClearSwitch) != 0;
}

bool cWorldMapScene::IsManualEntry(const cWorldStageData* entry)
{
    return entry && (entry->m_bPassThrough != 0 || IsEntryCleared(entry));
}

bool cWorldMapScene::IsStageEntry(const cWorldStageData* entry) { return entry && entry->m_nLock == kStageEntry; }

void cWorldMapScene::FindWalkerEntry()
{
    const CURSORPOS& cell = *g_MenuCursor.m_pCurrent;
    m_pPoint = g_WorldMapData.FindPointAt(cell.nColumn, cell.nRow);
    m_pEntry = FindOpenEntry(m_pPoint);
}

void cWorldMapScene::SetScroll()
{
    m_nScrollX = g_MenuCursor.m_pCurrent->nColumn - 9;
    m_nScrollY = g_MenuCursor.m_pCurrent->nRow - 7;
}

void cWorldMapScene::MoveWalker(CURSORPOS& cursor, int direction)
{
    const cWorldMapData& map = g_WorldMapData;
    if (direction != 0) {
        g_SaveData.m_nReturnX = cursor.nColumn;
        g_SaveData.m_nReturnY = cursor.nRow;
        m_PrevCursor = cursor;
    }
    // The walker turns even when the step is refused.
    if (direction & 1) {
        m_nFacing = 2;
        cursor.nColumn = std::max(0, cursor.nColumn - 1);
    } else if (direction & 2) {
        m_nFacing = 3;
        cursor.nColumn = std::min(map.m_nWidth - 1, cursor.nColumn + 1);
    } else if (direction & 4) {
        m_nFacing = 1;
        cursor.nRow = std::max(0, cursor.nRow - 1);
    } else if (direction & 8) {
        m_nFacing = 0;
        cursor.nRow = std::min(map.m_nHeight - 1, cursor.nRow + 1);
    }
    m_pPoint = g_WorldMapData.FindPointAt(cursor.nColumn, cursor.nRow);
    m_pEntry = FindOpenEntry(m_pPoint);
    const bool barrier = m_pEntry && m_pEntry->m_nLock == kBarrierEntry;
    const bool blocked = !m_pEntry && map.m_Chips.At(map.ChipAt(cursor.nColumn, cursor.nRow)).m_bBlocked != 0;
    if (barrier || blocked) {
        cursor = m_PrevCursor;
    } else {
        SetScroll();
        g_SaveData.m_nMapState = m_nFacing;
        if (!m_bMapDrawn || m_nScrollX != m_nDrawnScrollX || m_nScrollY != m_nDrawnScrollY) DrawMapSurface();
    }
    cursor.nX = 288;
    cursor.nY = 224;
}
