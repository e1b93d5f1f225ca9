// The demo's stages played by the executable under scripted keys, traced frame by frame with
// frame dumps: what a player meets is seen in the trace (the hero's place, HP, the charas and
// items left) and in the dumped frames, whose sprites are found by the cells of the demo's own
// pictures.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "data/database.h"
#include "data/palette_data.h"
#include "data/stage_data.h"
#include "platform/video/bmp_reader.h"
#include "tests/app/game_process.h"
#include "tests/app/story_script.h"
#include "tests/app/trace_lines.h"
#include "tests/support/demo_game.h"
#include "tests/support/restore.h"
#include "tests/support/stored_png.h"
#include "tests/support/temp_folder.h"

namespace {

using qbtest::ParseTrace;
using qbtest::TRACELINE;
using qbtest::TracedDouble;
using DEMOFRAME = std::vector<std::uint32_t>;

constexpr const char* kMeadow = "data\\stg4\\Meadow.stg4";
constexpr const char* kCaves = "data\\stg4\\Caves.stg4";
// Stage pixels of the playfield's first block: the stage's margin.
constexpr double kStageMargin = 320;

// A box of a picture of the demo (a cell of a sheet, a caption): its colours, and which of its
// pixels are transparent.
struct DEMOCELL {
    int w = 0, h = 0;
    std::vector<std::uint32_t> colours;
    std::vector<bool> opaque;
};

class DemoStagePlay : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Game = m_Work.Path() / "game";
        ASSERT_TRUE(qbtest::WriteDemoGame(m_Game));
    }

    // Runs a stage under the script (keys, dumps, close) and returns its trace.
    std::vector<TRACELINE> Run(const std::string& script, const char* stage = kMeadow)
    {
        m_Work.WriteFile("run.txt", "clock virtual\ntrace trace.txt\n" + script);
        qbtest::cGameProcess game(m_Runtime, m_Game, {"QUILLBRAMWOOD_SCRIPT=" + (m_Work.Path() / "run.txt").string()},
                                  {stage});
        EXPECT_TRUE(game.Ends(0, "the scripted close"));
        return ParseTrace(m_Work.ReadFile("game/trace.txt"));
    }

    DEMOFRAME Dump(const std::string& name) const
    {
        const DEMOFRAME frame = qbtest::ReadStoredPng((m_Game / name).string(), 640, 480);
        EXPECT_EQ(frame.size(), 640u * 480u) << name;
        return frame;
    }

    // A stage of the demo as the runtime reads it, read in the game's folder.
    cStageData Stage(const char* name) const
    {
        qbtest::cRestore<cDatabase> database(g_Database);
        qbtest::cRestore<cPaletteData> common(g_CommonPalette);
        const std::filesystem::path before = std::filesystem::current_path();
        std::filesystem::current_path(m_Game);
        cStageData stage;
        const bool read = g_Database.Load() == 1 && g_CommonPalette.Load("data\\CommonPalette.cplt4") &&
                          stage.Load((std::string(name) + "_001").c_str());
        std::filesystem::current_path(before);
        EXPECT_TRUE(read) << name;
        return stage;
    }

    // The box of a picture of the demo at (sx, sy), mirrored as the runtime mirrors a chara's
    // cell for facing right.
    DEMOCELL Cell(const char* picture, int sx, int sy, int w = 32, int h = 32, bool mirrored = false) const
    {
        const std::filesystem::path before = std::filesystem::current_path();
        std::filesystem::current_path(m_Game);
        plat::cBmpImage image;
        const bool read = plat::ReadBmpFile(picture, image);
        std::filesystem::current_path(before);
        EXPECT_TRUE(read) << picture;
        const bool inside = read && sx >= 0 && sy >= 0 && sx + w <= image.nWidth && sy + h <= image.nHeight;
        EXPECT_TRUE(!read || inside) << picture << ": (" << sx << ", " << sy << ") " << w << " x " << h << " is outside";
        DEMOCELL cell;
        if (!inside) return cell;
        cell.w = w;
        cell.h = h;
        for (int y = sy; y < sy + h; ++y)
            for (int x = 0; x < w; ++x) {
                const int at = sx + (mirrored ? w - 1 - x : x);
                cell.colours.push_back(image.Pixel(at, y) & 0xFFFFFFu);
                cell.opaque.push_back(image.indices[static_cast<std::size_t>(y * image.nWidth + at)] != 0);
            }
        return cell;
    }

    qbtest::cTempFolder m_Runtime;
    qbtest::cTempFolder m_Work;
    std::filesystem::path m_Game;
};

