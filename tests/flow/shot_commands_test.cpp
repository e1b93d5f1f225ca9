#include <gtest/gtest.h>

#include <memory>

#include "data/command_data.h"
#include "data/command_info.h"
#include "data/database.h"
#include "flow/running_flow.h"
#include "flow/shot_commands.h"
#include "objects/shot.h"
#include "tests/stage/stage_fixture.h"

namespace {

// A stage chara at screen (100, 200), 32 x 32, running shot and sword commands at two
// sub-steps per frame; four sword types of two frames, 20 x 10 and 30 x 6.
class ShotCommands : public qbtest::cStageTest {
protected:
    ShotCommands()
    {
        g_StageData.SetSpeedLevel(2);
        Scene().m_ShotLists.Reset(8);
        Scene().PlaceChara(1, 1, CharaTemplate(), nullptr);
        m_Owner = &Scene().m_Charas.back();
        m_Owner->m_nDrawOffsetX = m_Owner->m_nDrawOffsetY = 0;
        m_Owner->m_nDrawWidth = m_Owner->m_nDrawHeight = 32;
        m_Owner->m_dX = 420;
        m_Owner->m_dY = 520;
        m_Owner->m_nDirection = 1;
        m_Owner->m_bOnScreen = 1;
        m_Owner->m_nPassLayer = 1;
        g_Database.m_SwordTypes.resize(4);
        for (cSwordTypeData& type : g_Database.m_SwordTypes) {
            type.m_Frames.resize(2);
            type.m_Frames[0].m_nWidth = 20;
            type.m_Frames[0].m_nHeight = 10;
            type.m_Frames[0].m_nDuration = 1;
            type.m_Frames[1].m_nWidth = 30;
            type.m_Frames[1].m_nHeight = 6;
            type.m_Frames[1].m_nDuration = 0;
            type.m_Frames[1].m_nPlacement = 2;
        }
        m_Command.m_nSound = 5;
        m_Entry.m_lpCommand = &m_Command;
    }

    void WithShotPart()
    {
        cEdShot::Create(m_Command.m_pShot);
        m_Command.m_pShot->m_nFormationCount = 1;
        m_Command.m_pShot->m_nSpeed = 10;
    }
    std::size_t ShotCount() { return Scene().m_ShotLists.m_Shots.size(); }

