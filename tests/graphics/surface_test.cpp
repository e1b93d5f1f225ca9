// Surface records from generated bitmaps: where pixels land, the transparent colour, the
// texture size rules, mirrored cells, release and reload, and the standard-surface loader.
#include "tests/graphics/graphics_fixture.h"

#include "graphics/surface_lock.h"
#include "platform/video/pixel_format.h"
#include "tests/graphics/blit_reference.h"

namespace {

using qbtest::cBmpLayout;
using qbtest::cDisplayMode;
using SurfaceTest = qbtest::cGraphicsTest;

constexpr std::uint32_t kSurfaceKey = 0xFF00FF;

using qbtest::RefWiden5;

std::vector<std::uint32_t> ReadPixels(DDSURFACEDATA* sd)
{
    cSurfaceLock lock;
    std::vector<std::uint32_t> out;
    if (!lock.Lock(sd)) return out;
    for (int y = 0; y < sd->nHeight; ++y)
        for (int x = 0; x < sd->nWidth; ++x) out.push_back(plat::ReadPixel(lock.PixelAddress(x, y), lock.m_nBytesPerPixel));
    return out;
}

// A 5 × 3 picture at every depth whose pixel (x, y) is colour (x + 5y) of a table that
// holds the key colour at 0, 7 and 14; for 16 bits the colours are exact in 5 bits.
struct cPicture {
    std::string file;
    std::vector<std::uint32_t> rgb;  // the colour each pixel stands for, top-down
};
cPicture MakePicture(int bitCount)
{
    const std::vector<std::uint32_t> table = {kSurfaceKey, 0x102030, 0xFFFFFF, 0x000008,
                                              0x84C610,    0x7B0000, 0x00FF00, 0x0808F8};
    cBmpLayout layout;
    layout.width = 5;
    layout.height = 3;
    layout.bitCount = bitCount;
    cPicture picture;
    std::vector<std::uint32_t> values;
    for (int i = 0; i < 15; ++i) {
        const int colour = (i % 7 == 0) ? 0 : 1 + i % 7;
        const int index = bitCount == 1 ? (i % 7 == 0 ? 0 : 1) : colour;
        std::uint32_t rgb = table[index];
        if (bitCount <= 8) {
            values.push_back(static_cast<std::uint32_t>(index));
        } else if (bitCount == 16) {
            std::uint32_t r = (rgb >> 19) & 31, g = (rgb >> 11) & 31, b = (rgb >> 3) & 31;
            values.push_back(r << 10 | g << 5 | b);
            rgb = RefWiden5(r) << 16 | RefWiden5(g) << 8 | RefWiden5(b);
        } else {
            values.push_back(rgb);
        }
        picture.rgb.push_back(rgb);
    }
    if (bitCount <= 8) layout.palette.assign(table.begin(), table.begin() + std::min<std::size_t>(table.size(), 1u << bitCount));
    picture.file = BuildBmp(layout, values);
    return picture;
}

TEST_F(SurfaceTest, PixelsOfEveryDepthLandWithTheKeyTransparentAndTheRestOpaque)
{
    for (int bitCount : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(testing::Message() << bitCount << " bits");
        const cPicture picture = MakePicture(bitCount);
        Write("pic.bmp", picture.file);
        // Direct3D, 32 bits: transparent pixels are 0, the others opaque.
        ASSERT_TRUE(Init({TRUE, 32, 1}));
        DDSetTransmit(0xFF, 0x00, 0xFF);
        DDSURFACEDATA sd;
        ClearSurfaceData(&sd);
        ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "pic.bmp", TRUE, 32, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
        std::vector<std::uint32_t> pixels = ReadPixels(&sd);
        ASSERT_EQ(pixels.size(), 15u);
        for (int i = 0; i < 15; ++i)
            EXPECT_EQ(pixels[i], picture.rgb[i] == kSurfaceKey ? 0u : 0xFF000000u | picture.rgb[i]) << "pixel " << i;
        DDReleaseSurface(&sd);
        DDUninit();
        // DirectDraw, 32 bits: the key colour stays and is the surface's colour key.
        ASSERT_TRUE(Init({FALSE, 32, 0}));
        DDSetTransmit(0xFF, 0x00, 0xFF);
        ClearSurfaceData(&sd);
        ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "pic.bmp", TRUE, 32, 1, 0, nullptr, nullptr, 0, 0, FALSE), 0);
        pixels = ReadPixels(&sd);
        for (int i = 0; i < 15; ++i) EXPECT_EQ(pixels[i] & 0xFFFFFF, picture.rgb[i]) << "pixel " << i;
        EXPECT_EQ(sd.lpDDraw->lpDDS->m_dwColorKey, kSurfaceKey);
        DDReleaseSurface(&sd);
        DDUninit();
    }
}

