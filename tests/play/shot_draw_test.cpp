// A shot's picture: a 16-dot cell of the shot cells (standard surface 20 facing left), the
// column pair of each run of 30 pictures and the animation frame choosing the column.
#include <gtest/gtest.h>

#include "graphics/device.h"
#include "graphics/standard_surfaces.h"
#include "objects/shot.h"
#include "tests/play/stage_draw_fixture.h"

namespace {

// Cell (column, row) of the shot cells in a colour of its own, opaque.
std::uint32_t ShotCellRgb(int x, int y)
{
    return 0x400000u + static_cast<std::uint32_t>((x / 16) << 8) + static_cast<std::uint32_t>(y / 16);
}

class ShotDraw : public qbtest::cStageDrawTest {
protected:
    void SetUp() override
    {
        cStageDrawTest::SetUp();
        LoadPicture(20, 128, 480, ShotCellRgb);
    }

    // A shot of `picture` facing left, its screen rectangle at (100, 60).
    static cShot ShotOf(int picture, int scale)
    {
        cShot shot;
        shot.m_nImage = picture;
        shot.m_nDirection = 0;
        shot.m_Def.m_nSize = static_cast<std::int8_t>(scale);
        shot.m_nDrawWidth = shot.m_nDrawHeight = 16 * scale;
        shot.m_ScreenRect = INTRECT{100, 60, 100 + 16 * scale - 1, 60 + 16 * scale - 1};
        return shot;
    }
};

TEST_F(ShotDraw, APictureTakesItsRowAndTheColumnPairOfItsRunOfThirty)
{
    struct Case { int picture; int column; int row; } cases[] = {{0, 0, 0}, {1, 0, 1}, {29, 0, 29}, {31, 2, 1}, {95, 6, 5}};
    for (const auto& c : cases) {
        ClearScreen(0xFF000000);
        cShot shot = ShotOf(c.picture, 1);
        shot.Draw(&g_BackBuffer, 1);   // paused: the animation's frame 0
        const qbtest::cImage screen = Screen();
        EXPECT_EQ(screen.At(100, 60) & 0xFFFFFF, ShotCellRgb(c.column * 16, c.row * 16)) << c.picture;
        EXPECT_EQ(screen.At(115, 75) & 0xFFFFFF, ShotCellRgb(c.column * 16, c.row * 16)) << c.picture;
        EXPECT_EQ(screen.At(116, 60) & 0xFFFFFF, 0u) << c.picture;
    }
}

TEST_F(ShotDraw, AScaleAboveOneStretchesTheCell)
{
    ClearScreen(0xFF000000);
    cShot shot = ShotOf(31, 2);
    shot.Draw(&g_BackBuffer, 1);
    const qbtest::cImage screen = Screen();
    EXPECT_EQ(screen.At(131, 91) & 0xFFFFFF, ShotCellRgb(32, 16));
    EXPECT_EQ(screen.At(132, 60) & 0xFFFFFF, 0u);
}

TEST_F(ShotDraw, APictureBeyondTheSheetDrawsWhatOfItLiesOnTheSheet)
{
    for (int picture : {30 * 70, -1, 32767}) {
        ClearScreen(0xFF000000);
        cShot shot = ShotOf(picture, 1);
        shot.Draw(&g_BackBuffer, 1);
        const qbtest::cImage screen = Screen();
        EXPECT_EQ(screen.At(100, 60) & 0xFFFFFF, 0u) << picture;
    }
}

TEST_F(ShotDraw, ACellHalfOffTheSheetIsClippedToIt)
{
    LoadPicture(20, 128, 472, ShotCellRgb);   // row 29 has eight lines of its sixteen
    ClearScreen(0xFF000000);
    cShot shot = ShotOf(29, 1);
    shot.Draw(&g_BackBuffer, 1);
    const qbtest::cImage screen = Screen();
    EXPECT_EQ(screen.At(100, 67) & 0xFFFFFF, ShotCellRgb(0, 29 * 16));
    EXPECT_EQ(screen.At(100, 68) & 0xFFFFFF, 0u);
}

TEST_F(ShotDraw, AnInvisibleShotDrawsNothing)
{
    ClearScreen(0xFF000000);
    cShot shot = ShotOf(1, 1);
    shot.m_Def.m_bInvisible = 1;
    shot.Draw(&g_BackBuffer, 1);
    EXPECT_EQ(Screen().At(100, 60) & 0xFFFFFF, 0u);
}

}  // namespace
