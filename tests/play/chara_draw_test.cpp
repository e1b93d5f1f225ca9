// A chara drawn through its chara effect: the blink's visible and invisible frames, the zoom's
// size and place, the HP gauge with its loss bar, and effects that the data may make
// impossible to draw as written.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "data/database.h"
#include "data/system_data.h"
#include "graphics/fill.h"
#include "objects/image_source.h"
#include "play/palette_colors.h"
#include "tests/play/chara_draw_fixture.h"

namespace {

using qbtest::BoxOf;
using qbtest::cImage;
using qbtest::PIXELBOX;

constexpr std::uint32_t kDrawBackdrop = 0xFF102030;
constexpr std::uint32_t kDrawBody = 0xFF20C040;

constexpr std::uint32_t kFrame = 0xFF404040, kFill = 0xFF00FF00, kLoss = 0xFFFF0000, kGain = 0xFF0000FF;

class CharaDraw : public qbtest::cCharaDrawTest {
protected:
    void SetUp() override
    {
        cCharaDrawTest::SetUp();
        SetPicture([](int, int) { return kDrawBody; });
    }
    // The accessory sheet's gauge rows: frame at 128, fill at 144 (and 160 when low), loss at
    // 176, gain at 192.
    void MakeGaugeSheet()
    {
        MakeSurface(kAccessoryPicture, 128, 208, [](int, int y) {
            if (y < 128) return 0u;
            if (y < 144) return kFrame;
            if (y < 176) return kFill;
            return y < 192 ? kLoss : kGain;
        });
    }
};

TEST_F(CharaDraw, ABlinkShowsTheCharaForItsIntervalAfterHidingItOneFrameLonger)
{
    // A 64 x 64 target with the chara fixed at (16, 16) of it.
    DDSURFACEDATA target;
    ClearSurfaceData(&target);
    ASSERT_TRUE(DDCreateSurface(&target, 64, 64, FALSE, 1, DTMEMORYTYPE_SYSTEM, nullptr, FALSE));
    cStageChara& chara = MakeChara(0, 0);
    chara.m_bFixedScreenX = chara.m_bFixedScreenY = 1;
    chara.m_nFixedScreenX = chara.m_nFixedScreenY = 16;
    StartEffect(chara, 6, {10, 2});
    const auto shown = [&](int paused) {
        qbtest::WriteImage(&target, cImage{64, 64, std::vector<std::uint32_t>(64 * 64, kDrawBackdrop)});
        chara.Draw(&target, paused);
        return qbtest::ReadImage(&target).At(32, 32) == kDrawBody;
    };
    std::vector<bool> frames;
    for (int frame = 1; frame <= 9; ++frame) frames.push_back(shown(0));
    EXPECT_EQ(frames, (std::vector<bool>{false, false, false, true, true, false, false, true, true}));

    // Paused at counter 2 the toggle still flips once, and then holds.
    StartEffect(chara, 6, {10, 2});
    std::vector<bool> paused;
    paused.push_back(shown(0));
    paused.push_back(shown(0));
    for (int i = 0; i < 3; ++i) paused.push_back(shown(1));
    for (int i = 0; i < 5; ++i) paused.push_back(shown(0));
    EXPECT_EQ(paused, (std::vector<bool>{false, false, false, true, true, true, true, true, false, false}));
    // Seven unpaused steps of 1/6: paused draws do not step.
    EXPECT_EQ(chara.m_DrawEffect.m_EffectPlayback.m_dValue, 1.1666666666666665);
    DDReleaseSurface(&target);
}

TEST_F(CharaDraw, AZoomGrowsAroundTheCentreAndAGiantsGrowthIsHalvedOnceMore)
{
    struct Case {
        int scale, value;
        PIXELBOX box;
    } cases[] = {
        {1, 32, {100, 60, 32, 32}},
        {1, 35, {99, 59, 35, 35}},
        {1, 20, {106, 66, 20, 20}},   // a value below 32 shrinks it
        {2, 64, {84, 44, 96, 96}},
        {2, 32, {100, 60, 64, 64}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "scale " << c.scale << ", value " << c.value);
        cStageChara& chara = MakeChara(100, 60, c.scale);
        StartEffect(chara, 11, {10, c.value, 320});
        EXPECT_EQ(BoxOf(DrawOn(chara, kDrawBackdrop), kDrawBody), c.box);
    }
}

TEST_F(CharaDraw, TheHpGaugeShowsTheLossBesideTheBarForASecondAndGoesAfterTwo)
{
    MakeGaugeSheet();
    cStageChara& chara = MakeChara(0, 0);
    chara.m_ScreenRect.left = 100;
    chara.m_ScreenRect.top = 60;
    chara.m_Def.m_nMaxHp = 100;
    chara.m_nHp = 100;
    chara.AddHp(-10, 1, 1);
    ASSERT_EQ(chara.m_nHp, 90);
    const int gx = 100 + 16 - 25;
    const int gy = 60 - 3;
    for (int draw = 1; draw <= 121; ++draw) {
        SCOPED_TRACE(testing::Message() << "draw " << draw);
        if (draw >= 62) {
            EXPECT_EQ(chara.m_Gauges.m_HpGauge.dChange, 0.0) << "exactly 0 once the second is over";
        }
        ClearScreen(kDrawBackdrop);
        chara.DrawHpGauge(&g_BackBuffer);
        const cImage screen = Screen();
        int fill = 0, loss = 0, frame = 0, other = 0;
        for (int x = gx - 5; x < gx + 60; ++x) {
            const std::uint32_t p = screen.At(x, gy);
            fill += p == kFill;
            loss += p == kLoss;
            frame += p == kFrame;
            other += p != kFill && p != kLoss && p != kFrame && p != kDrawBackdrop;
            EXPECT_EQ(screen.At(x, gy + 1), p) << "two rows high";
        }
        if (draw == 121) {
            EXPECT_EQ(fill + loss + frame, 0) << "the gauge has gone";
            continue;
        }
        const int expectedLoss = draw == 1 ? 5 : draw <= 13 ? 4 : draw <= 25 ? 3 : draw <= 37 ? 2 : draw <= 49 ? 1 : 0;
        EXPECT_EQ(fill, 45);
        EXPECT_EQ(screen.At(gx, gy), kFill);
        EXPECT_EQ(loss, expectedLoss);
        if (loss > 0) {
            EXPECT_EQ(screen.At(gx + 45, gy), kLoss);
        }
        EXPECT_EQ(frame, 5 - loss);
        EXPECT_EQ(other, 0);
    }
}

TEST_F(CharaDraw, TheImageRowAddsTheOffsetsOfTheRowFlagsThatAreSet)
{
    cAnimeSetData& set = g_Database.m_AnimeSets.At(0);
    set.m_nRowOffsetA = 4;
    set.m_nRowOffsetB = 8;
    set.m_nRowOffsetC = 2;
    struct Case {
        int first, second, third, row;
    } cases[] = {{0, 0, 0, 3}, {1, 0, 0, 5}, {0, 1, 0, 7}, {0, 0, 1, 11}, {1, 2, 1, 17}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << c.second << c.third);
        cStageChara& chara = MakeChara(0, 0);
        chara.m_Def.m_nImageFrame = 3;
        chara.m_Def.m_bFixedFacing = static_cast<BYTE>(c.first);
        chara.m_Def.m_nInvincible = static_cast<BYTE>(c.second);
        chara.m_Def.m_bWholeCellBoxes = static_cast<BYTE>(c.third);
        cImageSource source;
        EXPECT_EQ(chara.ImageRow(source), c.row);
    }
}

