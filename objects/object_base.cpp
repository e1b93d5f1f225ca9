#include "objects/object_base.h"

#include "data/stage_elements.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

// The camera of the running stage; without one, an axis at rest at 0.
const cScrollAxis& AxisX()
{
    static const cScrollAxis none;
    const cPlayScene* scene = g_lpPlayScene.load(std::memory_order_relaxed);
    return scene ? scene->m_ScrollX : none;
}
const cScrollAxis& AxisY()
{
    static const cScrollAxis none;
    const cPlayScene* scene = g_lpPlayScene.load(std::memory_order_relaxed);
    return scene ? scene->m_ScrollY : none;
}

// One axis of ClampX / ClampY: the position, the size, the axis, and the codes of its sides.
struct ClampCodes {
    int stageLow, stageHigh, fieldLow, fieldHigh, scrollLow, scrollHigh;
};

int ClampAxis(double& pos, int size, const cScrollAxis& axis, int mode, const ClampCodes& codes)
{
    const double far = pos + size - 1;
    switch (mode) {
    case 0:
        if (pos < axis.m_nMin) {
            pos = axis.m_nMin;
        } else if (far >= axis.m_nMax) {
            pos = WrapSub(axis.m_nMax, size);
        }
        return 0;
    case 1:
        if (pos < axis.m_nBaseMin) {
            pos = axis.m_nBaseMin;
            return 0;
        }
        if (far >= axis.m_nBaseMax) {
            pos = WrapSub(axis.m_nBaseMax, size);
            return 0;
        }
        break;
    case 2:
        if (pos < 0) {
            pos = 0;
            return codes.stageLow;
        }
        if (far >= axis.m_nExtent) {
            pos = WrapSub(axis.m_nExtent, size);
            return codes.stageHigh;
        }
        if (pos < axis.m_nBaseMin) return codes.fieldLow;
        if (far >= axis.m_nBaseMax) return codes.fieldHigh;
        break;
    default:
        return 0;
    }
    if (pos < axis.m_nMin) return codes.scrollLow;
    if (far >= axis.m_nMax) return codes.scrollHigh;
    return 0;
}

// Clamps a velocity to [-limit, limit] (the bounds themselves stay) and returns it.
double LimitedSpeed(double& velocity, double limit)
{
    if (velocity < -limit) velocity = -limit;
    else if (velocity > limit) velocity = limit;
    return velocity;
}

}  // namespace

int BlockCellIndex(int column, int row, int shift)
{
    // A shift the grid cannot have leaves the row out, so the index still lands somewhere the
    // checked access can judge.
    if (shift < 0 || shift > 30) return column;
    return WrapAdd(column, WrapMul(row, 1 << shift));
}

int BlockCellOf(double coordinate)
{
    return TruncToInt(coordinate) >> 5;
}

void cGameObject::Assign(const cGameObject& source)
{
    if (this != &source) *this = source;
}

void cGameObject::SetScale(int newScale, int oldScale)
{
    newScale = EffectiveScale(newScale);
    oldScale = EffectiveScale(oldScale);
    if (newScale == oldScale) return;
    m_nWidth = WrapMul(m_nBaseWidth, newScale);
    m_nHeight = WrapMul(m_nBaseHeight, newScale);
    m_nDrawOffsetX = WrapMul(m_nBaseDrawOffsetX, newScale);
    m_nDrawOffsetY = WrapMul(m_nBaseDrawOffsetY, newScale);
    m_nDrawWidth = WrapMul(m_nBaseDrawWidth, newScale);
    m_nDrawHeight = WrapMul(m_nBaseDrawHeight, newScale);
    AdjustForScale(newScale, oldScale);
    ScaleBoxes(newScale);
}

