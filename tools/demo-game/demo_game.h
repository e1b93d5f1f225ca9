#pragma once
// The demo game: a small complete game folder written by the tool quillbramwood-demo and by
// test fixtures, the same bytes on every run. Every whole-program test plays it.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/demo-game/demo_bitmaps.h"

// The title of the demo's System data.
inline constexpr const char* kDemoGameTitle = "Quillbramwood demo";

// The stage files of the demo, in playing order, as the program names them.
std::vector<std::string> DemoStageFiles();

// Writes into folder (a Linux path, made when missing), each part made by a feature of its own
// (demo_features.cpp lists them):
//   System.ini             every key of the System data with its default, in a window under
//                          Direct3D (no drawing-mode question)
//   data\System.dat        the demo's title and its 17 built-in sound effects
//   data\database\*.dat    the ten databases: three sound effects, two BGM, one picture
//   data\WorldMap.dat      a new world map with one point per stage
//   data\CommonPalette.cplt4  the palette a new game starts with
//   data\stg4\*.stg4_001   the stages (DemoStageFiles): blocks, a hero, walkers whose flows
//                          walk and turn, and coins; beside them the second part of the
//                          Ridge series, which only its first part leads to
//   data\stg4\cNN-1.stg4_001  the twelve challenge stages, the stages above in turn
//   bmp\...                every standard picture, drawn on the demo palette (DemoPictures);
//                          bmp\plt\Palette.bmp holds colour i at (i % 16, 8 + i / 16) and
//                          colour 0 at (0, 0); bmp\Debug.bmp is 128 x 256 of colour 0
//   bmp\hbt\hbt00..23.dat  the 8-bit blend table, one per window colour
//   wave\*.wav             five short sound effects
//   bgm\Title.mid, bgm\Title.ogg  one short tune
// Files that exist are replaced. False, with the reason in error, when one cannot be written.
bool BuildDemoGame(const std::string& folder, std::string& error);
