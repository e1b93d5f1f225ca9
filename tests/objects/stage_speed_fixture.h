#pragma once
// The stage speed settings of a speed level, derived here on their own terms (b = level for 1 to
// 10 and from 20 on, level - 10 for 11 to 19) so that the rules under test get known inputs.
#include "objects/chara_movement.h"

inline STAGESPEED SpeedOfLevel(int level, double baseGravity = 0.4)
{
    const int b = (level >= 11 && level <= 19) ? level - 10 : level;
    STAGESPEED speed;
    speed.nSteps = b;
    speed.dSteps = b;
    speed.dSteps2 = static_cast<double>(b) * b;
    speed.dBaseGravity = baseGravity;
    speed.dGravity = baseGravity / speed.dSteps2;
    speed.dSpeedLimit = (level >= 11 && level <= 19) ? 60.0 / b : 6.0;
    speed.nFallLimit = 8 * b;
    return speed;
}
