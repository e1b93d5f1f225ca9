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

#include "data/condition_data.h"
#include "data/palette_data.h"
#include "data/stage_data.h"
#include "tests/app/demo_stage_variants.h"
#include "tests/app/game_process.h"
#include "tests/app/trace_lines.h"
#include "tests/support/demo_game.h"
#include "tests/support/restore.h"
#include "tests/support/temp_folder.h"

namespace {

using qbtest::cGameProcess;
using qbtest::ExitedWith;

using qbtest::ParseTrace;
using qbtest::TRACELINE;
using qbtest::TracedDouble;

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
        WriteDiceStage();
    }

    // Saves the demo's first stage, changed by `change`, as a stage of its own.
    template <class CHANGE>
    void WriteMeadowAs(const char* path, CHANGE change)
    {
        qbtest::WriteStageAs(m_Game, "data\\stg4\\Meadow.stg4_001", path, change);
    }

    // The demo's first stage with both start captions on.
    void WriteCaptionStage()
    {
        WriteMeadowAs("data\\stg4\\Captions.stg4_001", [](cStageData& stage) {
            stage.m_bStartSign = 1;
            stage.m_bStartSignSmall = 1;
        });
    }

    // The demo's first stage where the game's random numbers matter, once more with both start
    // captions, whose READY draws the stage for 158 frames.
    void WriteDiceStage()
    {
        WriteMeadowAs("data\\stg4\\Dice.stg4_001", [](cStageData& stage) {
            qbtest::AddDice(stage);
            stage.m_bStartSign = 0;
            stage.m_bStartSignSmall = 0;
        });
        WriteMeadowAs("data\\stg4\\DiceCaptions.stg4_001", [](cStageData& stage) {
            qbtest::AddDice(stage);
            stage.m_bStartSign = 1;
            stage.m_bStartSignSmall = 1;
        });
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

    // The run ends on the frame the close is asked after: two runs trace alike to the byte.
    const int closeFrame = p + 30;
    EXPECT_EQ(static_cast<int>(trace.size()), closeFrame);
    const std::string second = Run(script.str(), "again.txt");
    EXPECT_TRUE(second == first) << "the same script traces alike";
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

    EXPECT_EQ(static_cast<int>(trace.size()), closeFrame);
    const std::string second = Run(script.str(), "walk-again.txt", "data\\stg4\\Meadow.stg4");
    EXPECT_TRUE(second == first) << "the same script traces alike";
}

// The lines of the play frames by their number, without the harness's frame number, up to the
// harness's frame `lastFrame`.
std::map<int, std::string> PlayFrameLines(const std::string& text, int lastFrame)
{
    std::map<int, std::string> lines;
    std::istringstream in(text);
    std::string previous = "0";
    int frame = 0;
    for (std::string line; ++frame <= lastFrame && std::getline(in, line);) {
        const std::size_t at = line.find(" pframe=");
        if (at == std::string::npos) continue;
        const std::size_t from = at + 8;
        const std::string number = line.substr(from, line.find(' ', from) - from);
        if (number != previous) lines[std::stoi(number)] = line.substr(line.find(' '));
        previous = number;
    }
    return lines;
}

// Every play frame of `expected` stands in `actual` as it was, and no other.
void ExpectSamePlayFrames(const std::map<int, std::string>& expected, const std::map<int, std::string>& actual)
{
    EXPECT_EQ(actual.size(), expected.size());
    for (const auto& [number, line] : expected) {
        const auto found = actual.find(number);
        ASSERT_NE(found, actual.end()) << "play frame " << number;
        ASSERT_EQ(found->second, line) << "play frame " << number;
    }
}

// A pause, as a player makes one: space held (pause), space released (still paused), then X
// (cancel: play again from the next frame), X released. The keys held before stay held.
constexpr int kPauseFrames = 5;

