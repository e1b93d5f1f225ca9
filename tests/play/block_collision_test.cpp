#include <gtest/gtest.h>

#include <vector>

#include "objects/hero.h"
#include "shell/game_arithmetic.h"
#include "tests/play/block_stage.h"

namespace {

enum Call { kCollideX, kCollideY, kCollideYBoth };


// The grid is drawn from block (10, 10), that is from stage pixel (320, 320).
struct CollisionCase {
    const char* name;
    std::initializer_list<const char*> grid;
    double x, y;
    int width, height, scale;
    double vx, vy;
    int kind, moveType, landWhileRising;
    Call call;
    double expectX, expectY;
    int left, right, up, down;
    int floorColumn, floorRow;   // -1: no floor block
    int result;
    std::vector<int> triggers;   // the block triggers raised, each shown once, in trigger order
};

}  // namespace

TEST(BlockCollision, PushesOutStopsLandsAndKillsAsTheTableSays)
{
    const CollisionCase cases[] = {
        {"left edge on a block line moves a whole block", {"#..."}, 320.0, 320, 20, 30, 1, -1, 0, 1, 0, 0,
         kCollideX, 352.0, 320, 1, 0, 0, 0, -1, -1, 0, {9, 10, 11}},
        {"right edge 383.7 moves to 351.7", {".#"}, 364.7, 320, 20, 30, 1, 1, 0, 1, 0, 0, kCollideX, 332.7, 320,
         0, 1, 0, 0, -1, -1, 0, {9, 10, 12}},
        {"a deadly wall stops another chara", {".X"}, 364.7, 320, 20, 30, 1, 1, 0, 1, 0, 0, kCollideX, 332.7,
         320, 0, 1, 0, 0, -1, -1, 0, {9, 10, 12}},
        {"a deadly wall kills the hero", {".X"}, 364.7, 320, 20, 30, 1, 1, 0, 0, 0, 0, kCollideX, 364.7, 320, 0,
         0, 0, 0, -1, -1, 2, {}},
        {"a flyer of collision mode 2 dies on a solid wall", {".#"}, 364.7, 320, 20, 30, 1, 1, 0, 1, 3, 0,
         kCollideX, 364.7, 320, 0, 0, 0, 0, -1, -1, 2, {}},
        {"a flyer through blocks is never tested", {"##"}, 330, 320, 20, 30, 1, 1, 1, 1, 1, 0, kCollideX, 330,
         320, 0, 0, 0, 0, -1, -1, 0, {}},
        {"a falling chara lands on the block line", {"..", "##"}, 340, 323, 20, 30, 1, 0, 1, 1, 0, 0, kCollideY,
         340, 322, 0, 0, 0, 1, 10, 11, 0, {9, 13, 15}},
        {"the hero standing on deadly over solid is killed", {"..", "X#"}, 340, 323, 20, 30, 1, 0, 1, 0, 0, 0,
         kCollideY, 340, 323, 0, 0, 0, 0, 10, 11, 2, {}},
        {"rising with the switch off passes the floor", {"..", "##"}, 340, 323, 20, 30, 1, 0, -1, 1, 0, 0,
         kCollideY, 340, 323, 0, 0, 0, 0, 10, 11, 0, {}},
        {"rising with the switch on lands", {"..", "##"}, 340, 323, 20, 30, 1, 0, -1, 1, 0, 1, kCollideY, 340,
         322, 0, 0, 0, 1, 10, 11, 0, {9, 13, 15}},
        {"a ceiling stops a rising chara", {"##", ".."}, 340, 350, 20, 30, 1, 0, -1, 1, 0, 0, kCollideY, 340,
         352, 0, 0, 1, 0, -1, -1, 0, {9, 13, 14}},
        {"both sides: a rising chara skips the ceiling", {"##", "..", "##"}, 340, 340, 20, 60, 1, 0, -1, 1, 0, 0,
         kCollideYBoth, 340, 340, 0, 0, 0, 0, -2, -2, 0, {}},
        {"both sides: floor, then ceiling", {"##", "..", "##"}, 340, 340, 20, 60, 1, 0, 0, 1, 0, 0,
         kCollideYBoth, 340, 352, 0, 0, 1, 1, 10, 12, 0, {9, 13, 14, 15}},   // landing, then the ceiling
        {"scale 2 probes the wall at three points", {"..", "#.", ".."}, 330, 321, 16, 32, 2, -1, 0, 1, 0, 0,
         kCollideX, 352, 321, 1, 0, 0, 0, -1, -1, 0, {9, 10, 11}},
    };
    for (const CollisionCase& c : cases) {
        cBlockStage stage;
        cBlockStage::DrawBlocks(c.grid);
        g_SystemData.m_bLandingSwitch = c.landWhileRising;
        cStageChara chara;
        cBlockStage::SetUpChara(chara, c.x, c.y, c.width, c.height, c.kind, c.moveType, c.scale);
        chara.m_dVX = c.vx;
        chara.m_dVY = c.vy;
        chara.m_dInertiaX = 2;
        chara.m_lpFloorCell = nullptr;
        int result = -1;
        switch (c.call) {
        case kCollideX: result = stage.Scene().CollideX(chara); break;
        case kCollideY: result = stage.Scene().CollideY(chara); break;
        case kCollideYBoth: result = stage.Scene().CollideYBoth(chara); break;
        }
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_DOUBLE_EQ(chara.m_dX, c.expectX) << c.name;
        EXPECT_DOUBLE_EQ(chara.m_dY, c.expectY) << c.name;
        EXPECT_DOUBLE_EQ(chara.m_dRight, c.expectX + c.width * c.scale - 1) << c.name;
        EXPECT_EQ(chara.m_bContactLeft, c.left) << c.name;
        EXPECT_EQ(chara.m_bContactRight, c.right) << c.name;
        EXPECT_EQ(chara.m_bContactUp, c.up) << c.name;
        EXPECT_EQ(chara.m_bContactDown, c.down) << c.name;
        if (c.floorColumn >= 0) {
            EXPECT_EQ(chara.m_lpFloorCell, &cBlockStage::CellAt(c.floorColumn, c.floorRow)) << c.name;
        } else if (c.floorColumn == -1) {
            EXPECT_EQ(chara.m_lpFloorCell, nullptr) << c.name;
        }
        if (c.left || c.right) {
            EXPECT_EQ(chara.m_dInertiaX, 0) << c.name;
        }
        EXPECT_EQ(cBlockStage::StartedTriggers(chara), c.triggers) << c.name;
    }
}

