#include "app/name_entry_dialog.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/main_window.h"
#include "app/start_up.h"
#include "data/option_data.h"
#include "platform/input/keyboard.h"
#include "platform/os/message_box.h"
#include "platform/ui/dialog_box.h"
#include "play/game_manager.h"
#include "play/play_scene.h"
#include "shell/system_ini.h"
#include "tests/support/cp932_printer.h"
#include "tests/support/dialog_driver.h"

namespace {

constexpr int kEntryNameEdit = 1003;

class NameEntryDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Driver.SetUp("NameEntryDialogTestMain");
        plat::SetBoxesShownBySdl(false);
        g_bWindowed = 1;
        g_MainWindow.m_ptPos = POINT{100, 50};
        g_GameManager.m_nGameMode = GAMEMODE_OPTIONS;
        g_OptionData.m_strName = "aaa";
        g_SystemIni.English = 0;
    }
    void TearDown() override
    {
        g_lpPlayScene.store(nullptr);
        g_GameManager.m_nGameMode = GAMEMODE_NEWSTORY;
        g_bWindowed = 1;
        m_Driver.TearDown();
    }
    void Run()
    {
        m_Driver.Arm();
        RunNameEntryDialog();
        EXPECT_EQ(g_lpNameEntryDialog, nullptr) << "the live dialog pointer is cleared when it ends";
    }
    qbtest::cDialogDriver m_Driver;
};

TEST_F(NameEntryDialog, OnTheOptionsScreenTheRegisteredNameIsSelectedAndTypingReplacesIt)
{
    m_Driver.Then([](HWND hDlg) {
        EXPECT_EQ(qbtest::ControlText(hDlg, kEntryNameEdit), "aaa");
        EXPECT_EQ(qbtest::ControlSelection(hDlg, kEntryNameEdit), std::make_pair(0, 3));
    });
    m_Driver.Type("ABCD");
    m_Driver.Then([](HWND hDlg) {
        EXPECT_EQ(qbtest::ControlText(hDlg, kEntryNameEdit), "ABC");
        EXPECT_EQ(qbtest::ControlSelection(hDlg, kEntryNameEdit), std::make_pair(3, 3));
    });
    m_Driver.Press(VK_RETURN);
    Run();
    EXPECT_EQ(g_OptionData.m_strName, "ABC");
}

TEST_F(NameEntryDialog, AfterAStageTheRankingNameIsCutToThreeCharactersAndOnlyOkWritesIt)
{
    cPlayScene scene;
    scene.m_StageClear.m_strRankingName = "アイウエ";
    g_lpPlayScene.store(&scene);
    g_GameManager.m_nGameMode = GAMEMODE_FREEPLAY;
    m_Driver.Then([](HWND hDlg) { EXPECT_EQ(qbtest::ControlText(hDlg, kEntryNameEdit), "アイウ"); });
    m_Driver.Press(VK_RETURN);
    Run();
    EXPECT_EQ(scene.m_StageClear.m_strRankingName, "アイウ");
    EXPECT_EQ(g_OptionData.m_strName, "aaa");

    // Closed: the old name stays.
    m_Driver.ClearSteps();
    m_Driver.Type("XY");
    m_Driver.Then([](HWND hDlg) { PostMessageA(hDlg, WM_CLOSE, 0, 0); });
    Run();
    EXPECT_EQ(scene.m_StageClear.m_strRankingName, "アイウ");
}

TEST_F(NameEntryDialog, ASceneThatGoesAwayWhileTheDialogIsOpenIsNotWrittenTo)
{
    auto scene = std::make_unique<cPlayScene>();
    scene->m_StageClear.m_strRankingName = "old";
    g_lpPlayScene.store(scene.get());
    g_GameManager.m_nGameMode = GAMEMODE_FREEPLAY;
    m_Driver.Type("Z");
    m_Driver.Then([&](HWND) { g_lpPlayScene.store(nullptr); });
    m_Driver.Press(VK_RETURN);
    Run();
    EXPECT_EQ(scene->m_StageClear.m_strRankingName, "old");
}

TEST_F(NameEntryDialog, EnterThatConfirmsACompositionDoesNotEndTheDialog)
{
    m_Driver.Compose(u8"か");
    m_Driver.Press(VK_RETURN);
    m_Driver.Then([](HWND hDlg) {
        EXPECT_EQ(plat::OpenDialog(), hDlg) << "still open";
        EXPECT_EQ(qbtest::ControlText(hDlg, kEntryNameEdit), "aaa");
    });
    m_Driver.Commit(u8"か");
    m_Driver.Press(VK_RETURN);
    m_Driver.Arm();
    EXPECT_EQ(cNameEntryDialog().DoModal(0), 1);
    EXPECT_EQ(g_OptionData.m_strName, "か");
}

TEST_F(NameEntryDialog, TheDialogAndTheCursorGoWhereTheScreenModeSays)
{
    struct Case { int windowed; POINT dialog; POINT cursor; } cases[] = {
        {1, {340, 270}, {420, 335}},
        {0, {240, 220}, {320, 285}},
    };
    for (const Case& c : cases) {
        g_bWindowed = c.windowed;
        m_Driver.ClearSteps();
        m_Driver.Then([&](HWND hDlg) {
            RECT rect{};
            GetWindowRect(hDlg, &rect);
            EXPECT_EQ(rect.left, c.dialog.x) << c.windowed;
            EXPECT_EQ(rect.top, c.dialog.y) << c.windowed;
            EXPECT_EQ(plat::LastCursorRequest().x, c.cursor.x) << c.windowed;
            EXPECT_EQ(plat::LastCursorRequest().y, c.cursor.y) << c.windowed;
        });
        m_Driver.Press(VK_RETURN);
        Run();
    }
}

TEST_F(NameEntryDialog, TheEnglishSettingChangesTheLabel)
{
    g_SystemIni.English = 1;
    m_Driver.Then([](HWND hDlg) { EXPECT_EQ(qbtest::ControlText(hDlg, 1007), "     Name"); });
    Run();
    g_SystemIni.English = 0;
}

TEST_F(NameEntryDialog, WithoutAPlayerTheScriptsAnswerIsTypedAndOkPressed)
{
    qbtest::cDialogAnswers answers;
    answers.Add("ABCD");
    RunNameEntryDialog();
    EXPECT_EQ(g_OptionData.m_strName, "ABC");
    // No answer left: OK is pressed on the name as it is.
    RunNameEntryDialog();
    EXPECT_EQ(g_OptionData.m_strName, "ABC");
}

}  // namespace
