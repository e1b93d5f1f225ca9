#pragma once
// Reading of record files: a file (or a whole image in memory) with its version word, a
// position, and a sticky error. Every count is checked against the bytes still unread before
// anything is sized by it, so a damaged file can neither overrun a buffer nor make the reader
// allocate more than the file can back; after the first failure every read does nothing.
// A file is read in chunks as its values are read, so bytes after the last value never
// reach memory.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include "platform/os/windows_types.h"

// What a read may make for the values its file holds (records, lists, texts): this many times
// the file's size beyond a fixed base. With what the checks make after each record, a read
// takes at most eight times its file; a file that would need more is refused as damaged (no
// editor writes one: its records are far larger than the smallest bodies a count can promise).
constexpr std::size_t kReadBudgetFactor = 6;
constexpr std::size_t kReadBudgetBase = 32 * 1024;

class cDataReader {
public:
    // A reader that has nothing to read (failed).
    cDataReader();
    // Reads from a whole file image: the 4-byte version word, then the record bodies.
    explicit cDataReader(std::string image);
    cDataReader(const void* image, std::size_t size);
    // Reads from an open file of size bytes, from its start, taking the file over.
    cDataReader(std::FILE* file, std::uint64_t size);

    // The file's version word; the records read from it register for this version.
    DWORD Version() const { return m_nVersion; }
    bool Failed() const { return !m_strError.empty(); }
    // Why the read failed, with the file offset; empty while nothing failed.
    const std::string& Error() const { return m_strError; }
    std::size_t Position() const { return m_nPosition; }
    std::size_t Remaining() const { return m_nSize - m_nPosition; }

    // Records the first failure (later ones are dropped: the first tells the cause).
    void Fail(const std::string& why);

    // Copies n bytes; false (and failed) when fewer are left.
    bool ReadBytes(void* out, std::size_t n);
    // The next n bytes, passed over: null (and failed) when the file cannot give them. They
    // stay valid until the next read.
    const char* ReadSpan(std::size_t n);
    bool ReadInt32(std::int32_t& value);
    // Sets aside bytes of the read's budget for what is about to be made from the file, before
    // it is allocated: false (and failed) when the budget cannot cover it.
    bool Charge(std::size_t bytes, const char* what);
    // A count of elements that each take at least bytesEach bytes of the file: a negative
    // count, or one the unread bytes cannot hold, fails. value is 0 unless it succeeds.
    bool ReadCount(int& value, std::size_t bytesEach, const char* what);
    // One string in the single-string encoding: a length L of at least 1, then L bytes
    // ending in a NUL (none when L is 1). The text ends at its first NUL; what it takes beyond
    // the string itself is charged.
    bool ReadString(std::string& text);

private:
    void ReadVersion();
    // Makes the next n bytes (no more than Remaining) available at Current; false, and failed,
    // when the file cannot give them.
    bool Fetch(std::size_t n);
    const char* Current() const { return m_Buffer.data() + (m_nPosition - m_nBufferStart); }

    // The bytes from file offset m_nBufferStart on that have been taken from the file and not
    // yet passed by every read (the whole image for a reader made from one).
    std::string m_Buffer;
    std::size_t m_nBufferStart = 0;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> m_File{nullptr, &std::fclose};
    std::size_t m_nSize = 0;
    std::size_t m_nPosition = 0;
    DWORD m_nVersion = 0;
    std::string m_strError;
    std::size_t m_nBudget = 0;
    std::size_t m_nCharged = 0;
};

// What a string whose text takes capacity bytes holds beyond its own object.
std::size_t TextHeapBytes(std::size_t capacity);

// Opens the file for reader, which takes the version word when it is there; the rest is read
// as the values are. A null or empty path is opened as the file "err". False only when the
// file cannot be opened or is not a regular file (a folder, a named pipe: nothing that could
// block or never end); a file too short for its version word opens with the reader failed.
bool OpenDataFileRead(const char* path, cDataReader& reader);

// One string in the single-string encoding (tails). Returns 0 when the read failed.
int ReadDataString(cDataReader& reader, std::string& text);
