#pragma once
// cDialog: a modal dialog from a template on top of cWindow. A derived dialog binds control
// objects (shell/dialog_controls.h) to its controls when it opens and lets the framework copy
// the bound variables into the controls and back.
#include <memory>
#include <new>

#include "platform/ui/dialog_box.h"
#include "shell/error_box.h"
#include "shell/keyboard_hook.h"
#include "shell/safe_container.h"
#include "shell/window.h"

class cControl;

// Modal flags of DoModal: hide, or disable, the registry's windows while the dialog runs.
constexpr DWORD DIALOG_HIDE_OTHERS = 2;
constexpr DWORD DIALOG_DISABLE_OTHERS = 4;

class cDialog : public cWindow {
public:
    cDialog() = default;
    ~cDialog() override;

    void Init(WORD templateId, cWindow* parent, LPARAM creationValue, cWindowRegistry* registry);
    // 0 at once while the dialog's window exists; otherwise runs it and returns its result.
    INT_PTR DoModal(DWORD flags);
    void End(int result);
    void LoadValues();
    void StoreValues();

    void OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT MessageProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The handler the runtime's dialogs share: WM_CLOSE ends the dialog with 0.
    LRESULT OnMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    virtual void OnInit(WPARAM wParam, LPARAM lParam);

    cHook m_Hook;
    cSafeVector<cControl*> m_Controls;
    int m_nResult = 0;
    WNDPROC m_lpfnOldProc = nullptr;
    int m_dwModalFlags = 0;
    LPARAM m_lCreationValue = 0;
    cWindow* m_lpParent = nullptr;

private:
    void ApplyModalFlags(bool on);
    bool m_bOthersChanged = false;
};

// The dialog procedure of a dialog class with one live object at a time (the pointer its
// constructor sets): every message goes to that object.
template <class Dialog, Dialog** Live>
INT_PTR LiveDialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Dialog* dialog = *Live;
    return dialog ? dialog->OnMessage(hWnd, msg, wParam, lParam) : 0;
}

// Makes the dialog, runs it and deletes it, and clears its live pointer; out of memory: the
// box, and 0.
template <class Dialog>
INT_PTR RunNewDialog(Dialog*& live)
{
    std::unique_ptr<Dialog> dialog;
    try {
        dialog = std::make_unique<Dialog>();
    } catch (const std::bad_alloc&) {
        OutOfMemoryBox();
        return 0;
    }
    const INT_PTR result = dialog->DoModal(0);
    live = nullptr;
    return result;
}
