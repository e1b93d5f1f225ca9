#pragma once
// The warning level of the HP and SP gauges, set per status-bar item in the game's settings.

// 1 when a gauge at value of max is at or below the warning level of status-bar item `item`
// (2 HP, 3 SP), else 0.
int IsGaugeLow(int item, int value, int max);
