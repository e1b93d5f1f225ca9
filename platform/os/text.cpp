#include "platform/os/text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";  // U+FFFD

// One iconv descriptor. glibc's "CP932" keeps 0x5C and 0x7E as backslash and tilde, where
// "SHIFT_JIS" would make them yen and overline and break every path.
class cConverter {
public:
    cConverter(const char* to, const char* from) : m_Cd(iconv_open(to, from)) {}
    ~cConverter()
    {
        if (Valid()) iconv_close(m_Cd);
    }
    cConverter(const cConverter&) = delete;
    cConverter& operator=(const cConverter&) = delete;

    // Appends the conversion of in to out up to the first character that cannot be
    // converted (or the end); returns the number of input bytes consumed.
    std::size_t Convert(std::string_view in, std::string& out)
    {
        if (!Valid()) return ConvertAsciiOnly(in, out);
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char buffer[1024];
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t result = iconv(m_Cd, &inPtr, &inLeft, &outPtr, &outLeft);
            const int error = errno;
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (result == static_cast<std::size_t>(-1) && error != E2BIG) {
                iconv(m_Cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
                break;
            }
        }
        return in.size() - inLeft;
    }

private:
    bool Valid() const { return m_Cd != reinterpret_cast<iconv_t>(-1); }

    // Without the converter module only ASCII, which both encodings share, gets through.
    static std::size_t ConvertAsciiOnly(std::string_view in, std::string& out)
    {
        const auto end = std::find_if(in.begin(), in.end(), [](char c) { return static_cast<BYTE>(c) >= 0x80; });
        const std::size_t n = static_cast<std::size_t>(end - in.begin());
        out.append(in.substr(0, n));
        return n;
    }

    iconv_t m_Cd;
};

// iconv descriptors carry state, so every thread gets its own pair.
struct cThreadConverters {
    cConverter toUtf8{"UTF-8", "CP932"};
    cConverter toCp932{"CP932", "UTF-8"};
};

cThreadConverters& Converters()
{
    thread_local cThreadConverters converters;
    return converters;
}

bool IsAscii(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<BYTE>(c) < 0x80; });
}

// Converts CP932 to UTF-8; each character without a Unicode form becomes U+FFFD when
// replace is set, or ends the conversion with false when it is not.
bool ConvertCp932(std::string_view in, std::string& out, bool replace)
{
    out.clear();
    if (IsAscii(in)) {
        out.assign(in);
        return true;
    }
    out.reserve(in.size() * 3 / 2);
    cConverter& converter = Converters().toUtf8;
    std::size_t pos = 0;
    while (pos < in.size()) {
        pos += converter.Convert(in.substr(pos), out);
        if (pos >= in.size()) break;
        if (!replace) return false;
        out.append(kReplacementUtf8);
        pos += plat::Cp932CharLength(in, pos);
    }
    return true;
}

}  // namespace

BOOL IsDBCSLeadByte(BYTE c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

namespace plat {

bool IsCp932TrailByte(BYTE c)
{
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

std::size_t Cp932CharLength(std::string_view s, std::size_t i)
{
    if (i + 1 < s.size() && IsDBCSLeadByte(static_cast<BYTE>(s[i])) && IsCp932TrailByte(static_cast<BYTE>(s[i + 1])))
        return 2;
    return 1;
}

std::string Cp932ToUtf8(std::string_view cp932)
{
    std::string out;
    ConvertCp932(cp932, out, true);
    return out;
}

bool Cp932ToUtf8Strict(std::string_view cp932, std::string& out)
{
    return ConvertCp932(cp932, out, false);
}

bool Utf8ToCp932(std::string_view utf8, std::string& out)
{
    out.clear();
    if (IsAscii(utf8)) {
        out.assign(utf8);
        return true;
    }
    return Converters().toCp932.Convert(utf8, out) == utf8.size();
}

std::size_t FindLastSingleByte(std::string_view cp932, char c)
{
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < cp932.size(); i += Cp932CharLength(cp932, i))
        if (cp932[i] == c) found = i;
    return found;
}

}  // namespace plat
