// Pictures, blits and fills at 16 and 8 bits, against references written from these pixel rules: 5-
// and 6-bit channels widen as (c << 3) | (c >> 2) and (c << 2) | (c >> 4) and narrow by truncation;
// Direct3D's 16-bit textures are A1R5G5B5 (a pixel counts as opaque when p & 0xA000 is not 0), its
// full-screen back buffer R5G6B5; DirectDraw's 16-bit display is R5G6B5 and its 8-bit display holds
// palette indices, and DirectDraw skips source pixels equal to the colour key.
#include "tests/graphics/graphics_fixture.h"

#include "graphics/blit.h"
#include "graphics/fill.h"
#include "tests/graphics/blit_reference.h"

namespace {

using qbtest::cImage;
using qbtest::cRefBlit;
using DepthTest = qbtest::cGraphicsTest;

constexpr std::uint32_t kKey = qbtest::kKeyRgb;
using qbtest::KeyedPictureRgb;

constexpr auto& W5 = qbtest::RefWiden5;
constexpr auto& W6 = qbtest::RefWiden6;

// A1R5G5B5 and R5G6B5 to ARGB and back.
std::uint32_t From1555(std::uint32_t p)
{
    return ((p & 0x8000) ? 0xFF000000u : 0) | W5((p >> 10) & 31) << 16 | W5((p >> 5) & 31) << 8 | W5(p & 31);
}
std::uint32_t To1555(std::uint32_t argb)
{
    return (argb >> 31) << 15 | ((argb >> 19) & 31) << 10 | ((argb >> 11) & 31) << 5 | ((argb >> 3) & 31);
}
std::uint32_t From565(std::uint32_t p) { return 0xFF000000u | W5(p >> 11) << 16 | W6((p >> 5) & 63) << 8 | W5(p & 31); }
std::uint32_t To565(std::uint32_t argb) { return ((argb >> 19) & 31) << 11 | ((argb >> 10) & 63) << 5 | ((argb >> 3) & 31); }

cImage Map(cImage image, std::uint32_t (*f)(std::uint32_t))
{
    for (auto& p : image.px) p = f(p);
    return image;
}

// Distinct 16-bit values, about half of them with the alpha (top) bit.
cImage Pattern16(int w, int h, std::uint32_t seed)
{
    cImage image{w, h, {}};
    for (int i = 0; i < w * h; ++i) image.px.push_back((seed + 0x3A5Du * static_cast<std::uint32_t>(i + 1)) & 0xFFFF);
    return image;
}

// Direct3D at 16 bits with the key colour of image files set as the start-up sets it.
void SetUpDirect3D16(DDSURFACEDATA* picture)
{
    lpDTCon->rgbTransmitFile = RGBTRIPLE{0xFF, 0x00, 0xFF};
    DDSetTransmit(31, 0, 31);  // 5-bit components at this depth
    ClearSurfaceData(picture);
    ASSERT_EQ(DDCreateSurfaceFromFile(picture, "pic.bmp", TRUE, 16, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
}

TEST_F(DepthTest, Direct3DSixteenBitPicturesAreKeyedA1R5G5B5)
{
    // A 24-bit picture and a 16-bit (X1R5G5B5) one: the key becomes 0, every other pixel has
    // the alpha bit and its channels narrowed by truncation (5-bit channels unchanged).
    std::vector<std::uint32_t> words;
    for (int i = 0; i < 6; ++i) words.push_back(static_cast<std::uint32_t>(0x1234 + 0x0F0F * i) & 0x7FFF);
    words[2] = 31u << 10 | 31;  // the key colour in 5 bits widens to 0xFF00FF
    qbtest::cBmpLayout layout;
    layout.width = 3;
    layout.height = 2;
    layout.bitCount = 16;
    struct Case { const char* what; std::string file; std::vector<std::uint32_t> expected; } cases[] = {
        {"24 bits", qbtest::BuildBmp24(3, 2, {kKey, 0x0F1F2F, 0xFFFFFF, 0x080808, 0x07FF00, kKey}),
         {0, 0x8000 | 1u << 10 | 3u << 5 | 5u, 0xFFFF, 0x8000 | 1u << 10 | 1u << 5 | 1u, 0x8000 | 31u << 5, 0}},
        {"16 bits", qbtest::BuildBmp(layout, words), {}},
    };
    for (std::uint32_t w : words) cases[1].expected.push_back(w == (31u << 10 | 31) ? 0 : 0x8000 | w);
    ASSERT_TRUE(Init({TRUE, 16, 1}));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Write("pic.bmp", c.file);
        DDSURFACEDATA sd;
        SetUpDirect3D16(&sd);
        EXPECT_EQ(qbtest::ReadImage(&sd).px, c.expected);
        DDReleaseSurface(&sd);
    }
}

TEST_F(DepthTest, Direct3DSixteenBitQuadsWidenBlendAndNarrow)
{
    ASSERT_TRUE(Init({TRUE, 16, 1}));
    Write("pic.bmp", qbtest::BuildBmp24(8, 4, KeyedPictureRgb()));
    DDSURFACEDATA picture, target;
    SetUpDirect3D16(&picture);
    ClearSurfaceData(&target);
    ASSERT_TRUE(DDCreateSurface(&target, 16, 12, FALSE, 0, 0, nullptr, FALSE));
    const cImage texture = Map(qbtest::ReadImage(&picture, true), From1555);
    struct Case {
        const char* what;
        cRefBlit b;
        DWORD flags;
        std::uint32_t color = 0xFFFFFFFF;
        int colorOp = D3DTOP_MODULATE;
        int alphaOp = D3DTOP_SELECTARG1;
    } cases[] = {
        {"unscaled opaque: transparent pixels become transparent", {3, 2, 8, 4, 0, 0, 8, 4}, 0},
        {"keyed", {3, 2, 8, 4, 0, 0, 8, 4}, 1},
        {"scaled up and clipped on the left", {-5, 1, 16, 8, 0, 0, 8, 4}, 1},
        {"scaled down", {2, 3, 3, 3, 1, 0, 7, 4}, 1},
        {"mirrored", {4, 4, 8, 4, 8, 0, -8, 4}, 1},
        {"clipped on the right and at the bottom", {12, 10, 8, 4, 0, 0, 8, 4}, 1},
        {"add", {3, 2, 8, 4, 0, 0, 8, 4}, 1, 0xFF70A0E0, D3DTOP_ADD},
        {"subtract", {3, 2, 8, 4, 0, 0, 8, 4}, 1, 0xFF305070, D3DTOP_SUBTRACT},
        {"translucent and tinted", {1, 1, 12, 6, 0, 0, 8, 4}, 1, 0x5A60C030, D3DTOP_MODULATE, D3DTOP_MODULATE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const cImage before = Pattern16(16, 12, 0x4321);
        WriteImage(&target, before);
        DDSetAlphaOp(c.alphaOp);
        const int state[2] = {static_cast<int>(c.color), c.colorOp};
        DDBltEx(&target, c.b.x, c.b.y, c.b.w, c.b.h, &picture, c.b.sx, c.b.sy, c.b.sw, c.b.sh, c.flags, state);
        DDResetAlphaOp();
        cImage expected = Map(before, From1555);
        qbtest::RefQuad(expected, texture, 8, 4, c.b, c.color, c.colorOp, c.alphaOp, c.flags == 0);
        EXPECT_EQ(qbtest::ReadImage(&target), Map(expected, To1555));
    }
    DDReleaseSurface(&picture);
    DDReleaseSurface(&target);
}

TEST_F(DepthTest, Direct3DSixteenBitFullScreenBackBufferIsR5G6B5)
{
    ASSERT_TRUE(Init({TRUE, 16, 0}));
    Write("pic.bmp", qbtest::BuildBmp24(8, 4, KeyedPictureRgb()));
    DDSURFACEDATA picture;
    SetUpDirect3D16(&picture);
    const cImage texture = Map(qbtest::ReadImage(&picture, true), From1555);
    const cImage before = Pattern16(640, 480, 0x2468);
    // Keyed and translucent quads: the texture widened, blended, narrowed to 5, 6 and 5 bits.
    for (int translucent = 0; translucent < 2; ++translucent) {
        SCOPED_TRACE(translucent ? "translucent" : "keyed");
        WriteImage(&g_BackBuffer, before);
        const std::uint32_t color = translucent ? 0x80FFFFFF : 0xFFFFFFFF;
        const int alphaOp = translucent ? D3DTOP_MODULATE : D3DTOP_SELECTARG1;
        const int state[2] = {static_cast<int>(color), D3DTOP_MODULATE};
        DDSetAlphaOp(alphaOp);
        DDBltEx(&g_BackBuffer, 5, 6, 16, 8, &picture, 0, 0, 8, 4, 1, state);
        DDResetAlphaOp();
        cImage expected = Map(before, From565);
        qbtest::RefQuad(expected, texture, 8, 4, {5, 6, 16, 8, 0, 0, 8, 4}, color, D3DTOP_MODULATE, alphaOp, false);
        EXPECT_EQ(qbtest::ReadImage(&g_BackBuffer), Map(expected, To565));
    }
    // An opaque blit of the keyed picture: its transparent pixels show the transparent colour,
    // (31, 0, 31) in 5-bit units, on the back buffer.
    DDBltFast(&g_BackBuffer, 0, 0, 8, 4, &picture, 0, 0, 0);
    const cImage back = qbtest::ReadImage(&g_BackBuffer);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            const std::uint32_t texel = texture.At(x, y);
            EXPECT_EQ(back.At(x, y), texel == 0 ? 0xF81Fu : To565(texel)) << x << "," << y;
        }
    DDReleaseSurface(&picture);
}

TEST_F(DepthTest, Direct3DSixteenBitPixelCopiesKeepTheAlphaMaskRule)
{
    // A source in system memory is drawn by the pixel copy: keyed, a pixel is opaque when
    // p & 0xA000 is not 0, so 0x2000 (one red bit) is drawn and 0x1C00 is not.
    const std::vector<std::uint32_t> source = {0x0000, 0x2000, 0x801F, 0x1C00, 0xA000, 0x001F, 0xFFFF, 0x5555};
    for (int windowMode : {1, 0}) {
        SCOPED_TRACE(windowMode ? "file surface in a window" : "full-screen back buffer");
        ASSERT_TRUE(Init({TRUE, 16, windowMode}));
        DDSURFACEDATA src, file;
        ClearSurfaceData(&src);
        ClearSurfaceData(&file);
        ASSERT_TRUE(DDCreateSurface(&src, 8, 1, TRUE, 0, DTMEMORYTYPE_SYSTEM, nullptr, FALSE));
        WriteImage(&src, cImage{8, 1, source});
        DDSURFACEDATA* target = &g_BackBuffer;
        if (windowMode) {
            Write("target.bmp", qbtest::BuildBmp24(10, 2, std::vector<std::uint32_t>(20, 0x102030)));
            ASSERT_EQ(DDCreateSurfaceFromFile(&file, "target.bmp", FALSE, 16, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
            target = &file;
        }
        const cImage before = Pattern16(target->nWidth, target->nHeight, 0x1357);
        WriteImage(target, before);
        DDBltFast(target, 1, 1, 8, 1, &src, 0, 0, 1);
        cImage expected = before;
        for (int i = 0; i < 8; ++i) {
            const std::uint32_t p = source[i];
            if ((p & 0xA000) == 0) continue;
            // The full-screen back buffer: red and blue move to its shifts, green doubles.
            const std::uint32_t stored =
                windowMode ? p : ((p >> 10) & 31) << 11 | (((p >> 5) & 31) * 2) << 5 | (p & 31);
            expected.Set(1 + i, 1, stored);
        }
        EXPECT_EQ(qbtest::ReadImage(target), expected);
        DDReleaseSurface(&src);
        DDReleaseSurface(&file);
        DDUninit();
    }
}

TEST_F(DepthTest, Direct3DSixteenBitFillsOfOtherRecordsScaleEveryChannel)
{
    ASSERT_TRUE(Init({TRUE, 16, 1}));
    Write("pic.bmp", qbtest::BuildBmp24(4, 2, std::vector<std::uint32_t>(8, 0x102030)));
    DDSURFACEDATA file;
    ClearSurfaceData(&file);
    ASSERT_EQ(DDCreateSurfaceFromFile(&file, "pic.bmp", FALSE, 16, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
    const std::uint32_t kept = 0x8000 | (0x10u >> 3) << 10 | (0x20u >> 3) << 5 | (0x30u >> 3);
    struct Case { DWORD color; std::uint32_t pixel; } cases[] = {
        // c × max / 255 per channel, alpha 0x80 × 1 / 255 = 0.
        {0xFF80C0FF, 0x8000 | (0x80u * 31 / 255) << 10 | (0xC0u * 31 / 255) << 5 | 31u},
        {0x80FFFFFF, 0x7FFF},
    };
    for (const auto& c : cases) {
        DDFillRect(&file, 2, -1, 5, 2, c.color);
        EXPECT_EQ(qbtest::ReadImage(&file).px, (std::vector<std::uint32_t>{kept, kept, c.pixel, c.pixel, kept, kept, kept, kept}))
            << std::hex << c.color;
    }
    DDReleaseSurface(&file);
}

TEST_F(DepthTest, DirectDrawSixteenBitBlitsSkipTheKeyValue)
{
    ASSERT_TRUE(Init({FALSE, 16, 0}));
    lpDDCon->rgbTransmitFile = RGBTRIPLE{0xFF, 0x00, 0xFF};
    DDSetTransmit(0xFF, 0x00, 0xFF);
    EXPECT_EQ(g_dwColorKey, 0xF81Fu);
    EXPECT_NE(EcLogText().find("※16bit色で　DDSetTransmit(BYTE cbRed,BYTE cbGreen,BYTE cbBlue)　は未対応！"), std::string::npos);
    Write("pic.bmp", qbtest::BuildBmp24(8, 4, KeyedPictureRgb()));
    DDSURFACEDATA picture, target;
    ClearSurfaceData(&picture);
    ClearSurfaceData(&target);
    ASSERT_EQ(DDCreateSurfaceFromFile(&picture, "pic.bmp", TRUE, 16, 1, 0, nullptr, nullptr, 0, 0, FALSE), 0);
    ASSERT_TRUE(DDCreateSurface(&target, 16, 12, FALSE, 1, 0, nullptr, FALSE));
    // The picture converted by scaling, c × max / 255, with the key where the file has it.
    const std::vector<std::uint32_t> rgb = KeyedPictureRgb();
    cImage source{8, 4, {}};
    for (std::uint32_t c : rgb)
        source.px.push_back(c == kKey ? 0xF81Fu
                                      : ((c >> 16) * 31 / 255) << 11 | (((c >> 8) & 0xFF) * 63 / 255) << 5 |
                                            ((c & 0xFF) * 31 / 255));
    ASSERT_EQ(qbtest::ReadImage(&picture), source);
    for (DWORD flags : {0u, 1u}) {
        SCOPED_TRACE(flags ? "keyed" : "opaque");
        const cImage before = Pattern16(16, 12, 0x0F0F);
        WriteImage(&target, before);
        DDBltFast(&target, -2, 9, 8, 4, &picture, 0, 0, flags);
        cImage expected = before;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 8; ++x) {
                const int X = x - 2, Y = y + 9;
                if (X < 0 || Y >= 12 || (flags == 1 && source.At(x, y) == 0xF81F)) continue;
                expected.Set(X, Y, source.At(x, y));
            }
        EXPECT_EQ(qbtest::ReadImage(&target), expected);
    }
    DDReleaseSurface(&picture);
    DDReleaseSurface(&target);
}

TEST_F(DepthTest, DirectDrawEightBitSurfacesHoldPaletteIndices)
{
    ASSERT_TRUE(Init({FALSE, 8, 0}));
    // Index 9 at the top-left pixel of the palette image is the transparent colour.
    std::vector<std::uint32_t> table;
    for (std::uint32_t i = 0; i < 256; ++i) table.push_back(i * 0x010101u);
    Write("pal.bmp", qbtest::BuildBmp8(3, 1, table, {9, 1, 2}));
    ASSERT_EQ(DDSetTransmitFromFile("pal.bmp"), 1);
    EXPECT_EQ(g_dwColorKey, 9u);
    const std::vector<std::uint32_t> indices = {9, 3, 200, 9, 17, 255, 0, 9, 4, 4};
    Write("pic.bmp", qbtest::BuildBmp8(5, 2, table, indices));
    DDSURFACEDATA picture, target;
    ClearSurfaceData(&picture);
    ClearSurfaceData(&target);
    ASSERT_EQ(DDCreateSurfaceFromFile(&picture, "pic.bmp", TRUE, 8, 1, 0, nullptr, nullptr, 0, 0, FALSE), 0);
    EXPECT_EQ(qbtest::ReadImage(&picture).px, indices);
    ASSERT_TRUE(DDCreateSurface(&target, 6, 3, FALSE, 1, 0, nullptr, FALSE));
    EXPECT_EQ(qbtest::ReadImage(&target).px, std::vector<std::uint32_t>(18, 0)) << "made in palette colour 0";
    DDFillRectPal(&target, 0, 0, 6, 3, 7);
    DDBltFast(&target, 1, 1, 5, 2, &picture, 0, 0, 1);
    EXPECT_EQ(qbtest::ReadImage(&target).px, (std::vector<std::uint32_t>{
                                                  7, 7, 7, 7, 7, 7,      //
                                                  7, 7, 3, 200, 7, 17,   // index 9 skipped
                                                  7, 255, 0, 7, 4, 4,    //
                                              }));
    DDBlt(&target, 0, 0, 3, 1, &picture, 1, 0, 3, 1, 0);
    EXPECT_EQ(qbtest::ReadImage(&target).At(2, 0), 9u) << "an opaque blit copies the key index too";
    DDReleaseSurface(&picture);
    DDReleaseSurface(&target);
}

}  // namespace
