// The effect, chara-effect and picture commands: what they place and where, the waits they
// set, and the picture list kept in step with its surfaces through replacements, removals and
// a picture that fails to load.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/command_data.h"
#include "data/command_info.h"
#include "data/database.h"
#include "flow/effect_picture_commands.h"
#include "flow/media_commands.h"
#include "graphics/stage_picture_surfaces.h"
#include "objects/database_working_tables.h"
#include "platform/os/message_box.h"
#include "platform/os/messages.h"
#include "platform/video/ddraw.h"
#include "shell/system_ini.h"
#include "shell/game_arithmetic.h"
#include "tests/play/chara_draw_fixture.h"
#include "tests/play/stage_draw_fixture.h"
#include "tests/support/bmp_builder.h"
#include "tests/support/restore.h"

namespace {

// The close requests the thread's queue holds, taken out of it.
int TakeCloseRequests()
{
    MSG msg;
    int count = 0;
    while (PeekMessageA(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE)) ++count;
    return count;
}

// A wait's fields in their order: mode, delay, key wait, frames, counter.
std::vector<int> Values(const WAITSTATE& wait)
{
    return {wait.nMode, wait.nDelay, wait.bKeyWait, wait.nFrames, wait.nCounter};
}

int s_nBoxes = 0;
int CountBox(UINT, const char*)
{
    ++s_nBoxes;
    return 0;
}

// Pictures 1 "a.bmp" 100 x 60, 2 "b.bmp" 40 x 20, 3 "c.bmp" 30 x 10 and 4 a file that is not
// there; effect 1 of 15 x 10 frames lasting 2 and 3 tenths. The camera stands at (320, 320).
class EffectPictureCommands : public qbtest::cStageDrawTest {
protected:
    void SetUp() override
    {
        SetUpDisplay(m_Display);
        const struct { const char* file; int w, h; } files[] = {{"a.bmp", 100, 60}, {"b.bmp", 40, 20}, {"c.bmp", 30, 10}};
        g_Database.m_Pictures.assign(5, cPictureData{});
        for (int i = 0; i < 3; ++i) {
            Write(files[i].file, qbtest::BuildBmp24(files[i].w, files[i].h,
                                                    std::vector<std::uint32_t>(static_cast<std::size_t>(files[i].w * files[i].h), 0x0000FF)));
            g_Database.m_Pictures[i + 1].m_strFile = files[i].file;
        }
        g_Database.m_Pictures[4].m_strFile = "missing.bmp";
        g_Database.m_Effects.assign(2, cEffectData{});
        cEffectData& effect = g_Database.m_Effects[1];
        effect.m_nWidth = 15;
        effect.m_nHeight = 10;
        effect.m_Frames.assign(2, cEffectFrameData{});
        effect.m_Frames[0].m_nDuration = 2;
        effect.m_Frames[1].m_nDuration = 3;
        BuildDatabaseWorkingTables();
        m_Chara.m_ScreenRect = INTRECT{100, 50, 131, 97};
        m_Chara.m_nDrawWidth = 32;
        m_Chara.m_nDrawHeight = 48;
        s_nBoxes = 0;
        plat::SetBoxAnswerSource(CountBox);
        TakeCloseRequests();
    }
    void TearDown() override
    {
        plat::SetBoxAnswerSource(nullptr);
        plat::SetDDrawVideoMemoryLimit(0);
        TakeCloseRequests();
        m_Scene->m_StagePictures.ClearPictures();
        cStageDrawTest::TearDown();
    }

    static cCommandData Command(int kind, std::vector<int> params)
    {
        cCommandData command;
        command.m_nKind = static_cast<std::int8_t>(kind);
        params.resize(static_cast<std::size_t>(g_CommandInfo[kind].count), 0);
        command.m_Params.assign(params.begin(), params.end());
        return command;
    }
    // A picture command: number, then the ID switch and ID; the rest as given (placement 0,
    // zoom 100, shown until removed, no wait).
    void Picture(int number, int hasId, int idNumber, int zoom = 100, int wait = 0, int displayMode = 0, int tenths = 0)
    {
        cCommandData command = Command(COMMAND_PICTURE, {number, 0, 0, 0, 0, 0, 0, zoom, displayMode, tenths, wait, 0, hasId, idNumber});
        ExecCmdShowPicture(m_Chara, command);
    }
    void Effect(std::vector<int> params)
    {
        cCommandData command = Command(COMMAND_EFFECT, std::move(params));
        ExecCmdRunEffect(m_Chara, command);
    }

