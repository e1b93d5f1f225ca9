#pragma once
// The stage's measures: a stage is a grid of square blocks, surrounded on every side by a
// margin of blocks where objects may stand out of view. Every picture cell is one block.

constexpr int kCell = 32;                              // a block's side, and a picture cell's, in pixels
constexpr int kMarginBlocks = 10;                      // one side's margin
constexpr int kBothMarginBlocks = 2 * kMarginBlocks;   // the margins of both sides of an axis together
