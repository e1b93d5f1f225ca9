// The palette routines of the frame: the window-colour palette with its blend table at 8 bits
// and the colour animation (the palette's animated entries under DirectDraw, the flash colours
// under Direct3D).
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include "data/system_data.h"
#include "play/palette_colors.h"
#include "tests/graphics/graphics_fixture.h"

namespace {

class PaletteColors : public qbtest::cGraphicsTest {
protected:
    void SetUp() override
    {
        qbtest::cGraphicsTest::SetUp();
        ResetPaletteAnimation();
        m_nStep = g_SystemData.m_nColorAnimStep;
        m_bAnim = g_SystemData.m_bColorAnim;
    }
    void TearDown() override
    {
        g_SystemData.m_nColorAnimStep = m_nStep;
        g_SystemData.m_bColorAnim = m_bAnim;
        ResetPaletteAnimation();
        qbtest::cGraphicsTest::TearDown();
    }
    // The palette picture: colour i is (i, 255 − i, i / 2).
    void WritePalettePicture() const
    {
        std::vector<std::uint32_t> table, indices(16 * 24, 0);
        for (std::uint32_t i = 0; i < 256; ++i) table.push_back(i << 16 | (255 - i) << 8 | i / 2);
        Write("bmp/plt/Palette.bmp", qbtest::BuildBmp8(16, 24, table, indices));
    }
    int m_nStep = 0, m_bAnim = 0;
};

TEST_F(PaletteColors, WindowColourTurnsOrRecoloursTheRowsAndShowsThePalette)
{
    ASSERT_TRUE(Init({FALSE, 8, 0}));
    WritePalettePicture();
    std::string table(65536, '\0');
    for (std::size_t i = 0; i < table.size(); ++i) table[i] = static_cast<char>(i % 251);
    struct Case { int number; int entry; int shows; } cases[] = {
        {0, 100, 100},  // unturned
        {5, 16, 96},    // rows 1..12 turned down by 5 rows: entry 96 moves to 16
        {5, 128, 16},   // and entry 16 wraps round to 16 + 192 − 80
        {12, 200, 24},  // 12 and above: every row 1..12 is a copy of row n − 11
        {23, 20, 196},  // row 12
        {23, 207, 207},
        {99, 20, 196},  // out of range: taken as 23
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "colour " << c.number << " entry " << c.entry);
        char name[40];
        std::snprintf(name, sizeof name, "bmp/hbt/hbt%02d.dat", std::min(c.number, 23));
        Write(name, table);
        std::fill(std::begin(g_BlendTable), std::end(g_BlendTable), 0);
        ASSERT_TRUE(LoadHbtPalette(c.number));
        EXPECT_EQ(g_BlendTable[300], 300 % 251);
        EXPECT_EQ(g_Palette[c.entry].peRed, c.shows);
        EXPECT_EQ(g_Palette[c.entry].peGreen, 255 - c.shows);
        EXPECT_EQ(g_DisplayPalette[c.entry].peRed, c.shows);
        EXPECT_EQ(g_lpDDPalette->m_Entries[c.entry].peRed, c.shows) << "shown";
    }
    EXPECT_FALSE(LoadHbtPalette(3)) << "hbt03.dat is missing";
    DDUninit();
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    EXPECT_TRUE(LoadHbtPalette(3)) << "nothing to do outside 8-bit DirectDraw";
}

TEST_F(PaletteColors, Direct3DFlashColoursPulseEachFrame)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    g_SystemData.m_nColorAnimStep = 100;
    // Levels: 0, 100, 200, 200 (turns), 100, 0 (a cycle ends: the hue of entry 9 moves on).
    const int levels[] = {0, 100, 200, 200, 100};
    for (int frame = 0; frame < 5; ++frame) {
        SCOPED_TRACE(frame);
        AnimatePaletteColors();
        const DWORD c = static_cast<DWORD>(levels[frame]);
        const struct { int entry; DWORD color; int op; } expected[] = {
            {1, 0xFF000000u | c << 16 | c << 8 | c, 7},
            {2, 0xFF000000u | c << 16 | c << 8 | c, 10},
            {3, 0xFF000000u | c << 16, 7},
            {4, 0xFF000000u | c << 8, 7},
            {5, 0xFF000000u | c, 7},
            {6, 0xFF000000u | c << 16 | c << 8, 7},
            {7, 0xFF000000u | c << 16 | c >> 2, 7},
            {8, 0xFF000000u | (c >> 2) << 16 | c, 7},
            {9, frame == 4 ? 0xFF000000u | c << 8 : 0xFF000000u | c << 16, 7},
        };
        for (const auto& e : expected) {
            EXPECT_EQ(g_FlashColors[e.entry].dwColor, e.color) << e.entry;
            EXPECT_EQ(g_FlashColors[e.entry].nColorOp, e.op) << e.entry;
        }
    }
}

TEST_F(PaletteColors, DirectDrawTurnsTheAnimatedGroupsEverySixthFrame)
{
    ASSERT_TRUE(Init({FALSE, 8, 0}));
    for (int i = 0; i < 256; ++i) g_DisplayPalette[i] = PALETTEENTRY{static_cast<BYTE>(i), 0, 0, 0};
    g_SystemData.m_bColorAnim = 0;
    for (int i = 0; i < 12; ++i) AnimatePaletteColors();
    EXPECT_EQ(g_DisplayPalette[208].peRed, 208) << "animation off";
    g_SystemData.m_bColorAnim = 1;
    for (int frame = 1; frame <= 12; ++frame) {
        AnimatePaletteColors();
        const int turns = frame / 6;
        for (int group = 0; group < 8; ++group)
            for (int k = 0; k < 4; ++k) {
                const int entry = 208 + 4 * group + k;
                const int from = 208 + 4 * group + (k + turns) % 4;
                ASSERT_EQ(g_DisplayPalette[entry].peRed, from) << "frame " << frame << " entry " << entry;
                if (turns > 0) {
                    ASSERT_EQ(g_lpDDPalette->m_Entries[entry].peRed, from) << "shown";
                }
            }
    }
    EXPECT_EQ(g_DisplayPalette[207].peRed, 207);
    EXPECT_EQ(g_DisplayPalette[240].peRed, 240);
}

}  // namespace
