#pragma once
// Text in the program's fonts on both back ends: a D3DX font and sprite under Direct3D, a GDI
// font into a surface's context under DirectDraw. Text is laid out on a fixed pitch (every
// character advances one cell, "\n" starts the next line), and a font can cache its glyphs on
// two sheets (the single-byte characters, and full-width characters added on first use) so
// that a frame's text is drawn with blits. Lowercase letters can come from a picture sheet,
// and a text can be drawn in a framed window.
#include <list>
#include <memory>
#include <vector>
#include "graphics/surface_data.h"
#include "platform/video/d3dx9_font.h"
#include "platform/video/gdi_font.h"
#include "shell/log.h"

// One font of the start-up's table.
struct FONTINFO {
    char szFaceName[256];
    int nWidth, nHeight;    // typeface size
    int nPitchX, nPitchY;   // cell advance and line pitch
    int nColor;             // palette colour number of the text
    int nWindowSD;          // window picture of text windows (standard surface index)
    int nFrameWidth, nFrameColor;
    int nLetterSD;          // letter-image sheet (standard surface index)
    int nFastFont;          // glyph cache: 0 off, else on (2: the System.ini setting)
};

// One cached full-width character of a sheet.
struct FASTFONTCHAR {
    BYTE cLead, cTrail;
    int nIndex;
    int x, y;
};

// A glyph sheet: kind 0 holds the 256 single-byte codes in a 16 × 16 grid, kind 1 the
// full-width characters in the order they were added.
class cFastFont {
public:
    cFastFont(int nKind, int nCellW, int nCellH, int nColumns, int nRows);
    ~cFastFont();
    cFastFont(const cFastFont&) = delete;
    cFastFont& operator=(const cFastFont&) = delete;

    // True when the sheet's surface could be made.
    bool HasSurface() const;
    // 1 when the pair got a cell, 0 when the sheet is full.
    int AddChar(const char* pair);
    void DrawHalf(DDSURFACEDATA* lpDst, int x, int y, char c, DWORD dwFlags);
    // 0 when the pair is not cached.
    int DrawFull(DDSURFACEDATA* lpDst, int x, int y, const char* pair, DWORD dwFlags);
    const FASTFONTCHAR* Find(const char* pair) const;

    int m_nKind;
    int m_nCellW, m_nCellH;
    int m_nColumns, m_nRows;
    int m_nCapacity;
    DDSURFACEDATA m_SD{};
    std::vector<FASTFONTCHAR> m_Chars;
    int m_nCount = 0;

private:
    std::vector<short> m_Lookup;  // cell of each lead << 8 | trail, -1 when not cached
};

class cFont {
public:
    cFont() = default;
    ~cFont();
    cFont(const cFont&) = delete;
    cFont& operator=(const cFont&) = delete;

    // False when the device font, the work surface or a glyph sheet cannot be made (the
    // reason goes to the error-check log).
    bool Create(const char* szFace, int nWidth, int nHeight, int nPitchX, int nPitchY, int nColorNum,
                DDSURFACEDATA* lpWindowSD, int nFrameWidth, int nFrameColor, DDSURFACEDATA* lpLetterSD, BOOL bFastFont);
    void Release();
    // After a device or surface loss: the glyph sheets drawn again.
    void Restore();

    // Returns 1 when something was drawn. With bPlainLowercase the letters a-z come from the
    // typeface even when the font draws them from its letter sheet.
    int DrawText(DDSURFACEDATA* lpDst, int x, int y, const char* text, BOOL bPlainLowercase);
    void Printf(DDSURFACEDATA* lpDst, int x, int y, const char* fmt, ...) QB_PRINTF(5, 6);

    // x or y of 10000 centres the window on the window picture.
    void DrawWindow(DDSURFACEDATA* lpDst, int x, int y, int w, int h);
    // A zero w or h is the text's (w with the margin).
    void DrawTextWindow(DDSURFACEDATA* lpDst, int x, int y, int w, int h, const char* text, int nMargin);
    void DrawTextWindowEx(DDSURFACEDATA* lpDst, int x, int y, int w, int h, const char* text, int nMargin, DWORD dwColor);
    void PrintfWindow(DDSURFACEDATA* lpDst, int x, int y, int w, int h, const char* fmt, ...) QB_PRINTF(7, 8);

