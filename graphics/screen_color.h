#pragma once
// The screen-wide colour effects: the scene fades in and out (a black quad of falling or
// rising opacity under Direct3D; the palette or the saved picture pulled toward a colour under
// DirectDraw) and the screen colour under Direct3D (the screen multiplied by a colour).
#include "graphics/surface_data.h"

// DirectDraw only: every pixel of lpSD (within both records) becomes the pixel of lpWork
// pulled toward (red, green, blue), weight 256 keeping the work pixel. 0 when a lock failed.
int DDFade_UnPal(DDSURFACEDATA* lpSD, int nWeight, BYTE bRed, BYTE bGreen, BYTE bBlue, DDSURFACEDATA* lpWork);

// One step of a fade; 1 on the call that drew its end state (then the next call starts a new
// fade), else 0. The angle of each direction and back end persists between calls; bReset
// ends the fade on this call. Under Direct3D the colour and the palettes are not used.
BYTE DDFadeOut(PALETTEENTRY* lpWorkPal, int nFirst, int nLast, BYTE bRed, BYTE bGreen, BYTE bBlue, double dStep,
               const PALETTEENTRY* lpSrcPal, BYTE bReset);
BYTE DDFadeIn(PALETTEENTRY* lpWorkPal, int nFirst, int nLast, BYTE bRed, BYTE bGreen, BYTE bBlue, double dStep,
              const PALETTEENTRY* lpSrcPal, BYTE bReset);

// Direct3D: the whole destination redrawn from the source multiplied by the colour, with
// translucency nAlpha (0 opaque, 255 invisible); the rectangle is not used. Always 1.
int DDChangeColorFrom(DDSURFACEDATA* lpDst, int x, int y, int nWidth, int nHeight, DDSURFACEDATA* lpSrc, BYTE bAlpha,
                      BYTE bRed, BYTE bGreen, BYTE bBlue);
// DDChangeColorFrom with the destination as its own source.
int DDChangeColor(DDSURFACEDATA* lpDst, int x, int y, int nWidth, int nHeight, BYTE bAlpha, BYTE bRed, BYTE bGreen,
                  BYTE bBlue);
