#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>
#include <vector>

#include "data/move_part.h"
#include "data/stage_data.h"
#include "flow/movement_commands.h"
#include "flow/running_flow.h"
#include "objects/chara.h"
#include "objects/chara_movement.h"
#include "tests/stage/stage_fixture.h"
#include "tests/support/restore.h"

namespace {

// A movement command whose entry has the speed the flow building gives it: tenths of a dot
// per frame over b sub-steps.
struct MoveCommand {
    MoveCommand(int speedTenths, int steps)
    {
        command.m_pMove = std::make_shared<cEdMove>();
        command.m_pMove->m_bKeepAnime = 1;
        entry.m_lpCommand = &command;
        entry.m_dSpeed = speedTenths * 0.1 / steps;
    }
    cEdMove& Move() { return *command.m_pMove; }

    cCommandData command;
    cFlowCommandEntry entry;
};

}  // namespace

TEST(MovementCommands, AStraightMoveGoesByItsDirectionAndAWalkerStaysOnTheGround)
{
    struct Case {
        const char* name;
        int choice, flying;
        double vx, vy;
    } cases[] = {
        {"forward at 20 over 2 sub-steps: 1 a step", 0, 0, 1, 0},
        {"up-left, walking: left only", 8, 0, -0.7071067811865476, 0},
        {"up-left, flying", 8, 1, -0.7071067811865476, -0.7071067811865476},
        {"up, walking: no motion", 6, 0, 0, 0},
    };
    for (const Case& c : cases) {
        MoveCommand move(20, 2);
        move.entry.m_nDirectionChoice = static_cast<std::uint8_t>(c.choice);
        cChara chara;
        chara.m_nDirection = 1;
        chara.m_bFlying = c.flying;
        for (int step = 1; step <= 3; ++step) {
            chara.m_dVX = chara.m_dVY = 0;
            FlowCmdMoveStraight(chara, move.entry);
            EXPECT_DOUBLE_EQ(chara.m_dVX, c.vx) << c.name << " step " << step;
            EXPECT_DOUBLE_EQ(chara.m_dVY, c.vy) << c.name << " step " << step;
        }
    }
}

TEST(MovementCommands, TimingDerivesTheSpeedOrTheDurationFromTheDistance)
{
    struct Case {
        const char* name;
        int mode, distance, unit, duration;
        double speed;
        double expectSpeed;
        int expectDuration;
    } cases[] = {
        {"4 hbl in 32 steps: 2 dots a step", 1, 4, 0, 32, 0, 2, 32},
        {"100 dots at 4 a step: 25 steps", 2, 100, 1, 0, 4, 4, 25},
        // Divisions by zero, computed in doubles.
        {"a distance in no time: unbounded", 1, 10, 1, 0, 0, INFINITY, 0},
        {"no distance in no time: standing", 1, 0, 1, 0, 0, 0, 0},
        {"a distance at speed 0: never ends", 2, 10, 1, 5, 0, 0, INT_MIN},
    };
    for (const Case& c : cases) {
        MoveCommand move(0, 1);
        move.Move().m_nTimeMode = static_cast<BYTE>(c.mode);
        move.Move().m_nDistance = static_cast<std::int16_t>(c.distance);
        move.Move().m_nDistanceUnit = static_cast<BYTE>(c.unit);
        move.entry.m_nDuration = c.duration;
        move.entry.m_dSpeed = c.speed;
        cChara chara;
        InitMoveTiming(move.entry, chara, 0);
        EXPECT_EQ(move.entry.m_dSpeed, c.expectSpeed) << c.name;
        EXPECT_EQ(move.entry.m_nDuration, c.expectDuration) << c.name;
    }
}

TEST(MovementCommands, DisablingMovementHoldsTheCharaInTheAir)
{
    MoveCommand move(0, 1);
    cChara chara;
    chara.m_dVX = chara.m_dVY = chara.m_dInertiaX = 3;
    chara.m_Knockback.dSpeedX = 2;
    FlowCmdDisableMove(chara, move.entry);
    EXPECT_EQ(chara.m_dVX, 0);
    EXPECT_EQ(chara.m_dVY, 0);
    EXPECT_EQ(chara.m_dInertiaX, 0);
    EXPECT_EQ(chara.m_Knockback.dSpeedX, 0);
    EXPECT_EQ(chara.m_bGravityHold, 1);
}

