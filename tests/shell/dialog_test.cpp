#include "shell/dialog.h"

#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <algorithm>

#include <memory>
#include <vector>

#include "platform/input/keyboard.h"
#include "platform/ui/dialog_box.h"
#include "shell/dialog_controls.h"
#include "tests/support/cp932_printer.h"
#include "tests/support/dialog_driver.h"

namespace {

constexpr WORD kTemplate = 900;
constexpr WORD kEdit = 10;
constexpr WORD kOk = 11;
constexpr WORD kCheck = 12;
constexpr WORD kRadioA = 13;
constexpr WORD kRadioB = 14;
constexpr int kVkHome = 0x24;

const DIALOGITEM s_Items[] = {
    {kEdit, eDialogItem::Edit, nullptr, 10, 10, 100, 14, WS_TABSTOP},
    {kOk, eDialogItem::DefButton, "OK", 10, 30, 50, 14, WS_TABSTOP},
    {kCheck, eDialogItem::AutoCheckBox, "check", 10, 50, 60, 10, WS_TABSTOP},
    {kRadioA, eDialogItem::AutoRadio, "A", 10, 62, 30, 10, WS_TABSTOP},
    {kRadioB, eDialogItem::AutoRadio, "B", 50, 62, 30, 10, WS_TABSTOP},
};
const DIALOGTEMPLATE s_Template{kTemplate, WS_CAPTION, 150, 80, "ＭＳ Ｐゴシック", 9, "test", s_Items,
                                static_cast<int>(std::size(s_Items)), false};

// A dialog with one bound edit, a check box and two radio buttons; OK stores and ends with 1.
class cTestDialog : public cDialog {
public:
    explicit cTestDialog(const EDITDESC& desc) : m_Desc(desc), m_Check(&m_nCheck), m_A(&m_nRadio, 1), m_B(&m_nRadio, 2)
    {
        plat::RegisterDialogTemplate(&s_Template);
        Init(kTemplate, nullptr, 0, &g_WindowRegistry);
        m_DialogProc = Proc;
        s_lpLive = this;
    }
    ~cTestDialog() override { s_lpLive = nullptr; }
    void OnInit(WPARAM wParam, LPARAM lParam) override
    {
        cDialog::OnInit(wParam, lParam);
        m_Edit.Attach(this, m_Desc);
        m_Controls.push_back(&m_Edit);
        m_Check.Attach(this, kCheck);
        m_Controls.push_back(&m_Check);
        m_A.Attach(this, kRadioA);
        m_Controls.push_back(&m_A);
        m_B.Attach(this, kRadioB);
        m_Controls.push_back(&m_B);
        LoadValues();
        SetFocus(m_Edit.m_hWnd);
        if (m_bSelectAll) SendMessageA(m_Edit.m_hWnd, EM_SETSEL, 0, 2147483647);
    }
    void OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        cDialog::OnCommand(wParam, lParam);
        if ((wParam & 0xFFFF) == kOk) {
            StoreValues();
            End(1);
        }
    }
    LRESULT MessageProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_KEYDOWN) m_KeysSeen.push_back(static_cast<int>(wParam));
        return cDialog::MessageProc(hWnd, msg, wParam, lParam);
    }
    static INT_PTR Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        return s_lpLive ? s_lpLive->OnMessage(hWnd, msg, wParam, lParam) : 0;
    }

    EDITDESC m_Desc;
    cEditControl m_Edit;
    int m_nCheck = 0;
    int m_nRadio = 2;
    cCheckBoxControl m_Check;
    cRadioControl m_A, m_B;
    bool m_bSelectAll = false;
    std::vector<int> m_KeysSeen;
    static cTestDialog* s_lpLive;
};
cTestDialog* cTestDialog::s_lpLive = nullptr;

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { m_Driver.SetUp("DialogTestMain"); }
    void TearDown() override { m_Driver.TearDown(); }

    // Runs a dialog over the bound text with the steps given so far.
    INT_PTR Run(cTestDialog& dialog)
    {
        m_Driver.Arm();
        return dialog.DoModal(0);
    }
    void Expect(const char* what, std::string expectedText, int expectedCaret)
    {
        m_Driver.Then([=](HWND hDlg) {
            EXPECT_EQ(qbtest::ControlText(hDlg, kEdit), expectedText) << what;
            EXPECT_EQ(qbtest::ControlSelection(hDlg, kEdit), std::make_pair(expectedCaret, expectedCaret)) << what;
        });
    }

    qbtest::cDialogDriver m_Driver;
};

