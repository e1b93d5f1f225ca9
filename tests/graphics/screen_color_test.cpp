// The scene fades and the screen colour on both back ends, against references written from
// the formulas: Direct3D covers the back buffer with black of alpha 255 − trunc(sin(angle) ×
// 255); DirectDraw pulls the palette or the saved picture toward the colour by
// trunc(sin(angle) × 256) / 256.
#include "tests/graphics/graphics_fixture.h"

#include <cmath>
#include "graphics/screen_color.h"
#include "tests/graphics/blit_reference.h"

namespace {

using qbtest::cImage;
using ScreenColor = qbtest::cGraphicsTest;

constexpr double kRadians = 0.017453292519943295;

int D3DWeight(double angle) { return static_cast<int>(std::sin(angle * kRadians) * 255); }
int DDWeight(double angle) { return static_cast<int>(std::sin(angle * kRadians) * 256); }

// Ends whatever fade an earlier test left halfway, as the reset flag does.
void EndFades()
{
    PALETTEENTRY work[256] = {};
    DDFadeOut(work, 0, 255, 0, 0, 0, 10, g_Palette, 1);
    DDFadeIn(work, 0, 255, 0, 0, 0, 10, g_Palette, 1);
}

// Black of alpha a over an X8R8G8B8 picture.
cImage Darkened(const cImage& before, int alpha)
{
    cImage out = before;
    for (auto& p : out.px) p = qbtest::RefBlend(static_cast<std::uint32_t>(alpha) << 24, p | 0xFF000000u) & 0xFFFFFFu;
    return out;
}

cImage Rgb(cImage image)
{
    for (auto& p : image.px) p &= 0xFFFFFFu;
    return image;
}

TEST_F(ScreenColor, Direct3DFadeOutStepsItsAngleAndEndsOnTheCallThatDrawsZero)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    EndFades();
    const cImage before = Rgb(qbtest::Pattern(640, 480, 0x123456));
    struct Case { double step; std::vector<double> angles; } cases[] = {
        {10, {90, 80, 70, 60, 50, 40, 30, 20, 10, 0}},
        {25, {90, 65, 40, 15, 0}},
    };
    PALETTEENTRY work[256] = {};
    for (const auto& c : cases) {
        for (std::size_t i = 0; i < c.angles.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "step " << c.step << " call " << i + 1);
            qbtest::WriteImage(&g_BackBuffer, before);
            const BYTE ended = DDFadeOut(work, 0, 255, 255, 255, 255, c.step, g_Palette, 0);
            EXPECT_EQ(ended, i + 1 == c.angles.size() ? 1 : 0);
            EXPECT_EQ(Rgb(qbtest::ReadImage(&g_BackBuffer)), Darkened(before, 255 - D3DWeight(c.angles[i])));
        }
    }
    // The next call starts a new fade at 90: nothing visible.
    qbtest::WriteImage(&g_BackBuffer, before);
    EXPECT_EQ(DDFadeOut(work, 0, 255, 0, 0, 0, 10, g_Palette, 0), 0);
    EXPECT_EQ(Rgb(qbtest::ReadImage(&g_BackBuffer)), before);
    // The reset flag draws the end state, opaque black, and ends the fade.
    EXPECT_EQ(DDFadeOut(work, 0, 255, 255, 255, 255, 10, g_Palette, 1), 1);
    EXPECT_EQ(Rgb(qbtest::ReadImage(&g_BackBuffer)), Darkened(before, 255));
    EXPECT_EQ(qbtest::ReadImage(&g_BackBuffer).At(7, 7) & 0xFFFFFF, 0u);
}

TEST_F(ScreenColor, Direct3DFadeInGoesFromBlackToThePicture)
{
    for (int windowMode : {1, 0}) {
        for (int depth : {32, 16}) {
            SCOPED_TRACE(testing::Message() << depth << " bits, window mode " << windowMode);
            ASSERT_TRUE(Init({TRUE, depth, windowMode}));
            EndFades();
            PALETTEENTRY work[256] = {};
            const std::uint32_t white = depth == 32 ? 0xFFFFFFu : (windowMode ? 0xFFFFu : 0xFFFFu);
            const cImage whiteImage{640, 480, std::vector<std::uint32_t>(640 * 480, white)};
            for (double angle : {0.0, 30.0, 60.0, 90.0}) {
                qbtest::WriteImage(&g_BackBuffer, whiteImage);
                const BYTE ended = DDFadeIn(work, 0, 255, 0, 0, 0, 30, g_Palette, 0);
                EXPECT_EQ(ended, angle == 90.0 ? 1 : 0);
                // White under black of alpha a: 255 − a × 255 / 255 rounded, narrowed to the format.
                const std::uint32_t level = (255 * static_cast<std::uint32_t>(D3DWeight(angle)) + 127) / 255;
                std::uint32_t expected = level << 16 | level << 8 | level;
                if (depth == 16)
                    expected = windowMode ? 0x8000u | (level >> 3) << 10 | (level >> 3) << 5 | (level >> 3)
                                          : (level >> 3) << 11 | (level >> 2) << 5 | (level >> 3);
                const std::uint32_t got = qbtest::ReadImage(&g_BackBuffer).At(320, 240);
                EXPECT_EQ(depth == 32 ? got & 0xFFFFFF : got, expected) << "angle " << angle;
            }
            DDUninit();
        }
    }
}

