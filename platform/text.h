#pragma once
// Text conversion at the edges of the program: inside, text is CP932 bytes.
#include <string>
#include <string_view>
#include "platform/windows_types.h"

// True when c is the first byte of a CP932 double-byte character.
BOOL IsDBCSLeadByte(BYTE c);

namespace plat {

// CP932 to UTF-8, character by character: a byte sequence with no Unicode form becomes
// U+FFFD and the rest of the text is kept.
std::string Cp932ToUtf8(std::string_view cp932);

// UTF-8 to CP932; false when a character has no CP932 form (out is then undefined).
bool Utf8ToCp932(std::string_view utf8, std::string& out);

// Index of the last occurrence of an ASCII byte (0x40..0x7E or below 0x80) in a CP932 text,
// stepping over double-byte characters from the start; npos when none.
std::size_t FindLastSingleByte(std::string_view cp932, char c);

}  // namespace plat
