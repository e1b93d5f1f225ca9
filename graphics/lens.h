#pragma once
// The magnifying lens: a disc of the source around its centre drawn magnified around the
// destination's centre, per pixel on locked surfaces.
#include "graphics/surface_data.h"

// Radius r and depth d: R = trunc(sqrt(r² + d²)); a pixel at offset (dx, dy) inside the disc
// takes the source pixel at (trunc(dx × d / Z + 0.5), trunc(dy × d / Z + 0.5)) from the
// source centre, Z = sqrt(R² − dx² − dy²). With bClear (Direct3D at 32 bits) the square
// around the disc is cleared to 0. TRUE after drawing; FALSE for a negative radius or depth, a
// depth not below R, or a failed lock.
BOOL DDBltLens(DDSURFACEDATA* lpDst, int cx, int cy, int r, int d, DDSURFACEDATA* lpSrc, int scx, int scy, DWORD dwFlags,
               BOOL bClear);
