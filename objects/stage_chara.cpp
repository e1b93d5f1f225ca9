#include "objects/stage_chara.h"

#include "data/role_accessors.h"
#include "data/stage_data.h"
#include "data/stage_geometry.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"
#include "shell/game_requests.h"
#include "objects/image_source.h"

namespace {

// Clamp codes of ClampX / ClampY in mode 2.
constexpr int kClampStage = 3;
constexpr int kClampBelowPlayfield = 5;
constexpr int kClampStageBottom = 6;

void SetBox(HITBOX& box, int offsetX, int offsetY, int width, int height)
{
    box.nOffsetX = box.nBaseOffsetX = offsetX;
    box.nOffsetY = box.nBaseOffsetY = offsetY;
    box.nWidth = box.nBaseWidth = width;
    box.nHeight = box.nBaseHeight = height;
}

}  // namespace

void cStageChara::Spawn(int serial, cCharaData& definition, const cItem* item, double homeX, double homeY,
                        int copyIndex)
{
    if (CharaStoredScale(definition) == 0) SetCharaStoredScale(definition, 1);
    InitFromDefinition(&definition, homeX, homeY, copyIndex, PlayerOne(), CurrentStageSpeed());

    const bool block = CharaIsBlock(m_Def) != 0;
    const bool flying = CharaMoveType(m_Def) != 0;
    int width = kCell;
    int height = kCell;
    int drawOffsetX = 0;
    int drawOffsetY = 0;
    if (!block) {
        const CHARASIZE bounds = StageCharaBounds(g_StageData, flying);
        width = bounds.nWidth;
        height = bounds.nHeight;
        drawOffsetX = WrapSub(kCell, width) / 2;
        drawOffsetY = bounds.bBottom ? WrapSub(kCell, height) : WrapSub(kCell, height) / 2;
    }
    InitCommon(serial, CharaKind(m_Def), CharaClass(m_Def), CharaPassLayer(m_Def), CharaImageNumber(m_Def), nullptr,
               0, drawOffsetX, drawOffsetY, width, height, kCell, kCell, CharaFacing(m_Def), CharaMoveType(m_Def),
               copyIndex);

    m_BodyBox.Clear();
    m_ShotBox.Clear();
    if (block) {
        SetBox(m_ShotBox, 0, 0, kCell, kCell);
    } else {
        const CHARASIZE shot = StageCharaShotBox(g_StageData);
        SetBodyBoxByMode(CharaBodyBoxMode(m_Def), StageCharaBody(g_StageData, flying), shot,
                         ShotHitBox(g_StageData, false));
        SetBox(m_ShotBox, WrapSub(WrapSub(16, shot.nWidth / 2), drawOffsetX),
               WrapSub(WrapSub(16, shot.nHeight / 2), drawOffsetY), shot.nWidth, shot.nHeight);
    }
    SetScale(CharaStoredScale(m_Def), 1);

    m_bAwake = 0;
    m_nIconCounter = 0;
    if (item) {
        m_HeldItem = *item;
    } else {
        m_HeldItem.m_nImage = 0;
    }
    const int mode = CharaActivationMode(m_Def);
    m_bIgnoreX = (mode == 2 || mode == 3) ? 1 : 0;
    m_bIgnoreY = (mode == 1 || mode == 3) ? 1 : 0;
    m_bActivated = 0;
    m_nSpare = 0;
    m_Animator.SetPattern(m_bFlying ? 0 : 1, 1);
    LoadFlows(m_Def.m_Flows, m_nDirection, 0, -1);
}

void cStageChara::PlaceAtBlock(int column, int row)
{
    cChara::PlaceAtBlock(column, row);
}

void cStageChara::ScaleBoxes(int newScale)
{
    if (CharaIsBlock(m_Def) != 0) {
        SetBox(m_BodyBox, 0, 0, m_nWidth, m_nHeight);
        SetBox(m_ShotBox, 0, 0, m_nWidth, m_nHeight);
        return;
    }
    ScaleBox(m_BodyBox, newScale);
    ScaleBox(m_ShotBox, newScale);
}

void cStageChara::UpdateBoxesX()
{
    const int x = TruncToInt(m_dX);
    for (HITBOX* box : {&m_BodyBox, &m_ShotBox}) {
        box->rect.left = WrapAdd(x, box->nOffsetX);
        box->rect.right = box->rect.left + box->nWidth - 1;
    }
}

void cStageChara::UpdateBoxesY()
{
    const int y = TruncToInt(m_dY);
    for (HITBOX* box : {&m_BodyBox, &m_ShotBox}) {
        box->rect.top = WrapAdd(y, box->nOffsetY);
        box->rect.bottom = box->rect.top + box->nHeight - 1;
    }
}