void cGameObject::ScaleBoxes(int) {}
void cGameObject::AdjustYForScale(int, int) {}
void cGameObject::UpdateBoxesX() {}
void cGameObject::UpdateBoxesY() {}
void cGameObject::SetCenter(int, int) {}
void cGameObject::SnapCenter(int, int, cFlowCommandEntry&) {}
void cGameObject::SetCenterX(int) {}
void cGameObject::SnapCenterX(int, cFlowCommandEntry&) {}
void cGameObject::SetCenterY(int) {}
void cGameObject::SnapCenterY(int, cFlowCommandEntry&) {}

void cGameObject::InitCommon(int serial, int kind, int classification, int passLayer, int image,
                             const int* const* patterns, int pattern, int drawOffsetX, int drawOffsetY,
                             int width, int height, int drawWidth, int drawHeight, int direction,
                             int moveType, int copyIndex)
{
    m_nSerial = serial;
    m_nKind = kind;
    m_nClass = classification;
    m_nPassLayer = passLayer;
    m_nImage = image;
    m_nDrawOffsetX = m_nBaseDrawOffsetX = drawOffsetX;
    m_nDrawOffsetY = m_nBaseDrawOffsetY = drawOffsetY;
    m_nWidth = m_nBaseWidth = width;
    m_nHeight = m_nBaseHeight = height;
    m_nDrawWidth = m_nBaseDrawWidth = drawWidth;
    m_nDrawHeight = m_nBaseDrawHeight = drawHeight;
    m_nDirection = direction;
    m_sCopyIndex = static_cast<std::int16_t>(copyIndex);
    m_nLife = 2147483647;
    if (patterns) {
        m_Animator.Build(patterns);
        m_Animator.SetPattern(pattern, 1);
    }
    m_dVX = m_dVY = 0;
    m_dInertiaX = m_dInertiaY = 0;
    m_bActive = 0;
    m_bOnScreen = 0;
    m_byAppeared = 0;
    SetMoveType(moveType);
}

void cGameObject::SetMoveType(int type)
{
    static constexpr struct { int flying; std::uint8_t collision; } kTypes[] = {{0, 1}, {1, 0}, {1, 1}, {1, 2}};
    if (type < 0 || type > 3) return;
    m_bFlying = kTypes[type].flying;
    m_byCollision = kTypes[type].collision;
}

void cGameObject::AdjustForScale(int newScale, int oldScale)
{
    if (newScale == oldScale) return;
    AdjustXForScale(newScale, oldScale);
    AdjustYForScale(newScale, oldScale);
}

void cGameObject::AdjustXForScale(int newScale, int oldScale)
{
    if (newScale == oldScale) return;
    m_dX -= WrapMul(WrapSub(newScale, oldScale), m_nBaseWidth / 2);
    ClampX(2);
}

int cGameObject::ClampX(int mode)
{
    static constexpr ClampCodes kCodes = {3, 3, 2, 2, 1, 1};
    const int code = ClampAxis(m_dX, m_nWidth, AxisX(), mode, kCodes);
    m_dRight = m_dX + m_nWidth - 1;
    UpdateBoxesX();
    m_BlockSpan.left = BlockCellOf(m_dX);
    m_BlockSpan.right = BlockCellOf(m_dRight);
    return code;
}

int cGameObject::ClampY(int mode)
{
    static constexpr ClampCodes kCodes = {3, 6, 2, 5, 1, 4};
    const int code = ClampAxis(m_dY, m_nHeight, AxisY(), mode, kCodes);
    m_dBottom = m_dY + m_nHeight - 1;
    UpdateBoxesY();
    m_BlockSpan.top = BlockCellOf(m_dY);
    m_BlockSpan.bottom = BlockCellOf(m_dBottom);
    return code;
}

void cGameObject::UpdateScreenRect()
{
    m_ScreenRect.left = TruncToInt(m_dX - m_nDrawOffsetX - TruncToInt(AxisX().m_dPos));
    m_ScreenRect.right = WrapSub(WrapAdd(m_ScreenRect.left, m_nDrawWidth), 1);
    m_ScreenRect.top = TruncToInt(m_dY - m_nDrawOffsetY - TruncToInt(AxisY().m_dPos));
    m_ScreenRect.bottom = WrapSub(WrapAdd(m_ScreenRect.top, m_nDrawHeight), 1);
}