    cStageChara* m_Owner = nullptr;
    cCommandData m_Command;
    cFlowCommandEntry m_Entry;
    qbtest::cRequestLog m_Requests;
};

TEST_F(ShotCommands, AShotCommandFiresAtItsFirstStepAndEveryTenthOfASecond)
{
    m_Command.m_nKind = COMMAND_SHOT;
    WithShotPart();
    std::vector<std::size_t> counts;
    for (int step = 0; step < 25; ++step) {
        FlowCmdShot(*m_Owner, m_Entry);
        counts.push_back(ShotCount());
    }
    EXPECT_EQ(counts[0], 1u);
    EXPECT_EQ(counts[11], 1u);
    EXPECT_EQ(counts[12], 2u);
    EXPECT_EQ(counts[24], 3u);
    EXPECT_EQ(qbtest::cRequestLog::s_Sounds, (std::vector<int>{21, 21, 21}));
}

TEST_F(ShotCommands, ACommandWithoutAShotPartFiresNothingButSoundsAndCounts)
{
    using Handler = void (*)(cChara&, cFlowCommandEntry&);
    struct Case { int kind; Handler handler; } cases[] = {
        {COMMAND_SHOT, FlowCmdShot},
        {COMMAND_SWORD, FlowCmdSword},
        {COMMAND_BLOCK_SUMMON, FlowCmdSummonBlock},
        {COMMAND_CHARA_SUMMON, FlowCmdSummonChara},
        {COMMAND_ITEM_SUMMON, FlowCmdSummonItem},
    };
    for (const auto& c : cases) {
        qbtest::cRequestLog requests;
        m_Command.m_nKind = static_cast<std::int8_t>(c.kind);
        m_Command.m_pShot.reset();
        m_Entry.m_nStepCounter = 0;
        c.handler(*m_Owner, m_Entry);
        EXPECT_EQ(ShotCount(), 0u) << c.kind;
        EXPECT_EQ(m_Entry.m_nStepCounter, 1) << c.kind;
        EXPECT_EQ(qbtest::cRequestLog::s_Sounds, (std::vector<int>{21})) << c.kind;
    }
}

TEST_F(ShotCommands, AnOffScreenCharaFiresSilentlyWhenTheSoundIsForTheScreenOnly)
{
    m_Command.m_nKind = COMMAND_SHOT;
    m_Command.m_bSoundOnScreenOnly = 1;
    m_Owner->m_bOnScreen = 0;
    WithShotPart();
    FlowCmdShot(*m_Owner, m_Entry);
    EXPECT_EQ(ShotCount(), 1u);
    EXPECT_TRUE(qbtest::cRequestLog::s_Sounds.empty());
}

TEST_F(ShotCommands, ASwordSwingsOncePerRunEntersItsLayerAndAimsAtNothing)
{
    m_Command.m_nKind = COMMAND_SWORD;
    WithShotPart();
    m_Command.m_pShot->m_nTrajectory = 3;   // sword type 3, which as a trajectory would aim
    m_Owner->UnregisterFromTarget();
    m_Owner->m_lpTarget = &m_Player;
    m_Owner->RegisterWithTarget();
    for (int step = 0; step < 5 * 12; ++step) FlowCmdSword(*m_Owner, m_Entry);
    ASSERT_EQ(ShotCount(), 1u);
    cShot& sword = Scene().m_ShotLists.m_Shots.front();
    EXPECT_FALSE(sword.IsShot());
    EXPECT_EQ(sword.m_lpTarget, nullptr);
    EXPECT_EQ(sword.m_nWidth, 20);
    ASSERT_EQ(Scene().m_ShotLists.m_ShotLayers.At(1).size(), 1u);
    EXPECT_EQ(Scene().m_ShotLists.m_ShotLayers.At(1).front(), &sword);
    EXPECT_EQ(m_Entry.m_nStepCounter, 60);
}

TEST_F(ShotCommands, ASwordFollowsItsOwnerFrameByFrameAndEnds)
{
    m_Command.m_nKind = COMMAND_SWORD;
    WithShotPart();
    FlowCmdSword(*m_Owner, m_Entry);
    cShot& sword = Scene().m_ShotLists.m_Shots.front();
    // Frame 0: in front of an owner facing right, for 1 tenth of a second (12 sub-steps).
    for (int step = 0; step < 12; ++step) {
        ASSERT_EQ(sword.Update(), 0) << step;
        EXPECT_DOUBLE_EQ(sword.m_dX, 320 + 131 + 1);
        EXPECT_DOUBLE_EQ(sword.m_dY, 320 + 200 + 16 - 5);
    }
    ASSERT_EQ(sword.Update(), 0);
    // Frame 1: above, 30 x 6, for one sub-step, at whose end the swing ends.
    EXPECT_EQ(sword.Update(), 1);
    EXPECT_EQ(sword.m_nWidth, 30);
    EXPECT_DOUBLE_EQ(sword.m_dX, 320 + 100 + 16 - 15);
    EXPECT_DOUBLE_EQ(sword.m_dY, 320 + 200 - 6);
}

TEST_F(ShotCommands, ASwordWhoseOwnerIsGoneEnds)
{
    m_Command.m_nKind = COMMAND_SWORD;
    WithShotPart();
    FlowCmdSword(*m_Owner, m_Entry);
    cShot& sword = Scene().m_ShotLists.m_Shots.front();
    ASSERT_EQ(sword.Update(), 0);
    Scene().UnlinkChara(std::prev(Scene().m_Charas.end()));
    EXPECT_EQ(sword.Update(), 1);
}

}  // namespace
