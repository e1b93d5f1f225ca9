// The demo's signpost stage played by the executable under scripts. On its first play frame the
// sign greets the hero with a message that waits for the decide key, chains a second one to it
// and then waits a second, each in a loop of its own while the play frame that started it
// waits: the loops' frames show, the world stays still, and the keys pressed in them decide
// only how long each message stays.
#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tests/app/game_process.h"
#include "tests/app/trace_lines.h"
#include "tests/support/demo_game.h"
#include "tests/support/stored_png.h"
#include "tests/support/temp_folder.h"

namespace signpost_stage_test {

using qbtest::ParseTrace;
using qbtest::TRACELINE;
using qbtest::TracedDouble;

constexpr const char* kSignpostStage = "data\\stg4\\Signpost.stg4";
constexpr int kFirstWaitDelay = 10;   // frames a first key-wait ignores the key
constexpr int kSignWaitFrames = 60;   // the sign's one-second game wait
// The sign's cell, and the stage's margin of blocks around its cells.
constexpr int kSignColumn = 6;
constexpr int kSignRow = 12;
constexpr int kMarginBlocks = 10;

// Script lines that press the decide key on a frame and let it go on the next.
std::string Press(int frame) { return "keys " + std::to_string(frame) + " Z\nkeys " + std::to_string(frame + 1) + "\n"; }

const TRACELINE& Line(const std::vector<TRACELINE>& trace, int frame) { return trace.at(static_cast<std::size_t>(frame - 1)); }

// Whether a line's sounds hold the sound-table entry.
bool Sounds(const TRACELINE& line, int se)
{
    const std::string list = "," + line.at("se") + ",";
    return list.find("," + std::to_string(se) + ",") != std::string::npos;
}

int CountSounds(const std::vector<TRACELINE>& trace, int se)
{
    int count = 0;
    for (const TRACELINE& line : trace) count += Sounds(line, se);
    return count;
}

// The play frames' lines without their frame numbers, which the loops' frames shift.
std::vector<TRACELINE> PlayLines(std::vector<TRACELINE> trace)
{
    std::vector<TRACELINE> lines;
    for (TRACELINE& line : trace) {
        if (line.at("loop") != "0") continue;
        line.erase("frame");
        lines.push_back(line);
    }
    return lines;
}

// A line with what a frozen world leaves alike from frame to frame.
TRACELINE Frozen(TRACELINE line)
{
    line.erase("frame");
    line.erase("se");
    return line;
}

// Runs of the stage in a demo game of its own.
class cSignpostRuns {
public:
    // Finds the greeting's first frame from a run without keys: false, with a failure, when the
    // game cannot be written or the greeting does not wait in a loop on the first play frame.
    bool Start(std::vector<std::string> display = {})
    {
        m_Display = std::move(display);
        if (!qbtest::WriteDemoGame(Game())) return false;
        // The greeting's loop starts on the first play frame, whose line is the loop's first.
        const std::vector<TRACELINE> plain = Run("close 250\n");
        for (std::size_t f = 0; f < plain.size() && m_nGreeting == 0; ++f)
            if (plain[f].at("loop") == "1") m_nGreeting = static_cast<int>(f) + 1;
        EXPECT_GT(m_nGreeting, 1) << "the sign's greeting waits in a loop";
        if (m_nGreeting <= 1) return false;
        EXPECT_EQ(Line(plain, m_nGreeting).at("pframe"), "1");
        EXPECT_EQ(Line(plain, m_nGreeting - 1).at("pframe"), "0");
        return true;
    }

    std::vector<TRACELINE> Run(const std::string& script)
    {
        const std::string name = "run" + std::to_string(++m_nRuns) + ".txt";
        m_Work.WriteFile(name, "clock virtual\ntrace trace.txt\n" + script);
        std::vector<std::string> environment = m_Display;
        environment.push_back("QUILLBRAMWOOD_SCRIPT=" + (m_Work.Path() / name).string());
        {
            qbtest::cGameProcess game(m_Runtime, Game(), environment, {kSignpostStage});
            EXPECT_TRUE(game.Ends(0, "the signpost stage played to its close")) << script;
        }
        return ParseTrace(m_Work.ReadFile("game/trace.txt"));
    }

