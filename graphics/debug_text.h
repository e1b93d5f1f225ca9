#pragma once
// A small fixed-pitch text drawer for debug lines (the frame-rate overlay) from a glyph sheet
// of 16 cells per row, each cw × ch pixels, drawn with transparent blits.
#include "graphics/surface_data.h"
#include "shell/log.h"

void DDDrawDebugText(DDSURFACEDATA* lpDst, int x, int y, int cw, int ch, DDSURFACEDATA* lpGlyphs, const char* text);
// Formats into 256 bytes at most, then draws.
void DDPrintDebugText(DDSURFACEDATA* lpDst, int x, int y, int cw, int ch, DDSURFACEDATA* lpGlyphs, const char* fmt, ...)
    QB_PRINTF(7, 8);
