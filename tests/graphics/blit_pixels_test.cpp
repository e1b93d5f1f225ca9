// Blits pixel by pixel on small surfaces of distinct values, against reference arithmetic
// written out in the tests: the Direct3D quad (unscaled, keyed, scaled, mirrored, clipped on
// every side, the colour operations and translucency), the Direct3D pixel copy and DirectDraw.
#include "tests/graphics/graphics_fixture.h"

#include "graphics/blit.h"
#include "tests/graphics/blit_reference.h"

namespace {

using qbtest::cImage;
using qbtest::cRefBlit;
using BlitPixelsTest = qbtest::cGraphicsTest;

constexpr std::uint32_t kPixelsKey = qbtest::kKeyRgb;
using qbtest::KeyedPictureRgb;

class cD3DBlits : public BlitPixelsTest {
protected:
    void SetUp() override
    {
        BlitPixelsTest::SetUp();
        ASSERT_TRUE(Init({TRUE, 32, 1}));
        DDSetTransmit(0xFF, 0x00, 0xFF);
        Write("pic.bmp", qbtest::BuildBmp24(8, 4, KeyedPictureRgb()));
        ClearSurfaceData(&m_Picture);
        ClearSurfaceData(&m_Target);
        ASSERT_EQ(DDCreateSurfaceFromFile(&m_Picture, "pic.bmp", TRUE, 32, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
        ASSERT_TRUE(DDCreateSurface(&m_Target, 16, 12, FALSE, 0, 0, nullptr, FALSE));
        m_Texture = qbtest::ReadImage(&m_Picture, true);
        WriteImage(&m_Target, qbtest::Pattern(16, 12, 0x135790));
    }
    void TearDown() override
    {
        DDReleaseSurface(&m_Picture);
        DDReleaseSurface(&m_Target);
        BlitPixelsTest::TearDown();
    }
    DDSURFACEDATA m_Picture, m_Target;
    cImage m_Texture;
};

struct cQuadCase {
    const char* what;
    cRefBlit b;
    DWORD flags;
    std::uint32_t color = 0xFFFFFFFF;
    int colorOp = D3DTOP_MODULATE;
    int alphaOp = D3DTOP_SELECTARG1;
};

TEST_F(cD3DBlits, QuadsMatchTheReferenceForEveryShapeAndOperation)
{
    const cQuadCase cases[] = {
        {"unscaled opaque: transparent pixels become transparent", {3, 2, 8, 4, 0, 0, 8, 4}, 0},
        {"unscaled keyed", {3, 2, 8, 4, 0, 0, 8, 4}, 1},
        {"part of the picture", {5, 5, 5, 3, 2, 1, 5, 3}, 1},
        {"scaled up", {0, 1, 16, 8, 0, 0, 8, 4}, 1},
        {"scaled up by three halves", {1, 1, 12, 6, 0, 0, 8, 4}, 1},
        {"scaled down", {2, 3, 4, 2, 0, 0, 8, 4}, 1},
        {"scaled down unevenly", {2, 3, 3, 3, 1, 0, 7, 4}, 1},
        {"mirrored", {4, 4, 8, 4, 8, 0, -8, 4}, 1},
        {"mirrored and scaled", {0, 4, 16, 8, 8, 0, -8, 4}, 1},
        {"clipped on the left", {-3, 2, 8, 4, 0, 0, 8, 4}, 1},
        {"clipped at the top", {3, -2, 8, 4, 0, 0, 8, 4}, 1},
        {"clipped on the right", {12, 2, 8, 4, 0, 0, 8, 4}, 1},
        {"clipped at the bottom", {3, 10, 8, 4, 0, 0, 8, 4}, 1},
        {"source starting before the picture", {3, 2, 8, 4, -2, -1, 8, 4}, 1},
        {"scaled and clipped on the left", {-5, 0, 16, 8, 0, 0, 8, 4}, 1},
        {"add", {3, 2, 8, 4, 0, 0, 8, 4}, 1, 0xFF70A0E0, D3DTOP_ADD},
        {"subtract", {3, 2, 8, 4, 0, 0, 8, 4}, 1, 0xFF305070, D3DTOP_SUBTRACT},
        {"modulate", {3, 2, 8, 4, 0, 0, 8, 4}, 1, 0xFF8040C0, D3DTOP_MODULATE},
        {"translucent", {3, 2, 8, 4, 0, 0, 8, 4}, 1, 0x80FFFFFF, D3DTOP_MODULATE, D3DTOP_MODULATE},
        {"translucent and tinted", {1, 1, 12, 6, 0, 0, 8, 4}, 1, 0x5A60C030, D3DTOP_MODULATE, D3DTOP_MODULATE},
        {"alpha from the draw colour", {3, 2, 8, 4, 0, 0, 8, 4}, 1, 0x20FFFFFF, D3DTOP_MODULATE, D3DTOP_DISABLE},
    };
    for (const cQuadCase& c : cases) {
        SCOPED_TRACE(c.what);
        cImage expected = qbtest::Pattern(16, 12, 0x135790);
        WriteImage(&m_Target, expected);
        DDSetAlphaOp(c.alphaOp);
        const int state[2] = {static_cast<int>(c.color), c.colorOp};
        const cRefBlit& b = c.b;
        DDBltEx(&m_Target, b.x, b.y, b.w, b.h, &m_Picture, b.sx, b.sy, b.sw, b.sh, c.flags, state);
        DDResetAlphaOp();
        qbtest::RefQuad(expected, m_Texture, 8, 4, b, c.color, c.colorOp, c.alphaOp, c.flags == 0);
        EXPECT_EQ(qbtest::ReadImage(&m_Target), expected);
        // The draw state is back at its defaults.
        EXPECT_EQ(lpDTCon->dwDrawColor, 0xFFFFFFFFu);
        EXPECT_EQ(lpDTCon->nColorOp, D3DTOP_MODULATE);
    }
}

TEST_F(cD3DBlits, BltFastIsTheUnscaledBlit)
{
    cImage expected = qbtest::Pattern(16, 12, 0x135790);
    DDBltFast(&m_Target, -2, 9, 8, 4, &m_Picture, 1, 1, 1);
    qbtest::RefQuad(expected, m_Texture, 8, 4, {-2, 9, 8, 4, 1, 1, 8, 4}, 0xFFFFFFFF, D3DTOP_MODULATE, D3DTOP_SELECTARG1,
                    false);
    EXPECT_EQ(qbtest::ReadImage(&m_Target), expected);
}

TEST_F(cD3DBlits, OpaqueBlitOfAKeyedPictureShowsTheTransparentColourOnTheBackBuffer)
{
    DDBltFast(&g_BackBuffer, 0, 0, 8, 4, &m_Picture, 0, 0, 0);
    const cImage back = qbtest::ReadImage(&g_BackBuffer);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            const std::uint32_t rgb = KeyedPictureRgb()[static_cast<std::size_t>(y) * 8 + x];
            EXPECT_EQ(back.At(x, y) & 0xFFFFFF, rgb) << x << "," << y;  // the key colour itself where transparent
        }
}

TEST_F(cD3DBlits, PixelCopiesTakeTheirOwnSampling)
{
    // A destination that is not a render target, and a source in system memory onto a render
    // target, are both drawn by the pixel copy.
    DDSURFACEDATA fileTarget, systemSource;
    ClearSurfaceData(&fileTarget);
    ClearSurfaceData(&systemSource);
    Write("target.bmp", qbtest::BuildBmp24(16, 12, std::vector<std::uint32_t>(16 * 12, 0x445566)));
    ASSERT_EQ(DDCreateSurfaceFromFile(&fileTarget, "target.bmp", FALSE, 32, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
    ASSERT_EQ(DDCreateSurfaceFromFile(&systemSource, "pic.bmp", TRUE, 32, 1, DTMEMORYTYPE_SYSTEM, nullptr, nullptr, 0, 0,
                                      FALSE),
              0);
    const cImage source = qbtest::ReadImage(&m_Picture);
    struct Case { const char* what; cRefBlit b; DWORD flags; } cases[] = {
        {"unscaled", {3, 2, 8, 4, 0, 0, 8, 4}, 0},
        {"keyed", {3, 2, 8, 4, 0, 0, 8, 4}, 1},
        {"scaled up", {0, 0, 16, 12, 0, 0, 8, 4}, 1},
        {"scaled down", {2, 2, 3, 3, 0, 0, 8, 4}, 0},
        {"mirrored", {4, 4, 8, 4, 8, 0, -8, 4}, 1},
        {"mirrored and scaled", {0, 0, 13, 7, 8, 4, -8, -4}, 0},
        {"clipped on the left", {-3, 2, 8, 4, 0, 0, 8, 4}, 1},
        {"clipped at the top", {3, -2, 8, 4, 0, 0, 8, 4}, 0},
        {"clipped on the right", {12, 2, 8, 4, 0, 0, 8, 4}, 1},
        {"clipped at the bottom", {3, 10, 8, 4, 0, 0, 8, 4}, 0},
        {"source outside the picture", {3, 2, 8, 4, -3, 2, 8, 4}, 0},
    };
    for (DDSURFACEDATA* target : {&fileTarget, &m_Target}) {
        DDSURFACEDATA* src = target == &fileTarget ? &m_Picture : &systemSource;
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << (target == &fileTarget ? " into a file surface" : " from system memory"));
            cImage expected = qbtest::Pattern(16, 12, 0x2468AC);
            WriteImage(target, expected);
            // The draw state does not apply to the copy.
            DDSetDrawColor(0x40102030);
            DDBlt(target, c.b.x, c.b.y, c.b.w, c.b.h, src, c.b.sx, c.b.sy, c.b.sw, c.b.sh, c.flags);
            DDResetDrawColor();
            qbtest::RefCopy(expected, source, c.b, c.flags == 1);
            EXPECT_EQ(qbtest::ReadImage(target), expected);
        }
    }
    DDReleaseSurface(&fileTarget);
    DDReleaseSurface(&systemSource);
}

TEST_F(cD3DBlits, MirrorRecordsDrawTheirCellsFlipped)
{
    DDSURFACEDATA mirror;
    ClearSurfaceData(&mirror);
    ASSERT_EQ(DDCreateSurfaceFromFile(&mirror, "pic.bmp", TRUE, 32, 0, 0, &m_Picture, nullptr, 4, 0, FALSE), 0);
    mirror.lpMirrorSD = &m_Picture;
    cImage expected = qbtest::Pattern(16, 12, 0x135790);
    WriteImage(&m_Target, expected);
    // Cell 1 (columns 4-7) of the mirror record shows the picture's cell 1 flipped.
    DDBltFast(&m_Target, 2, 3, 4, 4, &mirror, 4, 0, 1);
    qbtest::RefQuad(expected, m_Texture, 8, 4, {2, 3, 4, 4, 8, 0, -4, 4}, 0xFFFFFFFF, D3DTOP_MODULATE, D3DTOP_SELECTARG1,
                    false);
    EXPECT_EQ(qbtest::ReadImage(&m_Target), expected);
    DDReleaseSurface(&mirror);
}

TEST_F(BlitPixelsTest, DirectDrawBlitsCopyWithTheColourKeyAndCutToTheDestination)
{
    ASSERT_TRUE(Init({FALSE, 32, 1}));
    DDSetTransmit(0xFF, 0x00, 0xFF);
    Write("pic.bmp", qbtest::BuildBmp24(8, 4, KeyedPictureRgb()));
    DDSURFACEDATA picture, target;
    ClearSurfaceData(&picture);
    ClearSurfaceData(&target);
    ASSERT_EQ(DDCreateSurfaceFromFile(&picture, "pic.bmp", TRUE, 32, 1, 0, nullptr, nullptr, 0, 0, FALSE), 0);
    ASSERT_TRUE(DDCreateSurface(&target, 16, 12, FALSE, 1, 0, nullptr, FALSE));
    const cImage source = qbtest::ReadImage(&picture);
    struct Case { const char* what; cRefBlit b; DWORD flags; bool fast; bool drawn; } cases[] = {
        {"unscaled", {3, 2, 8, 4, 0, 0, 8, 4}, 0, true, true},
        {"keyed", {3, 2, 8, 4, 0, 0, 8, 4}, 1, true, true},
        {"clipped on the left", {-3, 2, 8, 4, 0, 0, 8, 4}, 1, true, true},
        {"clipped at the top", {3, -2, 8, 4, 0, 0, 8, 4}, 1, true, true},
        {"clipped on the right", {12, 2, 8, 4, 0, 0, 8, 4}, 1, true, true},
        {"clipped at the bottom", {3, 10, 8, 4, 0, 0, 8, 4}, 1, true, true},
        {"scaled up", {0, 0, 16, 8, 0, 0, 8, 4}, 1, false, true},
        {"scaled down", {2, 2, 4, 2, 0, 0, 8, 4}, 0, false, true},
        {"scaled and clipped on the left", {-4, 0, 16, 8, 0, 0, 8, 4}, 1, false, true},
        {"flipped: nothing", {4, 4, 8, 4, 8, 0, -8, 4}, 1, false, false},
        {"right of the destination: nothing", {16, 0, 8, 4, 0, 0, 8, 4}, 1, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        cImage expected = qbtest::Pattern(16, 12, 0x010203);
        for (auto& p : expected.px) p &= 0xFFFFFF;
        WriteImage(&target, expected);
        if (c.fast) DDBltFast(&target, c.b.x, c.b.y, c.b.w, c.b.h, &picture, c.b.sx, c.b.sy, c.flags);
        else DDBlt(&target, c.b.x, c.b.y, c.b.w, c.b.h, &picture, c.b.sx, c.b.sy, c.b.sw, c.b.sh, c.flags);
        if (c.drawn) {
            // The key is a pixel value: copy with the reference and put key pixels back.
            cImage keyed = source;
            for (auto& p : keyed.px) p = (c.flags == 1 && p == kPixelsKey) ? 0 : p | 0xFF000000u;
            qbtest::RefCopy(expected, keyed, c.b, c.flags == 1);
            for (auto& p : expected.px) p &= 0xFFFFFF;
        }
        EXPECT_EQ(qbtest::ReadImage(&target), expected);
    }
    DDReleaseSurface(&picture);
    DDReleaseSurface(&target);
}

}  // namespace
