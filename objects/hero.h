#pragma once
// The player's chara. Only what the stage set-up needs is here: its set-up from the hero's
// placement and the program-wide vector of players. Its input, its moves and its camera
// follow are not built yet.
#include "objects/chara.h"
#include "shell/safe_container.h"

class cHero : public cChara {
public:
    // Sets the hero up from its placement: the chara part, then the stage's walking (or
    // flying) bounds, centred on the block cell and bottom-aligned when the stage says so.
    void Spawn(int serial, const cCharaData& placement, double homeX, double homeY, const STAGESPEED& speed,
               int boundsW, int boundsH, int bottomAligned);
};

// The heroes of a stage, element 0 player 1. The stage set-up sizes it.
extern cSafeVector<cHero> Player;
