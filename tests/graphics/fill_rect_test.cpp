// Fills by palette number and by colour on both back ends, cut to the record on every edge,
// and the fill batch drawn per target in issue order.
#include "tests/graphics/graphics_fixture.h"

#include "graphics/fill.h"
#include "tests/graphics/blit_reference.h"

namespace {

using qbtest::cImage;
using FillTest = qbtest::cGraphicsTest;

DDSURFACEDATA Empty(int w, int h, BOOL transmit, int memType = 0)
{
    DDSURFACEDATA sd;
    ClearSurfaceData(&sd);
    EXPECT_TRUE(DDCreateSurface(&sd, w, h, transmit, memType, 0, nullptr, FALSE));
    return sd;
}

// The columns of row 0 that differ from the pattern.
std::vector<int> ChangedColumns(DDSURFACEDATA* sd, const cImage& before)
{
    const cImage after = qbtest::ReadImage(sd);
    std::vector<int> columns;
    for (int x = 0; x < after.w; ++x)
        if (after.At(x, 0) != before.At(x, 0)) columns.push_back(x);
    return columns;
}

std::vector<int> Range(int first, int last)
{
    std::vector<int> r;
    for (int i = first; i <= last; ++i) r.push_back(i);
    return r;
}

TEST_F(FillTest, FillsStartingLeftOfTheRecordAreCutAndNeverMoveOnBothBackEnds)
{
    for (BOOL direct3D : {TRUE, FALSE}) {
        SCOPED_TRACE(direct3D ? "Direct3D" : "DirectDraw");
        ASSERT_TRUE(Init({direct3D, 32, 1}));
        g_Palette[5] = PALETTEENTRY{0x11, 0x22, 0x33, 0};
        DDSURFACEDATA sd = Empty(40, 4, FALSE);
        cImage before = qbtest::Pattern(40, 4, 0x500000);
        if (!direct3D)
            for (auto& p : before.px) p &= 0xFFFFFF;
        struct Case { int x, w; std::vector<int> columns; } cases[] = {
            {-10, 30, Range(0, 19)}, {30, 30, Range(30, 39)}, {-5, 60, Range(0, 39)}, {40, 5, {}}, {-8, 8, {}}, {3, 2, Range(3, 4)},
        };
        for (const auto& c : cases) {
            WriteImage(&sd, before);
            DDFillRectPal(&sd, c.x, 0, c.w, 1, 5);
            EXPECT_EQ(ChangedColumns(&sd, before), c.columns) << "x " << c.x << " w " << c.w;
        }
        WriteImage(&sd, before);
        DDFillRectPal(&sd, 0, -3, 1, 4, 5);
        const cImage after = qbtest::ReadImage(&sd);
        EXPECT_EQ(after.At(0, 0) & 0xFFFFFF, 0x112233u);
        EXPECT_EQ(after.At(0, 1), before.At(0, 1)) << "a fill starting above moves nothing down";
        DDReleaseSurface(&sd);
        DDUninit();
    }
}

TEST_F(FillTest, PaletteColourZeroClearsAKeyedTextureAndLeavesTheBackBuffer)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    DDSetTransmit(0xFF, 0x00, 0xFF);
    DDSURFACEDATA keyed = Empty(8, 4, TRUE);
    WriteImage(&keyed, qbtest::Pattern(8, 4, 1));
    DDFillRectPal(&keyed, 2, 1, 3, 2, 0);
    cImage expected = qbtest::Pattern(8, 4, 1);
    for (int y = 1; y < 3; ++y)
        for (int x = 2; x < 5; ++x) expected.Set(x, y, 0);
    EXPECT_EQ(qbtest::ReadImage(&keyed), expected);
    const cImage back = qbtest::ReadImage(&g_BackBuffer);
    DDFillSurfacePal(&g_BackBuffer, 0);
    EXPECT_EQ(qbtest::ReadImage(&g_BackBuffer), back);
    DDReleaseSurface(&keyed);
}

