#pragma once
// A block's 32 x 32 picture at (x, y), from the sheets of the running stage: the block
// records' picture hook (registered at start-up).
#include "graphics/surface_data.h"

class cBlockData;

void DrawBlockPicture(cBlockData& block, DDSURFACEDATA* target, int x, int y);
