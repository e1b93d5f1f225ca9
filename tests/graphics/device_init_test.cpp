// DDInit and DDUninit in every mode, every result code of the DirectDraw set-up, the
// Direct3D failures, and a simulated device loss.
#include "tests/graphics/graphics_fixture.h"

namespace {

using qbtest::cDisplayMode;
using DDInitTest = qbtest::cGraphicsTest;

D3DFORMAT DDrawFormat(DDSURFACEDATA& record)
{
    DDPIXELFORMAT pf{};
    record.lpDDraw->lpDDS->GetPixelFormat(&pf);
    if (pf.dwRGBBitCount == 8) return D3DFMT_P8;
    if (pf.dwRGBBitCount == 16) return D3DFMT_R5G6B5;
    return D3DFMT_X8R8G8B8;
}

TEST_F(DDInitTest, EachModeMakesItsBackBufferFormat)
{
    struct Case { cDisplayMode mode; int desktopBpp; D3DFORMAT backBuffer; D3DFORMAT texture; int pixelFormat[8]; } cases[] = {
        {{TRUE, 32, 0}, 32, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, {16, 8, 0, 24, 255, 255, 255, 255}},
        {{TRUE, 32, 1}, 32, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, {16, 8, 0, 24, 255, 255, 255, 255}},
        {{TRUE, 16, 0}, 32, D3DFMT_R5G6B5, D3DFMT_A1R5G5B5, {10, 5, 0, 15, 31, 31, 31, 1}},
        {{TRUE, 16, 1}, 32, D3DFMT_A1R5G5B5, D3DFMT_A1R5G5B5, {10, 5, 0, 15, 31, 31, 31, 1}},
        {{FALSE, 32, 0}, 32, D3DFMT_X8R8G8B8, D3DFMT_UNKNOWN, {16, 8, 0, 0, 255, 255, 255, 0}},
        {{FALSE, 32, 1}, 32, D3DFMT_X8R8G8B8, D3DFMT_UNKNOWN, {16, 8, 0, 0, 255, 255, 255, 0}},
        {{FALSE, 16, 0}, 32, D3DFMT_R5G6B5, D3DFMT_UNKNOWN, {11, 5, 0, 0, 31, 63, 31, 0}},
        {{FALSE, 16, 1}, 16, D3DFMT_R5G6B5, D3DFMT_UNKNOWN, {11, 5, 0, 0, 31, 63, 31, 0}},
        {{FALSE, 8, 0}, 32, D3DFMT_P8, D3DFMT_UNKNOWN, {}},
        {{FALSE, 8, 1}, 8, D3DFMT_P8, D3DFMT_UNKNOWN, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.mode.bDirect3D ? "Direct3D " : "DirectDraw ") << c.mode.nBpp
                                        << (c.mode.nWindowMode ? " window" : " full screen"));
        plat::SetDesktopBitsPerPixel(c.desktopBpp);
        std::fill(g_PixelFormat, g_PixelFormat + 8, 0);
        ASSERT_TRUE(Init(c.mode));
        EXPECT_EQ(lpDTCon != nullptr, c.mode.bDirect3D != 0);
        EXPECT_EQ(lpDDCon != nullptr, c.mode.bDirect3D == 0);
        EXPECT_EQ(g_nBytesPerPixel, c.mode.nBpp / 8);
        if (c.mode.bDirect3D) {
            EXPECT_EQ(lpDTCon->fmtBackBuffer, c.backBuffer);
            EXPECT_EQ(g_BackBuffer.lpDT->descTex.Format, c.backBuffer);
            EXPECT_EQ(lpDTCon->fmtTexture, c.texture);
            EXPECT_STREQ(g_BackBuffer.szSurfaceType, "BackBuffer");
            EXPECT_STREQ(g_VirBackBuffer.szSurfaceType, "VirBackBuffer");
            EXPECT_STREQ(g_WorkSD.szSurfaceType, "WorkSD");
            EXPECT_EQ(g_VirBackBuffer.lpDT->descTex.Format, c.texture);
            EXPECT_EQ(g_VirBackBuffer.lpDT->nIndex, 1);
            EXPECT_EQ(g_WorkSD.lpDT->nIndex, 2);
            EXPECT_EQ(g_SurfaceList.size(), 2u);
        } else {
            EXPECT_EQ(DDrawFormat(g_BackBuffer), c.backBuffer);
            EXPECT_EQ(DDrawFormat(g_Primary), c.backBuffer);
            EXPECT_EQ(g_DDWork.nMemType, 1);
            EXPECT_EQ(g_lpDDClipper != nullptr, c.mode.nWindowMode == 1);
        }
        if (c.mode.nBpp != 8) {
            for (int i = 0; i < 8; ++i) EXPECT_EQ(g_PixelFormat[i], c.pixelFormat[i]) << i;
        }
        EXPECT_EQ(g_BackBuffer.nWidth, 640);
        EXPECT_EQ(g_BackBuffer.nHeight, 480);
        DDUninit();
        EXPECT_EQ(lpDTCon, nullptr);
        EXPECT_EQ(lpDDCon, nullptr);
        EXPECT_EQ(g_BackBuffer.lpDT, nullptr);
        EXPECT_EQ(g_BackBuffer.lpDDraw, nullptr);
        EXPECT_FALSE(g_bDDInit);
    }
}

