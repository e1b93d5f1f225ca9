// The demo's boss stage played by the executable under a script: the boss's landing shakes the
// screen, each touch of the hero's shows a spark, and crossing into the second area brings its
// background, its music and a banner for three seconds, each in the dumped frames of the frames
// the trace marks.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <iterator>
#include <memory>
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
using DUMP = std::vector<std::uint32_t>;

constexpr const char* kBossStage = "data\\stg4\\Boss.stg4";
constexpr int kScreenW = 640;
constexpr int kScreenH = 480;
// Frames from the first play frame: the boss falls from the sky and lands (its shake's first
// frame, drawn still); the hero walks right from the start of its walk to its end, meeting the
// boss and then the marker of the second area.
constexpr int kLanding = 41;
constexpr int kWalk = 111;
constexpr int kBossTouch = 168;
constexpr int kCrossing = 202;
constexpr int kWalkEnd = 231;
// Standing beyond the marker, the hero meets the first walker twice as it walks there and back.
constexpr int kWalkerTouches[] = {316, 380};
// The shake's offsets from the frame after the landing: 8 pixels each way at 32 / 15 pixels a
// frame, each drawn before the step and truncated.
constexpr int kShakeOffsets[] = {2, 4, 6, 8, 5, 3, 1, 0, -2, -4, -6, -8, -5, -3, -1, 0};
constexpr int kShakeFrames = 60;
// The banner's size, shown at the screen's centre for three seconds of draws.
constexpr int kBannerW = 240;
constexpr int kBannerH = 64;
constexpr int kBannerFrames = 180;
constexpr int kClose = kCrossing + kBannerFrames + 10;
// The sound-table entry of a hit, and the stage's two tunes as BGM requests.
constexpr const char* kHitSound = "7";
constexpr const char* kFirstAreaBgm = "4:2";
constexpr const char* kSecondAreaBgm = "4:1";

// A picture of the game folder: its pixels, which are opaque, and its colour table.
struct PICTURE {
    int w = 0, h = 0;
    std::vector<std::uint32_t> colours;
    std::vector<bool> opaque;
    std::vector<std::uint32_t> table;
};

