#pragma once
// Blits between surface records: the plain blit without scaling, the general blit with
// scaling and mirroring, their forms with a per-draw colour state, and the clipping they
// share. Under Direct3D a blit onto a render target from a texture outside system memory is a
// textured quad (collected by the sprite batch while one is open); any other is a pixel copy.
#include "graphics/surface_data.h"

int DDBltFast(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, DWORD dwFlags);
int DDBlt(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, int sw, int sh,
          DWORD dwFlags);
// lpState: draw colour (ARGB), colour operation; used under Direct3D only.
int DDBltFastEx(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, DWORD dwFlags,
                const int* lpState);
int DDBltEx(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, int sw, int sh,
            DWORD dwFlags, const int* lpState);

// Clips a blit to both records; FALSE when nothing is left to draw. Every side is cut on both
// of its edges, and a rectangle cut at its start moves its other rectangle along with it, so
// that what is drawn never leaves the destination and never shifts.
BOOL DDClipRect(DDSURFACEDATA* lpDst, int* x, int* y, int* w, int* h, DDSURFACEDATA* lpSrc, int* sx, int* sy, int* sw,
                int* sh);
// Direct3D mirror records: moves the source rectangle into the flipped cell.
void DDMirrorSourceRect(DDSURFACEDATA* lpSrc, int* sx, int* sy, int* sw, int* sh);
