#include "tools/lib/data_dump.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/os/text.h"
#include "shell/format.h"

namespace {

void AppendValue(std::string& out, const void* bytes, int size, DATAVALUEKIND kind)
{
    if (kind == DATAVALUE_FLOAT && size == 4) {
        float value;
        std::memcpy(&value, bytes, sizeof value);
        AppendFormatString(out, "%.9g", static_cast<double>(value));
    } else if (kind == DATAVALUE_FLOAT && size == 8) {
        double value;
        std::memcpy(&value, bytes, sizeof value);
        AppendFormatString(out, "%.17g", value);
    } else {
        // Little-endian, as stored; widened by sign or by zeros.
        std::uint64_t value = 0;
        std::memcpy(&value, bytes, static_cast<std::size_t>(size));
        if (kind == DATAVALUE_SIGNED && size < 8 && (value >> (size * 8 - 1)) & 1) value |= ~std::uint64_t{0} << (size * 8);
        if (kind == DATAVALUE_SIGNED) {
            AppendFormatString(out, "%lld", static_cast<long long>(value));
        } else {
            AppendFormatString(out, "%llu", static_cast<unsigned long long>(value));
        }
    }
}

// CP932 text, quoted, with control characters, quotes and backslashes escaped.
void AppendText(std::string& out, const std::string& cp932)
{
    out += '"';
    for (unsigned char c : plat::Cp932ToUtf8(cp932)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c < 0x20 || c == 0x7F) {
            AppendFormatString(out, "\\x%02X", c);
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

class cRecordDump {
public:
    explicit cRecordDump(std::string& out) : m_Out(out) {}

    void Record(const cDataRecord& record, const std::string& prefix)
    {
        // Members in declaration order, which is the order of their addresses in the record.
        struct MEMBER {
            const void* address;
            const DATAFIELD* field;
            const DATASTRING* string;
            const DATATAIL* tail;
        };
        const DATATABLES tables = record.Tables();
        std::vector<MEMBER> members;
        for (const DATAFIELD& field : tables.fields) members.push_back({field.address, &field, nullptr, nullptr});
        for (const DATASTRING& string : tables.strings) members.push_back({string.address, nullptr, &string, nullptr});
        for (const DATATAIL& tail : tables.tail) members.push_back({tail.address, nullptr, nullptr, &tail});
        std::stable_sort(members.begin(), members.end(), [](const MEMBER& a, const MEMBER& b) {
            return reinterpret_cast<std::uintptr_t>(a.address) < reinterpret_cast<std::uintptr_t>(b.address);
        });
        for (const MEMBER& member : members) {
            if (member.field) Field(*member.field, prefix);
            if (member.string) String(*member.string, prefix);
            if (member.tail) Tail(*member.tail, prefix);
        }
    }

private:
    void Line(const std::string& label) { m_Out += label + " = "; }

    void Field(const DATAFIELD& field, const std::string& prefix)
    {
        const char* bytes = static_cast<const char*>(field.address);
        for (int i = 0; i < field.count; ++i) {
            Line(prefix + (field.count > 1 ? MemberLabel(field.name, static_cast<std::size_t>(i)) : MemberLabel(field.name)));
            AppendValue(m_Out, bytes + i * field.size, field.size, field.kind);
            m_Out += '\n';
        }
    }

    void String(const DATASTRING& string, const std::string& prefix)
    {
        Line(prefix + (string.count > 1 ? MemberLabel(string.name, static_cast<std::size_t>(string.index)) : MemberLabel(string.name)));
        AppendText(m_Out, *string.address);
        m_Out += '\n';
    }

    void Tail(const DATATAIL& tail, const std::string& prefix)
    {
        const std::size_t count = tail.Count();
        if (tail.type->shape == DATASHAPE_COUNTED) {
            AppendFormatString(m_Out, "%s.count = %zu\n", (prefix + MemberLabel(tail.name)).c_str(), count);
        } else if (tail.type->shape == DATASHAPE_OPTIONAL && count == 0) {
            Line(prefix + MemberLabel(tail.name));
            m_Out += "none\n";
        }
        const bool indexed = tail.type->shape == DATASHAPE_COUNTED || count > 1;
        for (std::size_t i = 0; i < count; ++i) {
            const std::string label = prefix + (indexed ? MemberLabel(tail.name, i) : MemberLabel(tail.name));
            switch (tail.type->element) {
            case DATAELEMENT_VALUE:
                Line(label);
                AppendValue(m_Out, tail.At(i), tail.type->valueSize, tail.type->valueKind);
                m_Out += '\n';
                break;
            case DATAELEMENT_STRING:
                Line(label);
                AppendText(m_Out, tail.String(i));
                m_Out += '\n';
                break;
            case DATAELEMENT_RECORD:
                Record(tail.Record(i), label + ".");
                break;
            }
        }
    }

    std::string& m_Out;
};

}  // namespace

void DumpRecord(const cDataRecord& record, std::string& out)
{
    cRecordDump(out).Record(record, "");
}
