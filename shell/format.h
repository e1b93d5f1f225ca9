#pragma once
// printf-style formatting into string objects, and number texts for the screens.
#include <cstdarg>
#include <string>

// Formats into out: FormatString replaces it, AppendFormatString appends to it. The text is
// measured first and comes out whole at any length (nothing is cut at a fixed size); an
// argument may point into out itself.
void FormatString(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void AppendFormatString(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void VFormatString(std::string& out, const char* format, va_list args);
void VAppendFormatString(std::string& out, const char* format, va_list args);

// Number of decimal digits of n, 1 to 10; the sign is not counted.
int CountDigits(int n);

// The widest text FormatNumber makes, so that a width from data cannot exhaust memory.
constexpr int kMaxNumberWidth = 255;

// out = decimal text of value in width digits (at least its own digit count; at most
// kMaxNumberWidth): leading zeros become blanks unless zeroFill, except the last digit;
// "-" in front of a negative value, "+" in front of zero or more when plus is set.
// (7, 3) is "  7", (7, 3, zeroFill) "007", (-7, 3) "-  7", (12, 0, plus) "+12".
void FormatNumber(std::string& out, int value, int width, bool zeroFill, bool plus);
