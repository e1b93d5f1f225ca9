// Text of our GDI and D3DX fonts, compared pixel by pixel with FreeType called here directly.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>
#include "platform/video/d3d9.h"
#include "platform/video/d3dx9_font.h"
#include "platform/video/ddraw.h"
#include "platform/video/font_face.h"
#include "platform/video/gdi_font.h"
#include "platform/os/text.h"

namespace {

constexpr const char* kIpaGothic = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

// The picture FreeType gives for a line of Unicode characters in IPAGothic at the em of a face
// of ours, one-bit hinted glyphs, the cell top at (x, y) and the baseline the face's ascent
// below it; a glyph never starts left of its pen.
std::vector<std::uint32_t> FreeTypeLine(int width, int height, const plat::cGlyphFace& sized, int x, int y,
                                        const std::vector<unsigned>& chars, std::uint32_t ink)
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, 0);
    FT_Library library;
    EXPECT_EQ(FT_Init_FreeType(&library), 0);
    FT_Face face;
    EXPECT_EQ(FT_New_Face(library, kIpaGothic, 0, &face), 0);
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(sized.EmPixels()));
    const int baseline = y + sized.Ascent();
    int pen = x;
    for (unsigned c : chars) {
        FT_Load_Char(face, c, FT_LOAD_TARGET_MONO | FT_LOAD_RENDER);
        FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO);
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        for (unsigned row = 0; row < bitmap.rows; ++row)
            for (unsigned col = 0; col < bitmap.width; ++col) {
                if (!((bitmap.buffer[row * bitmap.pitch + col / 8] >> (7 - col % 8)) & 1)) continue;
                const int px = pen + std::max(face->glyph->bitmap_left, 0) + static_cast<int>(col);
                const int py = baseline - face->glyph->bitmap_top + static_cast<int>(row);
                if (px >= 0 && px < width && py >= 0 && py < height) pixels[static_cast<std::size_t>(py) * width + px] = ink;
            }
        pen += static_cast<int>((face->glyph->advance.x + 32) >> 6);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return pixels;
}

std::vector<std::uint32_t> StorePixels(const plat::cPixelStore& store)
{
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < store.nHeight; ++y)
        for (int x = 0; x < store.nWidth; ++x) pixels.push_back(plat::ReadPixel(store.Row(y) + x * 4, 4) & 0xFFFFFF);
    return pixels;
}

struct cSurfaceText {
    std::shared_ptr<plat::cPixelStore> store;
    HDC hdc;
    HFONT font;
    cSurfaceText(int w, int h, int cell, const char* face, D3DFORMAT format = D3DFMT_X8R8G8B8,
                 const PALETTEENTRY* palette = nullptr)
        : store(std::make_shared<plat::cPixelStore>(w, h, format)), hdc(plat::CreateSurfaceDC(store, palette)),
          font(CreateFontA(cell, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, face))
    {
        SelectObject(hdc, font);
        SetBkMode(hdc, TRANSPARENT);
    }
    ~cSurfaceText()
    {
        plat::DeleteSurfaceDC(hdc);
        DeleteObject(font);
    }
};

TEST(GdiText, TextOutDrawsTheGlyphsFreeTypeGivesWithTheCellTopAtY)
{
    struct Case { int cell; int x, y; const char* text; std::vector<unsigned> chars; } cases[] = {
        {16, 3, 2, "Aあg", {'A', 0x3042, 'g'}},
        {10, 0, 0, "FPS60(12)", {'F', 'P', 'S', '6', '0', '(', '1', '2', ')'}},
        {30, -4, -3, "漢ｱ字", {0x6F22, 0xFF71, 0x5B57}},  // cut at the left and top edges
    };
    for (const auto& c : cases) {
        cSurfaceText text(96, 40, c.cell, "ＭＳ ゴシック");
        ASSERT_NE(text.font, nullptr);
        SetTextColor(text.hdc, RGB(0x12, 0x34, 0x56));
        ASSERT_TRUE(TextOutA(text.hdc, c.x, c.y, c.text, static_cast<int>(std::strlen(c.text))));
        const plat::cGlyphFace& face = *plat::FontFace(text.font);
        EXPECT_EQ(StorePixels(*text.store), FreeTypeLine(96, 40, face, c.x, c.y, c.chars, 0x123456)) << c.text;
    }
}

// Every code a face can be asked to draw: each single byte and each lead-trail pair.
std::vector<unsigned> EveryCp932Code()
{
    std::vector<unsigned> codes;
    for (unsigned c = 0; c < 0x100; ++c) codes.push_back(c);
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail)
            if (trail != 0x7F) codes.push_back(lead << 8 | trail);
    }
    return codes;
}

