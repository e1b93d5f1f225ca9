#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>

#include "data/move_part.h"
#include "flow/movement_commands.h"
#include "flow/running_flow.h"
#include "objects/chara.h"

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
