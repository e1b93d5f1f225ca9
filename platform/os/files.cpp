#include "platform/os/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/os/path_cache.h"

namespace {

thread_local DWORD t_LastError = ERROR_SUCCESS;

bool IsFolder(const std::string& native)
{
    struct stat st;
    return stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The Windows error for a failed system call on a Linux path.
DWORD ErrorFromErrno(int error, const std::string& native)
{
    switch (error) {
    case ENOENT: {
        const std::size_t slash = native.rfind('/');
        const std::string parent = slash == 0 ? "/" : native.substr(0, slash);
        return IsFolder(parent) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    }
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return ERROR_PATH_NOT_FOUND;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    default: return ERROR_ACCESS_DENIED;
    }
}

BOOL FailWithErrno(const std::string& native)
{
    SetLastError(ErrorFromErrno(errno, native));
    return FALSE;
}

// Maps the path of a call to the disk; sets the error when it cannot be.
bool Resolve(const char* path, plat::cResolvedPath& resolved)
{
    if (!path) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    resolved = plat::ResolvePath(path);
    if (!resolved.native.empty()) return true;
    SetLastError(*path ? ERROR_INVALID_NAME : ERROR_PATH_NOT_FOUND);
    return false;
}

// Makes, or removes, what a path names with one system call, and brings the listings up to date.
BOOL ChangePath(const char* path, int (*change)(const char* native))
{
    plat::cResolvedPath resolved;
    if (!Resolve(path, resolved)) return FALSE;
    if (change(resolved.native.c_str()) != 0) return FailWithErrno(resolved.native);
    plat::NotePathChanged(resolved.native);
    return TRUE;
}

// The C library's mode for a program's mode: Windows letters ("t", commit flags) dropped,
// descriptors not handed to child processes.
bool PosixMode(const char* mode, std::string& posix)
{
    if (!mode || mode[0] == '\0' || !std::strchr("rwa", mode[0])) return false;
    posix = mode[0];
    if (std::strchr(mode, '+')) posix += '+';
    posix += 'e';
    return true;
}

}  // namespace

DWORD GetLastError()
{
    return t_LastError;
}

void SetLastError(DWORD error)
{
    t_LastError = error;
}

BOOL CreateDirectoryA(const char* path, void* securityAttributes)
{
    (void)securityAttributes;
    return ChangePath(path, [](const char* native) { return mkdir(native, 0777); });
}

DWORD GetFileAttributesA(const char* path)
{
    plat::cResolvedPath resolved;
    if (!Resolve(path, resolved)) return INVALID_FILE_ATTRIBUTES;
    struct stat st;
    if (stat(resolved.native.c_str(), &st) != 0) {
        FailWithErrno(resolved.native);
        return INVALID_FILE_ATTRIBUTES;
    }
    return S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

BOOL PathIsDirectoryA(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? FILE_ATTRIBUTE_DIRECTORY
                                                                                           : FALSE;
}

BOOL DeleteFileA(const char* path)
{
    return ChangePath(path, &unlink);
}

BOOL RemoveDirectoryA(const char* path)
{
    return ChangePath(path, &rmdir);
}

BOOL MoveFileA(const char* from, const char* to)
{
    plat::cResolvedPath source, target;
    if (!Resolve(from, source) || !Resolve(to, target)) return FALSE;
    if (rename(source.native.c_str(), target.native.c_str()) != 0) return FailWithErrno(source.native);
    plat::NotePathChanged(source.native);
    plat::NotePathChanged(target.native);
    return TRUE;
}

BOOL SetCurrentDirectoryA(const char* path)
{
    plat::cResolvedPath resolved;
    if (!Resolve(path, resolved)) return FALSE;
    if (chdir(resolved.native.c_str()) != 0) return FailWithErrno(resolved.native);
    return TRUE;
}

namespace plat {

namespace {

// Maps the path of an open to the disk; sets errno when it cannot be.
bool ResolveForOpen(const char* path, cResolvedPath& resolved)
{
    if (!path) {
        errno = EINVAL;
        return false;
    }
    resolved = ResolvePath(path);
    if (!resolved.native.empty()) return true;
    errno = ENOENT;
    return false;
}

}  // namespace

FILE* OpenFile(const char* path, const char* mode)
{
    std::string posixMode;
    if (!PosixMode(mode, posixMode)) {
        errno = EINVAL;
        return nullptr;
    }
    cResolvedPath resolved;
    if (!ResolveForOpen(path, resolved)) return nullptr;
    FILE* file = std::fopen(resolved.native.c_str(), posixMode.c_str());
    if (file && !resolved.bFound) NotePathChanged(resolved.native);
    return file;
}

FILE* OpenRegularFile(const char* path)
{
    cResolvedPath resolved;
    if (!ResolveForOpen(path, resolved)) return nullptr;
    // Non-blocking, so that a named pipe with no writer does not hold the open.
    const int fd = open(resolved.native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    int error = 0;
    if (fstat(fd, &st) != 0) error = errno;
    else if (!S_ISREG(st.st_mode)) error = EINVAL;
    else if (fcntl(fd, F_SETFL, 0) != 0) error = errno;   // reads block again, as fopen's do
    FILE* file = error ? nullptr : fdopen(fd, "rb");
    if (!file) {
        if (!error) error = errno;
        close(fd);
        errno = error;
    }
    return file;
}

bool IsRegularNativeFile(const std::string& nativePath)
{
    struct stat st {};
    return stat(nativePath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace plat
