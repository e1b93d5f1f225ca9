#include <algorithm>
#include <cstdarg>
#include <string>
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/fill.h"
#include "graphics/font.h"
#include "graphics/palette.h"
#include "graphics/sprite_batch.h"
#include "shell/format.h"

namespace {

bool IsLeadByte(BYTE c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsTrailByte(BYTE c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

// The full-width space is never cached: it is blank in every face.
bool IsFullWidthSpace(const char* p) { return static_cast<BYTE>(p[0]) == 0x81 && static_cast<BYTE>(p[1]) == 0x40; }

// A Direct3D destination that text can be drawn into directly: a render target in video memory.
bool DrawsStraightInto(const DDSURFACEDATA* lpSD)
{
    return lpSD->lpDT && lpSD->lpDT->bRenderTarget && lpSD->lpDT->nMemType != DTMEMORYTYPE_SYSTEM;
}

// At 8 bits GDI text takes its colour from the hardware palette: the loaded palette while the
// text is drawn, so that fades of the display palette do not change the text's index.
class cTextPalette {
public:
    cTextPalette() : m_bSwapped(lpDDCon && g_nBpp == 8 && g_lpDDPalette)
    {
        if (m_bSwapped) g_lpDDPalette->SetEntries(0, 0, 256, g_Palette);
    }
    ~cTextPalette()
    {
        if (m_bSwapped) g_lpDDPalette->SetEntries(0, 0, 256, g_DisplayPalette);
    }
    cTextPalette(const cTextPalette&) = delete;
    cTextPalette& operator=(const cTextPalette&) = delete;

private:
    bool m_bSwapped;
};

// A GDI context of a DirectDraw record with the font selected, transparent, in the text colour.
class cTextDC {
public:
    cTextDC(DDSURFACEDATA* lpSD, HFONT font, COLORREF color)
        : m_lpSurface(lpSD->lpDDraw ? lpSD->lpDDraw->lpDDS : nullptr)
    {
        if (!m_lpSurface || !font || FAILED(m_lpSurface->GetDC(&m_hdc))) {
            m_hdc = nullptr;
            return;
        }
        SelectObject(m_hdc, font);
        SetBkMode(m_hdc, TRANSPARENT);
        SetTextColor(m_hdc, color);
    }
    ~cTextDC()
    {
        if (m_hdc) m_lpSurface->ReleaseDC(m_hdc);
    }
    cTextDC(const cTextDC&) = delete;
    cTextDC& operator=(const cTextDC&) = delete;
    HDC Get() const { return m_hdc; }

private:
    IDirectDrawSurface7* m_lpSurface;
    HDC m_hdc = nullptr;
};

// Walks a text on the pitch: visit(p, nBytes, ox, oy) for every character but the line
// breaks, with its cell's offset from the text's corner.
template <class Visit>
void WalkPitched(const char* text, int pitchX, int pitchY, bool singleBytes, Visit visit)
{
    int ox = 0, oy = 0;
    for (const char* p = text; *p;) {
        if (*p == '\n') {
            oy += pitchY;
            ox = 0;
            ++p;
            continue;
        }
        const int bytes = !singleBytes && IsLeadByte(static_cast<BYTE>(p[0])) && IsTrailByte(static_cast<BYTE>(p[1])) ? 2 : 1;
        visit(p, bytes, ox, oy);
        ox += pitchX;
        p += bytes;
    }
}

}  // namespace

BOOL IsDbcsPair(const char* p)
{
    return p && IsLeadByte(static_cast<BYTE>(p[0])) && IsTrailByte(static_cast<BYTE>(p[1]));
}

int CountMbChars(const char* s)
{
    int count = 0;
    for (const char* p = s; p && *p;) {
        if (IsDbcsPair(p)) {
            ++count;
            p += 2;
            continue;
        }
        if (*p != '\n') ++count;
        ++p;
    }
    return count;
}

int LineLength(const char* s)
{
    int length = 0;
    while (s && s[length] && s[length] != '\n') ++length;
    return length;
}

void cFont::GetTextBlockSize(SIZE* lpSize, const char* text)
{
    if (!lpSize) return;
    long widest = 0, lines = 0;
    for (const char* line = text ? text : "";; ++line) {
        const int length = LineLength(line);
        long cells = 0;
        for (int i = 0; i < length;) {
            const int step = !m_bSingleBytes && i + 1 < length && IsDbcsPair(line + i) ? 2 : 1;
            ++cells;
            i += step;
        }
        widest = std::max(widest, cells);
        ++lines;
        line += length;
        if (*line != '\n') break;
    }
    lpSize->cx = widest * m_nPitchX;
    lpSize->cy = lines * m_nPitchY;
}

void cFont::MeasureText(SIZE* lpSize, HDC hdc, const char* text)
{
    if (!lpSize) return;
    long widest = 0, lines = 0;
    for (const char* line = text ? text : "";; ++line) {
        const int length = LineLength(line);
        long width = 0;
        if (hdc) {
            SIZE extent{};
            if (GetTextExtentPoint32A(hdc, line, length, &extent)) width = extent.cx;
        } else if (m_lpD3DXFont) {
            RECT rect{0, 0, 0, 0};
            m_lpD3DXFont->DrawTextA(m_lpSprite, line, length, &rect, DT_CALCRECT, m_dwColor);
            width = rect.right;
        }
        widest = std::max(widest, width);
        ++lines;
        line += length;
        if (*line != '\n') break;
    }
    lpSize->cx = widest;
    lpSize->cy = lines * m_nPitchY;
}

bool cFont::CacheOn() const
{
    return m_bFastFont && m_lpFastFont_Half && m_lpFastFont_Half->HasSurface() && m_lpFastFont_FullAdd &&
           m_lpFastFont_FullAdd->HasSurface();
}

int cFont::DrawText(DDSURFACEDATA* lpDst, int x, int y, const char* text, BOOL bPlainLowercase)
{
    if (!lpDst || !text) return 0;
    const BOOL skipLetters = bPlainLowercase ? FALSE : m_bLetterImages;
    const bool pitched = m_nPitchX > 0 && m_nPitchY > 0;
    SIZE block{};
    if (lpDTCon) {
        if (!m_lpD3DXFont || !m_lpSprite) return 0;
        DDRedirectBackBuffer(&lpDst);
        DDResolveMirror(&lpDst);
        if (pitched) GetTextBlockSize(&block, text);
        else MeasureText(&block, nullptr, text);
        const bool straight = DrawsStraightInto(lpDst);
        DDSURFACEDATA* canvas = straight ? lpDst : &m_WorkSD;
        const int cx = straight ? x : 0, cy = straight ? y : 0;
        if (!straight) DDFillRectPal(&m_WorkSD, 0, 0, block.cx, block.cy, 0);
        const bool cache = CacheOn();
        if (!cache) {
            DDBeginScene();
            DDSetRenderTarget(0, canvas);
            m_lpSprite->Begin(D3DXSPRITE_ALPHABLEND | D3DXSPRITE_SORT_TEXTURE);
        }
        RenderText(canvas, nullptr, cx, cy, lpDst, x, y, text, skipLetters);
        if (!cache) m_lpSprite->End();
        DrawLetterImages(canvas, cx, cy, text);
        if (!cache) DDSetRenderTarget(0, lpDTCon->lpDefaultTarget);
        if (!straight) DDBltFast(lpDst, x, y, block.cx, block.cy, &m_WorkSD, 0, 0, 1);
        return 1;
    }
    if (!lpDDCon || !m_hFont) return 0;
    {
        const cTextPalette palette;
        const cTextDC dc(&m_WorkSD, m_hFont, m_dwColor);
        if (!dc.Get()) return 0;
        if (pitched) GetTextBlockSize(&block, text);
        else MeasureText(&block, dc.Get(), text);
        DDFillRectPal(&m_WorkSD, 0, 0, block.cx, block.cy, 0);
        RenderText(&m_WorkSD, dc.Get(), 0, 0, lpDst, x, y, text, skipLetters);
    }
    DDBltFast(lpDst, x, y, block.cx, block.cy, &m_WorkSD, 0, 0, 1);
    DrawLetterImages(lpDst, x, y, text);
    return 1;
}

void cFont::Printf(DDSURFACEDATA* lpDst, int x, int y, const char* fmt, ...)
{
    std::string text;
    va_list args;
    va_start(args, fmt);
    VFormatString(text, fmt ? fmt : "", args);
    va_end(args);
    DrawText(lpDst, x, y, text.c_str(), FALSE);
}

void cFont::RenderText(DDSURFACEDATA* lpCanvas, HDC hdc, int cx, int cy, DDSURFACEDATA* lpDst, int dx, int dy,
                       const char* text, BOOL bSkipLetters)
{
    if (!text) return;
    if (m_nPitchX <= 0 || m_nPitchY <= 0) {
        for (const char* line = text;; ++line) {
            const int length = LineLength(line);
            if (lpDTCon && m_lpD3DXFont) {
                RECT rect{cx, cy, cx, cy};
                m_lpD3DXFont->DrawTextA(m_lpSprite, line, length, &rect, DT_NOCLIP, m_dwColor);
            } else if (hdc) {
                TextOutA(hdc, cx, cy, line, length);
            }
            cy += m_nPitchY;
            line += length;
            if (*line != '\n') break;
        }
        return;
    }
    cFastFont* half = CacheOn() ? m_lpFastFont_Half.get() : nullptr;
    cFastFont* full = CacheOn() ? m_lpFastFont_FullAdd.get() : nullptr;
    const bool letterSheet = HasDeviceSurface(m_lpLetterSD);
    DDBeginSpriteBatch(TRUE);
    WalkPitched(text, m_nPitchX, m_nPitchY, m_bSingleBytes, [&](const char* p, int bytes, int ox, int oy) {
        if (bytes == 2) {
            if (!full || IsFullWidthSpace(p)) {
                RenderChar(lpCanvas, hdc, cx + ox, cy + oy, p, 2);
            } else if (!full->DrawFull(lpDst, dx + ox, dy + oy, p, 1)) {
                if (full->AddChar(p)) {
                    DrawIntoSheet(full->m_Chars.back());
                    full->DrawFull(lpDst, dx + ox, dy + oy, p, 1);
                } else {
                    RenderChar(lpCanvas, hdc, cx + ox, cy + oy, p, 2);
                }
            }
            return;
        }
        const char c = *p;
        if (c == ' ' || (bSkipLetters && c >= 'a' && c <= 'z' && letterSheet)) return;
        if (half && lpDst) half->DrawHalf(lpDst, dx + ox, dy + oy, c, 1);
        else RenderChar(lpCanvas, hdc, cx + ox, cy + oy, p, 1);
    });
    DDEndSpriteBatch();
}

void cFont::RenderChar(DDSURFACEDATA* lpCanvas, HDC hdc, int x, int y, const char* p, int nBytes)
{
    int px = x, py = y;
    if (m_bCenterChar) {
        SIZE size{};
        if (lpDTCon && m_lpD3DXFont) {
            RECT rect{0, 0, 0, 0};
            m_lpD3DXFont->DrawTextA(m_lpSprite, p, nBytes, &rect, DT_CALCRECT, m_dwColor);
            size = {rect.right, rect.bottom};
        } else if (hdc) {
            GetTextExtentPoint32A(hdc, p, nBytes, &size);
        }
        px = x + (m_nPitchX - size.cx) / 2;
        py = y + (m_nPitchY - size.cy) / 2;
    } else if (nBytes == 1) {
        px = x + m_nPitchX / 8;
        py = y + m_nPitchY / 16 - 1;
    }
    if (lpDTCon) {
        if (CacheOn()) DrawWithTarget(lpCanvas, px, py, p, nBytes);
        else if (m_lpD3DXFont) {
            RECT rect{px, py, px, py};
            m_lpD3DXFont->DrawTextA(m_lpSprite, p, nBytes, &rect, DT_NOCLIP, m_dwColor);
        }
        return;
    }
    if (hdc) TextOutA(hdc, px, py, p, nBytes);
}

// Direct3D: draws a character into a record made the render target for it alone.
void cFont::DrawWithTarget(DDSURFACEDATA* lpTarget, int x, int y, const char* p, int nBytes)
{
    if (!m_lpD3DXFont || !m_lpSprite) return;
    DDBeginScene();
    DDSetRenderTarget(0, lpTarget);
    m_lpSprite->Begin(D3DXSPRITE_ALPHABLEND | D3DXSPRITE_SORT_TEXTURE);
    RECT rect{x, y, x, y};
    m_lpD3DXFont->DrawTextA(m_lpSprite, p, nBytes, &rect, DT_NOCLIP, m_dwColor);
    m_lpSprite->End();
    DDSetRenderTarget(0, lpDTCon->lpDefaultTarget);
}

// Draws a newly added full-width character into its cell of the sheet.
void cFont::DrawIntoSheet(const FASTFONTCHAR& cell)
{
    cFastFont& sheet = *m_lpFastFont_FullAdd;
    const char pair[3] = {static_cast<char>(cell.cLead), static_cast<char>(cell.cTrail), 0};
    if (lpDTCon) {
        DrawWithTarget(&sheet.m_SD, cell.x, cell.y, pair, 2);
        return;
    }
    const cTextPalette palette;
    const cTextDC dc(&sheet.m_SD, m_hFont, m_dwColor);
    if (dc.Get()) RenderChar(&sheet.m_SD, dc.Get(), cell.x, cell.y, pair, 2);
}

void cFont::DrawLetterImages(DDSURFACEDATA* lpDst, int x, int y, const char* text)
{
    if (!m_bLetterImages || !HasDeviceSurface(m_lpLetterSD) || m_nPitchX <= 0 || m_nPitchY <= 0 || !text) return;
    DDBeginSpriteBatch(FALSE);
    WalkPitched(text, m_nPitchX, m_nPitchY, false, [&](const char* p, int bytes, int ox, int oy) {
        if (bytes == 1 && *p >= 'a' && *p <= 'z')
            DDBltFast(lpDst, x + ox, y + oy, m_nPitchX, m_nPitchY, m_lpLetterSD, m_nPitchX * (*p - 'a'), 0, 1);
    });
    DDEndSpriteBatch();
}
