#pragma once
// The pixel pipeline of our Direct3D device: triangles of pre-transformed vertices with one
// colour and one texture coordinate pair, sampled at integer pixel centres with point
// sampling and wrap addressing, combined by texture stage 0 and blended into the target.
#include "platform/video/d3d9_base.h"

namespace plat {

// Vertex of FVF XYZRHW | DIFFUSE | TEX1 (28 bytes).
struct cD3DVertex {
    float x, y, z, rhw;
    DWORD color;
    float u, v;
};
static_assert(sizeof(cD3DVertex) == 28);

struct cRasterState {
    cPixelStore* target = nullptr;
    const cPixelStore* texture = nullptr;  // null: texture reads give opaque black
    DWORD colorOp = 4, colorArg1 = 2, colorArg2 = 0;
    DWORD alphaOp = 2, alphaArg1 = 2, alphaArg2 = 0;
    DWORD textureFactor = 0xFFFFFFFF;
    bool blend = true;
    DWORD srcBlend = 5, destBlend = 6;
};

// Draws a triangle strip of count vertices (count - 2 triangles). A strip of four vertices
// forming an axis-aligned rectangle on whole pixels and whole texels takes an integer path
// with the same results as the general one.
void DrawTriangleStrip(const cRasterState& state, const cD3DVertex* vertices, int count);
void DrawTriangle(const cRasterState& state, const cD3DVertex& a, const cD3DVertex& b, const cD3DVertex& c);

// The arithmetic shared by both paths, exposed for tests.
inline DWORD Modulate(DWORD a, DWORD b) { return (a * b + 127) / 255; }
inline DWORD BlendChannel(DWORD s, DWORD d, DWORD a) { return (s * a + d * (255 - a) + 127) / 255; }

}  // namespace plat
