#include "tests/support/demo_game.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/demo-game/demo_game.h"

namespace qbtest {

bool WriteDemoGame(const std::filesystem::path& folder)
{
    std::string error;
    if (BuildDemoGame(folder.string(), error)) return true;
    ADD_FAILURE() << "demo game: " << error;
    return false;
}

}  // namespace qbtest
