#include "data/chara_data.h"

// The last number of an entry: the property group that the member belongs to.
void cCharaData::RegisterFields(DWORD version)
{
    RegisterHead();
    AddField1(&m_nFacing, 1, "nFacing", 5);
    AddField1(&m_nCopies, 1, "nCopies", 6);
    AddField2(&m_nCopyXBase, 1, "nCopyXBase", 7);
    AddField2(&m_nCopyXStep, 1, "nCopyXStep", 7);
    AddField2(&m_nCopyYBase, 1, "nCopyYBase", 8);
    AddField2(&m_nCopyYStep, 1, "nCopyYStep", 8);
    AddField1(&m_bMirrorX, 1, "bMirrorX", 7);
    AddField1(&m_bMirrorY, 1, "bMirrorY", 8);
    RegisterImage(9);
    AddField2(&m_nAnimeSet, 1, "nAnimeSet", 10);
    AddField1(&m_nZ, 1, "nZ", 11);
    AddField1(&m_bTransparent, 1, "bTransparent", 12);
    AddField2(&m_nCharaEffect, 1, "nCharaEffect", 13);
    if (version >= 196) AddField1(&m_nCharaEffectMode, 1, "nCharaEffectMode", 13);
    AddField1(&m_bCharaEffectLoop, 1, "bCharaEffectLoop", 13);
    AddField2(&m_nDefeatEffect, 1, "nDefeatEffect", 14);
    if (version >= 196) AddField1(&m_nDefeatEffectMode, 1, "nDefeatEffectMode", 14);
    AddField1(&m_bMark, 1, "bMark", 15);
    AddField2(&m_nMark, 1, "nMark", 15);
    AddField1(&m_nOperator, 1, "nOperator", 1);
    AddField1(&m_nPlayerNumber, 1, "nPlayerNumber", 1);
    AddField1(&m_nGroup2Setting, 1, "nGroup2Setting", 2);
    AddField1(&m_nCharaId, 1, "nCharaId", 3);
    AddField1(&m_nFlying, 1, "nFlying", 17);
    AddField1(&m_bFixedFacing, 1, "bFixedFacing", 16);
    AddField1(&m_nInvincible, 1, "nInvincible", 18);
    if (version >= 285) AddField1(&m_nFlashColor, 1, "nFlashColor", 18);
    AddField1(&m_bWholeCellBoxes, 1, "bWholeCellBoxes", 19);
    AddField1(&m_nGiantScale, 1, "nGiantScale", 20);
    if (version >= 210) AddField1(&m_bSyncAutoScroll, 1, "bSyncAutoScroll", 21);
    AddField1(&m_nSightShape, 1, "nSightShape", 22);
    AddField1(&m_nSightRange, 1, "nSightRange", 22);
    AddField4(&m_nMaxHp, 1, "nMaxHp", 23);
    AddField4(&m_nMaxSp, 1, "nMaxSp", 24);
    AddField2(&m_nEaseOfStopping, 1, "nEaseOfStopping", 31);
    if (version >= 201) AddField1(&m_nContactRange, 1, "nContactRange", 25);
    AddField4(&m_nBodyAttack, 1, "nBodyAttack", 26);
    AddField1(&m_nBodyImpact, 1, "nBodyImpact", 27);
    AddField2(&m_nHitEffect, 1, "nHitEffect", 28);
    if (version >= 168) AddField4(&m_nDefence, 1, "nDefence", 29);
    AddField1(&m_nImpactResistance, 1, "nImpactResistance", 30);
    AddField4(&m_nScore, 1, "nScore", 34);
    AddField1(&m_nGroup35Setting, 1, "nGroup35Setting", 35);
    AddField1(&m_bGroupSwitch, 1, "bGroupSwitch", 33);
    AddField2(&m_nGroupSwitch, 1, "nGroupSwitch", 33);
    AddField1(&m_nScreenRange, 1, "nScreenRange", 32);
    AddField1(&m_nActivation, 1, "nActivation", 32);
    RegisterPosition();
    AddTailValues(&m_nHeldItem, 1, "nHeldItem");
    RegisterInheritance();
    AddRecordList(&m_Flows, "Flows", kFlowGroup);
}
