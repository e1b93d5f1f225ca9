#pragma once
// The rankings of one stage: five tables of 20 places, one per result value of a clear, kept
// per stage and play mode in "user_data\<mode>\<stage>.rkg".
#include <string>

#include "data/data_record.h"
#include "graphics/surface_data.h"

enum RANKINGKIND {
    RANKING_SCORE,
    RANKING_REMAINING_TIME,
    RANKING_CLEAR_TIME,  // hundredths of a second; a smaller time ranks higher
    RANKING_REMAINING_HP,
    RANKING_REMAINING_SP,
    RANKING_KINDS,
};

constexpr int kRankingPlaces = 20;

class cRankingEntry : public cDataRecordOf<cRankingEntry> {
public:
    void RegisterFields(DWORD version) override;

    int m_bUsed = 0;
    int m_nValue = 0;
    std::string m_strName;
};

class cRankingTable : public cDataRecordOf<cRankingTable> {
public:
    // Order 0 and 20 free places.
    cRankingTable();
    void RegisterFields(DWORD version) override;
    // Order 0 and exactly 20 free places.
    void SetDefaults();

    // The place value would take: the first free place or the first whose value it beats
    // strictly (an equal value ranks below); -1 when none.
    int FindRank(int value) const;
    // Enters a used place where FindRank puts it; the last place falls out.
    void Insert(const std::string& name, int value);
    // The ranking window of this table as kind (its title and value format) with the second
    // font: the used places, the marker at markedPlace (-1: none), and the hint that the kind
    // can be changed when the play mode ranks more than one kind.
    void Draw(DDSURFACEDATA* lpDst, int x, int y, int kind, int markedPlace, int playMode);

    int m_bLargerWins = 0;
    cSafeVector<cRankingEntry> m_Entries;
};

class cRankingData : public cDataRecordOf<cRankingData> {
public:
    // Five tables of 20 free places, orders 1, 1, 0, 1, 1.
    cRankingData();
    void RegisterFields(DWORD version) override;
    // The base read, then exactly five tables of 20 places whatever the file held; an old
    // file's tables for remaining HP and SP rank larger values higher.
    void Read(cDataReader& reader) override;

    void SetDefaults();
    // Loads the rankings of a stage for a play mode: 1, or 0 with the defaults (no file for
    // the mode, a missing file, or a damaged one, which is kept aside).
    int LoadForStage(int playMode, const char* stageBase);
    // Saves them: 1, or 0 with the old file kept (or no file for the mode).
    int SaveForStage(int playMode, const char* stageBase);

    // Table kind, clamped to the five kinds.
    cRankingTable& Table(int kind);
    void Draw(DDSURFACEDATA* lpDst, int x, int y, int kind, int markedPlace, int playMode);

    cSafeVector<cRankingTable> m_Tables;
};

// The ranking file of a stage for a play mode (0 story, 1 challenge, 2 free play): the mode's
// folder, the stage base name without its folders, then "rkg". False for any other mode.
bool RankingFilePath(std::string& out, int playMode, const char* stageBase);

// The clock text of a time in hundredths: minutes:seconds.hundredths, "02:05.50".
void FormatTime(std::string& out, int hundredths);

// The stage-result window: one row per shown value (score, remaining time, clear time,
// remaining HP and SP) with its label and value, and the marker on each that ranked
// (places[i] not -1). shown[i]: the stage shows value i in this play mode.
void DrawResultPanel(DDSURFACEDATA* lpDst, int x, int y, const int places[RANKING_KINDS], const int values[RANKING_KINDS],
                     const bool shown[RANKING_KINDS]);

extern cRankingData g_RankingData;
