// A frame drawn through the graphics layer into the real main window (an X server, under
// xvfb-run) reads back from the X window pixel for pixel as the PNG that the same frame saves
// when it is drawn headless.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/fill.h"
#include "graphics/palette.h"
#include "graphics/present.h"
#include "graphics/surface.h"
#include "platform/os/message_box.h"
#include "platform/video/presenter.h"
#include "platform/ui/sdl_window.h"
#include "platform/ui/window.h"
#include "tests/graphics_window/x_window_pixels.h"
#include "tests/support/bmp_builder.h"
#include "tests/support/stored_png.h"
#include "tests/support/temp_folder.h"

namespace {

LRESULT QuietProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

// Fills, an opaque and a keyed picture (one scaled and mirrored) and a translucent fill.
void DrawFrame(HWND hWnd)
{
    ASSERT_TRUE(DDInit(TRUE, hWnd, 640, 480, 32, FALSE, 1, 1, 60, FALSE, nullptr, nullptr, 0, 0));
    DDSetTransmit(0xFF, 0x00, 0xFF);
    DDSURFACEDATA picture;
    ClearSurfaceData(&picture);
    ASSERT_EQ(DDCreateSurfaceFromFile(&picture, "pic.bmp", TRUE, 32, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
    DDFillSurface(&g_BackBuffer, 0xFF203040);
    DDFillRect(&g_BackBuffer, 600, 440, 80, 80, 0xFFE0C0A0);
    DDBltFast(&g_BackBuffer, 10, 10, 64, 48, &picture, 0, 0, 0);
    DDBltFast(&g_BackBuffer, -20, 100, 64, 48, &picture, 0, 0, 1);
    DDBlt(&g_BackBuffer, 200, 150, 256, 192, &picture, 64, 0, -64, 48, 1);
    DDFillRect(&g_BackBuffer, 100, 300, 300, 100, 0x80FF8000);
    EXPECT_EQ(DDPresent(60, 0, nullptr), 1);
    DDReleaseSurface(&picture);
    DDUninit();
}

TEST(PresentWindow, TheRealWindowShowsExactlyTheFrameSavedHeadless)
{
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    plat::SetBoxesShownBySdl(false);
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            pixels.push_back((x / 8 + y / 8) % 5 == 0 ? 0xFF00FF : static_cast<std::uint32_t>(x * 4 << 16 | y * 5 << 8 | 0x33));
    folder.WriteFile("pic.bmp", qbtest::BuildBmp24(64, 48, pixels));

    plat::SetWindowThread();
    ASSERT_TRUE(plat::StartSdlVideo());
    ASSERT_FALSE(plat::IsHeadless()) << "SDL did not open the X display";

    // Headless first: no window yet, the presenter only keeps the frame.
    DrawFrame(nullptr);
    ASSERT_TRUE(plat::SaveLastFrameAsPng("frame.png"));
    const std::vector<std::uint32_t> expected = qbtest::ReadStoredPng("frame.png", 640, 480);
    ASSERT_EQ(expected.size(), 640u * 480u);

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = QuietProc;
    windowClass.lpszClassName = "Quillbramwood";
    ASSERT_NE(RegisterClassExA(&windowClass), 0);
    HWND hWnd = CreateWindowExA(0, "Quillbramwood", "", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hWnd, nullptr);
    ShowWindow(hWnd, SW_SHOW);
    SDL_Window* sdlWindow = plat::MainSdlWindow();
    ASSERT_NE(sdlWindow, nullptr);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(sdlWindow, &info));
    ASSERT_EQ(info.subsystem, SDL_SYSWM_X11);
    Display* display = info.info.x11.display;
    XSetErrorHandler(qbtest::IgnoreXError);

    // The window is mapped and drawn in its own time: present until it shows the frame, a
    // bounded number of times.
    std::vector<std::uint32_t> shown;
    for (int attempt = 0; attempt < 100 && shown != expected; ++attempt) {
        plat::DrainSdlEvents(0);
        DrawFrame(hWnd);
        // The renderer may have made the window again: ask for it each time.
        SDL_VERSION(&info.version);
        ASSERT_TRUE(SDL_GetWindowWMInfo(sdlWindow, &info));
        display = info.info.x11.display;
        XSync(display, False);
        shown = qbtest::ReadXWindow(display, info.info.x11.window, 640, 480);
        if (shown != expected) SDL_Delay(20);
    }
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, info.info.x11.window, &attributes);
    ASSERT_EQ(shown.size(), expected.size()) << "window flags " << SDL_GetWindowFlags(sdlWindow) << " map state "
                                             << attributes.map_state << " size " << attributes.width << "x"
                                             << attributes.height << " depth " << attributes.depth;
    qbtest::ExpectSameFrame(shown, expected);
    plat::ResetPresenter();
    plat::DestroyMainSdlWindow();
    plat::ForgetWindows();
    SDL_Quit();
}

}  // namespace
