// The hero's box overlays, drawn over it: each box at its place in the 32 x 32 cell, filled or
// framed in its colour, larger boxes first. The colour steps through four shades in 32 frames,
// except in 8-bit colour with the palette animation on.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/system_data.h"
#include "graphics/device.h"
#include "graphics/palette.h"
#include "objects/hero.h"
#include "tests/play/stage_draw_fixture.h"

namespace {

using qbtest::cImage;

constexpr std::uint32_t kOverlayBackdrop = 0x10;

// One overlay as the stage settings place it: mode 1 filled, 2 framed.
struct OVERLAYREF {
    int mode;
    int colour;   // palette entry before the shade
    int x, y, w, h;
};

// The overlays of a hero whose screen cell starts at (left, top), largest first, written from
// the stage's box rules: bounds 20 x 28 on the cell's bottom, so the draw offsets are
// ((32 - 20) / 2, 32 - 28); the body box 12 x 20 on the bottom; the shot box 10 x 8 and the
// item box 24 x 24 centred. A centred box lies at 16 - size / 2 - draw offset from the
// position, a bottom one at 32 - draw offset - height; the position is the cell's corner plus
// the draw offsets.
std::vector<OVERLAYREF> HeroOverlayPlaces(int left, int top)
{
    const int dx = (32 - 20) / 2;
    const int dy = 32 - 28;
    const int x = left + dx;
    const int y = top + dy;
    const auto centred = [](int size, int offset) { return 16 - size / 2 - offset; };
    return {
        {1, 216, x + centred(24, dx), y + centred(24, dy), 24, 24},   // item box, 576
        {2, 208, x, y, 20, 28},                                       // bounds, 560
        {1, 212, x + centred(12, dx), y + (32 - dy - 20), 12, 20},    // body box, 240
        {2, 220, x + centred(10, dx), y + centred(8, dy), 10, 8},     // shot box, 80
    };
}

// The screen after the overlays with colour `shade` added, each pixel given by `pixelOf`.
cImage PaintHeroOverlays(cImage screen, const std::vector<OVERLAYREF>& overlays, int shade,
                         const std::function<std::uint32_t(int)>& pixelOf)
{
    for (const OVERLAYREF& o : overlays) {
        const std::uint32_t pixel = pixelOf(o.colour + shade);
        for (int y = o.y; y < o.y + o.h; ++y)
            for (int x = o.x; x < o.x + o.w; ++x) {
                const bool edge = x == o.x || x == o.x + o.w - 1 || y == o.y || y == o.y + o.h - 1;
                if (o.mode == 1 || edge) screen.Set(x, y, pixel);
            }
    }
    return screen;
}

class HeroOverlayDraw : public qbtest::cStageDrawTest {
protected:
    void SetUpDisplay(const qbtest::cDisplayMode& mode)
    {
        cStageDrawTest::SetUpDisplay(mode);
        for (int i = 200; i < 240; ++i)
            g_Palette[i] = PALETTEENTRY{static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(3 * i), 0};
        cStageData& stage = g_StageData;
        stage.m_nHeroBodyW = 20;
        stage.m_nHeroBodyH = 28;
        stage.m_nHeroBox2W = 12;
        stage.m_nHeroBox2H = 20;
        stage.m_nHeroBox3W = 10;
        stage.m_nHeroBox3H = 8;
        stage.m_nHeroBox4W = 24;
        stage.m_nHeroBox4H = 24;
        stage.m_nHeroBodyShow = 2;
        stage.m_nHeroBox2Show = 1;
        stage.m_nHeroBox3Show = 2;
        stage.m_nHeroBox4Show = 1;
        stage.m_nHeroBodyColor = 0;
        stage.m_nHeroBox2Color = 1;
        stage.m_nHeroBox4Color = 2;
        stage.m_nHeroBox3Color = 3;
        cCharaData placement;
        placement.Reset();
        placement.m_nOperator = 0;
        placement.m_bTransparent = 1;   // only the overlays are drawn
        Player.resize(1);
        Player.At(0).Spawn(1, placement, 0, 0);
        Player.At(0).m_dX = 320 + 100;   // screen cell at (94, 56) with the camera at (320, 320)
        Player.At(0).m_dY = 320 + 60;
    }
    // One frame of the hero's drawing over a plain screen.
    cImage DrawHeroFrame()
    {
        ClearScreen(0xFF000000u | kOverlayBackdrop);
        Player.At(0).UpdateScreenRect();
        Player.At(0).Draw(&g_BackBuffer, 0);
        return Screen();
    }
};

class HeroOverlayDraw32 : public HeroOverlayDraw {
protected:
    void SetUp() override { SetUpDisplay({TRUE, 32, 1}); }
};

class HeroOverlayDraw8 : public HeroOverlayDraw {
protected:
    void SetUp() override { SetUpDisplay({FALSE, 8, 0}); }
};

std::uint32_t OverlayPaletteRgb(int entry)
{
    const PALETTEENTRY& e = g_Palette[entry];
    return static_cast<std::uint32_t>(e.peRed) << 16 | static_cast<std::uint32_t>(e.peGreen) << 8 | e.peBlue;
}

// "" when the two screens match (alpha aside), else the first pixel that differs.
std::string OverlayMismatch(const cImage& shown, const cImage& expected)
{
    for (int y = 0; y < expected.h; ++y)
        for (int x = 0; x < expected.w; ++x) {
            const std::uint32_t got = shown.At(x, y) & 0xFFFFFFu;
            if (got != expected.At(x, y))
                return "(" + std::to_string(x) + ", " + std::to_string(y) + "): " + std::to_string(got) + " instead of " +
                       std::to_string(expected.At(x, y));
        }
    return "";
}

TEST_F(HeroOverlayDraw32, BoxesAreFilledOrFramedLargestFirstInFourShadesOf32Frames)
{
    const std::vector<OVERLAYREF> overlays = HeroOverlayPlaces(94, 56);
    const cImage backdrop{640, 480, std::vector<std::uint32_t>(640 * 480, kOverlayBackdrop)};
    for (int frame = 0; frame < 34; ++frame) {
        const cImage expected = PaintHeroOverlays(backdrop, overlays, (frame % 32) / 8, OverlayPaletteRgb);
        ASSERT_EQ(OverlayMismatch(DrawHeroFrame(), expected), "") << "frame " << frame;
    }
}

TEST_F(HeroOverlayDraw8, EightBitColourKeepsTheBaseColourWhileThePaletteAnimates)
{
    struct Case {
        int colourAnimation;
        int shadeAtFrame8;
    } cases[] = {{1, 0}, {0, 1}};
    const std::vector<OVERLAYREF> overlays = HeroOverlayPlaces(94, 56);
    const cImage backdrop{640, 480, std::vector<std::uint32_t>(640 * 480, kOverlayBackdrop)};
    const auto index = [](int entry) { return static_cast<std::uint32_t>(entry); };
    for (const Case& c : cases) {
        g_SystemData.m_bColorAnim = c.colourAnimation;
        for (HEROOVERLAY& overlay : Player.At(0).m_Overlays) overlay.nBlink = 0;
        for (int frame = 0; frame < 8; ++frame) DrawHeroFrame();
        EXPECT_EQ(OverlayMismatch(DrawHeroFrame(), PaintHeroOverlays(backdrop, overlays, c.shadeAtFrame8, index)), "")
            << "palette animation " << c.colourAnimation;
    }
}

}  // namespace
