#pragma once
// The demo game's pictures, drawn in code on the demo palette: every standard bitmap the
// runtime loads, the palette picture and the 8-bit blend tables.
#include <cstdint>
#include <string>
#include <vector>

// One picture file: its path inside the game folder (program form) and its bytes.
struct DEMOFILE {
    std::string path;
    std::string bytes;
};

// The demo's palette, 0x00RRGGBB: colour 0 the transparent colour (magenta), then a 6 x 6 x 6
// colour cube (1 + r x 36 + g x 6 + b for components 0..5) and a ramp of greys.
std::uint32_t DemoPaletteColor(int index);

// An 8-bit bitmap file with the demo palette from top-down indices: uncompressed, or RLE8 for
// the large pictures.
std::string DemoBitmap8(int width, int height, const std::vector<std::uint8_t>& indices, bool rle = false);

// Every picture of the demo: bmp\plt\Palette.bmp, bmp\Debug.bmp, the block, chara, shot,
// item, mark, window, title, menu, world-map and background sheets.
std::vector<DEMOFILE> DemoPictures();

// The 8-bit blend table: entry [a x 256 + b] is the palette colour nearest to the mean of
// colours a and b (index 0, the transparent colour, takes the other one).
std::string DemoBlendTable();
