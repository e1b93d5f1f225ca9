// quillbramwood-data run as a program: round trips, listings and its failures.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/data/database_fixtures.h"
#include "tests/data/player_file_builders.h"
#include "tests/data/replay_file_builder.h"
#include "tests/data/stage_file_builder.h"
#include "tests/data/system_file_builder.h"
#include "tests/data/template_file_builder.h"
#include "tests/support/byte_builder.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;
using qbtest::BuildSystemFile;

namespace {

fs::path ToolPath()
{
    return QB_DATA_TOOL;
}

std::string Quote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

class DataTool : public testing::Test {
protected:
    ToolRun Run(const std::vector<std::string>& args)
    {
        std::string command = Quote(ToolPath().string());
        for (const std::string& arg : args) command += " " + Quote(arg);
        command += " >" + Quote(Path("stdout")) + " 2>" + Quote(Path("stderr")) + " </dev/null";
        const int raw = std::system(command.c_str());
        ToolRun run;
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = m_Folder.ReadFile("stdout");
        run.err = m_Folder.ReadFile("stderr");
        return run;
    }
    std::string Path(const std::string& relative) const { return (m_Folder.Path() / relative).string(); }

    // A game folder whose BGM database holds count entries and the other nine none.
    std::string MakeGame(const std::string& name, std::uint32_t count)
    {
        const char* const files[] = {"AnimeSet", "Anime", "Bmp_CharaExc", "SwordType", "Effect",
                                     "CharaEffect", "ScrEffect", "Picture", "Sound"};
        for (const char* file : files)
            m_Folder.WriteFile(name + "/data/database/" + file + ".dat", qbtest::cByteBuilder().U32(692).U32(0).Str());
        qbtest::cByteBuilder bgm;
        bgm.U32(692).U32(count);
        for (std::uint32_t i = 0; i < count; ++i) bgm.I32(0).I32(0);
        m_Folder.WriteFile(name + "/data/database/Bgm.dat", bgm.Str());
        return Path(name);
    }

