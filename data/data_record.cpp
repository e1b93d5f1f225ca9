#include "data/data_record.h"

#include <algorithm>
#include <cstring>
#include <typeinfo>

#include "shell/format.h"
#include "shell/log.h"

namespace {

// The layout being built on this thread, and the object whose members it places by offset.
struct LAYOUTBUILD {
    DATALAYOUT* layout = nullptr;
    std::uintptr_t record = 0;        // the cDataRecord the offsets start from
    std::uintptr_t objectBegin = 0;   // the whole object's bytes
    std::uintptr_t objectEnd = 0;
};
thread_local LAYOUTBUILD t_Build;

// The calling thread's sinks for values that are read and dropped.
void* DiscardSink4()
{
    return &g_nDiscardField;
}

void* DiscardSink2()
{
    return &g_wDiscardField;
}

// An entry for the layout being built: the member's offset when it lies in the object, a sink
// (which is the thread's own, so resolved on each use), else its address.
template <class E>
DATALAYOUTENTRY<E> Place(E entry)
{
    const auto at = reinterpret_cast<std::uintptr_t>(entry.address);
    if (at >= t_Build.objectBegin && at < t_Build.objectEnd) {
        entry.address = nullptr;
        return DATALAYOUTENTRY<E>{entry, static_cast<std::ptrdiff_t>(at - t_Build.record), nullptr};
    }
    void* (*sink)() = nullptr;
    if (entry.address == static_cast<void*>(&g_nDiscardField)) sink = DiscardSink4;
    if (entry.address == static_cast<void*>(&g_wDiscardField)) sink = DiscardSink2;
    return DATALAYOUTENTRY<E>{entry, 0, sink};
}

std::size_t FieldBytes(const DATALAYOUTENTRY<DATAFIELD>& field)
{
    return static_cast<std::size_t>(field.entry.count) * static_cast<std::size_t>(field.entry.size);
}

// Copies or clears the bytes of one field; a field of one value inline.
void CopyField(void* to, const void* from, std::size_t bytes)
{
    switch (bytes) {
    case 1: std::memcpy(to, from, 1); break;
    case 2: std::memcpy(to, from, 2); break;
    case 4: std::memcpy(to, from, 4); break;
    case 8: std::memcpy(to, from, 8); break;
    default: std::memmove(to, from, bytes); break;
    }
}

void ClearField(void* to, std::size_t bytes)
{
    static constexpr char kZeros[8] = {};
    if (bytes <= sizeof kZeros) CopyField(to, kZeros, bytes);
    else std::memset(to, 0, bytes);
}

// What the loops take from a layout's tables: the blocks' offsets in the body, the runs and
// the groups.
void CompleteLayout(DATALAYOUT& layout)
{
    layout.blockBytes.assign(1, 0);
    for (const auto& field : layout.fields) layout.blockBytes.push_back(layout.blockBytes.back() + FieldBytes(field));
    for (std::size_t i = 0; i < layout.fields.size(); ++i) {
        const auto& field = layout.fields[i];
        if (field.entry.address || field.sink) {
            layout.runs.clear();
            break;
        }
        DATARUN* last = layout.runs.empty() ? nullptr : &layout.runs.back();
        if (last && last->offset + static_cast<std::ptrdiff_t>(last->bytes) == field.offset) {
            last->bytes += FieldBytes(field);
        } else {
            layout.runs.push_back(DATARUN{field.offset, layout.blockBytes[i], FieldBytes(field)});
        }
    }
    auto groupOf = [&layout](int group) -> DATAGROUP* {
        if (group < kNoDataGroup) return nullptr;
        const auto at = static_cast<std::size_t>(group - kNoDataGroup);
        if (layout.groups.size() <= at) layout.groups.resize(at + 1);
        return &layout.groups[at];
    };
    for (std::size_t i = 0; i < layout.fields.size(); ++i)
        if (DATAGROUP* members = groupOf(layout.fields[i].entry.group)) members->fields.push_back(i);
    for (std::size_t i = 0; i < layout.strings.size(); ++i)
        if (DATAGROUP* members = groupOf(layout.strings[i].entry.group)) members->strings.push_back(i);
    for (std::size_t i = 0; i < layout.tail.size(); ++i)
        if (DATAGROUP* members = groupOf(layout.tail[i].entry.group)) members->tail.push_back(i);
}

}  // namespace

