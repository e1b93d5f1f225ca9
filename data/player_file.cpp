#include "data/player_file.h"

#include <string>

#include "platform/os/files.h"
#include "shell/log.h"

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
    const std::string aside = std::string(path) + ".bad";
    if (MoveFileA(path, aside.c_str()))
        ReportLog("%s : %s; the file is kept as %s", path, reader.Error().c_str(), aside.c_str());
    else
        ReportLog("%s : %s; it could not be kept aside as %s", path, reader.Error().c_str(), aside.c_str());
    return PLAYERFILE_DAMAGED;
}
