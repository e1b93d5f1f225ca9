// The world map: a new map, resizing, what reading a file keeps and mends, and which stage
// entry a point offers.
#include <gtest/gtest.h>

#include <climits>

#include "data/world_map_data.h"
#include "tests/data/player_file_builders.h"
#include "tests/data/record_test_support.h"

using qbtest::BuildWorldMapFile;
using qbtest::ReadImage;
using qbtest::WorldMapFields;
using qbtest::WorldPointFields;

namespace {

WorldPointFields PointAt(int x, int y, const std::string& name)
{
    WorldPointFields point;
    point.x = x;
    point.y = y;
    point.name = name;
    return point;
}

}  // namespace

TEST(WorldMap, ANewMapIsTwentyByFifteenWithTenChipsAndTheDefaultPoint)
{
    qbtest::cDataSettingsScope settings;
    const cWorldMapData map;
    EXPECT_EQ(map.m_nWidth, 20);
    EXPECT_EQ(map.m_nHeight, 15);
    EXPECT_EQ(map.m_nPitch, 32);
    EXPECT_EQ(map.m_nPitchShift, 5);
    EXPECT_EQ(map.m_Grid, cSafeVector<int>(480, 0));
    EXPECT_EQ(map.m_nStartX, 9);
    EXPECT_EQ(map.m_nStartY, 7);
    EXPECT_EQ(map.m_nBackColor, 16);
    EXPECT_EQ(map.m_strName, "ワールド");
    ASSERT_EQ(map.m_Chips.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        const cWorldChipData& chip = map.m_Chips[static_cast<std::size_t>(i)];
        EXPECT_EQ(chip.m_nPicture, i);
        EXPECT_EQ(chip.m_bBlocked, i < 5 ? 1 : 0) << i;
        EXPECT_EQ(chip.m_strName, i < 5 ? "通行不可" : "通行可") << i;
    }
    EXPECT_TRUE(map.m_Points.empty());
    ASSERT_EQ(map.m_DefaultPoints.size(), 1u);
    EXPECT_EQ(map.m_DefaultPoints[0].m_strName, "デフォルト");
    EXPECT_EQ(map.m_DefaultPoints[0].m_Stages.size(), 1u);
}

TEST(WorldMap, SetSizeKeepsTheCellsBothSizesHoldAndRefusesSizesBelowOne)
{
    qbtest::cDataSettingsScope settings;
    struct Case { int width, height, result, pitch, shift; } cases[] = {
        {33, 2, 1, 64, 6}, {16, 20, 1, 16, 4}, {1, 1, 1, 1, 0}, {20, 15, 1, 32, 5},
        {0, 5, 0, 32, 5}, {5, 0, 0, 32, 5}, {-1, 5, 0, 32, 5}, {5, INT_MIN, 0, 32, 5},
        {INT_MAX, 1, 0, 32, 5}, {4096, 4096, 0, 32, 5},  // more cells than a map may hold
    };
    for (const Case& c : cases) {
        cWorldMapData map;
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 20; ++x) map.m_Grid[static_cast<std::size_t>(y * 32 + x)] = 100 * y + x + 1;
        const cSafeVector<int> before = map.m_Grid;
        EXPECT_EQ(map.SetSize(c.width, c.height), c.result) << c.width << " x " << c.height;
        EXPECT_EQ(map.m_nPitch, c.pitch) << c.width;
        EXPECT_EQ(map.m_nPitchShift, c.shift) << c.width;
        if (!c.result) {
            EXPECT_EQ(map.m_Grid, before) << c.width << " x " << c.height;
            EXPECT_EQ(map.m_nWidth, 20);
            continue;
        }
        ASSERT_EQ(map.m_Grid.size(), static_cast<std::size_t>(c.height * c.pitch));
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.pitch; ++x) {
                const int expected = (y < 15 && x < 20 && x < c.width) ? 100 * y + x + 1 : 0;
                EXPECT_EQ(map.m_Grid[static_cast<std::size_t>(y * c.pitch + x)], expected)
                    << c.width << " x " << c.height << " at " << x << ", " << y;
            }
    }
}

TEST(WorldMap, ACurrentFileReadsAndWritesBackByteIdentical)
{
    qbtest::cDataSettingsScope settings;
    const std::string file = BuildWorldMapFile(qbtest::DistinctWorldMap());
    cWorldMapData map;
    ASSERT_EQ(ReadImage(map, file), 1);
    ASSERT_EQ(map.m_Points.size(), 2u);
    EXPECT_EQ(map.m_Points[0].m_Stages[0].m_nMinimumTotal, 11);
    EXPECT_EQ(map.m_Points[0].m_Stages[0].m_strStageFile, "data\\stg4\\城.stg4_100");
    EXPECT_TRUE(map.m_Points[1].m_Stages.empty());
    EXPECT_EQ(qbtest::WriteImage(map), file);
}

