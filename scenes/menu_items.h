#pragma once
// The rows of a front-end menu: the enabled entries of one of the System record's menu lists.
#include "data/system_elements.h"
#include "shell/safe_container.h"

// The indices of the enabled entries among the first max of list, in list order, into items
// (room for max); fallback alone when none is enabled. Returns how many were written.
int CollectEnabledItems(const cSafeVector<cMenuItemData>& list, int max, int* items, int fallback);
