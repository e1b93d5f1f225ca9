// Raising a flow trigger on a chara. Which flows start is not built yet: the trigger is
// recorded, in order, for whoever needs to see it.
#include "flow/chara_triggers.h"

#include "objects/chara.h"
#include "shell/not_built_yet.h"

cSafeVector<RAISEDTRIGGER> g_RaisedTriggers;

void cChara::RaiseTrigger(int trigger)
{
    LogNotBuiltYet("flow triggers");
    g_RaisedTriggers.push_back({m_nSerial, trigger});
}
