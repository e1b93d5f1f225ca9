// The demo's story played by the executable under the harness: title, new story, the world map
// (a blocked chip, a barrier, the automatic question declined), the story menu's saves, the
// first stage left through the continue screen, the automatic save on the way back, the title
// again and the saved slot continued. The front-end trace, the slot file and the frame dumps
// say what happened.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "data/save_data.h"
#include "tests/app/game_process.h"
#include "tests/app/story_script.h"
#include "tests/app/trace_lines.h"
#include "tests/support/demo_game.h"
#include "tests/support/restore.h"
#include "tests/support/stored_png.h"
#include "tests/support/temp_folder.h"

namespace {

using qbtest::FindLine;
using qbtest::ParseTrace;
using qbtest::ShownColour;
using qbtest::TRACELINE;
using STORYFRAME = std::vector<std::uint32_t>;

constexpr const char* kSlotFile = "user_data\\story\\Story04.dat";

std::uint32_t PixelOf(const STORYFRAME& frame, int x, int y)
{
    return frame[static_cast<std::size_t>(y) * 640 + x] & 0xFFFFFFu;
}

class StoryRun : public ::testing::Test {
protected:
    // Runs the story in a fresh copy of the demo and returns its trace.
    std::string Run(const std::string& name)
    {
        const std::filesystem::path game = m_Work.Path() / name;
        if (!qbtest::WriteDemoGame(game)) return {};
        m_Work.WriteFile(name + ".txt", qbtest::StoryScript({{120, "map.png"}, {230, "menu.png"}, {903, "title.png"}}));
        const std::string script = (m_Work.Path() / (name + ".txt")).string();
        qbtest::cGameProcess process(m_Runtime, game, {"QUILLBRAMWOOD_SCRIPT=" + script});
        EXPECT_TRUE(process.Ends(0, "the story run to its close at frame " + std::to_string(qbtest::kStoryClose)));
        return m_Work.ReadFile(name + "/trace.txt");
    }
    STORYFRAME Dump(const std::string& name, const std::string& file)
    {
        return qbtest::ReadStoredPng((m_Work.Path() / name / file).string(), 640, 480);
    }

