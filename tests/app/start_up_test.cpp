// Start-up and shutdown in this process, on a main window made as WinMain makes it, in a
// working folder that holds the demo game.

#include "app/main_window.h"
#include "app/start_up.h"
#include "app/start_up_sound.h"
#include "data/boot_data.h"
#include "data/database.h"
#include "data/option_data.h"
#include "data/palette_data.h"
#include "data/save_data.h"
#include "data/stage_data.h"
#include "data/system_data.h"
#include "data/world_map_data.h"
#include "graphics/device.h"
#include "graphics/fill.h"
#include "graphics/font.h"
#include "graphics/font_digit_surfaces.h"
#include "graphics/palette.h"
#include "graphics/standard_surfaces.h"
#include "graphics/surface.h"
#include "objects/database_working_tables.h"
#include "platform/os/files.h"
#include "platform/os/message_box.h"
#include "platform/os/messages.h"
#include "platform/os/timer.h"
#include "platform/ui/icon.h"
#include "platform/ui/window.h"
#include "platform/video/d3d9.h"
#include "platform/video/d3d9_faults.h"
#include "platform/video/presenter.h"
#include "play/game_manager.h"
#include "shell/log.h"
#include "shell/shared_flags.h"
#include "shell/system_ini.h"
#include "sound/direct_sound.h"
#include "tests/app/main_window_maker.h"
#include "tests/support/byte_builder.h"
#include "tests/support/demo_game.h"
#include "tests/support/restore.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait.h"
#include "tools/demo-game/demo_game.h"
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace {

class StartUp : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Folder.ChangeInto();
        ASSERT_TRUE(OpenReportFile("Report_Game.txt"));
        plat::SetBoxesShownBySdl(false);
        plat::SetWindowThread();
        ASSERT_TRUE(qbtest::WriteDemoGame(m_Folder.Path()));
        g_BootData = cBootData();
        // Links of an earlier start in this process.
        for (DDSURFACEDATA& sd : g_StdSurface) sd.lpMirrorSD = nullptr;
        MakeMainWindow();
        ASSERT_NE(m_hWnd, nullptr);
    }
    void TearDown() override
    {
        UnInitGame();
        plat::ClearDeviceFaults();
        if (IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
        g_MainWindow.m_hWnd = nullptr;
        g_hWnd.store(nullptr);
        DropPostedMessages();
    }

    // A destroyed main window leaves its WM_QUIT behind.
    static void DropPostedMessages()
    {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {}
    }
    void MakeMainWindow()
    {
        m_hWnd = qbtest::MakeMainWindowAsWinMainDoes("QuillbramwoodStartUpTest");
        g_MainWindow.m_hWnd = m_hWnd;
    }
    void WriteSystemIni(const std::string& text) const { m_Folder.WriteFile("System.ini", text); }
    // A start-up that failed leaves the half-made state for the next one's UnInitGame.
    void Restart()
    {
        UnInitGame();
        if (IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
        DropPostedMessages();
        MakeMainWindow();
        plat::FlushPathCache();
    }

    qbtest::cTempFolder m_Folder;
    HWND m_hWnd = nullptr;
};

TEST_F(StartUp, TheDemoGameRunsUnderDirect3DInAWindowWithItsPaletteAndDebugSheet)
{
    ASSERT_TRUE(InitGame("", SW_SHOWNORMAL));
    ASSERT_NE(lpDTCon, nullptr);
    EXPECT_EQ(lpDDCon, nullptr);
    EXPECT_EQ(g_hWnd.load(), m_hWnd);
    EXPECT_EQ(g_SystemIni.Direct3D, 1) << "the boot record's default drawing mode";
    EXPECT_EQ(g_bWindowed, 1);
    EXPECT_EQ(g_nRequestedBpp, 32) << "the desktop's depth";
    EXPECT_EQ(g_SystemIni.VSync, 1) << "automatic sync under Direct3D";
    EXPECT_EQ(g_SystemData.m_strTitle, kDemoGameTitle);
    EXPECT_EQ(lpDTCon->strTextureError,
              "テクスチャの作成に失敗しました！\nビデオカードの性能が十分ではないかもしれません。\n"
              "System.iniファイルで「Direct3D=0」に変更してDirect3Dを無効にすれば改善される可能性があります。");

    for (int i = 0; i < 256; ++i) {
        const std::uint32_t rgb = DemoPaletteColor(i);
        const PALETTEENTRY& e = g_Palette[i];
        EXPECT_EQ(static_cast<std::uint32_t>(e.peRed << 16 | e.peGreen << 8 | e.peBlue), rgb) << "colour " << i;
        EXPECT_EQ(std::memcmp(&g_DisplayPalette[i], &e, sizeof e), 0) << "colour " << i;
    }
    EXPECT_EQ(lpDTCon->dwTransmitBack, 0xFFFF00FFu) << "colour 0 at the palette picture's top left";

    const DDSURFACEDATA& debug = g_StdSurface[1];
    EXPECT_NE(debug.lpDT, nullptr);
    EXPECT_EQ(debug.nWidth, 128);
    EXPECT_EQ(debug.nHeight, 256);
    EXPECT_EQ(g_StdSurface[2].lpDT, nullptr) << "the scenes load the other standard surfaces";

    UnInitGame();
    EXPECT_EQ(lpDTCon, nullptr);
    EXPECT_EQ(lpDDCon, nullptr);
}

TEST_F(StartUp, UnderDirect3DEachMirrorEntryShowsItsSource)
{
    ASSERT_TRUE(InitGame("", SW_SHOWNORMAL));
    ASSERT_NE(lpDTCon, nullptr);
    struct Link { int mirror, source; } links[] = {
        {3, 2},   {5, 4},   {7, 6},   {9, 8},   {11, 10}, {13, 12}, {15, 14}, {17, 16}, {19, 18}, {21, 20},
        {22, 4},  {23, 4},  {24, 6},  {25, 6},  {26, 8},  {27, 8},  {28, 10}, {29, 10}, {30, 12}, {31, 12},
        {32, 14}, {33, 14}, {34, 16}, {35, 16}, {36, 18}, {37, 18}, {38, 20}, {39, 20}, {41, 40}, {44, 43},
        {68, 67},
    };
    int expected[kStdSurfaceCount];
    for (int& source : expected) source = -1;
    for (const Link& link : links) expected[link.mirror] = link.source;
    for (int i = 0; i < kStdSurfaceCount; ++i) {
        const DDSURFACEDATA* mirror = g_StdSurface[i].lpMirrorSD;
        EXPECT_EQ(mirror ? static_cast<int>(mirror - g_StdSurface) : -1, expected[i]) << "entry " << i;
        EXPECT_EQ(g_SurfaceInfo[i].bMirror != 0, expected[i] >= 0) << "entry " << i << " of the surface table";
    }
}

TEST_F(StartUp, WhenDirect3DCannotStartTheSameWindowAndDepthRunUnderDirectDraw)
{
    plat::FailDeviceCall("Direct3DCreate9");
    ASSERT_TRUE(InitGame("", SW_SHOWNORMAL));
    EXPECT_EQ(lpDTCon, nullptr);
    ASSERT_NE(lpDDCon, nullptr);
    EXPECT_EQ(g_SystemIni.Direct3D, 0);
    EXPECT_EQ(g_nBpp, 32);
    EXPECT_EQ(g_nWindowMode, 1);
    EXPECT_EQ(g_bPresentByBlt.load(), 1) << "a DirectDraw window presents by copying";
    EXPECT_EQ(g_dwColorKey & 0xFFFFFFu, 0xFF00FFu);
    EXPECT_EQ(g_StdSurface[3].lpMirrorSD, nullptr) << "mirror links are Direct3D's";
    EXPECT_NE(g_StdSurface[1].lpDDraw, nullptr);
    EXPECT_NE(m_Folder.ReadFile("Report_Game.txt").find("ビデオカードがDirectX9をサポートしていません！\n"),
              std::string::npos);
}

TEST_F(StartUp, DirectDrawFullScreenAtAutomaticDepthTakesEightBitsAndTurnsTheStretchOff)
{
    WriteSystemIni("Direct3D=0\nWindowMode=0\nBpp=0\nVSync=2\nDD_VideoStretch=1\nExit\n");
    ASSERT_TRUE(InitGame("", SW_SHOWNORMAL));
    ASSERT_NE(lpDDCon, nullptr);
    EXPECT_EQ(g_bWindowed, 0);
    EXPECT_EQ(g_nRequestedBpp, 8);
    EXPECT_EQ(g_nBpp, 8);
    EXPECT_EQ(g_SystemIni.DD_VideoStretch, 0);
    EXPECT_EQ(g_SystemIni.VSync, 0) << "automatic sync is off on Windows 6.0 and later";
    EXPECT_EQ(g_bPresentByBlt.load(), 1) << "no vertical sync: present by copying";
    // The hardware palette keeps the system's colours at both ends.
    for (int i : {0, 9, 246, 255}) EXPECT_EQ(g_Palette[i].peFlags, PC_EXPLICIT) << i;
    for (int i : {10, 100, 245}) EXPECT_EQ(g_Palette[i].peFlags, PC_RESERVED) << i;
    const std::uint32_t rgb = DemoPaletteColor(100);
    EXPECT_EQ(static_cast<std::uint32_t>(g_Palette[100].peRed << 16 | g_Palette[100].peGreen << 8 | g_Palette[100].peBlue),
              rgb);
    // The blend table of window colour 0: a colour over itself is itself.
    EXPECT_EQ(g_BlendTable[100 * 256 + 100], 100);
}

TEST_F(StartUp, DirectDrawFullScreenFlipsOnlyWithVerticalSyncOnAMonitorAsFastAsTheFrameRate)
{
    // Headless the monitor's rate is unknown, which counts as 60: as fast as the game's 60.
    struct Case { int vsync; bool frequencyFails; int presentByBlt; } cases[] = {
        {1, false, 0},
        {1, true, 1},  // a rate nobody knows is not trusted with flips
        {0, false, 1},
    };
    for (const Case& c : cases) {
        Restart();
        ASSERT_TRUE(OpenReportFile("Report_Game.txt"));
        WriteSystemIni("Direct3D=0\nWindowMode=0\nBpp=16\nVSync=" + std::to_string(c.vsync) + "\nExit\n");
        plat::FlushPathCache();
        if (c.frequencyFails) plat::FailDeviceCall("IDirectDraw7::GetMonitorFrequency", 10);
        const std::string where = "VSync " + std::to_string(c.vsync) + (c.frequencyFails ? ", no frequency" : "");
        ASSERT_TRUE(InitGame("", SW_SHOWNORMAL)) << where;
        plat::ClearDeviceFaults();
        ASSERT_NE(lpDDCon, nullptr) << where;
        EXPECT_EQ(g_bPresentByBlt.load(), c.presentByBlt) << where;
        const std::string report = m_Folder.ReadFile("Report_Game.txt");
        EXPECT_NE(report.find("Mode : Fullscreen\nBpp : 16\nVRAM Total : "), std::string::npos) << where << report;
        if (!c.frequencyFails) {
            EXPECT_NE(report.find("\nRR : 60\n"), std::string::npos) << where << report;
        }
    }
}

TEST_F(StartUp, TheBootRecordChoosesTheDrawingModeOnlyWhenSystemIniLeavesItOpen)
{
    // System.ini's Direct3D, the boot file {drawing mode, do-not-ask} or none -> back end.
    struct Case { int direct3D; bool bootFile; int drawingMode; int doNotAsk; int expected; } cases[] = {
        {2, false, 0, 0, 1},  // no file: the record's default, Direct3D
        {2, true, 0, 1, 0},
        {2, true, 1, 1, 1},
        {2, true, 0, 0, 0},   // the dialog asks; headless it presses Start on the saved mode
        {3, true, 7, 1, 0},   // anything but 1 is DirectDraw
        {0, true, 1, 1, 0},   // System.ini decides: the file is not read
        {1, true, 0, 1, 1},
    };
    for (const Case& c : cases) {
        Restart();
        g_BootData = cBootData();
        WriteSystemIni("Direct3D=" + std::to_string(c.direct3D) + "\nWindowMode=1\nExit\n");
        std::filesystem::remove(m_Folder.Path() / "user_data" / "Boot.dat");
        if (c.bootFile)
            m_Folder.WriteFile("user_data/Boot.dat",
                               qbtest::cByteBuilder().U32(692).U32(2).I32(c.drawingMode).I32(c.doNotAsk).U32(0).Str());
        plat::FlushPathCache();
        const std::string where = "Direct3D=" + std::to_string(c.direct3D) + " boot " + std::to_string(c.drawingMode) +
                                  "/" + std::to_string(c.doNotAsk);
        ASSERT_TRUE(InitGame("", SW_SHOWNORMAL)) << where;
        EXPECT_EQ(g_SystemIni.Direct3D, c.expected) << where;
        EXPECT_EQ(lpDTCon != nullptr, c.expected == 1) << where;
    }
}

TEST_F(StartUp, ASavedPlacementMovesTheWindowAndSizesItOnlyWhenSizable)
{
    // Window mode, Window.dat {x, y, width, height, maximised} -> client size, or zoomed.
    struct Case { int windowMode; int width, height, maximised; int clientWidth, clientHeight; } cases[] = {
        {1, 300, 200, 0, 640, 480},
        {2, 300, 200, 0, 300, 200},
        {2, 20, 10, 0, 100, 100},  // never below the smallest client area
        {1, 300, 200, 1, 0, 0},
    };
    for (const Case& c : cases) {
        Restart();
        WriteSystemIni("Direct3D=1\nWindowMode=" + std::to_string(c.windowMode) + "\nExit\n");
        m_Folder.WriteFile("user_data/Window.dat", qbtest::cByteBuilder()
                                                       .U32(692).U32(5).I32(50).I32(60).I32(c.width).I32(c.height)
                                                       .I32(c.maximised).U32(0).Str());
        plat::FlushPathCache();
        const std::string where = "mode " + std::to_string(c.windowMode) + " size " + std::to_string(c.width);
        ASSERT_TRUE(InitGame("", SW_SHOWNORMAL)) << where;
        EXPECT_EQ(IsZoomed(m_hWnd) != 0, c.maximised != 0) << where;
        if (c.maximised) continue;
        const POINT position = g_MainWindow.GetPosition();
        EXPECT_EQ(position.x, 50) << where;
        EXPECT_EQ(position.y, 60) << where;
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        EXPECT_EQ(client.right - client.left, c.clientWidth) << where;
        EXPECT_EQ(client.bottom - client.top, c.clientHeight) << where;
    }
}

TEST_F(StartUp, AFullScreenStartIgnoresTheSavedPlacement)
{
    WriteSystemIni("Direct3D=1\nWindowMode=0\nExit\n");
    m_Folder.WriteFile("user_data/Window.dat",
                       qbtest::cByteBuilder().U32(692).U32(5).I32(50).I32(60).I32(300).I32(200).I32(1).U32(0).Str());
    const POINT before = g_MainWindow.GetPosition();
    ASSERT_TRUE(InitGame("", SW_SHOWNORMAL));
    const POINT after = g_MainWindow.GetPosition();
    EXPECT_EQ(after.x, before.x);
    EXPECT_EQ(after.y, before.y);
    EXPECT_FALSE(IsZoomed(m_hWnd));
}

// A repaint shows the last finished frame, never the back buffer that the game thread may be
// drawing the next frame into.
TEST_F(StartUp, PaintShowsTheLastFinishedDirectDrawFrameOnceTheGameIsReady)
{
    WriteSystemIni("Direct3D=0\nWindowMode=1\nExit\n");
    ASSERT_TRUE(InitGame("", SW_SHOWNORMAL));
    ASSERT_NE(lpDDCon, nullptr);
    ASSERT_EQ(g_nBpp, 32);
    plat::ResetPresenter();
    SendMessageA(m_hWnd, WM_PAINT, 0, 0);
    EXPECT_TRUE(plat::LastFrame().argb.empty()) << "nothing is shown before start-up has finished";

    g_bGameReady.store(1);
    DDFillSurface(&g_BackBuffer, 0x336699);
    std::thread game([] { g_GameManager.Present(); });
    game.join();
    DDFillSurface(&g_BackBuffer, 0x998877);  // the next frame, half drawn
    SendMessageA(m_hWnd, WM_PAINT, 0, 0);
    const plat::cFrame frame = plat::LastFrame();
    ASSERT_EQ(frame.nWidth, 640);
    ASSERT_EQ(frame.nHeight, 480);
    EXPECT_EQ(frame.argb[0], 0xFF336699u);
    EXPECT_EQ(frame.argb[640 * 480 - 1], 0xFF336699u);
    g_bGameReady.store(0);
}

// The window thread moves the window (each move updates the client rectangle that DirectDraw
// copies to) while the game thread presents frames: every frame is shown whole, and once the
// window rests a frame lands exactly in its client area.
TEST_F(StartUp, MovingTheWindowWhileDirectDrawPlaysShowsEveryFrameWhole)
{
    WriteSystemIni("Direct3D=0\nWindowMode=1\nExit\n");
    ASSERT_TRUE(InitGame("", SW_SHOWNORMAL));
    ASSERT_NE(lpDDCon, nullptr);
    RECT outer{};
    ASSERT_TRUE(GetWindowRect(m_hWnd, &outer));
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;

    constexpr int kFrames = 20;
    std::atomic<int> moves{0}, presented{0}, wrongSize{0};
    std::thread game([&] {
        qbtest::WaitUntil([&] { return moves.load() > 0; });
        for (int i = 0; i < kFrames; ++i) {
            DDFillSurface(&g_BackBuffer, 0x010203u * static_cast<DWORD>(i + 1));
            g_GameManager.Present();
            const plat::cFrame frame = plat::LastFrame();
            if (frame.nWidth != 640 || frame.nHeight != 480) wrongSize.fetch_add(1);
            presented.fetch_add(1);
        }
    });
    const bool allPresented = qbtest::WaitUntil([&] { return presented.load() == kFrames; }, [&] {
        const int n = moves.fetch_add(1) + 1;
        MoveWindow(m_hWnd, 100 + n % 37, 80 + n % 23, width, height, TRUE);
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    }, std::chrono::milliseconds(60000));
    game.join();
    ASSERT_TRUE(allPresented);
    EXPECT_EQ(wrongSize.load(), 0);

    MoveWindow(m_hWnd, 150, 90, width, height, TRUE);
    POINT topLeft{0, 0}, bottomRight{640, 480};
    ClientToScreen(m_hWnd, &topLeft);
    ClientToScreen(m_hWnd, &bottomRight);
    const RECT client = g_rcClient.Load();
    EXPECT_EQ(client.left, topLeft.x);
    EXPECT_EQ(client.top, topLeft.y);
    EXPECT_EQ(client.right, bottomRight.x);
    EXPECT_EQ(client.bottom, bottomRight.y);
    DDFillSurface(&g_BackBuffer, 0x445566);
    std::thread last([] { g_GameManager.Present(); });
    last.join();
    const plat::cFrame frame = plat::LastFrame();
    ASSERT_EQ(frame.argb.size(), 640u * 480u);
    int wrong = 0;
    for (std::uint32_t pixel : frame.argb) wrong += pixel != 0xFF445566u;
    EXPECT_EQ(wrong, 0);
}

TEST_F(StartUp, ALostDeviceIsResetOnTheWindowThreadAndTheNextFrameIsShown)
{
    ASSERT_TRUE(InitGame("", SW_SHOWNORMAL));
    ASSERT_NE(lpDTCon, nullptr);
    plat::SimulateD3DDeviceLoss();
    plat::ResetPresenter();
    std::atomic<int> presented{0};
    std::thread game([&] {
        g_GameManager.Present();  // lost: the window thread resets the device before this returns
        presented.store(1);
        g_GameManager.Present();
        presented.store(2);
    });
    qbtest::WaitUntil([&] { return presented.load() == 2; }, [] {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        Sleep(1);
    });
    game.join();
    EXPECT_EQ(g_lpDevice->TestCooperativeLevel(), D3D_OK);
    const plat::cFrame frame = plat::LastFrame();
    EXPECT_EQ(frame.nWidth, 640);
    EXPECT_EQ(frame.nHeight, 480);
    ASSERT_NE(g_StdSurface[1].lpDT, nullptr);
    EXPECT_NE(g_StdSurface[1].lpDT->lpTexture, nullptr) << "the debug sheet is made again from its file";
}

TEST_F(StartUp, TheOptionsPickTheBlendTableAndBadValuesOrFilesLeaveTheDefaults)
{
    // Window colour 5 has a blend table of its own, every entry 5.
    m_Folder.WriteFile("bmp/hbt/hbt05.dat", std::string(65536, '\x05'));
    auto option = [](int color, int volume) {
        return qbtest::cByteBuilder().U32(692).U32(4).I32(color).I32(0).I32(volume).I32(1).U32(1).U32(4).Bytes(std::string("abc", 4)).Str();
    };
    // The file (empty: none), then the window colour, volume and name the start-up takes.
    struct Case { std::string file; int color, volume; const char* name; bool keptAside; } cases[] = {
        {"", 0, 7, "aaa", false},
        {option(5, 3), 5, 3, "abc", false},
        {option(24, 11), 0, 7, "abc", false},
        {option(5, 3).substr(0, 20), 0, 7, "aaa", true},
    };
    for (const Case& c : cases) {
        Restart();
        g_OptionData = cOptionData();
        WriteSystemIni("Direct3D=0\nWindowMode=0\nBpp=8\nExit\n");
        std::filesystem::remove(m_Folder.Path() / "user_data" / "Option.dat");
        std::filesystem::remove(m_Folder.Path() / "user_data" / "Option.dat.bad");
        if (!c.file.empty()) m_Folder.WriteFile("user_data/Option.dat", c.file);
        plat::FlushPathCache();
        ASSERT_TRUE(InitGame("", SW_SHOWNORMAL)) << c.color;
        ASSERT_EQ(g_nBpp, 8);
        EXPECT_EQ(g_OptionData.m_nWindowColor, c.color);
        EXPECT_EQ(g_OptionData.m_nVolume, c.volume);
        EXPECT_EQ(g_OptionData.m_strName, c.name);
        EXPECT_EQ(g_BlendTable[100 * 256 + 100], c.color == 5 ? 5 : 100) << "the blend table of colour " << c.color;
        EXPECT_EQ(m_Folder.Exists("user_data/Option.dat.bad"), c.keptAside) << c.color;
    }
    EXPECT_NE(m_Folder.ReadFile("Report_Game.txt").find("Option.dat.bad"), std::string::npos);
}

TEST_F(StartUp, AWorldMapThatCannotBeReadEndsTheStartUpWithItsMessage)
{
    plat::SetBoxPresenter([](HWND, const char*, const char*, UINT) { return IDOK; });
    for (const std::string& file : {std::string(), std::string("\xB4\x02\0\0\x08\0\0\0", 8)}) {
        Restart();
        std::filesystem::remove(m_Folder.Path() / "data" / "WorldMap.dat");
        if (!file.empty()) m_Folder.WriteFile("data/WorldMap.dat", file);
        plat::FlushPathCache();
        EXPECT_FALSE(InitGame("", SW_SHOWNORMAL)) << file.size();
        EXPECT_NE(m_Folder.ReadFile("Report_Game.txt").find("data\\WorldMap.dat のロードに失敗！\n"), std::string::npos);
    }
    plat::SetBoxPresenter(nullptr);
    Restart();
    ASSERT_TRUE(qbtest::WriteDemoGame(m_Folder.Path()));
    plat::FlushPathCache();
    ASSERT_TRUE(InitGame("", SW_SHOWNORMAL));
    EXPECT_EQ(g_WorldMapData.m_nWidth, 20);
}

TEST_F(StartUp, TheDemoGameStartsWithEveryDataFileReadFontsMadeAndTheIconShown)
{
    ASSERT_TRUE(InitGame("", SW_SHOWNORMAL));
    // The databases and the tables derived from them.
    ASSERT_EQ(g_Database.m_Sounds.size(), 4u);
    EXPECT_EQ(g_Database.m_Sounds[1].m_strFile, "wave\\Jump.wav");
    EXPECT_EQ(g_Database.m_CharaEffectsReverse.size(), g_Database.m_CharaEffects.size());
    EXPECT_EQ(g_Database.m_ScrEffectsReverse.size(), g_Database.m_ScrEffects.size());
    EXPECT_EQ(g_AnimePatterns.size(), g_Database.m_Animes.size());
    EXPECT_EQ(g_EffectPatterns.size(), g_Database.m_Effects.size());
    EXPECT_EQ(g_CharaEffectTemplates.size(), g_Database.m_CharaEffects.size());
    EXPECT_EQ(g_CharaEffectTemplatesReverse.size(), g_Database.m_CharaEffects.size());
    EXPECT_EQ(g_ScrEffectTemplates.size(), g_Database.m_ScrEffects.size());
    EXPECT_EQ(g_ScrEffectTemplatesReverse.size(), g_Database.m_ScrEffects.size());
    // The world map, the common palette and the sound table.
    EXPECT_EQ(g_WorldMapData.m_Points.size(), DemoStageFiles().size());
    EXPECT_EQ(g_CommonPalette.m_Blocks.size(), 2u);
    ASSERT_EQ(g_SoundFileTable.size(), 20u);
    EXPECT_STREQ(g_SoundFileTable[0].szFile, "wave\\Cursor.wav");
    EXPECT_STREQ(g_SoundFileTable[17].szFile, "wave\\Jump.wav");
    EXPECT_STREQ(g_SoundFileTable[19].szFile, "wave\\Hit.wav");
    // The fonts and their digit surfaces.
    for (int i = 0; i < kFontCount; ++i) {
        EXPECT_EQ(g_Font[i].m_nPitchY, g_FontInfo[i].nPitchY) << "font " << i;
        EXPECT_EQ(g_FontDigitSurface[i].nWidth, 10 * g_FontInfo[i].nPitchX) << "font " << i;
    }
    // The icon of the program's own file, on the window in both sizes.
    ASSERT_NE(g_hIcon, nullptr);
    EXPECT_EQ(plat::WindowIcon(m_hWnd, ICON_SMALL), g_hIcon);
    EXPECT_EQ(plat::WindowIcon(m_hWnd, ICON_BIG), g_hIcon);
    // The scenes load the other standard surfaces: the demo has a picture for every one.
    std::vector<int> all(kStdSurfaceCount);
    for (int i = 0; i < kStdSurfaceCount; ++i) all[static_cast<std::size_t>(i)] = i;
    EXPECT_TRUE(DDLoadSurfaces(g_StdSurface, all.data(), kStdSurfaceCount));
    for (int i = 0; i < kStdSurfaceCount; ++i) EXPECT_NE(g_StdSurface[i].lpDT, nullptr) << "standard surface " << i;

    UnInitGame();
    EXPECT_EQ(g_hIcon, nullptr);
    EXPECT_EQ(plat::LiveIcons(), 0) << "the icon is destroyed exactly once";
}

TEST(StartUpSoundTable, HoldsTheBuiltInSoundsAndOneEntryPerDatabaseSoundAfterTheFirst)
{
    qbtest::cRestore<cDatabase> database(g_Database);
    // A Sound.dat of 0 entries still gets all 17 built-in sounds.
    struct Case { std::size_t databaseEntries, tableEntries; } cases[] = {{0, 17}, {1, 17}, {5, 21}};
    for (const auto& c : cases) {
        g_Database.m_Sounds.assign(c.databaseEntries, cSoundData());
        for (std::size_t k = 0; k < c.databaseEntries; ++k) g_Database.m_Sounds[k].m_strFile = "wave\\s" + std::to_string(k) + ".wav";
        FillSoundTable();
        ASSERT_EQ(g_SoundTable.size(), c.tableEntries) << c.databaseEntries;
        ASSERT_EQ(g_SoundFileTable.size(), c.tableEntries) << c.databaseEntries;
        for (std::size_t i = 0; i < c.tableEntries; ++i) {
            const DSSOUNDFILE& file = g_SoundFileTable[i];
            EXPECT_EQ(file.nCopies, 1);
            EXPECT_EQ(file.nVolume, 0);
            EXPECT_EQ(file.nFlag, 1);
            const std::string expected =
                i < 17 ? g_SystemData.m_SoundFiles[i] : "wave\\s" + std::to_string(i - 16) + ".wav";
            EXPECT_EQ(file.szFile, expected) << c.databaseEntries << " entry " << i;
        }
    }
}

TEST_F(StartUp, AStageNamedAtStartLoadsItsHighestNumberedFileAndTheFirstFrameIsStagePlay)
{
    qbtest::cRestore<std::atomic<int>> testPlay(g_bTestPlay);
    qbtest::cRestore<int> scene(g_GameManager.m_nScene), previous(g_GameManager.m_nPrevScene),
        playMode(g_GameManager.m_nPlayMode), gameMode(g_GameManager.m_nGameMode), ranking(g_GameManager.m_bRanking);
    // Two versions of one stage: _003 (the caves, 60 blocks wide) is the newer.
    m_Folder.WriteFile("data/stg4/x.stg4_001", m_Folder.ReadFile("data/stg4/Meadow.stg4_001"));
    m_Folder.WriteFile("data/stg4/x.stg4_003", m_Folder.ReadFile("data/stg4/Caves.stg4_001"));
    plat::FlushPathCache();
    ASSERT_TRUE(InitGame("data\\stg4\\x.stg4", SW_SHOWNORMAL));
    EXPECT_STREQ(g_SystemIni.FreeStage, "data\\stg4\\x.stg4_003");
    EXPECT_EQ(g_StageData.m_strPath, "data\\stg4\\x.stg4_003");
    EXPECT_EQ(g_StageData.m_nWidth, 60);
    EXPECT_TRUE(g_StageData.HasHero());
    EXPECT_EQ(g_bTestPlay.load(), 1);
    EXPECT_EQ(g_SaveData.m_nLives, kUnlimitedLives);
    EXPECT_EQ(g_SaveData.m_bSeries, 0);
    EXPECT_EQ(g_GameManager.m_nPlayMode, PLAYMODE_FREEPLAY);
    EXPECT_EQ(g_GameManager.m_bRanking, 1);
    EXPECT_EQ(g_GameManager.m_nGameMode, GAMEMODE_FREEPLAY);
    EXPECT_EQ(g_GameManager.m_nScene, SCENE_PLAY);
    EXPECT_EQ(g_GameManager.m_nPrevScene, SCENE_TITLE);
}

TEST_F(StartUp, ShutdownIsSafeAfterEveryPartialStartUpAndWhenRepeated)
{
    plat::SetBoxPresenter([](HWND, const char*, const char*, UINT) { return IDOK; });
    // The step that fails: a database, the palette picture (graphics up), the world map (sound
    // and fonts up), each also after Direct3D fell back to DirectDraw.
    struct Case { const char* file; bool fallBack; } cases[] = {
        {"data/database/Sound.dat", false}, {"bmp/plt/Palette.bmp", false}, {"data/WorldMap.dat", false},
        {"bmp/plt/Palette.bmp", true}, {"data/WorldMap.dat", true},
    };
    for (const auto& c : cases) {
        Restart();
        ASSERT_TRUE(qbtest::WriteDemoGame(m_Folder.Path()));
        std::filesystem::remove(m_Folder.Path() / c.file);
        plat::FlushPathCache();
        if (c.fallBack) plat::FailDeviceCall("Direct3DCreate9");
        EXPECT_FALSE(InitGame("", SW_SHOWNORMAL)) << c.file;
        UnInitGame();
        UnInitGame();
        plat::ClearDeviceFaults();
        EXPECT_EQ(lpDTCon, nullptr) << c.file;
        EXPECT_EQ(lpDDCon, nullptr) << c.file;
        EXPECT_EQ(g_hIcon, nullptr) << c.file;
        EXPECT_EQ(plat::LiveIcons(), 0) << c.file;
    }
    plat::SetBoxPresenter(nullptr);
}

}  // namespace
