#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "objects/chara_movement.h"
#include "objects/object_base.h"
#include "tests/objects/stage_speed_fixture.h"

namespace {

constexpr double kPi = 3.141592653589793;

}  // namespace

TEST(WaveVelocity, BothFormsAreTheRatesOfAnOffsetOfAmplitudeA)
{
    struct Case { int amplitude; int angleSpeed; double phase; double step; double start; int level; } cases[] = {
        {64, 3, 0, 1, 0, 1}, {64, 3, 90, 1, 0, 1}, {48, 5, 37.5, 2, 30, 4}, {16, 1, 710, 4, 270, 2},
        {-32, 12, 200, 3, 90, 13}, {100, 0, 50, 1, 0, 1},
    };
    for (const auto& c : cases) {
        const STAGESPEED speed = SpeedOfLevel(c.level);
        const double b = speed.dSteps;
        const double omega = (c.angleSpeed * kPi) / 180;
        const double angle = (((c.phase / b + c.start) * c.angleSpeed) * kPi) / 180;
        const double expectedCos = c.amplitude * omega * std::cos(angle) / b;
        const double expectedSin = -c.amplitude * omega * omega * std::sin(angle) / (b * b);
        double next = c.phase + c.step;
        if (next >= 360 * b) next -= 360 * b;

        double phase = c.phase;
        EXPECT_EQ(WaveVelocityCos(c.amplitude, c.angleSpeed, phase, c.step, c.start, speed), expectedCos)
            << c.phase << " " << c.level;
        EXPECT_EQ(phase, next);
        phase = c.phase;
        EXPECT_EQ(WaveVelocitySin(c.amplitude, c.angleSpeed, phase, c.step, c.start, speed), expectedSin)
            << c.phase << " " << c.level;
        EXPECT_EQ(phase, next);
    }
}

TEST(WaveVelocity, ThePhaseWrapsOnceAtAFullTurn)
{
    const STAGESPEED one = SpeedOfLevel(1);
    double phase = 359;
    WaveVelocityCos(10, 1, phase, 2, 0, one);
    EXPECT_EQ(phase, 1);
    phase = 359;
    WaveVelocitySin(10, 1, phase, 800, 0, one);
    EXPECT_EQ(phase, 799);   // once only
    const STAGESPEED three = SpeedOfLevel(3);
    phase = 1079;
    WaveVelocityCos(10, 1, phase, 1, 0, three);
    EXPECT_EQ(phase, 0);
}

TEST(WaveVelocity, ACircleMoveDrivenByTheCosineFormHasTheRadiusItAsksFor)
{
    // A circle move of radius r half-blocks at s pixels per sub-step on a stage of b sub-steps:
    // amplitude R = r * 16 * b, one degree per frame, the phase stepping b * s.
    const int r = 2;
    const int level = 2;
    const double s = 1.5;
    const STAGESPEED speed = SpeedOfLevel(level);
    const double b = speed.dSteps;
    const int amplitude = r * 16 * level;
    const int period = static_cast<int>(360 * b / (b * s));   // sub-steps per turn

    double phaseX = 0;
    double phaseY = 0;
    double x = 0;
    double y = 0;
    double seriesX = 0;
    double seriesY = 0;
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (int k = 0; k < period; ++k) {
        const double angle = k * s;   // degrees
        seriesX += -(amplitude * (kPi / 180) * std::cos(angle * kPi / 180) / b) * s;
        seriesY += -(amplitude * (kPi / 180) * std::cos((angle + 270) * kPi / 180) / b) * s;
        x += -WaveVelocityCos(amplitude, 1, phaseX, b * s, 0, speed) * s;
        y += -WaveVelocityCos(amplitude, 1, phaseY, b * s, 270, speed) * s;
        ASSERT_NEAR(x, seriesX, 1e-9) << k;
        ASSERT_NEAR(y, seriesY, 1e-9) << k;
        minX = std::fmin(minX, x);
        maxX = std::fmax(maxX, x);
        minY = std::fmin(minY, y);
        maxY = std::fmax(maxY, y);
    }
    EXPECT_NEAR(x, 0, 1e-9);   // back at the start after one turn
    EXPECT_NEAR(y, 0, 1e-9);
    EXPECT_NEAR((maxX - minX) / 2, r * 16, 0.01);
    EXPECT_NEAR((maxY - minY) / 2, r * 16, 0.01);
}

