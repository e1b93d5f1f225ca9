// quillbramwood-expr: runs a file of cases through the expression evaluator and the status
// rules, each case on a fresh stage state.
//   quillbramwood-expr FILE
// The output is the case file again with a result line "=> ..." after each action. A line
// "=> ..." in the file is the expected result of the action before it: any difference is shown
// with "!! expected" and makes the exit status 1. Exit status 2: the file cannot be read or has
// a bad line. See README.md for the lines of a case file.
#include <cstdio>
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
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillbramwood-expr FILE\n");
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