TEST(WorldMap, StageEntriesBeforeVersion209HaveNoMinimumTotal)
{
    qbtest::cDataSettingsScope settings;
    struct Case { std::uint32_t version; int minimumTotal; } cases[] = {{208, 0}, {209, 11}, {692, 11}};
    for (const Case& c : cases) {
        cWorldMapData map;
        ASSERT_EQ(ReadImage(map, BuildWorldMapFile(qbtest::DistinctWorldMap(), c.version)), 1) << c.version;
        const cWorldStageData& stage = map.m_Points[0].m_Stages[0];
        EXPECT_EQ(stage.m_nMinimumTotal, c.minimumTotal) << c.version;
        EXPECT_EQ(stage.m_nConditionOperator, 10) << c.version;
        EXPECT_EQ(stage.m_strLabel, "一") << c.version;
    }
}

TEST(WorldMap, ReadingKeepsTheStartAndThePointsOnTheMap)
{
    qbtest::cDataSettingsScope settings;
    struct Case { int startX, startY, keptX, keptY; } cases[] = {
        {4, 2, 3, 2}, {1, 3, 1, 2}, {-1, -5, 0, 0}, {INT_MIN, INT_MAX, 0, 2}, {3, 0, 3, 0},
    };
    for (const Case& c : cases) {
        WorldMapFields fields;
        fields.startX = c.startX;
        fields.startY = c.startY;
        fields.points = {PointAt(4, 0, "at the width"), PointAt(-1, 1, "left"), PointAt(3, 2, "corner"),
                         PointAt(0, 3, "at the height"), PointAt(0, -1, "above"), PointAt(0, 0, "origin")};
        cWorldMapData map;
        ASSERT_EQ(ReadImage(map, BuildWorldMapFile(fields)), 1);
        EXPECT_EQ(map.m_nStartX, c.keptX) << c.startX;
        EXPECT_EQ(map.m_nStartY, c.keptY) << c.startY;
        ASSERT_EQ(map.m_Points.size(), 2u);
        EXPECT_EQ(map.m_Points[0].m_strName, "corner");
        EXPECT_EQ(map.m_Points[1].m_strName, "origin");
    }
}

TEST(WorldMap, TheGridFollowsTheWidthWhateverPitchTheFileStored)
{
    qbtest::cDataSettingsScope settings;
    struct Case { int pitch, shift; std::size_t cells; } cases[] = {
        {4, 2, 12}, {4, 40, 12}, {8, 3, 12}, {4, -1, 12}, {4, 2, 5}, {4, 2, 100}, {4, 2, 0},
    };
    for (const Case& c : cases) {
        WorldMapFields fields;
        fields.pitch = c.pitch;
        fields.pitchShift = c.shift;
        fields.grid.assign(c.cells, 1);
        cWorldMapData map;
        ASSERT_EQ(ReadImage(map, BuildWorldMapFile(fields)), 1) << c.shift;
        EXPECT_EQ(map.m_nPitch, 4) << c.shift;
        EXPECT_EQ(map.m_nPitchShift, 2) << c.shift;
        ASSERT_EQ(map.m_Grid.size(), 12u) << c.cells;
        for (std::size_t i = 0; i < 12; ++i) EXPECT_EQ(map.m_Grid[i], i < c.cells ? 1 : 0) << c.cells << " cell " << i;
    }
}

TEST(WorldMap, AMapWithoutCellsOrTooLargeToHoldIsRefused)
{
    qbtest::cDataSettingsScope settings;
    struct Case { int width, height; } cases[] = {{0, 3}, {4, 0}, {-4, 3}, {4, INT_MIN}, {INT_MAX, 1}, {4096, 4096}};
    for (const Case& c : cases) {
        WorldMapFields fields;
        fields.width = c.width;
        fields.height = c.height;
        cWorldMapData map;
        map.m_strName = "kept";
        EXPECT_EQ(ReadImage(map, BuildWorldMapFile(fields)), 0) << c.width << " x " << c.height;
        EXPECT_EQ(map.m_strName, "kept");
        EXPECT_EQ(map.m_nWidth, 20);
    }
}

