#include "data/first_run.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "data/data_paths.h"
#include "platform/os/files.h"
#include "platform/os/message_box.h"
#include "shell/log.h"

namespace fs = std::filesystem;

namespace {

// Deeper than any game's data: a folder linked into itself stops here.
constexpr int kMaxFolderDepth = 64;

bool SyncPath(const fs::path& path, int flags)
{
    int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) return false;
    bool synced = ::fsync(fd) == 0;
    return (::close(fd) == 0) && synced;
}

bool CopyFileSynced(const fs::path& from, const fs::path& to)
{
    std::error_code error;
    return fs::copy_file(from, to, fs::copy_options::none, error) && SyncPath(to, O_RDONLY);
}

// Copies the folder tree from into the new folder to. Anything that is neither a folder nor a
// regular file (after following links) fails the copy.
bool CopyTree(const fs::path& from, const fs::path& to, int depth)
{
    std::error_code error;
    if (depth > kMaxFolderDepth || !fs::create_directory(to, error)) return false;
    fs::directory_iterator it(from, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const fs::path target = to / it->path().filename();
        const fs::file_status status = it->status(error);
        if (error) return false;
        if (fs::is_directory(status)) {
            if (!CopyTree(it->path(), target, depth + 1)) return false;
        } else if (!fs::is_regular_file(status) || !CopyFileSynced(it->path(), target)) {
            return false;
        }
    }
    return !error && SyncPath(to, O_RDONLY | O_DIRECTORY);
}

// Makes the folder to (which does not exist) a copy of from, all or nothing.
bool CopyFolderWhole(const char* from, const char* to)
{
    const std::string source = plat::NativePath(from);
    const std::string target = plat::NativePath(to);
    if (source.empty() || target.empty()) return false;
    const fs::path temporary = target + ".copying";
    std::error_code error;
    fs::remove_all(temporary, error);  // left by a copy that was cut short
    bool copied = CopyTree(source, temporary, 0);
    if (copied) {
        fs::rename(temporary, target, error);
        copied = !error;
    }
    if (copied) SyncPath(fs::path(target).parent_path(), O_RDONLY | O_DIRECTORY);
    else fs::remove_all(temporary, error);
    plat::NotePathChanged(temporary.string());
    plat::NotePathChanged(target);
    return copied;
}

}  // namespace

int CreateDefaultData(HWND owner)
{
    if (PathIsDirectoryA(g_DataPaths[DATAPATH_DATA])) return 1;
    if (!PathIsDirectoryA(g_DataPaths[DATAPATH_DEFAULT])) return 0;
    if (MessageBoxA(owner, "データが存在しません！デフォルトデータを作成しますか？\n", "デフォルトデータ作成の確認",
                    MB_YESNO) != IDYES) {
        return 0;
    }
    if (CopyFolderWhole("default", "data")) return 1;
    ReportLog("%s", "default -> data : copy failed");
    return 0;
}
