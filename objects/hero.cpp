#include "objects/hero.h"

#include "data/role_accessors.h"
#include "shell/not_built_yet.h"

cSafeVector<cHero> Player;

void cHero::Spawn(int serial, const cCharaData& placement, double homeX, double homeY, const STAGESPEED& speed,
                  int boundsW, int boundsH, int bottomAligned)
{
    LogNotBuiltYet("hero");
    InitFromDefinition(&placement, homeX, homeY, 0, nullptr, speed);
    const int drawOffsetX = (32 - boundsW) / 2;
    const int drawOffsetY = bottomAligned ? 32 - boundsH : (32 - boundsH) / 2;
    InitCommon(serial, CharaKind(m_Def), CharaClass(m_Def), CharaPassLayer(m_Def), CharaImageNumber(m_Def), nullptr, 0,
               drawOffsetX, drawOffsetY, boundsW, boundsH, 32, 32, CharaFacing(m_Def), CharaMoveType(m_Def), 0);
    SetScale(Scale(), 1);
    LoadFlows(m_Def.m_Flows, m_nDirection, 0, -1);
}
