#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "data/condition_data.h"
#include "data/role_accessors.h"
#include "flow/expression.h"
#include "objects/hero.h"
#include "shell/game_arithmetic.h"
#include "shell/input.h"
#include "tests/play/block_stage.h"

namespace {

// The hero's jump start speed for a height in pixels, from the jump's rule: the root of
// (8h + g) g for the stage's gravity per sub-step, lowered for the hero by the base gravity.
double ReferenceJumpSpeed(double height, int steps, double baseGravity)
{
    const double g = baseGravity / (static_cast<double>(steps) * steps);
    return (-g - std::sqrt((8 * height + g) * g)) * 0.5 * (0.99 - baseGravity * 0.025);
}


// A hero of the stage's default walking bounds (16 x 24, bottom-aligned) spawned at block
// (column, row), margins excluded.
void SpawnHero(cHero& hero, int column, int row)
{
    cCharaData placement;
    placement.Reset();
    placement.m_nOperator = 0;
    placement.m_nFacing = 1;
    hero.Spawn(1, placement, 0, 0);
    hero.PlaceAtBlock(column, row);
}

// One sub-step of the hero's vertical motion as the play frame runs it.
void FallStep(cPlayScene& scene, cHero& hero)
{
    hero.ClearContactFlags();
    hero.ApplyGravity(CurrentStageSpeed().dGravity);
    hero.MoveY();
    scene.CollideY(hero);
}

}  // namespace

TEST(Hero, SpawnsWithTheStageBoundsAndAScaleOfAtLeastOne)
{
    cBlockStage stage;
    cHero hero;
    cCharaData placement;
    placement.Reset();
    placement.m_nGiantScale = 0;
    hero.Spawn(1, placement, 0, 0);
    EXPECT_EQ(CharaStoredScale(hero.m_Def), 1);
    EXPECT_EQ(hero.m_nWidth, 16);
    EXPECT_EQ(hero.m_nHeight, 24);
    EXPECT_EQ(hero.m_nDrawOffsetX, 8);
    EXPECT_EQ(hero.m_nDrawOffsetY, 8);
    EXPECT_EQ(hero.m_bJumpReady, 1);
    EXPECT_EQ(hero.m_lpInput, &g_Input.At(0));
    EXPECT_DOUBLE_EQ(hero.m_dBlockEffectBase, 4.0);
}

TEST(Hero, ContactRangeTwoTakesTheStagesBoxOfThePlayersShots)
{
    cBlockStage stage;
    // The four shot boxes of their own sizes: the first is the one of the player's shots.
    g_StageData.m_nShotBox1W = 10;
    g_StageData.m_nShotBox1H = 12;
    g_StageData.m_nShotBox2W = 14;
    g_StageData.m_nShotBox2H = 6;
    g_StageData.m_nShotBox3W = 20;
    g_StageData.m_nShotBox3H = 8;
    cHero hero;
    cCharaData placement;
    placement.Reset();
    placement.m_nContactRange = 2;
    hero.Spawn(1, placement, 0, 0);
    // Centred in the cell drawn 8 dots in: 16 - 8 - 5 and 16 - 8 - 6.
    const HITBOX& b = hero.m_BodyBox;
    EXPECT_EQ((std::vector<int>{b.nOffsetX, b.nOffsetY, b.nWidth, b.nHeight}), (std::vector<int>{3, 2, 10, 12}));
}

TEST(Hero, PlayerOneIsItsOwnTargetSoItsFlowsCanUseTheTarget)
{
    cBlockStage stage;
    Player.assign(1, cHero{});
    cHero& hero = Player.At(0);
    SpawnHero(hero, 1, 1);
    SpawnHero(hero, 2, 1);   // a retry spawns it again
    EXPECT_EQ(hero.m_lpTarget, &hero);
    EXPECT_EQ(std::count(hero.m_TargetedBy.begin(), hero.m_TargetedBy.end(), &hero), 1);

    hero.m_nHp = 7;
    g_bCodeError = 0;
    EXPECT_EQ(EvalExpression("tg.hp + 1", hero), 8);
    EXPECT_EQ(g_bCodeError, 0);

    // Any other hero aims at player 1 as every chara does.
    cHero other;
    SpawnHero(other, 3, 1);
    EXPECT_EQ(other.m_lpTarget, &hero);
}

