// Rankings: places and insertion, the file and its old versions, the files per play mode and
// the time text.
#include <gtest/gtest.h>

#include <climits>

#include "data/ranking_data.h"
#include "platform/os/file_ops.h"
#include "tests/data/player_file_builders.h"
#include "tests/data/record_test_support.h"
#include "tests/support/temp_folder.h"

using qbtest::BuildRankingFile;
using qbtest::RankingTableFields;
using qbtest::ReadImage;

namespace {

// A table whose first `used` places hold the values given, the rest free.
cRankingTable TableOf(int largerWins, std::initializer_list<int> values)
{
    cRankingTable table;
    table.m_bLargerWins = largerWins;
    std::size_t place = 0;
    for (int value : values) {
        table.m_Entries[place].m_bUsed = 1;
        table.m_Entries[place].m_nValue = value;
        table.m_Entries[place].m_strName = std::to_string(place);
        ++place;
    }
    return table;
}

cRankingTable HundredDownTo81()
{
    return TableOf(1, {100, 99, 98, 97, 96, 95, 94, 93, 92, 91, 90, 89, 88, 87, 86, 85, 84, 83, 82, 81});
}

// The values of the used places, then -1 for each free one.
std::vector<int> Values(const cRankingTable& table)
{
    std::vector<int> values;
    for (const cRankingEntry& entry : table.m_Entries) values.push_back(entry.m_bUsed ? entry.m_nValue : -1);
    return values;
}

std::vector<int> Orders(const cRankingData& rankings)
{
    std::vector<int> orders;
    for (const cRankingTable& table : rankings.m_Tables) orders.push_back(table.m_bLargerWins);
    return orders;
}

}  // namespace

