#pragma once
// Text conversion at the edges of the program: inside, text is CP932 bytes.
#include <string>
#include <string_view>
#include "platform/os/windows_types.h"

// True when c is the first byte of a CP932 double-byte character (0x81..0x9F, 0xE0..0xFC).
BOOL IsDBCSLeadByte(BYTE c);

namespace plat {

// True when c can be the second byte of a CP932 double-byte character (0x40..0x7E, 0x80..0xFC).
bool IsCp932TrailByte(BYTE c);

// Length in bytes of the character that starts at s[i]: 2 for a lead byte followed by a
// trail byte, 1 otherwise (also for a lead byte at the end or before a non-trail byte).
// Walk a CP932 text from its start with this; never step backwards into one.
std::size_t Cp932CharLength(std::string_view s, std::size_t i);

// CP932 to UTF-8, character by character: a byte sequence with no Unicode form becomes
// U+FFFD and the rest of the text is kept.
std::string Cp932ToUtf8(std::string_view cp932);

// CP932 to UTF-8 without replacement: false when any character has no Unicode form (file
// names, where a replaced character would name another file).
bool Cp932ToUtf8Strict(std::string_view cp932, std::string& out);

// UTF-8 to CP932; false when a character has no CP932 form or the UTF-8 is malformed (out is
// then undefined).
bool Utf8ToCp932(std::string_view utf8, std::string& out);

// Index of the last occurrence of an ASCII byte (0x40..0x7E or below 0x80) in a CP932 text,
// stepping over double-byte characters from the start; npos when none.
std::size_t FindLastSingleByte(std::string_view cp932, char c);

}  // namespace plat
