#include "tools/lib/data_file_kinds.h"

#include "data/bgm_record_count.h"
#include "data/boot_data.h"
#include "tools/lib/data_dump.h"
#include "data/data_paths.h"
#include "data/system_data.h"
#include "data/window_data.h"

namespace {

// A file that holds one record of class T.
template <class T>
class cRecordFile : public cDataFile {
public:
    bool ReadFrom(cDataReader& reader) override { return m_Record.LoadFrom(reader) != 0; }
    void WriteTo(cDataWriter& writer) override { m_Record.Write(writer); }
    void Dump(std::string& out) override { DumpRecord(m_Record, out); }

private:
    T m_Record;
};

template <class T>
std::unique_ptr<cDataFile> CreateRecordFile()
{
    return std::make_unique<cRecordFile<T>>();
}

const DATAFILEKIND kKinds[] = {
    {"system", CreateRecordFile<cSystemData>, DATACHECK_DATABASES},
    {"boot", CreateRecordFile<cBootData>, DATACHECK_NONE},
    {"window", CreateRecordFile<cWindowData>, DATACHECK_NONE},
};

}  // namespace

std::span<const DATAFILEKIND> DataFileKinds()
{
    return kKinds;
}

const DATAFILEKIND* FindDataFileKind(const std::string& name)
{
    for (const DATAFILEKIND& kind : kKinds) {
        if (name == kind.name) return &kind;
    }
    return nullptr;
}

bool LoadDataChecks(unsigned checks, std::string& error)
{
    if (checks & DATACHECK_DATABASES) {
        // Only the BGM database's record count is checked against so far.
        const char* path = g_DataPaths[DATAPATH_DB_BGM];
        if (!LoadBgmRecordCount(path)) {
            error = std::string("cannot read the record count of ") + path;
            return false;
        }
    }
    return true;
}
