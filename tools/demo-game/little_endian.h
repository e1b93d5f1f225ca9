#pragma once
// Little-endian words appended to a file image, as bitmap and WAVE headers store them.
#include <cstdint>
#include <string>

inline void PutU16(std::string& out, unsigned value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

inline void PutU32(std::string& out, std::uint32_t value)
{
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}
