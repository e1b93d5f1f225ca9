#include "platform/video/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <map>
#include <mutex>
#include <tuple>
#include "platform/os/files.h"
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

// Glyphs are measured with the flags they are drawn with, so that hinting is counted.
constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_MONO;

// The Unicode character of every code a face can be asked for (each byte, each lead-trail
// pair), converted once for the process.
const std::vector<unsigned>& EveryCodeUnicode()
{
    static std::once_flag once;
    static std::vector<unsigned> characters;
    std::call_once(once, [] {
        for (unsigned c = 0; c < 0x100; ++c) characters.push_back(UnicodeOf(c));
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (lead > 0x9F && lead < 0xE0) continue;
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail)
                if (trail != 0x7F) characters.push_back(UnicodeOf(lead << 8 | trail));
        }
        std::sort(characters.begin(), characters.end());
        characters.erase(std::unique(characters.begin(), characters.end()), characters.end());
    });
    return characters;
}

// The glyph a character is drawn with: its own, else the replacement character's.
FT_UInt GlyphIndexOf(FT_Face face, unsigned unicode)
{
    FT_UInt index = FT_Get_Char_Index(face, unicode);
    if (index == 0 && unicode != kReplacementCharacter) index = FT_Get_Char_Index(face, kReplacementCharacter);
    return index;
}

// How far glyphs reach above and below the baseline.
struct cReach {
    long nAbove = 0;
    long nBelow = 0;
};

// Every glyph that a face file draws for a code, those that reach furthest from the baseline
// in font units first (they decide whether a size fits), and that furthest reach.
struct cFileGlyphs {
    std::vector<FT_UInt> glyphs;
    cReach units;
};

cFileGlyphs GlyphsOf(FT_Face face)
{
    std::vector<FT_UInt> indices;
    for (unsigned unicode : EveryCodeUnicode()) indices.push_back(GlyphIndexOf(face, unicode));
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    struct cUnits {
        FT_UInt glyph;
        long above, below;
    };
    std::vector<cUnits> glyphs;
    cFileGlyphs out;
    for (FT_UInt glyph : indices) {
        if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE) != 0) continue;
        const FT_Glyph_Metrics& m = face->glyph->metrics;
        glyphs.push_back({glyph, m.horiBearingY, m.height - m.horiBearingY});
        out.units.nAbove = std::max<long>(out.units.nAbove, m.horiBearingY);
        out.units.nBelow = std::max<long>(out.units.nBelow, m.height - m.horiBearingY);
    }
    // The highest and the lowest glyphs taken by turns.
    std::vector<cUnits> byBelow = glyphs;
    std::stable_sort(glyphs.begin(), glyphs.end(), [](const cUnits& a, const cUnits& b) { return a.above > b.above; });
    std::stable_sort(byBelow.begin(), byBelow.end(), [](const cUnits& a, const cUnits& b) { return a.below > b.below; });
    std::vector<bool> taken(face->num_glyphs > 0 ? static_cast<std::size_t>(face->num_glyphs) : 0);
    auto take = [&](FT_UInt glyph) {
        if (glyph < taken.size() && !taken[glyph]) {
            taken[glyph] = true;
            out.glyphs.push_back(glyph);
        }
    };
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        take(glyphs[i].glyph);
        take(byBelow[i].glyph);
    }
    return out;
}

// The rows the glyphs' bitmaps reach at the face's current size, as FreeType foresees them (a
// hinted outline of no height still becomes a row); stops once they no longer fit the cell.
cReach PixelReach(FT_Face face, const std::vector<FT_UInt>& glyphs, long cell)
{
    cReach reach;
    for (FT_UInt glyph : glyphs) {
        if (FT_Load_Glyph(face, glyph, kLoadFlags) != 0) continue;
        const FT_GlyphSlot slot = face->glyph;
        if (slot->bitmap.rows == 0) continue;
        reach.nAbove = std::max<long>(reach.nAbove, slot->bitmap_top);
        reach.nBelow = std::max<long>(reach.nBelow, static_cast<long>(slot->bitmap.rows) - slot->bitmap_top);
        if (reach.nAbove + reach.nBelow > cell) break;
    }
    return reach;
}

