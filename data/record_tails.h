#pragma once
// The tail shapes that record classes write after their body: counted record lists, counted
// value lists, counted string lists and optional sub-records. Readers check each count
// against the unread bytes and charge what it makes to the reader's budget before anything is
// allocated, so a damaged count can never make them allocate beyond what the file backs.
#include <memory>
#include <string>
#include <type_traits>

#include "data/data_reader.h"
#include "data/data_writer.h"
#include "shell/safe_container.h"

// The fewest bytes a record body can take: its block count and its string count.
constexpr std::size_t kMinRecordBodyBytes = 8;

// What one more record of class T takes when a reader makes it: the object and what a new
// one holds on the heap (data/data_record.h).
template <class T>
std::size_t RecordFootprint();

// Sets aside the reader's budget for n new records of T, before a list is sized for them.
template <class T>
bool ChargeRecords(cDataReader& reader, std::size_t n)
{
    return reader.Charge(n * RecordFootprint<T>(), "the records");
}

// Counted record list: a 4-byte count n, then n bodies of T, each read by T's own Read. The
// count is bounded by the file, so the list is sized for it at once.
template <class T>
void ReadRecordList(cDataReader& reader, cSafeVector<T>& list)
{
    int n = 0;
    if (!reader.ReadCount(n, kMinRecordBodyBytes, "record count")) return;
    if (!ChargeRecords<T>(reader, static_cast<std::size_t>(n))) return;
    list.clear();
    list.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n && !reader.Failed(); ++i) {
        list.emplace_back();
        list.back().Read(reader);
    }
}

template <class T>
void WriteRecordList(cDataWriter& writer, cSafeVector<T>& list)
{
    writer.WriteInt32(static_cast<std::int32_t>(list.size()));
    for (T& element : list) element.Write(writer);
}

// Counted value list: a 4-byte count n, then n values of T's width (1 or 4 bytes).
template <class T>
void ReadValueList(cDataReader& reader, cSafeVector<T>& list)
{
    static_assert(std::is_integral_v<T> && (sizeof(T) == 1 || sizeof(T) == 4));
    int n = 0;
    if (!reader.ReadCount(n, sizeof(T), "value count")) return;
    if (!reader.Charge(static_cast<std::size_t>(n) * sizeof(T), "a value list")) return;
    list.resize(static_cast<std::size_t>(n));
    // Stored as their memory image, like blocks.
    reader.ReadBytes(list.data(), list.size() * sizeof(T));
}

// Charges what the fix-ups after a read made a value list hold beyond what it held before
// (capacityBefore elements): false (and failed) when the budget cannot cover it.
template <class T>
bool ChargeGrowth(cDataReader& reader, const cSafeVector<T>& list, std::size_t capacityBefore)
{
    static_assert(std::is_arithmetic_v<T>);
    return list.capacity() <= capacityBefore || reader.Charge(list.capacity() * sizeof(T), "a list the fix-ups grew");
}

template <class T>
void WriteValueList(cDataWriter& writer, const cSafeVector<T>& list)
{
    static_assert(std::is_integral_v<T> && (sizeof(T) == 1 || sizeof(T) == 4));
    writer.WriteInt32(static_cast<std::int32_t>(list.size()));
    for (const T& value : list) writer.WriteBytes(&value, sizeof(T));
}

// Counted string list: a 4-byte count n, then n strings in the single-string encoding.
void ReadStringList(cDataReader& reader, cSafeVector<std::string>& list);
void WriteStringList(cDataWriter& writer, cSafeVector<std::string>& list);

// Optional sub-record: a 4-byte flag, 1 when a body of T follows, 0 when it is absent. P is
// std::unique_ptr<T> or std::shared_ptr<T>.
template <class P>
void ReadOptionalRecord(cDataReader& reader, P& sub)
{
    using T = typename P::element_type;
    std::int32_t present = 0;
    if (!reader.ReadInt32(present)) return;
    sub.reset();
    if (present == 0 || !ChargeRecords<T>(reader, 1)) return;
    if constexpr (std::is_same_v<P, std::shared_ptr<T>>) {
        sub = std::make_shared<T>();
    } else {
        sub = std::make_unique<T>();
    }
    sub->Read(reader);
}

template <class P>
void WriteOptionalRecord(cDataWriter& writer, const P& sub)
{
    writer.WriteInt32(sub ? 1 : 0);
    if (sub) sub->Write(writer);
}
