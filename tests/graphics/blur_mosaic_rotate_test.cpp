// Blur, mosaic and rotation on every back end and depth, against straightforward references
// written here from the formulas (the box blur sample by sample, the turned copy pixel by
// pixel), and small cases worked by hand.
#include "tests/graphics/effect_modes.h"

#include <cmath>
#include "graphics/blur.h"
#include "graphics/mosaic.h"
#include "graphics/rotate.h"

namespace {

using qbtest::cEffectMode;
using qbtest::cEffectSurfaces;
using qbtest::cImage;
using EffectTest = qbtest::cGraphicsTest;

struct cBlurCase {
    int x, y, w, h, rx, ry, sx, sy;
    DWORD flags;
};

// The box blur taken sample by sample: the box (−rx .. rx − 1, −ry .. ry − 1) inside the
// rectangle and the source, transparent samples left out with flags 1; a pixel whose own
// source pixel is outside the source is not written.
cImage RefBlur(const cEffectMode& mode, cImage dst, const cImage& src, const cBlurCase& b)
{
    const bool keyed = b.flags == 1;
    const std::uint32_t key = g_dwColorKey;
    for (int r = 0; r < b.h; ++r)
        for (int c = 0; c < b.w; ++c) {
            const int X = b.x + c, Y = b.y + r, SX = b.sx + c, SY = b.sy + r;
            if (X < 0 || Y < 0 || X >= dst.w || Y >= dst.h || SX < 0 || SY < 0 || SX >= src.w || SY >= src.h) continue;
            if (keyed && mode.Transparent(src.At(SX, SY), key)) continue;
            long sum[3] = {0, 0, 0}, count = 0;
            for (int dy = -b.ry; dy < b.ry; ++dy)
                for (int dx = -b.rx; dx < b.rx; ++dx) {
                    const int cc = c + dx, rr = r + dy;
                    if (cc < 0 || rr < 0 || cc >= b.w || rr >= b.h) continue;
                    const int px = b.sx + cc, py = b.sy + rr;
                    if (px < 0 || py < 0 || px >= src.w || py >= src.h) continue;
                    const std::uint32_t p = src.At(px, py);
                    if (keyed && mode.Transparent(p, key)) continue;
                    for (int k = 0; k < 3; ++k) sum[k] += mode.Component(p, k);
                    ++count;
                }
            if (count == 0) continue;
            dst.Set(X, Y, mode.Store(static_cast<int>(sum[0] / count), static_cast<int>(sum[1] / count),
                                     static_cast<int>(sum[2] / count), dst.At(X, Y)));
        }
    return dst;
}

TEST_F(EffectTest, BlurEqualsTheBoxTakenSampleBySampleOnRandomImages)
{
    std::mt19937 random(1234);
    for (const cEffectMode& mode : qbtest::kEffectModes) {
        if (mode.nBpp == 8) continue;
        SCOPED_TRACE(mode.name);
        ASSERT_TRUE(Init({mode.bDirect3D, mode.nBpp, mode.nWindowMode}));
        cEffectSurfaces surfaces;
        ASSERT_TRUE(surfaces.Make(mode, 23, 17, 21, 19));
        DDSURFACEDATA* dst = surfaces.Dst(mode);
        const cImage src = qbtest::RandomImage(mode, 23, 17, random);
        qbtest::WriteImage(&surfaces.m_Src, src);
        std::vector<cBlurCase> cases = {
            {0, 0, 23, 17, 1, 1, 0, 0, 0}, {2, 3, 15, 10, 4, 4, 3, 2, 1}, {-5, -4, 30, 25, 3, 2, -3, -2, 1},
            {10, 12, 23, 17, 7, 1, 0, 0, 0}, {1, 1, 8, 8, 40, 40, 10, 5, 1}, {0, 0, 23, 17, 1, 9, 0, 0, 1},
        };
        for (int i = 0; i < 30; ++i)
            cases.push_back({static_cast<int>(random() % 30) - 8, static_cast<int>(random() % 30) - 8,
                             static_cast<int>(random() % 28) + 1, static_cast<int>(random() % 22) + 1,
                             static_cast<int>(random() % 6) + 1, static_cast<int>(random() % 6) + 1,
                             static_cast<int>(random() % 30) - 6, static_cast<int>(random() % 24) - 6, static_cast<DWORD>(random() % 2)});
        for (const auto& b : cases) {
            SCOPED_TRACE(testing::Message() << b.x << "," << b.y << " " << b.w << "x" << b.h << " r " << b.rx << "," << b.ry
                                            << " from " << b.sx << "," << b.sy << " flags " << b.flags);
            const cImage before = qbtest::RandomImage(mode, dst->nWidth, dst->nHeight, random);
            qbtest::WriteImage(dst, before);
            EXPECT_TRUE(DDBltBlur(dst, b.x, b.y, b.w, b.h, b.rx, b.ry, &surfaces.m_Src, b.sx, b.sy, b.flags));
            ASSERT_EQ(qbtest::ReadImage(dst), RefBlur(mode, before, src, b));
        }
        DDReleaseSurface(&surfaces.m_Src);
        DDReleaseSurface(&surfaces.m_Dst);
        DDUninit();
    }
}

TEST_F(EffectTest, BlurByHand)
{
    for (const cEffectMode& mode : qbtest::kEffectModes) {
        SCOPED_TRACE(mode.name);
        ASSERT_TRUE(Init({mode.bDirect3D, mode.nBpp, mode.nWindowMode}));
        cEffectSurfaces surfaces;
        ASSERT_TRUE(surfaces.Make(mode, 6, 6, 6, 6));
        DDSURFACEDATA* dst = surfaces.Dst(mode);
        // A uniform picture stays as it is.
        const std::uint32_t uniform = mode.nBpp == 8 ? 5u : mode.Store(9, 20, 3, 0);
        const std::uint32_t source = mode.bBackBuffer ? 0x8000u | 9u << 10 | 20u << 5 | 3u : uniform;
        qbtest::WriteImage(&surfaces.m_Src, cImage{6, 6, std::vector<std::uint32_t>(36, source)});
        qbtest::WriteImage(dst, cImage{dst->nWidth, dst->nHeight, std::vector<std::uint32_t>(static_cast<std::size_t>(dst->nWidth) * dst->nHeight, 0)});
        EXPECT_TRUE(DDBltBlur(dst, 0, 0, 6, 6, 2, 3, &surfaces.m_Src, 0, 0, 1));
        const cImage out = qbtest::ReadImage(dst);
        if (mode.nBpp == 8) {
            EXPECT_EQ(out.At(2, 2), 0u) << "nothing is drawn at 8 bits";
            EXPECT_NE(EcLogText().find("8ビットぼかしは不可能！"), std::string::npos);
        } else {
            for (int y = 0; y < 6; ++y)
                for (int x = 0; x < 6; ++x) ASSERT_EQ(out.At(x, y), uniform) << x << "," << y;
        }
        // Radii 0 draw nothing.
        EXPECT_TRUE(DDBltBlur(dst, 0, 0, 6, 6, 0, 3, &surfaces.m_Src, 0, 0, 0));
        DDReleaseSurface(&surfaces.m_Src);
        DDReleaseSurface(&surfaces.m_Dst);
        DDUninit();
    }
    // Radii 1 and 1: the pixel with its left, upper and upper-left neighbours; the top-left
    // pixel keeps its colour. Direct3D 32: (10 + 20 + 40 + 80) / 4 = 37 in blue.
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    cEffectSurfaces surfaces;
    ASSERT_TRUE(surfaces.Make(qbtest::kEffectModes[0], 2, 2, 2, 2));
    qbtest::WriteImage(&surfaces.m_Src, cImage{2, 2, {0xFF00000Au, 0xFF000014u, 0xFF000028u, 0xFF000050u}});
    EXPECT_TRUE(DDBltBlur(&surfaces.m_Dst, 0, 0, 2, 2, 1, 1, &surfaces.m_Src, 0, 0, 0));
    EXPECT_EQ(qbtest::ReadImage(&surfaces.m_Dst).px, (std::vector<std::uint32_t>{0xFF00000Au, 0xFF00000Fu, 0xFF000019u, 0xFF000025u}));
}

TEST_F(EffectTest, MosaicCellsByHand)
{
    for (const cEffectMode& mode : qbtest::kEffectModes) {
        SCOPED_TRACE(mode.name);
        ASSERT_TRUE(Init({mode.bDirect3D, mode.nBpp, mode.nWindowMode}));
        cEffectSurfaces surfaces;
        ASSERT_TRUE(surfaces.Make(mode, 10, 10, 12, 12));
        DDSURFACEDATA* dst = surfaces.Dst(mode);
        std::mt19937 random(77);
        const cImage src = qbtest::RandomImage(mode, 10, 10, random, 1000);
        qbtest::WriteImage(&surfaces.m_Src, src);
        const cImage before = qbtest::RandomImage(mode, dst->nWidth, dst->nHeight, random);
        qbtest::WriteImage(dst, before);
        // Cells of 4, 4 and 2 pixels each way from (1, 1).
        EXPECT_TRUE(DDBltMosaic(dst, 1, 1, 10, 10, 4, &surfaces.m_Src, 0, 0, 0));
        const cImage out = qbtest::ReadImage(dst);
        const bool corner = (mode.bDirect3D && mode.nBpp == 16) || mode.nBpp == 8;
        for (int cy = 0; cy < 10; cy += 4)
            for (int cx = 0; cx < 10; cx += 4) {
                const int cw = std::min(4, 10 - cx), ch = std::min(4, 10 - cy);
                std::uint32_t expected;
                if (corner) {
                    expected = mode.Copy(src.At(cx, cy));
                } else {
                    long sum[3] = {0, 0, 0};
                    for (int y = cy; y < cy + ch; ++y)
                        for (int x = cx; x < cx + cw; ++x)
                            for (int k = 0; k < 3; ++k) {
                                const int v = mode.Component(src.At(x, y), k);
                                sum[k] += mode.nBpp == 16 ? v * 255 / mode.Maximum(k) : v;
                            }
                    int mean[3];
                    for (int k = 0; k < 3; ++k) {
                        mean[k] = static_cast<int>(sum[k] / (cw * ch));
                        if (mode.nBpp == 16) mean[k] = mean[k] * mode.Maximum(k) / 255;
                    }
                    expected = mode.Store(mean[0], mean[1], mean[2], 0);
                }
                for (int y = cy; y < cy + ch; ++y)
                    for (int x = cx; x < cx + cw; ++x) {
                        const std::uint32_t got = out.At(1 + x, 1 + y);
                        const std::uint32_t want = mode.nBpp == 32 && !mode.bDirect3D ? (before.At(1 + x, 1 + y) & 0xFF000000u) | expected : expected;
                        ASSERT_EQ(got, want) << "cell " << cx << "," << cy << " pixel " << x << "," << y;
                    }
            }
        EXPECT_EQ(out.At(0, 0), before.At(0, 0));
        EXPECT_EQ(out.At(11, 11), before.At(11, 11));
        // A cell size of 0 or less draws nothing and returns at once.
        for (int cell : {0, -3}) EXPECT_TRUE(DDBltMosaic(dst, 0, 0, 10, 10, cell, &surfaces.m_Src, 0, 0, 0));
        EXPECT_EQ(qbtest::ReadImage(dst), out);
        // A rectangle reaching past the source draws only cells that hold source pixels.
        EXPECT_TRUE(DDBltMosaic(dst, 0, 0, 1000, 1000, 3, &surfaces.m_Src, 5, 5, 0));
        DDReleaseSurface(&surfaces.m_Src);
        DDReleaseSurface(&surfaces.m_Dst);
        DDUninit();
    }
    // Cell size 1: a copy under Direct3D 16; under DirectDraw 16 each component c becomes
    // (c × 255 / max) × max / 255, so red 1 of 31 becomes 0.
    ASSERT_TRUE(Init({FALSE, 16, 0}));
    cEffectSurfaces surfaces;
    ASSERT_TRUE(surfaces.Make(qbtest::kEffectModes[4], 2, 1, 2, 1));
    qbtest::WriteImage(&surfaces.m_Src, cImage{2, 1, {1u << 11 | 63u << 5 | 30u, 31u << 11 | 1u << 5}});
    EXPECT_TRUE(DDBltMosaic(&surfaces.m_Dst, 0, 0, 2, 1, 1, &surfaces.m_Src, 0, 0, 0));
    EXPECT_EQ(qbtest::ReadImage(&surfaces.m_Dst).px, (std::vector<std::uint32_t>{63u << 5 | 29u, 31u << 11}));
}

// The turned copy pixel by pixel: sine and cosine × 1024 truncated, shifts, the area of the
// turned corners widened by 2, source offsets inside the rectangle and the source.
cImage RefRotate(const cEffectMode& mode, cImage dst, const cImage& src, int x, int y, int w, int h, int px, int py,
                 int angle, int sx, int sy, bool keyed)
{
    const double t = angle * 0.017453292519943278;
    const long s = static_cast<long>(std::sin(t) * 1024), c = static_cast<long>(std::cos(t) * 1024);
    const long s2 = static_cast<long>(std::sin(-t) * 1024), c2 = static_cast<long>(std::cos(-t) * 1024);
    long minX = 1L << 40, maxX = -(1L << 40), minY = 1L << 40, maxY = -(1L << 40);
    for (long cx : {0L, static_cast<long>(w - 1)})
        for (long cy : {0L, static_cast<long>(h - 1)}) {
            const long dx = cx - px, dy = cy - py;
            const long X = ((dx * c - dy * s) >> 10) + px, Y = ((dx * s + dy * c) >> 10) + py;
            minX = std::min(minX, X), maxX = std::max(maxX, X), minY = std::min(minY, Y), maxY = std::max(maxY, Y);
        }
    for (long Y = minY - 2; Y < maxY + 2; ++Y)
        for (long X = minX - 2; X < maxX + 2; ++X) {
            const long DX = X - px + x, DY = Y - py + y;
            if (DX < 0 || DY < 0 || DX >= dst.w || DY >= dst.h) continue;
            const long u = px + ((c2 * (X - px) - s2 * (Y - py)) >> 10), v = py + ((s2 * (X - px) + c2 * (Y - py)) >> 10);
            if (u < 0 || v < 0 || u >= w || v >= h || sx + u < 0 || sy + v < 0 || sx + u >= src.w || sy + v >= src.h) continue;
            const std::uint32_t p = src.At(static_cast<int>(sx + u), static_cast<int>(sy + v));
            if (keyed && p == g_dwColorKey) continue;
            dst.Set(static_cast<int>(DX), static_cast<int>(DY), mode.Copy(p));
        }
    return dst;
}

TEST_F(EffectTest, RotationCopiesThePixelUnderEachTurnedPosition)
{
    std::mt19937 random(99);
    for (const cEffectMode& mode : qbtest::kEffectModes) {
        SCOPED_TRACE(mode.name);
        ASSERT_TRUE(Init({mode.bDirect3D, mode.nBpp, mode.nWindowMode}));
        if (mode.bDirect3D) g_dwColorKey = mode.nBpp == 16 ? 0x0000u : 0u;
        cEffectSurfaces surfaces;
        ASSERT_TRUE(surfaces.Make(mode, 14, 10, 30, 30));
        DDSURFACEDATA* dst = surfaces.Dst(mode);
        const cImage src = qbtest::RandomImage(mode, 14, 10, random);
        qbtest::WriteImage(&surfaces.m_Src, src);
        struct Case { int x, y, w, h, px, py, angle, sx, sy; DWORD flags; } cases[] = {
            {10, 10, 8, 6, 4, 3, 0, 2, 1, 0},   {10, 10, 8, 6, 4, 3, 90, 2, 1, 0},  {10, 10, 8, 6, 4, 3, 180, 2, 1, 1},
            {12, 12, 8, 6, 4, 3, 45, 2, 1, 1},  {15, 15, 14, 10, 7, 5, 30, 0, 0, 0}, {3, 3, 14, 10, 0, 0, -77, 0, 0, 1},
            {28, 28, 14, 10, 7, 5, 200, 0, 0, 0}, {10, 10, 8, 6, 4, 3, 45, -3, -2, 0},  // reaching before the source
            {10, 10, 20, 20, 4, 3, 270, 5, 5, 0},  // and past it
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.angle << " degrees about " << c.px << "," << c.py << " from " << c.sx << ","
                                            << c.sy);
            const cImage before = qbtest::RandomImage(mode, dst->nWidth, dst->nHeight, random);
            qbtest::WriteImage(dst, before);
            EXPECT_TRUE(DDBltRotate(dst, c.x, c.y, c.w, c.h, c.px, c.py, c.angle, &surfaces.m_Src, c.sx, c.sy, c.flags));
            ASSERT_EQ(qbtest::ReadImage(dst),
                      RefRotate(mode, before, src, c.x, c.y, c.w, c.h, c.px, c.py, c.angle, c.sx, c.sy, c.flags == 1));
        }
        // By hand: turned by 0 the picture is copied with its pivot on (x, y); by 90 a pixel
        // right of the pivot lands below it.
        const cImage before = qbtest::RandomImage(mode, dst->nWidth, dst->nHeight, random);
        qbtest::WriteImage(dst, before);
        DDBltRotate(dst, 10, 10, 8, 6, 4, 3, 0, &surfaces.m_Src, 0, 0, 0);
        cImage out = qbtest::ReadImage(dst);
        EXPECT_EQ(out.At(6, 7), mode.Copy(src.At(0, 0)));
        EXPECT_EQ(out.At(13, 12), mode.Copy(src.At(7, 5)));
        DDBltRotate(dst, 10, 10, 8, 6, 4, 3, 90, &surfaces.m_Src, 0, 0, 0);
        out = qbtest::ReadImage(dst);
        EXPECT_EQ(out.At(10, 12), mode.Copy(src.At(6, 3))) << "two right of the pivot: two below";
        EXPECT_EQ(out.At(10, 10), mode.Copy(src.At(4, 3))) << "the pivot stays";
        DDReleaseSurface(&surfaces.m_Src);
        DDReleaseSurface(&surfaces.m_Dst);
        DDUninit();
    }
}

