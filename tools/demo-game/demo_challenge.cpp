// Challenge mode in the demo: twelve numbered challenge stages, the demo's stages in turn, all
// selectable so that the stage select's list pages. Challenge mode ranks every result value, so
// each stage shows its ranking window (empty until a clear enters a name).
#include <cstdio>

#include "data/data_paths.h"
#include "data/game_modes.h"
#include "tools/demo-game/demo_content.h"

namespace {

constexpr int kChallengeStages = 12;
constexpr int kRankingKinds = 5;

}  // namespace

void AddDemoChallenge(DEMOGAME& game)
{
    if (game.stages.empty()) {
        game.error = "the challenge list needs the demo's stages";
        return;
    }
    cSystemData& system = game.system;
    system.m_nChallengeStages = kChallengeStages;
    system.m_bChallengeAllOpen = 1;
    cModeResultData& results = system.m_ModeResults.At(PLAYMODE_CHALLENGE);
    results.m_bEnabled = 1;
    results.m_ValueFlags.assign(kRankingKinds, 1);
    for (int n = 1; n <= kChallengeStages; ++n) {
        DEMOSTAGE stage = game.stages[static_cast<std::size_t>(n - 1) % game.stages.size()];
        char file[64];
        std::snprintf(file, sizeof file, "%s%02d-1.%s_001", g_DataPaths[DATAPATH_CHALLENGE_STAGE], n, g_DataExts[1]);
        stage.file = file;
        game.challengeStages.push_back(stage);
    }
}
