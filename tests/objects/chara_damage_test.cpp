#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "data/save_data.h"
#include "data/command_info.h"
#include "data/system_data.h"
#include "objects/chara_lookup.h"
#include "objects/hero.h"
#include "shell/input.h"
#include "tests/stage/stage_fixture.h"

namespace {

// Two sub-steps per frame; the hero's side is invincible 10 frames after a hit and immune to
// the same attacker for 30, the others 5 and 20.
class CharaDamage : public qbtest::cStageTest {
protected:
    CharaDamage()
    {
        g_StageData.SetSpeedLevel(2);
        g_StageData.m_nHeroInvincible = 10;
        g_StageData.m_nHeroImmunity = 30;
        g_StageData.m_nCharaInvincible = 5;
        g_StageData.m_nCharaImmunity = 20;
        g_SaveData.m_nScore = 0;
        g_SystemData.m_bRunMarkedTriggers = 0;
        g_Input.assign(1, cInput());
    }

    cStageChara& Add(int hp = 100)
    {
        cCharaData definition = CharaTemplate();
        definition.m_nMaxHp = hp;
        Scene().PlaceChara(1, 1, definition, nullptr);
        return Scene().m_Charas.back();
    }
    static void AimAt(cChara& aimer, cChara& target)
    {
        aimer.UnregisterFromTarget();
        aimer.m_lpTarget = &target;
        aimer.RegisterWithTarget();
    }
};

// One waiting flow for each trigger a hit or a defeat raises, so that the flows that run tell
// which triggers were raised.
constexpr int kWatchedTriggers[] = {TRIGGER_DAMAGED, TRIGGER_IMPACT, TRIGGER_DEATH};

void WatchTriggers(cChara& chara)
{
    chara.m_Def.m_Flows.clear();
    for (int trigger : kWatchedTriggers) {
        cFlowData flow;
        flow.m_nTrigger = static_cast<std::int8_t>(trigger);
        flow.m_Commands.resize(1);
        flow.m_Commands[0].m_nTime = 10;
        chara.m_Def.m_Flows.push_back(flow);
    }
    chara.LoadFlows(chara.m_Def.m_Flows, chara.m_nDirection, 0, 0);
}

std::vector<int> RaisedTriggers(const cChara& chara)
{
    std::vector<int> raised;
    for (std::size_t i = 0; i < chara.m_RunningFlows.size(); ++i)
        if (chara.m_RunningFlows[i].m_bRunning) raised.push_back(kWatchedTriggers[i]);
    return raised;
}

// Records what a defeat had done by the time it runs the chara's own update.
class cRecordingChara : public cChara {
public:
    int Update(int restricted) override
    {
        m_Updates.push_back(restricted);
        m_TriggersAtUpdate = RaisedTriggers(*this);
        m_nScoreAtUpdate = g_SaveData.m_nScore;
        return 0;
    }
    std::vector<int> m_Updates;
    std::vector<int> m_TriggersAtUpdate;
    int m_nScoreAtUpdate = -1;
};

TEST_F(CharaDamage, InvincibilityCountsSubStepsWithTheSettingsOfTheObjectKind)
{
    cStageChara& chara = Add();
    chara.StartInvincibility();
    EXPECT_EQ(chara.m_nInvincibleTimer, 2 * 5);
    m_Player.m_nKind = 0;
    m_Player.StartInvincibility();
    EXPECT_EQ(m_Player.m_nInvincibleTimer, 2 * 10);

    for (int i = 0; i < 9; ++i) chara.TickInvincibility();
    EXPECT_TRUE(chara.IsInvincible());
    EXPECT_TRUE(chara.IsImmuneTo(12345));
    chara.TickInvincibility();
    EXPECT_FALSE(chara.IsInvincible());
    chara.TickInvincibility();
    EXPECT_EQ(chara.m_nInvincibleTimer, 0);

    // A script may leave a negative timer: the next step brings it to 0.
    chara.m_nInvincibleTimer = -7;
    chara.TickInvincibility();
    EXPECT_EQ(chara.m_nInvincibleTimer, 0);
}

TEST_F(CharaDamage, TheSameAttackerCanHurtAgainAfterItsOwnEntryRunsOutInSubSteps)
{
    g_StageData.m_nCharaInvincible = 0;
    cStageChara& chara = Add();
    chara.StartInvincibilityFrom(7);
    EXPECT_FALSE(chara.IsInvincible());
    EXPECT_TRUE(chara.IsImmuneTo(7));
    EXPECT_FALSE(chara.IsImmuneTo(8));
    // 20 frames at 2 sub-steps: 40 sub-steps.
    for (int i = 0; i < 39; ++i) chara.TickInvincibility();
    EXPECT_TRUE(chara.IsImmuneTo(7));
    chara.TickInvincibility();
    EXPECT_FALSE(chara.IsImmuneTo(7));
    EXPECT_TRUE(chara.m_Immunity.Entries().empty());
}

TEST_F(CharaDamage, AnAttackerMayStandTwiceAndEachEntryRunsOutOnItsOwn)
{
    g_StageData.m_nCharaInvincible = 0;
    cStageChara& chara = Add();
    chara.StartInvincibilityFrom(7);
    for (int i = 0; i < 30; ++i) chara.TickInvincibility();
    chara.StartInvincibilityFrom(7);
    ASSERT_EQ(chara.m_Immunity.Entries().size(), 2u);
    for (int i = 0; i < 10; ++i) chara.TickInvincibility();
    // The first entry is gone, the second still holds.
    EXPECT_EQ(chara.m_Immunity.Entries().size(), 1u);
    EXPECT_TRUE(chara.IsImmuneTo(7));
    for (int i = 0; i < 30; ++i) chara.TickInvincibility();
    EXPECT_FALSE(chara.IsImmuneTo(7));
}

TEST_F(CharaDamage, ImmunityFollowsTheSerialNotTheAddressOfAnAttackerThatWentAway)
{
    g_StageData.m_nCharaInvincible = 0;
    cStageChara& victim = Add();
    cStageChara& attacker = Add();
    const int gone = attacker.m_nSerial;
    victim.StartInvincibilityFrom(gone);
    Scene().UnlinkChara(std::prev(Scene().m_Charas.end()));
    // A new chara may be built where the old one was; it is a different attacker.
    cStageChara& next = Add();
    EXPECT_NE(next.m_nSerial, gone);
    EXPECT_FALSE(victim.IsImmuneTo(next.m_nSerial));
    EXPECT_TRUE(victim.IsImmuneTo(gone));
}

TEST_F(CharaDamage, ABodyHitTakesPowerLessDefenceAndRaisesItsTriggers)
{
    struct Case {
        const char* name;
        int power, defence, impact, invincible, hp;
        int expectedHp, result, gaugeTimer;
        std::vector<int> triggers;
    } cases[] = {
        {"power less defence", 30, 10, 0, 0, 100, 80, 0, 120, {1}},
        {"power 0 hurts nobody, the impact still counts", 0, 0, 3, 0, 100, 100, 0, 0, {2}},
        {"defence above power: no damage, no gauge, still damaged", 5, 9, 0, 0, 100, 100, 0, 0, {1}},
        {"a negative power heals", -10, 50, 0, 0, 50, 60, 0, 120, {1}},
        {"a lethal hit", 150, 0, 2, 0, 100, 0, 1, 0, {1, 2}},
        {"damage is capped at 999999", 2000000000, 0, 0, 0, 1500000, 500001, 0, 120, {1}},
        {"power minus a negative defence wraps, then clamps to 0", INT_MAX, -10, 0, 0, 100, 100, 0, 0, {1}},
        {"an invincible template ignores the loss, not the triggers", 30, 0, 1, 1, 100, 100, 0, 0, {1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cStageChara& victim = Add(2000000);
        WatchTriggers(victim);
        victim.m_nHp = c.hp;
        victim.m_Def.m_nDefence = c.defence;
        victim.m_Def.m_nInvincible = static_cast<BYTE>(c.invincible);
        cStageChara& attacker = Add();
        WatchTriggers(attacker);
        attacker.m_Def.m_nBodyAttack = c.power;
        attacker.m_Def.m_nBodyImpact = static_cast<std::int8_t>(c.impact);
        EXPECT_EQ(victim.TakeCharaHit(attacker), c.result);
        EXPECT_EQ(victim.m_nHp, c.expectedHp);
        EXPECT_EQ(victim.m_Gauges.m_HpGauge.nTimer, c.gaugeTimer);
        EXPECT_EQ(RaisedTriggers(victim), c.triggers);
        EXPECT_TRUE(RaisedTriggers(attacker).empty());
    }
}

TEST_F(CharaDamage, ABodyHitKnocksTheCharaBackAlongTheAttackersMotion)
{
    cStageChara& victim = Add();
    cStageChara& attacker = Add();
    attacker.m_Def.m_nBodyImpact = 4;
    attacker.m_dVX = 2;
    victim.TakeCharaHit(attacker);
    EXPECT_EQ(victim.m_Knockback.bKnocked, 1);
    EXPECT_GT(victim.m_Knockback.dSpeedX, 0);
    EXPECT_EQ(victim.m_Knockback.dSpeedY, 0);
}

TEST_F(CharaDamage, DefeatRaisesDiedThenUpdatesOnceRestrictedThenScores)
{
    cRecordingChara chara;
    chara.m_nSerial = 42;
    chara.m_Def.m_nScore = 150;
    chara.m_Def.m_nDefeatEffect = 9;
    chara.m_Def.m_nDefeatEffectMode = 2;
    WatchTriggers(chara);
    g_SaveData.m_nScore = 1000;
    EXPECT_EQ(chara.Defeat(), 0);
    EXPECT_EQ(chara.m_Updates, std::vector<int>{1});
    EXPECT_EQ(chara.m_TriggersAtUpdate, std::vector<int>{TRIGGER_DEATH});
    EXPECT_EQ(chara.m_nScoreAtUpdate, 1000);
    EXPECT_EQ(g_SaveData.m_nScore, 1150);
    EXPECT_EQ(chara.m_bDead, 1);
    EXPECT_EQ(chara.m_DrawEffect.m_EffectPlayback.m_nId, 9);
    EXPECT_EQ(chara.m_DrawEffect.m_EffectPlayback.m_nMode, 2);
    EXPECT_EQ(chara.m_DrawEffect.m_EffectPlayback.m_bLoop, 0);
}

TEST_F(CharaDamage, DefeatScoreSumsWrapThenClamp)
{
    struct Case {
        const char* name;
        int score, defeatScore, expected;
    } cases[] = {
        {"plain sum", 10, 20, 30},
        {"capped at 999999", 999990, 100, 999999},
        {"a negative defeat score stops at 0", 50, -100, 0},
        {"a sum past INT_MAX wraps negative and clamps to 0", INT_MAX, 1, 0},
        {"a script's score above the cap comes down", 5000000, 0, 999999},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cRecordingChara chara;
        chara.m_Def.m_nScore = c.defeatScore;
        g_SaveData.m_nScore = c.score;
        chara.Defeat();
        EXPECT_EQ(g_SaveData.m_nScore, c.expected);
    }
}

TEST_F(CharaDamage, DefeatDropsEveryLinkToAndFromTheChara)
{
    cStageChara& defeated = Add();
    cStageChara& aimer = Add();
    AimAt(aimer, defeated);
    ASSERT_EQ(defeated.m_lpTarget, &m_Player);
    cGameObject follower;
    defeated.m_Followers.push_back(&follower);

    EXPECT_EQ(defeated.Defeat(), 0);
    EXPECT_EQ(aimer.m_lpTarget, nullptr);
    EXPECT_TRUE(defeated.m_TargetedBy.empty());
    EXPECT_EQ(defeated.m_lpTarget, nullptr);
    EXPECT_TRUE(defeated.m_Followers.empty());
    // The player's list keeps the others in their order.
    for (cChara* chara : m_Player.m_TargetedBy) EXPECT_NE(chara, &defeated);
    EXPECT_EQ(defeated.m_bDead, 1);
}

TEST_F(CharaDamage, ADefeatOnAClearedStageReturnsAtOnceAndKeepsTheLinks)
{
    cStageChara& defeated = Add();
    cStageChara& aimer = Add();
    AimAt(aimer, defeated);
    defeated.m_Def.m_nScore = 70;
    defeated.m_Def.m_nDefeatEffect = 9;
    Scene().m_nResult = 1;
    WatchTriggers(defeated);

    EXPECT_EQ(defeated.Defeat(), 1);
    EXPECT_EQ(RaisedTriggers(defeated), std::vector<int>{TRIGGER_DEATH});
    EXPECT_EQ(g_SaveData.m_nScore, 70);
    EXPECT_EQ(defeated.m_bDead, 0);
    EXPECT_EQ(aimer.m_lpTarget, &defeated);
    EXPECT_EQ(defeated.m_TargetedBy.size(), 1u);
    EXPECT_EQ(defeated.m_lpTarget, &m_Player);
    EXPECT_EQ(defeated.m_DrawEffect.m_EffectPlayback.m_nId, 0);
}

TEST_F(CharaDamage, FindCharaBySerialLooksAtThePlayersFirst)
{
    // Player 1 is the fixture's one player.
    ASSERT_EQ(Player.size(), 1u);
    cStageChara& first = Add();
    cStageChara& second = Add();
    Player.At(0).m_nSerial = second.m_nSerial;
    EXPECT_EQ(FindCharaBySerial(second.m_nSerial), &Player.At(0));
    EXPECT_EQ(FindCharaBySerial(first.m_nSerial), &first);
    EXPECT_EQ(FindCharaBySerial(99999), nullptr);
}

}  // namespace
