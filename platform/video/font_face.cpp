#include "platform/video/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include "platform/os/text.h"

namespace plat {

namespace {

constexpr const char* kGothicFile = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
constexpr const char* kProportionalGothicFile = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf";
constexpr unsigned kReplacementCharacter = 0xFFFD;

std::atomic<GlyphRasteriser> s_StandIn{nullptr};

// One FreeType library for the process; faces are opened and used on one thread at a time.
FT_Library Library()
{
    static std::once_flag once;
    static FT_Library library = nullptr;
    std::call_once(once, [] {
        if (FT_Init_FreeType(&library) != 0) library = nullptr;
    });
    return library;
}

// The first code point of a UTF-8 text; U+FFFD when there is none.
unsigned FirstCodePoint(const std::string& utf8)
{
    if (utf8.empty()) return kReplacementCharacter;
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    if (s[0] < 0x80) return s[0];
    if ((s[0] & 0xE0) == 0xC0 && utf8.size() >= 2) return (s[0] & 0x1Fu) << 6 | (s[1] & 0x3Fu);
    if ((s[0] & 0xF0) == 0xE0 && utf8.size() >= 3) return (s[0] & 0x0Fu) << 12 | (s[1] & 0x3Fu) << 6 | (s[2] & 0x3Fu);
    if ((s[0] & 0xF8) == 0xF0 && utf8.size() >= 4)
        return (s[0] & 0x07u) << 18 | (s[1] & 0x3Fu) << 12 | (s[2] & 0x3Fu) << 6 | (s[3] & 0x3Fu);
    return kReplacementCharacter;
}

// The Unicode character of one CP932 code; a byte sequence without one is U+FFFD.
unsigned UnicodeOf(unsigned code)
{
    char bytes[2];
    std::size_t n = 0;
    if (code > 0xFF) bytes[n++] = static_cast<char>(code >> 8);
    bytes[n++] = static_cast<char>(code & 0xFF);
    return FirstCodePoint(Cp932ToUtf8(std::string_view(bytes, n)));
}

}  // namespace

void SetGlyphRasteriser(GlyphRasteriser rasteriser) { s_StandIn.store(rasteriser); }

std::string FontFileForFace(std::string_view faceCp932)
{
    // The proportional faces carry a P of their own: "ＭＳ Ｐゴシック", "HGPｺﾞｼｯｸE",
    // "HGP創英角ﾎﾟｯﾌﾟ体", ...; "MS UI Gothic" and Meiryo are proportional too.
    const std::string face = Cp932ToUtf8(faceCp932);
    const bool proportional = face.find(u8"Ｐ") != std::string::npos || face.rfind("HGP", 0) == 0 ||
                              face == "MS UI Gothic" || face == u8"メイリオ";
    return proportional ? kProportionalGothicFile : kGothicFile;
}

struct cGlyphFace::cFreeType {
    FT_Face face = nullptr;
    ~cFreeType()
    {
        if (face) FT_Done_Face(face);
    }
};

std::unique_ptr<cGlyphFace> cGlyphFace::Open(std::string_view faceCp932, int nHeight, int nWidth)
{
    std::unique_ptr<cGlyphFace> glyphs(new cGlyphFace());
    glyphs->m_nWidth = std::max(nWidth, 0);
    glyphs->m_Table.resize(0x10000);
    if (GlyphRasteriser standIn = s_StandIn.load()) {
        glyphs->m_lpStandIn = standIn;
        glyphs->m_nCellHeight = std::abs(nHeight);
        return glyphs;
    }
    FT_Library library = Library();
    if (!library) return nullptr;
    auto freeType = std::make_unique<cFreeType>();
    if (FT_New_Face(library, FontFileForFace(faceCp932).c_str(), 0, &freeType->face) != 0) {
        freeType->face = nullptr;
        return nullptr;
    }
    FT_Face face = freeType->face;
    // The cell is the face's ascender plus descender: the em itself for IPAGothic.
    const long ascender = face->ascender, descender = -face->descender;
    const long cellUnits = std::max(ascender + descender, 1L);
    // A positive height is the cell; a negative one the em (GDI's character height).
    const long cellPixels = nHeight < 0 ? (-static_cast<long>(nHeight) * cellUnits + face->units_per_EM / 2) / face->units_per_EM
                                        : nHeight;
    const FT_F26Dot6 emHeight = cellPixels * 64 * face->units_per_EM / cellUnits;
    // A width is that of a half-width character, half the em of these faces.
    const FT_F26Dot6 emWidth = nWidth > 0 ? static_cast<FT_F26Dot6>(nWidth) * 2 * 64 : emHeight;
    if (FT_Set_Char_Size(face, emWidth, std::max<FT_F26Dot6>(emHeight, 64), 72, 72) != 0) return nullptr;
    glyphs->m_nCellHeight = static_cast<int>(cellPixels);
    glyphs->m_nAscent = static_cast<int>((cellPixels * ascender * 2 + cellUnits) / (cellUnits * 2));
    glyphs->m_FreeType = std::move(freeType);
    return glyphs;
}

cGlyphFace::~cGlyphFace() = default;

const cGlyph& cGlyphFace::Glyph(unsigned code)
{
    std::unique_ptr<cGlyph>& slot = m_Table[code & 0xFFFF];
    if (!slot) {
        slot = std::make_unique<cGlyph>();
        if (!Rasterise(code & 0xFFFF, *slot)) *slot = cGlyph{};
    }
    return *slot;
}

bool cGlyphFace::Rasterise(unsigned code, cGlyph& out)
{
    if (m_lpStandIn) return m_lpStandIn(m_nCellHeight, m_nWidth, code, out);
    FT_Face face = m_FreeType->face;
    const unsigned unicode = UnicodeOf(code);
    FT_UInt index = FT_Get_Char_Index(face, unicode);
    if (index == 0 && unicode != kReplacementCharacter) index = FT_Get_Char_Index(face, kReplacementCharacter);
    if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO) != 0) return false;
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) != 0) return false;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    out.nLeft = slot->bitmap_left;
    out.nTop = m_nAscent - slot->bitmap_top;
    out.nWidth = static_cast<int>(bitmap.width);
    out.nHeight = static_cast<int>(bitmap.rows);
    out.nAdvance = static_cast<int>((slot->advance.x + 32) >> 6);
    out.bits.assign(static_cast<std::size_t>(out.nWidth) * out.nHeight, 0);
    for (int row = 0; row < out.nHeight; ++row) {
        const unsigned char* bits = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
        for (int col = 0; col < out.nWidth; ++col)
            out.bits[static_cast<std::size_t>(row) * out.nWidth + col] = (bits[col >> 3] >> (7 - (col & 7))) & 1;
    }
    return true;
}

