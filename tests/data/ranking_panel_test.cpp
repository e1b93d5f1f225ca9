// The ranking window and the stage-result window drawn on a small surface with fonts whose
// glyphs say which character they are: each character, digit and sign at its place.
#include <optional>
#include <string>

#include "data/ranking_data.h"
#include "data/save_data.h"
#include "data/system_data.h"
#include "graphics/fill.h"
#include "graphics/standard_surfaces.h"
#include "shell/system_ini.h"
#include "tests/data/record_test_support.h"
#include "tests/graphics/font_test_support.h"

namespace {

using qbtest::cImage;

constexpr int kMarkerColor = 200;

class RankingPanel : public qbtest::cFontTest {
protected:
    void SetUp() override
    {
        qbtest::cFontTest::SetUp();
        m_SavedSystem = std::make_unique<cSystemData>(g_SystemData);
        m_nSavedEnglish = g_SystemIni.English;
        g_SystemIni.English = 0;
        ASSERT_TRUE(Init({TRUE, 32, 1}));
        DDSetTransmit(255, 0, 255);
        for (DDSURFACEDATA* sd : {&m_Dst, &m_Window, &g_StdSurface[kStatusPicture]}) ClearSurfaceData(sd);
        ASSERT_TRUE(DDCreateSurface(&m_Dst, 400, 400, FALSE, 0, 0, nullptr, FALSE));
        ASSERT_TRUE(DDCreateSurface(&m_Window, 640, 480, FALSE, 0, 0, nullptr, FALSE));
        // The status icons: the marker cell (16, 48) in one colour, the rest in others.
        ASSERT_TRUE(DDCreateSurface(&g_StdSurface[kStatusPicture], 64, 64, FALSE, 0, 0, nullptr, FALSE));
        DDFillSurfacePal(&g_StdSurface[kStatusPicture], 3);
        DDFillRectPal(&g_StdSurface[kStatusPicture], 16, 48, 16, 16, kMarkerColor);
        DDFillSurfacePal(&m_Window, 77);
        ASSERT_TRUE(g_Font[1].Create("ＭＳ ゴシック", 0, 16, 16, 16, kInk, &m_Window, 2, 240, nullptr, TRUE));
        g_SystemData.m_Texts.resize(30);
        const char* const labels[] = {"SCORE", "LEFT", "TIME", "HP", "SP"};
        for (int kind = 0; kind < 5; ++kind) g_SystemData.m_Texts[static_cast<std::size_t>(5 + kind)] = labels[kind];
        g_SystemData.m_Texts[24] = "<>";
        g_SystemData.m_bUseLetterImages = 0;
        Clear();
    }
    void TearDown() override
    {
        g_Font[1].Release();
        for (DDSURFACEDATA* sd : {&m_Dst, &m_Window, &g_StdSurface[kStatusPicture]}) DDReleaseSurface(sd);
        g_SystemData = *m_SavedSystem;
        g_SystemIni.English = m_nSavedEnglish;
        qbtest::cFontTest::TearDown();
    }
    void Clear()
    {
        DDFillRectPal(&m_Dst, 0, 0, 1, 1, kInk);
        m_Ink = qbtest::ReadImage(&m_Dst).At(0, 0);
        DDFillSurfacePal(&m_Dst, kBackground);
        m_Background = qbtest::ReadImage(&m_Dst).At(0, 0);
        m_Window0 = qbtest::ReadImage(&m_Window).At(0, 0);
    }
    // The code of a glyph whose bar starts at (x, y), told by the ink colour alone, so that
    // glyphs over the window's frame read too.
    std::optional<unsigned> InkCodeAt(const cImage& image, int x, int y) const
    {
        if (x < 0 || y < 0 || x + 8 > image.w || y + 3 > image.h) return std::nullopt;
        auto ink = [&](int px, int py) { return image.At(px, py) == m_Ink; };
        for (int i = 0; i < 8; ++i)
            if (!ink(x + i, y)) return std::nullopt;
        if (x > 0 && ink(x - 1, y)) return std::nullopt;
        unsigned code = 0;
        for (int i = 0; i < 8; ++i) code = code << 1 | (ink(x + i, y + 1) ? 1u : 0u);
        for (int i = 0; i < 8; ++i) code = code << 1 | (ink(x + i, y + 2) ? 1u : 0u);
        return code;
    }
    // The characters of a text drawn from (x, y) on a 16-pixel pitch: each cell's code.
    std::string TextAt(const cImage& image, int x, int y, int cells) const
    {
        std::string text;
        for (int cell = 0; cell < cells; ++cell) {
            std::optional<unsigned> code;
            for (int dx = 0; dx < 16 && !code; ++dx) code = InkCodeAt(image, x + 16 * cell + dx, y);
            if (!code) text += ' ';
            else if (*code > 0xFF) text += {static_cast<char>(*code >> 8), static_cast<char>(*code & 0xFF)};
            else text += static_cast<char>(*code);
        }
        return text;
    }
    bool MarkerAt(const cImage& image, int x, int y) const
    {
        const std::uint32_t marker = image.At(x + 8, y + 8);
        return marker == image.At(x, y) && marker == image.At(x + 15, y + 15) && marker != m_Background &&
               marker != m_Window0 && image.At(x + 16, y + 8) != marker;
    }