const DATALAYOUT& cRecordLayoutCache::Get(const cDataRecord& record, DWORD version, const void* object, std::size_t size)
{
    for (const std::atomic<const DATALAYOUT*>& recent : m_Recent) {
        const DATALAYOUT* layout = recent.load(std::memory_order_acquire);
        if (layout && layout->version == version) return *layout;
    }
    std::lock_guard<std::mutex> lock(m_Mutex);
    std::unique_ptr<DATALAYOUT>& layout = m_Layouts[version];
    if (!layout) {
        layout = std::make_unique<DATALAYOUT>();
        record.BuildLayout(*layout, version, object, size);
    }
    m_Recent[m_nNextRecent.fetch_add(1, std::memory_order_relaxed) % kRecent].store(layout.get(), std::memory_order_release);
    return *layout;
}

void cDataRecord::BuildLayout(DATALAYOUT& layout, DWORD version, const void* object, std::size_t size) const
{
    const LAYOUTBUILD outer = t_Build;
    const auto begin = reinterpret_cast<std::uintptr_t>(object);
    t_Build = LAYOUTBUILD{&layout, reinterpret_cast<std::uintptr_t>(this), begin, begin + size};
    layout.version = version;
    // Registration only takes the members' addresses, so a record that is otherwise const may
    // do it.
    const_cast<cDataRecord*>(this)->RegisterFields(version);
    t_Build = outer;
    CompleteLayout(layout);
}

const DATALAYOUT* cDataRecord::SharedLayout(DWORD version) const
{
    if (typeid(*this) != typeid(cDataRecord)) return nullptr;
    static cRecordLayoutCache s_Layouts;
    return &s_Layouts.Get(*this, version, this, sizeof(cDataRecord));
}

cRecordLayoutRef cDataRecord::Layout(DWORD version) const
{
    if (const DATALAYOUT* shared = SharedLayout(version)) return cRecordLayoutRef(*shared);
    auto own = std::make_unique<DATALAYOUT>();
    BuildLayout(*own, version, nullptr, 0);
    return cRecordLayoutRef(std::move(own));
}

void cDataRecord::RegisterFields(DWORD)
{
    ClearTables();
}

void cDataRecord::ClearTables()
{
    if (!t_Build.layout) return;
    t_Build.layout->fields.clear();
    t_Build.layout->strings.clear();
    t_Build.layout->tail.clear();
}

void cDataRecord::AddField(void* address, int count, int size, DATAVALUEKIND kind, const char* name, int group)
{
    if (!t_Build.layout) return;
    t_Build.layout->fields.push_back(Place(DATAFIELD{nullptr, address, count, static_cast<std::int8_t>(size), kind, name, group}));
}

void cDataRecord::AddString(std::string* address, int count, const char* name, int group)
{
    if (!t_Build.layout) return;
    for (int i = 0; i < count; ++i) t_Build.layout->strings.push_back(Place(DATASTRING{nullptr, address + i, name, i, count, group}));
}

void cDataRecord::AddTail(void* address, int count, const DATATAILTYPE* type, const char* name, int group)
{
    if (!t_Build.layout) return;
    t_Build.layout->tail.push_back(Place(DATATAIL{nullptr, address, count, type, name, group}));
}

DATATABLES cDataRecord::Tables() const
{
    const cRecordLayoutRef layout = Layout(g_nDataVersion);
    DATATABLES tables;
    for (const auto& field : layout->fields) tables.fields.push_back(field.For(*this));
    for (const auto& entry : layout->strings) tables.strings.push_back(entry.For(*this));
    for (const auto& entry : layout->tail) tables.tail.push_back(entry.For(*this));
    return tables;
}

std::size_t cDataRecord::HeapBytes() const
{
    // The newest version registers every stored member.
    const cRecordLayoutRef layout = Layout(kDataVersion);
    std::size_t bytes = 0;
    for (const auto& entry : layout->strings) bytes += record_tail_types::StringHeap(*entry.For(*this).address);
    for (const auto& entry : layout->tail) {
        if (entry.entry.type->heap) bytes += entry.entry.type->heap(entry.For(*this));
    }
    return bytes;
}

