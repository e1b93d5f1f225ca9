#include "data/record_tails.h"

#include "data/record_tables.h"

void ReadStringList(cDataReader& reader, cSafeVector<std::string>& list)
{
    int n = 0;
    if (!reader.ReadCount(n, 4, "string count")) return;
    if (!reader.Charge(static_cast<std::size_t>(n) * sizeof(std::string), "a string list")) return;
    list.clear();
    list.reserve(static_cast<std::size_t>(n));
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

namespace record_tail_types {

void ReadStrings(const DATATAIL& entry, cDataReader& reader)
{
    ReadStringList(reader, Member<cSafeVector<std::string>>(entry));
}

void WriteStrings(const DATATAIL& entry, cDataWriter& writer)
{
    WriteStringList(writer, Member<cSafeVector<std::string>>(entry));
}

const void* ListString(const DATATAIL& entry, std::size_t i)
{
    return &Member<cSafeVector<std::string>>(entry)[i];
}

const void* FixedString(const DATATAIL& entry, std::size_t i)
{
    return static_cast<const std::string*>(entry.address) + i;
}

void ReadFixedStrings(const DATATAIL& entry, cDataReader& reader)
{
    std::string* texts = static_cast<std::string*>(entry.address);
    for (int i = 0; i < entry.count && !reader.Failed(); ++i) reader.ReadString(texts[i]);
}

void WriteFixedStrings(const DATATAIL& entry, cDataWriter& writer)
{
    std::string* texts = static_cast<std::string*>(entry.address);
    for (int i = 0; i < entry.count; ++i) WriteDataString(writer, texts[i]);
}

std::size_t StringHeap(const std::string& text)
{
    return TextHeapBytes(text.capacity());
}

std::size_t StringListHeap(const DATATAIL& entry)
{
    const auto& list = Member<cSafeVector<std::string>>(entry);
    std::size_t bytes = list.capacity() * sizeof(std::string);
    for (const std::string& text : list) bytes += StringHeap(text);
    return bytes;
}

std::size_t FixedStringsHeap(const DATATAIL& entry)
{
    const std::string* texts = static_cast<const std::string*>(entry.address);
    std::size_t bytes = 0;
    for (int i = 0; i < entry.count; ++i) bytes += StringHeap(texts[i]);
    return bytes;
}

}  // namespace record_tail_types

std::string MemberLabel(const char* name)
{
    return std::string("m_") + name;
}

std::string MemberLabel(const char* name, std::size_t index)
{
    return MemberLabel(name) + "[" + std::to_string(index) + "]";
}
