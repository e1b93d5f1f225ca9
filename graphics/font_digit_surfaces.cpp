#include "graphics/font_digit_surfaces.h"

DDSURFACEDATA g_FontDigitSurface[kFontDigitSurfaceCount] = {};