TEST_F(CharaDraw, AnEffectKindWithoutAHandlerDrawsTheCharaPlainlyAndNeverEnds)
{
    for (int kind : {17, 200, -1}) {
        SCOPED_TRACE(testing::Message() << "kind " << kind);
        cStageChara& chara = MakeChara(100, 60);
        StartEffect(chara, kind, {5, 0, 32, 4, 2});
        for (int draw = 0; draw < 100; ++draw) chara.Draw(&g_BackBuffer, 0);
        EXPECT_EQ(BoxOf(DrawOn(chara, kDrawBackdrop), kDrawBody), (PIXELBOX{100, 60, 32, 32}));
        EXPECT_TRUE(chara.m_DrawEffect.IsPlaying());
    }
}

TEST_F(CharaDraw, ASplitIntoNoPartsDrawsTheCharaPlainly)
{
    for (int kind : {2, 3}) {
        for (int parts : {0, -3}) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << ", parts " << parts);
            cStageChara& chara = MakeChara(100, 60);
            StartEffect(chara, kind, {5, 8, 32, parts});
            EXPECT_EQ(BoxOf(DrawOn(chara, kDrawBackdrop), kDrawBody), (PIXELBOX{100, 60, 32, 32}));
        }
    }
}

TEST_F(CharaDraw, AColourChangeTakesOnlyTheFlashColoursOfTheTable)
{
    const std::vector<FLASHCOLOR> saved(std::begin(g_FlashColors), std::end(g_FlashColors));
    for (int i = 0; i < 10; ++i) g_FlashColors[i] = FLASHCOLOR{0xFF000000u | static_cast<DWORD>(i * 20), i % 2 ? 7 : 10};
    g_SystemData.m_bColorAnim = 1;
    struct Case {
        int second, index, colourAnimation;
        int changed;
    } cases[] = {
        {1, 3, 1, 1},  {1, 9, 1, 1}, {2, 1, 1, 1},
        {0, 3, 1, 0},                    // the second row flag is off
        {1, 3, 0, 0},                    // the colour animation is off
        {1, 0, 1, 0},                    // no colour
        {1, 10, 1, 0}, {1, 12, 1, 0}, {1, -1, 1, 0}, {1, 127, 1, 0},   // outside the table: no colour
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "flag " << c.second << ", index " << c.index << ", animation " << c.colourAnimation);
        g_SystemData.m_bColorAnim = c.colourAnimation;
        cStageChara& chara = MakeChara(0, 0);
        chara.m_Def.m_nInvincible = static_cast<BYTE>(c.second);
        chara.m_Def.m_nFlashColor = static_cast<std::int8_t>(c.index);
        cImageSource source;
        source.m_bColorChange = 1;
        chara.ImageRow(source);
        EXPECT_EQ(source.m_bColorChange, c.changed);
        if (c.changed) {
            EXPECT_EQ(static_cast<DWORD>(source.m_ColorState[0]), g_FlashColors[c.index].dwColor);
            EXPECT_EQ(source.m_ColorState[1], g_FlashColors[c.index].nColorOp);
        }
    }
    std::copy(saved.begin(), saved.end(), g_FlashColors);
}

