// The controls' own behaviour: texts, edit selection and typing, checks, list rows.
#include <SDL2/SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/input/keyboard.h"
#include "platform/os/text.h"
#include "platform/ui/dialog_internal.h"

namespace plat {
namespace {

WPARAM CommandOf(const cDlgControl& control, WORD notification)
{
    return static_cast<WPARAM>(notification) << 16 | control.id;
}

void Notify(const cDlgControl& control, WORD notification)
{
    SendMessageA(control.hDlg, WM_COMMAND, CommandOf(control, notification), reinterpret_cast<LPARAM>(control.hWnd));
}

void MarkDirty(const cDlgControl& control)
{
    if (cDlgWindow* dlg = FindDialog(control.hDlg)) dlg->bDirty = true;
}

int Length(const cDlgControl& control) { return static_cast<int>(control.text.size()); }

int Clamp(const cDlgControl& control, std::intptr_t position)
{
    if (position < 0 || position > Length(control)) return Length(control);
    return static_cast<int>(position);
}

// The places the caret may stand: between characters, a double-byte character and a line
// break ("\r\n") each counting as one.
std::vector<int> CaretStops(const std::string& text)
{
    std::vector<int> stops{0};
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = Cp932CharLength(text, i);
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') n = 2;
        i += n;
        stops.push_back(static_cast<int>(i));
    }
    return stops;
}

int StepCaret(const std::string& text, int caret, int direction)
{
    const std::vector<int> stops = CaretStops(text);
    if (direction < 0) {
        for (auto it = stops.rbegin(); it != stops.rend(); ++it)
            if (*it < caret) return *it;
        return 0;
    }
    for (int stop : stops)
        if (stop > caret) return stop;
    return static_cast<int>(text.size());
}

std::string Selected(const cDlgControl& edit)
{
    const int from = std::min(edit.nSelStart, edit.nSelEnd), to = std::max(edit.nSelStart, edit.nSelEnd);
    return edit.text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
}

void ReplaceSelection(cDlgControl& edit, const std::string& with)
{
    const int from = std::min(edit.nSelStart, edit.nSelEnd), to = std::max(edit.nSelStart, edit.nSelEnd);
    std::string text = edit.text;
    text.replace(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from), with);
    const int caret = from + static_cast<int>(with.size());
    UserEditChange(edit, text, caret, caret);
}

bool InSameRadioGroup(const cDlgWindow& dlg, const cDlgControl& a, const cDlgControl& b);

}  // namespace

void UserEditChange(cDlgControl& edit, const std::string& text, int selStart, int selEnd)
{
    edit.text = text;
    edit.nSelStart = Clamp(edit, selStart);
    edit.nSelEnd = Clamp(edit, selEnd);
    MarkDirty(edit);
    Notify(edit, EN_UPDATE);
    Notify(edit, EN_CHANGE);
}

void TypeIntoEdit(cDlgControl& edit, const std::string& cp932)
{
    if (!edit.bEnabled) return;
    std::string text = cp932;
    const std::size_t lineBreak = text.find_first_of("\r\n");
    if (lineBreak != std::string::npos) text.resize(lineBreak);
    if (text.empty() && Selected(edit).empty()) return;
    ReplaceSelection(edit, text);
}

