#pragma once
// Inside the pixel pipeline of our Direct3D device: the per-pixel steps that the triangle path
// and the rectangle path share, so that both give the same pixels.
#include <cstdint>
#include "platform/video/d3d9_raster.h"

namespace plat {

// The values of the texture-stage operations, arguments and blend factors the device handles.
constexpr DWORD kTopDisable = 1, kTopSelect1 = 2, kTopSelect2 = 3, kTopModulate = 4, kTopModulate2x = 5,
                kTopModulate4x = 6, kTopAdd = 7, kTopAddSigned = 8, kTopAddSigned2x = 9, kTopSubtract = 10,
                kTopBlendFactorAlpha = 14;
constexpr DWORD kTaTexture = 2, kTaTFactor = 3;
constexpr DWORD kBlendZero = 1, kBlendOne = 2, kBlendSrcColor = 3, kBlendInvSrcColor = 4, kBlendSrcAlpha = 5,
                kBlendInvSrcAlpha = 6;

// Texture stage 0: the colour and alpha operations on their arguments.
DWORD ShadeTexel(const cRasterState& s, DWORD texel, DWORD diffuse);
// The blend of a shaded pixel into a target pixel (both ARGB).
DWORD BlendPixel(const cRasterState& s, DWORD src, DWORD dst);
// The ARGB texel at (tx, ty) with wrap addressing; opaque black without a texture.
DWORD TexelAt(const cPixelStore* texture, std::int64_t tx, std::int64_t ty);
int WrapCoordinate(std::int64_t t, int size);

std::int64_t FloorDiv(std::int64_t a, std::int64_t b);
// Texel index of pixel k of a span of `size` pixels drawn from texels [start, start + extent):
// floor(start + (k + 1/2) × extent / size + bias), in integers.
std::int64_t SpanTexel(std::int64_t start, std::int64_t extent, std::int64_t size, std::int64_t k);

// The strip TL, BL, TR, BR of an axis-aligned rectangle of one colour on whole pixels and
// whole texels, drawn row by row; false when the strip is not such a rectangle.
bool DrawWholeRectangle(const cRasterState& s, const cD3DVertex* v);

}  // namespace plat
