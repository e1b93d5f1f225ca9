#pragma once
// The record of one attempt's input: player 1's direction and button words as runs of equal
// values, and the seed of the attempt's random numbers. The streams are the replay file's
// tail, after the seed.
#include <cstdint>

#include "data/data_record.h"

class cReplayData : public cDataRecordOf<cReplayData> {
public:
    // Seed 0, empty streams, playback at the start.
    cReplayData();
    cReplayData(const cReplayData&) = default;
    // The four streams and the seed; the playback position stays.
    cReplayData& operator=(const cReplayData& source);

    void RegisterFields(DWORD version) override;
    // The seed, then each stream's count and entries. A count the bytes left cannot hold fails
    // the read before anything is sized by it.
    void Read(cDataReader& reader) override;
    void Write(cDataWriter& writer) override;

    // Seed 0, empty streams, playback at the start.
    void Clear();
    // Appends one play frame: a run grows when its stream's last value is the same.
    void Record(std::uint16_t direction, std::uint16_t button);
    // The words of the next play frame: 0 when a frame was given, 1 (words untouched) when
    // either stream has ended. A stream ends at the shorter of its values and its runs, and a
    // run of length 0 gives no frame.
    int Playback(std::uint16_t& direction, std::uint16_t& button);
    // Playback from the first frame again.
    void Rewind();
    // Whether any frame was recorded.
    bool HasFrames() const { return !m_DirectionValues.empty(); }

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