    qbtest::cTempFolder m_Runtime;
    qbtest::cTempFolder m_Work;
};

TEST_F(StoryRun, FromTheTitleThroughTheMapMenuAndStageBackToAContinuedSlot)
{
    const std::string text = Run("story");
    const std::vector<TRACELINE> trace = ParseTrace(text);
    ASSERT_GE(trace.size(), static_cast<std::size_t>(qbtest::kStoryClose));
    auto at = [&](int frame) -> const TRACELINE& { return trace[static_cast<std::size_t>(frame - 1)]; };
    auto field = [&](int frame, const char* name) {
        return at(frame).count(name) ? at(frame).at(name) : std::string("(none)");
    };

    // What the trace says at the frames of the script's steps.
    struct Step { int frame; const char* field; std::string value; const char* what; } steps[] = {
        {1, "scene", "0", "the title"},
        {1, "state", "0", "its fade-in"},
        {1, "bgm", "0:0", "its music asked for on its first frame"},
        {60, "se", "1", "new story"},
        {130, "scene", "1", "the map"},
        {130, "cursor", "3:7", "grass above turns the walker without moving it"},
        {140, "cursor", "3:7", "so does the second stage's barrier below"},
        {150, "cursor", "4:7", "a step right"},
        {160, "state", "2", "the first stage's entry asks at once"},
        {160, "cursor", "5:7,0:0", "the walker on the entry, the question's cursor on it"},
        {161, "cursor", "5:7,0:1", "the question starts on its second answer"},
        {170, "se", "2", "no"},
        {170, "state", "1", "back to walking"},
        {170, "cursor", "4:7", "on the cell the walker came from"},
        {200, "scene", "2", "the story menu"},
        {264, "cursor", "0:0,0:3", "slot 3 chosen in the list"},
        {280, "se", "5", "saved"},
        {280, "files", kSlotFile, "slot 3's file"},
        {315, "files", kSlotFile, "automatic saving on saves it again"},
        {700, "cursor", "4:7", "back from the stage, on the cell the walker entered from"},
        {700, "state", "1", "the entry does not open again"},
        {791, "cursor", "0:0,0:3", "the list opens on the story's slot"},
        {810, "files", kSlotFile, "saved into slot 3 again"},
        {851, "scene", "0", "the title"},
        {851, "bgm", "0:0", "its music asked for again"},
        {860, "cursor", "0:0", "the cursor on the new story chosen last"},
        {905, "gmode", "1", "continue"},
        {914, "cursor", "0:1,0:3", "slot 3 in the continue list"},
        {920, "se", "1", "loaded"},
        {940, "scene", "1", "the map"},
        {940, "cursor", "4:7", "where the slot was saved"},
    };
    for (const Step& step : steps)
        EXPECT_EQ(field(step.frame, step.field), step.value) << "frame " << step.frame << ": " << step.what;

    // The stage, and its continue screen.
    const int stage = FindLine(trace, "scene", "4", 405);
    ASSERT_GE(stage, 0);
    const int continued = FindLine(trace, "state", "5", stage);
    ASSERT_GE(continued, 0) << "the hero fell and the continue screen came";
    EXPECT_LT(continued + 1, 670) << "the continue screen came before the script chose the map";
    // Back on the map: the automatic save, the walker on the cell it entered from.
    const int back = FindLine(trace, "scene", "1", continued);
    ASSERT_GE(back, 0);
    const int saved = FindLine(trace, "files", kSlotFile, continued);
    ASSERT_GE(saved, 0);
    EXPECT_EQ(trace[saved].at("scene"), "1");
    EXPECT_EQ(trace[saved].at("state"), "0") << "saved in the map's first frame";
    // Nothing else was written.
    int writes = 0;
    for (const TRACELINE& line : trace) writes += line.count("files") && line.at("files") != "-" ? 1 : 0;
    EXPECT_EQ(writes, 4);

    // The slot as the file holds it.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(m_Work.Path() / "story");
    cSaveData slot;
    const bool loaded = slot.Load(kSlotFile) != 0;
    std::filesystem::current_path(before);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(slot.m_nSaveSlot, 3);
    EXPECT_EQ(slot.m_bAutoSave, 1);
    EXPECT_EQ(slot.m_nMapX, 4);
    EXPECT_EQ(slot.m_nMapY, 7);
    EXPECT_EQ(slot.m_nLives, kUnlimitedLives);
    EXPECT_EQ(slot.m_Switches.At(1), 0) << "the first stage was left, not cleared";

    // The frames: the title's text-mode cursor on row 1, the walker, the lives box with its
    // icon and "∞", and the story menu's cursor on its first item.
    const STORYFRAME title = Dump("story", "title.png"), map = Dump("story", "map.png"), menu = Dump("story", "menu.png");
    ASSERT_EQ(title.size(), 640u * 480u);
    ASSERT_EQ(map.size(), 640u * 480u);
    ASSERT_EQ(menu.size(), 640u * 480u);
    const std::uint32_t yellow = ShownColour(qbtest::kCursorColour, 32);
    EXPECT_EQ(PixelOf(title, 192 + 8, 240 + 32 + 16), yellow);
    EXPECT_NE(PixelOf(title, 192 + 8, 240 + 16), yellow) << "no cursor on row 0";
    EXPECT_EQ(PixelOf(map, 288 + 16, 224 + 13), ShownColour(qbtest::kWalkerColour, 32));
    EXPECT_EQ(PixelOf(map, 589 + 8, 19 + 8), ShownColour(qbtest::kLifeColour, 32));
    int ink = 0;
    for (int y = 19; y < 35; ++y)
        for (int x = 605; x < 621; ++x) ink += PixelOf(map, x, y) == ShownColour(qbtest::kTextColour, 32) ? 1 : 0;
    EXPECT_GT(ink, 0) << "the sign of unlimited lives";
    EXPECT_EQ(PixelOf(menu, 264 + 4, 192 + 8), yellow);

    // A second run traces alike, to the byte.
    EXPECT_EQ(Run("again"), text);
}

}  // namespace
