#pragma once
// The tables a record registers: its fields, its strings and its tail, each entry with the
// member's name (without the "m_" prefix). The tables drive reading, writing, clearing and
// copying, and they are what dumps, comparisons and checks walk, so a record is declared once.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>

#include "data/record_tails.h"

class cDataRecord;

// How the bytes of a field or of a value list's elements are read as a number.
enum DATAVALUEKIND : std::int8_t {
    DATAVALUE_SIGNED = 0,     // two's complement integers (and anything that is not a number)
    DATAVALUE_UNSIGNED = 1,   // unsigned integers, BYTE flags and characters
    DATAVALUE_FLOAT = 2,      // float (4 bytes) or double (8 bytes)
};

// The value kind of elements of type T stored size bytes wide.
template <class T>
constexpr DATAVALUEKIND DataValueKindOf(int size)
{
    using E = std::remove_cv_t<std::remove_all_extents_t<T>>;
    if constexpr (std::is_enum_v<E>) {
        return DataValueKindOf<std::underlying_type_t<E>>(size);
    } else if constexpr (std::is_arithmetic_v<E>) {
        if (static_cast<int>(sizeof(E)) != size) return size == 1 ? DATAVALUE_UNSIGNED : DATAVALUE_SIGNED;
        if constexpr (std::is_floating_point_v<E>) return DATAVALUE_FLOAT;
        return std::is_signed_v<E> ? DATAVALUE_SIGNED : DATAVALUE_UNSIGNED;
    } else {
        return size == 1 ? DATAVALUE_UNSIGNED : DATAVALUE_SIGNED;
    }
}

// The group of a member that belongs to no property group. Templates sort their members into
// groups that another template can pass on (cDataRecord::CopyGroup copies one).
constexpr int kNoDataGroup = -1;

// One entry of the field table: count elements of size bytes (1, 2, 4 or 8) at address.
struct DATAFIELD {
    cDataRecord* owner;
    void* address;
    int count;
    std::int8_t size;
    DATAVALUEKIND kind;
    const char* name;
    int group;
};

// One entry of the string table. A string registered as one of an array of count strings
// has its index in it; a single string has count 1 and index 0.
struct DATASTRING {
    cDataRecord* owner;
    std::string* address;
    const char* name;
    int index;
    int count;
    int group;
};

struct DATATAIL;

// What a tail entry holds, element by element.
enum DATAELEMENT : std::int8_t {
    DATAELEMENT_VALUE,    // integers or floats, valueSize bytes each
    DATAELEMENT_STRING,   // std::string in the single-string encoding
    DATAELEMENT_RECORD,   // record bodies (each with its own tail)
};

// How a tail entry is laid out in the file.
enum DATASHAPE : std::int8_t {
    DATASHAPE_COUNTED,    // a 4-byte count n, then n elements
    DATASHAPE_FIXED,      // exactly the registered count of elements, no count word
    DATASHAPE_OPTIONAL,   // a 4-byte flag, then one element when it is non-zero
};

// The operations of one type of tail member; one constant instance per member type.
struct DATATAILTYPE {
    DATAELEMENT element;
    DATASHAPE shape;
    std::int8_t valueSize;        // DATAELEMENT_VALUE: bytes per element
    DATAVALUEKIND valueKind;      // DATAELEMENT_VALUE
    // The elements the member holds now (for an optional record 0 or 1).
    std::size_t (*count)(const DATATAIL& entry);
    // Element i: a const value of valueSize bytes, a const std::string or a const cDataRecord.
    const void* (*at)(const DATATAIL& entry, std::size_t i);
    void (*read)(const DATATAIL& entry, cDataReader& reader);
    void (*write)(const DATATAIL& entry, cDataWriter& writer);
    // Makes the member equal to the same member of another record (from); null for a member
    // that is never copied alone.
    void (*assign)(const DATATAIL& entry, const DATATAIL& from) = nullptr;
    // The bytes the member holds on the heap, its elements' included; null for none.
    std::size_t (*heap)(const DATATAIL& entry) = nullptr;
};

// One entry of the tail table, in file order after the strings.
struct DATATAIL {
    cDataRecord* owner;
    void* address;
    int count;                    // DATASHAPE_FIXED: the number of elements at address
    const DATATAILTYPE* type;
    const char* name;
    int group;

    std::size_t Count() const { return type->count(*this); }
    const void* At(std::size_t i) const { return type->at(*this, i); }
    // Element i of a record entry.
    const cDataRecord& Record(std::size_t i) const { return *static_cast<const cDataRecord*>(At(i)); }
    const std::string& String(std::size_t i) const { return *static_cast<const std::string*>(At(i)); }
};

