#pragma once
// What a taken item does: its list of item actions run on the hero through the item-action
// table, the flow change that is the only action of its own, and the acquisition of an item by
// the get-item command.
#include <array>

#include "data/command_info.h"

class cCommandData;
class cHero;
class cItemData;

// One entry per item-action kind: non-zero stops the rest of the list.
using ItemActionFunc = int (*)(cHero& hero, cCommandData& action);
extern const std::array<ItemActionFunc, ITEMACTION_KINDS> ItemActionTable;

// The entry of the action's kind; a kind outside the table does nothing and gives 0.
int RunItemAction(cHero& hero, cCommandData& action);

// Flow change: mode 0 adds the action's flows, 1 replaces the flows of the group (0 all) with
// them where the first one stood, 2 removes the group; other modes do nothing. Taken while the
// hero's own flows run, it waits (runNow 0) for the hero's update to run it after the flows.
void ChangeFlowsByItem(cHero& hero, const cCommandData& action, int runNow);

// Runs an item's actions on player 1 for the get-item command: the result of its run, or 0
// when there is no player 1 or the item is already being given further up (an item that
// gives itself is applied once per acquisition). Nesting stops at kMaxItemNesting.
int AcquireItem(const cItemData& item);
constexpr int kMaxItemNesting = 64;

// Tests watch the actions that reach the table (null: none).
void SetItemActionRecorder(void (*recorder)(cHero& hero, const cCommandData& action));
