// The movement commands: each step computes a velocity and hands it to the chara, which then
// moves with block collision in its own update.
#include "flow/movement_commands.h"

#include <cmath>

#include "data/move_part.h"
#include "data/role_accessors.h"
#include "flow/command_table.h"
#include "flow/running_flow.h"
#include "objects/chara.h"
#include "play/block_grid.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"
#include "shell/game_requests.h"

namespace {

constexpr double kQ = 0.7071067811865476;

const cEdMove* MoveOf(const cFlowCommandEntry& entry)
{
    return entry.m_lpCommand ? entry.m_lpCommand->m_pMove.get() : nullptr;
}

}  // namespace

int ResolveMoveDirection(const cChara& chara, int choice)
{
    const bool right = chara.m_nDirection != 0;
    switch (choice) {
    case 0: return right ? 3 : 2;
    case 1: return right ? 2 : 3;
    case 4: return right ? 7 : 6;
    case 5: return right ? 6 : 7;
    case 12: {
        static constexpr int kKeyDirections[9] = {0, 2, 3, 6, 7, 8, 9, 10, 11};
        const cPlayScene* scene = g_lpPlayScene.load(std::memory_order_relaxed);
        const int key = (scene && scene->m_lpCurFlow) ? scene->m_lpCurFlow->m_nStartKey : 0;
        int code = (key >= 1 && key <= 8) ? kKeyDirections[key] : (right ? 3 : 2);
        if (chara.m_bFlying == 0) {
            if (code == 8 || code == 9) code = 2;
            if (code == 10 || code == 11) code = 3;
        }
        return code;
    }
    default: return choice;
    }
}

