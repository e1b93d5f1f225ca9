#include "platform/ui/dialog_box.h"

#include <SDL2/SDL.h>

#include <algorithm>

#include "platform/input/keyboard.h"
#include "platform/os/message_box.h"
#include "platform/os/text.h"
#include "platform/ui/dialog_internal.h"
#include "platform/ui/hooks.h"
#include "platform/ui/ime.h"
#include "platform/ui/sdl_window.h"
#include "platform/video/presenter.h"

namespace plat {
namespace {

// Window thread only: dialogs, their controls and their loops live there.
std::map<HWND, std::unique_ptr<cDlgWindow>> s_Dialogs;
std::map<HWND, cDlgControl*> s_Controls;
std::map<WORD, const DIALOGTEMPLATE*> s_Templates;
std::vector<HWND> s_OpenDialogs;
// Window properties of any window of the thread; a dialog's go with it.
std::map<HWND, std::map<std::string, HANDLE>> s_Props;
DialogAnswerSource s_lpAnswerSource = nullptr;
DialogIdleHook s_IdleHook;
POINT s_ptCursorRequest{0, 0};

LRESULT DialogEntryProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    cDlgWindow* dlg = FindDialog(hWnd);
    if (!dlg || !dlg->wndProc) return 0;
    return dlg->wndProc(hWnd, msg, wParam, lParam);
}

// The dialog's own window procedure before any subclassing: the dialog procedure, and
// nothing more, since the program's dialogs handle their closing themselves.
LRESULT DefaultDialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    cDlgWindow* dlg = FindDialog(hWnd);
    if (!dlg || !dlg->dlgProc) return 0;
    return dlg->dlgProc(hWnd, msg, wParam, lParam);
}

// Registered for every dialog: a class that exists already is kept (and the window records,
// classes included, are forgotten when the main window goes).
void EnsureDialogClass()
{
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DialogEntryProc;
    windowClass.lpszClassName = kDialogClassName;
    RegisterClassExA(&windowClass);
}

DWORD WindowStyleOf(const DIALOGTEMPLATE& t) { return WS_POPUP | (t.style & (WS_CAPTION | WS_SYSMENU)); }

void MakeControls(cDlgWindow& dlg)
{
    const DIALOGTEMPLATE& t = *dlg.lpTemplate;
    for (int i = 0; i < t.count; ++i) {
        const DIALOGITEM& item = t.items[i];
        auto control = std::make_unique<cDlgControl>();
        control->hWnd = CreateWindowHandle(ControlWindowProc);
        control->hDlg = dlg.hWnd;
        control->id = item.id;
        control->kind = item.kind;
        control->style = item.style;
        control->rc = RECT{DialogUnitsToPixels(item.x), DialogUnitsToPixels(item.y),
                           DialogUnitsToPixels(item.x + item.cx), DialogUnitsToPixels(item.y + item.cy)};
        control->text = item.text ? item.text : "";
        s_Controls[control->hWnd] = control.get();
        dlg.controls.push_back(std::move(control));
    }
}

void ForgetDialog(HWND hDlg)
{
    auto it = s_Dialogs.find(hDlg);
    if (it == s_Dialogs.end()) return;
    s_Props.erase(hDlg);
    for (auto& control : it->second->controls) {
        s_Controls.erase(control->hWnd);
        DestroyWindow(control->hWnd);
    }
    s_Dialogs.erase(it);
}

