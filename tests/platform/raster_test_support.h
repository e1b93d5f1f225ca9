#pragma once
// Pixels of a 32-bit pixel store read and written in tests, and the vertex strip of a blit quad.
#include <cstdint>
#include <cstring>
#include "platform/video/d3d9_raster.h"

namespace qbtest {

inline std::uint32_t At(const plat::cPixelStore& s, int x, int y)
{
    std::uint32_t v;
    std::memcpy(&v, s.Row(y) + 4 * x, 4);
    return v;
}
inline void Put(plat::cPixelStore& s, int x, int y, std::uint32_t v) { std::memcpy(s.Row(y) + 4 * x, &v, 4); }

// The strip TL, BL, TR, BR of a blit quad with the −0.5 offset.
inline void Quad(plat::cD3DVertex* v, float x, float y, float w, float h, float u0, float v0, float u1, float v1, DWORD color)
{
    v[0] = {x - 0.5f, y - 0.5f, 0, 1, color, u0, v0};
    v[1] = {x - 0.5f, y + h - 0.5f, 0, 1, color, u0, v1};
    v[2] = {x + w - 0.5f, y - 0.5f, 0, 1, color, u1, v0};
    v[3] = {x + w - 0.5f, y + h - 0.5f, 0, 1, color, u1, v1};
}

}  // namespace qbtest