TEST_F(SurfaceTest, SixteenBitDirectDrawNudgesAColourThatWouldBecomeTheKey)
{
    ASSERT_TRUE(Init({FALSE, 16, 0}));
    lpDDCon->rgbTransmitFile = RGBTRIPLE{0xFF, 0x00, 0xFF};
    DDSetTransmit(0xFF, 0x00, 0xFF);
    ASSERT_EQ(g_dwColorKey, 0xF81Fu);
    // key; (255,3,255) scales to the key; (100,200,50); white.
    Write("pic.bmp", qbtest::BuildBmp24(4, 1, {0xFF00FF, 0xFF03FF, 0x64C832, 0xFFFFFF}));
    DDSURFACEDATA sd;
    ClearSurfaceData(&sd);
    ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "pic.bmp", TRUE, 16, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
    const std::uint32_t expected[4] = {0xF81F, 0xF81E, (100u * 31 / 255) << 11 | (200u * 63 / 255) << 5 | (50u * 31 / 255),
                                       0xFFFF};
    EXPECT_EQ(ReadPixels(&sd), std::vector<std::uint32_t>(expected, expected + 4));
    DDReleaseSurface(&sd);
}

TEST_F(SurfaceTest, EightBitDirectDrawTakesTheNearestPaletteIndexForPicturesOfOtherDepths)
{
    ASSERT_TRUE(Init({FALSE, 8, 0}));
    // A palette of grey steps, with pure red at 200 and its twin at 201 (ties go to 200).
    for (int i = 0; i < 256; ++i) g_Palette[i] = PALETTEENTRY{static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
    g_Palette[200] = PALETTEENTRY{255, 0, 0, 0};
    g_Palette[201] = PALETTEENTRY{255, 0, 0, 0};
    g_Palette[7] = PALETTEENTRY{255, 0, 255, 0};  // the key colour
    // Colour -> index, from a loop over the palette written here.
    const std::vector<std::uint32_t> colours = {0x000000, 0x101010, 0xFFFFFF, 0xF00808, 0xFF00FF, 0x204060, 0xFA00FA, 0x7F8081};
    auto reference = [&](std::uint32_t rgb) {
        int best = 0, bestDistance = 1 << 30;
        for (int i = 0; i < 256; ++i) {
            const int dr = static_cast<int>(rgb >> 16 & 0xFF) - g_Palette[i].peRed;
            const int dg = static_cast<int>(rgb >> 8 & 0xFF) - g_Palette[i].peGreen;
            const int db = static_cast<int>(rgb & 0xFF) - g_Palette[i].peBlue;
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) bestDistance = distance, best = i;
        }
        return static_cast<std::uint32_t>(best);
    };
    const std::vector<std::uint32_t> expectedLiterals = {0, 16, 255, 200, 7, 64, 7, 128};
    for (int bitCount : {24, 32}) {
        SCOPED_TRACE(testing::Message() << bitCount << " bits");
        cBmpLayout layout;
        layout.width = 8;
        layout.height = 1;
        layout.bitCount = bitCount;
        Write("pic.bmp", BuildBmp(layout, colours));
        DDSURFACEDATA sd;
        ClearSurfaceData(&sd);
        ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "pic.bmp", TRUE, 8, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
        const std::vector<std::uint32_t> pixels = ReadPixels(&sd);
        ASSERT_EQ(pixels.size(), colours.size());
        for (std::size_t i = 0; i < colours.size(); ++i) {
            EXPECT_EQ(pixels[i], reference(colours[i])) << i;
            EXPECT_EQ(pixels[i], expectedLiterals[i]) << i;
        }
        DDReleaseSurface(&sd);
    }
    // An 8-bit picture keeps its own indices.
    Write("p8.bmp", qbtest::BuildBmp8(3, 1, {0, 0xFF0000, 0xFFFFFF}, {2, 1, 0}));
    DDSURFACEDATA sd;
    ClearSurfaceData(&sd);
    ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "p8.bmp", TRUE, 8, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
    EXPECT_EQ(ReadPixels(&sd), (std::vector<std::uint32_t>{2, 1, 0}));
    DDReleaseSurface(&sd);
}