    // Each picture as "file:ID" (ID "-" without one), from the picture list, checked against
    // the surface lists at the same index.
    std::vector<std::string> Shown()
    {
        std::vector<std::string> shown;
        const std::list<cPicture>& pictures = m_Scene->m_StagePictures.m_Pictures;
        EXPECT_EQ(g_PictureSurface.size(), pictures.size());
        EXPECT_EQ(g_PictureSurfaceInfo.size(), pictures.size());
        auto surface = g_PictureSurface.begin();
        auto info = g_PictureSurfaceInfo.begin();
        for (const cPicture& picture : pictures) {
            const std::string file = g_Database.m_Pictures.At(picture.m_nId).m_strFile;
            if (surface != g_PictureSurface.end() && info != g_PictureSurfaceInfo.end()) {
                EXPECT_EQ(std::string(info->szFileName), file);
                EXPECT_EQ(std::string(surface->szFileName), file) << "its own surface";
                ++surface;
                ++info;
            }
            shown.push_back(file + ":" + (picture.m_bHasId ? std::to_string(picture.m_nIdNumber) : "-"));
        }
        return shown;
    }

    qbtest::cDisplayMode m_Display{TRUE, 32, 1};
    qbtest::cNoModalLoops m_NoLoops;
    cChara m_Chara;
    qbtest::cRestore<cDatabase> m_Database{g_Database};
    qbtest::cRestore<cSafeVector<cSafeVector<ANIMEFRAME>>> m_Anime{g_AnimePatterns};
    qbtest::cRestore<cSafeVector<cSafeVector<ANIMEFRAME>>> m_Patterns{g_EffectPatterns};
    qbtest::cRestore<cSafeVector<cEffectPlayback>> m_Scr{g_ScrEffectTemplates};
    qbtest::cRestore<cSafeVector<cEffectPlayback>> m_ScrReverse{g_ScrEffectTemplatesReverse};
    qbtest::cRestore<cSafeVector<cEffectPlayback>> m_CharaFx{g_CharaEffectTemplates};
    qbtest::cRestore<cSafeVector<cEffectPlayback>> m_CharaFxReverse{g_CharaEffectTemplatesReverse};
};

TEST_F(EffectPictureCommands, APictureScriptKeepsPicturesAndSurfacesInStep)
{
    struct Step {
        const char* name;
        int number, hasId, idNumber;
        std::vector<std::string> shown;
        int boxes;   // each with a close request
    } steps[] = {
        {"A with ID 1", 1, 1, 1, {"a.bmp:1"}, 0},
        {"B with ID 2", 2, 1, 2, {"a.bmp:1", "b.bmp:2"}, 0},
        {"C without ID", 3, 0, 0, {"a.bmp:1", "b.bmp:2", "c.bmp:-"}, 0},
        {"replace 1, in its place", 3, 1, 1, {"c.bmp:1", "b.bmp:2", "c.bmp:-"}, 0},
        {"remove 2", 0, 1, 2, {"c.bmp:1", "c.bmp:-"}, 0},
        {"remove an ID that is not shown", 0, 1, 9, {"c.bmp:1", "c.bmp:-"}, 0},
        {"a file that fails leaves nothing behind", 4, 0, 0, {"c.bmp:1", "c.bmp:-"}, 1},
        {"B after the failure has its own surface", 2, 0, 0, {"c.bmp:1", "c.bmp:-", "b.bmp:-"}, 1},
        {"a failing replacement: the old one is gone", 4, 1, 1, {"c.bmp:-", "b.bmp:-"}, 2},
        {"remove all", 0, 0, 0, {}, 2},
    };
    int closes = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        Picture(step.number, step.hasId, step.idNumber);
        EXPECT_EQ(Shown(), step.shown);
        EXPECT_EQ(s_nBoxes, step.boxes);
        closes += TakeCloseRequests();
        EXPECT_EQ(closes, step.boxes);
    }
}

TEST_F(EffectPictureCommands, PlacementsFollowTheScreenTheCharaAndTheStageGrid)
{
    cHero& hero = m_Stage->AddPlayerOne();
    hero.m_ScreenRect = INTRECT{200, 100, 263, 163};
    hero.m_nDrawWidth = hero.m_nDrawHeight = 64;
    m_Scene->m_ScrollX.m_dPos = 400;
    m_Scene->m_ScrollY.m_dPos = 352;
    // A 20 x 10 object with cell (2, 1) and offset (3, 4).
    struct Case { int placement, cx; double x, y; } cases[] = {
        {0, 2, 3 + 400 + 320 - 10, 4 + 352 + 240 - 5},
        {1, 2, 3 + 100 + 16 + 400 - 10, 4 + 50 + 24 + 352 - 5},
        {2, 2, 3 + 200 + 32 + 400 - 10, 4 + 100 + 32 + 352 - 5},
        {3, 2, 400 + 64 + 3, 352 + 32 + 4},
        {3, 0x08000000, 400 + 0 + 3, 352 + 32 + 4},   // cx x 32 wraps to 0
        {4, 2, 12 * 32 + 3, 11 * 32 + 4},
        {5, 2, 0, 0},
        {-1, 2, 0, 0},
    };
    for (const Case& c : cases) {
        const PLACEDAT at = ResolvePlacement(20, 10, m_Chara, c.placement, c.cx, 1, 3, 4);
        EXPECT_EQ(at.dX, c.x) << "placement " << c.placement << " cell " << c.cx;
        EXPECT_EQ(at.dY, c.y) << "placement " << c.placement << " cell " << c.cx;
    }
    const PLACEDAT grid = ResolvePlacement(20, 10, m_Chara, 4, 0, 0, 0, 0);
    EXPECT_EQ(grid.dX, 320);
    EXPECT_EQ(grid.dY, 320);
}

