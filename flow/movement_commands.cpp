// The movement commands: each step computes a velocity and hands it to the chara, which then
// moves with block collision in its own update. Those not built yet say so once.
#include "flow/movement_commands.h"

#include <cmath>

#include "data/move_part.h"
#include "data/role_accessors.h"
#include "flow/command_stubs.h"
#include "flow/command_table.h"
#include "flow/running_flow.h"
#include "objects/chara.h"
#include "play/block_grid.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"
#include "shell/not_built_yet.h"

namespace {

constexpr double kQ = 0.7071067811865476;

const cEdMove* MoveOf(const cFlowCommandEntry& entry)
{
    return entry.m_lpCommand ? entry.m_lpCommand->m_pMove.get() : nullptr;
}

// A direction choice made absolute by the chara's facing: 2 left, 3 right, 6 up, 7 down, 8 to
// 11 the diagonals.
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

void InitMoveStraight(cFlowCommandEntry& entry, cChara& chara, int /*direction*/)
{
    const cEdMove* move = MoveOf(entry);
    if (!move) return;
    const int k = chara.m_sCopyIndex;
    int angle = WrapAdd(WrapMul(move->m_nAnglePerFactor, k), move->m_nAngle);
    if (move->m_bMirrorAngle && chara.m_nDirection != 0) angle = WrapSub(360, angle);
    while (angle >= 360) angle -= 360;
    entry.m_nAngle = angle;
    if (move->m_nMode == 1) {
        int x = WrapAdd(WrapMul(move->m_nTargetBlockX, 32), move->m_nTargetDotX);
        int y = WrapAdd(WrapMul(move->m_nTargetBlockY, 32), move->m_nTargetDotY);
        if (chara.m_nDirection != 0) {
            if (move->m_bMirrorTargetX) x = WrapSub(0, x);
            if (move->m_bMirrorTargetY) y = WrapSub(0, y);
        }
        entry.m_nTargetX = x;
        entry.m_nTargetY = y;
    }
    ResolveMoveTiming(entry, k);
}

void InitMoveTiming(cFlowCommandEntry& entry, cChara& chara, int /*direction*/)
{
    ResolveMoveTiming(entry, chara.m_sCopyIndex);
}
void InitMoveCircle(cFlowCommandEntry&, cChara&, int) { LogNotBuiltYet("circle move set-up"); }
void InitMoveCharge(cFlowCommandEntry&, cChara&, int) { LogNotBuiltYet("charge move set-up"); }
void InitMoveHoming(cFlowCommandEntry&, cChara&, int) { LogNotBuiltYet("homing move set-up"); }
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
            NotBuiltCommandActs(COMMAND_STRAIGHT_MOVE, "straight move to a point");
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

void FlowCmdMoveCircle(cChara&, cFlowCommandEntry&)
{
    NotBuiltCommandActs(COMMAND_CIRCLE_MOVE, "circle move command");
}

void FlowCmdMoveCharge(cChara&, cFlowCommandEntry&)
{
    NotBuiltCommandActs(COMMAND_CHARGE_MOVE, "charge move command");
}

void FlowCmdMoveHoming(cChara&, cFlowCommandEntry&)
{
    NotBuiltCommandActs(COMMAND_HOMING_MOVE, "homing move command");
}

void FlowCmdMoveAvoidOffscreen(cChara&, cFlowCommandEntry&)
{
    NotBuiltCommandActs(COMMAND_AVOID_OFFSCREEN_MOVE, "off-screen avoiding move command");
}

void FlowCmdDisableMove(cChara& chara, cFlowCommandEntry& /*entry*/)
{
    chara.m_Knockback.dSpeedX = chara.m_Knockback.dSpeedY = 0;
    chara.m_dInertiaX = chara.m_dInertiaY = 0;
    chara.m_dVX = chara.m_dVY = 0;
    chara.m_bFixedScreenX = chara.m_bFixedScreenY = 0;
    chara.m_bGravityHold = 1;
}

void FlowCmdTurn(cChara&, cFlowCommandEntry& entry)
{
    if (TenthSecondDue(entry)) NotBuiltCommandActs(COMMAND_TURN, "turn command");
    CountTenthSecondStep(entry);
}

void FlowCmdJump(cChara& chara, cFlowCommandEntry& entry)
{
    chara.m_bFixedScreenX = chara.m_bFixedScreenY = 0;
    chara.StartJump(entry);
    entry.m_nStepCounter = WrapAdd(entry.m_nStepCounter, 1);
}
