#pragma once
// What the dialog toolkit's files share: the records of open dialogs and their controls.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/dialog_box.h"

namespace plat {

struct cDlgControl {
    HWND hWnd = nullptr;
    HWND hDlg = nullptr;
    WORD id = 0;
    eDialogItem kind = eDialogItem::Static;
    DWORD style = 0;
    RECT rc{};                 // pixels, relative to the dialog's client area
    std::string text;          // CP932
    bool bEnabled = true;
    int nCheck = 0;
    int nSelStart = 0;         // edit selection in bytes; the caret is at nSelEnd
    int nSelEnd = 0;
    int nScroll = 0;           // edit: first byte shown; list: first row shown
    std::vector<std::string> items;  // list rows
    int nCurSel = -1;
};

struct cDlgWindow {
    HWND hWnd = nullptr;
    HWND hParent = nullptr;
    const DIALOGTEMPLATE* lpTemplate = nullptr;
    DLGPROC dlgProc = nullptr;
    WNDPROC wndProc = nullptr;          // the window procedure, replaced when subclassed
    std::vector<std::unique_ptr<cDlgControl>> controls;
    HWND hFocus = nullptr;
    bool bEnded = false;
    INT_PTR nResult = 0;
    bool bDirty = true;
    int nClientWidth = 0, nClientHeight = 0;
    HWND hPreviousActive = nullptr;
    std::uint64_t nFrameDrawnOver = 0;  // the generation of the game frame last drawn over
};

// The records, found by the dialog's or a control's handle (null when it is not one of ours).
cDlgWindow* FindDialog(HWND hDlg);
cDlgControl* FindControl(HWND hCtl);
cDlgControl* FindControlById(cDlgWindow& dlg, int id);

// Font metrics of the dialogs: one dialog unit is 1.5 pixels.
inline int DialogUnitsToPixels(int units) { return units * 3 / 2; }
constexpr int kCaptionHeight = 20;
constexpr int kDialogTextHeight = 12;
constexpr int kListRowHeight = 15;

// The control window procedure (text, selection, checks, list rows).
LRESULT ControlWindowProc(HWND hCtl, UINT msg, WPARAM wParam, LPARAM lParam);
// A user change of an edit's text: the new text and selection, then EN_UPDATE (before it is
// drawn) and EN_CHANGE to the dialog.
void UserEditChange(cDlgControl& edit, const std::string& text, int selStart, int selEnd);
// Typed text into the focused edit: replaces the selection (a paste is cut at its first line
// break).
void TypeIntoEdit(cDlgControl& edit, const std::string& cp932);
// Keys of the focused edit (caret moves, deletion, clipboard).
void EditKey(cDlgControl& edit, int virtualKey);
// Clicks a button: checks an auto radio (and clears its group) or toggles an auto check box,
// then BN_CLICKED to the dialog.
void ClickButton(cDlgWindow& dlg, cDlgControl& button);

// Whether two controls are radio buttons of one group.
bool InRadioGroupOf(const cDlgWindow& dlg, const cDlgControl& a, const cDlgControl& b);

// The dialog manager's keys; true when the key was taken.
bool DialogManagerKey(cDlgWindow& dlg, int virtualKey);
// Moves the focus (EN_SETFOCUS / EN_KILLFOCUS for edits, text input follows the edit).
void MoveFocus(cDlgWindow& dlg, HWND hTo);
bool CanTakeFocus(const cDlgControl& control);
// A mouse click at a point of the dialog's client area.
void DialogClick(cDlgWindow& dlg, POINT client);

// Draws the dialog over the game screen's last frame, or into its own window while the game
// window is hidden.
void DrawDialog(cDlgWindow& dlg);
void CloseDialogOutput(cDlgWindow& dlg);
// Whether dialogs take their answers from a script.
bool DialogAnswerSourceSet();

// The height in pixels of a text wrapped at a width with the template's font.
int WrappedTextHeight(const DIALOGTEMPLATE& t, const std::string& text, int width);

// A click of the mouse (main window client coordinates, or the dialog's own window's) as a
// point of the dialog's client area.
POINT ClickToClient(const cDlgWindow& dlg, POINT at);
// The open dialogs, the first opened first.
std::vector<HWND> OpenDialogs();

// Where the dialog's client area sits on the game screen (logical 640×480 coordinates).
POINT DialogClientOnScreen(const cDlgWindow& dlg);
// The caret's position on the game screen, for the input method's candidate box.
POINT CaretOnScreen(const cDlgWindow& dlg, const cDlgControl& edit);

}  // namespace plat
