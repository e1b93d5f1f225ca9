#include <gtest/gtest.h>

#include <cstdlib>

#include "data/block_data.h"
#include "objects/shot.h"
#include "objects/spawn_param.h"
#include "tests/stage/stage_fixture.h"

namespace {

int s_nConditionDraws = 0;

// A block condition that, like a random-chance condition, draws a number every time it is
// asked, and never holds.
bool DrawingCondition(cBlockData&)
{
    ++s_nConditionDraws;
    rand();
    return false;
}

class ShotBlockTest : public qbtest::cStageTest {
protected:
    ShotBlockTest()
    {
        g_StageData.SetSpeedLevel(1);
        Scene().PlaceChara(1, 1, CharaTemplate(), nullptr);
        // Every cell holds a solid block that is there only under a condition.
        for (cBlockCell& cell : g_BlockGrid.m_Cells) {
            cell.m_nHitMode = 1;
            cell.m_Conditions.resize(1);
        }
        SetBlockConditionTest(DrawingCondition);
    }
    ~ShotBlockTest() override { SetBlockConditionTest(nullptr); }
};

TEST_F(ShotBlockTest, TheBlockTestDrawsOneNumberForEachCellItAsksInItsOrder)
{
    struct Case { int width, height, scale, draws; } cases[] = {
        {16, 64, 1, 4}, {48, 48, 1, 9}, {33, 100, 1, 10}, {16, 16, 2, 4},
    };
    for (const auto& c : cases) {
        cEdShot def;
        SPAWNPARAM spawn;
        spawn.x = 400;
        spawn.y = 400;
        cShot shot;
        shot.InitFromTemplate(1, Scene().m_Charas.back(), kShotObjectShot, def, spawn);
        shot.m_nBaseWidth = c.width;
        shot.m_nBaseHeight = c.height;
        shot.m_nWidth = c.width * c.scale;
        shot.m_nHeight = c.height * c.scale;
        shot.ClampX();
        shot.ClampY(2);
        srand(77);
        for (int i = 0; i < c.draws; ++i) rand();
        const int after = rand();
        srand(77);
        s_nConditionDraws = 0;
        EXPECT_EQ(shot.HitsBlock(), 0);
        EXPECT_EQ(s_nConditionDraws, c.draws) << c.width << "x" << c.height << " scale " << c.scale;
        EXPECT_EQ(rand(), after) << c.width << "x" << c.height << " scale " << c.scale;
    }
}

}  // namespace