TEST_F(DialogTest, TypedCharactersBeyondTheLimitAreRefusedWithTheCaretWhereItWas)
{
    struct Case {
        const char* typed;      // UTF-8, typed one character at a time
        const char* kept;       // CP932
        int caret;
    } cases[] = {
        {"ABCD", "ABC", 3},
        {u8"アイウエ", "アイウ", 6},
        {u8"AイウD", "Aイウ", 5},
    };
    for (const Case& c : cases) {
        std::string name;
        cTestDialog dialog(MakeEditDesc(kEdit, &name, 3, 1));
        m_Driver.ClearSteps();
        m_Driver.Type(c.typed);
        Expect(c.typed, c.kept, c.caret);
        m_Driver.Press(VK_RETURN);
        EXPECT_EQ(Run(dialog), 1) << c.typed;
        EXPECT_EQ(name, c.kept) << c.typed;
    }
}

// "ABC" is full: whatever is typed or pasted into it is refused, and the caret or the selection
// stays where it was before, wherever that is.
TEST_F(DialogTest, ARefusedChangeLeavesTheCaretOrTheSelectionWhereItWas)
{
    struct Case {
        const char* what;
        std::vector<int> moves;  // keys pressed after "ABC" is typed; SHIFT is held for those after it
        const char* typed;       // UTF-8 (null: "XY" pasted)
        std::pair<int, int> selection;
    } cases[] = {
        {"typed at the start", {kVkHome}, "X", {0, 0}},
        {"double-byte typed in the middle", {kVkHome, VK_RIGHT}, u8"ア", {1, 1}},
        {"typed before the last", {VK_LEFT}, "A", {2, 2}},
        {"pasted over a selection", {kVkHome, VK_RIGHT, VK_SHIFT, VK_RIGHT}, nullptr, {1, 2}},
    };
    for (const Case& c : cases) {
        std::string name;
        cTestDialog dialog(MakeEditDesc(kEdit, &name, 3, 1));
        m_Driver.ClearSteps();
        m_Driver.Type("ABC");
        bool shift = false;
        for (int key : c.moves) {
            if (key == VK_SHIFT) {
                m_Driver.Hold(VK_SHIFT);
                shift = true;
                continue;
            }
            m_Driver.Press(key);
        }
        if (shift) m_Driver.Release(VK_SHIFT);
        if (c.typed) {
            m_Driver.Type(c.typed);
        } else {
            m_Driver.Then([](HWND) { SDL_SetClipboardText("XY"); });
            m_Driver.Hold(VK_CONTROL);
            m_Driver.Press('V');
            m_Driver.Release(VK_CONTROL);
        }
        m_Driver.Then([&](HWND hDlg) {
            EXPECT_EQ(qbtest::ControlText(hDlg, kEdit), "ABC") << c.what;
            EXPECT_EQ(qbtest::ControlSelection(hDlg, kEdit), c.selection) << c.what;
        });
        m_Driver.Press(VK_RETURN);
        EXPECT_EQ(Run(dialog), 1) << c.what;
        EXPECT_EQ(name, "ABC") << c.what;
    }
}

TEST_F(DialogTest, AStoredTextThatDoesNotFitIsCutWhenTheEditIsAttached)
{
    std::string name = "ABCDE";
    cTestDialog dialog(MakeEditDesc(kEdit, &name, 3, 1));
    m_Driver.Then([](HWND hDlg) { EXPECT_EQ(qbtest::ControlText(hDlg, kEdit), "ABC"); });
    m_Driver.Press(VK_RETURN);
    EXPECT_EQ(Run(dialog), 1);
    EXPECT_EQ(name, "ABC");
}