TEST(Hero, FallsFrameByFrameAndLandsOnTheBlockLineOnce)
{
    cBlockStage stage;
    cBlockStage::DrawBlocks({"#####"}, 10, 16);
    cHero hero;
    SpawnHero(hero, 1, 1);   // block (11, 11): the floor is five rows below
    cBlockStage::WatchBlockTriggers(hero);
    double y = hero.m_dY;
    double vy = 0;
    bool landed = false;
    for (int frame = 1; frame <= 40 && !landed; ++frame) {
        vy += 0.4;
        if (vy > 6) vy = 6;
        y += vy;
        if ((TruncToInt(y + 23) >> 5) == 16) {
            y -= TruncToInt(y + 23) % 32 + 1;
            landed = true;
        }
        FallStep(stage.Scene(), hero);
        ASSERT_DOUBLE_EQ(hero.m_dY, y) << frame;
        EXPECT_EQ(cBlockStage::StartedTriggers(hero), landed ? std::vector<int>({9, 13, 15}) : std::vector<int>()) << frame;
    }
    ASSERT_TRUE(landed);
    EXPECT_DOUBLE_EQ(hero.m_dBottom, 16 * 32 - 1);
    EXPECT_EQ(hero.m_bContactDown, 1);
    EXPECT_EQ(hero.m_dVY, 0);
    EXPECT_EQ(hero.m_lpFloorCell, &cBlockStage::CellAt(11, 16));
}

TEST(Hero, JumpHeightFollowsTheKeyAndIsCutOnceOnAnEarlyRelease)
{
    struct Case {
        int mode;
        int heldFrames;   // mode 1: frames the key is held
    } cases[] = {{0, 0}, {1, 3}};
    for (const Case& c : cases) {
        cBlockStage stage;
        cBlockStage::DrawBlocks({"#####"}, 10, 16);
        cHero hero;
        SpawnHero(hero, 1, 5);   // just above row 16
        for (int i = 0; i < 5 && hero.m_bContactDown == 0; ++i) FallStep(stage.Scene(), hero);
        ASSERT_EQ(hero.m_bContactDown, 1);

        cCommandData command;
        command.m_Params.assign(5, 0);
        command.m_Params[0] = c.mode;
        command.m_Params[2] = 2;
        cFlowCommandEntry entry;
        entry.m_lpCommand = &command;
        entry.m_nDuration = 8;
        entry.m_dSpeed = JumpSpeedForHeightHbl(2, 0, CurrentStageSpeed());
        const double v0 = ReferenceJumpSpeed(32, 1, 0.4);
        ASSERT_DOUBLE_EQ(entry.m_dSpeed, v0);

        cKeyConditionData condition;
        condition.Init();
        condition.m_Keys[11] = 1;   // button 1 held
        cRunningFlow flow;
        flow.m_KeyConditions.push_back(&condition);
        if (c.mode == 1) stage.Scene().m_lpCurFlow = &flow;
        cInput& input = g_Input.At(0);
        input.ResetKeyHistories();

        double y = hero.m_dY;
        double vy = 0;
        for (int frame = 1; frame <= 12; ++frame) {
            input.m_ButtonKeyLog[1][0].nPressed = (frame <= c.heldFrames) ? 1 : 0;
            hero.m_bJumpHandled = 0;
            hero.StartJump(entry);
            if (frame == 1) vy = v0;
            if (c.mode == 1 && frame == c.heldFrames + 1 && vy < 0) vy *= 0.3;
            vy += 0.4;
            y += vy;
            FallStep(stage.Scene(), hero);
            ASSERT_DOUBLE_EQ(hero.m_dY, y) << "mode " << c.mode << " frame " << frame;
            if (c.mode == 1 && frame == c.heldFrames + 1) {
                EXPECT_EQ(hero.m_bJumpUsed, 1);
            }
        }
        stage.Scene().m_lpCurFlow = nullptr;
    }
}

TEST(Hero, ARidingHeroJumpsOnlyInTheLastSubStepAndAFiftiethHigher)
{
    cBlockStage stage(2);
    cHero hero;
    SpawnHero(hero, 1, 5);
    hero.m_bRiding = 1;
    hero.m_bFalling = 0;
    cCommandData command;
    command.m_Params.assign(5, 0);
    cFlowCommandEntry entry;
    entry.m_lpCommand = &command;
    entry.m_nDuration = 16;
    entry.m_dSpeed = -3;
    hero.m_dVY = 0;
    stage.Scene().m_nSubStep = 1;
    hero.StartJump(entry);
    EXPECT_EQ(hero.m_dVY, 0);
    EXPECT_EQ(hero.m_bRiding, 1);
    EXPECT_EQ(entry.m_bStarted, 0);
    hero.m_bJumpHandled = 0;
    hero.m_nJumpHold = 0;
    stage.Scene().m_nSubStep = 2;
    hero.StartJump(entry);
    EXPECT_EQ(hero.m_dVY, -3 * 1.0199999809265137);
    EXPECT_EQ(hero.m_bRiding, 0);
    EXPECT_EQ(entry.m_bStarted, 1);
}

