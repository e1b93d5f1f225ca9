#pragma once
// The stress stage: a crowded stage that the play benchmark plays frame by frame. It is written
// into a copy of the demo game, so that the stage finds the demo's pictures, databases and
// System data; the same bytes on every run.
#include <string>

#include "data/stage_data.h"

// The stress stage's file, as the program names it, relative to the game folder.
inline constexpr const char* kStressStageFile = "data\\stg4\\Stress.stg4_001";

// What the stress stage holds, for the benchmark's report.
inline constexpr int kStressCharas = 120;        // awake charas besides the hero
inline constexpr int kStressBlockCharas = 30;    // of those, the block-like ones
inline constexpr int kStressHitLayers = 4;
inline constexpr int kStressBackgrounds = 5;     // four behind the objects, one in front
inline constexpr int kStressSpeedLevel = 10;     // ten sub-steps a frame
inline constexpr int kStressVolley = 5;          // shots a shooting chara fires as a leg starts
inline constexpr int kStressShotLife = 20;       // tenths of a second

// The stage record itself: 40 x 15 blocks, ground and ledges over part of the screen, a hero
// that walks to and fro, and kStressCharas charas that stay awake wherever they are, each
// with an always-running flow that moves it, draws a random number and turns it.
cStageData StressStage();

// Writes the demo game into folder (a Linux path, made when missing), then the stress stage's
// background pictures (bmp\Stress*.bmp, mostly transparent) and the stress stage as
// kStressStageFile. False, with the reason in error, when a file cannot be written.
bool BuildStressGame(const std::string& folder, std::string& error);
