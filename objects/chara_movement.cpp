#include "objects/chara_movement.h"

#include "data/role_accessors.h"
#include "data/stage_data.h"
#include "objects/object_base.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"

namespace {

constexpr double kOneOverSqrt2 = 0.7071067811865476;

// Takes the auto-scroll out of a velocity, so that the mover keeps its aim on the screen.
void Compensate(double& vx, double& vy, const APPROACHSCROLL& scroll)
{
    vx -= scroll.dSx;
    vy -= scroll.dSy;
}

enum class Solve { kSolved, kStop, kNoRoot };

// The velocity of magnitude |(vx, vy)| for which (vx - Sx, vy - Sy) points along (dx, dy),
// solved on the longer axis. Where the equation has no usable answer the velocity is left as
// it is: kStop for no extent on the longer axis or no time to meet (the approach ends there),
// kNoRoot for a scroll faster than the mover (a negative discriminant).
Solve SolveAlongScroll(double& vx, double& vy, double dx, double dy, double fromX, double fromY,
                      double toX, double toY, const APPROACHSCROLL& scroll)
{
    const double sx = scroll.dSx;
    const double sy = scroll.dSy;
    const double s2 = vx * vx + vy * vy;
    const double dx2 = dx * dx;
    const double dy2 = dy * dy;
    const double cross = sx * sx * dy2 + sy * sy * dx2 - 2 * sy * sx * dx * dy;
    if (Magnitude(dx) <= Magnitude(dy)) {
        if (dy2 == 0) return Solve::kStop;
        const double a = dx2 / dy2 + 1;
        const double b = (2 * dx2 * sy - 2 * sx * dx * dy) / dy2;
        const double c = cross / dy2 - s2;
        const double discriminant = b * b - 4 * a * c;
        if (discriminant < 0) return Solve::kNoRoot;
        double newVy = (b + GameSqrt(discriminant)) / (2 * a);
        if (dy < 0) newVy = -newVy;
        const double divisor = sy - newVy;
        if (divisor == 0) return Solve::kStop;
        const double t = (fromY - toY) / divisor;
        if (t == 0) return Solve::kStop;
        vy = newVy;
        vx = (t * sx + dx) / t;
        return Solve::kSolved;
    }
    const double a = dy2 / dx2 + 1;
    const double b = (2 * dy2 * sx - 2 * sy * dx * dy) / dx2;
    const double c = cross / dx2 - s2;
    const double discriminant = b * b - 4 * a * c;
    if (discriminant < 0) return Solve::kNoRoot;
    double newVx = (b + GameSqrt(discriminant)) / (2 * a);
    if (dx < 0) newVx = -newVx;
    const double divisor = sx - newVx;
    if (divisor == 0) return Solve::kStop;
    const double t = (fromX - toX) / divisor;
    if (t == 0) return Solve::kStop;
    vx = newVx;
    vy = (t * sy + dy) / t;
    return Solve::kSolved;
}

int DirectionOf(double vx)
{
    if (vx < 0) return 1;
    if (vx > 0) return 2;
    return 0;
}

}  // namespace

APPROACHSCROLL CurrentApproachScroll()
{
    APPROACHSCROLL scroll;
    if (const cPlayScene* scene = g_lpPlayScene.load(std::memory_order_relaxed)) {
        scroll.dSx = scene->m_ScrollX.CarrySpeed();
        scroll.dSy = scene->m_ScrollY.CarrySpeed();
    }
    scroll.bCarry = ScrollCarrySwitch();
    return scroll;
}

STAGESPEED CurrentStageSpeed()
{
    STAGESPEED speed;
    speed.nSteps = g_StageData.m_nSubSteps;
    speed.dSteps = g_StageData.m_dSubSteps;
    speed.dSteps2 = g_StageData.m_dSubStepsSquared;
    speed.dBaseGravity = g_StageData.m_dGravity;
    speed.dGravity = g_StageData.m_dGravityPerStep;
    speed.dSpeedLimit = g_StageData.m_dSpeedLimitPerStep;
    speed.nFallLimit = g_StageData.m_nSubSteps8;
    return speed;
}

int HblToDot(std::int8_t halfBlocks)
{
    return halfBlocks * 16;
}

double HundredthsToStepSpeed(std::int16_t hundredths, const STAGESPEED& speed)
{
    return hundredths * 0.01 / speed.dSteps2;
}

double DotsPerSecondToStep(double dotsPerSecond, const STAGESPEED& speed)
{
    return dotsPerSecond / speed.dSteps * kOneSixtieth;
}

double JumpSpeedForHeight(double height, int kind, const STAGESPEED& speed)
{
    const double g = speed.dGravity;
    double v = (-g - GameSqrt((8 * height + g) * g)) * 0.5;
    if (kind == 0) v *= (0.99 - speed.dBaseGravity * 0.025);
    return v;
}

double JumpSpeedForHeightHbl(std::int8_t halfBlocks, int kind, const STAGESPEED& speed)
{
    return JumpSpeedForHeight(halfBlocks * 16, kind, speed);
}

int StepsToApex(double startSpeed, const STAGESPEED& speed)
{
    return TruncToInt(speed.dSteps - startSpeed / speed.dGravity);
}

