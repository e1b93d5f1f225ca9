#include <gtest/gtest.h>

#include "tests/play/contacts_fixture.h"

namespace {

using Log = std::vector<std::string>;

constexpr int kHit = 7;
constexpr int kCharaDeath = 9;

class Contacts : public ContactsTest {};

TEST_F(Contacts, ObjectsOfTheSameLayerNeverHitEachOther)
{
    cStageChara& a = AddChara(2, 200, 10, 5);
    cStageChara& b = AddChara(2, 200, 10, 5);
    AddShot(2, 200, 5, 1);
    EXPECT_EQ(Scene().ProcessContacts(), 0);
    EXPECT_EQ(TakeLog(), Log{});
    EXPECT_EQ(a.m_nHp, 10);
    EXPECT_EQ(b.m_nHp, 10);
    EXPECT_EQ(ShotSerials(), (std::vector<int>{1}));
}

TEST_F(Contacts, TwoCharasThatTouchBothTakeTheirHitBeforeEitherTurnsInvincibleWithOneSound)
{
    g_StageData.m_nCharaImmunity = 30;
    cStageChara& a = AddChara(0, 200, 10, 1);
    cStageChara& b = AddChara(3, 210, 10, 1);
    EXPECT_EQ(Scene().ProcessContacts(), 0);
    EXPECT_EQ(TakeLog(), (Log{"T4 #0 hp10", "T4 #1 hp10", "T1 #0 hp9", "T1 #1 hp9", Sound(kHit)}));
    // Each is now immune to the other: the touch goes on, the hits do not.
    EXPECT_EQ(Scene().ProcessContacts(), 0);
    EXPECT_EQ(TakeLog(), (Log{"T4 #0 hp9", "T4 #1 hp9"}));
    EXPECT_EQ(a.m_nHp, 9);
    EXPECT_EQ(b.m_nHp, 9);
}

TEST_F(Contacts, ACharaTouchKilledByTheOtherIsDefeatedWithItsSoundAfterTheHitSound)
{
    cStageChara& weak = AddChara(1, 200, 1, 0);
    AddChara(2, 200, 10, 3);
    EXPECT_EQ(Scene().ProcessContacts(), 0);
    EXPECT_EQ(TakeLog(), (Log{"T4 #0 hp1", "T4 #1 hp10", "T1 #0 hp0", Sound(kHit), Sound(kCharaDeath), "T3 #0 hp0"}));
    EXPECT_EQ(weak.m_bDead, 1);
    // Dead, it touches nobody any more.
    EXPECT_EQ(Scene().ProcessContacts(), 0);
    EXPECT_EQ(TakeLog(), Log{});
}

TEST_F(Contacts, TheHeroKilledByATouchEndsTheContactsWithTheDeathResult)
{
    Hero().m_nHp = 1;
    AddChara(1, 0, 10, 5);
    EXPECT_EQ(Scene().ProcessContacts(), 2);
    EXPECT_EQ(TakeLog(), (Log{"T4 #1000 hp1", "T4 #0 hp10", "T1 #1000 hp0", Sound(kHit)}));
    EXPECT_EQ(Hero().m_bDead, 0) << "the caller kills the player";
}

TEST_F(Contacts, AHarmlessShotTellsTheCharaEverySubStepAndStays)
{
    cStageChara& chara = AddChara(1, 200, 10);
    AddShot(0, 200, 0, 1);
    for (int step = 0; step < 3; ++step) {
        EXPECT_EQ(Scene().ProcessContacts(), 0);
        EXPECT_EQ(TakeLog(), Log{Trigger(TRIGGER_HIT_SHOT, chara)}) << step;
    }
    EXPECT_EQ(ShotSerials(), (std::vector<int>{1}));
}

TEST_F(Contacts, AShotThatDoesNotPierceHitsEveryCharaOfTheLayerItTouchesThenVanishes)
{
    AddChara(1, 200, 10);
    AddChara(1, 205, 10);
    AddChara(2, 205, 10);
    AddShot(0, 200, 4, 1);
    EXPECT_EQ(Scene().ProcessContacts(), 0);
    // Then the charas of layers 1 and 2 touch, harmlessly: the shot did not reach layer 2.
    EXPECT_EQ(TakeLog(), (Log{"T7 #0 hp10", "T1 #0 hp6", Sound(kHit), "T7 #1 hp10", "T1 #1 hp6", Sound(kHit),
                              "T4 #0 hp6", "T4 #2 hp10", "T4 #1 hp6", "T4 #2 hp10"}));
    EXPECT_TRUE(ShotSerials().empty());
    EXPECT_TRUE(Scene().m_ShotLists.m_ShotLayers.At(0).empty());
}

TEST_F(Contacts, PiercingShotsAndSwordsHitEachCharaOnceForAsLongAsTheyExist)
{
    struct Case {
        const char* name;
        int shot;
        int pierceCharas;
        int pierceBlockCharas;
        int blockChara;
    };
    const Case cases[] = {
        {"sword", 0, 0, 0, 0},
        {"piercing shot", 1, 1, 0, 0},
        {"shot piercing block charas", 1, 0, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cStageChara& chara = AddChara(1, 200, 10);
        chara.m_Def.m_bWholeCellBoxes = static_cast<BYTE>(c.blockChara);
        cShot& shot = AddShot(0, 200, 1, 1);
        shot.m_bShot = c.shot;
        shot.m_Def.m_bPierceCharas = static_cast<std::int8_t>(c.pierceCharas);
        shot.m_Def.m_bPierceBlockCharas = static_cast<std::int8_t>(c.pierceBlockCharas);
        EXPECT_EQ(Scene().ProcessContacts(), 0);
        EXPECT_EQ(Scene().ProcessContacts(), 0);
        const std::string serial = std::to_string(chara.m_nSerial);
        EXPECT_EQ(TakeLog(), (Log{"T7 #" + serial + " hp10", "T1 #" + serial + " hp9", Sound(kHit)}));
        EXPECT_EQ(ShotSerials(), (std::vector<int>{1}));
        // Next case on a clean stage.
        Scene().m_ShotLists.Remove(shot);
        Scene().UnlinkChara(std::prev(Scene().m_Charas.end()));
    }
}

TEST_F(Contacts, ABlockCharaStopsAShotThatPiercesOnlyOrdinaryCharas)
{
    cStageChara& block = AddChara(1, 200, 10);
    block.m_Def.m_bWholeCellBoxes = 1;
    cShot& shot = AddShot(0, 200, 1, 1);
    shot.m_Def.m_bPierceCharas = 1;
    EXPECT_EQ(Scene().ProcessContacts(), 0);
    EXPECT_TRUE(ShotSerials().empty());
}

TEST_F(Contacts, AShotPassesThroughAnInvincibleCharaAndCanHitItLater)
{
    cStageChara& chara = AddChara(1, 200, 10);
    chara.m_nInvincibleTimer = 1;
    AddShot(0, 200, 3, 1);
    EXPECT_EQ(Scene().ProcessContacts(), 0);
    EXPECT_EQ(TakeLog(), Log{"T7 #0 hp10"});
    EXPECT_EQ(ShotSerials(), (std::vector<int>{1}));
    chara.TickInvincibility();
    EXPECT_EQ(Scene().ProcessContacts(), 0);
    EXPECT_EQ(TakeLog(), (Log{"T7 #0 hp10", "T1 #0 hp7", Sound(kHit)}));
    EXPECT_TRUE(ShotSerials().empty());
}

TEST_F(Contacts, ShotsPassThroughCharasWhoseInvincibilityLetsShotsPass)
{
    cStageChara& chara = AddChara(1, 200, 10);
    chara.m_Def.m_nInvincible = 2;
    AddShot(0, 200, 3, 1);
    EXPECT_EQ(Scene().ProcessContacts(), 0);
    EXPECT_EQ(TakeLog(), Log{});
    EXPECT_EQ(ShotSerials(), (std::vector<int>{1}));
}

TEST_F(Contacts, WithAHitTestRateShotsHitCharasOnlyInTheMarkedSubStepsButTouchesAlways)
{
    g_StageData.m_nContactLevel = 1;
    Scene().m_SubStepActive = cSafeVector<int>{1, 0};
    cStageChara& shotAt = AddChara(1, 200, 10);
    AddShot(0, 200, 0, 1);
    cStageChara& toucher = AddChara(2, 300, 10);
    cStageChara& touched = AddChara(3, 300, 10);
    Scene().m_nSubStep = 2;
    EXPECT_EQ(Scene().ProcessContacts(), 0);
    EXPECT_EQ(TakeLog(), (Log{Trigger(TRIGGER_HIT_CHARA, toucher), Trigger(TRIGGER_HIT_CHARA, touched)}));
    Scene().m_nSubStep = 1;
    EXPECT_EQ(Scene().ProcessContacts(), 0);
    EXPECT_EQ(TakeLog(), (Log{Trigger(TRIGGER_HIT_SHOT, shotAt), Trigger(TRIGGER_HIT_CHARA, toucher),
                              Trigger(TRIGGER_HIT_CHARA, touched)}));
}

TEST_F(Contacts, OffScreenObjectsTakeNoPartWithTheOnScreenOnlySwitch)
{
    for (int onScreenOnly : {1, 0}) {
        SCOPED_TRACE(onScreenOnly);
        g_StageData.m_bOnScreenOnly = onScreenOnly;
        cStageChara& chara = AddChara(1, 200, 10);
        chara.m_bOnScreen = 0;
        cShot& shot = AddShot(0, 200, 0, 1);
        Scene().ProcessContacts();
        EXPECT_EQ(TakeLog().size(), onScreenOnly ? 0u : 1u);
        Scene().m_ShotLists.Remove(shot);
        Scene().UnlinkChara(std::prev(Scene().m_Charas.end()));
    }
}

TEST_F(Contacts, AShotThatKillsTheHeroEndsTheContactsBeforeAnyOtherShot)
{
    Hero().m_nHp = 2;
    cShot& killer = AddShot(1, 0, 5, 1);
    AddChara(2, 200, 10);
    AddShot(1, 200, 5, 2);
    EXPECT_EQ(Scene().ProcessContacts(), 2);
    EXPECT_EQ(TakeLog(), (Log{"T7 #1000 hp2", "T1 #1000 hp0"}));
    // Nothing after the kill ran: the killer was not taken out either.
    EXPECT_EQ(ShotSerials(), (std::vector<int>{1, 2}));
    EXPECT_FALSE(killer.HasHit(kHeroSerial));
}

TEST_F(Contacts, ADefeatThatClearsTheStageEndsTheContactsWithTheClearResult)
{
    Scene().m_nResult = 1;
    cStageChara& boss = AddChara(1, 200, 1);
    AddShot(0, 200, 5, 1);
    EXPECT_EQ(Scene().ProcessContacts(), 1);
    EXPECT_EQ(TakeLog(), (Log{"T7 #0 hp1", "T1 #0 hp0", Sound(kCharaDeath), "T3 #0 hp0"}));
    EXPECT_EQ(boss.m_bDead, 0) << "a defeat after the clear leaves the chara as it is";
}

TEST_F(Contacts, BreakableShotsBreakOnShotsOfOtherLayersByStrength)
{
    struct Case {
        const char* name;
        int breakable[2];
        int strength[2];
        std::vector<int> left;
    };
    const Case cases[] = {
        {"equal strengths break both", {1, 1}, {4, 4}, {}},
        {"the weaker lower breaks", {1, 1}, {3, 5}, {2}},
        {"the weaker upper breaks", {1, 1}, {5, 3}, {1}},
        {"a strength byte of 128 or more is negative", {1, 1}, {200, 5}, {2}},
        {"a breakable lower breaks on an unbreakable", {1, 0}, {9, 0}, {2}},
        {"a breakable upper breaks on an unbreakable", {0, 1}, {0, 9}, {1}},
        {"unbreakable shots pass", {0, 0}, {0, 0}, {1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int i = 0; i < 2; ++i) {
            cShot& shot = AddShot(i * 4, 100, 0, i + 1);
            shot.m_Def.m_nShotSetting45 = static_cast<std::int8_t>(c.breakable[i]);
            shot.m_Def.m_nShotSetting24 = static_cast<std::int8_t>(c.strength[i]);
        }
        EXPECT_EQ(Scene().ProcessContacts(), 0);
        EXPECT_EQ(ShotSerials(), c.left);
        while (!Scene().m_ShotLists.m_Shots.empty()) Scene().m_ShotLists.Remove(Scene().m_ShotLists.m_Shots.front());
    }
}

TEST_F(Contacts, AMarkedShotBreaksOnlyAfterMeetingEveryShotOfTheOtherLayer)
{
    cShot& weak = AddShot(0, 100, 0, 1);
    weak.m_Def.m_nShotSetting45 = 1;
    weak.m_Def.m_nShotSetting24 = 1;
    for (int serial : {2, 3}) {
        cShot& other = AddShot(1, 100, 0, serial);
        other.m_Def.m_nShotSetting45 = 1;
        other.m_Def.m_nShotSetting24 = 1;
    }
    EXPECT_EQ(Scene().ProcessContacts(), 0);
    EXPECT_TRUE(ShotSerials().empty());
}

TEST_F(Contacts, AShotHitTakesPowerLessDefenceAndPushesTheWayAShotFliesOrASwordFaces)
{
    struct Case {
        const char* name;
        int shot;
        double vx;
        int direction;
        int pushX;   // the sign of the knock-back
    };
    const Case cases[] = {
        {"a shot flying left", 1, -3, 1, -1},
        {"a shot flying right", 1, 3, 0, 1},
        {"a sword facing right", 0, -3, 1, 1},
        {"a sword facing left", 0, 3, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cStageChara& chara = AddChara(1, 200, 10);
        chara.m_Def.m_nDefence = 2;
        cShot& shot = AddShot(0, 200, 5, 1);
        shot.m_bShot = c.shot;
        shot.m_Def.m_nShotSetting49 = 4;
        shot.m_dVX = c.vx;
        shot.m_nDirection = c.direction;
        EXPECT_EQ(Scene().ProcessContacts(), 0);
        const std::string serial = std::to_string(chara.m_nSerial);
        EXPECT_EQ(TakeLog(), (Log{"T7 #" + serial + " hp10", "T1 #" + serial + " hp7", "T2 #" + serial + " hp7",
                                  Sound(kHit)}));
        EXPECT_EQ(chara.m_Knockback.bKnocked, 1);
        EXPECT_EQ((chara.m_Knockback.dSpeedX > 0) - (chara.m_Knockback.dSpeedX < 0), c.pushX);
        EXPECT_EQ(chara.m_Knockback.dSpeedY, 0);
        while (!Scene().m_ShotLists.m_Shots.empty()) Scene().m_ShotLists.Remove(Scene().m_ShotLists.m_Shots.front());
        Scene().UnlinkChara(std::prev(Scene().m_Charas.end()));
    }
}

TEST_F(Contacts, ARemovedCharaLeavesNoShotAimingAtItAndACharaBuiltLaterIsNotTakenForIt)
{
    AddChara(1, 200, 10);
    cShot& shot = AddShot(0, 200, 1, 1);
    shot.m_bShot = 0;
    EXPECT_EQ(Scene().ProcessContacts(), 0);
    shot.m_lpTarget = &Scene().m_Charas.back();
    Scene().UnlinkChara(std::prev(Scene().m_Charas.end()));
    EXPECT_EQ(shot.m_lpTarget, nullptr);
    EXPECT_TRUE(Scene().m_CharaLayers.At(1).empty());
    TakeLog();
    // The sword still holds the old chara's serial, never the new one's.
    cStageChara& next = AddChara(1, 200, 10);
    EXPECT_EQ(Scene().ProcessContacts(), 0);
    EXPECT_EQ(next.m_nSerial, 1);
    EXPECT_EQ(TakeLog(), (Log{"T7 #1 hp10", "T1 #1 hp9", Sound(kHit)}));
}

}  // namespace
