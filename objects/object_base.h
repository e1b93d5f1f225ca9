#pragma once
// The base of every run-time object of a stage (charas, items, shots and swords): position and
// bounds in stage pixels, the block cells under them, velocities, the drawing geometry with its
// animator, sizes at scale 1 and at the object's scale, and the clamps and screen tests against
// the stage's camera (the scroll axes of g_lpPlayScene).
#include <cstdint>

#include "objects/frame_animator.h"
#include "objects/object_types.h"

class cFlowCommandEntry;
class cOutOfRangeData;

// The hit modes of the stage's block grid, read by cell index. An index outside the grid goes
// through the checked access (reported, element 0 used); any index inside reads that cell.
class cBlockHitSource {
public:
    virtual ~cBlockHitSource() = default;
    // The hit mode of cell `cell` asked with pass-through layer `layer`: 0 passable, 1 solid,
    // 2 deadly.
    virtual int HitModeAt(int cell, int layer) const = 0;
    // The grid's row shift: the cell of column c and row r is c + (r << shift).
    virtual int RowShift() const = 0;
};

// The cell index of stage block column `column` and row `row` (block units, margins included).
int BlockCellIndex(int column, int row, int shift);
// The block cell of a stage coordinate: trunc(c) >> 5, negative coordinates giving negative cells.
int BlockCellOf(double coordinate);

// Edge codes of ClampX / ClampY mode 2 and 1.
constexpr int kEdgeInside = 0;
constexpr int kEdgeOutsideScroll = 1;          // ClampY: above the scroll limits
constexpr int kEdgeOutsidePlayfield = 2;       // ClampY: above the playfield
constexpr int kEdgeStage = 3;                  // clamped to the stage; ClampY: at its top
constexpr int kEdgeBelowScroll = 4;
constexpr int kEdgeBelowPlayfield = 5;
constexpr int kEdgeStageBottom = 6;

class cGameObject {
public:
    cGameObject() = default;
    cGameObject(const cGameObject&) = default;
    cGameObject& operator=(const cGameObject&) = default;
    virtual ~cGameObject() = default;

    virtual void Assign(const cGameObject& source);
    // Scales are integers, 1 the normal size; a scale below 1 counts as 1.
    virtual void SetScale(int newScale, int oldScale);
    virtual void ScaleBoxes(int newScale);
    virtual void AdjustYForScale(int newScale, int oldScale);
    virtual void UpdateBoxesX();
    virtual void UpdateBoxesY();
    virtual void SetCenter(int x, int y);
    virtual void SnapCenter(int x, int y, cFlowCommandEntry& state);
    virtual void SetCenterX(int x);
    virtual void SnapCenterX(int x, cFlowCommandEntry& state);
    virtual void SetCenterY(int y);
    virtual void SnapCenterY(int y, cFlowCommandEntry& state);

    // Sets the object up: sizes and drawing geometry at scale 1, unlimited lifetime, the
    // animator from a pattern table (null: none) started at `pattern`, no motion, not active.
    void InitCommon(int serial, int kind, int classification, int passLayer, int image,
                    const int* const* patterns, int pattern, int drawOffsetX, int drawOffsetY,
                    int width, int height, int drawWidth, int drawHeight, int direction,
                    int moveType, int copyIndex);
    // 0 walking, 1 flying through blocks, 2 flying with collision, 3 flying, killed by solid
    // blocks; other values change nothing.
    void SetMoveType(int type);
    void AdjustForScale(int newScale, int oldScale);
    void AdjustXForScale(int newScale, int oldScale);

    int ClampX(int mode);
    int ClampY(int mode);
    void UpdateScreenRect();
    int IsOnScreen() const;
    int IsInView(int ignoreX, int ignoreY) const;
    int IsInsideStage(int mode) const;
    int OverlapsRect(double left, double top, double right, double bottom) const;
    int IsInsideBlock(const cBlockHitSource& grid) const;
    // 1 when the object has left the area the stage's out-of-range rule keeps (an object on
    // the screen never has), or touches the stage's outer edge.
    int IsOutOfArea(const cOutOfRangeData& rule) const;
    int FacingSign() const { return (m_nDirection != 0) ? 1 : -1; }

    // Movement rules that need the stage's speed settings take them as arguments.
    void ApplyGravity(double gravity);
    int LimitSpeedX(int mode, double limit);
    int LimitSpeedY(int mode, double limit);
    void Decelerate(double& speed, int enabled) const;

    int m_nSerial = 0;
    int m_nLife = 0;                 // sub-steps left; 2147483647 is unlimited
    int m_nDirection = 0;            // 1 right, 0 left
    std::int16_t m_sCopyIndex = 0;
    int m_nImage = 0;
    int m_nImageExtra = 0;
    cFrameAnimator m_Animator;
    INTRECT m_ScreenRect;            // screen pixels, inclusive
    int m_nDrawOffsetX = 0;          // scaled drawing geometry
    int m_nDrawOffsetY = 0;
    int m_nDrawWidth = 0;
    int m_nDrawHeight = 0;
    int m_nBaseDrawOffsetX = 0;      // the same at scale 1
    int m_nBaseDrawOffsetY = 0;
    int m_nBaseDrawWidth = 0;
    int m_nBaseDrawHeight = 0;
    int m_nExtra = 0;
    int m_nKind = 0;                 // 0 the hero's side, 1 the others
    int m_nClass = 0;
    int m_nPassLayer = 0;
    double m_dX = 0;                 // top-left of the bounds, stage pixels
    double m_dY = 0;
    double m_dRight = 0;             // x + width - 1 after a clamp
    double m_dBottom = 0;
    INTRECT m_BlockSpan;             // cells under x, y, right, bottom
    double m_dVX = 0;                // pixels per sub-step
    double m_dVY = 0;
    double m_dInertiaX = 0;
    double m_dInertiaY = 0;
    double m_dDecel = 0;
    double m_dExtra = 0;
    int m_bDecelX = 0;
    int m_bDecelY = 0;
    int m_bScrollRelative = 0;
    int m_nWidth = 0;                // scaled bounds
    int m_nHeight = 0;
    int m_nBaseWidth = 0;            // bounds at scale 1
    int m_nBaseHeight = 0;
    int m_bFlying = 0;
    std::uint8_t m_byCollision = 0;  // 0 through blocks, 1 normal, 2 solid blocks kill flyers
    int m_bActive = 0;
    int m_bOnScreen = 0;
    std::uint8_t m_byAppeared = 0;
};

// Moves value toward 0 by step, stopping at 0 when it would cross.
void StepTowardZero(double& value, double step);

// A scale as it sizes or divides: below 1 counts as 1.
constexpr int EffectiveScale(int scale)
{
    return (scale < 1) ? 1 : scale;
}
