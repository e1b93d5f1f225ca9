// Message boxes drawn by the dialog toolkit.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/os/message_box.h"
#include "platform/ui/dialog_internal.h"
#include "platform/ui/sdl_window.h"

namespace plat {
namespace {

constexpr WORD kTextId = 0xFFFF;
constexpr short kWidth = 240;

// The type of the box being shown; 0 when none (a box's loop opens no second box this way).
UINT s_nBoxType = 0;

bool IsYesNo(UINT type) { return (type & MB_TYPEMASK) == MB_YESNO; }

// Escape and the close box give the answer a closed box gives: No, or OK.
INT_PTR BoxProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM)
{
    const INT_PTR dismissed = IsYesNo(s_nBoxType) ? IDNO : IDOK;
    if (msg == WM_COMMAND) {
        const int id = static_cast<int>(wParam & 0xFFFF);
        if (id == IDOK || id == IDYES || id == IDNO) EndDialog(hDlg, id);
        else if (id == IDCANCEL) EndDialog(hDlg, dismissed);
        return 1;
    }
    if (msg == WM_CLOSE) {
        EndDialog(hDlg, dismissed);
        return 1;
    }
    return 0;
}

}  // namespace

}  // namespace plat

int plat::ShowBoxAsDialog(HWND owner, const char* text, const char* caption, UINT type)
{
    if (IsHeadless() || !BoxesMayBeShown() || !MainSdlWindow() || !IsWindowThread() || DialogAnswerSourceSet() ||
        s_nBoxType)
        return 0;
    const std::string body = text ? text : "";
    const DIALOGTEMPLATE probe{0, WS_CAPTION, kWidth, 0, "ＭＳ Ｐゴシック", 9, caption, nullptr, 0, false};
    const int textHeight = std::max(kDialogTextHeight, WrappedTextHeight(probe, body, DialogUnitsToPixels(kWidth - 20)));
    const auto textUnits = static_cast<short>(textHeight * 2 / 3 + 2);
    const auto buttonsY = static_cast<short>(14 + textUnits);
    std::vector<DIALOGITEM> items{{kTextId, eDialogItem::Static, body.c_str(), 10, 8, kWidth - 20, textUnits, 0}};
    if (IsYesNo(type)) {
        items.push_back({IDYES, eDialogItem::DefButton, "はい", kWidth / 2 - 55, buttonsY, 50, 14, WS_TABSTOP});
        items.push_back({IDNO, eDialogItem::Button, "いいえ", kWidth / 2 + 5, buttonsY, 50, 14, WS_TABSTOP});
    } else {
        items.push_back({IDOK, eDialogItem::DefButton, "OK", kWidth / 2 - 25, buttonsY, 50, 14, WS_TABSTOP});
    }
    const DIALOGTEMPLATE box{0, WS_CAPTION, kWidth, static_cast<short>(buttonsY + 22), "ＭＳ Ｐゴシック", 9,
                             caption ? caption : "", items.data(), static_cast<int>(items.size()), false};
    s_nBoxType = type | 0x80000000u;
    const INT_PTR answer = DialogBoxIndirect(&box, owner, BoxProc, 0);
    s_nBoxType = 0;
    return answer > 0 ? static_cast<int>(answer) : 0;
}
