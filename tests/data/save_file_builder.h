#pragma once
// Hand-built save files (story slots, the challenge file) at any version, from the layout:
// the body's fields of that version, the stage key and player name, the 16-byte save time,
// the carry flags from version 501, then the counted lists.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/data/player_file_builders.h"

namespace qbtest {

// The body fields in file order with the version that brought each in.
struct SaveFieldInfo {
    const char* name;
    std::uint32_t since;
};

inline constexpr SaveFieldInfo kSaveFields[] = {
    {"bCarryActive", 0}, {"nMapX", 0}, {"nMapY", 0}, {"nEnteredPoint", 0}, {"nRound", 0}, {"nClearSwitch", 0},
    {"nSeriesNumber", 0}, {"nStartLives", 0}, {"nLives", 0}, {"nScore", 0}, {"nResult1", 0}, {"nBestTotal", 0},
    {"nResult2", 0}, {"nResult3", 0}, {"nResult4", 182}, {"nResult5", 182}, {"bSeries", 0}, {"nStageBgm", 0},
    {"bStageBgmLoop", 166}, {"nMapState", 194}, {"bGaveUp", 190}, {"nReturnX", 191}, {"nReturnY", 191},
    {"nStageNumber", 0}, {"nSaveSlot", 0}, {"bAutoSave", 169}, {"bRankingView", 0}, {"nRankingKind", 0},
    {"bFollowUp", 678}, {"nFollowUpA", 678}, {"nFollowUpB", 678}, {"nFollowUpC", 679},
};
inline constexpr int kSaveFieldCount = 32;

inline int SaveFieldIndex(const std::string& name)
{
    for (int i = 0; i < kSaveFieldCount; ++i)
        if (name == kSaveFields[i].name) return i;
    return -1;
}

struct SaveFields {
    std::vector<int> values = std::vector<int>(kSaveFieldCount, 0);
    std::string stageKey;
    std::string playerName = "aaa";
    std::vector<std::uint16_t> saveTime = {2026, 12, 2, 8, 19, 5, 30, 250};
    std::vector<int> carryFlags = std::vector<int>(25, 0);
    std::vector<std::string> carryBodies;  // carried-status bodies, each whole
    std::vector<std::pair<std::string, int>> stageValues;
    std::vector<std::pair<int, int>> challenges;
    std::vector<int> switches = std::vector<int>(1000, 0);
    std::vector<int> variables = std::vector<int>(256, 0);

    int& operator[](const char* name) { return values[static_cast<std::size_t>(SaveFieldIndex(name))]; }
};

// A carried-status body: its five ints, no strings, then a chara body given whole.
inline std::string CarryStatusBody(const std::vector<int>& ints, const std::string& charaBody)
{
    cByteBuilder out;
    PutBody(out, ints, {});
    out.Bytes(charaBody);
    return out.Str();
}

inline std::string BuildSaveFile(const SaveFields& save, std::uint32_t version = 692)
{
    cByteBuilder out;
    out.U32(version);
    std::vector<int> fields;
    for (int i = 0; i < kSaveFieldCount; ++i)
        if (version >= kSaveFields[i].since) fields.push_back(save.values[static_cast<std::size_t>(i)]);
    PutBody(out, fields, {save.stageKey, save.playerName});
    for (std::uint16_t value : save.saveTime) out.U16(value);
    if (version >= 501) {
        out.U32(static_cast<std::uint32_t>(save.carryFlags.size()));
        for (int flag : save.carryFlags) out.I32(flag);
    }
    out.U32(static_cast<std::uint32_t>(save.carryBodies.size()));
    for (const std::string& body : save.carryBodies) out.Bytes(body);
    out.U32(static_cast<std::uint32_t>(save.stageValues.size()));
    for (const auto& [key, value] : save.stageValues) PutBody(out, {value}, {key});
    out.U32(static_cast<std::uint32_t>(save.challenges.size()));
    for (const auto& [cleared, best] : save.challenges) PutBody(out, {cleared, best}, {});
    for (const auto* list : {&save.switches, &save.variables}) {
        out.U32(static_cast<std::uint32_t>(list->size()));
        for (int value : *list) out.I32(value);
    }
    return out.Str();
}

}  // namespace qbtest
