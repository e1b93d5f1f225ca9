#pragma once
// Commands whose handlers are not built yet still keep their timing: each says once that it is
// not built, and counts the steps in which it would have acted, by kind, so that the timing of
// flows can be seen before the commands exist.
#include <array>

#include "data/command_info.h"

extern std::array<int, COMMAND_KINDS> g_NotBuiltCommandActs;

// Notes that a command of `kind`, not built yet, acts in this step.
void NotBuiltCommandActs(int kind, const char* what);
