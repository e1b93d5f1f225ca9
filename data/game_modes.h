#pragma once
// The game mode (the title-menu item chosen last) and the play mode (the kind of play it
// started), kept by the game manager. Both index lists of the System record, so they live here.

// The title-menu items in menu order; the System record's title item list is indexed by it.
enum GAMEMODE {
    GAMEMODE_NEWSTORY = 0,
    GAMEMODE_CONTINUE = 1,
    GAMEMODE_CHALLENGE = 2,
    GAMEMODE_FREEPLAY = 3,  // also a test play and a stage named on the command line
    GAMEMODE_REPLAY = 4,
    GAMEMODE_OPTIONS = 5,
    GAMEMODE_QUIT = 6,
};
constexpr int kGameModes = 7;

// The System record's per-mode lists (results, start lives, unlimited lives) are indexed by it.
enum PLAYMODE {
    PLAYMODE_STORY = 0,
    PLAYMODE_CHALLENGE = 1,
    PLAYMODE_FREEPLAY = 2,
    PLAYMODE_REPLAY = 3,
};
constexpr int kPlayModes = 4;
