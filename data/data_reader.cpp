#include "data/data_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

#include "data/data_version.h"
#include "platform/os/file_ops.h"
#include "platform/os/files.h"
#include "shell/format.h"

// Blocks are the members' memory images, stored little-endian.
static_assert(std::endian::native == std::endian::little);

namespace {

// How much a file read takes at least at a time.
constexpr std::size_t kReadChunk = 64 * 1024;

}  // namespace

cDataReader::cDataReader()
{
    Fail("nothing to read");
}

cDataReader::cDataReader(std::string image)
    : m_Buffer(std::move(image)), m_nSize(m_Buffer.size()), m_nBudget(kReadBudgetBase + kReadBudgetFactor * m_nSize)
{
    ReadVersion();
}

cDataReader::cDataReader(const void* image, std::size_t size)
    : cDataReader(std::string(static_cast<const char*>(image), size))
{
}

cDataReader::cDataReader(std::FILE* file, std::uint64_t size)
    : m_File(file, &std::fclose), m_nSize(static_cast<std::size_t>(size)),
      m_nBudget(kReadBudgetBase + kReadBudgetFactor * m_nSize)
{
    ReadVersion();
}

void cDataReader::ReadVersion()
{
    std::int32_t version = 0;
    if (!ReadBytes(&version, 4)) {
        m_strError = "the file ends before its version word";
        return;
    }
    m_nVersion = static_cast<DWORD>(version);
}

bool cDataReader::Fetch(std::size_t n)
{
    const std::size_t buffered = m_nBufferStart + m_Buffer.size() - m_nPosition;
    if (n <= buffered) return true;
    // What every read has passed is dropped, so the buffer holds about one chunk or the
    // largest value read.
    m_Buffer.erase(0, m_nPosition - m_nBufferStart);
    m_nBufferStart = m_nPosition;
    const std::size_t unread = m_nSize - (m_nBufferStart + m_Buffer.size());
    const std::size_t want = std::min(std::max(n - buffered, kReadChunk), unread);
    const std::size_t kept = m_Buffer.size();
    m_Buffer.resize(kept + want);
    const std::size_t got = m_File ? std::fread(m_Buffer.data() + kept, 1, want, m_File.get()) : 0;
    m_Buffer.resize(kept + got);
    if (got >= n - buffered) return true;
    std::string why;
    FormatString(why, "the file %s while its value of %zu bytes was read",
                 m_File && std::ferror(m_File.get()) ? "could not be read" : "ended", n);
    Fail(why);
    return false;
}

void cDataReader::Fail(const std::string& why)
{
    if (Failed()) return;
    FormatString(m_strError, "%s (at byte %zu of %zu)", why.c_str(), m_nPosition, m_nSize);
}

bool cDataReader::Charge(std::size_t bytes, const char* what)
{
    if (Failed()) return false;
    if (bytes > m_nBudget - m_nCharged) {
        std::string why;
        FormatString(why, "%s would take %zu bytes of memory, more than the %zu left of what a file of %zu bytes may take",
                     what, bytes, m_nBudget - m_nCharged, m_nSize);
        Fail(why);
        return false;
    }
    m_nCharged += bytes;
    return true;
}

const char* cDataReader::ReadSpan(std::size_t n)
{
    if (Failed()) return nullptr;
    if (n > Remaining()) {
        std::string why;
        FormatString(why, "the file ends inside a value of %zu bytes", n);
        Fail(why);
        return nullptr;
    }
    if (!Fetch(n)) return nullptr;
    const char* bytes = Current();
    m_nPosition += n;
    return bytes;
}

bool cDataReader::ReadBytes(void* out, std::size_t n)
{
    const char* bytes = ReadSpan(n);
    if (!bytes) return false;
    if (n) std::memcpy(out, bytes, n);
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
    if (!Fetch(static_cast<std::size_t>(length))) return false;
    const char* stored = Current();
    const void* nul = std::memchr(stored, '\0', static_cast<std::size_t>(length));
    std::size_t textLength = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - stored)
                                 : static_cast<std::size_t>(length);
    if (const std::size_t heap = TextHeapBytes(textLength); heap && !Charge(heap, "a text")) return false;
    text.assign(stored, textLength);
    m_nPosition += static_cast<std::size_t>(length);
    return true;
}

std::size_t TextHeapBytes(std::size_t capacity)
{
    // A text no longer than the string's own inline room takes no memory of its own.
    static const std::size_t inlineText = std::string().capacity();
    return capacity > inlineText ? capacity + 1 : 0;
}

bool OpenDataFileRead(const char* path, cDataReader& reader)
{
    const char* name = (path && *path) ? path : "err";
    std::FILE* file = plat::OpenRegularFile(name);
    if (!file) return false;
    const std::int64_t size = plat::FileSize(file);
    if (size < 0) {
        std::fclose(file);
        return false;
    }
    reader = cDataReader(file, static_cast<std::uint64_t>(size));
    return true;
}

int ReadDataString(cDataReader& reader, std::string& text)
{
    return reader.ReadString(text) ? 1 : 0;
}
