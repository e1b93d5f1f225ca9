#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "objects/chara_movement.h"
#include "objects/shot.h"
#include "objects/spawn_param.h"
#include "objects/trajectory.h"
#include "shell/game_arithmetic.h"
#include "tests/stage/stage_fixture.h"

namespace {

bool BitsAlike(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Shots on a trajectory, fired rightward at 4 dots a frame from stage (400, 400); the camera
// shows the stage from (320, 320), so the shot's screen centre starts at (88, 88).
class ShotTrajectory : public qbtest::cStageTest {
protected:
    ShotTrajectory() { g_StageData.SetSpeedLevel(1); }

    cStageChara& AddChara(int layer, int screenX, int screenY)
    {
        Scene().PlaceChara(1, 1, CharaTemplate(), nullptr);
        cStageChara& chara = Scene().m_Charas.back();
        Park(chara, screenX, screenY);
        chara.m_bActive = 1;
        chara.m_bOnScreen = 1;
        Scene().m_CharaLayers.At(layer).push_back(&chara);
        return chara;
    }
    // A chara's screen rectangle 32 x 32 at (x, y), as the stage draw leaves it.
    static void Park(cChara& chara, int x, int y)
    {
        chara.m_nDrawWidth = chara.m_nDrawHeight = 32;
        chara.m_ScreenRect = INTRECT{x, y, x + 31, y + 31};
    }

    cShot Fire(int trajectory, int p1, int p2, int p3, double speed = 4)
    {
        if (Scene().m_Charas.empty()) AddChara(7, 0, 0);
        cEdShot def;
        def.m_nTrajectory = static_cast<BYTE>(trajectory);
        def.m_nTrajectoryParams[0] = static_cast<std::int16_t>(p1);
        def.m_nTrajectoryParams[1] = static_cast<std::int16_t>(p2);
        def.m_nTrajectoryParams[2] = static_cast<std::int16_t>(p3);
        def.m_nSpeed = static_cast<std::int16_t>(speed * 10);
        SPAWNPARAM spawn;
        spawn.speed = speed;
        spawn.vx = speed;
        spawn.x = spawn.y = 400;
        cShot shot;
        shot.InitFromTemplate(1, Scene().m_Charas.front(), kShotObjectShot, def, spawn);
        return shot;
    }

    // One sub-step of flight, the update and the moves.
    static void Fly(cShot& shot)
    {
        ASSERT_EQ(shot.Update(), 0);
        shot.ApplyGravity(g_StageData.m_dGravityPerStep);
        shot.MoveY();
        shot.MoveX();
    }
};

TEST_F(ShotTrajectory, AimingOnceTurnsAfterItsDistanceInTheRightUpdate)
{
    struct Case { int kind; int hbl; double speed; int turn; } cases[] = {
        {kTrajectoryAimHero, 2, 4, 8},   // 32 dots at 4 dots a sub-step
        {kTrajectoryAimHero, 0, 4, 0},   // at once
        {kTrajectoryAimHero, 2, 0, 0},   // no speed: at once, never a division by it
        {kTrajectoryAimNearest, 3, 4, 12},
    };
    for (const auto& c : cases) {
        Park(m_Player, 88, 0);   // straight above the shot's start
        AddChara(2, 88, 0);
        cShot shot = Fire(c.kind, c.hbl, 2, 0, c.speed);
        for (int update = 0; update <= c.turn; ++update) {
            EXPECT_EQ(shot.m_dOwnVY, 0) << "kind " << c.kind << " update " << update;
            Fly(shot);
        }
        EXPECT_EQ(shot.m_bTrajectoryDone, 1);
        EXPECT_LE(shot.m_dOwnVY, 0) << "kind " << c.kind;
        if (c.speed > 0) {
            EXPECT_LT(shot.m_dOwnVY, 0) << "kind " << c.kind;
        }
        Scene().m_Charas.clear();
        for (auto& layer : Scene().m_CharaLayers) layer.clear();
    }
}

TEST_F(ShotTrajectory, AimingAtATargetThatIsGoneOrDeadFliesStraight)
{
    for (bool dead : {false, true}) {
        cStageChara& target = AddChara(1, 88, 0);
        cShot shot = Fire(kTrajectoryAimTarget, 0, 0, 0);
        shot.m_lpTarget = dead ? &target : nullptr;
        target.m_bDead = dead ? 1 : 0;
        for (int update = 0; update < 5; ++update) Fly(shot);
        EXPECT_EQ(shot.m_bTrajectoryDone, 1);
        EXPECT_EQ(shot.m_dOwnVX, 4);
        EXPECT_EQ(shot.m_dOwnVY, 0);
    }
}

TEST_F(ShotTrajectory, HomingRunsFromItsStartToTheUpdateBeforeItsEnd)
{
    for (int k : {1, 3}) {
        g_StageData.SetSpeedLevel(k);
        cShot shot = Fire(kTrajectoryHomeHero, 2, 10, 0);
        const double v = 40 * 0.1 / k;
        const int start = TruncToInt(32 / v);
        const int end = TruncToInt(160 / v);
        EXPECT_EQ(shot.m_nTrajectoryStart, 0);
        int firstHoming = -1;
        int done = -1;
        for (int update = 0; update < end + 5; ++update) {
            // The hero keeps moving, so that every homing update changes the velocity.
            Park(m_Player, 88 + update * 7, 300);
            const double before = shot.m_dOwnVY;
            Fly(shot);
            if (firstHoming < 0 && shot.m_dOwnVY != before) firstHoming = update;
            if (done < 0 && shot.m_bTrajectoryDone) done = update;
        }
        EXPECT_EQ(firstHoming, start) << "k " << k;
        EXPECT_EQ(done, end) << "k " << k;
    }
}

TEST_F(ShotTrajectory, HomingWithAnEndOfZeroNeverHomes)
{
    cShot shot = Fire(kTrajectoryHomeHero, 0, 0, 0);
    Park(m_Player, 88, 300);
    Fly(shot);
    EXPECT_EQ(shot.m_bTrajectoryDone, 1);
    EXPECT_EQ(shot.m_dOwnVY, 0);
}

TEST_F(ShotTrajectory, HomingOnTheNearestSwitchesAsSoonAsAnotherIsNearer)
{
    for (int kind : {kTrajectoryHomeNearest, kTrajectoryHomeNearestSwitching}) {
        cStageChara& above = AddChara(3, 88, -200);
        cStageChara& below = AddChara(3, 88, 500);
        cShot shot = Fire(kind, 0, 50, 3);
        Fly(shot);
        EXPECT_LT(shot.m_dOwnVY, 0) << kind;
        Park(below, 100, 120);
        Fly(shot);
        EXPECT_GT(shot.m_dOwnVY, 0) << kind;
        Park(above, 100, 60);
        Fly(shot);
        EXPECT_LT(shot.m_dOwnVY, 0) << kind;
        Scene().m_Charas.clear();
        for (auto& layer : Scene().m_CharaLayers) layer.clear();
    }
}

TEST_F(ShotTrajectory, AnAcceleratingHomingShotTakesTheAimOnceButReAimsItsAcceleration)
{
    cShot shot = Fire(kTrajectoryHomeHero, 0, 50, 0);
    shot.m_bAccelerating = 1;
    shot.m_dAcceleration = 6;
    Park(m_Player, 88, 300);
    Fly(shot);
    const double aimedVY = shot.m_dOwnVY;
    EXPECT_GT(shot.m_dInertiaY, 0);
    Park(m_Player, 88, -300);
    Fly(shot);
    // The velocity only gathers the acceleration; the acceleration points at the hero again.
    EXPECT_LT(shot.m_dInertiaY, 0);
    EXPECT_GT(shot.m_dOwnVY, aimedVY + 2 * shot.m_dInertiaY - 1e-12);
}

TEST_F(ShotTrajectory, TheWaveFollowsItsDerivativeFormFromItsStartAngleBothWays)
{
    struct Case { int k; int start; int facing; } cases[] = {
        {1, 0, 1}, {1, 90, 1}, {1, 0, 0}, {1, 90, 0}, {3, 0, 1}, {3, 90, 0},
    };
    for (const auto& c : cases) {
        g_StageData.SetSpeedLevel(c.k);
        const STAGESPEED speed = CurrentStageSpeed();
        const double dir = c.facing ? 4.0 : -4.0;
        cEdShot def;
        def.m_nTrajectory = kTrajectoryWave;
        def.m_nTrajectoryParams[0] = 4;
        def.m_nTrajectoryParams[1] = 6;
        def.m_nTrajectoryParams[2] = static_cast<std::int16_t>(c.start);
        SPAWNPARAM spawn;
        spawn.vx = dir;
        spawn.speed = 4;
        spawn.x = spawn.y = 400;
        if (Scene().m_Charas.empty()) AddChara(7, 0, 0);
        cShot shot;
        shot.InitFromTemplate(1, Scene().m_Charas.front(), kShotObjectShot, def, spawn);

        // The reference, as the trajectory is written.
        double vx = dir / c.k;
        double vy = 0;
        const double theta0 = c.facing ? c.start : c.start + 180.0;
        double phase = theta0 / 6 * c.k;
        double g = WaveVelocityCos(64, 6, phase, 1.0, 0.0, speed);
        double heading = std::atan2(vy, vx);
        if (heading < 0) heading += 2 * kGamePi;
        const double across = DegToRad(heading * 57.29577951308232 - 90);
        const double cs = std::cos(across);
        const double sn = std::sin(across);
        vx += g * cs;
        vy += g * sn;
        for (int update = 0; update < 40; ++update) {
            if (update > 0) {
                g = WaveVelocitySin(64, 6, phase, 1.0, 0.0, speed);
                const double nx = vx + g * cs;
                const double ny = vy + g * sn;
                vx = ((vx < 0 && nx > 0) || (vx > 0 && nx < 0)) ? 0.0 : nx;
                vy = ((vy < 0 && ny > 0) || (vy > 0 && ny < 0)) ? 0.0 : ny;
            }
            Fly(shot);
            ASSERT_TRUE(BitsAlike(shot.m_dOwnVX, vx)) << "k " << c.k << " start " << c.start << " update " << update;
            ASSERT_TRUE(BitsAlike(shot.m_dOwnVY, vy)) << "k " << c.k << " start " << c.start << " update " << update;
        }
        EXPECT_EQ(shot.m_nSteps, 1);
        EXPECT_EQ(shot.m_Def.m_nTrajectoryParams[0], 64);
    }
}

TEST_F(ShotTrajectory, AWaveOfSpeedZeroFliesStraight)
{
    cShot shot = Fire(kTrajectoryWave, 4, 0, 45);
    for (int update = 0; update < 10; ++update) Fly(shot);
    EXPECT_EQ(shot.m_dOwnVX, 4);
    EXPECT_EQ(shot.m_dOwnVY, 0);
    EXPECT_DOUBLE_EQ(shot.m_dX, 440);
}

TEST_F(ShotTrajectory, TheFallBeginsAfterItsDistanceAndKeepsTheHorizontalSpeed)
{
    cShot shot = Fire(kTrajectoryFall, 1, 0, 0);
    for (int update = 0; update < 4; ++update) Fly(shot);
    EXPECT_EQ(shot.m_bFlying, 1);
    Fly(shot);
    EXPECT_EQ(shot.m_bFlying, 0);
    const double y = shot.m_dY;
    for (int update = 0; update < 10; ++update) Fly(shot);
    EXPECT_GT(shot.m_dY, y);
    EXPECT_EQ(shot.m_dOwnVX, 4);
}

TEST_F(ShotTrajectory, AKindOutsideTheTableFliesStraight)
{
    for (int kind : {10, 127, 200, 255}) {
        cShot shot = Fire(kind, 1, 1, 1);
        for (int update = 0; update < 5; ++update) Fly(shot);
        EXPECT_DOUBLE_EQ(shot.m_dX, 420) << kind;
        EXPECT_EQ(shot.m_nSteps, 0) << kind;
    }
}

}  // namespace
