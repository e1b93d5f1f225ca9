#pragma once
// Hand-built images of the world map, option and ranking files, written from their layout
// (block count and blocks, string count and strings, then the tail) and not by the runtime's
// writer.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/byte_builder.h"

namespace qbtest {

// Length + 1, then the text and its NUL; an empty text is the length 1 alone.
inline void PutRecordString(cByteBuilder& out, const std::string& text)
{
    out.U32(static_cast<std::uint32_t>(text.size() + 1));
    if (!text.empty()) out.Bytes(text).U8(0);
}

// A body of plain ints and strings with no tail.
inline void PutBody(cByteBuilder& out, const std::vector<int>& blocks, const std::vector<std::string>& strings)
{
    out.U32(static_cast<std::uint32_t>(blocks.size()));
    for (int value : blocks) out.I32(value);
    out.U32(static_cast<std::uint32_t>(strings.size()));
    for (const std::string& text : strings) PutRecordString(out, text);
}

struct WorldStageFields {
    std::vector<int> ints = std::vector<int>(11, 0);  // the eleven ints in file order
    std::string label;
    std::string stageFile;
};

struct WorldPointFields {
    int x = 0;
    int y = 0;
    std::string name;
    std::vector<WorldStageFields> stages = std::vector<WorldStageFields>(1);
};

struct WorldChipFields {
    int reserved = 0;
    int blocked = 0;
    int picture = 0;
    std::string reservedText;
    std::string name;
};

struct WorldMapFields {
    int width = 4;
    int height = 3;
    int pitch = 4;
    int pitchShift = 2;
    int startX = 1;
    int startY = 2;
    int backColor = 16;
    int picture = 1;
    std::string name = "ワールド";
    std::string pictureFile = "bmp\\picture\\地図.bmp";
    std::vector<WorldChipFields> chips = {{0, 1, 0, "", "壁"}, {7, 0, 3, "x", "道"}};
    std::vector<int> grid = std::vector<int>(12, 1);
    std::vector<WorldPointFields> points;
    std::vector<WorldPointFields> defaultPoints = std::vector<WorldPointFields>(1);
};

inline void PutWorldPoint(cByteBuilder& out, const WorldPointFields& point, std::uint32_t version)
{
    PutBody(out, {point.x, point.y}, {point.name});
    out.U32(static_cast<std::uint32_t>(point.stages.size()));
    for (const WorldStageFields& stage : point.stages) {
        std::vector<int> ints = stage.ints;
        if (version < 209) ints.resize(10);
        PutBody(out, ints, {stage.label, stage.stageFile});
    }
}

inline std::string BuildWorldMapFile(const WorldMapFields& map, std::uint32_t version = 692)
{
    cByteBuilder out;
    out.U32(version);
    PutBody(out, {map.width, map.height, map.pitch, map.pitchShift, map.startX, map.startY, map.backColor, map.picture},
            {map.name, map.pictureFile});
    out.U32(static_cast<std::uint32_t>(map.chips.size()));
    for (const WorldChipFields& chip : map.chips)
        PutBody(out, {chip.reserved, chip.blocked, chip.picture}, {chip.reservedText, chip.name});
    out.U32(static_cast<std::uint32_t>(map.grid.size()));
    for (int cell : map.grid) out.I32(cell);
    for (const auto* list : {&map.points, &map.defaultPoints}) {
        out.U32(static_cast<std::uint32_t>(list->size()));
        for (const WorldPointFields& point : *list) PutWorldPoint(out, point, version);
    }
    return out.Str();
}

inline std::string BuildOptionFile(int windowColor, int bgm, int volume, int rankingMode, const std::string& name,
                                   std::uint32_t version = 692)
{
    cByteBuilder out;
    out.U32(version);
    PutBody(out, {windowColor, bgm, volume, rankingMode}, {name});
    return out.Str();
}

struct RankingEntryFields {
    int used = 0;
    int value = 0;
    std::string name;
};

struct RankingTableFields {
    int largerWins = 1;
    std::vector<RankingEntryFields> entries = std::vector<RankingEntryFields>(20);
};

inline std::string BuildRankingFile(const std::vector<RankingTableFields>& tables, std::uint32_t version = 692)
{
    cByteBuilder out;
    out.U32(version);
    PutBody(out, {}, {});
    out.U32(static_cast<std::uint32_t>(tables.size()));
    for (const RankingTableFields& table : tables) {
        PutBody(out, {table.largerWins}, {});
        out.U32(static_cast<std::uint32_t>(table.entries.size()));
        for (const RankingEntryFields& entry : table.entries) PutBody(out, {entry.used, entry.value}, {entry.name});
    }
    return out.Str();
}

// Five tables of distinct used and free places, orders 1, 1, 0, 1, 1.
inline std::vector<RankingTableFields> DistinctRankingTables()
{
    std::vector<RankingTableFields> tables(5);
    for (int kind = 0; kind < 5; ++kind) {
        tables[static_cast<std::size_t>(kind)].largerWins = kind == 2 ? 0 : 1;
        for (int place = 0; place < 20 - kind; ++place)
            tables[static_cast<std::size_t>(kind)].entries[static_cast<std::size_t>(place)] =
                RankingEntryFields{1, kind == 2 ? 1000 + place : 5000 - 10 * place, place % 3 ? "あい" : ""};
    }
    return tables;
}

// A map with points, stage entries and every field distinct.
inline WorldMapFields DistinctWorldMap()
{
    WorldMapFields map;
    WorldPointFields point;
    point.x = 3;
    point.y = 2;
    point.name = "城";
    point.stages.resize(2);
    for (int i = 0; i < 11; ++i) point.stages[0].ints[static_cast<std::size_t>(i)] = i + 1;
    point.stages[0].label = "一";
    point.stages[0].stageFile = "data\\stg4\\城.stg4_100";
    point.stages[1].ints[10] = 500;
    map.points = {point, WorldPointFields{1, 0, "", {}}};
    map.defaultPoints[0].name = "デフォルト";
    for (std::size_t i = 0; i < map.grid.size(); ++i) map.grid[i] = static_cast<int>(i % 2);
    return map;
}

}  // namespace qbtest