void cDataRecord::Read(cDataReader& reader)
{
    const cRecordLayoutRef layout = Layout(reader.Version());
    int blocks = 0;
    if (reader.ReadCount(blocks, 0, "block count")) {
        const auto n = static_cast<std::size_t>(blocks);
        if (n > layout->fields.size()) {
            std::string why;
            FormatString(why, "block count %d is more than the %zu fields of version %u", blocks,
                         layout->fields.size(), static_cast<unsigned>(reader.Version()));
            reader.Fail(why);
        } else if (const std::size_t total = layout->blockBytes[n]; total <= reader.Remaining()) {
            const char* bytes = reader.ReadSpan(total);
            if (!bytes) {
                // The file could not give its bytes: the reader has failed and says why.
            } else if (!layout->runs.empty()) {
                char* record = reinterpret_cast<char*>(this);
                for (const DATARUN& run : layout->runs) {
                    if (run.start >= total) break;
                    CopyField(record + run.offset, bytes + run.start, std::min(run.bytes, total - run.start));
                }
            } else {
                for (std::size_t i = 0; i < n; ++i) {
                    const auto& field = layout->fields[i];
                    CopyField(field.Address(*this), bytes + layout->blockBytes[i], FieldBytes(field));
                }
            }
        } else {
            // Short: read up to the block the file ends in, which the failure names.
            for (std::size_t i = 0; i < n && !reader.Failed(); ++i) {
                const auto& field = layout->fields[i];
                reader.ReadBytes(field.Address(*this), FieldBytes(field));
            }
        }
    }
    ReadStrings(*layout, reader);
    for (std::size_t i = 0; i < layout->tail.size() && !reader.Failed(); ++i) {
        const DATATAIL entry = layout->tail[i].For(*this);
        entry.type->read(entry, reader);
    }
}

void cDataRecord::ReadStrings(const DATALAYOUT& layout, cDataReader& reader)
{
    int strings = 0;
    if (!reader.ReadCount(strings, 4, "string count")) return;
    if (static_cast<std::size_t>(strings) > layout.strings.size()) {
        std::string why;
        FormatString(why, "string count %d is more than the %zu strings of version %u", strings,
                     layout.strings.size(), static_cast<unsigned>(reader.Version()));
        reader.Fail(why);
        return;
    }
    for (int i = 0; i < strings; ++i) {
        if (!reader.ReadString(*layout.strings[static_cast<std::size_t>(i)].For(*this).address)) return;
    }
    if (g_bStripCR) {
        for (const auto& entry : layout.strings) StripCarriageReturns(*entry.For(*this).address);
    }
}

void cDataRecord::Write(cDataWriter& writer)
{
    const cRecordLayoutRef layout = Layout(g_nDataVersion);
    writer.WriteInt32(static_cast<std::int32_t>(layout->fields.size()));
    for (const auto& field : layout->fields) writer.WriteBytes(field.Address(*this), FieldBytes(field));
    WriteStrings(*layout, writer);
    for (const auto& entry : layout->tail) {
        const DATATAIL resolved = entry.For(*this);
        resolved.type->write(resolved, writer);
    }
}

void cDataRecord::WriteStrings(const DATALAYOUT& layout, cDataWriter& writer)
{
    writer.WriteInt32(static_cast<std::int32_t>(layout.strings.size()));
    for (const auto& entry : layout.strings) WriteDataString(writer, *entry.For(*this).address);
}

std::unique_ptr<cDataRecord> cDataRecord::Duplicate() const
{
    return std::make_unique<cDataRecord>(*this);
}

void cDataRecord::TakeOver(cDataRecord&)
{
}

int cDataRecord::Load(const char* path)
{
    cDataReader reader;
    if (!OpenDataFileRead(path, reader)) return 0;
    if (LoadFrom(reader)) {
        // Bytes after the last value are not read, as the format has it: a newer editor's
        // file still loads, and the report says what was passed over.
        if (reader.Remaining() > 0)
            ReportLog("%s : %zu bytes after the last value were not read", (path && *path) ? path : "err",
                      reader.Remaining());
        return 1;
    }
    ReportLog("%s : %s", (path && *path) ? path : "err", reader.Error().c_str());
    return 0;
}

