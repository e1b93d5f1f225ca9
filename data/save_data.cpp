#include "data/save_data.h"

#include <algorithm>

#include "data/system_data.h"
#include "data/world_map_data.h"
#include "shell/game_arithmetic.h"

namespace {

// The versions that brought fields in, in the order the format grew.
constexpr DWORD kStageBgmLoopVersion = 166;
constexpr DWORD kAutoSaveVersion = 169;
constexpr DWORD kResults45Version = 182;
constexpr DWORD kGaveUpVersion = 190;
constexpr DWORD kReturnPositionVersion = 191;
constexpr DWORD kMapStateVersion = 194;
constexpr DWORD kCarryFlagsVersion = 501;
constexpr DWORD kFollowUpVersion = 678;
constexpr DWORD kFollowUpCVersion = 679;

// Pads a list read from a file to what the game indexes; never cuts it.
void PadTo(cSafeVector<int>& list, std::size_t size)
{
    if (list.size() < size) list.resize(size, 0);
}

}  // namespace

void cCarryStatusData::RegisterFields(DWORD)
{
    ClearTables();
    AddField4(&m_nHp, 1, "nHp");
    AddField4(&m_nSp, 1, "nSp");
    AddField4(&m_nTimeLeft, 1, "nTimeLeft");
    AddField4(&m_nLives, 1, "nLives");
    AddField4(&m_nStageBgm, 1, "nStageBgm");
    AddRecord(&m_Chara, 1, "Chara");
}

void cStageScoreData::RegisterFields(DWORD)
{
    ClearTables();
    AddField4(&m_nValue, 1, "nValue");
    AddString(&m_strStageKey, "strStageKey");
}

void cChallengeStageData::RegisterFields(DWORD)
{
    ClearTables();
    AddField4(&m_bCleared, 1, "bCleared");
    AddField4(&m_nBest, 1, "nBest");
}

cSaveData::cSaveData()
{
    Reset();
}

void cSaveData::RegisterFields(DWORD version)
{
    ClearTables();
    AddField4(&m_bCarryActive, 1, "bCarryActive");
    AddField4(&m_nMapX, 1, "nMapX");
    AddField4(&m_nMapY, 1, "nMapY");
    AddField4(&m_nEnteredPoint, 1, "nEnteredPoint");
    AddField4(&m_nRound, 1, "nRound");
    AddField4(&m_nClearSwitch, 1, "nClearSwitch");
    AddField4(&m_nSeriesNumber, 1, "nSeriesNumber");
    AddField4(&m_nStartLives, 1, "nStartLives");
    AddField4(&m_nLives, 1, "nLives");
    AddField4(&m_nScore, 1, "nScore");
    AddField4(&m_nResult1, 1, "nResult1");
    AddField4(&m_nBestTotal, 1, "nBestTotal");
    AddField4(&m_nResult2, 1, "nResult2");
    AddField4(&m_nResult3, 1, "nResult3");
    if (version >= kResults45Version) AddField4(&m_nResult4, 1, "nResult4");
    if (version >= kResults45Version) AddField4(&m_nResult5, 1, "nResult5");
    AddField4(&m_bSeries, 1, "bSeries");
    AddField4(&m_nStageBgm, 1, "nStageBgm");
    if (version >= kStageBgmLoopVersion) AddField4(&m_bStageBgmLoop, 1, "bStageBgmLoop");
    if (version >= kMapStateVersion) AddField4(&m_nMapState, 1, "nMapState");
    if (version >= kGaveUpVersion) AddField4(&m_bGaveUp, 1, "bGaveUp");
    if (version >= kReturnPositionVersion) AddField4(&m_nReturnX, 1, "nReturnX");
    if (version >= kReturnPositionVersion) AddField4(&m_nReturnY, 1, "nReturnY");
    AddField4(&m_nStageNumber, 1, "nStageNumber");
    AddField4(&m_nSaveSlot, 1, "nSaveSlot");
    if (version >= kAutoSaveVersion) AddField4(&m_bAutoSave, 1, "bAutoSave");
    AddField4(&m_bRankingView, 1, "bRankingView");
    AddField4(&m_nRankingKind, 1, "nRankingKind");
    if (version >= kFollowUpVersion) AddField4(&m_bFollowUp, 1, "bFollowUp");
    if (version >= kFollowUpVersion) AddField4(&m_nFollowUpA, 1, "nFollowUpA");
    if (version >= kFollowUpVersion) AddField4(&m_nFollowUpB, 1, "nFollowUpB");
    if (version >= kFollowUpCVersion) AddField4(&m_nFollowUpC, 1, "nFollowUpC");
    AddString(&m_strStageKey, "strStageKey");
    AddString(&m_strPlayerName, "strPlayerName");
    // The save time is stored as its eight 16-bit values.
    AddTailValues(reinterpret_cast<WORD*>(&m_SaveTime), 8, "SaveTime");
    if (version >= kCarryFlagsVersion) AddValueList(&m_CarryFlags, "CarryFlags");
    AddRecordList(&m_CarryStatuses, "CarryStatuses");
    AddRecordList(&m_StageValues, "StageValues");
    AddRecordList(&m_ChallengeStages, "ChallengeStages");
    AddValueList(&m_Switches, "Switches");
    AddValueList(&m_Variables, "Variables");
}