TEST_F(DialogTest, TypingReplacesTheSelection)
{
    std::string name = "aaa";
    cTestDialog dialog(MakeEditDesc(kEdit, &name, 3, 1));
    dialog.m_bSelectAll = true;
    m_Driver.Then([](HWND hDlg) { EXPECT_EQ(qbtest::ControlSelection(hDlg, kEdit), std::make_pair(0, 3)); });
    m_Driver.Type(u8"ア");
    Expect("whole text replaced", "ア", 2);
    m_Driver.Type("BC");
    m_Driver.Hold(VK_SHIFT);
    m_Driver.Press(VK_LEFT);
    m_Driver.Release(VK_SHIFT);
    m_Driver.Type(u8"イ");
    Expect("last character replaced", "アBイ", 5);
    m_Driver.Press(VK_RETURN);
    EXPECT_EQ(Run(dialog), 1);
    EXPECT_EQ(name, "アBイ");
}

TEST_F(DialogTest, APasteIsCutAtItsFirstLineBreakAndThenValidated)
{
    struct Case {
        const char* clipboard;
        const char* kept;
    } cases[] = {{"XY\r\nZ", "XY"}, {"WXYZ", ""}, {u8"カナ\nX", "カナ"}};
    for (const Case& c : cases) {
        std::string name;
        cTestDialog dialog(MakeEditDesc(kEdit, &name, 3, 1));
        m_Driver.ClearSteps();
        m_Driver.Then([&](HWND) { SDL_SetClipboardText(c.clipboard); });
        m_Driver.Hold(VK_CONTROL);
        m_Driver.Press('V');
        m_Driver.Release(VK_CONTROL);
        m_Driver.Press(VK_RETURN);
        EXPECT_EQ(Run(dialog), 1) << c.clipboard;
        EXPECT_EQ(name, c.kept) << c.clipboard;
    }
}

TEST_F(DialogTest, BackspaceJoinsLinesOnlyWhenTheJoinedLineWouldFit)
{
    struct Case {
        const char* text;
        int caret;
        const char* kept;
    } cases[] = {
        {"ABC\r\nDE", 5, "ABC\r\nDE"},   // the line above is full: the break stays
        {"AB\r\nDE", 4, "ABD\r\nE"},     // joined, then wrapped at three
        {"AB\r\nD", 4, "ABD"},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        cTestDialog dialog(EDITDESC{kEdit, &text, 0, 3, 2, 1});
        m_Driver.ClearSteps();
        m_Driver.Then([&](HWND hDlg) {
            EXPECT_EQ(qbtest::ControlText(hDlg, kEdit), c.text);
            SendDlgItemMessageA(hDlg, kEdit, EM_SETSEL, static_cast<WPARAM>(c.caret), c.caret);
        });
        m_Driver.Press(VK_BACK);
        m_Driver.Press(VK_RETURN);
        EXPECT_EQ(Run(dialog), 1) << c.text;
        EXPECT_EQ(text, c.kept) << c.text;
    }
}

TEST_F(DialogTest, ReadingAnEditNeverGoesBeyondItsBuffer)
{
    // The default limit with the double-byte flag reads 8191 bytes: held to the 5120 of the buffer.
    std::string text;
    cTestDialog dialog(EDITDESC{kEdit, &text, 0, 0, 0, 1});
    m_Driver.Then([&](HWND hDlg) {
        EXPECT_EQ(dialog.m_Edit.ReadLimit(), 2 * 4096 - 1);
        const std::string big(6000, 'x');
        SetDlgItemTextA(hDlg, kEdit, big.c_str());
        std::string read;
        GetDlgItemString(hDlg, kEdit, read, dialog.m_Edit.ReadLimit());
        EXPECT_EQ(read.size(), static_cast<std::size_t>(kDlgItemStringBuffer - 1));
    });
    Run(dialog);
}

