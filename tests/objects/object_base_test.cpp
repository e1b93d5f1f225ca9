#include <gtest/gtest.h>

#include <vector>

#include "data/stage_elements.h"
#include "objects/object_base.h"
#include "shell/safe_container.h"
#include "tests/stage/stage_fixture.h"

namespace {

cGameObject Box(int width, int height)
{
    cGameObject object;
    object.InitCommon(1, 1, 1, 0, 0, nullptr, 0, 0, 0, width, height, width, height, 1, 0, 0);
    return object;
}

}  // namespace

TEST(ObjectClamp, HorizontalModesClampAndReportEachLimit)
{
    qbtest::cViewStage view;
    struct Case { int mode; double x; double expectedX; int code; } cases[] = {
        {0, 383, 384, 0}, {0, 384, 384, 0}, {0, 1248, 1248, 0}, {0, 1249, 1248, 0},
        {1, 319, 320, 0},                  // clamped to the playfield: 0, not 1
        {1, 320, 320, 1}, {1, 383, 383, 1}, {1, 384, 384, 0}, {1, 1248, 1248, 0}, {1, 1249, 1249, 1},
        {1, 1568, 1568, 1}, {1, 1569, 1568, 0},
        {2, -1, 0, 3}, {2, 0, 0, 2}, {2, 319, 319, 2}, {2, 320, 320, 1}, {2, 384, 384, 0},
        {2, 1248, 1248, 0}, {2, 1249, 1249, 1}, {2, 1568, 1568, 1}, {2, 1569, 1569, 2},
        {2, 1888, 1888, 2}, {2, 1889, 1888, 3},
        {2, 1910, 1888, 3},                // 10 pixels from the stage's right edge
        {3, -5, -5, 0}, {-1, 5000, 5000, 0},
    };
    for (const auto& c : cases) {
        cGameObject object = Box(32, 32);
        object.m_dX = c.x;
        EXPECT_EQ(object.ClampX(c.mode), c.code) << c.mode << " " << c.x;
        EXPECT_EQ(object.m_dX, c.expectedX) << c.mode << " " << c.x;
        EXPECT_EQ(object.m_dRight, c.expectedX + 31) << c.mode << " " << c.x;
    }
}

TEST(ObjectClamp, VerticalModesReportTopAndBottomApart)
{
    qbtest::cViewStage view;
    struct Case { int mode; double y; double expectedY; int code; } cases[] = {
        {0, 300, 352, 0}, {0, 400, 400, 0}, {0, 769, 768, 0},
        {1, 319, 320, 0}, {1, 929, 928, 0}, {1, 340, 340, 1}, {1, 768, 768, 0}, {1, 769, 769, 4},
        {1, 400, 400, 0},
        {2, -1, 0, 3}, {2, 1248, 1248, 5}, {2, 1249, 1248, 6}, {2, 100, 100, 2}, {2, 929, 929, 5},
        {2, 340, 340, 1}, {2, 769, 769, 4}, {2, 400, 400, 0}, {7, -40, -40, 0},
    };
    for (const auto& c : cases) {
        cGameObject object = Box(32, 32);
        object.m_dY = c.y;
        EXPECT_EQ(object.ClampY(c.mode), c.code) << c.mode << " " << c.y;
        EXPECT_EQ(object.m_dY, c.expectedY) << c.mode << " " << c.y;
        EXPECT_EQ(object.m_dBottom, c.expectedY + 31) << c.mode << " " << c.y;
    }
}

TEST(ObjectClamp, BlockSpanTruncatesThenShiftsArithmetically)
{
    qbtest::cViewStage view;
    struct Case { double x; int left; int right; } cases[] = {
        {-33, -2, -1},   // trunc(-33) >> 5 = -2; right -2 >> 5 = -1
        {-0.5, 0, 0},    // trunc toward zero first
        {31.9, 0, 1}, {64, 2, 2},
    };
    for (const auto& c : cases) {
        cGameObject object = Box(32, 32);
        object.m_dX = c.x;
        object.ClampX(3);
        EXPECT_EQ(object.m_BlockSpan.left, c.left) << c.x;
        EXPECT_EQ(object.m_BlockSpan.right, c.right) << c.x;
    }
}

