// Where text lands: the pitch, line breaks, letter images, the glyph sheets and their
// capacity, centring, and the glyph sheets after a device loss, on every back end.
#include <string>
#include "graphics/fill.h"
#include "graphics/font.h"
#include "graphics/restore.h"
#include "tests/graphics/font_test_support.h"

namespace {

using qbtest::cDisplayMode;
using qbtest::cImage;
using qbtest::CodeAt;

struct cMode {
    cDisplayMode display;
    int nDstMemType;  // Direct3D texture memory type of the destination (1: system, drawn through the work surface)
    BOOL bCache;
    const char* name;
};

const cMode kModes[] = {
    {{TRUE, 32, 1}, 0, TRUE, "D3D32 cached"},     {{TRUE, 32, 1}, 0, FALSE, "D3D32"},
    {{TRUE, 32, 1}, 1, TRUE, "D3D32 system cached"}, {{TRUE, 32, 1}, 1, FALSE, "D3D32 system"},
    {{TRUE, 16, 1}, 0, TRUE, "D3D16 cached"},     {{FALSE, 32, 1}, 0, TRUE, "DD32 cached"},
    {{FALSE, 32, 1}, 0, FALSE, "DD32"},           {{FALSE, 16, 0}, 0, TRUE, "DD16 cached"},
    {{FALSE, 8, 0}, 0, TRUE, "DD8 cached"},       {{FALSE, 8, 0}, 0, FALSE, "DD8"},
};

class FontLayout : public qbtest::cFontTest {
protected:
    // A destination filled with the background colour, and a 16 × 20 font in the ink colour.
    bool Start(const cMode& mode, DDSURFACEDATA* letters = nullptr)
    {
        g_dwColorKey = 0;  // each back end takes the transparent colour afresh
        if (!Init(mode.display)) return false;
        DDSetTransmit(255, 0, 255);  // palette colour 0, as the palette picture gives it
        ClearSurfaceData(&m_Dst);
        if (!DDCreateSurface(&m_Dst, 200, 120, FALSE, 0, mode.nDstMemType, nullptr, FALSE)) return false;
        DDFillSurfacePal(&m_Dst, kBackground);
        m_Background = qbtest::ReadImage(&m_Dst).At(0, 0);
        return m_Font.Create("ＭＳ ゴシック", 0, 16, 16, 20, kInk, nullptr, 1, 240, letters, mode.bCache);
    }
    void TearDown() override
    {
        m_Font.Release();
        DDReleaseSurface(&m_Dst);
        FontLayout::cFontTest::TearDown();
    }
    std::optional<unsigned> Code(int x, int y) { return CodeAt(qbtest::ReadImage(&m_Dst), x, y, m_Background); }

