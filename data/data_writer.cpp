#include "data/data_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "data/data_version.h"
#include "platform/os/files.h"

cDataWriter::cDataWriter()
{
    WriteInt32(static_cast<std::int32_t>(g_nDataVersion));
}

cDataWriter::~cDataWriter()
{
    Abandon();
}

void cDataWriter::WriteInt32(std::int32_t value)
{
    std::uint32_t v = static_cast<std::uint32_t>(value);
    const char bytes[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                           static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
    m_Image.append(bytes, 4);
}

void cDataWriter::WriteString(const std::string& text)
{
    std::size_t length = std::strlen(text.c_str());
    WriteInt32(static_cast<std::int32_t>(length + 1));
    if (length) m_Image.append(text.c_str(), length + 1);
}

void cDataWriter::Abandon()
{
    if (!m_lpFile) return;
    std::fclose(m_lpFile);
    m_lpFile = nullptr;
    DeleteFileA(m_strTempPath.c_str());
}

namespace {

// Syncs the folder that holds a program path, so that a rename in it is on disk.
bool SyncFolderOf(const char* path)
{
    std::string native = plat::NativePath(path);
    if (native.empty()) return false;
    std::filesystem::path folder = std::filesystem::path(native).parent_path();
    if (folder.empty()) folder = ".";
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return false;
    bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

}  // namespace

bool OpenDataFileWrite(const char* path, cDataWriter& writer)
{
    writer.Abandon();
    writer.m_Image.clear();
    writer.WriteInt32(static_cast<std::int32_t>(g_nDataVersion));
    if (!path || !*path) return false;
    writer.m_strPath = path;
    writer.m_strTempPath = writer.m_strPath + ".tmp";
    writer.m_lpFile = plat::OpenFile(writer.m_strTempPath.c_str(), "wb");
    return writer.m_lpFile != nullptr;
}

bool CloseDataFile(cDataWriter& writer)
{
    if (!writer.m_lpFile) return false;
    FILE* file = writer.m_lpFile;
    bool written = std::fwrite(writer.m_Image.data(), 1, writer.m_Image.size(), file) == writer.m_Image.size() &&
                   std::fflush(file) == 0 && ::fsync(fileno(file)) == 0;
    writer.m_lpFile = nullptr;
    written = (std::fclose(file) == 0) && written;
    if (written && MoveFileA(writer.m_strTempPath.c_str(), writer.m_strPath.c_str())) {
        // The new file is in place; a folder that cannot be synced leaves it there but is
        // reported, since the rename may not survive a crash.
        return SyncFolderOf(writer.m_strPath.c_str());
    }
    DeleteFileA(writer.m_strTempPath.c_str());
    return false;
}

void WriteDataString(cDataWriter& writer, std::string& text)
{
    text.resize(std::strlen(text.c_str()));
    writer.WriteString(text);
}
