#include "app/drawing_mode_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/main_window.h"
#include "data/boot_data.h"
#include "data/system_data.h"
#include "platform/input/keyboard.h"
#include "platform/os/files.h"
#include "platform/ui/dialog_box.h"
#include "shell/log.h"
#include "shell/system_ini.h"
#include "tests/support/cp932_printer.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int kStart = 1000, kCancel = 1001, kDirect3D = 1002, kDirectDraw = 1003, kDoNotAsk = 1004, kNote = 1005,
              kGroup = 1006;

LRESULT Checked(HWND hDlg, int id) { return SendDlgItemMessageA(hDlg, id, BM_GETCHECK, 0, 0); }

class DrawingModeDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Folder.ChangeInto();
        std::filesystem::create_directories(m_Folder.Path() / "user_data");
        plat::FlushPathCache();
        ASSERT_TRUE(OpenReportFile("Report_Game.txt"));
        m_Driver.SetUp("DrawingModeDialogTestMain");
        g_BootData = cBootData();
        g_SystemData.m_strTitle = "ゲームの題名";
        g_SystemIni.English = 0;
        g_MainWindow.m_ptPos = POINT{200, 150};
    }
    void TearDown() override
    {
        m_Driver.TearDown();
        g_SystemIni.English = 0;
    }
    bool Run()
    {
        m_Driver.Arm();
        const bool started = RunDrawingModeDialog();
        EXPECT_EQ(g_lpDrawingModeDialog, nullptr);
        return started;
    }
    static cBootData SavedBoot()
    {
        cBootData saved;
        saved.m_nDrawingMode = -1;
        saved.m_bDoNotAsk = -1;
        saved.Load("user_data\\Boot.dat");
        return saved;
    }

    qbtest::cTempFolder m_Folder;
    qbtest::cDialogDriver m_Driver;
};

TEST_F(DrawingModeDialog, OpensWithTheSavedChoiceUnderTheGamesTitle)
{
    m_Driver.Then([](HWND hDlg) {
        EXPECT_EQ(plat::WindowTitle(hDlg), "ゲームの題名");
        EXPECT_EQ(Checked(hDlg, kDirect3D), 1);
        EXPECT_EQ(Checked(hDlg, kDirectDraw), 0);
        EXPECT_EQ(Checked(hDlg, kDoNotAsk), 0);
        EXPECT_EQ(qbtest::ControlText(hDlg, kStart), "ゲーム開始");
        RECT rect{};
        GetWindowRect(hDlg, &rect);
        EXPECT_EQ(rect.left, 200 + 320 - 187);
        EXPECT_EQ(rect.top, 150 + 240 - 136);
        EXPECT_EQ(plat::LastCursorRequest().x, static_cast<int>(333 + 181.9));
        EXPECT_EQ(plat::LastCursorRequest().y, static_cast<int>(254 + 198.9));
    });
    m_Driver.Then([](HWND hDlg) { SendDlgItemMessageA(hDlg, kCancel, BM_CLICK, 0, 0); });
    EXPECT_FALSE(Run());
    EXPECT_FALSE(m_Folder.Exists("user_data/Boot.dat")) << "Cancel saves nothing";
}

TEST_F(DrawingModeDialog, StartSavesTheChosenModeAndTheTickBeforeItEnds)
{
    // Arrows move within the radio group; Space ticks the box; Enter presses Start.
    m_Driver.Then([](HWND hDlg) { SetFocus(GetDlgItem(hDlg, kDirect3D)); });
    m_Driver.Press(VK_RIGHT);
    m_Driver.Then([](HWND hDlg) { SetFocus(GetDlgItem(hDlg, kDoNotAsk)); });
    m_Driver.Press(VK_SPACE);
    m_Driver.Then([](HWND hDlg) {
        EXPECT_EQ(Checked(hDlg, kDirectDraw), 1);
        EXPECT_EQ(Checked(hDlg, kDirect3D), 0);
        SetFocus(GetDlgItem(hDlg, kStart));
    });
    m_Driver.Press(VK_RETURN);
    EXPECT_TRUE(Run());
    EXPECT_EQ(g_BootData.m_nDrawingMode, 0);
    EXPECT_EQ(g_BootData.m_bDoNotAsk, 1);
    const cBootData saved = SavedBoot();
    EXPECT_EQ(saved.m_nDrawingMode, 0);
    EXPECT_EQ(saved.m_bDoNotAsk, 1);
}

TEST_F(DrawingModeDialog, AChoiceThatCannotBeSavedHoldsForThisRunWithOneReportLine)
{
    std::filesystem::remove_all(m_Folder.Path() / "user_data");
    m_Folder.WriteFile("user_data", "a file where the folder should be");
    plat::FlushPathCache();
    m_Driver.Then([](HWND hDlg) { SendDlgItemMessageA(hDlg, kDirectDraw, BM_CLICK, 0, 0); });
    m_Driver.Press(VK_RETURN);
    EXPECT_TRUE(Run());
    EXPECT_EQ(g_BootData.m_nDrawingMode, 0);
    const std::string report = m_Folder.ReadFile("Report_Game.txt");
    EXPECT_NE(report.find("user_data\\Boot.dat の保存に失敗しました"), std::string::npos) << report;
}

TEST_F(DrawingModeDialog, TheEnglishSettingReplacesTheTextsButNotTheModeNames)
{
    g_SystemIni.English = 1;
    m_Driver.Then([](HWND hDlg) {
        EXPECT_EQ(qbtest::ControlText(hDlg, kGroup), "Drawing mode");
        EXPECT_EQ(qbtest::ControlText(hDlg, kStart), "Start");
        EXPECT_EQ(qbtest::ControlText(hDlg, kCancel), "Cancel");
        EXPECT_EQ(qbtest::ControlText(hDlg, kNote), "Configure the detail settings at \"System.ini\".");
        EXPECT_EQ(qbtest::ControlText(hDlg, kDoNotAsk), "Do not ask this dialog again");
        EXPECT_EQ(qbtest::ControlText(hDlg, kDirect3D), "Direct3D");
        EXPECT_EQ(qbtest::ControlText(hDlg, kDirectDraw), "DirectDraw");
        PostMessageA(hDlg, WM_CLOSE, 0, 0);
    });
    EXPECT_FALSE(Run()) << "the close box ends the start-up as Cancel does";
}

}  // namespace