TEST_F(SurfaceTest, TextureSizesFollowTheCaps)
{
    struct Case { DWORD textureCaps; int w, h, texW, texH; } cases[] = {
        {0, 100, 60, 100, 60},
        {D3DPTEXTURECAPS_POW2, 100, 60, 128, 64},
        {D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_SQUAREONLY, 100, 60, 128, 128},
        {D3DPTEXTURECAPS_SQUAREONLY, 100, 60, 100, 100},
        {D3DPTEXTURECAPS_POW2, 64, 1, 64, 1},
        {D3DPTEXTURECAPS_POW2, 65, 3, 128, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " caps " << c.textureCaps);
        D3DCAPS9 caps = plat::DefaultD3DCaps();
        caps.TextureCaps = c.textureCaps;
        plat::SetD3DCaps(caps);
        ASSERT_TRUE(Init({TRUE, 32, 1}));
        Write("pic.bmp", qbtest::BuildBmp24(c.w, c.h, std::vector<std::uint32_t>(c.w * c.h, 0x123456)));
        DDSURFACEDATA file, empty;
        ClearSurfaceData(&file);
        ClearSurfaceData(&empty);
        ASSERT_EQ(DDCreateSurfaceFromFile(&file, "pic.bmp", FALSE, 32, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
        ASSERT_TRUE(DDCreateSurface(&empty, c.w, c.h, TRUE, 0, 0, nullptr, FALSE));
        for (DDSURFACEDATA* sd : {&file, &empty}) {
            EXPECT_EQ(sd->nWidth, c.w);
            EXPECT_EQ(sd->nHeight, c.h);
            EXPECT_EQ(sd->nTexWidth, c.texW);
            EXPECT_EQ(sd->nTexHeight, c.texH);
        }
        DDReleaseSurface(&file);
        DDReleaseSurface(&empty);
        DDUninit();
    }
}

TEST_F(SurfaceTest, MirroredCellsAreFlippedOnBothBackEnds)
{
    // 5 × 2 with cells of 2 columns: cells [0,1] and [2,3] flip, the partial column 4 stays.
    std::vector<std::uint32_t> rgb;
    for (int i = 0; i < 10; ++i) rgb.push_back(0x010101u * static_cast<std::uint32_t>(10 + i));
    Write("pic.bmp", qbtest::BuildBmp24(5, 2, rgb));
    const int order[5] = {1, 0, 3, 2, 4};
    for (BOOL direct3D : {TRUE, FALSE}) {
        SCOPED_TRACE(direct3D ? "Direct3D" : "DirectDraw");
        ASSERT_TRUE(Init({direct3D, 32, 1}));
        DDSURFACEDATA sd;
        ClearSurfaceData(&sd);
        ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "pic.bmp", FALSE, 32, 1, 0, nullptr, nullptr, 2, 0, FALSE), 0);
        EXPECT_EQ(sd.nMirrorW, 2);
        std::vector<std::uint32_t> pixels = ReadPixels(&sd);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 5; ++x) EXPECT_EQ(pixels[y * 5 + x] & 0xFFFFFF, rgb[y * 5 + order[x]]) << x << "," << y;
        DDReleaseSurface(&sd);
        DDUninit();
    }
}

