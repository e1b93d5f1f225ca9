// The screen effects frame by frame at 8, 16 and 32 bits: the stage picture is a pattern that
// tells every column apart, a frame of the effect is drawn over it, and what the screen shows
// is compared with where the effect's rules put the picture (colour 16 where it leaves the
// screen bare).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/fill.h"
#include "tests/play/chara_draw_fixture.h"

namespace {

using qbtest::cImage;

// A display and what palette colour 16 is there, as the back buffer stores it.
struct SCREENDISPLAY {
    qbtest::cEffectMode mode;
    PALETTEENTRY colour16;   // in the display's own component widths
    std::uint32_t stored16;
};

const SCREENDISPLAY kDisplays[] = {
    {qbtest::kEffectModes[0], {0x12, 0x34, 0x56, 0}, 0x123456},
    {qbtest::kEffectModes[4], {2, 13, 10, 0}, 2u << 11 | 13u << 5 | 10u},
    {qbtest::kEffectModes[5], {0, 0, 0, 0}, 16},
};

void PrintTo(const SCREENDISPLAY& display, std::ostream* out) { *out << display.mode.name; }

class ScreenEffect : public qbtest::cCharaDrawTest, public testing::WithParamInterface<SCREENDISPLAY> {
protected:
    void SetUp() override
    {
        SetUpMode(GetParam().mode);
        g_Palette[16] = GetParam().colour16;
        m_nMask = GetParam().mode.nBpp == 32 ? 0xFFFFFFu : 0xFFFFFFFFu;
    }

    // The stage picture at (x, y): every column its own value (at 8 bits every column of a
    // stretch of 200), never colour 16 nor a transparent value.
    std::uint32_t Picture(int x, int y) const
    {
        switch (GetParam().mode.nBpp) {
        case 8: return static_cast<std::uint32_t>(32 + (x + 2 * y) % 200);
        case 16: return static_cast<std::uint32_t>((x & 31) << 11 | (y & 63) << 5 | (x >> 5));
        default: return 0xFF000000u | static_cast<std::uint32_t>(x) << 12 | static_cast<std::uint32_t>(y);
        }
    }
    void PaintPicture()
    {
        cImage image{640, 480, {}};
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) image.px.push_back(Picture(x, y));
        qbtest::WriteImage(&g_BackBuffer, image);
    }
    // Screen-effect entry 1 of the kind and parameters, started on the stage.
    void Start(int kind, const std::vector<int>& params, int mode = 0, int loop = 0)
    {
        m_Effects.SetScreen(1, kind, params);
        m_Scene->m_ScreenEffect.StartScreenEffect(1, mode, loop);
    }
    // One frame of the effect over the picture, as the stage draw hands it over.
    cImage Frame(int paused = 0)
    {
        m_Scene->m_ScreenEffect.BeforeDraw();
        PaintPicture();
        m_Scene->DrawScreenEffect(paused);
        return Screen();
    }
    // Frames drawn (without repainting) until the effect has ended; the frame it ended on.
    int FramesToEnd(int limit = 1000)
    {
        for (int frame = 1; frame <= limit; ++frame) {
            m_Scene->m_ScreenEffect.BeforeDraw();
            m_Scene->DrawScreenEffect(0);
            if (m_Scene->m_ScreenEffect.m_nId == 0) return frame;
        }
        return -1;
    }
    bool Is16(const cImage& screen, int x, int y) const { return (screen.At(x, y) & m_nMask) == (GetParam().stored16 & m_nMask); }
    bool IsPicture(const cImage& screen, int x, int y, int px, int py) const
    {
        return (screen.At(x, y) & m_nMask) == (Picture(px, py) & m_nMask);
    }
    // How far the picture lies moved along x on row y: bare columns at the left (a move right)
    // or the right (a move left), the picture in the rest. -9999 when the row is anything else.
    int ShiftX(const cImage& screen, int y) const
    {
        int left = 0, right = 0;
        while (left < 640 && Is16(screen, left, y)) ++left;
        while (right < 640 && Is16(screen, 639 - right, y)) ++right;
        const int shift = left > 0 ? left : -right;
        for (int x = left; x < 640 - right; ++x)
            if (!IsPicture(screen, x, y, x - shift, y)) return -9999;
        return shift;
    }
    int ShiftY(const cImage& screen, int x) const
    {
        int top = 0;
        while (top < 480 && Is16(screen, x, top)) ++top;
        for (int y = top; y < 480; ++y)
            if (!IsPicture(screen, x, y, x, y - top)) return -9999;
        return top;
    }
    // Player 1 with its centre on the screen at (x, y).
    void PlacePlayer(int x, int y)
    {
        cHero& hero = m_Stage->AddPlayerOne();
        hero.m_nDrawWidth = hero.m_nDrawHeight = 32;
        hero.m_ScreenRect.left = x - 16;
        hero.m_ScreenRect.top = y - 16;
    }

