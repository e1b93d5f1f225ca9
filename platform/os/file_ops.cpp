#include "platform/os/file_ops.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/os/files.h"

namespace fs = std::filesystem;

namespace plat {

namespace {

// The byte count after which commits fail (FailCommitsAfter); negative: they do not.
std::atomic<std::int64_t> s_nFailCommitsAfter{-1};
std::atomic<COMMITOBSERVER> s_CommitObserver{nullptr};

// Writes the bytes, or only their first part when commits are made to fail after it.
bool WriteCommitBytes(FILE* file, std::string_view bytes)
{
    const std::int64_t limit = s_nFailCommitsAfter.load();
    if (limit >= 0 && static_cast<std::uint64_t>(limit) < bytes.size()) {
        std::fwrite(bytes.data(), 1, static_cast<std::size_t>(limit), file);
        return false;
    }
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

// Deeper than any game's data: a folder linked into itself stops here.
constexpr int kMaxFolderDepth = 64;

// Syncs a file or (with O_DIRECTORY) a folder by its native path.
bool SyncPath(const fs::path& path, int flags)
{
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    return (::close(fd) == 0) && synced;
}

bool SyncFolderOf(const std::string& native)
{
    fs::path folder = fs::path(native).parent_path();
    if (folder.empty()) folder = ".";
    return SyncPath(folder, O_RDONLY | O_DIRECTORY);
}

bool CopyFileSynced(const fs::path& from, const fs::path& to)
{
    std::error_code error;
    return fs::copy_file(from, to, fs::copy_options::none, error) && SyncPath(to, O_RDONLY);
}

// Copies the folder tree from into the new folder to.
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

}  // namespace

bool cDurableFile::Open(const char* path)
{
    Abandon();
    if (!path || !*path) return false;
    m_strPath = path;
    m_strTempPath = m_strPath + ".tmp";
    m_lpFile = OpenFile(m_strTempPath.c_str(), "wb");
    return m_lpFile != nullptr;
}

bool cDurableFile::Commit(std::string_view bytes)
{
    if (!m_lpFile) return false;
    FILE* file = m_lpFile;
    m_lpFile = nullptr;
    bool written = WriteCommitBytes(file, bytes) && std::fflush(file) == 0 &&
                   ::fsync(fileno(file)) == 0;
    written = (std::fclose(file) == 0) && written;
    if (written && MoveFileA(m_strTempPath.c_str(), m_strPath.c_str())) {
        // The new file is in place; a folder that cannot be synced leaves it there but is
        // reported, since the rename may not survive a crash.
        if (COMMITOBSERVER observer = s_CommitObserver.load()) observer(m_strPath.c_str());
        const std::string native = NativePath(m_strPath.c_str());
        return !native.empty() && SyncFolderOf(native);
    }
    DeleteFileA(m_strTempPath.c_str());
    return false;
}

void cDurableFile::Abandon()
{
    if (!m_lpFile) return;
    std::fclose(m_lpFile);
    m_lpFile = nullptr;
    DeleteFileA(m_strTempPath.c_str());
}

void SetCommitObserver(COMMITOBSERVER observer) { s_CommitObserver.store(observer); }

void FailCommitsAfter(std::int64_t bytes)
{
    s_nFailCommitsAfter.store(bytes);
}

bool CopyFolderWhole(const char* from, const char* to)
{
    const std::string source = NativePath(from);
    const std::string target = NativePath(to);
    if (source.empty() || target.empty()) return false;
    const fs::path temporary = target + ".copying";
    std::error_code error;
    fs::remove_all(temporary, error);  // left by a copy that was cut short
    bool copied = CopyTree(source, temporary, 0);
    if (copied) {
        fs::rename(temporary, target, error);
        copied = !error;
    }
    if (copied) SyncFolderOf(target);
    else fs::remove_all(temporary, error);
    NotePathChanged(temporary.string());
    NotePathChanged(target);
    return copied;
}

bool AppendToFile(const char* path, std::string_view text, APPENDMODE mode)
{
    if (!path || !*path) return false;
    const std::string native = NativePath(path);
    if (native.empty()) return false;
    const int createFlags = mode == APPEND_TRUNCATE ? (O_CREAT | O_TRUNC) : 0;
    const int fd = ::open(native.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | createFlags, 0644);
    if (fd < 0) return false;
    if (mode == APPEND_TRUNCATE) NotePathChanged(native);
    std::size_t done = 0;
    bool written = true;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            written = false;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return (::close(fd) == 0) && written;
}

std::int64_t FileSize(FILE* file)
{
    struct stat info;
    if (!file || ::fstat(fileno(file), &info) != 0) return -1;
    return static_cast<std::int64_t>(info.st_size);
}

}  // namespace plat