TEST_F(ScreenColor, DirectDrawFadeMixesTheSavedPictureWithTheColour)
{
    for (int depth : {32, 16}) {
        SCOPED_TRACE(testing::Message() << depth << " bits");
        ASSERT_TRUE(Init({FALSE, depth, 0}));
        EndFades();
        const cImage before = depth == 32 ? Rgb(qbtest::Pattern(640, 480, 0x0F0E0D))
                                          : cImage{640, 480, std::vector<std::uint32_t>(640 * 480, 0)};
        cImage picture = before;
        if (depth == 16)
            for (std::size_t i = 0; i < picture.px.size(); ++i) picture.px[i] = static_cast<std::uint32_t>(i * 2654435761u) >> 16;
        PALETTEENTRY work[256] = {};
        const BYTE r = 40, g = 200, b = 90;
        for (double angle : {90.0, 45.0, 0.0}) {
            // The picture drawn this frame; the fade shows the one saved by its first call.
            qbtest::WriteImage(&g_BackBuffer, angle == 90.0 ? picture : before);
            const BYTE ended = DDFadeOut(work, 0, 255, r, g, b, 45, g_Palette, 0);
            EXPECT_EQ(ended, angle == 0.0 ? 1 : 0);
            const int w = DDWeight(angle);
            const cImage after = qbtest::ReadImage(&g_BackBuffer);
            for (int i = 0; i < 640 * 480; i += 997) {
                const std::uint32_t p = picture.px[static_cast<std::size_t>(i)];
                std::uint32_t expected = 0;
                if (depth == 32) {
                    const int colour[3] = {b, g, r};
                    for (int c = 0; c < 3; ++c)
                        expected |= static_cast<std::uint32_t>((colour[c] * (256 - w) + w * static_cast<int>((p >> (8 * c)) & 0xFF)) >> 8) << (8 * c);
                    EXPECT_EQ(after.px[static_cast<std::size_t>(i)] & 0xFFFFFF, expected) << i;
                } else {
                    const int shift[3] = {11, 5, 0}, max[3] = {31, 63, 31}, colour[3] = {r, g, b};
                    for (int c = 0; c < 3; ++c) {
                        const int c8 = static_cast<int>((p >> shift[c]) & static_cast<std::uint32_t>(max[c])) * 255 / max[c];
                        const int out8 = (colour[c] * (256 - w) + w * c8) >> 8;
                        expected |= static_cast<std::uint32_t>(out8 * max[c] / 255) << shift[c];
                    }
                    EXPECT_EQ(after.px[static_cast<std::size_t>(i)], expected) << i;
                }
            }
        }
        DDUninit();
    }
}

TEST_F(ScreenColor, SixteenBitFadePixelsByHand)
{
    ASSERT_TRUE(Init({FALSE, 16, 0}));
    DDSURFACEDATA surface, work;
    ClearSurfaceData(&surface);
    ClearSurfaceData(&work);
    ASSERT_TRUE(DDCreateSurface(&surface, 3, 2, FALSE, 1, 0, nullptr, FALSE));
    ASSERT_TRUE(DDCreateSurface(&work, 2, 1, FALSE, 1, 0, nullptr, FALSE));
    qbtest::WriteImage(&surface, cImage{3, 2, {1, 2, 3, 4, 5, 6}});
    // R5G6B5 white and (1, 1, 1), weight 128 toward blue: white's 255s become
    // (0 + 128 × 255) >> 8 = 127, then × 31 / 255 = 15 or × 63 / 255 = 31; blue's
    // (255 × 128 + 128 × 255) >> 8 = 255 stays 31. (1, 1, 1): 8, 4, 8 become 4, 2, 131 and then
    // 0, 0, 15.
    qbtest::WriteImage(&work, cImage{2, 1, {0xFFFF, 1u << 11 | 1u << 5 | 1u}});
    EXPECT_EQ(DDFade_UnPal(&surface, 128, 0, 0, 255, &work), 1);
    EXPECT_EQ(qbtest::ReadImage(&surface).px,
              (std::vector<std::uint32_t>{15u << 11 | 31u << 5 | 31u, 15u, 3, 4, 5, 6}))
        << "only the pixels both records have";
    DDReleaseSurface(&surface);
    DDReleaseSurface(&work);
    DDUninit();
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    EXPECT_EQ(DDFade_UnPal(&g_BackBuffer, 128, 0, 0, 0, &g_BackBuffer), 1);
    EXPECT_NE(EcLogText().find("D3DではDDFade_UnPalは未対応"), std::string::npos);
}

