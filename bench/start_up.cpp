// The start-up of the game executable on the demo game, headless: from the process start to
// its first presented frame (the harness saves frame 1 as it is presented, and its file
// appearing ends the measure), and the whole run of one frame through the shutdown; beside
// the start of a process that does nothing, the floor of any start.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "app/program_hooks.h"
#include "tools/demo-game/demo_game.h"

namespace fs = std::filesystem;

namespace {

// The demo game and a runtime folder of its own, made once.
struct DEMORUN {
    fs::path root;
    fs::path game;
    fs::path runtime;
    std::string executable;
};

const DEMORUN& Demo()
{
    static const DEMORUN demo = [] {
        DEMORUN d;
        std::error_code error;
        d.root = fs::temp_directory_path() / ("qb-bench-start-up-" + std::to_string(getpid()));
        d.game = d.root / "demo";
        d.runtime = d.root / "runtime";
        fs::create_directories(d.runtime, error);
        std::string why;
        if (!BuildDemoGame(d.game.string(), why)) std::abort();
        std::ofstream(d.root / "first.txt") << "clock virtual\ndump 1 first.png\nclose 2\n";
        std::ofstream(d.root / "one.txt") << "clock virtual\nclose 1\n";
        d.executable = QB_GAME_EXECUTABLE;
        return d;
    }();
    return demo;
}

pid_t Start(const std::string& program, const fs::path& folder, const fs::path& script)
{
    const DEMORUN& demo = Demo();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0) _exit(120);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) dup2(null, 2);
        std::string runtime = "XDG_RUNTIME_DIR=" + demo.runtime.string(), scriptVar = "QUILLBRAMWOOD_SCRIPT=" + script.string();
        std::string video = "SDL_VIDEODRIVER=dummy", audio = "SDL_AUDIODRIVER=dummy";
        char* env[] = {runtime.data(), scriptVar.data(), video.data(), audio.data(), nullptr};
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        execve(program.c_str(), argv, env);
        _exit(121);
    }
    return pid;
}

bool Ended(pid_t pid)
{
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_StartUpToFirstFrame(benchmark::State& state)
{
    const DEMORUN& demo = Demo();
    const fs::path frame = demo.game / "first.png";
    for (auto _ : state) {
        std::error_code error;
        fs::remove(frame, error);
        const pid_t pid = Start(demo.executable, demo.game, demo.root / "first.txt");
        while (!fs::exists(frame, error)) std::this_thread::sleep_for(std::chrono::microseconds(100));
        state.PauseTiming();
        if (!Ended(pid)) state.SkipWithError("the game did not end cleanly");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpToFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

void BM_StartUpOneFrameAndShutdown(benchmark::State& state)
{
    const DEMORUN& demo = Demo();
    for (auto _ : state)
        if (!Ended(Start(demo.executable, demo.game, demo.root / "one.txt"))) state.SkipWithError("the game failed");
}
BENCHMARK(BM_StartUpOneFrameAndShutdown)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// The floor: starting and ending a process that does nothing.
void BM_ProcessStartFloor(benchmark::State& state)
{
    const DEMORUN& demo = Demo();
    for (auto _ : state)
        if (!Ended(Start("/bin/true", demo.game, demo.root / "one.txt"))) state.SkipWithError("/bin/true failed");
}
BENCHMARK(BM_ProcessStartFloor)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace

int main(int argc, char** argv)
{
    RegisterProgramHooks();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code error;
    fs::remove_all(Demo().root, error);
    return 0;
}
