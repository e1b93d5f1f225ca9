// The clipping every blit shares and the source rectangle of mirror records: every side is
// cut on both edges, and a rectangle cut at its start takes the other one along.
#include "tests/graphics/graphics_fixture.h"

#include "graphics/blit.h"

namespace {

using qbtest::cDisplayMode;
using BlitClipTest = qbtest::cGraphicsTest;

struct cRect {
    int x, y, w, h, sx, sy, sw, sh;
    bool operator==(const cRect&) const = default;
};

std::ostream& operator<<(std::ostream& out, const cRect& r)
{
    return out << "(" << r.x << "," << r.y << "," << r.w << "," << r.h << " | " << r.sx << "," << r.sy << "," << r.sw
               << "," << r.sh << ")";
}

DDSURFACEDATA Sized(int w, int h)
{
    DDSURFACEDATA sd;
    ClearSurfaceData(&sd);
    sd.nWidth = w;
    sd.nHeight = h;
    return sd;
}

struct cClipCase {
    const char* what;
    int srcW;
    cRect in;
    bool drawn;
    cRect out;
};

void Check(const cClipCase& c)
{
    SCOPED_TRACE(c.what);
    DDSURFACEDATA dst = Sized(100, 80), src = Sized(c.srcW, 40);
    cRect r = c.in;
    const BOOL drawn = DDClipRect(&dst, &r.x, &r.y, &r.w, &r.h, &src, &r.sx, &r.sy, &r.sw, &r.sh);
    EXPECT_EQ(drawn != FALSE, c.drawn);
    if (c.drawn) {
        EXPECT_EQ(r, c.out);
    }
}

// Unscaled: the same on both back ends. Destination 100 × 80.
const cClipCase kUnscaled[] = {
    {"inside", 50, {10, 10, 20, 20, 5, 5, 20, 20}, true, {10, 10, 20, 20, 5, 5, 20, 20}},
    {"left", 50, {-5, 10, 20, 20, 0, 0, 20, 20}, true, {0, 10, 15, 20, 5, 0, 15, 20}},
    {"top", 50, {10, -3, 10, 10, 0, 2, 10, 10}, true, {10, 0, 10, 7, 0, 5, 10, 7}},
    {"right", 50, {90, 0, 20, 10, 0, 0, 20, 10}, true, {90, 0, 10, 10, 0, 0, 10, 10}},
    {"bottom", 50, {0, 75, 10, 10, 0, 0, 10, 10}, true, {0, 75, 10, 5, 0, 0, 10, 5}},
    {"left and right at once", 300, {-10, 0, 150, 10, 0, 0, 150, 10}, true, {0, 0, 100, 10, 10, 0, 100, 10}},
    {"top and bottom at once", 50, {0, -5, 10, 100, 0, -20, 10, 100}, true, {0, 15, 10, 40, 0, 0, 10, 40}},
    {"source starting left moves the destination", 50, {10, 10, 20, 5, -4, 0, 20, 5}, true, {14, 10, 16, 5, 0, 0, 16, 5}},
    {"source right edge", 50, {0, 0, 20, 5, 40, 0, 20, 5}, true, {0, 0, 10, 5, 40, 0, 10, 5}},
    {"right of the destination", 50, {100, 0, 10, 10, 0, 0, 10, 10}, false, {}},
    {"left of the destination", 50, {-20, 0, 20, 10, 0, 0, 20, 10}, false, {}},
    {"empty width", 50, {0, 0, 0, 10, 0, 0, 0, 10}, false, {}},
    {"empty source height", 50, {0, 0, 10, 10, 0, 0, 5, 0}, false, {}},
};

TEST_F(BlitClipTest, UnscaledBlitsAreCutOnBothEdgesAndNeverMove)
{
    for (const cClipCase& c : kUnscaled) Check(c);
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    for (const cClipCase& c : kUnscaled) Check(c);
}

TEST_F(BlitClipTest, ScaledBlitsUnderDirect3DLeaveTheDestinationToTheDeviceButFollowTheSource)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    const cClipCase cases[] = {
        {"inside", 50, {10, 10, 40, 40, 0, 0, 20, 20}, true, {10, 10, 40, 40, 0, 0, 20, 20}},
        {"off the left: the device clips", 50, {-30, 0, 40, 40, 0, 0, 20, 20}, true, {-30, 0, 40, 40, 0, 0, 20, 20}},
        {"right of the destination: issued", 50, {200, 0, 40, 40, 0, 0, 20, 20}, true, {200, 0, 40, 40, 0, 0, 20, 20}},
        {"source starting left", 50, {10, 0, 40, 20, -10, 0, 20, 10}, true, {30, 0, 20, 20, 0, 0, 10, 10}},
        {"flipped source past its right edge", 15, {10, 0, 40, 20, 20, 0, -20, 10}, true, {20, 0, 30, 20, 15, 0, -15, 10}},
        {"flipped inside", 50, {10, 0, 40, 20, 20, 0, -20, 10}, true, {10, 0, 40, 20, 20, 0, -20, 10}},
        {"source entirely outside", 50, {10, 0, 40, 20, 60, 0, 20, 10}, false, {}},
    };
    for (const cClipCase& c : cases) Check(c);
}

