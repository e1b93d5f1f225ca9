// The demo's platform stage at one and at four sub-steps a frame, played by the executable under
// one script: its trace must be the committed one, byte for byte. The release build and the
// sanitizer build both run this test, so the two builds trace the ride alike. A change meant to
// alter the ride rewrites the files with QB_UPDATE_GOLDEN=1 and says why in its commit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "data/stage_data.h"
#include "tests/app/game_process.h"
#include "tests/support/demo_game.h"
#include "tests/support/temp_folder.h"
#include "tools/demo-game/demo_game.h"

namespace {

using qbtest::cGameProcess;
using qbtest::ExitedWith;

// Play starts at frame 169: the hero walks right from 100 frames later onto the platform and
// rides it with no key held, walks off and stops, as the platform stage's own test does, at
// whatever speed the platform then moves.
constexpr const char* kRideScript =
    "clock virtual\ntrace trace.txt\nkeys 269 RIGHT\nkeys 290\nkeys 342 RIGHT\nkeys 397\nclose 440\n";

std::string WholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(PlatformSpeedTrace, TheRideAtOneAndFourSubStepsTracesAsCommitted)
{
    // Speed levels 11 and 14 derive one and four sub-steps a frame.
    struct Case { int level; int subSteps; const char* stage; const char* golden; } cases[] = {
        {11, 1, "data\\stg4\\Ride1.stg4_001", "platforms-b1-trace.txt"},
        {14, 4, "data\\stg4\\Ride4.stg4_001", "platforms-b4-trace.txt"},
    };
    qbtest::cDemoStages demo;
    ASSERT_TRUE(demo.Load());
    const cStageData* platforms = nullptr;
    const std::vector<std::string> files = DemoStageFiles();
    for (std::size_t i = 0; i < files.size() && i < demo.Stages().size(); ++i)
        if (files[i].find("Platforms") != std::string::npos) platforms = &demo.Stages()[i];
    ASSERT_NE(platforms, nullptr) << "the demo has a platform stage";
    for (const Case& c : cases) {
        cStageData stage = *platforms;
        stage.SetSpeedLevel(c.level);
        ASSERT_EQ(stage.m_nSubSteps, c.subSteps);
        ASSERT_EQ(stage.Save(c.stage), 1) << c.stage;
    }
    const std::filesystem::path game = std::filesystem::current_path();
    const std::filesystem::path golden = QB_GOLDEN_DIR;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.golden);
        qbtest::cTempFolder runtime, work;
        work.WriteFile("ride.txt", kRideScript);
        std::filesystem::remove(game / "trace.txt");
        {
            std::string name = c.stage;
            name.resize(name.size() - 4);  // named without its number, as a player names it
            cGameProcess process(runtime, game, {"QUILLBRAMWOOD_SCRIPT=" + (work.Path() / "ride.txt").string()}, {name});
            ASSERT_TRUE(ExitedWith(process.Wait(), 0));
        }
        const std::string trace = WholeFile(game / "trace.txt");
        ASSERT_FALSE(trace.empty());
        if (std::getenv("QB_UPDATE_GOLDEN")) {
            std::ofstream(golden / c.golden, std::ios::binary) << trace;
            continue;
        }
        EXPECT_TRUE(trace == WholeFile(golden / c.golden)) << "the trace differs from " << c.golden;
    }
}
