#include "data/shot_part.h"

#include "data/database.h"
#include "shell/game_arithmetic.h"

cEdShot::cEdShot()
{
    // The member initialisers are the defaults of a new part; every stored member has one.
}

void cEdShot::Create(std::shared_ptr<cEdShot>& part)
{
    part = std::make_shared<cEdShot>();
}

void cEdShot::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    const DWORD version = reader.Version();
    if (version < 158) m_bMirrorAngle = 0;
    if (version < 197) m_nShotSetting55 = m_nShotSetting54;
    if (version < 212) m_bScrollFollow = (m_nTrajectory >= 4 && m_nTrajectory <= 7) ? 1 : 0;
    if (version < 213) {
        m_bAccelerate = 0;
        m_nAcceleration = 0;
        m_nAccelerationPerFactor = 0;
    }
    if (version < 636) m_bPierceBlockCharas = m_bPierceCharas;
    if (version <= 670) m_nFormationTarget = 0;
    Validate();
}

void cEdShot::Write(cDataWriter& writer)
{
    Validate();
    cDataRecord::Write(writer);
}

void cEdShot::Validate()
{
    if (m_nSize <= 0) m_nSize = 1;
    // Unsigned, so that a negative entry is out of range too.
    if (static_cast<unsigned>(m_nEffect) >= g_Database.Count(DATABASE_EFFECT)) m_nEffect = 0;
}

int cEdShot::OffsetX(int shot, int facing) const
{
    const int offset = WrapAdd(WrapMul(shot, m_nOffsetXStep), m_nOffsetX);
    return (facing == 1 && m_bMirrorOffsetX) ? WrapSub(0, offset) : offset;
}

int cEdShot::OffsetY(int shot, int facing) const
{
    const int offset = WrapAdd(WrapMul(shot, m_nOffsetYStep), m_nOffsetY);
    return (facing == 1 && m_bMirrorOffsetY) ? WrapSub(0, offset) : offset;
}