TEST_F(EffectTest, Direct3DRotationTurnsAQuadCentredOnThePosition)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    DDSURFACEDATA src, dst;
    ClearSurfaceData(&src);
    ClearSurfaceData(&dst);
    ASSERT_TRUE(DDCreateSurface(&src, 4, 2, FALSE, 0, 0, nullptr, FALSE));
    ASSERT_TRUE(DDCreateSurface(&dst, 20, 20, FALSE, 0, 0, nullptr, FALSE));
    const cImage picture{4, 2, {0xFF000001u, 0xFF000002u, 0xFF000003u, 0xFF000004u, 0xFF000005u, 0xFF000006u, 0xFF000007u, 0xFF000008u}};
    qbtest::WriteImage(&src, picture);
    // Unturned, the pivot at the corner (0, 0): the picture is still centred on (10, 10).
    DDBltRotate(&dst, 10, 10, 4, 2, 0, 0, 0, &src, 0, 0, 0);
    cImage out = qbtest::ReadImage(&dst);
    EXPECT_EQ(out.At(8, 9), 0xFF000001u);
    EXPECT_EQ(out.At(11, 10), 0xFF000008u);
    EXPECT_EQ(out.At(7, 9), 0u);
    // Turned by 90 about its centre (2, 1): its top row becomes the right-hand column, read
    // downwards, so the pixel right of the centre lands below it.
    qbtest::WriteImage(&dst, cImage{20, 20, std::vector<std::uint32_t>(400, 0)});
    DDBltRotate(&dst, 10, 10, 4, 2, 2, 1, 90, &src, 0, 0, 0);
    out = qbtest::ReadImage(&dst);
    EXPECT_EQ(out.At(10, 8), 0xFF000001u);
    EXPECT_EQ(out.At(10, 11), 0xFF000004u);
    EXPECT_EQ(out.At(9, 11), 0xFF000008u);
    int drawn = 0;
    for (std::uint32_t p : out.px) drawn += p != 0;
    EXPECT_EQ(drawn, 8);
    DDReleaseSurface(&src);
    DDReleaseSurface(&dst);
}

}  // namespace
