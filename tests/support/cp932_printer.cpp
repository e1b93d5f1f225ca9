#include "tests/support/cp932_printer.h"

#include <cstdio>

#include "platform/os/text.h"

namespace qbtest {

namespace {

class cCp932EqMatcher : public testing::MatcherInterface<std::string_view> {
public:
    explicit cCp932EqMatcher(std::string_view expected) : m_strExpected(expected) {}

    bool MatchAndExplain(std::string_view actual, testing::MatchResultListener* listener) const override
    {
        *listener << "which is " << DescribeCp932(actual);
        return actual == m_strExpected;
    }
    void DescribeTo(std::ostream* os) const override { *os << "is " << DescribeCp932(m_strExpected); }
    void DescribeNegationTo(std::ostream* os) const override { *os << "isn't " << DescribeCp932(m_strExpected); }

private:
    std::string m_strExpected;
};

}  // namespace

std::string DescribeCp932(std::string_view text)
{
    std::string out = "\"" + plat::Cp932ToUtf8(text) + "\"";
    bool bPlain = true;
    for (char c : text) bPlain = bPlain && c >= 0x20 && c < 0x7F;
    if (bPlain) return out;
    out += " {";
    for (std::size_t i = 0; i < text.size(); ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(text[i]));
        if (i > 0) out += ' ';
        out += hex;
    }
    out += '}';
    return out;
}

void PrintTo(const Cp932& text, std::ostream* os)
{
    *os << DescribeCp932(text.m_strBytes);
}

testing::Matcher<std::string_view> Cp932Eq(std::string_view expected)
{
    return testing::MakeMatcher(new cCp932EqMatcher(expected));
}

}  // namespace qbtest
