#pragma once
// The mosaic of a source rectangle: square cells of one colour each, computed per pixel on
// locked surfaces.
#include "graphics/surface_data.h"

// Cells of cell × cell pixels from the rectangle's top-left corner (the last of a row or
// column cut at the rectangle), each drawn in one colour chosen from its source pixels:
// the corner pixel under Direct3D at 16 bits and DirectDraw at 8 bits, the mean otherwise.
// A cell with no source pixel to take is left unwritten. TRUE when drawn or nothing to do
// (a cell size below 1); FALSE when a lock failed.
BOOL DDBltMosaic(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int nCell, DDSURFACEDATA* lpSrc, int sx, int sy,
                 DWORD dwFlags);
