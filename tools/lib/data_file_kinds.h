#pragma once
// Data files by kind name ("system", ...), read and written whole: what the data tool and the
// fuzzer entry work on. A kind is one entry of the table in data_file_kinds.cpp.
#include <memory>
#include <span>
#include <string>

#include "data/data_reader.h"
#include "data/data_writer.h"

// One file of a kind, in memory.
class cDataFile {
public:
    virtual ~cDataFile() = default;
    // Reads a file image, all or nothing: false leaves the contents as they were. Bytes after
    // the last value are left unread (the reader's Remaining).
    virtual bool ReadFrom(cDataReader& reader) = 0;
    virtual void WriteTo(cDataWriter& writer) = 0;
    // Every field, one a line.
    virtual void Dump(std::string& out) = 0;
};

// What the reads of a kind check against, loaded from a game folder first.
enum DATACHECK : unsigned {
    DATACHECK_NONE = 0,
    DATACHECK_DATABASES = 1,       // the databases of "data\database"
    DATACHECK_COMMONPALETTE = 2,   // "data\CommonPalette.cplt4"
    DATACHECK_SYSTEM = 4,          // "data\System.dat" (its switch that keeps test-play flows)
    DATACHECK_WORLDMAP = 8,        // "data\WorldMap.dat" (where save positions may lie)
};

struct DATAFILEKIND {
    const char* name;
    std::unique_ptr<cDataFile> (*create)();  // with the defaults of its records
    unsigned checks;                         // DATACHECK flags
    // Whether the runtime makes this file's contents when the file is missing, so that
    // `new` can write them: what create() holds.
    bool bMadeWhenMissing = false;
};

std::span<const DATAFILEKIND> DataFileKinds();
const DATAFILEKIND* FindDataFileKind(const std::string& name);

// Loads what reads check against (checks: DATACHECK flags) from the game whose folder is the
// working folder. False, with the reason in error, when something cannot be read.
bool LoadDataChecks(unsigned checks, std::string& error);