    qbtest::cTempFolder m_Folder;
};

int CountLines(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace

TEST_F(DataTool, ARoundTripOfACurrentFileIsByteIdentical)
{
    ASSERT_TRUE(fs::exists(ToolPath())) << ToolPath();
    const std::string file = BuildSystemFile(qbtest::DistinctSystemValues(), 692).bytes;
    m_Folder.WriteFile(u8"入力/システム.dat", file);
    const ToolRun run = Run({"roundtrip", "system", Path(u8"入力/システム.dat"), Path("out.dat"), "--game", MakeGame("game", 20)});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(m_Folder.ReadFile("out.dat"), file);
    EXPECT_FALSE(m_Folder.Exists("out.dat.tmp"));
}

TEST_F(DataTool, OlderFilesAreWrittenAtTheCurrentVersion)
{
    m_Folder.WriteFile("old.dat", BuildSystemFile(qbtest::DistinctSystemValues(), 691).bytes);
    const ToolRun run = Run({"roundtrip", "system", "--game", MakeGame("game", 20), Path("old.dat"), Path("new.dat")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(m_Folder.ReadFile("new.dat"), BuildSystemFile(qbtest::DistinctSystemValues(), 692).bytes);
}

TEST_F(DataTool, ScreenBgmIsCheckedAgainstTheGamesBgmDatabaseOrTheDefaultList)
{
    qbtest::SystemFileValues values = qbtest::DistinctSystemValues();
    m_Folder.WriteFile("in.dat", BuildSystemFile(values, 692).bytes);
    struct Case { bool game; std::uint32_t records; std::vector<std::int32_t> bgm; } cases[] = {
        {false, 0, {0, 0, 0, 0}},          // the default list has 2 entries
        {true, 13, {11, 12, 0, 0}},
        {true, 15, {11, 12, 13, 14}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"roundtrip", "system", Path("in.dat"), Path("out.dat")};
        if (c.game) {
            args.push_back("--game");
            args.push_back(MakeGame("game" + std::to_string(c.records), c.records));
        }
        const ToolRun run = Run(args);
        ASSERT_EQ(run.status, 0) << run.err;
        qbtest::SystemFileValues expected = values;
        expected.m_ScreenBgm = c.bgm;
        EXPECT_EQ(m_Folder.ReadFile("out.dat"), BuildSystemFile(expected, 692).bytes) << c.records;
    }
}

TEST_F(DataTool, ADamagedFileFailsWithOneLineAndNoOutput)
{
    const std::string file = BuildSystemFile(qbtest::DistinctSystemValues(), 692).bytes;
    m_Folder.WriteFile("short.dat", file.substr(0, file.size() / 2));
    m_Folder.WriteFile("kept.dat", "what was there");
    for (const char* out : {"none.dat", "kept.dat"}) {
        const ToolRun run = Run({"roundtrip", "system", Path("short.dat"), Path(out)});
        EXPECT_NE(run.status, 0);
        EXPECT_EQ(CountLines(run.err), 1) << run.err;
        EXPECT_EQ(run.err.rfind("quillbramwood-data: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find("short.dat"), std::string::npos) << run.err;
        EXPECT_FALSE(m_Folder.Exists(std::string(out) + ".tmp"));
    }
    EXPECT_FALSE(m_Folder.Exists("none.dat"));
    EXPECT_EQ(m_Folder.ReadFile("kept.dat"), "what was there");

    const ToolRun dump = Run({"dump", "system", Path("short.dat")});
    EXPECT_NE(dump.status, 0);
    EXPECT_EQ(dump.out, "");
    EXPECT_EQ(CountLines(dump.err), 1) << dump.err;
}

TEST_F(DataTool, BytesAfterTheLastValueAreLeftOutAndNamedOnStandardError)
{
    const std::string file = BuildSystemFile(qbtest::DistinctSystemValues(), 692).bytes;
    m_Folder.WriteFile("plain.dat", file);
    m_Folder.WriteFile("longer.dat", file + std::string(16, '\xA5'));
    const std::string game = MakeGame("game", 20);
    const ToolRun plain = Run({"roundtrip", "system", Path("plain.dat"), Path("plain.out"), "--game", game});
    const ToolRun longer = Run({"roundtrip", "system", Path("longer.dat"), Path("longer.out"), "--game", game});
    ASSERT_EQ(plain.status, 0) << plain.err;
    ASSERT_EQ(longer.status, 0) << longer.err;
    EXPECT_EQ(plain.err, "");
    EXPECT_EQ(m_Folder.ReadFile("longer.out"), m_Folder.ReadFile("plain.out"));
    EXPECT_EQ(CountLines(longer.err), 1) << longer.err;
    EXPECT_NE(longer.err.find("longer.dat: 16 bytes after the last value"), std::string::npos) << longer.err;
}

TEST_F(DataTool, DumpPrintsEveryFieldOnALineOfItsOwn)
{
    m_Folder.WriteFile("in.dat", BuildSystemFile(qbtest::DistinctSystemValues(), 692).bytes);
    const ToolRun run = Run({"dump", "system", Path("in.dat"), "--game", MakeGame("game", 20)});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* line : {u8"m_strTitle = \"ゲーム題名 Title\"", "m_nExtraLifeScore = 1001", "m_byTransB = 163",
                             "m_CarryFlags.count = 25", "m_CarryFlags[24] = 56", u8"m_StatusItems[4].m_strLabel = \"状態4\"",
                             "m_ModeResults[3].m_ValueFlags[4] = 101", u8"m_Texts[27] = \"文27\"",
                             u8"m_SoundFiles[16] = \"wave\\\\音16.wav\"", "m_ScreenBgm[3] = 14",
                             u8"m_BootOptions[9].m_strValue = \"値9\"", "m_nAutoDepthDD = 1038"}) {
        EXPECT_NE(run.out.find(std::string(line) + "\n"), std::string::npos) << line;
    }
    std::istringstream lines(run.out);
    const std::regex field(R"(^m_\w+(\[\d+\](\.m_\w+)*)*(\.count)? = (-?\d+|".*")$)");
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) EXPECT_TRUE(std::regex_match(line, field)) << line;
    // The 41 scalars and the title, the lengths of the 15 lists and of the 4 value-flag lists,
    // and the elements.
    const int elements = 25 + 25 + 5 * 7 + 7 * 2 + 4 * 2 + 6 * 2 + 4 + 4 + 4 + 4 * (1 + 5) + 17 + 4 + 4 + 28 + 10 * 4;
    EXPECT_EQ(count, 42 + 15 + 4 + elements);
}

// The listing the hand-kept dump of the System record printed for this file, member by
// member in declaration order; the dump built from the record's tables prints it unchanged.
TEST_F(DataTool, TheSystemDumpPrintsWhatTheHandKeptListPrinted)
{
    m_Folder.WriteFile("in.dat", BuildSystemFile(qbtest::DistinctSystemValues(), 692).bytes);
    const ToolRun run = Run({"dump", "system", Path("in.dat"), "--game", MakeGame("game", 20)});
    ASSERT_EQ(run.status, 0) << run.err;
    std::ifstream expected(fs::path(QB_TOOLS_TEST_DATA) / "system_dump_expected.txt", std::ios::binary);
    ASSERT_TRUE(expected) << QB_TOOLS_TEST_DATA;
    EXPECT_EQ(run.out, std::string(std::istreambuf_iterator<char>(expected), {}));
}

TEST_F(DataTool, UsageErrorsAndMissingGameDataAreReported)
{
    m_Folder.WriteFile("in.dat", BuildSystemFile(qbtest::DefaultSystemValues(), 692).bytes);
    struct Case { std::vector<std::string> args; int status; } cases[] = {
        {{}, 2},
        {{"convert", "system", Path("in.dat")}, 2},
        {{"dump", "nosuchkind", Path("in.dat")}, 2},
        {{"roundtrip", "system", Path("in.dat")}, 2},
        {{"dump", "system", Path("in.dat"), "--game"}, 2},
        {{"dump", "system", Path("missing.dat")}, 1},
        {{"dump", "system", Path("in.dat"), "--game", Path("no-game")}, 1},
        {{"dump", "system", Path("in.dat"), "--game", Path("in.dat")}, 1},
        {{"dump", "system", Path("no-game")}, 1},                                   // IN is a folder
        {{"roundtrip", "system", Path("in.dat"), Path("missing/out.dat")}, 1},      // OUT cannot be made
        {{"roundtrip", "system", Path("in.dat"), Path("no-game")}, 1},              // a folder stands there
        {{"roundtrip", "window", Path("in.dat"), Path("out.dat")}, 1},              // not a Window.dat
    };
    fs::create_directories(m_Folder.Path() / "no-game");
    for (const Case& c : cases) {
        const ToolRun run = Run(c.args);
        EXPECT_EQ(run.status, c.status) << testing::PrintToString(c.args);
        EXPECT_GE(CountLines(run.err), 1);
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(m_Folder.Exists("missing"));
    EXPECT_FALSE(m_Folder.Exists("out.dat"));
    EXPECT_TRUE(fs::is_directory(m_Folder.Path() / "no-game"));
}

namespace {

// The database kinds of the tool by DATABASEFILE.
const char* const kDatabaseKinds[] = {"animeset", "anime", "bmpcharaexc", "swordtype", "effect",
                                      "charaeffect", "screffect", "picture", "sound", "bgm"};

// A database image as start-up leaves it: entry 0 of the chara and screen effects has kind 0.
// That kind is the first block of the first body, after the version, the entry count and the
// block count.
std::string AsStartUpReadsIt(int file, std::string image)
{
    if (file == DATABASE_CHARAEFFECT || file == DATABASE_SCREFFECT) image.replace(12, 4, std::string(4, '\0'));
    return image;
}

}  // namespace

TEST_F(DataTool, EveryDatabaseFileWithDistinctValuesRoundTripsByteIdentical)
{
    const std::string game = MakeGame("game", 3);
    for (int file = 0; file < DATABASE_FILES; ++file) {
        const std::string image = qbtest::DistinctDatabaseFile(file, 3);
        m_Folder.WriteFile("in.dat", image);
        for (bool withGame : {false, true}) {
            std::vector<std::string> args = {"roundtrip", kDatabaseKinds[file], Path("in.dat"), Path("out.dat")};
            if (withGame) args.insert(args.end(), {"--game", game});
            const ToolRun run = Run(args);
            ASSERT_EQ(run.status, 0) << kDatabaseKinds[file] << run.err;
            EXPECT_EQ(m_Folder.ReadFile("out.dat"), AsStartUpReadsIt(file, image)) << kDatabaseKinds[file];
        }
        // An older file is written at the current version, with what the upgrade gives.
        m_Folder.WriteFile("old.dat", qbtest::DistinctDatabaseFile(file, 3, 150));
        ASSERT_EQ(Run({"roundtrip", kDatabaseKinds[file], Path("old.dat"), Path("new.dat")}).status, 0);
        const std::string current = m_Folder.ReadFile("new.dat");
        EXPECT_EQ(current.substr(0, 4), std::string("\xB4\x02\0\0", 4)) << kDatabaseKinds[file];
        ASSERT_EQ(Run({"roundtrip", kDatabaseKinds[file], Path("new.dat"), Path("again.dat")}).status, 0);
        EXPECT_EQ(m_Folder.ReadFile("again.dat"), current) << kDatabaseKinds[file];
    }
}

TEST_F(DataTool, NewWritesTheDefaultListOfEachDatabase)
{
    using qbtest::cDatabaseFileBuilder;
    qbtest::AnimeSetValues set{"", 4, 8, 0, {}};
    for (const char* name : {"立ち", "立ち移動", "飛行", "飛行移動"}) set.slots.push_back({name, 0, 1, 0, {{0, 1, 0}}});
    qbtest::SwordFrameValues swordFrame;
    swordFrame.v[2] = 1;  // flip x
    swordFrame.v[9] = 1;  // duration
    auto twice = [](std::uint32_t, auto add) {
        cDatabaseFileBuilder b(692, 2);
        add(b);
        add(b);
        return b.Str();
    };
    const std::string expected[] = {
        cDatabaseFileBuilder(692, 1).AnimeSet(set).Str(),
        cDatabaseFileBuilder(692, 2).Anime({"なし", 0, 1, 0, {{0, 1, 0}}}).Anime({"アクションA", 0, 1, 0, {{0, 1, 0}}}).Str(),
        twice(0, [](cDatabaseFileBuilder& b) { b.BmpCharaExc({"", 0, "", 0, 0}); }),
        cDatabaseFileBuilder(692, 1).SwordType({"", 0, "", "", {swordFrame}}).Str(),
        twice(0, [](cDatabaseFileBuilder& b) { b.Effect({"", 0, "", 32, 32, 0, {}}); }),
        twice(0, [](cDatabaseFileBuilder& b) { b.EffectKind({"", 0, {}}); }),
        twice(0, [](cDatabaseFileBuilder& b) { b.EffectKind({"", 0, {}}); }),
        twice(0, [](cDatabaseFileBuilder& b) { b.FileEntry({"", 0, ""}); }),
        twice(0, [](cDatabaseFileBuilder& b) { b.FileEntry({"", 0, ""}); }),
        twice(0, [](cDatabaseFileBuilder& b) { b.FileEntry({"", 0, ""}); }),
    };
    for (int file = 0; file < DATABASE_FILES; ++file) {
        const ToolRun run = Run({"new", kDatabaseKinds[file], Path(u8"新/既定.dat")});
        EXPECT_EQ(run.status, 1) << kDatabaseKinds[file];  // the folder does not exist
        fs::create_directories(m_Folder.Path() / u8"新");
        const ToolRun made = Run({"new", kDatabaseKinds[file], Path(u8"新/既定.dat")});
        ASSERT_EQ(made.status, 0) << kDatabaseKinds[file] << made.err;
        EXPECT_EQ(m_Folder.ReadFile(u8"新/既定.dat"), expected[file]) << kDatabaseKinds[file];
        fs::remove_all(m_Folder.Path() / u8"新");
    }
    // Only what the runtime makes when the file is missing.
    EXPECT_EQ(Run({"new", "system", Path("system.dat")}).status, 2);
    EXPECT_EQ(Run({"new", "bgm"}).status, 2);
    EXPECT_FALSE(m_Folder.Exists("system.dat"));
}

TEST_F(DataTool, DatabaseDumpsListEveryEntryAndADamagedFileFails)
{
    m_Folder.WriteFile("in.dat", qbtest::DistinctDatabaseFile(DATABASE_SWORDTYPE, 2));
    const ToolRun run = Run({"dump", "swordtype", Path("in.dat")});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* line : {"m_SwordTypes.count = 2", u8"m_SwordTypes[0].m_strName = \"剣1000\"",
                             "m_SwordTypes[0].m_nReserved = 1001", "m_SwordTypes[1].m_Frames.count = 2",
                             "m_SwordTypes[1].m_Frames[1].m_nDuration = 1047"}) {
        EXPECT_NE(run.out.find(std::string(line) + "\n"), std::string::npos) << line;
    }
    EXPECT_EQ(CountLines(run.out), 1 + 2 * (5 + 2 * 10));

    std::string damaged = qbtest::DistinctDatabaseFile(DATABASE_SWORDTYPE, 2);
    damaged.resize(damaged.size() - 3);
    m_Folder.WriteFile("bad.dat", damaged);
    const ToolRun bad = Run({"roundtrip", "swordtype", Path("bad.dat"), Path("out.dat")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(CountLines(bad.err), 1);
    EXPECT_FALSE(m_Folder.Exists("out.dat"));
}

TEST_F(DataTool, EffectDatabasesAreReadAsStartUpReadsThemWithEntryZerosKindNone)
{
    struct Case { int file; const char* list; } cases[] = {
        {DATABASE_CHARAEFFECT, "m_CharaEffects"},
        {DATABASE_SCREFFECT, "m_ScrEffects"},
    };
    for (const Case& c : cases) {
        // Entry 0's kind is 1 + 1001 % 13 = 1, entry 1's 1 + 1008 % 13 = 8.
        const std::string image = qbtest::DistinctDatabaseFile(c.file, 2);
        m_Folder.WriteFile("in.dat", image);
        const ToolRun dump = Run({"dump", kDatabaseKinds[c.file], Path("in.dat")});
        ASSERT_EQ(dump.status, 0) << dump.err;
        EXPECT_NE(dump.out.find(std::string(c.list) + "[0].m_nKind = 0\n"), std::string::npos) << c.list;
        EXPECT_NE(dump.out.find(std::string(c.list) + "[1].m_nKind = 8\n"), std::string::npos) << c.list;
        ASSERT_EQ(Run({"roundtrip", kDatabaseKinds[c.file], Path("in.dat"), Path("out.dat")}).status, 0);
        EXPECT_EQ(m_Folder.ReadFile("out.dat"), AsStartUpReadsIt(c.file, image)) << c.list;
        EXPECT_NE(m_Folder.ReadFile("out.dat"), image) << c.list;
    }
}

TEST_F(DataTool, PlayerFilesAndTheWorldMapRoundTripByteIdenticalAndNewWritesTheirDefaults)
{
    struct Case { const char* kind; std::string file; std::string made; } cases[] = {
        {"save", "", ""},  // empty: what `new` writes
        {"challenge", "", ""},
        {"worldmap", qbtest::BuildWorldMapFile(qbtest::DistinctWorldMap()), ""},
        {"option", qbtest::BuildOptionFile(23, 0, 10, 3, "名前"), qbtest::BuildOptionFile(0, 1, 7, 0, "aaa")},
        {"ranking", qbtest::BuildRankingFile(qbtest::DistinctRankingTables()), ""},
    };
    std::vector<qbtest::RankingTableFields> emptyTables(5);
    emptyTables[2].largerWins = 0;
    cases[4].made = qbtest::BuildRankingFile(emptyTables);
    for (const Case& c : cases) {
        if (c.file.empty()) {
            ASSERT_EQ(Run({"new", c.kind, Path("in.dat")}).status, 0) << c.kind;
        } else {
            m_Folder.WriteFile("in.dat", c.file);
        }
        const std::string in = m_Folder.ReadFile("in.dat");
        const ToolRun run = Run({"roundtrip", c.kind, Path("in.dat"), Path("out.dat")});
        EXPECT_EQ(run.status, 0) << c.kind << run.err;
        EXPECT_TRUE(m_Folder.ReadFile("out.dat") == in) << c.kind;
        const ToolRun made = Run({"new", c.kind, Path("new.dat")});
        ASSERT_EQ(made.status, 0) << c.kind << made.err;
        if (!c.made.empty()) {
            EXPECT_EQ(m_Folder.ReadFile("new.dat"), c.made) << c.kind;
        }
        const ToolRun dump = Run({"dump", c.kind, Path("new.dat")});
        EXPECT_EQ(dump.status, 0) << c.kind << dump.err;
    }
    EXPECT_EQ(cases[3].made.size(), 36u);
    EXPECT_EQ(cases[4].made.size(), 2096u);
    // The new world map is the editor's new map: 20 x 15 at pitch 32.
    ASSERT_EQ(Run({"new", "worldmap", Path("map.dat")}).status, 0);
    const ToolRun dump = Run({"dump", "worldmap", Path("map.dat")});
    EXPECT_NE(dump.out.find("nWidth = 20"), std::string::npos) << dump.out.substr(0, 300);
    EXPECT_NE(dump.out.find("nPitch = 32"), std::string::npos);
}

TEST_F(DataTool, APaletteWithDistinctValuesRoundTripsByteIdentical)
{
    const std::string game = MakeGame("game", 3);
    m_Folder.WriteFile("game/data/System.dat", BuildSystemFile(qbtest::SystemFileValues(), 692).bytes);
    const std::string image = qbtest::DistinctPaletteImage();
    m_Folder.WriteFile(u8"入力/共通.cplt4", image);
    for (bool withGame : {false, true}) {
        std::vector<std::string> args = {"roundtrip", "palette", Path(u8"入力/共通.cplt4"), Path("out.cplt4")};
        if (withGame) args.insert(args.end(), {"--game", game});
        const ToolRun run = Run(args);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(m_Folder.ReadFile("out.cplt4"), image) << withGame;
    }
    // --game needs the game's System data too.
    fs::remove(m_Folder.Path() / "game/data/System.dat");
    EXPECT_EQ(Run({"dump", "palette", Path(u8"入力/共通.cplt4"), "--game", game}).status, 1);
}

TEST_F(DataTool, PaletteFlowsForTestPlayAreKeptOnlyForTheEditorOrByTheSystemData)
{
    m_Folder.WriteFile("in.cplt4", qbtest::DistinctPaletteImage(true));
    struct Case { bool editor; int keep; const char* flows; } cases[] = {
        {false, 0, "m_Charas[1].m_Flows.count = 1\n"},
        {true, 0, "m_Charas[1].m_Flows.count = 2\n"},
        {false, 1, "m_Charas[1].m_Flows.count = 2\n"},
        {true, 1, "m_Charas[1].m_Flows.count = 2\n"},
    };
    for (const Case& c : cases) {
        const std::string game = MakeGame("game" + std::to_string(c.keep), 3);
        qbtest::SystemFileValues system;
        system.m_bKeepMarkedFlows = c.keep;
        m_Folder.WriteFile("game" + std::to_string(c.keep) + "/data/System.dat", BuildSystemFile(system, 692).bytes);
        std::vector<std::string> args = {"dump", "palette", Path("in.cplt4"), "--game", game};
        if (c.editor) args.push_back("--editor");
        const ToolRun run = Run(args);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.out.find(c.flows), std::string::npos) << c.editor << c.keep;
    }
}

TEST_F(DataTool, NewPaletteHoldsTwoEmptyTemplatesInEachList)
{
    const ToolRun run = Run({"new", "palette", Path("CommonPalette.cplt4")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(m_Folder.ReadFile("CommonPalette.cplt4"),
              qbtest::PaletteImage(692, {qbtest::Empty(11), qbtest::Empty(11)}, {qbtest::Empty(37), qbtest::Empty(37)},
                                   {qbtest::Empty(13), qbtest::Empty(13)}));
}

namespace {

// A stage whose hero has a test-play flow and a plain one.
std::string StageWithTestPlayFlow()
{
    qbtest::STAGEFILE stage = qbtest::PlayableStage();
    qbtest::FLOWBODY marked;
    marked.testPlayOnly = 1;
    marked.commands = {qbtest::CommandBody({})};
    qbtest::FLOWBODY plain;
    plain.commands = {qbtest::CommandBody({})};
    stage.placed[qbtest::KIND_CHARA][0].lists = {qbtest::FlowBody(692, marked), qbtest::FlowBody(692, plain)};
    return qbtest::StageImage(692, stage).bytes;
}

}  // namespace

TEST_F(DataTool, AStageWithDistinctValuesRoundTripsByteIdentical)
{
    const std::string game = MakeGame("game", 30);
    m_Folder.WriteFile("game/data/System.dat", BuildSystemFile(qbtest::DefaultSystemValues(), 692).bytes);
    m_Folder.WriteFile("game/data/CommonPalette.cplt4", qbtest::PaletteImage(692, {}, {}, {}));
    const std::string file = qbtest::StageImage(692, qbtest::DistinctStage()).bytes;
    m_Folder.WriteFile(u8"ステージ.stg4_000", file);
    const ToolRun run = Run({"roundtrip", "stage", Path(u8"ステージ.stg4_000"), Path("out.stg4_000"), "--game", game});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(m_Folder.ReadFile("out.stg4_000"), file);
    const ToolRun dump = Run({"dump", "stage", Path("out.stg4_000"), "--game", game});
    ASSERT_EQ(dump.status, 0) << dump.err;
    EXPECT_NE(dump.out.find("m_nCharaInvincible = 1098"), std::string::npos);
    // Without the game its BGM is unknown, and without its System data nothing is read.
    EXPECT_EQ(Run({"roundtrip", "stage", Path(u8"ステージ.stg4_000"), Path("default.stg4_000")}).status, 0);
    EXPECT_NE(m_Folder.ReadFile("default.stg4_000"), file);
    const ToolRun missing = Run({"dump", "stage", Path(u8"ステージ.stg4_000"), "--game", MakeGame("nosystem", 3)});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("System.dat"), std::string::npos) << missing.err;
}

TEST_F(DataTool, AStageDropsTestPlayFlowsUnlessTheEditorOrTheKeepSwitchKeepsThem)
{
    m_Folder.WriteFile("in.stg4_000", StageWithTestPlayFlow());
    std::string games[2];
    for (int keep = 0; keep < 2; ++keep) {
        const std::string name = keep ? "keep" : "drop";
        games[keep] = MakeGame(name, 3);
        qbtest::SystemFileValues system = qbtest::DefaultSystemValues();
        system.m_bKeepMarkedFlows = keep;
        m_Folder.WriteFile(name + "/data/System.dat", BuildSystemFile(system, 692).bytes);
        m_Folder.WriteFile(name + "/data/CommonPalette.cplt4", qbtest::PaletteImage(692, {}, {}, {}));
    }
    struct Case { std::vector<std::string> options; int flows; } cases[] = {
        {{}, 1}, {{"--editor"}, 2}, {{"--game", games[1]}, 2}, {{"--game", games[0]}, 1}, {{"--game", games[0], "--editor"}, 2},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"roundtrip", "stage", Path("in.stg4_000"), Path("out.stg4_000")};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const ToolRun run = Run(args);
        ASSERT_EQ(run.status, 0) << run.err;
        const ToolRun dump = Run({"dump", "stage", Path("out.stg4_000"), "--editor"});
        ASSERT_EQ(dump.status, 0) << dump.err;
        EXPECT_NE(dump.out.find("m_Charas[0].m_Flows.count = " + std::to_string(c.flows)), std::string::npos)
            << testing::PrintToString(c.options);
    }
}

TEST_F(DataTool, ReplaysDumpTheirStreamsRoundTripAndNewWritesAnEmptyOne)
{
    ASSERT_EQ(Run({"new", "replay", Path("new.rpl4_692")}).status, 0);
    const std::string made = m_Folder.ReadFile("new.rpl4_692");
    ASSERT_EQ(Run({"roundtrip", "replay", Path("new.rpl4_692"), Path("new2.rpl4_692")}).status, 0);
    EXPECT_TRUE(m_Folder.ReadFile("new2.rpl4_692") == made);

    qbtest::REPLAYSTREAMS streams{-9, {6, 4}, {1}, {90, 2}, {92}};
    m_Folder.WriteFile("in.rpl4_692", qbtest::ReplayImage(692, qbtest::PlayableStage(), streams, qbtest::SaveFields()));
    const ToolRun run = Run({"roundtrip", "replay", Path("in.rpl4_692"), Path("out.rpl4_692")});
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(Run({"roundtrip", "replay", Path("out.rpl4_692"), Path("again.rpl4_692")}).status, 0);
    EXPECT_TRUE(m_Folder.ReadFile("again.rpl4_692") == m_Folder.ReadFile("out.rpl4_692"));
    const ToolRun dump = Run({"dump", "replay", Path("out.rpl4_692")});
    ASSERT_EQ(dump.status, 0) << dump.err;
    for (const char* line : {"m_nSeed = -9\n", "m_DirectionValues.count = 2\n", "m_DirectionValues[1] = 4\n",
                             "m_DirectionRuns[0] = 90\n", "m_ButtonRuns[0] = 92\n"})
        EXPECT_NE(dump.out.find(line), std::string::npos) << line;

    // A cut file is refused.
    m_Folder.WriteFile("cut.rpl4_692", m_Folder.ReadFile("out.rpl4_692").substr(0, 200));
    EXPECT_NE(Run({"dump", "replay", Path("cut.rpl4_692")}).status, 0);
}
