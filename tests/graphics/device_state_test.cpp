// The virtual back buffer and the pointer swaps, the full-screen back buffer test, texture
// size limits, the bitmap size check and the 16-bit palette helpers.
#include "tests/graphics/graphics_fixture.h"

#include "graphics/fill.h"
#include "graphics/surface_lock.h"
#include "tests/graphics/blit_reference.h"

namespace {

using qbtest::cImage;
using DeviceStateTest = qbtest::cGraphicsTest;

// A pixel of the device's own back buffer, past every redirection.
std::uint32_t RealBackPixel(int x, int y)
{
    D3DLOCKED_RECT locked{};
    if (FAILED(g_BackBuffer.lpDT->lpSurface->LockRect(&locked, nullptr, 0))) return 0xDEADBEEF;
    const std::uint32_t p = plat::ReadPixel(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch + 4 * x, 4);
    g_BackBuffer.lpDT->lpSurface->UnlockRect();
    return p;
}

TEST_F(DeviceStateTest, VirtualBackBufferTakesTheDrawingAndIsCopiedOnceWhenTurnedOff)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    DDFillSurface(&g_BackBuffer, 0xFF000000);
    DDSetVirBackBuffer(TRUE);
    EXPECT_EQ(lpDTCon->lpDefaultTarget, &g_BackBuffer);
    DDFillRect(&g_BackBuffer, 0, 0, 4, 4, 0xFF112233);
    // A pixel without alpha: the copy is opaque.
    qbtest::WriteImage(&g_VirBackBuffer, cImage{1, 1, {0x00ABCDEF}});
    EXPECT_EQ(qbtest::ReadImage(&g_VirBackBuffer).At(1, 1), 0xFF112233u);
    EXPECT_EQ(RealBackPixel(1, 1), 0u) << "drawing aimed at the back buffer lands in the virtual one";
    {
        cSurfaceLock lock;
        ASSERT_TRUE(lock.Lock(&g_BackBuffer));
        EXPECT_EQ(lock.Locked(), &g_VirBackBuffer);
        EXPECT_FALSE(DDIsFullScreenBackBuffer(lock.Locked()));
    }
    DDSetVirBackBuffer(TRUE);
    EXPECT_EQ(RealBackPixel(1, 1), 0u) << "turning it on again copies nothing";
    DDSetVirBackBuffer(FALSE);
    EXPECT_EQ(lpDTCon->lpDefaultTarget, &g_VirBackBuffer);
    EXPECT_EQ(RealBackPixel(1, 1), 0x112233u);
    EXPECT_EQ(RealBackPixel(0, 0), 0xABCDEFu);
    EXPECT_EQ(RealBackPixel(5, 5), 0u);
    DDFillRect(&g_VirBackBuffer, 0, 0, 4, 4, 0xFF445566);
    DDSetVirBackBuffer(FALSE);
    EXPECT_EQ(RealBackPixel(1, 1), 0x112233u) << "turning it off again copies nothing";
}

TEST_F(DeviceStateTest, OnlyTheFullScreenBackBufferHasAFormatOfItsOwn)
{
    struct Case { int windowMode; BOOL back; } cases[] = {{0, TRUE}, {1, FALSE}};
    for (const auto& c : cases) {
        ASSERT_TRUE(Init({TRUE, 16, c.windowMode}));
        EXPECT_EQ(DDIsFullScreenBackBuffer(&g_BackBuffer), c.back) << c.windowMode;
        EXPECT_FALSE(DDIsFullScreenBackBuffer(&g_VirBackBuffer));
        EXPECT_FALSE(DDIsFullScreenBackBuffer(&g_WorkSD));
        EXPECT_EQ(plat::IsPresentFullScreen(), c.windowMode == 0);
        DDUninit();
        EXPECT_FALSE(plat::IsPresentFullScreen());
    }
}