TEST_F(CharaDraw, A8BitBlurTintsTheScaledFrameItHasJustDrawn)
{
    // No blur at 8 bits: the frame is tinted one step toward colour 31 through the blend
    // table, which maps the body's 40 to 41 and what the work surface held before, 50, to 51.
    SetUpMode(qbtest::kEffectModes[5]);
    ASSERT_EQ(g_nBpp, 8);
    SetPicture([](int, int) { return 40u; });
    const std::vector<BYTE> saved(std::begin(g_BlendTable), std::end(g_BlendTable));
    g_BlendTable[40 * 256 + 31] = 41;
    g_BlendTable[50 * 256 + 31] = 51;
    for (int scale : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "scale " << scale);
        DDFillRectPal(&g_StdSurface[kWorkPicture + 1], 0, 0, 640, 480, 50);
        cStageChara& chara = MakeChara(100, 60, scale);
        StartEffect(chara, 16, {10, 1, 4});
        const cImage screen = DrawOn(chara, 3);
        EXPECT_EQ(BoxOf(screen, 41), (PIXELBOX{100, 60, 32 * scale, 32 * scale}));
        EXPECT_EQ(BoxOf(screen, 51), PIXELBOX{});
    }
    std::copy(saved.begin(), saved.end(), g_BlendTable);
}

