// Backgrounds on the back buffer: where the picture lies at fine scroll offsets, how it tiles
// and wraps, which layer is opaque, the colour behind everything, and the auto-scroll offsets.
#include <gtest/gtest.h>

#include "graphics/device.h"
#include "graphics/standard_surfaces.h"
#include "tests/play/stage_draw_fixture.h"

namespace {

using qbtest::cImage;

constexpr int kPicW = 20;
constexpr int kPicH = 12;

// The test picture: every pixel its own colour.
std::uint32_t PictureRgb(int x, int y) { return static_cast<std::uint32_t>((10 * x) << 16 | (20 * y) << 8 | 0x33); }

// A picture magenta on its left half and blue on its right.
std::uint32_t HalfMagentaRgb(int x, int) { return x < kPicW / 2 ? qbtest::kMagenta : 0x0000C0u; }

cBackgroundData Picture(double rateX, double rateY)
{
    cBackgroundData bg;
    bg.m_bShow = 1;
    bg.m_dFactorX = rateX;
    bg.m_dFactorY = rateY;
    return bg;
}

class BackgroundDraw : public qbtest::cStageDrawTest {
protected:
    void SetUp() override
    {
        cStageDrawTest::SetUp();
        LoadPicture(kBackgroundSlot, kPicW, kPicH, PictureRgb);
    }
    std::uint32_t At(const cImage& screen, int x, int y) { return screen.At(x, y) & 0xFFFFFF; }
    // Draws the first background picture at the parallax rate of a half from scroll (317, 301):
    // X = -1 and Y = (int)(-19 x 0.5) = -9, so that the screen starts at picture (19, 3) and
    // tiles on.
    void ExpectTheScreenTiled()
    {
        g_StageData.m_Backgrounds.push_back(Picture(0.5, 0.5));
        m_Scene->m_ScrollX.m_dPos = 317;
        m_Scene->m_ScrollY.m_dPos = 301;
        m_Scene->DrawBackgrounds(&g_BackBuffer, 0);
        const cImage screen = Screen();
        const cImage picture = qbtest::ReadImage(&g_StdSurface[kBackgroundSlot]);
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                ASSERT_EQ(At(screen, x, y), At(picture, (x + 19) % kPicW, (y + 3) % kPicH)) << x << ", " << y;
    }
};

TEST_F(BackgroundDraw, APictureLiesAtItsScrollOffsetAndTilesTheScreen)
{
    struct Case {
        const char* what;
        double scrollX, scrollY, rateX, rateY;
        int autoX, autoY;
        double offsetX, offsetY;
        int screenX, screenY, picX, picY;
    } cases[] = {
        // x rounds: (int)(329.5 + 0.5) = 330, 330 - 320 = 10; y truncates: 329 - 320 = 9.
        {"x rounded, y truncated", 329.5, 329.5, 1.0, 1.0, 0, 0, 0, 0, 0, 0, 10, 9},
        {"the next tile starts at the picture's left", 329.5, 329.5, 1.0, 1.0, 0, 0, 0, 0, 10, 3, 0, 0},
        {"the last pixel of the screen", 329.5, 329.5, 1.0, 1.0, 0, 0, 0, 0, 639, 479, 9, 8},
        // (317 - 320) x 0.5 = -1.5 truncates toward zero to -1, which wraps to 19.
        {"a negative offset truncates toward zero and wraps", 317, 320, 0.5, 0.5, 0, 0, 0, 0, 0, 0, 19, 0},
        {"after the wrapped column the picture starts again", 317, 320, 0.5, 0.5, 0, 0, 0, 0, 1, 0, 0, 0},
        // (int)(310 - 320) x 1 = -10 wraps to 2 on a 12-pixel height.
        {"a negative vertical offset wraps", 320, 310, 1.0, 1.0, 0, 0, 0, 0, 0, 0, 0, 2},
        {"a parallax rate of a tenth", 420, 520, 0.1, 0.1, 0, 0, 0, 0, 0, 0, 10, 8},
        // Auto-scroll: (int)(scroll + offset - 320): x -315 wraps to 5, y -317 to 7.
        {"auto-scroll uses the offset", 0, 0, 0, 0, 1, 1, 5, 3, 0, 0, 5, 7},
        {"auto-scroll truncates its sum", 320.9, 320, 0, 0, 1, 1, 0.5, 0.7, 0, 0, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cBackgroundData bg = Picture(c.rateX, c.rateY);
        bg.m_bAutoScrollX = c.autoX;
        bg.m_bAutoScrollY = c.autoY;
        bg.m_dOffsetX = c.offsetX;
        bg.m_dOffsetY = c.offsetY;
        g_StageData.m_Backgrounds.clear();
        g_StageData.m_Backgrounds.push_back(bg);
        m_Scene->m_ScrollX.m_dPos = c.scrollX;
        m_Scene->m_ScrollY.m_dPos = c.scrollY;
        m_Scene->DrawBackgrounds(&g_BackBuffer, 0);
        EXPECT_EQ(At(Screen(), c.screenX, c.screenY), PictureRgb(c.picX, c.picY));
    }
}

TEST_F(BackgroundDraw, TheWholeScreenIsCoveredByTiles)
{
    EXPECT_EQ(At(qbtest::ReadImage(&g_StdSurface[kBackgroundSlot]), 19, 3), PictureRgb(19, 3));
    ExpectTheScreenTiled();
}

TEST_F(BackgroundDraw, TheScreenShowsColour16WhenNoBackLayerIsDrawn)
{
    struct Case {
        const char* what;
        int show, front, fillOnly, slot;
    } cases[] = {
        {"no background shown", 0, 0, 0, 0},
        {"only a front layer", 1, 1, 0, 0},
        {"a layer without a picture", 1, 0, 0, 1},
        {"a layer beyond the eight picture slots", 1, 0, 0, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_StageData.m_Backgrounds.clear();
        for (int i = 0; i < c.slot; ++i) g_StageData.m_Backgrounds.push_back(cBackgroundData{});
        for (cBackgroundData& bg : g_StageData.m_Backgrounds) bg.m_bShow = 0;
        cBackgroundData bg = Picture(1, 1);
        bg.m_bShow = c.show;
        bg.m_nLayer = c.front;
        g_StageData.m_Backgrounds.push_back(bg);
        ClearScreen(0xFF000000);
        m_Scene->DrawBackgrounds(&g_BackBuffer, 0);
        const cImage screen = Screen();
        EXPECT_EQ(At(screen, 0, 0), qbtest::kColour16);
        EXPECT_EQ(At(screen, 639, 479), qbtest::kColour16);
    }
}

TEST_F(BackgroundDraw, OnlyTheFirstBackLayerIsOpaque)
{
    // The second background picture is magenta on its left half: drawn first it hides what was
    // there, drawn second it lets the first layer through.
    LoadPicture(kBackgroundSlot + 1, kPicW, kPicH, HalfMagentaRgb);
    g_StageData.m_Backgrounds.push_back(Picture(0, 0));
    g_StageData.m_Backgrounds.push_back(Picture(0, 0));
    m_Scene->m_ScrollX.m_dPos = 320;
    m_Scene->m_ScrollY.m_dPos = 320;

    m_Scene->DrawBackgrounds(&g_BackBuffer, 0);
    cImage screen = Screen();
    EXPECT_EQ(At(screen, 3, 4), PictureRgb(3, 4));      // the second layer's transparent half
    EXPECT_EQ(At(screen, 15, 4), 0x0000C0u);            // its opaque half

    // The first layer switched off: the second is now the first drawn, and opaque.
    g_StageData.m_Backgrounds[0].m_bShow = 0;
    ClearScreen(0xFF00FF00);
    m_Scene->DrawBackgrounds(&g_BackBuffer, 0);
    screen = Screen();
    EXPECT_NE(At(screen, 3, 4), 0x00FF00u);
    EXPECT_EQ(At(screen, 15, 4), 0x0000C0u);
}

TEST_F(BackgroundDraw, AColourFillCountsAsTheFirstLayer)
{
    cBackgroundData fill;
    fill.m_bShow = 1;
    fill.m_bFillOnly = 1;
    fill.m_nFillColor = 16;
    g_StageData.m_Backgrounds.push_back(fill);
    LoadPicture(kBackgroundSlot + 1, kPicW, kPicH, HalfMagentaRgb);
    g_StageData.m_Backgrounds.push_back(Picture(0, 0));
    m_Scene->DrawBackgrounds(&g_BackBuffer, 0);
    const cImage screen = Screen();
    EXPECT_EQ(At(screen, 3, 4), qbtest::kColour16);
    EXPECT_EQ(At(screen, 15, 4), 0x0000C0u);
}

TEST_F(BackgroundDraw, TheFrontPassDrawsOnlyFrontLayersAndAlwaysTransparent)
{
    LoadPicture(kBackgroundSlot + 1, kPicW, kPicH, HalfMagentaRgb);
    g_StageData.m_Backgrounds.push_back(Picture(0, 0));
    cBackgroundData front = Picture(0, 0);
    front.m_nLayer = 1;
    g_StageData.m_Backgrounds.push_back(front);
    ClearScreen(0xFF00FF00);
    m_Scene->DrawBackgrounds(&g_BackBuffer, 1);
    const cImage screen = Screen();
    EXPECT_EQ(At(screen, 3, 4), 0x00FF00u);
    EXPECT_EQ(At(screen, 15, 4), 0x0000C0u);
}

TEST_F(BackgroundDraw, AutoScrollCorrectsTheOffsetOncePerFrameAsBefore)
{
    struct Case {
        const char* what;
        double offset, rate, expected;
    } cases[] = {
        {"inside the picture", 5, 2, 3},
        {"below zero: one width added", 1, 3, 18},
        {"at the width: one width taken", 19, -1, 0},
        {"beyond the width: one width taken", 18, -4.5, 2.5},
        // One correction leaves -30: only then is the offset wrapped in full.
        {"a rate above the width wraps in full", 0, 50, 10},
        {"a negative rate above the width wraps in full", 0, -45, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cBackgroundData bg = Picture(c.rate, c.rate);
        bg.m_bAutoScrollX = bg.m_bAutoScrollY = 1;
        bg.m_dOffsetX = bg.m_dOffsetY = c.offset;
        g_StageData.m_Backgrounds.clear();
        g_StageData.m_Backgrounds.push_back(bg);
        m_Scene->ScrollBackgrounds();
        EXPECT_DOUBLE_EQ(g_StageData.m_Backgrounds[0].m_dOffsetX, c.expected);
        // The same on y along the height of 12.
        const double y = c.offset - c.rate;
        const double wrappedY = y < 0 ? y + kPicH : (y >= kPicH ? y - kPicH : y);
        if (wrappedY >= 0 && wrappedY < kPicH) {
            EXPECT_DOUBLE_EQ(g_StageData.m_Backgrounds[0].m_dOffsetY, wrappedY);
        }
    }
}

TEST_F(BackgroundDraw, AFastAutoScrollNeverDriftsOutOfThePicture)
{
    cBackgroundData bg = Picture(47.25, -33.5);
    bg.m_bAutoScrollX = bg.m_bAutoScrollY = 1;
    g_StageData.m_Backgrounds.push_back(bg);
    for (int frame = 0; frame < 100000; ++frame) {
        m_Scene->ScrollBackgrounds();
        const cBackgroundData& now = g_StageData.m_Backgrounds[0];
        ASSERT_GE(now.m_dOffsetX, 0);
        ASSERT_LT(now.m_dOffsetX, kPicW);
        ASSERT_GE(now.m_dOffsetY, 0);
        ASSERT_LT(now.m_dOffsetY, kPicH);
    }
}

// The same draw at 16-bit DirectDraw: the screen shows the picture's stored pixels.
class BackgroundDrawDirectDraw16 : public BackgroundDraw {
protected:
    void SetUp() override
    {
        SetUpDisplay({FALSE, 16, 0});
        LoadPicture(kBackgroundSlot, kPicW, kPicH, PictureRgb);
    }
};

TEST_F(BackgroundDrawDirectDraw16, TilesLieWhereTheyDoUnderDirect3D) { ExpectTheScreenTiled(); }

}  // namespace
