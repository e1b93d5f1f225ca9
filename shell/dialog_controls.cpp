#include "shell/dialog_controls.h"

#include <vector>

#include "shell/error_box.h"
#include "shell/shared_flags.h"

void cControl::Enable(bool enable) { EnableWindow(m_hWnd, enable ? TRUE : FALSE); }

void cControl::Attach(cDialog* dialog, WORD id)
{
    m_lpDialog = dialog;
    m_hDialog = dialog ? dialog->m_hWnd : nullptr;
    m_wId = id;
    m_strTip.clear();
    m_hWnd = GetDlgItem(m_hDialog, id);
}

void cCheckBoxControl::LoadValue() { SendMessageA(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(*m_lpValue), 0); }

void cCheckBoxControl::StoreValue() { *m_lpValue = static_cast<int>(SendMessageA(m_hWnd, BM_GETCHECK, 0, 0)); }

void cRadioControl::LoadValue()
{
    SendMessageA(m_hWnd, BM_SETCHECK, *m_lpValue == m_nValue ? BST_CHECKED : BST_UNCHECKED, 0);
}

void cRadioControl::StoreValue()
{
    if (SendMessageA(m_hWnd, BM_GETCHECK, 0, 0) == static_cast<LRESULT>(BST_CHECKED)) *m_lpValue = m_nValue;
}

EDITDESC MakeEditDesc(WORD id, std::string* text, int n, int doubleByte)
{
    return EDITDESC{id, text, n + 1, doubleByte ? n : 0, 1, doubleByte};
}

void cEditControl::Attach(cDialog* dialog, const EDITDESC& desc)
{
    cControl::Attach(dialog, desc.wId);
    m_lpString = desc.lpString;
    m_nLimit = desc.nLimit ? desc.nLimit : 4096;
    m_bDoubleByte = desc.bDoubleByte;
    m_nCharsPerLine = desc.nCharsPerLine ? desc.nCharsPerLine : 1024;
    m_nLines = desc.nLines ? desc.nLines : 32;
    const std::string value = m_lpString ? *m_lpString : std::string();
    SetDlgItemString(m_hDialog, m_wId, value);
    m_strLastText = value;
    // A value that does not fit is cut at once.
    m_bProgramWrite = 1;
    OnChange();
    m_bProgramWrite = 0;
}

void cEditControl::LoadValue()
{
    if (m_lpString) SetDlgItemString(m_hDialog, m_wId, *m_lpString);
}

void cEditControl::StoreValue()
{
    if (m_lpString) GetDlgItemString(m_hDialog, m_wId, *m_lpString, ReadLimit());
}

int cEditControl::ReadLimit() const { return m_bDoubleByte ? 2 * m_nLimit - 1 : m_nLimit; }

void SetDlgItemString(HWND hDlg, int id, const std::string& text) { SetDlgItemTextA(hDlg, id, text.c_str()); }

void GetDlgItemString(HWND hDlg, int id, std::string& text, int limit)
{
    // A limit beyond the buffer (4096 with the double-byte flag reads 8191) is held to it.
    std::vector<char> buffer(kDlgItemStringBuffer, '\0');
    const int size = limit < kDlgItemStringBuffer ? limit : kDlgItemStringBuffer;
    GetDlgItemTextA(hDlg, id, buffer.data(), size);
    text = buffer.data();
}

namespace {

template <class Control>
Control* FindControlOf(cSafeVector<Control*>& controls, WORD id)
{
    for (Control* control : controls)
        if (control && control->m_wId == id) return control;
    DebugErrorBoxF("コントロールID 【%u】 が見つかりません！", static_cast<unsigned>(id));
    PostMessageA(g_hWnd.load(), WM_CLOSE, 0, 0);
    return nullptr;
}

}  // namespace

cCheckBoxControl* FindCheckBox(cSafeVector<cCheckBoxControl*>& controls, WORD id) { return FindControlOf(controls, id); }

cLabelControl* FindLabel(cSafeVector<cLabelControl*>& controls, WORD id) { return FindControlOf(controls, id); }
