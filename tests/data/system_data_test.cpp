// System data at the current version: defaults, layout, round trips and the screen BGM clamp.
#include <gtest/gtest.h>

#include "data/system_data.h"
#include "data/system_labels.h"
#include "tests/data/record_test_support.h"
#include "tests/data/system_file_builder.h"
#include "tests/support/temp_folder.h"

using qbtest::BuildSystemFile;
using qbtest::ReadImage;
using qbtest::WriteImage;

TEST(SystemData, DefaultsAreWrittenAsTheLayoutGivesThem)
{
    qbtest::cDataSettingsScope settings;
    cSystemData data;
    EXPECT_EQ(WriteImage(data), BuildSystemFile(qbtest::DefaultSystemValues(), 692).bytes);
}

TEST(SystemData, TheCurrentVersionStoresFortyOneBlocksAndOneString)
{
    qbtest::cDataSettingsScope settings;
    cSystemData data;
    data.m_strTitle = "T";
    const std::string image = WriteImage(data);
    qbtest::cByteBuilder head;
    head.U32(692).I32(41);
    EXPECT_EQ(image.substr(0, 8), head.Str());
    // 38 blocks of 4 bytes and the 3 one-byte colour values, then one string.
    const std::size_t strings = 8 + 38 * 4 + 3;
    EXPECT_EQ(image.substr(strings, 10), std::string("\x01\x00\x00\x00\x02\x00\x00\x00T\x00", 10));
    // The tail starts with the 25 carry-over flags.
    EXPECT_EQ(image.substr(strings + 10, 4), std::string("\x19\x00\x00\x00", 4));
}

TEST(SystemData, AFileWithADistinctValueEverywhereRoundTripsByteForByte)
{
    qbtest::cDataSettingsScope settings(1, 100);
    const std::string file = BuildSystemFile(qbtest::DistinctSystemValues(), 692).bytes;
    cSystemData data;
    ASSERT_EQ(ReadImage(data, file), 1);
    EXPECT_EQ(WriteImage(data), file);

    qbtest::cTempFolder folder;
    folder.ChangeInto();
    folder.WriteFile("data/System.dat", file);
    cSystemData loaded;
    ASSERT_EQ(loaded.Load("data\\System.dat"), 1);
    ASSERT_EQ(loaded.Save("data\\Copy.dat"), 1);
    EXPECT_EQ(folder.ReadFile("data/Copy.dat"), file);
}

TEST(SystemData, ScreenBgmNumbersOutsideTheBgmDatabaseBecomeNone)
{
    qbtest::cDataSettingsScope settings(1, 5);
    qbtest::SystemFileValues values = qbtest::DefaultSystemValues();
    values.m_ScreenBgm = {4, 5, -1, 0x7FFFFFFF};
    cSystemData data;
    ASSERT_EQ(ReadImage(data, BuildSystemFile(values, 692).bytes), 1);
    EXPECT_EQ(data.m_ScreenBgm, (cSafeVector<int>{4, 0, 0, 0}));

    // Writing clamps too, against the count of the moment.
    qbtest::SetBgmRecords(4);
    WriteImage(data);
    EXPECT_EQ(data.m_ScreenBgm, (cSafeVector<int>{0, 0, 0, 0}));
}

TEST(SystemData, CountModeFlagsCountsTheResultValuesOfAModeThatHasResults)
{
    cSystemData data;
    EXPECT_EQ(data.CountModeFlags(0), 5);
    EXPECT_EQ(data.CountModeFlags(3), 0);
    data.m_ModeResults[1].m_ValueFlags = {1, 0, 7, 0, 0};
    EXPECT_EQ(data.CountModeFlags(1), 2);
    data.m_ModeResults[1].m_bEnabled = 0;
    EXPECT_EQ(data.CountModeFlags(1), 0);
}

TEST(SystemData, TheDefaultFontIndexNamesTheProportionalGothicFace)
{
    cSystemData data;
    EXPECT_STREQ(GetFontFaceName(data.m_nFontIndex), "ＭＳ Ｐゴシック");
    EXPECT_STREQ(GetFontFaceName(121), "Sydnie");
    EXPECT_STREQ(GetFontFaceName(122), "");
    EXPECT_STREQ(GetFontFaceName(5000), "");
    EXPECT_STREQ(GetFontFaceName(-3), "System");
}

TEST(SystemData, CopiesAreIndependent)
{
    qbtest::cDataSettingsScope settings(1, 100);
    cSystemData source;
    ASSERT_EQ(ReadImage(source, BuildSystemFile(qbtest::DistinctSystemValues(), 692).bytes), 1);
    cSystemData copy(source);
    source.m_StatusItems[0].m_strLabel = "changed";
    source.m_nExtraLifeScore = -5;
    EXPECT_EQ(WriteImage(copy), BuildSystemFile(qbtest::DistinctSystemValues(), 692).bytes);
}
