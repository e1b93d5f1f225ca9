#include "tools/lib/data_fuzz.h"

#include <cstdlib>

#include "tools/lib/data_file_kinds.h"
#include "data/data_version.h"

int FuzzDataFile(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    g_nDataVersion = kDataVersion;
    g_bStripCR = 1;
    const std::span<const DATAFILEKIND> kinds = DataFileKinds();
    const DATAFILEKIND& kind = kinds[data[0] % kinds.size()];

    std::unique_ptr<cDataFile> file = kind.create();
    cDataReader reader(data + 1, size - 1);
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
