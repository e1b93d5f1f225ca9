// The shots and swords on the stage: how many, a 64-bit FNV-1a hash over the state of each in
// list order, and the positions of the first few, so that two runs can be compared line by
// line and a dumped frame checked against where the trace puts them.
#include <cstdint>
#include <cstring>
#include <string>

#include "play/play_scene.h"
#include "play/trace_line.h"

namespace {

constexpr int kTracedShotPositions = 8;

void MixShotBytes(std::uint64_t& hash, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= bytes[i];
        hash *= 1099511628211ull;
    }
}

template <class T>
void MixShotValue(std::uint64_t& hash, T value)
{
    MixShotBytes(hash, &value, sizeof value);
}

}  // namespace

void TraceShotCount(cTraceLine& line, const TRACEFRAME& frame)
{
    if (!frame.scene) return;
    const std::list<cShot>& shots = frame.scene->m_ShotLists.m_Shots;
    line.Add("shots", static_cast<long long>(shots.size()));
    std::uint64_t hash = 14695981039346656037ull;
    std::string positions;
    int listed = 0;
    for (const cShot& shot : shots) {
        MixShotValue(hash, shot.m_nSerial);
        for (double value : {shot.m_dX, shot.m_dY, shot.m_dVX, shot.m_dVY, shot.m_dOwnVX, shot.m_dOwnVY})
            MixShotValue(hash, TraceBits(value));
        for (int value : {shot.m_nDirection, shot.m_nRangeLeft, shot.m_nLifeLeft, shot.m_nSteps, shot.m_nSwordFrame,
                          shot.m_bTrajectoryDone, shot.m_bFlying})
            MixShotValue(hash, value);
        if (listed++ < kTracedShotPositions) {
            if (!positions.empty()) positions += ';';
            positions += std::to_string(TruncToInt(shot.m_dX)) + ',' + std::to_string(TruncToInt(shot.m_dY));
        }
    }
    line.AddHex("shothash", hash, 16);
    line.AddText("shotxy", positions.empty() ? "-" : positions);
}
