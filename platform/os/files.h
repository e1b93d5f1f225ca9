#pragma once
// Files and folders by Windows-style CP932 paths. Every file the runtime touches is opened
// through OpenFile, which maps the path to the Linux file (backslashes, CP932 to UTF-8,
// case-insensitive match of each component against a cached listing).
#include <cstdio>
#include <string>
#include "platform/os/windows_types.h"

constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_DISK_FULL = 112;
constexpr DWORD ERROR_INVALID_NAME = 123;
constexpr DWORD ERROR_DIR_NOT_EMPTY = 145;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;

// The error of the calling thread's last failed call below.
DWORD GetLastError();
void SetLastError(DWORD error);

BOOL CreateDirectoryA(const char* path, void* securityAttributes);
DWORD GetFileAttributesA(const char* path);
BOOL PathIsDirectoryA(const char* path);
BOOL DeleteFileA(const char* path);
BOOL RemoveDirectoryA(const char* path);
BOOL MoveFileA(const char* from, const char* to);    // replaces an existing target
DWORD GetCurrentDirectoryA(DWORD size, char* buffer); // in-program form, "\home\ann\game"
BOOL SetCurrentDirectoryA(const char* path);
DWORD GetFullPathNameA(const char* path, DWORD size, char* buffer, char** filePart);
BOOL PathIsRelativeA(const char* path);
BOOL PathRelativePathToA(char* out, const char* from, DWORD fromAttributes, const char* to, DWORD toAttributes);

namespace plat {

// The absolute Linux path (UTF-8) for a program path, relative ones taken from the working
// folder; the case of existing components is found on disk, missing components keep their
// spelling. Empty when the path is empty or has a byte sequence with no Unicode form.
std::string NativePath(const char* path);

// fopen on a program path (modes "r", "w", "a", with "+"; "b" and "t" make no difference);
// a file that is created is added to the listing cache.
FILE* OpenFile(const char* path, const char* mode);
// Opens an existing regular file for reading. Anything else (a folder, a named pipe, a
// device) fails at once, with errno EINVAL, instead of blocking or reading for ever.
FILE* OpenRegularFile(const char* path);
// True when a Linux path names a regular file (links followed). For the files a library opens
// by path itself (fonts, the sound font): it would wait for ever on a named pipe.
bool IsRegularNativeFile(const std::string& nativePath);

// The in-program form of a Linux absolute path ("/home/ann" -> "\home\ann"); false when
// the path has no CP932 form.
bool ToProgramPath(const std::string& nativePath, std::string& programPath);

// Forgets every cached listing (tests that change files behind the runtime's back).
void FlushPathCache();
// Tells the cache that the runtime created, renamed or removed this native path.
void NotePathChanged(const std::string& nativePath);

}  // namespace plat
