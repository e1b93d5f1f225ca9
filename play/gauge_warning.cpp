#include "play/gauge_warning.h"

#include "data/system_data.h"

int IsGaugeLow(int item, int value, int max)
{
    cSafeVector<cStatusItemData>& items = g_SystemData.m_StatusItems;
    if (item < 0 || item >= static_cast<int>(items.size())) return 0;
    const cStatusItemData& status = items.At(item);
    // A maximum of 0 gives an infinite or undefined share, which the comparison takes as it comes.
    if (status.m_bLowPercent) return status.m_nLowLevel >= value * 100.0 / max ? 1 : 0;
    return value <= status.m_nLowLevel ? 1 : 0;
}
