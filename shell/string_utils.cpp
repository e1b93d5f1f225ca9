#include "shell/string_utils.h"

#include <cstdint>
#include <cstring>

int SyncStringLength(std::string& text)
{
    // No fixed buffer: a text longer than any buffer the dialogs use is kept whole.
    text.resize(std::strlen(text.c_str()));
    return static_cast<int>(text.size());
}

std::string StringMid(const std::string& text, int start, int count)
{
    // 64-bit arithmetic: a start of INT_MIN must not wrap the shortened count.
    std::int64_t from = start;
    std::int64_t length = count;
    if (from < 0) {
        length += from;
        from = 0;
    }
    const std::int64_t size = static_cast<std::int64_t>(text.size());
    if (length <= 0 || from >= size) return std::string();
    if (length > size - from) length = size - from;
    return text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(length));
}
