#pragma once
// Builds file images byte by byte for fixtures, independently of the runtime's writers,
// so that a fixture states the layout itself.
#include <cstdint>
#include <string>
#include <string_view>

namespace qbtest {

class cByteBuilder {
public:
    cByteBuilder& U8(std::uint8_t v) { m_Bytes.push_back(static_cast<char>(v)); return *this; }
    cByteBuilder& U16(std::uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
    cByteBuilder& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    cByteBuilder& I32(std::int32_t v) { return U32(static_cast<std::uint32_t>(v)); }
    cByteBuilder& Bytes(std::string_view bytes) { m_Bytes.append(bytes); return *this; }
    cByteBuilder& Zeros(std::size_t n) { m_Bytes.append(n, '\0'); return *this; }
    std::size_t Size() const { return m_Bytes.size(); }
    const std::string& Str() const { return m_Bytes; }
    // Overwrites a 32-bit little-endian word at an offset already written.
    void PatchU32(std::size_t offset, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i) m_Bytes[offset + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }

private:
    std::string m_Bytes;
};

}  // namespace qbtest
