#include "objects/chara.h"

#include <algorithm>

#include "data/role_accessors.h"
#include "data/stage_geometry.h"
#include "objects/chara_hp.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"

namespace {

constexpr int kVariables = 9;

// A snap ends the movement command's motion.
void StopMovement(cFlowCommandEntry& state)
{
    state.m_dVX = 0;
    state.m_dVY = 0;
}

}  // namespace

cChara::cChara()
{
    m_Def.Reset();
    m_GroupStarted.assign(kFlowGroupFlags, 0);
    m_GroupEnded.assign(kFlowGroupFlags, 0);
    m_GroupThisFrame.assign(kFlowGroupFlags, 0);
}

cChara::cChara(const cChara& source) : cGameObject(source), CHARAFIELDS(source)
{
    RegisterWithTarget();
    RebindRunningFlows();
}

cChara& cChara::operator=(const cChara& source)
{
    Assign(source);
    return *this;
}

cChara::~cChara()
{
    UnregisterFromTarget();
    ReleaseTargets();
    ForgetSceneReferences(0, true);
}

void cChara::Assign(const cChara& source)
{
    if (this == &source) return;
    UnregisterFromTarget();
    ForgetSceneReferences(0, false);
    cGameObject::operator=(source);
    CHARAFIELDS::operator=(source);
    RegisterWithTarget();
    RebindRunningFlows();
}

void cChara::RegisterWithTarget()
{
    if (!m_lpTarget) return;
    cTargetedByList& list = m_lpTarget->m_TargetedBy;
    if (std::find(list.begin(), list.end(), this) == list.end()) list.push_back(this);
}

void cChara::UnregisterFromTarget()
{
    if (m_lpTarget) m_lpTarget->m_TargetedBy.RemoveValue(this);
}

void cChara::ReleaseTargets()
{
    for (cChara* chara : m_TargetedBy) {
        if (chara != this && chara->m_lpTarget == this) chara->m_lpTarget = nullptr;
    }
    m_TargetedBy.clear();
}

void cChara::ForgetSceneReferences(int firstFlow, bool self)
{
    cPlayScene* scene = g_lpPlayScene.load(std::memory_order_relaxed);
    if (!scene) return;
    if (self && scene->m_lpCurChara == this) scene->m_lpCurChara = nullptr;
    for (std::size_t i = static_cast<std::size_t>(std::max(firstFlow, 0)); i < m_RunningFlows.size(); ++i) {
        cRunningFlow& flow = m_RunningFlows[i];
        if (scene->m_lpCurFlow == &flow) scene->m_lpCurFlow = nullptr;
        for (cFlowCommandEntry& entry : flow.m_Entries) {
            if (scene->m_lpCurEntry == &entry) scene->m_lpCurEntry = nullptr;
        }
    }
}

void cChara::InitFromDefinition(const cCharaData* definition, double homeX, double homeY, int copyIndex,
                                cChara* playerOne, const STAGESPEED& speed)
{
    m_sCopyIndex = static_cast<std::int16_t>(copyIndex);
    // Only charas that still aim at this one stay in its list: dropping one that does would
    // leave it holding this chara's address unseen.
    std::erase_if(m_TargetedBy, [this](const cChara* chara) { return chara->m_lpTarget != this; });
    m_Followers.clear();
    if (m_lpTarget != playerOne) UnregisterFromTarget();
    m_lpTarget = playerOne;
    RegisterWithTarget();

    m_nNextFlowId = 0;
    m_GroupStarted.assign(kFlowGroupFlags, 0);
    m_GroupEnded.assign(kFlowGroupFlags, 0);
    m_GroupThisFrame.assign(kFlowGroupFlags, 0);
    m_bGroupEnded = 0;
    m_bFlowRemoval = 0;
    m_dHomeX = homeX;
    m_dHomeY = homeY;

    m_bMoved = 0;
    m_Knockback = KNOCKBACK{};
    m_bGravityHold = 0;
    m_nWallSide = -1;
    m_bFalling = 1;
    m_bJumpUsed = m_bJumpRise = m_nJumpSpare = m_bCeilingStop = m_nAirborne = 0;
    m_lpFloorCell = m_lpFloorCell2 = m_lpPrevFloorCell = nullptr;
    m_nCrushGrace = 0;
    m_bFixedScreenX = m_bFixedScreenY = m_nFixedScreenX = m_nFixedScreenY = 0;
    m_bDead = 0;
    m_bContactLeft = m_bContactRight = m_bContactUp = m_bContactDown = 0;
    m_bLeftRide = m_bRiding = m_nRideSerial = m_nRideExtra = 0;
    m_RideRect.Clear();
    m_nHp = m_nSp = 0;
    m_Gauges.Reset();
    m_Vars.assign(kVariables, 0);

    if (definition) {
        m_Def = *definition;
        m_nHp = CharaMaxHp(m_Def);
        m_nSp = CharaMaxSp(m_Def);
    }
    m_bScrollRelative = CharaScrollRelative(m_Def);
    m_bRemoveRequest = 0;
    m_bHidden = 0;
    m_nSightRadius = HblToDot(CharaSightRadius(m_Def));
    m_dDecel = HundredthsToStepSpeed(CharaDeceleration(m_Def), speed);

    m_DrawEffect.Reset();
    if (CharaInitialEffect(m_Def) != 0)
        m_DrawEffect.Start(CharaInitialEffect(m_Def), CharaInitialEffectMode(m_Def), CharaInitialEffectLoop(m_Def));
    m_nInvincibleTimer = 0;
    m_Immunity = cHitImmunityList{};
    SetAnimeSet(CharaAnimeSet(m_Def), 1);
    m_Animations.clear();
}

