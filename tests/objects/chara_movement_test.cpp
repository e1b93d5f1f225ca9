#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

#include "objects/chara_knockback.h"
#include "objects/chara_movement.h"
#include "objects/object_base.h"
#include "tests/objects/stage_speed_fixture.h"

TEST(CharaJump, EachLevelRisesStepByStepToTheApex)
{
    // Literals computed apart from the code under test; 4 half-blocks = 64 pixels, not the hero.
    struct Case {
        int level;
        double startSpeed;
        std::vector<double> firstYs;
        double apexY;
        int risingSteps;
        int stepsToApex;
    } cases[] = {
        {1, -7.358212067269313, {-7.358212067269313, -14.316424134538625, -20.874636201807938},
         -71.4060292781169, 19, 19},
        {4, -1.8013980546694102, {-1.8013980546694102, -3.5777961093388204, -5.32919416400823},
         -65.80205799086707, 73, 76},
        {10, -0.7175445478794454, {-0.7175445478794454, -1.4310890957588909, -2.140633643638336},
         -64.71801861830009, 180, 189},
        {14, -1.8013980546694102, {-1.8013980546694102, -3.5777961093388204, -5.32919416400823},
         -65.80205799086707, 73, 76},   // level 14 runs 4 sub-steps, as level 4 does
    };
    for (const auto& c : cases) {
        const STAGESPEED speed = SpeedOfLevel(c.level);
        const double v = JumpSpeedForHeightHbl(4, 1, speed);
        EXPECT_EQ(v, c.startSpeed) << c.level;
        std::vector<double> ys;
        double y = 0;
        double vy = v;
        while (vy < 0) {
            y += vy;
            vy += speed.dGravity;
            ys.push_back(y);
        }
        ASSERT_GE(ys.size(), 3u);
        EXPECT_EQ(std::vector<double>(ys.begin(), ys.begin() + 3), c.firstYs) << c.level;
        EXPECT_EQ(ys.back(), c.apexY) << c.level;
        EXPECT_EQ(static_cast<int>(ys.size()), c.risingSteps) << c.level;
        // trunc(b - v / g): the rising steps counted from the first sub-step of the jump's frame.
        EXPECT_EQ(StepsToApex(v, speed), c.stepsToApex) << c.level;
        EXPECT_EQ(StepsToApex(v, speed), c.risingSteps + speed.nSteps - 1) << c.level;
        EXPECT_EQ(JumpDurationForHeight(4, 1, speed), 4) << c.level;
    }
}

TEST(CharaJump, TheHeroJumpsLowerOnHeavierStages)
{
    const STAGESPEED speed = SpeedOfLevel(1);
    EXPECT_EQ(JumpSpeedForHeight(64, 1, speed), -7.358212067269313);
    EXPECT_EQ(JumpSpeedForHeight(64, 0, speed), -7.211047825923926);   // x (0.99 - 0.4 * 0.025)
}

TEST(CharaJump, ZeroGravityAndNegativeHeightsGiveDefinedIntegers)
{
    STAGESPEED weightless = SpeedOfLevel(1, 0.0);
    const double v = JumpSpeedForHeightHbl(4, 1, weightless);
    EXPECT_EQ(v, 0.0);
    EXPECT_EQ(StepsToApex(v, weightless), INT_MIN);          // 0 / 0
    EXPECT_EQ(StepsToApex(-1.0, weightless), INT_MIN);       // an infinite count
    EXPECT_EQ(JumpDurationForHeight(4, 1, weightless), INT_MIN / 6 + 1);

    const STAGESPEED speed = SpeedOfLevel(4);
    EXPECT_TRUE(std::isnan(JumpSpeedForHeightHbl(-4, 1, speed)));   // the root of a negative
    EXPECT_EQ(StepsToApex(JumpSpeedForHeightHbl(-4, 1, speed), speed), INT_MIN);
    EXPECT_EQ(JumpDurationForHeight(-4, 0, speed), INT_MIN / 4 / 6 + 1);
}

TEST(CharaUnits, ConversionsKeepTheirWrittenOrder)
{
    const STAGESPEED speed = SpeedOfLevel(3);
    EXPECT_EQ(HblToDot(-3), -48);
    EXPECT_EQ(HblToDot(127), 2032);
    EXPECT_EQ(HundredthsToStepSpeed(10, speed), 10 * 0.01 / 9.0);
    EXPECT_EQ(DotsPerSecondToStep(30, speed), 30 / 3.0 * 0.016666666666666666);
}

