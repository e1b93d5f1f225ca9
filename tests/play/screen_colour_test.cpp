// The screen colour of the stage frame by frame: its level (255 no colour) and what it does to
// a white screen under Direct3D (the screen multiplied by the colour with opacity 255 − level,
// so green and blue of a red colour show the level) and to the 8-bit palette.
#include "tests/graphics/graphics_fixture.h"

#include <vector>

#include "graphics/standard_surfaces.h"
#include "play/play_scene.h"
#include "tests/graphics/blit_reference.h"

namespace {

using ScreenColour = qbtest::cGraphicsTest;

// The levels of `frames` frames; the counters advance.
std::vector<int> Levels(cScreenColor& colour, int frames)
{
    std::vector<int> levels;
    for (int i = 0; i < frames && colour.m_bActive; ++i) levels.push_back(colour.Advance(0).nLevel);
    return levels;
}

TEST_F(ScreenColour, LevelsOfATintATintWithRestoreAndAFlashFrameByFrame)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    struct Case {
        const char* what;
        int strength, tenths, mode, repeats;
        std::vector<int> levels;
        int activeAfter;
    } cases[] = {
        // One tenth of a second is 6 frames; the colour grows from the first frame on.
        {"tint", 100, 1, 0, 0, {255, 212, 170, 127, 85, 42, 0, 0, 0}, 1},
        {"tint at 40 %", 40, 1, 0, 0, {255, 238, 221, 204, 187, 170, 153, 153}, 1},
        {"tint of strength 0 ends", 0, 1, 0, 0, {255, 255, 255, 255, 255, 255, 255}, 0},
        {"tint at once", 60, 0, 0, 0, {102, 102}, 1},
        {"strength beyond 100 % stops at full colour", 200, 1, 0, 0, {255, 170, 85, 0, 0, 0, 0}, 1},
        {"negative strength shows no colour", -50, 1, 0, 0, {255, 255, 255}, 1},
        {"flash with repeats 0 ends after one period", 100, 1, 1, 0, {255, 212, 170, 127, 85, 42, 255}, 0},
        {"flash of two periods", 100, 1, 1, 2, {255, 212, 170, 127, 85, 42, 255, 255, 212, 170, 127, 85, 42, 255}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cScreenColor colour;
        colour.Set(255, 0, 0, c.strength, 0, c.tenths, c.mode, c.repeats);
        EXPECT_EQ(Levels(colour, static_cast<int>(c.levels.size())), c.levels);
        EXPECT_EQ(colour.m_bActive, c.activeAfter);
    }
}

TEST_F(ScreenColour, ARestoreFadesFromTheHeldTintBackToNoColourInItsSavedColour)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    cScreenColor colour;
    colour.Set(10, 20, 30, 40, 0, 0, 0, 0);
    EXPECT_EQ(Levels(colour, 2), (std::vector<int>{153, 153}));
    colour.Set(200, 200, 200, 100, 1, 1, 0, 0);
    EXPECT_EQ(colour.m_nStrength, 40) << "only the time, mode and repeats of a restore count";
    const cScreenColor::FRAME first = colour.Advance(0);
    EXPECT_EQ(first.nLevel, 153);
    EXPECT_EQ((std::vector<int>{first.byRed, first.byGreen, first.byBlue}), (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(Levels(colour, 10), (std::vector<int>{170, 187, 204, 221, 238, 255}));
    EXPECT_EQ(colour.m_bActive, 0);
}

TEST_F(ScreenColour, ARestoreWithNothingOnTheScreenIsIgnored)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    cScreenColor colour;
    colour.Set(1, 2, 3, 50, 1, 1, 0, 0);
    EXPECT_EQ(colour.m_bActive, 0);
    EXPECT_EQ(colour.m_nSavedLevel, 255);
    DDUninit();
    ASSERT_TRUE(Init({FALSE, 8, 0}));
    colour.Set(1, 2, 3, 50, 1, 1, 0, 0);
    EXPECT_EQ(colour.m_bActive, 0) << "8 bits: no colour was ever started";
    colour.Set(1, 2, 3, 50, 0, 0, 0, 0);
    colour.m_bActive = 0;
    colour.Set(1, 2, 3, 50, 1, 1, 0, 0);
    EXPECT_EQ(colour.m_bActive, 1) << "8 bits: a started colour can be restored";
}

TEST_F(ScreenColour, Direct3DThroughTheVirtualBackBufferLaysTheColourOverTheScreenAtEachFramesLevel)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    ASSERT_TRUE(DDCreateSurface(&g_StdSurface[kWorkPicture], 640, 480, FALSE, 0, 0, nullptr, FALSE));
    DDSetVirBackBuffer(TRUE);
    cPlayScene scene;
    scene.m_ScreenColor.Set(255, 0, 0, 100, 0, 1, 0, 0);
    const qbtest::cImage white{640, 480, std::vector<std::uint32_t>(640 * 480, 0xFFFFFFFFu)};
    // Red of opacity 255 − level over white: green and blue keep the level.
    const int levels[] = {255, 212, 170, 127, 85, 42, 0, 0};
    for (int level : levels) {
        SCOPED_TRACE(level);
        qbtest::WriteImage(&g_BackBuffer, white);
        scene.DrawScreenColor(0);
        const qbtest::cImage shown = qbtest::ReadImage(&g_BackBuffer);
        const std::uint32_t expected = 0xFF0000u | static_cast<std::uint32_t>(level) << 8 | static_cast<std::uint32_t>(level);
        EXPECT_EQ(shown.px[0] & 0xFFFFFFu, expected);
        EXPECT_EQ(shown.px[640 * 480 - 1] & 0xFFFFFFu, expected);
    }
    DDSetVirBackBuffer(FALSE);
    DDReleaseSurface(&g_StdSurface[kWorkPicture]);
}