TEST(BlockCollision, LineProbesPreferHigherModesThenTheMiddleOrTheTop)
{
    cBlockStage stage;
    cStageChara chara;
    // Scale 2 with 16 x 32 unscaled: points 15 apart across, 31 apart down.
    cBlockStage::SetUpChara(chara, 330, 330, 16, 32, 1, 0, 2);
    cPlayScene& scene = stage.Scene();
    struct Case {
        const char* name;
        std::initializer_list<const char*> grid;
        int x1, y1, x2, y2;
        int column, row;
    } cases[] = {
        // Horizontal points 330, 345, 360 (columns 10, 10, 11), middle (330 + 361) >> 1 = 345.
        {"equal modes: nearest the middle", {"##"}, 330, 330, 361, 330, 10, 10},
        {"equal passable modes: nearest the middle", {".."}, 330, 330, 361, 330, 10, 10},
        {"a higher mode wins over the middle", {".#"}, 330, 330, 361, 330, 11, 10},
        {"deadly wins over solid", {"#X"}, 330, 330, 361, 330, 11, 10},
        // Vertical points 321, 352, 383 (rows 10, 11, 11); 384 is not probed.
        {"equal modes: the topmost", {"#", "#", "#"}, 330, 321, 330, 384, 10, 10},
        {"the last point stops short of the far edge", {".", ".", "#"}, 330, 321, 330, 384, 10, 10},
        {"a higher mode lower down wins", {".", "#", "."}, 330, 321, 330, 384, 10, 11},
        {"neither line: cell 0", {"#"}, 330, 321, 340, 384, -1, -1},
    };
    for (const Case& c : cases) {
        g_BlockGrid.Build(cBlockStage::kWidth, cBlockStage::kHeight);
        cBlockStage::DrawBlocks(c.grid);
        const int expected = (c.column < 0) ? 0 : cBlockStage::Cell(c.column, c.row);
        EXPECT_EQ(scene.FindBlockOnLine(chara, c.x1, c.y1, c.x2, c.y2), expected) << c.name;
    }
}

