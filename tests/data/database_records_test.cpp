// The database lists: their defaults, exact round trips of every file, and files of older
// versions at both sides of every version that changed an entry.
#include <gtest/gtest.h>

#include <functional>

#include "data/database.h"
#include "tests/data/database_fixtures.h"
#include "tests/data/record_test_support.h"

using qbtest::cDatabaseFileBuilder;
using qbtest::DistinctDatabaseFile;

namespace {

// Reads a database file image into list `file` of db; true when it was read whole.
bool ReadFile(cDatabase& db, int file, const std::string& image)
{
    cDataReader reader(image);
    return db.ReadList(file, reader) && reader.Remaining() == 0;
}

std::string WriteFile(cDatabase& db, int file)
{
    cDataWriter writer;
    db.WriteList(file, writer);
    return writer.Image();
}

}  // namespace

TEST(DatabaseDefaults, AreTheListsOfAGameWithoutDatabaseFiles)
{
    qbtest::cDataSettingsScope settings;
    cDatabase db;
    ASSERT_EQ(db.m_AnimeSets.size(), 1u);
    const cAnimeSetData& set = db.m_AnimeSets[0];
    EXPECT_EQ(set.m_nRowOffsetA, 4);
    EXPECT_EQ(set.m_nRowOffsetB, 8);
    EXPECT_EQ(set.m_nRowOffsetC, 0);
    ASSERT_EQ(set.m_Slots.size(), 4u);
    const char* slotNames[] = {"立ち", "立ち移動", "飛行", "飛行移動"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(set.m_Slots[i].m_strName, slotNames[i]);
        ASSERT_EQ(set.m_Slots[i].m_Frames.size(), 1u);
    }
    ASSERT_EQ(db.m_Animes.size(), 2u);
    EXPECT_EQ(db.m_Animes[0].m_strName, "なし");
    EXPECT_EQ(db.m_Animes[1].m_strName, "アクションA");
    for (const cAnimeData& anime : db.m_Animes) {
        ASSERT_EQ(anime.m_Frames.size(), 1u);
        EXPECT_EQ(anime.m_Frames[0].m_nFrame, 0);
        EXPECT_EQ(anime.m_Frames[0].m_nDuration, 1);
        EXPECT_EQ(anime.m_Frames[0].m_bLock, 0);
        EXPECT_EQ(anime.m_byExtra, 1);
        EXPECT_EQ(anime.m_shExtraA, 0);
    }
    ASSERT_EQ(db.m_SwordTypes.size(), 1u);
    ASSERT_EQ(db.m_SwordTypes[0].m_Frames.size(), 1u);
    EXPECT_EQ(db.m_SwordTypes[0].m_Frames[0].m_bFlipX, 1);
    EXPECT_EQ(db.m_SwordTypes[0].m_Frames[0].m_nDuration, 1);
    ASSERT_EQ(db.m_Effects.size(), 2u);
    for (const cEffectData& effect : db.m_Effects) {
        EXPECT_EQ(effect.m_nWidth, 32);
        EXPECT_EQ(effect.m_nHeight, 32);
        EXPECT_TRUE(effect.m_Frames.empty());
    }
    for (int file : {DATABASE_BMPCHARAEXC, DATABASE_CHARAEFFECT, DATABASE_SCREFFECT, DATABASE_PICTURE, DATABASE_SOUND, DATABASE_BGM})
        EXPECT_EQ(db.Count(file), 2u) << file;
    EXPECT_TRUE(db.m_CharaEffectsReverse.empty());
    EXPECT_TRUE(db.m_ScrEffectsReverse.empty());
}

TEST(DatabaseFiles, EveryFileWithADistinctValueInEveryFieldWritesBackByteIdentical)
{
    qbtest::cDataSettingsScope settings;
    for (int file = 0; file < DATABASE_FILES; ++file) {
        for (int entries : {0, 1, 3}) {
            const std::string image = DistinctDatabaseFile(file, entries);
            cDatabase db;
            ASSERT_TRUE(ReadFile(db, file, image)) << file << " " << entries;
            EXPECT_EQ(db.Count(file), static_cast<std::size_t>(entries));
            EXPECT_EQ(WriteFile(db, file), image) << file << " " << entries;
        }
    }
}

