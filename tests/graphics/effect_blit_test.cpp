// The effect blits against reference loops of plain pixel copies written from their rules,
// on small surfaces under Direct3D and DirectDraw, and extreme sizes that must draw nothing
// wrong (run under the sanitizer build).
#include <climits>
#include <cmath>
#include <functional>
#include "graphics/effect_blit.h"
#include "graphics/fill.h"
#include "tests/graphics/blit_reference.h"
#include "tests/graphics/graphics_fixture.h"

namespace {

using qbtest::cDisplayMode;
using qbtest::cImage;

constexpr std::uint32_t kBackground = 0xFF000000u;
constexpr cDisplayMode kBackEnds[] = {{TRUE, 32, 1}, {FALSE, 32, 1}};

// A plain copy of w × h from (sx, sy) to (dx, dy), cut to both images.
void RefBlt(cImage& dst, const cImage& src, long long dx, long long dy, long long w, long long h, long long sx, long long sy)
{
    for (long long j = 0; j < h; ++j)
        for (long long i = 0; i < w; ++i) {
            const long long X = dx + i, Y = dy + j, SX = sx + i, SY = sy + j;
            if (X < 0 || Y < 0 || X >= dst.w || Y >= dst.h || SX < 0 || SY < 0 || SX >= src.w || SY >= src.h) continue;
            dst.Set(static_cast<int>(X), static_cast<int>(Y), src.At(static_cast<int>(SX), static_cast<int>(SY)));
        }
}

class EffectBlit : public qbtest::cGraphicsTest {
protected:
    void Start(const cDisplayMode& mode, int dstW = 32, int dstH = 32, int srcW = 16, int srcH = 16)
    {
        for (int i = 1; i < 256; ++i) g_Palette[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i * 7), 0};
        ASSERT_TRUE(Init(mode));
        ClearSurfaceData(&m_Dst);
        ClearSurfaceData(&m_Src);
        ASSERT_TRUE(DDCreateSurface(&m_Dst, dstW, dstH, FALSE, 0, 0, nullptr, FALSE));
        ASSERT_TRUE(DDCreateSurface(&m_Src, srcW, srcH, FALSE, 0, 0, nullptr, FALSE));
        m_Source = qbtest::Pattern(srcW, srcH, 7);
        if (!lpDTCon)
            for (auto& p : m_Source.px) p &= 0xFFFFFF;  // X8R8G8B8 pixels read back without alpha
        qbtest::WriteImage(&m_Src, m_Source);
        Clear();
    }
    void Clear()
    {
        m_Expected = {m_Dst.nWidth, m_Dst.nHeight, std::vector<std::uint32_t>(static_cast<std::size_t>(m_Dst.nWidth) * m_Dst.nHeight, Background())};
        qbtest::WriteImage(&m_Dst, m_Expected);
    }
    std::uint32_t Background() const { return lpDTCon ? kBackground : 0; }
    void Finish()
    {
        DDReleaseSurface(&m_Dst);
        DDReleaseSurface(&m_Src);
        DDUninit();
    }
    cImage Actual() { return qbtest::ReadImage(&m_Dst); }

    DDSURFACEDATA m_Dst{}, m_Src{};
    cImage m_Source, m_Expected;
};

TEST_F(EffectBlit, WaveShiftsEachBandByTheTruncatedSineOfItsRunningAngle)
{
    struct Case { int band; BOOL vertical; int waves; double amplitude; int phase; } cases[] = {
        {1, FALSE, 2, 3.7, 30}, {3, FALSE, 1, 5.0, 0}, {5, FALSE, 3, -4.2, 100},  // 16 = 3 × 5 + a band of 1
        {1, TRUE, 2, 3.7, 30},  {6, TRUE, 1, 6.0, 45}, {4, FALSE, 1, 0.0, 0},      // amplitude 0: unshifted
    };
    for (const cDisplayMode& mode : kBackEnds)
        for (const auto& c : cases) {
            Start(mode);
            DDBltWave(&m_Dst, 8, 8, 16, 16, c.waves, c.amplitude, c.phase, c.band, &m_Src, 0, 0, 0, c.vertical);
            const double k = c.waves * 0.017453292519943295;
            const double step = 360.0 / 16 * c.band;
            double sum = 0;
            for (int at = 0; at < 16; at += c.band) {
                sum += step;
                const int size = std::min(c.band, 16 - at);
                const int offset = static_cast<int>(c.amplitude * std::sin(k * (c.phase + sum)));
                if (c.vertical) RefBlt(m_Expected, m_Source, 8 + at, 8 + offset, size, 16, at, 0);
                else RefBlt(m_Expected, m_Source, 8 + offset, 8 + at, 16, size, 0, at);
            }
            EXPECT_EQ(Actual(), m_Expected) << "band " << c.band << " vertical " << c.vertical;
            Finish();
        }
}

