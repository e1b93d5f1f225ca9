#pragma once
// The sub-steps of a frame in which shots are tested against charas: R of the S sub-steps,
// spread evenly (every sub-step when R is 0 or less).
#include "shell/safe_container.h"

void FillSubStepTable(cSafeVector<int>& table, int steps, int rate);
