#include "tools/demo-game/demo_game.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/os/files.h"
#include "tools/demo-game/demo_content.h"
#include "tools/demo-game/demo_records.h"

namespace fs = std::filesystem;

namespace {

bool WriteFile(const std::string& path, const std::string& bytes, std::string& error)
{
    FILE* file = plat::OpenFile(path.c_str(), "wb");
    bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file && std::fclose(file) != 0) written = false;
    if (!written) error = "cannot write " + plat::NativePath(path.c_str());
    return written;
}

}  // namespace

std::vector<std::string> DemoStageFiles()
{
    std::vector<std::string> files;
    for (const DEMOSTAGE& stage : DemoGameContent().stages) files.push_back(stage.file);
    return files;
}

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

    DEMOGAME game = DemoGameContent();
    if (!game.error.empty()) {
        error = game.error;
        return false;
    }
    if (!WriteDemoRecords(game, root, error)) return false;
    for (const DEMOFILE& file : game.files)
        if (!WriteFile(root + "\\" + file.path, file.bytes, error)) return false;
    return true;
}
