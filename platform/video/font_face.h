#pragma once
// Faces for text: one-bit hinted glyphs from FreeType, sized so that every glyph a CP932 code
// can draw lies inside a cell of the requested height, looked up by CP932 code (a byte, or
// lead << 8 | trail) in a table of 65,536 entries filled on first use. The GDI and D3DX fonts
// draw through it.
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#include "platform/video/d3d9_base.h"

namespace plat {

// One glyph: its pixels (one byte each, 0 or 1) placed relative to the pen at the cell's top.
struct cGlyph {
    int nLeft = 0;
    int nTop = 0;  // rows below the top of the cell
    int nWidth = 0;
    int nHeight = 0;
    int nAdvance = 0;
    std::vector<BYTE> bits;
};

// A stand-in for FreeType (layout tests): fills out the glyph of a code for a font of the
// given cell height and width (0: the usual width); false gives an empty glyph.
using GlyphRasteriser = bool (*)(int nHeight, int nWidth, unsigned code, cGlyph& out);
// Faces opened from now on draw with this one (null: FreeType again).
void SetGlyphRasteriser(GlyphRasteriser rasteriser);

// The font file for a face name of the game's face table (CP932): IPAGothic, the proportional
// IPAPGothic for the proportional faces ("ＭＳ Ｐゴシック", "HGPｺﾞｼｯｸE", "MS UI Gothic", ...).
std::string FontFileForFace(std::string_view faceCp932);

class cGlyphFace {
public:
    // nHeight: cell height in pixels (a negative one is the em size, as GDI takes it, and the
    // cell is then what the glyphs reach); nWidth:
    // average width of a half-width character, 0 for the face's own proportions. Null when
    // the font file cannot be opened.
    static std::unique_ptr<cGlyphFace> Open(std::string_view faceCp932, int nHeight, int nWidth);
    ~cGlyphFace();
    cGlyphFace(const cGlyphFace&) = delete;
    cGlyphFace& operator=(const cGlyphFace&) = delete;

    int CellHeight() const { return m_nCellHeight; }
    // The em in pixels, and the baseline's distance below the cell's top.
    int EmPixels() const { return m_nEm; }
    int Ascent() const { return m_nAscent; }
    // The glyph of a CP932 code, rasterised on first use.
    const cGlyph& Glyph(unsigned code);
    // Width of a text of count bytes (count < 0: up to the NUL), walked as CP932.
    int TextWidth(const char* text, int count);
    // Draws the text with its cell top at (x, y), one pixel value for every set glyph pixel,
    // cut to the store.
    void Paint(cPixelStore& store, int x, int y, const char* text, int count, std::uint32_t pixel);

private:
    struct cFreeType;
    cGlyphFace() = default;
    bool Rasterise(unsigned code, cGlyph& out);

    std::unique_ptr<cFreeType> m_FreeType;
    GlyphRasteriser m_lpStandIn = nullptr;
    int m_nCellHeight = 0;
    int m_nWidth = 0;
    int m_nEm = 0;
    int m_nAscent = 0;
    std::vector<std::unique_ptr<cGlyph>> m_Table;  // 65,536 entries
};

// Steps through count bytes of a CP932 text (count < 0: up to the NUL), one code per
// character; a lead byte at the end, or before the NUL, is a code of its own.
template <class Visit>
void ForEachCp932Code(const char* text, int count, Visit visit)
{
    if (!text) return;
    const auto* p = reinterpret_cast<const BYTE*>(text);
    const std::size_t n = count < 0 ? std::char_traits<char>::length(text) : static_cast<std::size_t>(count);
    for (std::size_t i = 0; i < n;) {
        const bool pair = i + 1 < n && ((p[i] >= 0x81 && p[i] <= 0x9F) || (p[i] >= 0xE0 && p[i] <= 0xFC)) &&
                          ((p[i + 1] >= 0x40 && p[i + 1] <= 0x7E) || (p[i + 1] >= 0x80 && p[i + 1] <= 0xFC));
        if (pair) {
            visit(static_cast<unsigned>(p[i]) << 8 | p[i + 1]);
            i += 2;
        } else {
            visit(static_cast<unsigned>(p[i]));
            ++i;
        }
    }
}

}  // namespace plat