TEST(DatabaseFiles, ListsFromOtherFilesAreCopiedWithTheEntryReadOverInPlace)
{
    // Anime files of version 54 store no scalar values: entries already present and new ones
    // keep their defaults, and take the names and frames of the file.
    qbtest::cDataSettingsScope settings;
    cDatabaseFileBuilder b(54, 3);
    for (const char* name : {"甲", "乙", "丙"}) b.Anime({name, 7, 7, 7, {{5, 6, 1}}});
    cDatabase db;
    db.m_Animes[1].m_shExtraA = 99;  // read over in place: a value the file lacks stays
    ASSERT_TRUE(ReadFile(db, DATABASE_ANIME, b.Str()));
    ASSERT_EQ(db.m_Animes.size(), 3u);
    const char* names[] = {"甲", "乙", "丙"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(db.m_Animes[i].m_strName, names[i]);
        EXPECT_EQ(db.m_Animes[i].m_byExtra, 1);
        ASSERT_EQ(db.m_Animes[i].m_Frames.size(), 1u);
        EXPECT_EQ(db.m_Animes[i].m_Frames[0].m_nFrame, 5);
    }
    EXPECT_EQ(db.m_Animes[0].m_shExtraA, 0);
    EXPECT_EQ(db.m_Animes[1].m_shExtraA, 99);
}