TEST(MovementCommands, AStraightMoveToAPointAimsAtItAndCountsTheStepsToArrive)
{
    struct Case {
        const char* name;
        int coordinates, dx, dy, stopAtTarget;
        double homeX;
        double vx, vy;
        int remaining, direction;
    } cases[] = {
        {"100 dots ahead at 3 a step: 33 steps", 1, 100, 0, 0, 0, 3, 0, 33, 1},
        {"60 across and 80 down: along the line", 1, -60, 80, 0, 0, -1.8, 2.4, 33, 0},
        {"from the home point, left of the chara", 0, 10, 0, 0, -40, -3, 0, 10, 0},
        {"within a step and told to stop: standing", 1, 2, 0, 1, 0, 0, 0, 0, 0},
        {"within a step without the stop: moves on", 1, 2, 0, 0, 0, 3, 0, 0, 1},
    };
    for (const Case& c : cases) {
        MoveCommand move(30, 1);
        move.Move().m_nMode = 1;
        move.Move().m_nCoordinates = static_cast<BYTE>(c.coordinates);
        move.Move().m_nTargetDotX = static_cast<std::int16_t>(c.dx);
        move.Move().m_nTargetDotY = static_cast<std::int16_t>(c.dy);
        move.Move().m_bStopAtTarget = static_cast<BYTE>(c.stopAtTarget);
        cChara chara;
        chara.m_Def.m_bFixedFacing = 0;
        chara.m_nDirection = 0;
        chara.m_bFlying = 1;
        chara.m_ScreenRect.left = 0;
        chara.m_ScreenRect.top = 0;
        chara.m_nDrawWidth = chara.m_nDrawHeight = 32;
        chara.m_dHomeX = 16 + c.homeX;
        chara.m_dHomeY = 16;
        InitMoveStraight(move.entry, chara, 0);
        FlowCmdMoveStraight(chara, move.entry);
        EXPECT_NEAR(chara.m_dVX, c.vx, 1e-12) << c.name;
        EXPECT_NEAR(chara.m_dVY, c.vy, 1e-12) << c.name;
        EXPECT_EQ(move.entry.m_nRemaining, c.remaining) << c.name;
        EXPECT_EQ(chara.m_nDirection, c.direction) << c.name;
    }
}

TEST(MovementCommands, AMoveToAPointThatStartsAtItsGoalEndsAtOnceWhenToldToEndOnArrival)
{
    struct Case {
        const char* name;
        int speedTenths, endAtTarget;
        bool endsAtOnce;
    } cases[] = {
        {"told to end on arrival", 30, 1, true},
        {"told to end on arrival, with no speed to arrive by", 0, 1, true},
        {"not told: the command runs its time", 30, 0, false},
    };
    for (const Case& c : cases) {
        MoveCommand move(c.speedTenths, 1);
        move.command.m_nKind = COMMAND_STRAIGHT_MOVE;
        move.Move().m_nMode = 1;
        move.Move().m_nCoordinates = 1;   // offsets from where the chara stands: none
        move.Move().m_bEndAtTarget = static_cast<BYTE>(c.endAtTarget);
        move.Move().m_bStopAtTarget = 1;
        cChara chara;
        chara.m_bFlying = 1;
        chara.m_nDrawWidth = chara.m_nDrawHeight = 32;
        move.entry.m_nDuration = 60;
        InitMoveStraight(move.entry, chara, 0);
        move.entry.Reset();
        EXPECT_EQ(move.entry.Execute(chara), c.endsAtOnce) << c.name;
        EXPECT_EQ(chara.m_dVX, 0) << c.name;
        EXPECT_EQ(chara.m_dVY, 0) << c.name;
    }
}