// The walk-and-jump script of the demo hero with pauses inserted before the plain frames
// `pauses` (no button is held then), the later keys shifted by the frames the pauses took.
std::string WalkScript(const std::vector<int>& pauses)
{
    const std::vector<std::pair<int, std::string>> keys = {
        {100, "RIGHT"}, {120, "RIGHT Z"}, {126, ""}, {150, "LEFT"}, {160, ""}};
    const int closeFrame = 170;
    auto shifted = [&](int frame) {
        int shift = 0;
        for (int p : pauses) shift += (p <= frame) ? kPauseFrames : 0;
        return frame + shift;
    };
    auto heldAt = [&](int frame) {
        std::string held;
        for (const auto& [from, names] : keys) held = (from <= frame) ? names : held;
        return held;
    };
    std::ostringstream text;
    for (const auto& [from, names] : keys) text << "keys " << shifted(from) << " " << names << "\n";
    for (int p : pauses) {
        const int at = shifted(p) - kPauseFrames;
        const std::string held = heldAt(p);
        text << "keys " << at << " " << held << " SPACE\n"
             << "keys " << at + 3 << " " << held << "\n"
             << "keys " << at + 4 << " " << held << " X\n"
             << "keys " << at + kPauseFrames << " " << held << "\n";
    }
    text << "close " << shifted(closeFrame) << "\n";
    return text.str();
}

// Pausing while the hero walks, while it falls and while it stands, with the later keys shifted
// by the frames the pauses took, gives the same play frames as a run without pauses.
TEST_F(StageRun, PausesInsertedIntoAScriptLeaveEveryPlayFrameAsItWas)
{
    const char* stage = "data\\stg4\\Dice.stg4";
    const std::vector<int> pauses = {110, 130, 165};
    const std::string plain = Run(WalkScript({}), "plain.txt", stage);
    const std::string paused = Run(WalkScript(pauses), "paused.txt", stage);

    const std::vector<TRACELINE> trace = ParseTrace(paused);
    const int lastFrame = 170 + kPauseFrames * static_cast<int>(pauses.size());
    ASSERT_GE(static_cast<int>(trace.size()), lastFrame);
    for (std::size_t k = 0; k < pauses.size(); ++k) {
        const int at = pauses[k] + kPauseFrames * static_cast<int>(k);
        ASSERT_EQ(trace[at - 2].at("state"), "2") << "pause " << k;
        EXPECT_EQ(trace[at - 1].at("state"), "3") << "pause " << k;
        EXPECT_EQ(trace[at + kPauseFrames - 2].at("pframe"), trace[at - 2].at("pframe")) << "pause " << k;
        EXPECT_EQ(trace[at + kPauseFrames - 1].at("state"), "2") << "pause " << k;
    }
    const std::vector<TRACELINE> plainTrace = ParseTrace(plain);
    ASSERT_GE(static_cast<int>(plainTrace.size()), 170);
    EXPECT_NE(plainTrace[99].at("seed"), plainTrace[169].at("seed")) << "the play frames draw random numbers";

    const std::map<int, std::string> expected = PlayFrameLines(plain, 170);
    ASSERT_GT(expected.size(), 60u);
    ExpectSamePlayFrames(expected, PlayFrameLines(paused, lastFrame));
}

// READY lasts from 0 to 158 frames by the stage's start captions (and by the recording of a
// replay): the play frames that follow are the same.
TEST_F(StageRun, TheLengthOfReadyLeavesEveryPlayFrameAsItWas)
{
    const std::string script = "close 400\n";
    const std::string quick = Run(script, "quick.txt", "data\\stg4\\Dice.stg4");
    const std::string slow = Run(script, "slow.txt", "data\\stg4\\DiceCaptions.stg4");
    std::map<int, std::string> expected = PlayFrameLines(quick, 400);
    const std::map<int, std::string> actual = PlayFrameLines(slow, 400);
    ASSERT_GT(actual.size(), 60u);
    ASSERT_GT(expected.size(), actual.size() + 100) << "the captions make READY longer";
    expected.erase(expected.upper_bound(static_cast<int>(actual.size())), expected.end());
    ExpectSamePlayFrames(expected, actual);
}

}  // namespace
