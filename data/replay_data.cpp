#include "data/replay_data.h"

#include <algorithm>

cReplayData::cReplayData()
{
    Clear();
}

void cReplayData::RegisterFields(DWORD)
{
    ClearTables();
    AddField4(&m_nSeed, 1, "nSeed");
}

void cReplayData::Clear()
{
    cDataRecord::Clear();
    m_DirectionValues.clear();
    m_ButtonValues.clear();
    m_DirectionRuns.clear();
    m_ButtonRuns.clear();
    std::fill(std::begin(m_nPlayPosition), std::end(m_nPlayPosition), 0);
}