    std::filesystem::path Game() const { return m_Work.Path() / "game"; }
    int Greeting() const { return m_nGreeting; }

private:
    qbtest::cTempFolder m_Runtime;
    qbtest::cTempFolder m_Work;
    std::vector<std::string> m_Display;   // environment for a real X window
    int m_nRuns = 0;
    int m_nGreeting = 0;   // the frame of the greeting loop's first frame
};

class SignpostStage : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_Runs.Start());
        m_nGreeting = m_Runs.Greeting();
    }
    std::vector<TRACELINE> Run(const std::string& script) { return m_Runs.Run(script); }

    cSignpostRuns m_Runs;
    int m_nGreeting = 0;
};

TEST_F(SignpostStage, TheGreetingWaitsTenFramesForANewPressAndSoundsOnce)
{
    // Frames of the greeting's loop, counted from 1.
    struct Case {
        const char* what;
        std::string keys;
        int closesOn;   // 0: still open at the run's close
    } cases[] = {
        {"a press on the second frame", Press(m_nGreeting + 1), 0},
        {"a press on the tenth frame", Press(m_nGreeting + 9), 0},
        {"a press on the eleventh frame", Press(m_nGreeting + 10), kFirstWaitDelay + 1},
        {"a press on the fourteenth frame", Press(m_nGreeting + 13), 14},
        {"the key held from the fifth frame on", "keys " + std::to_string(m_nGreeting + 4) + " Z\n", 0},
        {"the key held from the tenth frame on", "keys " + std::to_string(m_nGreeting + 9) + " Z\n", 0},
    };
    constexpr int kFrames = 20;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<TRACELINE> trace = Run(c.keys + "close " + std::to_string(m_nGreeting + kFrames - 1) + "\n");
        ASSERT_EQ(trace.size(), static_cast<std::size_t>(m_nGreeting + kFrames - 1));
        EXPECT_TRUE(Sounds(Line(trace, m_nGreeting), 11)) << "the message opens with its sound";
        EXPECT_EQ(CountSounds(trace, 11), 1);
        for (int k = 1; k <= kFrames; ++k) {
            const TRACELINE& line = Line(trace, m_nGreeting + k - 1);
            EXPECT_EQ(line.at("loop"), "1") << "frame " << k << " of the loop";
            EXPECT_EQ(line.at("pframe"), "1") << "frame " << k << " of the loop";
            EXPECT_EQ(Sounds(line, 12), k == c.closesOn) << "frame " << k << " of the loop: the decide sound closes it";
        }
    }
}

TEST_F(SignpostStage, TheChainedMessageOpensAtOnceAndOnlyANewPressClosesIt)
{
    const int closed = m_nGreeting + kFirstWaitDelay;   // the greeting closes on its 11th frame
    struct Case {
        const char* what;
        std::string keys;
        int closesOn;   // frames of the chained loop, its first the one the greeting closed in
    } cases[] = {
        {"pressed again on its third frame", Press(closed) + Press(closed + 2), 3},
        {"the key that closed the greeting held on", "keys " + std::to_string(closed) + " Z\n", 0},
    };
    constexpr int kFrames = 20;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<TRACELINE> trace = Run(c.keys + "close " + std::to_string(closed + kFrames - 1) + "\n");
        ASSERT_EQ(trace.size(), static_cast<std::size_t>(closed + kFrames - 1));
        ASSERT_TRUE(Sounds(Line(trace, closed), 12)) << "the greeting closed";
        EXPECT_EQ(Line(trace, closed).at("se"), "12") << "the greeting alone closed in its frame";
        EXPECT_EQ(CountSounds(trace, 11), 1) << "a chained message opens without the sound";
        // No play frame runs between the two: the chained loop shows from the frame the
        // greeting closed in, and a press on its third frame is already heard.
        for (int k = 1; k <= kFrames; ++k) {
            const TRACELINE& line = Line(trace, closed + k - 1);
            EXPECT_EQ(line.at("loop"), "1") << "frame " << k << " of the chained loop";
            EXPECT_EQ(line.at("pframe"), "1") << "frame " << k << " of the chained loop";
            if (k > 1) {
                EXPECT_EQ(Sounds(line, 12), k == c.closesOn) << "frame " << k << " of the chained loop";
            }
        }
    }
}

