#include "objects/item.h"

#include <gtest/gtest.h>

#include "data/stage_data.h"
#include "tests/stage/stage_fixture.h"

namespace {

class ItemTest : public ::testing::Test {
protected:
    ItemTest() { g_StageData.Reset(); }   // item box 28 x 28

    static cItemData Template(int scale)
    {
        cItemData definition;
        definition.Reset();
        definition.m_nImageNumber = 3;
        definition.m_nGiantScale = static_cast<BYTE>(scale);
        return definition;
    }

    qbtest::cViewStage m_View;
};

TEST_F(ItemTest, APlacedItemIsCentredInItsCellAndGrowsUpwardFromItsFloor)
{
    struct Case { int scale; double x; double y; int width; double bottom; } cases[] = {
        {0, 15 * 32 + 2 + 0.5, 16 * 32 + 2, 28, 16 * 32 + 29},   // scale 0 counts as 1
        {1, 15 * 32 + 2 + 0.5, 16 * 32 + 2, 28, 16 * 32 + 29},
        {2, 15 * 32 + 4 + 0.5 - 14, 16 * 32 + 4 - 30, 56, 16 * 32 + 29},
    };
    for (const auto& c : cases) {
        cItemData definition = Template(c.scale);
        cItem item;
        item.InitFromDefinition(5, definition, 0);
        item.PlaceAtBlock(5, 6);
        EXPECT_EQ(definition.m_nGiantScale, c.scale == 0 ? 1 : c.scale);
        EXPECT_EQ(item.m_nSerial, 5);
        EXPECT_EQ(item.m_nImage, 3);
        EXPECT_EQ(item.m_bActive, 0);
        EXPECT_DOUBLE_EQ(item.m_dX, c.x) << c.scale;
        EXPECT_DOUBLE_EQ(item.m_dY, c.y) << c.scale;
        EXPECT_EQ(item.m_nWidth, c.width) << c.scale;
        EXPECT_DOUBLE_EQ(item.m_dBottom, c.bottom) << c.scale;
    }
}

TEST_F(ItemTest, ACarriedItemIsActiveAtOnceAndKeepsScaleOne)
{
    cItemData definition = Template(3);
    cItem item;
    item.InitFromDefinition(0, definition, 1);
    EXPECT_EQ(item.m_bActive, 1);
    EXPECT_EQ(item.m_nWidth, 28);
    EXPECT_EQ(item.m_nDrawWidth, 32);
    EXPECT_EQ(item.m_nDrawOffsetX, 2);
    EXPECT_EQ(item.m_bFlying, 1);
    EXPECT_EQ(item.m_byCollision, 0);
}

}  // namespace
