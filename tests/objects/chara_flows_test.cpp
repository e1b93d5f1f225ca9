#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "objects/chara.h"
#include "tests/objects/chara_fixture.h"
#include "tests/stage/stage_fixture.h"

namespace {

// A chara whose definition holds flows of groups 1, 2, 1 and 0 with 1, 2, 3 and 1 commands.
std::unique_ptr<cChara> CharaWithFlows()
{
    auto chara = std::make_unique<cChara>();
    for (int group : {1, 2, 1, 0}) AddFlow(chara->m_Def, group, group + 1);
    MirrorFlows(*chara);
    return chara;
}

std::vector<int> Serials(const cChara& chara)
{
    std::vector<int> serials;
    for (const cRunningFlow& flow : chara.m_RunningFlows) serials.push_back(flow.m_nSerial);
    return serials;
}

}  // namespace

TEST(CharaFlows, ACopyRunsItsOwnFlowsAfterTheSourceIsGone)
{
    auto source = CharaWithFlows();
    source->m_RunningFlows[1].m_bRunning = 1;
    cChara copy(*source);
    cChara assigned;
    assigned = *source;
    cChara copied;
    copied.m_Def = source->m_Def;
    copied.CopyRunningFlows(source->m_RunningFlows);
    source.reset();
    for (cChara* chara : {&copy, &assigned, &copied}) {
        EXPECT_TRUE(FlowsPointIntoOwnDefinition(*chara));
        for (cRunningFlow& flow : chara->m_RunningFlows) {
            EXPECT_EQ(flow.Step(*chara), flow.m_Entries.size() == 1);
            for (cFlowCommandEntry& entry : flow.m_Entries) EXPECT_EQ(entry.m_lpCommand->m_nKind, 0);
            EXPECT_EQ(flow.m_lpFlow->m_Commands.size(), flow.m_Entries.size());
        }
    }
}

