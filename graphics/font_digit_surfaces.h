#pragma once
// The digit surfaces of the three fonts: "0123456789" drawn once per font, so that numbers
// are blitted digit by digit instead of drawn as text.
#include "graphics/surface_data.h"

constexpr int kFontDigitSurfaceCount = 3;

extern DDSURFACEDATA g_FontDigitSurface[kFontDigitSurfaceCount];
// Their descriptions: no file, transparent, every other field 0.
extern SURFACEINFO g_FontDigitSurfaceInfo[kFontDigitSurfaceCount];
