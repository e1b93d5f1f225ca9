#pragma once
// Rectangle fills on surface records, by palette colour number (0 is the transparent colour)
// or by a colour value (Direct3D: ARGB, whose alpha is the opacity; DirectDraw: a pixel of the
// surface's format), and the Direct3D fill batch that collects fills on render targets and
// draws them per target in issue order. A fill is cut to the record on every edge.
#include <vector>
#include "graphics/surface_data.h"

int DDFillRectPal(DDSURFACEDATA* lpSD, int x, int y, int w, int h, DWORD dwPalNum);
int DDFillSurfacePal(DDSURFACEDATA* lpSD, DWORD dwPalNum);
int DDFillRect(DDSURFACEDATA* lpSD, int x, int y, int w, int h, DWORD dwColor);
int DDFillSurface(DDSURFACEDATA* lpSD, DWORD dwColor);

struct FILLBATCHRECORD {
    DDSURFACEDATA* lpSD;
    int x, y, w, h;
    DWORD dwColor;
};

struct FILLBATCH {
    BOOL bActive = FALSE;
    std::vector<FILLBATCHRECORD> records;
};

extern FILLBATCH g_FillBatch;

void DDBeginFillBatch();
void DDEndFillBatch();