    std::uint32_t m_nMask = 0;
};

TEST_P(ScreenEffect, AMoveDrawsThePositionOfTheFrameBeforeAndEndsOnItsSixtySeventhStep)
{
    Start(1, {10, 0, 0, 640, 0});
    std::vector<int> shifts;
    for (int frame = 0; frame < 6; ++frame) shifts.push_back(ShiftX(Frame(), 240));
    EXPECT_EQ(shifts, (std::vector<int>{0, 0, 10, 21, 32, 42})) << "64 pixels a tenth, uncovering colour 16";
    EXPECT_EQ(FramesToEnd(), 67 - 6);
}

TEST_P(ScreenEffect, AMoveDividesItsDistanceByItsDurationAsARealNumber)
{
    // (640 - -5) / 10 is 64.5 a tenth: after 7 steps of 1/6 the picture lies at 70 (69 by a
    // whole division); down, 45 / 10 × 7/6 gives 5 (4).
    struct CASE {
        std::vector<int> params;
        bool down;
        int shift;
    } cases[] = {{{10, -5, 0, 640, 0}, false, 70}, {{10, 0, 0, 0, 45}, true, 5}};
    for (const CASE& c : cases) {
        Start(1, c.params);
        cImage screen;
        for (int frame = 0; frame < 9; ++frame) screen = Frame();
        EXPECT_EQ(c.down ? ShiftY(screen, 320) : ShiftX(screen, 240), c.shift);
    }
}

TEST_P(ScreenEffect, AShakeSwingsBetweenItsAmplitudesAndFillsOnlyTheStripItLeavesBare)
{
    Start(2, {10, 4, 4});
    std::vector<int> shifts;
    for (int frame = 0; frame < 10; ++frame) shifts.push_back(ShiftX(Frame(), 100));
    EXPECT_EQ(shifts, (std::vector<int>{0, 1, 2, 3, 4, 2, 1, 0, 0, -1})) << "the first frame draws before the first step";
    EXPECT_NEAR(m_Scene->m_ScreenEffect.m_dValue2, 4 - 6 * (64.0 / 60), 1e-12) << "the next offset: 64 / 60 pixels a frame";

    // Under Direct3D the fills of a batch are drawn when it ends, over the picture, so the
    // strips show whole: (0, trunc(offset + 1)) or (trunc(offset + 640), trunc(1 - offset))
    // for the offsets 0, 1.07, 2.13, 3.2, 4 (clamped), 2.93, 1.87, 0.8, -0.27, -1.33.
    if (!lpDTCon) return;
    Start(2, {10, 4, 4});
    std::vector<std::vector<int>> strips;
    for (int frame = 0; frame < 10; ++frame) {
        DDBeginFillBatch();
        Frame();
        for (const FILLBATCHRECORD& r : g_FillBatch.records) strips.push_back({r.x, r.y, r.w, r.h});
        DDEndFillBatch();
    }
    EXPECT_EQ(strips, (std::vector<std::vector<int>>{{0, 0, 2, 480}, {0, 0, 3, 480}, {0, 0, 4, 480}, {0, 0, 5, 480},
                                                      {0, 0, 3, 480}, {0, 0, 2, 480}, {0, 0, 1, 480}, {639, 0, 1, 480},
                                                      {638, 0, 2, 480}}));
}

TEST_P(ScreenEffect, AVerticalShakeClearsTheScreenAndMovesThePictureDown)
{
    Start(3, {10, 4, 4});
    std::vector<int> shifts;
    for (int frame = 0; frame < 5; ++frame) shifts.push_back(ShiftY(Frame(), 100));
    EXPECT_EQ(shifts, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_P(ScreenEffect, AZoomKeepsItsViewOfPlayerOneInsideThePicture)
{
    // Zoom 1280 shows 320 × 240 of the picture doubled: x0 = trunc(cx - 160), held inside
    // 0 .. 640 - 320, and y0 likewise.
    struct CASE {
        int cx, cy, x0, y0;
    } cases[] = {{10, 240, 0, 120}, {320, 240, 160, 120}, {630, 470, 320, 240}, {200, 5, 40, 0}};
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.cx);
        PlacePlayer(c.cx, c.cy);
        Start(11, {10, 1280, 1280});
        const cImage screen = Frame();
        const int probes[][2] = {{0, 0}, {101, 51}, {639, 479}, {400, 300}};
        for (const auto& p : probes)
            EXPECT_TRUE(IsPicture(screen, p[0], p[1], c.x0 + p[0] / 2, c.y0 + p[1] / 2)) << p[0] << ", " << p[1];
    }
}