TEST_F(SurfaceTest, MirrorRecordOwnsNothingAndLocksTheRecordItShows)
{
    Write("pic.bmp", qbtest::BuildBmp24(3, 1, {0x010203, 0x040506, 0x070809}));
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    DDSURFACEDATA source, mirror;
    ClearSurfaceData(&source);
    ClearSurfaceData(&mirror);
    ASSERT_EQ(DDCreateSurfaceFromFile(&source, "pic.bmp", FALSE, 32, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
    ASSERT_EQ(DDCreateSurfaceFromFile(&mirror, "pic.bmp", FALSE, 32, 0, 0, &source, nullptr, 3, 0, FALSE), 0);
    EXPECT_EQ(mirror.lpDT->lpTexture, nullptr);
    EXPECT_EQ(mirror.nMirrorW, 3);
    EXPECT_EQ(g_SurfaceList.size(), 3u) << "the two special textures and the source only";
    mirror.lpMirrorSD = &source;  // the start-up's link
    cSurfaceLock lock;
    ASSERT_TRUE(lock.Lock(&mirror));
    EXPECT_EQ(lock.Locked(), &source);
    lock.Unlock();
    DDReleaseSurface(&mirror);
    EXPECT_NE(source.lpDT->lpTexture, nullptr);
    DDReleaseSurface(&source);
}

TEST_F(SurfaceTest, ReleaseThenReloadGivesTheSamePixels)
{
    std::vector<std::uint32_t> rgb;
    for (int i = 0; i < 21; ++i) rgb.push_back(i % 5 == 0 ? kSurfaceKey : 0x030507u * static_cast<std::uint32_t>(i));
    Write("pic.bmp", qbtest::BuildBmp24(7, 3, rgb));
    for (cDisplayMode mode : {cDisplayMode{TRUE, 32, 1}, cDisplayMode{TRUE, 16, 0}, cDisplayMode{FALSE, 16, 0}}) {
        SCOPED_TRACE(testing::Message() << mode.bDirect3D << " " << mode.nBpp);
        ASSERT_TRUE(Init(mode));
        DDSetTransmit(0xFF, 0x00, 0xFF);
        if (lpDDCon) lpDDCon->rgbTransmitFile = RGBTRIPLE{0xFF, 0x00, 0xFF};
        if (lpDTCon) lpDTCon->rgbTransmitFile = RGBTRIPLE{0xFF, 0x00, 0xFF};
        DDSURFACEDATA sd;
        ClearSurfaceData(&sd);
        ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "pic.bmp", TRUE, mode.nBpp, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
        const std::vector<std::uint32_t> before = ReadPixels(&sd);
        ASSERT_EQ(before.size(), 21u);
        DDReleaseSurface(&sd);
        EXPECT_EQ(sd.lpDT, nullptr);
        EXPECT_STREQ(sd.szFileName, "pic.bmp") << "the record keeps its names";
        ASSERT_EQ(DDCreateSurfaceFromFile(&sd, sd.szFileName, TRUE, mode.nBpp, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
        EXPECT_EQ(ReadPixels(&sd), before);
        if (!mode.bDirect3D) {
            plat::SimulateDDrawSurfaceLoss();
            sd.lpDDraw->lpDDS->Restore();
            ASSERT_TRUE(DDReloadBitmap(&sd, mode.nBpp));
            EXPECT_EQ(ReadPixels(&sd), before);
        }
        DDReleaseSurface(&sd);
        DDUninit();
    }
}

TEST_F(SurfaceTest, LoadSurfacesOverATable)
{
    Write("a.bmp", qbtest::BuildBmp24(3, 2, std::vector<std::uint32_t>(6, 0x112233)));
    SURFACEINFO info[4] = {
        {"a.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"E", 1, 1, 0, 0, 0, 0, 0, 0, 16, 8},
        {"missing.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},  // optional
        {"missing.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    DDSURFACEDATA records[4] = {};
    for (BOOL direct3D : {TRUE, FALSE}) {
        SCOPED_TRACE(direct3D ? "Direct3D" : "DirectDraw");
        ASSERT_TRUE(Init({direct3D, 32, 1}, info, records, 4));
        const int good[3] = {0, 1, 2};
        EXPECT_TRUE(DDLoadSurfaces(records, good, 3));
        EXPECT_EQ(records[0].nWidth, 3);
        EXPECT_EQ(records[1].nWidth, 16);
        EXPECT_EQ(records[1].nHeight, 8);
        const int bad[1] = {3};
        EXPECT_FALSE(DDLoadSurfaces(records, bad, 1));
        // Loading again releases what was there first.
        EXPECT_TRUE(DDLoadSurfaces(records, good, 3));
        if (direct3D) {
            EXPECT_EQ(g_SurfaceList.size(), 4u);
        }
        DDUninit();
        for (const DDSURFACEDATA& r : records) EXPECT_TRUE(r.lpDT == nullptr && r.lpDDraw == nullptr);
    }
}

TEST_F(SurfaceTest, AddedSurfacesStayListedWhenTheirVectorGrows)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    std::vector<DDSURFACEDATA> surfaces;
    std::vector<SURFACEINFO> info;
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(DDAddSurface(&surfaces, &info, 4, 4, TRUE, 0, 0, nullptr));
    for (DDSURFACEDATA& sd : surfaces)
        EXPECT_NE(std::find(g_SurfaceList.begin(), g_SurfaceList.end(), &sd), g_SurfaceList.end());
    DDReleaseSurfaceVector(&surfaces);
    EXPECT_EQ(g_SurfaceList.size(), 2u);
    cSafeList<DDSURFACEDATA> list;
    cSafeList<SURFACEINFO> listInfo;
    ASSERT_TRUE(DDAddSurfaceList(&list, &listInfo, 4, 4, TRUE, 1, 1, nullptr));
    ASSERT_TRUE(DDAddSurfaceList(&list, &listInfo, 8, 8, TRUE, 1, 1, nullptr));
    EXPECT_EQ(DDRemoveSurface(&list, &listInfo, &list.back()), 1);
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(listInfo.size(), 1u);
    EXPECT_EQ(list.front().nWidth, 4);
    // A record from elsewhere removes nothing.
    DDSURFACEDATA stranger;
    ClearSurfaceData(&stranger);
    EXPECT_EQ(DDRemoveSurface(&list, &listInfo, &stranger), 1);
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(listInfo.size(), 1u);
    EXPECT_NE(list.front().lpDT, nullptr);
    DDReleaseSurfaceList(&list);
}

TEST_F(SurfaceTest, FailedCreationsAreReportedAsFailures)
{
    EXPECT_FALSE(DDCheckSurfaceResult(4));
    EXPECT_FALSE(DDCheckSurfaceResult(8));
    EXPECT_FALSE(DDCheckSurfaceResult(9));
    EXPECT_FALSE(DDCheckSurfaceResult(static_cast<int>(D3DERR_INVALIDCALL)));
    EXPECT_TRUE(DDCheckSurfaceResult(0));
    // A texture that cannot be made returns its HRESULT, which the loader refuses.
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    Write("a.bmp", qbtest::BuildBmp24(3, 2, std::vector<std::uint32_t>(6, 0x112233)));
    plat::FailDeviceCall("D3DXCreateTextureFromFileExA");
    DDSURFACEDATA sd;
    ClearSurfaceData(&sd);
    const int code = DDCreateSurfaceFromFile(&sd, "a.bmp", TRUE, 32, 0, 0, nullptr, nullptr, 0, 0, FALSE);
    EXPECT_LT(code, 0);
    EXPECT_FALSE(DDCheckSurfaceResult(code));
    DDReleaseSurface(&sd);
    // Video memory exhausted: the picture goes to system memory.
    plat::FailDeviceCall("IDirect3DDevice9::CreateTexture.OutOfVideoMemory");
    ClearSurfaceData(&sd);
    ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "a.bmp", TRUE, 32, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
    EXPECT_EQ(sd.lpDT->nMemType, DTMEMORYTYPE_SYSTEM);
    DDReleaseSurface(&sd);
    DDUninit();
    // An 8-bit DirectDraw picture whose size differs from its surface is refused.
    ASSERT_TRUE(Init({FALSE, 8, 0}));
    Write("p8.bmp", qbtest::BuildBmp8(4, 2, {0, 0x112233}, std::vector<std::uint32_t>(8, 1)));
    ClearSurfaceData(&sd);
    ASSERT_TRUE(DDCreateSurface(&sd, 3, 2, FALSE, 1, 0, nullptr, FALSE));
    EXPECT_FALSE(CopyBitmap(&sd, "p8.bmp", 8, nullptr, 0, 0));
    EXPECT_NE(EcLogText().find("CopyBitmap Err p8.bmp Surface(3,2) Bmp(4,2)"), std::string::npos);
    DDReleaseSurface(&sd);
}

}  // namespace
