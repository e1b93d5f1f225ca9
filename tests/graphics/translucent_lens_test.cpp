// Translucent, tint and lens blits on every back end and depth, against references written
// here from the formulas, and the small cases worked by hand.
#include "tests/graphics/effect_modes.h"

#include <cmath>
#include "graphics/blit.h"
#include "graphics/lens.h"
#include "graphics/palette.h"
#include "graphics/translucent.h"

namespace {

using qbtest::cEffectMode;
using qbtest::cEffectSurfaces;
using qbtest::cImage;
using MixTest = qbtest::cGraphicsTest;

// Pixels (j, i) of the rectangle whose destination and source lie inside their records.
template <class F>
void EachPixel(const cImage& dst, const cImage& src, int x, int y, int w, int h, int sx, int sy, F f)
{
    for (int i = 0; i < h; ++i)
        for (int j = 0; j < w; ++j) {
            const int X = x + j, Y = y + i, SX = sx + j, SY = sy + i;
            if (X < 0 || Y < 0 || X >= dst.w || Y >= dst.h || SX < 0 || SY < 0 || SX >= src.w || SY >= src.h) continue;
            f(X, Y, src.At(SX, SY));
        }
}

// The per-pixel translucency: half and half, or the blend table at 8 bits.
cImage RefTrans(const cEffectMode& m, cImage dst, const cImage& src, int x, int y, int w, int h, int sx, int sy, bool keyed,
                const BYTE* table)
{
    const std::uint32_t key = g_dwColorKey;
    EachPixel(dst, src, x, y, w, h, sx, sy, [&](int X, int Y, std::uint32_t s) {
        const std::uint32_t d = dst.At(X, Y);
        std::uint32_t out = d;
        if (m.nBpp == 8) {
            if (keyed && s == 0) return;
            out = d == 0 ? s : table[d * 256 + s];
        } else if (m.bDirect3D) {
            if (keyed && m.Transparent(s, key)) return;
            if (m.bBackBuffer) {
                const int dr = static_cast<int>(d >> 11), dg = static_cast<int>((d >> 5) & 63), db = static_cast<int>(d & 31);
                out = static_cast<std::uint32_t>((m.Component(s, 0) + dr) >> 1) << 11 |
                      static_cast<std::uint32_t>((dg + 2 * m.Component(s, 1)) >> 1) << 5 |
                      static_cast<std::uint32_t>((m.Component(s, 2) + db) >> 1);
            } else {
                out = m.Store((m.Component(s, 0) + m.Component(d, 0)) >> 1, (m.Component(s, 1) + m.Component(d, 1)) >> 1,
                              (m.Component(s, 2) + m.Component(d, 2)) >> 1, d);
            }
        } else {
            if (keyed && s == key) return;
            if (d == key) {
                out = m.nBpp == 32 ? (d & 0xFF000000u) | (s & 0xFFFFFFu) : s;
            } else {
                int mean[3];
                for (int k = 0; k < 3; ++k) {
                    const int max = m.Maximum(k);
                    mean[k] = ((m.Component(s, k) * 255 / max + m.Component(d, k) * 255 / max) >> 1) * max / 255;
                }
                out = m.Store(mean[0], mean[1], mean[2], d);
            }
        }
        dst.Set(X, Y, out);
    });
    return dst;
}

// The per-pixel tint.
cImage RefTint(const cEffectMode& m, cImage dst, const cImage& src, int x, int y, int w, int h, int sx, int sy, bool keyed,
               const PALETTEENTRY& tint, int colourNumber, int level)
{
    const std::uint32_t key = g_dwColorKey;
    const int colour[3] = {tint.peRed, tint.peGreen, tint.peBlue};
    EachPixel(dst, src, x, y, w, h, sx, sy, [&](int X, int Y, std::uint32_t s) {
        int out[3];
        if (m.bDirect3D) {
            if (keyed && m.Transparent(s, key)) return;
            const int factor = level == 1 ? 0x80 : level == 2 ? 0x40 : level == 3 ? 0x20 : level == 4 ? 0x10 : 0;
            const float f = static_cast<float>(factor) / 255.0f;
            for (int k = 0; k < 3; ++k) {
                const int L = m.nBpp == 16 ? colour[k] * m.Maximum(k) / 255 : colour[k];
                const float rest = (1.0f - f) * static_cast<float>(L);
                const int c = m.Component(s, k);
                out[k] = level == 1 ? (c + L) >> 1 : static_cast<int>(static_cast<float>(c) * f + rest);
            }
            if (m.bBackBuffer) {
                const int green = level == 1 ? m.Component(s, 1) + colour[1] * 31 / 255 : out[1] * 2;
                dst.Set(X, Y, static_cast<std::uint32_t>(out[0] & 31) << 11 | static_cast<std::uint32_t>(green & 63) << 5 |
                                  static_cast<std::uint32_t>(out[2] & 31));
                return;
            }
            dst.Set(X, Y, m.Store(out[0] & m.Maximum(0), out[1] & m.Maximum(1), out[2] & m.Maximum(2), dst.At(X, Y)));
            return;
        }
        if (keyed && s == key) return;
        if (m.nBpp == 8) {
            std::uint32_t index = s;
            for (int i = 0; i < level; ++i) index = g_BlendTable[index * 256 + static_cast<std::uint32_t>(colourNumber & 255)];
            dst.Set(X, Y, index);
            return;
        }
        for (int k = 0; k < 3; ++k) {
            const int max = m.Maximum(k);
            int c = m.Component(s, k) * 255 / max;
            const int t = colour[k] * 255 / max;
            for (int i = 0; i < level; ++i) c = (c + t) >> 1;
            out[k] = c * max / 255;
        }
        dst.Set(X, Y, m.Store(out[0], out[1], out[2], dst.At(X, Y)));
    });
    return dst;
}

TEST_F(MixTest, PerPixelTranslucencyAndTintMatchTheirFormulas)
{
    std::mt19937 random(4321);
    BYTE table[65536];
    for (auto& b : table) b = static_cast<BYTE>(random());
    for (int i = 0; i < 65536; ++i) g_BlendTable[i] = static_cast<BYTE>(random());
    for (const cEffectMode& mode : qbtest::kEffectModes) {
        SCOPED_TRACE(mode.name);
        ASSERT_TRUE(Init({mode.bDirect3D, mode.nBpp, mode.nWindowMode}));
        cEffectSurfaces surfaces;
        ASSERT_TRUE(surfaces.Make(mode, 13, 9, 15, 11));
        DDSURFACEDATA* dst = surfaces.Dst(mode);
        const cImage src = qbtest::RandomImage(mode, 13, 9, random);
        qbtest::WriteImage(&surfaces.m_Src, src);
        PALETTEENTRY palette[256];
        for (auto& e : palette) {
            e = PALETTEENTRY{static_cast<BYTE>(random()), static_cast<BYTE>(random()), static_cast<BYTE>(random()), 0};
            if (mode.nBpp == 16 && !mode.bDirect3D) e = PALETTEENTRY{static_cast<BYTE>(e.peRed & 31), static_cast<BYTE>(e.peGreen & 63), static_cast<BYTE>(e.peBlue & 31), 0};
        }
        struct Case { int x, y, w, h, sx, sy; DWORD flags; int trans, colour, level; } cases[] = {
            {0, 0, 13, 9, 0, 0, 0, 0, 3, 1},       {2, 1, 13, 9, 0, 0, 1, 255, 300, 2}, {-3, -2, 20, 20, -2, -1, 1, 77, 7, 3},
            {5, 5, 13, 9, 4, 2, 0, 128, 256 + 40, 4}, {1, 2, 6, 5, 3, 3, 1, 9, 99, 5},  {0, 0, 15, 11, 0, 0, 0, 9, 12, 9},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.w << "x" << c.h << " from " << c.sx << "," << c.sy
                                            << " flags " << c.flags << " level " << c.level);
            const cImage before = qbtest::RandomImage(mode, dst->nWidth, dst->nHeight, random);
            qbtest::WriteImage(dst, before);
            EXPECT_TRUE(DDBltTrans(dst, c.x, c.y, c.w, c.h, &surfaces.m_Src, c.sx, c.sy, c.flags, table, c.trans));
            ASSERT_EQ(qbtest::ReadImage(dst), RefTrans(mode, before, src, c.x, c.y, c.w, c.h, c.sx, c.sy, c.flags == 1, table));
            qbtest::WriteImage(dst, before);
            EXPECT_TRUE(DDBltTint(dst, c.x, c.y, c.w, c.h, &surfaces.m_Src, c.sx, c.sy, c.flags, palette, table, c.colour, c.level));
            ASSERT_EQ(qbtest::ReadImage(dst), RefTint(mode, before, src, c.x, c.y, c.w, c.h, c.sx, c.sy, c.flags == 1,
                                                      palette[c.colour & 255], c.colour, c.level));
        }
        // A level below 1 draws nothing.
        const cImage before = qbtest::ReadImage(dst);
        for (int level : {0, -1}) EXPECT_TRUE(DDBltTint(dst, 0, 0, 13, 9, &surfaces.m_Src, 0, 0, 0, palette, table, 1, level));
        EXPECT_EQ(qbtest::ReadImage(dst), before);
        DDReleaseSurface(&surfaces.m_Src);
        DDReleaseSurface(&surfaces.m_Dst);
        DDUninit();
    }
}