    std::unique_ptr<cSystemData> m_SavedSystem;
    int m_nSavedEnglish = 0;
    DDSURFACEDATA m_Dst{}, m_Window{};
    std::uint32_t m_Background = 0, m_Window0 = 0, m_Ink = 0;
};

cRankingTable TableWith(int largerWins)
{
    cRankingTable table;
    table.m_bLargerWins = largerWins;
    auto put = [&table](std::size_t place, const char* name, int value) {
        table.m_Entries[place].m_bUsed = 1;
        table.m_Entries[place].m_strName = name;
        table.m_Entries[place].m_nValue = value;
    };
    put(0, "abc", 12550);
    put(2, "x", 7);
    put(3, "yz", -12550);
    return table;
}

}  // namespace

TEST_F(RankingPanel, TheRankingWindowPlacesNumbersNamesAndRightAlignedValuesOnTheirRows)
{
    g_SystemData.m_ModeResults.At(0).m_bEnabled = 1;
    g_SystemData.m_ModeResults.At(0).m_ValueFlags.assign(5, 0);
    g_SystemData.m_ModeResults.At(0).m_ValueFlags[0] = 1;
    cRankingTable table = TableWith(1);
    table.Draw(&m_Dst, 0, 0, RANKING_SCORE, 2, 0);
    const cImage image = qbtest::ReadImage(&m_Dst);
    EXPECT_EQ(TextAt(image, 0, 0, 14), "ランキング    SCORE");
    // Place 1 at row 16; the values end at one column: 12550 has the width D of place 1.
    EXPECT_EQ(TextAt(image, 16, 16, 1), "1");
    EXPECT_EQ(TextAt(image, 64, 16, 3), "abc");
    EXPECT_EQ(TextAt(image, 144, 16, 6), "12550 ");
    EXPECT_EQ(TextAt(image, 0, 32, 16), std::string(16, ' ')) << "a free place keeps its row empty";
    EXPECT_EQ(TextAt(image, 16, 48, 1), "3");
    EXPECT_EQ(TextAt(image, 64, 48, 2), "x ");
    EXPECT_EQ(TextAt(image, 144, 48, 6), "    7 ");
    EXPECT_EQ(TextAt(image, 144, 64, 6), "-12550") << "the sign stands before the digits' columns";
    EXPECT_TRUE(MarkerAt(image, 0, 48));
    EXPECT_FALSE(MarkerAt(image, 0, 16));
    EXPECT_EQ(TextAt(image, 120, 16 + 16 * 20, 2), "  ") << "no hint while the mode ranks one kind";
}

TEST_F(RankingPanel, ClearTimesAreClockTextsAndTheKindHintIsCentredWhenKindsCanChange)
{
    g_SystemData.m_ModeResults.At(1).m_bEnabled = 1;
    g_SystemData.m_ModeResults.At(1).m_ValueFlags.assign(5, 0);
    g_SystemData.m_ModeResults.At(1).m_ValueFlags[0] = 1;
    g_SystemData.m_ModeResults.At(1).m_ValueFlags[2] = 1;
    g_SystemIni.English = 1;
    cRankingTable table = TableWith(0);
    table.Draw(&m_Dst, 8, 4, RANKING_CLEAR_TIME, -1, 1);
    const cImage image = qbtest::ReadImage(&m_Dst);
    EXPECT_EQ(TextAt(image, 8, 4, 16), "Ranking     TIME");
    EXPECT_EQ(TextAt(image, 8 + 144, 4 + 16, 8), "02:05.50");
    EXPECT_EQ(TextAt(image, 8 + 144, 4 + 48, 8), "00:00.07");
    EXPECT_EQ(TextAt(image, 8 + 144, 4 + 64, 11), "-02:-05.-50");
    // Text 24 ("<>", 2 bytes) centred on x + 136, under the 20 places.
    EXPECT_EQ(TextAt(image, 8 + 136 - 16, 4 + 16 + 16 * 20, 2), "<>");
    for (int row = 0; row < 21; ++row) EXPECT_FALSE(MarkerAt(image, 8, 4 + 16 * row)) << row;
}

