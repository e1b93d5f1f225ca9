// The palette from a palette image, the transparent colour and the palette-index map.
#include "tests/graphics/graphics_fixture.h"

#include "tests/graphics/blit_reference.h"

namespace {

using PaletteTest = qbtest::cGraphicsTest;

// A 16 × 24 palette image of 8 bits whose 16 × 16 block (rows 8..23) holds index 16·row + column.
std::string PaletteImage8(std::vector<std::uint32_t>& table)
{
    table.clear();
    for (std::uint32_t i = 0; i < 256; ++i) table.push_back((i * 7 & 0xFF) << 16 | (255 - i) << 8 | (i * 3 & 0xFF));
    std::vector<std::uint32_t> indices(16 * 24, 5);
    for (int i = 0; i < 256; ++i) indices[(8 + i / 16) * 16 + i % 16] = static_cast<std::uint32_t>(i);
    return qbtest::BuildBmp8(16, 24, table, indices);
}

TEST_F(PaletteTest, EightBitImageGivesItsColourTable)
{
    std::vector<std::uint32_t> table;
    Write("pal.bmp", PaletteImage8(table));
    struct Case { BOOL direct3D; int bpp; } cases[] = {{TRUE, 32}, {FALSE, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.direct3D ? "Direct3D 32" : "DirectDraw 8");
        ASSERT_TRUE(Init({c.direct3D, c.bpp, 0}));
        PALETTEENTRY pal[256] = {};
        ASSERT_TRUE(DDLoadPaletteFromFile(pal, "pal.bmp"));
        for (int i = 0; i < 256; ++i) {
            EXPECT_EQ(pal[i].peRed, table[i] >> 16) << i;
            EXPECT_EQ(pal[i].peGreen, (table[i] >> 8) & 0xFF) << i;
            EXPECT_EQ(pal[i].peBlue, table[i] & 0xFF) << i;
            const int flags = c.direct3D ? 255 : (i < 10 || i >= 246) ? 2 : 1;
            EXPECT_EQ(pal[i].peFlags, flags) << i;
        }
        if (!c.direct3D) {
            PALETTEENTRY hardware[256];
            g_lpDDPalette->GetEntries(0, 0, 256, hardware);
            EXPECT_EQ(std::memcmp(hardware, pal, sizeof pal), 0) << "the hardware palette has it at once";
        }
        DDUninit();
    }
    EXPECT_FALSE(DDLoadPaletteFromFile(g_Palette, "missing.bmp"));
}

TEST_F(PaletteTest, SixteenBySixteenBlockOfADeepImage)
{
    // 24-bit image 16 × 24: block entry i has colour (i, 255 - i, 2i); the rows above are noise.
    std::vector<std::uint32_t> rgb(16 * 24, 0xABCDEF);
    for (int i = 0; i < 256; ++i)
        rgb[(8 + i / 16) * 16 + i % 16] = static_cast<std::uint32_t>(i) << 16 | (255u - i) << 8 | (2u * i & 0xFF);
    Write("pal.bmp", qbtest::BuildBmp24(16, 24, rgb));
    struct Case { BOOL direct3D; int bpp; } cases[] = {{TRUE, 32}, {TRUE, 16}, {FALSE, 32}, {FALSE, 16}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.direct3D ? "Direct3D " : "DirectDraw ") << c.bpp);
        ASSERT_TRUE(Init({c.direct3D, c.bpp, 0}));
        PALETTEENTRY pal[256] = {};
        ASSERT_TRUE(DDLoadPaletteFromFile(pal, "pal.bmp"));
        for (int i = 0; i < 256; ++i) {
            const int r = i, g = 255 - i, b = 2 * i & 0xFF;
            int er = r, eg = g, eb = b, flags = 0;
            if (c.bpp == 16 && c.direct3D) {  // 5-bit components scaled back: c5 * 255 / 31
                er = (r >> 3) * 255 / 31, eg = (g >> 3) * 255 / 31, eb = (b >> 3) * 255 / 31;
            } else if (c.bpp == 16) {  // the picture scaled into the display's widths, read back raw
                er = r * 31 / 255, eg = g * 63 / 255, eb = b * 31 / 255;
            } else {
                flags = c.direct3D ? 255 : 0;
            }
            ASSERT_EQ(pal[i].peRed, er) << i;
            ASSERT_EQ(pal[i].peGreen, eg) << i;
            ASSERT_EQ(pal[i].peBlue, eb) << i;
            ASSERT_EQ(pal[i].peFlags, flags) << i;
        }
        DDUninit();
    }
}

