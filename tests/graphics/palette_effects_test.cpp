// The palette operations: blending a range toward a colour, turning a range, and reading the
// 8-bit blend table.
#include "tests/graphics/graphics_fixture.h"

#include <string>

namespace {

using PaletteEffects = qbtest::cGraphicsTest;

void Number(PALETTEENTRY* palette)
{
    for (int i = 0; i < 256; ++i)
        palette[i] = PALETTEENTRY{static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i * 7), 0};
}

TEST_F(PaletteEffects, BlendPullsTheRangeTowardTheColourByTheWeight)
{
    PALETTEENTRY source[256], out[256];
    Number(source);
    struct Case { int first, last, weight; BYTE r, g, b; } cases[] = {
        {0, 255, 128, 0, 0, 0},        // halves every component, rounded down
        {10, 20, 256, 9, 9, 9},        // keeps the source colours
        {10, 20, 0, 200, 100, 50},     // the colour itself
        {250, 400, 64, 255, 0, 255},   // a range past the end is cut at 255
        {-3, 2, 300, 1, 2, 3},         // a weight above 256 counts as 256
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << ".." << c.last << " w" << c.weight);
        for (auto& e : out) e = PALETTEENTRY{1, 2, 3, 4};
        DDBlendPalette(out, c.first, c.last, c.weight, c.r, c.g, c.b, source);
        const int w = std::min(c.weight, 256);
        for (int i = 0; i < 256; ++i) {
            if (i < c.first || i > c.last) {
                EXPECT_EQ(out[i].peRed, 1) << i;
                EXPECT_EQ(out[i].peFlags, 4) << i;
                continue;
            }
            EXPECT_EQ(out[i].peRed, (source[i].peRed * w + c.r * (256 - w)) >> 8) << i;
            EXPECT_EQ(out[i].peGreen, (source[i].peGreen * w + c.g * (256 - w)) >> 8) << i;
            EXPECT_EQ(out[i].peBlue, (source[i].peBlue * w + c.b * (256 - w)) >> 8) << i;
            EXPECT_EQ(out[i].peFlags, 1) << i;
        }
    }
    DDBlendPalette(out, 0, 255, 128, 0, 0, 0, source);
    EXPECT_EQ(out[201].peRed, 100);
    EXPECT_EQ(out[201].peGreen, 27);
}

TEST_F(PaletteEffects, RotateTurnsARangeOfTheCopyUpOrDown)
{
    PALETTEENTRY source[256], out[256];
    Number(source);
    struct Case { int depth, first, last, count, direction; int from, to; } cases[] = {
        {32, 16, 207, 16, 1, 32, 16},   // down: entry 32 moves to 16 ...
        {32, 16, 207, 16, 1, 16, 192},  // ... and 16 wraps to 192
        {8, 16, 207, 16, 0, 16, 32},    // up
        {16, 16, 207, 16, 0, 192, 16},  // the last 16 wrap to the start
        {8, 208, 211, 1, 1, 209, 208},
        {8, 208, 211, 1, 1, 208, 211},
        {32, 16, 207, 0, 1, 100, 100},
        {32, 16, 207, 5, 2, 100, 100},     // another direction: the copy only
        {32, 16, 207, 1000, 1, 100, 100},  // a count past the range is the whole range
        {32, -10, 300, 1, 0, 255, 0},      // the range is cut to the palette
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.depth << " bits " << c.first << ".." << c.last << " by " << c.count << " dir "
                                        << c.direction);
        g_nBpp = c.depth;
        for (auto& e : out) e = PALETTEENTRY{};
        DDRotatePalette(out, c.first, c.last, c.count, c.direction, source);
        EXPECT_EQ(out[c.to].peRed, source[c.from].peRed);
        EXPECT_EQ(out[c.to].peGreen, source[c.from].peGreen);
        if (c.first > 0) {
            EXPECT_EQ(out[0].peRed, source[0].peRed) << "entries outside the range are copied";
        }
    }
    // In place, as the colour animation calls it.
    g_nBpp = 8;
    PALETTEENTRY same[256];
    Number(same);
    DDRotatePalette(same, 16, 207, 16, 1, same);
    EXPECT_EQ(same[16].peRed, 32);
    EXPECT_EQ(same[192].peRed, 16);
    // At 24 bits nothing at all happens, not even the copy.
    g_nBpp = 24;
    for (auto& e : out) e = PALETTEENTRY{};
    DDRotatePalette(out, 0, 255, 1, 0, source);
    EXPECT_EQ(out[5].peRed, 0);
    g_nBpp = 0;
}

TEST_F(PaletteEffects, BlendTableIsReadWholeOrNotAtAll)
{
    ASSERT_TRUE(Init({FALSE, 8, 0}));
    std::string table(65536, '\0');
    for (std::size_t i = 0; i < table.size(); ++i) table[i] = static_cast<char>(i * 31 / 7);
    Write("full.dat", table);
    Write("short.dat", table.substr(0, 65535));
    Write("long.dat", table + "xyz");
    BYTE loaded[65536];
    std::fill(std::begin(loaded), std::end(loaded), 0xEE);
    EXPECT_FALSE(DDLoadBlendTable(loaded, "short.dat"));
    EXPECT_FALSE(DDLoadBlendTable(loaded, "missing.dat"));
    EXPECT_EQ(loaded[0], 0xEE) << "a short table leaves the old one whole";
    EXPECT_EQ(loaded[65535], 0xEE);
    for (const char* name : {"full.dat", "long.dat"}) {
        ASSERT_TRUE(DDLoadBlendTable(loaded, name)) << name;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(loaded), 65536), table) << name;
    }
    DDUninit();
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    EXPECT_TRUE(DDLoadBlendTable(loaded, "missing.dat")) << "Direct3D does not use the table";
}

}  // namespace
