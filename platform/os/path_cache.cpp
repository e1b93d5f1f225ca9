#include "platform/os/path_cache.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "platform/os/files.h"
#include "platform/os/text.h"

namespace {

std::string FoldAsciiCase(std::string_view name)
{
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

// The names in one folder, found by their ASCII-folded form. Names that differ only in case
// (possible on Linux) are kept sorted so that the choice among them does not change.
class cListing {
public:
    // The name on disk for a wanted name: the same spelling when it exists, else the first
    // that differs only in case.
    const std::string* Find(const std::string& name) const
    {
        const auto it = m_ByFolded.find(FoldAsciiCase(name));
        if (it == m_ByFolded.end()) return nullptr;
        for (const std::string& candidate : it->second)
            if (candidate == name) return &candidate;
        return &it->second.front();
    }

    void Add(const std::string& name)
    {
        std::vector<std::string>& names = m_ByFolded[FoldAsciiCase(name)];
        const auto at = std::lower_bound(names.begin(), names.end(), name);
        if (at == names.end() || *at != name) names.insert(at, name);
    }

    void Remove(const std::string& name)
    {
        const auto it = m_ByFolded.find(FoldAsciiCase(name));
        if (it == m_ByFolded.end()) return;
        std::erase(it->second, name);
        if (it->second.empty()) m_ByFolded.erase(it);
    }

private:
    std::unordered_map<std::string, std::vector<std::string>> m_ByFolded;
};

// Reads a folder; nothing when it cannot be opened, with bGone set when it no longer exists.
std::optional<cListing> ReadListing(const std::string& folder, bool& bGone)
{
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), &closedir);
    bGone = !dir && (errno == ENOENT || errno == ENOTDIR);
    if (!dir) return std::nullopt;
    cListing listing;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") listing.Add(std::string(name));
    }
    return listing;
}