TEST_F(ScreenColour, PausedTheColourIsDrawnButItsTimeStands)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    cPlayScene scene;
    scene.m_ScreenColor.Set(255, 0, 0, 100, 0, 1, 1, 0);
    scene.DrawScreenColor(0);
    scene.DrawScreenColor(0);
    for (int i = 0; i < 3; ++i) scene.DrawScreenColor(1);
    EXPECT_EQ(scene.m_ScreenColor.m_nCounter, 2);
    EXPECT_EQ(scene.m_ScreenColor.m_nLevel, 170);
}

TEST_F(ScreenColour, EightBitDirectDrawBlendsThePaletteAndShowsItUnblendedAtAFlashsEnd)
{
    ASSERT_TRUE(Init({FALSE, 8, 0}));
    for (int i = 0; i < 256; ++i) g_Palette[i] = PALETTEENTRY{static_cast<BYTE>(i), 100, 200, 0};
    cPlayScene scene;
    scene.m_ScreenColor.Set(0, 0, 0, 100, 0, 1, 1, 0);
    scene.DrawScreenColor(1);
    EXPECT_EQ(scene.m_ScreenColor.m_nCounter, 0) << "nothing while paused";
    for (int frame = 0; frame < 4; ++frame) scene.DrawScreenColor(0);
    // Level 127 (the fourth frame) of 256 keeps that share of each entry.
    EXPECT_EQ(g_lpDDPalette->m_Entries[200].peRed, 200 * 127 >> 8);
    EXPECT_EQ(g_lpDDPalette->m_Entries[200].peGreen, 100 * 127 >> 8);
    for (int frame = 0; frame < 3; ++frame) scene.DrawScreenColor(0);
    EXPECT_EQ(scene.m_ScreenColor.m_bActive, 0);
    EXPECT_EQ(g_lpDDPalette->m_Entries[200].peRed, 200) << "the end of the period shows the palette itself";
    EXPECT_EQ(g_lpDDPalette->m_Entries[200].peBlue, 200);
}

TEST_F(ScreenColour, DirectDrawAtOtherDepthsDropsTheColourAtOnce)
{
    ASSERT_TRUE(Init({FALSE, 16, 0}));
    cPlayScene scene;
    scene.m_ScreenColor.Set(255, 0, 0, 100, 0, 1, 0, 0);
    scene.DrawScreenColor(0);
    EXPECT_EQ(scene.m_ScreenColor.m_bActive, 0);
}

}  // namespace
