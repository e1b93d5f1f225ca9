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

// Byte [a × 256 + b]: the palette index that shows colour b laid translucently over colour a
// (8-bit DirectDraw only).
extern BYTE g_BlendTable[65536];

// Entries first to last copied from lpSrc and pulled toward (red, green, blue): weight 256
// keeps the source colour, 0 gives the colour itself; their flags become 1. The range is cut
// to 0..255 and the weight to 0..256.
void DDBlendPalette(PALETTEENTRY* lpDst, int nFirst, int nLast, int nWeight, BYTE bRed, BYTE bGreen, BYTE bBlue,
                    const PALETTEENTRY* lpSrc);
// The whole of lpSrc copied to lpDst, then entries first to last turned by count places:
// direction 0 upwards, 1 downwards (at 8, 16 and 32 bits per pixel only). The range is cut to
// 0..255 and the count to the size of the range.
void DDRotatePalette(PALETTEENTRY* lpDst, int nFirst, int nLast, int nCount, int nDirection, const PALETTEENTRY* lpSrc);
// Reads a 65,536-byte blend table (TRUE at once under Direct3D). FALSE, with the table left as
// it was, when the file cannot be opened or holds fewer bytes.
BOOL DDLoadBlendTable(BYTE* lpTable, const char* szFile);
