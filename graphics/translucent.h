#pragma once
// The source drawn over the destination translucently, and pulled toward one palette colour:
// a textured quad with fixed-function blending under Direct3D when the destination is a
// render target and the source a texture outside system memory, per pixel on locked surfaces
// otherwise (at 8 bits through the blend table).
#include "graphics/surface_data.h"

// nTrans 0-255: the quad's translucency (0 opaque, 255 invisible); the per-pixel paths always
// mix half and half (8 bits: lpTable[destination × 256 + source]).
BOOL DDBltTrans(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, DWORD dwFlags,
                const BYTE* lpTable, int nTrans);
BOOL DDBltHalf(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, DWORD dwFlags,
               const BYTE* lpTable);

// The source pulled toward entry (nColor & 255) of lpPal. Under Direct3D level 1 keeps the most
// of the source and level 4 the least; other levels above 0 paint the colour alone. Under
// DirectDraw each level halves the distance once more (8 bits: the index looked up level
// times in g_BlendTable); a level below 1 draws nothing.
BOOL DDBltTint(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, DWORD dwFlags,
               const PALETTEENTRY* lpPal, const BYTE* lpTable, int nColor, int nLevel);
