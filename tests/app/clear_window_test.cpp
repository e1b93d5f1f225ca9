// A clear of the demo in a real X window (under xvfb-run): before the clear's frames reach 200
// the stage shows alone; from then on the result window stands at (336, 224) with the ranking
// marker, from the status picture, on each of its five rows, since the first clear takes the
// first place of every table.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/video/bmp_reader.h"
#include "tests/app/challenge_clear_script.h"
#include "tests/app/game_process.h"
#include "tests/app/trace_lines.h"
#include "tests/support/demo_game.h"
#include "tests/support/stored_png.h"
#include "tests/support/temp_folder.h"

namespace {

using CLEARFRAME = std::vector<std::uint32_t>;

constexpr int kBefore = qbtest::kChallengeClearFrame + 10;
constexpr int kResults = qbtest::kChallengeResultsFrame + 5;
constexpr int kPanelX = 336, kPanelY = 224, kRow = 16;

// How many of the marker's opaque pixels stand in the frame at (x, y).
int MarkerPixelsAt(const CLEARFRAME& frame, const plat::cBmpImage& status, int x, int y, int& opaque)
{
    int matched = 0;
    opaque = 0;
    for (int dy = 0; dy < kRow; ++dy)
        for (int dx = 0; dx < kRow; ++dx) {
            const int sx = 16 + dx, sy = 48 + dy;
            if (status.indices[static_cast<std::size_t>(sy * status.nWidth + sx)] == 0) continue;
            ++opaque;
            const std::uint32_t shown = frame[static_cast<std::size_t>(y + dy) * 640 + x + dx] & 0xFFFFFFu;
            matched += shown == (status.Pixel(sx, sy) & 0xFFFFFFu) ? 1 : 0;
        }
    return matched;
}

}  // namespace

TEST(ClearWindow, TheResultWindowShowsAMarkerOnEveryRowTheClearRanks)
{
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    qbtest::cTempFolder runtime, work;
    const std::filesystem::path game = work.Path() / "demo";
    ASSERT_TRUE(qbtest::WriteDemoGame(game));
    work.WriteFile("run.txt", "clock virtual\ntrace trace.txt\n" + qbtest::ChallengeClearKeys() + "dump " +
                                  std::to_string(kBefore) + " before.png\ndump " + std::to_string(kResults) +
                                  " results.png\nclose " + std::to_string(kResults + 1) + "\n");
    std::vector<std::string> environment = {"SDL_VIDEODRIVER=x11", "SDL_RENDER_DRIVER=software",
                                            "QUILLBRAMWOOD_SCRIPT=" + (work.Path() / "run.txt").string()};
    for (const char* keep : {"DISPLAY", "XAUTHORITY", "LSAN_OPTIONS"})
        if (const char* value = std::getenv(keep)) environment.push_back(std::string(keep) + "=" + value);
    {
        qbtest::cGameProcess process(runtime, game, environment);
        ASSERT_TRUE(process.Ends(0, "the challenge clear in the X window to its close at frame " +
                                        std::to_string(kResults + 1)));
    }
    const std::vector<qbtest::TRACELINE> trace = qbtest::ParseTrace(work.ReadFile("demo/trace.txt"));
    ASSERT_GE(trace.size(), static_cast<std::size_t>(kResults));
    ASSERT_EQ(trace[kBefore - 1].at("state"), "4") << "cleared";
    ASSERT_EQ(trace[kResults - 1].at("state"), "4");
    const CLEARFRAME before = qbtest::ReadStoredPng((game / "before.png").string(), 640, 480);
    const CLEARFRAME results = qbtest::ReadStoredPng((game / "results.png").string(), 640, 480);
    ASSERT_EQ(before.size(), 640u * 480u);
    ASSERT_EQ(results.size(), 640u * 480u);

    const std::filesystem::path folder = std::filesystem::current_path();
    std::filesystem::current_path(game);
    plat::cBmpImage status;
    const bool read = plat::ReadBmpFile("bmp\\StatusWindow.bmp", status);
    std::filesystem::current_path(folder);
    ASSERT_TRUE(read);

    for (int row = 0; row < 5; ++row) {
        int opaque = 0;
        const int shown = MarkerPixelsAt(results, status, kPanelX, kPanelY + kRow * row, opaque);
        ASSERT_GT(opaque, 0) << "the marker has pixels to show";
        EXPECT_EQ(shown, opaque) << "the marker on row " << row;
        EXPECT_LT(MarkerPixelsAt(before, status, kPanelX, kPanelY + kRow * row, opaque), opaque)
            << "no marker on row " << row << " before the results";
    }
    int opaque = 0;
    EXPECT_LT(MarkerPixelsAt(results, status, kPanelX, kPanelY + kRow * 5, opaque), opaque) << "no sixth row";
}