TEST_F(DDInitTest, EveryDirectDrawResultCodeFailsTheSetUpWithItsName)
{
    struct Case { const char* call; int skip; int times; cDisplayMode mode; int desktopBpp; const char* name; } cases[] = {
        {"DirectDrawCreateEx", 0, 1, {FALSE, 32, 0}, 32, "CREATEEX_ERR"},
        {"IDirectDraw7::SetCooperativeLevel", 0, 1, {FALSE, 32, 1}, 32, "SETCOOPLEVEL_ERR"},
        {"IDirectDraw7::SetDisplayMode", 0, 2, {FALSE, 16, 0}, 32, "SETDISPLAYMODE_ERR"},
        {"IDirectDraw7::CreateSurface.Primary", 0, 1, {FALSE, 32, 0}, 32, "CREATESURFACE_ERR"},
        {"IDirectDraw7::CreateSurface", 1, 1, {FALSE, 32, 0}, 32, "CREATESURFACE_ERR"},  // the work surface
        {"IDirectDraw7::CreateSurface", 1, 2, {FALSE, 32, 1}, 32, "CREATESURFACE_ERR"},  // the back buffer, twice
        {"IDirectDrawSurface7::GetAttachedSurface", 0, 1, {FALSE, 8, 0}, 32, "GETATTACHEDSURFACE_ERR"},
        {"IDirectDraw7::CreatePalette", 0, 1, {FALSE, 8, 0}, 32, "CREATEPALETTE_ERR"},
        {"IDirectDrawSurface7::SetPalette", 0, 1, {FALSE, 8, 0}, 32, "SETPALETTE_ERR"},
        {"IDirectDrawSurface7::SetPalette", 0, 1, {FALSE, 8, 1}, 8, "SETPALETTE_ERR"},
        {"IDirectDraw7::CreateClipper", 0, 1, {FALSE, 32, 1}, 32, "CLIPPER_ERR"},
        {"IDirectDrawClipper::SetHWnd", 0, 1, {FALSE, 32, 1}, 32, "SETHWND_ERR"},
        {"IDirectDrawSurface7::SetClipper", 0, 1, {FALSE, 32, 1}, 32, "SETCLIPPER_ERR"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        plat::SetDesktopBitsPerPixel(c.desktopBpp);
        plat::FailDeviceCall(c.call, c.times, c.skip);
        SetEcLogFile(1, "ec.txt");
        EXPECT_FALSE(Init(c.mode));
        EXPECT_NE(EcLogText().find(c.name), std::string::npos) << EcLogText();
        EXPECT_FALSE(g_bDDInit);
        DDUninit();
        plat::ClearDeviceFaults();
    }
    EXPECT_TRUE(DDCheckInitResult(0));
    EXPECT_TRUE(DDCheckInitResult(8));  // image loading codes are not set-up failures
    EXPECT_TRUE(DDCheckInitResult(99));
}

TEST_F(DDInitTest, RefusedRefreshRateRetriesWithTheDefaultRate)
{
    plat::FailDeviceCall("IDirectDraw7::SetDisplayMode", 1);
    EXPECT_TRUE(DDInit(FALSE, nullptr, 640, 480, 32, TRUE, 0, 1, 60, TRUE, nullptr, nullptr, 0, 0));
}

TEST_F(DDInitTest, Direct3DFailuresFailTheSetUpAndDirectDrawStillStarts)
{
    struct Case { const char* call; int bpp; bool succeeds; } cases[] = {
        {"IDirect3D9::CreateDevice.Hardware", 32, true},  // falls back to software vertex processing
        {"Direct3DCreate9", 32, false},
        {"IDirect3D9::CreateDevice", 32, false},
        {"IDirect3DDevice9::CreateVertexBuffer", 32, false},
        {nullptr, 24, false},
        {nullptr, 8, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call ? c.call : "depth");
        if (c.call && std::strcmp(c.call, "IDirect3D9::CreateDevice") == 0) {
            plat::FailDeviceCall("IDirect3D9::CreateDevice.Hardware");
            plat::FailDeviceCall("IDirect3D9::CreateDevice.Software");
        } else if (c.call) {
            plat::FailDeviceCall(c.call);
        }
        EXPECT_EQ(Init({TRUE, c.bpp, 1}), c.succeeds);
        DDUninit();
        plat::ClearDeviceFaults();
        // The start-up's fall-back.
        ASSERT_TRUE(Init({FALSE, c.bpp == 24 ? 32 : c.bpp, 0}));
        EXPECT_EQ(lpDTCon, nullptr);
        EXPECT_NE(lpDDCon, nullptr);
        DDUninit();
    }
}

TEST_F(DDInitTest, ASetUpAfterAFailedOneStartsClean)
{
    // Without DDUninit between them: what the failed set-up made is released first.
    struct Case { const char* call; cDisplayMode failed, next; } cases[] = {
        {"IDirectDraw7::CreatePalette", {FALSE, 32, 0}, {FALSE, 32, 0}},
        {"IDirectDraw7::CreateClipper", {FALSE, 32, 1}, {TRUE, 32, 1}},
        {"IDirect3DDevice9::CreateVertexBuffer", {TRUE, 32, 1}, {FALSE, 16, 0}},
        {nullptr, {TRUE, 24, 1}, {TRUE, 32, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call ? c.call : "depth");
        if (c.call) plat::FailDeviceCall(c.call);
        EXPECT_FALSE(Init(c.failed));
        plat::ClearDeviceFaults();
        ASSERT_TRUE(Init(c.next));
        EXPECT_EQ(lpDTCon != nullptr, c.next.bDirect3D != 0);
        EXPECT_EQ(lpDDCon != nullptr, c.next.bDirect3D == 0);
        EXPECT_EQ(g_lpD3D != nullptr, c.next.bDirect3D != 0);
        EXPECT_EQ(g_lpDD != nullptr, c.next.bDirect3D == 0);
        DDUninit();
    }
}

std::vector<std::string> g_BoxTexts;
int RecordBox(UINT, const char* text)
{
    g_BoxTexts.push_back(text ? text : "");
    return 0;
}

TEST_F(DDInitTest, DirectDrawSurfacesLeftAliveAreReportedByTheRelease)
{
    g_BoxTexts.clear();
    plat::SetBoxAnswerSource(RecordBox);
    DDSURFACEDATA records[2], leaked;
    SURFACEINFO info[2] = {};
    for (DDSURFACEDATA& r : records) ClearSurfaceData(&r);
    ClearSurfaceData(&leaked);
    // Standard surfaces go with DDUninit: nothing is left.
    ASSERT_TRUE(Init({FALSE, 32, 1}, info, records, 2));
    ASSERT_TRUE(DDCreateSurface(&records[0], 8, 8, TRUE, 0, 0, nullptr, FALSE));
    ASSERT_TRUE(DDCreateSurface(&records[1], 8, 8, FALSE, 1, 0, nullptr, FALSE));
    DDUninit();
    EXPECT_TRUE(g_BoxTexts.empty());
    EXPECT_EQ(records[0].lpDDraw, nullptr);
    // A surface of nobody's table that is still alive holds the DirectDraw object.
    ASSERT_TRUE(Init({FALSE, 32, 0}));
    ASSERT_TRUE(DDCreateSurface(&leaked, 8, 8, TRUE, 0, 0, nullptr, FALSE));
    DDUninit();
    ASSERT_EQ(g_BoxTexts.size(), 1u);
    EXPECT_EQ(g_BoxTexts[0], u8"解放漏れがあります");
    DDReleaseSurface(&leaked);  // the last reference: the object goes with it
    plat::SetBoxAnswerSource(nullptr);
}

TEST_F(DDInitTest, SecondDirectDrawInitReplacesTheFirstAndKeepsItsRecord)
{
    ASSERT_TRUE(Init({FALSE, 32, 0}));
    ASSERT_TRUE(Init({FALSE, 16, 0}));
    ASSERT_NE(lpDDCon, nullptr);
    EXPECT_EQ(DDrawFormat(g_BackBuffer), D3DFMT_R5G6B5);
}

TEST_F(DDInitTest, SimulatedLossMarksSurfacesLost)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    EXPECT_EQ(g_lpDevice->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    plat::SimulateD3DDeviceLoss(false);
    EXPECT_EQ(g_lpDevice->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(g_lpDevice->TestCooperativeLevel(), D3DERR_DEVICELOST);
    plat::AllowD3DDeviceReset();
    EXPECT_EQ(g_lpDevice->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    DDUninit();

    ASSERT_TRUE(Init({FALSE, 16, 0}));
    DDSURFACEDATA video, system;
    ClearSurfaceData(&video);
    ClearSurfaceData(&system);
    ASSERT_TRUE(DDCreateSurface(&video, 8, 8, TRUE, 0, 0, nullptr, FALSE));
    ASSERT_TRUE(DDCreateSurface(&system, 8, 8, TRUE, 1, 0, nullptr, FALSE));
    plat::SimulateDDrawSurfaceLoss();
    EXPECT_EQ(g_Primary.lpDDraw->lpDDS->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(g_BackBuffer.lpDDraw->lpDDS->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(video.lpDDraw->lpDDS->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(system.lpDDraw->lpDDS->IsLost(), DD_OK);
    EXPECT_EQ(g_DDWork.lpDDraw->lpDDS->IsLost(), DD_OK);
    EXPECT_EQ(g_Primary.lpDDraw->lpDDS->Restore(), DD_OK);
    EXPECT_EQ(g_BackBuffer.lpDDraw->lpDDS->IsLost(), DD_OK) << "restoring the primary restores its flip chain";
    DDReleaseSurface(&video);
    DDReleaseSurface(&system);
}

TEST_F(DDInitTest, FullScreenHidesTheCursorAndAWindowedDirectDrawShowsIt)
{
    // The display count starts wherever earlier work left it: shown (0 or more) or hidden.
    struct Case { cDisplayMode mode; bool hiddenBefore; int countAfter; } cases[] = {
        {{TRUE, 32, 0}, false, -1},  // hidden: decremented until negative
        {{FALSE, 16, 0}, false, -1},
        {{FALSE, 32, 1}, true, 0},   // shown: incremented until not negative
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.mode.bDirect3D ? "Direct3D " : "DirectDraw ") << c.mode.nWindowMode);
        if (c.hiddenBefore) {
            while (ShowCursor(FALSE) >= -2) {
            }
        } else {
            while (ShowCursor(TRUE) < 2) {
            }
        }
        ASSERT_TRUE(Init(c.mode));
        EXPECT_EQ(ShowCursor(TRUE) - 1, c.countAfter);
        DDUninit();
    }
    // A Direct3D window leaves the count as it was.
    const int before = ShowCursor(TRUE);
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    EXPECT_EQ(ShowCursor(TRUE), before + 1);
    while (ShowCursor(FALSE) > 0) {
    }
}

TEST_F(DDInitTest, LockUnderDirect3DReportsThatNothingWasLocked)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    DDSURFACEDESC2 desc;
    BYTE* bits = nullptr;
    EXPECT_FALSE(DDLock(&g_BackBuffer, &desc, &bits, 32));
    EXPECT_EQ(bits, nullptr);
    DDUninit();
    ASSERT_TRUE(Init({FALSE, 32, 0}));
    EXPECT_TRUE(DDLock(&g_BackBuffer, &desc, &bits, 15)) << "locks, without a pointer for a depth of 15";
    EXPECT_EQ(bits, nullptr);
    g_BackBuffer.lpDDraw->lpDDS->Unlock(nullptr);
    EXPECT_TRUE(DDLock(&g_BackBuffer, &desc, &bits, 32));
    EXPECT_NE(bits, nullptr);
    g_BackBuffer.lpDDraw->lpDDS->Unlock(nullptr);
}

}  // namespace
