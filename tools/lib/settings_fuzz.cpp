#include "tools/lib/settings_fuzz.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "data/system_data.h"
#include "data/system_ini_keys.h"
#include "platform/os/files.h"
#include "shell/input.h"
#include "shell/key_config.h"
#include "shell/system_ini.h"

namespace fs = std::filesystem;

namespace {

// A new folder of a name nobody else has taken, in the temporary folder.
bool MakePrivateFolder(fs::path& folder)
{
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    if (error) return false;
    std::random_device seed;
    std::mt19937_64 names(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "qbfuzz-%016llx", static_cast<unsigned long long>(names()));
        // Creating the folder is what claims the name: false when it already existed.
        if (fs::create_directory(base / name, error)) {
            fs::permissions(base / name, fs::perms::owner_all, error);
            folder = base / name;
            return true;
        }
        if (error) return false;
    }
    return false;
}

// One file in a folder of its own, so that the path cache lists only it; removed at exit.
class cFuzzFile {
public:
    cFuzzFile()
    {
        if (!MakePrivateFolder(m_Folder)) return;
        m_strNative = (m_Folder / "input").string();
        if (!plat::ToProgramPath(m_strNative, m_strProgramPath)) m_strProgramPath.clear();
    }
    ~cFuzzFile()
    {
        std::error_code ignored;
        if (!m_Folder.empty()) fs::remove_all(m_Folder, ignored);
    }
    cFuzzFile(const cFuzzFile&) = delete;
    cFuzzFile& operator=(const cFuzzFile&) = delete;

    // Writes the bytes as the file and returns its program path; null when it cannot.
    const char* Write(const std::uint8_t* data, std::size_t size)
    {
        if (m_strProgramPath.empty()) return nullptr;
        std::FILE* file = std::fopen(m_strNative.c_str(), "wb");
        if (!file) return nullptr;
        // An empty input may come without a buffer: an empty file, and no pointer to write from.
        const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
        if (std::fclose(file) != 0 || !written) return nullptr;
        plat::NotePathChanged(m_strNative);
        return m_strProgramPath.c_str();
    }

private:
    fs::path m_Folder;
    std::string m_strNative;
    std::string m_strProgramPath;
};

cFuzzFile& FuzzFile()
{
    static cFuzzFile file;
    return file;
}

}  // namespace

int FuzzSystemIni(const std::uint8_t* data, std::size_t size)
{
    static const SYSTEMINIKEYS keys = SystemIniKeys(cSystemData());
    const char* path = FuzzFile().Write(data, size);
    if (!path) return 0;
    SYSTEMINI ini;
    std::memset(&ini, 0x5A, sizeof ini);
    SetSystemIniDefaults(ini, keys);
    ReadSystemIni(path, ini, keys);
    if (strnlen(ini.FreeStage, sizeof ini.FreeStage) >= sizeof ini.FreeStage) std::abort();
    return 0;
}

int FuzzKeyConfig(const std::uint8_t* data, std::size_t size)
{
    const char* path = FuzzFile().Write(data, size);
    if (!path) return 0;
    KEYCONFIG config;
    DefaultKeyConfig(config);
    if (!ReadKeyConfig(path, config)) return 0;
    if (config.nEntries < 0 || config.nEntries > KEYCONFIG_ENTRIES) std::abort();
    if (config.nJoysticks < 0 || config.nJoysticks > KEYCONFIG_JOYSTICKS) std::abort();

    const KEYCONFIG saved = g_KeyConfig;
    g_KeyConfig = config;
    g_KeyConfig.bUse = 1;
    cInput input;
    input.ResetButtonMasks();
    input.PollKeyConfig(1, 60);
    g_KeyConfig = saved;
    if (input.m_nDirection < 1 || input.m_nDirection > 9 || input.m_wDirection > 15 || input.m_wButton > 255) std::abort();
    return 0;
}
