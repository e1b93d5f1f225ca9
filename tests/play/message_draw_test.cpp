// Text messages on a real back buffer: their surfaces in Off_Msg, the text where the message
// stands, the grow-in window, and a surface re-made only when a refresh changes the size. The
// fonts draw glyphs that show their own code, on a pitch of 16, so a text of n half-width
// characters measures 16n + 2 by 18.
#include "tests/graphics/font_test_support.h"

#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "graphics/fill.h"
#include "graphics/font.h"
#include "graphics/stage_picture_surfaces.h"
#include "graphics/standard_surfaces.h"
#include "objects/message.h"
#include "play/play_scene.h"
#include "tests/stage/stage_fixture.h"

namespace {

using qbtest::cImage;

class MessageDraw : public qbtest::cFontTest {
protected:
    void SetUp() override
    {
        qbtest::cFontTest::SetUp();
        ASSERT_TRUE(Init({TRUE, 32, 1}));
        DDSetTransmit(255, 0, 255);
        ASSERT_TRUE(DDCreateSurface(&m_Window, 640, 480, FALSE, 0, 0, nullptr, FALSE));
        DDFillSurfacePal(&m_Window, kBackground);
        ASSERT_TRUE(g_Font[1].Create("ＭＳ ゴシック", 0, 16, 16, 16, kInk, &m_Window, 2, kBackground, nullptr, TRUE));
        m_Stage.emplace(40, 20);
        m_Stage->SetUpCamera();
        Scene().m_ScrollX.m_dPos = 320;
        Scene().m_ScrollY.m_dPos = 320;
        Scene().m_StageVars.assign(kStageVars, 0);
    }
    void TearDown() override
    {
        Scene().m_MessageList.Clear();
        Scene().m_MessageList.ClearMessageSurfaces();
        m_Stage.reset();
        g_Font[1].Release();
        DDReleaseSurface(&m_Window);
        qbtest::cFontTest::TearDown();
    }
    cPlayScene& Scene() { return m_Stage->Scene(); }
    cMessage& Place(const MESSAGESETUP& setup) { return Scene().m_MessageList.m_Messages.emplace_back(setup); }
    // One frame of the messages over a cleared screen; the screen after it.
    cImage Frame(int paused = 0)
    {
        DDFillSurfacePal(&g_BackBuffer, kBackground);
        Scene().m_MessageList.Draw(&g_BackBuffer, paused);
        return qbtest::ReadImage(&g_BackBuffer);
    }
    // Where the glyph of `code` shows, if anywhere.
    static std::optional<std::pair<int, int>> Find(const cImage& image, unsigned code)
    {
        const std::uint32_t background = image.At(639, 479);
        for (int y = 0; y < image.h; ++y)
            for (int x = 0; x < image.w; ++x)
                if (qbtest::CodeAt(image, x, y, background) == code) return std::make_pair(x, y);
        return std::nullopt;
    }

    DDSURFACEDATA m_Window{};
    std::optional<qbtest::cStageFixture> m_Stage;
};

}  // namespace

TEST_F(MessageDraw, ATextMessageShowsItsTextInsideItsBox)
{
    const cMessage& message = Place({.nKind = kMessageText, .lpText = "AB", .nDisplayMode = 1});
    EXPECT_EQ(message.m_nWidth, 34);
    EXPECT_EQ(message.m_nHeight, 18);
    ASSERT_EQ(Off_Msg.size(), 1u);
    EXPECT_EQ(message.m_lpSurface, &Off_Msg.front());
    EXPECT_EQ(message.m_lpSurfaceInfo, &Off_MsgInfo.front());
    const auto at = Find(Frame(), 'A');
    ASSERT_TRUE(at);
    // The box of 34 x 18 is centred: (303, 231).
    EXPECT_GE(at->first, 304);
    EXPECT_LT(at->first, 303 + 17);
    EXPECT_GE(at->second, 232);
    EXPECT_LT(at->second, 231 + 18);
}

TEST_F(MessageDraw, AKeyWaitMessageOpensItsWindowForNineFramesBeforeItsText)
{
    Place({.nKind = kMessageText, .lpText = "A", .nDisplayMode = 0});
    for (int frame = 1; frame <= 9; ++frame) EXPECT_FALSE(Find(Frame(frame % 2), 'A')) << "frame " << frame;
    EXPECT_TRUE(Find(Frame(1), 'A')) << "the tenth frame, paused or not";
}

