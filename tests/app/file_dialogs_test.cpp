#include "app/file_dialogs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/device.h"
#include "graphics/palette.h"
#include "platform/input/keyboard.h"
#include "platform/os/files.h"
#include "platform/os/message_box.h"
#include "platform/os/text.h"
#include "platform/ui/dialog_box.h"
#include "platform/video/ddraw.h"
#include "tests/support/cp932_printer.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int kFileList = 1120;
constexpr int kNameEdit = 1152;

const char kStageFilter[] = "StageFile ( *.stg4_*;*.rpl4_* )\0*.stg4_*;*.rpl4_*\0";

class FileDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Folder.ChangeInto();
        for (const char* name : {"data/stg4/Stage1.stg4_692", "data/stg4/STAGE2.STG4_692", u8"data/stg4/ステージ.stg4_692",
                                 "data/stg4/notes.txt", "data/stg4/old.rpl4_692", "data/stg4/sub/inner.stg4_692"})
            m_Folder.WriteFile(name, "x");
        // A name with no CP932 form: the program could not open it, so it is not listed.
        m_Folder.WriteFile(u8"data/stg4/\u00e9\u0301t\u00e9.stg4_692", "x");
        plat::FlushPathCache();
        m_Driver.SetUp("FileDialogsTestMain");
        plat::SetBoxesShownBySdl(false);
        ASSERT_TRUE(plat::ToProgramPath(m_Folder.Path().string(), m_strFolder));
    }
    void TearDown() override { m_Driver.TearDown(); }

    // The rows the chooser lists.
    static std::vector<std::string> Rows(HWND hDlg)
    {
        std::vector<std::string> rows;
        const auto count = SendDlgItemMessageA(hDlg, kFileList, LB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            char row[1024] = {};
            SendDlgItemMessageA(hDlg, kFileList, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(row));
            rows.emplace_back(row);
        }
        return rows;
    }
    bool Open(char* buffer, int size)
    {
        m_Driver.Arm();
        return OpenFileDialog(nullptr, buffer, size, "data\\stg4\\", "open", kStageFilter, "stg4_*;rpl4_*", 0, nullptr);
    }

    qbtest::cTempFolder m_Folder;
    qbtest::cDialogDriver m_Driver;
    std::string m_strFolder;
};

TEST_F(FileDialogs, TheChooserListsMatchingNamesOfAnyCaseAndReturnsTheAbsolutePath)
{
    m_Driver.Then([](HWND hDlg) {
        EXPECT_EQ(Rows(hDlg), (std::vector<std::string>{"[..]", "[sub]", "STAGE2.STG4_692", "Stage1.stg4_692",
                                                          "old.rpl4_692", "ステージ.stg4_692"}));
        SetFocus(GetDlgItem(hDlg, kFileList));
    });
    // Down to the Japanese name, then Enter on it.
    for (int i = 0; i < 6; ++i) m_Driver.Press(VK_DOWN);
    m_Driver.Then([](HWND hDlg) { EXPECT_EQ(qbtest::ControlText(hDlg, kNameEdit), "ステージ.stg4_692"); });
    m_Driver.Press(VK_RETURN);
    char path[MAX_PATH] = {};
    ASSERT_TRUE(Open(path, MAX_PATH));
    EXPECT_EQ(std::string(path), m_strFolder + "\\data\\stg4\\ステージ.stg4_692");

    // A typed name of another case names the file as it is on disk.
    m_Driver.ClearSteps();
    m_Driver.Type("stage2.stg4_692");
    m_Driver.Press(VK_RETURN);
    ASSERT_TRUE(Open(path, MAX_PATH));
    EXPECT_NE(GetFileAttributesA(path), INVALID_FILE_ATTRIBUTES) << path;
    EXPECT_EQ(std::string(path).substr(0, m_strFolder.size()), m_strFolder);
}

TEST_F(FileDialogs, APathLongerThanTheBufferFailsInsteadOfBeingCut)
{
    const std::string deep(200, 'd');
    m_Folder.WriteFile("data/stg4/" + deep + "/" + std::string(60, 'n') + ".stg4_692", "x");
    plat::FlushPathCache();
    const std::string typed = deep + "\\" + std::string(60, 'n') + ".stg4_692";
    m_Driver.Type(typed);
    m_Driver.Press(VK_RETURN);
    char path[MAX_PATH] = {};
    EXPECT_FALSE(Open(path, MAX_PATH));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    EXPECT_STREQ(path, "");
}

