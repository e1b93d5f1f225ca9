#include "objects/shot.h"

#include <algorithm>
#include <cstdint>

#include "data/database.h"
#include "data/role_accessors.h"
#include "data/stage_data.h"
#include "data/system_data.h"
#include "objects/chara.h"
#include "objects/chara_movement.h"
#include "objects/spawn_param.h"
#include "objects/trajectory.h"
#include "play/block_grid.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"

namespace {

constexpr int kShotCell = 16;
constexpr int kTenthsPerSecond = 6;   // frames in a tenth of a second

const cScrollAxis& ShotAxis(int axis)
{
    static const cScrollAxis none;
    const cPlayScene* scene = Scene();
    if (!scene) return none;
    return (axis == 0) ? scene->m_ScrollX : scene->m_ScrollY;
}

// The scroll speed a scroll-relative shot is carried by: 0 while its axis is held at a limit.
double AxisCarry(const cScrollAxis& axis)
{
    return axis.m_bClamped ? 0.0 : axis.m_dSpeed;
}

}  // namespace

cShot::cShot()
{
    // A new template holds the defaults of a new shot part: same layer as the owner, mirrored
    // angle and x offset, scale 1.
}

void cShot::InitFromTemplate(int serial, const cChara& owner, int kind, cEdShot& def, const SPAWNPARAM& spawn)
{
    const STAGESPEED speed = CurrentStageSpeed();
    const double k = speed.dSteps;
    if (def.m_nSize == 0) def.m_nSize = 1;
    m_Def = def;

    const int direction = (spawn.vx > 0) ? 1 : (spawn.vx == 0) ? owner.m_nDirection : 0;
    const bool sword = (kind == kShotObjectSword);
    int width = kShotCell;
    int height = kShotCell;
    if (sword) {
        const cSwordFrameData& first = g_Database.m_SwordTypes.At(m_Def.m_nTrajectory).m_Frames.At(0);
        width = first.m_nWidth;
        height = first.m_nHeight;
    }
    m_bShot = sword ? 0 : 1;
    m_nOwnerSerial = owner.m_nSerial;
    InitCommon(serial, owner.m_nKind, owner.m_nClass, m_Def.m_nForce, m_Def.m_nGraphic, g_ShotAnimePatterns,
               sword ? 0 : 1, 0, 0, width, height, kShotCell, kShotCell, direction, 1, spawn.index);
    if (m_Def.m_bOwnersForce) {
        m_Def.m_nForce = static_cast<BYTE>(owner.m_nPassLayer);
        m_nPassLayer = owner.m_nPassLayer;
    }

    if (sword) {
        m_nBaseHitLeft = m_nBaseHitTop = 0;
        m_nBaseHitWidth = width;
        m_nBaseHitHeight = height;
    } else {
        const CHARASIZE box = ShotHitBox(g_StageData, owner.m_nKind == 0);
        m_nBaseHitLeft = 8 - box.nWidth / 2;
        m_nBaseHitTop = 8 - box.nHeight / 2;
        m_nBaseHitWidth = box.nWidth;
        m_nBaseHitHeight = box.nHeight;
    }
    m_nHitLeft = m_nBaseHitLeft;
    m_nHitTop = m_nBaseHitTop;
    m_nHitWidth = m_nBaseHitWidth;
    m_nHitHeight = m_nBaseHitHeight;
    SetScale(m_Def.m_nSize, 1);

    m_dX = spawn.x;
    ClampX();
    m_dY = spawn.y;
    ClampY(2);

    m_dOwnVX = spawn.vx / k;
    m_dOwnVY = spawn.vy / k;
    if (m_Def.m_bAccelerate) {
        m_bAccelerating = 1;
        m_dAcceleration = (m_Def.m_nAcceleration + m_Def.m_nAccelerationPerFactor * m_sCopyIndex) * 0.1 / k;
        VelocityToward(m_dInertiaX, m_dInertiaY, spawn.vx, spawn.vy);
    } else {
        m_bAccelerating = 0;
        m_dAcceleration = 0;
        m_dInertiaX = m_dInertiaY = 0;
    }
    m_dVX = m_dVY = 0;
    m_bScrollRelative = m_Def.m_bScrollFollow;

    if (m_Def.m_bLifeLimit) m_nLifeLeft = WrapMul(WrapMul(spawn.life, speed.nSteps), kTenthsPerSecond);
    if (m_Def.m_bRangeLimit) {
        const int reach = std::max(WrapSub(WrapMul(spawn.range, 16), m_nWidth), 0);
        const double step = Magnitude(spawn.speed / k);
        if (reach > 0 && step > 0) {
            m_nRangeLeft = TruncToInt(reach / step);
        } else {
            m_nRangeLeft = speed.nSteps;
            if (TruncToInt(k * step) > m_nWidth) m_nRangeLeft = TruncToInt(m_nWidth / step);
        }
        if (m_nRangeLeft < speed.nSteps) {
            // Covers the whole range in one frame. Without a direction there is nothing to
            // spread it over: the shot stands instead of taking a 0 / 0 velocity.
            const double sum = Magnitude(spawn.vx) + Magnitude(spawn.vy);
            m_dOwnVX = (sum != 0) ? (reach / k) * spawn.vx / sum : 0.0;
            m_dOwnVY = (sum != 0) ? (reach / k) * spawn.vy / sum : 0.0;
            m_nRangeLeft = speed.nSteps;
        }
    }
    m_nSteps = m_nSwordFrame = 0;
    m_nTrajectoryStart = m_nTrajectoryEnd = m_bTrajectoryDone = 0;
    m_lpTarget = owner.m_lpTarget;
}

