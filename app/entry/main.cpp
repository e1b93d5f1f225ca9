// The process entry: the command line and the show command in the form WinMain takes them.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/harness.h"
#include "app/win_main.h"
#include "platform/os/text.h"

int main(int argc, char** argv)
{
    std::string error;
    if (!StartHarness(error)) {
        std::fprintf(stderr, "QUILLBRAMWOOD_SCRIPT: %s\n", error.c_str());
        return 2;
    }

    // The arguments joined by blanks, as one command line, in the program's CP932.
    std::string commandLineUtf8;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLineUtf8 += ' ';
        commandLineUtf8 += argv[i];
    }
    std::string commandLine;
    if (!plat::Utf8ToCp932(commandLineUtf8, commandLine)) {
        std::fprintf(stderr, "The command line has characters without a CP932 form.\n");
        return 2;
    }

    // The editor starts the game with show command 5.
    int showCommand = 1;
    if (const char* value = std::getenv("QUILLBRAMWOOD_SHOWCMD")) showCommand = std::atoi(value);
    const int code = WinMain(nullptr, nullptr, commandLine.c_str(), showCommand);
    StopHarness();
    return code;
}