namespace {

int FacingRequestOf(const cChara& chara, int code)
{
    if (CharaFixedFacing(chara.m_Def) != 0) return 0;
    if (code == 2 || code == 8 || code == 9) return 1;
    if (code == 3 || code == 10 || code == 11) return 2;
    return 0;
}

void VelocityByDirection(const cChara& chara, cFlowCommandEntry& entry, int code)
{
    const double s = entry.m_dSpeed;
    double vx = 0;
    double vy = 0;
    switch (code) {
    case 2: vx = -s; break;
    case 3: vx = s; break;
    case 6: vy = -s; break;
    case 7: vy = s; break;
    case 8: vx = -kQ * s; vy = -kQ * s; break;
    case 9: vx = -kQ * s; vy = kQ * s; break;
    case 10: vx = kQ * s; vy = -kQ * s; break;
    case 11: vx = kQ * s; vy = kQ * s; break;
    default: break;
    }
    entry.m_dVX = vx;
    entry.m_dVY = (chara.m_bFlying != 0) ? vy : 0;
    entry.m_nFacingRequest = FacingRequestOf(chara, code);
}

void VelocityByDirectionAngle(const cChara& chara, cFlowCommandEntry& entry, int code)
{
    static constexpr int kBase[12] = {0, 0, 0, 180, 0, 0, 90, 270, 45, 315, 135, 225};
    const int base = (code >= 0 && code < 12) ? kBase[code] : 0;
    const double a = DegToRad(entry.m_nAngle + base);
    entry.m_dVX = -GameCos(a) * entry.m_dSpeed;
    entry.m_dVY = (chara.m_bFlying != 0) ? -GameSin(a) * entry.m_dSpeed : 0;
    entry.m_nFacingRequest = FacingRequestOf(chara, code);
}

// The stage scroll, or none outside a stage.
void StageScroll(double& x, double& y, int& margin)
{
    const cPlayScene* scene = g_lpPlayScene.load(std::memory_order_relaxed);
    x = scene ? scene->m_ScrollX.m_dPos : 0;
    y = scene ? scene->m_ScrollY.m_dPos : 0;
    margin = scene ? scene->m_ScrollX.m_nMargin : 10;
}

// Velocity toward the target offsets, read by the coordinate mode from the home point, the
// chara's centre, the stage or the screen. With the arrive flag the entry ends on arrival.
void VelocityToPoint(const cChara& chara, cFlowCommandEntry& entry, const cEdMove& move)
{
    double scrollX = 0;
    double scrollY = 0;
    int margin = 0;
    StageScroll(scrollX, scrollY, margin);
    const double cx = chara.m_ScreenRect.left + chara.m_nDrawWidth / 2 + scrollX;
    const double cy = chara.m_ScreenRect.top + chara.m_nDrawHeight / 2 + scrollY;
    const double X = entry.m_nTargetX;
    const double Y = entry.m_nTargetY;
    double gx = cx + X;
    double gy = cy + Y;
    switch (move.m_nCoordinates) {
    case 0: gx = chara.m_dHomeX + X; gy = chara.m_dHomeY + Y; break;
    case 2: gx = margin * 32 + X + 16; gy = margin * 32 + Y + 16; break;
    case 3: gx = X + scrollX + 16; gy = Y + scrollY + 16; break;
    default: break;
    }
    const double dx = move.m_bMoveX ? gx - cx : 0;
    const double dy = move.m_bMoveY ? gy - cy : 0;
    const double s = entry.m_dSpeed;
    const double dist = std::sqrt(dx * dx + dy * dy);
    entry.m_dVX = entry.m_dVY = 0;
    entry.m_nFacingRequest = 0;
    if (dist == 0) {
        // Already there: a move that ends on arrival has arrived, whatever its speed.
        if (move.m_bEndAtTarget) entry.m_nRemaining = 0;
        return;
    }
    if (!MoveNoX(move)) entry.m_dVX = dx / dist * s;
    if (!MoveNoY(move)) entry.m_dVY = dy / dist * s;
    if (CharaFixedFacing(chara.m_Def) == 0) {
        if (entry.m_dVX < -1e-8) entry.m_nFacingRequest = 1;
        else if (entry.m_dVX > 1e-8) entry.m_nFacingRequest = 2;
    }
    if (move.m_bEndAtTarget && s != 0) {
        entry.m_nRemaining = TruncToInt(std::fabs(dist) / std::fabs(s));
        if (move.m_bStopAtTarget && entry.m_nRemaining <= 0) {
            if (!MoveNoX(move)) entry.m_dVX = 0;
            if (!MoveNoY(move)) entry.m_dVY = 0;
            entry.m_nFacingRequest = 0;
        }
    }
}

// Aims the chara at (x, y) on the axes the command moves along.
void ApproachByAxes(cChara& chara, cFlowCommandEntry& entry, const cChara* target, double x, double y, int noX,
                    int noY, int arrival)
{
    const int relative = chara.m_bScrollRelative;
    if (noX == 0 && noY == 0) chara.MoveToward(entry, target, x, y, relative, arrival);
    else if (noX == 0) chara.MoveTowardX(entry, target, x, relative, arrival);
    else if (noY == 0) chara.MoveTowardY(entry, target, y, relative, arrival);
    else {
        entry.m_dVX = entry.m_dVY = 0;
        entry.m_nFacingRequest = 0;
    }
}

// One axis of the way back onto the screen: toward the far side (`back`) when the chara is
// beyond the near edge, or the near side (`forward`). A scrolling axis is followed, and only
// while it can still move that way.
double OffscreenAxisVelocity(const cScrollAxis* axis, int screen, bool back, bool forward, int low, int high,
                             double s)
{
    if (!axis || axis->m_dSpeed == 0 || axis->m_bClamped != 0) {
        if (back && low > screen - 32) return -s;
        if (forward && high < 32) return s;
        return 0;
    }
    const double a = axis->m_dSpeed;
    const double p = axis->m_dPos;
    const double span = axis->m_nExtent - screen;
    const double lead = std::fabs(a + 1);
    if (back && low > screen - 32 - lead && p > 0 && a + p <= span) return a - s;
    if (forward && high < lead + 32 && a + p > 0 && p < span) return a + s;
    return 0;
}

void OffscreenReturnVelocity(const cChara& chara, cFlowCommandEntry& entry)
{
    const int choice = entry.m_nDirectionChoice;
    const int code = (choice == 12) ? 12 : ResolveMoveDirection(chara, choice);
    const bool left = code == 2 || code == 8 || code == 9;
    const bool right = code == 3 || code == 10 || code == 11;
    const bool up = code == 6 || code == 8 || code == 10;
    const bool down = code == 7 || code == 9 || code == 11;
    const cPlayScene* scene = g_lpPlayScene.load(std::memory_order_relaxed);
    const INTRECT& r = chara.m_ScreenRect;
    entry.m_nFacingRequest = 0;
    entry.m_dVX = OffscreenAxisVelocity(scene ? &scene->m_ScrollX : nullptr, 640, left, right, r.left, r.right,
                                        entry.m_dSpeed);
    entry.m_dVY = OffscreenAxisVelocity(scene ? &scene->m_ScrollY : nullptr, 480, up, down, r.top, r.bottom,
                                        entry.m_dSpeed);
}

// Turns the chara and adds the step's motion to its velocity (or, with inertia, to its inertia).
void ApplyMovementStep(cChara& chara, cFlowCommandEntry& entry, int force)
{
    const cEdMove* move = MoveOf(entry);
    if (!(move && move->m_bKeepFacing) && (CharaFixedFacing(chara.m_Def) == 0 || force == 1)) {
        if (entry.m_nFacingRequest == 1) chara.m_nDirection = 0;
        else if (entry.m_nFacingRequest == 2) chara.m_nDirection = 1;
    }
    if (move && move->m_bInertia) {
        const STAGESPEED speed = CurrentStageSpeed();
        auto push = [&](double& inertia, double v, int& decel) {
            if ((inertia < 0 && 0 < v) || (v < 0 && 0 < inertia)) {
                inertia += DotsPerSecondToStep(v, speed) * move->m_dTurnFactor;
            } else {
                decel = 0;
                inertia += DotsPerSecondToStep(v, speed);
            }
            const double limit = entry.m_dMaxInertia;
            if (inertia > limit) inertia = limit;
            else if (inertia < -limit) inertia = -limit;
        };
        push(chara.m_dInertiaX, entry.m_dVX, chara.m_bDecelX);
        push(chara.m_dInertiaY, entry.m_dVY, chara.m_bDecelY);
    } else {
        chara.m_dVX += entry.m_dVX;
        chara.m_dVY += entry.m_dVY;
    }
    if (!(move && move->m_bKeepAnime)) {
        chara.m_bMoved = 1;
        chara.m_Animator.ChangePattern(chara.m_bFlying ? 3 : 1, 1);
    }
}

// Timing modes 1 and 2 derive the speed or the duration from the distance. The divisions are
// done in doubles: a duration of 0 gives an unbounded speed (0 for no distance) that the
// chara's speed limits bound, and a speed of 0 a step count of INT_MIN that never ends.
void ResolveMoveTiming(cFlowCommandEntry& entry, int copy)
{
    const cEdMove* move = MoveOf(entry);
    if (!move || move->m_nTimeMode == 0) return;
    int d = WrapAdd(WrapMul(move->m_nDistancePerFactor, copy), move->m_nDistance);
    if (move->m_nDistanceUnit != 1) d = WrapMul(d, 16);
    if (move->m_nTimeMode == 1) {
        const double speed = d / static_cast<double>(entry.m_nDuration);
        entry.m_dSpeed = std::isnan(speed) ? 0 : speed;
    } else if (move->m_nTimeMode == 2) {
        entry.m_nDuration = TruncToInt(d / entry.m_dSpeed);
    }
}

}  // namespace

