// The background command seen on the back buffer: the stage's picture changes with it.
#include <gtest/gtest.h>

#include "data/command_info.h"
#include "flow/media_commands.h"
#include "tests/flow/flow_fixture.h"
#include "tests/play/stage_draw_fixture.h"

namespace {

constexpr std::uint32_t kFirstAreaRgb = 0xC00000;
constexpr std::uint32_t kSecondAreaRgb = 0x00C000;

class BackgroundCommandDraw : public qbtest::cStageDrawTest {
protected:
    void SetUp() override
    {
        cStageDrawTest::SetUp();
        LoadPicture(kBackgroundSlot, 8, 8, [](int, int) { return kFirstAreaRgb; });
        LoadPicture(kBackgroundSlot + 1, 8, 8, [](int, int) { return kSecondAreaRgb; });
        g_StageData.m_Backgrounds.assign(2, cBackgroundData{});
        g_StageData.m_Backgrounds[1].m_bShow = 0;
    }
    void Change(int number, int action)
    {
        cCommandData command = FlowCommand(COMMAND_BACKGROUND);
        command.m_Params.assign({number, action});
        ExecCmdChangeBackground(m_Chara, command);
    }
    std::uint32_t DrawnAt(int x, int y)
    {
        m_Scene->DrawBackgrounds(&g_BackBuffer, 0);
        return Screen().At(x, y) & 0xFFFFFF;
    }

    cChara m_Chara;
};

}  // namespace

TEST_F(BackgroundCommandDraw, HidingOneAreasBackgroundAndShowingAnothersSwapsThePicture)
{
    EXPECT_EQ(DrawnAt(0, 0), kFirstAreaRgb);
    Change(1, 1);
    Change(2, 0);
    EXPECT_EQ(DrawnAt(0, 0), kSecondAreaRgb);
    EXPECT_EQ(DrawnAt(639, 479), kSecondAreaRgb);
    // Toggling both brings the first area's picture back.
    Change(1, 2);
    Change(2, 2);
    EXPECT_EQ(DrawnAt(320, 240), kFirstAreaRgb);
}
