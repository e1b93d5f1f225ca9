#pragma once
// Searches of a list of charas (held by value or by pointer) for the nearest one to a screen
// point, or the first one, that passes a filter.
#include <type_traits>

#include "objects/chara.h"

struct CHARAFILTER {
    int bById = 0;
    int nId = 0;
    int bExcludeSerial = 0;
    int bExcludeInvincible1 = 0;
    int bExcludeInvincible2 = 0;
    int bExcludeBlock = 0;
    int nSerial = 0;
};

bool PassesCharaFilter(const cChara& chara, const CHARAFILTER& filter);
// |screen centre x - x| + |screen centre y - y|, the centre from the screen rectangle with
// integer halves.
int ScreenCentreDistance(const cChara& chara, int x, int y);

namespace chara_search_detail {

inline cChara* CharaOf(cChara& chara) { return &chara; }
inline cChara* CharaOf(cChara* chara) { return chara; }

// The first passing chara with the strictly smallest distance among those that pass `where`.
template <class List, class Where>
cChara* Nearest(int x, int y, List& list, const CHARAFILTER& filter, Where where)
{
    cChara* best = nullptr;
    int bestDistance = 0;
    for (auto& element : list) {
        cChara* chara = CharaOf(element);
        if (!chara || !where(*chara) || !PassesCharaFilter(*chara, filter)) continue;
        const int distance = ScreenCentreDistance(*chara, x, y);
        if (!best || distance < bestDistance) {
            best = chara;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace chara_search_detail

// Mode 0: active charas on the screen first, then active ones off it; 1: active charas;
// 2: active charas on the screen; other modes find none.
template <class List>
cChara* FindNearestChara(int x, int y, List& list, int mode, const CHARAFILTER& filter)
{
    using chara_search_detail::Nearest;
    auto active = [](const cChara& c) { return c.m_bActive != 0; };
    auto onScreen = [](const cChara& c) { return c.m_bActive != 0 && c.m_bOnScreen != 0; };
    auto offScreen = [](const cChara& c) { return c.m_bActive != 0 && c.m_bOnScreen == 0; };
    switch (mode) {
    case 0:
        if (cChara* found = Nearest(x, y, list, filter, onScreen)) return found;
        return Nearest(x, y, list, filter, offScreen);
    case 1:
        return Nearest(x, y, list, filter, active);
    case 2:
        return Nearest(x, y, list, filter, onScreen);
    default:
        return nullptr;
    }
}

// On-screen charas only when the stage's on-screen-only switch is on, else mode 0; charas of
// invincibility 2 are left out.
template <class List>
cChara* FindNearestCharaToPoint(int x, int y, List& list, int onScreenOnly)
{
    CHARAFILTER filter;
    filter.bExcludeInvincible2 = 1;
    return FindNearestChara(x, y, list, onScreenOnly ? 2 : 0, filter);
}

template <class List>
cChara* FindFirstChara(List& list, const CHARAFILTER& filter)
{
    for (auto& element : list) {
        cChara* chara = chara_search_detail::CharaOf(element);
        if (chara && PassesCharaFilter(*chara, filter)) return chara;
    }
    return nullptr;
}
