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

#include "tests/app/demo_stage_variants.h"
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

// The traced frames of one attempt in which its play frame did not advance (a modal loop's).
int FramesHeld(const std::vector<TRACELINE>& trace, const char* setups = "1", int until = 1 << 30)
{
    int held = 0;
    std::string last;
    for (const TRACELINE& line : trace) {
        if (std::stoi(line.at("frame")) >= until) break;
        if (!line.count("state") || line.at("state") != "2" || line.at("setups") != setups) continue;
        held += line.at("pframe") == last;
        last = line.at("pframe");
    }
    return held;
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

    // Plays a saved replay from the title's fifth item, "リプレイ", the file given to the load
    // dialog; `keys` adds to the script (the live input plays no part but a key-wait's).
    std::vector<TRACELINE> PlayFromTitle(const char* file, const char* player, const std::string& keys = "",
                                         int close = 400)
    {
        return Run(std::string("dialog ") + file + "\n"
                       "keys 30 DOWN\nkeys 31\nkeys 32 DOWN\nkeys 33\nkeys 34 DOWN\nkeys 35\nkeys 36 DOWN\nkeys 37\n"
                       "keys 40 Z\nkeys 41\nkeys 100 LEFT\n" +
                       keys + "close " + std::to_string(close) + "\n",
                   {}, player);
    }

    qbtest::cTempFolder m_Runtime, m_Work;
    std::filesystem::path m_Game;
};

// Every play frame of the recorded attempt comes back in the playback with the same values.
void ExpectPlaysAsRecorded(const std::map<std::string, TRACELINE>& attempt,
                           const std::map<std::string, TRACELINE>& playback)
{
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

            ExpectPlaysAsRecorded(attempt, PlayFrames(PlayFromTitle(s.file, player)));
        }
    }
}

TEST_F(ReplayRun, ReadyLengthsAndAKeyWaitLeaveTheReplaysPlayFramesAsRecorded)
{
    // The stage is drawn outside the play frames (READY, whose length the recording's start
    // captions set and the playback's caption fixes at 79, and a message waiting for the decide
    // key for as long as the player takes); those frames must draw no random number and change
    // nothing a play frame reads. Every ground block of the dice stages draws one when tested.
    struct Case {
        const char* stage;
        int sign;
        int signSmall;
        const char* recordKeys;
        const char* playKeys;
        bool waits;
        int f1 = 330;   // the frame F1 saves the attempt in
    } cases[] = {
        {"Dice0", 0, 0, "", "", false},
        {"Dice79", 1, 0, "", "", false},
        {"Dice158", 1, 1, "", "", false},
        // The sign's greeting and the message chained to it each wait for a new press of the
        // decide key, a different number of frames each time.
        // The first press comes during READY and closes nothing; the greeting closes at 220 and
        // the chained message at 275, then the sign waits a second: F1 comes later.
        {"Signpost", -1, -1, "keys 130 Z\nkeys 132\n", "keys 300 Z\nkeys 302\nkeys 330 Z\nkeys 332\n", true, 400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stage);
        const std::string stage = std::string("data\\stg4\\") + c.stage;
        if (c.sign >= 0) {
            qbtest::WriteStageAs(m_Game, "data\\stg4\\Meadow.stg4_001", (stage + ".stg4_001").c_str(),
                                 [&c](cStageData& written) {
                                     qbtest::AddDice(written);
                                     written.m_bStartSign = c.sign;
                                     written.m_bStartSignSmall = c.signSmall;
                                 });
        }
        std::filesystem::remove_all(m_Game / "user_data" / "rpl4");
        const int kF1 = c.f1;
        const std::vector<TRACELINE> recorded =
            Run(std::string("dialog run.rpl4_692\n") + c.recordKeys +
                    "keys 200 RIGHT\nkeys 220 RIGHT Z\nkeys 226 RIGHT\nkeys 260 LEFT\nkeys 275 LEFT Z\nkeys 280\n" +
                    "keys " + std::to_string(kF1) + " F1\nkeys " + std::to_string(kF1 + 1) + "\nclose " +
                    std::to_string(kF1 + 10) + "\n",
                {stage + ".stg4"}, QB_GAME_EXECUTABLE);
        ASSERT_TRUE(std::filesystem::exists(m_Game / "user_data" / "rpl4" / "run.rpl4_692"));
        const std::map<std::string, TRACELINE> attempt = PlayFrames(recorded, "1", kF1);
        ASSERT_GT(attempt.size(), 20u);
        const std::vector<TRACELINE> played = PlayFromTitle("run.rpl4_692", QB_GAME_EXECUTABLE, c.playKeys, 700);
        ExpectPlaysAsRecorded(attempt, PlayFrames(played));
        const int heldRecording = FramesHeld(recorded, "1", kF1);
        EXPECT_EQ(heldRecording > 0, c.waits);
        if (c.waits) {
            EXPECT_NE(FramesHeld(played), heldRecording) << "the wait lasts as long as the player takes";
        }
    }
}

TEST_F(ReplayRun, AReplayThatCannotBeLoadedLeavesTheTitleMenuAsItWas)
{
    // Chosen from the title's replay item, or from the free-play item's stage dialog (which lists
    // replays too and, after the box, opens again: the script answers no more, so it is cancelled).
    struct Case { const char* folder; int downs; const char* gmode; } cases[] = {
        {"game/user_data/rpl4", 4, "4"},
        {"game/data/stg4", 3, "3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        std::filesystem::create_directories(m_Work.Path() / c.folder);
        std::filesystem::remove(m_Game / "Report_Game.txt");
        m_Work.WriteFile(std::string(c.folder) + "/bad.rpl4_692", std::string("\xB4\x02\0\0\x07\0\0\0", 8));
        std::string script = "dialog bad.rpl4_692\n";
        for (int i = 0; i < c.downs; ++i) {
            const int frame = 30 + 2 * i;
            script += "keys " + std::to_string(frame) + " DOWN\nkeys " + std::to_string(frame + 1) + "\n";
        }
        const std::vector<TRACELINE> trace = Run(script + "keys 40 Z\nkeys 41\nclose 80\n", {}, QB_GAME_EXECUTABLE);
        // The program goes on to the scripted close, on the title's menu with the cursor on the item.
        ASSERT_GE(trace.size(), 80u);
        EXPECT_EQ(trace[40 - 1].at("gmode"), c.gmode);
        EXPECT_EQ(trace.back().at("state"), "1");
        EXPECT_EQ(trace.back().at("cursor"), std::string("0:") + std::to_string(c.downs));
        EXPECT_EQ(qbtest::FindLine(trace, "scene", "4"), -1);
        EXPECT_NE(m_Work.ReadFile("game/Report_Game.txt").find("bad.rpl4_692"), std::string::npos);
    }
}