TEST_F(DeviceStateTest, TooLargeTexturesAreReportedAndMadeAnyway)
{
    // The layer's limits as the device reported them at set-up; the device itself takes more.
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    lpDTCon->d3dCaps.MaxTextureWidth = 64;
    lpDTCon->d3dCaps.MaxTextureHeight = 32;
    Write("wide.bmp", qbtest::BuildBmp24(100, 20, std::vector<std::uint32_t>(2000, 0x123456)));
    DDSURFACEDATA file, empty;
    ClearSurfaceData(&file);
    ClearSurfaceData(&empty);
    EXPECT_EQ(DDCreateSurfaceFromFile(&file, "wide.bmp", FALSE, 32, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
    EXPECT_TRUE(DDCreateSurface(&empty, 10, 40, FALSE, 0, 0, nullptr, FALSE));
    const std::string log = EcLogText();
    EXPECT_NE(log.find("このビデオカードでは横幅64を超える画像はサポートされていません！"), std::string::npos);
    EXPECT_NE(log.find("上記の理由でテクスチャの描画が失敗する可能性があります。(wide.bmp)"), std::string::npos);
    EXPECT_NE(log.find("このビデオカードでは縦幅32を超える画像はサポートされていません！"), std::string::npos);
    EXPECT_NE(log.find("上記の理由でテクスチャの描画が失敗する可能性があります。(空)"), std::string::npos);
    DDReleaseSurface(&file);
    DDReleaseSurface(&empty);
}

TEST_F(DeviceStateTest, BitmapSizeIsCheckedUnderDirectDrawOnly)
{
    Write("pic.bmp", qbtest::BuildBmp24(30, 20, std::vector<std::uint32_t>(600, 0)));
    struct Case { BOOL direct3D; const char* file; int maxW, maxH; int result, tooBig; } cases[] = {
        {FALSE, "pic.bmp", 30, 20, 1, 0},
        {FALSE, "pic.bmp", 29, 20, 1, 1},
        {FALSE, "pic.bmp", 30, 19, 1, 1},
        {FALSE, "missing.bmp", 30, 20, 0, 0},
        {TRUE, "pic.bmp", 1, 1, 1, 7},  // the flag is left as it was
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Init({c.direct3D, 32, 1}));
        int tooBig = 7;
        EXPECT_EQ(DDCheckBitmapSize(&tooBig, c.file, c.maxW, c.maxH), c.result) << c.file << " " << c.maxW;
        EXPECT_EQ(tooBig, c.tooBig) << c.file << " " << c.maxW;
        DDUninit();
    }
}

TEST_F(DeviceStateTest, SixteenBitPaletteIndexMapsPerBackEnd)
{
    g_Palette[2] = PALETTEENTRY{255, 0, 0, 0};    // red: 0xFC00 as a 16-bit texture pixel
    g_Palette[3] = PALETTEENTRY{31, 63, 0, 0};     // DirectDraw at 16 bits: raw 5- and 6-bit components
    g_Palette[4] = PALETTEENTRY{0, 0, 0, 0};
    int marker = 1;
    // Direct3D: transparent texture pixels (0) map to 0, others by their colour scaled to 8 bits.
    ASSERT_TRUE(Init({TRUE, 16, 1}));
    lpDTCon->rgbTransmitFile = RGBTRIPLE{0xFF, 0x00, 0xFF};
    Write("pic.bmp", qbtest::BuildBmp24(4, 1, {0xFF00FF, 0xFF0000, 0x000000, 0x123456}));
    DDSURFACEDATA sd;
    ClearSurfaceData(&sd);
    ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "pic.bmp", TRUE, 16, 0, 0, nullptr, &marker, 0, 0, FALSE), 0);
    ASSERT_NE(sd.lpDT->lpPalIndexMap, nullptr);
    EXPECT_EQ((std::vector<int>{sd.lpDT->lpPalIndexMap[0], sd.lpDT->lpPalIndexMap[1], sd.lpDT->lpPalIndexMap[2],
                                sd.lpDT->lpPalIndexMap[3]}),
              (std::vector<int>{0, 2, 0, 0}))
        << "black is entry 0's colour, and 0x123456 matches no entry";
    DDReleaseSurface(&sd);
    EXPECT_EQ(DDPalToRGB16(&g_Palette[3].peRed), 0);
    EXPECT_NE(EcLogText().find("DDPalToRGB16はDirect3Dでは未対応"), std::string::npos);
    DDUninit();
    // DirectDraw: the first entry whose packed components equal the pixel.
    ASSERT_TRUE(Init({FALSE, 16, 0}));
    EXPECT_EQ(DDPalToRGB16(&g_Palette[3].peRed), 31u << 11 | 63u << 5);
    ClearSurfaceData(&sd);
    ASSERT_TRUE(DDCreateSurface(&sd, 3, 1, FALSE, 1, 0, nullptr, FALSE));
    qbtest::WriteImage(&sd, cImage{3, 1, {31u << 11 | 63u << 5, 0, 0x1234}});
    BYTE* map = nullptr;
    ASSERT_EQ(DDBuildPalIndexMap(&map, &sd), 1);
    EXPECT_EQ((std::vector<int>{map[0], map[1], map[2]}), (std::vector<int>{3, 0, 0}));
    delete[] map;
    DDReleaseSurface(&sd);
}

}  // namespace
