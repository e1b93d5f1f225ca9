// Charas against the stage's block grid after they moved: the probes along their edges, the
// push-outs, the contact flags, the floor block, the block triggers and deaths by blocks.
#include "data/role_accessors.h"
#include "data/stage_geometry.h"
#include "objects/chara.h"
#include "objects/hero.h"
#include "play/block_grid.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"

// Charas that fly through blocks are never tested against them.
bool SkipsBlocks(const cChara& chara)
{
    return chara.m_bFlying != 0 && chara.m_byCollision == 0;
}

namespace {

constexpr int kNoMode = -1;

// A flying chara of collision mode 2 dies on any solid or deadly block.
bool DiesOnBlocks(const cChara& chara)
{
    return chara.m_bFlying != 0 && chara.m_byCollision == 2;
}

// Whether a chara lands on the floor it touches: not while it rises, unless the system says so.
bool MayLand(const cChara& chara)
{
    return LandWhileRisingSwitch() != 0 || chara.m_bFlying != 0 || chara.m_dVY >= 0;
}

int CellOf(int column, int row)
{
    return BlockCellIndex(column, row, g_BlockGrid.m_nShift);
}

int ModeOf(int cell, const cChara& chara)
{
    return g_BlockGrid.HitModeAt(cell, chara.m_nPassLayer);
}

const cBlockData* CellPointer(int cell)
{
    return &g_BlockGrid.At(cell);
}

// The best of the points of a horizontal line at `row`: the highest mode, then the point
// nearest `middle`, the earlier on a tie.
class cLineChoice {
public:
    cLineChoice(int row, int middle) : m_nRow(row), m_nMiddle(middle) {}
    void Offer(int x, const cChara& chara)
    {
        const int cell = CellOf(x >> 5, m_nRow);
        const int mode = ModeOf(cell, chara);
        const int distance = WrapAbs(WrapSub(x, m_nMiddle));
        if (mode > m_nMode || (mode == m_nMode && distance < m_nDistance)) {
            m_nMode = mode;
            m_nDistance = distance;
            m_nCell = cell;
        }
    }
    int Cell() const { return m_nCell; }

private:
    int m_nRow;
    int m_nMiddle;
    int m_nMode = kNoMode;
    int m_nDistance = 0;
    int m_nCell = 0;
};

}  // namespace

int cBlockCollision::FindBlockOnLine(const cChara& chara, int x1, int y1, int x2, int y2)
{
    const int n = WrapAdd(chara.Scale(), 1);
    if (x1 == x2) {
        // The topmost point wins among equal modes.
        const int column = x1 >> 5;
        const int step = WrapSub(chara.m_nBaseHeight, 1);
        int best = kNoMode;
        int result = 0;
        int y = y1;
        for (int i = 0; i < n; ++i, y = WrapAdd(y, step)) {
            const int cell = CellOf(column, y >> 5);
            const int mode = ModeOf(cell, chara);
            if (mode > best) {
                best = mode;
                result = cell;
            }
        }
        return result;
    }
    if (y1 != y2) return 0;
    cLineChoice choice(y1 >> 5, (x1 + x2) >> 1);
    const int step = WrapSub(chara.m_nBaseWidth, 1);
    int x = x1;
    for (int i = 0; i < n; ++i, x = WrapAdd(x, step)) choice.Offer(x, chara);
    return choice.Cell();
}

int cBlockCollision::FindFloorBlock(const cChara& chara)
{
    // The stored scale: one below 1 (never set up through a spawn) probes no floor rather
    // than divide by zero.
    const int scale = CharaStoredScale(chara.m_Def);
    const int n = WrapAdd(scale, (scale % 2 == 0) ? 1 : 2);
    if (n < 2) return 0;
    const int left = TruncToInt(chara.m_dX);
    const int right = TruncToInt(chara.m_dRight);
    const int step = WrapDiv(chara.m_nWidth, n - 1);
    cLineChoice choice(TruncToInt(chara.m_dBottom) >> 5, (left + right) >> 1);
    int x = left;
    for (int i = 0; i < n; ++i, x = WrapAdd(x, step)) choice.Offer((i == n - 1) ? right : x, chara);
    return choice.Cell();
}

int cBlockCollision::FindBlockAtCorners(int left, int top, int right, int bottom, int layer)
{
    const int corners[4][2] = {{left, top}, {right, top}, {left, bottom}, {right, bottom}};
    int best = kNoMode;
    int result = 0;
    for (const auto& corner : corners) {
        const int cell = CellOf(corner[0], corner[1]);
        const int mode = g_BlockGrid.HitModeAt(cell, layer);
        if (mode > best) {
            best = mode;
            result = cell;
        }
    }
    return result;
}

