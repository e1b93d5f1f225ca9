#include "objects/shot.h"

#include <algorithm>

#include "data/role_accessors.h"
#include "shell/not_built_yet.h"

cShot::cShot()
{
    // A new template holds the defaults of a new shot part: same layer as the owner, mirrored
    // angle and x offset, scale 1.
}

int cShot::Update()
{
    LogNotBuiltYet("shot flight");
    return 0;
}

int cShot::MoveX()
{
    LogNotBuiltYet("shot flight");
    return 0;
}

int cShot::MoveY()
{
    LogNotBuiltYet("shot flight");
    return 0;
}

int cShot::HitsBlock()
{
    LogNotBuiltYet("shot block test");
    return 0;
}

int cShot::Impact() const
{
    return ShotImpact(m_Def);
}

int cShot::Breakable() const
{
    return ShotBreakable(m_Def);
}

int cShot::Strength() const
{
    return ShotStrength(m_Def);
}

int cShot::Scale() const
{
    return EffectiveScale(m_Def.m_nSize);
}

HITBOX cShot::HitBox() const
{
    HITBOX box;
    box.rect = m_HitRect;
    box.nOffsetX = m_nHitLeft;
    box.nOffsetY = m_nHitTop;
    box.nWidth = m_nHitWidth;
    box.nHeight = m_nHitHeight;
    box.nBaseOffsetX = m_nBaseHitLeft;
    box.nBaseOffsetY = m_nBaseHitTop;
    box.nBaseWidth = m_nBaseHitWidth;
    box.nBaseHeight = m_nBaseHitHeight;
    return box;
}

bool cHitSerialList::Contains(int serial) const
{
    return std::find(m_Serials.begin(), m_Serials.end(), serial) != m_Serials.end();
}
