// The hero statuses carried from one stage to the next, in 25 groups; the System data says
// which groups are carried and which are dropped when the hero loses a life.
#include "data/save_data.h"
#include "data/system_data.h"

namespace {

enum CARRYGROUP {
    CARRY_IMAGE, CARRY_ANIMESET, CARRY_Z, CARRY_TRANSPARENT, CARRY_CHARAEFFECT, CARRY_FIXEDFACING,
    CARRY_FLYING, CARRY_INVINCIBLE, CARRY_GIANTSCALE, CARRY_SYNCAUTOSCROLL, CARRY_SIGHT, CARRY_HP,
    CARRY_SP, CARRY_MAXHP, CARRY_MAXSP, CARRY_CONTACTRANGE, CARRY_BODYATTACK, CARRY_BODYIMPACT,
    CARRY_DEFENCE, CARRY_IMPACTRESISTANCE, CARRY_EASEOFSTOPPING, CARRY_FLOWS, CARRY_TIMELEFT,
    CARRY_LIVES, CARRY_STAGEBGM,
};

bool SystemCarries(int group)
{
    return g_SystemData.m_CarryFlags.size() > static_cast<std::size_t>(group) &&
           g_SystemData.m_CarryFlags[static_cast<std::size_t>(group)] != 0;
}

// Copies the definition's values of a group; false for the groups that are not values of
// the definition (HP, SP, time left, lives, stage BGM, and the chara effect, which comes from
// the running effect).
bool CopyCharaGroup(int group, const cCharaData& from, cCharaData& to)
{
    switch (group) {
    case CARRY_IMAGE:
        to.m_nImageNumber = from.m_nImageNumber;
        to.m_nImageKind = from.m_nImageKind;
        to.m_nImageFrame = from.m_nImageFrame;
        return true;
    case CARRY_ANIMESET: to.m_nAnimeSet = from.m_nAnimeSet; return true;
    case CARRY_Z: to.m_nZ = from.m_nZ; return true;
    case CARRY_TRANSPARENT: to.m_bTransparent = from.m_bTransparent; return true;
    case CARRY_FIXEDFACING: to.m_bFixedFacing = from.m_bFixedFacing; return true;
    case CARRY_FLYING: to.m_nFlying = from.m_nFlying; return true;
    case CARRY_INVINCIBLE: to.m_nInvincible = from.m_nInvincible; return true;
    case CARRY_GIANTSCALE: to.m_nGiantScale = from.m_nGiantScale; return true;
    case CARRY_SYNCAUTOSCROLL: to.m_bSyncAutoScroll = from.m_bSyncAutoScroll; return true;
    case CARRY_SIGHT:
        to.m_nSightShape = from.m_nSightShape;
        to.m_nSightRange = from.m_nSightRange;
        return true;
    case CARRY_MAXHP: to.m_nMaxHp = from.m_nMaxHp; return true;
    case CARRY_MAXSP: to.m_nMaxSp = from.m_nMaxSp; return true;
    case CARRY_CONTACTRANGE: to.m_nContactRange = from.m_nContactRange; return true;
    case CARRY_BODYATTACK: to.m_nBodyAttack = from.m_nBodyAttack; return true;
    case CARRY_BODYIMPACT: to.m_nBodyImpact = from.m_nBodyImpact; return true;
    case CARRY_DEFENCE: to.m_nDefence = from.m_nDefence; return true;
    case CARRY_IMPACTRESISTANCE: to.m_nImpactResistance = from.m_nImpactResistance; return true;
    case CARRY_EASEOFSTOPPING: to.m_nEaseOfStopping = from.m_nEaseOfStopping; return true;
    case CARRY_FLOWS: to.m_Flows = from.m_Flows; return true;
    default: return false;
    }
}

}  // namespace

void cSaveData::StoreHeroStatus(int player, const cCharaData& hero, int hp, int sp, int a, int b, int c, int timeLeft,
                                int lives, int stageBgm)
{
    m_bCarryActive = 1;
    cCarryStatusData& carried = m_CarryStatuses.At(player);
    for (int group = 0; group < kCarryGroups; ++group) {
        if (!SystemCarries(group)) continue;
        if (!CopyCharaGroup(group, hero, carried.m_Chara)) {
            switch (group) {
            case CARRY_CHARAEFFECT:
                carried.m_Chara.m_nCharaEffect = static_cast<std::int16_t>(a);
                carried.m_Chara.m_nCharaEffectMode = static_cast<std::int8_t>(b);
                carried.m_Chara.m_bCharaEffectLoop = static_cast<BYTE>(c);
                break;
            case CARRY_HP: carried.m_nHp = hp; break;
            case CARRY_SP: carried.m_nSp = sp; break;
            case CARRY_TIMELEFT: carried.m_nTimeLeft = timeLeft; break;
            case CARRY_LIVES: carried.m_nLives = lives; break;
            case CARRY_STAGEBGM: carried.m_nStageBgm = stageBgm; break;
            default: break;
            }
        }
        m_CarryFlags.At(group) = 1;
    }
}

void cSaveData::RestoreHeroStatus(int player, cCharaData& hero, int* timeLimit, int* stageBgm)
{
    if (!m_bCarryActive) return;
    const cCarryStatusData& carried = m_CarryStatuses.At(player);
    for (int group = 0; group < kCarryGroups; ++group) {
        if (group == CARRY_HP || group == CARRY_SP) continue;  // RestoreExtraStatus
        if (!SystemCarries(group) || !m_CarryFlags.At(group)) continue;
        if (CopyCharaGroup(group, carried.m_Chara, hero)) {
            if (group == CARRY_IMAGE && hero.m_nImageNumber == 0) hero.m_nImageNumber = 1;
            continue;
        }
        switch (group) {
        case CARRY_CHARAEFFECT:
            hero.m_nCharaEffect = carried.m_Chara.m_nCharaEffect;
            hero.m_nCharaEffectMode = carried.m_Chara.m_nCharaEffectMode;
            hero.m_bCharaEffectLoop = carried.m_Chara.m_bCharaEffectLoop;
            break;
        case CARRY_TIMELEFT:
            if (timeLimit) *timeLimit = carried.m_nTimeLeft;
            break;
        case CARRY_LIVES: m_nLives = carried.m_nLives; break;
        case CARRY_STAGEBGM:
            if (stageBgm) *stageBgm = carried.m_nStageBgm;
            break;
        default: break;
        }
    }
}

void cSaveData::RestoreExtraStatus(int player, int* hp, int* sp)
{
    if (!m_bCarryActive) return;
    const cCarryStatusData& carried = m_CarryStatuses.At(player);
    if (hp && SystemCarries(CARRY_HP) && m_CarryFlags.At(CARRY_HP)) *hp = carried.m_nHp;
    if (sp && SystemCarries(CARRY_SP) && m_CarryFlags.At(CARRY_SP)) *sp = carried.m_nSp;
}

void cSaveData::ClearCarryFlags()
{
    const cSafeVector<BYTE>& deathClear = g_SystemData.m_DeathClearFlags;
    for (std::size_t group = 0; group < m_CarryFlags.size() && group < deathClear.size(); ++group) {
        if (deathClear[group]) m_CarryFlags[group] = 0;
    }
}