TEST_F(MixTest, TranslucencyAndTintByHand)
{
    // 8 bits: over index 0 the source index is copied, otherwise the table decides.
    ASSERT_TRUE(Init({FALSE, 8, 0}));
    cEffectSurfaces surfaces;
    ASSERT_TRUE(surfaces.Make(qbtest::kEffectModes[5], 3, 1, 3, 1));
    BYTE table[65536] = {};
    table[5 * 256 + 7] = 42;
    qbtest::WriteImage(&surfaces.m_Src, cImage{3, 1, {7, 7, 0}});
    qbtest::WriteImage(&surfaces.m_Dst, cImage{3, 1, {0, 5, 5}});
    DDBltHalf(&surfaces.m_Dst, 0, 0, 3, 1, &surfaces.m_Src, 0, 0, 1, table);
    EXPECT_EQ(qbtest::ReadImage(&surfaces.m_Dst).px, (std::vector<std::uint32_t>{7, 42, 5}));
    // A huge level runs round the table's cycle instead of stepping through every count:
    // index i with colour 3 goes to (i + 1) % 7.
    for (int i = 0; i < 256; ++i) g_BlendTable[i * 256 + 3] = static_cast<BYTE>((i + 1) % 7);
    PALETTEENTRY palette[256] = {};
    qbtest::WriteImage(&surfaces.m_Src, cImage{3, 1, {100, 2, 6}});
    const int level = 1000000000;
    EXPECT_TRUE(DDBltTint(&surfaces.m_Dst, 0, 0, 3, 1, &surfaces.m_Src, 0, 0, 0, palette, table, 256 + 3, level));
    EXPECT_EQ(qbtest::ReadImage(&surfaces.m_Dst).px,
              (std::vector<std::uint32_t>{(101 + level - 1) % 7, (2 + level) % 7, (6 + level) % 7}));
    DDReleaseSurface(&surfaces.m_Src);
    DDReleaseSurface(&surfaces.m_Dst);
    DDUninit();

    // DirectDraw 16 bits, level 5: the distance to the tint halved five times. Red 31 toward
    // 0: 255 → 127, 63, 31, 15, 7, then 7 × 31 / 255 = 0; blue 0 toward 31 (255): 127, 191, 223,
    // 239, 247 → 30.
    ASSERT_TRUE(Init({FALSE, 16, 0}));
    ASSERT_TRUE(surfaces.Make(qbtest::kEffectModes[4], 1, 1, 1, 1));
    qbtest::WriteImage(&surfaces.m_Src, cImage{1, 1, {31u << 11}});
    PALETTEENTRY blue[256] = {};
    blue[4] = PALETTEENTRY{0, 0, 31, 0};
    DDBltTint(&surfaces.m_Dst, 0, 0, 1, 1, &surfaces.m_Src, 0, 0, 0, blue, nullptr, 4, 5);
    EXPECT_EQ(qbtest::ReadImage(&surfaces.m_Dst).px, (std::vector<std::uint32_t>{30u}));
}