// The answer a dialog takes from the script: items separated by '|'. An item that names a
// button, radio button or check box (its text, or its number) clicks it; any other item is
// typed into the focused edit, one character at a time as a player would. Then, unless an
// item ended the dialog, the default button is pressed.
void TakeAnswer(cDlgWindow& dlg, const std::string& answerUtf8)
{
    std::string answer;
    if (!Utf8ToCp932(answerUtf8, answer)) answer.clear();
    std::size_t start = 0;
    while (!dlg.bEnded && start <= answer.size()) {
        std::size_t bar = answer.find('|', start);
        if (bar == std::string::npos) bar = answer.size();
        const std::string item = answer.substr(start, bar - start);
        start = bar + 1;
        cDlgControl* named = nullptr;
        for (auto& control : dlg.controls) {
            const bool clickable = control->kind == eDialogItem::Button || control->kind == eDialogItem::DefButton ||
                                   control->kind == eDialogItem::AutoRadio ||
                                   control->kind == eDialogItem::AutoCheckBox;
            if (clickable && !item.empty() && (control->text == item || std::to_string(control->id) == item)) {
                named = control.get();
                break;
            }
        }
        if (named) {
            ClickButton(dlg, *named);
            continue;
        }
        cDlgControl* focus = FindControl(dlg.hFocus);
        if (!focus || focus->kind != eDialogItem::Edit || item.empty()) continue;
        for (std::size_t i = 0; i < item.size();) {
            const std::size_t n = Cp932CharLength(item, i);
            TypeIntoEdit(*focus, item.substr(i, n));
            i += n;
        }
    }
    if (!dlg.bEnded) DialogManagerKey(dlg, VK_RETURN);
}

// A close request for the program ends the dialog with 0 and goes on once it is gone.
void EndForClose(cDlgWindow& dlg)
{
    SendMessageA(dlg.hWnd, WM_CLOSE, 0, 0);
    if (!dlg.bEnded) EndDialog(dlg.hWnd, 0);
}

void AnswerWithoutPlayer(cDlgWindow& dlg)
{
    if (s_IdleHook) return;
    std::string answer;
    if (s_lpAnswerSource && s_lpAnswerSource(answer)) {
        TakeAnswer(dlg, answer);
    } else {
        if (!s_lpAnswerSource && !IsHeadless()) return;  // the player answers
        if (dlg.lpTemplate->cancelWithoutAnswer) SendMessageA(dlg.hWnd, WM_COMMAND, IDCANCEL, 0);
        else DialogManagerKey(dlg, VK_RETURN);
    }
    // Nobody is there to answer what the dialog still asks: it closes rather than waits.
    if (!dlg.bEnded) EndForClose(dlg);
}

void OnKeyboard(cDlgWindow& dlg, WPARAM virtualKey, LPARAM keyFlags, bool down)
{
    RunKeyboardHooks(virtualKey, keyFlags);
    if (!down || dlg.bEnded) return;
    // While a composition is open the keys belong to the input method.
    if (!CompositionCp932().empty()) return;
    if (DialogManagerKey(dlg, static_cast<int>(virtualKey))) return;
    cDlgControl* focus = FindControl(dlg.hFocus);
    if (focus && focus->kind == eDialogItem::Edit) EditKey(*focus, static_cast<int>(virtualKey));
}

void OnTextEvent(cDlgWindow& dlg)
{
    cTextEvent event;
    if (!TakeTextEvent(event)) return;
    dlg.bDirty = true;
    if (!event.bCommit) {
        SetComposition(Cp932ToUtf8(event.cp932));
        return;
    }
    SetComposition("");
    cDlgControl* focus = FindControl(dlg.hFocus);
    if (focus && focus->kind == eDialogItem::Edit) TypeIntoEdit(*focus, event.cp932);
}

bool BelongsTo(const cDlgWindow& dlg, HWND hWnd)
{
    if (hWnd == dlg.hWnd) return true;
    const cDlgControl* control = FindControl(hWnd);
    return control && control->hDlg == dlg.hWnd;
}

struct cLoopExit {
    HWND hCloseRequested = nullptr;
    bool bQuit = false;
    WPARAM nQuitCode = 0;
};

