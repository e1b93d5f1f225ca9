#pragma once
// Hit points and skill points: every change goes through these, which clamp the value, tell
// when HP is gone and start the gauge that the drawing shows for two seconds. Scripts can put
// any value in these fields, so the sums wrap as 32-bit words before they are clamped.
#include "objects/object_types.h"

// A chara's HP or SP with its gauge and its maximum.
struct POINTS {
    int& nValue;
    GAUGE& gauge;
    int nMax;
};

// 1 when HP is 0 afterwards. Unless forced, an invincible chara ignores losses (and a delta
// of 0).
int AddHpPoints(POINTS hp, int invincible, int delta, int force, int show);
// 1 when the maximum is 0 or less. SP losses always apply.
int AddSpPoints(POINTS sp, int delta, int show);
// Starts the gauge for a change of `delta`: nothing for 0 or a maximum of 0 or less.
void ShowGauge(POINTS points, int delta);
