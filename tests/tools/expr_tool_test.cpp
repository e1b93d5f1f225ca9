// quillbramwood-expr run as a program: how it tells its usage.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

#ifdef QB_EXPR_TOOL

namespace {

struct cExprToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

cExprToolRun RunExprTool(const qbtest::cTempFolder& folder, const std::vector<std::string>& args)
{
    std::string command = std::string("'") + QB_EXPR_TOOL + "'";
    for (const std::string& arg : args) command += " '" + arg + "'";  // the arguments below hold no quote
    command += " >'" + (folder.Path() / "out").string() + "' 2>'" + (folder.Path() / "err").string() + "' </dev/null";
    const int raw = std::system(command.c_str());
    cExprToolRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = folder.ReadFile("out");
    run.err = folder.ReadFile("err");
    return run;
}

TEST(ExprTool, HelpPrintsTheUsageAndAWrongCallGetsItOnStandardError)
{
    const qbtest::cTempFolder folder;
    struct Case {
        std::vector<std::string> args;
        int status;
        bool usageOnOut;  // else on standard error, and nothing on standard output
    } cases[] = {
        {{"--help"}, 0, true},
        {{"-h"}, 0, true},
        {{}, 2, false},
        {{"a.txt", "b.txt"}, 2, false},
    };
    for (const Case& c : cases) {
        const cExprToolRun run = RunExprTool(folder, c.args);
        const std::string what = c.args.empty() ? "no arguments" : c.args[0];
        EXPECT_EQ(run.status, c.status) << what;
        const std::string& usage = c.usageOnOut ? run.out : run.err;
        EXPECT_EQ(usage.rfind("usage: quillbramwood-expr FILE\n", 0), 0u) << what << ": " << usage;
        EXPECT_NE(usage.find("exit status"), std::string::npos) << what << ": " << usage;
        EXPECT_EQ(c.usageOnOut ? run.err : run.out, "") << what;
    }
}

}  // namespace

#endif
