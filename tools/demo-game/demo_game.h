#pragma once
// The demo game: the smallest game folder the runtime starts in, written by the tool
// quillbramwood-demo and by test fixtures.
#include <cstdint>
#include <string>

// The title of the demo's System data.
inline constexpr const char* kDemoGameTitle = "Quillbramwood demo";

// Writes into folder (a Linux path, made when missing):
//   data\System.dat        the System data's defaults with the demo's title
//   data\WorldMap.dat      a new world map
//   data\CommonPalette.cplt4  the palette a new game starts with (two empty templates a list)
//   System.ini             every key of the System data with its default, in a window
//   bmp\plt\Palette.bmp    8 bits, its colour table the palette; the 16 x 16 block from row 8
//                          holds colour i at (i % 16, 8 + i / 16); pixel (0, 0) is colour 0
//   bmp\Debug.bmp          8 bits, 128 x 256, all colour 0 (transparent)
// Files that exist are replaced. False, with the reason in error, when one cannot be written.
bool BuildDemoGame(const std::string& folder, std::string& error);

// The demo's palette, 0x00RRGGBB: colour 0 the transparent colour (magenta), then a 6 x 6 x 6
// colour cube and a ramp of greys.
std::uint32_t DemoPaletteColor(int index);