// The program's three cell heights, and two em sizes of dialogs (a negative height), on the
// fixed and the proportional face.
TEST(GlyphFaceCell, EveryGlyphOfTheFaceLiesInsideItsCell)
{
    const std::vector<unsigned> codes = EveryCp932Code();
    for (const char* name : {"ＭＳ ゴシック", "ＭＳ Ｐゴシック"})
        for (int height : {9, 16, 30, -12, -16}) {
            const auto face = plat::cGlyphFace::Open(name, height, 0);
            ASSERT_NE(face, nullptr);
            const int cell = face->CellHeight();
            if (height > 0) EXPECT_EQ(cell, height);
            else EXPECT_EQ(face->EmPixels(), -height);
            std::string outside;
            for (unsigned code : codes) {
                const plat::cGlyph& glyph = face->Glyph(code);
                if (glyph.nHeight == 0) continue;
                if (glyph.nTop < 0 || glyph.nTop + glyph.nHeight > cell || glyph.nLeft < 0) {
                    char line[64];
                    std::snprintf(line, sizeof line, " %X(rows %d..%d, x %d)", code, glyph.nTop, glyph.nTop + glyph.nHeight,
                                  glyph.nLeft);
                    outside += line;
                }
            }
            EXPECT_EQ(outside, "") << plat::FontFileForFace(name) << " at " << height;
        }
}

// The first character of a UTF-8 text (one to three bytes: CP932 has nothing beyond).
unsigned FirstCharacter(const std::string& utf8)
{
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    if (utf8.empty()) return 0xFFFD;
    if (s[0] < 0x80) return s[0];
    if (s[0] < 0xE0) return (s[0] & 0x1Fu) << 6 | (s[1] & 0x3Fu);
    return (s[0] & 0x0Fu) << 12 | (s[1] & 0x3Fu) << 6 | (s[2] & 0x3Fu);
}

// Rows that FreeType's hinted one-bit glyphs of every code reach above and below the baseline
// at an em size.
std::pair<int, int> ReachOfEveryGlyph(const std::string& file, int em)
{
    FT_Library library;
    EXPECT_EQ(FT_Init_FreeType(&library), 0);
    FT_Face face;
    EXPECT_EQ(FT_New_Face(library, file.c_str(), 0, &face), 0);
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em));
    int above = 0, below = 0;
    for (unsigned code : EveryCp932Code()) {
        const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
        const std::string utf8 = plat::Cp932ToUtf8(code > 0xFF ? std::string_view(bytes, 2) : std::string_view(bytes + 1, 1));
        FT_UInt index = FT_Get_Char_Index(face, FirstCharacter(utf8));
        if (index == 0) index = FT_Get_Char_Index(face, 0xFFFD);
        FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO | FT_LOAD_RENDER);
        FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO);
        const int rows = static_cast<int>(face->glyph->bitmap.rows);
        if (rows == 0) continue;
        above = std::max(above, face->glyph->bitmap_top);
        below = std::max(below, rows - face->glyph->bitmap_top);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return {above, below};
}

TEST(GlyphFaceCell, TheEmIsTheLargestAtWhichEveryGlyphFitsAndTheSpareRowsLieAbove)
{
    for (const char* name : {"ＭＳ ゴシック", "ＭＳ Ｐゴシック"})
        for (int cell : {9, 16, 30}) {
            const auto face = plat::cGlyphFace::Open(name, cell, 0);
            ASSERT_NE(face, nullptr);
            const std::string file = plat::FontFileForFace(name);
            const auto [above, below] = ReachOfEveryGlyph(file, face->EmPixels());
            EXPECT_LE(above + below, cell) << file << " at " << cell;
            EXPECT_EQ(face->Ascent(), cell - below) << file << " at " << cell;
            const auto [largerAbove, largerBelow] = ReachOfEveryGlyph(file, face->EmPixels() + 1);
            EXPECT_GT(largerAbove + largerBelow, cell) << file << " at " << cell;
        }
}

TEST(GdiText, ExtentsAdvanceHalfAndFullWidthCellsAndOneBadByteIsOneReplacementGlyph)
{
    cSurfaceText text(8, 8, -16, "ＭＳ ゴシック");  // an em of 16: half-width glyphs advance 8
    struct Case { const char* text; int count; long cx; } cases[] = {
        {"ABあ", -1, 32},
        // A byte without a CP932 character is one replacement glyph (U+FFFD, full width).
        {"\xA0" "A", -1, 24},
        {"A\x82", 2, 24},       // a lead byte at the end is a character of its own
        {"A\x82 ", 3, 32},      // 82 20 is not a pair: three characters
        {"", 0, 0},
    };
    for (const auto& c : cases) {
        SIZE size{};
        const int count = c.count < 0 ? static_cast<int>(std::strlen(c.text)) : c.count;
        ASSERT_TRUE(GetTextExtentPoint32A(text.hdc, c.text, count, &size)) << c.text;
        EXPECT_EQ(size.cx, c.cx) << c.text;
        EXPECT_EQ(size.cy, plat::FontFace(text.font)->CellHeight());
    }
}

