#pragma once
// The pieces the main window's requests call: the display's dialog mode and the device reset
// (the graphics layer's), and what later parts of the program provide: the file dialogs, the
// name-entry dialog, free play and the replay files (the BGM file names come from the Bgm
// database). Tests replace any of them.
#include "platform/os/windows_types.h"

struct cRequestSeams {
    // The display's dialog mode around a dialog (on 1, off 0).
    void (*setDialogMode)(int on);
    // Runs the name-entry dialog modally.
    void (*nameDialog)();
    // An open-file dialog; true with the chosen path, false when cancelled.
    bool (*openFileDialog)(HWND owner, char path[MAX_PATH], const char* folder, const char* title,
                           const char* filterLabel, const char* pattern);
    // Free play of a stage file; 0 when it cannot be loaded (the loader has reported why).
    int (*startFreePlay)(const char* path, int resolve);
    // Loads a replay file into the replay record and the stage records, then makes path the
    // stage loader's current file; 0 on failure, after its own box (the menu stays).
    int (*loadReplay)(const char* path);
    // The replay save dialog; true with the path, false when cancelled.
    bool (*replaySaveDialog)(char path[MAX_PATH], const char* defaultName);
    // Writes the replay being recorded (0) or the previous one (1); 0 on failure, after its
    // own box (play goes on).
    int (*saveReplay)(const char* path, int previous);
    // The BGM file name of a Bgm database entry, through the list's checked access (an entry
    // outside the list is reported, closes the program and gives entry 0); null: no database.
    const char* (*bgmFileName)(int entry);
    // Stores the stage BGM number in the progress record and reads its loop flag.
    void (*setStageBgm)(int number);
    int (*stageBgmLoop)();
    // Resets the Direct3D device and re-creates every surface.
    void (*restoreDevice)();
};

extern cRequestSeams g_RequestSeams;

// The seams as they are before any later part replaces them (tests put them back).
cRequestSeams DefaultRequestSeams();
