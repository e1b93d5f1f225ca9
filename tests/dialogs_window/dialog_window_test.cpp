// The dialogs drawn in real windows (an X server, under xvfb-run): over the game window's last
// frame, or in a window of their own while the game window is hidden. Each is saved as a PNG
// beside the test and checked for its text and its default button.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/drawing_mode_dialog.h"
#include "app/main_window.h"
#include "app/name_entry_dialog.h"
#include "app/start_up.h"
#include "data/option_data.h"
#include "data/system_data.h"
#include "platform/os/message_box.h"
#include "platform/ui/dialog_box.h"
#include "platform/ui/file_chooser.h"
#include "platform/ui/sdl_window.h"
#include "platform/ui/window.h"
#include "platform/video/png_writer.h"
#include "platform/video/presenter.h"
#include "play/game_manager.h"

namespace {

LRESULT QuietProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

constexpr std::uint32_t kInk = 0xFF000000;

struct cShot {
    std::vector<std::uint32_t> argb;
    int width = 0, height = 0;
    POINT client{0, 0};   // the client area's place in the image
    bool taken = false;
};

// Counts the ink pixels in a rectangle of the client area given in dialog units.
int InkIn(const cShot& shot, int x, int y, int cx, int cy)
{
    int count = 0;
    for (int py = y * 3 / 2; py < (y + cy) * 3 / 2; ++py)
        for (int px = x * 3 / 2; px < (x + cx) * 3 / 2; ++px) {
            const int ix = shot.client.x + px, iy = shot.client.y + py;
            if (ix >= 0 && iy >= 0 && ix < shot.width && iy < shot.height &&
                shot.argb[static_cast<std::size_t>(iy) * shot.width + ix] == kInk)
                ++count;
        }
    return count;
}

class DialogWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::SetBoxesShownBySdl(false);
        plat::SetWindowThread();
        ASSERT_TRUE(plat::StartSdlVideo());
        if (plat::IsHeadless()) GTEST_SKIP() << "no X server";
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = QuietProc;
        windowClass.lpszClassName = "DialogWindowTestMain";
        RegisterClassExA(&windowClass);
        m_hMain = CreateWindowExA(0, "DialogWindowTestMain", "", WS_POPUP | WS_CAPTION, 100, 100, 646, 505, nullptr,
                                  nullptr, nullptr, nullptr);
        ASSERT_NE(m_hMain, nullptr);
        g_MainWindow.m_ptPos = POINT{100, 100};
    }
    void TearDown() override
    {
        plat::SetDialogIdleHook(nullptr);
        plat::DestroyMainSdlWindow();
        plat::ForgetWindows();
    }
    // Takes the picture once the dialog has been drawn, saves it, then ends the dialog.
    void ShootThenEnd(cShot& shot, const char* png)
    {
        plat::SetDialogIdleHook([&shot, png](HWND hDlg) {
            POINT onScreen{};
            if (!shot.taken && plat::LastDialogImage(shot.argb, shot.width, shot.height, onScreen)) {
                RECT outer{};
                GetWindowRect(hDlg, &outer);
                POINT client{0, 0};
                ClientToScreen(hDlg, &client);
                shot.client = POINT{client.x - outer.left, client.y - outer.top};
                shot.taken = true;
                plat::WritePngFile(png, shot.width, shot.height, shot.argb.data());
            }
            PostMessageA(hDlg, WM_CLOSE, 0, 0);
            return true;
        });
    }
    HWND m_hMain = nullptr;
};

TEST_F(DialogWindow, TheNameEntryDialogIsDrawnOverTheGameFrame)
{
    ShowWindow(m_hMain, SW_SHOW);
    std::vector<std::uint32_t> frame(640 * 480, 0xFF336699);
    plat::PresentFrame(reinterpret_cast<const BYTE*>(frame.data()), 640, 480, 640 * 4, D3DFMT_A8R8G8B8);
    g_GameManager.m_nGameMode = GAMEMODE_OPTIONS;
    g_OptionData.m_strName = "ABC";
    g_bWindowed = 1;
    cShot shot;
    ShootThenEnd(shot, "dialog-name-entry.png");
    RunNameEntryDialog();
    ASSERT_TRUE(shot.taken);
    EXPECT_GT(InkIn(shot, 15, 15, 56, 16), 20) << "the label's text";
    EXPECT_GT(InkIn(shot, 75, 12, 24, 14), 10) << "the name in the edit";
    EXPECT_GT(InkIn(shot, 30, 35, 50, 2), 60) << "the default button's dark frame";
    EXPECT_GT(InkIn(shot, 40, 38, 30, 12), 5) << "OK";
}

