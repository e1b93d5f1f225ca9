#include "shell/format.h"

#include <algorithm>
#include <cstdio>

void VAppendFormatString(std::string& out, const char* format, va_list args)
{
    if (!format) return;
    // Into a separate buffer first: an argument may be out's own text.
    char small[512];
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(small, sizeof small, format, measure);
    va_end(measure);
    if (length < 0) return;
    if (static_cast<std::size_t>(length) < sizeof small) {
        out.append(small, static_cast<std::size_t>(length));
        return;
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    out += text;
}

void VFormatString(std::string& out, const char* format, va_list args)
{
    std::string text;
    VAppendFormatString(text, format, args);
    out = std::move(text);
}

void FormatString(std::string& out, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    VFormatString(out, format, args);
    va_end(args);
}

void AppendFormatString(std::string& out, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    VAppendFormatString(out, format, args);
    va_end(args);
}

namespace {

// |n| without overflow: INT_MIN has no positive int.
unsigned int Magnitude(int n)
{
    return n < 0 ? 0u - static_cast<unsigned int>(n) : static_cast<unsigned int>(n);
}

}  // namespace

int CountDigits(int n)
{
    int digits = 1;
    for (unsigned int rest = Magnitude(n); rest >= 10; rest /= 10) ++digits;
    return digits;
}

void FormatNumber(std::string& out, int value, int width, bool zeroFill, bool plus)
{
    width = std::clamp(width, CountDigits(value), kMaxNumberWidth);
    std::string text(static_cast<std::size_t>(width), '0');
    unsigned int rest = Magnitude(value);
    for (int i = width - 1; i >= 0 && rest > 0; --i, rest /= 10) text[i] = static_cast<char>('0' + rest % 10);
    if (!zeroFill)
        for (int i = 0; i < width - 1 && text[i] == '0'; ++i) text[i] = ' ';
    if (value < 0)
        text.insert(text.begin(), '-');
    else if (plus)
        text.insert(text.begin(), '+');
    out = std::move(text);
}
