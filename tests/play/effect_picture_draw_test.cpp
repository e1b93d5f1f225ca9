// Effect instances and pictures drawn over the stage: where they land on the screen, when
// they animate or count down, when they end, and that a bad id draws nothing.
#include <gtest/gtest.h>

#include <vector>

#include "data/database.h"
#include "data/database_tables.h"
#include "graphics/stage_picture_surfaces.h"
#include "graphics/surface.h"
#include "objects/database_working_tables.h"
#include "objects/effect_instance.h"
#include "objects/picture.h"
#include "platform/os/messages.h"
#include "tests/play/chara_draw_fixture.h"
#include "tests/play/stage_draw_fixture.h"
#include "tests/support/bmp_builder.h"
#include "tests/support/restore.h"

namespace {

using qbtest::BoxOf;
using qbtest::PIXELBOX;

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kRgb = 0xFFFFFF;

// Effect 1 (and entry 0, which bad ids fall back to): two 16 x 16 frames, red then green, of a
// tenth of a second each, from "fx.bmp"; "pic.bmp" a blue 100 x 60 picture.
class EffectPictureDraw : public qbtest::cStageDrawTest {
protected:
    void SetUp() override
    {
        cStageDrawTest::SetUp();
        std::vector<std::uint32_t> frames;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 32; ++x) frames.push_back(x < 16 ? kRed : kGreen);
        Write("fx.bmp", qbtest::BuildBmp24(32, 16, frames));
        g_Database.m_Effects.assign(2, cEffectData{});
        for (cEffectData& entry : g_Database.m_Effects) {
            entry.m_nWidth = entry.m_nHeight = 16;
            entry.m_strFile = "fx.bmp";
            entry.m_Frames.assign(2, cEffectFrameData{});
            entry.m_Frames[1].m_nFrame = 1;
        }
        BuildEffectTables(g_EffectPatterns);
        m_Scene->m_StagePictures.LoadEffectPictures();
        LoadPicture(1, 100, 60, [](int, int) { return kBlue; });
    }
    void TearDown() override
    {
        // A bad id's report asks the program to close: not this test thread's later tests.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE)) {}
        m_Scene->m_StagePictures.ClearPictures();
        DDReleaseSurfaceVector(&g_EffectSurface);
        g_EffectSurface.clear();
        g_EffectSurfaceInfo.clear();
        cStageDrawTest::TearDown();
    }
    void Scroll(double x, double y)
    {
        m_Scene->m_ScrollX.m_dPos = x;
        m_Scene->m_ScrollY.m_dPos = y;
    }
    // The screen box of `colour` after one draw of the effect onto a black screen.
    PIXELBOX DrawEffect(cEffectInstance& effect, int paused, std::uint32_t colour, int* ended = nullptr)
    {
        ClearScreen(kBlack);
        const int result = effect.Draw(&g_BackBuffer, paused);
        if (ended) *ended = result;
        return BoxOf(Screen(), colour, kRgb);
    }
    PIXELBOX DrawPicture(cPicture& picture)
    {
        ClearScreen(kBlack);
        picture.Draw(&g_BackBuffer, &g_StdSurface[1], 0);
        return BoxOf(Screen(), kBlue, kRgb);
    }
    // A picture of pic.bmp shown through the stage's lists, as the picture command shows it.
    void Show(const cPicture& picture)
    {
        ASSERT_NE(m_Scene->m_StagePictures.LoadPictureSurface(-1, "picture1.bmp", 0), nullptr);
        m_Scene->m_StagePictures.InsertPicture(-1, picture);
    }

    qbtest::cRestore<cDatabase> m_Database{g_Database};
    qbtest::cRestore<cSafeVector<cSafeVector<ANIMEFRAME>>> m_Patterns{g_EffectPatterns};
};

