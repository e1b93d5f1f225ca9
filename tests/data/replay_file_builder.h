#pragma once
// Replay file images built by hand from the layout: a stage image, the replay body (one block
// with the seed, no strings, the four counted streams), then the progress body from version
// 173 on.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/data/save_file_builder.h"
#include "tests/data/stage_file_builder.h"
#include "tests/support/byte_builder.h"

namespace qbtest {

struct REPLAYSTREAMS {
    std::int32_t seed = 0;
    std::vector<std::uint16_t> directions, buttons;
    std::vector<std::uint32_t> directionRuns, buttonRuns;
};

inline std::string ReplayBody(const REPLAYSTREAMS& r)
{
    cByteBuilder b;
    b.U32(1).I32(r.seed).U32(0);
    for (const auto* values : {&r.directions, &r.buttons}) {
        b.U32(static_cast<std::uint32_t>(values->size()));
        for (std::uint16_t v : *values) b.U16(v);
    }
    for (const auto* runs : {&r.directionRuns, &r.buttonRuns}) {
        b.U32(static_cast<std::uint32_t>(runs->size()));
        for (std::uint32_t v : *runs) b.U32(v);
    }
    return b.Str();
}

inline std::string ReplayImage(int version, const STAGEFILE& stage, const REPLAYSTREAMS& r, const SaveFields& save)
{
    std::string image = StageImage(version, stage).bytes + ReplayBody(r);
    if (version > 172) image += BuildSaveFile(save, static_cast<std::uint32_t>(version)).substr(4);
    return image;
}

}  // namespace qbtest
