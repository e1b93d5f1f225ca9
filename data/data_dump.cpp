#include "data/data_dump.h"

#include "platform/os/text.h"
#include "shell/format.h"

void cDataDump::Int(const char* name, std::int64_t value)
{
    AppendFormatString(m_Out, "%s%s = %lld\n", m_strPrefix.c_str(), name, static_cast<long long>(value));
}

void cDataDump::Text(const char* name, const std::string& cp932)
{
    std::string quoted = "\"";
    for (unsigned char c : plat::Cp932ToUtf8(cp932)) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += static_cast<char>(c);
        } else if (c == '\n') {
            quoted += "\\n";
        } else if (c == '\r') {
            quoted += "\\r";
        } else if (c < 0x20 || c == 0x7F) {
            AppendFormatString(quoted, "\\x%02X", c);
        } else {
            quoted += static_cast<char>(c);
        }
    }
    quoted += '"';
    AppendFormatString(m_Out, "%s%s = %s\n", m_strPrefix.c_str(), name, quoted.c_str());
}

void cDataDump::Strings(const char* name, const cSafeVector<std::string>& list)
{
    Count(name, list.size());
    for (std::size_t i = 0; i < list.size(); ++i) Text(Indexed(name, i).c_str(), list[i]);
}

void cDataDump::Count(const char* name, std::size_t count)
{
    AppendFormatString(m_Out, "%s%s.count = %zu\n", m_strPrefix.c_str(), name, count);
}

std::string cDataDump::Indexed(const char* name, std::size_t i)
{
    std::string text;
    FormatString(text, "%s[%zu]", name, i);
    return text;
}