void EditKey(cDlgControl& edit, int virtualKey)
{
    const bool shift = (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
    const bool ctrl = (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
    const int caret = edit.nSelEnd;
    const bool selection = edit.nSelStart != edit.nSelEnd;
    auto moveTo = [&](int to) {
        edit.nSelEnd = to;
        if (!shift) edit.nSelStart = to;
        MarkDirty(edit);
    };
    switch (virtualKey) {
    case VK_LEFT: moveTo(StepCaret(edit.text, caret, -1)); return;
    case VK_RIGHT: moveTo(StepCaret(edit.text, caret, 1)); return;
    case 0x24: moveTo(0); return;                       // Home
    case 0x23: moveTo(Length(edit)); return;            // End
    case VK_BACK:
        if (!selection) {
            if (caret == 0) return;
            edit.nSelStart = StepCaret(edit.text, caret, -1);
        }
        ReplaceSelection(edit, "");
        return;
    case VK_DELETE:
        if (!selection) {
            if (caret >= Length(edit)) return;
            edit.nSelStart = StepCaret(edit.text, caret, 1);
        }
        ReplaceSelection(edit, "");
        return;
    default:
        break;
    }
    if (!ctrl) return;
    if (virtualKey == 'A') {
        edit.nSelStart = 0;
        edit.nSelEnd = Length(edit);
        MarkDirty(edit);
    } else if ((virtualKey == 'C' || virtualKey == 'X') && selection) {
        SDL_SetClipboardText(Cp932ToUtf8(Selected(edit)).c_str());
        if (virtualKey == 'X') ReplaceSelection(edit, "");
    } else if (virtualKey == 'V' && SDL_HasClipboardText()) {
        char* clip = SDL_GetClipboardText();
        std::string utf8 = clip ? clip : "";
        SDL_free(clip);
        // A paste is cut at its first line break before it is converted.
        const std::size_t lineBreak = utf8.find_first_of("\r\n");
        if (lineBreak != std::string::npos) utf8.resize(lineBreak);
        std::string cp932;
        if (Utf8ToCp932(utf8, cp932)) TypeIntoEdit(edit, cp932);
    }
}

void ClickButton(cDlgWindow& dlg, cDlgControl& button)
{
    if (!button.bEnabled) return;
    if (button.kind == eDialogItem::AutoRadio) {
        for (auto& other : dlg.controls)
            if (other.get() != &button && InSameRadioGroup(dlg, button, *other)) other->nCheck = 0;
        button.nCheck = 1;
    } else if (button.kind == eDialogItem::AutoCheckBox) {
        button.nCheck = button.nCheck ? 0 : 1;
    }
    dlg.bDirty = true;
    Notify(button, BN_CLICKED);
}

namespace {

// A group of radio buttons: the run of radio buttons around one, cut where a control starts
// a new group.
bool InSameRadioGroup(const cDlgWindow& dlg, const cDlgControl& a, const cDlgControl& b)
{
    if (a.kind != eDialogItem::AutoRadio || b.kind != eDialogItem::AutoRadio) return false;
    int ia = -1, ib = -1;
    for (int i = 0; i < static_cast<int>(dlg.controls.size()); ++i) {
        if (dlg.controls[static_cast<std::size_t>(i)].get() == &a) ia = i;
        if (dlg.controls[static_cast<std::size_t>(i)].get() == &b) ib = i;
    }
    if (ia < 0 || ib < 0) return false;
    for (int i = std::min(ia, ib) + 1; i <= std::max(ia, ib); ++i) {
        const cDlgControl& c = *dlg.controls[static_cast<std::size_t>(i)];
        if (c.kind != eDialogItem::AutoRadio || (c.style & WS_GROUP)) return false;
    }
    return true;
}

LRESULT ListMessage(cDlgControl& list, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case LB_ADDSTRING:
        list.items.emplace_back(reinterpret_cast<const char*>(lParam));
        MarkDirty(list);
        return static_cast<LRESULT>(list.items.size() - 1);
    case LB_RESETCONTENT:
        list.items.clear();
        list.nCurSel = -1;
        list.nScroll = 0;
        MarkDirty(list);
        return 0;
    case LB_SETCURSEL:
        list.nCurSel = static_cast<int>(wParam) < static_cast<int>(list.items.size()) ? static_cast<int>(wParam) : -1;
        MarkDirty(list);
        return list.nCurSel;
    case LB_GETCURSEL: return list.nCurSel;
    case LB_GETCOUNT: return static_cast<LRESULT>(list.items.size());
    case LB_GETTEXT: {
        if (wParam >= list.items.size() || !lParam) return -1;
        const std::string& row = list.items[wParam];
        std::memcpy(reinterpret_cast<char*>(lParam), row.c_str(), row.size() + 1);
        return static_cast<LRESULT>(row.size());
    }
    default: return 0;
    }
}

}  // namespace

bool InRadioGroupOf(const cDlgWindow& dlg, const cDlgControl& a, const cDlgControl& b) { return InSameRadioGroup(dlg, a, b); }

LRESULT ControlWindowProc(HWND hCtl, UINT msg, WPARAM wParam, LPARAM lParam)
{
    cDlgControl* control = FindControl(hCtl);
    if (!control) return 0;
    cDlgControl& c = *control;
    switch (msg) {
    case WM_SETTEXT:
        c.text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        c.nSelStart = c.nSelEnd = 0;
        MarkDirty(c);
        // A single-line edit tells its dialog of a text set by the program too.
        if (c.kind == eDialogItem::Edit) {
            Notify(c, EN_UPDATE);
            Notify(c, EN_CHANGE);
        }
        return TRUE;
    case WM_GETTEXT: {
        if (wParam == 0 || !lParam) return 0;
        const std::size_t n = std::min<std::size_t>(wParam - 1, c.text.size());
        char* out = reinterpret_cast<char*>(lParam);
        std::memcpy(out, c.text.data(), n);
        out[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: return Length(c);
    case EM_GETSEL: {
        const auto from = static_cast<DWORD>(std::min(c.nSelStart, c.nSelEnd));
        const auto to = static_cast<DWORD>(std::max(c.nSelStart, c.nSelEnd));
        if (wParam) *reinterpret_cast<DWORD*>(wParam) = from;
        if (lParam) *reinterpret_cast<DWORD*>(lParam) = to;
        return static_cast<LRESULT>((std::min<DWORD>(to, 0xFFFF) << 16) | std::min<DWORD>(from, 0xFFFF));
    }
    case EM_SETSEL: {
        const auto start = static_cast<std::intptr_t>(wParam), end = static_cast<std::intptr_t>(lParam);
        if (start == -1) {
            c.nSelStart = c.nSelEnd;
        } else {
            c.nSelStart = Clamp(c, start);
            c.nSelEnd = Clamp(c, end);
        }
        MarkDirty(c);
        return 0;
    }
    case EM_REPLACESEL:
        ReplaceSelection(c, lParam ? reinterpret_cast<const char*>(lParam) : "");
        return 0;
    case BM_GETCHECK: return c.nCheck;
    case BM_SETCHECK:
        c.nCheck = static_cast<int>(wParam);
        MarkDirty(c);
        return 0;
    case BM_CLICK:
        if (cDlgWindow* dlg = FindDialog(c.hDlg)) ClickButton(*dlg, c);
        return 0;
    case WM_ENABLE:
        c.bEnabled = wParam != 0;
        MarkDirty(c);
        return 0;
    default:
        if (c.kind == eDialogItem::ListBox) return ListMessage(c, msg, wParam, lParam);
        return 0;
    }
}

}  // namespace plat
