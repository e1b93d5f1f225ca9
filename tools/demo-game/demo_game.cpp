#include "tools/demo-game/demo_game.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "data/data_paths.h"
#include "data/system_data.h"
#include "platform/os/files.h"
#include "tools/demo-game/demo_records.h"
#include "tools/demo-game/demo_sounds.h"

namespace fs = std::filesystem;

namespace {

// Every key of the System data with its default value; in a window, under Direct3D without
// the drawing-mode question, so that a whole-program test starts without a dialog.
std::string SystemIni(const cSystemData& system)
{
    std::string text;
    for (const cBootOptionData& option : system.m_BootOptions) {
        std::string value = option.m_nKind == 1 ? option.m_strValue : std::to_string(option.m_nValue);
        if (option.m_strKey == "WindowMode" || option.m_strKey == "Direct3D") value = "1";
        text += option.m_strKey + "=" + value + "\n";
    }
    return text + "Exit\n";
}

bool WriteFile(const std::string& path, const std::string& bytes, std::string& error)
{
    FILE* file = plat::OpenFile(path.c_str(), "wb");
    bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file && std::fclose(file) != 0) written = false;
    if (!written) error = "cannot write " + plat::NativePath(path.c_str());
    return written;
}

}  // namespace

bool BuildDemoGame(const std::string& folder, std::string& error)
{
    std::error_code failure;
    fs::create_directories(folder, failure);
    const fs::path absolute = fs::absolute(folder, failure);
    std::string root;
    if (failure || !plat::ToProgramPath(absolute.lexically_normal().string(), root)) {
        error = "the folder " + folder + " cannot be made or has no CP932 name";
        return false;
    }
    if (!root.empty() && root.back() == '\\') root.pop_back();
    for (const char* sub : {"\\data", "\\data\\database", "\\data\\stg4", "\\bmp", "\\bmp\\plt", "\\bmp\\hbt", "\\wave", "\\bgm"})
        CreateDirectoryA((root + sub).c_str(), nullptr);

    if (!WriteDemoRecords(root, error)) return false;
    if (!WriteFile(root + "\\System.ini", SystemIni(cSystemData()), error)) return false;
    // One blend table per window colour of the options (8-bit displays read them).
    const std::string blendTable = DemoBlendTable();
    for (int n = 0; n < 24; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "\\bmp\\hbt\\hbt%02d.dat", n);
        if (!WriteFile(root + name, blendTable, error)) return false;
    }
    std::vector<DEMOFILE> files = DemoPictures();
    for (DEMOFILE& sound : DemoSoundEffects()) files.push_back(std::move(sound));
    files.push_back({"bgm\\Title.mid", DemoMidiTune()});
    const std::string ogg = DemoOggTune(error);
    if (ogg.empty()) return false;
    files.push_back({"bgm\\Title.ogg", ogg});
    for (const DEMOFILE& file : files)
        if (!WriteFile(root + "\\" + file.path, file.bytes, error)) return false;
    return true;
}