TEST_F(PaletteTest, BlockPixelsWithoutAlphaLeaveTheirEntriesUnderDirect3D)
{
    // A 16 × 24 image in system memory whose block pixel of entry 1 has no alpha; the entries
    // start at a marker. DirectDraw takes every pixel as it is.
    constexpr PALETTEENTRY kMarker{0xEE, 0xEE, 0xEE, 0xEE};
    struct Case { BOOL direct3D; int bpp; std::uint32_t clear, opaque; PALETTEENTRY clearTaken, opaqueTaken; } cases[] = {
        {TRUE, 32, 0x00FFFFFF, 0x7F102030, kMarker, {0x10, 0x20, 0x30, 0x7F}},
        {TRUE, 16, 0x7FFF, 0x8000 | 2u << 10 | 4u << 5 | 31u, kMarker, {2 * 255 / 31, 4 * 255 / 31, 255, 0xEE}},
        {FALSE, 32, 0x00FFFFFF, 0x7F102030, {0xFF, 0xFF, 0xFF, 0x00}, {0x10, 0x20, 0x30, 0x7F}},
        {FALSE, 16, 0x7FFF, 2u << 11 | 4u << 5 | 31u, {15, 63, 31, 0xEE}, {2, 4, 31, 0xEE}},
    };
    auto text = [](const PALETTEENTRY& e) {
        return testing::Message() << int(e.peRed) << "," << int(e.peGreen) << "," << int(e.peBlue) << "," << int(e.peFlags);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.direct3D ? "Direct3D " : "DirectDraw ") << c.bpp);
        ASSERT_TRUE(Init({c.direct3D, c.bpp, 0}));
        DDSURFACEDATA sd;
        ClearSurfaceData(&sd);
        ASSERT_TRUE(DDCreateSurface(&sd, 16, 24, FALSE, 1, DTMEMORYTYPE_SYSTEM, nullptr, FALSE));
        qbtest::cImage image{16, 24, std::vector<std::uint32_t>(16 * 24, c.opaque)};
        image.Set(1, 8, c.clear);
        qbtest::WriteImage(&sd, image);
        PALETTEENTRY pal[256];
        std::fill(pal, pal + 256, kMarker);
        EXPECT_EQ(DDSetPalette_UnPal(pal, &sd), 1);
        EXPECT_EQ(std::memcmp(&pal[1], &c.clearTaken, sizeof pal[1]), 0) << "entry 1: " << text(pal[1]);
        EXPECT_EQ(std::memcmp(&pal[0], &c.opaqueTaken, sizeof pal[0]), 0) << "entry 0: " << text(pal[0]);
        EXPECT_EQ(std::memcmp(&pal[255], &c.opaqueTaken, sizeof pal[255]), 0) << "entry 255: " << text(pal[255]);
        DDReleaseSurface(&sd);
        DDUninit();
    }
}

TEST_F(PaletteTest, TransparentColourValuesPerBackEnd)
{
    ASSERT_TRUE(Init({TRUE, 32, 0}));
    DDSetTransmit(255, 0, 255);
    EXPECT_EQ(lpDTCon->dwTransmitBack, 0xFFFF00FFu);
    EXPECT_EQ(lpDTCon->dwTransmit, 0u);
    EXPECT_EQ(g_dwColorKey, 0u);
    DDUninit();

    // Direct3D 16 bits from an 8-bit palette image: the file's entry 0 and the 5-bit pixel.
    std::vector<std::uint32_t> table;
    std::string image = PaletteImage8(table);
    Write("pal.bmp", image);
    ASSERT_TRUE(Init({TRUE, 16, 0}));
    ASSERT_EQ(DDSetTransmitFromFile("pal.bmp"), 1);
    const std::uint32_t corner = table[5];  // the top-left pixel holds index 5
    EXPECT_EQ(lpDTCon->rgbTransmitFile.rgbtRed, table[0] >> 16);
    EXPECT_EQ(lpDTCon->rgbTransmitFile.rgbtGreen, (table[0] >> 8) & 0xFF);
    EXPECT_EQ(lpDTCon->rgbTransmitFile.rgbtBlue, table[0] & 0xFF);
    EXPECT_EQ(lpDTCon->rgbTransmit.rgbtRed, (corner >> 16) >> 3);
    EXPECT_EQ(lpDTCon->wTransmitBack_16, 0x8000 | ((corner >> 19) & 31) << 10 | ((corner >> 11) & 31) << 5 | ((corner >> 3) & 31));
    DDUninit();

    ASSERT_TRUE(Init({FALSE, 32, 0}));
    DDSetTransmit(1, 2, 3);
    EXPECT_EQ(g_dwColorKey, 0x010203u);
    EXPECT_EQ(DDSetTransmitFromFile("missing.bmp"), 0);
    EXPECT_NE(EcLogText().find("missing.bmp 作成失敗！"), std::string::npos);
}

TEST_F(PaletteTest, IndexMapFindsFirstEntryAndDefinesUnmatchedPixels)
{
    ASSERT_TRUE(Init({FALSE, 32, 0}));
    g_Palette[3] = {0x11, 0x22, 0x33, 0};
    g_Palette[9] = {0x11, 0x22, 0x33, 0};  // a later duplicate is not chosen
    g_Palette[4] = {0xFF, 0xFF, 0xFF, 0};
    Write("pic.bmp", qbtest::BuildBmp24(3, 1, {0x112233, 0xFFFFFF, 0x123456}));
    int marker = 1;
    DDSURFACEDATA sd;
    ClearSurfaceData(&sd);
    ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "pic.bmp", FALSE, 32, 1, 0, nullptr, &marker, 0, 0, FALSE), 0);
    ASSERT_NE(sd.lpDDraw->lpPalIndexMap, nullptr);
    EXPECT_EQ(sd.lpDDraw->lpPalIndexMap[0], 3);
    EXPECT_EQ(sd.lpDDraw->lpPalIndexMap[1], 4);
    EXPECT_EQ(sd.lpDDraw->lpPalIndexMap[2], 0);
    DDReleaseSurface(&sd);
}

}  // namespace