TEST_F(DialogWindow, TheDrawingModeDialogHasAWindowOfItsOwnWhileTheGameWindowIsHidden)
{
    g_SystemData.m_strTitle = "Dialog test";
    cShot shot;
    ShootThenEnd(shot, "dialog-drawing-mode.png");
    EXPECT_FALSE(RunDrawingModeDialog());
    ASSERT_TRUE(shot.taken);
    EXPECT_GT(InkIn(shot, 20, 50, 177, 12), 40) << "the note";
    EXPECT_GT(InkIn(shot, 80, 105, 50, 2), 60) << "the default button's dark frame";
    EXPECT_GT(InkIn(shot, 85, 110, 40, 15), 20) << "its text";
}

TEST_F(DialogWindow, TheFileChooserIsDrawnWithItsButtons)
{
    ShowWindow(m_hMain, SW_SHOW);
    cShot shot;
    ShootThenEnd(shot, "dialog-file-chooser.png");
    char path[MAX_PATH] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrFilter = "All\0*\0";
    ofn.lpstrTitle = "choose";
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    ASSERT_TRUE(shot.taken);
    EXPECT_GT(InkIn(shot, 205, 140, 48, 2), 60) << "the default button's dark frame";
    EXPECT_GT(InkIn(shot, 7, 143, 60, 10), 20) << "the name label";
}

TEST_F(DialogWindow, AClickInTheDialogsOwnWindowPressesTheButtonUnderIt)
{
    bool clicked = false;
    plat::SetDialogIdleHook([&clicked](HWND hDlg) {
        if (clicked) {
            PostMessageA(hDlg, WM_CLOSE, 0, 0);
            return true;
        }
        RECT outer{};
        GetWindowRect(hDlg, &outer);
        POINT client{0, 0};
        ClientToScreen(hDlg, &client);
        // The middle of "ゲーム開始" (80, 105, 50, 25 in dialog units), in the window's pixels.
        SDL_Event event{};
        event.type = SDL_MOUSEBUTTONDOWN;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = SDL_PRESSED;
        event.button.x = client.x - outer.left + (80 + 25) * 3 / 2;
        event.button.y = client.y - outer.top + (105 + 12) * 3 / 2;
        SDL_PushEvent(&event);
        event.type = SDL_MOUSEBUTTONUP;
        event.button.state = SDL_RELEASED;
        SDL_PushEvent(&event);
        clicked = true;
        return true;
    });
    EXPECT_TRUE(RunDrawingModeDialog());
}

TEST_F(DialogWindow, AMessageBoxIsADialogOverTheGameFrame)
{
    ShowWindow(m_hMain, SW_SHOW);
    plat::SetBoxesShownBySdl(true);
    cShot shot;
    ShootThenEnd(shot, "dialog-message-box.png");
    EXPECT_EQ(MessageBoxA(m_hMain, "上書きしますか?\n二行目", "box", MB_YESNO), IDNO) << "closed: No";
    ASSERT_TRUE(shot.taken);
    EXPECT_GT(InkIn(shot, 10, 8, 220, 9), 20) << "the first line";
    EXPECT_GT(InkIn(shot, 10, 17, 220, 9), 20) << "the second line";
    // Enter presses the default button, Yes.
    plat::SetDialogIdleHook([](HWND hDlg) {
        SendMessageA(hDlg, WM_COMMAND, IDYES, 0);
        return true;
    });
    EXPECT_EQ(MessageBoxA(m_hMain, "text", "box", MB_YESNO), IDYES);
    plat::SetBoxesShownBySdl(false);
}

}  // namespace
