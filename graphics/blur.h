#pragma once
// The box blur of a source rectangle drawn to the destination, computed per pixel on locked
// surfaces at 16 and 32 bits.
#include "graphics/surface_data.h"

// Each pixel of the w × h rectangle at (sx, sy) becomes the mean of the source pixels in the
// box from (−rx, −ry) to (rx − 1, ry − 1) around it (inside the rectangle and the source;
// with flags 1 transparent pixels are neither drawn nor counted), drawn at (x + column,
// y + row). TRUE when drawn or nothing to do; FALSE when a lock failed.
BOOL DDBltBlur(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int rx, int ry, DDSURFACEDATA* lpSrc, int sx, int sy,
               DWORD dwFlags);