TEST(ObjectScale, SetScaleResizesAndKeepsTheHorizontalCentre)
{
    qbtest::cViewStage view;
    struct Case { int from; int to; double x; int width; int drawOffsetX; int drawWidth; } cases[] = {
        {1, 2, 490, 40, 8, 64},    // x moves left by (2 - 1) * (20 / 2)
        {1, 1, 500, 20, 4, 32},    // no change at all
        {1, 3, 480, 60, 12, 96},
        {2, 1, 510, 20, 4, 32},
        {1, 0, 500, 20, 4, 32},    // a scale of 0 is read as 1
        {2, -3, 510, 20, 4, 32},
    };
    for (const auto& c : cases) {
        cGameObject object;
        object.InitCommon(1, 1, 1, 0, 0, nullptr, 0, 4, 6, 20, 10, 32, 32, 1, 0, 0);
        object.SetScale(c.from, 1);   // start from the scaled state
        object.m_dX = 500;
        object.m_dY = 500;
        object.SetScale(c.to, c.from);
        EXPECT_EQ(object.m_dX, c.x) << c.from << "->" << c.to;
        EXPECT_EQ(object.m_dY, 500) << c.from << "->" << c.to;
        EXPECT_EQ(object.m_nWidth, c.width) << c.from << "->" << c.to;
        EXPECT_EQ(object.m_nHeight, c.width / 2) << c.from << "->" << c.to;
        EXPECT_EQ(object.m_nDrawOffsetX, c.drawOffsetX) << c.from << "->" << c.to;
        EXPECT_EQ(object.m_nDrawOffsetY, c.drawOffsetX * 3 / 2) << c.from << "->" << c.to;
        EXPECT_EQ(object.m_nDrawWidth, c.drawWidth) << c.from << "->" << c.to;
        EXPECT_EQ(object.m_nDrawHeight, c.drawWidth) << c.from << "->" << c.to;
    }
}

TEST(ObjectScreen, ScreenRectangleAndViewTests)
{
    qbtest::cViewStage view;
    view.Scene().m_ScrollX.m_dPos = 400.75;   // truncated to 400 for the rectangle
    view.Scene().m_ScrollY.m_dPos = 352;
    cGameObject object;
    object.InitCommon(1, 1, 1, 0, 0, nullptr, 0, 4, 8, 32, 32, 40, 48, 1, 0, 0);
    object.m_dX = 410.5;
    object.m_dY = 360;
    object.ClampX(3);
    object.ClampY(3);
    object.UpdateScreenRect();
    EXPECT_EQ(object.m_ScreenRect.left, 6);     // trunc(410.5 - 4 - 400)
    EXPECT_EQ(object.m_ScreenRect.right, 45);
    EXPECT_EQ(object.m_ScreenRect.top, 0);
    EXPECT_EQ(object.m_ScreenRect.bottom, 47);

    // The screen shows x in [400.75, 1040.75) and y in [352, 832).
    struct Case { double x; double y; int horizontal; int vertical; } cases[] = {
        {369.75, 400, 1, 1},    // the right edge 400.75 touches the screen's left edge
        {369.5, 400, 0, 1},
        {1040.5, 400, 1, 1},
        {1040.75, 400, 0, 1},
        {500, 320, 1, 0},       // bottom 351
        {500, 321, 1, 1},
        {500, 831, 1, 1},
        {500, 832, 1, 0},
    };
    for (const auto& c : cases) {
        object.m_dX = c.x;
        object.m_dY = c.y;
        object.ClampX(3);
        object.ClampY(3);
        EXPECT_EQ(object.IsOnScreen(), c.horizontal && c.vertical) << c.x << "," << c.y;
        EXPECT_EQ(object.IsInView(1, 0), c.vertical) << c.x << "," << c.y;
        EXPECT_EQ(object.IsInView(0, 1), c.horizontal) << c.x << "," << c.y;
        EXPECT_EQ(object.IsInView(1, 1), 1);
    }
}

