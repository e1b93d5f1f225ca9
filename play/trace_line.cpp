#include "play/trace_line.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

void cTraceLine::Name(const char* name)
{
    if (!m_strText.empty()) m_strText += ' ';
    m_strText += name;
    m_strText += '=';
}

void cTraceLine::Add(const char* name, long long value)
{
    Name(name);
    m_strText += std::to_string(value);
}

void cTraceLine::AddHex(const char* name, std::uint64_t value, int digits)
{
    char text[24];
    std::snprintf(text, sizeof text, "%0*" PRIx64, digits, value);
    Name(name);
    m_strText += text;
}

std::uint64_t TraceBits(double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void cTraceLine::AddBits(const char* name, double value)
{
    AddHex(name, TraceBits(value), 16);
}

void cTraceLine::AddText(const char* name, const std::string& text)
{
    Name(name);
    m_strText += text;
}
