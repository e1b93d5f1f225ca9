// The status bar, the remaining time and the bottom line over the stage, against literal
// positions: pictures filled with palette colours so that each part shows where it lands, and
// glyphs that draw their own code so that texts can be read back.
#include "tests/graphics/font_test_support.h"

#include <memory>
#include <string>

#include "data/save_data.h"
#include "data/stage_data.h"
#include "data/system_data.h"
#include "graphics/fill.h"
#include "graphics/font.h"
#include "graphics/standard_surfaces.h"
#include "objects/hero.h"
#include "play/gauge_warning.h"
#include "play/play_scene.h"
#include "shell/shared_flags.h"
#include "shell/timing.h"
#include "tests/graphics/blit_reference.h"
#include "tests/stage/stage_fixture.h"
#include "tests/support/restore.h"

namespace {

using qbtest::cImage;

constexpr int kBar = 10;
constexpr int kIcon = 20;       // + item
constexpr int kFrame = 30;      // + 0 HP, + 1 SP
constexpr int kFill = 32;
constexpr int kLowFill = 34;
constexpr int kDigit = 50;      // + digit
constexpr int kScreen = 77;

class StatusBar : public qbtest::cFontTest {
protected:
    void SetUp() override
    {
        qbtest::cFontTest::SetUp();
        ASSERT_TRUE(Init({TRUE, 32, 1}));
        DDSetTransmit(255, 0, 255);
        ASSERT_TRUE(DDCreateSurface(&m_Window, 640, 480, FALSE, 0, 0, nullptr, FALSE));
        ASSERT_TRUE(DDCreateSurface(&m_Probe, 1, 1, FALSE, 0, 0, nullptr, FALSE));
        ASSERT_TRUE(DDCreateSurface(&g_StdSurface[kStatusPicture], 640, 20, FALSE, 0, 0, nullptr, FALSE));
        DDFillSurfacePal(&g_StdSurface[kStatusPicture], kBar);
        DDSURFACEDATA* accessory = &g_StdSurface[kAccessoryPicture];
        ASSERT_TRUE(DDCreateSurface(accessory, 128, 176, TRUE, 0, 0, nullptr, FALSE));
        DDFillSurfacePal(accessory, 0);
        for (int i = 0; i < 5; ++i) DDFillRectPal(accessory, 16 * i, 32, 16, 16, kIcon + i);
        for (int sp = 0; sp < 2; ++sp) {
            DDFillRectPal(accessory, 64 * sp, 128, 50, 16, kFrame + sp);
            DDFillRectPal(accessory, 64 * sp, 144, 50, 16, kFill + sp);
            DDFillRectPal(accessory, 64 * sp, 160, 50, 16, kLowFill + sp);
        }
        ASSERT_TRUE(DDCreateSurface(&g_StdSurface[kWordPicture], 320, 192, TRUE, 0, 0, nullptr, FALSE));
        DDFillSurfacePal(&g_StdSurface[kWordPicture], 0);
        for (int d = 0; d < 10; ++d) DDFillRectPal(&g_StdSurface[kWordPicture], 32 * d, 160, 32, 32, kDigit + d);
        DDFillSurfacePal(&m_Window, 5);
        for (int f = 0; f < 2; ++f)
            ASSERT_TRUE(g_Font[f].Create("ＭＳ ゴシック", 0, 16, 16, 16, kInk, &m_Window, 2, 240, nullptr, TRUE));

        for (int i = 0; i < 5; ++i) {
            cStatusItemData& item = g_SystemData.m_StatusItems.At(i);
            item.m_bShow = 1;
            item.m_bIcon = 1;
            item.m_nDigits = i == 4 ? 2 : 6;
            item.m_bGaugeNumber = 0;
            item.m_nLowLevel = 30;
            item.m_bLowPercent = 1;
        }
        Player.resize(1);
        cHero& hero = Player.At(0);
        hero.m_Def.m_nMaxHp = 100;
        hero.m_Def.m_nMaxSp = 100;
        hero.m_nHp = 40;
        hero.m_nSp = 40;
        g_SaveData.m_nLives = 3;
        Clear();
        // Where the font puts the glyphs of "AA" drawn at x 100.
        g_Font[1].DrawText(&g_BackBuffer, 100, 100, "AA", FALSE);
        const cImage probe = Screen();
        const std::uint32_t ink = Colour(kInk);
        while (m_nGlyphLeft < 16 && probe.At(100 + m_nGlyphLeft, 100) != ink) ++m_nGlyphLeft;
        m_nGlyphPitch = 8;
        while (m_nGlyphPitch < 32 && probe.At(100 + m_nGlyphLeft + m_nGlyphPitch, 100) != ink) ++m_nGlyphPitch;
        Clear();
    }
    void TearDown() override
    {
        for (int f = 0; f < 2; ++f) g_Font[f].Release();
        for (DDSURFACEDATA* sd : {&m_Window, &m_Probe, &g_StdSurface[kStatusPicture], &g_StdSurface[kAccessoryPicture],
                                  &g_StdSurface[kWordPicture]})
            DDReleaseSurface(sd);
        Player.clear();
        qbtest::cFontTest::TearDown();
    }
    void Clear() { DDFillSurfacePal(&g_BackBuffer, kScreen); }
    // The back buffer's pixel of palette colour n.
    std::uint32_t Colour(int n)
    {
        DDFillSurfacePal(&m_Probe, static_cast<DWORD>(n));
        return qbtest::ReadImage(&m_Probe).At(0, 0) & 0xFFFFFFu;
    }
    // The back buffer's colours (its alpha byte is not shown).
    cImage Screen()
    {
        cImage image = qbtest::ReadImage(&g_BackBuffer);
        for (auto& p : image.px) p &= 0xFFFFFFu;
        return image;
    }
    // The text drawn at (x, y): its glyphs' bars run from the column where the font puts the
    // first glyph of a text drawn at x, on the first row from y down (16 rows) where such a run
    // starts; each glyph draws an 8-pixel bar with its code under it.
    std::string TextAt(const cImage& image, int x, int y)
    {
        const std::uint32_t ink = Colour(kInk);
        x += m_nGlyphLeft;
        auto bar = [&](int px, int py) {
            for (int i = 0; i < 8; ++i)
                if (px + i >= image.w || image.At(px + i, py) != ink) return false;
            return true;
        };
        for (int py = y; py < y + 16 && py + 2 < image.h; ++py) {
            if ((x > 0 && image.At(x - 1, py) == ink) || !bar(x, py)) continue;
            std::string text;
            for (int px = x; bar(px, py); px += m_nGlyphPitch) {
                unsigned code = 0;
                for (int i = 0; i < 8; ++i) code = code << 1 | (image.At(px + i, py + 1) == ink ? 1u : 0u);
                for (int i = 0; i < 8; ++i) code = code << 1 | (image.At(px + i, py + 2) == ink ? 1u : 0u);
                text += static_cast<char>(code);
            }
            return text;
        }
        return {};
    }