TEST(ObjectScreen, InsideStageAndOverlapTestsIncludeTheirEdges)
{
    qbtest::cViewStage view;
    cGameObject object = Box(32, 32);
    struct Case { double x; double y; int inStage; int inField; } cases[] = {
        {0, 0, 1, 0}, {-0.5, 0, 0, 0}, {1888, 1248, 1, 0}, {1889, 0, 0, 0},
        {320, 320, 1, 1}, {1568, 928, 1, 1}, {1568.5, 928, 1, 1}, {1569, 928, 1, 0}, {319.9, 500, 1, 0},
    };
    for (const auto& c : cases) {
        object.m_dX = c.x;
        object.m_dY = c.y;
        object.ClampX(3);
        object.ClampY(3);
        EXPECT_EQ(object.IsInsideStage(1), c.inStage) << c.x << "," << c.y;
        EXPECT_EQ(object.IsInsideStage(0), c.inField) << c.x << "," << c.y;
    }
    object.m_dX = 100;
    object.m_dY = 100;
    object.ClampX(3);
    object.ClampY(3);
    EXPECT_EQ(object.OverlapsRect(131, 131, 200, 200), 1);   // corner to corner
    EXPECT_EQ(object.OverlapsRect(131.5, 100, 200, 200), 0);
    EXPECT_EQ(object.OverlapsRect(0, 0, 100, 100), 1);
    EXPECT_EQ(object.OverlapsRect(0, 0, 99.9, 200), 0);

    const DBLRECT a{0, 0, 10, 10};
    EXPECT_TRUE(a.Intersects(DBLRECT{10, 10, 20, 20}));   // one shared corner
    EXPECT_TRUE(a.Intersects(DBLRECT{10, 0, 20, 10}));    // one shared edge
    EXPECT_FALSE(a.Intersects(DBLRECT{10.5, 0, 20, 10}));
}

TEST(ObjectBase, MoveTypesFacingAndCommonSetUp)
{
    struct Case { int type; int flying; int collision; } cases[] = {
        {0, 0, 1}, {1, 1, 0}, {2, 1, 1}, {3, 1, 2}, {4, 1, 2}, {-1, 1, 2},   // others keep the last
    };
    cGameObject object;
    for (const auto& c : cases) {
        object.SetMoveType(c.type);
        EXPECT_EQ(object.m_bFlying, c.flying) << c.type;
        EXPECT_EQ(object.m_byCollision, c.collision) << c.type;
    }
    for (int direction : {1, 2, -1, 0}) {
        object.m_nDirection = direction;
        EXPECT_EQ(object.FacingSign(), direction != 0 ? 1 : -1) << direction;
    }
    object.m_dVX = 3;
    object.m_bActive = 1;
    object.InitCommon(7, 1, 2, 3, 4, g_ItemAnimePatterns, 0, 1, 2, 3, 4, 5, 6, 1, 2, 5);
    EXPECT_EQ(object.m_nLife, 2147483647);
    EXPECT_EQ(object.m_dVX, 0);
    EXPECT_EQ(object.m_bActive, 0);
    EXPECT_EQ(object.m_bFlying, 1);
    EXPECT_EQ(object.m_sCopyIndex, 5);
    EXPECT_EQ(object.m_Animator.m_Patterns.size(), 1u);
}

