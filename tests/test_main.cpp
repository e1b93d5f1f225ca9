// The main of every test binary: the program's hooks are registered as the game's start-up
// registers them, so that code under test reaches the layers above it as it does in the game.
#include <gtest/gtest.h>

#include "app/program_hooks.h"

int main(int argc, char** argv)
{
    RegisterProgramHooks();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