// One fixture per side of each version at which an entry changed; check states what the
// Part's reading gives.
TEST(DatabaseFiles, OlderFilesReadAsTheirVersionStoredThem)
{
    qbtest::cDataSettingsScope settings;
    using qbtest::AnimeSetValues;
    using qbtest::AnimeValues;
    auto slots = [](std::initializer_list<const char*> names) {
        std::vector<AnimeValues> list;
        for (const char* name : names) list.push_back({name, 0, 1, 0, {{1, 2, 0}}});
        return list;
    };
    auto names = [](const cAnimeSetData& set) {
        std::string all;
        for (const cAnimeData& slot : set.m_Slots) all += slot.m_strName + "|";
        return all;
    };
    struct Case {
        const char* what;
        int file;
        std::string image;
        std::function<void(const cDatabase&)> check;
    };
    const Case cases[] = {
        {"anime 54: no scalar values", DATABASE_ANIME, cDatabaseFileBuilder(54, 1).Anime({"a", 5, 6, 7, {}}).Str(),
         [](const cDatabase& db) { EXPECT_EQ(db.m_Animes[0].m_shExtraA, 0); EXPECT_EQ(db.m_Animes[0].m_byExtra, 1); EXPECT_EQ(db.m_Animes[0].m_shExtraB, 0); }},
        {"anime 55: three small values", DATABASE_ANIME, cDatabaseFileBuilder(55, 1).Anime({"a", -5, 200, 7, {}}).Str(),
         [](const cDatabase& db) { EXPECT_EQ(db.m_Animes[0].m_shExtraA, -5); EXPECT_EQ(db.m_Animes[0].m_byExtra, 200); EXPECT_EQ(db.m_Animes[0].m_shExtraB, 7); }},
        {"animeset 118: two slots become four", DATABASE_ANIMESET, cDatabaseFileBuilder(118, 1).AnimeSet({"s", 1, 2, 3, slots({"x", "y"})}).Str(),
         [&](const cDatabase& db) {
             EXPECT_EQ(names(db.m_AnimeSets[0]), "x|y|飛行|飛行移動|");
             EXPECT_EQ(db.m_AnimeSets[0].m_nRowOffsetC, 0);
             EXPECT_EQ(db.m_AnimeSets[0].m_Slots[3].m_Frames.size(), 1u);
         }},
        {"animeset 119: offset C; six slots cut to four and renamed", DATABASE_ANIMESET,
         cDatabaseFileBuilder(119, 1).AnimeSet({"s", 1, 2, 3, slots({"a", "b", "c", "d", "e", "f"})}).Str(),
         [&](const cDatabase& db) { EXPECT_EQ(names(db.m_AnimeSets[0]), "a|b|飛行|飛行移動|"); EXPECT_EQ(db.m_AnimeSets[0].m_nRowOffsetC, 3); }},
        {"animeset 127: renamed", DATABASE_ANIMESET, cDatabaseFileBuilder(127, 1).AnimeSet({"s", 1, 2, 3, slots({"a", "b", "c", "d", "e", "f"})}).Str(),
         [&](const cDatabase& db) { EXPECT_EQ(names(db.m_AnimeSets[0]), "a|b|飛行|飛行移動|"); }},
        {"animeset 128: slots as stored", DATABASE_ANIMESET, cDatabaseFileBuilder(128, 1).AnimeSet({"s", 1, 2, 3, slots({"a", "b", "c", "d", "e", "f"})}).Str(),
         [&](const cDatabase& db) { EXPECT_EQ(names(db.m_AnimeSets[0]), "a|b|c|d|e|f|"); }},
        {"sword 137: no flip switches", DATABASE_SWORDTYPE,
         cDatabaseFileBuilder(137, 1).SwordType({"w", 0, "f", "g", {{{1, 2, 30, 40, 5, 6, 7, 8, 9, 10}}}}).Str(),
         [](const cDatabase& db) {
             const cSwordFrameData& f = db.m_SwordTypes[0].m_Frames.at(0);
             EXPECT_EQ(f.m_nOffsetX, 1); EXPECT_EQ(f.m_nOffsetY, 2);
             EXPECT_EQ(f.m_bFlipX, 1); EXPECT_EQ(f.m_bFlipY, 0);  // the copied element's
             EXPECT_EQ(f.m_nPlacement, 5); EXPECT_EQ(f.m_nDuration, 10);
         }},
        {"sword 138: flip switches", DATABASE_SWORDTYPE,
         cDatabaseFileBuilder(138, 1).SwordType({"w", 0, "f", "g", {{{1, 2, 0, 40, 5, 6, 7, 8, 9, 10}}}}).Str(),
         [](const cDatabase& db) {
             const cSwordFrameData& f = db.m_SwordTypes[0].m_Frames.at(0);
             EXPECT_EQ(f.m_bFlipX, 0); EXPECT_EQ(f.m_bFlipY, 40); EXPECT_EQ(f.m_nPlacement, 5);
         }},
        {"picture 150: no added int", DATABASE_PICTURE, cDatabaseFileBuilder(150, 1).FileEntry({"p", 7, "f"}).Str(),
         [](const cDatabase& db) { EXPECT_EQ(db.m_Pictures[0].m_nReserved, 0); EXPECT_EQ(db.m_Pictures[0].m_strFile, "f"); }},
        {"picture 152: added int cleared", DATABASE_PICTURE, cDatabaseFileBuilder(152, 1).FileEntry({"p", 7, "f"}).Str(),
         [](const cDatabase& db) { EXPECT_EQ(db.m_Pictures[0].m_nReserved, 0); }},
        {"picture 153: added int kept", DATABASE_PICTURE, cDatabaseFileBuilder(153, 1).FileEntry({"p", 7, "f"}).Str(),
         [](const cDatabase& db) { EXPECT_EQ(db.m_Pictures[0].m_nReserved, 7); }},
        {"sound 152: added int cleared", DATABASE_SOUND, cDatabaseFileBuilder(152, 1).FileEntry({"p", 7, "f"}).Str(),
         [](const cDatabase& db) { EXPECT_EQ(db.m_Sounds[0].m_nReserved, 0); }},
        {"bgm 153: added int kept", DATABASE_BGM, cDatabaseFileBuilder(153, 1).FileEntry({"p", 7, "f"}).Str(),
         [](const cDatabase& db) { EXPECT_EQ(db.m_Bgms[0].m_nReserved, 7); }},
        {"sword 150: no added int", DATABASE_SWORDTYPE, cDatabaseFileBuilder(150, 1).SwordType({"w", 7, "f", "g", {}}).Str(),
         [](const cDatabase& db) { EXPECT_EQ(db.m_SwordTypes[0].m_nReserved, 0); EXPECT_EQ(db.m_SwordTypes[0].m_strFile2, "g"); }},
        {"sword 151: added int cleared", DATABASE_SWORDTYPE, cDatabaseFileBuilder(151, 1).SwordType({"w", 7, "f", "g", {}}).Str(),
         [](const cDatabase& db) { EXPECT_EQ(db.m_SwordTypes[0].m_nReserved, 0); }},
        {"sword 153: added int kept", DATABASE_SWORDTYPE, cDatabaseFileBuilder(153, 1).SwordType({"w", 7, "f", "g", {}}).Str(),
         [](const cDatabase& db) { EXPECT_EQ(db.m_SwordTypes[0].m_nReserved, 7); }},
        {"effect 150: no added int", DATABASE_EFFECT, cDatabaseFileBuilder(150, 1).Effect({"e", 7, "f", 10, 11, 1, {{3, 4}}}).Str(),
         [](const cDatabase& db) {
             EXPECT_EQ(db.m_Effects[0].m_nReserved, 0); EXPECT_EQ(db.m_Effects[0].m_nWidth, 10);
             EXPECT_EQ(db.m_Effects[0].m_nHeight, 11); EXPECT_EQ(db.m_Effects[0].m_bScaleWithChara, 1);
         }},
        {"effect 152: added int cleared", DATABASE_EFFECT, cDatabaseFileBuilder(152, 1).Effect({"e", 7, "f", 10, 11, 1, {}}).Str(),
         [](const cDatabase& db) { EXPECT_EQ(db.m_Effects[0].m_nReserved, 0); EXPECT_EQ(db.m_Effects[0].m_nWidth, 10); }},
        {"effect 153: added int kept", DATABASE_EFFECT, cDatabaseFileBuilder(153, 1).Effect({"e", 7, "f", 10, 11, 1, {}}).Str(),
         [](const cDatabase& db) { EXPECT_EQ(db.m_Effects[0].m_nReserved, 7); }},
        {"bitmap 151: no added int, no cells", DATABASE_BMPCHARAEXC, cDatabaseFileBuilder(151, 1).BmpCharaExc({"b", 7, "f", 1, 2}).Str(),
         [](const cDatabase& db) { EXPECT_EQ(db.m_BmpCharaExcs[0].m_nReserved, 0); EXPECT_EQ(db.m_BmpCharaExcs[0].m_bLargeCell, 0); }},
        {"bitmap 152: added int cleared", DATABASE_BMPCHARAEXC, cDatabaseFileBuilder(152, 1).BmpCharaExc({"b", 7, "f", 1, 2}).Str(),
         [](const cDatabase& db) { EXPECT_EQ(db.m_BmpCharaExcs[0].m_nReserved, 0); EXPECT_EQ(db.m_BmpCharaExcs[0].m_strFile, "f"); }},
        {"bitmap 171: added int, no cells", DATABASE_BMPCHARAEXC, cDatabaseFileBuilder(171, 1).BmpCharaExc({"b", 7, "f", 1, 2}).Str(),
         [](const cDatabase& db) {
             EXPECT_EQ(db.m_BmpCharaExcs[0].m_nReserved, 7); EXPECT_EQ(db.m_BmpCharaExcs[0].m_bLargeCell, 0);
             EXPECT_EQ(db.m_BmpCharaExcs[0].m_nCellSize, 0);
         }},
        {"bitmap 172: cells", DATABASE_BMPCHARAEXC, cDatabaseFileBuilder(172, 1).BmpCharaExc({"b", 7, "f", 1, 2}).Str(),
         [](const cDatabase& db) { EXPECT_EQ(db.m_BmpCharaExcs[0].m_bLargeCell, 1); EXPECT_EQ(db.m_BmpCharaExcs[0].m_nCellSize, 2); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cDatabase db;
        ASSERT_TRUE(ReadFile(db, c.file, c.image));
        ASSERT_EQ(db.Count(c.file), 1u);
        c.check(db);
        // Whatever the version read, the list writes at the current version and reads back.
        const std::string current = WriteFile(db, c.file);
        cDatabase again;
        ASSERT_TRUE(ReadFile(again, c.file, current));
        EXPECT_EQ(WriteFile(again, c.file), current);
    }
}

TEST(DatabaseFiles, EffectParametersOldFilesLackTakeTheirKindsDefaultsUpToVersion510)
{
    qbtest::cDataSettingsScope settings;
    struct Case { int file; std::uint32_t version; int kind; int expected[5]; } cases[] = {
        {DATABASE_CHARAEFFECT, 510, 4, {10, 0, 32, 2, 2}},
        {DATABASE_CHARAEFFECT, 510, 5, {10, 0, 32, 2, 2}},
        {DATABASE_CHARAEFFECT, 511, 4, {10, 0, 32, 2, 0}},
        {DATABASE_CHARAEFFECT, 300, 10, {10, 0, 32, 2, 0}},
        {DATABASE_CHARAEFFECT, 511, 10, {10, 0, 32, 0, 0}},
        {DATABASE_CHARAEFFECT, 510, 6, {10, 0, 32, 0, 0}},
        {DATABASE_SCREFFECT, 510, 6, {10, 0, 32, 0, 8}},
        {DATABASE_SCREFFECT, 510, 7, {10, 0, 32, 0, 10}},
        {DATABASE_SCREFFECT, 300, 10, {10, 0, 32, 8, 0}},
        {DATABASE_SCREFFECT, 511, 6, {10, 0, 32, 0, 0}},
        {DATABASE_SCREFFECT, 692, 10, {10, 0, 32, 0, 0}},
        {DATABASE_SCREFFECT, 510, 4, {10, 0, 32, 0, 0}},
    };
    for (const Case& c : cases) {
        // The fourth parameter is stored as 2 for chara kind 4 and 5 (so only the fifth
        // changes), else as 0.
        const int stored4 = (c.file == DATABASE_CHARAEFFECT && (c.kind == 4 || c.kind == 5)) ? 2 : 0;
        const std::string image =
            cDatabaseFileBuilder(c.version, 1).EffectKind({"e", c.kind, {10, 0, 32, stored4, 0}}).Str();
        cDatabase db;
        ASSERT_TRUE(ReadFile(db, c.file, image));
        const int* params = c.file == DATABASE_CHARAEFFECT ? db.m_CharaEffects[0].m_nParams : db.m_ScrEffects[0].m_nParams;
        for (int p = 0; p < 5; ++p) EXPECT_EQ(params[p], c.expected[p]) << c.file << " v" << c.version << " kind " << c.kind << " p" << p;
    }
}

TEST(DatabaseFiles, AnEntryCountTheBytesLeftCannotHoldFailsBeforeAnythingIsSized)
{
    qbtest::cDataSettingsScope settings;
    const std::string one = DistinctDatabaseFile(DATABASE_BGM, 1);
    for (std::uint32_t count : {2u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
        std::string image = one;
        for (int i = 0; i < 4; ++i) image[4 + i] = static_cast<char>((count >> (8 * i)) & 0xFF);
        cDatabase db;
        cDataReader reader(image);
        EXPECT_FALSE(db.ReadList(DATABASE_BGM, reader)) << count;
        EXPECT_TRUE(reader.Failed());
    }
}

TEST(DatabaseEntries, BitmapCellSizesOutsideOneToSixteenAreUsedAsOne)
{
    struct Case { int large, stored, usable, dots, perRow; } cases[] = {
        {1, 1, 1, 32, 16}, {1, 2, 2, 64, 8}, {1, 16, 16, 512, 1}, {1, 0, 1, 32, 16},
        {1, -3, 1, 32, 16}, {1, 17, 1, 32, 16}, {1, 3, 3, 96, 5}, {0, 4, 4, 32, 16}, {0, 0, 1, 32, 16},
    };
    for (const Case& c : cases) {
        cBmpCharaExcData entry;
        entry.m_bLargeCell = c.large;
        entry.m_nCellSize = c.stored;
        EXPECT_EQ(entry.UsableCellSize(), c.usable) << c.stored;
        EXPECT_EQ(entry.CellDots(), c.dots) << c.stored;
        EXPECT_EQ(entry.CellsPerRow(), c.perRow) << c.stored;
    }
}

TEST(DatabaseEntries, AReferenceToTheFirstEntryIsOneOnlyWhenTheListHasOne)
{
    cSafeVector<cPictureData> pictures;
    EXPECT_EQ(FirstEntryOrNone(pictures), 0);
    pictures.resize(1);
    EXPECT_EQ(FirstEntryOrNone(pictures), 0);
    pictures.resize(2);
    EXPECT_EQ(FirstEntryOrNone(pictures), 1);
}