int cChara::Scale() const
{
    return CharaScale(m_Def);
}

void cChara::SetBodyBox(int bottomAligned, int width, int height)
{
    const int offsetX = WrapSub(WrapSub(16, m_nDrawOffsetX), width / 2);
    const int offsetY = bottomAligned ? WrapSub(WrapSub(32, m_nDrawOffsetY), height)
                                      : WrapSub(WrapSub(16, m_nDrawOffsetY), height / 2);
    m_BodyBox.nOffsetX = m_BodyBox.nBaseOffsetX = offsetX;
    m_BodyBox.nOffsetY = m_BodyBox.nBaseOffsetY = offsetY;
    m_BodyBox.nWidth = m_BodyBox.nBaseWidth = width;
    m_BodyBox.nHeight = m_BodyBox.nBaseHeight = height;
}

void cChara::SetBodyBoxByMode(int mode, const CHARASIZE& body, const CHARASIZE& shot, const CHARASIZE& shotHit)
{
    switch (mode) {
    case 0: SetBodyBox(body.bBottom, body.nWidth, body.nHeight); break;
    case 1: SetBodyBox(0, shot.nWidth, shot.nHeight); break;
    case 2: SetBodyBox(0, shotHit.nWidth, shotHit.nHeight); break;
    case 3: SetBodyBox(0, 32, 32); break;  // one block
    default: break;
    }
}

void cChara::AdjustYForScale(int newScale, int oldScale)
{
    if (newScale == oldScale) return;
    const int d = WrapSub(newScale, oldScale);
    if (ScaleByBoundsSwitch()) {
        m_dY -= WrapMul(d, m_nBaseHeight);
    } else {
        m_dY -= WrapSub(WrapMul(d, m_nBaseDrawHeight), WrapMul(d, m_nBaseDrawOffsetY));
    }
    OnMovedY();
}

void cChara::SetCenter(int x, int y)
{
    SetCenterX(x);
    SetCenterY(y);
}

void cChara::SnapCenter(int x, int y, cFlowCommandEntry& state)
{
    SetCenter(x, y);
    StopMovement(state);
}

void cChara::SetCenterX(int x)
{
    m_dX += WrapSub(x, WrapAdd(m_ScreenRect.left, m_nDrawWidth / 2));
    OnMovedX();
}

void cChara::SnapCenterX(int x, cFlowCommandEntry& state)
{
    SetCenterX(x);
    StopMovement(state);
}

void cChara::SetCenterY(int y)
{
    m_dY += WrapSub(y, WrapAdd(m_ScreenRect.top, m_nDrawHeight / 2));
    OnMovedY();
}

void cChara::SnapCenterY(int y, cFlowCommandEntry& state)
{
    SetCenterY(y);
    StopMovement(state);
}

