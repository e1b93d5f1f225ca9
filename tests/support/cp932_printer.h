#pragma once
// Readable test failures for CP932 text: the program's strings are CP932 bytes, which a
// terminal shows as garbage. Wrap them in Cp932 and GoogleTest prints them as UTF-8, with the
// bytes in hex where the text is not plain ASCII (so that a 0x5C second byte shows):
//
//     EXPECT_EQ(Cp932(actual), Cp932("表示.bmp"));   // strings and char buffers: wrap both sides
//     EXPECT_THAT(actual, Cp932Eq("表示.bmp"));      // or the matcher, for std::string
//
// Failure: Expected equality ... Which is: "表示.bmp" {95 5C 8E A6 2E 62 6D 70}
// (The matcher also takes a char buffer, but GoogleTest then prints the whole raw array
// before the readable form: prefer Cp932 for buffers.) In a message, << DescribeCp932(text).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>

namespace qbtest {

// CP932 bytes that compare as bytes and print as UTF-8.
struct Cp932 {
    Cp932(std::string_view text) : m_strBytes(text) {}
    Cp932(const char* text) : m_strBytes(text ? text : "") {}
    Cp932(const std::string& text) : m_strBytes(text) {}

    std::string m_strBytes;

    friend bool operator==(const Cp932& a, const Cp932& b) { return a.m_strBytes == b.m_strBytes; }
};

// The text as UTF-8 in quotes (U+FFFD where a byte has no character), then the bytes in hex
// unless every byte is printable ASCII.
std::string DescribeCp932(std::string_view text);

void PrintTo(const Cp932& text, std::ostream* os);

// Matches a std::string or string_view holding exactly these CP932 bytes.
testing::Matcher<std::string_view> Cp932Eq(std::string_view expected);

}  // namespace qbtest
