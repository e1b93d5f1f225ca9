#include "platform/video/gdi_font.h"

#include <algorithm>
#include <climits>
#include "platform/video/ddraw.h"
#include "platform/video/font_face.h"

namespace {

// Font and context handles point at one of these; the tags tell them from other handles.
struct cFontObject {
    static constexpr std::uint32_t kTag = 0x544E4F46;  // "FONT"
    std::uint32_t tag = kTag;
    std::unique_ptr<plat::cGlyphFace> face;
};

struct cSurfaceDC {
    static constexpr std::uint32_t kTag = 0x43445344;  // "DSDC"
    std::uint32_t tag = kTag;
    std::shared_ptr<plat::cPixelStore> store;
    PALETTEENTRY palette[256] = {};
    bool bPalette = false;
    cFontObject* font = nullptr;
    int nBkMode = OPAQUE;
    COLORREF textColor = 0;
    COLORREF bkColor = RGB(255, 255, 255);
};

cFontObject* AsFont(HGDIOBJ object)
{
    auto* font = static_cast<cFontObject*>(object);
    return font && font->tag == cFontObject::kTag ? font : nullptr;
}

cSurfaceDC* AsSurfaceDC(HDC hdc)
{
    auto* dc = static_cast<cSurfaceDC*>(hdc);
    return dc && dc->tag == cSurfaceDC::kTag ? dc : nullptr;
}

// A COLORREF as a pixel of the context's surface.
std::uint32_t PixelOf(const cSurfaceDC& dc, COLORREF color)
{
    const BYTE r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
    if (dc.store->format == D3DFMT_P8) return dc.bPalette ? plat::NearestPaletteIndex(dc.palette, r, g, b) : 0;
    return plat::PackFromArgb(dc.store->format, 0xFF000000u | r << 16 | g << 8 | b);
}

}  // namespace

HFONT CreateFontA(int nHeight, int nWidth, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD,
                  const char* lpszFace)
{
    auto font = std::make_unique<cFontObject>();
    font->face = plat::cGlyphFace::Open(lpszFace ? lpszFace : "", nHeight, nWidth);
    if (!font->face) return nullptr;
    return reinterpret_cast<HFONT>(font.release());
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object)
{
    cSurfaceDC* dc = AsSurfaceDC(hdc);
    cFontObject* font = AsFont(object);
    if (!dc || !font) return nullptr;
    cFontObject* before = dc->font;
    dc->font = font;
    return before;
}

int SetBkMode(HDC hdc, int mode)
{
    cSurfaceDC* dc = AsSurfaceDC(hdc);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    const int before = dc->nBkMode;
    dc->nBkMode = mode;
    return before;
}

// Sets one of the context's colours and returns the one before (CLR_INVALID for no context).
static COLORREF SwapColor(HDC hdc, COLORREF cSurfaceDC::*slot, COLORREF color)
{
    cSurfaceDC* dc = AsSurfaceDC(hdc);
    if (!dc) return CLR_INVALID;
    const COLORREF before = dc->*slot;
    dc->*slot = color & 0xFFFFFF;
    return before;
}

COLORREF SetTextColor(HDC hdc, COLORREF color) { return SwapColor(hdc, &cSurfaceDC::textColor, color); }

COLORREF SetBkColor(HDC hdc, COLORREF color) { return SwapColor(hdc, &cSurfaceDC::bkColor, color); }

BOOL TextOutA(HDC hdc, int x, int y, const char* lpString, int c)
{
    cSurfaceDC* dc = AsSurfaceDC(hdc);
    if (!dc || !dc->font || c < 0 || (c > 0 && !lpString)) return FALSE;
    plat::cGlyphFace& face = *dc->font->face;
    if (dc->nBkMode == OPAQUE) {
        const long long right = static_cast<long long>(x) + face.TextWidth(lpString, c);
        const int x0 = std::max(x, 0), y0 = std::max(y, 0);
        const int x1 = static_cast<int>(std::min<long long>(right, dc->store->nWidth));
        const int y1 = static_cast<int>(std::min<long long>(static_cast<long long>(y) + face.CellHeight(), dc->store->nHeight));
        if (x0 < x1 && y0 < y1) dc->store->Fill(x0, y0, x1, y1, PixelOf(*dc, dc->bkColor));
    }
    face.Paint(*dc->store, x, y, lpString, c, PixelOf(*dc, dc->textColor));
    return TRUE;
}

BOOL GetTextExtentPoint32A(HDC hdc, const char* lpString, int c, SIZE* lpSize)
{
    cSurfaceDC* dc = AsSurfaceDC(hdc);
    if (!dc || !dc->font || !lpSize || c < 0 || (c > 0 && !lpString)) return FALSE;
    lpSize->cx = dc->font->face->TextWidth(lpString, c);
    lpSize->cy = dc->font->face->CellHeight();
    return TRUE;
}

namespace plat {

cGlyphFace* FontFace(HGDIOBJ font)
{
    cFontObject* object = AsFont(font);
    return object ? object->face.get() : nullptr;
}

bool DeleteFontObject(HGDIOBJ object)
{
    cFontObject* font = AsFont(object);
    if (!font) return false;
    font->tag = 0;
    delete font;
    return true;
}

HDC CreateSurfaceDC(std::shared_ptr<cPixelStore> store, const PALETTEENTRY* palette)
{
    auto dc = std::make_unique<cSurfaceDC>();
    dc->store = std::move(store);
    if (palette) {
        std::copy(palette, palette + 256, dc->palette);
        dc->bPalette = true;
    }
    return dc.release();
}

void DeleteSurfaceDC(HDC hdc)
{
    cSurfaceDC* dc = AsSurfaceDC(hdc);
    if (!dc) return;
    dc->tag = 0;
    delete dc;
}

int NearestPaletteIndex(const PALETTEENTRY* palette, BYTE r, BYTE g, BYTE b)
{
    int best = 0;
    long bestDistance = LONG_MAX;
    for (int i = 0; i < 256; ++i) {
        const long dr = palette[i].peRed - r, dg = palette[i].peGreen - g, db = palette[i].peBlue - b;
        const long distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

}  // namespace plat
