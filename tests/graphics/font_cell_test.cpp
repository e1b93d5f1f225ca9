// The program's three fonts with the real faces: every printable character drawn on the pitch
// keeps all its glyph's pixels inside its own cell, on both back ends, cached or not.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>
#include "graphics/fill.h"
#include "graphics/font.h"
#include "platform/os/text.h"
#include "tests/graphics/font_test_support.h"

namespace {

using qbtest::cDisplayMode;
using qbtest::cImage;

struct cCellMode {
    cDisplayMode display;
    int nDstMemType;  // Direct3D: 0 draws straight into the destination, 1 through the work surface
    BOOL bCache;
    const char* name;
};

const cCellMode kCellModes[] = {
    {{TRUE, 32, 1}, 0, TRUE, "D3D32 cached"}, {{TRUE, 32, 1}, 0, FALSE, "D3D32"}, {{TRUE, 32, 1}, 1, FALSE, "D3D32 system"},
    {{FALSE, 32, 1}, 0, TRUE, "DD32 cached"}, {{FALSE, 32, 1}, 0, FALSE, "DD32"},
};

// Height, cell width and line pitch of the start-up's three fonts.
struct cCellFont {
    int nHeight, nPitchX, nPitchY;
};
const cCellFont kCellFonts[] = {{9, 10, 10}, {16, 16, 16}, {30, 32, 32}};

// The printable single bytes, and the full-width rows of symbols, digits, letters and kana.
std::vector<std::string> PrintableCharacters()
{
    std::vector<std::string> chars;
    for (int c = 0x21; c <= 0xDF; ++c)
        if (c <= 0x7E || c >= 0xA1) chars.emplace_back(1, static_cast<char>(c));
    for (int lead = 0x81; lead <= 0x84; ++lead)
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            std::string utf8;
            if (trail != 0x7F && plat::Cp932ToUtf8Strict(pair, utf8)) chars.push_back(pair);
        }
    return chars;
}

using cShape = std::vector<std::pair<int, int>>;

// Points moved so that the topmost and leftmost ones lie on 0, sorted.
cShape Normalised(cShape points)
{
    if (points.empty()) return points;
    int left = points[0].first, top = points[0].second;
    for (const auto& [x, y] : points) {
        left = std::min(left, x);
        top = std::min(top, y);
    }
    for (auto& [x, y] : points) {
        x -= left;
        y -= top;
    }
    std::sort(points.begin(), points.end());
    return points;
}

cShape GlyphShape(const plat::cGlyph& glyph)
{
    cShape points;
    for (int row = 0; row < glyph.nHeight; ++row)
        for (int col = 0; col < glyph.nWidth; ++col)
            if (glyph.bits[static_cast<std::size_t>(row) * glyph.nWidth + col]) points.emplace_back(col, row);
    return Normalised(points);
}

class FontCell : public qbtest::cFontTest {
protected:
    void SetUp() override
    {
        cFontTest::SetUp();
        plat::SetGlyphRasteriser(nullptr);
    }
    void TearDown() override
    {
        m_Font.Release();
        DDReleaseSurface(&m_Dst);
        cFontTest::TearDown();
    }

    // Draws the characters a page at a time, one cell of margin around, and lists each one
    // whose cell does not hold exactly its glyph or whose page has ink outside its cells.
    std::string CharactersOutOfTheirCells(const cCellMode& mode, const char* face, const cCellFont& font)
    {
        g_dwColorKey = 0;
        if (!Init(mode.display)) return "no display";
        DDSetTransmit(255, 0, 255);
        ClearSurfaceData(&m_Dst);
        if (!DDCreateSurface(&m_Dst, 640, 480, FALSE, 0, mode.nDstMemType, nullptr, FALSE)) return "no destination";
        if (!m_Font.Create(face, 0, font.nHeight, font.nPitchX, font.nPitchY, kInk, nullptr, 0, 0, nullptr, mode.bCache))
            return "no font";
        const auto glyphs = plat::cGlyphFace::Open(face, font.nHeight, 0);
        const std::vector<std::string> chars = PrintableCharacters();
        const int columns = 640 / font.nPitchX - 2, rows = 480 / font.nPitchY - 2;
        std::string wrong;
        for (std::size_t first = 0; first < chars.size(); first += static_cast<std::size_t>(columns * rows)) {
            const std::size_t count = std::min(chars.size() - first, static_cast<std::size_t>(columns * rows));
            std::string text;
            for (std::size_t i = 0; i < count; ++i) {
                if (i > 0 && i % columns == 0) text += '\n';
                text += chars[first + i];
            }
            DDFillSurfacePal(&m_Dst, kBackground);
            const std::uint32_t background = qbtest::ReadImage(&m_Dst).At(0, 0);
            m_Font.DrawText(&m_Dst, font.nPitchX, font.nPitchY, text.c_str(), FALSE);
            const cImage image = qbtest::ReadImage(&m_Dst);
            auto ink = [&](int x, int y) { return image.At(x, y) != background; };
            for (std::size_t i = 0; i < count; ++i) {
                const int cellX = font.nPitchX * (1 + static_cast<int>(i) % columns);
                const int cellY = font.nPitchY * (1 + static_cast<int>(i) / columns);
                cShape drawn;
                for (int y = cellY; y < cellY + font.nPitchY; ++y)
                    for (int x = cellX; x < cellX + font.nPitchX; ++x)
                        if (ink(x, y)) drawn.emplace_back(x, y);
                const std::string& c = chars[first + i];
                const unsigned code = c.size() == 2 ? static_cast<BYTE>(c[0]) << 8 | static_cast<BYTE>(c[1]) : static_cast<BYTE>(c[0]);
                if (Normalised(drawn) != GlyphShape(glyphs->Glyph(code))) wrong += " " + c;
            }
            const int lines = static_cast<int>((count + columns - 1) / columns);
            for (int y = 0; y < image.h; ++y)
                for (int x = 0; x < image.w; ++x) {
                    const bool inBlock = x >= font.nPitchX && x < font.nPitchX * (1 + columns) && y >= font.nPitchY &&
                                         y < font.nPitchY * (1 + lines);
                    if (!inBlock && ink(x, y)) return wrong + " and ink outside the text at " + std::to_string(x) + "," +
                                                      std::to_string(y);
                }
        }
        return wrong;
    }

    DDSURFACEDATA m_Dst{};
    cFont m_Font;
};

TEST_F(FontCell, EveryPrintableCharacterKeepsItsWholeGlyphInsideItsCell)
{
    for (const cCellMode& mode : kCellModes)
        for (const char* face : {"ＭＳ Ｐゴシック", "ＭＳ ゴシック"})
            for (const cCellFont& font : kCellFonts) {
                EXPECT_EQ(CharactersOutOfTheirCells(mode, face, font), "")
                    << mode.name << ", " << plat::Cp932ToUtf8(face) << " at " << font.nHeight;
                m_Font.Release();
                DDReleaseSurface(&m_Dst);
                DDUninit();
            }
}

}  // namespace
