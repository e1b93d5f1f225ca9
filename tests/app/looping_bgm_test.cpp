// The demo game with a MIDI song of no length (a header and one empty track) as the looping BGM
// of its second stage: the song loops as silence while the game runs, and both a scripted close
// and SIGTERM end the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>

#include "tests/app/game_process.h"
#include "tests/sound/midi_builder.h"
#include "tests/support/demo_game.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait.h"

namespace {

using qbtest::cGameProcess;

class LoopingBgm : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Game = m_Work.Path() / "game";
        ASSERT_TRUE(qbtest::WriteDemoGame(m_Game));
        // The caves stage loops bgm\Title.mid.
        m_Work.WriteFile("game/bgm/Title.mid", qbtest::MidiFile(0, 96, {qbtest::Ev(0, qbtest::kEndOfTrack)}));
    }

    std::string Script(const std::string& text)
    {
        m_Work.WriteFile("script.txt", text);
        return "QUILLBRAMWOOD_SCRIPT=" + (m_Work.Path() / "script.txt").string();
    }

    // The song was opened and played on a sound device: a run without one proves nothing.
    void ExpectTheSongPlayed()
    {
        const std::string report = m_Work.ReadFile("game/Report_Game.txt");
        EXPECT_EQ(report.find("Midi "), std::string::npos) << report;
        EXPECT_EQ(m_Work.ReadFile("game/EC_Game.txt").find("DS_Init"), std::string::npos);
    }

    // Frames traced so far.
    int FramesTraced()
    {
        if (!m_Work.Exists("game/trace.txt")) return 0;
        const std::string trace = m_Work.ReadFile("game/trace.txt");
        return static_cast<int>(std::count(trace.begin(), trace.end(), '\n'));
    }

    qbtest::cTempFolder m_Runtime;
    qbtest::cTempFolder m_Work;
    std::filesystem::path m_Game;
};

TEST_F(LoopingBgm, ASongOfNoLengthLetsTheStageReachItsScriptedClose)
{
    cGameProcess game(m_Runtime, m_Game, {Script("clock virtual\neclog on\ntrace trace.txt\nclose 300\n")},
                      {"data\\stg4\\Caves.stg4"});
    EXPECT_TRUE(game.Ends(0, "the close at frame 300"));
    EXPECT_GE(FramesTraced(), 300);
    ExpectTheSongPlayed();
}

TEST_F(LoopingBgm, SigtermEndsTheGameWhileASongOfNoLengthLoops)
{
    cGameProcess game(m_Runtime, m_Game, {Script("clock virtual\neclog on\ntrace trace.txt\n")},
                      {"data\\stg4\\Caves.stg4"});
    // The song loops from the stage's first frame; by frame 250 the hero has landed and the
    // window thread has played sound effects beside it.
    ASSERT_TRUE(qbtest::WaitUntil([&] { return FramesTraced() >= 250 || !game.Alive(); }, qbtest::kChildBound))
        << "the stage stopped at frame " << FramesTraced();
    ASSERT_TRUE(game.Alive());
    kill(game.Pid(), SIGTERM);
    EXPECT_TRUE(game.Ends(0, "SIGTERM"));
    EXPECT_NE(m_Work.ReadFile("game/EC_Game.txt").find("WM_DESTROY\n"), std::string::npos);
    ExpectTheSongPlayed();
}

}  // namespace
