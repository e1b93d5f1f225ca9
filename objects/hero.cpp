#include "objects/hero.h"

#include <algorithm>

#include "data/role_accessors.h"
#include "data/stage_data.h"
#include "data/stage_geometry.h"
#include "data/system_data.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/effect_blit.h"
#include "graphics/fill.h"
#include "graphics/standard_surfaces.h"
#include "objects/item_actions.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"
#include "shell/input.h"

namespace {

constexpr int kOverlayColors[8] = {208, 212, 216, 220, 224, 228, 232, 236};

// A box centred in the 32 x 32 drawing: offset 16 - size / 2 - draw offset on each axis.
void SetCentredBox(HITBOX& box, CHARASIZE size, int drawOffsetX, int drawOffsetY)
{
    box.nOffsetX = box.nBaseOffsetX = WrapSub(WrapSub(16, size.nWidth / 2), drawOffsetX);
    box.nOffsetY = box.nBaseOffsetY = WrapSub(WrapSub(16, size.nHeight / 2), drawOffsetY);
    box.nWidth = box.nBaseWidth = size.nWidth;
    box.nHeight = box.nBaseHeight = size.nHeight;
}

// The camera on one axis follows `centre`, within the axis's scroll limits.
void Follow(cScrollAxis& axis, double position, int screen)
{
    if (position < axis.m_nMin) {
        axis.m_dPos = axis.m_nMin;
    } else if (position + screen >= axis.m_nMax) {
        axis.m_dPos = WrapSub(axis.m_nMax, screen);
    } else {
        axis.m_dPos = position;
    }
}

}  // namespace

void cHero::Spawn(int serial, const cCharaData& placement, double homeX, double homeY)
{
    const STAGESPEED speed = CurrentStageSpeed();
    // Every chara aims at player 1 first, player 1 included: its flows' target is itself.
    cChara* playerOne = Player.empty() ? this : &Player.At(0);
    InitFromDefinition(&placement, homeX, homeY, 0, playerOne, speed);
    if (CharaStoredScale(m_Def) == 0) SetCharaStoredScale(m_Def, 1);

    int drawOffsetX = 0;
    int drawOffsetY = 0;
    int width = 0;
    int height = 0;
    GetBodySize(drawOffsetX, drawOffsetY, width, height);
    InitCommon(serial, CharaKind(m_Def), CharaClass(m_Def), CharaPassLayer(m_Def), CharaImageNumber(m_Def), nullptr,
               0, drawOffsetX, drawOffsetY, width, height, kCell, kCell, 1, 0, 0);
    m_lpInput = &g_Input.At(CharaClass(m_Def));

    SetMoveType(CharaMoveType(m_Def), 0);
    SetScale(CharaScale(m_Def), 1);

    m_nJumpHold = 0;
    m_bNoJump = 0;
    m_bJumpHandled = 0;
    m_bBlockDirection = m_bBlockButtons = 0;
    m_nBlockEffectKind = 0;
    m_dBlockEffectValue = 0;
    m_nBlockEffectSteps = 0;
    m_nBlockItemCooldown = 0;
    m_nFrameCounter = 0;
    m_bJumpReady = 1;
    m_bCeilingStop = 0;
    m_dBlockEffectBase = 4 / speed.dSteps;
    m_nDirection = m_nPrevDirection = CharaFacing(m_Def);

    RebuildBoxList();
    m_Touching.clear();
    LoadFlows(m_Def.m_Flows, m_nDirection, 0, -1);
}

void cHero::GetBodySize(int& drawOffsetX, int& drawOffsetY, int& width, int& height) const
{
    const CHARASIZE bounds = HeroBounds(g_StageData, m_bFlying != 0);
    width = bounds.nWidth;
    height = bounds.nHeight;
    drawOffsetX = WrapSub(kCell, width) / 2;
    drawOffsetY = bounds.bBottom ? WrapSub(kCell, height) : WrapSub(kCell, height) / 2;
}

