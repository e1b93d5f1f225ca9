// Text calls around the layout: the CP932 helpers, formatting without a size limit, text
// windows, digit surfaces, fonts whose sheets cannot be made, DirectDraw surface loss and the
// 8-bit text colour.
#include <memory>
#include <string>
#include "graphics/fill.h"
#include "graphics/font.h"
#include "graphics/font_digit_surfaces.h"
#include "graphics/restore.h"
#include "tests/graphics/font_test_support.h"

namespace {

using qbtest::cDisplayMode;
using qbtest::cImage;
using qbtest::CodeAt;

TEST(FontTextHelpers, CountCharactersAndLinesWithoutSteppingPastTheEnd)
{
    struct Case { const char* text; int chars; int line; BOOL pair; } cases[] = {
        {"あa\nb", 3, 3, TRUE},
        {"", 0, 0, FALSE},
        {"\x82", 1, 1, FALSE},         // a lead byte before the NUL is a byte of its own
        {"a\x82\n", 2, 2, FALSE},      // ... and so before a line break
        {"\x82\xA0" "b", 2, 3, TRUE},  // 82 A0 is a pair
        {"\n\n", 0, 0, FALSE},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CountMbChars(c.text), c.chars) << c.text;
        EXPECT_EQ(LineLength(c.text), c.line) << c.text;
        EXPECT_EQ(IsDbcsPair(c.text), c.pair) << c.text;
    }
    EXPECT_FALSE(IsDbcsPair(nullptr));
    EXPECT_EQ(CountMbChars(nullptr), 0);
}

class FontText : public qbtest::cFontTest {
protected:
    bool Start(const cDisplayMode& mode, BOOL cache = TRUE, int pitchX = 16, int pitchY = 20)
    {
        g_dwColorKey = 0;
        if (!Init(mode)) return false;
        DDSetTransmit(255, 0, 255);
        ClearSurfaceData(&m_Dst);
        ClearSurfaceData(&m_Window);
        if (!DDCreateSurface(&m_Dst, 640, 120, FALSE, 0, 0, nullptr, FALSE)) return false;
        if (!DDCreateSurface(&m_Window, 640, 100, FALSE, 0, 0, nullptr, FALSE)) return false;
        DDFillSurfacePal(&m_Dst, kBackground);
        DDFillSurfacePal(&m_Window, 77);
        m_Background = qbtest::ReadImage(&m_Dst).At(0, 0);
        return m_Font.Create("ＭＳ ゴシック", 0, 16, pitchX, pitchY, kInk, &m_Window, 2, 240, nullptr, cache);
    }
    void TearDown() override
    {
        m_Font.Release();
        DDReleaseSurface(&m_Dst);
        DDReleaseSurface(&m_Window);
        FontText::cFontTest::TearDown();
    }
    std::optional<unsigned> Code(int x, int y) { return CodeAt(qbtest::ReadImage(&m_Dst), x, y, m_Background); }

    DDSURFACEDATA m_Dst{}, m_Window{};
    std::uint32_t m_Background = 0;
    cFont m_Font;
};

TEST_F(FontText, PrintfFormatsTextsOfAnyLength)
{
    ASSERT_TRUE(Start({TRUE, 32, 1}));
    const std::string filler(600, 'a');
    m_Font.Printf(&m_Dst, 0, 0, "%s%s", filler.c_str(), "Ｚ");
    // The 601st character lies at 600 × 16 = 9600, far outside: measure instead of looking.
    SIZE size{};
    m_Font.GetTextBlockSize(&size, (filler + "Ｚ").c_str());
    EXPECT_EQ(size.cx, 601 * 16);
    EXPECT_EQ(Code(2, 0), unsigned('a'));
    m_Font.Printf(&m_Dst, 0, 40, "FPS%2d(%2d)", 60, 5);
    EXPECT_EQ(Code(2, 40), unsigned('F'));
    EXPECT_EQ(Code(16 * 5 + 2, 40), unsigned('('));
    EXPECT_EQ(Code(16 * 6 + 2, 40), std::nullopt);  // " 5": a space only advances
    EXPECT_EQ(Code(16 * 7 + 2, 40), unsigned('5'));
}

