#pragma once
// The 256-entry palette, the transparent colour and the palette-index map of a surface.
#include "graphics/surface_data.h"

// Entries {red, green, blue, flags}: g_Palette as loaded, g_DisplayPalette the working copy
// that fades write and the 8-bit display shows.
extern PALETTEENTRY g_Palette[256];
extern PALETTEENTRY g_DisplayPalette[256];

bool DDLoadPaletteFromFile(PALETTEENTRY* lpPal, const char* szFile);
int DDSetTransmitFromFile(const char* szFile);
void DDSetTransmit(BYTE cbRed, BYTE cbGreen, BYTE cbBlue);
// One byte per pixel (rows of the pitch in pixels): the first g_Palette entry of the pixel's
// colour, 0 where no entry has it.
int DDBuildPalIndexMap(BYTE** lplpMap, DDSURFACEDATA* lpSD);
// Reads the palette from the 16 × 16 block at column 0, row 8 of a palette image.
int DDSetPalette_UnPal(PALETTEENTRY* lpPal, DDSURFACEDATA* lpSD);