// The first frame (from 1) of the stage's play state.
int FirstPlayFrame(const std::vector<TRACELINE>& trace)
{
    for (std::size_t f = 0; f < trace.size(); ++f)
        if (trace[f].count("state") && trace[f].at("state") == "2") return static_cast<int>(f) + 1;
    return 0;
}

double HeroX(const std::vector<TRACELINE>& trace, int frame) { return TracedDouble(trace.at(frame - 1), "x"); }
double HeroY(const std::vector<TRACELINE>& trace, int frame) { return TracedDouble(trace.at(frame - 1), "y"); }
int TracedInt(const std::vector<TRACELINE>& trace, int frame, const char* field) { return std::stoi(trace.at(frame - 1).at(field)); }

// The stretches' run of keys, closed 20 frames after it ends.
std::string CoinRunScript(int play, int stretches)
{
    return qbtest::StretchRunKeys(play, stretches) + "close " + std::to_string(qbtest::StretchRunEnd(play, stretches) + 20) + "\n";
}

// Whether the cell's opaque pixels stand in the frame with the cell's top-left corner at (x, y).
bool CellAt(const DEMOFRAME& frame, const DEMOCELL& cell, int x, int y)
{
    if (cell.colours.empty() || x < 0 || y < 0 || x + cell.w > 640 || y + cell.h > 480) return false;
    for (std::size_t i = 0; i < cell.colours.size(); ++i) {
        const std::size_t at = (y + i / cell.w) * 640 + x + i % cell.w;
        if (cell.opaque[i] && frame[at] != cell.colours[i]) return false;
    }
    return true;
}

// The top-left corner of the first place (below the status bar) where the cell stands in the
// frame; none when nowhere.
std::optional<std::pair<int, int>> FindCell(const DEMOFRAME& frame, const DEMOCELL& cell)
{
    for (int y = 20; y + cell.h <= 480; ++y)
        for (int x = 0; x + cell.w <= 640; ++x)
            if (CellAt(frame, cell, x, y)) return std::make_pair(x, y);
    return std::nullopt;
}

TEST_F(DemoStagePlay, TheHeroWalksBothWaysAndFacesTheWayItWalks)
{
    const std::vector<TRACELINE> trace = Run("keys 100 RIGHT\nkeys 130\nkeys 140 LEFT\nkeys 170\n"
                                             "dump 129 right.png\ndump 169 left.png\nclose 175\n");
    ASSERT_GE(trace.size(), 175u);
    ASSERT_LT(FirstPlayFrame(trace), 95);
    for (int f = 101; f < 130; ++f) EXPECT_GT(HeroX(trace, f), HeroX(trace, f - 1)) << "frame " << f;
    for (int f = 141; f < 170; ++f) EXPECT_LT(HeroX(trace, f), HeroX(trace, f - 1)) << "frame " << f;
    EXPECT_LT(HeroX(trace, 169), HeroX(trace, 129) - 60);

    // The hero's cells face left; the runtime mirrors them for the right.
    const DEMOFRAME right = Dump("right.png"), left = Dump("left.png");
    const DEMOCELL facingLeft = Cell("bmp\\Character1.bmp", 0, 32);
    const DEMOCELL facingRight = Cell("bmp\\Character1.bmp", 0, 32, 32, 32, true);
    EXPECT_TRUE(FindCell(right, facingRight).has_value()) << "the hero faces right while it walks right";
    EXPECT_FALSE(FindCell(right, facingLeft).has_value());
    EXPECT_TRUE(FindCell(left, facingLeft).has_value()) << "the hero faces left while it walks left";
    EXPECT_FALSE(FindCell(left, facingRight).has_value());
}

