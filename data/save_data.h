#pragma once
// The progress of a game in play: lives and score, the stage's counters and results, the
// world-map position, switches and common variables, best values, challenge records and the
// hero statuses carried from stage to stage. Stored in the story slots
// "user_data\story\Story01.dat" to "Story99.dat", in "user_data\challenge\Challenge.dat", and
// in replay files.
#include <string>

#include "data/chara_data.h"
#include "data/data_record.h"
#include "platform/os/windows_types.h"

struct DDSURFACEDATA;

constexpr int kSaveSlots = 99;
constexpr int kCarryGroups = 25;
constexpr int kSwitches = 1000;
constexpr int kCommonVariables = 256;
constexpr int kUnlimitedLives = 999999;

// The statuses carried for one player.
class cCarryStatusData : public cDataRecordOf<cCarryStatusData> {
public:
    void RegisterFields(DWORD version) override;

    cCharaData m_Chara;
    int m_nHp = 0;
    int m_nSp = 0;
    int m_nTimeLeft = 0;
    int m_nLives = 0;
    int m_nStageBgm = 0;
};

// The best result 1 reached in one stage.
class cStageScoreData : public cDataRecordOf<cStageScoreData> {
public:
    void RegisterFields(DWORD version) override;

    std::string m_strStageKey;
    int m_nValue = 0;
};

// One challenge stage.
class cChallengeStageData : public cDataRecordOf<cChallengeStageData> {
public:
    void RegisterFields(DWORD version) override;

    int m_bCleared = 0;
    int m_nBest = 0;
};

class cSaveData : public cDataRecordOf<cSaveData> {
public:
    cSaveData();
    void RegisterFields(DWORD version) override;
    // The body, the upgrades of older files, the lists padded to what the game indexes, then
    // Normalize.
    void Read(cDataReader& reader) override;
    void Write(cDataWriter& writer) override;

    // A new game.
    void Reset();
    // In line with the loaded world map and System data: the map and return positions on the
    // map, one challenge record per challenge stage, the stage number, save slot and ranking
    // kind in range.
    void Normalize();

    // Saves to a story slot (0 to 98) with the time of the save: 1; 0 when the file could not
    // be written, with the old file, the save time and the slot's row unchanged.
    int SaveSlot(int slot);
    // Loads a story slot: 1; 0 with the record unchanged when the file is missing or damaged
    // (a damaged one is kept aside).
    int LoadSlot(int slot);
    // Loads "user_data\challenge\Challenge.dat" as LoadSlot loads a slot.
    int LoadChallenge();
    // Saves "user_data\challenge\Challenge.dat": 1, or 0 with the old file kept.
    int SaveChallenge();
    // Challenge stage n (from 1) cleared with result 1: the record and the open stages.
    void RecordChallengeClear(int stage);

    // The stage key of a stage file and its series flag.
    void SetStageFile(const char* path);
    void RecordStageValue(const std::string& key, int value);
    int GetStageValue(const std::string& key) const;
    // The total of the best values of the stages the world map still holds.
    void RecountTotal();

    void SaveStageStart();
    // A retry (full 0) or a continue (full 1) in a play mode; testPlay: run from the editor.
    void RestoreStageStart(int full, int playMode, bool testPlay);
    void ClearStageCounters();
    void StartNextRound();
    void StepRankingKind(int mode, int steps);

    // The carry-over of hero statuses between stages (group k: entry k of the System data's
    // carry flags). a, b, c: the hero's running chara effect.
    void StoreHeroStatus(int player, const cCharaData& hero, int hp, int sp, int a, int b, int c, int timeLeft,
                         int lives, int stageBgm);
    // Restores the carried groups into the hero; timeLimit and stageBgm (either may be null)
    // are the loaded stage's.
    void RestoreHeroStatus(int player, cCharaData& hero, int* timeLimit, int* stageBgm);
    void RestoreExtraStatus(int player, int* hp, int* sp);
    void ClearCarryFlags();

    int m_bCarryActive = 0;
    cSafeVector<int> m_CarryFlags;
    cSafeVector<cCarryStatusData> m_CarryStatuses;
    int m_nMapX = 0;
    int m_nMapY = 0;
    int m_nEnteredPoint = 0;  // stored as read; the world map sets its point before a clear reads it
    cSafeVector<int> m_Switches;
    int m_nRound = 0;
    cSafeVector<int> m_Variables;
    std::string m_strStageKey;
    int m_nClearSwitch = 0;   // story: the switch a clear sets; challenge: the stage number
    int m_nSeriesNumber = 0;
    int m_nStartLives = 0;
    int m_nLives = 0;
    int m_nScore = 0;
    int m_nResult1 = 0;
    int m_nBestTotal = 0;
    int m_nResult2 = 0;
    int m_nResult3 = 0;
    int m_nResult4 = 0;
    int m_nResult5 = 0;
    int m_bSeries = 0;
    int m_nStageBgm = 0;
    int m_bStageBgmLoop = 0;
    int m_nMapState = 0;
    int m_bGaveUp = 0;
    int m_nReturnX = 0;
    int m_nReturnY = 0;
    cSafeVector<cStageScoreData> m_StageValues;
    int m_nStageNumber = 0;
    cSafeVector<cChallengeStageData> m_ChallengeStages;
    cSafeVector<int> m_StartVariables;
    int m_nStartLivesAtStageStart = 0;
    int m_nStartResult1 = 0;
    int m_nSaveSlot = -1;
    int m_bAutoSave = 0;
    SYSTEMTIME m_SaveTime{};
    std::string m_strPlayerName;
    int m_bRankingView = 0;
    int m_nRankingKind = 0;
    int m_bFollowUp = 0;
    int m_nFollowUpA = 0;
    int m_nFollowUpB = 0;
    int m_nFollowUpC = 0;

private:
    // The lives after a load from a slot (mode 0) or the challenge file (mode 1).
    void ApplyLivesRule(int mode);
    int LoadFile(const char* path, int mode);
};

// One row of the story slot list.
class cSaveSlotInfo {
public:
    void SetFrom(const cSaveData& save);
    // "YYYY/MM/DD hh:mm" of a used slot; nothing for an empty one.
    void DrawDate(DDSURFACEDATA* lpDst, int x, int y) const;

    int m_bUsed = 0;
    SYSTEMTIME m_SaveTime{};
};

// "user_data\story\StoryNN.dat" of a slot (0 to 98 give 01 to 99).
std::string SaveSlotPath(int slot);
// Reads the row of every slot: a missing or damaged file is an empty row.
void LoadSaveSlotList(cSafeVector<cSaveSlotInfo>& slots);
// The list window of rows rows from slot first: separators between rows, then the slot's
// number and date on each row that lies inside the list.
void DrawSaveSlotList(DDSURFACEDATA* lpDst, int x, int y, const cSafeVector<cSaveSlotInfo>& slots, int first, int rows);

// The key of a stage file as the best values and rankings use it: the name cut after its
// last full stop, or, for a series file, before its last "-1" with a full stop after it.
std::string StageKeyOf(const char* path, bool* series);

extern cSaveData g_SaveData;
extern cSaveData g_SaveAtStageStart;
extern cSaveData g_SaveAtPrevStageStart;
extern cSafeVector<cSaveSlotInfo> g_SaveSlots;