TEST(MovementCommands, ACircleMoveFollowsTheWaveSeriesWithItsRadiusClamped)
{
    qbtest::cRestore<cStageData> stage(g_StageData);
    g_StageData.SetSpeedLevel(2);
    const STAGESPEED speed = CurrentStageSpeed();
    MoveCommand move(20, 2);
    move.Move().m_nRadius = 30;       // more than 20 hbl
    move.Move().m_nAngle = 0;
    move.Move().m_nDistance = 90;     // a quarter turn
    move.Move().m_nTimeMode = 1;      // by speed
    cChara chara;
    chara.m_bFlying = 1;
    chara.m_nDirection = 0;
    InitMoveCircle(move.entry, chara, 0);
    EXPECT_EQ(move.entry.m_nRadius, 20 * 16 * 2);
    EXPECT_EQ(move.entry.m_nStartAngle, 0);
    EXPECT_EQ(move.entry.m_nEndAngle, 180);
    EXPECT_EQ(move.entry.m_nDuration, 90);    // 180 / 1 / 2

    const double s = move.entry.m_dSpeed;
    double phaseX = 0;
    double phaseY = 0;
    for (int step = 1; step <= 5; ++step) {
        const double vx = -WaveVelocityCos(20 * 16 * 2, 1, phaseX, 2 * s, 0, speed) * s;
        const double vy = -WaveVelocityCos(20 * 16 * 2, 1, phaseY, 2 * s, 270, speed) * s;
        chara.m_dVX = chara.m_dVY = 0;
        FlowCmdMoveCircle(chara, move.entry);
        EXPECT_DOUBLE_EQ(chara.m_dVX, vx) << "step " << step;
        EXPECT_DOUBLE_EQ(chara.m_dVY, vy) << "step " << step;
    }
}

TEST(MovementCommands, ACircleMirrorsForACharaFacingRightAndDividesByZeroInDoubles)
{
    qbtest::cRestore<cStageData> stage(g_StageData);
    g_StageData.SetSpeedLevel(1);
    struct Case {
        const char* name;
        int direction, mirrorX, mirrorY, mode, duration;
        double speed;
        int sense, start;
        double expectSpeed;
        int expectDuration;
    } cases[] = {
        {"facing left: as given", 0, 1, 0, 0, 90, 1, 0, 0, 1, 90},
        {"facing right, mirrored x: other sense, far side", 1, 1, 0, 0, 90, 1, 1, 180, 1, 90},
        {"facing right, mirrored both: same sense", 1, 1, 1, 0, 90, 1, 0, 180, 1, 90},
        {"a turn in no time: unbounded", 0, 0, 0, 0, 0, 1, 0, 0, INFINITY, 0},
        {"a turn at speed 0: never ends", 0, 0, 0, 1, 5, 0, 0, 0, 0, INT_MIN},
    };
    for (const Case& c : cases) {
        MoveCommand move(0, 1);
        move.Move().m_nRadius = 2;
        move.Move().m_nDistance = 90;
        move.Move().m_bMirrorTargetX = static_cast<BYTE>(c.mirrorX);
        move.Move().m_bMirrorTargetY = static_cast<BYTE>(c.mirrorY);
        move.Move().m_nTimeMode = static_cast<BYTE>(c.mode);
        move.entry.m_nDuration = c.duration;
        move.entry.m_dSpeed = c.speed;
        cChara chara;
        chara.m_nDirection = c.direction;
        InitMoveCircle(move.entry, chara, 0);
        EXPECT_EQ(move.entry.m_nDirectionChoice, c.sense) << c.name;
        EXPECT_EQ(move.entry.m_nStartAngle, c.start) << c.name;
        EXPECT_EQ(move.entry.m_dSpeed, c.expectSpeed) << c.name;
        EXPECT_EQ(move.entry.m_nDuration, c.expectDuration) << c.name;
    }
}

