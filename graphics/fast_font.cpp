#include <string>
#include "graphics/device.h"
#include "graphics/blit.h"
#include "graphics/fill.h"
#include "graphics/font.h"
#include "graphics/surface.h"

namespace {

// The full-width characters drawn onto every new sheet, in cell order.
const char kDefaultFullWidthSet[] =
    "０１２３４５６７８９ー～、。．！？「」（）・…※→↑↓←＋－＝○●×ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺａｂｃｄ"
    "ｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚあいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれ"
    "ろわをんがぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽぁぃぅぇぉっゃゅょアイウエオカキクケコサシスセソタチツテトナニヌネノハ"
    "ヒフヘホマミムメモヤユヨラリルレロワヲンガギグゲゴザジズゼゾダヂヅデトバビブベボヴパピプペポァィゥェォッャュョ□■☆★％＆＜＞：";

unsigned PairCode(const char* pair) { return static_cast<BYTE>(pair[0]) << 8 | static_cast<BYTE>(pair[1]); }

}  // namespace

cFastFont::cFastFont(int nKind, int nCellW, int nCellH, int nColumns, int nRows)
    : m_nKind(nKind), m_nCellW(nCellW), m_nCellH(nCellH), m_nColumns(nColumns), m_nRows(nRows),
      m_nCapacity(nColumns * nRows), m_Lookup(nKind == 1 ? 0x10000 : 0, -1)
{
    if (nCellW > 0 && nCellH > 0 && nColumns > 0 && nRows > 0)
        DDCreateSurface(&m_SD, nCellW * nColumns, nCellH * nRows, TRUE, 0, 0, nullptr, FALSE);
}

cFastFont::~cFastFont() { DDReleaseSurface(&m_SD); }

bool cFastFont::HasSurface() const { return HasDeviceSurface(&m_SD); }

bool HasDeviceSurface(const DDSURFACEDATA* lpSD)
{
    return lpSD && ((lpSD->lpDT && lpSD->lpDT->lpTexture) || (lpSD->lpDDraw && lpSD->lpDDraw->lpDDS));
}

int cFastFont::AddChar(const char* pair)
{
    if (m_nCount >= m_nCapacity || m_Lookup.empty()) return 0;
    const FASTFONTCHAR cell{static_cast<BYTE>(pair[0]), static_cast<BYTE>(pair[1]), m_nCount,
                            (m_nCount % m_nColumns) * m_nCellW, (m_nCount / m_nColumns) * m_nCellH};
    m_Chars.push_back(cell);
    // A character added twice keeps its first cell for drawing.
    if (m_Lookup[PairCode(pair)] < 0) m_Lookup[PairCode(pair)] = static_cast<short>(m_nCount);
    ++m_nCount;
    return 1;
}

void cFastFont::DrawHalf(DDSURFACEDATA* lpDst, int x, int y, char c, DWORD dwFlags)
{
    const int code = static_cast<BYTE>(c);
    DDBltFast(lpDst, x, y, m_nCellW, m_nCellH, &m_SD, (code % m_nColumns) * m_nCellW, (code / m_nColumns) * m_nCellH, dwFlags);
}

const FASTFONTCHAR* cFastFont::Find(const char* pair) const
{
    if (m_Lookup.empty()) return nullptr;
    const int index = m_Lookup[PairCode(pair)];
    return index < 0 ? nullptr : &m_Chars[static_cast<std::size_t>(index)];
}

int cFastFont::DrawFull(DDSURFACEDATA* lpDst, int x, int y, const char* pair, DWORD dwFlags)
{
    const FASTFONTCHAR* cell = Find(pair);
    if (!cell) return 0;
    DDBltFast(lpDst, x, y, m_nCellW, m_nCellH, &m_SD, cell->x, cell->y, dwFlags);
    return 1;
}

void cFont::BuildHalfGlyphs()
{
    if (!m_lpFastFont_Half || !m_lpFastFont_Half->HasSurface()) return;
    // Line j holds the codes 16j .. 16j + 15, line 0 stays empty; every byte is drawn as a
    // character of its own, so each code lands in cell (code mod 16, code div 16) even where
    // a lead byte is followed by a trail byte.
    std::string text;
    for (int code = 16; code < 256; ++code) {
        if (code % 16 == 0) text += '\n';
        text += static_cast<char>(code);
    }
    DDFillSurfacePal(&m_lpFastFont_Half->m_SD, 0);
    m_bSingleBytes = true;
    DrawTextSheet(*m_lpFastFont_Half, text.c_str());
    m_bSingleBytes = false;
}

void cFont::BuildFullGlyphs(BOOL bRebuild)
{
    cFastFont* sheet = m_lpFastFont_FullAdd.get();
    if (!sheet || !sheet->HasSurface()) return;
    if (!bRebuild)
        for (const char* p = kDefaultFullWidthSet; IsDbcsPair(p); p += 2)
            if (!sheet->AddChar(p)) break;
    std::string text;
    for (const FASTFONTCHAR& cell : sheet->m_Chars) {
        if (cell.nIndex > 0 && cell.nIndex % sheet->m_nColumns == 0) text += '\n';
        text += static_cast<char>(cell.cLead);
        text += static_cast<char>(cell.cTrail);
    }
    DDFillSurfacePal(&sheet->m_SD, 0);
    DrawTextSheet(*sheet, text.c_str());
}

// Draws a sheet's text at its top-left with the cache and the letter images off.
void cFont::DrawTextSheet(cFastFont& sheet, const char* text)
{
    const BOOL fastFont = m_bFastFont, letterImages = m_bLetterImages;
    m_bFastFont = FALSE;
    m_bLetterImages = FALSE;
    DrawText(&sheet.m_SD, 0, 0, text, FALSE);
    m_bFastFont = fastFont;
    m_bLetterImages = letterImages;
}