void HandleMessage(cDlgWindow& dlg, const MSG& msg, cLoopExit& exit)
{
    if (msg.message == WM_QUIT) {
        exit.bQuit = true;
        exit.nQuitCode = msg.wParam;
        EndForClose(dlg);
        return;
    }
    if (msg.hwnd && BelongsTo(dlg, msg.hwnd)) {
        DispatchMessageA(&msg);
        dlg.bDirty = true;
        return;
    }
    // What was posted to a dialog that has ended (the hook's copy of its last key) is not a key
    // for this one.
    if (msg.hwnd && !IsWindow(msg.hwnd)) return;
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
        OnKeyboard(dlg, msg.wParam, msg.lParam, msg.message == WM_KEYDOWN);
        dlg.bDirty = true;
        return;
    case WM_IME_COMPOSITION:
        OnTextEvent(dlg);
        return;
    case WM_CLOSE:
        exit.hCloseRequested = msg.hwnd;
        EndForClose(dlg);
        return;
    case WM_LBUTTONDOWN: {
        const auto x = static_cast<std::int16_t>(msg.lParam & 0xFFFF), y = static_cast<std::int16_t>((msg.lParam >> 16) & 0xFFFF);
        DialogClick(dlg, ClickToClient(dlg, POINT{x, y}));
        dlg.bDirty = true;
        return;
    }
    case WM_PAINT:
        DispatchMessageA(&msg);
        dlg.bDirty = true;
        return;
    default:
        DispatchMessageA(&msg);
        return;
    }
}

INT_PTR RunModal(const DIALOGTEMPLATE* t, HWND parent, DLGPROC proc, LPARAM param)
{
    if (!t || !proc) return -1;
    EnsureDialogClass();
    const int clientWidth = DialogUnitsToPixels(t->cx), clientHeight = DialogUnitsToPixels(t->cy);
    const DWORD style = WindowStyleOf(*t);
    const RECT outer = OuterRectForClient(RECT{0, 0, clientWidth, clientHeight}, style, false);
    HWND hDlg = CreateWindowExA(0, kDialogClassName, t->caption ? t->caption : "", style, 0, 0,
                                outer.right - outer.left, outer.bottom - outer.top, parent, nullptr, nullptr, nullptr);
    if (!hDlg) return -1;
    auto made = std::make_unique<cDlgWindow>();
    cDlgWindow& dlg = *made;
    s_Dialogs[hDlg] = std::move(made);
    dlg.hParent = parent;
    dlg.lpTemplate = t;
    dlg.dlgProc = proc;
    dlg.wndProc = DefaultDialogProc;
    dlg.nClientWidth = clientWidth;
    dlg.nClientHeight = clientHeight;
    dlg.hWnd = hDlg;
    MakeControls(dlg);
    for (auto& control : dlg.controls)
        if ((control->style & WS_TABSTOP) && CanTakeFocus(*control)) {
            dlg.hFocus = control->hWnd;
            break;
        }
    s_OpenDialogs.push_back(hDlg);
    dlg.hPreviousActive = GetActiveWindow();
    SetActiveWindow(hDlg);

    SendMessageA(hDlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(dlg.hFocus), param);
    if (!dlg.bEnded) MoveFocus(dlg, dlg.hFocus);
    if (!dlg.bEnded) AnswerWithoutPlayer(dlg);

    cLoopExit exit;
    while (!dlg.bEnded) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            HandleMessage(dlg, msg, exit);
            continue;
        }
        // A new game frame or new colours of the last one: drawn over again.
        if (LastFrameGeneration() != dlg.nFrameDrawnOver) dlg.bDirty = true;
        if (dlg.bDirty) {
            dlg.bDirty = false;
            DrawDialog(dlg);
            // The input method's candidate box follows the caret.
            cDlgControl* focus = FindControl(dlg.hFocus);
            if (focus && focus->kind == eDialogItem::Edit && TextInputActive()) {
                const POINT caret = CaretOnScreen(dlg, *focus);
                StartTextInputAt(caret.x, caret.y, kDialogTextHeight + 4);
            }
            continue;
        }
        if (s_IdleHook && s_IdleHook(hDlg)) continue;
        if (!WaitMessage()) EndDialog(hDlg, 0);  // the thread's queues are gone
    }

    const INT_PTR result = dlg.nResult;
    StopTextInput();
    CloseDialogOutput(dlg);
    SetActiveWindow(dlg.hPreviousActive);
    s_OpenDialogs.erase(std::remove(s_OpenDialogs.begin(), s_OpenDialogs.end(), hDlg), s_OpenDialogs.end());
    DestroyWindow(hDlg);
    ForgetDialog(hDlg);
    if (exit.hCloseRequested) PostMessageA(exit.hCloseRequested, WM_CLOSE, 0, 0);
    if (exit.bQuit) PostQuitMessage(static_cast<int>(exit.nQuitCode));
    // Text input goes on for a dialog below this one.
    if (!s_OpenDialogs.empty())
        if (cDlgWindow* below = FindDialog(s_OpenDialogs.back())) MoveFocus(*below, below->hFocus);
    return result;
}

}  // namespace

