#pragma once
// Writing of record files: the image is built in memory, version word first, and reaches the
// disk only whole. The file is replaced all or nothing: "name.tmp" is written and synced,
// renamed over the old file, and the folder synced, so a crash mid-save loses nothing.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/os/file_ops.h"

class cDataWriter {
public:
    // An image in memory that starts with the version word g_nDataVersion.
    cDataWriter();
    cDataWriter(const cDataWriter&) = delete;
    cDataWriter& operator=(const cDataWriter&) = delete;

    void WriteBytes(const void* bytes, std::size_t n) { m_Image.append(static_cast<const char*>(bytes), n); }
    void WriteInt32(std::int32_t value);
    // One string in the single-string encoding: length + 1, then the text and its NUL.
    void WriteString(const std::string& text);

    const std::string& Image() const { return m_Image; }

private:
    friend bool OpenDataFileWrite(const char* path, cDataWriter& writer);
    friend bool CloseDataFile(cDataWriter& writer);

    std::string m_Image;
    plat::cDurableFile m_File;
};

// Starts a file image for path and creates "path.tmp", so that a file that cannot be created
// fails here. False when it cannot be created (a null or empty path never can).
bool OpenDataFileWrite(const char* path, cDataWriter& writer);
// Writes the image into "path.tmp", syncs it, renames it over path and syncs the folder.
// False when any step fails; the file at path is then as it was and "path.tmp" is removed.
bool CloseDataFile(cDataWriter& writer);

// One string in the single-string encoding (tails). The text is cut at an embedded NUL.
void WriteDataString(cDataWriter& writer, std::string& text);