namespace {

// 0 when the block stops the chara, 2 when it kills it, -1 when it does not touch it.
int WallVerdict(const cChara& chara, int mode)
{
    if (mode == 1) return DiesOnBlocks(chara) ? 2 : 0;
    if (mode == 2) return (chara.m_nKind != 1 || DiesOnBlocks(chara)) ? 2 : 0;
    return -1;
}

}  // namespace

namespace {

// The wall probe of one side (0 left, 1 right) along the vertical line of that edge.
int ProbeWall(cPlayScene& scene, cChara& chara, int side)
{
    if (SkipsBlocks(chara)) return 0;
    const int edge = TruncToInt(side == 0 ? chara.m_dX : chara.m_dRight);
    const int cell = scene.FindBlockOnLine(chara, edge, TruncToInt(chara.m_dY), edge, TruncToInt(chara.m_dBottom));
    const int verdict = WallVerdict(chara, ModeOf(cell, chara));
    if (verdict != 0) return (verdict == 2) ? 2 : 0;
    chara.m_dInertiaX = 0;
    if (side == 0) {
        chara.m_bContactLeft = 1;
        // A left edge on a block line moves a whole block.
        chara.m_dX += WrapSub(kCell, WrapMod(edge, kCell));
    } else {
        chara.m_bContactRight = 1;
        chara.m_dX -= WrapAdd(WrapMod(edge, kCell), 1);
    }
    chara.OnMovedX();
    chara.m_nWallSide = side;
    chara.RaiseTrigger(9);
    chara.RaiseTrigger(10);
    chara.RaiseTrigger(side == 0 ? 11 : 12);
    return 0;
}

}  // namespace

int cBlockCollision::ProbeLeft(cChara& chara)
{
    cPlayScene& scene = SceneOf(this);
    return ProbeWall(scene, chara, 0);
}

int cBlockCollision::ProbeRight(cChara& chara)
{
    cPlayScene& scene = SceneOf(this);
    return ProbeWall(scene, chara, 1);
}

int cBlockCollision::ProbeUp(cChara& chara)
{
    if (SkipsBlocks(chara)) return 0;
    const int y = TruncToInt(chara.m_dY);
    const int cell = FindBlockOnLine(chara, TruncToInt(chara.m_dX), y, TruncToInt(chara.m_dRight), y);
    const int verdict = WallVerdict(chara, ModeOf(cell, chara));
    if (verdict == 2) return 2;
    if (verdict == 0) chara.HitCeiling();
    return 0;
}

int cBlockCollision::ProbeDown(cChara& chara)
{
    if (SkipsBlocks(chara)) return 0;
    const int y = TruncToInt(chara.m_dBottom);
    const int cell = FindBlockOnLine(chara, TruncToInt(chara.m_dX), y, TruncToInt(chara.m_dRight), y);
    chara.m_lpFloorCell = CellPointer(cell);
    const int mode = ModeOf(cell, chara);
    if (mode == 1) {
        if (DiesOnBlocks(chara)) return 2;
        if (MayLand(chara)) {
            if (chara.m_nKind == 0) chara.m_lpFloorCell = CellPointer(FindFloorBlock(chara));
            chara.m_lpFloorCell2 = chara.m_lpFloorCell;
            chara.LandOnFloor();
        }
        return 0;
    }
    if (mode == 2) {
        chara.m_lpFloorCell2 = chara.m_lpFloorCell;
        if (chara.m_nKind != 1 || DiesOnBlocks(chara)) return 2;
        if (MayLand(chara)) chara.LandOnFloor();
        return 0;
    }
    chara.m_lpFloorCell = nullptr;
    chara.m_nAirborne = WrapAdd(chara.m_nAirborne, 1);
    if (chara.m_nAirborne >= CurrentStageSpeed().nFallLimit) {
        if (chara.m_nKind == 0) {
            // A riding hero stands on its ride, not in the air.
            if (chara.m_bRiding == 0) {
                if (auto* hero = dynamic_cast<cHero*>(&chara)) hero->m_bJumpReady = 1;
                chara.m_bFalling = 1;
            }
        } else {
            chara.m_bFalling = 1;
        }
    }
    return 0;
}