void cSaveData::Reset()
{
    Clear();
    m_CarryFlags.assign(kCarryGroups, 0);
    m_CarryStatuses.clear();
    m_CarryStatuses.emplace_back();
    m_Switches.assign(kSwitches, 0);
    m_Switches[0] = 1;
    m_Variables.assign(kCommonVariables, 0);
    m_StageValues.clear();
    m_ChallengeStages.clear();
    m_nStageNumber = 1;
    m_nSaveSlot = -1;
    m_strPlayerName = "aaa";
}

void cSaveData::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    if (reader.Failed()) return;
    const DWORD version = reader.Version();
    if (version < g_nDataVersion) {
        if (version < kStageBgmLoopVersion) m_bStageBgmLoop = 1;
        if (version < kAutoSaveVersion) m_bAutoSave = 0;
        if (version < kResults45Version) m_nResult4 = m_nResult5 = 0;
        if (version < kGaveUpVersion) m_bGaveUp = 0;
        if (version < kReturnPositionVersion) m_nReturnX = m_nReturnY = 0;
        if (version < kMapStateVersion) m_nMapState = 0;
        if (version < kCarryFlagsVersion) m_CarryFlags.assign(kCarryGroups, 1);
    }
    // The game indexes these lists without looking at their length.
    PadTo(m_CarryFlags, kCarryGroups);
    PadTo(m_Switches, kSwitches);
    PadTo(m_Variables, kCommonVariables);
    if (m_CarryStatuses.empty()) m_CarryStatuses.emplace_back();
    Normalize();
}

void cSaveData::Write(cDataWriter& writer)
{
    Normalize();
    cDataRecord::Write(writer);
}

void cSaveData::Normalize()
{
    const cWorldMapData& map = g_WorldMapData;
    auto onMap = [&map](int x, int y) { return x >= 0 && y >= 0 && x < map.m_nWidth && y < map.m_nHeight; };
    // Each coordinate off the map takes the start's, as the world map would place a new game.
    if (m_nMapX < 0 || m_nMapX >= map.m_nWidth) m_nMapX = map.m_nStartX;
    if (m_nMapY < 0 || m_nMapY >= map.m_nHeight) m_nMapY = map.m_nStartY;
    if (!onMap(m_nReturnX, m_nReturnY)) {
        m_nReturnX = map.m_nStartX;
        m_nReturnY = map.m_nStartY;
    }
    const int challengeStages = std::max(g_SystemData.m_nChallengeStages, 0);
    m_ChallengeStages.resize(static_cast<std::size_t>(challengeStages));
    m_nStageNumber = std::max(std::min(m_nStageNumber, challengeStages), 1);
    if (m_nSaveSlot < -1 || m_nSaveSlot >= kSaveSlots) m_nSaveSlot = -1;
    m_nRankingKind = std::clamp(m_nRankingKind, 0, 4);
}

std::string StageKeyOf(const char* path, bool* series)
{
    const std::string text = path ? path : "";
    if (series) *series = false;
    // '-', '1' and '.' are below 0x40, so none can be the second byte of a double-byte
    // character: a plain byte search finds only real ones.
    for (std::size_t i = text.size(); i >= 2; --i) {
        if (text[i - 2] == '-' && text[i - 1] == '1') {
            if (series) *series = true;
            return text.substr(0, i - 2) + ".";
        }
    }
    const std::size_t dot = text.rfind('.');
    return dot == std::string::npos ? std::string() : text.substr(0, dot + 1);
}