TEST_F(EffectBlit, StripesDrawOddBandsBackEvenBandsForwardAndLeaveThePartialBand)
{
    struct Case { int band; int shift; BOOL vertical; } cases[] = {{5, 2, FALSE}, {4, -3, FALSE}, {5, 2, TRUE}, {3, 1, TRUE}};
    for (const cDisplayMode& mode : kBackEnds)
        for (const auto& c : cases) {
            Start(mode);
            DDBltStripeShift(&m_Dst, 8, 8, 16, 16, c.band, c.shift, &m_Src, 0, 0, 0, c.vertical);
            const int bands = 16 / c.band;
            for (int b = 0; b < bands; ++b) {
                const int shift = b % 2 ? -c.shift : c.shift;
                if (c.vertical) RefBlt(m_Expected, m_Source, 8 + b * c.band, 8 + shift, c.band, 16, b * c.band, 0);
                else RefBlt(m_Expected, m_Source, 8 + shift, 8 + b * c.band, 16, c.band, 0, b * c.band);
            }
            EXPECT_EQ(Actual(), m_Expected) << "band " << c.band << " vertical " << c.vertical;
            Finish();
        }
    Start(kBackEnds[0]);
    DDBltStripeShift(&m_Dst, 8, 8, 16, 16, 0, 5, &m_Src, 0, 0, 0, FALSE);  // band 0: one plain blit
    RefBlt(m_Expected, m_Source, 8, 8, 16, 16, 0, 0);
    EXPECT_EQ(Actual(), m_Expected);
    Finish();
}

TEST_F(EffectBlit, SplitQuartersPushEachQuarterOutwardByTheGap)
{
    struct Case { int w, h, gap; } cases[] = {{16, 16, 0}, {15, 13, 0}, {16, 16, 3}, {16, 10, -2}};
    for (const cDisplayMode& mode : kBackEnds)
        for (const auto& c : cases) {
            Start(mode);
            DDBltSplitQuarters(&m_Dst, 8, 8, c.w, c.h, &m_Src, 0, 0, c.gap, 0);
            const int hw = c.w >> 1, hh = c.h >> 1;
            RefBlt(m_Expected, m_Source, 8 - c.gap, 8 - c.gap, hw, hh, 0, 0);
            RefBlt(m_Expected, m_Source, 8 + hw + c.gap, 8 - c.gap, hw, hh, hw, 0);
            RefBlt(m_Expected, m_Source, 8 - c.gap, 8 + hh + c.gap, hw, hh, 0, hh);
            RefBlt(m_Expected, m_Source, 8 + hw + c.gap, 8 + hh + c.gap, hw, hh, hw, hh);
            EXPECT_EQ(Actual(), m_Expected) << c.w << "x" << c.h << " gap " << c.gap;
            Finish();
        }
}

TEST_F(EffectBlit, CircleDrawsSpansOfTheSourceInsideTheRadius)
{
    struct Case { int r, band, hw, hh; } cases[] = {{10, 1, 10, 10}, {10, 1, 6, 7}, {9, 3, 12, 12}, {9, 4, 20, 6}, {5, 2, 16, 16}};
    for (const cDisplayMode& mode : kBackEnds)
        for (const auto& c : cases) {
            Start(mode, 32, 32, 32, 32);
            DDBltCircle(&m_Dst, 16, 16, c.hw, c.hh, c.r, c.band, &m_Src, 16, 16, 0);
            const long long left = std::max(0, 16 - c.hw), right = std::min(16 + c.hw, 32);
            auto span = [&](int d, int rows, int m) {
                if (m * m >= c.r * c.r) return;
                int s = static_cast<int>(std::sqrt(static_cast<double>(c.r * c.r - m * m)));
                if (s >= c.r) s = c.r - 1;
                long long from = 16 - s, width = 2 * s;
                if (from < left) {
                    width -= left - from;
                    from = left;
                }
                if (from + width >= right) width = right - from;
                RefBlt(m_Expected, m_Source, from, 16 + d, width, rows, from, 16 + d);
            };
            if (c.band == 1) {
                for (int d = c.r - 1; d >= -c.r; --d) {
                    if (d >= c.hh) continue;
                    if (d < -c.hh) break;
                    span(d, 1, d);
                }
            } else {
                for (int d = c.r - c.band; d + c.band > -c.hh; d -= c.band) {
                    if (d >= c.hh) continue;
                    if (d + c.band > c.hh) d = c.hh - c.band;
                    if (d < -c.hh) d = -c.hh;
                    span(d, c.band, d + (c.band >> 1));
                }
            }
            EXPECT_EQ(Actual(), m_Expected) << "r " << c.r << " band " << c.band;
            Finish();
        }
}

