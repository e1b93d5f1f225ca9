#include "data/replay_data.h"

#include <algorithm>

namespace {

void RecordRun(cSafeVector<std::uint16_t>& values, cSafeVector<std::uint32_t>& runs, std::uint16_t value)
{
    // The runs are kept as long as the values; a run that cannot grow starts a new entry.
    if (!values.empty() && values.size() == runs.size() && values.back() == value && runs.back() != UINT32_MAX) {
        ++runs.back();
        return;
    }
    values.push_back(value);
    runs.resize(values.size() - 1, 0);
    runs.push_back(1);
}

// The next frame of one stream: false when it has ended. Runs are counted in unsigned terms,
// so no stored length can overflow the count.
bool PlayRun(const cSafeVector<std::uint16_t>& values, const cSafeVector<std::uint32_t>& runs, int& index, int& used,
             std::uint16_t& out)
{
    const std::size_t end = std::min(values.size(), runs.size());
    while (index >= 0 && static_cast<std::size_t>(index) < end && runs[static_cast<std::size_t>(index)] == 0) {
        ++index;
        used = 0;
    }
    if (index < 0 || static_cast<std::size_t>(index) >= end) return false;
    const auto at = static_cast<std::size_t>(index);
    out = values[at];
    const std::uint32_t frames = static_cast<std::uint32_t>(used) + 1u;
    if (frames >= runs[at]) {
        used = 0;
        ++index;
    } else {
        used = static_cast<int>(frames);
    }
    return true;
}

template <class T>
void ReadStream(cDataReader& reader, cSafeVector<T>& stream, const char* what)
{
    int count = 0;
    if (!reader.ReadCount(count, sizeof(T), what)) return;
    stream.assign(static_cast<std::size_t>(count), T{});
    if (count > 0) reader.ReadBytes(stream.data(), stream.size() * sizeof(T));
}

template <class T>
void WriteStream(cDataWriter& writer, const cSafeVector<T>& stream)
{
    writer.WriteInt32(static_cast<std::int32_t>(stream.size()));
    if (!stream.empty()) writer.WriteBytes(stream.data(), stream.size() * sizeof(T));
}

}  // namespace

cReplayData::cReplayData()
{
    Clear();
}

cReplayData& cReplayData::operator=(const cReplayData& source)
{
    if (this == &source) return *this;
    cDataRecord::operator=(source);
    m_DirectionValues = source.m_DirectionValues;
    m_ButtonValues = source.m_ButtonValues;
    m_DirectionRuns = source.m_DirectionRuns;
    m_ButtonRuns = source.m_ButtonRuns;
    m_nSeed = source.m_nSeed;
    return *this;
}

void cReplayData::RegisterFields(DWORD)
{
    ClearTables();
    AddField4(&m_nSeed, 1, "nSeed");
}

void cReplayData::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    ReadStream(reader, m_DirectionValues, "direction values");
    ReadStream(reader, m_ButtonValues, "button values");
    ReadStream(reader, m_DirectionRuns, "direction runs");
    ReadStream(reader, m_ButtonRuns, "button runs");
}

void cReplayData::Write(cDataWriter& writer)
{
    cDataRecord::Write(writer);
    WriteStream(writer, m_DirectionValues);
    WriteStream(writer, m_ButtonValues);
    WriteStream(writer, m_DirectionRuns);
    WriteStream(writer, m_ButtonRuns);
}

void cReplayData::Clear()
{
    cDataRecord::Clear();
    m_DirectionValues.clear();
    m_ButtonValues.clear();
    m_DirectionRuns.clear();
    m_ButtonRuns.clear();
    Rewind();
}

void cReplayData::Rewind()
{
    std::fill(std::begin(m_nPlayPosition), std::end(m_nPlayPosition), 0);
}

void cReplayData::Record(std::uint16_t direction, std::uint16_t button)
{
    RecordRun(m_DirectionValues, m_DirectionRuns, direction);
    RecordRun(m_ButtonValues, m_ButtonRuns, button);
}

int cReplayData::Playback(std::uint16_t& direction, std::uint16_t& button)
{
    // Both streams are tested before either moves, so an ended replay gives nothing.
    int dirIndex = m_nPlayPosition[0], buttonIndex = m_nPlayPosition[1];
    int dirUsed = m_nPlayPosition[2], buttonUsed = m_nPlayPosition[3];
    std::uint16_t d = 0, b = 0;
    if (!PlayRun(m_DirectionValues, m_DirectionRuns, dirIndex, dirUsed, d)) return 1;
    if (!PlayRun(m_ButtonValues, m_ButtonRuns, buttonIndex, buttonUsed, b)) return 1;
    m_nPlayPosition[0] = dirIndex;
    m_nPlayPosition[1] = buttonIndex;
    m_nPlayPosition[2] = dirUsed;
    m_nPlayPosition[3] = buttonUsed;
    direction = d;
    button = b;
    return 0;
}
