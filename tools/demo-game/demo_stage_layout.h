#pragma once
// The layout the demo's stages share: ground along the bottom with gaps, a few ledges, the hero
// at the left, walkers and coins along the way.
#include "data/stage_data.h"

struct DEMOSTAGELAYOUT {
    int width;               // in blocks
    int bgm;                 // entry of the BGM database
    const char* background;  // the picture of background layer 0
    int ledgeBlock;          // the ledges' cell of the block sheet
    int walkerSheet;         // the walkers' chara sheet
    int walkers;
    int timeLimit;           // seconds, 0 for none
    bool stageCaption;       // STAGE and its number before READY
};

cStageData DemoStageLayout(const DEMOSTAGELAYOUT& layout);
