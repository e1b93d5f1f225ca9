#pragma once
// Geometric effects drawn only through blits and palette fills, so that each works alike on
// both back ends: frames, digit numbers, waves, shifted stripes, the card turn, split
// quarters and the circle of sight. Effects of several blits collect them in the Direct3D
// sprite batch (or the fill batch); flags go to the blits unchanged (1: skip transparent).
#include "graphics/surface_data.h"

// A frame of the given thickness lying inside the rectangle.
int DDDrawFrame(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int nThick, DWORD dwPalNum);
// The source's top-left w × h opaque at (x, y) with a frame around it, outside the picture.
int DDBltWithFrame(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int nThick, DWORD dwPalNum);
// A decimal number from a sheet of ten digit cells (digit d at sx + d × cw, sy), right-aligned
// in nCells cells or centred; a negative value is drawn as 0. nReserved is passed as 0.
int DDDrawNumber(DDSURFACEDATA* lpDst, int x, int y, int cw, int ch, DDSURFACEDATA* lpSheet, int sx, int sy,
                 DWORD dwFlags, int nValue, int nCells, BOOL bCenter, int nReserved = 0);
// Rows (or columns when bVertical) in bands shifted along a sine of nWaves waves.
int DDBltWave(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int nWaves, double dAmplitude, int nPhase, int nBand,
              DDSURFACEDATA* lpSrc, int sx, int sy, DWORD dwFlags, BOOL bVertical);
// Bands shifted alternately by +nShift (even bands) and -nShift (odd bands); a partial last
// band is not drawn.
int DDBltStripeShift(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int nBand, int nShift, DDSURFACEDATA* lpSrc,
                     int sx, int sy, DWORD dwFlags, BOOL bVertical);
// A card turning over on axis 0 (width) or 1 (height): front and back alternate each half
// turn, at their narrowest when they change.
int DDBltTurnOver(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpFront, int fx, int fy,
                  DDSURFACEDATA* lpBack, int bx, int by, int sw, int sh, DWORD dwFlags, int nPhase, int nAxis);
// The four quarters of the source, each pushed nGap pixels outward.
int DDBltSplitQuarters(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, int nGap,
                       DWORD dwFlags);
// The part of the source inside a circle of radius r around (scx, scy), drawn around (cx, cy)
// as horizontal spans of nBand rows, within hw × hh of the centre.
int DDBltCircle(DDSURFACEDATA* lpDst, int cx, int cy, int hw, int hh, int r, int nBand, DDSURFACEDATA* lpSrc, int scx,
                int scy, DWORD dwFlags);
