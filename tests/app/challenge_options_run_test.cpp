// The demo's challenge list and options played by the executable under the harness. The first
// run pages the stage select, starts a stage and quits it, finds the list again on the stage it
// started, then in the options turns the volume up to 10 and over to 0 and cancels that, switches
// the BGM off and types a name; the second run, in the same folder, starts silent, switches the
// BGM on again, changes the ranking entry mode and leaves through the back item. The trace,
// the sound volumes and the options file after each run say what happened. A run of its own clears
// the ridge's copy in the list and enters a name in its ranking.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "data/ranking_data.h"
#include "data/save_data.h"
#include "tests/app/challenge_clear_script.h"
#include "tests/app/game_process.h"
#include "tests/app/story_script.h"
#include "tests/app/trace_lines.h"
#include "tests/data/player_file_builders.h"
#include "tests/support/demo_game.h"
#include "tests/support/temp_folder.h"

namespace {

using qbtest::FindLine;
using qbtest::ParseTrace;
using qbtest::STORYTAP;
using qbtest::TRACELINE;

constexpr const char* kOptionFile = "user_data\\Option.dat";

constexpr STORYTAP kChallengeTaps[] = {
    {50, "DOWN"}, {55, "DOWN"}, {60, "Z"},                 // title: challenge
    {100, "RIGHT"}, {110, "DOWN"}, {120, "Z"},             // a page on, one down: stage 11
    {300, "SPACE"}, {310, "UP"}, {315, "Z"},               // pause, quit: the title
    {380, "Z"},                                            // challenge again
    {430, "C"}, {440, "X"},                                // the ranking view; back to the title
    {490, "DOWN"}, {492, "DOWN"}, {494, "DOWN"}, {500, "Z"},  // options
    {540, "DOWN"}, {542, "DOWN"}, {545, "Z"},              // the volume, 7
    {550, "UP"}, {552, "UP"}, {554, "UP"}, {560, "Z"},     // 10, kept
    {565, "Z"}, {570, "UP"}, {575, "X"},                   // 10 up is 0; cancel
    {580, "UP"}, {585, "Z"}, {590, "UP"}, {595, "Z"},      // the BGM off
    {600, "DOWN"}, {602, "DOWN"}, {604, "DOWN"}, {610, "Z"},  // the name: the dialog line
    {620, "X"},                                            // cancel: the title
};
constexpr int kChallengeClose = 680;

constexpr STORYTAP kSecondTaps[] = {
    {50, "DOWN"}, {52, "DOWN"}, {54, "DOWN"}, {56, "DOWN"}, {58, "DOWN"}, {60, "Z"},  // options
    {90, "DOWN"}, {95, "Z"}, {100, "UP"}, {105, "Z"},      // the BGM on
    {110, "DOWN"}, {112, "DOWN"}, {115, "Z"}, {120, "UP"}, {125, "Z"},  // ranking entry mode 1
    {130, "DOWN"}, {132, "DOWN"}, {135, "Z"},              // back
};
constexpr int kSecondClose = 200;

// After the clear (challenge_clear_script.h): the name, the ranking display, the clear left.
constexpr STORYTAP kClearTaps[] = {
    {820, "F3"},                                                         // the name: the dialog line
    {850, "Z"},                                                          // the ranking display left
    {880, "Z"},                                                          // the clear left
};
constexpr int kClearClose = 960;
constexpr const char* kClearStageKey = "data\\stg4\\c07.";

template <std::size_t N>
std::string Script(const STORYTAP (&taps)[N], int closeFrame, const std::string& extra)
{
    std::string script = "clock virtual\ntrace trace.txt\n" + extra;
    for (const STORYTAP& tap : taps)
        script += "keys " + std::to_string(tap.frame) + " " + tap.key + "\nkeys " + std::to_string(tap.frame + 1) + "\n";
    return script + "close " + std::to_string(closeFrame) + "\n";
}

class ChallengeAndOptionsRun : public ::testing::Test {
protected:
    // One run in the game folder; its trace.
    std::vector<TRACELINE> Run(const std::string& scriptName, const std::string& script, int closeFrame)
    {
        m_Work.WriteFile(scriptName, script);
        qbtest::cGameProcess process(m_Runtime, Game(), {"QUILLBRAMWOOD_SCRIPT=" + (m_Work.Path() / scriptName).string()});
        EXPECT_TRUE(process.Ends(0, scriptName + " to its close at frame " + std::to_string(closeFrame)));
        std::vector<TRACELINE> trace = ParseTrace(m_Work.ReadFile("game/trace.txt"));
        EXPECT_GE(trace.size(), static_cast<std::size_t>(closeFrame));
        return trace;
    }
    std::filesystem::path Game() const { return m_Work.Path() / "game"; }
    std::string OptionBytes() const { return m_Work.ReadFile("game/user_data/Option.dat"); }
    // Loads a player's file of the game folder as the game reads it.
    template <class LOAD>
    bool LoadInGame(LOAD load) const
    {
        const std::filesystem::path before = std::filesystem::current_path();
        std::filesystem::current_path(Game());
        const bool loaded = load() != 0;
        std::filesystem::current_path(before);
        return loaded;
    }
    static std::string Field(const std::vector<TRACELINE>& trace, int frame, const char* name)
    {
        if (frame < 1 || static_cast<std::size_t>(frame) > trace.size()) return "(no frame)";
        const TRACELINE& line = trace[static_cast<std::size_t>(frame - 1)];
        return line.count(name) ? line.at(name) : std::string("(none)");
    }
    struct STEP {
        int frame;
        const char* field;
        std::string value;
        const char* what;
    };
    static void Check(const std::vector<TRACELINE>& trace, const std::vector<STEP>& steps)
    {
        for (const STEP& step : steps)
            EXPECT_EQ(Field(trace, step.frame, step.field), step.value) << "frame " << step.frame << ": " << step.what;
    }
    // Every front-end frame of the title from `from` to `to` has the field at the value.
    static int CountTitleFrames(const std::vector<TRACELINE>& trace, int from, int to, const char* field,
                                const std::string& value)
    {
        int frames = 0;
        for (int f = from; f <= to; ++f)
            frames += Field(trace, f, "scene") == "0" && Field(trace, f, field) == value ? 1 : 0;
        return frames;
    }

