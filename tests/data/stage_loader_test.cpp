// Loading a stage on the loading thread: the numbered file, the copy of its settings, and the
// messages and refusals of missing, damaged and hero-less stages, and of a quit meanwhile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/stage_loader.h"
#include "platform/os/message_box.h"
#include "platform/os/messages.h"
#include "tests/data/record_test_support.h"
#include "tests/data/stage_file_builder.h"
#include "tests/support/temp_folder.h"

using qbtest::KIND_BLOCK;
using qbtest::KIND_CHARA;
using qbtest::STAGEFILE;
using qbtest::StageImage;

namespace {

std::vector<std::string> g_StageBoxTexts;

int RecordStageBox(HWND, const char* text, const char*, UINT)
{
    g_StageBoxTexts.push_back(text);
    return IDOK;
}

// Whether a message of this kind waits in the test thread's queue (it is taken).
bool TakeMessage(UINT message)
{
    MSG msg;
    return PeekMessageA(&msg, nullptr, message, message, PM_REMOVE) != 0;
}

class StageLoad : public testing::Test {
protected:
    StageLoad() : m_SavedStage(g_StageData), m_SavedBackup(g_StageBackup)
    {
        g_StageBoxTexts.clear();
        plat::SetBoxPresenter(RecordStageBox);
        m_Folder.ChangeInto();
        g_StageData.m_strText = "previous";
    }
    ~StageLoad() override
    {
        while (TakeMessage(WM_CLOSE) || TakeMessage(WM_QUIT)) {
        }
        plat::SetBoxPresenter(nullptr);
        g_StageData = m_SavedStage;
        g_StageBackup = m_SavedBackup;
    }

    void WriteStage(const std::string& name, const STAGEFILE& stage, int version = 692)
    {
        m_Folder.WriteFile(name, StageImage(version, stage).bytes);
    }

    qbtest::cDataSettingsScope m_Settings{1, 100};
    cStageData m_SavedStage;
    cStageData m_SavedBackup;
    qbtest::cTempFolder m_Folder;
};

STAGEFILE NamedStage(const char* text)
{
    STAGEFILE s = qbtest::PlayableStage(40, 20);
    s.text = text;
    s.fields[15] = 321;   // time limit
    s.backgrounds[0].picture = "bg.bmp";
    s.texts = {"一", "二"};
    s.palette[KIND_BLOCK] = {{}, {}, {}};
    s.placed[KIND_BLOCK] = {{}, {}};
    return s;
}

}  // namespace

TEST_F(StageLoad, TakesTheHighestNumberedFileAndCopiesOnlyTheSettings)
{
    WriteStage("stg/x.stg4_001", NamedStage("one"));
    WriteStage("stg/x.stg4_012", NamedStage("twelve"));
    g_StageBackup.m_Charas.resize(3);
    ASSERT_TRUE(LoadStage("stg\\x.stg4", 1, &g_StageBackup));
    EXPECT_EQ(g_StageData.m_strText, "twelve");
    EXPECT_EQ(g_StageData.m_strPath, "stg\\x.stg4_012");
    EXPECT_EQ(g_StageData.m_bAddExtension, 1);
    EXPECT_EQ(g_StageData.m_bLoaded, 1);
    EXPECT_EQ(g_StageData.m_PaletteBlocks.size(), 3u);
    EXPECT_EQ(g_StageData.m_Blocks.size(), 2u);

    EXPECT_EQ(g_StageBackup.m_strText, "twelve");
    EXPECT_EQ(g_StageBackup.m_nTimeLimit, 321);
    EXPECT_EQ(g_StageBackup.m_Texts.size(), 2u);
    EXPECT_EQ(g_StageBackup.m_Backgrounds[0].m_strPicture, "bg.bmp");
    EXPECT_EQ(g_StageBackup.m_ResultFlags.size(), 5u);
    EXPECT_TRUE(g_StageBackup.m_Charas.empty());
    EXPECT_TRUE(g_StageBackup.m_Blocks.empty());
    EXPECT_TRUE(g_StageBackup.m_PaletteBlocks.empty());
    EXPECT_TRUE(g_StageBackup.m_PaletteCharas.empty());
    EXPECT_TRUE(g_StageBoxTexts.empty());

    // Without the flag the name is the file.
    ASSERT_TRUE(LoadStage("stg\\x.stg4_001", 0, nullptr));
    EXPECT_EQ(g_StageData.m_strText, "one");
    EXPECT_EQ(g_StageData.m_bAddExtension, 0);
    EXPECT_EQ(g_StageBackup.m_strText, "twelve");
}