namespace {

void SetMoveAngle(cFlowCommandEntry& entry, const cChara& chara, const cEdMove& move)
{
    int angle = WrapAdd(WrapMul(move.m_nAnglePerFactor, chara.m_sCopyIndex), move.m_nAngle);
    if (move.m_bMirrorAngle && chara.m_nDirection != 0) angle = WrapSub(360, angle);
    while (angle >= 360) angle -= 360;
    entry.m_nAngle = angle;
}

void SetTargetOffsets(cFlowCommandEntry& entry, const cChara& chara, const cEdMove& move)
{
    int x = WrapAdd(WrapMul(move.m_nTargetBlockX, 32), move.m_nTargetDotX);
    int y = WrapAdd(WrapMul(move.m_nTargetBlockY, 32), move.m_nTargetDotY);
    if (chara.m_nDirection != 0) {
        if (move.m_bMirrorTargetX) x = WrapSub(0, x);
        if (move.m_bMirrorTargetY) y = WrapSub(0, y);
    }
    entry.m_nTargetX = x;
    entry.m_nTargetY = y;
}

}  // namespace

void InitMoveStraight(cFlowCommandEntry& entry, cChara& chara, int /*direction*/)
{
    const cEdMove* move = MoveOf(entry);
    if (!move) return;
    SetMoveAngle(entry, chara, *move);
    if (move->m_nMode == 1) SetTargetOffsets(entry, chara, *move);
    ResolveMoveTiming(entry, chara.m_sCopyIndex);
}