TEST_F(CharaDraw, TheGaugesBarsStayInsideTheGauge)
{
    MakeGaugeSheet();
    struct Case {
        const char* what;
        int length;
        double change;
        int fill, loss, gain;
    } cases[] = {
        {"a bar longer than the gauge", 80, 0.0, 50, 0, 0},
        {"a bar below 0 and a loss beyond the gauge", -10, -80.5, 0, 50, 0},
        {"a gain beyond the gauge over a full bar", 50, 70.0, 0, 0, 50},
        {"a loss beyond the int range converts as the game converts: to no width", 10, -1e12, 10, 0, 0},
        {"a change that is not a number", 20, std::nan(""), 20, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cStageChara& chara = MakeChara(0, 0);
        chara.m_ScreenRect.left = 100;
        chara.m_ScreenRect.top = 60;
        chara.m_Def.m_nMaxHp = 100;
        chara.m_nHp = 100;
        chara.m_Gauges.m_HpGauge = GAUGE{120, c.change, 0.0, c.length};
        ClearScreen(kDrawBackdrop);
        chara.DrawHpGauge(&g_BackBuffer);
        const cImage screen = Screen();
        const int gx = 100 + 16 - 25;
        int fill = 0, loss = 0, gain = 0;
        for (int x = 0; x < 640; ++x) {
            const std::uint32_t p = screen.At(x, 57);
            if (p != kDrawBackdrop) {
                EXPECT_TRUE(x >= gx && x < gx + 50) << "x " << x;
            }
            fill += p == kFill;
            loss += p == kLoss;
            gain += p == kGain;
        }
        EXPECT_EQ(fill, c.fill);
        EXPECT_EQ(loss, c.loss);
        EXPECT_EQ(gain, c.gain);
    }
}

TEST_F(CharaDraw, TheCarriedItemsIconShowsForAThirdOfEveryNinetySixFramesAtSixteenPixels)
{
    constexpr std::uint32_t kSmallItem = 0xFF8080F0;
    // The small item sheet: picture 1 is the 16 x 16 cell at (0, 16).
    MakeSurface(42, 64, 64, [](int x, int y) { return (x < 16 && y >= 16 && y < 32) ? kSmallItem : 0u; });
    struct Case {
        int kind;
        std::uint32_t colour;
    } cases[] = {{1, kDrawBody}, {2, kSmallItem}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "image kind " << c.kind);
        cStageChara& chara = MakeChara(0, 0);
        chara.m_ScreenRect.left = 100;
        chara.m_ScreenRect.top = 60;
        chara.m_HeldItem.m_bActive = 1;
        chara.m_HeldItem.m_nImage = 1;
        chara.m_HeldItem.m_Def.m_nImageKind = static_cast<BYTE>(c.kind);
        chara.m_HeldItem.m_nDrawWidth = chara.m_HeldItem.m_nDrawHeight = 32;
        std::vector<int> shown;
        for (int frame = 1; frame <= 200; ++frame) {
            ClearScreen(kDrawBackdrop);
            chara.DrawMarkIcon(&g_BackBuffer);
            const PIXELBOX box = BoxOf(Screen(), c.colour);
            if (box.w == 0) continue;
            EXPECT_EQ(box, (PIXELBOX{100 + 16 - 8, 60 - 16, 16, 16})) << "frame " << frame;
            shown.push_back(frame);
        }
        ASSERT_EQ(shown.size(), 66u);
        EXPECT_EQ(shown.front(), 64);
        EXPECT_EQ(shown[32], 96);
        EXPECT_EQ(shown[33], 64 + 96);
    }
}

TEST_F(CharaDraw, AnInvisibleCharaDrawsNothingButItsEffectStillRunsOut)
{
    cStageChara& chara = MakeChara(100, 60);
    chara.m_Def.m_bTransparent = 1;
    StartEffect(chara, 1, {5, 0, 32});
    int ended = 0;
    for (int draw = 1; draw <= 40 && ended == 0; ++draw) {
        EXPECT_EQ(BoxOf(DrawOn(chara, kDrawBackdrop), kDrawBody), PIXELBOX{});
        if (!chara.m_DrawEffect.IsPlaying()) ended = draw;
    }
    EXPECT_EQ(ended, 31);
}

TEST_F(CharaDraw, TheMarkIsDrawnOverTheEffectAtItsOwnSize)
{
    constexpr std::uint32_t kMark = 0xFFE0E000;
    // Mark 16 is the cell at (32, 32) of the mark sheet.
    MakeSurface(kMarkSheet, 128, 480, [](int x, int y) { return (x >= 32 && x < 64 && y >= 32 && y < 64) ? kMark : 0u; });
    cStageChara& chara = MakeChara(100, 60);
    chara.m_Def.m_bMark = 1;
    chara.m_Def.m_nMark = 16;
    StartEffect(chara, 11, {10, 64, 64});
    const cImage screen = DrawOn(chara, kDrawBackdrop);
    EXPECT_EQ(BoxOf(screen, kMark), (PIXELBOX{100, 60, 32, 32}));
    EXPECT_EQ(BoxOf(screen, kDrawBody), (PIXELBOX{84, 44, 64, 64})) << "the zoomed chara around it";
}

}  // namespace
