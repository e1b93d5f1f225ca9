// A stage of the demo game named on the command line, played by the executable under a script
// with the virtual clock and traced frame by frame.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "data/palette_data.h"
#include "data/stage_data.h"
#include "tests/app/game_process.h"
#include "tests/support/demo_game.h"
#include "tests/support/restore.h"
#include "tests/support/temp_folder.h"

namespace {

using qbtest::cGameProcess;
using qbtest::ExitedWith;

// One trace line's fields by name.
using TRACELINE = std::map<std::string, std::string>;

std::vector<TRACELINE> ParseTrace(const std::string& text)
{
    std::vector<TRACELINE> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        TRACELINE fields;
        std::istringstream words(line);
        for (std::string word; words >> word;) {
            const std::size_t eq = word.find('=');
            if (eq != std::string::npos) fields[word.substr(0, eq)] = word.substr(eq + 1);
        }
        lines.push_back(fields);
    }
    return lines;
}

// A traced position or speed: the exact bits of the double, in hex.
double TracedDouble(const TRACELINE& line, const std::string& field)
{
    const std::uint64_t bits = std::stoull(line.at(field), nullptr, 16);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The text of the first frames lines of a trace.
std::string FirstLines(const std::string& text, int frames)
{
    std::size_t at = 0;
    for (int i = 0; i < frames && at != std::string::npos; ++i) at = text.find('\n', at + 1);
    return text.substr(0, at);
}

// The first frame (from 1) at or after `from` whose field has the value; 0 when none.
int FirstFrame(const std::vector<TRACELINE>& trace, const std::string& field, const std::string& value, int from = 1)
{
    for (int f = from; f <= static_cast<int>(trace.size()); ++f)
        if (trace[f - 1].count(field) && trace[f - 1].at(field) == value) return f;
    return 0;
}

class StageRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Game = m_Work.Path() / "game";
        ASSERT_TRUE(qbtest::WriteDemoGame(m_Game));
        WriteCaptionStage();
    }

    // The demo's first stage with both start captions on, as a stage of its own.
    void WriteCaptionStage()
    {
        qbtest::cRestore<cPaletteData> common(g_CommonPalette);
        const std::filesystem::path before = std::filesystem::current_path();
        std::filesystem::current_path(m_Game);
        cStageData stage;
        const bool loaded = g_CommonPalette.Load("data\\CommonPalette.cplt4") && stage.Load("data\\stg4\\Meadow.stg4_001");
        stage.m_bStartSign = 1;
        stage.m_bStartSignSmall = 1;
        const bool saved = loaded && stage.Save("data\\stg4\\Captions.stg4_001");
        std::filesystem::current_path(before);
        ASSERT_TRUE(loaded);
        ASSERT_TRUE(saved);
    }

    // Runs the stage under the script and returns its trace.
    std::string Run(const std::string& script, const char* name, const char* stage = "data\\stg4\\Captions.stg4")
    {
        const std::filesystem::path path = m_Work.Path() / name;
        m_Work.WriteFile(name, "clock virtual\ntrace trace.txt\n" + script);
        cGameProcess game(m_Runtime, m_Game, {"QUILLBRAMWOOD_SCRIPT=" + path.string()}, {stage});
        EXPECT_TRUE(ExitedWith(game.Wait(), 0)) << name;
        return m_Work.ReadFile("game/trace.txt");
    }

    qbtest::cTempFolder m_Runtime;
    qbtest::cTempFolder m_Work;
    std::filesystem::path m_Game;
};