int cBlockCollision::CollideX(cChara& chara)
{
    if (SkipsBlocks(chara)) return 0;
    if (chara.m_bFlying != 0 && chara.m_byCollision == 1) return CollideXBoth(chara);
    if (chara.m_dVX > 0) {
        if (ProbeRight(chara) == 2) return 2;
        return ProbeLeft(chara);
    }
    if (ProbeLeft(chara) == 2) return 2;
    return ProbeRight(chara);
}

int cBlockCollision::CollideXBoth(cChara& chara)
{
    if (SkipsBlocks(chara)) return 0;
    if (ProbeRight(chara) == 2) return 2;
    return ProbeLeft(chara);
}

int cBlockCollision::CollideY(cChara& chara)
{
    if (SkipsBlocks(chara)) return 0;
    chara.m_lpFloorCell = nullptr;
    if (chara.m_bFlying != 0 && chara.m_byCollision == 1) {
        if (ProbeDown(chara) == 2) return 2;
        return ProbeUp(chara);
    }
    if (chara.m_dVY > 0) {
        if (ProbeDown(chara) == 2) return 2;
        return ProbeUp(chara);
    }
    if (ProbeUp(chara) == 2) return 2;
    return ProbeDown(chara);
}

int cBlockCollision::CollideYBoth(cChara& chara)
{
    if (SkipsBlocks(chara)) return 0;
    const int y = TruncToInt(chara.m_dBottom);
    int cell = FindBlockOnLine(chara, TruncToInt(chara.m_dX), y, TruncToInt(chara.m_dRight), y);
    const int mode = ModeOf(cell, chara);
    if (mode == 1) {
        if (DiesOnBlocks(chara)) return 2;
        // A rising chara passes through the floor, and the ceiling is not tested then.
        if (!MayLand(chara)) return 0;
        if (chara.m_nKind == 0) cell = FindFloorBlock(chara);
        chara.m_lpFloorCell = chara.m_lpFloorCell2 = CellPointer(cell);
        chara.LandOnFloor();
    } else if (mode == 2) {
        if (chara.m_nKind == 0) cell = FindFloorBlock(chara);
        chara.m_lpFloorCell = chara.m_lpFloorCell2 = CellPointer(cell);
        if (chara.m_nKind != 1 || DiesOnBlocks(chara)) return 2;
        if (!MayLand(chara)) return 0;
        chara.LandOnFloor();
    }
    const int top = TruncToInt(chara.m_dY);
    const int ceiling = FindBlockOnLine(chara, TruncToInt(chara.m_dX), top, TruncToInt(chara.m_dRight), top);
    const int verdict = WallVerdict(chara, ModeOf(ceiling, chara));
    if (verdict == 2) return 2;
    if (verdict == 0) chara.HitCeiling();
    return 0;
}

void cBlockCollision::ClampToScreenX(cHero& player)
{
    cPlayScene& scene = SceneOf(this);
    if (scene.m_ScrollX.m_bAuto == 0 && player.m_bFlying == 0) return;
    player.UpdateScreenRect();
    if (WrapAdd(player.m_ScreenRect.left, player.m_nDrawOffsetX) < 0) {
        player.m_bContactLeft = 1;
        player.m_dX = scene.m_ScrollX.m_dPos;
        player.OnMovedX();
    } else if (WrapAdd(WrapSub(player.m_ScreenRect.right, player.m_nDrawOffsetX), 1) > 639) {
        player.m_bContactRight = 1;
        player.m_dX = scene.m_ScrollX.m_dPos + 640 - player.m_nWidth - 1;
        player.OnMovedX();
    }
}

int cBlockCollision::ClampToScreenY(cHero& player)
{
    cPlayScene& scene = SceneOf(this);
    if (scene.m_ScrollY.m_bAuto == 0 && player.m_bFlying == 0) return 0;
    player.UpdateScreenRect();
    if (WrapAdd(player.m_ScreenRect.top, player.m_nDrawOffsetY) < 0) {
        player.m_bContactUp = 1;
        player.m_dY = scene.m_ScrollY.m_dPos;
        player.OnMovedY();
    } else if (WrapAdd(WrapSub(player.m_ScreenRect.bottom, player.m_nDrawOffsetY), 1) > 479) {
        player.m_bContactDown = 1;
        player.m_dY = scene.m_ScrollY.m_dPos + 480 - player.m_nHeight - 1;
        player.OnMovedY();
        // Pushed out at the bottom of the screen: only a flyer survives that.
        if (player.m_bFlying == 0) return 2;
    }
    return 0;
}
