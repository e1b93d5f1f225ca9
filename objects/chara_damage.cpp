// A chara's invincibility, the damage of a hit and its defeat.
#include <algorithm>
#include <atomic>
#include <utility>

#include "data/command_info.h"
#include "data/role_accessors.h"
#include "data/save_data.h"
#include "data/stage_data.h"
#include "objects/chara.h"
#include "objects/effect_instance.h"
#include "objects/hero.h"
#include "objects/item.h"
#include "objects/shot.h"
#include "play/item_touch.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"

namespace {

// Damage and the game score never leave 0..999999.
constexpr int kMaxPoints = 999999;

int ClampPoints(int value)
{
    return std::clamp(value, 0, kMaxPoints);
}

// The stage's invincibility settings in frames: the hero's side (kind 0) or the others.
int InvincibleFrames(int kind)
{
    return (kind != 0) ? g_StageData.m_nCharaInvincible : g_StageData.m_nHeroInvincible;
}
int ImmunityFrames(int kind)
{
    return (kind != 0) ? g_StageData.m_nCharaImmunity : g_StageData.m_nHeroImmunity;
}

// The hit effect on the overlap of the two boxes, over the stage.
void StartHitEffect(int id, const HITBOX& box, const HITBOX& otherBox, int scale)
{
    cEffectInstance effect;
    effect.InitHit(id, box, otherBox, scale);
    if (cPlayScene* scene = Scene()) scene->m_EffectList.m_Effects.push_back(std::move(effect));
}

}  // namespace

void cChara::StartInvincibility()
{
    m_nInvincibleTimer = WrapMul(CurrentStageSpeed().nSteps, InvincibleFrames(m_nKind));
}

void cChara::StartInvincibilityFrom(int attackerSerial)
{
    StartInvincibility();
    m_Immunity.Add(attackerSerial, WrapMul(CurrentStageSpeed().nSteps, ImmunityFrames(m_nKind)));
}

void cChara::TickInvincibility()
{
    m_nInvincibleTimer = (m_nInvincibleTimer > 0) ? m_nInvincibleTimer - 1 : 0;
    m_Immunity.Tick();
}

bool cChara::IsInvincible() const
{
    return m_nInvincibleTimer > 0;
}

bool cChara::IsImmuneTo(int attackerSerial) const
{
    return IsInvincible() || m_Immunity.Contains(attackerSerial);
}

int cChara::TakeDamage(int power, int hitEffect, const HITBOX& ownBox, const HITBOX& otherBox, int scale)
{
    // A power of 0 or below is used as it stands (a negative power heals); the defence never
    // turns a hit into healing.
    const int damage = (power > 0) ? ClampPoints(WrapSub(power, CharaDefence(m_Def))) : power;
    const int result = AddHp(WrapSub(0, damage), 0, 1);
    if (hitEffect != 0) StartHitEffect(hitEffect, ownBox, otherBox, scale);
    return result;
}

void cChara::RaiseHitTriggers(int power, int impact)
{
    if (power != 0) RaiseTrigger(TRIGGER_DAMAGED);
    if (impact != 0) RaiseTrigger(TRIGGER_IMPACT);
}

int cChara::TakeCharaHit(const cChara& attacker)
{
    const int power = CharaPower(attacker.m_Def);
    const int result = TakeDamage(power, CharaHitEffect(attacker.m_Def), m_BodyBox, attacker.m_BodyBox,
                                  CharaHitEffectScale(attacker.m_Def));
    KnockbackFromChara(attacker, CurrentStageSpeed());
    RaiseHitTriggers(power, CharaImpact(attacker.m_Def));
    return result;
}

int cChara::TakeShotHit(const cShot& shot)
{
    const int power = shot.Power();
    const int result = TakeDamage(power, shot.HitEffect(), m_ShotBox, shot.HitBox(), shot.Scale());
    // A sword pushes the way it faces, a shot the way it flies.
    const STAGESPEED speed = CurrentStageSpeed();
    if (shot.IsShot()) StartKnockback(shot.Impact(), shot.m_dVX, shot.m_dVY, speed);
    else StartKnockback(shot.Impact(), shot.FacingSign(), 0, speed);
    RaiseHitTriggers(power, shot.Impact());
    return result;
}

void cChara::ReleaseFollowers()
{
    // Each follower loses its link to this chara: a shot or sword its owner (a sword without
    // one ends at its next update), a chara its target.
    for (cGameObject* follower : m_Followers) {
        if (auto* shot = dynamic_cast<cShot*>(follower)) {
            if (shot->m_nOwnerSerial == m_nSerial) shot->m_nOwnerSerial = kNoOwnerSerial;
        } else if (auto* chara = dynamic_cast<cChara*>(follower)) {
            if (chara != this && chara->m_lpTarget == this) chara->m_lpTarget = nullptr;
        }
    }
    m_Followers.clear();
}

int cChara::Defeat()
{
    RaiseTrigger(TRIGGER_DEATH);
    Update(1);
    g_SaveData.m_nScore = ClampPoints(WrapAdd(g_SaveData.m_nScore, CharaScore(m_Def)));

    int itemResult = 0;
    if (const cItem* item = HeldItem(); item && item->m_bActive != 0) itemResult = ApplyItemEffect(item, Player.At(0));
    const cPlayScene* scene = g_lpPlayScene.load(std::memory_order_relaxed);
    if ((scene && scene->m_nResult == 1) || itemResult == 1) return 1;

    ReleaseTargets();
    UnregisterFromTarget();
    m_lpTarget = nullptr;
    ReleaseFollowers();

    m_bDead = 1;
    m_DrawEffect.Start(CharaDefeatEffect(m_Def), CharaDefeatEffectMode(m_Def), 0);   // the death effect never loops
    return 0;
}
