// The menu cursor's stack and moves, and the framed windows of the System record's text lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/system_data.h"
#include "graphics/fill.h"
#include "graphics/font.h"
#include "play/menu_cursor.h"
#include "tests/graphics/font_test_support.h"
#include "tests/support/restore.h"

namespace {

// A cursor whose stack holds these entries, bottom first.
cMenuCursor CursorOf(const std::vector<CURSORPOS>& entries)
{
    cMenuCursor cursor;
    cursor.m_Entries = entries;
    cursor = cMenuCursor(cursor);  // the copy takes its pointers again
    return cursor;
}

bool Same(const CURSORPOS& a, const CURSORPOS& b)
{
    return a.nColumn == b.nColumn && a.nRow == b.nRow && a.nX == b.nX && a.nY == b.nY;
}

constexpr CURSORPOS kA{1, 2, 3, 4};
constexpr CURSORPOS kB{5, 6, 7, 8};
constexpr CURSORPOS kZero{};

TEST(MenuCursorStack, ResetLeavesExactlyOneZeroedEntryWithoutParent)
{
    for (const std::vector<CURSORPOS>& entries : {std::vector<CURSORPOS>{}, {kA}, {kA, kB, kA}}) {
        cMenuCursor cursor = CursorOf(entries);
        cursor.Reset();
        ASSERT_EQ(cursor.m_Entries.size(), 1u);
        EXPECT_TRUE(Same(*cursor.m_pCurrent, kZero));
        EXPECT_EQ(cursor.m_pCurrent, &cursor.m_Entries[0]);
        EXPECT_EQ(cursor.m_pParent, nullptr);
    }
}

TEST(MenuCursorStack, PushCopiesTheEntryBelowOnlyWithCopyOne)
{
    struct Case { std::vector<CURSORPOS> before; int copy; CURSORPOS top; } cases[] = {
        {{}, 1, kZero},        // nothing below to copy
        {{kA}, 1, kA},
        {{kA, kB}, 1, kB},
        {{kA}, 0, kZero},
        {{kA}, 2, kZero},
    };
    for (const Case& c : cases) {
        cMenuCursor cursor = CursorOf(c.before);
        cursor.Push(c.copy);
        ASSERT_EQ(cursor.m_Entries.size(), c.before.size() + 1) << c.copy;
        EXPECT_TRUE(Same(*cursor.m_pCurrent, c.top)) << c.before.size() << " " << c.copy;
        EXPECT_EQ(cursor.m_pCurrent, &cursor.m_Entries.back());
        EXPECT_EQ(cursor.m_pParent, c.before.empty() ? nullptr : &cursor.m_Entries[c.before.size() - 1]);
    }
}

TEST(MenuCursorStack, PushesKeepThePointersOnTheEntriesWhenTheStackGrows)
{
    cMenuCursor cursor;
    cursor.m_pCurrent->nRow = 3;
    for (int i = 0; i < 40; ++i) {
        cursor.Push(1);
        cursor.m_pCurrent->nColumn = i;
    }
    EXPECT_EQ(cursor.m_pCurrent, &cursor.m_Entries.back());
    EXPECT_EQ(cursor.m_pParent, &cursor.m_Entries[cursor.m_Entries.size() - 2]);
    EXPECT_EQ(cursor.m_pCurrent->nRow, 3);
    EXPECT_EQ(cursor.m_pParent->nColumn, 38);
}

TEST(MenuCursorStack, PopZeroesKeepsOrTakesTheRemovedEntryAndLeavesASingleEntryAlone)
{
    struct Case { std::vector<CURSORPOS> before; int mode; std::size_t size; CURSORPOS current; } cases[] = {
        {{kA, kB}, 0, 1, kZero},
        {{kA, kB}, 1, 1, kA},
        {{kA, kB}, 2, 1, kB},
        {{kA}, 0, 1, kA},
        {{kA}, 1, 1, kA},
        {{kA}, 2, 1, kA},
        {{kB, kA, kB}, 1, 2, kA},
    };
    for (const Case& c : cases) {
        cMenuCursor cursor = CursorOf(c.before);
        cursor.Pop(c.mode);
        ASSERT_EQ(cursor.m_Entries.size(), c.size) << c.mode;
        EXPECT_TRUE(Same(*cursor.m_pCurrent, c.current)) << c.before.size() << " " << c.mode;
        EXPECT_EQ(cursor.m_pParent, c.size >= 2 ? &cursor.m_Entries[c.size - 2] : nullptr);
    }
}

TEST(MenuCursorMoves, MoveGridWrapsAndPlacesTheCursorAndNoRowsMovesNothing)
{
    struct Case { int column, row, direction, columns, rows; int afterColumn, afterRow, x, y; } cases[] = {
        {0, 0, 4, 1, 3, 0, 2, 100, 304},   // up from row 0 wraps to the last row
        {0, 2, 8, 1, 3, 0, 0, 100, 272},
        {0, 1, 0, 1, 3, 0, 1, 100, 288},
        {0, 0, 1, 3, 1, 2, 0, 140, 272},   // left from column 0 wraps
        {2, 0, 2, 3, 1, 0, 0, 100, 272},
        {0, 0, 5, 2, 2, 1, 1, 120, 288},   // left and up together
        {0, 0, 4, 1, 0, 0, 0, 7, 7},       // no rows: nothing, the row never becomes -1
        {0, 0, 1, 0, 3, 0, 0, 7, 7},       // no columns
        {0, 0, 4, 1, -2, 0, 0, 7, 7},
    };
    for (const Case& c : cases) {
        cMenuCursor cursor = CursorOf({CURSORPOS{c.column, c.row, 7, 7}});
        cursor.MoveGrid(c.direction, 100, 272, 20, 16, c.columns, c.rows);
        EXPECT_TRUE(Same(*cursor.m_pCurrent, CURSORPOS{c.afterColumn, c.afterRow, c.x, c.y}))
            << c.direction << " " << c.columns << "x" << c.rows << ": " << cursor.m_pCurrent->nColumn << ","
            << cursor.m_pCurrent->nRow << " at " << cursor.m_pCurrent->nX << "," << cursor.m_pCurrent->nY;
    }
}

TEST(MenuCursorMoves, MoveListStepsPagesWithOneRowOverlapAndClamps)
{
    struct Case { int index, top, direction, visible, total; int afterIndex, afterTop; } cases[] = {
        {9, 0, 8, 10, 25, 10, 1},     // down past the window scrolls it
        {5, 0, 8, 10, 25, 6, 0},
        {3, 3, 4, 10, 25, 2, 2},      // up past the window's top scrolls it
        {0, 0, 4, 10, 25, 0, 0},      // no wrap at the top
        {24, 15, 8, 10, 25, 24, 15},  // nor at the bottom
        {2, 0, 2, 10, 25, 11, 9},     // paging forward: 9 further, one row of the old page kept
        {20, 15, 2, 10, 25, 24, 15},  // paging forward on the last page goes to the last entry
        {12, 9, 1, 10, 25, 3, 0},     // paging back
        {5, 0, 1, 10, 25, 0, 0},      // paging back on the first page goes to the first entry
        {2, 0, 8, 10, 4, 3, 0},       // fewer entries than rows: the top stays 0
        {3, 0, 2, 10, 4, 3, 0},
        {-1, -1, 0, 10, 99, 0, 0},    // a slot of -1 opens on row 0
        {40, 60, 0, 10, 25, 24, 15},
        {5, 2, 8, 0, 25, 5, 2},       // no rows, or no entries: nothing
        {5, 2, 8, 10, 0, 5, 2},
    };
    for (const Case& c : cases) {
        cMenuCursor cursor = CursorOf({CURSORPOS{0, c.index, 0, 0}});
        int top = c.top;
        cursor.MoveList(c.direction, 1, top, 160, 16, 152, c.visible, c.total, 1);
        EXPECT_EQ(cursor.m_pCurrent->nRow, c.afterIndex) << c.index << " " << c.top << " " << c.direction;
        EXPECT_EQ(top, c.afterTop) << c.index << " " << c.top << " " << c.direction;
        if (c.visible > 0 && c.total > 0) {
            EXPECT_EQ(cursor.m_pCurrent->nY, 160 + (c.afterIndex - c.afterTop) * 16);
            EXPECT_EQ(cursor.m_pCurrent->nX, 152);
        }
    }
}

TEST(MenuCursorMoves, MoveListAcrossMovesTheColumnAndIgnoresPagingWhenOff)
{
    cMenuCursor cursor = CursorOf({CURSORPOS{4, 9, 0, 0}});
    int top = 0;
    cursor.MoveList(8 | 2, 0, top, 40, 32, 300, 5, 20, 0);
    EXPECT_EQ(cursor.m_pCurrent->nColumn, 5);
    EXPECT_EQ(cursor.m_pCurrent->nRow, 9);
    EXPECT_EQ(top, 1);
    EXPECT_EQ(cursor.m_pCurrent->nX, 40 + 4 * 32);
    EXPECT_EQ(cursor.m_pCurrent->nY, 300);
}

class TextLists : public qbtest::cFontTest {
protected:
    void SetUp() override
    {
        qbtest::cFontTest::SetUp();
        g_SystemData.m_Texts.assign(30, "");
        g_SystemData.m_Texts[10] = "ステージに挑む";   // 7 characters
        g_SystemData.m_Texts[11] = "やめる";
        g_SystemData.m_Texts[12] = "はいはいは";       // 5 and 6 characters
        g_SystemData.m_Texts[13] = "いいえいいえ";
        g_SystemData.m_Texts[14] = "5%%d";              // the game's text, per cent signs and all
    }

