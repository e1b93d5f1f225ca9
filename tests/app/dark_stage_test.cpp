// The demo game's dark cave, named on the command line: its screenshots are dark but for a
// disc around the hero, and the hero blinks at the start of the stage, shown and hidden on the
// frames its blink gives. Run headless, and in a real X window under xvfb-run.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
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
using DARKFRAME = std::vector<std::uint32_t>;

// The frames shot: the first second of play, walking right.
constexpr int kFirstDarkShot = 100;
constexpr int kDarkShots = 24;
constexpr int kSightPixels = 8 * 16;   // the demo hero's sight in the dark cave

std::uint32_t DarkPixel(const DARKFRAME& frame, int x, int y) { return frame[static_cast<std::size_t>(y) * 640 + x] & 0xFFFFFFu; }

// Whether the hero's body is drawn: a 14 x 11 block of its body colour with its head's colour
// 6 rows above its middle, anywhere below the status bar.
bool HeroDrawn(const DARKFRAME& frame, std::uint32_t body, std::uint32_t head)
{
    for (int y = 26; y + 11 <= 480; ++y)
        for (int x = 1; x + 14 <= 640; ++x) {
            if (DarkPixel(frame, x, y) != body || DarkPixel(frame, x - 1, y) == body || DarkPixel(frame, x, y - 1) == body) continue;
            if (DarkPixel(frame, x + 13, y + 10) == body && DarkPixel(frame, x + 7, y - 6) == head) return true;
        }
    return false;
}

// The blink of the demo hero (kind 6, interval 4, 30 tenths): hidden on the first five play
// frames, then shown and hidden four frames each until the effect ends on its 181st.
bool BlinkShows(int playFrame)
{
    if (playFrame > 181) return true;
    return playFrame >= 6 && (playFrame - 6) / 4 % 2 == 0;
}

void PlayDarkStage(const std::vector<std::string>& display)
{
    qbtest::cTempFolder runtime, work;
    const std::filesystem::path game = work.Path() / "demo";
    ASSERT_TRUE(qbtest::WriteDemoGame(game));
    std::string script = "clock virtual\ntrace trace.txt\nkeys 95 RIGHT\n";
    for (int k = 0; k < kDarkShots; ++k) script += "dump " + std::to_string(kFirstDarkShot + k) + " shot" + std::to_string(k) + ".png\n";
    script += "close " + std::to_string(kFirstDarkShot + kDarkShots) + "\n";
    work.WriteFile("run.txt", script);
    std::vector<std::string> environment = display;
    environment.push_back("QUILLBRAMWOOD_SCRIPT=" + (work.Path() / "run.txt").string());
    {
        qbtest::cGameProcess process(runtime, game, environment, {"data\\stg4\\Darkness.stg4"});
        ASSERT_TRUE(process.Ends(0, "the dark cave played to its close"));
    }
    const std::vector<TRACELINE> trace = ParseTrace(work.ReadFile("demo/trace.txt"));
    ASSERT_GE(trace.size(), static_cast<std::size_t>(kFirstDarkShot + kDarkShots - 1));

    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(game);
    plat::cBmpImage hero;
    const bool read = plat::ReadBmpFile("bmp\\Character1.bmp", hero);
    std::filesystem::current_path(before);
    ASSERT_TRUE(read);
    const std::uint32_t body = hero.Pixel(16, 20) & 0xFFFFFFu, head = hero.Pixel(16, 9) & 0xFFFFFFu;

    int shown = 0, hidden = 0;
    for (int k = 0; k < kDarkShots; ++k) {
        const TRACELINE& line = trace[static_cast<std::size_t>(kFirstDarkShot + k - 1)];
        const int playFrame = std::stoi(line.at("pframe"));
        SCOPED_TRACE(testing::Message() << "frame " << kFirstDarkShot + k << ", play frame " << playFrame);
        ASSERT_EQ(line.at("state"), "2");
        const DARKFRAME shot = qbtest::ReadStoredPng((game / ("shot" + std::to_string(k) + ".png")).string(), 640, 480);
        ASSERT_EQ(shot.size(), 640u * 480u);
        EXPECT_EQ(HeroDrawn(shot, body, head), BlinkShows(playFrame));
        (BlinkShows(playFrame) ? shown : hidden) += 1;

        // Dark everywhere but within the sight of the hero's centre.
        // The hero's position is near its cell's corner; its centre within a few pixels.
        const double cx = qbtest::TracedDouble(line, "x") - qbtest::TracedDouble(line, "scrx") + 16;
        const double cy = qbtest::TracedDouble(line, "y") - qbtest::TracedDouble(line, "scry") + 16;
        std::map<std::uint32_t, int> far;
        int lit = 0, near = 0;
        for (int y = 24; y < 440; y += 4)
            for (int x = 0; x < 640; x += 4) {
                const double d = std::hypot(x - cx, y - cy);
                if (d > kSightPixels + 48) ++far[DarkPixel(shot, x, y)];
                if (d < kSightPixels - 48) {
                    ++near;
                    lit += DarkPixel(shot, x, y) != DarkPixel(shot, 636, 240);
                }
            }
        ASSERT_EQ(far.size(), 1u) << "one colour outside the sight";
        EXPECT_EQ(far.begin()->first, DarkPixel(shot, 636, 240));
        EXPECT_GT(lit * 2, near) << "the stage shows within the sight";
    }
    EXPECT_GT(shown, 0);
    EXPECT_GT(hidden, 0);
}

TEST(DarkStage, TheCaveIsDarkButAroundTheBlinkingHero) { PlayDarkStage({}); }

TEST(StageWindow, TheDarkCaveIsDarkButAroundTheBlinkingHeroInAWindow)
{
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    std::vector<std::string> environment = {"SDL_VIDEODRIVER=x11", "SDL_RENDER_DRIVER=software"};
    for (const char* keep : {"DISPLAY", "XAUTHORITY", "LSAN_OPTIONS"})
        if (const char* value = std::getenv(keep)) environment.push_back(std::string(keep) + "=" + value);
    PlayDarkStage(environment);
}

}  // namespace
