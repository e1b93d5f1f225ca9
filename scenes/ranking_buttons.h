#pragma once
// The two ranking buttons of the menus that show a stage's ranking (the world map and the stage
// select): button bit 4 switches the ranking view, bit 8 steps the ranking kind shown.

// Applies the buttons for a ranking of play mode rankingMode (the view is switched on only
// while that mode ranks, and switched off when it does not); the kind steps by the current
// play mode's ranked values. True when the ranking must be drawn again.
bool ApplyRankingButtons(int buttons, int rankingMode);