TEST_F(MessageDraw, ARefreshMakesANewSurfaceOnlyWhenTheTextsSizeChanges)
{
    Scene().m_StageVars[1] = 9;
    cMessage& message = Place({.nKind = kMessageText, .lpText = "#S1.", .nDisplayMode = 1, .bExpand = 1,
                               .bRefresh = 1, .nRefreshInterval = 1});
    EXPECT_EQ(message.m_strText, "9");
    EXPECT_EQ(message.m_nWidth, 18);
    std::strcpy(message.m_lpSurface->szSurfaceType, "nine");

    Scene().m_StageVars[1] = 10;
    Frame();
    EXPECT_EQ(message.m_strText, "10");
    EXPECT_EQ(message.m_nWidth, 34);
    ASSERT_EQ(Off_Msg.size(), 1u) << "the narrow surface went";
    ASSERT_EQ(message.m_lpSurface, &Off_Msg.front());
    EXPECT_STRNE(message.m_lpSurface->szSurfaceType, "nine");
    EXPECT_EQ(message.m_lpSurface->nWidth, 34);
    std::strcpy(message.m_lpSurface->szSurfaceType, "ten");

    Scene().m_StageVars[1] = 11;
    const cImage screen = Frame();
    EXPECT_EQ(message.m_strText, "11");
    ASSERT_EQ(Off_Msg.size(), 1u);
    ASSERT_EQ(message.m_lpSurface, &Off_Msg.front());
    EXPECT_STREQ(message.m_lpSurface->szSurfaceType, "ten") << "the same size keeps the surface";
    EXPECT_TRUE(Find(screen, '1'));
    EXPECT_FALSE(Find(screen, '0')) << "the text was drawn again";
}

TEST_F(MessageDraw, ARefreshWaitsForItsIntervalAndNeedsTheExpansion)
{
    struct Case { int expand, interval, frame; bool refreshed; } cases[] = {
        {1, 3, 6, true}, {1, 3, 7, false}, {0, 3, 6, false}, {1, 0, 6, false},
    };
    for (const auto& c : cases) {
        Scene().m_StageVars[1] = 9;
        cMessage& message = Place({.nKind = kMessageText, .lpText = "#S1.", .nDisplayMode = 1, .bExpand = c.expand,
                                   .bRefresh = 1, .nRefreshInterval = c.interval});
        const std::string before = message.m_strText;
        Scene().m_StageVars[1] = 7;
        Scene().m_nFrame = c.frame;
        Frame();
        EXPECT_EQ(message.m_strText != before, c.refreshed) << c.expand << " " << c.interval << " " << c.frame;
        Scene().m_MessageList.Clear();
    }
}

TEST_F(MessageDraw, ALostSurfaceIsDrawnAgainBeforeItIsShown)
{
    cMessage& message = Place({.nKind = kMessageText, .lpText = "A", .nDisplayMode = 1});
    DDFillSurfacePal(message.m_lpSurface, 0);
    message.m_lpSurface->bLost = TRUE;
    EXPECT_TRUE(Find(Frame(), 'A'));
    EXPECT_FALSE(message.m_lpSurface->bLost);
}

TEST_F(MessageDraw, AnEndedMessageGivesBackItsSurface)
{
    Place({.nKind = kMessageText, .lpText = "A", .nDisplayMode = 2, .nFrames = 1});
    Place({.nKind = kMessageText, .lpText = "B", .nDisplayMode = 1});
    ASSERT_EQ(Off_Msg.size(), 2u);
    Frame();
    Frame();
    ASSERT_EQ(Scene().m_MessageList.m_Messages.size(), 1u);
    ASSERT_EQ(Off_Msg.size(), 1u);
    EXPECT_EQ(Scene().m_MessageList.m_Messages.front().m_lpSurface, &Off_Msg.front());
    EXPECT_EQ(Off_MsgInfo.size(), 1u);
}

TEST_F(MessageDraw, AfterTheSurfacesAreReleasedAMessageShowsNothing)
{
    cMessage& message = Place({.nKind = kMessageText, .lpText = "A", .nDisplayMode = 1, .bExpand = 1, .bRefresh = 1,
                               .nRefreshInterval = 1});
    Scene().m_MessageList.ClearMessageSurfaces();
    EXPECT_TRUE(Off_Msg.empty());
    EXPECT_TRUE(Off_MsgInfo.empty());
    EXPECT_EQ(message.m_lpSurface, nullptr);
    EXPECT_FALSE(Find(Frame(), 'A'));
    EXPECT_EQ(message.m_lpSurface, nullptr);
}