TEST_F(FillTest, ColoursBlendByTheirAlphaOnRenderTargetsAndAreWrittenAsTheyAreElsewhere)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    DDSURFACEDATA target = Empty(8, 4, FALSE);
    const cImage pattern = qbtest::Pattern(8, 4, 7);
    WriteImage(&target, pattern);
    DDFillRect(&target, 1, 1, 3, 2, 0x80FF4010);
    cImage expected = pattern;
    for (int y = 1; y < 3; ++y)
        for (int x = 1; x < 4; ++x) expected.Set(x, y, qbtest::RefBlend(0x80FF4010, pattern.At(x, y)));
    EXPECT_EQ(qbtest::ReadImage(&target), expected);
    // A file surface is no render target: its pixels take the value itself.
    Write("pic.bmp", qbtest::BuildBmp24(8, 4, std::vector<std::uint32_t>(32, 0x123456)));
    DDSURFACEDATA file;
    ClearSurfaceData(&file);
    ASSERT_EQ(DDCreateSurfaceFromFile(&file, "pic.bmp", FALSE, 32, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
    DDFillRect(&file, 6, -1, 5, 3, 0x40ABCDEF);
    const cImage filled = qbtest::ReadImage(&file);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(filled.At(x, y), (x >= 6 && y < 2) ? 0x40ABCDEFu : 0xFF123456u) << x << "," << y;
    DDReleaseSurface(&target);
    DDReleaseSurface(&file);
}

TEST_F(FillTest, PaletteNumbersAboveTheTableAreLoggedAndFillWithZero)
{
    ASSERT_TRUE(Init({FALSE, 32, 1}));
    DDSURFACEDATA sd = Empty(4, 1, FALSE, 1);
    WriteImage(&sd, cImage{4, 1, {0x111111, 0x222222, 0x333333, 0x444444}});
    DDFillRectPal(&sd, 0, 0, 2, 1, 300);
    EXPECT_EQ(qbtest::ReadImage(&sd), (cImage{4, 1, {0, 0, 0x333333, 0x444444}}));
    EXPECT_NE(EcLogText().find("PalNumToRGB(DWORD dwPalNum) Err dwPalNum = 300"), std::string::npos);
    DDReleaseSurface(&sd);
}

TEST_F(FillTest, SixteenBitDirectDrawPacksPaletteComponentsUnscaled)
{
    ASSERT_TRUE(Init({FALSE, 16, 0}));
    g_Palette[9] = PALETTEENTRY{31, 40, 7, 0};  // components already in 5 and 6 bits
    DDSURFACEDATA sd = Empty(2, 1, FALSE, 1);
    DDFillSurfacePal(&sd, 9);
    EXPECT_EQ(qbtest::ReadImage(&sd), (cImage{2, 1, {31u << 11 | 40u << 5 | 7u, 31u << 11 | 40u << 5 | 7u}}));
    DDReleaseSurface(&sd);
}

TEST_F(FillTest, NewDirectDrawSurfacesStartInPaletteColourZero)
{
    ASSERT_TRUE(Init({FALSE, 32, 1}));
    g_Palette[0] = PALETTEENTRY{0x12, 0x34, 0x56, 0};
    DDSURFACEDATA sd = Empty(3, 2, TRUE, 1);
    EXPECT_EQ(qbtest::ReadImage(&sd), (cImage{3, 2, std::vector<std::uint32_t>(6, 0x123456)}));
    DDReleaseSurface(&sd);
}

TEST_F(FillTest, TheFillBatchDrawsRunsPerTargetInIssueOrder)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    DDSURFACEDATA a = Empty(4, 1, FALSE), b = Empty(4, 1, FALSE);
    const cImage pattern = qbtest::Pattern(4, 1, 3);
    auto fills = [&] {
        DDBeginFillBatch();
        DDFillRect(&a, 0, 0, 4, 1, 0x80FF0000);
        DDFillRect(&b, 0, 0, 4, 1, 0xFF00FF00);
        DDFillRect(&a, 1, 0, 2, 1, 0x800000FF);
        EXPECT_EQ(qbtest::ReadImage(&a), pattern) << "nothing is drawn before the end";
        DDEndFillBatch();
    };
    WriteImage(&a, pattern);
    WriteImage(&b, pattern);
    fills();
    cImage expectedA = pattern;
    for (int x = 0; x < 4; ++x) expectedA.Set(x, 0, qbtest::RefBlend(0x80FF0000, pattern.At(x, 0)));
    for (int x = 1; x < 3; ++x) expectedA.Set(x, 0, qbtest::RefBlend(0x800000FF, expectedA.At(x, 0)));
    EXPECT_EQ(qbtest::ReadImage(&a), expectedA);
    EXPECT_EQ(qbtest::ReadImage(&b), (cImage{4, 1, std::vector<std::uint32_t>(4, 0xFF00FF00)}));
    // Three runs: when the third cannot get its vertex buffer, only the last fill of A is lost.
    WriteImage(&a, pattern);
    plat::FailDeviceCall("IDirect3DDevice9::CreateVertexBuffer", 1, 2);
    fills();
    cImage firstOnly = pattern;
    for (int x = 0; x < 4; ++x) firstOnly.Set(x, 0, qbtest::RefBlend(0x80FF0000, pattern.At(x, 0)));
    EXPECT_EQ(qbtest::ReadImage(&a), firstOnly);
    EXPECT_FALSE(g_FillBatch.bActive);
    DDReleaseSurface(&a);
    DDReleaseSurface(&b);
}

}  // namespace