// Twenty rows are walked (offsets 9 down to -10); the last lies on the circle and is 0 wide.
TEST_F(EffectBlit, CircleOfRadiusTenWalksTwentyRowsWithAnEighteenPixelCentreRow)
{
    Start(kBackEnds[0], 32, 32, 32, 32);
    DDBltCircle(&m_Dst, 16, 16, 12, 12, 10, 1, &m_Src, 16, 16, 0);
    const cImage image = Actual();
    int rows = 0, top = -1;
    for (int y = 0; y < 32; ++y) {
        int inked = 0;
        for (int x = 0; x < 32; ++x) inked += image.At(x, y) != kBackground;
        if (inked && top < 0) top = y;
        rows += inked > 0;
        if (y == 16) {
            EXPECT_EQ(inked, 18);
        }
    }
    EXPECT_EQ(rows, 19);
    EXPECT_EQ(top, 16 - 9);
    Finish();
}

TEST_F(EffectBlit, TurnOverNarrowsAndWidensAlternatingFrontAndBack)
{
    struct Case { int phase, axis; bool back; int size; } cases[] = {
        {0, 0, false, 64}, {31, 0, false, 2}, {32, 0, true, 2}, {63, 0, true, 64}, {95, 0, true, 2}, {96, 0, false, 2},
        {-5, 0, false, 64},  // not turning yet: the front at full size
        {32, 1, true, 2}, {2, 2, false, 0},  // axis 2 draws nothing
    };
    for (const cDisplayMode& mode : kBackEnds)
        for (const auto& c : cases) {
            Start(mode, 64, 64, 8, 8);
            DDSURFACEDATA back;
            ClearSurfaceData(&back);
            ASSERT_TRUE(DDCreateSurface(&back, 8, 8, FALSE, 0, 0, nullptr, FALSE));
            DDFillRectPal(&m_Src, 0, 0, 8, 8, 3);
            DDFillRectPal(&back, 0, 0, 8, 8, 4);
            const std::uint32_t front = qbtest::ReadImage(&m_Src).At(0, 0), backColour = qbtest::ReadImage(&back).At(0, 0);
            DDBltTurnOver(&m_Dst, 0, 0, 64, 64, &m_Src, 0, 0, &back, 0, 0, 8, 8, 0, c.phase, c.axis);
            const cImage image = Actual();
            int count = 0, first = -1;
            for (int i = 0; i < 64; ++i) {
                const std::uint32_t p = c.axis == 1 ? image.At(10, i) : image.At(i, 10);
                if (p == Background()) continue;
                EXPECT_EQ(p, c.back ? backColour : front) << "phase " << c.phase;
                if (first < 0) first = i;
                ++count;
            }
            EXPECT_EQ(count, c.size) << "phase " << c.phase << " axis " << c.axis;
            if (c.size) {
                EXPECT_EQ(first, (64 - c.size) / 2) << "phase " << c.phase;
            }
            DDReleaseSurface(&back);
            Finish();
        }
}