TEST_F(MixTest, Direct3DQuadsBlendByTranslucencyAndTintFactor)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    DDSURFACEDATA src, dst;
    ClearSurfaceData(&src);
    ClearSurfaceData(&dst);
    ASSERT_TRUE(DDCreateSurface(&src, 4, 2, FALSE, 0, 0, nullptr, FALSE));
    ASSERT_TRUE(DDCreateSurface(&dst, 6, 4, FALSE, 0, 0, nullptr, FALSE));
    const cImage picture{4, 2, {0xFF102030u, 0xFFFFFFFFu, 0xFF000000u, 0xFF808080u, 0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u, 0xFF123456u}};
    qbtest::WriteImage(&src, picture);
    const cImage under{6, 4, std::vector<std::uint32_t>(24, 0xFF405060u)};
    auto expectQuad = [&](std::uint32_t diffuse, int colorOp, int alphaOp, const char* what) {
        cImage expected = under;
        qbtest::RefQuad(expected, picture, 4, 2, {1, 1, 4, 2, 0, 0, 4, 2}, diffuse, colorOp, alphaOp, false);
        EXPECT_EQ(qbtest::ReadImage(&dst), expected) << what;
    };
    struct Case { int trans; std::uint32_t alpha; } trans[] = {{0, 255}, {255, 0}, {100, 155}, {256 + 5, 250}};
    for (const auto& c : trans) {
        qbtest::WriteImage(&dst, under);
        EXPECT_TRUE(DDBltTrans(&dst, 1, 1, 4, 2, &src, 0, 0, 1, nullptr, c.trans));
        expectQuad(c.alpha << 24 | 0xFFFFFFu, D3DTOP_MODULATE, D3DTOP_MODULATE, "translucency");
    }
    qbtest::WriteImage(&dst, under);
    DDBltHalf(&dst, 1, 1, 4, 2, &src, 0, 0, 1, nullptr);
    expectQuad(127u << 24 | 0xFFFFFFu, D3DTOP_MODULATE, D3DTOP_MODULATE, "half: alpha 127");
    // The tint: colour = (texture × f + tint × (255 − f) + 127) / 255 with f 128, 80, 48, 16, 0.
    PALETTEENTRY palette[256] = {};
    palette[9] = PALETTEENTRY{200, 10, 90, 0};
    const std::uint32_t factors[] = {128, 80, 48, 16, 0};
    for (int level = 1; level <= 5; ++level) {
        SCOPED_TRACE(level);
        qbtest::WriteImage(&dst, under);
        EXPECT_TRUE(DDBltTint(&dst, 1, 1, 4, 2, &src, 0, 0, 1, palette, nullptr, 9, level));
        cImage expected = under;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x) {
                const std::uint32_t t = picture.At(x, y), f = factors[level - 1], tint = 0xC80A5Au;
                std::uint32_t out = 0xFF000000u;
                for (int k = 0; k < 3; ++k)
                    out |= ((((t >> (8 * k)) & 0xFF) * f + ((tint >> (8 * k)) & 0xFF) * (255 - f) + 127) / 255) << (8 * k);
                expected.Set(1 + x, 1 + y, out);
            }
        EXPECT_EQ(qbtest::ReadImage(&dst), expected);
    }
    DDResetColorOp();
    DDReleaseSurface(&src);
    DDReleaseSurface(&dst);
}