TEST_F(BlitClipTest, ScaledBlitsUnderDirectDrawAreCutToTheDestinationAndCannotFlip)
{
    const cClipCase cases[] = {
        {"inside", 50, {10, 10, 40, 40, 0, 0, 20, 20}, true, {10, 10, 40, 40, 0, 0, 20, 20}},
        {"left", 50, {-10, 0, 40, 40, 0, 0, 20, 20}, true, {0, 0, 30, 40, 5, 0, 15, 20}},
        {"right", 50, {80, 0, 40, 40, 0, 0, 20, 20}, true, {80, 0, 20, 40, 0, 0, 10, 20}},
        {"left and right at once", 50, {-20, 0, 160, 10, 0, 0, 40, 10}, true, {0, 0, 100, 10, 5, 0, 25, 10}},
        {"right of the destination: dropped", 50, {100, 0, 40, 40, 0, 0, 20, 20}, false, {}},
        {"flipped", 50, {10, 0, 40, 20, 20, 0, -20, 10}, false, {}},
    };
    for (const cClipCase& c : cases) Check(c);
}

TEST_F(BlitClipTest, MirrorRecordsMoveTheSourceIntoTheFlippedCell)
{
    DDSURFACEDATA picture = Sized(64, 32), mirror = Sized(64, 32);
    mirror.lpMirrorSD = &picture;
    mirror.nMirrorW = 16;
    struct Case { const char* what; cRect in; cRect out; } cases[] = {
        {"a whole cell", {0, 0, 16, 8, 32, 4, 16, 8}, {0, 0, 16, 8, 48, 4, -16, 8}},
        {"part of a cell", {0, 0, 8, 8, 36, 4, 8, 8}, {0, 0, 8, 8, 44, 4, -8, 8}},
        {"wider than a cell: left alone", {0, 0, 20, 8, 0, 0, 20, 8}, {0, 0, 20, 8, 0, 0, 20, 8}},
    };
    // Under DirectDraw pictures are mirrored when they are loaded: nothing moves.
    for (const auto& c : cases) {
        cRect r = c.in;
        DDMirrorSourceRect(&mirror, &r.sx, &r.sy, &r.sw, &r.sh);
        EXPECT_EQ(r, c.in) << c.what;
    }
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    for (const auto& c : cases) {
        cRect r = c.in;
        DDMirrorSourceRect(&mirror, &r.sx, &r.sy, &r.sw, &r.sh);
        EXPECT_EQ(r, c.out) << c.what;
        r = c.in;
        DDMirrorSourceRect(&picture, &r.sx, &r.sy, &r.sw, &r.sh);
        EXPECT_EQ(r, c.in) << c.what << ": not a mirror record";
    }
}

}  // namespace
