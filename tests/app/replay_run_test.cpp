// Replays recorded by one run of the demo and played back from the title by another: every
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
#include "tests/app/story_script.h"
#include "tests/app/trace_lines.h"
#include "tests/support/demo_game.h"
#include "tests/support/temp_folder.h"

namespace {

using qbtest::TRACELINE;

constexpr const char* kMeadow = "data\\stg4\\Meadow.stg4";
// What a play frame must reproduce.
constexpr const char* kExactFields[] = {"seed", "x", "y", "vx", "vy", "hp", "charas", "items", "shots", "hash", "lives"};

// The play frames of one attempt of a trace (its set-up count), by play-frame number, up to the
// frame before `until` (the frame of a save: what the file holds).
std::map<std::string, TRACELINE> PlayFrames(const std::vector<TRACELINE>& trace, const char* setups = "1",
                                            int until = 1 << 30)
{
    std::map<std::string, TRACELINE> frames;
    for (const TRACELINE& line : trace) {
        if (std::stoi(line.at("frame")) >= until) break;
        if (!line.count("state") || line.at("state") != "2" || line.at("setups") != setups) continue;
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

TEST_F(ReplayRun, AttemptsSavedWithF1AndF2PlayBackFromTheTitleFrameForFrame)
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
        std::filesystem::remove_all(m_Game / "user_data" / "rpl4");
        // Walk, jump, pause and walk on; retry from the pause menu and walk again; then F2 saves
        // the first attempt and F1 the second, the dialogs answered in that order.
        constexpr int kF2 = 330, kF1 = 340;
        const std::vector<TRACELINE> recorded =
            Run("dialog first.rpl4_692\ndialog second.rpl4_692\n"
                "keys 100 RIGHT\nkeys 120 RIGHT Z\nkeys 126 RIGHT\nkeys 140 SPACE\nkeys 142\nkeys 150 SPACE\nkeys 152\n"
                "keys 160 LEFT\nkeys 175 LEFT Z\nkeys 180\n"
                "keys 200 SPACE\nkeys 202\nkeys 205 DOWN\nkeys 206\nkeys 210 Z\nkeys 211\n"
                "keys 300 RIGHT Z\nkeys 310 RIGHT\n"
                "keys 330 F2\nkeys 331\nkeys 340 F1\nkeys 341\nclose 350\n",
                {kMeadow}, recorder);
        struct Saved { const char* file; const char* setups; int until; } saved[] = {
            {"first.rpl4_692", "1", kF2},
            {"second.rpl4_692", "2", kF1},
        };
        for (const Saved& s : saved) {
            SCOPED_TRACE(s.file);
            ASSERT_TRUE(std::filesystem::exists(m_Game / "user_data" / "rpl4" / s.file));
            const std::map<std::string, TRACELINE> attempt = PlayFrames(recorded, s.setups, s.until);
            ASSERT_GT(attempt.size(), 20u);

            // The title's fifth item, "リプレイ", then the file for the load dialog.
            const std::vector<TRACELINE> played =
                Run(std::string("dialog ") + s.file + "\n"
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
}

TEST_F(ReplayRun, AReplayThatCannotBeLoadedLeavesTheTitleMenuAsItWas)
{
    std::filesystem::create_directories(m_Game / "user_data" / "rpl4");
    m_Work.WriteFile("game/user_data/rpl4/bad.rpl4_692", std::string("\xB4\x02\0\0\x07\0\0\0", 8));
    const std::vector<TRACELINE> trace =
        Run("dialog bad.rpl4_692\n"
            "keys 30 DOWN\nkeys 31\nkeys 32 DOWN\nkeys 33\nkeys 34 DOWN\nkeys 35\nkeys 36 DOWN\nkeys 37\n"
            "keys 40 Z\nkeys 41\nclose 80\n",
            {}, QB_GAME_EXECUTABLE);
    // The program goes on to the scripted close, on the title's menu with the cursor on the item.
    ASSERT_GE(trace.size(), 80u);
    EXPECT_EQ(trace[40 - 1].at("gmode"), "4");
    EXPECT_EQ(trace.back().at("state"), "1");
    EXPECT_EQ(trace.back().at("cursor"), "0:4");
    EXPECT_EQ(qbtest::FindLine(trace, "scene", "4"), -1);
    EXPECT_NE(m_Work.ReadFile("game/Report_Game.txt").find("bad.rpl4_692"), std::string::npos);
}
