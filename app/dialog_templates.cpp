#include "app/dialog_templates.h"

#include <iterator>

#include "platform/ui/dialog_box.h"

namespace {

const DIALOGITEM s_NameEntryItems[] = {
    {1075, eDialogItem::Bitmap, nullptr, 7, 7, 20, 21, 0},
    {1003, eDialogItem::Edit, nullptr, 75, 12, 24, 14, WS_TABSTOP},
    {1000, eDialogItem::DefButton, "OK", 30, 35, 50, 18, WS_TABSTOP},
    {1007, eDialogItem::Static, "登録名(3文字まで)", 15, 15, 56, 16, 0},
};

const DIALOGTEMPLATE s_NameEntry{IDD_NAMEENTRY, WS_VISIBLE | DS_MODALFRAME, 110, 65, "ＭＳ Ｐゴシック", 9, "",
                                 s_NameEntryItems, static_cast<int>(std::size(s_NameEntryItems)), false};

const DIALOGITEM s_DrawingModeItems[] = {
    {1075, eDialogItem::Bitmap, nullptr, 7, 7, 20, 21, 0},
    {1000, eDialogItem::DefButton, "ゲーム開始", 80, 105, 50, 25, WS_TABSTOP},
    {1001, eDialogItem::Button, "ゲーム中止", 80, 140, 50, 18, WS_TABSTOP},
    {1006, eDialogItem::GroupBox, "描画モード", 15, 15, 190, 55, 0},
    {1002, eDialogItem::AutoRadio, "Direct3D", 20, 30, 42, 10, WS_TABSTOP},
    {1003, eDialogItem::AutoRadio, "DirectDraw", 80, 30, 45, 10, WS_TABSTOP},
    {1005, eDialogItem::Static, "詳細な設定は環境設定ファイル「System.ini」で行って下さい。", 20, 50, 177, 12, 0},
    {1004, eDialogItem::AutoCheckBox, "次回からこのダイアログを表示しない", 50, 85, 120, 10, WS_TABSTOP},
};

const DIALOGTEMPLATE s_DrawingMode{IDD_DRAWINGMODE, WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 222, 171,
                                   "ＭＳ Ｐゴシック", 9, "", s_DrawingModeItems,
                                   static_cast<int>(std::size(s_DrawingModeItems)), false};

}  // namespace

void RegisterProgramDialogs()
{
    plat::RegisterDialogTemplate(&s_NameEntry);
    plat::RegisterDialogTemplate(&s_DrawingMode);
}