// The hero jumps under the first ledge and stops with its head at the ledge's bottom, in a frame
// where the ledge's blocks are drawn from their cells of the block sheet.
TEST_F(DemoStagePlay, TheHeroStopsUnderALedgeThatTheFrameShowsAboveIt)
{
    const cStageData stage = Stage(kMeadow);
    std::vector<cBlockData> ledge;
    for (const cBlockData& block : stage.m_Blocks)
        if (block.m_nRow < stage.m_nHeight - 2 && block.m_nColumn < 10) ledge.push_back(block);
    ASSERT_FALSE(ledge.empty()) << "a ledge over the first columns";
    std::ostringstream script;
    script << "keys 100 RIGHT\nkeys 120 RIGHT Z\nkeys 126\n";
    for (int f = 120; f <= 130; ++f) script << "dump " << f << " jump" << f << ".png\n";
    const std::vector<TRACELINE> trace = Run(script.str() + "close 140\n");
    ASSERT_GE(trace.size(), 140u);
    const double ground = HeroY(trace, 119);
    int stop = 0;
    for (int f = 121; f <= 130 && !stop; ++f)
        if (TracedDouble(trace[f - 1], "vy") >= 0) stop = f;
    ASSERT_GT(stop, 0) << "the jump rises until frame 130";
    const double bottom = kStageMargin + (ledge[0].m_nRow + 1) * 32;
    EXPECT_LT(HeroY(trace, stop), ground - 16) << "the hero rose";
    EXPECT_NEAR(HeroY(trace, stop), bottom, 1.0) << "the hero stops with its head at the ledge's bottom";
    EXPECT_GT(HeroY(trace, stop), bottom - 0.001);

    const DEMOFRAME frame = Dump("jump" + std::to_string(stop) + ".png");
    const double cameraX = TracedDouble(trace[stop - 1], "scrx"), cameraY = TracedDouble(trace[stop - 1], "scry");
    bool over = false;
    for (const cBlockData& block : ledge) {
        const int n = block.m_nImageNumber;
        const DEMOCELL cell = Cell("bmp\\Block.bmp", n / 15 * 32, n % 15 * 32);
        const int x = static_cast<int>(kStageMargin + block.m_nColumn * 32 - cameraX);
        const int y = static_cast<int>(kStageMargin + block.m_nRow * 32 - cameraY);
        EXPECT_TRUE(CellAt(frame, cell, x, y)) << "the ledge block at column " << block.m_nColumn;
        const double left = kStageMargin + block.m_nColumn * 32;
        over = over || (HeroX(trace, stop) + 16 > left && HeroX(trace, stop) < left + 32);
    }
    EXPECT_TRUE(over) << "the hero is under the ledge";
}

// Every coin lies in the stage at its start, and one run of the keys collects them all.
TEST_F(DemoStagePlay, EveryCoinIsCollectedByAScriptedRun)
{
    struct Case { const char* stage; int stretches; } cases[] = {{kMeadow, 3}, {kCaves, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stage);
        const int coins = static_cast<int>(Stage(c.stage).m_Items.size());
        const int play = FirstPlayFrame(Run("close 300\n", c.stage));
        ASSERT_GT(play, 0);
        const std::vector<TRACELINE> trace = Run(CoinRunScript(play, c.stretches), c.stage);
        const int end = static_cast<int>(trace.size());
        ASSERT_GT(end, play + 139 * c.stretches);
        EXPECT_EQ(TracedInt(trace, play, "items"), coins) << "no coin is carried away";
        EXPECT_EQ(TracedInt(trace, end, "items"), 0) << "every coin collected";
        for (int f = play; f <= end; ++f) ASSERT_EQ(trace[f - 1].at("dead"), "0") << "frame " << f;
    }
}

// A timed stage with its start captions: STAGE with the stage's number (1 for a stage named on
// the command line), then READY, then the time left above the play, all from the word sheet.
TEST_F(DemoStagePlay, TheStageNumberReadyAndTheTimeLeftShow)
{
    const std::vector<TRACELINE> first = Run("close 400\n", kCaves);
    int ready = 0;
    for (std::size_t f = 0; f < first.size() && !ready; ++f)
        if (first[f].at("state") == "1") ready = static_cast<int>(f) + 1;
    const int play = FirstPlayFrame(first);
    ASSERT_GT(ready, 0);
    ASSERT_EQ(play - ready, 159) << "two captions of 79 frames";
    const int caption = ready + 40, small = ready + 79 + 40, timed = play + 100;
    std::ostringstream script;
    script << "dump " << caption << " stage.png\ndump " << small << " ready.png\ndump " << timed << " time.png\nclose "
           << timed + 5 << "\n";
    const std::vector<TRACELINE> trace = Run(script.str(), kCaves);
    ASSERT_GE(static_cast<int>(trace.size()), timed);

    const char* word = "bmp\\Word.bmp";
    const DEMOFRAME stage = Dump("stage.png"), readyFrame = Dump("ready.png"), time = Dump("time.png");
    EXPECT_TRUE(CellAt(stage, Cell(word, 0, 0, 128, 32), 256, 224)) << "STAGE";
    EXPECT_TRUE(CellAt(stage, Cell(word, 1 * 32, 128), 384, 224)) << "the stage number 1 after it";
    EXPECT_TRUE(CellAt(readyFrame, Cell(word, 160, 0, 80, 32), 280, 224)) << "READY";
    const int left = TracedInt(trace, timed, "time");
    ASSERT_GE(left, 100) << "three digits";
    ASSERT_LT(left, 200) << "the clock runs";
    const int digits[3] = {left / 100, left / 10 % 10, left % 10};
    for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(CellAt(time, Cell(word, digits[k] * 32, 160), 272 + 32 * k, 24)) << "digit " << k << " of " << left;
}