TEST_F(StageLoad, RefusalsSayWhyAndLeaveTheLoadedStageAsItWas)
{
    WriteStage("stg/a.stg4_000", NamedStage("a"));
    STAGEFILE noHero = NamedStage("nohero");
    noHero.placed[KIND_CHARA].clear();
    WriteStage("stg/nohero.stg4_000", noHero);
    std::string cut = StageImage(692, NamedStage("cut")).bytes;
    cut = cut.substr(0, cut.size() / 2) + cut.substr(cut.size() - 4);
    m_Folder.WriteFile("stg/cut.stg4_000", cut);
    std::string oldCut = StageImage(172, NamedStage("oldcut")).bytes;
    m_Folder.WriteFile("stg/oldcut.stg4_000", oldCut.substr(0, oldCut.size() - 9));
    STAGEFILE fast = NamedStage("fast");
    fast.fields[22] = 0x7FFFFFFF;   // speed level: as many sub-steps a frame
    WriteStage("stg/fast.stg4_000", fast);
    ASSERT_TRUE(LoadStage("stg\\a.stg4", 1, nullptr));

    struct Case {
        const char* name;
        const char* box;       // null: none
        bool closes;
        const char* stageAfter;
    } cases[] = {
        {"stg\\missing.stg4", nullptr, false, "a"},
        {"stg\\cut.stg4", "ステージファイル stg\\cut.stg4_000 が破損しています！", true, "a"},
        {"stg\\fast.stg4", "ステージファイル stg\\fast.stg4_000 が破損しています！", true, "a"},
        {"stg\\oldcut.stg4", "ステージファイル stg\\oldcut.stg4_000 の読み込みに失敗しました！", false, "a"},
        // Read whole, so it is the stage now; but it cannot be played.
        {"stg\\nohero.stg4", "主人公が配置されていないのでプレイできません！", true, "nohero"},
    };
    for (const Case& c : cases) {
        g_StageBoxTexts.clear();
        g_StageBackup.m_strText = "backup";
        EXPECT_FALSE(LoadStage(c.name, 1, &g_StageBackup)) << c.name;
        ASSERT_EQ(g_StageBoxTexts.size(), c.box ? 1u : 0u) << c.name;
        if (c.box) {
            EXPECT_EQ(g_StageBoxTexts[0], c.box);
        }
        EXPECT_EQ(TakeMessage(WM_CLOSE), c.closes) << c.name;
        EXPECT_EQ(g_StageData.m_strText, c.stageAfter) << c.name;
        EXPECT_EQ(g_StageBackup.m_strText, "backup") << c.name;
    }
}

TEST_F(StageLoad, AQuitDuringTheLoadStopsItAndIsPostedAgain)
{
    WriteStage("stg/q.stg4_000", NamedStage("quit"));
    PostQuitMessage(3);
    EXPECT_FALSE(LoadStage("stg\\q.stg4", 1, &g_StageBackup));
    EXPECT_EQ(g_StageData.m_strText, "previous");
    EXPECT_TRUE(g_StageBoxTexts.empty());
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    // The next load is not stopped by the last one.
    EXPECT_TRUE(LoadStage("stg\\q.stg4", 1, nullptr));
    EXPECT_EQ(g_StageData.m_strText, "quit");
}

TEST_F(StageLoad, AnOlderStageAfterANewerOneKeepsNothingOfIt)
{
    STAGEFILE newer = NamedStage("new");
    newer.rules[0] = {1, 1, 1, 1, 2, 2, 2, 2};
    newer.fields[26] = 1;   // BGM keep
    WriteStage("stg/new.stg4_000", newer);
    WriteStage("stg/old.stg4_000", NamedStage("old"), 124);
    ASSERT_TRUE(LoadStage("stg\\new.stg4", 1, nullptr));
    ASSERT_EQ(g_StageData.m_OutOfRange[0].m_bRight, 1);
    ASSERT_TRUE(LoadStage("stg\\old.stg4", 1, nullptr));
    EXPECT_EQ(g_StageData.m_OutOfRange[0].m_bRight, 0);
    EXPECT_EQ(g_StageData.m_OutOfRange[0].m_bBottom, 0);
    EXPECT_EQ(g_StageData.m_bBgmKeep, 0);
}

TEST_F(StageLoad, CheckStageFileEndLooksWhereTheReadEnds)
{
    std::string whole = StageImage(692, NamedStage("w")).bytes;
    m_Folder.WriteFile("w.stg4_000", whole);
    m_Folder.WriteFile("cut.stg4_000", whole.substr(0, whole.size() - 20) + whole.substr(whole.size() - 4));
    m_Folder.WriteFile("old.stg4_000", StageImage(173, NamedStage("o")).bytes);
    struct Case { const char* path; bool sound; } cases[] = {
        {"w.stg4_000", true}, {"cut.stg4_000", false}, {"old.stg4_000", true}, {"missing.stg4_000", true},
    };
    for (const Case& c : cases) {
        g_StageBoxTexts.clear();
        EXPECT_EQ(CheckStageFileEnd(c.path), c.sound) << c.path;
        EXPECT_EQ(g_StageBoxTexts.size(), c.sound ? 0u : 1u) << c.path;
        EXPECT_EQ(TakeMessage(WM_CLOSE), !c.sound) << c.path;
    }
}