TEST(Hero, CameraFollowsUntilTheRightScrollLimitThenTheHeroWalksOn)
{
    cBlockStage stage;
    cHero hero;
    SpawnHero(hero, 26, 5);   // x = (36 * 32) + 8 + 0.5
    cScrollAxis& axis = stage.Scene().m_ScrollX;
    double x = hero.m_dX;
    ASSERT_DOUBLE_EQ(x, 1160.5);
    bool stopped = false;
    for (int frame = 1; frame <= 120; ++frame) {
        x += 4;
        if (x + 16 - 1 >= 1600) x = 1600 - 16;
        double camera = x - (320 - 16 / 2);
        if (camera < 320) camera = 320;
        else if (camera + 640 >= 1600) camera = 1600 - 640;
        hero.m_dVX = 4;
        hero.MoveX();
        stage.Scene().CollideX(hero);
        ASSERT_DOUBLE_EQ(axis.m_dPos, camera) << frame;
        ASSERT_DOUBLE_EQ(hero.m_dX, x) << frame;
        if (camera == 960) stopped = true;
    }
    EXPECT_TRUE(stopped);
    EXPECT_DOUBLE_EQ(hero.m_dRight - axis.m_dPos, 639);   // at the screen's right side
}

TEST(Hero, ScreenRectangleTruncatesApartOnAnAutoScrollingAxis)
{
    cBlockStage stage;
    cHero hero;
    SpawnHero(hero, 1, 1);
    hero.m_dX = 100.2;
    hero.m_dY = 100.2;
    stage.Scene().m_ScrollX.m_dPos = 50.5;
    stage.Scene().m_ScrollY.m_dPos = 50.5;
    hero.UpdateScreenRect();
    EXPECT_EQ(hero.m_ScreenRect.left, 41);   // trunc(100.2 - 50.5 - 8)
    EXPECT_EQ(hero.m_ScreenRect.top, 41);
    stage.Scene().m_ScrollX.m_bAuto = 1;
    stage.Scene().m_ScrollY.m_bAuto = 1;
    hero.UpdateScreenRect();
    EXPECT_EQ(hero.m_ScreenRect.left, 42);   // 100 - 50 - 8
    EXPECT_EQ(hero.m_ScreenRect.right, 73);
    EXPECT_EQ(hero.m_ScreenRect.top, 42);
}

TEST(Hero, ASpeedBlockActsOnTheInertiaOnly)
{
    cBlockStage stage;
    cHero hero;
    SpawnHero(hero, 1, 1);
    const double a = 4.0 / 1 * 0.016666666666666666 * (1.5 - 1);
    struct Case {
        double inertia, value, expect;
    } cases[] = {
        {2, 1.5, 2 + a},
        {-2, 1.5, -2 - a},
        {0.01, 0, 0},     // slowed past zero: stops
        {-0.01, 0, 0},
    };
    for (const Case& c : cases) {
        hero.m_dX = 400;
        hero.m_dVX = 0;
        hero.m_dInertiaX = c.inertia;
        hero.m_bDecelX = 0;
        hero.m_nBlockEffectKind = 3;
        hero.m_nBlockEffectSteps = 5;
        hero.m_dBlockEffectValue = c.value;
        hero.MoveX();
        EXPECT_DOUBLE_EQ(hero.m_dInertiaX, c.expect) << c.inertia << " " << c.value;
        EXPECT_DOUBLE_EQ(hero.m_dX, 400 + c.expect) << c.inertia << " " << c.value;
    }
}

TEST(Hero, OverlaysAreOrderedByAreaLargestFirstKeepingTheOrderOfEqualAreas)
{
    cBlockStage stage;
    g_StageData.m_nHeroBodyW = 32;   // bounds
    g_StageData.m_nHeroBodyH = 32;
    g_StageData.m_nHeroBox4W = 20;   // item box
    g_StageData.m_nHeroBox4H = 28;
    g_StageData.m_nHeroBox2W = 16;   // body box
    g_StageData.m_nHeroBox2H = 16;
    g_StageData.m_nHeroBox3W = 24;   // shot box
    g_StageData.m_nHeroBox3H = 24;
    g_StageData.m_nHeroBox3Color = 2;
    cHero hero;
    SpawnHero(hero, 1, 1);
    std::vector<int> kinds;
    for (const HEROOVERLAY& overlay : hero.m_Overlays) kinds.push_back(overlay.nKind);
    EXPECT_EQ(kinds, (std::vector<int>{0, 3, 2, 1}));
    EXPECT_EQ(hero.m_Overlays[1].nColor, 216);

    g_StageData.m_nHeroBox4W = 16;   // the item box now as large as the body box
    g_StageData.m_nHeroBox4H = 16;
    hero.SetMoveType(0, 1);
    kinds.clear();
    for (const HEROOVERLAY& overlay : hero.m_Overlays) kinds.push_back(overlay.nKind);
    EXPECT_EQ(kinds, (std::vector<int>{0, 3, 2, 1}));
}