int cGlyphFace::TextWidth(const char* text, int count)
{
    int width = 0;
    ForEachCp932Code(text, count, [&](unsigned code) { width += Glyph(code).nAdvance; });
    return width;
}

void cGlyphFace::Paint(cPixelStore& store, int x, int y, const char* text, int count, std::uint32_t pixel)
{
    const int bytesPerPixel = BytesPerPixel(store.format);
    if (bytesPerPixel == 0) return;
    int pen = x;
    ForEachCp932Code(text, count, [&](unsigned code) {
        const cGlyph& glyph = Glyph(code);
        const int left = pen + glyph.nLeft, top = y + glyph.nTop;
        const int col0 = std::max(0, -left), col1 = std::min(glyph.nWidth, store.nWidth - left);
        const int row0 = std::max(0, -top), row1 = std::min(glyph.nHeight, store.nHeight - top);
        for (int row = row0; row < row1; ++row) {
            const BYTE* bits = glyph.bits.data() + static_cast<std::size_t>(row) * glyph.nWidth;
            BYTE* line = nullptr;
            for (int col = col0; col < col1; ++col) {
                if (!bits[col]) continue;
                if (!line) line = store.Row(top + row);
                WritePixel(line + static_cast<std::ptrdiff_t>(left + col) * bytesPerPixel, bytesPerPixel, pixel);
            }
        }
        pen += glyph.nAdvance;
    });
}

}  // namespace plat