void cShot::VelocityToward(double& ix, double& iy, double dx, double dy) const
{
    const STAGESPEED speed = CurrentStageSpeed();
    ix = iy = 0;
    if (dx == 0 && dy == 0) return;
    const double whole = DotsPerSecondToStep(m_dAcceleration, speed);
    if (dx == 0) {
        iy = (dy > 0) ? whole : -whole;
    } else if (dy == 0) {
        ix = (dx > 0) ? whole : -whole;
    } else {
        const double length = GameSqrt(dx * dx + dy * dy);
        ix = DotsPerSecondToStep(dx / length * m_dAcceleration, speed);
        iy = DotsPerSecondToStep(dy / length * m_dAcceleration, speed);
    }
}

int cShot::Update()
{
    if (!IsShot()) return FollowOwner();
    // 1. The base velocity: the scroll's, for a shot that moves with the screen.
    if (ShotScrollModelSwitch() == 0 && m_bScrollRelative) {
        m_dVX = AxisCarry(ShotAxis(0));
        if (m_bFlying) m_dVY = AxisCarry(ShotAxis(1));
    } else {
        m_dVX = 0;
        if (m_bFlying) m_dVY = 0;
    }
    const double baseVX = m_dVX;
    const double baseVY = m_dVY;
    // 2. to 4. The trajectory, the acceleration and the shot's own velocity.
    RunTrajectory(*this);
    if (m_bAccelerating) {
        m_dOwnVX += m_dInertiaX;
        if (m_bFlying) m_dOwnVY += m_dInertiaY;
        else m_dVY += m_dInertiaY;
    }
    m_dVX += m_dOwnVX;
    if (m_bFlying) m_dVY += m_dOwnVY;
    // 5. to 7. Life, facing and range.
    if (m_Def.m_bLifeLimit) {
        if (m_nLifeLeft <= 0) return 1;
        --m_nLifeLeft;
    }
    if (m_dVX != 0) m_nDirection = (m_dVX > 0) ? 1 : 0;
    if (m_Def.m_bRangeLimit) {
        if (m_nRangeLeft > 0) {
            --m_nRangeLeft;
        } else {
            if (!m_Def.m_bStopAtRangeEnd) return 1;
            m_dOwnVX = m_dOwnVY = 0;
            m_Def.m_nTrajectory = 0;
            m_dVX = baseVX;
            if (m_bFlying) m_dVY = baseVY;
        }
    }
    return 0;
}

int cShot::MoveX()
{
    // The acceleration is added here as well as in Update: a shot speeds up twice per sub-step.
    if (m_dInertiaX != 0) m_dVX += m_dInertiaX;
    if (m_dVX != 0) {
        const double limit = CurrentStageSpeed().dSpeedLimit;
        m_dVX = std::clamp(m_dVX, -limit, limit);
        m_dX += m_dVX;
        ClampX();
    }
    return 0;
}

int cShot::MoveY()
{
    if (m_dInertiaY != 0) m_dVY += m_dInertiaY;
    if (m_dVY != 0) LimitSpeedY(2, CurrentStageSpeed().dSpeedLimit);
    return 0;
}