    qbtest::cStageFixture m_Fixture;
    DDSURFACEDATA m_Window{}, m_Probe{};
    int m_nGlyphLeft = 0;   // the font's first ink column right of a text's x
    int m_nGlyphPitch = 8;  // and from one half-width glyph to the next
};

TEST_F(StatusBar, ItemsAreSpacedEvenlyWithIconsOrLabelsAndOnlyWhenSwitchedOn)
{
    struct Case {
        const char* what;
        int shown[5];
        int icons;
        int statusBar;
        int x[5];  // the left edge of each item, -1 when not drawn
    } cases[] = {
        // Widths 16 + 96, 112, 16 + 50, 66, 16 + 32: spacing (638 − 404) / 6 = 39.
        {"all five with icons", {1, 1, 1, 1, 1}, 1, 1, {39, 190, 341, 446, 551}},
        // Labels of two characters: 32 + 50 for HP; (638 − 82) / 2 = 278.
        {"HP alone with its label", {0, 0, 1, 0, 0}, 0, 1, {-1, -1, 278, -1, -1}},
        {"score and lives", {0, 1, 0, 0, 1}, 1, 1, {-1, 159, -1, -1, 430}},
        {"no item", {0, 0, 0, 0, 0}, 1, 1, {-1, -1, -1, -1, -1}},
        {"the stage's switch off", {1, 1, 1, 1, 1}, 1, 0, {-1, -1, -1, -1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int i = 0; i < 5; ++i) {
            cStatusItemData& item = g_SystemData.m_StatusItems.At(i);
            item.m_bShow = c.shown[i];
            item.m_bIcon = c.icons;
            item.m_strLabel = "AB";
        }
        cPlayScene& scene = m_Fixture.NewScene();
        scene.m_bStatusBar = c.statusBar;
        Clear();
        scene.DrawStatusBar(&g_BackBuffer);
        const cImage image = Screen();
        const bool drawn = c.x[0] >= 0 || c.x[1] >= 0 || c.x[2] >= 0;
        EXPECT_EQ(image.At(639, 19), Colour(drawn || c.x[4] >= 0 ? kBar : kScreen));
        EXPECT_EQ(image.At(0, 20), Colour(kScreen)) << "the bar is 20 pixels high";
        for (int i = 0; i < 5; ++i) {
            if (c.x[i] < 0) continue;
            SCOPED_TRACE(i);
            const int e = c.icons ? 16 : 32;
            if (c.icons) {
                EXPECT_EQ(image.At(c.x[i], 3), Colour(kIcon + i));
                EXPECT_EQ(image.At(c.x[i] + 15, 18), Colour(kIcon + i));
                EXPECT_EQ(image.At(c.x[i] - 1, 3), Colour(kBar));
            } else {
                EXPECT_EQ(TextAt(image, c.x[i], 3), "AB");
            }
            if (i == 2 || i == 3) {
                EXPECT_EQ(image.At(c.x[i] + e + 49, 3), Colour(kFrame + i - 2)) << "the gauge frame";
            }
        }
    }
}

TEST_F(StatusBar, GaugesFillByValueWithinTheirFrameAndShowTheLowColour)
{
    for (int i : {0, 1, 4}) g_SystemData.m_StatusItems.At(i).m_bShow = 0;
    g_SystemData.m_StatusItems.At(3).m_bShow = 0;
    // HP alone with its icon: 16 + 50 wide, at (638 − 66) / 2 = 286; the gauge from 302.
    constexpr int kGauge = 302;
    struct Case { int hp, maxHp; int fill; int colour; } cases[] = {
        {40, 100, 20, kFill},
        {31, 100, 15, kFill},
        {30, 100, 15, kLowFill},    // 30 % is at the warning level
        {100, 100, 50, kFill},
        {150, 100, 50, kFill},      // beyond the maximum: the frame's width
        {-20, 100, 0, kFill},
        {5, 0, 0, kFill},           // no maximum: empty
        {2000000000, 1000000000, 50, kFill},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.hp << " of " << c.maxHp);
        cHero& hero = Player.At(0);
        hero.m_nHp = c.hp;
        hero.m_Def.m_nMaxHp = c.maxHp;
        cPlayScene& scene = m_Fixture.NewScene();
        Clear();
        scene.DrawStatusBar(&g_BackBuffer);
        const cImage image = Screen();
        EXPECT_EQ(image.At(286, 3), Colour(kIcon + 2));
        if (c.fill > 0) {
            EXPECT_EQ(image.At(kGauge + c.fill - 1, 10), Colour(c.colour));
        }
        if (c.fill < 50) {
            EXPECT_EQ(image.At(kGauge + c.fill, 10), Colour(kFrame));
        }
        EXPECT_EQ(image.At(kGauge + 50, 10), Colour(kBar)) << "nothing beyond the frame";
    }
}

TEST_F(StatusBar, CountsShowTheirValuesAndUnlimitedLivesADash)
{
    for (int i : {1, 2, 3}) g_SystemData.m_StatusItems.At(i).m_bShow = 0;
    cStatusItemData& lives = g_SystemData.m_StatusItems.At(4);
    g_SaveData.m_nResult1 = 75;
    // Total 16 + 96 and lives 16 + 32 wide: spacing (638 − 160) / 3 = 159; total at 159,
    // lives at 159 + 112 + 159 = 430.
    struct Case { int lives; int icon; const char* text; int textX; } cases[] = {
        {3, 1, "3", 446},
        {999999, 1, "-", 446},
        {999999, 0, "L-", 430},
        {12, 0, "L12", 430},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        g_SaveData.m_nLives = c.lives;
        lives.m_bIcon = c.icon;
        lives.m_strLabel = "L";
        cPlayScene& scene = m_Fixture.NewScene();
        Clear();
        scene.DrawStatusBar(&g_BackBuffer);
        const cImage image = Screen();
        EXPECT_EQ(TextAt(image, c.textX, 3), c.text);
        EXPECT_EQ(TextAt(image, 159 + 16, 3), "75") << "the total score beside its icon";
    }
}

TEST_F(StatusBar, TheRemainingTimeShowsThreeDigitCellsAndNothingWithoutALimit)
{
    struct Case { int noLimit; int time; int cells[3]; } cases[] = {
        {0, 120, {1, 2, 0}},
        {0, 7, {-1, 7, -1}},     // one digit centred in three cells
        {0, 45, {-2, -2, -2}},   // two digits: half a cell in
        {1, 999, {-1, -1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time);
        cPlayScene& scene = m_Fixture.NewScene();
        scene.m_TimeLimit.m_bNoTimeLimit = c.noLimit;
        scene.m_TimeLimit.m_nTimeLeft = c.time;
        Clear();
        scene.DrawTimeLeft(&g_BackBuffer, 0);
        const cImage image = Screen();
        if (c.cells[0] == -2) {
            EXPECT_EQ(image.At(272 + 15, 40), Colour(kScreen));
            EXPECT_EQ(image.At(272 + 16, 24), Colour(kDigit + 4));
            EXPECT_EQ(image.At(272 + 48, 55), Colour(kDigit + 5));
            EXPECT_EQ(image.At(272 + 80, 40), Colour(kScreen));
            continue;
        }
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(image.At(272 + 32 * k + 16, 40), Colour(c.cells[k] < 0 ? kScreen : kDigit + c.cells[k])) << k;
    }
}

TEST_F(StatusBar, TheTimeWarningSoundsOnlyWithTheTimerAtTheCountersZeroWithinTheWarningTime)
{
    qbtest::cRequestLog requests;
    g_StageData.m_nTimeWarning = 20;
    struct Case { int timer; int counted; int time; bool sound; } cases[] = {
        {1, 0, 15, true},
        {1, 0, 20, true},
        {1, 0, 1, true},
        {0, 0, 15, false},   // pause and the other states
        {1, 1, 15, false},   // between two seconds
        {1, 0, 21, false},
        {1, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "timer " << c.timer << " counted " << c.counted << " time " << c.time);
        cPlayScene& scene = m_Fixture.NewScene();
        scene.m_TimeLimit.m_bNoTimeLimit = 0;
        scene.m_TimeLimit.m_nTimeLeft = c.time;
        CountEvery(0, 0);
        for (int i = 0; i < c.counted; ++i) CountEvery(1, 60);
        qbtest::cRequestLog::s_Sounds.clear();
        scene.DrawTimeLeft(&g_BackBuffer, c.timer);
        EXPECT_EQ(qbtest::cRequestLog::s_Sounds, c.sound ? std::vector<int>{13} : std::vector<int>{});
    }
    CountEvery(0, 0);
}

TEST_F(StatusBar, TheBottomLineNamesTheSpaceKeysUseInDirectAndEditorPlay)
{
    qbtest::cRestore<std::atomic<int>> editor(g_bEditorLaunch);
    g_SystemData.m_Texts.resize(30);
    g_SystemData.m_Texts[25] = "TITLE";
    g_SystemData.m_Texts[26] = "END";
    struct Case { int direct, editor; int x; const char* text; } cases[] = {
        {1, 0, 296, "END"},    // 320 − 8 × 3
        {1, 1, 296, "END"},
        {0, 1, 280, "TITLE"},  // 320 − 8 × 5
        {0, 0, -1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.direct << c.editor);
        g_bTestPlay.store(c.direct);
        g_bEditorLaunch.store(c.editor);
        cPlayScene& scene = m_Fixture.NewScene();
        Clear();
        scene.DrawBottomLine();
        const cImage image = Screen();
        if (c.x < 0) {
            for (int x = 0; x < 640; ++x) EXPECT_EQ(TextAt(image, x, 456), "") << x;
            continue;
        }
        EXPECT_EQ(TextAt(image, c.x, 456), c.text);
    }
}

TEST(GaugeWarning, AGaugeIsLowAtOrBelowItsItemsLevelInPercentOrInPoints)
{
    qbtest::cRestore<cSystemData> system(g_SystemData);
    cStatusItemData& hp = g_SystemData.m_StatusItems.At(2);
    struct Case { int level, percent, value, max; int low; } cases[] = {
        {30, 1, 30, 100, 1}, {30, 1, 31, 100, 0}, {30, 1, 15, 50, 1}, {30, 1, 16, 50, 0},
        {5, 0, 5, 100, 1},   {5, 0, 6, 100, 0},   {5, 0, -3, 0, 1},   {30, 1, 5, 0, 0},
    };
    for (const Case& c : cases) {
        hp.m_nLowLevel = c.level;
        hp.m_bLowPercent = c.percent;
        EXPECT_EQ(IsGaugeLow(2, c.value, c.max), c.low) << c.level << " " << c.percent << " " << c.value << "/" << c.max;
    }
    EXPECT_EQ(IsGaugeLow(7, 0, 100), 0) << "an item the settings do not have";
}

}  // namespace
