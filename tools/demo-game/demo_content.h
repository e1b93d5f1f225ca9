#pragma once
// What the demo game is made of, as its features fill it in before anything is written: the
// records, the stages and every other file. Each feature is a function in a file of its own,
// run in the order of the one list in demo_features.cpp, so that a new feature adds its file
// and one line there.
#include <string>
#include <vector>

#include "data/database.h"
#include "data/palette_data.h"
#include "data/stage_data.h"
#include "data/system_data.h"
#include "data/world_map_data.h"

// One file of the game folder other than the records: its path inside the folder (program
// form) and its bytes.
struct DEMOFILE {
    std::string path;
    std::string bytes;
};

// One stage: its file (program form), the name of its point on the world map, and the stage.
struct DEMOSTAGE {
    std::string file;
    std::string mapName;
    cStageData stage;
};

struct DEMOGAME {
    cSystemData system;
    cDatabase database;
    cPaletteData commonPalette;     // the palette a new game starts with
    std::vector<DEMOSTAGE> stages;  // in playing order
    // Parts 2 and on of numbered series: written beside their first part, which alone is on the
    // world map; the game reaches them by clearing the part before.
    std::vector<DEMOSTAGE> laterParts;
    cWorldMapData worldMap;
    std::vector<DEMOSTAGE> challengeStages;  // the numbered challenge stages, first to last
    std::vector<DEMOFILE> files;
    std::string error;              // set by a feature that cannot make what it adds
};

// The demo game with every feature of the list added, in order.
DEMOGAME DemoGameContent();
