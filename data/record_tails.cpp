#include "data/record_tails.h"


void ReadStringList(cDataReader& reader, cSafeVector<std::string>& list)
{
    int n = 0;
    if (!reader.ReadCount(n, 4, "string count")) return;
    list.clear();
    for (int i = 0; i < n && !reader.Failed(); ++i) {
        list.emplace_back();
        reader.ReadString(list.back());
    }
}

void WriteStringList(cDataWriter& writer, cSafeVector<std::string>& list)
{
    writer.WriteInt32(static_cast<std::int32_t>(list.size()));
    for (std::string& text : list) WriteDataString(writer, text);
}
