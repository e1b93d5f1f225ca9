// quillbramwood-expr: runs a file of cases through the expression evaluator and the status
// rules, each case on a fresh stage state (kUsage below says how it is called).
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/program_hooks.h"
#include "tools/quillbramwood-expr/expr_actions.h"
#include "tools/quillbramwood-expr/expr_stage.h"

namespace {

constexpr int kExitMismatch = 1;
constexpr int kExitBadFile = 2;

constexpr const char* kUsage =
    "usage: quillbramwood-expr FILE\n"
    "Runs the cases of FILE through the expression evaluator and the status rules, each case on\n"
    "a fresh stage state, and prints FILE again with a line \"=> RESULT\" after each action.\n"
    "A line \"=> ...\" in FILE is the expected result of the action before it: a result that\n"
    "differs is shown with \"!! expected\" and makes the exit status 1. Exit status 2: FILE\n"
    "cannot be read or has a bad line. The project's README.md lists the lines of a case file.\n";

std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

std::string RestAfterFirstWord(const std::string& line)
{
    std::size_t p = line.find_first_not_of(' ');
    p = line.find(' ', p);
    if (p == std::string::npos) return "";
    return line.substr(p + 1);
}

// A "set" line: set WHO NAME=VALUE ..., WHO one of my, tg, pl, stage.
bool ApplySet(cExprStage& stage, const std::vector<std::string>& words, std::string& error)
{
    if (words.size() < 3) return error = "set WHO NAME=VALUE ...", false;
    for (std::size_t i = 2; i < words.size(); ++i) {
        const std::size_t eq = words[i].find('=');
        if (eq == std::string::npos) return error = "set: NAME=VALUE expected: " + words[i], false;
        const std::string name = words[i].substr(0, eq);
        char* end = nullptr;
        const long long value = std::strtoll(words[i].c_str() + eq + 1, &end, 0);
        if (*end != '\0' || eq + 1 == words[i].size()) return error = "set: bad value: " + words[i], false;
        const int v = static_cast<int>(static_cast<unsigned int>(value));
        const bool known = (words[1] == "stage") ? stage.SetStageValue(name, v) : stage.SetCharaValue(words[1], name, v);
        if (!known) return error = "set: unknown value " + words[1] + " " + name, false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    RegisterProgramHooks();
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc != 2) {
        std::fputs(kUsage, stderr);
        return kExitBadFile;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "quillbramwood-expr: %s: cannot be read\n", argv[1]);
        return kExitBadFile;
    }
    StartCapture();
    std::unique_ptr<cExprStage> stage;
    std::string lastResult;
    bool haveResult = false;
    int mismatches = 0;
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::vector<std::string> words = Words(line);
        std::string error;
        if (words.empty() || words[0][0] == '#') {
            std::printf("%s\n", line.c_str());
            continue;
        }
        if (words[0] == "=>") {
            // Expectations are replaced by what this run gives.
            const std::string expected = RestAfterFirstWord(line);
            if (!haveResult) {
                error = "a result line without an action before it";
            } else if (expected != lastResult) {
                std::printf("!! expected %s\n", expected.c_str());
                std::fprintf(stderr, "%s:%d: expected %s\n%s:%d: got      %s\n", argv[1], lineNumber, expected.c_str(),
                             argv[1], lineNumber, lastResult.c_str());
                ++mismatches;
            }
            haveResult = false;
            if (error.empty()) continue;
        } else if (words[0] == "case") {
            stage.reset();
            stage = std::make_unique<cExprStage>();
            std::printf("%s\n", line.c_str());
            continue;
        } else if (!stage) {
            error = "a line before the first case";
        } else if (words[0] == "set") {
            if (ApplySet(*stage, words, error)) {
                std::printf("%s\n", line.c_str());
                continue;
            }
        } else if (words[0] == "notarget" && words.size() == 1) {
            stage->RemoveTarget();
            std::printf("%s\n", line.c_str());
            continue;
        } else if (words[0] == "player" && words.size() == 2 && stage->SetPlayer(words[1])) {
            std::printf("%s\n", line.c_str());
            continue;
        } else if (RunAction(*stage, words, RestAfterFirstWord(line), lastResult, error)) {
            std::printf("%s\n=> %s\n", line.c_str(), lastResult.c_str());
            haveResult = true;
            continue;
        }
        std::fprintf(stderr, "quillbramwood-expr: %s:%d: %s\n", argv[1], lineNumber, error.c_str());
        return kExitBadFile;
    }
    stage.reset();
    if (mismatches != 0) {
        std::fprintf(stderr, "quillbramwood-expr: %d result(s) differ\n", mismatches);
        return kExitMismatch;
    }
    return 0;
}
