#pragma once
// The record of one attempt's input: player 1's direction and button words as runs of equal
// values, and the seed of the attempt's random numbers. The streams are the replay file's
// tail, read and written by stage play with the replay file.
#include <cstdint>

#include "data/data_record.h"

class cReplayData : public cDataRecordOf<cReplayData> {
public:
    // Seed 0, empty streams, playback at the start.
    cReplayData();
    void RegisterFields(DWORD version) override;
    // Seed 0, empty streams, playback at the start.
    void Clear();

    cSafeVector<std::uint16_t> m_DirectionValues;
    cSafeVector<std::uint16_t> m_ButtonValues;
    cSafeVector<std::uint32_t> m_DirectionRuns;  // frames each direction value lasts
    cSafeVector<std::uint32_t> m_ButtonRuns;     // frames each button value lasts
    int m_nSeed = 0;
    // Playback: value index of the direction and button streams, frames used of the current
    // direction and button runs.
    int m_nPlayPosition[4] = {};
};

// The attempt being recorded or played back, and the one before it.
extern cReplayData g_ReplayData;
extern cReplayData g_PrevReplayData;