// The lens pixel by pixel from its formula.
cImage RefLens(const cEffectMode& m, cImage dst, const cImage& src, int cx, int cy, int r, int d, int scx, int scy,
               bool keyed, bool clearFlag)
{
    const long R = static_cast<long>(std::sqrt(static_cast<double>(r) * r + static_cast<double>(d) * d));
    const bool clear = m.bDirect3D && m.nBpp == 32 && clearFlag;
    for (long dy = -r; dy <= r; ++dy)
        for (long dx = -r; dx <= r; ++dx) {
            const long X = cx + dx, Y = cy + dy;
            if (X < 0 || Y < 0 || X >= dst.w || Y >= dst.h) continue;
            const long rho2 = dx * dx + dy * dy;
            if (rho2 > static_cast<long>(r) * r) {
                if (clear) dst.Set(static_cast<int>(X), static_cast<int>(Y), 0);
                continue;
            }
            const double Z = std::sqrt(static_cast<double>(R * R - rho2));
            const long ox = Z == 0 ? dx : static_cast<long>(static_cast<double>(dx * d) / Z + 0.5);
            const long oy = Z == 0 ? dy : static_cast<long>(static_cast<double>(dy * d) / Z + 0.5);
            const long SX = scx + ox, SY = scy + oy;
            if (SX < 0 || SY < 0 || SX >= src.w || SY >= src.h) {
                if (clear) dst.Set(static_cast<int>(X), static_cast<int>(Y), 0);
                continue;
            }
            const std::uint32_t p = src.At(static_cast<int>(SX), static_cast<int>(SY));
            if (m.bDirect3D && m.nBpp == 32) {
                if ((p >> 24) == 0) {
                    if (clear) dst.Set(static_cast<int>(X), static_cast<int>(Y), 0);
                    continue;
                }
            } else if (m.bDirect3D) {
                if (keyed && (p & 0xA000) == 0) continue;
            } else if (p == g_dwColorKey) {
                continue;
            }
            dst.Set(static_cast<int>(X), static_cast<int>(Y), m.Copy(p));
        }
    return dst;
}