int cDataRecord::LoadFrom(cDataReader& reader)
{
    std::unique_ptr<cDataRecord> copy = Duplicate();
    if (typeid(*copy) != typeid(*this)) {
        // A class that does not derive through cDataRecordOf would be read sliced.
        reader.Fail(std::string("cannot read a record of class ") + typeid(*this).name());
        return 0;
    }
    copy->Read(reader);
    if (reader.Failed()) return 0;
    TakeOver(*copy);
    return 1;
}

int cDataRecord::Save(const char* path)
{
    cDataWriter writer;
    if (!OpenDataFileWrite(path, writer)) return 0;
    Write(writer);
    return CloseDataFile(writer) ? 1 : 0;
}

void cDataRecord::Clear()
{
    const cRecordLayoutRef layout = Layout(g_nDataVersion);
    if (!layout->runs.empty()) {
        char* record = reinterpret_cast<char*>(this);
        for (const DATARUN& run : layout->runs) ClearField(record + run.offset, run.bytes);
    } else {
        for (const auto& field : layout->fields) ClearField(field.Address(*this), FieldBytes(field));
    }
    for (const auto& entry : layout->strings) entry.For(*this).address->clear();
}

void cDataRecord::CopyFrom(const cDataRecord& other)
{
    if (&other == this) return;
    if (typeid(other) != typeid(*this)) {
        EcLogF("CopyFrom: %s from %s refused", typeid(*this).name(), typeid(other).name());
        return;
    }
    // Same class: one layout places the members of both.
    const cRecordLayoutRef layout = Layout(g_nDataVersion);
    const cRecordLayoutRef otherLayout = other.Layout(g_nDataVersion);
    for (std::size_t i = 0; i < layout->fields.size() && i < otherLayout->fields.size(); ++i) {
        const auto& field = layout->fields[i];
        CopyField(field.Address(*this), otherLayout->fields[i].Address(other), FieldBytes(field));
    }
    for (std::size_t i = 0; i < layout->strings.size() && i < otherLayout->strings.size(); ++i)
        *layout->strings[i].For(*this).address = *otherLayout->strings[i].For(other).address;
}

void cDataRecord::CopyGroup(int group, const cDataRecord& other)
{
    if (&other == this) return;
    if (typeid(other) != typeid(*this)) {
        EcLogF("CopyGroup: %s from %s refused", typeid(*this).name(), typeid(other).name());
        return;
    }
    // The newest version registers every member a group has; both records of one class
    // register the same entries in the same order.
    const cRecordLayoutRef layout = Layout(kDataVersion);
    const cRecordLayoutRef otherLayout = layout.Shared() ? cRecordLayoutRef(*layout) : other.Layout(kDataVersion);
    if (group < kNoDataGroup || static_cast<std::size_t>(group - kNoDataGroup) >= layout->groups.size()) return;
    const DATAGROUP& members = layout->groups[static_cast<std::size_t>(group - kNoDataGroup)];
    for (std::size_t i : members.fields) {
        if (i >= otherLayout->fields.size()) break;
        const auto& field = layout->fields[i];
        CopyField(field.Address(*this), otherLayout->fields[i].Address(other), FieldBytes(field));
    }
    for (std::size_t i : members.strings) {
        if (i >= otherLayout->strings.size()) break;
        *layout->strings[i].For(*this).address = *otherLayout->strings[i].For(other).address;
    }
    for (std::size_t i : members.tail) {
        if (i >= otherLayout->tail.size()) break;
        const auto& entry = layout->tail[i];
        if (entry.entry.type->assign) entry.entry.type->assign(entry.For(*this), otherLayout->tail[i].For(other));
    }
}

void cDataRecord::StripCR()
{
    const cRecordLayoutRef layout = Layout(g_nDataVersion);
    for (const auto& entry : layout->strings) StripCarriageReturns(*entry.For(*this).address);
}

void StripCarriageReturns(std::string& text)
{
    if (!std::memchr(text.data(), '\r', text.size())) return;
    std::size_t end = std::strlen(text.c_str());
    std::size_t kept = 0;
    for (std::size_t i = 0; i < end; ++i) {
        if (text[i] != '\r') text[kept++] = text[i];
    }
    text.erase(kept, end - kept);
}
