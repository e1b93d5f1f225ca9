// A replay recorded by one run of the demo and played back from the title by another: every
// play frame of the playback, keyed by its play-frame number, has the generator state, the
// hero's position bits and the hash of the world that the recorded attempt had.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/app/game_process.h"
#include "tests/app/trace_lines.h"
#include "tests/support/demo_game.h"
#include "tests/support/temp_folder.h"

namespace {

using qbtest::TRACELINE;

constexpr const char* kMeadow = "data\\stg4\\Meadow.stg4";
// What a play frame must reproduce.
constexpr const char* kExactFields[] = {"seed", "x", "y", "vx", "vy", "hp", "charas", "items", "shots", "hash", "lives"};

// The play frames of the first attempt of a trace, by play-frame number, up to the frame
// before `until` (the frame of a save: what the file holds).
std::map<std::string, TRACELINE> PlayFrames(const std::vector<TRACELINE>& trace, int until = 1 << 30)
{
    std::map<std::string, TRACELINE> frames;
    for (const TRACELINE& line : trace) {
        if (std::stoi(line.at("frame")) >= until) break;
        if (!line.count("state") || line.at("state") != "2" || line.at("setups") != "1") continue;
        frames.emplace(line.at("pframe"), line);
    }
    return frames;
}

class ReplayRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Game = m_Work.Path() / "game";
        ASSERT_TRUE(qbtest::WriteDemoGame(m_Game));
    }

    std::vector<TRACELINE> Run(const std::string& script, std::vector<std::string> arguments, const char* executable)
    {
        m_Work.WriteFile("run.txt", "clock virtual\ntrace trace.txt\n" + script);
        qbtest::cGameProcess game(m_Runtime, m_Game, {"QUILLBRAMWOOD_SCRIPT=" + (m_Work.Path() / "run.txt").string()},
                                  std::move(arguments), false, executable);
        EXPECT_TRUE(game.Ends(0, "the scripted close"));
        return qbtest::ParseTrace(m_Work.ReadFile("game/trace.txt"));
    }

    qbtest::cTempFolder m_Runtime, m_Work;
    std::filesystem::path m_Game;
};

}  // namespace

TEST_F(ReplayRun, AnAttemptSavedWithF1PlaysBackFromTheTitleFrameForFrame)
{
    // This build records and plays; with QB_PEER_GAME_EXECUTABLE (the runtime of another build,
    // as CI gives the sanitizer build's) each build also plays what the other recorded.
    std::vector<std::pair<const char*, const char*>> pairs = {{QB_GAME_EXECUTABLE, QB_GAME_EXECUTABLE}};
    const char* peer = std::getenv("QB_PEER_GAME_EXECUTABLE");
    if (peer && *peer) {
        pairs.emplace_back(QB_GAME_EXECUTABLE, peer);
        pairs.emplace_back(peer, QB_GAME_EXECUTABLE);
    }
    for (const auto& [recorder, player] : pairs) {
        SCOPED_TRACE(std::string(recorder) + " -> " + player);
        std::filesystem::remove(m_Game / "user_data" / "rpl4" / "walk.rpl4_692");
        // Walk, jump, pause and walk on, then F1 with the file name for the save dialog.
        const std::vector<TRACELINE> recorded =
            Run("dialog walk.rpl4_692\n"
                "keys 100 RIGHT\nkeys 120 RIGHT Z\nkeys 126 RIGHT\nkeys 140 SPACE\nkeys 142\nkeys 150 SPACE\nkeys 152\n"
                "keys 160 LEFT\nkeys 175 LEFT Z\nkeys 180\nkeys 200 F1\nkeys 202\nclose 210\n",
                {kMeadow}, recorder);
        ASSERT_TRUE(std::filesystem::exists(m_Game / "user_data" / "rpl4" / "walk.rpl4_692"));
        // The frames before the save's: what the file holds.
        const std::map<std::string, TRACELINE> attempt = PlayFrames(recorded, 200);
        ASSERT_GT(attempt.size(), 60u);

        // The title's fifth item, "リプレイ", then the same name for the load dialog.
        const std::vector<TRACELINE> played =
            Run("dialog walk.rpl4_692\n"
                "keys 30 DOWN\nkeys 31\nkeys 32 DOWN\nkeys 33\nkeys 34 DOWN\nkeys 35\nkeys 36 DOWN\nkeys 37\n"
                "keys 40 Z\nkeys 41\nkeys 100 LEFT\nclose 400\n",
                {}, player);
        const std::map<std::string, TRACELINE> playback = PlayFrames(played);
        EXPECT_EQ(playback.size(), attempt.size());
        for (const auto& [pframe, line] : attempt) {
            const auto found = playback.find(pframe);
            ASSERT_NE(found, playback.end()) << "play frame " << pframe;
            for (const char* field : kExactFields) {
                if (!line.count(field)) continue;
                EXPECT_EQ(found->second.at(field), line.at(field)) << "play frame " << pframe << " " << field;
            }
        }
    }
}
