#include "tools/lib/data_fuzz.h"

#include <cstdlib>

#include "tools/lib/data_file_kinds.h"
#include "data/data_version.h"

namespace {

int FuzzKind(const DATAFILEKIND& kind, const std::uint8_t* data, std::size_t size)
{
    g_nDataVersion = kDataVersion;
    g_bStripCR = 1;
    std::unique_ptr<cDataFile> file = kind.create();
    cDataReader reader(data, size);
    if (!file->ReadFrom(reader)) return 0;

    cDataWriter first;
    file->WriteTo(first);
    std::unique_ptr<cDataFile> again = kind.create();
    cDataReader rereader(first.Image());
    if (!again->ReadFrom(rereader)) std::abort();
    cDataWriter second;
    again->WriteTo(second);
    if (second.Image() != first.Image()) std::abort();
    return 0;
}

}  // namespace

int FuzzDataFile(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::span<const DATAFILEKIND> kinds = DataFileKinds();
    return FuzzKind(kinds[data[0] % kinds.size()], data + 1, size - 1);
}

int FuzzDataFileOfKind(const char* kind, const std::uint8_t* data, std::size_t size)
{
    const DATAFILEKIND* found = FindDataFileKind(kind);
    if (!found) std::abort();
    return FuzzKind(*found, data, size);
}
