#include "flow/command_stubs.h"

#include "shell/game_arithmetic.h"
#include "shell/not_built_yet.h"

std::array<int, COMMAND_KINDS> g_NotBuiltCommandActs{};

void NotBuiltCommandActs(int kind, const char* what)
{
    LogNotBuiltYet(what);
    if (kind >= 0 && kind < COMMAND_KINDS) {
        int& count = g_NotBuiltCommandActs[static_cast<std::size_t>(kind)];
        count = WrapAdd(count, 1);
    }
}