TEST_F(MessageDraw, AMessageWhoseSurfaceCannotBeMadeKeepsNoneAndShowsNothing)
{
    plat::FailDeviceCall("IDirect3DDevice9::CreateTexture", 100);
    cMessage& message = Place({.nKind = kMessageText, .lpText = "A", .nDisplayMode = 1});
    plat::ClearDeviceFaults();
    EXPECT_EQ(message.m_lpSurface, nullptr);
    EXPECT_TRUE(Off_Msg.empty()) << "no empty record is left behind";
    EXPECT_TRUE(Off_MsgInfo.empty());
    EXPECT_FALSE(Find(Frame(), 'A'));
    Place({.nKind = kMessageText, .lpText = "B", .nDisplayMode = 1});
    EXPECT_TRUE(Find(Frame(), 'B')) << "the next message has its surface";
}

TEST_F(MessageDraw, ASetUpReleasesEveryMessageSurface)
{
    Place({.nKind = kMessageText, .lpText = "A", .nDisplayMode = 1});
    m_Stage->Commit();
    Scene().SetStage(0, 1);
    EXPECT_TRUE(Scene().m_MessageList.m_Messages.empty());
    EXPECT_TRUE(Off_Msg.empty());
    EXPECT_TRUE(Off_MsgInfo.empty());
}

TEST_F(MessageDraw, TheExtraLifeIconRisesAPixelEveryFourFramesAboveTheHero)
{
    DDSURFACEDATA* accessory = &g_StdSurface[kAccessoryPicture];
    ASSERT_TRUE(DDCreateSurface(accessory, 128, 176, TRUE, 0, 0, nullptr, FALSE));
    DDFillSurfacePal(accessory, 0);
    DDFillRectPal(accessory, 0, 48, 16, 16, kInk);
    cHero& hero = m_Stage->AddPlayerOne();
    hero.m_dX = 400;
    hero.m_dY = 500;
    hero.m_nDrawWidth = 32;
    hero.m_nDrawHeight = 32;
    Place({.nKind = kMessageExtraLife, .nPosMode = 4, .bFixed = 1, .nDisplayMode = 2, .nFrames = 30,
           .bTimerWhilePaused = 1, .nCharaSerial = hero.m_nSerial});
    // Above the hero, centred on it: (80 + 16 - 8, 180 - 16).
    std::vector<std::pair<int, int>> tops;
    for (int frame = 1; frame <= 30; ++frame) {
        const cImage screen = Frame(1);
        if (frame != 1 && frame != 4 && frame != 8 && frame != 30) continue;
        // The first pixel, row by row, that is not the cleared screen's.
        const std::uint32_t background = screen.At(639, 479) & 0xFFFFFFu;
        std::pair<int, int> top{-1, -1};
        for (int y = 0; y < 480 && top.first < 0; ++y)
            for (int x = 0; x < 640; ++x)
                if ((screen.At(x, y) & 0xFFFFFFu) != background) {
                    top = {x, y};
                    break;
                }
        tops.push_back(top);
    }
    EXPECT_EQ(tops, (std::vector<std::pair<int, int>>{{88, 164}, {88, 163}, {88, 162}, {88, 157}}));
    Frame(1);
    EXPECT_TRUE(Scene().m_MessageList.m_Messages.empty()) << "its 30 frames are over";
    DDReleaseSurface(accessory);
    ClearSurfaceData(accessory);
}

namespace {

class MessageMeasure : public qbtest::cFontTest {};

}  // namespace

TEST_F(MessageMeasure, UnderDirectDrawALineHeightCountsForEveryLineAndTheWidestLineWithTextForTheWidth)
{
    ASSERT_TRUE(Init({FALSE, 16, 1}));
    DDSURFACEDATA window{};
    ASSERT_TRUE(DDCreateSurface(&window, 64, 64, FALSE, 0, 0, nullptr, FALSE));
    // A font without a pitch measures by its typeface: half-width glyphs advance 8.
    ASSERT_TRUE(g_Font[1].Create("ＭＳ ゴシック", 0, 16, 0, 0, kInk, &window, 2, kBackground, nullptr, FALSE));
    int lineWidth = 0, lineHeight = 0;
    MeasureMessageText(&lineWidth, &lineHeight, "A");
    struct Case { const char* text; int width; int lines; } cases[] = {
        {"AB", 16, 1}, {"AB\n\nC", 16, 3}, {"A\nABC", 24, 2}, {"", 0, 1}, {"ABCD\n", 32, 2},
    };
    for (const auto& c : cases) {
        int width = 0, height = 0;
        MeasureMessageText(&width, &height, c.text);
        EXPECT_EQ(width, c.width + 2) << c.text;
        EXPECT_EQ(height, c.lines * (lineHeight - 2) + 2) << c.text;
    }
    EXPECT_EQ(lineWidth, 8 + 2);
    EXPECT_GT(lineHeight, 2);
    g_Font[1].Release();
    DDReleaseSurface(&window);
}
