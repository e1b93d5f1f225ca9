#pragma once
// The controls of the dialogs, each bound to a program variable: a label, a check box bound to
// an int, radio buttons that each write their own value into a shared int, and an edit bound to
// a string with live validation of its length and lines.
#include <string>

#include "shell/dialog.h"

// Kinds of control.
constexpr int CONTROL_LABEL = 0;
constexpr int CONTROL_EDIT_OTHER = 2;
constexpr int CONTROL_EDIT = 3;
constexpr int CONTROL_CHECKBOX = 5;
constexpr int CONTROL_RADIO = 6;
constexpr int CONTROL_LIST = 7;
constexpr int CONTROL_COMBO = 8;

// The buffer that GetDlgItemString reads into.
constexpr int kDlgItemStringBuffer = 5120;

class cControl {
public:
    explicit cControl(int kind) : m_nKind(kind) {}
    virtual ~cControl() = default;
    cControl(const cControl&) = delete;
    cControl& operator=(const cControl&) = delete;

    virtual void Enable(bool enable);
    virtual void LoadValue() {}
    virtual void StoreValue() {}
    virtual void OnChange() {}
    virtual LRESULT OnNotify(WPARAM, LPARAM) { return 0; }
    virtual void ListRefresh() {}
    virtual void OnKillFocus() {}
    virtual void OnKey(WPARAM, LPARAM, int) {}

    void Attach(cDialog* dialog, WORD id);

    HWND m_hWnd = nullptr;
    cDialog* m_lpDialog = nullptr;
    HWND m_hDialog = nullptr;
    int m_nKind;
    WORD m_wId = 0;
    std::string m_strTip;
};

class cLabelControl : public cControl {
public:
    cLabelControl() : cControl(CONTROL_LABEL) {}
};

class cCheckBoxControl : public cControl {
public:
    explicit cCheckBoxControl(int* value) : cControl(CONTROL_CHECKBOX), m_lpValue(value) {}
    void LoadValue() override;
    void StoreValue() override;
    int* m_lpValue;
};

class cRadioControl : public cControl {
public:
    cRadioControl(int* value, int ownValue) : cControl(CONTROL_RADIO), m_lpValue(value), m_nValue(ownValue) {}
    void LoadValue() override;
    void StoreValue() override;
    int* m_lpValue;
    int m_nValue;
};

// What a dialog gives for one edit control.
struct EDITDESC {
    WORD wId;
    std::string* lpString;
    int nLimit;          // bytes; 0: 4096
    int nCharsPerLine;   // 0: 1024
    int nLines;          // 0: 32
    int bDoubleByte;     // count double-byte characters as one
};

EDITDESC MakeEditDesc(WORD id, std::string* text, int n, int doubleByte);

class cEditControl : public cControl {
public:
    cEditControl() : cControl(CONTROL_EDIT) {}
    void Attach(cDialog* dialog, const EDITDESC& desc);
    void LoadValue() override;
    void StoreValue() override;
    // The live validation, on every EN_UPDATE and after Attach.
    void OnChange() override;
    int ReadLimit() const;

    std::string* m_lpString = nullptr;
    int m_nLimit = 4096;
    int m_bDoubleByte = 0;
    int m_nCharsPerLine = 1024;
    int m_nLines = 32;
    int m_bProgramWrite = 0;
    std::string m_strLastText;

private:
    int m_bInChange = 0;
};

void SetDlgItemString(HWND hDlg, int id, const std::string& text);
// Reads at most limit - 1 bytes, and never more than the buffer holds.
void GetDlgItemString(HWND hDlg, int id, std::string& text, int limit);

// The first control with that identifier; none: the report and WM_CLOSE to the main window.
cCheckBoxControl* FindCheckBox(cSafeVector<cCheckBoxControl*>& controls, WORD id);
cLabelControl* FindLabel(cSafeVector<cLabelControl*>& controls, WORD id);