void cHero::SetMoveType(int type, int applyScale)
{
    SetCharaMoveType(m_Def, type);
    const int wasFlying = m_bFlying;
    cGameObject::SetMoveType(type);
    if (m_bFlying != wasFlying) {
        m_nCrushGrace = 2;
        if (wasFlying != 0) m_dVX = m_dVY = m_dInertiaX = m_dInertiaY = 0;
    }

    int drawOffsetX = 0;
    int drawOffsetY = 0;
    int width = 0;
    int height = 0;
    GetBodySize(drawOffsetX, drawOffsetY, width, height);
    m_nWidth = m_nBaseWidth = width;
    m_nHeight = m_nBaseHeight = height;
    m_nDrawWidth = m_nBaseDrawWidth = kCell;
    m_nDrawHeight = m_nBaseDrawHeight = kCell;
    m_nDrawOffsetX = m_nBaseDrawOffsetX = drawOffsetX;
    m_nDrawOffsetY = m_nBaseDrawOffsetY = drawOffsetY;

    const bool flying = m_bFlying != 0;
    SetBodyBoxByMode(CharaBodyBoxMode(m_Def), HeroBody(g_StageData, flying), HeroShotBox(g_StageData),
                     ShotHitBox(g_StageData, true));
    SetCentredBox(m_ShotBox, HeroShotBox(g_StageData), drawOffsetX, drawOffsetY);
    SetCentredBox(m_ItemBox, HeroItemBox(g_StageData), drawOffsetX, drawOffsetY);

    if (applyScale != 0) {
        const int scale = CharaScale(m_Def);
        m_nWidth = WrapMul(m_nBaseWidth, scale);
        m_nHeight = WrapMul(m_nBaseHeight, scale);
        m_nDrawOffsetX = WrapMul(m_nBaseDrawOffsetX, scale);
        m_nDrawOffsetY = WrapMul(m_nBaseDrawOffsetY, scale);
        m_nDrawWidth = WrapMul(m_nBaseDrawWidth, scale);
        m_nDrawHeight = WrapMul(m_nBaseDrawHeight, scale);
        ScaleBoxes(scale);
    }
    RebuildBoxList();
}

void cHero::RebuildBoxList()
{
    m_Overlays.clear();
    auto add = [this](int kind, int width, int height) {
        HEROOVERLAY overlay;
        overlay.nKind = kind;
        overlay.nMode = HeroOverlayMode(g_StageData, kind);
        overlay.nColor = kOverlayColors[std::clamp(HeroOverlayColor(g_StageData, kind), 0, 7)];
        overlay.nWidth = width;
        overlay.nHeight = height;
        m_Overlays.push_back(overlay);
    };
    add(0, m_nWidth, m_nHeight);
    add(2, m_ItemBox.nWidth, m_ItemBox.nHeight);
    add(1, m_BodyBox.nWidth, m_BodyBox.nHeight);
    add(3, m_ShotBox.nWidth, m_ShotBox.nHeight);
    // Larger boxes first, so that smaller ones are drawn over them; equal areas keep their order.
    std::stable_sort(m_Overlays.begin(), m_Overlays.end(), [](const HEROOVERLAY& a, const HEROOVERLAY& b) {
        return std::int64_t{a.nWidth} * a.nHeight > std::int64_t{b.nWidth} * b.nHeight;
    });
}

void cHero::UpdateScreenRect()
{
    const cPlayScene* scene = Scene();
    const double sx = scene ? scene->m_ScrollX.m_dPos : 0;
    const double sy = scene ? scene->m_ScrollY.m_dPos : 0;
    if (scene && scene->m_ScrollX.m_bAuto != 0) {
        m_ScreenRect.left = WrapSub(WrapSub(TruncToInt(m_dX), TruncToInt(sx)), m_nDrawOffsetX);
    } else {
        m_ScreenRect.left = TruncToInt(m_dX - sx - m_nDrawOffsetX);
    }
    if (scene && scene->m_ScrollY.m_bAuto != 0) {
        m_ScreenRect.top = WrapSub(WrapSub(TruncToInt(m_dY), TruncToInt(sy)), m_nDrawOffsetY);
    } else {
        m_ScreenRect.top = TruncToInt(m_dY - sy - m_nDrawOffsetY);
    }
    m_ScreenRect.right = WrapSub(WrapAdd(m_ScreenRect.left, m_nDrawWidth), 1);
    m_ScreenRect.bottom = WrapSub(WrapAdd(m_ScreenRect.top, m_nDrawHeight), 1);
}

int cHero::IsNewItem(int serial) const
{
    return std::find(m_Touching.begin(), m_Touching.end(), serial) == m_Touching.end() ? 1 : 0;
}

void cHero::ForgetItem(int serial)
{
    m_Touching.RemoveValue(serial);
}