// An entry of a class's tables (DATALAYOUT), for no record in particular: the entry with its
// member placed by offset, which For turns into the entry of one record.
template <class E>
struct DATALAYOUTENTRY {
    E entry;                // owner null; address set only for a member outside the record
    std::ptrdiff_t offset;  // otherwise where the member lies from the record's start
    void* (*sink)();        // or, for a value read and dropped, the calling thread's sink for it

    void* Address(const cDataRecord& record) const
    {
        if (sink) return sink();
        if (entry.address) return entry.address;
        return const_cast<char*>(reinterpret_cast<const char*>(&record)) + offset;
    }
    E For(const cDataRecord& record) const
    {
        E resolved = entry;
        resolved.owner = const_cast<cDataRecord*>(&record);
        resolved.address = static_cast<decltype(entry.address)>(Address(record));
        return resolved;
    }
};

// The tail types, by member type. Used by cDataRecord's Add... registrations.
namespace record_tail_types {

template <class L>
L& Member(const DATATAIL& entry)
{
    return *static_cast<L*>(entry.address);
}

template <class L>
void AssignMember(const DATATAIL& entry, const DATATAIL& from)
{
    Member<L>(entry) = *static_cast<const L*>(from.address);
}

template <class L>
std::size_t ListCount(const DATATAIL& entry)
{
    return Member<L>(entry).size();
}

template <class T>
const void* ListValue(const DATATAIL& entry, std::size_t i)
{
    return &Member<cSafeVector<T>>(entry)[i];
}

template <class T>
const void* ListRecord(const DATATAIL& entry, std::size_t i)
{
    return static_cast<const cDataRecord*>(&Member<cSafeVector<T>>(entry)[i]);
}

template <class T>
void ReadValues(const DATATAIL& entry, cDataReader& reader)
{
    ReadValueList(reader, Member<cSafeVector<T>>(entry));
}

template <class T>
void WriteValues(const DATATAIL& entry, cDataWriter& writer)
{
    WriteValueList(writer, Member<cSafeVector<T>>(entry));
}

template <class T>
void ReadRecords(const DATATAIL& entry, cDataReader& reader)
{
    ReadRecordList(reader, Member<cSafeVector<T>>(entry));
}

template <class T>
void WriteRecords(const DATATAIL& entry, cDataWriter& writer)
{
    WriteRecordList(writer, Member<cSafeVector<T>>(entry));
}

void ReadStrings(const DATATAIL& entry, cDataReader& reader);
void WriteStrings(const DATATAIL& entry, cDataWriter& writer);
const void* ListString(const DATATAIL& entry, std::size_t i);
const void* FixedString(const DATATAIL& entry, std::size_t i);
void ReadFixedStrings(const DATATAIL& entry, cDataReader& reader);
void WriteFixedStrings(const DATATAIL& entry, cDataWriter& writer);

inline std::size_t FixedCount(const DATATAIL& entry)
{
    return static_cast<std::size_t>(entry.count);
}

template <class T>
const void* FixedValue(const DATATAIL& entry, std::size_t i)
{
    return static_cast<const T*>(entry.address) + i;
}

template <class T>
void ReadFixedValues(const DATATAIL& entry, cDataReader& reader)
{
    reader.ReadBytes(entry.address, sizeof(T) * static_cast<std::size_t>(entry.count));
}

template <class T>
void WriteFixedValues(const DATATAIL& entry, cDataWriter& writer)
{
    writer.WriteBytes(entry.address, sizeof(T) * static_cast<std::size_t>(entry.count));
}

template <class T>
const void* FixedRecord(const DATATAIL& entry, std::size_t i)
{
    return static_cast<const cDataRecord*>(static_cast<T*>(entry.address) + i);
}

template <class T>
void ReadFixedRecords(const DATATAIL& entry, cDataReader& reader)
{
    T* records = static_cast<T*>(entry.address);
    for (int i = 0; i < entry.count && !reader.Failed(); ++i) records[i].Read(reader);
}

template <class T>
void WriteFixedRecords(const DATATAIL& entry, cDataWriter& writer)
{
    T* records = static_cast<T*>(entry.address);
    for (int i = 0; i < entry.count; ++i) records[i].Write(writer);
}

// P is std::unique_ptr<T> or std::shared_ptr<T>.
template <class P>
std::size_t OptionalCount(const DATATAIL& entry)
{
    return Member<P>(entry) ? 1 : 0;
}

template <class P>
const void* OptionalRecord(const DATATAIL& entry, std::size_t)
{
    return static_cast<const cDataRecord*>(Member<P>(entry).get());
}

template <class P>
void ReadOptional(const DATATAIL& entry, cDataReader& reader)
{
    ReadOptionalRecord(reader, Member<P>(entry));
}

template <class P>
void WriteOptional(const DATATAIL& entry, cDataWriter& writer)
{
    WriteOptionalRecord(writer, Member<P>(entry));
}

// What the members hold on the heap.
std::size_t StringHeap(const std::string& text);
std::size_t StringListHeap(const DATATAIL& entry);
std::size_t FixedStringsHeap(const DATATAIL& entry);

template <class T>
std::size_t ValueListHeap(const DATATAIL& entry)
{
    return Member<cSafeVector<T>>(entry).capacity() * sizeof(T);
}

template <class T>
std::size_t RecordListHeap(const DATATAIL& entry)
{
    const auto& list = Member<cSafeVector<T>>(entry);
    std::size_t bytes = list.capacity() * sizeof(T);
    for (const T& record : list) bytes += record.HeapBytes();
    return bytes;
}

template <class T>
std::size_t FixedRecordsHeap(const DATATAIL& entry)
{
    const T* records = static_cast<const T*>(entry.address);
    std::size_t bytes = 0;
    for (int i = 0; i < entry.count; ++i) bytes += records[i].HeapBytes();
    return bytes;
}

template <class P>
std::size_t OptionalHeap(const DATATAIL& entry)
{
    const P& record = Member<P>(entry);
    return record ? sizeof(typename P::element_type) + record->HeapBytes() : 0;
}

template <class T>
inline constexpr DATATAILTYPE kValueList = {DATAELEMENT_VALUE, DATASHAPE_COUNTED, sizeof(T), DataValueKindOf<T>(sizeof(T)),
                                            ListCount<cSafeVector<T>>, ListValue<T>, ReadValues<T>, WriteValues<T>,
                                            AssignMember<cSafeVector<T>>, ValueListHeap<T>};
template <class T>
inline constexpr DATATAILTYPE kRecordList = {DATAELEMENT_RECORD, DATASHAPE_COUNTED, 0, DATAVALUE_SIGNED,
                                             ListCount<cSafeVector<T>>, ListRecord<T>, ReadRecords<T>, WriteRecords<T>,
                                             AssignMember<cSafeVector<T>>, RecordListHeap<T>};
inline constexpr DATATAILTYPE kStringList = {DATAELEMENT_STRING, DATASHAPE_COUNTED, 0, DATAVALUE_SIGNED,
                                             ListCount<cSafeVector<std::string>>, ListString, ReadStrings, WriteStrings,
                                             nullptr, StringListHeap};
inline constexpr DATATAILTYPE kFixedStrings = {DATAELEMENT_STRING, DATASHAPE_FIXED, 0, DATAVALUE_SIGNED,
                                               FixedCount, FixedString, ReadFixedStrings, WriteFixedStrings,
                                               nullptr, FixedStringsHeap};
template <class T>
inline constexpr DATATAILTYPE kFixedValues = {DATAELEMENT_VALUE, DATASHAPE_FIXED, sizeof(T), DataValueKindOf<T>(sizeof(T)),
                                              FixedCount, FixedValue<T>, ReadFixedValues<T>, WriteFixedValues<T>};
template <class T>
inline constexpr DATATAILTYPE kFixedRecords = {DATAELEMENT_RECORD, DATASHAPE_FIXED, 0, DATAVALUE_SIGNED,
                                               FixedCount, FixedRecord<T>, ReadFixedRecords<T>, WriteFixedRecords<T>,
                                               nullptr, FixedRecordsHeap<T>};
template <class P>
inline constexpr DATATAILTYPE kOptionalRecord = {DATAELEMENT_RECORD, DATASHAPE_OPTIONAL, 0, DATAVALUE_SIGNED,
                                                 OptionalCount<P>, OptionalRecord<P>, ReadOptional<P>, WriteOptional<P>,
                                                 nullptr, OptionalHeap<P>};

}  // namespace record_tail_types

// How walkers name a member in what they print: "m_" + name, and "[i]" for element i of an
// array or list ("m_Texts[3]").
std::string MemberLabel(const char* name);
std::string MemberLabel(const char* name, std::size_t index);
