// The options record and its file, and the replay record.
#include <gtest/gtest.h>

#include <climits>

#include "data/option_data.h"
#include "data/player_file.h"
#include "data/replay_data.h"
#include "platform/os/file_ops.h"
#include "tests/data/player_file_builders.h"
#include "tests/data/record_test_support.h"
#include "tests/support/temp_folder.h"

using qbtest::BuildOptionFile;
using qbtest::ReadImage;

TEST(OptionData, ANewRecordSavesTheThirtySixBytesOfTheDefaults)
{
    qbtest::cDataSettingsScope settings;
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    cOptionData options;
    ASSERT_EQ(options.Save("Option.dat"), 1);
    const std::string expected("\xB4\x02\0\0" "\x04\0\0\0" "\0\0\0\0" "\x01\0\0\0" "\x07\0\0\0" "\0\0\0\0"
                               "\x01\0\0\0" "\x04\0\0\0" "aaa\0",
                               36);
    EXPECT_EQ(folder.ReadFile("Option.dat"), expected);
}

TEST(OptionData, AnEmptyNameIsStoredAsLengthOneAndReadsBackEmpty)
{
    qbtest::cDataSettingsScope settings;
    const std::string file = BuildOptionFile(3, 0, 10, 2, "");
    ASSERT_EQ(file.size(), 32u);
    cOptionData options;
    ASSERT_EQ(ReadImage(options, file), 1);
    EXPECT_EQ(options.m_strName, "");
    EXPECT_EQ(options.m_nWindowColor, 3);
    EXPECT_EQ(options.m_bBgm, 0);
    EXPECT_EQ(options.m_nVolume, 10);
    EXPECT_EQ(options.m_nRankingMode, 2);
    EXPECT_EQ(qbtest::WriteImage(options), file);
}

TEST(OptionData, AVolumeOrWindowColourThatIndexesNothingTakesItsDefault)
{
    qbtest::cDataSettingsScope settings;
    struct Case { int color, volume, keptColor, keptVolume; } cases[] = {
        {0, -1, 0, 7}, {23, 11, 23, 7}, {5, INT_MIN, 5, 7}, {24, 0, 0, 0}, {-1, 10, 0, 10}, {INT_MAX, 3, 0, 3},
    };
    for (const Case& c : cases) {
        cOptionData options;
        ASSERT_EQ(ReadImage(options, BuildOptionFile(c.color, 1, c.volume, 0, "abc")), 1);
        EXPECT_EQ(options.m_nWindowColor, c.keptColor) << c.color;
        EXPECT_EQ(options.m_nVolume, c.keptVolume) << c.volume;
    }
}

TEST(OptionData, ADamagedFileIsKeptAsideAndTheDefaultsStay)
{
    qbtest::cDataSettingsScope settings;
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    const std::string damaged = BuildOptionFile(2, 0, 3, 1, "xyz").substr(0, 30);
    folder.WriteFile("Option.dat", damaged);
    cOptionData options;
    EXPECT_EQ(LoadPlayerFile(options, "Option.dat"), PLAYERFILE_DAMAGED);
    EXPECT_EQ(options.m_nVolume, 7);
    EXPECT_EQ(options.m_strName, "aaa");
    EXPECT_FALSE(folder.Exists("Option.dat"));
    EXPECT_EQ(folder.ReadFile("Option.dat.bad"), damaged);
    EXPECT_EQ(LoadPlayerFile(options, "Option.dat"), PLAYERFILE_MISSING);
    folder.WriteFile("Option.dat", BuildOptionFile(2, 0, 3, 1, "xyz"));
    EXPECT_EQ(LoadPlayerFile(options, "Option.dat"), PLAYERFILE_LOADED);
    EXPECT_EQ(options.m_strName, "xyz");
}

TEST(OptionData, ASaveThatFailsAfterAnyNumberOfBytesKeepsTheOldFile)
{
    qbtest::cDataSettingsScope settings;
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    const std::string old = BuildOptionFile(1, 1, 2, 3, "old");
    cOptionData options;
    options.m_strName = "new";
    const std::size_t size = qbtest::WriteImage(options).size();
    for (std::size_t n = 0; n < size; ++n) {
        folder.WriteFile("Option.dat", old);
        plat::FailCommitsAfter(static_cast<std::int64_t>(n));
        const int saved = options.Save("Option.dat");
        plat::FailCommitsAfter(-1);
        EXPECT_EQ(saved, 0) << n;
        EXPECT_EQ(folder.ReadFile("Option.dat"), old) << n;
        EXPECT_FALSE(folder.Exists("Option.dat.tmp")) << n;
    }
    plat::FailCommitsAfter(static_cast<std::int64_t>(size));
    EXPECT_EQ(options.Save("Option.dat"), 1);
    plat::FailCommitsAfter(-1);
    EXPECT_EQ(folder.ReadFile("Option.dat"), qbtest::WriteImage(options));
}

TEST(ReplayData, ANewOrClearedRecordHasSeedZeroEmptyStreamsAndPlaybackAtTheStart)
{
    qbtest::cDataSettingsScope settings;
    cReplayData filled;
    filled.m_nSeed = 1234;
    filled.m_DirectionValues = {1, 2};
    filled.m_ButtonValues = {3};
    filled.m_DirectionRuns = {10, 20};
    filled.m_ButtonRuns = {30};
    for (int& position : filled.m_nPlayPosition) position = 5;
    filled.Clear();
    for (const cReplayData* replay : {&filled, &g_ReplayData}) {
        EXPECT_EQ(replay->m_nSeed, 0);
        EXPECT_TRUE(replay->m_DirectionValues.empty());
        EXPECT_TRUE(replay->m_ButtonValues.empty());
        EXPECT_TRUE(replay->m_DirectionRuns.empty());
        EXPECT_TRUE(replay->m_ButtonRuns.empty());
        for (int position : replay->m_nPlayPosition) EXPECT_EQ(position, 0);
    }
    // Only the seed is a registered field; the streams are stage play's tail.
    EXPECT_EQ(filled.Tables().fields.size(), 1u);
    EXPECT_TRUE(filled.Tables().tail.empty());
}
