#pragma once
// The pixel copy of a Direct3D blit that cannot be a quad (the destination is not a render
// target, or the source lives in system memory): no clipping beforehand, every pixel whose
// destination and source both lie inside their records is copied, the draw state unused.
#include "graphics/surface_data.h"

int DDBltSoftware(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, int sw, int sh,
                  DWORD dwFlags);