TEST(CharaKnockback, ResistanceMovesTheStrengthTowardZeroWithinTwenty)
{
    struct Case { int strength; int resistance; int expected; } cases[] = {
        {5, 7, 0}, {-5, 7, 0}, {10, 3, 7}, {-10, 3, -7}, {30, 3, 20}, {-30, 7, -20},
        {10, -5, 15}, {-10, -5, -15}, {20, -10, 20}, {0, 5, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResistKnockback(c.strength, c.resistance), c.expected) << c.strength << " " << c.resistance;
}

TEST(CharaKnockback, StartSpeedCoversSixteenPixelsPerHalfBlock)
{
    struct Case { double d; int level; double speed; } cases[] = {
        {2, 1, 7.515609770940699}, {-2, 1, -7.515609770940699}, {3.5, 4, 5.167978839935032},
        {0.25, 2, 1.7655644370746373}, {0, 3, 0},
    };
    for (const auto& c : cases) {
        const STAGESPEED speed = SpeedOfLevel(c.level);
        const double v = KnockbackSpeed(c.d, speed);
        EXPECT_EQ(v, c.speed) << c.d;
        // The decay covers about 16 * d pixels.
        double covered = 0;
        for (double s = v; s != 0; DecayKnockback(s, speed)) covered += s;
        EXPECT_NEAR(covered, 16 * c.d, 0.5 + 16 * std::fabs(c.d) * 0.01) << c.d;
    }
}

TEST(CharaKnockback, StartClearsOpposedMotionAndKeepsSpeedsWhenResisted)
{
    const STAGESPEED speed = SpeedOfLevel(1);
    struct Case {
        const char* name;
        int strength;
        int resistance;
        double dx, dy;
        double inertiaX, inertiaY, vy;            // before
        double speedX, speedY;                    // after
        double expInertiaX, expInertiaY, expVy;
        int knocked;
    } cases[] = {
        {"along (3, 4)", 5, 0, 3, 4, -1, 1, -2, 7.795868162611347, 9.074892763293562, 0, 1, 0, 1},
        {"resisted: the speeds stay", 5, 7, -3, 0, -2, 0.5, 1, 0.5, -0.25, 0, 0, 0, 1},
        {"no direction", 5, 0, 0, 0, 1, 1, 1, 0, 0, 1, 1, 1, 1},
        {"tiny values are not opposed", 5, 0, -1, 0, 0.000000001, 0, 0, -12.158988901172163, 0,
         0.000000001, 0, 0, 1},
        {"no strength: nothing at all", 0, 0, 1, 1, -1, -1, -1, 0.5, -0.25, -1, -1, -1, 0},
    };
    for (const auto& c : cases) {
        cGameObject chara;
        chara.m_dInertiaX = c.inertiaX;
        chara.m_dInertiaY = c.inertiaY;
        chara.m_dVY = c.vy;
        KNOCKBACK knockback;
        knockback.dSpeedX = 0.5;
        knockback.dSpeedY = -0.25;
        StartKnockback(chara, knockback, c.strength, c.resistance, c.dx, c.dy, speed);
        EXPECT_EQ(knockback.dSpeedX, c.speedX) << c.name;
        EXPECT_EQ(knockback.dSpeedY, c.speedY) << c.name;
        EXPECT_EQ(chara.m_dInertiaX, c.expInertiaX) << c.name;
        EXPECT_EQ(chara.m_dInertiaY, c.expInertiaY) << c.name;
        EXPECT_EQ(chara.m_dVY, c.expVy) << c.name;
        EXPECT_EQ(knockback.bKnocked, c.knocked) << c.name;
    }
}

TEST(CharaKnockback, VerticalKnockbackReplacesTheLastOneOrStopsOnTheGround)
{
    struct Case { const char* name; int flying; bool onGround; double speedY; double prevY; double vy;
                  double expSpeedY; double expVy; } cases[] = {
        {"walking, upward", 0, true, -2, -3, 1, -2, 2},        // 1 - (-3) + (-2)
        {"walking, downward on ground", 0, true, 2, 1, 1, 0, 1},
        {"walking, downward in the air", 0, false, 2, 1, 1, 2, 2},
        {"flying adds", 1, true, 2, 1, 1, 2, 3},
        {"none", 0, false, 0, 5, 1, 0, 1},
    };
    for (const auto& c : cases) {
        cGameObject chara;
        chara.m_bFlying = c.flying;
        chara.m_dVY = c.vy;
        KNOCKBACK knockback;
        knockback.dSpeedY = c.speedY;
        knockback.dPrevY = c.prevY;
        ApplyKnockbackY(chara, knockback, c.onGround);
        EXPECT_EQ(knockback.dSpeedY, c.expSpeedY) << c.name;
        EXPECT_EQ(chara.m_dVY, c.expVy) << c.name;
        EXPECT_EQ(knockback.dPrevY, c.speedY == 0 ? c.prevY : c.expSpeedY) << c.name;
    }
}

TEST(CharaMotion, DecelerationAndDecayStopExactlyAtZero)
{
    cGameObject object;
    object.m_dDecel = 0.1;
    struct Case { double speed; int enabled; double expected; } cases[] = {
        {0.05, 1, 0}, {-0.05, 1, 0}, {0.25, 1, 0.25 - 0.1}, {-0.25, 1, -0.25 + 0.1}, {0, 1, 0}, {0.05, 0, 0.05},
    };
    for (const auto& c : cases) {
        double speed = c.speed;
        object.Decelerate(speed, c.enabled);
        EXPECT_EQ(speed, c.expected) << c.speed;
    }
    const STAGESPEED speed = SpeedOfLevel(4);
    double knock = 0.3;
    DecayKnockback(knock, speed);
    EXPECT_EQ(knock, 0.3 - 1 / 4.0);
    DecayKnockback(knock, speed);
    EXPECT_EQ(knock, 0);
    knock = -0.3;
    DecayKnockback(knock, speed);
    DecayKnockback(knock, speed);
    EXPECT_EQ(knock, 0);
}

TEST(CharaMotion, SpeedLimitKeepsBoundsAndMovesBeforeTheClamp)
{
    cGameObject object;
    struct Case { double vx; double limit; double expectedVx; } cases[] = {
        {7, 6, 6}, {-7, 6, -6}, {6, 6, 6}, {-6, 6, -6}, {2.5, 6, 2.5},
    };
    for (const auto& c : cases) {
        object.m_dX = 100;
        object.m_dVX = c.vx;
        EXPECT_EQ(object.LimitSpeedX(3, c.limit), 0);
        EXPECT_EQ(object.m_dVX, c.expectedVx) << c.vx;
        EXPECT_EQ(object.m_dX, 100 + c.expectedVx) << c.vx;
    }
    object.m_bFlying = 0;
    object.m_dVY = 1;
    object.ApplyGravity(0.25);
    EXPECT_EQ(object.m_dVY, 1.25);
    object.m_bFlying = 1;
    object.ApplyGravity(0.25);
    EXPECT_EQ(object.m_dVY, 1.25);
}

TEST(CharaRanges, SpanOverlapsItsExtendedRange)
{
    struct Case { int p, size, lo, hi, margin, back, front, both, expected; } cases[] = {
        {100, 32, 0, 84, 0, 0, 0, 1, 0},       // span [100, 132] lies past 84
        {100, 32, 0, 100, 0, 0, 0, 1, 1},      // start 100 <= 100
        {100, 32, 0, 99, 0, 0, 0, 1, 0},
        {100, 32, 133, 200, 0, 0, 0, 1, 0},
        {100, 32, 132, 200, 0, 0, 0, 1, 1},
        {100, 32, 0, 80, 0, 20, 0, 0, 1},      // start 116 - 16 - 20 = 80
        {100, 32, 0, 79, 0, 20, 0, 0, 0},
        {100, 32, 0, 95, 0, 0, 0, 0, 0},       // without both: [116, 116]
        {100, 32, 0, 116, 0, 0, 0, 0, 1},
        {100, 32, 150, 300, 0, 0, 18, 0, 1},   // end 116 + 16 + 18 = 150
        {100, 32, 150, 300, 1, 0, 18, 0, 0},   // the margin narrows the range
    };
    for (const auto& c : cases)
        EXPECT_EQ(SpanOverlapsRange(c.p, c.size, c.lo, c.hi, c.margin, c.back, c.front, c.both), c.expected)
            << c.p << " " << c.lo << ".." << c.hi << " " << c.back << "/" << c.front;
}