std::string ParentOf(const std::string& native)
{
    const std::size_t slash = native.rfind('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? "/" : native.substr(0, slash);
}

enum class eLookup { Found, Missing, FolderGone };

// Listings of the folders the runtime has looked into, keyed by their Linux path. Several
// threads open files, so every access holds the mutex (listing a folder too, which is rare).
class cPathCache {
public:
    eLookup Lookup(const std::string& folder, std::string& name)
    {
        std::lock_guard lock(m_Mutex);
        auto it = m_Listings.find(folder);
        const bool fresh = it == m_Listings.end();
        bool bGone = false;
        if (fresh) {
            std::optional<cListing> listing = ReadListing(folder, bGone);
            if (!listing) return bGone ? eLookup::FolderGone : eLookup::Missing;
            it = m_Listings.emplace(folder, std::move(*listing)).first;
        }
        if (FindIn(it->second, name)) return eLookup::Found;
        if (fresh) return eLookup::Missing;
        // Something else may have made the name since the listing was read.
        std::optional<cListing> listing = ReadListing(folder, bGone);
        if (!listing) {
            m_Listings.erase(it);
            return bGone ? eLookup::FolderGone : eLookup::Missing;
        }
        it->second = std::move(*listing);
        return FindIn(it->second, name) ? eLookup::Found : eLookup::Missing;
    }

    // Brings the listing of the parent up to date with the disk for this one name; a name
    // that is gone takes the listings of anything below it along.
    void Note(const std::string& native)
    {
        const std::string parent = ParentOf(native);
        if (parent.empty() || parent == native) return;
        const std::string name = native.substr(native.rfind('/') + 1);
        struct stat st;
        const bool exists = lstat(native.c_str(), &st) == 0;
        std::lock_guard lock(m_Mutex);
        if (const auto it = m_Listings.find(parent); it != m_Listings.end()) {
            if (exists)
                it->second.Add(name);
            else
                it->second.Remove(name);
        }
        if (!exists) {
            const std::string below = native + '/';
            std::erase_if(m_Listings, [&](const auto& entry) {
                return entry.first == native || entry.first.starts_with(below);
            });
        }
    }

    // Forgets the listings of every folder above a path.
    void ForgetAncestors(const std::string& native)
    {
        std::lock_guard lock(m_Mutex);
        for (std::string folder = ParentOf(native); !folder.empty(); folder = ParentOf(folder)) {
            m_Listings.erase(folder);
            if (folder == "/") break;
        }
    }

    void Flush()
    {
        std::lock_guard lock(m_Mutex);
        m_Listings.clear();
    }

private:
    static bool FindIn(const cListing& listing, std::string& name)
    {
        const std::string* onDisk = listing.Find(name);
        if (onDisk) name = *onDisk;
        return onDisk != nullptr;
    }

    std::mutex m_Mutex;
    std::unordered_map<std::string, cListing> m_Listings;
};

// Never destroyed: files are still opened by the destructors of program-wide objects.
cPathCache& Cache()
{
    static cPathCache& cache = *new cPathCache;
    return cache;
}

// One pass of the mapping. bStale is set when a cached name turned out to be gone from the
// disk (renamed or removed behind the runtime's back), so the caller reads the listings again.
plat::cResolvedPath ResolveOnce(const plat::cProgramPath& path, bool& bStale)
{
    bStale = false;
    plat::cResolvedPath result;
    std::string native = "/";
    std::size_t first = 0;
    if (!path.bAbsolute) {
        native = plat::CurrentNativeFolder();
        if (native.empty()) return result;
        for (; first < path.parts.size() && path.parts[first] == ".."; ++first) native = ParentOf(native);
    }
    bool bExists = true;
    bool bAnyCached = false;
    for (std::size_t i = first; i < path.parts.size(); ++i) {
        std::string name;
        if (!plat::Cp932ToUtf8Strict(path.parts[i], name)) return {};
        if (bExists) {
            switch (Cache().Lookup(native, name)) {
            case eLookup::Found: bAnyCached = true; break;
            case eLookup::Missing: bExists = false; break;
            case eLookup::FolderGone:
                bExists = false;
                bStale = bAnyCached;
                break;
            }
        }
        if (native.back() != '/') native += '/';
        native += name;
    }
    struct stat st;
    if (bExists && bAnyCached && lstat(native.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
        bExists = false;
        bStale = true;
    }
    result.native = std::move(native);
    result.bFound = bExists;
    return result;
}

}  // namespace

namespace plat {

std::string CurrentNativeFolder()
{
    std::string buffer(256, '\0');
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE) return {};
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(buffer.find('\0'));
    return buffer;
}

bool CurrentProgramFolder(std::string& out)
{
    return ToProgramPath(CurrentNativeFolder(), out);
}

cResolvedPath ResolvePath(const char* path)
{
    if (!path || !*path) return {};
    cProgramPath parts = SplitProgramPath(path);
    NormaliseParts(parts.parts, !parts.bAbsolute);
    bool bStale = false;
    cResolvedPath result = ResolveOnce(parts, bStale);
    if (bStale) {
        Cache().ForgetAncestors(result.native);
        result = ResolveOnce(parts, bStale);
    }
    return result;
}

std::string NativePath(const char* path)
{
    return ResolvePath(path).native;
}

bool ToProgramPath(const std::string& nativePath, std::string& programPath)
{
    if (nativePath.empty() || nativePath.front() != '/') return false;
    std::string result;
    std::size_t pos = 1;
    while (pos <= nativePath.size()) {
        std::size_t slash = nativePath.find('/', pos);
        if (slash == std::string::npos) slash = nativePath.size();
        const std::string_view name(nativePath.data() + pos, slash - pos);
        pos = slash + 1;
        if (name.empty()) continue;
        // A backslash inside a Linux name, or a character that comes back as another one
        // (the yen sign becomes 0x5C), would name a different path inside the program.
        std::string cp932, back;
        if (name.find('\\') != std::string_view::npos || !Utf8ToCp932(name, cp932) ||
            !Cp932ToUtf8Strict(cp932, back) || back != name)
            return false;
        result += '\\';
        result += cp932;
    }
    programPath = result.empty() ? "\\" : result;
    return true;
}

void FlushPathCache()
{
    Cache().Flush();
}

void NotePathChanged(const std::string& nativePath)
{
    Cache().Note(nativePath);
}

}  // namespace plat
