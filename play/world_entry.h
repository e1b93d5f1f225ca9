#pragma once
// The world-map entry the story stage in play was entered from, kept by its place in the
// world map (point and entry indices) rather than by address: the stage's clear reads its
// after-clear setting, and an entry the map does not hold reads as none.
class cWorldStageData;

// Entry `entry` of point `point` of the world map; -1 for none.
void SetCurrentWorldEntry(int point, int entry);
// The entry, or null when none was set or the world map holds no such entry.
const cWorldStageData* CurrentWorldEntry();
// Its after-clear setting: 0 nothing, 1 the next round, 2 back to the title; 0 without an entry.
int CurrentAfterClearSetting();
