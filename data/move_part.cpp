#include "data/move_part.h"

cEdMove::cEdMove()
{
    // The member initialisers are the defaults of a new part; every stored member has one.
}

void cEdMove::Create(std::shared_ptr<cEdMove>& part)
{
    part = std::make_shared<cEdMove>();
}

void cEdMove::RegisterFields(DWORD version)
{
    ClearTables();
    AddField1(&m_nMode, 1, "nMode");
    AddField1(&m_nDirection, 1, "nDirection");
    AddField2(&m_nAngle, 1, "nAngle");
    AddField2(&m_nAnglePerFactor, 1, "nAnglePerFactor");
    if (version >= 158) AddField1(&m_bMirrorAngle, 1, "bMirrorAngle");
    AddField1(&m_bMoveX, 1, "bMoveX");
    AddField1(&m_bMoveY, 1, "bMoveY");
    AddField2(&m_nTargetBlockX, 1, "nTargetBlockX");
    AddField2(&m_nTargetBlockY, 1, "nTargetBlockY");
    AddField2(&m_nTargetDotX, 1, "nTargetDotX");
    AddField2(&m_nTargetDotY, 1, "nTargetDotY");
    AddField1(&m_nCoordinates, 1, "nCoordinates");
    AddField1(&m_bEndAtTarget, 1, "bEndAtTarget");
    AddField1(&m_bKeepX, 1, "bKeepX");
    AddField1(&m_bKeepY, 1, "bKeepY");
    AddField1(&m_bMirrorTargetX, 1, "bMirrorTargetX");
    AddField1(&m_bMirrorTargetY, 1, "bMirrorTargetY");
    AddField1(&m_bReverseOnTurn, 1, "bReverseOnTurn");
    AddField1(&m_bStopAtTarget, 1, "bStopAtTarget");
    if (version >= 162) AddField1(&m_bKeepFacing, 1, "bKeepFacing");
    AddField1(&m_nTimeMode, 1, "nTimeMode");
    AddField2(&m_nSpeed, 1, "nSpeed");
    AddField2(&m_nSpeedPerFactor, 1, "nSpeedPerFactor");
    AddField2(&m_nDistance, 1, "nDistance");
    AddField2(&m_nDistancePerFactor, 1, "nDistancePerFactor");
    if (version >= 159) AddField1(&m_nDistanceUnit, 1, "nDistanceUnit");
    AddField2(&m_nRadius, 1, "nRadius");
    AddField2(&m_nRadiusPerFactor, 1, "nRadiusPerFactor");
    AddField1(&m_bInertia, 1, "bInertia");
    AddField2(&m_nInertiaSpeed, 1, "nInertiaSpeed");
    AddField8(&m_dTurnFactor, 1, "dTurnFactor");
    if (version >= 162) AddField1(&m_bKeepAnime, 1, "bKeepAnime");
}

void cEdMove::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    const DWORD version = reader.Version();
    if (version < 158) m_bMirrorAngle = 0;
    if (version < 159) m_nDistanceUnit = 0;
    if (version < 162) {
        m_bKeepFacing = 0;
        m_bKeepAnime = 0;
    }
}
