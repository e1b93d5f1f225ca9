// The main of the benchmarks that have none of their own: the program's hooks are registered
// as the game's start-up registers them, then the benchmarks run.
#include <benchmark/benchmark.h>

#include "app/program_hooks.h"

int main(int argc, char** argv)
{
    RegisterProgramHooks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