TEST_F(EffectPictureDraw, AnEffectTruncatesAfterTheScrollAndAPictureBefore)
{
    struct Case { double scroll, x; int effect, picture; } cases[] = {
        {320.5, 330.2, 9, 10},   // (int)9.7 against 330 - 320
        {320.0, 330.7, 10, 10},
        {320.7, 330.2, 9, 10},
        {320.2, 330.5, 10, 10},
        {300.9, 330.0, 29, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        Scroll(c.scroll, c.scroll);
        cEffectInstance effect(EFFECTPLACEMENT{1, c.x, c.x + 100, 16, 16, 0});
        EXPECT_EQ(DrawEffect(effect, 1, kRed), (PIXELBOX{c.effect, c.effect + 100, 16, 16}));
        cPicture picture;
        picture.Init(1, c.x, c.x + 100, 100, 60, 0, 0, 100, 0, 0, 0, 0, 0);
        EXPECT_EQ(DrawPicture(picture), (PIXELBOX{c.picture, c.picture + 100, 100, 60}));
    }
}

TEST_F(EffectPictureDraw, APausedStageFreezesEffectsThatDoNotAnimateWhilePaused)
{
    // Frames of a tenth are 6 ticks: the first tick stays on frame 0, the sixth moves on.
    struct Case { int paused, animatePaused; std::vector<char> frames; } cases[] = {
        {0, 0, {'r', 'r', 'r', 'r', 'r', 'g', 'g', 'g', 'g', 'g', 'g', 'e'}},
        {1, 1, {'r', 'r', 'r', 'r', 'r', 'g', 'g', 'g', 'g', 'g', 'g', 'e'}},
        {1, 0, std::vector<char>(30, 'r')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "paused " << c.paused << ", animates " << c.animatePaused);
        cEffectInstance effect(EFFECTPLACEMENT{1, 400, 400, 16, 16, c.animatePaused});
        std::vector<char> frames;
        for (std::size_t i = 0; i < c.frames.size(); ++i) {
            int ended = 0;
            const bool red = DrawEffect(effect, c.paused, kRed, &ended).w > 0;
            const bool green = BoxOf(Screen(), kGreen, kRgb).w > 0;
            frames.push_back(ended ? 'e' : red ? 'r' : green ? 'g' : '-');
        }
        EXPECT_EQ(frames, c.frames);
    }
}

TEST_F(EffectPictureDraw, TheEffectListRemovesAnEffectOnceItsAnimationHasEnded)
{
    cEffectList& list = m_Scene->m_EffectList;
    list.m_Effects.emplace_back(EFFECTPLACEMENT{1, 400, 400, 16, 16, 0});
    list.m_Effects.emplace_back(EFFECTPLACEMENT{1, 500, 400, 32, 32, 0});
    for (int frame = 1; frame <= 11; ++frame) list.Draw(&g_BackBuffer, 0);
    EXPECT_EQ(list.m_Effects.size(), 2u);
    list.Draw(&g_BackBuffer, 0);
    EXPECT_TRUE(list.m_Effects.empty());
    // An entry without frames goes on its first draw, drawing nothing.
    g_Database.m_Effects[1].m_Frames.clear();
    list.m_Effects.emplace_back(EFFECTPLACEMENT{1, 400, 400, 16, 16, 0});
    ClearScreen(kBlack);
    list.Draw(&g_BackBuffer, 0);
    EXPECT_TRUE(list.m_Effects.empty());
    EXPECT_EQ(BoxOf(Screen(), kRed, kRgb), PIXELBOX{});
}

TEST_F(EffectPictureDraw, AScaledEffectStretchesItsFrame)
{
    cEffectInstance effect(EFFECTPLACEMENT{1, 400, 400, 32, 24, 0});
    ASSERT_EQ(effect.m_bScaled, 1);
    EXPECT_EQ(DrawEffect(effect, 1, kRed), (PIXELBOX{80, 80, 32, 24}));
}

TEST_F(EffectPictureDraw, AnEffectWhoseIdHasNoSurfaceDrawsNothing)
{
    // A bad id falls back to entry 0 for its frames but keeps its own number, whose surfaces
    // (2 id - 2 and 2 id - 1) lie outside the list; 32768 reads as -32768.
    for (int id : {7, 0, -3, 32768}) {
        SCOPED_TRACE(id);
        for (int width : {16, 32}) {
            cEffectInstance effect(EFFECTPLACEMENT{id, 400, 400, width, 16, 0});
            int ended = 1;
            EXPECT_EQ(DrawEffect(effect, 0, kRed, &ended), PIXELBOX{});
            EXPECT_EQ(BoxOf(Screen(), kGreen, kRgb), PIXELBOX{});
            EXPECT_EQ(ended, 0);
        }
    }
}

TEST_F(EffectPictureDraw, AScreenFixedPictureKeepsThePlaceOfItsFirstDraw)
{
    Scroll(320, 320);
    cPicture fixed;
    fixed.Init(1, 400.0, 350.0, 100, 60, 1, 0, 100, 0, 0, 0, 0, 0);
    cPicture moving;
    moving.Init(1, 400.0, 350.0, 100, 60, 0, 0, 100, 0, 0, 0, 0, 0);
    Scroll(340.5, 330);
    EXPECT_EQ(DrawPicture(fixed), (PIXELBOX{60, 20, 100, 60})) << "the first draw latches";
    Scroll(360, 300);
    EXPECT_EQ(DrawPicture(fixed), (PIXELBOX{60, 20, 100, 60}));
    EXPECT_EQ(DrawPicture(moving), (PIXELBOX{40, 50, 100, 60}));
}

TEST_F(EffectPictureDraw, AZoomedPictureIsStretchedOverItsSize)
{
    cPicture picture;
    picture.Init(1, 330, 330, 50, 30, 0, 0, 50, 0, 0, 0, 0, 0);
    EXPECT_EQ(DrawPicture(picture), (PIXELBOX{10, 10, 50, 30}));
}

TEST_F(EffectPictureDraw, ATimedPictureCountsDownBeforeDrawingAndEndsWithoutDrawing)
{
    // 3 tenths are 18 frames: 18 draws, then the 19th call ends it and lets its surface go.
    struct Case { int paused, timerRunsWhilePaused, draws, calls; } cases[] = {
        {0, 0, 18, 19},
        {1, 1, 18, 19},
        {1, 0, 30, 30},   // the timer stops in the pause: still shown
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "paused " << c.paused << ", runs " << c.timerRunsWhilePaused);
        cPicture picture;
        picture.Init(1, 330, 330, 100, 60, 0, 1, 100, 2, 18, c.timerRunsWhilePaused, 0, 0);
        Show(picture);
        cStagePictures& pictures = m_Scene->m_StagePictures;
        pictures.Draw(&g_BackBuffer, 0, c.paused);   // another layer counts nothing down
        int draws = 0;
        for (int call = 0; call < c.calls; ++call) {
            ClearScreen(kBlack);
            pictures.Draw(&g_BackBuffer, 1, c.paused);
            draws += BoxOf(Screen(), kBlue, kRgb).w > 0;
        }
        EXPECT_EQ(draws, c.draws);
        const std::size_t left = (c.draws < c.calls) ? 0u : 1u;
        EXPECT_EQ(pictures.m_Pictures.size(), left);
        EXPECT_EQ(g_PictureSurface.size(), left);
        EXPECT_EQ(g_PictureSurfaceInfo.size(), left);
        pictures.ClearPictures();
    }
}

TEST_F(EffectPictureDraw, TheStageDrawsPicturesByLayerAndEffectsOverThem)
{
    cPicture behind;
    behind.Init(1, 330, 330, 100, 60, 0, 0, 100, 0, 0, 0, 0, 0);
    Show(behind);
    m_Scene->m_EffectList.m_Effects.emplace_back(EFFECTPLACEMENT{1, 340, 340, 16, 16, 0});
    m_Scene->DrawStage(1, 1, 0, 0);
    const qbtest::cImage screen = Screen();
    EXPECT_EQ(BoxOf(screen, kRed, kRgb), (PIXELBOX{20, 20, 16, 16}));
    EXPECT_EQ(screen.At(10, 10) & kRgb, kBlue);
    EXPECT_EQ(screen.At(20, 20) & kRgb, kRed) << "the effect lies over the picture";
}

}  // namespace
