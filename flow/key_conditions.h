#pragma once
// Matching key conditions against player 1's key histories: each of the 19 keys has a cursor
// that walks back (and forward) through its runs of held and released frames.
#include <array>

#include "data/condition_data.h"

// Where a key's cursor stands: in run nRun of its history (0 the newest), nHeld frames into it.
struct KEYCURSOR {
    int nRun = 0;
    int nHeld = 0;
};
using KEYCURSORS = std::array<KEYCURSOR, cKeyConditionData::kKeys>;

// Every cursor at the present: run 0, as long as run 0 has lasted.
void ResetKeyCursors(KEYCURSORS& cursors);
// Moves every cursor by `frames`: back in time when negative, forward when positive.
void UpdateKeyCounters(KEYCURSORS& cursors, int frames);
// Whether the keys of `condition` pass at the cursors, by its mode; `duration` receives how
// long the passing keys had been in their state. Direction keys are mirrored when the
// condition asks for it and `facingLeft` is set.
bool TestKeyConditionKeys(const cKeyConditionData& condition, const KEYCURSORS& cursors, bool facingLeft,
                          int& duration);
