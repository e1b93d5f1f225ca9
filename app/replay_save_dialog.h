#pragma once
// The save dialog of a replay file, in "user_data\rpl4\", with a default name made from the
// stage's name: the first of its 81 numbered names ("_00" to "_88") that no file has yet.
#include <string>

#include "platform/os/windows_types.h"

// The name offered for a replay of stageName (a file name without its folder): empty for an
// empty stage name; the "_88" name, which exists, when all 81 are taken.
std::string DefaultReplayName(const char* stageName);

// True with the chosen path; false when cancelled.
bool ReplaySaveDialog(char path[MAX_PATH], const char* stageName);