int cHero::RunItemActions(const cSafeVector<cCommandData>& actions)
{
    if (cPlayScene* scene = Scene()) scene->m_bItemActionOnce = 0;
    for (const cCommandData& action : actions) {
        // The command functions take their record as modifiable; none of them changes it.
        const int result = RunItemAction(*this, const_cast<cCommandData&>(action));
        if (m_nHp <= 0) return 2;
        if (result != 0) return result;
    }
    return (m_nHp <= 0) ? 2 : 0;
}

void cHero::ShowItemMessage(int imageKind, int picture, int imageIndex)
{
    cPlayScene* scene = Scene();
    if (!scene) return;
    MESSAGESETUP setup;
    setup.nKind = kMessageItem;
    setup.nIconKind = imageKind;
    setup.nIconIndex = picture;
    setup.nIconFrame = imageIndex;
    setup.nPosMode = 4;
    setup.bFixed = 1;
    setup.nDisplayMode = 2;
    setup.nFrames = 30;
    setup.nCharaSerial = m_nSerial;
    AddMessageToList(scene->m_MessageList.m_Messages, cMessage(setup));
}

void cHero::Draw(DDSURFACEDATA* target, int paused)
{
    cChara::Draw(target, paused);
    // In 8-bit colour the palette animation, when on, shades the overlay colours itself.
    const bool paletteShades = g_nBpp == 8 && g_SystemData.m_bColorAnim != 0;
    for (HEROOVERLAY& overlay : m_Overlays) {
        if (overlay.nMode == 0) continue;
        const HITBOX* box = OverlayBox(overlay.nKind);
        overlay.nX = WrapAdd(WrapAdd(m_ScreenRect.left, m_nDrawOffsetX), box ? box->nOffsetX : 0);
        overlay.nY = WrapAdd(WrapAdd(m_ScreenRect.top, m_nDrawOffsetY), box ? box->nOffsetY : 0);
        const int colour = paletteShades ? overlay.nColor : overlay.nColor + overlay.nBlink / 8;
        if (overlay.nMode == 1) {
            DDFillRectPal(target, overlay.nX, overlay.nY, overlay.nWidth, overlay.nHeight, static_cast<DWORD>(colour));
        } else if (overlay.nMode == 2) {
            DDDrawFrame(target, overlay.nX, overlay.nY, overlay.nWidth, overlay.nHeight, 1, static_cast<DWORD>(colour));
        }
        overlay.nBlink = (overlay.nBlink + 1) & 31;
    }
}

const HITBOX* cHero::OverlayBox(int kind) const
{
    switch (kind) {
    case 1: return &m_BodyBox;
    case 2: return &m_ItemBox;
    case 3: return &m_ShotBox;
    default: return nullptr;   // the bounds sit at the position itself
    }
}

void cHero::DrawOverlayMask(DDSURFACEDATA* target)
{
    const int shape = CharaSightShape(m_Def);
    if (!target || shape == 0) return;
    DDSURFACEDATA* mask = &g_StdSurface[kSightMask];
    int sx = WrapSub(WrapSub(mask->nWidth / 2, m_nDrawWidth / 2), m_ScreenRect.left);
    const int sy = WrapSub(WrapSub(mask->nHeight / 2, m_nDrawHeight / 2), m_ScreenRect.top);
    // The shapes ahead of the hero move the hole a radius ahead of its centre.
    if (shape == 2 || shape == 4)
        sx = WrapSub(WrapAdd(sx, WrapMul(FacingSign(), m_nDrawWidth / 2)), WrapMul(FacingSign(), m_nSightRadius));
    sx = std::clamp(sx, 0, std::max(mask->nWidth - 640, 0));
    DDBltFast(target, 0, 0, 640, 480, mask, sx, std::clamp(sy, 0, std::max(mask->nHeight - 480, 0)), DDBLTFAST_SRCCOLORKEY);
}

int cHero::IsOnGround() const
{
    if (m_bRiding != 0) return 1;
    if (!m_lpFloorCell) return 0;
    return const_cast<cBlockData*>(m_lpFloorCell)->GetHitMode(m_nPassLayer) == 1 ? 1 : 0;
}

void cHero::ScaleBoxes(int newScale)
{
    ScaleBox(m_BodyBox, newScale);
    ScaleBox(m_ShotBox, newScale);
    ScaleBox(m_ItemBox, newScale);
}

