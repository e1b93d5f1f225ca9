#pragma once
// Fonts drawn with a stand-in rasteriser whose glyphs say which code they are: an 8-pixel bar
// on the cell's first glyph row, then the code's high byte and low byte as 8 pixels each on
// the next two rows. Half-width codes advance half the cell height, pairs a whole one.
#include <optional>
#include "graphics/font.h"
#include "platform/video/font_face.h"
#include "tests/graphics/blit_reference.h"
#include "tests/graphics/graphics_fixture.h"

namespace qbtest {

inline bool CodeGlyph(int nHeight, int, unsigned code, plat::cGlyph& out)
{
    out.nLeft = 0;
    out.nTop = 0;
    out.nWidth = 8;
    out.nHeight = 3;
    out.nAdvance = code > 0xFF ? nHeight : nHeight / 2;
    out.bits.assign(24, 0);
    for (int i = 0; i < 8; ++i) {
        out.bits[i] = 1;
        out.bits[8 + i] = (code >> (15 - i)) & 1;
        out.bits[16 + i] = (code >> (7 - i)) & 1;
    }
    return true;
}

// The code whose glyph has its bar at (x, y) of an image, or nothing.
inline std::optional<unsigned> CodeAt(const cImage& image, int x, int y, std::uint32_t background)
{
    if (x < 0 || y < 0 || x + 8 > image.w || y + 3 > image.h) return std::nullopt;
    auto ink = [&](int px, int py) { return image.At(px, py) != background; };
    for (int i = 0; i < 8; ++i)
        if (!ink(x + i, y)) return std::nullopt;
    if (x > 0 && ink(x - 1, y)) return std::nullopt;  // the bar starts here, not further left
    unsigned code = 0;
    for (int i = 0; i < 8; ++i) code = code << 1 | (ink(x + i, y + 1) ? 1u : 0u);
    for (int i = 0; i < 8; ++i) code = code << 1 | (ink(x + i, y + 2) ? 1u : 0u);
    return code;
}

class cFontTest : public cGraphicsTest {
protected:
    void SetUp() override
    {
        cGraphicsTest::SetUp();
        plat::SetGlyphRasteriser(CodeGlyph);
        for (int i = 0; i < 256; ++i) g_Palette[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i), 40, 0};
        g_Palette[0] = {255, 0, 255, 0};
        g_Palette[kInk] = {250, 250, 250, 0};
        g_Palette[kBackground] = {0, 0, 80, 0};
        std::memcpy(g_DisplayPalette, g_Palette, sizeof g_Palette);
    }
    void TearDown() override
    {
        plat::SetGlyphRasteriser(nullptr);
        cGraphicsTest::TearDown();
    }
    static constexpr int kInk = 241;
    static constexpr int kBackground = 5;
};

}  // namespace qbtest
