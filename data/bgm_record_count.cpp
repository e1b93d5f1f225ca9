#include "data/bgm_record_count.h"

#include <atomic>

#include "data/data_reader.h"
#include "data/record_tails.h"

namespace {

constexpr DWORD kDefaultBgmRecords = 2;  // the default list: "none" and one entry
std::atomic<DWORD> s_nBgmRecords{kDefaultBgmRecords};

}  // namespace

DWORD GetBgmRecordCount()
{
    return s_nBgmRecords;
}

void SetBgmRecordCount(DWORD count)
{
    s_nBgmRecords = count;
}

bool LoadBgmRecordCount(const char* path)
{
    cDataReader reader;
    if (!OpenDataFileRead(path, reader)) return false;
    std::int32_t count = 0;
    if (!reader.ReadInt32(count)) return false;
    // Every entry is at least an empty record body.
    if (static_cast<std::uint64_t>(static_cast<DWORD>(count)) * kMinRecordBodyBytes > reader.Remaining()) return false;
    SetBgmRecordCount(static_cast<DWORD>(count));
    return true;
}
