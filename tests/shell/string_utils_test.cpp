#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "shell/string_utils.h"
#include "tests/support/cp932_printer.h"

TEST(SyncStringLength, CutsAtTheFirstNulAndKeepsLongTextWhole)
{
    std::string text("abc\0def", 7);
    EXPECT_EQ(SyncStringLength(text), 3);
    EXPECT_EQ(text, "abc");

    std::string empty;
    EXPECT_EQ(SyncStringLength(empty), 0);

    // Longer than the 5120-byte buffer dialogs once copied through: nothing is lost or overrun.
    std::string longText(9000, 'x');
    EXPECT_EQ(SyncStringLength(longText), 9000);
    EXPECT_EQ(longText.size(), 9000u);
}

TEST(StringMid, TakesTheBytesInRangeAndGivesEmptyOutside)
{
    struct Case { int start; int count; const char* result; } cases[] = {
        {0, 3, "abc"},
        {2, 2, "cd"},
        {4, 10, "ef"},         // runs past the end: the rest
        {-2, 4, "ab"},         // a negative start shortens the count
        {-4, 4, ""},
        {-10, 3, ""},
        {6, 1, ""},            // start at the end
        {7, 1, ""},            // beyond it
        {1, 0, ""},
        {1, -5, ""},
        {INT_MIN, INT_MAX, ""},
        {0, INT_MAX, "abcdef"},
        {INT_MAX, INT_MAX, ""},
    };
    const std::string text = "abcdef";
    for (const auto& c : cases) EXPECT_EQ(StringMid(text, c.start, c.count), c.result) << c.start << ", " << c.count;
}

TEST(StringMid, ResultsAreIndependentValues)
{
    // Two results held at once stay apart (no shared temporary behind them).
    const std::string text = "表示テキスト";
    const std::string first = StringMid(text, 0, 2);
    const std::string second = StringMid(text, 2, 2);
    EXPECT_EQ(first, "表");
    EXPECT_EQ(second, "示");
}
