#include "data/player_file.h"

#include <string>

#include "platform/os/files.h"
#include "shell/log.h"

namespace {

constexpr int kMaxDamagedCopies = 99;

// The name a damaged file is kept under: "path.bad", or, when that one is taken by an
// earlier damaged copy, the first free "path.badN" from N = 2. Empty when all are taken.
std::string FreeDamagedCopyName(const char* path)
{
    for (int n = 1; n <= kMaxDamagedCopies; ++n) {
        std::string aside = std::string(path) + ".bad";
        if (n > 1) aside += std::to_string(n);
        if (GetFileAttributesA(aside.c_str()) == INVALID_FILE_ATTRIBUTES) return aside;
    }
    return {};
}

}  // namespace

PLAYERFILELOAD LoadPlayerFile(cDataRecord& record, const char* path)
{
    if (!path || !*path) return PLAYERFILE_MISSING;
    cDataReader reader;
    if (!OpenDataFileRead(path, reader)) return PLAYERFILE_MISSING;
    if (record.LoadFrom(reader)) {
        if (reader.Remaining() > 0)
            ReportLog("%s : %zu bytes after the last value were not read", path, reader.Remaining());
        return PLAYERFILE_LOADED;
    }
    const std::string aside = FreeDamagedCopyName(path);
    if (aside.empty())
        ReportLog("%s : %s; it could not be kept aside: %d damaged copies are kept already", path,
                  reader.Error().c_str(), kMaxDamagedCopies);
    else if (MoveFileA(path, aside.c_str()))
        ReportLog("%s : %s; the file is kept as %s", path, reader.Error().c_str(), aside.c_str());
    else
        ReportLog("%s : %s; it could not be kept aside as %s", path, reader.Error().c_str(), aside.c_str());
    return PLAYERFILE_DAMAGED;
}
