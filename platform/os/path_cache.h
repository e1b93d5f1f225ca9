#pragma once
// Inside the files layer: program paths taken apart, and their mapping to Linux paths
// through the cache of folder listings. The rest of the program uses platform/files.h.
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// A program path in components (CP932), split at '\' and '/' that are not the second byte
// of a double-byte character.
struct cProgramPath {
    bool bAbsolute = false;           // starts with a separator
    bool bTrailingSeparator = false;  // ends with one (a folder, "data\")
    std::vector<std::string> parts;
};
cProgramPath SplitProgramPath(std::string_view path);

// Drops "." and takes ".." back a component. A ".." with nothing before it is kept when
// keepLeadingParent is set (a relative path going above its folder) and dropped otherwise
// (nothing is above the root).
void NormaliseParts(std::vector<std::string>& parts, bool keepLeadingParent);

// The working folder as a Linux path; empty when it cannot be read.
std::string CurrentNativeFolder();
// The working folder in the program's form ("\home\ann\game"); false when it cannot be read
// or has no CP932 form.
bool CurrentProgramFolder(std::string& out);

struct cResolvedPath {
    std::string native;   // the Linux path; empty when the program path cannot be converted
    bool bFound = false;  // the path exists on disk under this name (as far as the listings know)
};
// Maps a program path to the Linux path: every component is matched without regard to ASCII
// case against the cached listing of its folder; missing components keep their spelling.
cResolvedPath ResolvePath(const char* path);

}  // namespace plat
