#include <gtest/gtest.h>

#include "tests/play/contacts_fixture.h"

namespace {

using Log = std::vector<std::string>;

constexpr int kPlayerDeath = 8;
constexpr int kDefeatCharaDeath = 9;
constexpr int kDefeatStageClear = 14;
// A database sound n is asked for as entry n + 16.
constexpr int kItemSound = 5;
constexpr int kItemSoundEntry = kItemSound + 16;

class Defeats : public ContactsTest {
protected:
    // An active item of `mode` with a picture and a sound, its bounds the 32 x 32 square at x.
    cItem& AddItem(int mode, double x)
    {
        cItem& item = Scene().m_Items.emplace_back();
        item.m_nSerial = static_cast<int>(Scene().m_Items.size());
        item.m_bActive = 1;
        item.m_nImage = 1;
        item.m_Def.m_nPickupMode = static_cast<BYTE>(mode);
        item.m_Def.m_nSound = kItemSound;
        MoveItem(item, x);
        return item;
    }
    static void MoveItem(cItem& item, double x)
    {
        item.m_dX = x;
        item.m_dRight = x + 31;
        item.m_dY = 0;
        item.m_dBottom = 31;
    }
    void SetUpHeroItemBox() { Hero().m_ItemBox.rect = DBLRECT{0, 0, 31, 31}; }
};

TEST_F(Defeats, OnCharaDefeatedTurnsADefeatIntoNothingAClearOrThePlayersDeath)
{
    struct Case {
        const char* name;
        bool hero;
        int cleared;          // the stage result before the defeat
        int result;
        int state;
        Log log;
    };
    const Case cases[] = {
        {"a chara", false, 0, 0, -1, {"T3 #0 hp0"}},
        {"a chara after the clear", false, 1, 1, PLAYSTATE_CLEAR, {"T3 #0 hp0", Sound(kDefeatStageClear)}},
        {"the hero", true, 0, 2, -1, {Sound(kPlayerDeath), "T3 #1000 hp0"}},
        {"the hero after the clear", true, 1, 2, PLAYSTATE_CLEAR,
         {Sound(kPlayerDeath), "T3 #1000 hp0", Sound(kDefeatStageClear)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scene().m_nResult = c.cleared;
        Scene().m_nState = -1;
        Scene().m_StageClear.m_bClearBegun = 0;
        Hero().m_bDead = 0;
        Hero().m_nHp = 0;
        cStageChara& chara = AddChara(1, 200, 0);
        const int serial = chara.m_nSerial;
        TakeLog();
        cChara& defeated = c.hero ? static_cast<cChara&>(Hero()) : chara;
        EXPECT_EQ(Scene().OnCharaDefeated(defeated), c.result);
        Log expected = c.log;
        if (!c.hero) expected[0] = "T3 #" + std::to_string(serial) + " hp0";
        EXPECT_EQ(TakeLog(), expected);
        EXPECT_EQ(Scene().m_nState, c.state);
        EXPECT_EQ(defeated.m_bDead, c.cleared ? 0 : 1) << "a defeat after the clear keeps the chara as it is";
        Scene().UnlinkChara(std::prev(Scene().m_Charas.end()));
    }
}

TEST_F(Defeats, ADefeatedCharaGivesItsItemToPlayerOneAndIsNotDefeatedTwice)
{
    cStageChara& chara = AddChara(1, 200, 0);
    chara.m_HeldItem.m_bActive = 1;
    chara.m_HeldItem.m_nImage = 1;
    chara.m_HeldItem.m_Def.m_nSound = kItemSound;
    EXPECT_EQ(Scene().OnCharaDefeated(chara), 0);
    EXPECT_EQ(TakeLog(), (Log{"T3 #0 hp0", Sound(kItemSoundEntry)}));
    EXPECT_EQ(Scene().OnCharaDefeated(chara), 0);
    EXPECT_EQ(TakeLog(), Log{});
}

TEST_F(Defeats, CheckPlayerHpEndsTheFrameWhenPlayerOnesHpIsGoneEvenWithoutAClear)
{
    for (int cleared : {0, 1}) {
        SCOPED_TRACE(cleared);
        Scene().m_nResult = cleared;
        Scene().m_nState = -1;
        Scene().m_StageClear.m_bClearBegun = 0;
        Hero().m_bDead = 0;
        Hero().m_nHp = 0;
        EXPECT_EQ(Scene().CheckPlayerHp(), 1);
        Log expected{Sound(kPlayerDeath), "T3 #1000 hp0"};
        if (cleared) expected.push_back(Sound(kDefeatStageClear));
        EXPECT_EQ(TakeLog(), expected);
        EXPECT_EQ(Scene().m_nState, cleared ? PLAYSTATE_CLEAR : -1);
        if (cleared) continue;
        // A player already dying is not defeated again.
        EXPECT_EQ(Scene().CheckPlayerHp(), 1);
        EXPECT_EQ(TakeLog(), Log{});
    }
}

TEST_F(Defeats, CheckPlayerHpDefeatsCharasWithoutHpAndKeepsOrRemovesThemByTheDefeatDisplaySwitch)
{
    struct Case {
        const char* name;
        int display;
        int cleared;
        int result;
        Log log;
        std::vector<int> left;
    };
    // Chara 0 asked to be removed, chara 1 has no HP left, chara 2 has.
    const Case cases[] = {
        {"shown", 1, 0, 0, {"T3 #1 hp0", Sound(kDefeatCharaDeath)}, {1, 2}},
        {"removed at once", 0, 0, 0, {"T3 #1 hp0"}, {2}},
        {"clearing, shown", 1, 1, 1, {"T3 #1 hp0", Sound(kDefeatStageClear)}, {2}},
        {"clearing, removed", 0, 1, 1, {"T3 #1 hp0", Sound(kDefeatStageClear)}, {2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_SystemData.m_bHitCheckSwitch = c.display;
        Scene().m_nResult = c.cleared;
        Scene().m_StageClear.m_bClearBegun = 0;
        Scene().m_nCharaSerial = 0;
        cStageChara& removed = AddChara(1, 200, 10);
        removed.m_bRemoveRequest = 1;
        AddChara(1, 300, 0);
        AddChara(1, 400, 10);
        TakeLog();
        EXPECT_EQ(Scene().CheckPlayerHp(), c.result);
        EXPECT_EQ(TakeLog(), c.log);
        std::vector<int> left;
        for (const cStageChara& chara : Scene().m_Charas) left.push_back(chara.m_nSerial);
        EXPECT_EQ(left, c.left);
        // Shown, it stays dead and silent: its death sound played once.
        EXPECT_EQ(Scene().CheckPlayerHp(), 0);
        EXPECT_EQ(TakeLog(), Log{});
        while (!Scene().m_Charas.empty()) Scene().UnlinkChara(Scene().m_Charas.begin());
    }
}

TEST_F(Defeats, TouchItemsTakesAnItemOnceAgainAfterSteppingOffOrNeverByItsMode)
{
    SetUpHeroItemBox();
    cItem& once = AddItem(0, 0);
    cItem& again = AddItem(1, 10);
    AddItem(2, 20);
    const int againSerial = again.m_nSerial;
    (void)once;
    const std::string touch = "T8 #1000 hp10";
    EXPECT_EQ(Scene().TouchItems(Hero()), 0);
    EXPECT_EQ(TakeLog(), (Log{touch, Sound(kItemSoundEntry), touch, Sound(kItemSoundEntry)}));
    EXPECT_EQ(Scene().m_Items.size(), 2u) << "the item taken once is gone";
    // Still touching: the item taken every time waits for the hero to step off.
    EXPECT_EQ(Scene().TouchItems(Hero()), 0);
    EXPECT_EQ(TakeLog(), Log{touch});
    MoveItem(Scene().m_Items.front(), 100);
    EXPECT_EQ(Scene().TouchItems(Hero()), 0);
    EXPECT_EQ(TakeLog(), Log{});
    EXPECT_EQ(Hero().IsNewItem(againSerial), 1);
    MoveItem(Scene().m_Items.front(), 10);
    EXPECT_EQ(Scene().TouchItems(Hero()), 0);
    EXPECT_EQ(TakeLog(), (Log{touch, Sound(kItemSoundEntry)}));
}

TEST_F(Defeats, AnItemThatEndsThePlayerEndsTouchItemsAfterItIsRemoved)
{
    SetUpHeroItemBox();
    Hero().m_nHp = 0;
    AddItem(0, 0);
    AddItem(0, 0);
    EXPECT_EQ(Scene().TouchItems(Hero()), 2);
    EXPECT_EQ(TakeLog(), (Log{"T8 #1000 hp0", Sound(kItemSoundEntry)}));
    EXPECT_EQ(Scene().m_Items.size(), 1u);
}

TEST_F(Defeats, AShotCarryingAnItemGivesItToPlayerOneOnAHit)
{
    cItemData item;
    item.Reset();
    item.m_nImageNumber = 1;
    item.m_nSound = kItemSound;
    g_CommonPalette.m_Items.assign(2, item);
    AddChara(1, 200, 10);
    cShot& shot = AddShot(0, 200, 0, 1);
    shot.m_Def.m_nItemSource = 1;
    shot.m_Def.m_nItemIndex = 1;
    EXPECT_EQ(Scene().ProcessContacts(), 0);
    EXPECT_EQ(TakeLog(), (Log{"T7 #0 hp10", Sound(7), Sound(kItemSoundEntry)}));
    EXPECT_TRUE(ShotSerials().empty());
}

}  // namespace
