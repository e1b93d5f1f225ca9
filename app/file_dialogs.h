#pragma once
// The file dialogs of the game: open a stage or a replay, save a replay. In 8-bit DirectDraw
// mode entry 0 of the display palette is black while the chooser is open, as the desktop's
// dialogs drew with it, and comes back afterwards whatever the answer.
#include <string>

#include "platform/ui/file_chooser.h"
#include "shell/safe_container.h"

// True when a file was chosen (its path in the buffer). With a result list the chosen names
// are appended to it: one file as its full path, several as folder and name each.
bool OpenFileDialog(HWND owner, char* buffer, int size, const char* initialDir, const char* title, const char* filter,
                    const char* defExt, int multiSelect, cSafeVector<std::string>* results);
// True when a name was chosen; with keepName the buffer's text (260 bytes) is offered first.
bool SaveFileDialog(HWND owner, char* buffer, const char* initialDir, const char* title, const char* filter,
                    const char* defExt, int keepName);
INT_PTR FileDialogHookProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The main window's open request: a filter made of the label and the patterns that the
// default extension lists ("stg4_*;rpl4_*" gives "*.stg4_*;*.rpl4_*").
bool OpenFileRequestDialog(HWND owner, char path[MAX_PATH], const char* folder, const char* title,
                           const char* filterLabel, const char* pattern);

// Splits a chooser's result (NUL-separated parts, an empty one last) into the list: the one
// full path, or each file after the folder as "folder\file". Only the entries added here are
// given the folder.
void AppendChosenFiles(const char* buffer, std::size_t size, cSafeVector<std::string>& results);
