// Blocks on the back buffer: the cells under the screen at the fine offset of the scroll
// position, by draw pass, hidden and outside the grid.
#include <gtest/gtest.h>

#include "data/stage_geometry.h"
#include "graphics/device.h"
#include "graphics/standard_surfaces.h"
#include "tests/play/stage_draw_fixture.h"

namespace {

using qbtest::cImage;

constexpr std::uint32_t kGround = 0x00FF00;

// The block sheet: 2 columns of 15 cells; each pixel says its cell and its place in the cell.
std::uint32_t SheetRgb(int x, int y)
{
    const int cell = x / kCell * 15 + y / kCell;
    return static_cast<std::uint32_t>((x % kCell * 8) << 16 | (y % kCell * 8) << 8 | cell * 8);
}
std::uint32_t CellRgb(int cell, int x, int y) { return SheetRgb(cell / 15 * kCell + x, cell % 15 * kCell + y); }

class BlockDraw : public qbtest::cStageDrawTest {
protected:
    void SetUp() override
    {
        cStageDrawTest::SetUp();
        LoadPicture(kBlockSheet, 2 * kCell, 15 * kCell, SheetRgb);
        ASSERT_TRUE(g_BlockGrid.Build(g_StageData.m_nWidth, g_StageData.m_nHeight));
    }
    // A block showing sheet cell `number` in the cell of (column, row), margins included.
    static cBlockCell& Place(int column, int row, int number, int pass = 0)
    {
        cBlockCell& cell = g_BlockGrid.At(static_cast<int>(g_BlockGrid.CellIndex(column, row)));
        cell.m_nImageNumber = static_cast<std::int16_t>(number);
        cell.m_nDrawPass = static_cast<BYTE>(pass);
        return cell;
    }
    cImage Draw(double scrollX, double scrollY, int pass)
    {
        m_Scene->m_ScrollX.m_dPos = scrollX;
        m_Scene->m_ScrollY.m_dPos = scrollY;
        ClearScreen(0xFF000000 | kGround);
        m_Scene->DrawBlocks(&g_BackBuffer, pass);
        return Screen();
    }
    static std::uint32_t At(const cImage& screen, int x, int y) { return screen.At(x, y) & 0xFFFFFF; }
};

TEST_F(BlockDraw, BlocksLieAtTheFineOffsetOfTheScroll)
{
    Place(10, 10, 3);
    Place(11, 10, 4);
    Place(10, 11, 17);
    Place(30, 25, 5);   // the last row and column under the screen at this scroll
    // Scroll (325, 333): first column 10, first row 10, fine offsets 5 and 13.
    const cImage screen = Draw(325.9, 333.2, 0);
    struct Case {
        int x, y;
        std::uint32_t rgb;
    } cases[] = {
        {0, 0, CellRgb(3, 5, 13)},
        {26, 18, CellRgb(3, 31, 31)},
        {27, 0, CellRgb(4, 0, 13)},
        {58, 18, CellRgb(4, 31, 31)},
        {59, 0, kGround},
        {0, 19, CellRgb(17, 5, 0)},
        {26, 50, CellRgb(17, 31, 31)},
        {635, 467, CellRgb(5, 0, 0)},
        {639, 479, CellRgb(5, 4, 12)},
        {634, 479, kGround},
    };
    for (const Case& c : cases) EXPECT_EQ(At(screen, c.x, c.y), c.rgb) << c.x << ", " << c.y;
}

TEST_F(BlockDraw, EachPassDrawsOnlyItsBlocksAndNeverHiddenOnes)
{
    Place(10, 10, 1, 0);
    Place(11, 10, 2, 1);
    Place(12, 10, 3, 0).m_bHidden = 1;
    Place(13, 10, 3, 0).m_nImageKind = 7;   // an image kind of no sheet
    cImage screen = Draw(320, 320, 0);
    EXPECT_EQ(At(screen, 0, 0), CellRgb(1, 0, 0));
    EXPECT_EQ(At(screen, 32, 0), kGround);
    EXPECT_EQ(At(screen, 64, 0), kGround);
    EXPECT_EQ(At(screen, 96, 0), kGround);
    screen = Draw(320, 320, 1);
    EXPECT_EQ(At(screen, 0, 0), kGround);
    EXPECT_EQ(At(screen, 32, 0), CellRgb(2, 0, 0));
}

TEST_F(BlockDraw, TheImageNumberPicksTheBlockSheetCellAndTheFrameTheCellOfOtherSheets)
{
    // A chara sheet whose pixels say their place: 20 cells of 32 dots to a row.
    LoadPicture(kFirstCharaSheet, 20 * kCell, 15 * kCell,
                [](int x, int y) { return static_cast<std::uint32_t>(0x800000 | (x / kCell) << 8 | y / kCell); });
    struct Case { int kind, number, frame; std::uint32_t topLeft, bottomRight; } cases[] = {
        {0, 1, 0, CellRgb(1, 0, 0), CellRgb(1, 31, 31)},
        {0, 1, 5, CellRgb(1, 0, 0), CellRgb(1, 31, 31)},      // the frame plays no part there
        {0, 16, 3, CellRgb(16, 0, 0), CellRgb(16, 31, 31)},   // column 1, row 1
        {0, 0, 4, kGround, kGround},                          // number 0 is no picture
        {1, 2, 3, 0x800302, 0x800302},                        // row 2, column 3 of the first sheet
        {1, 0, 3, kGround, kGround},
    };
    for (const Case& c : cases) {
        cBlockData block;
        block.m_nImageKind = static_cast<BYTE>(c.kind);
        block.m_nImageNumber = static_cast<std::int16_t>(c.number);
        block.m_nImageFrame = static_cast<std::int16_t>(c.frame);
        ClearScreen(0xFF000000 | kGround);
        block.Draw(&g_BackBuffer, 0, 0);
        const cImage screen = Screen();
        EXPECT_EQ(At(screen, 0, 0), c.topLeft) << c.kind << ": " << c.number << ", " << c.frame;
        EXPECT_EQ(At(screen, 31, 31), c.bottomRight) << c.kind << ": " << c.number << ", " << c.frame;
        EXPECT_EQ(At(screen, 32, 0), kGround);
    }
}

TEST_F(BlockDraw, CellsOutsideTheStageAreNotDrawn)
{
    // The grid is 64 cells wide: the cells past column 59 hold no stage and are left alone.
    for (int column = 58; column < 64; ++column) Place(column, 0, 6);
    const cImage screen = Draw(58 * kCell, 0, 0);
    EXPECT_EQ(At(screen, 0, 0), CellRgb(6, 0, 0));
    EXPECT_EQ(At(screen, 63, 31), CellRgb(6, 31, 31));
    EXPECT_EQ(At(screen, 64, 0), kGround);
    // A scroll before the stage's first cell draws nothing there, and no cell of another row.
    const cImage before = Draw(-40, -40, 0);
    EXPECT_EQ(At(before, 0, 0), kGround);
    // Row 1's columns -2 and -1 would be row 0's columns 62 and 63 of the grid.
    EXPECT_EQ(At(before, 0, 80), kGround);
    EXPECT_EQ(At(before, 10, 80), kGround);
}

}  // namespace
