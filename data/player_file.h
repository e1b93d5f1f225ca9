#pragma once
// The player's own files (save slots, challenge records, options, rankings): losing one loses
// hours of play. A file that cannot be read whole is set aside as "name.bad" before the next
// save could overwrite it, and the report says so. A later damaged file never replaces an
// earlier copy: it becomes "name.bad2", "name.bad3" and so on.
#include "data/data_record.h"

enum PLAYERFILELOAD {
    PLAYERFILE_LOADED,
    PLAYERFILE_MISSING,   // no file, or one that cannot be opened: the record is unchanged
    PLAYERFILE_DAMAGED,   // the record is unchanged and the file is now "path.bad" (or .badN)
};

PLAYERFILELOAD LoadPlayerFile(cDataRecord& record, const char* path);
