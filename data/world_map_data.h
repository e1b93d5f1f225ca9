#pragma once
// "data\WorldMap.dat": the story mode's world map. A grid of chips (cell (x, y) is grid entry
// (y << pitch shift) + x), the points standing on cells, and the stage entries of each point.
#include <span>
#include <string>

#include "data/data_record.h"

// One chip type of the grid.
class cWorldChipData : public cDataRecordOf<cWorldChipData> {
public:
    void RegisterFields(DWORD version) override;

    int m_nReserved = 0;
    int m_bBlocked = 0;  // the cursor cannot move onto it unless an offered point stands there
    int m_nPicture = 0;  // cell of the chip sheet: 32 x 32 dots, five cells to a row
    std::string m_strReserved;
    std::string m_strName;
};

// What the story save holds that decides whether a stage entry is offered.
struct WORLDSTAGESTATE {
    std::span<const int> switches;   // switch n is switches[n]; one beyond the list is off
    std::span<const int> variables;  // common variable n is variables[n]; one beyond the list is 0
    int nBestTotal = 0;
};

// One stage entry of a point.
class cWorldStageData : public cDataRecordOf<cWorldStageData> {
public:
    void RegisterFields(DWORD version) override;
    // The base read; a file from before the minimum total has none.
    void Read(cDataReader& reader) override;

    // Whether the entry is offered: its required switch, its variable condition and its
    // minimum total all hold.
    bool IsOffered(const WORLDSTAGESTATE& state) const;

    int m_nLock = 0;  // 0 normal, 2 the cursor cannot stand on it, else it cannot be entered
    int m_nIcon = 0;
    int m_nClearSwitch = 0;
    int m_bPassThrough = 0;
    int m_bReplayable = 0;
    int m_nReserved = 0;
    int m_nRequiredSwitch = 0;
    int m_nConditionVariable = 0;
    int m_nConditionValue = 0;
    int m_nConditionOperator = 0;  // the eight comparisons of the flow conditions
    int m_nMinimumTotal = 0;
    std::string m_strLabel;
    std::string m_strStageFile;
};

// One map point and its stage entries.
class cWorldPointData : public cDataRecordOf<cWorldPointData> {
public:
    // One cleared stage entry.
    cWorldPointData();
    void RegisterFields(DWORD version) override;
    // Clears the fields and leaves exactly one stage entry.
    void Reset();

    // The first stage entry that is offered, or null (also when the point has none).
    const cWorldStageData* FindOfferedStage(const WORLDSTAGESTATE& state) const;

    int m_nX = 0;
    int m_nY = 0;
    std::string m_strName;
    cSafeVector<cWorldStageData> m_Stages;
};

class cWorldMapData : public cDataRecordOf<cWorldMapData> {
public:
    cWorldMapData();
    void RegisterFields(DWORD version) override;
    // The base read, then the map is made consistent (see Normalize). A width or height
    // below 1, or a grid too large to hold, fails the read.
    void Read(cDataReader& reader) override;
    void Write(cDataWriter& writer) override;

    // A new 20 x 15 map with ten chips and no points.
    void SetDefaults();
    // Resizes the grid to width x height keeping the cells both sizes hold, the rest chip 0:
    // 1, or 0 with nothing changed for a size below 1 or too large to hold.
    int SetSize(int width, int height);
    // Keeps the map within its own size: pitch and shift follow the width, the grid holds
    // height x pitch cells, the start lies on the map, and points off the map are removed.
    void Normalize();

    // The first point standing on the cell, or null.
    cWorldPointData* FindPointAt(int x, int y);
    // The chip index of a cell; a cell off the map, or an index without a chip, is chip 0.
    int ChipAt(int x, int y) const;
    // 1 when a stage entry of a point names a stage file with this stage key (see
    // WorldStageKey), else 0.
    int HasStage(const std::string& key) const;

    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nPitch = 0;
    int m_nPitchShift = 0;
    cSafeVector<cWorldChipData> m_Chips;
    cSafeVector<int> m_Grid;
    cSafeVector<cWorldPointData> m_Points;
    cSafeVector<cWorldPointData> m_DefaultPoints;  // one point "デフォルト" in a new map
    int m_nStartX = 0;
    int m_nStartY = 0;
    int m_nBackColor = 0;  // palette index the world-map screen is filled with
    int m_bPicture = 0;    // the map picture is drawn too
    std::string m_strName;
    std::string m_strPicture;
};

// The stage key of a stage entry's file: the name without its extension, cut after a
// full stop put in place of its last "-1", or with a full stop appended.
std::string WorldStageKey(const std::string& stageFile);

// The most grid cells (height x pitch) a map may have: far beyond any map the editor makes,
// and small enough that a damaged size cannot exhaust memory.
constexpr int kMaxWorldMapCells = 1 << 22;

extern cWorldMapData g_WorldMapData;
