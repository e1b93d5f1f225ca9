// quillbramwood-demo FOLDER: writes the demo game into FOLDER (a Linux path, made when
// missing), so that the runtime started there has a game to run.
// Exit status: 0 written, 1 a file could not be written, 2 usage.
#include <cstdio>
#include <string>

#include "app/program_hooks.h"
#include "tools/demo-game/demo_game.h"

int main(int argc, char** argv)
{
    RegisterProgramHooks();
    if (argc != 2 || !*argv[1]) {
        std::fprintf(stderr, "usage: quillbramwood-demo FOLDER\n");
        return 2;
    }
    std::string error;
    if (!BuildDemoGame(argv[1], error)) {
        std::fprintf(stderr, "quillbramwood-demo: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
