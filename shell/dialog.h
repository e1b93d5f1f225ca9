#pragma once
// cDialog: a modal dialog from a template on top of cWindow. A derived dialog binds control
// objects (shell/dialog_controls.h) to its controls when it opens and lets the framework copy
// the bound variables into the controls and back.
#include "platform/ui/dialog_box.h"
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
