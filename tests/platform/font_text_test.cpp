// Text of our GDI and D3DX fonts, compared pixel by pixel with FreeType called here directly.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>
#include "platform/video/d3d9.h"
#include "platform/video/d3dx9_font.h"
#include "platform/video/ddraw.h"
#include "platform/video/font_face.h"
#include "platform/video/gdi_font.h"

namespace {

constexpr const char* kIpaGothic = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

// The picture FreeType gives for a line of Unicode characters: a face of IPAGothic whose
// ascender plus descender is the cell height, one-bit hinted glyphs, cell top at (x, y).
std::vector<std::uint32_t> FreeTypeLine(int width, int height, int cell, int x, int y, const std::vector<unsigned>& chars,
                                        std::uint32_t ink)
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, 0);
    FT_Library library;
    EXPECT_EQ(FT_Init_FreeType(&library), 0);
    FT_Face face;
    EXPECT_EQ(FT_New_Face(library, kIpaGothic, 0, &face), 0);
    const long units = face->ascender - face->descender;
    FT_Set_Char_Size(face, 0, cell * 64 * face->units_per_EM / units, 72, 72);
    const int baseline = y + static_cast<int>((2L * cell * face->ascender + units) / (2 * units));
    int pen = x;
    for (unsigned c : chars) {
        FT_Load_Char(face, c, FT_LOAD_TARGET_MONO | FT_LOAD_RENDER);
        FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO);
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        for (unsigned row = 0; row < bitmap.rows; ++row)
            for (unsigned col = 0; col < bitmap.width; ++col) {
                if (!((bitmap.buffer[row * bitmap.pitch + col / 8] >> (7 - col % 8)) & 1)) continue;
                const int px = pen + face->glyph->bitmap_left + static_cast<int>(col);
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
        EXPECT_EQ(StorePixels(*text.store), FreeTypeLine(96, 40, c.cell, c.x, c.y, c.chars, 0x123456)) << c.text;
    }
}

TEST(GdiText, ExtentsAdvanceHalfAndFullWidthCellsAndOneBadByteIsOneReplacementGlyph)
{
    cSurfaceText text(8, 8, 16, "ＭＳ ゴシック");
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
        EXPECT_EQ(size.cy, 16);
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
    desc.Height = 16;
    desc.Weight = 400;
    desc.CharSet = 128;
    std::strcpy(desc.FaceName, "ＭＳ ゴシック");
    ID3DXFont* rawFont = nullptr;
    ASSERT_EQ(D3DXCreateFontIndirectA(device.get(), &desc, &rawFont), D3D_OK);
    plat::cComPtr<ID3DXFont> font(rawFont);

    RECT rect{5, 4, 0, 0};
    EXPECT_EQ(font->DrawTextA(nullptr, "Aあ", -1, &rect, DT_CALCRECT, 0xFF00FF00), 16);
    EXPECT_EQ(rect.right, 5 + 8 + 16);
    EXPECT_EQ(rect.bottom, 4 + 16);
    EXPECT_EQ(font->DrawTextA(nullptr, "Aあ", -1, &rect, DT_NOCLIP, 0xFF00FF00), 16);
    const std::vector<std::uint32_t> expected = FreeTypeLine(96, 40, 16, 5, 4, {'A', 0x3042}, 0xFF00FF00);
    const plat::cPixelStore& store = *level->m_Store;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 96; ++x)
            ASSERT_EQ(plat::ReadPixel(store.Row(y) + x * 4, 4), expected[static_cast<std::size_t>(y) * 96 + x])
                << x << "," << y;
}

}  // namespace
