// The small records of a stage file across the versions that changed them.
#include <gtest/gtest.h>

#include <cstring>

#include "data/stage_elements.h"
#include "tests/data/record_test_support.h"
#include "tests/support/byte_builder.h"

using qbtest::cByteBuilder;

namespace {

std::uint64_t Bits(double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

cByteBuilder& Double(cByteBuilder& bytes, double value)
{
    return bytes.U32(static_cast<std::uint32_t>(Bits(value))).U32(static_cast<std::uint32_t>(Bits(value) >> 32));
}

cByteBuilder& Text(cByteBuilder& bytes, const char* text)
{
    const std::size_t n = std::strlen(text);
    bytes.I32(static_cast<std::int32_t>(n + 1));
    if (n) bytes.Bytes(text).U8(0);
    return bytes;
}

}  // namespace

TEST(StageBackground, ReadsEachVersionsLayoutAndKeepsDefaultsForWhatItLacks)
{
    qbtest::cDataSettingsScope settings;
    struct Case {
        std::uint32_t version;
        bool shown, doubles, offsets, scratchOffsets;
    } cases[] = {
        {60, false, false, false, false},  // 4-byte factors, no switches, no offsets
        {61, false, true, false, true},    // doubles; 4-byte offsets dropped
        {62, true, true, true, false},
        {692, true, true, true, false},
    };
    for (const Case& c : cases) {
        cByteBuilder bytes;
        bytes.U32(c.version);
        const int fields = (c.shown ? 1 : 0) + 3 + (c.doubles ? 4 : 2) + ((c.offsets || c.scratchOffsets) ? 2 : 0);
        bytes.I32(fields);
        if (c.shown) bytes.I32(0);
        bytes.I32(1).I32(7).I32(1);
        if (c.doubles) {
            Double(bytes, 0.5);
            Double(bytes, 2.0);
            bytes.I32(1).I32(1);
        } else {
            bytes.I32(0x3F000000).I32(0x40000000);
        }
        if (c.offsets) {
            Double(bytes, 3.25);
            Double(bytes, -1.5);
        }
        if (c.scratchOffsets) bytes.I32(99).I32(99);
        bytes.I32(1);
        Text(bytes, "bg\\sky.bmp");

        cBackgroundData background;
        ASSERT_EQ(qbtest::ReadImage(background, bytes.Str()), 1) << c.version;
        EXPECT_EQ(background.m_bShow, c.shown ? 0 : 1) << c.version;
        EXPECT_EQ(background.m_bFillOnly, 1);
        EXPECT_EQ(background.m_nFillColor, 7);
        EXPECT_EQ(background.m_nLayer, 1);
        EXPECT_EQ(background.m_dFactorX, c.doubles ? 0.5 : 0.1) << c.version;
        EXPECT_EQ(background.m_dFactorY, c.doubles ? 2.0 : 0.1) << c.version;
        EXPECT_EQ(background.m_bAutoScrollX, c.doubles ? 1 : 0) << c.version;
        EXPECT_EQ(background.m_dOffsetX, c.offsets ? 3.25 : 0.0) << c.version;
        EXPECT_EQ(background.m_dOffsetY, c.offsets ? -1.5 : 0.0) << c.version;
        EXPECT_EQ(background.m_strPicture, "bg\\sky.bmp");
    }
}

TEST(StageOutOfRange, FilesUpTo124HoldOnlyTheLeftSwitchBesideTheMargins)
{
    qbtest::cDataSettingsScope settings;
    for (std::uint32_t version : {124u, 125u}) {
        cByteBuilder bytes;
        bytes.U32(version);
        if (version <= 124) {
            bytes.I32(5).I32(1);
        } else {
            bytes.I32(8).I32(1).I32(0).I32(1).I32(0);
        }
        bytes.I32(2).I32(3).I32(4).I32(5).I32(0);
        cOutOfRangeData rule(1, 0, 0, 10, 10);  // what the record held before
        ASSERT_EQ(qbtest::ReadImage(rule, bytes.Str()), 1) << version;
        EXPECT_EQ(rule.m_bLeft, 1);
        EXPECT_EQ(rule.m_bRight, version <= 124 ? 1 : 0) << version;
        EXPECT_EQ(rule.m_bTop, 1);
        EXPECT_EQ(rule.m_bBottom, version <= 124 ? 1 : 0) << version;
        EXPECT_EQ(rule.m_nLeftMargin, 2);
        EXPECT_EQ(rule.m_nRightMargin, 3);
        EXPECT_EQ(rule.m_nTopMargin, 4);
        EXPECT_EQ(rule.m_nBottomMargin, 5);
    }
}
