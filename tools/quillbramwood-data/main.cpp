// quillbramwood-data: reads a data file of a kind as the runtime does, and writes it back or
// lists its fields; or writes what the runtime makes when the file is missing.
//   quillbramwood-data roundtrip KIND IN OUT [--game DIR] [--editor]
//   quillbramwood-data dump KIND IN [--game DIR] [--editor]
//   quillbramwood-data new KIND OUT
// IN and OUT are Linux paths. With --game, what the read checks against (the System data, the
// databases, the common palette) comes from that game folder; without it the built-in defaults
// are used. --editor reads as a run started by the editor does: flows marked for test play
// are kept.
// Bytes after the last value are named on standard error and left out of OUT.
// Exit status: 0 done, 1 a file could not be read or written (OUT is then untouched), 2 usage.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/program_hooks.h"
#include "tools/lib/data_file_kinds.h"
#include "data/data_version.h"
#include "platform/os/files.h"
#include "shell/shared_flags.h"

namespace fs = std::filesystem;

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int Fail(const std::string& what, const std::string& why)
{
    std::fprintf(stderr, "quillbramwood-data: %s: %s\n", what.c_str(), why.c_str());
    return kExitFailed;
}

int Usage(const std::string& why)
{
    std::string kinds;
    for (const DATAFILEKIND& kind : DataFileKinds()) kinds += std::string(kinds.empty() ? "" : ", ") + kind.name;
    std::fprintf(stderr,
                 "quillbramwood-data: %s\n"
                 "usage: quillbramwood-data roundtrip KIND IN OUT [--game DIR] [--editor]\n"
                 "       quillbramwood-data dump KIND IN [--game DIR] [--editor]\n"
                 "       quillbramwood-data new KIND OUT\n"
                 "KIND: %s\n",
                 why.c_str(), kinds.c_str());
    return kExitUsage;
}

// The program's form of a Linux path, made absolute against the working folder of the call.
bool ProgramPathOf(const std::string& nativePath, std::string& programPath)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(nativePath, error);
    return !error && plat::ToProgramPath(absolute.lexically_normal().string(), programPath);
}

}  // namespace

int main(int argc, char** argv)
{
    RegisterProgramHooks();
    std::vector<std::string> args;
    std::string gameFolder;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--game") == 0) {
            if (++i >= argc) return Usage("--game needs a folder");
            gameFolder = argv[i];
        } else if (std::strcmp(argv[i], "--editor") == 0) {
            g_bEditorLaunch.store(1);
        } else {
            args.emplace_back(argv[i]);
        }
    }
    if (args.empty()) return Usage("no command");
    const std::string& command = args[0];
    const bool bNew = command == "new";
    const std::size_t expected = command == "roundtrip" ? 4 : command == "dump" ? 3 : bNew ? 3 : 0;
    if (expected == 0) return Usage("unknown command " + command);
    if (args.size() != expected) return Usage("wrong number of arguments for " + command);
    const DATAFILEKIND* kind = FindDataFileKind(args[1]);
    if (!kind) return Usage("unknown kind " + args[1]);
    if (bNew && !kind->bMadeWhenMissing) return Usage("the runtime makes no " + args[1] + " file when it is missing");

    // new KIND OUT has no input: its last argument is the output.
    const std::string& in = args[2];
    const std::string& out = args.back();
    std::string inPath, outPath;
    if (!bNew && !ProgramPathOf(in, inPath)) return Fail(in, "the path has no CP932 form");
    if (expected == 4 || bNew) {
        if (!ProgramPathOf(out, outPath)) return Fail(out, "the path has no CP932 form");
    }

    g_nDataVersion = kDataVersion;
    g_bStripCR = 1;
    if (!gameFolder.empty()) {
        std::error_code error;
        fs::current_path(gameFolder, error);
        if (error) return Fail(gameFolder, "cannot enter the game folder: " + error.message());
        plat::FlushPathCache();
        std::string why;
        if (!LoadDataChecks(kind->checks, why)) return Fail(gameFolder, why);
    }

    std::unique_ptr<cDataFile> file = kind->create();
    if (!bNew) {
        cDataReader reader;
        if (!OpenDataFileRead(inPath.c_str(), reader)) return Fail(in, std::string("cannot open: ") + std::strerror(errno));
        if (!file->ReadFrom(reader)) return Fail(in, reader.Error());
        // Bytes after the last value are not read, as the runtime passes them over: said, not fatal.
        if (reader.Remaining() > 0)
            std::fprintf(stderr, "quillbramwood-data: %s: %zu bytes after the last value were not read\n", in.c_str(),
                         reader.Remaining());
    }

    if (command == "dump") {
        std::string listing;
        file->Dump(listing);
        std::fwrite(listing.data(), 1, listing.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : kExitFailed;
    }
    cDataWriter writer;
    if (!OpenDataFileWrite(outPath.c_str(), writer)) return Fail(out, "cannot create the file");
    file->WriteTo(writer);
    if (!CloseDataFile(writer)) return Fail(out, "cannot write the file");
    return 0;
}
