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

bool cDemoStages::Load()
{
    if (!WriteDemoGame(m_Folder.Path())) return false;
    m_Folder.ChangeInto();
    if (g_Database.Load() != 1 || !g_CommonPalette.Load("data\\CommonPalette.cplt4")) {
        ADD_FAILURE() << "the demo's databases or common palette cannot be read";
        return false;
    }
    for (const std::string& file : DemoStageFiles()) {
        m_Stages.emplace_back();
        if (!m_Stages.back().Load(file.c_str())) {
            ADD_FAILURE() << "the demo stage " << file << " cannot be read";
            return false;
        }
    }
    return true;
}

}  // namespace qbtest