void cChara::ApplyGravity(double gravity)
{
    if (m_bFlying == 0 && m_bRiding == 0 && m_bGravityHold == 0 && !(m_Knockback.dSpeedY < 0)) m_dVY += gravity;
}

void cChara::StartKnockback(int strength, double dx, double dy, const STAGESPEED& speed)
{
    ::StartKnockback(*this, m_Knockback, strength, CharaKnockbackResistance(m_Def), dx, dy, speed);
}

void cChara::KnockbackFromChara(const cChara& attacker, const STAGESPEED& speed)
{
    double dy = attacker.m_dVY;
    if (CharaMoveType(attacker.m_Def) == 0 && attacker.m_dVY < speed.nFallLimit * speed.dGravity) dy = 0;
    StartKnockback(CharaKnockbackStrength(attacker.m_Def), attacker.m_dVX, dy, speed);
}

void cChara::ApplyKnockbackY(bool floorSolid)
{
    ::ApplyKnockbackY(*this, m_Knockback, (m_lpFloorCell != nullptr && floorSolid) || m_bRiding != 0);
}

void cChara::LandOnFloor()
{
    m_dVY = 0;
    m_dInertiaY = 0;
    m_bContactDown = 1;
    m_nAirborne = 0;
    m_bFalling = 0;
    m_bJumpRise = 0;
    m_bJumpUsed = 0;
    m_Knockback.bKnocked = 0;
    if (m_nKind != 0) m_bCeilingStop = 0;
    m_dY -= WrapAdd(WrapMod(TruncToInt(m_dBottom), kCell), 1);
    OnMovedY();
    RaiseTrigger(9);
    RaiseTrigger(13);
    RaiseTrigger(15);
}

void cChara::HitCeiling()
{
    m_bJumpUsed = 1;
    m_bJumpRise = 1;
    m_bContactUp = 1;
    m_bCeilingStop = 1;
    m_dVY = 0;
    m_dInertiaY = 0;
    m_dY += WrapSub(kCell, WrapMod(TruncToInt(m_dY), kCell));
    OnMovedY();
    RaiseTrigger(9);
    RaiseTrigger(13);
    RaiseTrigger(14);
}

void cChara::ClearRideState(int followUp)
{
    m_bRiding = 0;
    if (m_Knockback.dSpeedY == 0) m_dVY = 0;
    if (followUp) m_bLeftRide = 1;
}

void cChara::ClearContactFlags()
{
    m_bContactLeft = m_bContactRight = m_bContactUp = m_bContactDown = 0;
}

void cChara::SavePosition()
{
    m_SavedBounds = DBLRECT{m_dX, m_dY, m_dRight, m_dBottom};
}

void cChara::RestorePosition()
{
    m_dX = m_SavedBounds.left;
    m_dY = m_SavedBounds.top;
    m_dRight = m_SavedBounds.right;
    m_dBottom = m_SavedBounds.bottom;
}

void cChara::PlaceAtBlock(int column, int row)
{
    PlaceAtBlockX(column);
    PlaceAtBlockY(row);
}

void cChara::PlaceAtBlockX(int column)
{
    m_dX = WrapAdd(WrapMul(WrapAdd(kMarginBlocks, column), kCell), m_nBaseDrawOffsetX) + 0.5;
    AdjustXForScale(Scale(), 1);
    OnMovedX();
}

void cChara::PlaceAtBlockY(int row)
{
    m_dY = WrapAdd(WrapMul(WrapAdd(kMarginBlocks, row), kCell), m_nBaseDrawOffsetY);
    AdjustYForScale(Scale(), 1);
    OnMovedY();
}

int cChara::AddHp(int delta, int force, int show)
{
    return AddHpPoints({m_nHp, m_Gauges.m_HpGauge, CharaMaxHp(m_Def)}, CharaInvincibility(m_Def), delta, force, show);
}

int cChara::AddSp(int delta, int show)
{
    return AddSpPoints({m_nSp, m_Gauges.m_SpGauge, CharaMaxSp(m_Def)}, delta, show);
}

void cChara::ShowHpGauge(int delta)
{
    ShowGauge({m_nHp, m_Gauges.m_HpGauge, CharaMaxHp(m_Def)}, delta);
}

void cChara::ShowSpGauge(int delta)
{
    ShowGauge({m_nSp, m_Gauges.m_SpGauge, CharaMaxSp(m_Def)}, delta);
}