TEST(WorldMap, CellsAndPointsAreFoundWithUnknownChipsDrawnAsChipZero)
{
    qbtest::cDataSettingsScope settings;
    WorldMapFields fields;
    fields.grid = {1, 0, 2, -1, 1, 1, 1, 1, 1, 1, 1, 1};
    fields.points = {PointAt(2, 1, "first"), PointAt(2, 1, "second")};
    cWorldMapData map;
    ASSERT_EQ(ReadImage(map, BuildWorldMapFile(fields)), 1);
    struct Case { int x, y, chip; } cases[] = {
        {0, 0, 1}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {3, 2, 1}, {4, 0, 0}, {-1, 0, 0}, {0, 3, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(map.ChipAt(c.x, c.y), c.chip) << c.x << ", " << c.y;
    ASSERT_NE(map.FindPointAt(2, 1), nullptr);
    EXPECT_EQ(map.FindPointAt(2, 1)->m_strName, "first");
    EXPECT_EQ(map.FindPointAt(1, 2), nullptr);
}

TEST(WorldMap, APointOffersItsFirstStageEntryWhoseConditionsHold)
{
    // Entry 0 asks for a switch, entry 1 for a variable condition, entry 2 for a best total.
    cWorldPointData point;
    point.m_Stages.resize(3);
    point.m_Stages[0].m_nRequiredSwitch = 5;
    point.m_Stages[1].m_nConditionVariable = 2;
    point.m_Stages[1].m_nConditionValue = 3;
    point.m_Stages[2].m_nMinimumTotal = 100;
    const int switchesOn5[6] = {1, 0, 0, 0, 0, 1};
    const int switchesOff[6] = {1, 0, 0, 0, 0, 0};
    struct Case { std::span<const int> switches; int variable, op, total, offered; } cases[] = {
        {switchesOn5, 0, 0, 0, 0},
        {std::span<const int>(switchesOn5).first(5), 3, 0, 0, 1},  // switch 5 beyond the list is off
        {switchesOff, 3, 0, 0, 1}, {switchesOff, 4, 0, 0, -1}, {switchesOff, 4, 1, 0, 1},
        {switchesOff, 3, 2, 0, 1}, {switchesOff, 2, 2, 100, 2}, {switchesOff, 3, 3, 0, 1},
        {switchesOff, 4, 3, 99, -1}, {switchesOff, 4, 4, 0, 1}, {switchesOff, 3, 4, 0, -1},
        {switchesOff, 2, 5, 0, 1}, {switchesOff, 9, 6, 0, 1}, {switchesOff, 10, 6, 0, -1},
        {switchesOff, 10, 7, 0, 1}, {switchesOff, 9, 7, 0, -1}, {switchesOff, 3, 8, 0, -1},
    };
    for (const Case& c : cases) {
        point.m_Stages[1].m_nConditionOperator = c.op;
        const int variables[3] = {0, 0, c.variable};
        const WORLDSTAGESTATE state{c.switches, variables, c.total};
        const cWorldStageData* offered = point.FindOfferedStage(state);
        const int index = offered ? static_cast<int>(offered - point.m_Stages.data()) : -1;
        EXPECT_EQ(index, c.offered) << "variable " << c.variable << " op " << c.op << " total " << c.total;
    }
    // The multiple tests with a value of 0, and INT_MIN by -1, which must not trap.
    point.m_Stages[1].m_nConditionValue = 0;
    const int variables[3] = {0, 0, 7};
    for (int op : {6, 7}) {
        point.m_Stages[1].m_nConditionOperator = op;
        const cWorldStageData* offered = point.FindOfferedStage(WORLDSTAGESTATE{switchesOff, variables, 0});
        EXPECT_EQ(offered ? offered - point.m_Stages.data() : -1, op == 6 ? 1 : -1) << op;
    }
    point.m_Stages[1].m_nConditionValue = -1;
    const int minimum[3] = {0, 0, INT_MIN};
    point.m_Stages[1].m_nConditionOperator = 6;
    EXPECT_NE(point.FindOfferedStage(WORLDSTAGESTATE{switchesOff, minimum, 0}), nullptr);
    cWorldPointData empty;
    empty.m_Stages.clear();
    EXPECT_EQ(empty.FindOfferedStage(WORLDSTAGESTATE{switchesOff, variables, 0}), nullptr);
}

TEST(WorldMap, StagesAreFoundByTheKeyOfTheirFile)
{
    struct Case { const char* file; const char* key; } cases[] = {
        {"data\\stg4\\sample.stg4_001", "data\\stg4\\sample."},
        {"data\\stg4\\sample-1.stg4_001", "data\\stg4\\sample."},
        {"data\\stg4\\ソ-12.stg4", "data\\stg4\\ソ."},
        {"sample", "sample."},
        {"", "."},
    };
    cWorldMapData map;
    map.m_Points.resize(2);
    for (const Case& c : cases) {
        EXPECT_EQ(WorldStageKey(c.file), c.key) << c.file;
        map.m_Points[1].m_Stages.back().m_strStageFile = c.file;
        EXPECT_EQ(map.HasStage(c.key), 1) << c.file;
        EXPECT_EQ(map.HasStage(std::string(c.key) + "x"), 0) << c.file;
    }
    map.m_DefaultPoints[0].m_Stages[0].m_strStageFile = "other.stg4";
    EXPECT_EQ(map.HasStage("other."), 0) << "the second point list holds no stages of the map";
}