TEST(CharaFlows, RemovingFlowsKeepsTheOthersBoundAndMarksEndedGroups)
{
    auto chara = CharaWithFlows();
    for (cRunningFlow& flow : chara->m_RunningFlows) flow.m_bRunning = 1;
    chara->RemoveFlow(1);
    EXPECT_EQ(Serials(*chara), (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(chara->m_Def.m_Flows.size(), 3u);
    EXPECT_TRUE(FlowsPointIntoOwnDefinition(*chara));
    EXPECT_EQ(chara->m_GroupEnded[2], 1);
    EXPECT_EQ(chara->m_bGroupEnded, 1);

    chara->RemoveFlow(7);   // reported; nothing removed
    EXPECT_EQ(chara->m_RunningFlows.size(), 3u);

    EXPECT_EQ(chara->RemoveFlowsByGroup(1), -1);
    EXPECT_EQ(Serials(*chara), (std::vector<int>{3}));
    EXPECT_TRUE(FlowsPointIntoOwnDefinition(*chara));
    EXPECT_EQ(chara->m_GroupEnded[1], 1);

    EXPECT_EQ(chara->RemoveFlowsByGroup(0), 0);
    EXPECT_TRUE(chara->m_RunningFlows.empty());
    EXPECT_TRUE(chara->m_Def.m_Flows.empty());
}

TEST(CharaFlows, RemovingAFlowForgetsTheSceneEntriesItMoves)
{
    qbtest::cViewStage view;
    auto chara = CharaWithFlows();
    view.Scene().m_lpCurFlow = &chara->m_RunningFlows[2];
    view.Scene().m_lpCurEntry = &chara->m_RunningFlows[2].m_Entries[0];
    chara->RemoveFlow(1);
    EXPECT_EQ(view.Scene().m_lpCurFlow, nullptr);
    EXPECT_EQ(view.Scene().m_lpCurEntry, nullptr);
}

TEST(CharaUpdate, RemovalsThenEndedGroupsThenTheIdlePattern)
{
    qbtest::cViewStage view;
    auto chara = CharaWithFlows();
    const int* const patterns[] = {g_ItemAnimePatterns[0], g_ItemAnimePatterns[0], g_ItemAnimePatterns[0], nullptr};
    chara->m_Animator.Build(patterns);
    chara->m_Animator.SetPattern(1, 1);
    chara->m_nHp = 10;
    // Flows 0 and 2 (group 1) run and are marked for removal: removing them ends group 1,
    // and the ended groups are cleared after the removals, in the same update.
    for (int i : {0, 2}) {
        chara->m_RunningFlows[i].m_bRunning = 1;
        chara->m_RunningFlows[i].m_bDeleted = 1;
    }
    chara->m_bFlowRemoval = 1;
    chara->m_GroupStarted[1] = 1;
    chara->m_GroupStarted[2] = 1;
    chara->m_nCrushGrace = 2;

    EXPECT_FALSE(chara->UpdateCommon(0, false, {}));
    EXPECT_EQ(Serials(*chara), (std::vector<int>{1, 3}));
    EXPECT_TRUE(FlowsPointIntoOwnDefinition(*chara));
    EXPECT_EQ(chara->m_bFlowRemoval, 0);
    EXPECT_EQ(chara->m_GroupEnded[1], 0);
    EXPECT_EQ(chara->m_GroupStarted[1], 0);
    EXPECT_EQ(chara->m_GroupStarted[2], 1);   // not ended: kept
    EXPECT_EQ(chara->m_bGroupEnded, 0);
    EXPECT_EQ(chara->m_nCrushGrace, 1);
    EXPECT_EQ(chara->m_Animator.m_nPattern, 0);   // walking
    EXPECT_EQ(view.Scene().m_lpCurChara, nullptr);

    chara->m_bFlying = 1;
    chara->m_bMoved = 1;   // cleared by the update itself, so the pattern still changes
    EXPECT_FALSE(chara->UpdateCommon(0, false, {}));
    EXPECT_EQ(chara->m_Animator.m_nPattern, 2);   // flying
    chara->m_Animator.SetPattern(1, 1);
    chara->m_dInertiaX = 0.5;
    chara->UpdateCommon(0, false, {});
    EXPECT_EQ(chara->m_Animator.m_nPattern, 1);   // still moving by inertia

    chara->m_nHp = 0;
    EXPECT_TRUE(chara->UpdateCommon(0, false, {}));
}

TEST(CharaUpdate, VelocityResetFollowsTheAutoScrollAsTheCarrySwitchSays)
{
    struct Case { const char* name; int carry; bool hero; int scrollRelative; int flying; double vx, vy; } cases[] = {
        {"off, scroll-relative walker", 0, false, 1, 0, 0.5, 9},
        {"off, scroll-relative flyer", 0, false, 1, 1, 0.5, 0.25},
        {"off, other flyer", 0, true, 0, 1, 0, 0},
        {"off, other walker", 0, false, 0, 0, 0, 9},
        {"on, stage flyer", 1, false, 1, 1, 0, 0},
        {"on, hero walker", 1, true, 1, 0, 0, 9},
        {"on, hero flyer", 1, true, 0, 1, 0.5, 0.25},
    };
    for (const auto& c : cases) {
        cChara chara;
        chara.m_nHp = 1;
        chara.m_bScrollRelative = c.scrollRelative;
        chara.m_bFlying = c.flying;
        chara.m_dVX = 7;
        chara.m_dVY = 9;
        chara.UpdateCommon(0, c.hero, {0.5, 0.25, c.carry});
        EXPECT_EQ(chara.m_dVX, c.vx) << c.name;
        EXPECT_EQ(chara.m_dVY, c.vy) << c.name;
        EXPECT_EQ(chara.m_bDecelX + chara.m_bDecelY, 2) << c.name;
    }
}

TEST(CharaUpdate, FlowsWithoutEntriesStopAndEndTheirGroup)
{
    auto chara = std::make_unique<cChara>();
    AddFlow(chara->m_Def, 3, 0);
    MirrorFlows(*chara);
    chara->m_RunningFlows[0].m_bRunning = 1;
    chara->m_nHp = 5;
    chara->UpdateCommon(0, false, {});
    EXPECT_EQ(chara->m_RunningFlows[0].m_bRunning, 0);
    // Ended in this update, so its marks are cleared at its end.
    EXPECT_EQ(chara->m_GroupEnded[3], 0);
    EXPECT_EQ(chara->m_bGroupEnded, 0);
}

TEST(CharaFlows, FrameFlagsReset)
{
    auto chara = CharaWithFlows();
    chara->m_RunningFlows[0].m_bTriedThisFrame = 1;
    chara->m_RunningFlows[3].m_bStartedThisFrame = 1;
    chara->m_GroupThisFrame[4] = 1;
    chara->ResetFlowFrameFlags();
    EXPECT_EQ(chara->m_RunningFlows[0].m_bTriedThisFrame, 0);
    EXPECT_EQ(chara->m_RunningFlows[3].m_bStartedThisFrame, 0);
    EXPECT_EQ(chara->m_GroupThisFrame[4], 0);
    EXPECT_EQ(chara->m_GroupThisFrame.size(), 27u);
}
