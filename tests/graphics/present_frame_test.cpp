// The Direct3D end of a frame (virtual back buffer, pacing whatever VSync says, a lost
// device), the dialog mode and the full-screen message box.
#include "tests/graphics/graphics_fixture.h"

#include "graphics/dialog_mode.h"
#include "graphics/fill.h"
#include "graphics/present.h"
#include "platform/os/timer.h"
#include "shell/error_box.h"
#include "shell/timing.h"
#include "tests/graphics/blit_reference.h"

namespace {

using PresentTest = qbtest::cGraphicsTest;

int g_nBoxes = 0;
int AnswerNo(UINT, const char*)
{
    ++g_nBoxes;
    return IDNO;
}

class cPresent : public PresentTest {
protected:
    void SetUp() override
    {
        PresentTest::SetUp();
        plat::SetClock(&m_Clock);
        ResetTiming();
        g_nBoxes = 0;
        plat::SetBoxAnswerSource(AnswerNo);
    }
    void TearDown() override
    {
        plat::SetBoxAnswerSource(nullptr);
        PresentTest::TearDown();
        ResetTiming();
        plat::SetClock(nullptr);
    }
    plat::cManualClock m_Clock;
};

TEST_F(cPresent, AFrameDrawnIntoTheVirtualBackBufferIsCopiedBeforeItIsPresented)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    DDSetVirBackBuffer(TRUE);
    DDFillRect(&g_BackBuffer, 10, 20, 30, 40, 0xFF336699);
    EXPECT_EQ(qbtest::ReadImage(&g_VirBackBuffer).At(10, 20), 0xFF336699u);
    ASSERT_EQ(DDPresent(60, 0, nullptr), 1);
    const plat::cFrame frame = plat::LastFrame();
    ASSERT_EQ(frame.nWidth, 640);
    EXPECT_EQ(frame.argb[20 * 640 + 10], 0xFF336699u);
    EXPECT_NE(frame.argb[60 * 640 + 40], 0xFF336699u);
}

TEST_F(cPresent, FramesArePacedAtTheFrameRateWhateverVSyncSays)
{
    for (BOOL vsync : {FALSE, TRUE}) {
        SCOPED_TRACE(vsync ? "VSync on" : "VSync off");
        ResetTiming();
        ASSERT_TRUE(DDInit(TRUE, nullptr, 640, 480, 32, vsync, 1, 1, 60, vsync, nullptr, nullptr, 0, 0));
        const DWORD start = timeGetTime();
        for (int frame = 0; frame < 4; ++frame) {
            ASSERT_EQ(DDPresent(60, 0, nullptr), 1);
            // Frame k of the second falls at k × 1000 / 60 ms, never earlier.
            EXPECT_GE(timeGetTime() - start, static_cast<DWORD>(frame * 1000 / 60));
            EXPECT_LE(timeGetTime() - start, static_cast<DWORD>(frame * 1000 / 60 + 1));
        }
        DDUninit();
    }
}

TEST_F(cPresent, ALostDeviceMakesThePresentReturnZeroAndDirectDrawReturnsAtOnce)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    EXPECT_EQ(DDPresent(60, 0, nullptr), 1);
    plat::SimulateD3DDeviceLoss();
    EXPECT_EQ(DDPresent(60, 0, nullptr), 0);
    DDUninit();
    ASSERT_TRUE(Init({FALSE, 32, 1}));
    const DWORD before = timeGetTime();
    EXPECT_EQ(DDPresent(60, 0, nullptr), 1);
    EXPECT_EQ(timeGetTime(), before);
}

TEST_F(cPresent, InAWindowTheDialogModeDoesNothingAndTheBoxAnswers)
{
    for (BOOL direct3D : {TRUE, FALSE}) {
        ASSERT_TRUE(Init({direct3D, 32, 1}));
        plat::FailDeviceCall("IDirect3DDevice9::SetDialogBoxMode");
        plat::FailDeviceCall("IDirectDraw7::FlipToGDISurface");
        EXPECT_EQ(DDSetDialogMode(TRUE), 1);
        EXPECT_EQ(DDSetDialogMode(FALSE), 1);
        // The box's own answer comes back, a No included.
        EXPECT_EQ(DDMesBox("質問", "題", MB_YESNO), IDNO);
        plat::ClearDeviceFaults();
        DDUninit();
    }
    EXPECT_EQ(g_nBoxes, 2);
}

TEST_F(cPresent, FullScreenBoxesGoThroughTheDialogModeAndShowNothingWhenItFails)
{
    for (BOOL direct3D : {TRUE, FALSE}) {
        SCOPED_TRACE(direct3D ? "Direct3D" : "DirectDraw");
        g_nBoxes = 0;
        ASSERT_TRUE(Init({direct3D, 32, 0}));
        EXPECT_EQ(ShowMessageBox("続けますか？", "確認", MB_YESNO), IDNO);
        EXPECT_EQ(g_nBoxes, 1);
        plat::FailDeviceCall(direct3D ? "IDirect3DDevice9::SetDialogBoxMode" : "IDirectDraw7::FlipToGDISurface");
        EXPECT_EQ(ShowMessageBox("本文", "題", MB_OK), 0);
        EXPECT_EQ(g_nBoxes, 1);
        EXPECT_NE(EcLogText().find("DDMesBox 失敗! 本文, 題"), std::string::npos);
        if (direct3D) {
            EXPECT_NE(EcLogText().find("D3D_OK != lpDevice->SetDialogBoxMode(TRUE)"), std::string::npos);
        }
        plat::ClearDeviceFaults();
        DDUninit();
    }
}

TEST_F(cPresent, ThePacingFiguresAreDrawnOnTheBackBufferWhenAsked)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    // A glyph sheet whose every cell is white: drawn text shows white cells at (0, 16).
    Write("glyphs.bmp", qbtest::BuildBmp24(128, 256, std::vector<std::uint32_t>(128 * 256, 0xFFFFFF)));
    DDSURFACEDATA glyphs;
    ClearSurfaceData(&glyphs);
    ASSERT_EQ(DDCreateSurfaceFromFile(&glyphs, "glyphs.bmp", TRUE, 32, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
    DDFillSurface(&g_BackBuffer, 0xFF000000);
    ASSERT_EQ(DDPresent(60, 1, &glyphs), 1);
    const plat::cFrame frame = plat::LastFrame();
    EXPECT_EQ(frame.argb[16 * 640 + 0], 0xFFFFFFFFu);
    EXPECT_EQ(frame.argb[15 * 640 + 0], 0xFF000000u);
    DDReleaseSurface(&glyphs);
}

}  // namespace
