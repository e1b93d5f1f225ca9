#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/os/text.h"
#include "tests/support/cp932_printer.h"

using qbtest::Cp932Eq;

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// Code points in a UTF-8 text: every byte that is not a continuation byte starts one.
int CountCodePoints(std::string_view utf8)
{
    int count = 0;
    for (char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

bool IsLead(int b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrail(int b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

}  // namespace

TEST(IsDBCSLeadByte, AcceptsExactlyTheTwoLeadRanges)
{
    for (int b = 0; b < 256; ++b) EXPECT_EQ(IsDBCSLeadByte(static_cast<BYTE>(b)) != 0, IsLead(b)) << std::hex << b;
    struct Case { BYTE byte; bool lead; } cases[] = {
        {0x5C, false}, {0x80, false}, {0x81, true}, {0x9F, true}, {0xA0, false},
        {0xB1, false}, {0xDF, false}, {0xE0, true}, {0xFC, true}, {0xFD, false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsDBCSLeadByte(c.byte) != 0, c.lead) << std::hex << int(c.byte);
}

TEST(Cp932CharLength, PairsALeadByteOnlyWithATrailByte)
{
    struct Case { std::string_view text; std::size_t at; std::size_t length; } cases[] = {
        {"ソ", 0, 2},
        {"\x81", 0, 1},         // a lead byte at the end
        {"\x81\x20", 0, 1},     // before a byte that cannot follow it
        {"\x81\x7F", 0, 1},
        {"\x8B\x9E\x5C", 0, 2}, // 京 then a backslash
        {"\x8B\x9E\x5C", 1, 2}, // from inside 京 it looks like a pair: callers walk from the start
        {"a", 0, 1},
        {"\xB1", 0, 1},         // half-width katakana
    };
    for (const auto& c : cases) EXPECT_EQ(plat::Cp932CharLength(c.text, c.at), c.length) << qbtest::DescribeCp932(c.text);
}

TEST(Cp932ToUtf8, ConvertsJapaneseAndKeepsBackslashAndTilde)
{
    struct Case { const char* cp932; const char* utf8; } cases[] = {
        {"ソ表能予", u8"ソ表能予"},  // second bytes are 0x5C
        {"data\\表示.bmp", u8"data\\表示.bmp"},
        {"~\\", "~\\"},              // never yen sign and overline
        {"\xB1\xDF", u8"ｱﾟ"},
        {"\x8B\x9E", u8"京"},
        {"\x87\x40", u8"①"},          // NEC special character
        {"\xFA\x40", u8"ⅰ"},          // IBM extension
        {"\x81\x60", u8"～"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(plat::Cp932ToUtf8(c.cp932), c.utf8) << qbtest::DescribeCp932(c.cp932);
}

TEST(Cp932ToUtf8, ReplacesEachBadCharacterOnceAndKeepsTheRest)
{
    const std::string r(kReplacement);
    struct Case { std::string_view cp932; std::string utf8; } cases[] = {
        {"a\x80" "b", "a" + r + "b"},
        {"\xA0ソ", r + u8"ソ"},
        {"\xFD\xFE\xFF", r + r + r},
        {"\x81\x20x", r + " x"},           // only the lead byte is bad; the blank stays
        {"\x85\x40z", r + "z"},             // a pair with no character: one replacement
        {"ab\x81", "ab" + r},               // a lead byte cut off at the end
        {"表\x80表", u8"表" + r + u8"表"},
        {std::string_view("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& c : cases) EXPECT_EQ(plat::Cp932ToUtf8(c.cp932), c.utf8) << qbtest::DescribeCp932(c.cp932);
}

TEST(Cp932ToUtf8, TakesEveryLeadAndTrailPairAsOneCharacter)
{
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLead(lead)) continue;
        for (int second = 1; second < 256; ++second) {
            const std::string text{static_cast<char>(lead), static_cast<char>(second), 'A'};
            const std::string utf8 = plat::Cp932ToUtf8(text);
            ASSERT_FALSE(utf8.empty());
            EXPECT_EQ(utf8.back(), 'A') << std::hex << lead << ' ' << second;
            if (IsTrail(second)) {
                EXPECT_EQ(CountCodePoints(utf8), 2) << std::hex << lead << ' ' << second;
            } else {
                // The lead byte alone is bad; the second byte is a character of its own.
                const std::string secondAlone = second < 0x80 ? std::string(1, static_cast<char>(second)) : std::string(kReplacement);
                EXPECT_EQ(utf8, std::string(kReplacement) + secondAlone + "A") << std::hex << lead << ' ' << second;
            }
        }
    }
}

TEST(Cp932ToUtf8Strict, RefusesWhatTheLenientFormWouldReplace)
{
    struct Case { std::string_view cp932; bool ok; const char* utf8; } cases[] = {
        {"data\\表示.bmp", true, u8"data\\表示.bmp"},
        {"a\x80", false, ""},
        {"\x85\x40", false, ""},
        {"ab\x81", false, ""},
    };
    for (const auto& c : cases) {
        std::string out;
        EXPECT_EQ(plat::Cp932ToUtf8Strict(c.cp932, out), c.ok) << qbtest::DescribeCp932(c.cp932);
        if (c.ok) {
            EXPECT_EQ(out, c.utf8);
        }
    }
}

TEST(Utf8ToCp932, ConvertsWhatCp932HasAndRefusesTheRest)
{
    struct Case { const char* utf8; bool ok; const char* cp932; } cases[] = {
        {u8"ソ表", true, "ソ表"},
        {u8"ステージ1", true, "ステージ1"},
        {"plain\\path", true, "plain\\path"},
        {u8"ｱ", true, "\xB1"},
        {u8"京", true, "\x8B\x9E"},
        {u8"é", false, ""},
        {u8"😀", false, ""},
        {"\xC3", false, ""},   // UTF-8 cut in the middle of a character
        {"\xFF", false, ""},
    };
    for (const auto& c : cases) {
        std::string out;
        EXPECT_EQ(plat::Utf8ToCp932(c.utf8, out), c.ok) << c.utf8;
        if (c.ok) {
            EXPECT_THAT(out, Cp932Eq(c.cp932));
        }
    }
}

TEST(FindLastSingleByte, StepsOverDoubleByteCharactersFromTheStart)
{
    constexpr auto npos = std::string_view::npos;
    struct Case { std::string_view text; char c; std::size_t at; } cases[] = {
        {"bmp\\Title.bmp", '\\', 3},
        {"表", '\\', npos},          // 95 5C: the backslash is a second byte
        {"表示\\ソ", '\\', 4},
        {"ソ\\a", '\\', 2},
        {"京\\a", '\\', 2},          // 8B 9E 5C: 9E looks like a lead byte from behind
        {"a\\京", '\\', 1},
        {"\x81.", '.', 1},           // a lead byte before a non-trail byte is a character alone
        {"a.b.c", '.', 3},
        {"", '\\', npos},
    };
    for (const auto& c : cases) EXPECT_EQ(plat::FindLastSingleByte(c.text, c.c), c.at) << qbtest::DescribeCp932(c.text);
}

TEST(Cp932ToUtf8, ConvertsOnSeveralThreadsAtOnce)
{
    const std::string text = "表\x80ソ\\京\x81";
    const std::string expected = std::string(u8"表") + std::string(kReplacement) + u8"ソ\\京" + std::string(kReplacement);
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                std::string back;
                if (plat::Cp932ToUtf8(text) != expected || !plat::Utf8ToCp932(u8"ソ表", back) || back != "ソ表") ++wrong;
            }
        });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(wrong.load(), 0);
}
