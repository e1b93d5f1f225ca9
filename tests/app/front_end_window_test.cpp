// The demo's title, world map and story menu in a real X window (under xvfb-run), in a 32-bit
// window and full screen at 16 bits: the frames show the menus' cursors, the walker and the
// lives box where the menus put them, in the colours of the depth.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/app/game_process.h"
#include "tests/app/story_script.h"
#include "tests/support/demo_game.h"
#include "tests/support/stored_png.h"
#include "tests/support/temp_folder.h"

namespace {

using qbtest::ShownColour;
using WINDOWFRAME = std::vector<std::uint32_t>;

std::uint32_t WindowPixel(const WINDOWFRAME& frame, int x, int y)
{
    return frame[static_cast<std::size_t>(y) * 640 + x] & 0xFFFFFFu;
}

TEST(FrontEndWindow, TheTitleMapAndStoryMenuShowTheirPicturesAt32And16Bits)
{
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    struct Case { const char* name; const char* screen; int bpp; } cases[] = {
        {"window32", "WindowMode=1\nBpp=32\n", 32},
        {"full16", "WindowMode=0\nBpp=16\n", 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qbtest::cTempFolder runtime, work;
        const std::filesystem::path game = work.Path() / "demo";
        ASSERT_TRUE(qbtest::WriteDemoGame(game));
        work.WriteFile("demo/System.ini", std::string("Direct3D=1\n") + c.screen + "ShowFps=0\nExit\n");
        // The title on its first item, the map after the new story, the story menu after cancel.
        work.WriteFile("run.txt", qbtest::StoryScript({{40, "title.png"}, {120, "map.png"}, {230, "menu.png"}}, 240));
        std::vector<std::string> environment = {"SDL_VIDEODRIVER=x11", "SDL_RENDER_DRIVER=software",
                                                "QUILLBRAMWOOD_SCRIPT=" + (work.Path() / "run.txt").string()};
        for (const char* keep : {"DISPLAY", "XAUTHORITY", "LSAN_OPTIONS"})
            if (const char* value = std::getenv(keep)) environment.push_back(std::string(keep) + "=" + value);
        {
            qbtest::cGameProcess process(runtime, game, environment);
            ASSERT_TRUE(process.Ends(0, "the title, the map and the story menu in the X window"));
        }
        const WINDOWFRAME title = qbtest::ReadStoredPng((game / "title.png").string(), 640, 480);
        const WINDOWFRAME map = qbtest::ReadStoredPng((game / "map.png").string(), 640, 480);
        const WINDOWFRAME menu = qbtest::ReadStoredPng((game / "menu.png").string(), 640, 480);
        ASSERT_EQ(title.size(), 640u * 480u);
        ASSERT_EQ(map.size(), 640u * 480u);
        ASSERT_EQ(menu.size(), 640u * 480u);
        const std::uint32_t yellow = ShownColour(qbtest::kCursorColour, c.bpp);
        EXPECT_EQ(WindowPixel(title, 192 + 8, 240 + 16), yellow) << "the title's cursor on its first item";
        EXPECT_EQ(WindowPixel(map, 288 + 16, 224 + 13), ShownColour(qbtest::kWalkerColour, c.bpp)) << "the walker";
        EXPECT_EQ(WindowPixel(map, 589 + 8, 19 + 8), ShownColour(qbtest::kLifeColour, c.bpp)) << "the life icon";
        EXPECT_EQ(WindowPixel(menu, 264 + 4, 192 + 8), yellow) << "the story menu's cursor on its first item";
    }
}

}  // namespace