void InitMoveTiming(cFlowCommandEntry& entry, cChara& chara, int /*direction*/)
{
    ResolveMoveTiming(entry, chara.m_sCopyIndex);
}
// The circle's angles and radius are kept in sub-steps (× n); c starts a mirrored circle on the
// far side. Its timing divisions are done in doubles like the straight move's.
void InitMoveCircle(cFlowCommandEntry& entry, cChara& chara, int /*direction*/)
{
    const cEdMove* move = MoveOf(entry);
    if (!move) return;
    const int k = chara.m_sCopyIndex;
    const int n = CurrentStageSpeed().nSteps;
    int c = 0;
    if (chara.m_nDirection != 0) {
        auto flip = [&] {
            if (entry.m_nDirectionChoice <= 1) entry.m_nDirectionChoice ^= 1;
        };
        if (move->m_bMirrorTargetX) {
            flip();
            c = 180;
        }
        if (move->m_bMirrorTargetY) flip();
    }
    int r = WrapAdd(WrapMul(move->m_nRadiusPerFactor, k), move->m_nRadius);
    r = r < 0 ? 0 : (r > 20 ? 20 : r);
    entry.m_nRadius = r * 16 * n;
    entry.m_nStartAngle = WrapMul(WrapAdd(WrapAdd(c, WrapMul(move->m_nAnglePerFactor, k)), move->m_nAngle), n);
    entry.m_nEndAngle = WrapMul(WrapAdd(WrapAdd(c, WrapMul(move->m_nDistancePerFactor, k)), move->m_nDistance), n);
    const int span = (move->m_nDistance > move->m_nAngle) ? WrapSub(entry.m_nEndAngle, entry.m_nStartAngle)
                                                           : WrapSub(entry.m_nStartAngle, entry.m_nEndAngle);
    if (move->m_nTimeMode == 0) {
        const double speed = span / static_cast<double>(entry.m_nDuration) / n;
        entry.m_dSpeed = std::isnan(speed) ? 0 : speed;
    } else if (move->m_nTimeMode == 1) {
        entry.m_nDuration = WrapAbs(TruncToInt(span / entry.m_dSpeed / n));
    }
}
void InitMoveCharge(cFlowCommandEntry& entry, cChara& chara, int /*direction*/)
{
    const cEdMove* move = MoveOf(entry);
    if (!move) return;
    SetMoveAngle(entry, chara, *move);
    SetTargetOffsets(entry, chara, *move);
    ResolveMoveTiming(entry, chara.m_sCopyIndex);
}
void InitMoveHoming(cFlowCommandEntry& entry, cChara& chara, int /*direction*/)
{
    const cEdMove* move = MoveOf(entry);
    if (!move) return;
    SetTargetOffsets(entry, chara, *move);
    const int delay = WrapAdd(WrapMul(move->m_nRadiusPerFactor, chara.m_sCopyIndex), move->m_nRadius);
    entry.m_nRadius = WrapMul(delay, CurrentStageSpeed().nSteps);
    ResolveMoveTiming(entry, chara.m_sCopyIndex);
}
void InitJump(cFlowCommandEntry& entry, cChara& chara, int /*direction*/)
{
    const std::int8_t height = static_cast<std::int8_t>(entry.m_lpCommand ? entry.m_lpCommand->m_Params.At(2) : 0);
    const STAGESPEED speed = CurrentStageSpeed();
    entry.m_dSpeed = JumpSpeedForHeightHbl(height, chara.m_nKind, speed);
    // The jump lasts until the apex.
    entry.m_nDuration = WrapMul(WrapMul(JumpDurationForHeight(height, chara.m_nKind, speed), speed.nSteps), 6);
}

