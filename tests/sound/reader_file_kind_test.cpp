// The readers of the game's own files open regular files only: a named pipe where a file
// belongs would otherwise hold the start for ever, waiting for a writer.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "graphics/palette.h"
#include "platform/audio/ogg_decoder.h"
#include "platform/audio/wave_reader.h"
#include "platform/os/files.h"
#include "platform/video/bmp_reader.h"
#include "shell/key_config.h"
#include "shell/system_ini.h"
#include "sound/midi_file.h"
#include "tests/support/pipe_load.h"
#include "tests/support/temp_folder.h"

namespace {

// One reader: the name of the file it reads, and a call that reads it from a path (true: read).
struct cFileKindReader {
    const char* name;
    const char* file;
    bool (*load)(const char* path);
};

const cFileKindReader kFileKindReaders[] = {
    {"sound effect", "se.wav", [](const char* path) {
         plat::cWaveData wave;
         return plat::ReadWaveFile(path, wave);
     }},
    {"Ogg music", "bgm.ogg", [](const char* path) {
         plat::cOggDecoder decoder;
         return decoder.OpenFile(path);
     }},
    {"bitmap", "Title.bmp", [](const char* path) {
         plat::cBmpImage image;
         return plat::ReadBmpFile(path, image);
     }},
    {"System.ini", "System.ini", [](const char* path) {
         SYSTEMINI ini{};
         return ReadSystemIni(path, ini, SYSTEMINIKEYS{{"Direct3D", 2, ""}});
     }},
    {"key configuration", "KeyConfig.dat", [](const char* path) {
         KEYCONFIG config{};
         return ReadKeyConfig(path, config);
     }},
    {"blend table", "Blend.dat", [](const char* path) {
         std::vector<BYTE> table(65536);
         return DDLoadBlendTable(table.data(), path) != FALSE;
     }},
    {"MIDI music", "bgm.mid", [](const char* path) { return cMidiFile(path).HasImage(); }},
};

}  // namespace

TEST(GameFileReaders, ANamedPipeOrAFolderInPlaceOfTheFileFailsAtOnce)
{
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    for (const cFileKindReader& reader : kFileKindReaders) {
        const std::filesystem::path pipe = folder.Path() / "pipe" / reader.file;
        const std::filesystem::path inner = folder.Path() / "folder" / reader.file;
        std::filesystem::create_directories(pipe.parent_path());
        ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0) << pipe;
        std::filesystem::create_directories(inner);
        plat::FlushPathCache();
        struct Case { std::string path; std::filesystem::path native; } cases[] = {
            {std::string("pipe\\") + reader.file, pipe},
            {std::string("folder\\") + reader.file, inner},
        };
        for (const Case& c : cases) {
            const std::optional<bool> loaded = qbtest::LoadWithin(c.native, [&] { return reader.load(c.path.c_str()); });
            if (!loaded) ADD_FAILURE() << reader.name << ": " << c.path << " held the read";
            else EXPECT_FALSE(*loaded) << reader.name << ": " << c.path;
        }
    }
}
