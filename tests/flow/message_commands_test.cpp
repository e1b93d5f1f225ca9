// The message and game-wait commands on the message list: what they place, how a message with
// an ID is replaced or removed, and which message leaves the list once a wait is over. Messages
// are measured by a font on a pitch of 16 (a half-width character is 16 wide).
#include "tests/graphics/font_test_support.h"

#include <climits>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "flow/control_commands.h"
#include "graphics/fill.h"
#include "graphics/font.h"
#include "graphics/stage_picture_surfaces.h"
#include "objects/message.h"
#include "tests/flow/flow_fixture.h"

namespace {

class MessageCommands : public qbtest::cFontTest {
protected:
    void SetUp() override
    {
        qbtest::cFontTest::SetUp();
        ASSERT_TRUE(Init({TRUE, 32, 1}));
        DDSetTransmit(255, 0, 255);
        ASSERT_TRUE(DDCreateSurface(&m_Window, 640, 480, FALSE, 0, 0, nullptr, FALSE));
        ASSERT_TRUE(g_Font[1].Create("ＭＳ ゴシック", 0, 16, 16, 16, kInk, &m_Window, 2, kBackground, nullptr, TRUE));
        m_Stage.emplace();
        m_Stage->Chara().m_nSerial = 77;
    }
    void TearDown() override
    {
        Messages().clear();
        m_Stage->Scene().m_MessageList.ClearMessageSurfaces();
        m_Stage.reset();
        g_Font[1].Release();
        DDReleaseSurface(&m_Window);
        qbtest::cFontTest::TearDown();
    }
    std::list<cMessage>& Messages() { return m_Stage->Scene().m_MessageList.m_Messages; }
    // What a command sets up and takes down around its wait, not the wait itself.
    qbtest::cNoModalLoops m_NoLoops;
    // A message command showing `text` until removed, with the ID `id` when it is given.
    static cCommandData Message(const char* text, std::optional<int> id = std::nullopt, bool erase = false)
    {
        cCommandData command = FlowCommand(COMMAND_MESSAGE);
        command.m_strCode = text;
        command.m_Params.At(6) = 1;
        if (id) {
            command.m_Params.At(12) = 1;
            command.m_Params.At(13) = *id;
        }
        command.m_Params.At(15) = erase ? 1 : 0;
        return command;
    }
    void Run(cCommandData command, int chain = 0) { ExecCmdMessage(m_Stage->Chara(), command, chain); }
    std::vector<std::string> Texts()
    {
        std::vector<std::string> texts;
        for (const cMessage& m : Messages()) texts.push_back(m.m_nKind == kMessageText ? m.m_strText : "icon");
        return texts;
    }

    DDSURFACEDATA m_Window{};
    std::optional<FlowStageFixture> m_Stage;
};

}  // namespace

TEST_F(MessageCommands, AMessageTakesItsValuesFromTheCommandsParameters)
{
    cCommandData command = FlowCommand(COMMAND_MESSAGE);
    command.m_strCode = "hi";
    // 0 placement, 1 to 5 cells, offsets and clamp, 6 display mode, 7 time, 9 expansion,
    // 10 fixed, 11 refresh, 12 and 13 the ID, 14 window, 16 refresh interval.
    command.m_Params.assign({7, 11, 12, 13, 14, 1, 2, 5, 0, 1, 1, 1, 1, 9, 1, 0, 4});
    Run(command, 1);
    ASSERT_EQ(Messages().size(), 1u);
    const cMessage& m = Messages().front();
    EXPECT_EQ((std::vector<int>{m.m_nKind, m.m_nPosMode, m.m_nCellX, m.m_nCellY, m.m_nOffsetX, m.m_nOffsetY, m.m_bClamp,
                                m.m_nDisplayMode, m.m_nFramesLeft, m.m_bTimerWhilePaused, m.m_bExpand, m.m_bFixed,
                                m.m_bRefresh, m.m_bHasId, m.m_nId, m.m_bWindow, m.m_nRefreshInterval, m.m_nCharaSerial}),
              (std::vector<int>{kMessageText, 7, 11, 12, 13, 14, 1, 2, 30, 0, 1, 1, 1, 1, 9, 1, 4, 0}));
    EXPECT_EQ(m.m_strText, "hi");
    EXPECT_EQ(m.m_nWidth, 34);
    EXPECT_EQ(m.m_lpSurface, &Off_Msg.front());

    cCommandData endless = Message("x");
    endless.m_Params.At(6) = 2;
    endless.m_Params.At(7) = 0x40000000;
    Run(endless);
    EXPECT_EQ(Messages().back().m_nFramesLeft, INT_MIN) << "tenths times 6 wrap as a 32-bit word";

    struct Case { int chain, displayMode, growIn; } cases[] = {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}};
    for (const auto& c : cases) {
        cCommandData keyWait = Message("x");
        keyWait.m_Params.At(6) = c.displayMode;
        Run(keyWait, c.chain);
        EXPECT_EQ(Messages().back().m_bGrowIn, c.growIn) << c.chain << " " << c.displayMode;
    }
}