class BossStage : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_Folders = std::make_unique<FOLDERS>();
        ASSERT_TRUE(qbtest::WriteDemoGame(Game()));
        s_nPlay = qbtest::FirstFrameInState(qbtest::ParseTrace(Run("close 200\n")), "2");
        ASSERT_GT(s_nPlay, 0);
        std::ostringstream script;
        script << "keys " << At(kWalk) << " RIGHT\nkeys " << At(kWalkEnd) << "\n";
        for (int f : DumpedFrames()) script << "dump " << f << " f" << f << ".png\n";
        script << "close " << At(kClose) << "\n";
        s_Trace = qbtest::ParseTrace(Run(script.str()));
    }
    static void TearDownTestSuite() { s_Folders.reset(); }

    void SetUp() override
    {
        ASSERT_GT(s_nPlay, 0);
        ASSERT_GE(static_cast<int>(s_Trace.size()), At(kClose));
    }

    static int At(int fromPlay) { return s_nPlay + fromPlay; }

    static std::vector<int> DumpedFrames()
    {
        std::vector<int> frames = {At(kLanding - 1), At(kLanding), At(kLanding + kShakeFrames + 10)};
        for (int k = 1; k <= static_cast<int>(std::size(kShakeOffsets)); ++k) frames.push_back(At(kLanding + k));
        for (int f : {kBossTouch, kCrossing, kWalkerTouches[0], kWalkerTouches[1]}) {
            frames.push_back(At(f - 1));
            frames.push_back(At(f));
        }
        frames.push_back(At(kCrossing + kBannerFrames - 1));
        frames.push_back(At(kCrossing + kBannerFrames));
        return frames;
    }

    static std::filesystem::path Game() { return s_Folders->work.Path() / "game"; }

    static std::string Run(const std::string& script)
    {
        s_Folders->work.WriteFile("run.txt", "clock virtual\ntrace trace.txt\n" + script);
        qbtest::cGameProcess game(s_Folders->runtime, Game(),
                                  {"QUILLBRAMWOOD_SCRIPT=" + (s_Folders->work.Path() / "run.txt").string()}, {kBossStage});
        EXPECT_TRUE(game.Ends(0, "the scripted close"));
        return s_Folders->work.ReadFile("game/trace.txt");
    }

    static DUMP Dump(int frame)
    {
        DUMP dump = qbtest::ReadStoredPng((Game() / ("f" + std::to_string(frame) + ".png")).string(), kScreenW, kScreenH);
        EXPECT_EQ(dump.size(), static_cast<std::size_t>(kScreenW * kScreenH)) << "frame " << frame;
        dump.resize(static_cast<std::size_t>(kScreenW * kScreenH));
        return dump;
    }

    static std::uint32_t Pixel(const DUMP& dump, int x, int y) { return dump[static_cast<std::size_t>(y * kScreenW + x)]; }

    static const TRACELINE& Line(int frame) { return s_Trace[static_cast<std::size_t>(frame - 1)]; }

    static PICTURE Picture(const char* file, int sx, int sy, int w, int h)
    {
        const std::filesystem::path before = std::filesystem::current_path();
        std::filesystem::current_path(Game());
        plat::cBmpImage image;
        const bool read = plat::ReadBmpFile(file, image);
        std::filesystem::current_path(before);
        PICTURE picture;
        EXPECT_TRUE(read && image.IsPaletted() && sx + w <= image.nWidth && sy + h <= image.nHeight) << file;
        if (!read || !image.IsPaletted() || sx + w > image.nWidth || sy + h > image.nHeight) return picture;
        picture.w = w;
        picture.h = h;
        picture.table = image.colorTable;
        for (int y = sy; y < sy + h; ++y)
            for (int x = sx; x < sx + w; ++x) {
                picture.colours.push_back(image.Pixel(x, y) & 0xFFFFFFu);
                picture.opaque.push_back(image.indices[static_cast<std::size_t>(y * image.nWidth + x)] != 0);
            }
        return picture;
    }

    // Whether the picture's opaque pixels stand in the dump with their top-left at (x, y).
    static bool Shows(const DUMP& dump, const PICTURE& picture, int x, int y)
    {
        if (picture.w == 0 || x < 0 || y < 0 || x + picture.w > kScreenW || y + picture.h > kScreenH) return false;
        for (int j = 0; j < picture.h; ++j)
            for (int i = 0; i < picture.w; ++i) {
                const std::size_t at = static_cast<std::size_t>(j * picture.w + i);
                if (picture.opaque[at] && Pixel(dump, x + i, y + j) != picture.colours[at]) return false;
            }
        return true;
    }

    // Whether the spark's first cell stands anywhere within two cells of player 1 on the screen.
    static bool SparkNearHero(const DUMP& dump, int frame)
    {
        const PICTURE spark = Picture("bmp\\Spark.bmp", 0, 0, 32, 32);
        const TRACELINE& line = Line(frame);
        const int heroX = TruncToInt(qbtest::TracedDouble(line, "x") - qbtest::TracedDouble(line, "scrx"));
        const int heroY = TruncToInt(qbtest::TracedDouble(line, "y") - qbtest::TracedDouble(line, "scry"));
        for (int y = heroY - 64; y <= heroY + 64; ++y)
            for (int x = heroX - 64; x <= heroX + 64; ++x)
                if (Shows(dump, spark, x, y)) return true;
        return false;
    }

    struct FOLDERS {
        qbtest::cTempFolder runtime;
        qbtest::cTempFolder work;
    };
    static std::unique_ptr<FOLDERS> s_Folders;
    static int s_nPlay;
    static std::vector<TRACELINE> s_Trace;
};

std::unique_ptr<BossStage::FOLDERS> BossStage::s_Folders;
int BossStage::s_nPlay = 0;
std::vector<TRACELINE> BossStage::s_Trace;