namespace {

cGameObject Mover(int scrollRelative)
{
    cGameObject mover;
    mover.m_bScrollRelative = scrollRelative;
    return mover;
}

}  // namespace

TEST(ApproachSolver, AimsFleesAndAllowsForTheScroll)
{
    const cGameObject relativeMover = Mover(1);
    const cGameObject plainMover = Mover(0);
    const double v = 2 * 0.7071067811865476;
    struct Case {
        const char* name;
        const cGameObject* mover;
        double fromX, fromY, toX, toY, speed;
        int relative, mode, arrival;
        APPROACHSCROLL scroll;
        double vx, vy;
        int direction, result;
    } cases[] = {
        {"direct", nullptr, 0, 0, 30, 40, 5, 0, 1, 1, {0.5, 0, 0}, 3, 4, 2, 0},
        {"arrives within a step", nullptr, 0, 0, -3, 4, 5, 0, 1, 1, {}, -3, 4, 1, 1},
        {"arrival not asked", nullptr, 0, 0, -3, 4, 5, 0, 1, 0, {}, -3, 4, 1, 0},
        {"same point", nullptr, 7, 7, 7, 7, 5, 0, 1, 1, {}, 0, 0, 0, 1},
        {"carry adds", &plainMover, 0, 0, 30, 40, 5, 0, 1, 0, {0.5, 0.25, 1}, 3.5, 4.25, 2, 0},
        {"plain mover compensated", &plainMover, 0, 0, 30, 40, 5, 0, 1, 0, {0.5, 0.25, 0}, 2.5, 3.75, 2, 0},
        {"relative flag, scroll-relative left", &relativeMover, 0, 0, 30, 40, 5, 1, 1, 0, {0.5, 0.25, 0}, 3, 4, 2, 0},
        {"relative flag, plain compensated", &plainMover, 0, 0, 30, 40, 5, 1, 1, 0, {0.5, 0.25, 0}, 2.5, 3.75, 2, 0},
        {"solved along the scroll", &relativeMover, 0, 0, 30, 40, 5, 0, 1, 0, {0.5, 0, 0},
         3.3103845906505067, 3.7471794542006758, 2, 0},
        {"solved on the longer x", &relativeMover, 0, 0, 40, 30, 5, 0, 1, 0, {0.5, 0, 0},
         4.17279350830969, 2.7545951312322674, 2, 0},
        {"scroll faster than the mover keeps the aim", &relativeMover, 0, 0, 1, 10, 1, 0, 1, 0, {10, 0, 0},
         0.09950371902099892, 0.9950371902099892, 2, 0},
        {"flee, plain mover left", &plainMover, 10, 10, 0, 20, -2, 0, 0, 1, {0.5, 0.25, 0}, v, -v, 2, 0},
        {"flee, scroll-relative compensated", &relativeMover, 10, 10, 0, 20, -2, 0, 0, 1, {0.5, 0.25, 0},
         v - 0.5, -v - 0.25, 2, 0},
        {"flee, carry", nullptr, 0, 30, 10, 20, -2, 0, 0, 0, {0.5, 0.25, 1}, -v + 0.5, v + 0.25, 1, 0},
        {"negative speed outside mode 0 aims backward", nullptr, 0, 0, 30, 40, -5, 0, 1, 0, {}, -3, -4, 1, 0},
    };
    for (const auto& c : cases) {
        double vx = 99, vy = 99;
        int direction = -7;
        EXPECT_EQ(SolveApproachVelocity(vx, vy, direction, c.mover, c.fromX, c.fromY, c.toX, c.toY, c.speed,
                                        c.relative, c.mode, c.arrival, c.scroll),
                  c.result) << c.name;
        EXPECT_EQ(vx, c.vx) << c.name;
        EXPECT_EQ(vy, c.vy) << c.name;
        EXPECT_EQ(direction, c.direction) << c.name;
    }
}