int cGameObject::IsOnScreen() const
{
    return IsInView(0, 0);
}

int cGameObject::IsInView(int ignoreX, int ignoreY) const
{
    const double sx = AxisX().m_dPos;
    const double sy = AxisY().m_dPos;
    if (!ignoreX && !(m_dRight >= sx && m_dX < sx + kScreenWidth)) return 0;
    if (!ignoreY && !(m_dBottom >= sy && m_dY < sy + kScreenHeight)) return 0;
    return 1;
}

int cGameObject::IsInsideStage(int mode) const
{
    const cScrollAxis& ax = AxisX();
    const cScrollAxis& ay = AxisY();
    if (mode != 0) return m_dX >= 0 && m_dRight < ax.m_nExtent && m_dY >= 0 && m_dBottom < ay.m_nExtent;
    return ax.m_nBaseMin <= m_dX && m_dRight < ax.m_nBaseMax && ay.m_nBaseMin <= m_dY && m_dBottom < ay.m_nBaseMax;
}

int cGameObject::OverlapsRect(double left, double top, double right, double bottom) const
{
    return m_dX <= right && left <= m_dRight && m_dY <= bottom && top <= m_dBottom;
}

int cGameObject::IsInsideBlock(const cBlockHitSource& grid) const
{
    const int shift = grid.RowShift();
    const int cells[4][2] = {{m_BlockSpan.left, m_BlockSpan.top}, {m_BlockSpan.left, m_BlockSpan.bottom},
                             {m_BlockSpan.right, m_BlockSpan.top}, {m_BlockSpan.right, m_BlockSpan.bottom}};
    for (const auto& cell : cells) {
        if (grid.HitModeAt(BlockCellIndex(cell[0], cell[1], shift), m_nPassLayer) != 0) return 1;
    }
    return 0;
}

int cGameObject::IsOutOfArea(const cOutOfRangeData& rule) const
{
    if (m_bOnScreen) return 0;
    const cScrollAxis& ax = AxisX();
    const cScrollAxis& ay = AxisY();
    if (rule.m_bLeft && TruncToInt(ax.m_dPos - WrapMul(rule.m_nLeftMargin, 32)) >= m_dRight) return 1;
    if (rule.m_bRight && TruncToInt(ax.m_dPos + WrapMul(rule.m_nRightMargin, 32) + kScreenWidth) <= m_dX) return 1;
    if (rule.m_bBottom && TruncToInt(ay.m_dPos + WrapMul(rule.m_nBottomMargin, 32) + kScreenHeight) <= m_dY) return 1;
    if (rule.m_bTop && TruncToInt(ay.m_dPos - WrapMul(rule.m_nTopMargin, 32)) >= m_dBottom) return 1;
    if (m_dX <= 0 || WrapSub(ax.m_nExtent, 1) <= m_dRight) return 1;
    if (m_dY <= 0 || WrapSub(ay.m_nExtent, 1) <= m_dBottom) return 1;
    return 0;
}

void cGameObject::ApplyGravity(double gravity)
{
    if (m_bFlying == 0) m_dVY += gravity;
}

int cGameObject::LimitSpeedX(int mode, double limit)
{
    m_dX += LimitedSpeed(m_dVX, limit);
    return ClampX(mode);
}

int cGameObject::LimitSpeedY(int mode, double limit)
{
    m_dY += LimitedSpeed(m_dVY, limit);
    return ClampY(mode);
}

void cGameObject::Decelerate(double& speed, int enabled) const
{
    if (enabled != 0) StepTowardZero(speed, m_dDecel);
}

void StepTowardZero(double& value, double step)
{
    if (value > 0) {
        value -= step;
        if (value < 0) value = 0;
    } else if (value < 0) {
        value += step;
        if (value > 0) value = 0;
    }
}