TEST(BlockCollision, FloorProbeSpreadsItsPointsAndEndsOnTheRightEdge)
{
    cBlockStage stage;
    cStageChara chara;
    // Scale 3: five points over a width of 60, step 15: 330, 345, 360, 375 and the right edge 389.
    cBlockStage::SetUpChara(chara, 330, 300, 20, 10, 0, 0, 3);
    ASSERT_DOUBLE_EQ(chara.m_dRight, 389);
    ASSERT_EQ(TruncToInt(chara.m_dBottom) >> 5, 10);
    cBlockStage::DrawBlocks({"..#"});   // column 12 holds only the right edge 389
    EXPECT_EQ(stage.Scene().FindFloorBlock(chara), cBlockStage::Cell(12, 10));
    cBlockStage::DrawBlocks({"#.#"});   // equal modes: 345 is the solid point nearest the middle 359
    EXPECT_EQ(stage.Scene().FindFloorBlock(chara), cBlockStage::Cell(10, 10));
}

TEST(BlockCollision, FloorProbeOfAScaleBelowOneReturnsCellZeroInsteadOfDividingByZero)
{
    cBlockStage stage;
    cStageChara chara;
    cBlockStage::SetUpChara(chara, 330, 300, 20, 10, 0, 0, 0);
    cBlockStage::DrawBlocks({"##"});
    EXPECT_EQ(stage.Scene().FindFloorBlock(chara), 0);
}

TEST(BlockCollision, AirborneSubStepsBeyondTheThresholdSetTheFallingFlag)
{
    cBlockStage stage(2);   // b = 2: the threshold is 16 sub-steps
    cStageChara walker;
    cBlockStage::SetUpChara(walker, 330, 330, 20, 30, 1);
    for (int i = 1; i <= 15; ++i) stage.Scene().ProbeDown(walker);
    EXPECT_EQ(walker.m_nAirborne, 15);
    EXPECT_EQ(walker.m_bFalling, 0);
    stage.Scene().ProbeDown(walker);
    EXPECT_EQ(walker.m_bFalling, 1);

    for (int riding : {1, 0}) {
        cHero hero;
        cBlockStage::SetUpChara(hero, 330, 330, 20, 30, 0);
        hero.m_bRiding = riding;
        hero.m_bJumpReady = 0;
        for (int i = 0; i < 16; ++i) stage.Scene().ProbeDown(hero);
        EXPECT_EQ(hero.m_bFalling, riding ? 0 : 1) << riding;
        EXPECT_EQ(hero.m_bJumpReady, riding ? 0 : 1) << riding;
    }

    // Landing clears both.
    cBlockStage::DrawBlocks({"##"}, 10, 11);
    walker.m_dY = 340;
    walker.ClampY(2);
    walker.m_dVY = 1;
    stage.Scene().ProbeDown(walker);
    EXPECT_EQ(walker.m_bFalling, 0);
    EXPECT_EQ(walker.m_nAirborne, 0);
}

TEST(BlockCollision, ScreenBottomPushKillsAWalkingPlayerOnly)
{
    cBlockStage stage;
    stage.Scene().m_ScrollY.m_bAuto = 1;
    stage.Scene().m_ScrollY.m_dPos = 320;
    for (int flying : {0, 1}) {
        cHero hero;
        cBlockStage::SetUpChara(hero, 400, 790, 20, 30, 0, flying ? 2 : 0);
        hero.m_nDrawOffsetY = 2;
        EXPECT_EQ(stage.Scene().ClampToScreenY(hero), flying ? 0 : 2) << flying;
        EXPECT_EQ(hero.m_bContactDown, 1) << flying;
        EXPECT_DOUBLE_EQ(hero.m_dY, 320 + 480 - 30 - 1) << flying;
    }
}