void cSaveData::SetStageFile(const char* path)
{
    bool series = false;
    m_strStageKey = StageKeyOf(path, &series);
    m_bSeries = series ? 1 : 0;
}

// The best values and their total come from the save as stored, so any of them may be at an
// end of the int range: the sums wrap as 32-bit words, as the game's arithmetic does.
void cSaveData::RecordStageValue(const std::string& key, int value)
{
    for (cStageScoreData& entry : m_StageValues) {
        if (entry.m_strStageKey != key) continue;
        if (entry.m_nValue < value) {
            m_nBestTotal = WrapAdd(m_nBestTotal, WrapSub(value, entry.m_nValue));
            entry.m_nValue = value;
        }
        return;
    }
    m_StageValues.emplace_back();
    m_StageValues.back().m_strStageKey = key;
    m_StageValues.back().m_nValue = value;
    m_nBestTotal = WrapAdd(m_nBestTotal, value);
}

int cSaveData::GetStageValue(const std::string& key) const
{
    for (const cStageScoreData& entry : m_StageValues) {
        if (entry.m_strStageKey == key) return entry.m_nValue;
    }
    return 0;
}

void cSaveData::RecountTotal()
{
    m_nBestTotal = 0;
    for (const cStageScoreData& entry : m_StageValues) {
        if (g_WorldMapData.HasStage(entry.m_strStageKey)) m_nBestTotal = WrapAdd(m_nBestTotal, entry.m_nValue);
    }
}

void cSaveData::SaveStageStart()
{
    m_StartVariables = m_Variables;
    m_nStartLivesAtStageStart = m_nLives;
    m_nStartResult1 = m_nResult1;
}

void cSaveData::RestoreStageStart(int full, int playMode, bool testPlay)
{
    if (full) {
        m_Variables = m_StartVariables;
        m_nLives = m_nStartLivesAtStageStart;
    } else {
        const cSystemData& system = g_SystemData;
        const int byMode[kPlayModes] = {system.m_bRetryRestoreStory, system.m_bRetryRestoreChallenge, system.m_bRetryRestoreFree, 1};
        const bool restore = testPlay ? system.m_bRetryRestoreTest != 0
                                      : (playMode >= 0 && playMode < kPlayModes && byMode[playMode] != 0);
        if (restore) m_Variables = m_StartVariables;
    }
    PadTo(m_Variables, kCommonVariables);
    m_nResult1 = m_nStartResult1;
}

void cSaveData::ClearStageCounters()
{
    m_nResult1 = m_nResult2 = m_nResult3 = m_nResult4 = m_nResult5 = 0;
}

void cSaveData::StartNextRound()
{
    m_nRound = WrapAdd(m_nRound, 1);
    std::fill(m_Switches.begin(), m_Switches.end(), 0);
    m_nMapX = g_WorldMapData.m_nStartX;
    m_nMapY = g_WorldMapData.m_nStartY;
}

void cSaveData::StepRankingKind(int mode, int steps)
{
    const cSafeVector<BYTE>& flags = g_SystemData.m_ModeResults.At(mode).m_ValueFlags;
    auto on = [&flags](int kind) { return static_cast<std::size_t>(kind) < flags.size() && flags[static_cast<std::size_t>(kind)] != 0; };
    int kindsOn = 0;
    for (int kind = 0; kind < 5; ++kind) kindsOn += on(kind) ? 1 : 0;
    if (kindsOn == 0) return;
    int kind = std::clamp(m_nRankingKind, 0, 4);
    auto step = [&kind](int by) { kind = (kind + by + 5) % 5; };
    const long long magnitude = steps < 0 ? -static_cast<long long>(steps) : steps;
    if (magnitude == 0) {
        while (!on(kind)) step(1);
    } else {
        // After the first step the kind is on, and every kindsOn steps come back to it, so
        // a huge count ends as quickly.
        const long long count = 1 + (magnitude - 1) % kindsOn;
        for (long long i = 0; i < count; ++i) {
            do step(steps > 0 ? 1 : -1);
            while (!on(kind));
        }
    }
    m_nRankingKind = kind;
}
