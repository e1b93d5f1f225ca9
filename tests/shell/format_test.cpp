#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "shell/format.h"
#include "tests/support/cp932_printer.h"

using qbtest::Cp932;

TEST(FormatString, ReplacesAndAppendsByteForByte)
{
    std::string text = "old";
    FormatString(text, "ステージファイル %s の読み込みに失敗しました！", "a.stg4_100");
    EXPECT_EQ(Cp932(text), Cp932("ステージファイル a.stg4_100 の読み込みに失敗しました！"));
    AppendFormatString(text, "[%03d]", 7);
    EXPECT_EQ(Cp932(text), Cp932("ステージファイル a.stg4_100 の読み込みに失敗しました！[007]"));
}

TEST(FormatString, KeepsTextsLongerThanAnyFixedBuffer)
{
    const std::string longText(6000, 'x');
    std::string text;
    FormatString(text, "%s!", longText.c_str());
    EXPECT_EQ(text, longText + "!");
    AppendFormatString(text, "%d", 42);
    EXPECT_EQ(text.size(), 6003u);
    EXPECT_EQ(text.substr(6000), "!42");
}

TEST(FormatString, MayTakeItsOwnTextAsAnArgument)
{
    std::string text(600, 'a');
    AppendFormatString(text, "%s", text.c_str());
    EXPECT_EQ(text, std::string(1200, 'a'));
    FormatString(text, "<%s>", text.c_str());
    EXPECT_EQ(text, "<" + std::string(1200, 'a') + ">");
}

TEST(CountDigits, CountsDecimalDigitsWithoutTheSign)
{
    struct Case { int n; int digits; } cases[] = {
        {0, 1}, {7, 1}, {-1, 1}, {9, 1}, {10, 2}, {-123, 3}, {99999, 5},
        {999999999, 9}, {1000000000, 10}, {2147483647, 10}, {INT_MIN, 10},
    };
    for (const auto& c : cases) EXPECT_EQ(CountDigits(c.n), c.digits) << c.n;
}

TEST(FormatNumber, PadsWithBlanksOrZerosAndPutsTheSignInFront)
{
    struct Case { int value; int width; bool zeroFill; bool plus; const char* text; } cases[] = {
        {7, 3, false, false, "  7"},
        {7, 3, true, false, "007"},
        {-7, 3, false, false, "-  7"},
        {-7, 3, true, false, "-007"},
        {12, 0, false, true, "+12"},
        {0, 1, false, false, "0"},        // the last digit is never blanked
        {0, 3, false, false, "  0"},
        {0, 0, false, true, "+0"},
        {100, 5, false, false, "  100"},  // zeros inside the number stay
        {123, 2, false, false, "123"},    // a width below the digit count is widened
        {42, -3, true, false, "42"},
        {5, 2, true, false, "05"},
        {-5, 0, false, true, "-5"},
        {INT_MIN, 0, false, false, "-2147483648"},
        {INT_MIN, 12, true, true, "-002147483648"},
        {INT_MAX, 0, false, true, "+2147483647"},
    };
    for (const auto& c : cases) {
        std::string text = "old";
        FormatNumber(text, c.value, c.width, c.zeroFill, c.plus);
        EXPECT_EQ(text, c.text) << c.value << " width " << c.width;
    }
}

TEST(FormatNumber, KeepsAHugeWidthFromDataToTheLimit)
{
    std::string text;
    FormatNumber(text, 1, 1 << 30, true, false);
    EXPECT_EQ(text, std::string(kMaxNumberWidth - 1, '0') + "1");
}