// The first walker of each stage, placed facing left on the first screen, is drawn from row 1
// of the stage's walker sheet, and nothing is drawn from the hero's cell in its place.
TEST_F(DemoStagePlay, TheWalkersAreDrawnFromSheetsOfTheirOwn)
{
    struct Case { const char* stage; const char* sheet; } cases[] = {{kMeadow, "bmp\\Character2.bmp"},
                                                                     {kCaves, "bmp\\Character3.bmp"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stage);
        const int play = FirstPlayFrame(Run("close 300\n", c.stage));
        ASSERT_GT(play, 0);
        Run("dump " + std::to_string(play + 30) + " walker.png\nclose " + std::to_string(play + 35) + "\n", c.stage);
        const DEMOFRAME frame = Dump("walker.png");
        const std::optional<std::pair<int, int>> walker = FindCell(frame, Cell(c.sheet, 0, 32));
        ASSERT_TRUE(walker.has_value()) << "a walker from " << c.sheet;
        EXPECT_GT(walker->first, 320) << "the first walker, right of the hero";
        EXPECT_FALSE(CellAt(frame, Cell("bmp\\Character1.bmp", 0, 32), walker->first, walker->second));
        EXPECT_FALSE(CellAt(frame, Cell("bmp\\Character1.bmp", 0, 32, 32, 32, true), walker->first, walker->second));
    }
}

// The hero crosses the first gap and waits where the first walker turns back: the walker's
// touch hurts the hero, and the hero's touch, once the walker comes back, defeats it.
TEST_F(DemoStagePlay, AWalkerHurtsTheHeroAndTheHeroDefeatsIt)
{
    const int play = FirstPlayFrame(Run("close 300\n"));
    ASSERT_GT(play, 0);
    std::ostringstream script;
    script << "keys " << play + 10 << " RIGHT\nkeys " << play + 20 << " RIGHT Z\nkeys " << play + 26 << " RIGHT\nkeys "
           << play + 122 << "\nclose " << play + 400 << "\n";
    const std::vector<TRACELINE> trace = Run(script.str());
    ASSERT_GE(static_cast<int>(trace.size()), play + 400);
    const int hp = TracedInt(trace, play, "hp"), walkers = TracedInt(trace, play, "charas");
    ASSERT_EQ(TracedInt(trace, play, "score"), 0);
    int hurt = 0, defeated = 0;
    for (int f = play + 1; f <= play + 400; ++f) {
        ASSERT_EQ(trace[f - 1].at("dead"), "0") << "frame " << f;
        if (!hurt && TracedInt(trace, f, "hp") < hp) hurt = f;
        if (!defeated && TracedInt(trace, f, "charas") < walkers) defeated = f;
    }
    ASSERT_GT(hurt, 0) << "the walker's touch hurts the hero";
    ASSERT_GT(defeated, hurt) << "the hero defeats the walker";
    EXPECT_EQ(TracedInt(trace, defeated, "charas"), walkers - 1);
    EXPECT_EQ(TracedInt(trace, defeated, "score"), 100) << "the walker's points";
    EXPECT_EQ(TracedInt(trace, play + 400, "hp"), hp - 2) << "one touch a meeting, two meetings";
}

// The transparent colour (the palette picture's top-left pixel) never reaches the screen: not
// in the start captions, the play, a jump, the pause or the timed stage.
TEST_F(DemoStagePlay, NoDumpedFrameHoldsTheTransparentColour)
{
    std::uint32_t key = 0;
    {
        const DEMOCELL palette = Cell("bmp\\plt\\Palette.bmp", 0, 0, 1, 1);
        ASSERT_FALSE(palette.colours.empty());
        key = palette.colours[0];
    }
    struct Case { const char* stage; const char* script; std::vector<int> dumps; } cases[] = {
        {kMeadow, "keys 100 RIGHT\nkeys 120 RIGHT Z\nkeys 126\nkeys 140 SPACE\nkeys 142\nclose 160\n", {5, 40, 110, 124, 150}},
        {kCaves, "keys 200 RIGHT\nclose 260\n", {60, 140, 250}},
    };
    for (const Case& c : cases) {
        std::string script = c.script;
        for (int f : c.dumps) script += "dump " + std::to_string(f) + " key" + std::to_string(f) + ".png\n";
        Run(script, c.stage);
        for (int f : c.dumps) {
            const DEMOFRAME frame = Dump("key" + std::to_string(f) + ".png");
            int keyed = 0;
            for (std::uint32_t pixel : frame) keyed += pixel == key;
            EXPECT_EQ(keyed, 0) << c.stage << ", frame " << f;
        }
    }
}

}  // namespace
