#pragma once
// The demo game as a test fixture: the folder the runtime needs to start.
#include <filesystem>
#include <vector>

#include "data/database.h"
#include "data/palette_data.h"
#include "data/stage_data.h"
#include "tests/support/restore.h"
#include "tests/support/temp_folder.h"

namespace qbtest {

// Writes the demo game into folder (made when missing); adds a test failure and returns false
// when it cannot.
bool WriteDemoGame(const std::filesystem::path& folder);

// The demo game in a fresh folder that is the working folder for the test's duration, with
// its databases, its common palette and its stages (in playing order) loaded as the runtime
// loads them. The program's databases and common palette come back afterwards.
class cDemoStages {
public:
    // False, with a test failure, when the game cannot be written or a stage cannot be read.
    bool Load();
    const std::vector<cStageData>& Stages() const { return m_Stages; }

private:
    cTempFolder m_Folder;
    cRestore<cDatabase> m_Database{g_Database};
    cRestore<cPaletteData> m_Common{g_CommonPalette};
    std::vector<cStageData> m_Stages;
};

}  // namespace qbtest
