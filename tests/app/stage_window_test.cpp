// The demo game's first stage, named on the command line, played in a real X window (under
// xvfb-run) with scripted keys: two screenshots of the frames, in which the hero and the
// status bar stand where the trace of the same frames says.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/video/bmp_reader.h"
#include "tests/app/game_process.h"
#include "tests/app/trace_lines.h"
#include "tests/support/demo_game.h"
#include "tests/support/stored_png.h"
#include "tests/support/temp_folder.h"

namespace {

using qbtest::ParseTrace;
using qbtest::TRACELINE;
using qbtest::TracedDouble;
using FRAME = std::vector<std::uint32_t>;

constexpr int kFirstShot = 130;
// Both while the hero walks on the ground, before the gap it falls into.
constexpr int kSecondShot = 160;

// The hero's place on the screen as the trace gives it: its stage position less the camera's,
// in whole pixels.
int ScreenOf(const TRACELINE& line, const char* position, const char* camera)
{
    return static_cast<int>(std::floor(TracedDouble(line, position) - TracedDouble(line, camera)));
}

std::uint32_t At(const FRAME& frame, int x, int y) { return frame[static_cast<std::size_t>(y) * 640 + x] & 0xFFFFFFu; }

// The top-left corner of the hero's body in a frame: a 14 × 11 block of its body colour with
// its head's colour 6 rows above its middle, below the status bar.
std::optional<std::pair<int, int>> FindBody(const FRAME& frame, std::uint32_t body, std::uint32_t head)
{
    for (int y = 26; y + 11 <= 480; ++y)
        for (int x = 1; x + 14 <= 640; ++x) {
            if (At(frame, x, y) != body || At(frame, x - 1, y) == body || At(frame, x, y - 1) == body) continue;
            if (At(frame, x + 13, y + 10) != body || At(frame, x + 7, y - 6) != head) continue;
            return std::make_pair(x, y);
        }
    return std::nullopt;
}

// How many frames of the run the trace holds so far.
std::size_t TracedFrames(const qbtest::cTempFolder& work)
{
    if (!work.Exists("demo/trace.txt")) return 0;
    const std::string text = work.ReadFile("demo/trace.txt");
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace

TEST(StageWindow, TheHeroAndTheStatusBarStandWhereTheTraceSays)
{
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    qbtest::cTempFolder runtime, work;
    const std::filesystem::path game = work.Path() / "demo";
    ASSERT_TRUE(qbtest::WriteDemoGame(game));
    work.WriteFile("run.txt", "clock virtual\ntrace trace.txt\nkeys 100 RIGHT\ndump " + std::to_string(kFirstShot) +
                                  " first.png\ndump " + std::to_string(kSecondShot) + " second.png\nclose " +
                                  std::to_string(kSecondShot + 1) + "\n");
    std::vector<std::string> environment = {"SDL_VIDEODRIVER=x11", "SDL_RENDER_DRIVER=software",
                                            "QUILLBRAMWOOD_SCRIPT=" + (work.Path() / "run.txt").string()};
    for (const char* keep : {"DISPLAY", "XAUTHORITY", "LSAN_OPTIONS"})
        if (const char* value = std::getenv(keep)) environment.push_back(std::string(keep) + "=" + value);
    {
        qbtest::cGameProcess process(runtime, game, environment, {"data\\stg4\\Meadow.stg4"});
        ASSERT_TRUE(process.Ends(0, "the stage played in the X window to its close at frame " +
                                        std::to_string(kSecondShot + 1)))
            << "the trace holds " << TracedFrames(work) << " frames";
    }
    const std::vector<TRACELINE> trace = ParseTrace(work.ReadFile("demo/trace.txt"));
    ASSERT_GE(trace.size(), static_cast<std::size_t>(kSecondShot));
    const TRACELINE& first = trace[kFirstShot - 1];
    const TRACELINE& second = trace[kSecondShot - 1];
    ASSERT_EQ(first.at("state"), "2") << "the stage is played at the first screenshot";
    ASSERT_EQ(second.at("state"), "2");
    const FRAME shots[2] = {qbtest::ReadStoredPng((game / "first.png").string(), 640, 480),
                            qbtest::ReadStoredPng((game / "second.png").string(), 640, 480)};
    ASSERT_EQ(shots[0].size(), 640u * 480u);
    ASSERT_EQ(shots[1].size(), 640u * 480u);

    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(game);
    plat::cBmpImage status, accessory, hero;
    const bool read = plat::ReadBmpFile("bmp\\StatusWindow.bmp", status) && plat::ReadBmpFile("bmp\\Accessory.bmp", accessory) &&
                      plat::ReadBmpFile("bmp\\Character1.bmp", hero);
    std::filesystem::current_path(before);
    ASSERT_TRUE(read);

    // The status bar with the five items of the game's settings and their icons: widths 80, 64,
    // 66, 66 and 48 spaced by (638 - 324) / 6 = 52, so the HP icon at 300 and its gauge at 316.
    for (int k = 0; k < 2; ++k) {
        SCOPED_TRACE(k == 0 ? "first screenshot" : "second screenshot");
        const FRAME& shot = shots[k];
        const TRACELINE& line = k == 0 ? first : second;
        for (auto [x, y] : {std::pair{1, 1}, std::pair{30, 18}, std::pair{639, 0}, std::pair{639, 19}})
            EXPECT_EQ(At(shot, x, y), status.Pixel(x, y) & 0xFFFFFFu) << "the bar at " << x << "," << y;
        EXPECT_EQ(At(shot, 308, 11), accessory.Pixel(40, 40) & 0xFFFFFFu) << "the HP icon";
        const int fill = std::stoi(line.at("hp")) * 50 / 5;  // the demo hero has 5 HP at most
        ASSERT_GT(fill, 0);
        EXPECT_EQ(At(shot, 316 + fill - 1, 11), accessory.Pixel(fill - 1, 152) & 0xFFFFFFu) << "the HP gauge's fill";
        if (fill < 50) {
            EXPECT_EQ(At(shot, 316 + fill, 11), accessory.Pixel(fill, 136) & 0xFFFFFFu) << "its frame";
        }
    }

    // The hero: found by its body and head colours in both screenshots, moved between them as
    // far as its traced position moved against the camera's.
    const std::uint32_t body = hero.Pixel(16, 20) & 0xFFFFFFu, head = hero.Pixel(16, 9) & 0xFFFFFFu;
    const auto a = FindBody(shots[0], body, head);
    const auto b = FindBody(shots[1], body, head);
    ASSERT_TRUE(a.has_value()) << "the hero is drawn in the first screenshot";
    ASSERT_TRUE(b.has_value()) << "the hero is drawn in the second screenshot";
    const int walked = ScreenOf(second, "x", "scrx") - ScreenOf(first, "x", "scrx");
    EXPECT_GT(TracedDouble(second, "x"), TracedDouble(first, "x")) << "the hero walked right under the key";
    EXPECT_EQ(b->first - a->first, walked);
    EXPECT_EQ(b->second - a->second, ScreenOf(second, "y", "scry") - ScreenOf(first, "y", "scry"));
}
