#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "objects/shot.h"
#include "objects/spawn_param.h"
#include "objects/trajectory.h"
#include "shell/game_arithmetic.h"
#include "tests/stage/stage_fixture.h"

namespace {

// The same bits, so that a value computed in another order shows.
bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A shot fired by a stage chara on a stage of k sub-steps per frame, well inside the stage.
class ShotFlight : public qbtest::cStageTest {
protected:
    void UseSubSteps(int k) { g_StageData.SetSpeedLevel(k); }

    cStageChara& Owner()
    {
        if (Scene().m_Charas.empty()) Scene().PlaceChara(1, 1, CharaTemplate(), nullptr);
        return Scene().m_Charas.back();
    }

    static SPAWNPARAM Spawn(double vx, double vy, double speed)
    {
        SPAWNPARAM spawn;
        spawn.speed = speed;
        spawn.vx = vx;
        spawn.vy = vy;
        spawn.x = 400;
        spawn.y = 400;
        return spawn;
    }

    cShot Fire(cEdShot def, const SPAWNPARAM& spawn)
    {
        cShot shot;
        shot.InitFromTemplate(1, Owner(), kShotObjectShot, def, spawn);
        return shot;
    }

    // One sub-step as the play frame runs it; true when the shot is to be removed.
    static bool SubStep(cShot& shot)
    {
        if (shot.Update() != 0) return true;
        shot.ApplyGravity(g_StageData.m_dGravityPerStep);
        shot.MoveY();
        shot.MoveX();
        return false;
    }
};

TEST_F(ShotFlight, AnAcceleratingShotAddsItsAccelerationInUpdateAndAgainInItsMove)
{
    for (int k : {1, 3}) {
        UseSubSteps(k);
        cEdShot def;
        def.m_bAccelerate = 1;
        def.m_nAcceleration = 30;
        cShot shot = Fire(def, Spawn(4, 0, 4));
        // The reference: the update's steps in their written order, with the conversion from dots per second.
        const double acceleration = 30 * 0.1 / k;
        const double ix = acceleration / k * 0.016666666666666666;
        double own = 4.0 / k;
        double x = 400;
        for (int step = 0; step < 12; ++step) {
            own += ix;
            double vx = 0 + own;
            vx += ix;
            x += vx;
            ASSERT_FALSE(SubStep(shot));
            EXPECT_TRUE(SameBits(shot.m_dOwnVX, own)) << "k " << k << " step " << step;
            EXPECT_TRUE(SameBits(shot.m_dX, x)) << "k " << k << " step " << step;
        }
    }
}

TEST_F(ShotFlight, ARangeNoLongerThanTheShotLastsOneFrameAndStandsWhenItWouldOvershoot)
{
    struct Case { int k; double speed; double moved; } cases[] = {
        {1, 4, 4}, {3, 4, 4},      // within its width in a frame: it moves at its speed
        {1, 40, 0}, {3, 40, 0},    // it would cover more than its width: it stands still
    };
    for (const auto& c : cases) {
        UseSubSteps(c.k);
        cEdShot def;
        def.m_bRangeLimit = 1;
        SPAWNPARAM spawn = Spawn(c.speed, 0, c.speed);
        spawn.range = 1;   // 16 dots, the shot's own width: A = 0
        cShot shot = Fire(def, spawn);
        int steps = 0;
        while (!SubStep(shot) && steps < 100) ++steps;
        EXPECT_EQ(steps, c.k) << "k " << c.k << " speed " << c.speed;
        EXPECT_NEAR(shot.m_dX - 400, c.moved, 1e-9) << "k " << c.k << " speed " << c.speed;
    }
}

TEST_F(ShotFlight, ALongerRangeEndsAfterTheSubStepsThatCoverIt)
{
    for (int k : {1, 3}) {
        for (double speed : {4.0, 7.0}) {
            UseSubSteps(k);
            cEdShot def;
            def.m_bRangeLimit = 1;
            SPAWNPARAM spawn = Spawn(speed, 0, speed);
            spawn.range = 3;   // A = 48 - 16 dots
            cShot shot = Fire(def, spawn);
            const int expected = TruncToInt(32 / std::fabs(speed / k));
            EXPECT_EQ(shot.m_nRangeLeft, expected);
            int steps = 0;
            while (!SubStep(shot) && steps < 1000) ++steps;
            EXPECT_EQ(steps, expected) << "k " << k << " speed " << speed;
        }
    }
}

TEST_F(ShotFlight, AShotWithoutADirectionSlowedToItsRangeStandsInsteadOfTakingNaN)
{
    // Fast enough to cover its range in less than a frame, but fired with no velocity: the
    // slowing spreads the range over |vx| + |vy| = 0.
    UseSubSteps(1);
    cEdShot def;
    def.m_bRangeLimit = 1;
    SPAWNPARAM spawn = Spawn(0, 0, 100);
    spawn.range = 3;
    cShot shot = Fire(def, spawn);
    EXPECT_EQ(shot.m_dOwnVX, 0);
    EXPECT_EQ(shot.m_dOwnVY, 0);
    ASSERT_FALSE(SubStep(shot));
    EXPECT_EQ(shot.m_dX, 400);
    EXPECT_EQ(shot.m_dY, 400);
}

TEST_F(ShotFlight, AShotThatStopsAtItsRangeEndStaysWhereItStopped)
{
    UseSubSteps(2);
    cEdShot def;
    def.m_bRangeLimit = 1;
    def.m_bStopAtRangeEnd = 1;
    SPAWNPARAM spawn = Spawn(4, 0, 4);
    spawn.range = 2;
    cShot shot = Fire(def, spawn);
    for (int step = 0; step < 40; ++step) ASSERT_FALSE(SubStep(shot));
    EXPECT_DOUBLE_EQ(shot.m_dX, 400 + 16);
    EXPECT_EQ(shot.m_dOwnVX, 0);
}

TEST_F(ShotFlight, LifeCountsTenthsOfASecondInSubSteps)
{
    for (int k : {1, 3}) {
        UseSubSteps(k);
        cEdShot def;
        def.m_bLifeLimit = 1;
        SPAWNPARAM spawn = Spawn(1, 0, 1);
        spawn.life = 2;
        cShot shot = Fire(def, spawn);
        int steps = 0;
        while (!SubStep(shot) && steps < 1000) ++steps;
        EXPECT_EQ(steps, 2 * k * 6) << "k " << k;
    }
}

TEST_F(ShotFlight, FacingFollowsTheVelocityAndAZeroVelocityKeepsTheOwners)
{
    UseSubSteps(1);
    Owner().m_nDirection = 1;
    cShot still = Fire(cEdShot{}, Spawn(0, 3, 3));
    EXPECT_EQ(still.m_nDirection, 1);
    SubStep(still);
    EXPECT_EQ(still.m_nDirection, 1);
    cShot left = Fire(cEdShot{}, Spawn(-3, 0, 3));
    EXPECT_EQ(left.m_nDirection, 0);
}

TEST_F(ShotFlight, AShotOfScaleTwoDoublesItsHitBoxAroundTheSameOffset)
{
    UseSubSteps(1);
    g_StageData.m_nShotBox3W = 8;
    g_StageData.m_nShotBox3H = 6;
    cEdShot def;
    def.m_nSize = 2;
    cShot shot = Fire(def, Spawn(0, 0, 0));
    EXPECT_EQ(shot.m_nBaseHitLeft, 4);
    EXPECT_EQ(shot.m_nBaseHitTop, 5);
    EXPECT_EQ(shot.m_nHitLeft, 8);
    EXPECT_EQ(shot.m_nHitTop, 10);
    EXPECT_EQ(shot.m_nHitWidth, 16);
    EXPECT_EQ(shot.m_nHitHeight, 12);
    EXPECT_EQ(shot.m_nWidth, 32);
    EXPECT_DOUBLE_EQ(shot.m_HitRect.left, 408);
}

// A grid that counts the cells it is asked about, solid at one cell.
class cCountingGrid : public cBlockHitSource {
public:
    int HitModeAt(int cell, int) const override
    {
        m_Asked.push_back(cell);
        return cell == m_nSolid ? 1 : 0;
    }
    int RowShift() const override { return 6; }
    mutable std::vector<int> m_Asked;
    int m_nSolid = -1;
};

TEST_F(ShotFlight, TheBlockTestAsksTheCellsTheWidthChoosesInItsOrder)
{
    UseSubSteps(1);
    struct Case { int width, height, scale, asked; } cases[] = {
        {16, 64, 1, 4},          // four corners, duplicates included
        {48, 48, 1, 9},          // 0, 32, 47 on both axes
        {33, 100, 1, 10},        // rows 0, 32, 64, 96, 99 by columns 0, 32
        {16, 16, 2, 4},          // 32 wide at scale 2: still the corners
    };
    for (const auto& c : cases) {
        cShot shot = Fire(cEdShot{}, Spawn(0, 0, 0));
        shot.m_nBaseWidth = c.width;
        shot.m_nBaseHeight = c.height;
        shot.m_nWidth = c.width * c.scale;
        shot.m_nHeight = c.height * c.scale;
        shot.m_dX = 400;
        shot.m_dY = 400;
        shot.ClampX();
        shot.ClampY(2);
        cCountingGrid grid;
        EXPECT_EQ(shot.HitsBlockIn(grid), 0);
        EXPECT_EQ(static_cast<int>(grid.m_Asked.size()), c.asked) << c.width << "x" << c.height;
        // The first solid cell ends the test: the cells after it are never asked.
        cCountingGrid solid;
        solid.m_nSolid = grid.m_Asked[1];
        EXPECT_EQ(shot.HitsBlockIn(solid), 1);
        EXPECT_EQ(solid.m_Asked.size(), 2u) << c.width << "x" << c.height;
    }
}

TEST_F(ShotFlight, TheWideBlockTestEndsWhateverTheSize)
{
    UseSubSteps(1);
    cShot shot = Fire(cEdShot{}, Spawn(0, 0, 0));
    for (int height : {0, -5, 2147483647}) {
        shot.m_nWidth = 40;
        shot.m_nHeight = height;
        cCountingGrid grid;
        grid.m_nSolid = 12 + (12 << 6);   // the first cell asked: the huge case ends there
        shot.HitsBlockIn(grid);
        EXPECT_EQ(grid.m_Asked.size(), 1u) << height;
    }
}

TEST_F(ShotFlight, AShotThatPassesBlocksNeverAsks)
{
    UseSubSteps(1);
    cEdShot def;
    def.m_nPassBlocks = 1;
    cShot shot = Fire(def, Spawn(0, 0, 0));
    cCountingGrid grid;
    EXPECT_EQ(shot.HitsBlockIn(grid), 0);
    EXPECT_TRUE(grid.m_Asked.empty());
}

}  // namespace
