#pragma once
// GDI text as the graphics layer uses it under DirectDraw: fonts made by CreateFontA (drawn by
// our FreeType faces), device contexts of DirectDraw surfaces (IDirectDrawSurface7::GetDC),
// transparent or opaque text in a COLORREF, and the extent of a line.
#include "platform/video/gdi.h"

struct PALETTEENTRY;

struct HFONT__;
using HFONT = HFONT__*;
using COLORREF = DWORD;  // 0x00BBGGRR

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr DWORD SHIFTJIS_CHARSET = 128;
constexpr int FW_NORMAL = 400;

inline constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) { return r | (g << 8) | (static_cast<DWORD>(b) << 16); }

// nHeight is the cell height (a negative one the em); nWidth the width of a half-width
// character, 0 for the face's own. Weight, slant, lines and precisions are not drawn.
HFONT CreateFontA(int nHeight, int nWidth, int nEscapement, int nOrientation, int fnWeight, DWORD fdwItalic,
                  DWORD fdwUnderline, DWORD fdwStrikeOut, DWORD fdwCharSet, DWORD fdwOutputPrecision,
                  DWORD fdwClipPrecision, DWORD fdwQuality, DWORD fdwPitchAndFamily, const char* lpszFace);
// Selects a font into a surface's context; returns the one selected before.
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
int SetBkMode(HDC hdc, int mode);
COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF SetBkColor(HDC hdc, COLORREF color);
// Cell top at y. On an 8-bit surface the colour is the nearest entry of the display palette
// (lowest index on ties).
BOOL TextOutA(HDC hdc, int x, int y, const char* lpString, int c);
BOOL GetTextExtentPoint32A(HDC hdc, const char* lpString, int c, SIZE* lpSize);

namespace plat {

class cGlyphFace;
struct cPixelStore;

// The face behind a font handle (null for anything else).
cGlyphFace* FontFace(HGDIOBJ font);
// Deletes a font handle; false when the object is not a font.
bool DeleteFontObject(HGDIOBJ object);

// The device context of a surface's pixels; palette: the 256 entries an 8-bit surface is
// shown with (null for direct colour).
HDC CreateSurfaceDC(std::shared_ptr<cPixelStore> store, const PALETTEENTRY* palette);
void DeleteSurfaceDC(HDC hdc);

// The palette entry nearest to a colour (squared distance over red, green and blue, lowest
// index on ties).
int NearestPaletteIndex(const PALETTEENTRY* palette, BYTE r, BYTE g, BYTE b);

}  // namespace plat