TEST_F(StageRun, CaptionsPauseCancelAndRetryFollowTheScriptAndTwoRunsTraceAlike)
{
    // A first run finds the frames of the fade-in and of the captions.
    const std::vector<TRACELINE> plain = ParseTrace(Run("close 260\n", "plain.txt"));
    const int ready = FirstFrame(plain, "state", "1");
    const int play = FirstFrame(plain, "state", "2");
    ASSERT_GT(ready, 1);
    // The fade-in's last frame shows READY; READY's own frames follow it.
    EXPECT_EQ(play - ready, 159) << "PLAY comes in READY's 159th frame";
    EXPECT_EQ(plain[0].at("scene"), "4");
    EXPECT_EQ(plain[play - 1].at("time"), "999");

    // From PLAY on: space held pauses, X cancels back to play, space still held pauses again,
    // then down and Z choose the retry.
    const int p = play + 5;
    std::ostringstream script;
    script << "keys " << p << " SPACE\n"
           << "keys " << p + 2 << " SPACE X\n"
           << "keys " << p + 4 << "\n"
           << "keys " << p + 6 << " X\n"
           << "keys " << p + 8 << "\n"
           << "keys " << p + 10 << " SPACE\n"
           << "keys " << p + 11 << "\n"
           << "keys " << p + 12 << " DOWN\n"
           << "keys " << p + 13 << "\n"
           << "keys " << p + 14 << " Z\n"
           << "keys " << p + 15 << "\n"
           << "close " << p + 30 << "\n";  // closeFrame below
    const std::string first = Run(script.str(), "keys.txt");
    const std::vector<TRACELINE> trace = ParseTrace(first);
    ASSERT_GT(static_cast<int>(trace.size()), p + 16);
    auto state = [&](int frame) { return trace[frame - 1].at("state"); };
    EXPECT_EQ(state(p - 1), "2");
    EXPECT_EQ(state(p), "3") << "space pauses";
    EXPECT_EQ(trace[p - 1].at("se"), "4");
    EXPECT_EQ(state(p + 2), "2") << "cancel restores the saved state";
    EXPECT_EQ(state(p + 3), "3") << "space still held pauses again";
    EXPECT_EQ(state(p + 6), "2");
    EXPECT_EQ(state(p + 10), "3");
    EXPECT_EQ(trace[p + 12].at("setups"), "1");
    EXPECT_EQ(state(p + 14), "1") << "retry goes back to READY";
    EXPECT_EQ(trace[p + 13].at("setups"), "2") << "retry runs the set-up again";
    EXPECT_EQ(trace[p + 13].at("substeps"), "0");

    // Frames after the close request depend on how long the close sequence takes: compare the
    // frames up to it.
    const int closeFrame = p + 30;
    const std::string second = Run(script.str(), "again.txt");
    EXPECT_TRUE(FirstLines(second, closeFrame) == FirstLines(first, closeFrame)) << "the same script traces alike";
}

// The stage is not drawn yet, so a frame dump cannot show the hero: until it is, the trace's
// positions are checked against what the keys ask for.
TEST_F(StageRun, TheDemoHeroWalksRightAndJumpsAsTheKeysSayAndTwoRunsTraceAlike)
{
    const int walk = 100;     // right held from here
    const int jump = 120;     // Z added
    const int release = 126;  // all keys up
    const int closeFrame = 170;
    std::ostringstream script;
    script << "keys " << walk << " RIGHT\n"
           << "keys " << jump << " RIGHT Z\n"
           << "keys " << release << "\n"
           << "close " << closeFrame << "\n";
    const std::string first = Run(script.str(), "walk.txt", "data\\stg4\\Meadow.stg4");
    const std::vector<TRACELINE> trace = ParseTrace(first);
    ASSERT_GE(static_cast<int>(trace.size()), closeFrame);
    const int play = FirstFrame(trace, "state", "2");
    ASSERT_GT(play, 0);
    ASSERT_LT(play, walk - 5) << "the keys must come after PLAY";
    auto x = [&](int frame) { return TracedDouble(trace[frame - 1], "x"); };
    auto y = [&](int frame) { return TracedDouble(trace[frame - 1], "y"); };
    for (int f = play; f <= closeFrame; ++f) EXPECT_EQ(trace[f - 1].at("dead"), "0") << "frame " << f;

    // Standing: the hero stays where it was placed, on the ground.
    const double ground = y(walk - 1);
    for (int f = play; f < walk; ++f) EXPECT_EQ(x(f), x(play)) << "frame " << f;
    // Walking: right every frame, along the ground.
    for (int f = walk; f < jump; ++f) {
        EXPECT_GT(x(f), x(f - 1)) << "frame " << f;
        EXPECT_NEAR(y(f), ground, 1.0) << "frame " << f;
    }
    // Jumping: up while rising, still going right, and back down onto the ground.
    EXPECT_NE(trace[jump - 1].at("se"), "-") << "the jump sounds";
    EXPECT_LT(y(jump + 5), ground - 16) << "half a block up within five frames";
    EXPECT_GT(x(jump + 5), x(jump - 1));
    EXPECT_NEAR(y(closeFrame), ground, 1.0) << "landed";
    // With the keys up the walk's last step ends and the hero stays.
    EXPECT_EQ(x(closeFrame), x(closeFrame - 20));

    const std::string second = Run(script.str(), "walk-again.txt", "data\\stg4\\Meadow.stg4");
    EXPECT_TRUE(FirstLines(second, closeFrame) == FirstLines(first, closeFrame)) << "the same script traces alike";
}

}  // namespace