    // Size of a text block: widest line × line count on the pitch, or by the typeface
    // without one.
    void GetTextBlockSize(SIZE* lpSize, const char* text);
    void MeasureText(SIZE* lpSize, HDC hdc, const char* text);

    // Internal steps, public for the glyph sheets and the tests.
    void RenderText(DDSURFACEDATA* lpCanvas, HDC hdc, int cx, int cy, DDSURFACEDATA* lpDst, int dx, int dy,
                    const char* text, BOOL bSkipLetters);
    void RenderChar(DDSURFACEDATA* lpCanvas, HDC hdc, int x, int y, const char* p, int nBytes);
    void DrawLetterImages(DDSURFACEDATA* lpDst, int x, int y, const char* text);
    void BuildHalfGlyphs();
    void BuildFullGlyphs(BOOL bRebuild);

    int m_nSerial = 0;
    HFONT m_hFont = nullptr;
    IUnknown* m_lpReserved1 = nullptr;
    IUnknown* m_lpReserved2 = nullptr;
    ID3DXFont* m_lpD3DXFont = nullptr;
    ID3DXSprite* m_lpSprite = nullptr;
    const char* m_szFaceName = nullptr;
    int m_nWidth = 0, m_nHeight = 0;
    int m_nPitchX = 0, m_nPitchY = 0;
    int m_nColorNum = 0;
    DWORD m_dwColor = 0;
    BOOL m_bCenterChar = FALSE;
    DDSURFACEDATA m_WorkSD{};
    DDSURFACEDATA* m_lpWindowSD = nullptr;
    int m_nFrameWidth = 0, m_nFrameColor = 0;
    DDSURFACEDATA* m_lpLetterSD = nullptr;
    BOOL m_bLetterImages = FALSE;
    BOOL m_bFastFont = FALSE;
    std::unique_ptr<cFastFont> m_lpFastFont_Half;
    std::unique_ptr<cFastFont> m_lpFastFont_FullAdd;

private:
    // The cache is on only with both sheets made: a font without them renders glyph by glyph.
    bool CacheOn() const;
    bool CreateSheets(BOOL bFastFont);
    void DrawWithTarget(DDSURFACEDATA* lpTarget, int x, int y, const char* p, int nBytes);
    void DrawIntoSheet(const FASTFONTCHAR& cell);
    void DrawTextSheet(cFastFont& sheet, const char* text);
    void TextSize(SIZE* lpSize, const char* text);
    void CentreOnWindowPicture(int* x, int* y, int w, int h) const;
    bool m_bListed = false;
    bool m_bSingleBytes = false;  // every byte a character of its own (the single-byte sheet)
};

// Every font made, in creation order; the restores walk it.
extern std::list<cFont*> g_FontList;

// The three fonts of the program.
constexpr int kFontCount = 3;
extern cFont g_Font[kFontCount];
extern FONTINFO g_FontInfo[kFontCount];

// False at the first font that cannot be made.
bool CreateFonts(cFont* lpFonts, const FONTINFO* lpInfo, int nCount);
bool CreateNumberSurfaces(DDSURFACEDATA* lpSurfaces, const SURFACEINFO* lpSurfaceInfo, int nCount, cFont* lpFonts,
                          const FONTINFO* lpInfo);
void DrawDigitsToSurface(DDSURFACEDATA* lpSD, cFont* lpFont);

// The fonts' part of a device restore: each font's device objects told of the loss, and each
// font's sheets drawn again. Registered with the graphics layer's restore at start-up.
void LoseFontDevices();
void RestoreFontSheets();

// True when the record holds a picture of the live back end (a failed creation leaves none).
bool HasDeviceSurface(const DDSURFACEDATA* lpSD);

// Text helpers over CP932 bytes that never step past the NUL.
BOOL IsDbcsPair(const char* p);   // a lead byte followed by a trail byte
int CountMbChars(const char* s);  // a pair counts one, "\n" none, any other byte one
int LineLength(const char* s);    // bytes before the first "\n" or the end
