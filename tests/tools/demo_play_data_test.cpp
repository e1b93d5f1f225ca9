// The demo's stages as the runtime reads them: the settings that decide what a player meets
// (who touches whom, what a defeat gives, what the flows do) hold for every stage.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "data/command_info.h"
#include "data/role_accessors.h"
#include "data/stage_data.h"
#include "tests/support/demo_game.h"
#include "tools/demo-game/demo_database.h"

namespace {

class DemoPlayData : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_Demo.Load()); }

    // The placed hero of a stage, and its walkers (a platform or a sign is not one).
    static const cCharaData& HeroOf(const cStageData& stage) { return stage.m_Charas.At(stage.FindHero()); }
    static std::vector<const cCharaData*> WalkersOf(const cStageData& stage)
    {
        std::vector<const cCharaData*> walkers;
        for (const cCharaData& chara : stage.m_Charas)
            if (chara.m_strName == "ウォーカー") walkers.push_back(&chara);
        return walkers;
    }

    qbtest::cDemoStages m_Demo;
};

// Charas of one hit layer never touch: a walker must sit on another layer than the hero's, hurt
// it, and live through its first touch so that its flow for being hurt runs.
TEST_F(DemoPlayData, WalkersTouchTheHeroFromALayerOfTheirOwnAndLiveThroughTheFirstTouch)
{
    for (const cStageData& stage : m_Demo.Stages()) {
        const cCharaData& hero = HeroOf(stage);
        ASSERT_GT(CharaPower(hero), 0) << stage.m_strPath << ": the hero's touch hurts";
        const std::vector<const cCharaData*> walkers = WalkersOf(stage);
        ASSERT_FALSE(walkers.empty());
        for (const cCharaData* walker : walkers) {
            EXPECT_NE(CharaLayer(*walker), CharaLayer(hero)) << stage.m_strPath;
            EXPECT_GT(CharaPower(*walker), 0) << stage.m_strPath;
            const int dealt = CharaPower(hero) - CharaDefence(*walker);
            const int taken = CharaPower(*walker) - CharaDefence(hero);
            ASSERT_GT(dealt, 0) << stage.m_strPath;
            const int touches = (walker->m_nMaxHp + dealt - 1) / dealt;
            EXPECT_GT(touches, 1) << stage.m_strPath << ": the first touch leaves the walker alive";
            EXPECT_GT(hero.m_nMaxHp, touches * taken) << stage.m_strPath << ": the hero lives to defeat a walker";
        }
    }
}

// A placed chara that carries a placed item takes it out of the stage until its defeat.
TEST_F(DemoPlayData, EveryCoinLiesInTheStageAndNoWalkerCarriesOne)
{
    for (const cStageData& stage : m_Demo.Stages()) {
        ASSERT_FALSE(stage.m_Items.empty());
        for (const cCharaData* walker : WalkersOf(stage)) EXPECT_EQ(walker->m_nHeldItem, -1) << stage.m_strPath;
    }
}

// The turn command acts only with fixed facing on, and turns to the facing of its first
// parameter; the sound command plays the database sound of its first parameter.
TEST_F(DemoPlayData, WalkersTurnBothWaysAndCryTheSoundTheirSoundCommandNames)
{
    for (const cStageData& stage : m_Demo.Stages()) {
        for (const cCharaData* walker : WalkersOf(stage)) {
            EXPECT_EQ(CharaFixedFacing(*walker), 1) << stage.m_strPath;
            std::set<int> facings;
            int cries = 0;
            for (const cFlowData& flow : walker->m_Flows)
                for (const cCommandData& command : flow.m_Commands) {
                    if (command.m_nKind == COMMAND_TURN) facings.insert(command.m_Params.At(0));
                    if (command.m_nKind != COMMAND_SOUND || flow.m_nTrigger != TRIGGER_DAMAGED) continue;
                    ++cries;
                    EXPECT_EQ(command.m_Params.At(0), DEMO_SOUND_HIT) << stage.m_strPath;
                }
            EXPECT_EQ(facings, (std::set<int>{0, 1})) << stage.m_strPath << ": faces left, then right";
            EXPECT_EQ(cries, 1) << stage.m_strPath;
        }
    }
}

}  // namespace
