// Path names worked out as text, in the program's form: nothing here touches the disk
// except for reading the working folder.
#include <cstring>

#include "platform/os/files.h"
#include "platform/os/path_cache.h"
#include "platform/os/text.h"

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

char FoldAsciiCase(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names compare as the file system does: ASCII letters without regard to case, the bytes
// of double-byte characters exactly (their second byte may look like a letter).
bool SameComponent(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t n = plat::Cp932CharLength(a, i);
        if (n == 2 ? a.substr(i, 2) != b.substr(i, 2) : FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) return false;
        i += n;
    }
    return true;
}

// Copies text and its NUL when they fit; the Windows rule for the result is the length
// without the NUL, or the size needed with it.
DWORD CopyOut(const std::string& text, DWORD size, char* buffer)
{
    if (!buffer || text.size() + 1 > size) return static_cast<DWORD>(text.size() + 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<DWORD>(text.size());
}

}  // namespace

namespace plat {

cProgramPath SplitProgramPath(std::string_view path)
{
    cProgramPath result;
    result.bAbsolute = !path.empty() && IsSeparator(path.front());
    std::string part;
    bool bLastWasSeparator = false;
    for (std::size_t i = 0; i < path.size();) {
        const std::size_t n = Cp932CharLength(path, i);
        bLastWasSeparator = n == 1 && IsSeparator(path[i]);
        if (!bLastWasSeparator) {
            part.append(path.substr(i, n));
        } else if (!part.empty()) {
            result.parts.push_back(std::move(part));
            part.clear();
        }
        i += n;
    }
    if (!part.empty()) result.parts.push_back(std::move(part));
    result.bTrailingSeparator = bLastWasSeparator;
    return result;
}

void NormaliseParts(std::vector<std::string>& parts, bool keepLeadingParent)
{
    std::vector<std::string> out;
    for (std::string& part : parts) {
        if (part == ".") continue;
        if (part == "..") {
            if (!out.empty() && out.back() != "..")
                out.pop_back();
            else if (keepLeadingParent)
                out.push_back(part);
            continue;
        }
        out.push_back(std::move(part));
    }
    parts = std::move(out);
}

}  // namespace plat

DWORD GetCurrentDirectoryA(DWORD size, char* buffer)
{
    std::string folder;
    if (!plat::CurrentProgramFolder(folder)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    return CopyOut(folder, size, buffer);
}

DWORD GetFullPathNameA(const char* path, DWORD size, char* buffer, char** filePart)
{
    if (!path || !*path) {
        SetLastError(ERROR_INVALID_NAME);
        return 0;
    }
    const plat::cProgramPath given = plat::SplitProgramPath(path);
    std::vector<std::string> parts;
    if (!given.bAbsolute) {
        std::string folder;
        if (!plat::CurrentProgramFolder(folder)) {
            SetLastError(ERROR_PATH_NOT_FOUND);
            return 0;
        }
        parts = plat::SplitProgramPath(folder).parts;
    }
    parts.insert(parts.end(), given.parts.begin(), given.parts.end());
    plat::NormaliseParts(parts, false);

    // Tested on the parts, not the last byte: that may be the second byte of a character.
    const bool bEndsInSeparator = parts.empty() || given.bTrailingSeparator;
    std::string full;
    for (const std::string& part : parts) full += '\\' + part;
    if (bEndsInSeparator) full += '\\';
    const DWORD result = CopyOut(full, size, buffer);
    if (filePart && result == full.size())
        *filePart = bEndsInSeparator ? nullptr : buffer + (full.size() - parts.back().size());
    return result;
}

BOOL PathIsRelativeA(const char* path)
{
    return !(path && IsSeparator(path[0]));
}

BOOL PathRelativePathToA(char* out, const char* from, DWORD fromAttributes, const char* to, DWORD toAttributes)
{
    (void)toAttributes;  // the target keeps its last component whatever it is
    if (!out) return FALSE;
    *out = '\0';
    if (!from || !to) return FALSE;
    plat::cProgramPath source = plat::SplitProgramPath(from);
    plat::cProgramPath target = plat::SplitProgramPath(to);
    if (source.bAbsolute != target.bAbsolute) return FALSE;
    plat::NormaliseParts(source.parts, !source.bAbsolute);
    plat::NormaliseParts(target.parts, !target.bAbsolute);
    if (!(fromAttributes & FILE_ATTRIBUTE_DIRECTORY) && !source.parts.empty()) source.parts.pop_back();

    std::size_t common = 0;
    while (common < source.parts.size() && common < target.parts.size() &&
           SameComponent(source.parts[common], target.parts[common]))
        ++common;
    if (!source.bAbsolute && common == 0) return FALSE;  // two relative paths with nothing in common

    // Windows writes ".\name" for a file in the folder itself and "..\" steps otherwise.
    std::string relative = common == source.parts.size() ? "." : "..";
    for (std::size_t i = common + 1; i < source.parts.size(); ++i) relative += "\\..";
    for (std::size_t i = common; i < target.parts.size(); ++i) relative += '\\' + target.parts[i];
    if (relative.size() >= MAX_PATH) return FALSE;
    std::memcpy(out, relative.c_str(), relative.size() + 1);
    return TRUE;
}