    qbtest::cTempFolder m_Runtime;
    qbtest::cTempFolder m_Work;
};

TEST_F(ChallengeAndOptionsRun, PagesTheListKeepsItsRowAndEditsSavesAndAppliesTheOptions)
{
    ASSERT_TRUE(qbtest::WriteDemoGame(Game()));
    const std::vector<TRACELINE> first =
        Run("challenge.txt", Script(kChallengeTaps, kChallengeClose, "dialog XYZ\n"), kChallengeClose);
    Check(first, {
        {60, "gmode", "2", "challenge"},
        {71, "scene", "3", "the stage select"},
        {71, "bgm", "2:0", "its music asked for"},
        {100, "cursor", "0:9", "a page on: stage 10, one row of the old page kept"},
        {110, "cursor", "0:10", "stage 11"},
        {120, "se", "1", "the stage loads"},
        {120, "state", "2", "and the list fades out"},
        {391, "scene", "3", "the stage select again"},
        {391, "cursor", "0:10", "on the stage started last"},
        {430, "se", "6", "the ranking view switched"},
        {499, "music", "0", "the title's music plays before the options"},
        {500, "gmode", "5", "options"},
        {540, "vol", "-150", "the volume of level 7 on every sound"},
        {554, "vol", "0", "level 10"},
        {570, "vol", "-10000", "10 up is 0: silence on every sound"},
        {575, "se", "2", "cancel"},
        {575, "vol", "0", "the old level's volume back at once"},
        {610, "se", "1", "the name dialog"},
        {630, "files", kOptionFile, "saved at the end of the fade-out"},
        {630, "music", "off", "and the BGM switched off there"},
        {631, "scene", "0", "the title"},
        {631, "bgm", "0:0", "which asks for its music"},
    });
    const int stage = FindLine(first, "scene", "4", 120);
    ASSERT_GE(stage, 0);
    EXPECT_LT(stage, 300) << "the stage started";
    EXPECT_EQ(CountTitleFrames(first, 631, kChallengeClose, "music", "off"), kChallengeClose - 630)
        << "the title stays silent";
    int saves = 0;
    for (const TRACELINE& line : first) saves += line.count("files") && line.at("files") == kOptionFile ? 1 : 0;
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(OptionBytes(), qbtest::BuildOptionFile(0, 0, 10, 0, "XYZ"))
        << "BGM off, volume 10, the typed name";

    const std::vector<TRACELINE> second = Run("second.txt", Script(kSecondTaps, kSecondClose, ""), kSecondClose);
    Check(second, {
        {1, "music", "off", "the options read at start keep the BGM off"},
        {1, "vol", "0", "and the volume at level 10"},
        {60, "gmode", "5", "options"},
        {105, "se", "1", "the BGM switched on"},
        {135, "music", "off", "not before the fade-out"},
    });
    const int saved = FindLine(second, "files", kOptionFile, 135);
    ASSERT_GE(saved, 0);
    EXPECT_EQ(second[static_cast<std::size_t>(saved)].at("scene"), "5");
    EXPECT_EQ(second[static_cast<std::size_t>(saved) + 1].at("scene"), "0");
    EXPECT_EQ(second[static_cast<std::size_t>(saved) + 1].at("music"), "0") << "the title's music again";
    EXPECT_EQ(OptionBytes(), qbtest::BuildOptionFile(0, 1, 10, 1, "XYZ"));
}

TEST_F(ChallengeAndOptionsRun, AClearEntersTheTypedNameRecordsTheStageAndKeepsItsRow)
{
    ASSERT_TRUE(qbtest::WriteDemoGame(Game()));
    const std::string script = Script(kClearTaps, kClearClose, "dialog QBRX\n" + qbtest::ChallengeClearKeys());
    const std::vector<TRACELINE> trace = Run("clear.txt", script, kClearClose);
    Check(trace, {
        {140, "cursor", "0:6", "stage 7 chosen"},
        {qbtest::kChallengeClearPlay, "state", "2", "its play"},
        {qbtest::kChallengeClearFrame - 1, "state", "2", "still played"},
        {qbtest::kChallengeClearFrame, "state", "4", "the goal cleared it"},
        {820, "se", "16", "the name entered"},
        {820, "loop", "1", "the ranking display"},
        {849, "loop", "1", "still shown"},
        {850, "loop", "0", "left"},
        {880, "state", "7", "the clear left: its fade-out"},
    });
    const int clear = FindLine(trace, "state", "4", qbtest::kChallengeClearPlay);
    ASSERT_GE(clear, 0) << "the goal cleared the stage";
    EXPECT_LT(clear + 1, 820) << "before the name key";
    EXPECT_EQ(Field(trace, clear + 1, "se"), "18,14") << "the goal's sound, then the clear's";
    const int select = FindLine(trace, "scene", "3", 880);
    ASSERT_GE(select, 0) << "back to the stage select";
    EXPECT_EQ(Field(trace, select + 2, "cursor"), "0:6") << "on the stage cleared";

    cSaveData challenge;
    ASSERT_TRUE(LoadInGame([&] { return challenge.LoadChallenge(); }));
    ASSERT_GE(challenge.m_ChallengeStages.size(), 12u);
    for (int n = 1; n <= 12; ++n)
        EXPECT_EQ(challenge.m_ChallengeStages[static_cast<std::size_t>(n - 1)].m_bCleared, n == 7 ? 1 : 0) << "stage " << n;
    cRankingData rankings;
    ASSERT_TRUE(LoadInGame([&] { return rankings.LoadForStage(1, kClearStageKey); }));
    // The run's totals: no score, no time limit, 431 play frames (7.18 s), the hero's 5 HP, no SP.
    const int values[RANKING_KINDS] = {0, 0, 718, 5, 0};
    EXPECT_EQ(Field(trace, clear + 1, "pframe"), "431");
    for (int kind = 0; kind < RANKING_KINDS; ++kind) {
        const cRankingTable& table = rankings.Table(kind);
        EXPECT_EQ(table.m_Entries[0].m_nValue, values[kind]) << "kind " << kind;
        EXPECT_EQ(table.m_Entries[0].m_bUsed, 1) << "kind " << kind;
        EXPECT_EQ(table.m_Entries[0].m_strName, "QBR") << "kind " << kind << ": the dialog's name, three letters";
        EXPECT_EQ(table.m_Entries[1].m_bUsed, 0) << "kind " << kind << ": one entry";
    }
}

}  // namespace
