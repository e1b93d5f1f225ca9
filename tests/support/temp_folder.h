#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it at the
// end of the test. With ChangeInto, it is also the working folder for the test's duration.
#include <filesystem>
#include <string>

namespace qbtest {

class cTempFolder {
public:
    cTempFolder();
    ~cTempFolder();
    cTempFolder(const cTempFolder&) = delete;
    cTempFolder& operator=(const cTempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_Path; }
    // Makes this folder the working folder until destruction.
    void ChangeInto();
    // Writes a file (parent folders made) relative to this folder; name is UTF-8.
    void WriteFile(const std::string& relativeUtf8, const std::string& bytes) const;
    std::string ReadFile(const std::string& relativeUtf8) const;
    bool Exists(const std::string& relativeUtf8) const;

private:
    std::filesystem::path m_Path;
    std::filesystem::path m_PreviousWorkingFolder;
};

}  // namespace qbtest