    DDSURFACEDATA m_Dst{};
    std::uint32_t m_Background = 0;
    cFont m_Font;
};

TEST_F(FontLayout, CharactersAdvanceOneCellAndLineBreaksOnePitchOnEveryBackEnd)
{
    for (const cMode& mode : kModes) {
        ASSERT_TRUE(Start(mode)) << mode.name;
        // A pair sits at its cell's corner, a single byte at (x + pitch x / 8, y + pitch y / 16 - 1).
        m_Font.DrawText(&m_Dst, 10, 30, "ＡＢ\nc\xB1漢", FALSE);
        EXPECT_EQ(Code(10, 30), 0x8260u) << mode.name;       // Ａ
        EXPECT_EQ(Code(26, 30), 0x8261u) << mode.name;       // Ｂ
        EXPECT_EQ(Code(12, 50), unsigned('c')) << mode.name;
        EXPECT_EQ(Code(28, 50), 0xB1u) << mode.name;         // half-width katakana ｱ
        EXPECT_EQ(Code(42, 50), 0x8ABFu) << mode.name;       // 漢, added to the sheet on first use
        m_Font.Release();
        DDReleaseSurface(&m_Dst);
        DDUninit();
    }
}

TEST_F(FontLayout, TheLetterSheetGivesTheLowercaseLettersUnlessPlainLowercaseIsAsked)
{
    for (const cMode& mode : kModes) {
        DDSURFACEDATA letters;
        ClearSurfaceData(&letters);
        ASSERT_TRUE(Start(mode, &letters)) << mode.name;
        ASSERT_TRUE(DDCreateSurface(&letters, 26 * 16, 20, FALSE, 0, 0, nullptr, FALSE));
        for (int k = 0; k < 26; ++k) DDFillRectPal(&letters, k * 16, 0, 16, 20, 100 + k);
        const std::uint32_t cellC = qbtest::ReadImage(&letters).At(2 * 16 + 3, 3);

        m_Font.DrawText(&m_Dst, 10, 30, "ＡＢ\nc", FALSE);
        cImage image = qbtest::ReadImage(&m_Dst);
        EXPECT_EQ(Code(10, 30), 0x8260u) << mode.name;
        EXPECT_EQ(Code(26, 30), 0x8261u) << mode.name;
        for (int py = 50; py < 70; ++py)
            for (int px = 10; px < 26; ++px) ASSERT_EQ(image.At(px, py), cellC) << mode.name << " " << px << "," << py;

        DDFillSurfacePal(&m_Dst, kBackground);
        m_Font.m_bLetterImages = FALSE;
        m_Font.DrawText(&m_Dst, 10, 30, "c", FALSE);
        EXPECT_EQ(Code(12, 30), unsigned('c')) << mode.name;
        DDReleaseSurface(&letters);
        m_Font.Release();
        DDReleaseSurface(&m_Dst);
        DDUninit();
    }
}

TEST_F(FontLayout, TheFullWidthSpaceAdvancesOneCellAndIsNeverCached)
{
    ASSERT_TRUE(Start(kModes[0]));
    const int cached = m_Font.m_lpFastFont_FullAdd->m_nCount;
    EXPECT_EQ(cached, 256);  // the default set
    m_Font.DrawText(&m_Dst, 0, 0, "Ａ　Ｂ", FALSE);
    EXPECT_EQ(Code(0, 0), 0x8260u);
    EXPECT_EQ(Code(32, 0), 0x8261u);
    EXPECT_EQ(m_Font.m_lpFastFont_FullAdd->m_nCount, cached);
    EXPECT_EQ(m_Font.m_lpFastFont_FullAdd->Find("　"), nullptr);
}

TEST_F(FontLayout, SheetCapacityFollowsTheBackEndAndAFullSheetRasterisesEachTime)
{
    struct Case { cDisplayMode display; int columns, rows; } cases[] = {
        {{TRUE, 32, 1}, 32, 32},   // min(1024 / 16, 32) × min(1024 / 20, 32)
        {{FALSE, 32, 1}, 32, 24},  // min(640 / 16, 32) × min(480 / 20, 30)
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Start({c.display, 0, TRUE, ""}));
        cFastFont& sheet = *m_Font.m_lpFastFont_FullAdd;
        EXPECT_EQ(sheet.m_nColumns, c.columns);
        EXPECT_EQ(sheet.m_nRows, c.rows);
        // Fill the sheet with kanji from 0x889F on (lead 0x88..0x9F, trail 0x40..0xFC).
        unsigned code = 0x889F;
        auto next = [&code] {
            const unsigned current = code;
            code = (code & 0xFF) == 0xFC ? ((code >> 8) + 1) << 8 | 0x40 : code + ((code & 0xFF) == 0x7E ? 2 : 1);
            return std::string{static_cast<char>(current >> 8), static_cast<char>(current & 0xFF)};
        };
        while (sheet.m_nCount < sheet.m_nCapacity) m_Font.DrawText(&m_Dst, 0, 0, next().c_str(), FALSE);
        const std::string last = next();  // one character past the capacity
        for (int round = 0; round < 2; ++round) {
            DDFillSurfacePal(&m_Dst, kBackground);
            m_Font.DrawText(&m_Dst, 20, 40, last.c_str(), FALSE);
            EXPECT_EQ(Code(20, 40), static_cast<unsigned>(BYTE(last[0]) << 8 | BYTE(last[1])));
            EXPECT_EQ(sheet.Find(last.c_str()), nullptr);
            EXPECT_EQ(sheet.m_nCount, sheet.m_nCapacity);
        }
        m_Font.Release();
        DDReleaseSurface(&m_Dst);
        DDUninit();
    }
}

