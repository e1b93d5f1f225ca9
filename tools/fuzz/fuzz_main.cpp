// quillbramwood-fuzz READER [FILE]: feeds one input (FILE, or standard input) to the fuzz entry
// point of a file reader. READER is data (record files, first byte picks the kind), ini
// (System.ini), keyconfig (user_data\KeyConfig.dat) or bmp (bitmaps). A reader that breaks one
// of its own rules aborts, which is what a fuzzer looks for.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "tools/lib/data_fuzz.h"
#include "tools/lib/settings_fuzz.h"
#include "tools/lib/bmp_fuzz.h"

namespace {

using FuzzEntry = int (*)(const std::uint8_t*, std::size_t);

struct READER { const char* name; FuzzEntry entry; };

const READER kReaders[] = {
    {"data", FuzzDataFile},
    {"ini", FuzzSystemIni},
    {"keyconfig", FuzzKeyConfig},
    {"bmp", FuzzBmp},
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

}  // namespace

int main(int argc, char** argv)
{
    const READER* reader = nullptr;
    if (argc >= 2) {
        for (const READER& r : kReaders) {
            if (std::strcmp(argv[1], r.name) == 0) reader = &r;
        }
    }
    if (!reader || argc > 3) {
        std::fprintf(stderr, "usage: quillbramwood-fuzz data|ini|keyconfig|bmp [FILE]\n");
        return 2;
    }
    std::FILE* file = argc == 3 ? std::fopen(argv[2], "rb") : stdin;
    if (!file) {
        std::fprintf(stderr, "quillbramwood-fuzz: cannot open %s\n", argv[2]);
        return 2;
    }
    std::vector<std::uint8_t> bytes;
    const bool read = ReadAll(file, bytes);
    if (file != stdin) std::fclose(file);
    if (!read) {
        std::fprintf(stderr, "quillbramwood-fuzz: cannot read the input\n");
        return 2;
    }
    return reader->entry(bytes.data(), bytes.size());
}