void FlowCmdMoveStraight(cChara& chara, cFlowCommandEntry& entry)
{
    const cEdMove* move = MoveOf(entry);
    chara.m_bFixedScreenX = chara.m_bFixedScreenY = 0;
    if (entry.m_bStarted == 0) {
        entry.m_bStarted = 1;
        entry.m_dVX = entry.m_dVY = 0;
        entry.m_nFacingRequest = 0;
        if (move && move->m_nMode == 0) {
            const int code = ResolveMoveDirection(chara, entry.m_nDirectionChoice);
            if (entry.m_nAngle == 0) VelocityByDirection(chara, entry, code);
            else VelocityByDirectionAngle(chara, entry, code);
        } else if (move && move->m_nMode == 1) {
            VelocityToPoint(chara, entry, *move);
        }
        if (chara.m_bFlying == 0) entry.m_dVY = 0;
    } else {
        if (chara.m_bFlying == 0) entry.m_dVY = 0;
        if (move && move->m_bReverseOnTurn && CharaFixedFacing(chara.m_Def) == 1 &&
            chara.m_nDirection != entry.m_nLastFacing) {
            entry.m_dVX = -entry.m_dVX;
            entry.m_dVY = -entry.m_dVY;
        }
    }
    ApplyMovementStep(chara, entry, 0);
    entry.m_nLastFacing = chara.m_nDirection;
}

void FlowCmdMoveGroundTurn(cChara& chara, cFlowCommandEntry& entry)
{
    chara.m_bFixedScreenX = chara.m_bFixedScreenY = 0;
    if (chara.m_bFlying != 0) return;
    const double s = entry.m_dSpeed;
    entry.m_dVX = (chara.m_nDirection != 0) ? s : -s;
    entry.m_dVY = 0;
    entry.m_nFacingRequest = 0;
    if (chara.m_Knockback.dSpeedX == 0 && chara.m_Knockback.dSpeedY == 0) {
        // Riding is not built yet, so the chara never has just left a ride: only the ledge
        // test turns it, back from the edge of the ground under its feet.
        int row = TruncToInt(chara.m_dBottom + 1.1) >> 5;
        if (row > g_BlockGrid.m_nRows - 1) row = g_BlockGrid.m_nRows - 1;
        auto solid = [&](double edge) {
            const int cell = BlockCellIndex(TruncToInt(edge) >> 5, row, g_BlockGrid.m_nShift);
            return g_BlockGrid.HitModeAt(cell, chara.m_nPassLayer) != 0;
        };
        const bool left = solid(chara.m_dX);
        const bool right = solid(chara.m_dRight);
        if (left && !right) entry.m_nFacingRequest = 1;
        else if (!left && right) entry.m_nFacingRequest = 2;
    }
    ApplyMovementStep(chara, entry, 1);
}