TEST_F(EffectPictureCommands, SizesAreRoundedPercentagesOfTheFrameOrTheFile)
{
    struct Case { int percent, w, h; } cases[] = {{150, 23, 15}, {100, 15, 10}, {0, 0, 0}};
    for (const Case& c : cases) {
        Effect({1, 4, 0, 0, 0, 0, c.percent, 0});
        const cEffectInstance& effect = m_Scene->m_EffectList.m_Effects.back();
        EXPECT_EQ(effect.m_nWidth, c.w) << c.percent;
        EXPECT_EQ(effect.m_nHeight, c.h) << c.percent;
        EXPECT_EQ(effect.m_dX, 320);
        EXPECT_EQ(effect.m_bScaled, c.percent != 100 ? 1 : 0);
    }
    Picture(1, 0, 0, 50);
    const cPicture& picture = m_Scene->m_StagePictures.m_Pictures.back();
    EXPECT_EQ(picture.m_nWidth, 50);
    EXPECT_EQ(picture.m_nHeight, 30);
    EXPECT_EQ(picture.m_dX, 320 + 295);
    EXPECT_EQ(picture.m_dY, 320 + 225);
    EXPECT_EQ(picture.m_bScaled, 1);
}

TEST_F(EffectPictureCommands, AWaitingEffectHoldsForTheSumOfItsFrameTimes)
{
    struct Case { const char* name; int placement, wait; WAITSTATE expected; } cases[] = {
        {"no wait", 0, 0, WAITSTATE{7, 0, 0, 7, 7}},
        {"times 2 and 3: 30 frames", 0, 1, WAITSTATE{2, 0, 0, 30, 0}},
        {"a placement outside the table keeps the wait", 9, 1, WAITSTATE{2, 0, 0, 30, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_Scene->m_Wait = WAITSTATE{7, 0, 0, 7, 7};
        m_Scene->m_EffectList.Clear();
        Effect({1, c.placement, 0, 0, 0, 0, 100, c.wait});
        EXPECT_EQ(Values(m_Scene->m_Wait), Values(c.expected));
        ASSERT_EQ(m_Scene->m_EffectList.m_Effects.size(), 1u) << "the effect stays to end by itself";
        EXPECT_EQ(m_Scene->m_EffectList.m_Effects.front().m_bAnimatePaused, c.wait);
    }
    EXPECT_EQ(m_Scene->m_EffectList.m_Effects.front().m_dX, 0) << "placed at (0, 0)";
}

TEST_F(EffectPictureCommands, EffectZeroRemovesEveryEffectAndAClosingStageRunsNothing)
{
    Effect({1, 0, 0, 0, 0, 0, 100, 0});
    Effect({1, 0, 0, 0, 0, 0, 100, 0});
    Effect({0x10000});   // the low 16 bits: effect 0
    EXPECT_TRUE(m_Scene->m_EffectList.m_Effects.empty());
    m_Scene->m_nQuitRequest.store(1);
    Effect({1, 0, 0, 0, 0, 0, 100, 1});
    Picture(1, 0, 0);
    m_Scene->m_nQuitRequest.store(0);
    EXPECT_TRUE(m_Scene->m_EffectList.m_Effects.empty());
    EXPECT_TRUE(Shown().empty());
}

TEST_F(EffectPictureCommands, AWaitingPictureSetsTheWaitByItsModeAndGoesAfterIt)
{
    struct Case { const char* name; int displayMode, tenths; WAITSTATE expected; } cases[] = {
        {"until a key, taken at once", 0, 0, WAITSTATE{3, 0, 1, 0, 0}},
        {"until the stage ends: the wait as it was", 1, 0, WAITSTATE{7, 0, 0, 7, 7}},
        {"3 tenths: 18 frames", 2, 3, WAITSTATE{3, 0, 0, 18, 0}},
        {"6 x the time wraps", 2, 0x40000000, WAITSTATE{3, 0, 0, WrapMul(0x40000000, 6), 0}},
    };
    Picture(1, 1, 1);
    Picture(2, 1, 2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_Scene->m_Wait = WAITSTATE{7, 0, 0, 7, 7};
        // With ID 1 it takes the first place, and that one goes after the wait; without an ID
        // it goes from the end.
        for (int hasId : {0, 1}) {
            cCommandData command = Command(COMMAND_PICTURE, {3, 0, 0, 0, 0, 0, 0, 100, c.displayMode, c.tenths, 1, 0, hasId, 1});
            ExecCmdShowPicture(m_Chara, command);
            EXPECT_EQ(Values(m_Scene->m_Wait), Values(c.expected)) << "ID switch " << hasId;
        }
        EXPECT_EQ(Shown(), (std::vector<std::string>{"b.bmp:2"}));
        Picture(1, 1, 1);
    }
}

TEST_F(EffectPictureCommands, APictureShownForThreeTenthsIsDrawn18TimesAndGoneOnThe19thCall)
{
    Picture(1, 0, 0, 100, 0, 2, 3);
    cStagePictures& pictures = m_Scene->m_StagePictures;
    int draws = 0;
    for (int call = 1; call <= 19; ++call) {
        ClearScreen(0xFF000000u);
        pictures.Draw(&g_BackBuffer, 0, 0);
        draws += qbtest::BoxOf(Screen(), 0x0000FF, 0xFFFFFF).w > 0;
        EXPECT_EQ(Shown().size(), call <= 18 ? 1u : 0u) << "call " << call;
    }
    EXPECT_EQ(draws, 18);
}

TEST_F(EffectPictureCommands, AWaitedPictureThatEndedDuringTheWaitTakesNoOtherPictureWithIt)
{
    Picture(1, 1, 1);
    Picture(2, 0, 0);
    cStagePictures& pictures = m_Scene->m_StagePictures;
    cPicture timed;
    timed.Init(3, 330, 330, 30, 10, 0, 0, 100, 2, 1, 1, 0, 0);
    ASSERT_NE(pictures.LoadPictureSurface(0, "c.bmp", 0), nullptr);
    const int serial = pictures.InsertPicture(0, timed);
    // The wait's draws end the timed picture (one frame, the timer running in the pause).
    for (int frame = 0; frame < 2; ++frame) pictures.Draw(&g_BackBuffer, 0, 1);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"a.bmp:1", "b.bmp:-"}));
    pictures.RemovePictureBySerial(serial);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"a.bmp:1", "b.bmp:-"}));
}

