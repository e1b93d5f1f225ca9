// The stored fields of the shot part, in file (block) order.
#include "data/shot_part.h"

void cEdShot::RegisterFields(DWORD version)
{
    ClearTables();
    AddField1(&m_nFormationCount, 1, "nFormationCount");
    AddField1(&m_nFormation, 1, "nFormation");
    AddField2(m_nFormationParams, 3, "nFormationParams");
    if (version >= 671) AddField1(&m_nFormationTarget, 1, "nFormationTarget");
    AddField1(&m_nDirection, 1, "nDirection");
    AddField1(&m_bAim, 1, "bAim");
    AddField2(&m_nAngle, 1, "nAngle");
    AddField2(&m_nAngleStep, 1, "nAngleStep");
    if (version >= 158) AddField1(&m_bMirrorAngle, 1, "bMirrorAngle");
    AddField2(&m_nSpread, 1, "nSpread");
    AddField1(&m_bRotateAboutOwner, 1, "bRotateAboutOwner");
    AddField1(&m_nRepeat, 1, "nRepeat");
    AddField2(&m_nOffsetX, 1, "nOffsetX");
    AddField2(&m_nOffsetXStep, 1, "nOffsetXStep");
    AddField2(&m_nOffsetY, 1, "nOffsetY");
    AddField2(&m_nOffsetYStep, 1, "nOffsetYStep");
    AddField1(&m_bMirrorOffsetX, 1, "bMirrorOffsetX");
    AddField1(&m_bMirrorOffsetY, 1, "bMirrorOffsetY");
    AddField2(&m_nGraphic, 1, "nGraphic");
    AddField1(&m_nDrawLayer, 1, "nDrawLayer");
    AddField1(&m_bInvisible, 1, "bInvisible");
    AddField1(&m_bOwnersForce, 1, "bOwnersForce");
    AddField1(&m_nForce, 1, "nForce");
    AddField1(&m_nShotSetting24, 1, "nShotSetting24");
    AddField1(&m_nSize, 1, "nSize");
    AddField1(&m_nShotSetting26, 1, "nShotSetting26");
    AddField1(&m_nTrajectory, 1, "nTrajectory");
    AddField2(m_nTrajectoryParams, 3, "nTrajectoryParams");
    if (version >= 211) AddField1(&m_bScrollFollow, 1, "bScrollFollow");
    AddField2(&m_nSpeed, 1, "nSpeed");
    AddField2(&m_nSpeedStep, 1, "nSpeedStep");
    if (version >= 213) {
        AddField1(&m_bAccelerate, 1, "bAccelerate");
        AddField2(&m_nAcceleration, 1, "nAcceleration");
        AddField2(&m_nAccelerationPerFactor, 1, "nAccelerationPerFactor");
    }
    AddField2(&m_nRange, 1, "nRange");
    AddField1(&m_bRangeLimit, 1, "bRangeLimit");
    AddField2(&m_nRangeStep, 1, "nRangeStep");
    AddField1(&m_bStopAtRangeEnd, 1, "bStopAtRangeEnd");
    AddField1(&m_bLifeLimit, 1, "bLifeLimit");
    AddField2(&m_nLife, 1, "nLife");
    AddField2(&m_nLifeStep, 1, "nLifeStep");
    AddField1(&m_nPassBlocks, 1, "nPassBlocks");
    AddField1(&m_bPierceCharas, 1, "bPierceCharas");
    if (version >= 636) AddField1(&m_bPierceBlockCharas, 1, "bPierceBlockCharas");
    AddField1(&m_nShotSetting45, 1, "nShotSetting45");
    AddField1(&m_nBlockSummonSetting, 1, "nBlockSummonSetting");
    AddField4(&m_nPower, 1, "nPower");
    AddField2(&m_nShotSetting48, 1, "nShotSetting48");
    AddField1(&m_nShotSetting49, 1, "nShotSetting49");
    AddField2(&m_nEffect, 1, "nEffect");
    AddField1(&m_nItemSource, 1, "nItemSource");
    AddField2(&m_nItemIndex, 1, "nItemIndex");
    AddField1(&m_nBlockSummonMode, 1, "nBlockSummonMode");
    AddField1(&m_nShotSetting54, 1, "nShotSetting54");
    if (version >= 197) AddField1(&m_nShotSetting55, 1, "nShotSetting55");
    AddField1(&m_nSummonPalette, 1, "nSummonPalette");
    AddField2(&m_nSummonIndex, 1, "nSummonIndex");
    AddField1(&m_nForceRule, 1, "nForceRule");
    AddField1(&m_nShotSetting59, 1, "nShotSetting59");
    AddField1(&m_bSummonReversed, 1, "bSummonReversed");
}