TEST_F(FontText, TextWindowsSizeThemselvesFromTheTextAndTheMarginAndCentreAt10000)
{
    for (const cDisplayMode& mode : {cDisplayMode{TRUE, 32, 1}, cDisplayMode{FALSE, 32, 1}}) {
        ASSERT_TRUE(Start(mode));
        const std::uint32_t window = qbtest::ReadImage(&m_Window).At(0, 0);
        m_Font.DrawTextWindow(&m_Dst, 10000, 30, 200, 40, "Ａ", 8);
        cImage image = qbtest::ReadImage(&m_Dst);
        EXPECT_EQ(image.At(220, 30), window);  // 640 / 2 - 200 / 2
        EXPECT_EQ(image.At(219, 30), image.At(218, 30)) << "frame";
        EXPECT_EQ(CodeAt(image, 228, 30, window), 0x8260u);

        DDFillSurfacePal(&m_Dst, kBackground);
        m_Font.DrawTextWindowEx(&m_Dst, 100, 10, 0, 0, "ab\nＡＢＣ", 5, 0);
        image = qbtest::ReadImage(&m_Dst);
        // 5 + 3 cells wide, 2 lines high, with a frame of 2 around it.
        EXPECT_EQ(image.At(100 + 5 + 48 - 1, 10 + 40 - 1), window);
        EXPECT_NE(image.At(100 + 5 + 48 + 2, 10 + 40 + 2), window);
        EXPECT_EQ(image.At(100 + 5 + 48 + 1, 10 + 40 + 1), image.At(98, 8)) << "frame";
        EXPECT_EQ(CodeAt(image, 105, 30, window), 0x8260u);

        DDFillSurfacePal(&m_Dst, kBackground);
        m_Font.PrintfWindow(&m_Dst, 10000, 10000, 0, 0, "%d", 42);  // no margin: at the window's own x
        EXPECT_EQ(CodeAt(qbtest::ReadImage(&m_Dst), 320 - 16 + 2, 50 - 10, window), unsigned('4'));
        m_Font.Release();
        DDReleaseSurface(&m_Dst);
        DDReleaseSurface(&m_Window);
        DDUninit();
    }
}

TEST_F(FontText, AReleasedFontDrawsNoWindowFromAPictureThatIsGone)
{
    // The window picture's record itself goes away (the sanitizer build sees any read of it).
    ASSERT_TRUE(Start({TRUE, 32, 1}));
    m_Font.Release();
    auto window = std::make_unique<DDSURFACEDATA>();
    ClearSurfaceData(window.get());
    ASSERT_TRUE(DDCreateSurface(window.get(), 64, 64, FALSE, 0, 0, nullptr, FALSE));
    ASSERT_TRUE(m_Font.Create("ＭＳ ゴシック", 0, 16, 16, 20, kInk, window.get(), 2, 240, nullptr, TRUE));
    m_Font.Release();
    DDReleaseSurface(window.get());
    window.reset();
    const cImage before = qbtest::ReadImage(&m_Dst);
    m_Font.PrintfWindow(&m_Dst, 10, 10, 100, 40, "%s", "");
    const cImage after = qbtest::ReadImage(&m_Dst);
    EXPECT_EQ(after.At(10, 10), before.At(10, 10)) << "no window drawn";
    EXPECT_EQ(after.At(60, 30), before.At(60, 30)) << "no window drawn";
}

TEST_F(FontText, DigitSurfacesHoldTheTenDigitsOnePitchApartAndComeBackAfterALoss)
{
    ASSERT_TRUE(Start({FALSE, 32, 1}));
    FONTINFO info{};
    info.nPitchX = 16;
    info.nPitchY = 20;
    DDSURFACEDATA digits;
    ClearSurfaceData(&digits);
    ASSERT_TRUE(CreateNumberSurfaces(&digits, g_FontDigitSurfaceInfo, 1, &m_Font, &info));
    EXPECT_EQ(digits.nWidth, 160);
    EXPECT_EQ(digits.nHeight, 20);
    auto check = [&] {
        const cImage image = qbtest::ReadImage(&digits);
        const std::uint32_t clear = image.At(0, 1);
        for (int d = 0; d < 10; ++d) EXPECT_EQ(CodeAt(image, d * 16 + 2, 0, clear), unsigned('0' + d)) << d;
    };
    check();
    plat::SimulateDDrawSurfaceLoss();
    ASSERT_TRUE(DDRestore());  // the font's own surfaces come back first
    ASSERT_TRUE(digits.lpDDraw->lpDDS->Restore() == DD_OK);
    DrawDigitsToSurface(&digits, &m_Font);
    check();
    DDReleaseSurface(&digits);
}