    qbtest::cRestore<cSystemData> m_System{g_SystemData};
};

TEST_F(TextLists, TheWindowIsAsWideAsTheLongestTextWithTheMarkerAndCentredOnX)
{
    struct Case { int first, count, marker, cx, x; } cases[] = {
        {12, 2, 1, 320, 264},   // 6 characters + the marker: 112 wide
        {12, 2, 0, 320, 272},
        {10, 2, 1, 304, 240},   // 8 x 16 = 128
        {11, 1, 0, 320, 296},
        {14, 1, 0, 100, 68},    // "5%%d" is four characters
        {12, 0, 1, 320, 312},   // the marker's column alone
    };
    for (const Case& c : cases) EXPECT_EQ(GetTextListX(c.cx, c.first, c.count, c.marker), c.x) << c.first << c.count;
}

TEST_F(TextLists, AGameTextIsDrawnAsItIsWhateverFormatSignsItHolds)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    DDSetTransmit(255, 0, 255);
    DDSURFACEDATA target{}, window{};
    ASSERT_TRUE(DDCreateSurface(&target, 640, 480, FALSE, 0, 0, nullptr, FALSE));
    ASSERT_TRUE(DDCreateSurface(&window, 640, 480, FALSE, 0, 0, nullptr, FALSE));
    DDFillSurfacePal(&target, kBackground);
    DDFillSurfacePal(&window, 77);
    ASSERT_TRUE(g_Font[1].Create("ＭＳ ゴシック", 0, 16, 16, 16, kInk, &window, 1, 240, nullptr, TRUE));

    DrawTextList(&target, 100, 200, 14, 1, 0);
    const qbtest::cImage image = qbtest::ReadImage(&target);
    const std::uint32_t face = image.At(110, 210);
    std::string drawn;
    for (int x = 100; x < 164; ++x)
        if (std::optional<unsigned> code = qbtest::CodeAt(image, x, 200, face)) drawn += static_cast<char>(*code);
    EXPECT_EQ(drawn, "5%%d");
    // Nothing at all for an empty list.
    DDFillSurfacePal(&target, kBackground);
    DrawTextList(&target, 100, 200, 14, 0, 0);
    EXPECT_EQ(qbtest::ReadImage(&target).At(101, 201), image.At(0, 0));

    g_Font[1].Release();
    DDReleaseSurface(&window);
    DDReleaseSurface(&target);
}

}  // namespace