TEST(Ranking, AValueTakesTheFirstFreePlaceOrTheFirstItBeatsStrictly)
{
    struct Case { cRankingTable table; int value, place; const char* what; } cases[] = {
        {HundredDownTo81(), 90, 11, "an equal value ranks below"},
        {HundredDownTo81(), 101, 0, "above the best"},
        {HundredDownTo81(), 81, -1, "equal to the last"},
        {HundredDownTo81(), 80, -1, "below the last"},
        {TableOf(0, {500, 600, 700}), 600, 2, "smaller wins: equal time after"},
        {TableOf(0, {500, 600, 700}), 499, 0, "smaller wins: a faster time first"},
        {TableOf(0, {500, 600, 700}), 900, 3, "the first free place"},
        {TableOf(1, {INT_MIN}), INT_MIN, 1, "free place after an equal value"},
        {TableOf(1, {-5}), -4, 0, "signed comparison"},
        {cRankingTable(), 0, 0, "an empty table"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.table.FindRank(c.value), c.place) << c.what;
}

TEST(Ranking, InsertingShiftsThePlacesBelowAndDropsTheLast)
{
    // inserted: where the new entry stands, -1 when it ranks nowhere.
    struct Case { cRankingTable table; int value, inserted; std::vector<int> after; } cases[] = {
        {HundredDownTo81(), 90, 11, {100, 99, 98, 97, 96, 95, 94, 93, 92, 91, 90, 90, 89, 88, 87, 86, 85, 84, 83, 82}},
        {HundredDownTo81(), 81, -1, Values(HundredDownTo81())},
        {HundredDownTo81(), 200, 0, {200, 100, 99, 98, 97, 96, 95, 94, 93, 92, 91, 90, 89, 88, 87, 86, 85, 84, 83, 82}},
        {TableOf(0, {500, 600}), 600, 2, {500, 600, 600, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}},
        {TableOf(0, {500, 600}), 1, 0, {1, 500, 600, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}},
    };
    for (Case& c : cases) {
        c.table.Insert("ab", c.value);
        EXPECT_EQ(Values(c.table), c.after) << c.value;
        ASSERT_EQ(c.table.m_Entries.size(), 20u);
        for (std::size_t place = 0; place < 20; ++place)
            EXPECT_EQ(c.table.m_Entries[place].m_strName == "ab", static_cast<int>(place) == c.inserted) << c.value << " at " << place;
    }
}

TEST(Ranking, ANewSetSavesTheTwoThousandNinetySixBytesOfFiveEmptyTables)
{
    qbtest::cDataSettingsScope settings;
    cRankingData rankings;
    EXPECT_EQ(Orders(rankings), (std::vector<int>{1, 1, 0, 1, 1}));
    std::vector<RankingTableFields> tables(5);
    tables[2].largerWins = 0;
    const std::string expected = BuildRankingFile(tables);
    EXPECT_EQ(expected.size(), 2096u);
    EXPECT_EQ(qbtest::WriteImage(rankings), expected);
}

TEST(Ranking, ACurrentFileReadsAndWritesBackByteIdentical)
{
    qbtest::cDataSettingsScope settings;
    const std::string file = BuildRankingFile(qbtest::DistinctRankingTables());
    cRankingData rankings;
    ASSERT_EQ(ReadImage(rankings, file), 1);
    EXPECT_EQ(rankings.m_Tables[2].m_Entries[3].m_nValue, 1003);
    EXPECT_EQ(qbtest::WriteImage(rankings), file);
}

TEST(Ranking, EveryReadGivesFiveTablesOfTwentyPlaces)
{
    qbtest::cDataSettingsScope settings;
    auto tablesWithOrders = [](std::vector<int> orders, std::size_t places = 20) {
        std::vector<RankingTableFields> tables;
        for (int order : orders) {
            RankingTableFields table;
            table.largerWins = order;
            table.entries.assign(places, qbtest::RankingEntryFields{1, 7, "x"});
            tables.push_back(table);
        }
        return tables;
    };
    struct Case { std::uint32_t version; std::vector<int> fileOrders; std::size_t places; std::vector<int> orders; } cases[] = {
        {180, {0, 0, 1}, 20, {0, 0, 1, 1, 1}},     // an old file keeps its orders; HP and SP rank larger higher
        {180, {0, 0, 1, 0, 0}, 20, {0, 0, 1, 1, 1}},
        {180, {1}, 20, {1, 0, 0, 1, 1}},           // appended tables of an old file rank smaller higher
        {181, {0, 0, 1}, 20, {0, 0, 1, 1, 1}},     // a later file gets the missing kinds' own orders
        {181, {0, 0, 1, 0, 0}, 20, {0, 0, 1, 0, 0}},
        {692, {}, 20, {1, 1, 0, 1, 1}},
        {692, {0, 0, 0, 0, 0, 0, 0}, 20, {0, 0, 0, 0, 0}},  // surplus tables are dropped
        {692, {1, 1, 0, 1, 1}, 3, {1, 1, 0, 1, 1}},         // short tables are padded with free places
        {692, {1, 1, 0, 1, 1}, 25, {1, 1, 0, 1, 1}},        // long ones are cut
    };
    for (const Case& c : cases) {
        cRankingData rankings;
        ASSERT_EQ(ReadImage(rankings, BuildRankingFile(tablesWithOrders(c.fileOrders, c.places), c.version)), 1) << c.version;
        EXPECT_EQ(Orders(rankings), c.orders) << c.version << " with " << c.fileOrders.size() << " tables";
        for (std::size_t kind = 0; kind < rankings.m_Tables.size(); ++kind) {
            const cSafeVector<cRankingEntry>& entries = rankings.m_Tables[kind].m_Entries;
            ASSERT_EQ(entries.size(), 20u);
            const std::size_t used = kind < c.fileOrders.size() ? std::min<std::size_t>(c.places, 20) : 0;
            for (std::size_t place = 0; place < 20; ++place)
                EXPECT_EQ(entries[place].m_bUsed, place < used ? 1 : 0) << c.version << " kind " << kind << " place " << place;
        }
    }
}

TEST(Ranking, EachPlayModeHasItsOwnFileAndReplaysHaveNone)
{
    struct Case { int mode; const char* stage; bool made; const char* path; } cases[] = {
        {0, "data\\stg4\\abc.", true, "user_data\\story\\abc.rkg"},
        {1, "data\\stg4\\abc.", true, "user_data\\challenge\\abc.rkg"},
        {2, "abc.", true, "user_data\\free\\abc.rkg"},
        {2, "data\\ソ\\表.", true, "user_data\\free\\表.rkg"},  // trail bytes 0x5C are no separators
        {0, "abc", true, "user_data\\story\\abcrkg"},
        {3, "abc.", false, ""},
        {-1, "abc.", false, ""},
        {4, "abc.", false, ""},
    };
    for (const Case& c : cases) {
        std::string path;
        EXPECT_EQ(RankingFilePath(path, c.mode, c.stage), c.made) << c.mode;
        if (c.made) {
            EXPECT_EQ(path, c.path) << c.mode;
        }
    }
    std::string longPath;
    ASSERT_TRUE(RankingFilePath(longPath, 0, (std::string(400, 'a') + ".").c_str()));
    EXPECT_EQ(longPath.size(), 16u + 401u + 3u);
}

TEST(Ranking, LoadingAndSavingForAStageUseTheModesFileAndFallBackToTheDefaults)
{
    qbtest::cDataSettingsScope settings;
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    for (const char* sub : {"user_data/story", "user_data/challenge", "user_data/free"})
        std::filesystem::create_directories(folder.Path() / sub);
    const std::string file = BuildRankingFile(qbtest::DistinctRankingTables());
    folder.WriteFile("user_data/challenge/abc.rkg", file);

    cRankingData rankings;
    EXPECT_EQ(rankings.LoadForStage(1, "data\\stg4\\abc."), 1);
    EXPECT_EQ(rankings.m_Tables[0].m_Entries[0].m_nValue, 5000);
    EXPECT_EQ(rankings.LoadForStage(0, "data\\stg4\\abc."), 0);  // no story file
    EXPECT_EQ(qbtest::WriteImage(rankings), qbtest::WriteImage(*std::make_unique<cRankingData>()));

    ASSERT_EQ(rankings.LoadForStage(1, "abc."), 1);
    EXPECT_EQ(rankings.SaveForStage(2, "abc."), 1);
    EXPECT_EQ(folder.ReadFile("user_data/free/abc.rkg"), file);
    EXPECT_EQ(rankings.SaveForStage(3, "abc."), 0);
    EXPECT_EQ(rankings.LoadForStage(3, "abc."), 0);
    EXPECT_EQ(Orders(rankings), (std::vector<int>{1, 1, 0, 1, 1}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), std::filesystem::directory_iterator()), 1)
        << "replays write no file";

    // A damaged file gives the defaults and is kept aside.
    folder.WriteFile("user_data/story/abc.rkg", file.substr(0, 100));
    EXPECT_EQ(rankings.LoadForStage(0, "abc."), 0);
    EXPECT_TRUE(folder.Exists("user_data/story/abc.rkg.bad"));
    EXPECT_FALSE(folder.Exists("user_data/story/abc.rkg"));
}

