#include "shell/path_utils.h"

#include <cstring>
#include <optional>

#include "platform/os/files.h"
#include "platform/os/text.h"
#include "shell/format.h"

namespace {

// The text of an in-place buffer, never read past its MAX_PATH bytes.
std::string_view BufferText(const char* path)
{
    return std::string_view(path, strnlen(path, MAX_PATH));
}

// Copies text and its NUL into a MAX_PATH buffer; false, the buffer untouched, when it does
// not fit. The text may lie in the buffer itself.
bool CopyToPath(char* out, std::string_view text)
{
    if (text.size() >= MAX_PATH) return false;
    std::memmove(out, text.data(), text.size());
    out[text.size()] = '\0';
    return true;
}

// name with the text after its last '.' replaced by ext, or cut before the '.' when ext is
// null; nothing when name has no '.'.
std::optional<std::string> WithExtension(std::string_view name, const char* ext)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return std::nullopt;
    std::string result(name.substr(0, ext ? dot + 1 : dot));
    if (ext) result += ext;
    return result;
}

}  // namespace

bool MakeRelativePath(char path[MAX_PATH])
{
    if (!path) return false;
    if (PathIsRelativeA(path)) return true;
    char folder[MAX_PATH];
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) return false;
    char relative[MAX_PATH];
    if (!PathRelativePathToA(relative, folder, FILE_ATTRIBUTE_DIRECTORY, path, FILE_ATTRIBUTE_NORMAL)) return false;
    return CopyToPath(path, relative);
}

bool MakeRelativePathStr(std::string& path)
{
    char buffer[MAX_PATH];
    if (!CopyToPath(buffer, path) || !MakeRelativePath(buffer)) return false;
    path = buffer;
    return true;
}

bool MakeAbsolutePath(char path[MAX_PATH])
{
    if (!path) return false;
    if (!PathIsRelativeA(path)) return true;
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(path, MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) return false;
    return CopyToPath(path, full);
}

void StripDirectory(char path[MAX_PATH])
{
    if (!path) return;
    const std::string_view text = BufferText(path);
    const std::size_t separator = plat::FindLastSingleByte(text, '\\');
    if (separator != std::string_view::npos) CopyToPath(path, text.substr(separator + 1));
}

std::string StripDirectory(std::string_view path)
{
    const std::size_t separator = plat::FindLastSingleByte(path, '\\');
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

bool ChangeExtension(char out[MAX_PATH], const char* name, const char* ext)
{
    if (!out || !name) return false;
    const std::optional<std::string> changed = WithExtension(name, ext);
    if (!changed) {
        CopyToPath(out, name);
        return false;
    }
    return CopyToPath(out, *changed);
}

bool StripExtension(char path[MAX_PATH])
{
    if (!path) return false;
    const std::size_t dot = BufferText(path).rfind('.');
    if (dot == std::string_view::npos) return false;
    path[dot] = '\0';
    return true;
}

bool StripExtensionStr(std::string& path)
{
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos) return false;
    path.erase(dot);
    return true;
}

bool GetExtension(char* out, const char* name)
{
    if (!out || !name) return false;
    const std::string_view text = name;
    const std::size_t dot = text.rfind('.');
    return dot != std::string_view::npos && CopyToPath(out, text.substr(dot + 1));
}

bool InsertNumberSuffix(char* out, const char* name, int a, int b)
{
    if (!out || !name) return false;
    const std::string_view text = name;
    const std::size_t dot = text.rfind('.');
    if (dot == std::string_view::npos) return false;
    std::string result(text.substr(0, dot));
    AppendFormatString(result, "_%d%d", a, b);
    result += text.substr(dot);
    return CopyToPath(out, result);
}

bool FindHighestNumberedFile(char out[MAX_PATH], const char* name, const char* ext)
{
    if (!out || !name) return false;
    const std::string base = WithExtension(name, ext).value_or(name);
    std::string candidate;
    for (int number = 999; number >= 0; --number) {
        FormatString(candidate, "%s_%d%d%d", base.c_str(), number / 100, number / 10 % 10, number % 10);
        if (GetFileAttributesA(candidate.c_str()) != INVALID_FILE_ATTRIBUTES) return CopyToPath(out, candidate);
    }
    return false;
}

bool FindHighestNumberedFileStr(std::string& out, const char* name, const char* ext)
{
    char found[MAX_PATH];
    if (!FindHighestNumberedFile(found, name, ext)) return false;
    out = found;
    return true;
}