TEST(MovementCommands, AChargeKeepsTheDirectionOfItsFirstStep)
{
    struct Case {
        const char* name;
        int flying, angle;
        double vx, vy;
    } cases[] = {
        {"flying, straight at the target", 1, 0, 3, 0},
        {"walking, along x only", 0, 0, 3, 0},
        // atan2(vx, vy) of (3, 0) is 90; + 90 + 10 turns the charge to 190 degrees.
        {"flying, turned by its angle", 1, 10, 3 * std::cos(190 * 3.141592653589793 / 180),
         -3 * std::sin(190 * 3.141592653589793 / 180)},
    };
    for (const Case& c : cases) {
        MoveCommand move(30, 1);
        move.Move().m_nAngle = static_cast<std::int16_t>(c.angle);
        move.Move().m_bMirrorAngle = 0;
        cChara chara;
        cChara target;
        chara.m_bFlying = c.flying;
        chara.m_nDrawWidth = chara.m_nDrawHeight = 32;
        target.m_nDrawWidth = target.m_nDrawHeight = 32;
        target.m_ScreenRect.left = 200;
        target.m_ScreenRect.top = 0;
        chara.m_lpTarget = &target;
        InitMoveCharge(move.entry, chara, 0);
        for (int step = 1; step <= 3; ++step) {
            chara.m_dVX = chara.m_dVY = 0;
            FlowCmdMoveCharge(chara, move.entry);
            EXPECT_NEAR(chara.m_dVX, c.vx, 1e-12) << c.name << " step " << step;
            EXPECT_NEAR(chara.m_dVY, c.vy, 1e-12) << c.name << " step " << step;
            target.m_ScreenRect.top += 100;   // the target runs away downward
            target.m_ScreenRect.left -= 400;
        }
    }
}

TEST(MovementCommands, AChargeWithoutATargetStandsStill)
{
    MoveCommand move(30, 1);
    cChara chara;
    chara.m_dVX = 5;
    FlowCmdMoveCharge(chara, move.entry);
    FlowCmdMoveCharge(chara, move.entry);
    EXPECT_EQ(chara.m_dVX, 5);
    EXPECT_EQ(move.entry.m_dVX, 0);
}

TEST(MovementCommands, ATurnFacesItsTargetAgainEveryTenthOfASecond)
{
    qbtest::cRestore<cStageData> stage(g_StageData);
    const int n = 2;
    g_StageData.SetSpeedLevel(n);
    MoveCommand move(0, n);
    move.command.m_Params.assign(1, 2);   // toward the target
    cChara chara;
    chara.m_Def.m_bFixedFacing = 1;
    chara.m_nWidth = 32;
    chara.m_nDirection = 0;
    cChara target;
    target.m_nWidth = 32;
    chara.m_lpTarget = &target;
    std::vector<int> turnedAt;
    for (int step = 1; step <= 12 * n; ++step) {
        // The target is always behind the chara as it stands.
        target.m_dX = (chara.m_nDirection != 0) ? -100 : 100;
        const int before = chara.m_nDirection;
        FlowCmdTurn(chara, move.entry);
        if (chara.m_nDirection != before) turnedAt.push_back(step);
    }
    EXPECT_EQ(turnedAt, (std::vector<int>{1, 6 * n + 1}));
}

TEST(MovementCommands, ATurnFacesTheWayItsChoiceSays)
{
    struct Case {
        const char* name;
        int fixedFacing, choice, wallSide, target, direction;
    } cases[] = {
        {"left", 1, 0, -1, 0, 0},
        {"right", 1, 1, -1, 0, 1},
        {"away from a target to the right", 1, 3, -1, 1, 0},
        {"toward the wall hit on the right", 1, 4, 1, 0, 1},
        {"away from the wall hit on the right", 1, 5, 1, 0, 0},
        {"no wall hit: as it was", 1, 5, -1, 0, 1},
        {"toward a missing target: as it was", 1, 2, -1, 0, 1},
        {"a chara that turns by itself: untouched", 0, 0, -1, 0, 1},
    };
    for (const Case& c : cases) {
        MoveCommand move(0, 1);
        move.command.m_Params.assign(1, c.choice);
        cChara chara;
        chara.m_Def.m_bFixedFacing = static_cast<decltype(chara.m_Def.m_bFixedFacing)>(c.fixedFacing);
        chara.m_nDirection = 1;
        chara.m_nWallSide = c.wallSide;
        cChara target;
        target.m_dX = 100;
        if (c.target) chara.m_lpTarget = &target;
        FlowCmdTurn(chara, move.entry);
        EXPECT_EQ(chara.m_nDirection, c.direction) << c.name;
    }
}