TEST(Ranking, ASaveThatFailsAfterAnyNumberOfBytesKeepsTheOldFile)
{
    qbtest::cDataSettingsScope settings;
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    std::filesystem::create_directories(folder.Path() / "user_data/story");
    const std::string old = BuildRankingFile(qbtest::DistinctRankingTables());
    cRankingData rankings;
    rankings.m_Tables[0].Insert("new", 1);
    const std::size_t size = qbtest::WriteImage(rankings).size();
    for (std::size_t n = 0; n < size; n += (n < 64 ? 1 : 37)) {
        folder.WriteFile("user_data/story/s.rkg", old);
        plat::FailCommitsAfter(static_cast<std::int64_t>(n));
        const int saved = rankings.SaveForStage(0, "s.");
        plat::FailCommitsAfter(-1);
        EXPECT_EQ(saved, 0) << n;
        EXPECT_EQ(folder.ReadFile("user_data/story/s.rkg"), old) << n;
        EXPECT_FALSE(folder.Exists("user_data/story/s.rkg.tmp")) << n;
    }
}

TEST(Ranking, TimesReadAsMinutesSecondsAndHundredthsWithTheirSigns)
{
    struct Case { int hundredths; const char* text; } cases[] = {
        {0, "00:00.00"}, {12550, "02:05.50"}, {600000, "100:00.00"}, {5, "00:00.05"}, {359999, "59:59.99"},
        {-5, "00:00.-05"}, {-12550, "-02:-05.-50"}, {-6000, "-01:00.00"},
        {INT_MAX, "357913:56.47"}, {INT_MIN, "-357913:-56.-48"},
    };
    for (const Case& c : cases) {
        std::string text;
        FormatTime(text, c.hundredths);
        EXPECT_EQ(text, c.text) << c.hundredths;
    }
}
