#include "data/data_record.h"

#include <cstring>
#include <typeinfo>

#include "shell/format.h"
#include "shell/log.h"

void cDataRecord::RegisterFields(DWORD)
{
    ClearTables();
}

void cDataRecord::ClearTables()
{
    m_Fields.clear();
    m_Strings.clear();
    m_Tail.clear();
}

void cDataRecord::AddField(void* address, int count, int size, DATAVALUEKIND kind, const char* name, int group)
{
    m_Fields.push_back(DATAFIELD{this, address, count, static_cast<std::int8_t>(size), kind, name, group});
}

void cDataRecord::AddString(std::string* address, int count, const char* name, int group)
{
    for (int i = 0; i < count; ++i) m_Strings.push_back(DATASTRING{this, address + i, name, i, count, group});
}

void cDataRecord::AddTail(void* address, int count, const DATATAILTYPE* type, const char* name, int group)
{
    m_Tail.push_back(DATATAIL{this, address, count, type, name, group});
}

DATATABLES cDataRecord::Tables() const
{
    RegisterConst(g_nDataVersion);
    return DATATABLES{m_Fields, m_Strings, m_Tail};
}

void cDataRecord::RegisterConst(DWORD version) const
{
    const_cast<cDataRecord*>(this)->RegisterFields(version);
}

void cDataRecord::Read(cDataReader& reader)
{
    RegisterFields(reader.Version());
    int blocks = 0;
    if (reader.ReadCount(blocks, 0, "block count")) {
        if (static_cast<std::size_t>(blocks) > m_Fields.size()) {
            std::string why;
            FormatString(why, "block count %d is more than the %zu fields of version %u", blocks,
                         m_Fields.size(), static_cast<unsigned>(reader.Version()));
            reader.Fail(why);
        }
        for (int i = 0; i < blocks && !reader.Failed(); ++i) {
            const DATAFIELD& field = m_Fields[i];
            reader.ReadBytes(field.address, static_cast<std::size_t>(field.count) * field.size);
        }
    }
    ReadStrings(reader);
    for (std::size_t i = 0; i < m_Tail.size() && !reader.Failed(); ++i) m_Tail[i].type->read(m_Tail[i], reader);
    if (reader.Version() != g_nDataVersion) RegisterFields(g_nDataVersion);
}

void cDataRecord::ReadStrings(cDataReader& reader)
{
    int strings = 0;
    if (!reader.ReadCount(strings, 4, "string count")) return;
    if (static_cast<std::size_t>(strings) > m_Strings.size()) {
        std::string why;
        FormatString(why, "string count %d is more than the %zu strings of version %u", strings,
                     m_Strings.size(), static_cast<unsigned>(reader.Version()));
        reader.Fail(why);
        return;
    }
    for (int i = 0; i < strings; ++i) {
        if (!reader.ReadString(*m_Strings[i].address)) return;
    }
    if (g_bStripCR) {
        for (const DATASTRING& entry : m_Strings) StripCarriageReturns(*entry.address);
    }
}

void cDataRecord::Write(cDataWriter& writer)
{
    RegisterFields(g_nDataVersion);
    writer.WriteInt32(static_cast<std::int32_t>(m_Fields.size()));
    for (const DATAFIELD& field : m_Fields) {
        writer.WriteBytes(field.address, static_cast<std::size_t>(field.count) * field.size);
    }
    WriteStrings(writer);
    for (const DATATAIL& entry : m_Tail) entry.type->write(entry, writer);
}

void cDataRecord::WriteStrings(cDataWriter& writer)
{
    writer.WriteInt32(static_cast<std::int32_t>(m_Strings.size()));
    for (const DATASTRING& entry : m_Strings) WriteDataString(writer, *entry.address);
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
    RegisterFields(g_nDataVersion);
    for (const DATAFIELD& field : m_Fields) {
        std::memset(field.address, 0, static_cast<std::size_t>(field.count) * field.size);
    }
    for (const DATASTRING& entry : m_Strings) entry.address->clear();
}

void cDataRecord::CopyFrom(const cDataRecord& other)
{
    if (&other == this) return;
    if (typeid(other) != typeid(*this)) {
        EcLogF("CopyFrom: %s from %s refused", typeid(*this).name(), typeid(other).name());
        return;
    }
    RegisterFields(g_nDataVersion);
    other.RegisterConst(g_nDataVersion);
    // Same class, same version: the tables match entry for entry.
    for (std::size_t i = 0; i < m_Fields.size() && i < other.m_Fields.size(); ++i) {
        std::memmove(m_Fields[i].address, other.m_Fields[i].address,
                     static_cast<std::size_t>(m_Fields[i].count) * m_Fields[i].size);
    }
    for (std::size_t i = 0; i < m_Strings.size() && i < other.m_Strings.size(); ++i) *m_Strings[i].address = *other.m_Strings[i].address;
}

namespace {

// The member of other that lies where `address` lies in self: two records of one class lay out
// their members alike.
template <class M>
const M* Counterpart(const cDataRecord& self, const cDataRecord& other, const M* address)
{
    const std::ptrdiff_t offset = reinterpret_cast<const char*>(address) - reinterpret_cast<const char*>(&self);
    return reinterpret_cast<const M*>(reinterpret_cast<const char*>(&other) + offset);
}

}  // namespace

void cDataRecord::CopyGroup(int group, const cDataRecord& other)
{
    if (&other == this) return;
    if (typeid(other) != typeid(*this)) {
        EcLogF("CopyGroup: %s from %s refused", typeid(*this).name(), typeid(other).name());
        return;
    }
    // The newest version registers every member a group has.
    RegisterFields(kDataVersion);
    for (const DATAFIELD& field : m_Fields) {
        if (field.group != group) continue;
        std::memmove(field.address, Counterpart(*this, other, static_cast<const char*>(field.address)),
                     static_cast<std::size_t>(field.count) * field.size);
    }
    for (const DATASTRING& entry : m_Strings)
        if (entry.group == group) *entry.address = *Counterpart(*this, other, entry.address);
    for (const DATATAIL& entry : m_Tail) {
        if (entry.group != group || !entry.type->assign) continue;
        DATATAIL from = entry;
        from.address = const_cast<char*>(Counterpart(*this, other, static_cast<const char*>(entry.address)));
        entry.type->assign(entry, from);
    }
    if (g_nDataVersion != kDataVersion) RegisterFields(g_nDataVersion);
}

void cDataRecord::StripCR()
{
    RegisterFields(g_nDataVersion);
    for (const DATASTRING& entry : m_Strings) StripCarriageReturns(*entry.address);
}

void StripCarriageReturns(std::string& text)
{
    std::size_t end = std::strlen(text.c_str());
    std::size_t kept = 0;
    for (std::size_t i = 0; i < end; ++i) {
        if (text[i] != '\r') text[kept++] = text[i];
    }
    text.erase(kept, end - kept);
}