TEST(MovementCommands, AHomingMoveAimsWhereItsTargetWasADelayEarlier)
{
    struct Case {
        const char* name;
        int delay;
        std::vector<double> vy;   // the target is above, then below from step 2 on
    } cases[] = {
        {"no delay: re-aims every step", 0, {-3, 3, 3, 3, 3}},
        {"a delay of 2 steps: follows the old point", 2, {-3, -3, -3, -3, 3}},
    };
    for (const Case& c : cases) {
        MoveCommand move(30, 1);
        move.Move().m_nRadius = static_cast<std::int16_t>(c.delay);
        cChara chara;
        chara.m_bFlying = 1;
        chara.m_nDrawWidth = chara.m_nDrawHeight = 32;
        chara.m_ScreenRect.top = 200;
        cChara target;
        target.m_nDrawWidth = target.m_nDrawHeight = 32;
        target.m_ScreenRect.top = 0;
        chara.m_lpTarget = &target;
        qbtest::cRestore<cStageData> stage(g_StageData);
        g_StageData.SetSpeedLevel(1);
        InitMoveHoming(move.entry, chara, 0);
        for (std::size_t step = 0; step < c.vy.size(); ++step) {
            chara.m_dVX = chara.m_dVY = 0;
            FlowCmdMoveHoming(chara, move.entry);
            EXPECT_NEAR(chara.m_dVY, c.vy[step], 1e-12) << c.name << " step " << step + 1;
            target.m_ScreenRect.top = 400;
        }
    }
}

TEST(MovementCommands, AnOffscreenCharaComesBackOnTheSideItsChoiceNames)
{
    struct Case {
        const char* name;
        int choice, left, top;
        double vx, vy;
    } cases[] = {
        {"left, past the right edge: back left", 2, 700, 100, -3, 0},
        {"left, on the screen: stays", 2, 500, 100, 0, 0},
        {"right, past the left edge: back right", 3, -100, 100, 3, 0},
        {"up-left, below and right of the screen", 8, 700, 500, -3, -3},
        {"down, above the screen", 7, 100, -100, 0, 3},
        {"the input direction is no side", 12, 700, 500, 0, 0},
    };
    for (const Case& c : cases) {
        MoveCommand move(30, 1);
        move.entry.m_nDirectionChoice = static_cast<std::uint8_t>(c.choice);
        cChara chara;
        chara.m_bFlying = 1;
        chara.m_ScreenRect.left = c.left;
        chara.m_ScreenRect.right = c.left + 31;
        chara.m_ScreenRect.top = c.top;
        chara.m_ScreenRect.bottom = c.top + 31;
        FlowCmdMoveAvoidOffscreen(chara, move.entry);
        EXPECT_DOUBLE_EQ(chara.m_dVX, c.vx) << c.name;
        EXPECT_DOUBLE_EQ(chara.m_dVY, c.vy) << c.name;
    }
}

TEST(MovementCommands, AnOffscreenCharaFollowsAScrollingScreenBackUntilTheStageEnds)
{
    struct Case {
        const char* name;
        int choice, left;
        double pos, vx;
    } cases[] = {
        {"left, past the right edge: the scroll less its speed", 2, 700, 500, 2 - 3},
        {"left, the screen at the stage's end: stays", 2, 700, 1279, 0},
        {"right, past the left edge: the scroll plus its speed", 3, -100, 500, 2 + 3},
        {"right, the screen at the stage's start: stays", 3, -100, -2, 0},
    };
    for (const Case& c : cases) {
        qbtest::cViewStage view;
        cScrollAxis& axis = view.Scene().m_ScrollX;
        axis.m_dSpeed = 2;
        axis.m_bClamped = 0;
        axis.m_dPos = c.pos;
        axis.m_nExtent = 1920;
        MoveCommand move(30, 1);
        move.entry.m_nDirectionChoice = static_cast<std::uint8_t>(c.choice);
        cChara chara;
        chara.m_ScreenRect.left = c.left;
        chara.m_ScreenRect.right = c.left + 31;
        chara.m_ScreenRect.top = 100;
        chara.m_ScreenRect.bottom = 131;
        FlowCmdMoveAvoidOffscreen(chara, move.entry);
        EXPECT_DOUBLE_EQ(chara.m_dVX, c.vx) << c.name;
    }
}
