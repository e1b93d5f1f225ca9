#pragma once
// Text helpers of the flows and the dialogs over the program's CP932 strings.
#include <string>

// Cuts the string at its first NUL byte (text read into a string's buffer by a control or a
// file may be shorter than the string) and returns the new length in bytes.
int SyncStringLength(std::string& text);

// The count bytes of text from start. A negative start shortens the count by as much and
// starts at 0; a start at or beyond the end, or a count of 0 or less, gives ""; a count that
// runs past the end takes the rest.
[[nodiscard]] std::string StringMid(const std::string& text, int start, int count);
