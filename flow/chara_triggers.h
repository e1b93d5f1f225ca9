#pragma once
// The triggers raised on charas, in order: (chara serial, trigger). Starting flows on them is
// not built yet.
#include "shell/safe_container.h"

struct RAISEDTRIGGER {
    int nSerial = 0;
    int nTrigger = 0;

    bool operator==(const RAISEDTRIGGER&) const = default;
};

extern cSafeVector<RAISEDTRIGGER> g_RaisedTriggers;
