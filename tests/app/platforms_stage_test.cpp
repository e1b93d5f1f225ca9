// The demo's platform stage played by the executable under a script: the hero rides a moving
// platform over the pit, steps on a block that hurts and on one that gives an item.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/app/game_process.h"
#include "tests/app/trace_lines.h"
#include "tests/support/demo_game.h"
#include "tests/support/temp_folder.h"

namespace {

using qbtest::cGameProcess;
using qbtest::ExitedWith;
using qbtest::ParseTrace;
using qbtest::TRACELINE;
using qbtest::TracedDouble;

constexpr const char* kPlatformsStage = "data\\stg4\\Platforms.stg4";
// Stage pixels, the 10-block margin included: the pit spans blocks 4 to 7.
constexpr double kPitNearEdge = (10 + 4) * 32;
constexpr double kPitFarEdge = (10 + 8) * 32;

class PlatformsStage : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Game = m_Work.Path() / "game";
        ASSERT_TRUE(qbtest::WriteDemoGame(m_Game));
    }

    std::string Run(const std::string& script, const char* name)
    {
        const std::filesystem::path path = m_Work.Path() / name;
        m_Work.WriteFile(name, "clock virtual\ntrace trace.txt\n" + script);
        cGameProcess game(m_Runtime, m_Game, {"QUILLBRAMWOOD_SCRIPT=" + path.string()}, {kPlatformsStage});
        EXPECT_TRUE(ExitedWith(game.Wait(), 0)) << name;
        return m_Work.ReadFile("game/trace.txt");
    }

    qbtest::cTempFolder m_Runtime;
    qbtest::cTempFolder m_Work;
    std::filesystem::path m_Game;
};

}  // namespace

TEST_F(PlatformsStage, TheHeroRidesOverThePitTakesTheBlocksDamageAndItsItemAndTwoRunsTraceAlike)
{
    const int play = qbtest::FirstFrameInState(ParseTrace(Run("close 200\n", "plain.txt")), "2");
    ASSERT_GT(play, 0);
    // The platform glides right for a second from PLAY, back for a second, and so on: it is at
    // the pit's near end 120 frames after PLAY, when the hero, walking from frame +100, steps on.
    const int walk = play + 100;
    const int ride = play + 121;       // keys up: the platform carries the hero
    const int walkOff = play + 173;    // the platform is at the far end
    const int stop = play + 228;       // past both blocks
    const int closeFrame = play + 270;
    std::ostringstream script;
    script << "keys " << walk << " RIGHT\n"
           << "keys " << ride << "\n"
           << "keys " << walkOff << " RIGHT\n"
           << "keys " << stop << "\n"
           << "close " << closeFrame << "\n";
    const std::string first = Run(script.str(), "ride.txt");
    const std::vector<TRACELINE> trace = ParseTrace(first);
    ASSERT_EQ(static_cast<int>(trace.size()), closeFrame);
    auto x = [&](int frame) { return TracedDouble(trace[frame - 1], "x"); };
    auto y = [&](int frame) { return TracedDouble(trace[frame - 1], "y"); };
    auto field = [&](int frame, const char* name) { return trace[frame - 1].at(name); };
    const double ground = y(walk - 1);

    // Riding: with no key held the hero moves right with the platform, level with the ground.
    EXPECT_LT(x(ride), kPitNearEdge + 32) << "on the platform at the pit's near end";
    EXPECT_GT(x(ride), kPitNearEdge - 8);
    for (int f = ride + 2; f < walkOff; ++f) {
        EXPECT_GT(x(f), x(f - 1)) << "carried at frame " << f;
        EXPECT_EQ(y(f), y(ride + 2)) << "riding at frame " << f;
    }
    EXPECT_GT(x(walkOff - 1) - x(ride + 2), 72.0) << "carried three quarters of the platform's way over";
    EXPECT_NEAR(y(ride + 2), ground, 1.0);
    // Over the pit and beyond its far edge without ever dropping into it.
    for (int f = walk; f <= closeFrame; ++f) {
        EXPECT_LT(y(f), ground + 1.0) << "frame " << f;
        EXPECT_EQ(field(f, "dead"), "0") << "frame " << f;
    }
    EXPECT_GT(x(stop), kPitFarEdge + 3 * 32);

    // The block that hurts takes one HP with the hit sound, the gift gives it back and scores.
    int hurt = 0;
    int gift = 0;
    for (int f = walkOff; f <= closeFrame && gift == 0; ++f) {
        if (hurt == 0 && field(f, "hp") == "4") hurt = f;
        if (hurt != 0 && field(f, "hp") == "5") gift = f;
    }
    ASSERT_GT(hurt, 0) << "the block hurts";
    ASSERT_GT(gift, hurt) << "the gift heals";
    EXPECT_EQ(field(hurt, "se"), "19") << "the hit sound of the database";
    EXPECT_EQ(field(hurt - 1, "hp"), "5");
    EXPECT_EQ(field(gift - 1, "score"), "0");
    EXPECT_EQ(field(gift, "score"), "500");
    EXPECT_EQ(field(closeFrame, "hp"), "5") << "each block acts once as the hero walks over it";

    const std::string second = Run(script.str(), "ride-again.txt");
    EXPECT_TRUE(second == first) << "the same script traces alike";
}
