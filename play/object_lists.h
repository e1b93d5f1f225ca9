#pragma once
// The lists that own a stage's charas and items. Each object lives in a node of its own, so it
// keeps its address from the moment it is built until it is erased: the pointers that charas,
// layers and flows keep to one another stay valid, and appending during a walk over a list
// never moves what the walk holds.
#include <list>

#include "objects/item.h"
#include "objects/stage_chara.h"

using cCharaList = std::list<cStageChara>;
using cItemList = std::list<cItem>;
