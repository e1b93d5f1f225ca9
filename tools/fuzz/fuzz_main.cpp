// quillbramwood-fuzz READER [FILE | FOLDER]: feeds one input (FILE, or standard input) to the
// fuzz entry point of a file reader, or every file of FOLDER in turn, in one process (a corpus or
// a fuzzer's findings replayed without starting the program once per input). READER is data
// (record files, first byte picks the kind), ini (System.ini), keyconfig
// (user_data\KeyConfig.dat), bmp (bitmaps), wave (sound effects), ogg and midi (BGM) or stage
// (stage files). A reader that breaks one of its own rules aborts, which is what a fuzzer looks
// for.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/program_hooks.h"
#include "tools/lib/data_fuzz.h"
#include "tools/lib/settings_fuzz.h"
#include "tools/lib/bmp_fuzz.h"
#include "tools/lib/midi_fuzz.h"
#include "tools/lib/stage_fuzz.h"
#include "tools/lib/wave_fuzz.h"

namespace {

using FuzzEntry = int (*)(const std::uint8_t*, std::size_t);

struct READER { const char* name; FuzzEntry entry; };

const READER kReaders[] = {
    {"data", FuzzDataFile},
    {"ini", FuzzSystemIni},
    {"keyconfig", FuzzKeyConfig},
    {"bmp", FuzzBmp},
    {"wave", FuzzWave},
    {"ogg", FuzzOgg},
    {"midi", FuzzMidi},
    {"stage", FuzzStage},
};

// Inputs beyond this are cut: the readers' own limits lie far below it.
constexpr std::size_t kMaxInput = 16 * 1024 * 1024;

bool ReadAll(std::FILE* file, std::vector<std::uint8_t>& bytes)
{
    std::uint8_t chunk[65536];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        if (bytes.size() + got > kMaxInput) got = kMaxInput - bytes.size();
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (bytes.size() >= kMaxInput) break;
    }
    return !std::ferror(file);
}

// Feeds one file, or standard input when path is null; 2 when it cannot be read.
int FeedFile(const READER& reader, const char* path)
{
    std::FILE* file = path ? std::fopen(path, "rb") : stdin;
    if (!file) {
        std::fprintf(stderr, "quillbramwood-fuzz: cannot open %s\n", path);
        return 2;
    }
    std::vector<std::uint8_t> bytes;
    const bool read = ReadAll(file, bytes);
    if (file != stdin) std::fclose(file);
    if (!read) {
        std::fprintf(stderr, "quillbramwood-fuzz: cannot read %s\n", path ? path : "the input");
        return 2;
    }
    return reader.entry(bytes.data(), bytes.size());
}

// Every regular file of the folder, in name order so that runs repeat.
int FeedFolder(const READER& reader, const std::filesystem::path& folder)
{
    std::error_code error;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.is_regular_file()) files.push_back(entry.path());
    if (error) {
        std::fprintf(stderr, "quillbramwood-fuzz: cannot list %s\n", folder.c_str());
        return 2;
    }
    std::sort(files.begin(), files.end());
    int result = 0;
    for (const auto& file : files) result = std::max(result, FeedFile(reader, file.c_str()));
    std::fprintf(stderr, "quillbramwood-fuzz: %zu inputs\n", files.size());
    return result;
}

}  // namespace

int main(int argc, char** argv)
{
    RegisterProgramHooks();
    const READER* reader = nullptr;
    if (argc >= 2) {
        for (const READER& r : kReaders) {
            if (std::strcmp(argv[1], r.name) == 0) reader = &r;
        }
    }
    if (!reader || argc > 3) {
        std::fprintf(stderr, "usage: quillbramwood-fuzz data|ini|keyconfig|bmp|wave|ogg|midi|stage [FILE | FOLDER]\n");
        return 2;
    }
    if (argc == 3 && std::filesystem::is_directory(argv[2])) return FeedFolder(*reader, argv[2]);
    return FeedFile(*reader, argc == 3 ? argv[2] : nullptr);
}
