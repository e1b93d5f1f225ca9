#include "objects/trajectory.h"

#include "data/stage_data.h"
#include "objects/chara.h"
#include "objects/chara_movement.h"
#include "objects/chara_search.h"
#include "objects/shot.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"

namespace {

// The hbl a parameter counts, turned into updates of v dots; a speed of 0 gives 0, so that
// the turn or the homing window comes at the first update.
int UpdatesFor(int halfBlocks, double v)
{
    if (halfBlocks == 0 || v == 0) return 0;
    return TruncToInt(halfBlocks * 16 / v);
}

// The first update of kinds 1 to 7 and 9: the speed and the counts at which they act.
void FirstUpdate(cShot& shot, bool homing)
{
    if (shot.m_nSteps != 0) return;
    const cEdShot& def = shot.m_Def;
    shot.m_dTrajectorySpeed = (def.m_nSpeed + def.m_nSpeedStep * shot.m_sCopyIndex) * 0.1 / CurrentStageSpeed().dSteps;
    if (def.m_nTrajectoryParams[0] != 0)
        shot.m_nTrajectoryStart = UpdatesFor(def.m_nTrajectoryParams[0], shot.m_dTrajectorySpeed);
    if (homing && def.m_nTrajectoryParams[1] != 0)
        shot.m_nTrajectoryEnd = UpdatesFor(def.m_nTrajectoryParams[1], shot.m_dTrajectorySpeed);
}

bool Alive(const cChara* chara)
{
    return chara && chara->m_bDead == 0;
}

// The chara of hit layer `layer` nearest to the shot's screen centre; a layer outside the
// stage's eight has none.
cChara* NearestOfLayer(const cShot& shot, int layer)
{
    cPlayScene* scene = Scene();
    if (!scene || layer < 0 || layer >= static_cast<int>(scene->m_CharaLayers.size())) return nullptr;
    return FindNearestCharaToPoint(ScreenCentreX(shot), ScreenCentreY(shot), scene->m_CharaLayers.At(layer),
                                   g_StageData.m_bOnScreenOnly);
}

// The approach toward a chara's screen centre at the trajectory speed: the shot is the mover,
// its scroll-relative flag the relative flag, mode 1 (never flee) and no arrival test.
void SolveToward(const cShot& shot, const cChara& chara, double& vx, double& vy)
{
    int direction = 0;
    vx = vy = 0;
    SolveApproachVelocity(vx, vy, direction, &shot, ScreenCentreX(shot), ScreenCentreY(shot), ScreenCentreX(chara),
                          ScreenCentreY(chara), shot.m_dTrajectorySpeed, shot.m_bScrollRelative, 1, 0,
                          CurrentApproachScroll());
}

template <class Choose>
void AimOnce(cShot& shot, Choose choose)
{
    FirstUpdate(shot, false);
    if (shot.m_bTrajectoryDone) return;
    if (shot.m_nSteps == shot.m_nTrajectoryStart) {
        shot.UpdateScreenRect();
        if (const cChara* target = choose()) {
            SolveToward(shot, *target, shot.m_dOwnVX, shot.m_dOwnVY);
            if (shot.m_bAccelerating)
                shot.VelocityToward(shot.m_dInertiaX, shot.m_dInertiaY, shot.m_dOwnVX, shot.m_dOwnVY);
        }
        // Done whether or not a target was there: the shot turns once or never.
        shot.m_bTrajectoryDone = 1;
    }
    shot.m_nSteps = WrapAdd(shot.m_nSteps, 1);
}

template <class Choose>
void Home(cShot& shot, Choose choose)
{
    FirstUpdate(shot, true);
    if (shot.m_bTrajectoryDone) return;
    if (shot.m_nSteps >= shot.m_nTrajectoryEnd) {
        shot.m_bTrajectoryDone = 1;
    } else if (shot.m_nSteps >= shot.m_nTrajectoryStart) {
        shot.UpdateScreenRect();
        if (const cChara* target = choose()) shot.SteerToward(*target);
    }
    shot.m_nSteps = WrapAdd(shot.m_nSteps, 1);
}

// The sign of a component flipped in one step.
bool Flipped(double before, double after)
{
    return (before < 0 && after > 0) || (before > 0 && after < 0);
}

}  // namespace

int ScreenCentreX(const cGameObject& object)
{
    return WrapAdd(object.m_ScreenRect.left, object.m_nDrawWidth / 2);
}

int ScreenCentreY(const cGameObject& object)
{
    return WrapAdd(object.m_ScreenRect.top, object.m_nDrawHeight / 2);
}