TEST_F(SignpostStage, TheSecondsWaitShowsSixtyLoopFramesWhileThePlayFrameStaysFrozen)
{
    const int chained = m_nGreeting + kFirstWaitDelay;
    const int waitStart = chained + 2;   // the frame the chained message closes in
    const int resumed = waitStart + kSignWaitFrames;
    const std::vector<TRACELINE> trace =
        Run(Press(chained) + Press(waitStart) + "close " + std::to_string(resumed + 2) + "\n");
    ASSERT_EQ(trace.size(), static_cast<std::size_t>(resumed + 2));
    ASSERT_TRUE(Sounds(Line(trace, waitStart), 12)) << "the chained message closed";
    const TRACELINE still = Frozen(Line(trace, waitStart));
    for (int f = waitStart; f < resumed; ++f) {
        EXPECT_EQ(Line(trace, f).at("loop"), "1") << "frame " << f - waitStart + 1 << " of the wait";
        EXPECT_EQ(Frozen(Line(trace, f)), still) << "frame " << f - waitStart + 1 << " of the wait";
    }
    // The play frame that started the loops finishes in the frame the wait ended in; the next
    // one follows.
    EXPECT_EQ(Line(trace, resumed).at("loop"), "0");
    EXPECT_EQ(Line(trace, resumed).at("pframe"), "1");
    EXPECT_EQ(Line(trace, resumed + 1).at("pframe"), "2");
}

TEST_F(SignpostStage, ClosingTheMessagesEarlyOrLateLeavesThePlayFramesAlike)
{
    // Frames each message shows before the press that closes it.
    struct Case {
        int greeting;
        int chained;
    } cases[] = {{12, 3}, {12, 40}, {40, 3}, {40, 40}};
    constexpr int kPlayFramesAfter = 100;
    std::vector<TRACELINE> first;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "greeting closed after " << c.greeting << " frames, the chained after " << c.chained);
        const int chained = m_nGreeting + c.greeting;
        const int waitStart = chained + c.chained;
        const int closeFrame = waitStart + kSignWaitFrames + kPlayFramesAfter;
        const std::vector<TRACELINE> trace =
            Run(Press(chained) + Press(waitStart) + "close " + std::to_string(closeFrame) + "\n");
        ASSERT_EQ(trace.size(), static_cast<std::size_t>(closeFrame));
        ASSERT_TRUE(Sounds(Line(trace, chained), 12)) << "the greeting closed";
        ASSERT_TRUE(Sounds(Line(trace, waitStart), 12)) << "the chained message closed";
        const std::vector<TRACELINE> lines = PlayLines(trace);
        ASSERT_EQ(lines.back().at("pframe"), std::to_string(kPlayFramesAfter + 1));
        if (first.empty())
            first = lines;
        else
            EXPECT_TRUE(lines == first) << "the play frames' lines differ";
    }
}

using SHOT = std::vector<std::uint32_t>;

std::uint32_t ShotPixel(const SHOT& shot, int x, int y) { return shot[static_cast<std::size_t>(y) * 640 + x] & 0xFFFFFFu; }

// The box of the pixels that differ between two shots, within rows top to bottom - 1.
struct BOX {
    int left = 640, top = 480, right = -1, bottom = -1;
};

