// The CI check that keeps the old "not built yet" stand-ins from coming back, run on small trees
// and on the repository itself.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include "tests/support/temp_folder.h"

namespace {

struct CHECKRUN {
    int status;
    std::string output;
};

CHECKRUN RunCheck(const std::string& tree)
{
    const std::string command = std::string("sh '") + QB_CI_DIR + "/check-stand-ins' '" + tree + "' 2>/dev/null";
    CHECKRUN run{-1, {}};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 256> buffer{};
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe)) run.output += buffer.data();
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace

TEST(StandInCheck, FailsOnAStandInOutsideTheTestsAndPassesOtherwise)
{
    struct Case {
        const char* name;
        const char* file;
        const char* text;
        int status;
    } cases[] = {
        {"a stand-in call in the runtime", "play/stage.cpp", "void F() { LogNotBuiltYet(\"x\"); }\n", 1},
        {"the command counter in a header", "flow/stubs.h", "extern int g_NotBuiltCommandActs[3];\n", 1},
        {"a mention inside the tests", "tests/play/old_test.cpp", "// LogNotBuiltYet was here\n", 0},
        {"a plain runtime file", "play/stage.cpp", "void F() {}\n", 0},
    };
    for (const Case& c : cases) {
        qbtest::cTempFolder tree;
        tree.WriteFile(c.file, c.text);
        const CHECKRUN run = RunCheck(tree.Path().string());
        EXPECT_EQ(run.status, c.status) << c.name << "\n" << run.output;
        if (c.status != 0) {
            EXPECT_NE(run.output.find(c.file), std::string::npos) << c.name << "\n" << run.output;
        }
    }
}

TEST(StandInCheck, TheRepositoryHasNoStandInLeft)
{
    const CHECKRUN run = RunCheck(std::string(QB_CI_DIR) + "/..");
    EXPECT_EQ(run.status, 0) << run.output;
}
