// quillbramwood-stage-generator FOLDER: writes the demo game into FOLDER (a Linux path, made
// when missing) with the stress stage added (data\stg4\Stress.stg4_001), the same bytes on
// every run. Play it with: quillbramwood data\stg4\Stress.stg4_001, started in FOLDER.
// Exit status: 0 written, 1 a file could not be written, 2 usage.
#include <cstdio>
#include <string>

#include "app/program_hooks.h"
#include "tools/stage-generator/stress_stage.h"

int main(int argc, char** argv)
{
    RegisterProgramHooks();
    if (argc != 2 || !*argv[1]) {
        std::fprintf(stderr, "usage: quillbramwood-stage-generator FOLDER\n");
        return 2;
    }
    std::string error;
    if (!BuildStressGame(argv[1], error)) {
        std::fprintf(stderr, "quillbramwood-stage-generator: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