TEST_F(EffectPictureCommands, TheCharaEffectCommandPlaysTheLow16BitsOfItsNumber)
{
    g_Database.m_CharaEffects.assign(2, cCharaEffectData{});
    g_Database.m_CharaEffects[1].m_nKind = 1;
    g_Database.m_CharaEffects[1].m_nParams[0] = 5;
    BuildDatabaseWorkingTables();
    cCommandData command = Command(COMMAND_CHARA_EFFECT, {0x10001, 2, 1});
    ExecCmdRunCharaEffect(m_Chara, command);
    const cEffectPlayback& playback = m_Chara.m_DrawEffect.m_EffectPlayback;
    EXPECT_EQ(playback.m_nId, 1);
    EXPECT_EQ(playback.m_nMode, 2);
    EXPECT_EQ(playback.m_bLoop, 1);
}

// Under DirectDraw a picture goes to system memory when it is scaled without video stretching,
// or when less than a fifth of the video memory is free.
class EffectPictureCommandsDirectDraw : public EffectPictureCommands {
protected:
    EffectPictureCommandsDirectDraw() { m_Display = {FALSE, 16, 1}; }

    qbtest::cRestore<int> m_Stretch{g_SystemIni.DD_VideoStretch};
};

TEST_F(EffectPictureCommandsDirectDraw, APictureGoesToSystemMemoryWhenScaledWithoutStretchOrShortOfVideoMemory)
{
    struct Case { int zoom, stretch; std::size_t limit; int memType; } cases[] = {
        {100, 0, 0, 0},
        {50, 0, 0, 1},
        {50, 1, 0, 0},
        {100, 1, 2u << 20, 1},   // the screen's surfaces leave less than a fifth of 2 MB
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "zoom " << c.zoom << ", stretch " << c.stretch << ", limit " << c.limit);
        g_SystemIni.DD_VideoStretch = c.stretch;
        plat::SetDDrawVideoMemoryLimit(c.limit);
        Picture(1, 0, 0, c.zoom);
        ASSERT_EQ(Shown(), (std::vector<std::string>{"a.bmp:-"}));
        EXPECT_EQ(g_PictureSurfaceInfo.back().nMemType, c.memType);
        Picture(0, 0, 0);
    }
}

}  // namespace