int cShot::ClampX()
{
    const int extent = ShotAxis(0).m_nExtent;
    int code = 0;
    if (m_dX < 0) {
        m_dX = 0;
        code = kEdgeStage;
    } else if (extent <= m_dX + m_nWidth - 1) {
        m_dX = WrapSub(extent, m_nWidth);
        code = kEdgeStage;
    }
    m_dRight = m_dX + m_nWidth - 1;
    UpdateBoxesX();
    m_BlockSpan.left = BlockCellOf(m_dX);
    m_BlockSpan.right = BlockCellOf(m_dRight);
    return code;
}

int cShot::HitsBlock()
{
    return HitsBlockIn(g_BlockGrid);
}

int cShot::HitsBlockIn(const cBlockHitSource& grid)
{
    if (m_Def.m_nPassBlocks == 1) return 0;
    const int shift = grid.RowShift();
    // Every test may draw random numbers and latch a block's condition, so the cells are
    // asked in this order and the first solid one ends the test.
    auto solid = [&](int column, int row) { return grid.HitModeAt(BlockCellIndex(column, row, shift), m_nPassLayer) != 0; };
    if (m_nWidth <= 32) {
        const INTRECT& span = m_BlockSpan;
        return (solid(span.left, span.top) || solid(span.left, span.bottom) || solid(span.right, span.top) ||
                solid(span.right, span.bottom))
                   ? 1
                   : 0;
    }
    // Every 32 dots across the box and its last dot; counted in 64 bits so that any size ends.
    const int x = TruncToInt(m_dX);
    const int y = TruncToInt(m_dY);
    const std::int64_t lastY = static_cast<std::int64_t>(m_nHeight) - 1;
    const std::int64_t lastX = static_cast<std::int64_t>(m_nWidth) - 1;
    for (std::int64_t dy = 0;; dy += 32) {
        if (dy >= lastY) dy = lastY;
        const int row = WrapAdd(y, static_cast<int>(dy)) >> 5;
        for (std::int64_t dx = 0;; dx += 32) {
            if (dx >= lastX) dx = lastX;
            if (solid(WrapAdd(x, static_cast<int>(dx)) >> 5, row)) return 1;
            if (dx == lastX) break;
        }
        if (dy == lastY) break;
    }
    return 0;
}

void cShot::ScaleBoxes(int newScale)
{
    m_nHitLeft = WrapMul(m_nBaseHitLeft, newScale);
    m_nHitTop = WrapMul(m_nBaseHitTop, newScale);
    m_nHitWidth = WrapMul(m_nBaseHitWidth, newScale);
    m_nHitHeight = WrapMul(m_nBaseHitHeight, newScale);
}

void cShot::AdjustYForScale(int newScale, int oldScale)
{
    if (newScale == oldScale) return;
    m_dY -= WrapMul(WrapSub(newScale, oldScale), m_nBaseHeight / 2);
    ClampY(2);
}

void cShot::UpdateBoxesX()
{
    m_HitRect.left = WrapAdd(TruncToInt(m_dX), m_nHitLeft);
    m_HitRect.right = m_HitRect.left + m_nHitWidth - 1;
}

void cShot::UpdateBoxesY()
{
    m_HitRect.top = WrapAdd(TruncToInt(m_dY), m_nHitTop);
    m_HitRect.bottom = m_HitRect.top + m_nHitHeight - 1;
}

int cShot::Impact() const
{
    return ShotImpact(m_Def);
}

int cShot::Scale() const
{
    return EffectiveScale(m_Def.m_nSize);
}

HITBOX cShot::HitBox() const
{
    HITBOX box;
    box.rect = m_HitRect;
    box.nOffsetX = m_nHitLeft;
    box.nOffsetY = m_nHitTop;
    box.nWidth = m_nHitWidth;
    box.nHeight = m_nHitHeight;
    box.nBaseOffsetX = m_nBaseHitLeft;
    box.nBaseOffsetY = m_nBaseHitTop;
    box.nBaseWidth = m_nBaseHitWidth;
    box.nBaseHeight = m_nBaseHitHeight;
    return box;
}

bool cHitSerialList::Contains(int serial) const
{
    return std::find(m_Serials.begin(), m_Serials.end(), serial) != m_Serials.end();
}