cDlgWindow* FindDialog(HWND hDlg)
{
    auto it = s_Dialogs.find(hDlg);
    return it == s_Dialogs.end() ? nullptr : it->second.get();
}

cDlgControl* FindControl(HWND hCtl)
{
    if (!hCtl) return nullptr;
    auto it = s_Controls.find(hCtl);
    return it == s_Controls.end() ? nullptr : it->second;
}

cDlgControl* FindControlById(cDlgWindow& dlg, int id)
{
    for (auto& control : dlg.controls)
        if (control->id == id) return control.get();
    return nullptr;
}

void RegisterDialogTemplate(const DIALOGTEMPLATE* dialogTemplate)
{
    if (dialogTemplate) s_Templates[dialogTemplate->id] = dialogTemplate;
}

INT_PTR DialogBoxIndirect(const DIALOGTEMPLATE* dialogTemplate, HWND parent, DLGPROC proc, LPARAM param)
{
    return RunModal(dialogTemplate, parent, proc, param);
}

void SetDialogAnswerSource(DialogAnswerSource source) { s_lpAnswerSource = source; }

bool DialogAnswerSourceSet() { return s_lpAnswerSource != nullptr; }

void SetDialogIdleHook(DialogIdleHook hook) { s_IdleHook = std::move(hook); }

HWND OpenDialog() { return s_OpenDialogs.empty() ? nullptr : s_OpenDialogs.back(); }

std::vector<HWND> OpenDialogs() { return s_OpenDialogs; }

POINT LastCursorRequest() { return s_ptCursorRequest; }

}  // namespace plat

INT_PTR DialogBoxParamA(HINSTANCE, const char* templateName, HWND parent, DLGPROC proc, LPARAM param)
{
    const auto id = static_cast<WORD>(reinterpret_cast<std::uintptr_t>(templateName));
    auto it = plat::s_Templates.find(id);
    if (it == plat::s_Templates.end()) return -1;
    return plat::RunModal(it->second, parent, proc, param);
}

BOOL EndDialog(HWND hDlg, INT_PTR result)
{
    plat::cDlgWindow* dlg = plat::FindDialog(hDlg);
    if (!dlg) return FALSE;
    dlg->bEnded = true;
    dlg->nResult = result;
    return TRUE;
}

HWND GetDlgItem(HWND hDlg, int id)
{
    plat::cDlgWindow* dlg = plat::FindDialog(hDlg);
    if (!dlg) return nullptr;
    plat::cDlgControl* control = plat::FindControlById(*dlg, id);
    return control ? control->hWnd : nullptr;
}

int GetDlgCtrlID(HWND hCtl)
{
    plat::cDlgControl* control = plat::FindControl(hCtl);
    return control ? control->id : 0;
}