TEST_F(FontText, LostDirectDrawSheetsAreDrawnAgain)
{
    ASSERT_TRUE(Start({FALSE, 32, 1}));
    ASSERT_NE(m_Font.m_lpFastFont_FullAdd, nullptr);
    m_Font.DrawText(&m_Dst, 0, 0, "漢", FALSE);
    const cImage before = qbtest::ReadImage(&m_Font.m_lpFastFont_FullAdd->m_SD);
    plat::SimulateDDrawSurfaceLoss();
    ASSERT_TRUE(DDRestore());
    EXPECT_EQ(qbtest::ReadImage(&m_Font.m_lpFastFont_FullAdd->m_SD), before);
    ASSERT_EQ(m_Dst.lpDDraw->lpDDS->Restore(), DD_OK);
    DDFillSurfacePal(&m_Dst, kBackground);
    m_Background = qbtest::ReadImage(&m_Dst).At(0, 0);
    m_Font.DrawText(&m_Dst, 0, 0, "漢a", FALSE);
    EXPECT_EQ(Code(0, 0), 0x8ABFu);
    EXPECT_EQ(Code(18, 0), unsigned('a'));
}

TEST_F(FontText, ASheetThatCannotBeMadeFailsTheFontAndLeavesItsCacheOff)
{
    struct Case { const char* call; int skip; const char* log; } cases[] = {
        {"IDirect3DDevice9::CreateTexture", 1, "m_lpFastFont_Half Err"},     // after the work surface
        {"IDirect3DDevice9::CreateTexture", 2, "m_lpFastFont_FullAdd Err"},
        {"IDirect3DDevice9::CreateTexture", 0, "DDCreateSurface Font::Work"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Start({TRUE, 32, 1}, FALSE));
        m_Font.Release();
        plat::FailDeviceCall(c.call, 1, c.skip);
        EXPECT_FALSE(m_Font.Create("x", 0, 16, 16, 20, kInk, nullptr, 1, 240, nullptr, TRUE)) << c.log;
        plat::ClearDeviceFaults();
        EXPECT_NE(EcLogText().find(c.log), std::string::npos) << c.log;
        EXPECT_EQ(m_Font.m_lpFastFont_Half, nullptr);
        EXPECT_EQ(m_Font.m_lpFastFont_FullAdd, nullptr);
        // The font still draws, glyph by glyph, once it has a work surface.
        if (m_Font.m_WorkSD.lpDT) {
            m_Font.DrawText(&m_Dst, 0, 0, "Ａa", FALSE);
            EXPECT_EQ(Code(0, 0), 0x8260u) << c.log;
            EXPECT_EQ(Code(18, 0), unsigned('a')) << c.log;
        }
        m_Font.Release();
        DDReleaseSurface(&m_Dst);
        DDReleaseSurface(&m_Window);
        DDUninit();
    }
}

TEST_F(FontText, AFontWithoutPitchDrawsLinesByTheTypefaceAndHasNoSheets)
{
    for (const cDisplayMode& mode : {cDisplayMode{TRUE, 32, 1}, cDisplayMode{FALSE, 32, 1}}) {
        ASSERT_TRUE(Start(mode, TRUE, 0, 0));
        EXPECT_EQ(m_Font.m_lpFastFont_Half, nullptr);
        EXPECT_NE(EcLogText().find("※フォントクラスで文字間が未設定！"), std::string::npos);
        m_Font.m_nPitchY = 20;  // lines still need a pitch; the cells do not
        m_Font.DrawText(&m_Dst, 4, 6, "aＡ\nb", FALSE);
        EXPECT_EQ(Code(4, 6), unsigned('a'));
        EXPECT_EQ(Code(4, 26), unsigned('b'));
        m_Font.Release();
        DDReleaseSurface(&m_Dst);
        DDReleaseSurface(&m_Window);
        DDUninit();
    }
}

TEST_F(FontText, EightBitTextTakesTheLowestLoadedPaletteEntryOfItsColourWhateverTheFade)
{
    g_Palette[30] = g_Palette[kInk];  // an earlier entry of the same colour
    ASSERT_TRUE(Start({FALSE, 8, 0}, FALSE));
    for (auto& e : g_DisplayPalette) e = {0, 0, 0, 0};  // faded out
    m_Font.DrawText(&m_Dst, 0, 0, "A", FALSE);
    const cImage image = qbtest::ReadImage(&m_Dst);
    EXPECT_EQ(image.At(2, 0), 30u);
}

}  // namespace