int cStageChara::OnMovedX()
{
    return ClampX(2);
}

int cStageChara::OnMovedY()
{
    return ClampY(2);
}

int cStageChara::CheckActive(cSafeVector<std::uint8_t>& switches)
{
    if (IsInView(m_bIgnoreX, m_bIgnoreY)) {
        m_bInView = 1;
        if (CharaWakeSwitchOn(m_Def)) switches.At(CharaWakeSwitch(m_Def)) = 1;
        return 1;
    }
    m_bInView = 0;
    return 0;
}

int cStageChara::TryActivate(cSafeVector<std::uint8_t>& switches)
{
    bool wake = m_bInView != 0 || (CharaWakeSwitchOn(m_Def) && switches.At(CharaWakeSwitch(m_Def)) != 0);
    if (!wake && m_bFlying == 0) wake = m_bJumpRise != 0 || (m_bActivated != 0 && m_bFalling != 0);
    if (!wake) return 0;
    m_bActivated = 1;
    if (CharaKeepAwake(m_Def) == 1) m_bIgnoreX = m_bIgnoreY = 1;
    UpdateScreenRect();
    return 1;
}

int cStageChara::MoveX()
{
    if (m_Knockback.dSpeedX == 0) {
        if (m_dInertiaX != 0) {
            Decelerate(m_dInertiaX, m_bDecelX);
            m_dVX += m_dInertiaX;
        }
    } else {
        m_dVX = m_Knockback.dSpeedX;
    }
    const int r = LimitSpeedX(2, CurrentStageSpeed().dSpeedLimit);
    OnMovedX();
    return (r == kClampStage) ? 4 : r;
}

int cStageChara::MoveY()
{
    bool floorSolid = false;
    if (m_lpFloorCell) {
        // A deadly block carries the other charas (kind 1) as a solid one does.
        const int mode = const_cast<cBlockData*>(m_lpFloorCell)->GetHitMode(m_nPassLayer);
        floorSolid = mode == 1 || (mode == 2 && m_nKind == 1);
    }
    ApplyKnockbackY(floorSolid);
    if (m_bFlying != 0 && m_Knockback.dSpeedY == 0 && m_dInertiaY != 0) {
        Decelerate(m_dInertiaY, m_bDecelY);
        m_dVY += m_dInertiaY;
    }
    const int r = LimitSpeedY(2, CurrentStageSpeed().dSpeedLimit);
    OnMovedY();
    if (m_bFlying == 0) {
        if (r == kClampBelowPlayfield || r == kClampStageBottom) return 7;
    } else if (r == kClampStage || r == kClampStageBottom) {
        return 8;
    }
    return r;
}

int cStageChara::Update(int restricted)
{
    return UpdateCommon(restricted, false, CurrentApproachScroll()) ? 1 : 0;
}

void cStageChara::StartJump(cFlowCommandEntry& jump)
{
    if (m_bFalling != 0 || m_bCeilingStop != 0 || m_Knockback.bKnocked != 0 || m_nAirborne != 0) return;
    PlayDbSe(static_cast<WORD>(jump.m_lpCommand ? jump.m_lpCommand->m_nSound : 0));
    m_dVY = jump.m_dSpeed;
    m_bJumpRise = 1;
    m_bJumpUsed = 1;
    m_bRiding = 0;
}

int cStageChara::StepMarkIcon(int& x, int& y)
{
    if (m_HeldItem.m_bActive == 0 || m_bOnScreen == 0 || CharaInvisible(m_Def) != 0 || m_HeldItem.m_Def.m_bHidden != 0)
        return 0;
    ++m_nIconCounter;
    int shown = 0;
    if (m_nIconCounter > 63) {
        x = WrapSub(WrapAdd(m_ScreenRect.left, m_nDrawWidth / 2), m_HeldItem.m_nDrawWidth / 4);
        y = WrapSub(m_ScreenRect.top, m_HeldItem.m_nDrawHeight / 2);
        shown = 1;
    }
    if (m_nIconCounter > 95) m_nIconCounter = 0;
    return shown;
}

void cStageChara::DrawMarkIcon(DDSURFACEDATA* target)
{
    int x = 0;
    int y = 0;
    if (!StepMarkIcon(x, y)) return;
    const cItemData& item = m_HeldItem.m_Def;
    cImageSource::SetSimple(target, x, y, static_cast<std::int8_t>(item.m_nImageKind), m_HeldItem.m_nImage, item.m_nImageFrame);
}
