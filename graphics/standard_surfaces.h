#pragma once
// The standard surfaces: 71 records and their descriptions, loaded by index.
#include "graphics/surface_data.h"

constexpr int kStdSurfaceCount = 71;

extern DDSURFACEDATA g_StdSurface[kStdSurfaceCount];
extern SURFACEINFO g_SurfaceInfo[kStdSurfaceCount];
