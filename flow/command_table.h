#pragma once
// The flow commands by kind: the initialisers that run when a chara's flows are built, the
// handlers that run an entry for one step, and the step counter of the commands that act once
// per tenth of a second.
#include <array>

#include "data/command_info.h"

class cChara;
class cFlowCommandEntry;

using FlowCommandFunc = void (*)(cChara& chara, cFlowCommandEntry& entry);
using FlowCommandInitFunc = void (*)(cFlowCommandEntry& entry, cChara& chara, int direction);

// One entry per kind; kinds without an initialiser hold null.
extern const std::array<FlowCommandInitFunc, COMMAND_KINDS> FlowCommandInitTable;
// One handler per kind; kinds 0 and 1 share the empty handler.
extern const std::array<FlowCommandFunc, COMMAND_KINDS> FlowCommandTable;

// The handler and initialiser of a kind. A kind outside the table (a record the loader kept as
// read) gets the empty handler and no initialiser, so that it can never index past the table.
FlowCommandFunc FlowCommandOf(int kind);
FlowCommandInitFunc FlowCommandInitOf(int kind);

// Runs the entry's command for one step on the chara, by the kind of its command record.
void DispatchFlowCommand(cChara& chara, cFlowCommandEntry& entry);

// Steps in a tenth of a second in the running stage: 6 x its sub-steps per frame.
int StepsPerTenth();
// Commands that act once per tenth of a second act while the entry's step counter is 0.
bool TenthSecondDue(const cFlowCommandEntry& entry);
// Counts one step; the counter returns to 0 after a tenth of a second.
void CountTenthSecondStep(cFlowCommandEntry& entry);