// The picture moves by the offset and the band it leaves bare at the bottom takes colour 16; the
// hero stands still meanwhile, so the frame before the landing is the picture unshaken. The left
// column holds neither the status bar's parts below its top rows nor the bottom caption.
TEST_F(BossStage, TheBossLandingShakesTheScreenUpAndDownForASecond)
{
    const DUMP still = Dump(At(kLanding - 1));
    const std::uint32_t uncovered = Picture("bmp\\Banner.bmp", 0, 0, 1, 1).table.at(16);
    constexpr int kColumn = 5;
    constexpr int kBelowStatusBar = 40;
    auto expectShift = [&](int frame, int offset) {
        const DUMP shaken = Dump(frame);
        EXPECT_EQ(Line(frame).at("scrx"), Line(At(kLanding - 1)).at("scrx"));
        EXPECT_EQ(Line(frame).at("scry"), Line(At(kLanding - 1)).at("scry"));
        int wrong = 0;
        for (int y = kBelowStatusBar; y < kScreenH; ++y) {
            const int from = y - offset;
            wrong += Pixel(shaken, kColumn, y) != (from < kScreenH ? Pixel(still, kColumn, from) : uncovered);
        }
        EXPECT_EQ(wrong, 0) << "frame " << frame << " drawn at offset " << offset;
    };
    expectShift(At(kLanding), 0);
    for (int k = 1; k <= static_cast<int>(std::size(kShakeOffsets)); ++k) expectShift(At(kLanding + k), kShakeOffsets[k - 1]);
    expectShift(At(kLanding + kShakeFrames + 10), 0);
}

// The hit sound marks each touch: the boss and the marker on the walk, then a walker that comes
// to the hero. The frame before shows no spark, the frame of the touch one beside the hero.
TEST_F(BossStage, EachTouchShowsASparkBesideTheHero)
{
    std::vector<int> touches;
    for (int f = At(kWalk); f <= At(kClose); ++f) {
        const std::string sounds = Line(f).at("se");
        if (sounds.rfind(kHitSound, 0) == 0) touches.push_back(f);
        if (f <= At(kWalkEnd) && sounds != kHitSound) {
            EXPECT_EQ(sounds, "-") << "frame " << f << ": nothing else on the walk";
        }
    }
    ASSERT_EQ(touches, (std::vector<int>{At(kBossTouch), At(kCrossing), At(kWalkerTouches[0]), At(kWalkerTouches[1])}));
    for (int f : touches) {
        EXPECT_FALSE(SparkNearHero(Dump(f - 1), f - 1)) << "frame " << f - 1;
        EXPECT_TRUE(SparkNearHero(Dump(f), f)) << "frame " << f;
        EXPECT_NE(Line(f).at("seed"), Line(f - 1).at("seed")) << "the spark's place draws the random numbers";
    }
}

// The second area's picture covers the first's from the crossing on: its sky is another blue.
TEST_F(BossStage, CrossingIntoTheSecondAreaChangesTheBackground)
{
    const PICTURE first = Picture("背景その1.bmp", 0, 0, 1, 1);
    const PICTURE second = Picture("背景その2.bmp", 0, 0, 1, 1);
    ASSERT_NE(first.colours.at(0), second.colours.at(0));
    constexpr int kSkyX = 5, kSkyY = 30;
    EXPECT_EQ(Pixel(Dump(At(kCrossing - 1)), kSkyX, kSkyY), first.colours[0]);
    EXPECT_EQ(Pixel(Dump(At(kCrossing)), kSkyX, kSkyY), second.colours[0]);
}

TEST_F(BossStage, TheBannerShowsAtTheScreensCentreForThreeSeconds)
{
    const PICTURE banner = Picture("bmp\\Banner.bmp", 0, 0, kBannerW, kBannerH);
    const int x = (kScreenW - kBannerW) / 2, y = (kScreenH - kBannerH) / 2;
    EXPECT_FALSE(Shows(Dump(At(kCrossing - 1)), banner, x, y));
    EXPECT_TRUE(Shows(Dump(At(kCrossing)), banner, x, y));
    EXPECT_TRUE(Shows(Dump(At(kCrossing + kBannerFrames - 1)), banner, x, y)) << "its last draw";
    EXPECT_FALSE(Shows(Dump(At(kCrossing + kBannerFrames)), banner, x, y)) << "gone after three seconds";
}

// The stage asks for its first area's tune as it starts and for the second's at the crossing,
// and for nothing else.
TEST_F(BossStage, TheMusicChangesAtTheCrossingAsTheTraceShows)
{
    for (int f = 1; f <= static_cast<int>(s_Trace.size()); ++f) {
        const std::string expected = f == 1 ? kFirstAreaBgm : f == At(kCrossing) ? kSecondAreaBgm : "-";
        EXPECT_EQ(Line(f).at("bgm"), expected) << "frame " << f;
    }
}

}  // namespace
