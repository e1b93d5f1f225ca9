#include "app/replay_save_dialog.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app/file_dialogs.h"
#include "app/window_requests.h"
#include "platform/os/files.h"
#include "platform/os/message_box.h"
#include "shell/path_utils.h"
#include "shell/system_ini.h"

namespace {

constexpr const char* kReplayFolder = "user_data\\rpl4\\";

std::string ReplayExtension()
{
    char ext[32] = {};
    std::snprintf(ext, sizeof ext, "rpl4_%s", "692");
    return ext;
}

}  // namespace

std::string DefaultReplayName(const char* stageName)
{
    if (!stageName || !*stageName) return {};
    const std::string ext = ReplayExtension();
    char renamed[MAX_PATH] = {};
    // A name without an extension takes the replay's after it.
    if (!ChangeExtension(renamed, stageName, ext.c_str()))
        std::snprintf(renamed, sizeof renamed, "%s.%s", stageName, ext.c_str());
    StripDirectory(renamed);
    // A name that does not fit a path beside the folder gets no default.
    const std::string joined = std::string(kReplayFolder) + renamed;
    if (joined.size() >= MAX_PATH) return {};
    char path[MAX_PATH] = {};
    std::memcpy(path, joined.c_str(), joined.size() + 1);
    char candidate[MAX_PATH] = {};
    for (int i = 0; i <= 8; ++i) {
        for (int j = 0; j <= 8; ++j) {
            InsertNumberSuffix(candidate, path, i, j);
            if (GetFileAttributesA(candidate) == INVALID_FILE_ATTRIBUTES) return StripDirectory(std::string(candidate));
        }
    }
    return StripDirectory(std::string(candidate));
}

bool ReplaySaveDialog(char path[MAX_PATH], const char* stageName)
{
    const std::string ext = ReplayExtension();
    std::snprintf(path, MAX_PATH, "%s", DefaultReplayName(stageName).c_str());
    g_RequestSeams.setDialogMode(1);
    // The filter as the chooser takes it: description, NUL, pattern, NUL.
    std::string filter = "ReplayFile ( *." + ext + " )";
    filter.push_back('\0');
    filter += "*." + ext;
    filter.push_back('\0');
    const char* title = g_SystemIni.English ? "Save replay file" : "リプレイファイルの保存";
    const bool chosen = SaveFileDialog(GetActiveWindow(), path, kReplayFolder, title, filter.c_str(), ext.c_str(), 1);
    g_RequestSeams.setDialogMode(0);
    return chosen;
}