TEST_F(DialogTest, TheFrameworkBindsControlsAndEndsAsTold)
{
    std::string name = "ab";
    cTestDialog dialog(MakeEditDesc(kEdit, &name, 3, 0));
    m_Driver.Then([&](HWND hDlg) {
        EXPECT_EQ(dialog.DoModal(0), 0) << "a dialog that is open does not open again";
        EXPECT_EQ(SendDlgItemMessageA(hDlg, kRadioB, BM_GETCHECK, 0, 0), 1);
        EXPECT_EQ(SendDlgItemMessageA(hDlg, kRadioA, BM_GETCHECK, 0, 0), 0);
        // A command for a control nobody bound changes nothing.
        SendMessageA(hDlg, WM_COMMAND, 777, 0);
        EXPECT_EQ(qbtest::ControlText(hDlg, kEdit), "ab");
    });
    // Two Tabs go past OK to the check box, Space ticks it; the radio group takes the arrows.
    m_Driver.Press(VK_TAB);
    m_Driver.Press(VK_TAB);
    m_Driver.Press(VK_SPACE);
    m_Driver.Press(VK_TAB);
    m_Driver.Press(VK_LEFT);
    m_Driver.Then([](HWND hDlg) { EXPECT_EQ(SendDlgItemMessageA(hDlg, kRadioA, BM_GETCHECK, 0, 0), 1); });
    m_Driver.Then([](HWND hDlg) { PostMessageA(hDlg, WM_CLOSE, 0, 0); });
    EXPECT_EQ(Run(dialog), 0) << "WM_CLOSE ends the dialog with 0";
    EXPECT_EQ(dialog.m_nCheck, 0) << "nothing is stored without OK";
    EXPECT_EQ(dialog.m_hWnd, nullptr);

    m_Driver.ClearSteps();
    m_Driver.Press(VK_TAB);
    m_Driver.Press(VK_TAB);
    m_Driver.Press(VK_SPACE);
    m_Driver.Press(VK_TAB);
    m_Driver.Press(VK_LEFT);
    m_Driver.Press(VK_RETURN);
    EXPECT_EQ(Run(dialog), 1);
    EXPECT_EQ(dialog.m_nCheck, 1);
    EXPECT_EQ(dialog.m_nRadio, 1);
}

TEST_F(DialogTest, AnArrowKeyReachesTheDialogOnce)
{
    std::string name;
    cTestDialog dialog(MakeEditDesc(kEdit, &name, 3, 1));
    m_Driver.Press(VK_LEFT);
    m_Driver.Press('Q');
    m_Driver.Then([&](HWND) {
        EXPECT_EQ(dialog.m_KeysSeen, (std::vector<int>{VK_LEFT, 'Q'}));
    });
    Run(dialog);
}

TEST_F(DialogTest, EnterWhileComposingDoesNotPressTheDefaultButton)
{
    std::string name;
    cTestDialog dialog(MakeEditDesc(kEdit, &name, 3, 1));
    m_Driver.Compose(u8"か");
    m_Driver.Press(VK_RETURN);
    m_Driver.Then([&](HWND hDlg) {
        EXPECT_EQ(qbtest::ControlText(hDlg, kEdit), "") << "the composition is not yet text";
        EXPECT_TRUE(std::find(dialog.m_KeysSeen.begin(), dialog.m_KeysSeen.end(), VK_RETURN) == dialog.m_KeysSeen.end());
    });
    m_Driver.Commit(u8"か");
    m_Driver.Press(VK_RETURN);
    EXPECT_EQ(Run(dialog), 1);
    EXPECT_EQ(name, "か");
}

TEST_F(DialogTest, ACloseRequestForTheProgramEndsTheDialogWithZeroAndGoesOn)
{
    std::string name;
    cTestDialog dialog(MakeEditDesc(kEdit, &name, 3, 1));
    m_Driver.Type("AB");
    m_Driver.Then([&](HWND) { PostMessageA(m_Driver.MainWindow(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(Run(dialog), 0);
    EXPECT_EQ(name, "");
    MSG msg{};
    bool closeGoesOn = false;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message == WM_CLOSE && msg.hwnd == m_Driver.MainWindow()) closeGoesOn = true;
    EXPECT_TRUE(closeGoesOn);
}

}  // namespace