void FlowCmdMoveCircle(cChara& chara, cFlowCommandEntry& entry)
{
    const cEdMove* move = MoveOf(entry);
    chara.m_bFixedScreenX = chara.m_bFixedScreenY = 0;
    if (entry.m_nRadius == 0) return;
    if (entry.m_bStarted == 0) {
        entry.m_bStarted = 1;
        entry.m_dAccumulator1 = entry.m_dAccumulator2 = entry.m_nStartAngle;
    }
    int sense = entry.m_nDirectionChoice;
    if (sense == 2) sense = (chara.m_nDirection != 0) ? 1 : 0;
    else if (sense == 3) sense = (chara.m_nDirection == 0) ? 1 : 0;
    const STAGESPEED speed = CurrentStageSpeed();
    const double s = entry.m_dSpeed;
    const double w = speed.nSteps * s;
    entry.m_dVX = entry.m_dVY = 0;
    entry.m_nFacingRequest = 0;
    if (!(move && MoveNoX(*move)))
        entry.m_dVX = -WaveVelocityCos(entry.m_nRadius, 1, entry.m_dAccumulator1, w, 0, speed) * s;
    if (chara.m_bFlying != 0 && !(move && MoveNoY(*move))) {
        const double start = (sense == 0) ? 270 : 90;
        entry.m_dVY = -WaveVelocityCos(entry.m_nRadius, 1, entry.m_dAccumulator2, w, start, speed) * s;
    }
    ApplyMovementStep(chara, entry, 0);
}

// The direction is taken once, at the first step: the chara keeps it however the target moves.
void FlowCmdMoveCharge(cChara& chara, cFlowCommandEntry& entry)
{
    const cEdMove* move = MoveOf(entry);
    chara.m_bFixedScreenX = chara.m_bFixedScreenY = 0;
    if (entry.m_bStarted == 0) {
        entry.m_bStarted = 1;
        const cChara* target = chara.m_lpTarget;
        if (!target) {
            entry.m_dVX = entry.m_dVY = 0;
            return;
        }
        if (target->m_bDead != 0) return;
        const int noX = move ? MoveNoX(*move) : 0;
        const int noY = move ? MoveNoY(*move) : 0;
        double x = 0;
        double y = 0;
        target->MoveTargetPoint(x, y, entry);
        if (chara.m_bFlying != 0) {
            ApproachByAxes(chara, entry, target, x, y, noX, noY, move ? move->m_bStopAtTarget : 0);
        } else if (noX != 0) {
            entry.m_dVX = 0;
        } else {
            chara.MoveTowardX(entry, target, x, chara.m_bScrollRelative, 0);
        }
        if (entry.m_nAngle != 0) {
            const double s = entry.m_dSpeed;
            const int heading = TruncToInt(GameAtan2(entry.m_dVX, entry.m_dVY) * 180.0 / kGamePi + 90);
            const double a = DegToRad(static_cast<std::int16_t>(WrapAdd(heading, entry.m_nAngle)));
            entry.m_dVX = GameCos(a) * s;
            if (chara.m_bFlying != 0) entry.m_dVY = -GameSin(a) * s;
        }
    }
    if (chara.m_bFlying == 0) entry.m_dVY = 0;
    ApplyMovementStep(chara, entry, 0);
}

