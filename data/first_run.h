#pragma once
// The first run of a game: when "data\" is missing, it is made as a copy of "default\" after
// the player agrees.
#include "platform/os/windows_types.h"

// 1 when "data\" exists afterwards (it existed, or it was copied), 0 otherwise: "default\"
// missing, the player declining, or a failed copy. The copy is all or nothing: it is made in
// a temporary folder that becomes "data\" only once every file is copied and on disk.
int CreateDefaultData(HWND owner);