TEST_F(FileDialogs, TheSaveDialogTakesANewNameWithItsExtensionAndAsksBeforeOverwriting)
{
    m_Folder.WriteFile("user_data/rpl4/kept.rpl4_692", "x");
    plat::FlushPathCache();
    static int s_nBoxes = 0;
    static int s_nAnswer = IDNO;
    plat::SetBoxAnswerSource([](UINT, const char*) {
        ++s_nBoxes;
        return s_nAnswer;
    });
    struct Case { const char* typed; int answer; bool chosen; const char* file; int boxes; } cases[] = {
        {"new", IDNO, true, "new.rpl4_692", 0},
        {"kept", IDNO, false, "", 1},
        {"kept", IDYES, true, "kept.rpl4_692", 1},
    };
    for (const Case& c : cases) {
        s_nBoxes = 0;
        s_nAnswer = c.answer;
        m_Driver.ClearSteps();
        m_Driver.Type(c.typed);
        m_Driver.Press(VK_RETURN);
        m_Driver.Press(VK_ESCAPE);
        m_Driver.Arm();
        char path[MAX_PATH] = {};
        const bool chosen =
            SaveFileDialog(nullptr, path, "user_data\\rpl4\\", "save", "ReplayFile ( *.rpl4_692 )\0*.rpl4_692\0", "rpl4_692", 0);
        EXPECT_EQ(chosen, c.chosen) << c.typed;
        EXPECT_EQ(s_nBoxes, c.boxes) << c.typed;
        if (c.chosen) {
            EXPECT_EQ(std::string(path), m_strFolder + "\\user_data\\rpl4\\" + c.file);
        }
    }
    plat::SetBoxAnswerSource(nullptr);
    // The kept name is offered first.
    char path[MAX_PATH] = "proposed.rpl4_692";
    m_Driver.ClearSteps();
    m_Driver.Then([](HWND hDlg) { EXPECT_EQ(qbtest::ControlText(hDlg, kNameEdit), "proposed.rpl4_692"); });
    m_Driver.Press(VK_ESCAPE);
    m_Driver.Arm();
    EXPECT_FALSE(SaveFileDialog(nullptr, path, "user_data\\rpl4\\", "save", "R\0*.rpl4_692\0", "rpl4_692", 1));
}

TEST_F(FileDialogs, EntryZeroOfThePaletteIsBlackWhileTheChooserIsOpenAndComesBackOnCancel)
{
    DDCONTEXT context;
    IDirectDrawPalette palette;
    palette.AddRef();
    g_DisplayPalette[0] = PALETTEENTRY{10, 20, 30, 0};
    palette.m_Entries[0] = g_DisplayPalette[0];
    lpDDCon = &context;
    g_nBpp = 8;
    g_lpDDPalette = &palette;
    m_Driver.Then([&](HWND) {
        EXPECT_EQ(palette.m_Entries[0].peRed + palette.m_Entries[0].peGreen + palette.m_Entries[0].peBlue, 0);
    });
    m_Driver.Press(VK_ESCAPE);
    char path[MAX_PATH] = {};
    EXPECT_FALSE(Open(path, MAX_PATH));
    EXPECT_EQ(palette.m_Entries[0].peRed, 10);
    EXPECT_EQ(palette.m_Entries[0].peGreen, 20);
    EXPECT_EQ(palette.m_Entries[0].peBlue, 30);
    g_lpDDPalette = nullptr;
    lpDDCon = nullptr;
    g_nBpp = 0;
}

TEST_F(FileDialogs, WithoutAPlayerAFileDialogCancelsUnlessTheScriptNamesAFile)
{
    qbtest::cDialogAnswers answers;
    char path[MAX_PATH] = {};
    EXPECT_FALSE(OpenFileDialog(nullptr, path, MAX_PATH, "data\\stg4\\", "open", kStageFilter, "stg4_*", 0, nullptr));
    answers.Add("Stage1.stg4_692");
    EXPECT_TRUE(OpenFileDialog(nullptr, path, MAX_PATH, "data\\stg4\\", "open", kStageFilter, "stg4_*", 0, nullptr));
    EXPECT_EQ(std::string(path), m_strFolder + "\\data\\stg4\\Stage1.stg4_692");
    answers.Add("missing.stg4_692");
    EXPECT_FALSE(OpenFileDialog(nullptr, path, MAX_PATH, "data\\stg4\\", "open", kStageFilter, "stg4_*", 0, nullptr));
    // The working folder is never changed by a chooser.
    std::string folder;
    ASSERT_TRUE(plat::ToProgramPath(std::filesystem::current_path().string(), folder));
    EXPECT_EQ(folder, m_strFolder);
}

TEST(FileDialogResults, OnlyTheEntriesOfThisCallGetTheFolder)
{
    cSafeVector<std::string> results;
    results.push_back("earlier");
    const char several[] = "\\game\\data\0a.stg4_1\0b.stg4_1\0";
    AppendChosenFiles(several, sizeof several, results);
    EXPECT_EQ(std::vector<std::string>(results.begin(), results.end()),
              (std::vector<std::string>{"earlier", "\\game\\data\\a.stg4_1", "\\game\\data\\b.stg4_1"}));
    const char one[] = "\\game\\data\\c.stg4_1\0";
    AppendChosenFiles(one, sizeof one, results);
    EXPECT_EQ(results.back(), "\\game\\data\\c.stg4_1");
}

TEST(FilePatterns, MatchWithoutRegardToAsciiCaseOverDoubleByteNames)
{
    struct Case { const char* name; const char* patterns; bool matches; } cases[] = {
        {"Stage1.STG4_692", "*.stg4_*;*.rpl4_*", true},
        {"x.rpl4_1", "*.stg4_*; *.rpl4_*", true},
        {"x.txt", "*.stg4_*;*.rpl4_*", false},
        {"ソ.stg4_1", "*.stg4_*", true},       // trail byte 0x5C is no separator
        {"表.stg4_1", "?.STG4_*", true},       // one double-byte character is one '?'
        {"ab", "a", false},
    };
    for (const Case& c : cases) EXPECT_EQ(plat::MatchesFilePatterns(c.name, c.patterns), c.matches) << c.name;
}

}  // namespace
