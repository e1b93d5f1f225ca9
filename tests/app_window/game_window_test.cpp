// The game executable in a real X window (under xvfb-run): the window carries the program's
// icon, and it shows the demo game's frames pixel for pixel as the same frame saved headless.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/app/game_process.h"
#include "tests/graphics_window/x_window_pixels.h"
#include "tests/support/demo_game.h"
#include "tests/support/stored_png.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait.h"

namespace {

using qbtest::kChildBound;
// From this frame on every frame of the demo's first screen is the same: the frame-rate text
// has a full second of the virtual clock behind it.
constexpr int kSteadyFrame = 150;

// The environment of a run in the X server of the test.
std::vector<std::string> XEnvironment(const std::string& script)
{
    std::vector<std::string> environment = {"SDL_VIDEODRIVER=x11", "SDL_RENDER_DRIVER=software",
                                            "QUILLBRAMWOOD_SCRIPT=" + script};
    for (const char* keep : {"DISPLAY", "XAUTHORITY", "LSAN_OPTIONS"})
        if (const char* value = std::getenv(keep)) environment.push_back(std::string(keep) + "=" + value);
    return environment;
}

// The top-level window of a process, found through the _NET_WM_PID that SDL sets on it.
Window FindWindowOf(Display* display, Window parent, pid_t pid)
{
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    Window root = 0, parentOut = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &parentOut, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after,
                               &data) == Success && data) {
            if (items == 1 && static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) == pid) found = children[i];
            XFree(data);
        }
        if (!found) found = FindWindowOf(display, children[i], pid);
    }
    if (children) XFree(children);
    return found;
}

// The _NET_WM_ICON of a window: width, height, then ARGB pixels; empty when it has none.
std::vector<unsigned long> WindowIcon(Display* display, Window window)
{
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> icon;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_ICON", False), 0, LONG_MAX / 4, False,
                           XA_CARDINAL, &type, &format, &items, &after, &data) == Success && data) {
        const unsigned long* values = reinterpret_cast<unsigned long*>(data);
        icon.assign(values, values + items);
        XFree(data);
    }
    return icon;
}

}  // namespace

TEST(GameWindow, CarriesTheProgramIconAndShowsTheDemosFirstScreen)
{
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    qbtest::cTempFolder runtime, work;
    const std::filesystem::path folder = work.Path() / "demo";
    ASSERT_TRUE(qbtest::WriteDemoGame(folder));

    // Headless first: the steady first screen saved as PNG.
    work.WriteFile("dump.txt", "clock virtual\ndump " + std::to_string(kSteadyFrame) + " first.png\nclose " +
                                   std::to_string(kSteadyFrame + 1) + "\n");
    {
        qbtest::cGameProcess game(runtime, folder, {"QUILLBRAMWOOD_SCRIPT=" + (work.Path() / "dump.txt").string()});
        ASSERT_TRUE(game.Ends(0, "the headless run to save frame " + std::to_string(kSteadyFrame) + " and close"));
    }
    const std::vector<std::uint32_t> expected = qbtest::ReadStoredPng((folder / "first.png").string(), 640, 480);
    ASSERT_EQ(expected.size(), 640u * 480u);

    // The same game in a real window, running on until it is closed.
    work.WriteFile("run.txt", "clock virtual\n");
    // The x11 driver comes before the headless default in the child's environment, so it wins.
    qbtest::cGameProcess game(runtime, folder, XEnvironment((work.Path() / "run.txt").string()));
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    XSetErrorHandler(qbtest::IgnoreXError);
    // The window is mapped and drawn in its own time, and the renderer may make it again: it
    // is looked for on each attempt.
    Window window = 0;
    std::vector<std::uint32_t> shown;
    qbtest::WaitUntil(
        [&] {
            XSync(display, False);
            window = FindWindowOf(display, DefaultRootWindow(display), game.Pid());
            shown = window ? qbtest::ReadXWindow(display, window, 640, 480) : std::vector<std::uint32_t>();
            return shown == expected;
        },
        kChildBound);
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    ASSERT_EQ(shown.size(), expected.size())
        << "waited " << kChildBound.count() / 1000 << " s for the window to show the steady first screen; window "
        << window << " map state " << attributes.map_state << " size " << attributes.width << "x" << attributes.height;
    SCOPED_TRACE("the window's frame after the wait for the steady first screen");
    qbtest::ExpectSameFrame(shown, expected);

    // A 32 x 32 icon: clear at the corner, the dark blue ground inside the "Q", its gold ring.
    const std::vector<unsigned long> icon = WindowIcon(display, window);
    ASSERT_GE(icon.size(), 2u + 32 * 32) << "the window has no icon";
    EXPECT_EQ(icon[0], 32u);
    EXPECT_EQ(icon[1], 32u);
    auto iconPixel = [&](int x, int y) { return static_cast<std::uint32_t>(icon[2 + static_cast<std::size_t>(y * 32 + x)]); };
    EXPECT_EQ(iconPixel(0, 0) >> 24, 0u);
    EXPECT_EQ(iconPixel(16, 16), 0xFF1A2A5Au);
    EXPECT_EQ(iconPixel(8, 4), 0xFFF2C230u);
    XCloseDisplay(display);
    // Closed as a desktop would close it.
    kill(game.Pid(), SIGTERM);
    EXPECT_TRUE(game.Ends(0, "the end of the run in the window after SIGTERM"));
}
