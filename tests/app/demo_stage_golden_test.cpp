// The demo's first stage played under a fixed script: its trace and a few frame dumps must stay
// byte for byte what the files in tests/app/golden hold. A change that reorganises the code
// leaves them alone; a change that means to alter what the stage does rewrites them on purpose
// with QB_UPDATE_GOLDEN=1 and says why in its commit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/app/game_process.h"
#include "tests/support/demo_game.h"
#include "tests/support/temp_folder.h"

namespace {

using qbtest::cGameProcess;
using qbtest::ExitedWith;

// Frames of the script: READY, walking, jumping, the pause menu, back in play.
constexpr int kCloseFrame = 200;
const int kDumpFrames[] = {60, 110, 124, 150, 180};

std::string Script()
{
    std::ostringstream script;
    script << "clock virtual\ntrace trace.txt\n"
           << "keys 100 RIGHT\n"
           << "keys 120 RIGHT Z\n"
           << "keys 126\n"
           << "keys 140 SPACE\n"
           << "keys 142\n"
           << "keys 160 X\n"
           << "keys 162 LEFT\n"
           << "keys 175\n";
    for (int frame : kDumpFrames) script << "dump " << frame << " frame" << frame << ".png\n";
    script << "close " << kCloseFrame << "\n";
    return script.str();
}

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// The first `frames` lines, without the last line break.
std::string FirstLines(const std::string& text, int frames)
{
    std::size_t at = 0;
    for (int i = 0; i < frames && at != std::string::npos; ++i) at = text.find('\n', at + 1);
    return text.substr(0, at);
}

}  // namespace

TEST(DemoStageGolden, TraceAndFrameDumpsStayAsCommitted)
{
    qbtest::cTempFolder runtime, work;
    const std::filesystem::path game = work.Path() / "demo";
    ASSERT_TRUE(qbtest::WriteDemoGame(game));
    work.WriteFile("run.txt", Script());
    {
        cGameProcess process(runtime, game, {"QUILLBRAMWOOD_SCRIPT=" + (work.Path() / "run.txt").string()},
                             {"data\\stg4\\Meadow.stg4"});
        ASSERT_TRUE(ExitedWith(process.Wait(), 0));
    }
    const std::filesystem::path golden = QB_GOLDEN_DIR;
    const std::string whole = ReadBytes(game / "trace.txt");
    const std::string trace = FirstLines(whole, kCloseFrame);
    EXPECT_TRUE(whole == trace + "\n") << "frames traced after the close request";
    if (std::getenv("QB_UPDATE_GOLDEN")) {
        std::filesystem::create_directories(golden);
        WriteBytes(golden / "demo-stage-trace.txt", trace);
        for (int frame : kDumpFrames) {
            const std::string name = "frame" + std::to_string(frame) + ".png";
            WriteBytes(golden / ("demo-stage-" + name), ReadBytes(game / name));
        }
        GTEST_SKIP() << "golden files written to " << golden;
    }
    EXPECT_TRUE(trace == ReadBytes(golden / "demo-stage-trace.txt")) << "the trace differs from demo-stage-trace.txt";
    for (int frame : kDumpFrames) {
        const std::string name = "frame" + std::to_string(frame) + ".png";
        EXPECT_TRUE(ReadBytes(game / name) == ReadBytes(golden / ("demo-stage-" + name))) << name << " differs";
    }
}
