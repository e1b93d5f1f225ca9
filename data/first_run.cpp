#include "data/first_run.h"

#include "data/data_paths.h"
#include "platform/os/file_ops.h"
#include "platform/os/files.h"
#include "platform/os/message_box.h"
#include "shell/log.h"

int CreateDefaultData(HWND owner)
{
    if (PathIsDirectoryA(g_DataPaths[DATAPATH_DATA])) return 1;
    if (!PathIsDirectoryA(g_DataPaths[DATAPATH_DEFAULT])) return 0;
    if (MessageBoxA(owner, "データが存在しません！デフォルトデータを作成しますか？\n", "デフォルトデータ作成の確認",
                    MB_YESNO) != IDYES) {
        return 0;
    }
    if (plat::CopyFolderWhole("default", "data")) return 1;
    ReportLog("%s", "default -> data : copy failed");
    return 0;
}
