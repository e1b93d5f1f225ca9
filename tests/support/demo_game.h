#pragma once
// The demo game as a test fixture: the folder the runtime needs to start.
#include <filesystem>

namespace qbtest {

// Writes the demo game into folder (made when missing); adds a test failure and returns false
// when it cannot.
bool WriteDemoGame(const std::filesystem::path& folder);

}  // namespace qbtest
