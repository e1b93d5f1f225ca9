// The tools library (dumps, file kinds, fuzzer entries) stays out of the game executable.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#ifdef QB_GAME_EXECUTABLE

TEST(ToolCode, TheGameExecutableHoldsNoFuzzOrDumpSymbol)
{
    const std::string command = std::string("nm -C '") + QB_GAME_EXECUTABLE + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
    ASSERT_TRUE(pipe);
    std::string symbols;
    char chunk[65536];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe.get())) > 0;) symbols.append(chunk, n);
    if (symbols.empty()) GTEST_SKIP() << "nm gave no symbols";
    EXPECT_NE(symbols.find("WinMain"), std::string::npos);
    for (const char* name : {"Fuzz", "DumpRecord", "cRecordDump", "DataFileKind", "cDataFile", "LoadDataChecks", "mkdtemp"}) {
        EXPECT_EQ(symbols.find(name), std::string::npos) << name;
    }
}

#endif