TEST(GdiText, EightBitTextTakesTheNearestDisplayPaletteEntryAndTheLowestOnTies)
{
    PALETTEENTRY palette[256] = {};
    for (auto& e : palette) e = {200, 200, 200, 0};
    palette[7] = {250, 10, 10, 0};
    palette[9] = {250, 10, 10, 0};  // the same colour again: 7 wins
    cSurfaceText text(32, 20, 16, "ＭＳ ゴシック", D3DFMT_P8, palette);
    SetTextColor(text.hdc, RGB(255, 0, 0));
    TextOutA(text.hdc, 0, 0, "■", 2);
    std::vector<int> inks;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 32; ++x)
            if (const int v = text.store->Row(y)[x]) inks.push_back(v);
    ASSERT_FALSE(inks.empty());
    for (int v : inks) EXPECT_EQ(v, 7);
}

TEST(GdiText, ProportionalFacesOfTheFaceTableTakeIpaPGothic)
{
    struct Case { const char* face; const char* file; } cases[] = {
        {"ＭＳ Ｐゴシック", "ipagp.ttf"}, {"HGPｺﾞｼｯｸE", "ipagp.ttf"}, {"MS UI Gothic", "ipagp.ttf"},
        {"ＭＳ ゴシック", "ipag.ttf"},     {"Arial", "ipag.ttf"},      {"", "ipag.ttf"},
    };
    for (const auto& c : cases) {
        const std::string file = plat::FontFileForFace(c.face);
        EXPECT_EQ(file.substr(file.rfind('/') + 1), c.file) << c.face;
    }
}

TEST(D3DXFontText, DrawTextWritesTheColourIntoTheRenderTargetAndCalcRectMeasures)
{
    D3DPRESENT_PARAMETERS params{};
    params.BackBufferWidth = 96;
    params.BackBufferHeight = 40;
    params.BackBufferFormat = D3DFMT_X8R8G8B8;
    params.Windowed = TRUE;
    plat::cComPtr<IDirect3D9> d3d(Direct3DCreate9(D3D_SDK_VERSION));
    IDirect3DDevice9* rawDevice = nullptr;
    ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &rawDevice), D3D_OK);
    plat::cComPtr<IDirect3DDevice9> device(rawDevice);
    IDirect3DTexture9* rawTexture = nullptr;
    ASSERT_EQ(device->CreateTexture(96, 40, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &rawTexture, nullptr),
              D3D_OK);
    plat::cComPtr<IDirect3DTexture9> texture(rawTexture);
    IDirect3DSurface9* rawLevel = nullptr;
    texture->GetSurfaceLevel(0, &rawLevel);
    plat::cComPtr<IDirect3DSurface9> level(rawLevel);
    ASSERT_EQ(device->SetRenderTarget(0, level.get()), D3D_OK);

    D3DXFONT_DESCA desc{};
    desc.Height = -16;  // an em of 16: half-width glyphs advance 8
    desc.Weight = 400;
    desc.CharSet = 128;
    std::strcpy(desc.FaceName, "ＭＳ ゴシック");
    ID3DXFont* rawFont = nullptr;
    ASSERT_EQ(D3DXCreateFontIndirectA(device.get(), &desc, &rawFont), D3D_OK);
    plat::cComPtr<ID3DXFont> font(rawFont);

    const auto sized = plat::cGlyphFace::Open("ＭＳ ゴシック", -16, 0);
    const int cell = sized->CellHeight();
    RECT rect{5, 4, 0, 0};
    EXPECT_EQ(font->DrawTextA(nullptr, "Aあ", -1, &rect, DT_CALCRECT, 0xFF00FF00), cell);
    EXPECT_EQ(rect.right, 5 + 8 + 16);
    EXPECT_EQ(rect.bottom, 4 + cell);
    EXPECT_EQ(font->DrawTextA(nullptr, "Aあ", -1, &rect, DT_NOCLIP, 0xFF00FF00), cell);
    const std::vector<std::uint32_t> expected = FreeTypeLine(96, 40, *sized, 5, 4, {'A', 0x3042}, 0xFF00FF00);
    const plat::cPixelStore& store = *level->m_Store;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 96; ++x)
            ASSERT_EQ(plat::ReadPixel(store.Row(y) + x * 4, 4), expected[static_cast<std::size_t>(y) * 96 + x])
                << x << "," << y;
}

}  // namespace
