#include "app/screen_mode.h"

#include <gtest/gtest.h>

namespace {

TEST(ScreenModeRules, WindowFlagVerticalSyncDepthAndCheckFollowBackEndAndDesktop)
{
    struct Case {
        int direct3D, windowMode, bpp, vsync;  // System.ini
        int autoD3D, autoDD, fullColor;        // System data
        int desktop;
        bool windows6;
        int windowed, depth, vsyncAfter, check;  // expected
    } cases[] = {
        // Direct3D: a window at the desktop depth, automatic sync becomes on.
        {1, 1, 0, 2, 0, 0, 0, 32, true, 1, 32, 1, SCREENMODE_ACCEPTED},
        {1, 2, 16, 0, 0, 0, 0, 16, true, 1, 16, 0, SCREENMODE_ACCEPTED},
        {1, 1, 16, 1, 0, 0, 0, 32, true, 1, 16, 1, SCREENMODE_REFUSED_WINDOW},
        {1, 1, 24, 1, 0, 0, 0, 32, true, 1, 24, 1, SCREENMODE_REFUSED},
        // Direct3D full screen: automatic depth from the System data.
        {1, 0, 0, 0, 1, 0, 0, 32, true, 0, 16, 0, SCREENMODE_ACCEPTED},
        {1, 0, 0, 3, 0, 0, 0, 16, true, 0, 32, 1, SCREENMODE_ACCEPTED},
        {1, 0, 8, 0, 0, 0, 0, 32, true, 0, 8, 0, SCREENMODE_REFUSED},
        // DirectDraw in a window: never synchronised, never 8 bits.
        {0, 1, 0, 1, 0, 0, 0, 16, true, 1, 16, 0, SCREENMODE_ACCEPTED},
        {0, 1, 32, 2, 0, 0, 0, 16, true, 1, 32, 0, SCREENMODE_REFUSED_WINDOW},
        {0, 1, 8, 0, 0, 0, 0, 8, true, 1, 8, 0, SCREENMODE_REFUSED},
        // DirectDraw full screen: automatic sync by the system's version, depth by the setting.
        {0, 0, 0, 2, 0, 2, 0, 32, true, 0, 8, 0, SCREENMODE_ACCEPTED},
        {0, 0, 0, 2, 0, 2, 1, 32, false, 0, 32, 1, SCREENMODE_ACCEPTED},
        {0, 0, 0, 1, 0, 1, 0, 32, true, 0, 16, 1, SCREENMODE_ACCEPTED},
        {0, 0, 0, 0, 0, 0, 0, 32, true, 0, 32, 0, SCREENMODE_ACCEPTED},
        {0, 0, 8, 0, 0, 0, 1, 32, true, 0, 8, 0, SCREENMODE_REFUSED},  // 8 bits need the palette
    };
    int row = 0;
    for (const Case& c : cases) {
        SYSTEMINI ini{};
        ini.Direct3D = c.direct3D;
        ini.WindowMode = c.windowMode;
        ini.Bpp = c.bpp;
        ini.VSync = c.vsync;
        cSystemData system;
        system.m_nAutoDepthD3D = c.autoD3D;
        system.m_nAutoDepthDD = c.autoDD;
        system.m_bFullColor = c.fullColor;
        const SCREENMODE mode = ApplyScreenModeRules(ini, system, c.desktop, c.windows6);
        EXPECT_EQ(mode.bWindowed, c.windowed) << "row " << row;
        EXPECT_EQ(mode.nBpp, c.depth) << "row " << row;
        EXPECT_EQ(ini.Bpp, c.depth) << "row " << row;
        EXPECT_EQ(ini.VSync, c.vsyncAfter) << "row " << row;
        EXPECT_EQ(mode.nCheck, c.check) << "row " << row;
        ++row;
    }
}

}  // namespace
