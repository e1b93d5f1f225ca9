#pragma once
// Start-up and shutdown on the window thread: InitGame between the window's creation and the
// game thread's start, UnInitGame after every other thread has ended (or none started).
#include <string>

#include "platform/ui/icon.h"

// False when the game cannot run; the failing step has said why.
bool InitGame(const char* commandLine, int showCommand);
// After InitGame returned false: true when the player chose to end (Cancel in the
// drawing-mode dialog) rather than a step failing.
bool StartUpWasCancelled();
// Releases what start-up acquired; safe after a partial start-up.
void UnInitGame();

// The game folder (the working folder) as the player knows it, for messages: its POSIX path,
// in UTF-8 and, for boxes and the report, in CP932.
std::string GameFolderUtf8();
std::string GameFolderCp932();

// Start-up values kept for the rest of the run.
extern HICON g_hIcon;        // the program's icon on the main window
extern int g_bWindowed;      // 1 in a window, 0 full screen
extern int g_nRequestedBpp;  // colour depth asked of the graphics layer
