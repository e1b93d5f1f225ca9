#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "data/shot_part.h"
#include "play/block_grid.h"
#include "play/play_scene.h"
#include "tests/stage/stage_fixture.h"

namespace {

std::vector<int> Serials(const cCharaList& charas)
{
    std::vector<int> serials;
    for (const cStageChara& chara : charas) serials.push_back(chara.m_nSerial);
    return serials;
}

cEdShot SummonCommand(int blockMode = 0)
{
    cEdShot command;
    command.m_nBlockSummonMode = static_cast<std::int8_t>(blockMode);
    return command;
}

using StageSpawn = qbtest::cStageTest;

TEST_F(StageSpawn, CopiesPlacedPartlyOutsideTheStageAreDroppedAndSerialsStayConsecutive)
{
    cCharaData placement = CharaTemplate();
    placement.m_nCopies = 2;              // three copies, 170 pixels apart to the left
    placement.m_nCopyXStep = -170;
    Scene().PlaceChara(0, 0, placement, nullptr);
    // Copy 2 would start at x = 328.5 - 340 < 0, outside the stage.
    ASSERT_EQ(Scene().m_Charas.size(), 2u);
    EXPECT_DOUBLE_EQ(Scene().m_Charas.front().m_dX, 328.5);
    EXPECT_DOUBLE_EQ(Scene().m_Charas.back().m_dX, 158.5);

    Scene().PlaceChara(4, 2, CharaTemplate(), nullptr);
    EXPECT_EQ(Serials(Scene().m_Charas), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(Scene().m_nCharaSerial, 3);
}

TEST_F(StageSpawn, ASummonIntoASolidBlockIsErasedAndItsSerialReused)
{
    static_cast<cBlockData&>(CellAt(12, 12)) = SolidBlock();
    const cEdShot command = SummonCommand();
    Scene().SummonChara(12 * 32, 12 * 32, 3, 0, command, CharaTemplate());
    EXPECT_TRUE(Scene().m_Charas.empty());
    EXPECT_EQ(Scene().m_nCharaSerial, 0);
    EXPECT_TRUE(Scene().m_CharaLayers.At(3).empty());
    EXPECT_TRUE(m_Player.m_TargetedBy.empty());

    Scene().SummonChara(14 * 32, 12 * 32, 3, 0, command, CharaTemplate());
    ASSERT_EQ(Scene().m_Charas.size(), 1u);
    EXPECT_EQ(Scene().m_Charas.front().m_nSerial, 0);
    EXPECT_EQ(Scene().m_nCharaSerial, 1);
}

TEST_F(StageSpawn, SummonedCharasGoToTheFrontOfTheirLayerWithTheCommandsLifetime)
{
    cEdShot command = SummonCommand();
    command.m_bRangeLimit = 1;
    command.m_nRange = 5;   // tenths of a second: 5 x 6 frames x 10 sub-steps
    Scene().SummonChara(12 * 32, 12 * 32, 3, 1, command, CharaTemplate());
    Scene().SummonChara(14 * 32, 12 * 32, 3, 0, SummonCommand(), CharaTemplate());
    ASSERT_EQ(Scene().m_Charas.size(), 2u);
    const cStageChara& first = Scene().m_Charas.front();
    const cStageChara& second = Scene().m_Charas.back();
    EXPECT_EQ(first.m_nLife, 300);
    EXPECT_EQ(second.m_nLife, 2147483647);
    EXPECT_EQ(first.m_nDirection, 1);
    EXPECT_EQ(first.m_nPassLayer, 3);
    EXPECT_EQ(Scene().m_CharaLayers.At(3), (cSafeList<cChara*>{const_cast<cStageChara*>(&second),
                                                               const_cast<cStageChara*>(&first)}));
    // Bounds from the position and the drawing offsets (8, 8 for a 16 x 24 bottom-aligned chara).
    EXPECT_DOUBLE_EQ(first.m_dX, 392);
    EXPECT_DOUBLE_EQ(first.m_dY, 392);
    EXPECT_DOUBLE_EQ(first.m_dRight, 407);
    EXPECT_DOUBLE_EQ(first.m_dBottom, 415);
}

TEST_F(StageSpawn, HomePointsAreTheCellCentreWhenPlacedAndThePositionPlus336WhenSummoned)
{
    Scene().PlaceChara(2, 3, CharaTemplate(), nullptr);
    Scene().SummonChara(400.25, 420.5, 0, 0, SummonCommand(), CharaTemplate());
    ASSERT_EQ(Scene().m_Charas.size(), 2u);
    EXPECT_DOUBLE_EQ(Scene().m_Charas.front().m_dHomeX, 400);   // (12 x 32) | 16
    EXPECT_DOUBLE_EQ(Scene().m_Charas.front().m_dHomeY, 432);   // (13 x 32) | 16
    EXPECT_DOUBLE_EQ(Scene().m_Charas.back().m_dHomeX, 736.25);
    EXPECT_DOUBLE_EQ(Scene().m_Charas.back().m_dHomeY, 756.5);
}

TEST_F(StageSpawn, ACharaIsBuiltInItsListNodeSoThePlayersListHoldsItsRealAddress)
{
    Scene().PlaceChara(1, 1, CharaTemplate(), nullptr);
    Scene().SummonChara(14 * 32, 12 * 32, 0, 0, SummonCommand(), CharaTemplate());
    ASSERT_EQ(Scene().m_Charas.size(), 2u);
    std::vector<cChara*> expected;
    for (cStageChara& chara : Scene().m_Charas) {
        EXPECT_EQ(chara.m_lpTarget, &m_Player);
        expected.push_back(&chara);
    }
    EXPECT_EQ(std::vector<cChara*>(m_Player.m_TargetedBy.begin(), m_Player.m_TargetedBy.end()), expected);
}

TEST_F(StageSpawn, UnlinkCharaDropsEveryReferenceToTheChara)
{
    Scene().PlaceChara(1, 1, CharaTemplate(), nullptr);
    Scene().PlaceChara(3, 1, CharaTemplate(), nullptr);
    cStageChara& gone = Scene().m_Charas.front();
    cStageChara& kept = Scene().m_Charas.back();
    kept.UnregisterFromTarget();
    kept.m_lpTarget = &gone;
    kept.RegisterWithTarget();
    gone.m_Followers.push_back(&kept);
    m_Player.m_Followers.push_back(&gone);
    Scene().m_CharaLayers.At(0).push_back(&gone);
    Scene().m_CharaLayers.At(0).push_back(&kept);
    Scene().m_lpCurChara = &gone;

    const auto next = Scene().UnlinkChara(Scene().m_Charas.begin());
    EXPECT_EQ(&*next, &kept);
    EXPECT_EQ(Scene().m_Charas.size(), 1u);
    EXPECT_EQ(kept.m_lpTarget, nullptr);
    EXPECT_TRUE(m_Player.m_Followers.empty());
    EXPECT_EQ(Scene().m_CharaLayers.At(0), cSafeList<cChara*>{&kept});
    EXPECT_EQ(Scene().m_lpCurChara, nullptr);
    EXPECT_EQ(std::vector<cChara*>(m_Player.m_TargetedBy.begin(), m_Player.m_TargetedBy.end()),
              std::vector<cChara*>{});
}

TEST_F(StageSpawn, StageObjectsPlaceCarriedItemsWithTheirCharaAndTheRestOnTheGrid)
{
    g_StageData.m_Items.assign(2, ItemTemplate());
    g_StageData.m_Items[0].m_nColumn = 5;
    g_StageData.m_Items[0].m_nRow = 6;
    cCharaData hero = CharaTemplate();
    hero.m_nOperator = 0;
    cCharaData carrier = CharaTemplate();
    carrier.m_nHeldItem = 1;
    carrier.m_nColumn = 2;
    cCharaData plain = CharaTemplate();
    plain.m_nHeldItem = -1;
    plain.m_nColumn = 4;
    g_StageData.m_Charas.assign({hero, carrier, plain});

    Scene().PlaceStageObjects();
    ASSERT_EQ(Scene().m_Charas.size(), 2u);
    const cStageChara& first = Scene().m_Charas.front();
    EXPECT_EQ(first.m_nSerial, 0);
    EXPECT_EQ(first.m_HeldItem.m_bActive, 1);
    EXPECT_EQ(first.m_HeldItem.m_nSerial, 0);
    EXPECT_EQ(first.m_HeldItem.m_nImage, 1);
    EXPECT_EQ(Scene().m_Charas.back().m_HeldItem.m_bActive, 0);
    ASSERT_EQ(Scene().m_Items.size(), 1u);
    const cItem& item = Scene().m_Items.front();
    EXPECT_EQ(item.m_nSerial, 1);
    // 28 x 28 box centred in the cell of column 5, row 6.
    EXPECT_DOUBLE_EQ(item.m_dX, 15 * 32 + 2 + 0.5);
    EXPECT_DOUBLE_EQ(item.m_dY, 16 * 32 + 2);
    EXPECT_EQ(Scene().m_nItemSerial, 2);
}

TEST_F(StageSpawn, ABlockSummonRoundsToTheNearestCellAtHalfABlock)
{
    struct Case { double x; int column; } cases[] = {{15.4, 0}, {15.5, 1}, {47.4, 1}, {47.5, 2}};
    for (const auto& c : cases) {
        g_BlockGrid.Build(kWidth, kHeight);
        Scene().SummonBlock(c.x, 400, 0, SummonCommand(0), SolidBlock(9));
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(CellAt(column, 13).m_nImageNumber, column == c.column ? 9 : 0) << c.x << " column " << column;
    }
}

TEST_F(StageSpawn, ABlockSummonOutsideTheGridPlacesNothing)
{
    // An index inside the cells is the cell the grid's arithmetic names, even from a column
    // beyond a row's end; only indices outside every cell are refused.
    struct Case { double x; double y; } cases[] = {
        {-1e5, 400}, {400, -100}, {400, 40 * 32}, {1e12, 400}, {std::nan(""), 400}};
    for (const auto& c : cases) {
        Scene().SummonBlock(c.x, c.y, 0, SummonCommand(0), SolidBlock(9));
        for (const cBlockCell& cell : g_BlockGrid.m_Cells) ASSERT_EQ(cell.m_nImageNumber, 0) << c.x << ", " << c.y;
    }
}

TEST_F(StageSpawn, ThreeTogglePositionsInOneCellFlipItOnceAndTheNextCommandFlipsItBack)
{
    const cEdShot toggle = SummonCommand(2);
    Scene().m_ToggledCells.clear();
    for (double x : {374.0, 384.0, 394.0}) Scene().SummonBlock(x, 384, 0, toggle, SolidBlock(9));
    EXPECT_EQ(CellAt(12, 12).m_nImageNumber, 9);
    EXPECT_EQ(Scene().m_ToggledCells.size(), 1u);

    Scene().m_ToggledCells.clear();
    Scene().SummonBlock(384, 384, 0, toggle, SolidBlock(9));
    EXPECT_EQ(CellAt(12, 12).m_nImageNumber, 0);
    EXPECT_EQ(CellAt(12, 12).m_nHitMode, 0);
}

TEST_F(StageSpawn, EraseModeEmptiesTheCellWithTheCommonEmptyBlock)
{
    static_cast<cBlockData&>(CellAt(12, 12)) = SolidBlock(4);
    CellAt(12, 12).m_byOwn = 7;
    Scene().SummonBlock(384, 384, 0, SummonCommand(1), SolidBlock(9));
    EXPECT_EQ(CellAt(12, 12).m_nImageNumber, 0);
    EXPECT_EQ(CellAt(12, 12).m_nHitMode, 0);
    EXPECT_EQ(CellAt(12, 12).m_byOwn, 0);
}

TEST_F(StageSpawn, ProtectedCellsAreLeftAsTheyAre)
{
    struct Case { int strict; int shownNumber; bool changed; } cases[] = {
        {1, 0, false},   // strict: the protection byte alone protects
        {1, 4, false},
        {0, 0, true},    // lenient: only a shown block protects its cell
        {0, 4, false},
    };
    for (const auto& c : cases) {
        g_BlockGrid.Build(kWidth, kHeight);
        g_SystemData.m_bSummonSwitch = c.strict;
        cBlockCell& cell = CellAt(12, 12);
        cell.m_nImageNumber = static_cast<std::int16_t>(c.shownNumber);
        cell.m_bFixed = 1;
        Scene().SummonBlock(384, 384, 0, SummonCommand(0), SolidBlock(9));
        EXPECT_EQ(cell.m_nImageNumber == 9, c.changed) << c.strict << " " << c.shownNumber;
    }
}

TEST_F(StageSpawn, APlacementOverACharaIsCancelledByItsOptionAndACancelledToggleIsNotRecorded)
{
    Scene().SummonChara(12 * 32, 12 * 32, 0, 0, SummonCommand(), CharaTemplate());
    cStageChara& caught = Scene().m_Charas.front();
    caught.m_bActive = 1;

    Scene().SummonBlock(384, 384, 0, SummonCommand(0), SolidBlock(9));
    EXPECT_EQ(CellAt(12, 12).m_nImageNumber, 9);
    EXPECT_EQ(caught.m_nCrushGrace, 2);

    g_BlockGrid.Build(kWidth, kHeight);
    CellAt(12, 12).m_byOwn = 5;
    cEdShot cancel = SummonCommand(2);
    cancel.m_nShotSetting55 = 1;
    Scene().m_ToggledCells.clear();
    Scene().SummonBlock(384, 384, 0, cancel, SolidBlock(9));
    EXPECT_EQ(CellAt(12, 12).m_nImageNumber, 0);
    EXPECT_EQ(CellAt(12, 12).m_byOwn, 5);
    EXPECT_TRUE(Scene().m_ToggledCells.empty());

    // The option against players does not protect charas.
    cancel.m_nShotSetting55 = 0;
    cancel.m_nShotSetting54 = 1;
    Scene().SummonBlock(384, 384, 0, cancel, SolidBlock(9));
    EXPECT_EQ(CellAt(12, 12).m_nImageNumber, 9);
    EXPECT_EQ(Scene().m_ToggledCells.size(), 1u);
}

TEST_F(StageSpawn, GridRowsAreThePowerOfTwoAboveWidthPlus19AndPlacedBlocksFindTheirCells)
{
    struct Case { int width; int pitch; } cases[] = {{1, 32}, {12, 32}, {13, 64}, {45, 128}};
    for (const auto& c : cases) {
        ASSERT_TRUE(g_BlockGrid.Build(c.width, 2));
        EXPECT_EQ(g_BlockGrid.m_nWidth, c.pitch) << c.width;
        EXPECT_EQ(g_BlockGrid.m_Cells.size(), static_cast<std::size_t>(22 * c.pitch)) << c.width;
    }
    EXPECT_FALSE(g_BlockGrid.Build(1 << 20, 1 << 10));
    EXPECT_TRUE(g_BlockGrid.m_Cells.empty());

    g_BlockGrid.Build(kWidth, kHeight);
    cBlockData inside = SolidBlock(3);
    inside.m_nColumn = 12;
    inside.m_nRow = 14;
    cBlockData below = SolidBlock(5);
    below.m_nRow = 40;         // past the last row: reported, and cell 0 keeps its block
    cBlockData above = SolidBlock(6);
    above.m_nRow = -30;
    g_StageData.m_Blocks.assign({inside, below, above});
    g_BlockGrid.PlaceStageBlocks(g_StageData);
    EXPECT_EQ(CellAt(22, 24).m_nImageNumber, 3);
    EXPECT_EQ(g_BlockGrid.m_Cells[22 + 24 * 64].m_nImageNumber, 3);
    int placed = 0;
    for (const cBlockCell& cell : g_BlockGrid.m_Cells) placed += cell.m_nImageNumber != 0;
    EXPECT_EQ(placed, 1);
}

}  // namespace
