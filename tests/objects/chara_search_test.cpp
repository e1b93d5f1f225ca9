#include <gtest/gtest.h>

#include <list>
#include <vector>

#include "objects/chara_search.h"

namespace {

struct Spot { int left, top; int active, onScreen, dead, invincible, block, id, serial; };

// Charas with screen rectangles at the given places, 32 x 32 (centre = left + 16, top + 16).
std::list<cChara> Charas(const std::vector<Spot>& spots)
{
    std::list<cChara> charas;
    for (const Spot& spot : spots) {
        cChara& chara = charas.emplace_back();
        chara.m_ScreenRect.left = spot.left;
        chara.m_ScreenRect.top = spot.top;
        chara.m_nDrawWidth = 32;
        chara.m_nDrawHeight = 33;   // integer half: 16
        chara.m_bActive = spot.active;
        chara.m_bOnScreen = spot.onScreen;
        chara.m_bDead = spot.dead;
        chara.m_Def.m_nInvincible = static_cast<BYTE>(spot.invincible);
        chara.m_Def.m_bWholeCellBoxes = static_cast<BYTE>(spot.block);
        chara.m_Def.m_nCharaId = static_cast<BYTE>(spot.id);
        chara.m_nSerial = spot.serial;
    }
    return charas;
}

int IndexOf(std::list<cChara>& charas, const cChara* found)
{
    int i = 0;
    for (cChara& chara : charas) {
        if (&chara == found) return i;
        ++i;
    }
    return -1;
}

}  // namespace

TEST(CharaSearch, NearestByScreenDistanceFirstOnTies)
{
    // Centres: 0 (116, 116), 1 (84, 84), 2 (216, 16), 3 (16, 216) off screen, 4 (316, 316) off
    // screen.
    std::list<cChara> charas = Charas({
        {100, 100, 1, 1, 0, 0, 0, 1, 10},
        {68, 68, 1, 1, 0, 0, 0, 2, 11},
        {200, 0, 1, 1, 0, 0, 0, 1, 12},
        {0, 200, 1, 0, 0, 1, 1, 3, 13},
        {300, 300, 1, 0, 0, 2, 0, 1, 14},
    });
    struct Case { const char* name; int x, y, mode; CHARAFILTER filter; int expected; } cases[] = {
        {"tie keeps the earlier", 100, 100, 1, {}, 0},
        {"on screen first", 316, 316, 0, {}, 0},
        {"active, wherever", 316, 316, 1, {}, 4},
        {"only on screen", 16, 216, 2, {}, 0},
        {"nearest of all", 16, 216, 1, {}, 3},
        {"mode 0 falls back to off-screen", 16, 216, 0, {1, 3, 0, 0, 0, 0, 0}, 3},
        {"by id", 0, 0, 1, {1, 1, 0, 0, 0, 0, 0}, 0},
        {"exclude serial", 116, 116, 1, {0, 0, 1, 0, 0, 0, 10}, 1},
        {"exclude invincible 2", 316, 316, 1, {0, 0, 0, 0, 1, 0, 0}, 0},
        {"exclude invincible 1", 16, 216, 1, {0, 0, 0, 1, 0, 0, 0}, 0},
        {"exclude block charas", 16, 216, 1, {0, 0, 0, 0, 0, 1, 0}, 0},
        {"other mode", 0, 0, 3, {}, -1},
        {"none passes", 0, 0, 1, {1, 99, 0, 0, 0, 0, 0}, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IndexOf(charas, FindNearestChara(c.x, c.y, charas, c.mode, c.filter)), c.expected) << c.name;

    // Manhattan, not Euclidean: (30, 0) away beats (20, 20) away.
    std::list<cChara> two = Charas({{4, 4, 1, 1, 0, 0, 0, 0, 1}, {30, 0, 1, 1, 0, 0, 0, 0, 2}});
    EXPECT_EQ(IndexOf(two, FindNearestChara(-16, 16, two, 1, CHARAFILTER{})), 0);
    EXPECT_EQ(IndexOf(two, FindNearestChara(46, -14, two, 1, CHARAFILTER{})), 1);
}

TEST(CharaSearch, DeadAndInactiveCharasAreNeverFound)
{
    std::list<cChara> charas = Charas({
        {0, 0, 1, 1, 1, 0, 0, 0, 1},
        {0, 0, 0, 1, 0, 0, 0, 0, 2},
        {500, 500, 1, 1, 0, 0, 0, 0, 3},
    });
    EXPECT_EQ(IndexOf(charas, FindNearestChara(0, 0, charas, 0, CHARAFILTER{})), 2);
    EXPECT_EQ(IndexOf(charas, FindNearestCharaToPoint(0, 0, charas, 1)), 2);
    // The first chara search has no activity condition.
    std::vector<cChara*> pointers;
    for (cChara& chara : charas) pointers.push_back(&chara);
    EXPECT_EQ(FindFirstChara(pointers, CHARAFILTER{}), pointers[1]);
}
