// Messages without drawing: the escapes of their texts, where they stand on the screen, and
// how long they stay. Sizes are set by hand (a timer message measures nothing), so no font is
// needed.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "data/save_data.h"
#include "flow/status_values.h"
#include "objects/message.h"
#include "play/message_list.h"
#include "play/play_scene.h"
#include "tests/stage/stage_fixture.h"

namespace {

// The stage with its camera at (320, 320) and player 1, and the variables the escapes read.
class MessageStage : public ::testing::Test {
protected:
    MessageStage()
    {
        m_Stage.SetUpCamera();
        Scene().m_ScrollX.m_dPos = 320;
        Scene().m_ScrollY.m_dPos = 320;
        Scene().m_StageVars.assign(kStageVars, 0);
        g_SaveData.m_Variables.assign(kCommonVariables, 0);
        cHero& hero = m_Stage.AddPlayerOne();
        hero.m_dX = 400;
        hero.m_dY = 500;
        hero.m_nDrawOffsetX = 2;
        hero.m_nDrawOffsetY = 3;
        hero.m_nDrawWidth = 32;
        hero.m_nDrawHeight = 48;
    }
    cPlayScene& Scene() { return m_Stage.Scene(); }

    // A timer message of 40 x 20 placed by `setup`.
    static cMessage Box(MESSAGESETUP setup)
    {
        setup.nKind = kMessageTimer;
        cMessage message(setup);
        message.m_nWidth = 40;
        message.m_nHeight = 20;
        return message;
    }

    qbtest::cStageFixture m_Stage{40, 20};
};

std::string Expanded(const char* text)
{
    std::string s = text;
    ExpandMessageVariables(s);
    return s;
}

}  // namespace

TEST_F(MessageStage, EscapesExpandToTheVariablesValues)
{
    g_SaveData.m_Variables[5] = 42;
    g_SaveData.m_Variables[1] = 3;
    g_SaveData.m_Variables[7] = -7;
    g_SaveData.m_Variables[8] = INT_MIN;
    g_SaveData.m_Variables[9] = INT_MAX;
    Scene().m_StageVars[12] = 6;
    Scene().m_StageVars[3] = 99;
    struct Case { const char* text; const char* shown; } cases[] = {
        {"#C5.", "42"},
        {"#C5_4.", "  42"},
        {"#C5_4Z.", "0042"},
        {"#C5_4ZP.", "+0042"},
        {"#C7_3.", "-  7"},
        {"#C7_3Z.", "-007"},
        {"#c5.", "42"},
        {"a#S12", "a6"},                  // the end of the text ends the escape
        {"#S12.b", "6b"},                 // the dot belongs to the escape
        {"#S12a", "6a"},
        {"#S12..", "6."},
        {"#12.", "#12."},                 // no selector
        {"#C0.", "#C0."},
        {"#C256.", "#C256."},
        {"#C.", "#C."},                   // no number
        {"#C1_9.", "        3"},
        {"#C1_12.", " 3"},                // the last width digit counts
        {"#C5_1.", "42"},                 // a width below the digits' count shows them all
        {"#SC5.", "42"},                  // common wins over stage
        {"#C3s5.", "0"},                  // digits run on across selectors: common variable 35
        {"#C5_4C", "  42C"},              // after "_" a selector ends the escape
        {"#C5#S12", "426"},
        {"#C8.", "-2147483648"},
        {"#C8_P.", "-2147483648"},
        {"#C9_P.", "+2147483647"},
        {"#C4294967301.", "42"},          // the number wraps as a 32-bit word: 5
        {"x\x82#C5.", "x\x82" "42"},      // a lead byte before "#" is a byte of its own
        {"\x82\xA0#C5.", "\x82\xA0" "42"},
    };
    for (const auto& c : cases) EXPECT_EQ(Expanded(c.text), c.shown) << c.text;
}

TEST_F(MessageStage, AStageVariableBeyondTheTableReadsAsTheExpressionsDo)
{
    Scene().m_StageVars[0] = 77;
    const int* code = VariableField(1, 255);
    ASSERT_NE(code, nullptr);
    EXPECT_EQ(Expanded("#S255."), std::to_string(*code));
    EXPECT_EQ(Expanded("#S255."), "77") << "the checked access hands out the first variable";
}

