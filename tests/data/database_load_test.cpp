// Loading the ten database files at start-up, the reverse lists and the working tables built
// from the lists.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "data/database.h"
#include "data/database_tables.h"
#include "data/record_tails.h"
#include "platform/os/files.h"
#include "platform/os/message_box.h"
#include "tests/data/database_fixtures.h"
#include "tests/data/record_test_support.h"
#include "tests/support/temp_folder.h"

using qbtest::cDatabaseFileBuilder;
using qbtest::DistinctDatabaseFile;

namespace {

std::vector<std::string> g_BoxTexts;

int RecordBox(HWND, const char* text, const char*, UINT)
{
    g_BoxTexts.push_back(text);
    return IDOK;
}

// The image of every list, reverse lists included, to see that nothing changed.
std::string Snapshot(cDatabase& db)
{
    std::string all;
    for (int file = 0; file < DATABASE_FILES; ++file) {
        cDataWriter writer;
        db.WriteList(file, writer);
        all += writer.Image();
    }
    cDataWriter reverse;
    WriteRecordList(reverse, db.m_CharaEffectsReverse);
    WriteRecordList(reverse, db.m_ScrEffectsReverse);
    return all + reverse.Image();
}

// The relative UTF-8 name of a database file in the test's folder.
std::string DatabaseFileName(int file)
{
    std::string path = DatabasePath(file);
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

class DatabaseLoad : public testing::Test {
protected:
    DatabaseLoad()
    {
        m_Folder.ChangeInto();
        plat::SetBoxPresenter(RecordBox);
        g_BoxTexts.clear();
        for (int file = 0; file < DATABASE_FILES; ++file) Write(file, DistinctDatabaseFile(file, 3, 692, 1000 * (file + 1)));
    }
    ~DatabaseLoad() override { plat::SetBoxPresenter(nullptr); }

    void Write(int file, const std::string& image) { m_Folder.WriteFile(DatabaseFileName(file), image); }

    qbtest::cDataSettingsScope m_Settings;
    qbtest::cTempFolder m_Folder;
};

// Keeps g_Database as a test found it.
class cGlobalDatabaseScope {
public:
    cGlobalDatabaseScope() : m_Saved(g_Database) {}
    ~cGlobalDatabaseScope() { g_Database = m_Saved; }

private:
    cDatabase m_Saved;
};

}  // namespace

TEST_F(DatabaseLoad, ReadsTheTenFilesAndClearsTheKindOfTheFirstEffectEntries)
{
    cDatabase db;
    ASSERT_EQ(db.Load(), 1);
    EXPECT_TRUE(g_BoxTexts.empty());
    for (int file = 0; file < DATABASE_FILES; ++file) {
        EXPECT_EQ(db.Count(file), 3u) << file;
        cDatabase alone;
        cDataReader reader(DistinctDatabaseFile(file, 3, 692, 1000 * (file + 1)));
        ASSERT_TRUE(alone.ReadList(file, reader));
        if (file == DATABASE_CHARAEFFECT) alone.m_CharaEffects[0].m_nKind = 0;
        if (file == DATABASE_SCREFFECT) alone.m_ScrEffects[0].m_nKind = 0;
        cDataWriter loaded, expected;
        db.WriteList(file, loaded);
        alone.WriteList(file, expected);
        EXPECT_EQ(loaded.Image(), expected.Image()) << file;
    }
    EXPECT_EQ(db.m_CharaEffects[0].m_nKind, 0);
    EXPECT_NE(db.m_CharaEffects[1].m_nKind, 0);
    EXPECT_EQ(db.m_ScrEffects[0].m_nKind, 0);
    EXPECT_NE(db.m_ScrEffects[1].m_nKind, 0);
    // Each animation set takes 32 values: name, three offsets, four slots of seven.
    EXPECT_EQ(db.m_AnimeSets[2].m_strName, "組" + std::to_string(1000 + 2 * 32));
}

TEST_F(DatabaseLoad, AMissingOrDamagedFileLeavesEveryListAsItWasAndNamesTheFile)
{
    // keep: the bytes of the good file kept from its start; negative: that many dropped from
    // its end; kRemove: no file.
    constexpr long kRemove = 1L << 40;
    struct Case { const char* what; int file; long keep; std::string box; } cases[] = {
        {"first file missing", DATABASE_ANIMESET, kRemove, "data\\database\\AnimeSet.dat のロードに失敗！"},
        {"effects missing", DATABASE_EFFECT, kRemove, "data\\database\\Effect.dat のロードに失敗！"},
        {"effects cut short", DATABASE_EFFECT, 40, "data\\database\\Effect.dat のロードに失敗！"},
        {"BGM without its count", DATABASE_BGM, 6, "data\\database\\Bgm.dat のロードに失敗！"},
        {"BGM cut inside its last entry", DATABASE_BGM, -1, "data\\database\\Bgm.dat のロードに失敗！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string good = DistinctDatabaseFile(c.file, 3, 692, 1000 * (c.file + 1));
        if (c.keep == kRemove) std::filesystem::remove(m_Folder.Path() / DatabaseFileName(c.file));
        else Write(c.file, good.substr(0, c.keep >= 0 ? c.keep : good.size() + c.keep));
        plat::FlushPathCache();

        cDatabase db;
        db.m_Pictures[1].m_strName = "before";
        db.FillReverseLists();
        const std::string before = Snapshot(db);
        g_BoxTexts.clear();
        EXPECT_EQ(db.Load(), 0);
        EXPECT_EQ(Snapshot(db), before);
        ASSERT_EQ(g_BoxTexts.size(), 1u);
        EXPECT_EQ(g_BoxTexts[0], c.box);
        Write(c.file, good);
    }
}

TEST_F(DatabaseLoad, EmptyEffectListsLoadWithoutTouchingAnEntryZero)
{
    Write(DATABASE_CHARAEFFECT, cDatabaseFileBuilder(692, 0).Str());
    Write(DATABASE_SCREFFECT, cDatabaseFileBuilder(692, 0).Str());
    cDatabase db;
    ASSERT_EQ(db.Load(), 1);
    EXPECT_TRUE(db.m_CharaEffects.empty());
    EXPECT_TRUE(db.m_ScrEffects.empty());
    EXPECT_TRUE(g_BoxTexts.empty());
}

TEST_F(DatabaseLoad, BytesAfterTheLastEntryAreLeftUnread)
{
    Write(DATABASE_PICTURE, DistinctDatabaseFile(DATABASE_PICTURE, 1) + "newer editor");
    cDatabase db;
    ASSERT_EQ(db.Load(), 1);
    ASSERT_EQ(db.m_Pictures.size(), 1u);
    EXPECT_EQ(db.m_Pictures[0].m_strName, "名前1000");
}

TEST(DatabaseReverseLists, AreCopiesOfTheEffectListsInTheSameOrder)
{
    qbtest::cDataSettingsScope settings;
    cDatabase db;
    db.m_CharaEffects.resize(3);
    db.m_CharaEffects[2].m_nKind = 7;
    db.m_ScrEffects[1].m_strName = "幕";
    db.FillReverseLists();
    ASSERT_EQ(db.m_CharaEffectsReverse.size(), 3u);
    EXPECT_EQ(db.m_CharaEffectsReverse[2].m_nKind, 7);
    ASSERT_EQ(db.m_ScrEffectsReverse.size(), 2u);
    EXPECT_EQ(db.m_ScrEffectsReverse[1].m_strName, "幕");
}

namespace {

// A pattern step as the animator keeps one: frame, ticks, a lock byte.
struct cStep {
    int nFrame;
    int nTicks;
    unsigned char byLock;
    bool operator==(const cStep&) const = default;
};
using cPatterns = cSafeVector<cSafeVector<cStep>>;

cAnimeData Anime(std::initializer_list<std::array<int, 3>> frames)
{
    cAnimeData anime;
    anime.m_Frames.clear();
    for (const auto& f : frames) {
        cAnimeFrameData frame;
        frame.m_nFrame = f[0];
        frame.m_nDuration = f[1];
        frame.m_bLock = f[2];
        anime.m_Frames.push_back(frame);
    }
    return anime;
}

}  // namespace

TEST(DatabaseTables, AnimationPatternsHoldEntryZeroForGoodAndLockFromTheFirstLockedFrame)
{
    qbtest::cDataSettingsScope settings;
    cGlobalDatabaseScope keep;
    const cAnimeData frames = Anime({{3, 2, 0}, {4, 1, 1}, {5, 1, 0}});
    g_Database.m_Animes = {frames, Anime({}), Anime({{1, 0x7FFFFFFF, 0}}), frames};
    cPatterns patterns(7);
    BuildAnimeTables(patterns);
    ASSERT_EQ(patterns.size(), 4u);
    EXPECT_EQ(patterns[3], (cSafeVector<cStep>{{3, 12, 0}, {4, 6, 1}, {5, 6, 1}, {-4, 0, 0}}));
    EXPECT_EQ(patterns[0], (cSafeVector<cStep>{{3, 0, 1}, {4, 0, 1}, {5, 0, 1}, {-2, 0, 1}}));
    EXPECT_EQ(patterns[1], (cSafeVector<cStep>{{-4, 0, 0}}));
    // Ticks wrap as the 32-bit product does.
    EXPECT_EQ(patterns[2], (cSafeVector<cStep>{{1, -6, 0}, {-4, 0, 0}}));
}

TEST(DatabaseTables, EffectPatternsNeverLockBeyondEntryZero)
{
    qbtest::cDataSettingsScope settings;
    cGlobalDatabaseScope keep;
    g_Database.m_Effects.assign(2, cEffectData());
    for (cEffectData& effect : g_Database.m_Effects) {
        effect.m_Frames.resize(2);
        effect.m_Frames[0].m_nFrame = 8;
        effect.m_Frames[0].m_nDuration = 3;
        effect.m_Frames[1].m_nFrame = 9;
        effect.m_Frames[1].m_nDuration = 1;
    }
    cPatterns patterns;
    BuildEffectTables(patterns);
    ASSERT_EQ(patterns.size(), 2u);
    EXPECT_EQ(patterns[0], (cSafeVector<cStep>{{8, 0, 1}, {9, 0, 1}, {-2, 0, 1}}));
    EXPECT_EQ(patterns[1], (cSafeVector<cStep>{{8, 18, 0}, {9, 6, 0}, {-4, 0, 0}}));
}

TEST(DatabaseTables, EffectTemplatesAreMadeForEveryEntryNormalThenReversed)
{
    qbtest::cDataSettingsScope settings;
    cGlobalDatabaseScope keep;
    g_Database.m_CharaEffects.resize(3);
    g_Database.m_ScrEffects.resize(1);
    struct cTemplate { int nId = -1; int bReversed = -1; int nOrder = -1; };
    cSafeVector<cTemplate> normal(5), reverse(5);
    int order = 0;
    auto init = [&order](cTemplate& t, int id, int reversed) {
        EXPECT_EQ(t.nId, -1);  // a fresh record
        t = {id, reversed, order++};
    };
    InitCharaEffectSlots(normal, reverse, init);
    ASSERT_EQ(normal.size(), 3u);
    ASSERT_EQ(reverse.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(normal[i].nId, i);
        EXPECT_EQ(normal[i].bReversed, 0);
        EXPECT_EQ(normal[i].nOrder, 2 * i);
        EXPECT_EQ(reverse[i].nId, i);
        EXPECT_EQ(reverse[i].bReversed, 1);
        EXPECT_EQ(reverse[i].nOrder, 2 * i + 1);
    }
    InitScreenEffectSlots(normal, reverse, init);
    EXPECT_EQ(normal.size(), 1u);
    EXPECT_EQ(reverse.size(), 1u);
}