// With a delay the chara heads for where its target was that many steps before: the point seen
// at each multiple of the delay is aimed at one delay later. Other steps keep the velocity.
void FlowCmdMoveHoming(cChara& chara, cFlowCommandEntry& entry)
{
    const cEdMove* move = MoveOf(entry);
    chara.m_bFixedScreenX = chara.m_bFixedScreenY = 0;
    const cChara* target = chara.m_lpTarget;
    if (!target || target->m_bDead != 0) return;
    const int noX = move ? MoveNoX(*move) : 0;
    const int noY = move ? MoveNoY(*move) : 0;
    const int flying = chara.m_bFlying != 0;
    if (!flying && noX != 0) return;
    const int arrival = move ? move->m_bStopAtTarget : 0;
    MOVEPOINT now;
    target->MoveTargetPoint(now.dX, now.dY, entry);
    auto approach = [&](const MOVEPOINT& p) {
        if (flying) ApproachByAxes(chara, entry, target, p.dX, p.dY, noX, noY, arrival);
        else chara.MoveTowardX(entry, target, p.dX, chara.m_bScrollRelative, arrival);
    };
    const int d = entry.m_nRadius;
    const int c = entry.m_nStepCounter;
    if (d <= 0) {
        approach(now);
    } else if (c == 0) {
        entry.m_Points.clear();
        entry.m_Points.push_back(now);
        approach(now);
    } else if (c % d == 0) {
        if (entry.m_Points.empty()) entry.m_Points.push_back(now);
        approach(entry.m_Points.front());
        entry.m_Points.push_back(now);
        entry.m_Points.pop_front();
    }
    if (!flying) entry.m_dVY = 0;
    ApplyMovementStep(chara, entry, 0);
    entry.m_nStepCounter = WrapAdd(entry.m_nStepCounter, 1);
}

void FlowCmdMoveAvoidOffscreen(cChara& chara, cFlowCommandEntry& entry)
{
    chara.m_bFixedScreenX = chara.m_bFixedScreenY = 0;
    OffscreenReturnVelocity(chara, entry);
    if (chara.m_bFlying == 0) entry.m_dVY = 0;
    ApplyMovementStep(chara, entry, 0);
    entry.m_nStepCounter = WrapAdd(entry.m_nStepCounter, 1);
}

void FlowCmdDisableMove(cChara& chara, cFlowCommandEntry& /*entry*/)
{
    chara.m_Knockback.dSpeedX = chara.m_Knockback.dSpeedY = 0;
    chara.m_dInertiaX = chara.m_dInertiaY = 0;
    chara.m_dVX = chara.m_dVY = 0;
    chara.m_bFixedScreenX = chara.m_bFixedScreenY = 0;
    chara.m_bGravityHold = 1;
}

// Re-faces the chara every tenth of a second, so a target that passes it is followed.
void FlowCmdTurn(cChara& chara, cFlowCommandEntry& entry)
{
    if (CharaFixedFacing(chara.m_Def) == 0) return;
    if (TenthSecondDue(entry)) {
        const cCommandData* command = entry.m_lpCommand;
        PlayDbSe(static_cast<WORD>(command ? command->m_nSound : 0));
        const int mode = command ? command->m_Params.At(0) : 0;
        const cChara* target = chara.m_lpTarget;
        auto centreX = [](const cChara& c) { return c.m_dX + c.m_nWidth / 2; };
        switch (mode) {
        case 0: chara.m_nDirection = 0; break;
        case 1: chara.m_nDirection = 1; break;
        case 2:
        case 3:
            if (!target) return;
            chara.m_nDirection = ((centreX(*target) > centreX(chara)) == (mode == 2)) ? 1 : 0;
            break;
        case 4:
        case 5:
            if (chara.m_nWallSide == 0 || chara.m_nWallSide == 1)
                chara.m_nDirection = (mode == 4) ? chara.m_nWallSide : 1 - chara.m_nWallSide;
            break;
        default: break;
        }
    }
    CountTenthSecondStep(entry);
}

void FlowCmdJump(cChara& chara, cFlowCommandEntry& entry)
{
    chara.m_bFixedScreenX = chara.m_bFixedScreenY = 0;
    chara.StartJump(entry);
    entry.m_nStepCounter = WrapAdd(entry.m_nStepCounter, 1);
}