TEST_F(FontLayout, TheDefaultSetIsKeptAsWrittenWithToTwiceAndNoDo)
{
    ASSERT_TRUE(Start(kModes[0]));
    const cFastFont& sheet = *m_Font.m_lpFastFont_FullAdd;
    int to = 0;
    for (const FASTFONTCHAR& c : sheet.m_Chars) to += c.cLead == 0x83 && c.cTrail == 0x67;  // ト
    EXPECT_EQ(to, 2);
    EXPECT_EQ(sheet.Find("ド"), nullptr);
    EXPECT_EQ(sheet.Find("ト")->nIndex, 185);  // the first of the two
}

TEST_F(FontLayout, CentredCharactersSitInTheMiddleOfTheirCells)
{
    for (const cMode& mode : kModes) {
        ASSERT_TRUE(Start(mode)) << mode.name;
        m_Font.m_bCenterChar = TRUE;
        m_Font.m_lpFastFont_Half.reset();  // glyph by glyph: the sheets keep their own placement
        m_Font.m_lpFastFont_FullAdd.reset();
        m_Font.DrawText(&m_Dst, 10, 30, "a漢", FALSE);
        // 16 × 20 cells; the stand-in's extents are 8 × 16 and 16 × 16.
        EXPECT_EQ(Code(10 + 4, 30 + 2), unsigned('a')) << mode.name;
        EXPECT_EQ(Code(26, 30 + 2), 0x8ABFu) << mode.name;
        m_Font.Release();
        DDReleaseSurface(&m_Dst);
        DDUninit();
    }
}

TEST_F(FontLayout, AnAddedGlyphIsDrawnAgainInItsCellAfterADeviceReset)
{
    ASSERT_TRUE(Start(kModes[0]));
    m_Font.DrawText(&m_Dst, 0, 0, "漢", FALSE);
    cFastFont& sheet = *m_Font.m_lpFastFont_FullAdd;
    const FASTFONTCHAR* cell = sheet.Find("漢");
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->nIndex, 256);
    const cImage before = qbtest::ReadImage(&sheet.m_SD);
    const std::uint32_t sheetBackground = before.At(before.w - 1, before.h - 1);
    ASSERT_EQ(CodeAt(before, cell->x, cell->y, sheetBackground), 0x8ABFu);

    plat::SimulateD3DDeviceLoss(true);
    ASSERT_EQ(DDRestoreSurface(), 1);
    EXPECT_FALSE(sheet.m_SD.bLost);
    const cImage after = qbtest::ReadImage(&sheet.m_SD);
    EXPECT_EQ(CodeAt(after, cell->x, cell->y, sheetBackground), 0x8ABFu);
    EXPECT_EQ(after, before);
    DDFillSurfacePal(&m_Dst, kBackground);
    m_Font.DrawText(&m_Dst, 0, 0, "漢", FALSE);
    EXPECT_EQ(Code(0, 0), 0x8ABFu);
}

TEST_F(FontLayout, TheSingleByteSheetHoldsEveryCodeInItsOwnCell)
{
    // Lead bytes followed by trail bytes (0x81 0x82 ...) are still one code a cell.
    ASSERT_TRUE(Start(kModes[0]));
    cFastFont& sheet = *m_Font.m_lpFastFont_Half;
    const cImage image = qbtest::ReadImage(&sheet.m_SD);
    const std::uint32_t background = image.At(0, 0);
    for (unsigned code = 0x21; code < 256; ++code)
        EXPECT_EQ(CodeAt(image, (code % 16) * 16 + 2, (code / 16) * 20, background), code) << code;
}

}  // namespace
