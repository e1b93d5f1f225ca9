#include "objects/chara_search.h"

#include "data/role_accessors.h"
#include "shell/game_arithmetic.h"

bool PassesCharaFilter(const cChara& chara, const CHARAFILTER& filter)
{
    if (filter.bById && CharaId(chara.m_Def) != filter.nId) return false;
    if (chara.m_bDead) return false;
    if (filter.bExcludeSerial && chara.m_nSerial == filter.nSerial) return false;
    const int invincibility = CharaInvincibility(chara.m_Def);
    if (filter.bExcludeInvincible1 && invincibility == 1) return false;
    if (filter.bExcludeInvincible2 && invincibility == 2) return false;
    if (filter.bExcludeBlock && CharaIsBlock(chara.m_Def)) return false;
    return true;
}

int ScreenCentreDistance(const cChara& chara, int x, int y)
{
    const int cx = WrapAdd(chara.m_ScreenRect.left, chara.m_nDrawWidth / 2);
    const int cy = WrapAdd(chara.m_ScreenRect.top, chara.m_nDrawHeight / 2);
    return WrapAdd(WrapAbs(WrapSub(cx, x)), WrapAbs(WrapSub(cy, y)));
}
