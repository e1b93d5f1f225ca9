// The System.ini key list taken from the boot options of the System data: names, defaults and
// positions, including the options that version fix-ups insert.
#include <gtest/gtest.h>

#include "data/system_data.h"
#include "data/system_ini_keys.h"
#include "platform/os/files.h"
#include "tests/data/record_test_support.h"
#include "tests/data/system_file_builder.h"
#include "tests/support/temp_folder.h"

TEST(SystemIniKeys, TheDefaultBootOptionsGiveTheKeysAndDefaultsInTheirOrder)
{
    const SYSTEMINIKEYS keys = SystemIniKeys(cSystemData());
    const char* const names[10] = {"Direct3D", "WindowMode", "Bpp", "VSync", "D3D_FontCache",
                                   "DD_FontCache", "DD_VideoStretch", "ShowFps", "FreeStage", "English"};
    ASSERT_EQ(keys.size(), 10u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(keys[i].strKey, names[i]) << i;

    SYSTEMINI ini{};
    SetSystemIniDefaults(ini, keys);
    EXPECT_EQ(ini.Direct3D, 2);
    EXPECT_EQ(ini.WindowMode, 0);
    EXPECT_EQ(ini.Bpp, 0);
    EXPECT_EQ(ini.VSync, 2);
    EXPECT_EQ(ini.D3D_FontCache, 0);
    EXPECT_EQ(ini.DD_FontCache, 1);
    EXPECT_EQ(ini.DD_VideoStretch, 0);
    EXPECT_EQ(ini.ShowFps, 1);
    EXPECT_STREQ(ini.FreeStage, "");
    EXPECT_EQ(ini.English, 0);
}

TEST(SystemIniKeys, AnOlderSystemDatGetsTheKeysItLackedAtTheirPositions)
{
    qbtest::cDataSettingsScope settings;
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    // A version-280 game knew five keys, under names of its own for two of them.
    qbtest::SystemFileValues values = qbtest::DefaultSystemValues();
    values.m_BootOptions = {{0, 1, "Window", ""}, {0, 16, "Depth", ""}, {0, 3, "VSync", ""},
                            {0, 0, "ShowFps", ""}, {1, 0, "FreeStage", "stg\\a.stg4_000"}};
    folder.WriteFile("data/System.dat", qbtest::BuildSystemFile(values, 280).bytes);
    cSystemData system;
    ASSERT_EQ(system.Load("data\\System.dat"), 1);
    const SYSTEMINIKEYS keys = SystemIniKeys(system);

    SYSTEMINI ini{};
    SetSystemIniDefaults(ini, keys);
    EXPECT_EQ(ini.Direct3D, 1);   // inserted with 1
    EXPECT_EQ(ini.WindowMode, 1);
    EXPECT_EQ(ini.Bpp, 16);
    EXPECT_EQ(ini.VSync, 2);      // 3 became 2
    EXPECT_EQ(ini.DD_FontCache, 1);
    EXPECT_STREQ(ini.FreeStage, "stg\\a.stg4_000");

    folder.WriteFile("System.ini", "Depth=32\nWindow=2\nDirect3D=0\nDD_VideoStretch=1\nWindowMode=0\nExit\n");
    plat::FlushPathCache();
    ASSERT_TRUE(ReadSystemIni("System.ini", ini, keys));
    EXPECT_EQ(ini.Bpp, 32);
    EXPECT_EQ(ini.WindowMode, 2);   // the game's own name; "WindowMode" names nothing here
    EXPECT_EQ(ini.Direct3D, 0);
    EXPECT_EQ(ini.DD_VideoStretch, 1);
}