TEST_F(RankingPanel, TheResultWindowShowsTheChosenValuesAndMarksThoseThatRanked)
{
    const int values[5] = {1234, 99, 12550, 5, 6};
    const int places[5] = {-1, 0, 3, -1, 0};
    const bool shown[5] = {true, false, true, false, true};
    DrawResultPanel(&m_Dst, 20, 30, places, values, shown);
    const cImage image = qbtest::ReadImage(&m_Dst);
    // Labels 5 bytes wide at most (W), numbers 8 wide with the clear time (N): the window is
    // (8 + 5 + 3) x 16 = 256 wide and three rows high; values start at x + 16 W + 32.
    EXPECT_EQ(image.At(20 + 255, 30 + 47), m_Window0);
    EXPECT_EQ(image.At(20 + 256 + 2, 30), m_Background);
    EXPECT_EQ(image.At(20, 30 + 48 + 2), m_Background);
    EXPECT_EQ(TextAt(image, 36, 30, 5), "SCORE");
    EXPECT_EQ(TextAt(image, 20 + 112, 30, 5), "1234 ");
    EXPECT_EQ(TextAt(image, 36, 46, 5), "TIME ");
    EXPECT_EQ(TextAt(image, 20 + 112, 46, 8), "02:05.50");
    EXPECT_EQ(TextAt(image, 36, 62, 5), "SP   ");
    EXPECT_EQ(TextAt(image, 20 + 112, 62, 2), "6 ");
    EXPECT_FALSE(MarkerAt(image, 20, 30)) << "the score did not rank";
    EXPECT_TRUE(MarkerAt(image, 20, 46));
    EXPECT_TRUE(MarkerAt(image, 20, 62));
}

TEST_F(RankingPanel, AResultWindowWithNothingShownDrawsNothing)
{
    const int values[5] = {1, 2, 3, 4, 5};
    const int places[5] = {0, 0, 0, 0, 0};
    const bool shown[5] = {};
    const cImage before = qbtest::ReadImage(&m_Dst);
    DrawResultPanel(&m_Dst, 20, 30, places, values, shown);
    EXPECT_TRUE(qbtest::ReadImage(&m_Dst) == before);
}

namespace {

using SaveSlotPanel = RankingPanel;

TEST_F(SaveSlotPanel, TheSlotListNumbersItsRowsDatesUsedSlotsAndSeparatesRows)
{
    cSafeVector<cSaveSlotInfo> slots(3);
    auto savedAt = [](cSaveSlotInfo& slot, WORD year, WORD month, WORD day, WORD hour, WORD minute) {
        slot.m_bUsed = 1;
        slot.m_SaveTime.wYear = year;
        slot.m_SaveTime.wMonth = month;
        slot.m_SaveTime.wDay = day;
        slot.m_SaveTime.wHour = hour;
        slot.m_SaveTime.wMinute = minute;
    };
    savedAt(slots[1], 2026, 3, 9, 7, 5);
    savedAt(slots[2], 1999, 12, 31, 23, 59);
    // Rows from slot 2 (index 1): two slots, then a row past the end of the list.
    DrawSaveSlotList(&m_Dst, 0, 0, slots, 1, 3);
    const cImage image = qbtest::ReadImage(&m_Dst);
    EXPECT_EQ(TextAt(image, 16, 0, 1), "2");
    EXPECT_EQ(TextAt(image, 64, 0, 16), "2026/03/09 07:05");
    EXPECT_EQ(TextAt(image, 16, 16, 1), "3");
    EXPECT_EQ(TextAt(image, 64, 16, 16), "1999/12/31 23:59");
    EXPECT_EQ(TextAt(image, 16, 32, 1), " ") << "a row past the list stays empty";

    Clear();
    DrawSaveSlotList(&m_Dst, 0, 0, slots, 0, 2);
    const cImage empty = qbtest::ReadImage(&m_Dst);
    EXPECT_EQ(TextAt(empty, 16, 0, 1), "1");
    EXPECT_EQ(TextAt(empty, 64, 0, 16), std::string(16, ' ')) << "an empty slot shows no date";
    DDFillRectPal(&m_Dst, 0, 0, 1, 1, 240);
    const std::uint32_t separator = qbtest::ReadImage(&m_Dst).At(0, 0);
    EXPECT_EQ(empty.At(300, 15), separator) << "a line ends the first row";
    EXPECT_NE(empty.At(300, 31), separator) << "no line after the last row";
}

}  // namespace