BOX Changed(const SHOT& before, const SHOT& after, int top, int bottom)
{
    BOX box;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < 640; ++x) {
            if (ShotPixel(before, x, y) == ShotPixel(after, x, y)) continue;
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
        }
    return box;
}

// Pixels within the box whose colour is not the one at its top-left inner corner: the
// message window's text.
int TextPixels(const SHOT& shot, const BOX& box)
{
    const std::uint32_t ground = ShotPixel(shot, box.left + 2, box.top + 2);
    int count = 0;
    for (int y = box.top + 1; y < box.bottom; ++y)
        for (int x = box.left + 1; x < box.right; ++x) count += ShotPixel(shot, x, y) != ground;
    return count;
}

// Screenshots of the greeting and of the message chained to it, against one of the frame
// before: each message is a window of text centred above the sign, its own width.
void ShowTheSignsMessages(cSignpostRuns& runs)
{
    const int greeting = runs.Greeting();
    const int grown = greeting + kFirstWaitDelay - 1;   // the greeting has grown in by now
    const int chained = greeting + kFirstWaitDelay;
    const std::string script = "dump " + std::to_string(greeting - 1) + " before.png\ndump " + std::to_string(grown) +
                               " greeting.png\ndump " + std::to_string(chained + 1) + " chained.png\n" + Press(chained) +
                               "close " + std::to_string(chained + 2) + "\n";
    const std::vector<TRACELINE> trace = runs.Run(script);
    ASSERT_EQ(trace.size(), static_cast<std::size_t>(chained + 2));
    const TRACELINE& line = Line(trace, grown);
    const int signLeft = (kMarginBlocks + kSignColumn) * 32 - static_cast<int>(TracedDouble(line, "scrx"));
    const int signTop = (kMarginBlocks + kSignRow) * 32 - static_cast<int>(TracedDouble(line, "scry"));
    ASSERT_GE(signLeft, 0);
    ASSERT_LE(signLeft + 32, 640);

    const std::filesystem::path game = runs.Game();
    const SHOT before = qbtest::ReadStoredPng((game / "before.png").string(), 640, 480);
    ASSERT_EQ(before.size(), 640u * 480u);
    int widths[2] = {};
    int n = 0;
    for (const char* name : {"greeting.png", "chained.png"}) {
        SCOPED_TRACE(name);
        const SHOT shot = qbtest::ReadStoredPng((game / name).string(), 640, 480);
        ASSERT_EQ(shot.size(), 640u * 480u);
        // Below the status bar and down to the sign's foot: the message is all that changed.
        const BOX box = Changed(before, shot, 24, signTop + 32);
        ASSERT_GE(box.right, 0) << "the message shows";
        EXPECT_LE(box.bottom, signTop) << "above the sign";
        EXPECT_GE(box.bottom, signTop - 8) << "just above the sign";
        EXPECT_NEAR((box.left + box.right) / 2.0, signLeft + 16, 2.0) << "centred on the sign";
        EXPECT_GE(box.bottom - box.top, 12) << "a line of text high";
        EXPECT_GT(TextPixels(shot, box), 100) << "its text is drawn";
        widths[n++] = box.right - box.left;
    }
    EXPECT_GT(widths[0], widths[1]) << "each message is its own text's width";
}

TEST_F(SignpostStage, TheSignsMessagesStandAboveTheSign) { ShowTheSignsMessages(m_Runs); }

// The same in a real X window: run again under xvfb-run with the other StageWindow tests.
TEST(StageWindow, TheSignsMessagesStandAboveTheSignInAWindow)
{
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    std::vector<std::string> environment = {"SDL_VIDEODRIVER=x11", "SDL_RENDER_DRIVER=software"};
    for (const char* keep : {"DISPLAY", "XAUTHORITY", "LSAN_OPTIONS"})
        if (const char* value = std::getenv(keep)) environment.push_back(std::string(keep) + "=" + value);
    cSignpostRuns runs;
    ASSERT_TRUE(runs.Start(environment));
    ShowTheSignsMessages(runs);
}

}  // namespace signpost_stage_test
