#pragma once
// The rotation of a source rectangle about a pivot: a turned textured quad under Direct3D
// when the destination is a render target and the source a texture outside system memory,
// otherwise a nearest-neighbour pixel copy on locked surfaces.
#include "graphics/surface_data.h"

// angle in degrees, positive clockwise on the screen. The quad turns the picture, centred on
// (x, y), about the pivot measured from its top-left corner; the pixel copy puts the pivot
// on (x, y). TRUE when drawn or nothing to do; FALSE when a lock failed.
BOOL DDBltRotate(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int px, int py, int nAngle, DDSURFACEDATA* lpSrc,
                 int sx, int sy, DWORD dwFlags);
