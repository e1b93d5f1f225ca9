#pragma once
// The demo game's palette and its 8-bit bitmap files.
#include <cstdint>
#include <string>
#include <vector>

// The demo's palette, 0x00RRGGBB: colour 0 the transparent colour (magenta), then a 6 x 6 x 6
// colour cube (1 + r x 36 + g x 6 + b for components 0..5) and a ramp of greys.
inline constexpr int kDemoCubeColors = 216;
std::uint32_t DemoPaletteColor(int index);

// An 8-bit bitmap file with the demo palette from top-down indices: uncompressed, or RLE8 for
// the large pictures.
std::string DemoBitmap8(int width, int height, const std::vector<std::uint8_t>& indices, bool rle = false);