TEST_F(MixTest, LensMagnifiesTheDiscByItsFormula)
{
    std::mt19937 random(2468);
    for (const cEffectMode& mode : qbtest::kEffectModes) {
        SCOPED_TRACE(mode.name);
        ASSERT_TRUE(Init({mode.bDirect3D, mode.nBpp, mode.nWindowMode}));
        cEffectSurfaces surfaces;
        ASSERT_TRUE(surfaces.Make(mode, 40, 36, 44, 40));
        DDSURFACEDATA* dst = surfaces.Dst(mode);
        const cImage src = qbtest::RandomImage(mode, 40, 36, random);
        qbtest::WriteImage(&surfaces.m_Src, src);
        struct Case { int cx, cy, r, d, scx, scy; DWORD flags; BOOL clear; } cases[] = {
            {20, 20, 10, 20, 20, 18, 0, FALSE}, {20, 20, 10, 20, 20, 18, 1, TRUE}, {2, 3, 15, 7, 5, 30, 1, FALSE},
            {40, 35, 12, 3, 0, 0, 0, TRUE},     {-5, 10, 9, 1, 39, 35, 0, FALSE},  {21, 19, 30, 29, 10, 10, 1, TRUE},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << "centre " << c.cx << "," << c.cy << " r " << c.r << " d " << c.d);
            const cImage before = qbtest::RandomImage(mode, dst->nWidth, dst->nHeight, random);
            qbtest::WriteImage(dst, before);
            EXPECT_TRUE(DDBltLens(dst, c.cx, c.cy, c.r, c.d, &surfaces.m_Src, c.scx, c.scy, c.flags, c.clear));
            ASSERT_EQ(qbtest::ReadImage(dst),
                      RefLens(mode, before, src, c.cx, c.cy, c.r, c.d, c.scx, c.scy, c.flags == 1, c.clear != FALSE));
        }
        // R = trunc(sqrt(r² + d²)) must exceed the depth; radius and depth are not negative.
        for (auto rd : {std::pair{0, 0}, std::pair{1, 5}, std::pair{-1, 3}, std::pair{3, -1}})
            EXPECT_FALSE(DDBltLens(dst, 5, 5, rd.first, rd.second, &surfaces.m_Src, 5, 5, 0, FALSE)) << rd.first << "," << rd.second;
        DDReleaseSurface(&surfaces.m_Src);
        DDReleaseSurface(&surfaces.m_Dst);
        DDUninit();
    }
    // Radius 10, depth 20: R = 22; the centre takes the source centre, the pixel 10 to the
    // right takes trunc(10 × 20 / sqrt(484 − 100) + 0.5) = 10 to the right.
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    cEffectSurfaces surfaces;
    ASSERT_TRUE(surfaces.Make(qbtest::kEffectModes[0], 40, 40, 40, 40));
    cImage src{40, 40, {}};
    for (int i = 0; i < 1600; ++i) src.px.push_back(0xFF000000u | static_cast<std::uint32_t>(i));
    qbtest::WriteImage(&surfaces.m_Src, src);
    EXPECT_TRUE(DDBltLens(&surfaces.m_Dst, 15, 15, 10, 20, &surfaces.m_Src, 20, 20, 0, FALSE));
    const cImage out = qbtest::ReadImage(&surfaces.m_Dst);
    EXPECT_EQ(out.At(15, 15), src.At(20, 20));
    EXPECT_EQ(out.At(25, 15), src.At(30, 20));
}

}  // namespace