void cHero::UpdateBoxesX()
{
    const int x = TruncToInt(m_dX);
    for (HITBOX* box : {&m_BodyBox, &m_ShotBox, &m_ItemBox}) {
        box->rect.left = WrapAdd(x, box->nOffsetX);
        box->rect.right = box->rect.left + box->nWidth - 1;
    }
}

void cHero::UpdateBoxesY()
{
    const int y = TruncToInt(m_dY);
    for (HITBOX* box : {&m_BodyBox, &m_ShotBox, &m_ItemBox}) {
        box->rect.top = WrapAdd(y, box->nOffsetY);
        box->rect.bottom = box->rect.top + box->nHeight - 1;
    }
}

int cHero::OnMovedX()
{
    // The camera moves first, so that the hero is clamped against where it now looks.
    if (cPlayScene* scene = Scene(); scene && scene->m_ScrollX.m_bAuto == 0)
        Follow(scene->m_ScrollX, m_dX - WrapSub(320, m_nWidth / 2), 640);
    const int code = ClampX(m_bFlying ? 0 : 1);
    m_dRight = m_dX + m_nWidth - 1;
    return code;
}

int cHero::OnMovedY()
{
    if (cPlayScene* scene = Scene(); scene && scene->m_ScrollY.m_bAuto == 0)
        Follow(scene->m_ScrollY, m_dY - (240.0 - m_nHeight / 2), 480);
    return ClampY(m_bFlying ? 0 : 1);
}

int cHero::MoveX()
{
    const STAGESPEED speed = CurrentStageSpeed();
    if (m_Knockback.dSpeedX != 0) {
        m_dVX = m_Knockback.dSpeedX;
    } else if (m_dInertiaX != 0) {
        Decelerate(m_dInertiaX, m_bDecelX);
        if (m_nBlockEffectKind == 3 && m_nBlockEffectSteps != 0) {
            // A block that speeds or slows the hero acts on its inertia.
            const double a = DotsPerSecondToStep(m_dBlockEffectBase, speed) * (m_dBlockEffectValue - 1);
            if (m_dInertiaX <= 0) {
                m_dInertiaX -= a;
                if (m_dInertiaX > 0) m_dInertiaX = 0;
            } else {
                m_dInertiaX += a;
                if (m_dInertiaX < 0) m_dInertiaX = 0;
            }
        }
        m_dVX += m_dInertiaX;
    }
    if (m_dVX < -speed.dSpeedLimit) m_dVX = -speed.dSpeedLimit;
    else if (m_dVX > speed.dSpeedLimit) m_dVX = speed.dSpeedLimit;
    m_dX += m_dVX;
    OnMovedX();
    return 0;
}

int cHero::MoveY()
{
    bool floorSolid = false;
    if (m_lpFloorCell) floorSolid = const_cast<cBlockData*>(m_lpFloorCell)->GetHitMode(m_nPassLayer) == 1;
    ApplyKnockbackY(floorSolid);
    if (m_bFlying != 0 && m_Knockback.dSpeedY == 0 && m_dInertiaY != 0) {
        Decelerate(m_dInertiaY, m_bDecelY);
        m_dVY += m_dInertiaY;
    }
    const int r = LimitSpeedY(m_bFlying ? 0 : 2, CurrentStageSpeed().dSpeedLimit);
    OnMovedY();
    if (m_bFlying == 0 && (r == kEdgeBelowPlayfield || r == kEdgeStageBottom)) return 7;
    return r;
}

void cHero::AfterFlows()
{
    // Flow changes taken by item actions inside the hero's own flows, in the order taken.
    const std::vector<cCommandData> pending = std::move(m_PendingFlowChanges);
    m_PendingFlowChanges.clear();
    for (const cCommandData& action : pending) ChangeFlowsByItem(*this, action, 1);
}

int cHero::Update(int restricted)
{
    m_bBlockDirection = 0;
    m_bBlockButtons = 0;
    m_bJumpHandled = 0;
    if (UpdateCommon(restricted, true, CurrentApproachScroll())) return 1;
    m_nFrameCounter = WrapAdd(m_nFrameCounter, 1);
    if (m_bJumpHandled == 0) {
        m_nJumpHold = 0;
        m_bJumpReady = 1;
        m_bCeilingStop = 0;
    }
    return 0;
}