BOOL SetDlgItemTextA(HWND hDlg, int id, const char* text)
{
    HWND hCtl = GetDlgItem(hDlg, id);
    if (!hCtl) return FALSE;
    return static_cast<BOOL>(SendMessageA(hCtl, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")));
}

UINT GetDlgItemTextA(HWND hDlg, int id, char* buffer, int size)
{
    if (!buffer || size <= 0) return 0;
    buffer[0] = '\0';
    HWND hCtl = GetDlgItem(hDlg, id);
    if (!hCtl) return 0;
    return static_cast<UINT>(SendMessageA(hCtl, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

LRESULT SendDlgItemMessageA(HWND hDlg, int id, UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND hCtl = GetDlgItem(hDlg, id);
    return hCtl ? SendMessageA(hCtl, msg, wParam, lParam) : 0;
}

HWND SetFocus(HWND hWnd)
{
    plat::cDlgControl* control = plat::FindControl(hWnd);
    if (!control) return nullptr;
    plat::cDlgWindow* dlg = plat::FindDialog(control->hDlg);
    if (!dlg) return nullptr;
    HWND previous = dlg->hFocus;
    plat::MoveFocus(*dlg, hWnd);
    return previous;
}

HWND GetFocus()
{
    plat::cDlgWindow* dlg = plat::FindDialog(plat::OpenDialog());
    return dlg ? dlg->hFocus : nullptr;
}

BOOL EnableWindow(HWND hWnd, BOOL enable)
{
    plat::cDlgControl* control = plat::FindControl(hWnd);
    if (!control) return FALSE;
    const bool wasDisabled = !control->bEnabled;
    control->bEnabled = enable != FALSE;
    if (plat::cDlgWindow* dlg = plat::FindDialog(control->hDlg)) dlg->bDirty = true;
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hWnd)
{
    plat::cDlgControl* control = plat::FindControl(hWnd);
    if (control) return control->bEnabled ? TRUE : FALSE;
    return IsWindow(hWnd);
}

BOOL SetPropA(HWND hWnd, const char* name, HANDLE value)
{
    if (!IsWindow(hWnd) || !name) return FALSE;
    plat::s_Props[hWnd][name] = value;
    return TRUE;
}

HANDLE GetPropA(HWND hWnd, const char* name)
{
    auto window = plat::s_Props.find(hWnd);
    if (window == plat::s_Props.end() || !name) return nullptr;
    auto it = window->second.find(name);
    return it == window->second.end() ? nullptr : it->second;
}

HANDLE RemovePropA(HWND hWnd, const char* name)
{
    auto window = plat::s_Props.find(hWnd);
    if (window == plat::s_Props.end() || !name) return nullptr;
    auto it = window->second.find(name);
    if (it == window->second.end()) return nullptr;
    HANDLE value = it->second;
    window->second.erase(it);
    return value;
}

LONG_PTR GetWindowLongPtrA(HWND hWnd, int index)
{
    plat::cDlgWindow* dlg = plat::FindDialog(hWnd);
    if (!dlg || index != GWLP_WNDPROC) return 0;
    return reinterpret_cast<LONG_PTR>(dlg->wndProc);
}

LONG_PTR SetWindowLongPtrA(HWND hWnd, int index, LONG_PTR value)
{
    plat::cDlgWindow* dlg = plat::FindDialog(hWnd);
    if (!dlg || index != GWLP_WNDPROC || !value) return 0;
    const LONG_PTR previous = reinterpret_cast<LONG_PTR>(dlg->wndProc);
    dlg->wndProc = reinterpret_cast<WNDPROC>(value);
    return previous;
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return proc ? proc(hWnd, msg, wParam, lParam) : 0;
}

BOOL SetCursorPos(int x, int y)
{
    plat::s_ptCursorRequest = POINT{x, y};
    HWND main = plat::MainWindowHandle();
    SDL_Window* window = plat::MainSdlWindow();
    if (!main || !window || plat::IsHeadless()) return TRUE;
    POINT p{x, y};
    if (!plat::IsPresentFullScreen()) {
        ScreenToClient(main, &p);
        SDL_WarpMouseInWindow(window, p.x, p.y);
        return TRUE;
    }
    // Full screen: the point is on the 640×480 logical screen, scaled and centred as shown.
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    const double scale = std::min(width / 640.0, height / 480.0);
    const int offsetX = static_cast<int>((width - 640 * scale) / 2), offsetY = static_cast<int>((height - 480 * scale) / 2);
    SDL_WarpMouseInWindow(window, offsetX + static_cast<int>(p.x * scale), offsetY + static_cast<int>(p.y * scale));
    return TRUE;
}