TEST_F(MessageCommands, AMessageFollowsItsOwnCharaOrPlayerOne)
{
    const int player = m_Stage->AddPlayerOne().m_nSerial;
    const int serials[] = {0, 77, 77, 77, player, player, player, 0, 0, 0};
    for (int placement = 0; placement < 10; ++placement) {
        cCommandData command = Message("x");
        command.m_Params.At(0) = placement;
        Run(command);
        EXPECT_EQ(Messages().back().m_nCharaSerial, serials[placement]) << "placement " << placement;
    }
}

TEST_F(MessageCommands, AMessageWithTheIdOfOneOfTheSameSizeIsSetUpAgainInItsPlace)
{
    Run(Message("ab", 3));
    Run(Message("x", 5));
    cMessage* first = &Messages().front();
    DDSURFACEDATA* surface = first->m_lpSurface;
    std::strcpy(surface->szSurfaceType, "first");

    Run(Message("cd", 3));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"cd", "x"}));
    EXPECT_EQ(&Messages().front(), first);
    EXPECT_EQ(Messages().front().m_lpSurface, surface);
    EXPECT_STREQ(surface->szSurfaceType, "first");
    EXPECT_EQ(Off_Msg.size(), 2u);

    Run(Message("abc", 3));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"abc", "x"})) << "a new message at the old one's place";
    EXPECT_EQ(Messages().front().m_nWidth, 50);
    ASSERT_EQ(Off_Msg.size(), 2u) << "the old surface went";
    for (const DDSURFACEDATA& record : Off_Msg) EXPECT_STRNE(record.szSurfaceType, "first");

    Run(Message("y", 4));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"abc", "x", "y"})) << "an ID not found appends";
}

TEST_F(MessageCommands, TheDeleteSwitchRemovesOnlyAMessagePlacedWithThatId)
{
    m_Stage->AddPlayerOne().ShowItemMessage(2, 1, 0);
    Run(Message("a", 0));
    Run(Message("b", 6));
    Run(Message("", 0, true));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"icon", "b"}));
    EXPECT_EQ(Off_Msg.size(), 1u);
    Run(Message("", 0, true));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"icon", "b"})) << "ID 0 never names an item icon";
    Run(Message("", std::nullopt, true));
    Run(Message("", 7, true));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"icon", "b"})) << "nothing to delete places nothing";
}

TEST_F(MessageCommands, NothingHappensWhileTheStageIsQuitting)
{
    m_Stage->Scene().m_nQuitRequest = 1;
    Run(Message("a"));
    cCommandData wait = FlowCommand(COMMAND_GAME_WAIT);
    ExecCmdGameWait(m_Stage->Chara(), wait);
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(Off_Msg.empty());
}

TEST_F(MessageCommands, AfterItsWaitAMessageTakesOutTheOneItShowedNotTheLast)
{
    Run(Message("ab", 3));
    Run(Message("x", 5));
    cCommandData timed = Message("cd", 3);
    timed.m_Params.At(6) = 2;  // for a time of 0 tenths, waiting
    timed.m_Params.At(8) = 1;
    Run(timed);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"x"}));
    EXPECT_EQ(Off_Msg.size(), 1u);
    EXPECT_EQ(m_Stage->Scene().m_Wait.nMode, 1);
    EXPECT_EQ(m_Stage->Scene().m_Wait.bKeyWait, 0);
    EXPECT_EQ(m_Stage->Scene().m_MessageList.m_lpHeld, nullptr);

    cCommandData wait = FlowCommand(COMMAND_GAME_WAIT);
    ExecCmdGameWait(m_Stage->Chara(), wait);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"x"})) << "the wait's own timer message went";
    EXPECT_EQ(m_Stage->Scene().m_Wait.nMode, 0);
}