TEST_P(ScreenEffect, AZoomBelowTheScreenWidthShrinksThePictureTowardTheCentre)
{
    // Zoom 320: the picture at half size in (160, 120) .. (479, 359), colour 16 around it.
    Start(11, {10, 320, 320});
    const cImage screen = Frame();
    const int bare[][2] = {{159, 240}, {480, 240}, {320, 119}, {320, 360}, {0, 0}, {639, 479}};
    const int shown[][2] = {{160, 240}, {479, 240}, {320, 120}, {320, 359}, {160, 120}, {479, 359}};
    for (const auto& p : bare) EXPECT_TRUE(Is16(screen, p[0], p[1])) << p[0] << ", " << p[1];
    for (const auto& p : shown) EXPECT_FALSE(Is16(screen, p[0], p[1])) << p[0] << ", " << p[1];
}

TEST_P(ScreenEffect, ACircleAroundAPlayerAtTheEdgeReachesTheFarSide)
{
    // Radius 640: the spans reach 639 pixels to each side of the centre, cut at the picture.
    struct CASE {
        int cx;
        int nearX, farX;   // columns of the row through the centre that show the picture
    } cases[] = {{0, 0, 600}, {639, 639, 39}};
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.cx);
        PlacePlayer(c.cx, 240);
        Start(10, {10, 640, 0, 8});
        const cImage screen = Frame();
        EXPECT_TRUE(IsPicture(screen, c.nearX, 240, c.nearX, 240));
        EXPECT_TRUE(IsPicture(screen, c.farX, 240, c.farX, 240));
        EXPECT_TRUE(IsPicture(screen, c.nearX, 0, c.nearX, 0));
        EXPECT_TRUE(Is16(screen, 639 - c.nearX, 0)) << "the top band's span stops short of the far edge";
    }
}

TEST_P(ScreenEffect, ASplitIntoNoPartsOrFewerIsAPlainCopy)
{
    for (int parts : {0, -3}) {
        SCOPED_TRACE(parts);
        Start(4, {10, 100, 100, parts});
        EXPECT_EQ(ShiftX(Frame(), 7), 0);
        Start(5, {10, 100, 100, parts});
        EXPECT_EQ(ShiftY(Frame(), 7), 0);
    }
    Start(4, {10, 8, 8, 240});
    const cImage split = Frame();
    EXPECT_EQ(ShiftX(split, 0), 8) << "bands of 2 rows shifted +8 and -8 in turn";
    EXPECT_EQ(ShiftX(split, 2), -8);
}

TEST_P(ScreenEffect, AKindOutsideTheTablePlaysAsNoEffect)
{
    for (int kind : {14, -1, 255}) {
        SCOPED_TRACE(kind);
        Start(kind, {10, 0, 10});
        const cImage screen = Frame();
        EXPECT_EQ(ShiftX(screen, 0), 0);
        EXPECT_EQ(ShiftX(screen, 479), 0);
        EXPECT_EQ(FramesToEnd(100), -1) << "it never ends";
        EXPECT_EQ(m_Scene->m_ScreenEffect.m_nId, 1);
        if (lpDTCon) {
            EXPECT_FALSE(lpDTCon->bVirBackBuffer) << "drawing is back on the real back buffer each frame";
        }
    }
}

TEST_P(ScreenEffect, EffectsEndOnTheStepTheirTruncatedValuePassesTheEnd)
{
    struct CASE {
        const char* what;
        int kind;
        std::vector<int> params;
        int mode;
        int frames;
    } cases[] = {
        {"move 0 -> 10 tenths", 1, {10, 0, 0, 640, 0}, 0, 67},
        // 1500 - 60 × 1495 / 60 comes to 4.999999999999169, which truncates below 5.
        {"lens 1500 -> 5", 12, {10, 1500, 5, 0, 0}, 0, 60},
        // 59/60 a step: the sixtieth falls just short of 1.
        {"mosaic played 60 -> 1 in reverse", 13, {10, 1, 60}, 1, 60},
        {"rotation there and back", 9, {1, 0, 60}, 2, 14},
        {"blink", 8, {10, 10}, 0, 67},
        {"a duration of 0 takes real divisions", 1, {0, 0, 0, 640, 0}, 0, 7},
        {"a shake of duration 0", 2, {0, 4, 4}, 0, 7},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.what);
        PlacePlayer(320, 240);
        Start(c.kind, c.params, c.mode);
        EXPECT_EQ(FramesToEnd(), c.frames);
        if (lpDTCon) {
            EXPECT_FALSE(lpDTCon->bVirBackBuffer) << "an ended effect draws on the real back buffer again";
        }
    }
}