namespace {

// A grid of 4 rows of 8 cells (row shift 3) whose cells hold hit modes; a cell with layer
// `passLayer` is passable for objects of that layer.
class FakeGrid : public cBlockHitSource {
public:
    FakeGrid() : m_Cells(32, 0) {}
    int HitModeAt(int cell, int layer) const override
    {
        m_Asked.push_back(cell);
        const int mode = m_Cells.At(cell);
        return (layer == m_nPassLayer) ? 0 : mode;
    }
    int RowShift() const override { return 3; }

    cSafeVector<int> m_Cells;
    int m_nPassLayer = 5;
    mutable std::vector<int> m_Asked;
};

}  // namespace

TEST(ObjectBlocks, CornersAreLookedUpInOrderAndAnIndexInsideTheGridReadsThatCell)
{
    qbtest::cViewStage view;
    cGameObject object = Box(40, 40);
    object.m_dX = 32;   // columns 1..2
    object.m_dY = 32;   // rows 1..2
    object.ClampX(3);
    object.ClampY(3);
    FakeGrid grid;
    EXPECT_EQ(object.IsInsideBlock(grid), 0);
    EXPECT_EQ(grid.m_Asked, (std::vector<int>{9, 17, 10, 18}));

    grid.m_Cells[18] = 2;
    grid.m_Asked.clear();
    EXPECT_EQ(object.IsInsideBlock(grid), 1);
    object.m_nPassLayer = 5;
    EXPECT_EQ(object.IsInsideBlock(grid), 0);

    // Column 8 is past the row pitch: it reads cell 0 of the next row, as the grid defines it.
    EXPECT_EQ(BlockCellIndex(8, 1, 3), 16);
    EXPECT_EQ(BlockCellIndex(-1, 1, 3), 7);
    EXPECT_EQ(BlockCellIndex(-1, 0, 3), -1);   // outside the grid: the checked access judges it
}

TEST(ObjectArea, OutOfRangeRuleTestsEachEnabledSideThenTheStageEdge)
{
    qbtest::cViewStage view;
    view.Scene().m_ScrollX.m_dPos = 640;   // the screen shows x 640 .. 1279, y 400 .. 879
    view.Scene().m_ScrollY.m_dPos = 400;
    cOutOfRangeData all;
    all.m_bLeft = all.m_bRight = all.m_bTop = all.m_bBottom = 1;
    all.m_nLeftMargin = 2;     // out once right <= 640 - 64
    all.m_nRightMargin = 1;    // out once x >= 640 + 32 + 640
    all.m_nTopMargin = 0;      // out once bottom <= 400
    all.m_nBottomMargin = 3;   // out once y >= 400 + 96 + 480
    const cOutOfRangeData none;
    struct Case { double x; double y; int onScreen; int outAll; int outNone; } cases[] = {
        {545, 600, 0, 1, 0},     // right 576
        {545.5, 600, 0, 0, 0},
        {1311.5, 600, 0, 0, 0}, {1312, 600, 0, 1, 0},
        {800, 369, 0, 1, 0},     // bottom 400
        {800, 369.5, 0, 0, 0},
        {800, 975.5, 0, 0, 0}, {800, 976, 0, 1, 0},
        {0, 600, 0, 1, 1},       // the stage's left edge, whatever the sides
        {0, 600, 1, 0, 0},       // never out while on the screen
        {1888, 600, 0, 1, 1},    // right 1919 = stage width - 1
        {800, 0, 0, 1, 1}, {800, 1248, 0, 1, 1}, {800, 1247, 0, 1, 0},
    };
    for (const auto& c : cases) {
        cGameObject object = Box(32, 32);
        object.m_dX = c.x;
        object.m_dY = c.y;
        object.ClampX(3);
        object.ClampY(3);
        object.m_bOnScreen = c.onScreen;
        EXPECT_EQ(object.IsOutOfArea(all), c.outAll) << c.x << "," << c.y;
        EXPECT_EQ(object.IsOutOfArea(none), c.outNone) << c.x << "," << c.y;
    }
}