TEST_F(MessageStage, APositionFollowsItsModeItsPinningAndItsClamp)
{
    const int serial = qbtest::cStageFixture::kPlayerOneSerial;
    struct Case {
        const char* what;
        MESSAGESETUP setup;
        int x0, y0;  // camera at (320, 320)
        int x1, y1;  // camera moved to (352.5, 336)
    } cases[] = {
        {"centre, fixed", {.nPosMode = 0, .bFixed = 1}, 300, 230, 300, 230},
        {"centre, moving", {.nPosMode = 0}, 300, 230, 268, 214},
        {"centre, offset", {.nPosMode = 0, .nOffsetX = 10, .nOffsetY = -5, .bFixed = 1}, 310, 225, 310, 225},
        {"screen cells, fixed", {.nPosMode = 7, .nCellX = 2, .nCellY = 3, .nOffsetX = 5, .nOffsetY = 6, .bFixed = 1},
         69, 102, 69, 102},
        {"screen cells, moving", {.nPosMode = 7, .nCellX = 2, .nCellY = 3, .nOffsetX = 5, .nOffsetY = 6}, 69, 102, 37, 86},
        {"stage blocks", {.nPosMode = 8, .nCellX = 12, .nCellY = 11, .nOffsetX = 4}, 388, 352, 355, 336},
        {"stage blocks, pinned", {.nPosMode = 8, .nCellX = 12, .nCellY = 11, .nOffsetX = 4, .bFixed = 1},
         388, 352, 388, 352},
        {"above the hero", {.nPosMode = 4, .nCharaSerial = serial}, 74, 157, 42, 141},
        {"above the hero, pinned", {.nPosMode = 4, .bFixed = 1, .nCharaSerial = serial}, 74, 157, 74, 157},
        {"above the own chara", {.nPosMode = 1, .nCharaSerial = serial}, 74, 157, 42, 141},
        {"below the hero", {.nPosMode = 5, .nCharaSerial = serial}, 74, 226, 42, 210},
        {"on the hero", {.nPosMode = 6, .nCharaSerial = serial}, 74, 191, 42, 175},
        {"clamped left and top", {.nPosMode = 7, .nOffsetX = -5, .nOffsetY = 3, .bClamp = 1, .bFixed = 1}, 0, 20, 0, 20},
        {"clamped right and bottom", {.nPosMode = 7, .nOffsetX = 610, .nOffsetY = 470, .bClamp = 1, .bFixed = 1},
         600, 460, 600, 460},
        {"at the right edge", {.nPosMode = 7, .nOffsetX = 599, .nOffsetY = 459, .bClamp = 1, .bFixed = 1},
         600, 460, 600, 460},
        {"just inside", {.nPosMode = 7, .nOffsetX = 598, .nOffsetY = 458, .bClamp = 1, .bFixed = 1}, 598, 458, 598, 458},
        {"centre kept 20 below the top", {.nPosMode = 0, .nOffsetY = -240, .bClamp = 1, .bFixed = 1}, 300, 20, 300, 20},
        {"moving, clamped after the move", {.nPosMode = 7, .nOffsetY = 25, .bClamp = 1}, 0, 25, 0, 20},
        {"unknown mode", {.nPosMode = 9}, 0, 0, 0, 0},
        {"unknown mode, clamped", {.nPosMode = 9, .bClamp = 1}, 0, 20, 0, 20},
    };
    for (const auto& c : cases) {
        Scene().m_ScrollX.m_dPos = 320;
        Scene().m_ScrollY.m_dPos = 320;
        cMessage message = Box(c.setup);
        int x = -1, y = -1;
        ASSERT_TRUE(message.Locate(x, y)) << c.what;
        EXPECT_EQ(x, c.x0) << c.what;
        EXPECT_EQ(y, c.y0) << c.what;
        Scene().m_ScrollX.m_dPos = 352.5;
        Scene().m_ScrollY.m_dPos = 336;
        ASSERT_TRUE(message.Locate(x, y)) << c.what;
        EXPECT_EQ(x, c.x1) << c.what << " after the camera moved";
        EXPECT_EQ(y, c.y1) << c.what << " after the camera moved";
    }
}

TEST_F(MessageStage, EveryKindEndsWhenTheCharaItFollowsHasGone)
{
    for (int kind : {kMessageTimer, kMessageItem, kMessageExtraLife}) {
        cMessage message(MESSAGESETUP{.nKind = kind, .nPosMode = 4, .nCharaSerial = 4242});
        EXPECT_EQ(message.Update(nullptr, 0), 1) << "kind " << kind;
    }
    cMessage following(MESSAGESETUP{.nKind = kMessageTimer, .nPosMode = 4,
                                    .nCharaSerial = qbtest::cStageFixture::kPlayerOneSerial});
    EXPECT_EQ(following.Update(nullptr, 0), 0);
}

TEST_F(MessageStage, ATimedMessageCountsItsFramesByThePauseRules)
{
    struct Case { int whilePaused; int paused; int updatesShown; } cases[] = {
        {0, 0, 3}, {1, 0, 3}, {1, 1, 3},
        {0, 1, -1},  // paused, its timer stopped: it stays
    };
    for (const auto& c : cases) {
        cMessage message(MESSAGESETUP{.nKind = kMessageTimer, .nDisplayMode = 2, .nFrames = 3,
                                      .bTimerWhilePaused = c.whilePaused});
        int shown = 0;
        while (shown < 50 && message.Update(nullptr, c.paused) == 0) ++shown;
        EXPECT_EQ(shown, c.updatesShown < 0 ? 50 : c.updatesShown) << c.whilePaused << " " << c.paused;
    }
    for (int mode : {0, 1}) {
        cMessage untimed(MESSAGESETUP{.nKind = kMessageTimer, .nDisplayMode = mode, .nFrames = 0});
        for (int i = 0; i < 5; ++i) EXPECT_EQ(untimed.Update(nullptr, 0), 0) << "display mode " << mode;
    }
}

