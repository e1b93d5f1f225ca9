#include "data/data_writer.h"

#include <cstring>

#include "data/data_version.h"

cDataWriter::cDataWriter()
{
    WriteInt32(static_cast<std::int32_t>(g_nDataVersion));
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

bool OpenDataFileWrite(const char* path, cDataWriter& writer)
{
    writer.m_File.Abandon();
    writer.m_Image.clear();
    writer.WriteInt32(static_cast<std::int32_t>(g_nDataVersion));
    return writer.m_File.Open(path);
}

bool CloseDataFile(cDataWriter& writer)
{
    return writer.m_File.Commit(writer.m_Image);
}

void WriteDataString(cDataWriter& writer, std::string& text)
{
    text.resize(std::strlen(text.c_str()));
    writer.WriteString(text);
}
