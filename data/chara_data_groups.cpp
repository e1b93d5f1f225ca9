#include "data/chara_data.h"

void cCharaData::CopyGroup(int group, const cCharaData& from)
{
    switch (group) {
    case 0: m_strName = from.m_strName; break;
    case 1:
        m_nOperator = from.m_nOperator;
        m_nPlayerNumber = from.m_nPlayerNumber;
        break;
    case 2: m_nGroup2Setting = from.m_nGroup2Setting; break;
    case 3: m_nCharaId = from.m_nCharaId; break;
    case 4:
        m_Conditions = from.m_Conditions;
        m_nConditionMode = from.m_nConditionMode;
        m_bCheckOnce = from.m_bCheckOnce;
        break;
    case 5: m_nFacing = from.m_nFacing; break;
    case 6: m_nCopies = from.m_nCopies; break;
    case 7:
        m_nCopyXBase = from.m_nCopyXBase;
        m_nCopyXStep = from.m_nCopyXStep;
        m_bMirrorX = from.m_bMirrorX;
        break;
    case 8:
        m_nCopyYBase = from.m_nCopyYBase;
        m_nCopyYStep = from.m_nCopyYStep;
        m_bMirrorY = from.m_bMirrorY;
        break;
    case 9:
        m_nImageKind = from.m_nImageKind;
        m_nImageNumber = from.m_nImageNumber;
        m_nImageFrame = from.m_nImageFrame;
        break;
    case 10: m_nAnimeSet = from.m_nAnimeSet; break;
    case 11: m_nZ = from.m_nZ; break;
    case 12: m_bTransparent = from.m_bTransparent; break;
    case 13:
        m_nCharaEffect = from.m_nCharaEffect;
        m_nCharaEffectMode = from.m_nCharaEffectMode;
        m_bCharaEffectLoop = from.m_bCharaEffectLoop;
        break;
    case 14:
        m_nDefeatEffect = from.m_nDefeatEffect;
        m_nDefeatEffectMode = from.m_nDefeatEffectMode;
        break;
    case 15:
        m_bMark = from.m_bMark;
        m_nMark = from.m_nMark;
        break;
    case 16: m_bFixedFacing = from.m_bFixedFacing; break;
    case 17: m_nFlying = from.m_nFlying; break;
    case 18:
        m_nInvincible = from.m_nInvincible;
        m_nFlashColor = from.m_nFlashColor;
        break;
    case 19: m_bWholeCellBoxes = from.m_bWholeCellBoxes; break;
    case 20: m_nGiantScale = from.m_nGiantScale; break;
    case 21: m_bSyncAutoScroll = from.m_bSyncAutoScroll; break;
    case 22:
        m_nSightShape = from.m_nSightShape;
        m_nSightRange = from.m_nSightRange;
        break;
    case 23: m_nMaxHp = from.m_nMaxHp; break;
    case 24: m_nMaxSp = from.m_nMaxSp; break;
    case 25: m_nContactRange = from.m_nContactRange; break;
    case 26: m_nBodyAttack = from.m_nBodyAttack; break;
    case 27: m_nBodyImpact = from.m_nBodyImpact; break;
    case 28: m_nHitEffect = from.m_nHitEffect; break;
    case 29: m_nDefence = from.m_nDefence; break;
    case 30: m_nImpactResistance = from.m_nImpactResistance; break;
    case 31: m_nEaseOfStopping = from.m_nEaseOfStopping; break;
    case 32:
        m_nScreenRange = from.m_nScreenRange;
        m_nActivation = from.m_nActivation;
        break;
    case 33:
        m_nGroupSwitch = from.m_nGroupSwitch;
        m_bGroupSwitch = from.m_bGroupSwitch;
        break;
    case 34: m_nScore = from.m_nScore; break;
    case 35: m_nGroup35Setting = from.m_nGroup35Setting; break;
    case kFlowGroup:
        m_Flows = from.m_Flows;
        // A template without flows passes on one default flow (which Validate then drops).
        if (m_Flows.empty()) m_Flows.emplace_back();
        break;
    default: break;
    }
}