TEST_F(MessageStage, SettingUpStoresEveryValueAndGrowsInOnlyAKeyWaitMessage)
{
    const MESSAGESETUP setup{.nKind = kMessageItem, .nIconKind = 2, .nIconIndex = 7, .nIconFrame = 3, .nPosMode = 4,
                             .nCellX = 1, .nCellY = 2, .nOffsetX = 3, .nOffsetY = 4, .bClamp = 1, .bFixed = 1,
                             .nDisplayMode = 2, .nFrames = 30, .bTimerWhilePaused = 1, .nCharaSerial = 9,
                             .bRefresh = 1, .nRefreshInterval = 6, .bHasId = 1, .nId = 8};
    const cMessage m(setup);
    EXPECT_EQ((std::vector<int>{m.m_nKind, m.m_nIconKind, m.m_nIconIndex, m.m_nIconFrame, m.m_nPosMode, m.m_nCellX,
                                m.m_nCellY, m.m_nOffsetX, m.m_nOffsetY, m.m_bClamp, m.m_bFixed, m.m_nDisplayMode,
                                m.m_nFramesLeft, m.m_bTimerWhilePaused, m.m_nCharaSerial, m.m_bRefresh,
                                m.m_nRefreshInterval, m.m_bHasId, m.m_nId, m.m_nWidth, m.m_nHeight, m.m_bLatched}),
              (std::vector<int>{2, 2, 7, 3, 4, 1, 2, 3, 4, 1, 1, 2, 30, 1, 9, 1, 6, 1, 8, 16, 16, 0}));
    EXPECT_EQ(m.m_lpSurface, nullptr);

    const cMessage blank;
    EXPECT_EQ((std::vector<int>{blank.m_nKind, blank.m_nWidth, blank.m_nHeight, blank.m_bHasId, blank.m_nFramesLeft,
                                blank.m_bGrowIn, blank.m_bLatched}),
              (std::vector<int>(7, 0)));
    EXPECT_EQ(blank.m_lpSurface, nullptr);

    struct Case { int displayMode, noGrowIn, growIn; } cases[] = {{0, 0, 1}, {0, 1, 0}, {1, 0, 0}, {2, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(cMessage(MESSAGESETUP{.nDisplayMode = c.displayMode, .bNoGrowIn = c.noGrowIn}).m_bGrowIn, c.growIn)
            << c.displayMode << " " << c.noGrowIn;
}

TEST_F(MessageStage, OnlyAMessagePlacedWithAnIdIsFoundByIt)
{
    const cMessage icon(MESSAGESETUP{.nKind = kMessageItem});
    const cMessage withId0(MESSAGESETUP{.bHasId = 1, .nId = 0});
    EXPECT_FALSE(icon.HasId(0));
    EXPECT_TRUE(withId0.HasId(0));
    EXPECT_FALSE(withId0.HasId(1));
}

TEST_F(MessageStage, TheListErasesEndedMessagesButNotTheOneACommandHolds)
{
    cMessageList& list = Scene().m_MessageList;
    const MESSAGESETUP ending{.nKind = kMessageTimer, .nDisplayMode = 2, .nFrames = 0};
    const MESSAGESETUP staying{.nKind = kMessageTimer, .nDisplayMode = 1};
    list.m_Messages.emplace_back(ending);
    list.m_Messages.emplace_back(staying);
    list.m_Messages.emplace_back(ending);
    list.m_lpHeld = &list.m_Messages.back();
    list.Draw(nullptr, 0);
    list.Draw(nullptr, 0);
    ASSERT_EQ(list.m_Messages.size(), 2u);
    EXPECT_EQ(list.m_Messages.front().m_nDisplayMode, 1);
    EXPECT_EQ(&list.m_Messages.back(), list.m_lpHeld);
    list.Clear();
    EXPECT_EQ(list.m_lpHeld, nullptr);
}

TEST_F(MessageStage, TheItemPickupShowsTheItemsIconAboveTheHeroForHalfASecond)
{
    cHero& hero = qbtest::cStageFixture::PlayerOne();
    hero.ShowItemMessage(2, 14, 3);
    ASSERT_EQ(Scene().m_MessageList.m_Messages.size(), 1u);
    const cMessage& m = Scene().m_MessageList.m_Messages.front();
    EXPECT_EQ((std::vector<int>{m.m_nKind, m.m_nIconKind, m.m_nIconIndex, m.m_nIconFrame, m.m_nPosMode, m.m_bFixed,
                                m.m_nDisplayMode, m.m_nFramesLeft, m.m_bTimerWhilePaused, m.m_nCharaSerial, m.m_bHasId,
                                m.m_bGrowIn}),
              (std::vector<int>{kMessageItem, 2, 14, 3, 4, 1, 2, 30, 0, hero.m_nSerial, 0, 0}));
}
