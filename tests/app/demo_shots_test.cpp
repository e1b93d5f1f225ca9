// The demo's hero fires a spread volley on its third button and swings its sword on its second,
// played by the executable under scripted keys: the shots stand in a dumped frame where the
// trace says they are, the sword beside the hero in the trace, and two runs trace alike.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/video/bmp_reader.h"
#include "shell/game_arithmetic.h"
#include "tests/app/game_process.h"
#include "tests/app/trace_lines.h"
#include "tests/support/demo_game.h"
#include "tests/support/stored_png.h"
#include "tests/support/temp_folder.h"

namespace {

using qbtest::TRACELINE;

struct SHOTSPOT {
    int x, y;
};

// The positions of the traced field shotxy ("x,y;x,y" or "-").
std::vector<SHOTSPOT> TracedShots(const TRACELINE& line)
{
    std::vector<SHOTSPOT> spots;
    const std::string text = line.at("shotxy");
    if (text == "-") return spots;
    std::istringstream in(text);
    for (std::string pair; std::getline(in, pair, ';');) {
        const std::size_t comma = pair.find(',');
        spots.push_back({std::stoi(pair.substr(0, comma)), std::stoi(pair.substr(comma + 1))});
    }
    return spots;
}

class DemoShots : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Game = m_Work.Path() / "game";
        ASSERT_TRUE(qbtest::WriteDemoGame(m_Game));
    }

    std::string RunTrace(const std::string& script)
    {
        m_Work.WriteFile("run.txt", "clock virtual\ntrace trace.txt\n" + script);
        qbtest::cGameProcess game(m_Runtime, m_Game, {"QUILLBRAMWOOD_SCRIPT=" + (m_Work.Path() / "run.txt").string()},
                                  {"data\\stg4\\Meadow.stg4"});
        EXPECT_TRUE(game.Ends(0, "the scripted close"));
        return m_Work.ReadFile("game/trace.txt");
    }

    // Whether shot cell `frame` of picture 1, as drawn facing right (the sheet's mirrored
    // copy), stands in the dumped frame at (x, y).
    bool ShotCellAt(const std::vector<std::uint32_t>& dumped, int frame, int x, int y) const
    {
        const std::filesystem::path before = std::filesystem::current_path();
        std::filesystem::current_path(m_Game);
        plat::cBmpImage image;
        const bool read = plat::ReadBmpFile("bmp\\Shot.bmp", image);
        std::filesystem::current_path(before);
        if (!read || x < 0 || y < 0 || x + 16 > 640 || y + 16 > 480) return false;
        int opaque = 0;
        for (int cy = 0; cy < 16; ++cy)
            for (int cx = 0; cx < 16; ++cx) {
                const int sx = frame * 16 + 15 - cx;
                const int sy = 16 + cy;
                if (image.indices[static_cast<std::size_t>(sy * image.nWidth + sx)] == 0) continue;
                ++opaque;
                if (dumped[static_cast<std::size_t>((y + cy) * 640 + x + cx)] != (image.Pixel(sx, sy) & 0xFFFFFFu))
                    return false;
            }
        return opaque > 0;
    }

    qbtest::cTempFolder m_Runtime;
    qbtest::cTempFolder m_Work;
    std::filesystem::path m_Game;
};

constexpr const char* kShotScript = "keys 100 C\nkeys 103\ndump 112 volley.png\n"
                                    "keys 130 X\nkeys 132\nclose 150\n";

TEST_F(DemoShots, TheVolleyStandsInTheFrameWhereTheTraceSays)
{
    const std::vector<TRACELINE> trace = qbtest::ParseTrace(RunTrace(kShotScript));
    ASSERT_GE(trace.size(), 150u);
    ASSERT_EQ(trace[98].at("shots"), "0");
    const TRACELINE& dumped = trace[111];
    const std::vector<SHOTSPOT> spots = TracedShots(dumped);
    // A spread of three from a hero on the ground: the falling one may have met the ground.
    ASSERT_GE(spots.size(), 2u);
    const int scrollX = TruncToInt(qbtest::TracedDouble(dumped, "scrx"));
    const int scrollY = TruncToInt(qbtest::TracedDouble(dumped, "scry"));
    const std::vector<std::uint32_t> frame = qbtest::ReadStoredPng((m_Game / "volley.png").string(), 640, 480);
    ASSERT_EQ(frame.size(), 640u * 480u);
    for (const SHOTSPOT& spot : spots) {
        const int x = spot.x - scrollX;
        const int y = spot.y - scrollY;
        EXPECT_TRUE(ShotCellAt(frame, 0, x, y) || ShotCellAt(frame, 1, x, y)) << "a shot at " << x << ", " << y;
    }
    // Spread 45 degrees apart, the rising one first, then the one straight ahead.
    EXPECT_LT(spots[0].y, spots[1].y);
}

TEST_F(DemoShots, TheSwordSwingsBesideTheHeroAndTheRunsTraceAlike)
{
    const std::string first = RunTrace(kShotScript);
    const std::vector<TRACELINE> trace = qbtest::ParseTrace(first);
    ASSERT_GE(trace.size(), 150u);
    int swordFrames = 0;
    for (int f = 130; f < 150; ++f) {
        const TRACELINE& line = trace[static_cast<std::size_t>(f)];
        const std::vector<SHOTSPOT> spots = TracedShots(line);
        const double heroX = qbtest::TracedDouble(line, "x");
        const double heroY = qbtest::TracedDouble(line, "y");
        for (const SHOTSPOT& spot : spots) {
            // The sword stands right of the hero, who faces right, level with its middle.
            if (spot.x >= heroX + 16 && spot.x <= heroX + 48 && spot.y >= heroY && spot.y <= heroY + 24) ++swordFrames;
        }
    }
    EXPECT_GT(swordFrames, 0) << "a sword beside the hero";
    EXPECT_EQ(RunTrace(kShotScript), first);
}

}  // namespace
