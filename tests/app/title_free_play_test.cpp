// Free play from the demo's title: the stage-file dialog on the window thread, answered by the
// script, starts the chosen stage; a cancelled dialog leaves the menu where it was, with the
// modes of the choice already set.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/app/game_process.h"
#include "tests/app/story_script.h"
#include "tests/app/trace_lines.h"
#include "tests/support/demo_game.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(TitleFreePlay, AChosenStageFileStartsAndACancelledDialogLeavesTheMenu)
{
    struct Case { const char* name; const char* dialog; bool plays; } cases[] = {
        {"chosen", "dialog Caves.stg4_001\n", true},
        {"cancelled", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qbtest::cTempFolder runtime, work;
        const std::filesystem::path game = work.Path() / "demo";
        ASSERT_TRUE(qbtest::WriteDemoGame(game));
        // The cursor to "フリー" (the fourth item), then decide.
        work.WriteFile("run.txt", std::string("clock virtual\ntrace trace.txt\n") + c.dialog +
                                      "keys 30 DOWN\nkeys 31\nkeys 32 DOWN\nkeys 33\nkeys 34 DOWN\nkeys 35\n"
                                      "keys 40 Z\nkeys 41\nclose 80\n");
        {
            const std::string script = (work.Path() / "run.txt").string();
            qbtest::cGameProcess process(runtime, game, {"QUILLBRAMWOOD_SCRIPT=" + script});
            ASSERT_TRUE(process.Ends(0, "free play chosen on the title"));
        }
        const std::vector<qbtest::TRACELINE> trace = qbtest::ParseTrace(work.ReadFile("demo/trace.txt"));
        ASSERT_GE(trace.size(), 80u);
        const qbtest::TRACELINE& chosen = trace[40 - 1];
        EXPECT_EQ(chosen.at("gmode"), "3");
        EXPECT_EQ(chosen.at("pmode"), "2");
        EXPECT_EQ(chosen.at("se"), "1");
        EXPECT_EQ(chosen.at("state"), c.plays ? "3" : "1");
        EXPECT_EQ(qbtest::FindLine(trace, "scene", "4") >= 0, c.plays);
        if (!c.plays) {
            EXPECT_EQ(trace.back().at("cursor"), "0:3") << "the menu as it was";
        }
    }
}

}  // namespace
