#include "data/data_reader.h"

#include <bit>
#include <cstring>
#include <memory>

#include "data/data_version.h"
#include "platform/os/file_ops.h"
#include "platform/os/files.h"
#include "shell/format.h"

// Blocks are the members' memory images, stored little-endian.
static_assert(std::endian::native == std::endian::little);

cDataReader::cDataReader()
{
    Fail("nothing to read");
}

cDataReader::cDataReader(std::string image) : m_Image(std::move(image))
{
    std::int32_t version = 0;
    if (!ReadBytes(&version, 4)) {
        m_strError = "the file ends before its version word";
        return;
    }
    m_nVersion = static_cast<DWORD>(version);
}

cDataReader::cDataReader(const void* image, std::size_t size)
    : cDataReader(std::string(static_cast<const char*>(image), size))
{
}

void cDataReader::Fail(const std::string& why)
{
    if (Failed()) return;
    FormatString(m_strError, "%s (at byte %zu of %zu)", why.c_str(), m_nPosition, m_Image.size());
}

bool cDataReader::ReadBytes(void* out, std::size_t n)
{
    if (Failed()) return false;
    if (n > Remaining()) {
        std::string why;
        FormatString(why, "the file ends inside a value of %zu bytes", n);
        Fail(why);
        return false;
    }
    if (n) std::memcpy(out, m_Image.data() + m_nPosition, n);
    m_nPosition += n;
    return true;
}

bool cDataReader::ReadInt32(std::int32_t& value)
{
    std::uint8_t bytes[4];
    if (!ReadBytes(bytes, 4)) return false;
    value = static_cast<std::int32_t>(bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                                      (static_cast<std::uint32_t>(bytes[3]) << 24));
    return true;
}

bool cDataReader::ReadCount(int& value, std::size_t bytesEach, const char* what)
{
    value = 0;
    std::int32_t n = 0;
    if (!ReadInt32(n)) return false;
    std::string why;
    if (n < 0) {
        FormatString(why, "%s %d is negative", what, n);
        Fail(why);
        return false;
    }
    if (static_cast<std::uint64_t>(n) * bytesEach > Remaining()) {
        FormatString(why, "%s %d needs more than the %zu bytes left", what, n, Remaining());
        Fail(why);
        return false;
    }
    value = n;
    return true;
}

bool cDataReader::ReadString(std::string& text)
{
    std::int32_t length = 0;
    if (!ReadInt32(length)) return false;
    std::string why;
    if (length < 1) {
        FormatString(why, "string length %d is below 1", length);
        Fail(why);
        return false;
    }
    if (length > 1 && static_cast<std::size_t>(length) > Remaining()) {
        FormatString(why, "string length %d runs past the end", length);
        Fail(why);
        return false;
    }
    if (length == 1) {
        text.clear();
        return true;
    }
    const char* stored = m_Image.data() + m_nPosition;
    const void* nul = std::memchr(stored, '\0', static_cast<std::size_t>(length));
    std::size_t textLength = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - stored)
                                 : static_cast<std::size_t>(length);
    text.assign(stored, textLength);
    m_nPosition += static_cast<std::size_t>(length);
    return true;
}

bool OpenDataFileRead(const char* path, cDataReader& reader)
{
    const char* name = (path && *path) ? path : "err";
    std::unique_ptr<FILE, int (*)(FILE*)> file(plat::OpenFile(name, "rb"), &std::fclose);
    if (!file) return false;
    std::string image;
    if (const std::int64_t size = plat::FileSize(file.get()); size > 0) image.reserve(static_cast<std::size_t>(size));
    char chunk[65536];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) image.append(chunk, got);
    if (std::ferror(file.get())) return false;
    reader = cDataReader(std::move(image));
    return true;
}

int ReadDataString(cDataReader& reader, std::string& text)
{
    return reader.ReadString(text) ? 1 : 0;
}
