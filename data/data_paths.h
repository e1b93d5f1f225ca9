#pragma once
// The relative paths of a game's data and user files, the data file extensions, the colour
// names, and the folders that start-up creates.

// Indexed by a fixed number; see data_paths.cpp for what each is used for.
extern const char* const g_DataPaths[48];
extern const char* const g_DataExts[4];     // "cplt4", "stg4", "plt4", "rkg"
extern const char* const g_ColorNames[11];  // display names of colour codes 0 to 9, then ""
// The folders start-up creates, in order, ending with a null entry.
extern const char* const g_CreateFolders[23];

// Indices of g_DataPaths that the runtime uses.
enum DATAPATH {
    DATAPATH_DATA = 0,                 // "data\": presence test and destination of the first run
    DATAPATH_DEFAULT = 1,              // "default\": source of the first run
    DATAPATH_COMMONPALETTE = 7,
    DATAPATH_WORLDMAP = 13,
    DATAPATH_DB_ANIMESET = 15,         // the ten databases are the odd entries 15 to 33,
    DATAPATH_DB_BGM = 33,              // in loading order
    DATAPATH_SYSTEM = 35,
    DATAPATH_CHALLENGE_STAGE = 37,     // prefix of the numbered challenge stage files
    DATAPATH_RANKING_STORY = 38,       // ranking folders of play modes 0, 1 and 2
    DATAPATH_RANKING_CHALLENGE = 39,
    DATAPATH_RANKING_FREE = 40,
    DATAPATH_STORY_PREFIX = 41,        // prefix of the story save slots
    DATAPATH_CHALLENGE_RECORDS = 42,
    DATAPATH_OPTION = 43,
    DATAPATH_KEYCONFIG = 45,
    DATAPATH_BOOT = 46,
    DATAPATH_WINDOW = 47,
};
