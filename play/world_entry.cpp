#include "play/world_entry.h"

#include <cstddef>

#include "data/save_data.h"
#include "data/world_map_data.h"

namespace {

int s_nPoint = -1;
int s_nEntry = -1;

}  // namespace

void SetCurrentWorldEntry(int point, int entry)
{
    s_nPoint = point;
    s_nEntry = entry;
    // The save file keeps a field for the entry's point; its value is never followed.
    g_SaveData.m_nEnteredPoint = point;
}

const cWorldStageData* CurrentWorldEntry()
{
    const cSafeVector<cWorldPointData>& points = g_WorldMapData.m_Points;
    if (s_nPoint < 0 || static_cast<std::size_t>(s_nPoint) >= points.size()) return nullptr;
    const cSafeVector<cWorldStageData>& entries = points[static_cast<std::size_t>(s_nPoint)].m_Stages;
    if (s_nEntry < 0 || static_cast<std::size_t>(s_nEntry) >= entries.size()) return nullptr;
    return &entries[static_cast<std::size_t>(s_nEntry)];
}

int CurrentAfterClearSetting()
{
    const cWorldStageData* entry = CurrentWorldEntry();
    return entry ? entry->m_nReserved : 0;
}