int JumpDurationForHeight(std::int8_t halfBlocks, int kind, const STAGESPEED& speed)
{
    const int steps = (speed.nSteps < 1) ? 1 : speed.nSteps;
    const int apex = StepsToApex(JumpSpeedForHeightHbl(halfBlocks, kind, speed), speed);
    return WrapAdd(WrapDiv(WrapDiv(apex, steps), 6), 1);
}

int ResistKnockback(int strength, int resistance)
{
    if (strength < 0) {
        strength = WrapAdd(strength, resistance);
        if (strength < -20) strength = -20;
        if (strength > 0) strength = 0;
    } else if (strength > 0) {
        strength = WrapSub(strength, resistance);
        if (strength < 0) strength = 0;
        if (strength > 20) strength = 20;
    }
    return strength;
}

double KnockbackSpeed(double d, const STAGESPEED& speed)
{
    const double b = speed.dSteps;
    if (d > 0) return (GameSqrt(1 + 128 * b * d) - 1) / (2 * b);
    if (d < 0) return -(GameSqrt(1 - 128 * b * d) - 1) / (2 * b);
    return 0;
}

double WaveVelocityCos(int amplitude, int angleSpeed, double& phase, double step, double start,
                       const STAGESPEED& speed)
{
    const double b = speed.dSteps;
    const double angle = DegToRad((phase / b + start) * angleSpeed);
    const double omega = DegToRad(angleSpeed);
    const double value = static_cast<double>(amplitude) * omega * GameCos(angle) / b;
    phase += step;
    if (phase >= 360 * b) phase -= 360 * b;
    return value;
}

double WaveVelocitySin(int amplitude, int angleSpeed, double& phase, double step, double start,
                       const STAGESPEED& speed)
{
    const double b = speed.dSteps;
    const double angle = DegToRad((phase / b + start) * angleSpeed);
    const double omega = DegToRad(angleSpeed);
    const double value = -static_cast<double>(amplitude) * omega * omega * GameSin(angle) / (b * b);
    phase += step;
    if (phase >= 360 * b) phase -= 360 * b;
    return value;
}

int SolveApproachVelocity(double& vx, double& vy, int& direction, const cGameObject* mover,
                          double fromX, double fromY, double toX, double toY, double speed,
                          int relative, int mode, int arrival, const APPROACHSCROLL& scroll)
{
    const double dx = toX - fromX;
    const double dy = toY - fromY;
    vx = 0;
    vy = 0;
    const bool scrollRelative = mover && mover->m_bScrollRelative != 0;
    if (mode == 0 && speed < 0) {
        const double v = -speed * kOneOverSqrt2;
        vx = (fromX >= toX) ? v : -v;
        vy = (fromY < toY) ? -v : v;
        if (scroll.bCarry) {
            vx += scroll.dSx;
            vy += scroll.dSy;
        } else if (mover && (relative == 0) == scrollRelative) {
            Compensate(vx, vy, scroll);
        }
        direction = DirectionOf(vx);
        return 0;
    }
    double dist = GameSqrt(dx * dx + dy * dy);
    if (dist == 0) dist = 1;
    vx = dx / dist * speed;
    vy = dy / dist * speed;
    if (scroll.bCarry) {
        vx += scroll.dSx;
        vy += scroll.dSy;
    } else if (mover) {
        if (relative == 0 && scrollRelative) {
            // A scroll faster than the mover keeps the direct aim.
            if ((scroll.dSx != 0 || scroll.dSy != 0)
                && SolveAlongScroll(vx, vy, dx, dy, fromX, fromY, toX, toY, scroll) == Solve::kStop)
                return 0;
        } else if (!scrollRelative) {
            Compensate(vx, vy, scroll);
        }
    }
    direction = DirectionOf(vx);
    return (arrival && Magnitude(dx) < Magnitude(speed) && Magnitude(dy) < Magnitude(speed)) ? 1 : 0;
}

int ApproachX(double& vx, double& vy, int& direction, const cGameObject* mover, double from,
              double to, double speed, int relative, int arrival, const APPROACHSCROLL& scroll)
{
    if (to <= from) {
        vx = -speed;
        direction = 1;
    } else {
        vx = speed;
        direction = 2;
    }
    vy = 0;
    if (relative == 0 && mover && mover->m_bScrollRelative != 0 && scroll.bCarry) vx += scroll.dSx;
    return (arrival && Magnitude(from - to) < Magnitude(speed)) ? 1 : 0;
}

int ApproachY(double& vx, double& vy, int& direction, const cGameObject* mover, double from,
              double to, double speed, int relative, int arrival, const APPROACHSCROLL& scroll)
{
    vy = (to <= from) ? -speed : speed;
    vx = 0;
    direction = 0;
    if (relative == 0 && mover && mover->m_bScrollRelative != 0 && scroll.bCarry) vy += scroll.dSy;
    return (arrival && Magnitude(from - to) < Magnitude(speed)) ? 1 : 0;
}

int SpanOverlapsRange(int p, int size, int lo, int hi, int margin, int back, int front, int both)
{
    const int half = size / 2;
    const int centre = WrapAdd(p, half);
    int start;
    int end;
    if (both && back == 0 && front == 0) {
        start = WrapSub(centre, half);
        end = WrapAdd(centre, half);
    } else {
        start = WrapSub(WrapSub(centre, back > 0 ? half : 0), back);
        end = WrapAdd(WrapAdd(centre, front > 0 ? half : 0), front);
    }
    return (start <= WrapSub(hi, margin) && WrapAdd(lo, margin) <= end) ? 1 : 0;
}