TEST_F(ScreenColor, EightBitFadeBlendsThePaletteAndShowsIt)
{
    ASSERT_TRUE(Init({FALSE, 8, 0}));
    EndFades();
    PALETTEENTRY source[256], work[256] = {};
    for (int i = 0; i < 256; ++i) source[i] = PALETTEENTRY{static_cast<BYTE>(i), 100, 200, 0};
    const cImage before{640, 480, std::vector<std::uint32_t>(640 * 480, 7)};
    qbtest::WriteImage(&g_BackBuffer, before);
    for (double angle : {90.0, 30.0, 0.0}) {
        SCOPED_TRACE(angle);
        const PALETTEENTRY shownBefore = g_lpDDPalette->m_Entries[5];
        DDFadeOut(work, 10, 20, 255, 0, 0, 60, source, 0);
        const int w = DDWeight(angle);
        for (int i : {10, 15, 20}) {
            EXPECT_EQ(work[i].peRed, (i * w + 255 * (256 - w)) >> 8);
            EXPECT_EQ(work[i].peGreen, (100 * w) >> 8);
            EXPECT_EQ(g_lpDDPalette->m_Entries[i].peRed, work[i].peRed) << "shown";
        }
        EXPECT_EQ(g_lpDDPalette->m_Entries[5].peRed, shownBefore.peRed) << "outside the range";
    }
    EXPECT_EQ(qbtest::ReadImage(&g_BackBuffer), before) << "the pixels keep their indices";
}

TEST_F(ScreenColor, ChangeColorRedrawsTheWholeScreenMultipliedByTheColourTextureOrNot)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    // The stage draws into the virtual back buffer, a render-target texture that the screen
    // colour samples in place.
    DDSetVirBackBuffer(TRUE);
    const cImage opaque = qbtest::Pattern(640, 480, 0x445566);
    const cImage before = Rgb(opaque);
    struct Case { BYTE alpha, r, g, b; } cases[] = {{0, 255, 255, 255}, {0, 255, 128, 0}, {100, 30, 60, 90}, {255, 0, 0, 0}};
    auto checkCases = [&](const char* path) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << path << " " << int(c.alpha) << " " << int(c.r) << "," << int(c.g) << ","
                                            << int(c.b));
            qbtest::WriteImage(&g_BackBuffer, opaque);
            // The rectangle is not used: the whole destination is redrawn.
            EXPECT_EQ(DDChangeColor(&g_BackBuffer, 10, 10, 5, 5, c.alpha, c.r, c.g, c.b), 1);
            const std::uint32_t diffuse = static_cast<std::uint32_t>(255 - c.alpha) << 24 | c.r << 16 | c.g << 8 | c.b;
            cImage expected = before;
            for (auto& p : expected.px)
                p = qbtest::RefBlend(qbtest::RefShade(p | 0xFF000000u, diffuse, D3DTOP_MODULATE, D3DTOP_MODULATE),
                                     p | 0xFF000000u) &
                    0xFFFFFFu;
            EXPECT_EQ(Rgb(qbtest::ReadImage(&g_BackBuffer)), expected);
        }
    };
    checkCases("virtual back buffer");
    DDSetVirBackBuffer(FALSE);
    // The back buffer itself is no texture: its pixels are multiplied in place, to the same values.
    checkCases("in place");
    DDUninit();
    // The full-screen 16-bit back buffer (R5G6B5): white times (255, 128, 0) is 31, 32, 0.
    ASSERT_TRUE(Init({TRUE, 16, 0}));
    qbtest::WriteImage(&g_BackBuffer, cImage{640, 480, std::vector<std::uint32_t>(640 * 480, 0xFFFFu)});
    EXPECT_EQ(DDChangeColor(&g_BackBuffer, 0, 0, 640, 480, 0, 255, 128, 0), 1);
    EXPECT_EQ(qbtest::ReadImage(&g_BackBuffer).At(320, 240), 31u << 11 | 32u << 5);
    DDUninit();
    ASSERT_TRUE(Init({FALSE, 32, 0}));
    EXPECT_EQ(DDChangeColor(&g_BackBuffer, 0, 0, 640, 480, 0, 1, 2, 3), 1);
    EXPECT_NE(EcLogText().find("DDrawでは DDChangeColor("), std::string::npos);
}

}  // namespace