TEST_F(EffectBlit, NumbersAreDrawnFromTheDigitSheetRightAlignedOrCentred)
{
    struct Case { int value, cells; BOOL centre; const char* digits; int offset; } cases[] = {
        {0, 1, FALSE, "0", 0},   {345, 6, FALSE, "345", 9}, {345, 6, TRUE, "345", 4},  // 4.5 toward zero
        {1234567, 3, FALSE, "1234567", 0},  // longer than the field: in full from x
        {-25, 3, FALSE, "0", 6},            // a negative value is drawn as 0
        {INT_MAX, 0, FALSE, "2147483647", 0},
    };
    for (const cDisplayMode& mode : kBackEnds)
        for (const auto& c : cases) {
            Start(mode, 40, 8, 30, 4);
            for (int d = 0; d < 10; ++d) DDFillRectPal(&m_Src, d * 3, 0, 3, 4, 20 + d);
            m_Source = qbtest::ReadImage(&m_Src);
            DDDrawNumber(&m_Dst, 1, 2, 3, 4, &m_Src, 0, 0, 0, c.value, c.cells, c.centre, 0);
            int x = 1 + c.offset;
            for (const char* p = c.digits; *p; ++p, x += 3) RefBlt(m_Expected, m_Source, x, 2, 3, 4, (*p - '0') * 3, 0);
            EXPECT_EQ(Actual(), m_Expected) << c.value;
            Finish();
        }
}

TEST_F(EffectBlit, FramesLieInsideTheRectangleAndAroundTheFramedPicture)
{
    for (const cDisplayMode& mode : kBackEnds) {
        Start(mode);
        DDFillRectPal(&m_Dst, 0, 0, 32, 32, 9);
        const std::uint32_t nine = Actual().At(0, 0);
        Clear();
        DDDrawFrame(&m_Dst, 2, 3, 10, 8, 2, 9);
        for (int y = 3; y < 11; ++y)
            for (int x = 2; x < 12; ++x)
                if (x < 4 || x >= 10 || y < 5 || y >= 9) m_Expected.Set(x, y, nine);
        EXPECT_EQ(Actual(), m_Expected);

        Clear();
        DDBltWithFrame(&m_Dst, 6, 6, 10, 12, &m_Src, 3, 9);
        for (int y = 3; y < 21; ++y)
            for (int x = 3; x < 19; ++x) m_Expected.Set(x, y, nine);
        RefBlt(m_Expected, m_Source, 6, 6, 10, 12, 0, 0);
        EXPECT_EQ(Actual(), m_Expected);
        Finish();
    }
}

TEST_F(EffectBlit, DegenerateSizesDrawNothingWrongAndNeverDivideByZero)
{
    const int extremes[] = {0, -1, 1, INT_MAX, INT_MIN, INT_MAX / 2, -INT_MAX};
    for (const cDisplayMode& mode : kBackEnds) {
        Start(mode);
        for (int v : extremes) {
            DDBltWave(&m_Dst, 0, 0, v, v, v, 1e300, v, v, &m_Src, 0, 0, 0, FALSE);
            DDBltWave(&m_Dst, v, v, 16, 16, 3, NAN, v, 1, &m_Src, v, v, 0, TRUE);
            DDBltWave(&m_Dst, 0, 0, 16, 16, 3, -1e300, 0, 2, &m_Src, 0, 0, 0, FALSE);
            DDBltStripeShift(&m_Dst, 0, 0, v, v, v, v, &m_Src, v, v, 0, FALSE);
            DDBltStripeShift(&m_Dst, v, v, 16, 16, 2, v, &m_Src, 0, 0, 0, TRUE);
            DDBltTurnOver(&m_Dst, v, v, v, v, &m_Src, 0, 0, &m_Src, 0, 0, 16, 16, 0, v, 0);
            DDBltTurnOver(&m_Dst, 0, 0, 1, 1, &m_Src, 0, 0, &m_Src, 0, 0, 16, 16, 0, v, 1);
            DDBltSplitQuarters(&m_Dst, v, v, v, v, &m_Src, v, v, v, 0);
            DDBltCircle(&m_Dst, 16, 16, v, v, v, 1, &m_Src, 8, 8, 0);
            DDBltCircle(&m_Dst, v, v, 16, 16, 12, v, &m_Src, v, v, 0);
            DDBltCircle(&m_Dst, 16, 16, v, 8, v, 3, &m_Src, 8, 8, 0);
            DDDrawNumber(&m_Dst, v, v, v, v, &m_Src, v, v, 0, v, v, TRUE, 0);
            DDDrawFrame(&m_Dst, v, v, v, v, v, 1);
            DDBltWithFrame(&m_Dst, v, v, v, v, &m_Src, v, 1);
        }
        Finish();
    }
}

}  // namespace