// A face's size: the em in whole pixels, the cell, and the baseline's distance below the
// cell's top.
struct cFaceSize {
    int nEm = 1;
    int nCell = 0;
    int nAscent = 0;
};

// A positive height is the cell: the largest em at which every glyph fits in it, hinted, with
// the rows to spare above the glyphs (as GDI's internal leading). A negative height is the em,
// and the cell is what its glyphs reach.
cFaceSize SizeFace(FT_Face face, const cFileGlyphs& file, int nHeight, int nEmWidth)
{
    auto reachAt = [&](int em, long cell) {
        FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(nEmWidth > 0 ? nEmWidth : em), static_cast<FT_UInt>(em));
        return PixelReach(face, file.glyphs, cell);
    };
    cFaceSize size;
    if (nHeight <= 0) {
        size.nEm = std::max(-nHeight, 1);
        const cReach reach = reachAt(size.nEm, LONG_MAX);
        size.nCell = nHeight < 0 ? static_cast<int>(reach.nAbove + reach.nBelow) : 0;
        size.nAscent = static_cast<int>(reach.nAbove);
        return size;
    }
    auto fits = [&](const cReach& reach) { return reach.nAbove + reach.nBelow <= nHeight; };
    const long unitsTall = std::max(file.units.nAbove + file.units.nBelow, 1L);
    // Down from a little above the em that the outlines allow, since hinting can pull glyphs in
    // as well as push them out; a size that does not fit is seen at its first glyphs mostly.
    const long outlines = static_cast<long>(nHeight) * face->units_per_EM / unitsTall;
    int em = static_cast<int>(std::clamp(outlines + 2, 1L, 4L * nHeight));
    cReach reach = reachAt(em, nHeight);
    while (em > 1 && !fits(reach)) reach = reachAt(--em, nHeight);
    size.nEm = em;
    size.nCell = nHeight;
    size.nAscent = static_cast<int>(fits(reach) ? nHeight - reach.nBelow : reach.nAbove);
    return size;
}

// Measuring every glyph takes a while: the glyphs are listed once per font file, and sizes
// are kept by font file, height and width.
cFaceSize CachedFaceSize(const std::string& file, FT_Face face, int nHeight, int nEmWidth)
{
    static std::mutex mutex;
    static std::map<std::string, cFileGlyphs> files;
    static std::map<std::tuple<std::string, int, int>, cFaceSize> sizes;
    const std::lock_guard<std::mutex> lock(mutex);
    const auto key = std::make_tuple(file, nHeight, nEmWidth);
    if (const auto found = sizes.find(key); found != sizes.end()) return found->second;
    auto listed = files.find(file);
    if (listed == files.end()) listed = files.emplace(file, GlyphsOf(face)).first;
    return sizes.emplace(key, SizeFace(face, listed->second, nHeight, nEmWidth)).first->second;
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
    const std::string file = FontFileForFace(faceCp932);
    if (!IsRegularNativeFile(file) || FT_New_Face(library, file.c_str(), 0, &freeType->face) != 0) {
        freeType->face = nullptr;
        return nullptr;
    }
    FT_Face face = freeType->face;
    // A width is that of a half-width character, half the em of these faces.
    const int emWidth = nWidth > 0 ? nWidth * 2 : 0;
    const cFaceSize size = CachedFaceSize(file, face, nHeight, emWidth);
    if (FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(emWidth > 0 ? emWidth : size.nEm), static_cast<FT_UInt>(size.nEm)) != 0)
        return nullptr;
    glyphs->m_nCellHeight = size.nCell;
    glyphs->m_nEm = size.nEm;
    glyphs->m_nAscent = size.nAscent;
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
    if (FT_Load_Glyph(face, GlyphIndexOf(face, UnicodeOf(code)), kLoadFlags) != 0) return false;
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) != 0) return false;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    // A glyph that would start left of its pen (a proportional face's sound marks) starts at
    // the pen, so that it stays in its cell.
    out.nLeft = std::max(slot->bitmap_left, 0);
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