TEST(ApproachSolver, TheSolvedVelocityPointsAtTheTargetOnTheScreen)
{
    const cGameObject mover = Mover(1);
    struct Case { double toX, toY, sx, sy; } cases[] = {
        {30, 40, 0.5, 0}, {40, 30, 0.5, 0}, {-40, 30, 0.5, 0}, {30, -40, 0.5, 0.25}, {5, 50, -0.3, 0.2},
    };
    for (const auto& c : cases) {
        double vx = 0, vy = 0;
        int direction = 0;
        SolveApproachVelocity(vx, vy, direction, &mover, 0, 0, c.toX, c.toY, 5, 0, 1, 0, {c.sx, c.sy, 0});
        EXPECT_NEAR((vx - c.sx) * c.toY - (vy - c.sy) * c.toX, 0, 1e-9) << c.toX << "," << c.toY;
        EXPECT_GT((vx - c.sx) * c.toX + (vy - c.sy) * c.toY, 0) << c.toX << "," << c.toY;
    }
}

TEST(ApproachSolver, NothingToSolveEndsTheStepWithTheDirectAim)
{
    const cGameObject mover = Mover(1);
    double vx = 99, vy = 99;
    int direction = -7;
    // No extent on either axis: the direct aim (0, 0) stays and the direction is not written.
    EXPECT_EQ(SolveApproachVelocity(vx, vy, direction, &mover, 5, 5, 5, 5, 3, 0, 1, 1, {0.5, 0, 0}), 0);
    EXPECT_EQ(vx, 0);
    EXPECT_EQ(vy, 0);
    EXPECT_EQ(direction, -7);
}

TEST(ApproachSolver, SingleAxisApproaches)
{
    const cGameObject relativeMover = Mover(1);
    struct Case { bool horizontal; double from, to, speed; int relative, arrival; APPROACHSCROLL scroll;
                  double vx, vy; int direction, result; } cases[] = {
        {true, 10, 10, 2, 0, 1, {}, -2, 0, 1, 1},
        {true, 10, 11.5, 2, 0, 1, {}, 2, 0, 2, 1},
        {true, 10, 12, 2, 0, 1, {}, 2, 0, 2, 0},
        {true, 10, 50, 2, 0, 0, {0.5, 0.25, 1}, 2.5, 0, 2, 0},
        {true, 10, 50, 2, 1, 0, {0.5, 0.25, 1}, 2, 0, 2, 0},
        {true, 10, 50, 2, 0, 0, {0.5, 0.25, 0}, 2, 0, 2, 0},
        {false, 10, 5, 2, 0, 1, {0.5, 0.25, 1}, 0, -1.75, 0, 0},
        {false, 10, 11, 2, 0, 1, {}, 0, 2, 0, 1},
    };
    for (const auto& c : cases) {
        double vx = 99, vy = 99;
        int direction = -7;
        const int result = c.horizontal
            ? ApproachX(vx, vy, direction, &relativeMover, c.from, c.to, c.speed, c.relative, c.arrival, c.scroll)
            : ApproachY(vx, vy, direction, &relativeMover, c.from, c.to, c.speed, c.relative, c.arrival, c.scroll);
        EXPECT_EQ(result, c.result) << c.from << "->" << c.to;
        EXPECT_EQ(vx, c.vx) << c.from << "->" << c.to;
        EXPECT_EQ(vy, c.vy) << c.from << "->" << c.to;
        EXPECT_EQ(direction, c.direction) << c.from << "->" << c.to;
    }
}
