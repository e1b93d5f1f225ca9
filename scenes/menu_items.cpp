#include "scenes/menu_items.h"

#include <algorithm>

int CollectEnabledItems(const cSafeVector<cMenuItemData>& list, int max, int* items, int fallback)
{
    // Only the menu's own items have rows, however long the stored list is.
    int count = 0;
    const int listed = std::min(static_cast<int>(list.size()), max);
    for (int i = 0; i < listed; ++i)
        if (list[static_cast<std::size_t>(i)].m_bEnabled) items[count++] = i;
    if (count == 0) items[count++] = fallback;
    return count;
}