void RunTrajectory(cShot& shot)
{
    switch (static_cast<signed char>(shot.m_Def.m_nTrajectory)) {
    case kTrajectoryAimHero: TrajectoryAimHero(shot); break;
    case kTrajectoryAimNearest: TrajectoryAimNearest(shot); break;
    case kTrajectoryAimTarget: TrajectoryAimTarget(shot); break;
    case kTrajectoryHomeHero: TrajectoryHomeHero(shot); break;
    case kTrajectoryHomeNearest:
    case kTrajectoryHomeNearestSwitching: TrajectoryHomeNearest(shot); break;
    case kTrajectoryHomeTarget: TrajectoryHomeTarget(shot); break;
    case kTrajectoryWave: TrajectoryWave(shot); break;
    case kTrajectoryFall: TrajectoryFall(shot); break;
    default: break;   // straight, and kinds the table does not have
    }
}

void TrajectoryAimHero(cShot& shot)
{
    AimOnce(shot, [] { return PlayerOne(); });
}

void TrajectoryAimNearest(cShot& shot)
{
    AimOnce(shot, [&shot] { return NearestOfLayer(shot, shot.m_Def.m_nTrajectoryParams[1]); });
}

void TrajectoryAimTarget(cShot& shot)
{
    AimOnce(shot, [&shot] { return Alive(shot.m_lpTarget) ? shot.m_lpTarget : nullptr; });
}

void TrajectoryHomeHero(cShot& shot)
{
    Home(shot, [] { return PlayerOne(); });
}

void TrajectoryHomeNearest(cShot& shot)
{
    Home(shot, [&shot] { return NearestOfLayer(shot, shot.m_Def.m_nTrajectoryParams[2]); });
}

void TrajectoryHomeTarget(cShot& shot)
{
    Home(shot, [&shot] { return Alive(shot.m_lpTarget) ? shot.m_lpTarget : nullptr; });
}

void cShot::SteerToward(const cChara& chara)
{
    double vx = 0;
    double vy = 0;
    SolveToward(*this, chara, vx, vy);
    // An accelerating shot takes the aim once, at the first homing update; its acceleration
    // follows the target at every one.
    if (!m_bAccelerating || m_nSteps == m_nTrajectoryStart) {
        m_dOwnVX = vx;
        m_dOwnVY = vy;
    }
    if (m_bAccelerating) VelocityToward(m_dInertiaX, m_dInertiaY, vx, vy);
}

void TrajectoryWave(cShot& shot)
{
    const STAGESPEED speed = CurrentStageSpeed();
    std::int16_t* params = shot.m_Def.m_nTrajectoryParams;
    const int angleSpeed = params[1];
    if (shot.m_nSteps == 0) {
        params[0] = static_cast<std::int16_t>(WrapMul(params[0], 16));
        shot.m_nSteps = 1;
        // A wave speed of 0 has no phase (θ0 / 0): the shot flies straight instead.
        if (angleSpeed == 0) return;
        const double start = (shot.m_nDirection == 0) ? params[2] + 180.0 : static_cast<double>(params[2]);
        shot.m_dWavePhase = start / angleSpeed * speed.dSteps;
        const double g = WaveVelocityCos(params[0], angleSpeed, shot.m_dWavePhase, 1.0, 0.0, speed);
        double heading = GameAtan2(shot.m_dOwnVY, shot.m_dOwnVX);
        if (heading < 0) heading += 2 * kGamePi;
        const double across = DegToRad(heading * 57.29577951308232 - 90);
        shot.m_dWaveCos = GameCos(across);
        shot.m_dWaveSin = GameSin(across);
        shot.m_dOwnVX += g * shot.m_dWaveCos;
        shot.m_dOwnVY += g * shot.m_dWaveSin;
    } else {
        if (angleSpeed == 0) return;
        const double g = WaveVelocitySin(params[0], angleSpeed, shot.m_dWavePhase, 1.0, 0.0, speed);
        const double vx = shot.m_dOwnVX + g * shot.m_dWaveCos;
        const double vy = shot.m_dOwnVY + g * shot.m_dWaveSin;
        shot.m_dOwnVX = Flipped(shot.m_dOwnVX, vx) ? 0.0 : vx;
        shot.m_dOwnVY = Flipped(shot.m_dOwnVY, vy) ? 0.0 : vy;
    }
    if (shot.m_bAccelerating) shot.VelocityToward(shot.m_dInertiaX, shot.m_dInertiaY, shot.m_dOwnVX, shot.m_dOwnVY);
}

void TrajectoryFall(cShot& shot)
{
    FirstUpdate(shot, false);
    if (shot.m_bTrajectoryDone) return;
    if (shot.m_nSteps >= shot.m_nTrajectoryStart) {
        shot.m_dVY = shot.m_dOwnVY;
        shot.m_bFlying = 0;
        shot.m_bTrajectoryDone = 1;
    }
    shot.m_nSteps = WrapAdd(shot.m_nSteps, 1);
}