TEST_P(ScreenEffect, PausedTheEffectIsDrawnButStandsStill)
{
    Start(1, {10, 0, 0, 640, 0});
    for (int frame = 0; frame < 4; ++frame) Frame();
    const double value = m_Scene->m_ScreenEffect.m_dValue;
    for (int frame = 0; frame < 3; ++frame) EXPECT_EQ(ShiftX(Frame(1), 240), 32);
    EXPECT_EQ(m_Scene->m_ScreenEffect.m_dValue, value);
    EXPECT_EQ(ShiftX(Frame(), 240), 32);
    EXPECT_EQ(ShiftX(Frame(), 240), 42);
}

TEST_P(ScreenEffect, ABlinkHidesTheStageBehindTheBackgroundsForElevenFramesThenTenAtATime)
{
    Start(8, {10, 10});
    std::string shown;
    for (int frame = 0; frame < 32; ++frame) shown += ShiftX(Frame(), 240) == 0 ? 'S' : '-';
    // With no background enabled the backgrounds are colour 16, which ShiftX cannot place.
    EXPECT_EQ(shown, std::string(11, '-') + std::string(10, 'S') + std::string(10, '-') + "S");
}

using ScreenEffectStageDraw = qbtest::cCharaDrawTest;

TEST_F(ScreenEffectStageDraw, TheStageIsDrawnWhereTheEffectCanReadItOnlyWhileAnEffectRuns)
{
    qbtest::cCharaEffects effects;
    effects.SetScreen(1, 1, {1, 0, 0, 640, 0});
    effects.SetScreen(2, 0, {});
    const auto drawnOffScreen = [&] {
        m_Scene->Draw(1, 0, 0, 0);
        return lpDTCon->bVirBackBuffer != 0;
    };
    EXPECT_FALSE(drawnOffScreen()) << "no effect";
    m_Scene->m_ScreenEffect.StartScreenEffect(1, 0, 0);
    int frames = 0;
    while (m_Scene->m_ScreenEffect.m_nId != 0 && frames < 100) {
        ++frames;
        const bool offScreen = drawnOffScreen();
        EXPECT_EQ(offScreen, m_Scene->m_ScreenEffect.m_nId != 0) << "frame " << frames;
    }
    EXPECT_EQ(frames, 12) << "a tenth of a second ends when the time first reaches 2";
    EXPECT_FALSE(drawnOffScreen());
    m_Scene->m_ScreenEffect.StartScreenEffect(2, 0, 0);
    EXPECT_FALSE(drawnOffScreen()) << "an entry of kind 0 turns it off again every frame";
    EXPECT_EQ(m_Scene->m_ScreenEffect.m_nId, 2);
}

TEST_F(ScreenEffectStageDraw, ABlinkHidesTheStageBehindBothBackgroundLayersDrawnAsTheStageDrawsThem)
{
    // Behind, a fill of colour 16; in front, a picture whose left half is transparent.
    cBackgroundData behind;
    behind.m_bFillOnly = 1;
    cBackgroundData front;
    front.m_nLayer = 1;
    front.m_dFactorX = front.m_dFactorY = 0;
    g_StageData.m_Backgrounds.assign({behind, front});
    LoadPicture(kBackgroundSlot + 1, 20, 12, [](int x, int) { return x < 10 ? qbtest::kMagenta : 0x0000C0u; });
    qbtest::cCharaEffects effects;
    effects.SetScreen(1, 8, {10, 10});
    m_Scene->m_ScreenEffect.StartScreenEffect(1, 0, 0);
    ClearScreen(0xFF808080u);
    m_Scene->DrawScreenEffect(0);
    const cImage screen = Screen();
    EXPECT_EQ(screen.At(3, 3) & 0xFFFFFF, qbtest::kColour16) << "the front layer's transparent part";
    EXPECT_EQ(screen.At(13, 3) & 0xFFFFFF, 0x0000C0u);
    EXPECT_EQ(screen.At(633, 473) & 0xFFFFFF, 0x0000C0u);
}

INSTANTIATE_TEST_SUITE_P(Depths, ScreenEffect, testing::ValuesIn(kDisplays),
                         [](const testing::TestParamInfo<SCREENDISPLAY>& info) {
                             return std::string(info.param.mode.bDirect3D ? "Direct3D" : "DirectDraw") +
                                    std::to_string(info.param.mode.nBpp);
                         });

}  // namespace
