// The dialog manager: focus, the keys that move it or press buttons, and mouse clicks.
#include <algorithm>

#include "platform/input/keyboard.h"
#include "platform/ui/dialog_internal.h"
#include "platform/ui/ime.h"

namespace plat {
namespace {

bool IsButton(const cDlgControl& c) { return c.kind == eDialogItem::Button || c.kind == eDialogItem::DefButton; }

bool IsClickable(const cDlgControl& c)
{
    return IsButton(c) || c.kind == eDialogItem::AutoRadio || c.kind == eDialogItem::AutoCheckBox;
}

void Command(cDlgWindow& dlg, int id, WORD notification, HWND from)
{
    SendMessageA(dlg.hWnd, WM_COMMAND, static_cast<WPARAM>(notification) << 16 | static_cast<WORD>(id),
                 reinterpret_cast<LPARAM>(from));
}

// Tab stops in order; a radio group is one stop, at its checked button.
std::vector<cDlgControl*> TabStops(cDlgWindow& dlg)
{
    std::vector<cDlgControl*> stops;
    for (auto& c : dlg.controls) {
        if (!(c->style & WS_TABSTOP) || !CanTakeFocus(*c)) continue;
        if (c->kind == eDialogItem::AutoRadio) {
            cDlgControl* groupStop = nullptr;
            bool seen = false;
            for (cDlgControl* s : stops)
                if (InRadioGroupOf(dlg, *s, *c)) seen = true;
            if (seen) continue;
            for (auto& other : dlg.controls)
                if ((other.get() == c.get() || InRadioGroupOf(dlg, *c, *other)) && other->nCheck) groupStop = other.get();
            stops.push_back(groupStop ? groupStop : c.get());
            continue;
        }
        stops.push_back(c.get());
    }
    return stops;
}

void MoveInRadioGroup(cDlgWindow& dlg, cDlgControl& from, int direction)
{
    std::vector<cDlgControl*> group;
    for (auto& c : dlg.controls)
        if ((c.get() == &from || InRadioGroupOf(dlg, from, *c)) && c->bEnabled) group.push_back(c.get());
    const auto it = std::find(group.begin(), group.end(), &from);
    if (it == group.end() || group.size() < 2) return;
    const int n = static_cast<int>(group.size());
    const int next = (static_cast<int>(it - group.begin()) + direction + n) % n;
    MoveFocus(dlg, group[static_cast<std::size_t>(next)]->hWnd);
    ClickButton(dlg, *group[static_cast<std::size_t>(next)]);
}

void ListKey(cDlgWindow& dlg, cDlgControl& list, int direction)
{
    if (list.items.empty()) return;
    const int count = static_cast<int>(list.items.size());
    list.nCurSel = std::clamp(list.nCurSel + direction, 0, count - 1);
    dlg.bDirty = true;
    Command(dlg, list.id, LBN_SELCHANGE, list.hWnd);
}

}  // namespace

bool CanTakeFocus(const cDlgControl& c)
{
    return c.bEnabled && (IsClickable(c) || c.kind == eDialogItem::Edit || c.kind == eDialogItem::ListBox);
}

void MoveFocus(cDlgWindow& dlg, HWND hTo)
{
    cDlgControl* to = FindControl(hTo);
    if (!to || to->hDlg != dlg.hWnd) return;
    cDlgControl* from = FindControl(dlg.hFocus);
    dlg.hFocus = hTo;
    dlg.bDirty = true;
    if (from != to) {
        if (from && from->kind == eDialogItem::Edit) Command(dlg, from->id, EN_KILLFOCUS, from->hWnd);
        if (to->kind == eDialogItem::Edit) Command(dlg, to->id, EN_SETFOCUS, to->hWnd);
    }
    // Text input runs only while an edit has the focus, its candidate box at the caret.
    if (to->kind == eDialogItem::Edit) {
        const POINT caret = CaretOnScreen(dlg, *to);
        StartTextInputAt(caret.x, caret.y, kDialogTextHeight + 4);
    } else {
        StopTextInput();
    }
}

bool DialogManagerKey(cDlgWindow& dlg, int virtualKey)
{
    cDlgControl* focus = FindControl(dlg.hFocus);
    const bool shift = (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
    switch (virtualKey) {
    case VK_RETURN: {
        if (!CompositionCp932().empty()) return true;
        if (focus && IsButton(*focus)) {
            ClickButton(dlg, *focus);
            return true;
        }
        for (auto& c : dlg.controls)
            if (c->kind == eDialogItem::DefButton && c->bEnabled) {
                ClickButton(dlg, *c);
                return true;
            }
        Command(dlg, 1, BN_CLICKED, nullptr);
        return true;
    }
    case VK_ESCAPE:
        Command(dlg, IDCANCEL, BN_CLICKED, nullptr);
        return true;
    case VK_TAB: {
        const std::vector<cDlgControl*> stops = TabStops(dlg);
        if (stops.empty()) return true;
        auto it = std::find(stops.begin(), stops.end(), focus);
        if (it == stops.end() && focus)
            for (auto s = stops.begin(); s != stops.end(); ++s)
                if (InRadioGroupOf(dlg, **s, *focus)) it = s;
        const int n = static_cast<int>(stops.size());
        const int at = it == stops.end() ? -1 : static_cast<int>(it - stops.begin());
        cDlgControl* next = stops[static_cast<std::size_t>(((at < 0 ? (shift ? 0 : -1) : at) + (shift ? -1 : 1) + n) % n)];
        // An edit reached by Tab has its whole text selected.
        if (next->kind == eDialogItem::Edit) {
            next->nSelStart = 0;
            next->nSelEnd = static_cast<int>(next->text.size());
        }
        MoveFocus(dlg, next->hWnd);
        return true;
    }
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
        const int direction = virtualKey == VK_LEFT || virtualKey == VK_UP ? -1 : 1;
        if (focus && focus->kind == eDialogItem::AutoRadio) {
            MoveInRadioGroup(dlg, *focus, direction);
            return true;
        }
        if (focus && focus->kind == eDialogItem::ListBox && (virtualKey == VK_UP || virtualKey == VK_DOWN)) {
            ListKey(dlg, *focus, direction);
            return true;
        }
        return false;
    }
    case VK_SPACE:
        if (focus && IsClickable(*focus)) {
            ClickButton(dlg, *focus);
            return true;
        }
        return false;
    default:
        return false;
    }
}

void DialogClick(cDlgWindow& dlg, POINT client)
{
    for (auto& c : dlg.controls) {
        const RECT& r = c->rc;
        if (client.x < r.left || client.x >= r.right || client.y < r.top || client.y >= r.bottom) continue;
        if (!CanTakeFocus(*c)) continue;
        MoveFocus(dlg, c->hWnd);
        if (c->kind == eDialogItem::ListBox) {
            const int row = c->nScroll + (client.y - r.top - 2) / kListRowHeight;
            if (row >= 0 && row < static_cast<int>(c->items.size())) {
                const bool again = row == c->nCurSel;
                c->nCurSel = row;
                Command(dlg, c->id, again ? LBN_DBLCLK : LBN_SELCHANGE, c->hWnd);
            }
        } else if (c->kind == eDialogItem::Edit) {
            c->nSelStart = c->nSelEnd = static_cast<int>(c->text.size());
        } else {
            ClickButton(dlg, *c);
        }
        return;
    }
}

}  // namespace plat
