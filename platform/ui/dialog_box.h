#pragma once
// Modal dialogs of our own in place of the desktop's dialog manager: templates are tables in
// code, the controls are drawn by us with the FreeType layer, in the game window over its last
// frame (or in a small window of their own while the game window is hidden). Window thread only.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/os/messages.h"
#include "platform/ui/window.h"

using INT_PTR = std::intptr_t;
using LONG_PTR = std::intptr_t;
using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

inline const char* MAKEINTRESOURCEA(WORD id) { return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(id)); }

constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETREDRAW = 0x000B;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_HSCROLL = 0x0114;
constexpr UINT WM_VSCROLL = 0x0115;

constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_REPLACESEL = 0x00C2;
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BM_CLICK = 0x00F5;
constexpr UINT LB_ADDSTRING = 0x0180;
constexpr UINT LB_RESETCONTENT = 0x0184;
constexpr UINT LB_SETCURSEL = 0x0186;
constexpr UINT LB_GETCURSEL = 0x0188;
constexpr UINT LB_GETTEXT = 0x0189;
constexpr UINT LB_GETCOUNT = 0x018B;

constexpr WPARAM BST_UNCHECKED = 0;
constexpr WPARAM BST_CHECKED = 1;

constexpr WORD BN_CLICKED = 0;
constexpr WORD LBN_SELCHANGE = 1;
constexpr WORD LBN_DBLCLK = 2;
constexpr WORD EN_SETFOCUS = 0x0100;
constexpr WORD EN_KILLFOCUS = 0x0200;
constexpr WORD EN_CHANGE = 0x0300;
constexpr WORD EN_UPDATE = 0x0400;

constexpr int IDCANCEL = 2;

constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD DS_MODALFRAME = 0x00000080;

constexpr int GWLP_WNDPROC = -4;

// The controls a template can hold.
enum class eDialogItem { Static, Bitmap, GroupBox, Edit, Button, DefButton, AutoRadio, AutoCheckBox, ListBox };

// One control of a template, in dialog units (1.5 px: the templates' 9-point gothic).
struct DIALOGITEM {
    WORD id;
    eDialogItem kind;
    const char* text;  // CP932
    short x, y, cx, cy;
    DWORD style;       // WS_TABSTOP, WS_GROUP
};

struct DIALOGTEMPLATE {
    WORD id;
    DWORD style;       // WS_CAPTION gives a caption bar
    short cx, cy;
    const char* face;
    int points;
    const char* caption;
    const DIALOGITEM* items;
    int count;
    // Run by the harness without an answer: cancel (file choosers) instead of the default button.
    bool cancelWithoutAnswer;
};

INT_PTR DialogBoxParamA(HINSTANCE instance, const char* templateName, HWND parent, DLGPROC proc, LPARAM param);
BOOL EndDialog(HWND hDlg, INT_PTR result);
HWND GetDlgItem(HWND hDlg, int id);
int GetDlgCtrlID(HWND hCtl);
BOOL SetDlgItemTextA(HWND hDlg, int id, const char* text);
UINT GetDlgItemTextA(HWND hDlg, int id, char* buffer, int size);  // at most size - 1 bytes and a NUL
LRESULT SendDlgItemMessageA(HWND hDlg, int id, UINT msg, WPARAM wParam, LPARAM lParam);
HWND SetFocus(HWND hWnd);
HWND GetFocus();
BOOL EnableWindow(HWND hWnd, BOOL enable);
BOOL IsWindowEnabled(HWND hWnd);
BOOL SetPropA(HWND hWnd, const char* name, HANDLE value);
HANDLE GetPropA(HWND hWnd, const char* name);
HANDLE RemovePropA(HWND hWnd, const char* name);
// Subclassing of dialog windows: GWLP_WNDPROC only.
LONG_PTR GetWindowLongPtrA(HWND hWnd, int index);
LONG_PTR SetWindowLongPtrA(HWND hWnd, int index, LONG_PTR value);
LRESULT CallWindowProcA(WNDPROC proc, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Moves the mouse cursor to a screen position of the 640×480 logical game screen.
BOOL SetCursorPos(int x, int y);

namespace plat {

// The template tables the program's dialogs open by number.
void RegisterDialogTemplate(const DIALOGTEMPLATE* dialogTemplate);
// Runs a dialog from a template given directly (the file chooser).
INT_PTR DialogBoxIndirect(const DIALOGTEMPLATE* dialogTemplate, HWND parent, DLGPROC proc, LPARAM param);

// Where a dialog's answer comes from when it is run without a player (the harness script):
// true with the answer (UTF-8), false when none is left. Null: the player answers, except
// headless, where a dialog presses its default button (a file chooser cancels).
using DialogAnswerSource = bool (*)(std::string& answerUtf8);
void SetDialogAnswerSource(DialogAnswerSource source);

// Tests: called each time the open dialog's loop has nothing left to do, with the dialog;
// returns true when it made something happen (the loop then looks again at once). While set,
// dialogs take no answers.
using DialogIdleHook = std::function<bool(HWND hDlg)>;
void SetDialogIdleHook(DialogIdleHook hook);

// A message box as a dialog of the toolkit, in the game window (the box presenter of a run
// with a display); 0 when it is not shown this way (headless, boxes switched off, under a
// script, no game window yet), and the usual way answers.
int ShowBoxAsDialog(HWND owner, const char* text, const char* caption, UINT type);

// The open dialog of the window thread (null when none).
HWND OpenDialog();
// The dialog's last drawn image (ARGB, its window area only) and where it sits on the game
// screen; false when no dialog was drawn yet.
bool LastDialogImage(std::vector<std::uint32_t>& argb, int& width, int& height, POINT& onScreen);
// The last cursor position asked for with SetCursorPos (screen coordinates).
POINT LastCursorRequest();

}  // namespace plat
