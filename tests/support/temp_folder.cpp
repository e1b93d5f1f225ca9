#include "tests/support/temp_folder.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

#include "platform/os/files.h"

namespace fs = std::filesystem;

namespace qbtest {

cTempFolder::cTempFolder()
{
    std::string pattern = (fs::temp_directory_path() / "qbtest-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    m_Path = pattern;
}

cTempFolder::~cTempFolder()
{
    if (!m_PreviousWorkingFolder.empty()) {
        std::error_code ignored;
        fs::current_path(m_PreviousWorkingFolder, ignored);
    }
    std::error_code ignored;
    fs::remove_all(m_Path, ignored);
    plat::FlushPathCache();
}

void cTempFolder::ChangeInto()
{
    if (m_PreviousWorkingFolder.empty()) m_PreviousWorkingFolder = fs::current_path();
    fs::current_path(m_Path);
    plat::FlushPathCache();
}

void cTempFolder::WriteFile(const std::string& relativeUtf8, const std::string& bytes) const
{
    fs::path full = m_Path / fs::path(relativeUtf8);
    fs::create_directories(full.parent_path());
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    plat::FlushPathCache();
}

std::string cTempFolder::ReadFile(const std::string& relativeUtf8) const
{
    std::ifstream in(m_Path / fs::path(relativeUtf8), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool cTempFolder::Exists(const std::string& relativeUtf8) const
{
    return fs::exists(m_Path / fs::path(relativeUtf8));
}

}  // namespace qbtest
