#include "shell/dialog.h"

#include "shell/dialog_controls.h"
#include "shell/window.h"
#include "shell/error_box.h"

namespace {


// Passes every message on to the procedure the dialog had before it was subclassed.
LRESULT DlgSubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* dialog = static_cast<cDialog*>(GetPropA(hWnd, "DLG_CLASS"));
    if (!dialog) return 0;
    return CallWindowProcA(dialog->m_lpfnOldProc, hWnd, msg, wParam, lParam);
}

}  // namespace

cDialog::~cDialog() = default;

void cDialog::Init(WORD templateId, cWindow* parent, LPARAM creationValue, cWindowRegistry* registry)
{
    m_wTemplate = templateId;
    m_lpParent = parent;
    m_hParent = parent ? parent->m_hWnd : nullptr;
    if (parent) m_hInstance = parent->m_hInstance;
    m_lCreationValue = creationValue;
    m_lpRegistry = registry;
    m_dwModalFlags = 0;
    m_lpfnOldProc = nullptr;
}

void cDialog::ApplyModalFlags(bool on)
{
    if (!m_lpRegistry || !(m_dwModalFlags & (DIALOG_HIDE_OTHERS | DIALOG_DISABLE_OTHERS))) return;
    if (on == m_bOthersChanged) return;
    m_bOthersChanged = on;
    for (auto* list : {&m_lpRegistry->m_Windows, &m_lpRegistry->m_Dialogs})
        for (cWindow* window : *list) {
            if (!window || window == this || !window->m_hWnd) continue;
            if (m_dwModalFlags & DIALOG_HIDE_OTHERS) ShowWindow(window->m_hWnd, on ? SW_HIDE : SW_SHOW);
            if (m_dwModalFlags & DIALOG_DISABLE_OTHERS) EnableWindow(window->m_hWnd, on ? FALSE : TRUE);
        }
}

INT_PTR cDialog::DoModal(DWORD flags)
{
    if (m_hWnd && IsWindow(m_hWnd)) return 0;
    m_Controls.clear();
    m_dwModalFlags = static_cast<int>(flags);
    ApplyModalFlags(true);
    const INT_PTR result = DialogBoxParamA(m_hInstance, MAKEINTRESOURCEA(m_wTemplate), m_hParent,
                                           reinterpret_cast<DLGPROC>(m_DialogProc), m_lCreationValue);
    m_hWnd = nullptr;
    ApplyModalFlags(false);
    return result;
}

void cDialog::End(int result)
{
    m_nResult = result;
    m_Controls.clear();
    if (m_hWnd) EndDialog(m_hWnd, result);
}

void cDialog::LoadValues()
{
    for (cControl* control : m_Controls) control->LoadValue();
}

void cDialog::StoreValues()
{
    for (cControl* control : m_Controls) control->StoreValue();
}

void cDialog::OnInit(WPARAM, LPARAM)
{
    m_Controls.clear();
    if (!GetPropA(m_hWnd, "DLG_CLASS")) {
        SetPropA(m_hWnd, "DLG_CLASS", this);
        m_lpfnOldProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC));
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DlgSubclassProc));
    }
    RefreshStyle();
    if (m_nInitClientWidth > 0 && m_nInitClientHeight > 0) SetClientSize(m_nInitClientWidth, m_nInitClientHeight);
    PlaceWindow();
    if (!m_Hook.Attach(m_hWnd, 0)) ErrorBoxF("KeyboardHookに失敗!");
    UpdateMouse(true, MOUSE_ALL);
    m_MouseAtInit = m_Mouse;
    m_bNoButtonAtInit = m_Mouse.bLeft ? 0 : 1;
}

void cDialog::OnCommand(WPARAM wParam, LPARAM)
{
    const WORD id = LowWord(wParam), notification = HighWord(wParam);
    for (cControl* control : m_Controls) {
        if (control->m_wId != id) continue;
        const int kind = control->m_nKind;
        if (kind == CONTROL_EDIT || kind == CONTROL_EDIT_OTHER) {
            if (notification == EN_UPDATE) { control->OnChange(); return; }
            if (notification == EN_KILLFOCUS) { control->OnKillFocus(); return; }
        } else if (kind == CONTROL_LIST) {
            if (notification == 1) { control->OnChange(); return; }
        } else if (kind == CONTROL_COMBO) {
            if (notification == 1) { control->OnChange(); return; }
            if (notification == 5) { control->OnKillFocus(); return; }
        }
    }
}

LRESULT cDialog::MessageProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = cWindow::MessageProc(hWnd, msg, wParam, lParam);
    switch (msg) {
    case WM_DESTROY:
        ApplyModalFlags(false);
        break;
    case WM_NOTIFY:
        for (cControl* control : m_Controls)
            if (control->OnNotify(wParam, lParam)) break;
        break;
    case WM_KEYDOWN:
        // The scroll requests these keys would also make go to scroll bars, which the
        // program's dialogs do not have.
        for (cControl* control : m_Controls) control->OnKey(wParam, lParam, g_bCtrlHeld);
        break;
    case WM_INITDIALOG:
        OnInit(wParam, lParam);
        break;
    case WM_HOOK_NAVKEY:
        SendMessageA(hWnd, WM_KEYDOWN, wParam, lParam);
        break;
    default:
        break;
    }
    return result;
}

LRESULT cDialog::OnMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = MessageProc(hWnd, msg, wParam, lParam);
    if (msg == WM_DESTROY) return 1;
    if (msg == WM_CLOSE) {
        End(0);
        return 1;
    }
    return result ? 1 : 0;
}
