// System data written by older versions: which members each version stored, and the fix-ups
// that files older than a version get. Fixtures are built from the layout by hand.
#include <gtest/gtest.h>

#include <vector>

#include "data/system_data.h"
#include "tests/data/record_test_support.h"
#include "tests/data/system_file_builder.h"

using qbtest::BuildSystemFile;
using qbtest::ReadImage;
using qbtest::SystemFileValues;

namespace {

// Reads a fixture of a version into a record that starts with its defaults.
cSystemData ReadAt(const SystemFileValues& values, std::uint32_t version)
{
    cSystemData data;
    EXPECT_EQ(ReadImage(data, BuildSystemFile(values, version).bytes), 1) << "version " << version;
    return data;
}

struct ScalarRow {
    const char* name;
    std::uint32_t from;                       // the first version that stores it
    int SystemFileValues::*stored;
    int (*read)(const cSystemData&);
    int older;                                // its value after reading a file that lacks it
};

#define SCALAR(member, from, older) \
    ScalarRow{#member, from, &SystemFileValues::member, [](const cSystemData& d) { return static_cast<int>(d.member); }, older}

// Every scalar but m_bColorAnim and m_bSummonSwitch, whose fix-ups depend on more than the
// version (tested below).
const ScalarRow kScalars[] = {
    SCALAR(m_bExtraLifeByScore, 185, 1),
    SCALAR(m_nExtraLifeScore, 0, 0),
    SCALAR(m_bPauseHidesObjects, 0, 0),
    SCALAR(m_bUseLetterImages, 0, 0),
    SCALAR(m_nFontIndex, 205, 60),
    SCALAR(m_bCenterChars, 170, 0),
    SCALAR(m_bKeepMarkedFlows, 113, 0),
    SCALAR(m_bRecordReplay, 184, 1),
    SCALAR(m_bMenuPictures, 157, 0),
    SCALAR(m_bStoryKeepLives, 0, 0),
    SCALAR(m_bStoryContinue, 191, 0),
    SCALAR(m_bMapShowLives, 191, 0),
    SCALAR(m_nChallengeStages, 0, 0),
    SCALAR(m_bChallengeAllOpen, 0, 0),
    SCALAR(m_bMapShowScore, 167, 1),
    SCALAR(m_bMenuShowTotal, 167, 1),
    SCALAR(m_bRetryRestoreStory, 188, 1),
    SCALAR(m_bPauseRetryStory, 224, 0),
    SCALAR(m_bSelectShowHighScore, 167, 1),
    SCALAR(m_bSelectShowTotal, 167, 1),
    SCALAR(m_bRetryRestoreChallenge, 188, 1),
    SCALAR(m_bPauseRetryChallenge, 224, 0),
    SCALAR(m_bRetryRestoreFree, 188, 1),
    SCALAR(m_bRetryRestoreTest, 192, 1),
    SCALAR(m_bFullColor, 187, 0),
    SCALAR(m_byTransR, 187, 0),
    SCALAR(m_byTransG, 187, 177),
    SCALAR(m_byTransB, 187, 0),
    SCALAR(m_bScrollFollow, 214, 1),
    SCALAR(m_bScaleByHeight, 261, 1),
    SCALAR(m_bHitCheckSwitch, 272, 0),
    SCALAR(m_bPaletteChangeD3D, 287, 0),
    SCALAR(m_nColorAnimStep, 515, 16),
    SCALAR(m_bRunMarkedTriggers, 525, 1),
    SCALAR(m_bShotSwitch, 555, 1),
    SCALAR(m_bConditionSwitch, 669, 1),
    SCALAR(m_bLandingSwitch, 677, 1),
    SCALAR(m_nAutoDepthD3D, 670, 0),
    SCALAR(m_nAutoDepthDD, 670, 2),
};

// Both sides of every version that changed the layout or runs a fix-up, and the extremes.
const std::uint32_t kSystemVersions[] = {
    0, 112, 113, 156, 157, 166, 167, 168, 169, 170, 180, 181, 183, 184, 185, 186, 187, 188, 190, 191,
    192, 193, 200, 201, 202, 203, 204, 205, 209, 210, 213, 214, 220, 221, 223, 224, 236, 259, 260, 261,
    271, 272, 285, 286, 287, 288, 289, 500, 501, 514, 515, 524, 525, 554, 555, 566, 567, 568, 586, 587,
    616, 617, 636, 637, 668, 669, 670, 671, 672, 673, 674, 676, 677, 691, 692, 693, 0xFFFFFFFF,
};

std::vector<std::string> Labels(const cSafeVector<cMenuItemData>& menu)
{
    std::vector<std::string> labels;
    for (const cMenuItemData& item : menu) labels.push_back(item.m_strLabel);
    return labels;
}

}  // namespace

TEST(SystemDataVersions, EachVersionStoresItsMembersAndTheOthersTakeTheirFixUps)
{
    qbtest::cDataSettingsScope settings(1, 100);
    const SystemFileValues stored = qbtest::DistinctSystemValues();
    for (std::uint32_t version : kSystemVersions) {
        SCOPED_TRACE(testing::Message() << "version " << version);
        const cSystemData data = ReadAt(stored, version);
        for (const ScalarRow& row : kScalars) {
            const int expected = version >= row.from ? stored.*row.stored : row.older;
            EXPECT_EQ(row.read(data), expected) << row.name;
        }
        EXPECT_EQ(data.m_strTitle, stored.m_strTitle);
        // Lists that no fix-up touches hold what the file stored: the tail was read in step.
        EXPECT_EQ(data.m_StartLives, cSafeVector<int>(stored.m_StartLives.begin(), stored.m_StartLives.end()));
        EXPECT_EQ(data.m_SoundFiles, cSafeVector<std::string>(stored.m_SoundFiles.begin(), stored.m_SoundFiles.end()));
        EXPECT_EQ(data.m_ScreenBgm, cSafeVector<int>(stored.m_ScreenBgm.begin(), stored.m_ScreenBgm.end()));
        EXPECT_EQ(Labels(data.m_TitleMenu), Labels(ReadAt(stored, 692).m_TitleMenu));
        EXPECT_EQ(Labels(data.m_OptionMenu), Labels(ReadAt(stored, 692).m_OptionMenu));
        ASSERT_EQ(data.m_StatusItems.size(), 5u);
        for (int i = 0; i < 5; ++i) {
            const cStatusItemData& item = data.m_StatusItems[i];
            const qbtest::SystemStatusItem& file = stored.m_StatusItems[i];
            EXPECT_EQ(item.m_strLabel, file.m_strLabel);
            EXPECT_EQ(item.m_nDigits, file.m_nDigits);
            EXPECT_EQ(item.m_bGaugeNumber, version >= 204 ? file.m_bGaugeNumber : 1);
            const bool gauge = i == 2 || i == 3;
            EXPECT_EQ(item.m_nLowLevel, version >= 587 ? file.m_nLowLevel : gauge ? 33 : 0) << i;
            EXPECT_EQ(item.m_bLowPercent, version >= 587 ? file.m_bLowPercent : gauge ? 1 : 0) << i;
        }
    }
}

TEST(SystemDataVersions, TheIntOnlyVersions221To259StoredIsReadAndDropped)
{
    qbtest::cDataSettingsScope settings(1, 100);
    SystemFileValues stored = qbtest::DistinctSystemValues();
    stored.discarded = 0x5A5A5A5A;
    for (std::uint32_t version : {221u, 236u, 259u}) {
        const cSystemData data = ReadAt(stored, version);
        EXPECT_EQ(data.m_bScrollFollow, stored.m_bScrollFollow) << version;
        EXPECT_EQ(data.m_bScaleByHeight, 1) << version;
        EXPECT_EQ(data.m_strTitle, stored.m_strTitle) << version;
    }
}

TEST(SystemDataVersions, ColourAnimationIsOnForOlderPaletteGamesOnly)
{
    qbtest::cDataSettingsScope settings;
    struct Case { std::uint32_t version; int fullColor; int colorAnim; int expected; } cases[] = {
        {186, 1, 5, 1},   // no colour format stored: palette game
        {288, 0, 5, 1},
        {288, 1, 5, 0},
        {289, 0, 5, 5},   // stored from here on
    };
    for (const Case& c : cases) {
        SystemFileValues stored = qbtest::DefaultSystemValues();
        stored.m_bFullColor = c.fullColor;
        stored.m_bColorAnim = c.colorAnim;
        EXPECT_EQ(ReadAt(stored, c.version).m_bColorAnim, c.expected) << c.version << " " << c.fullColor;
    }
}

TEST(SystemDataVersions, SummonRoundingIsOnUpTo616AndOffFrom617)
{
    qbtest::cDataSettingsScope settings;
    SystemFileValues stored = qbtest::DefaultSystemValues();
    stored.m_bSummonSwitch = 9;
    struct Case { std::uint32_t version; int expected; } cases[] = {{300, 1}, {616, 1}, {617, 0}, {636, 0}, {637, 9}};
    for (const Case& c : cases) EXPECT_EQ(ReadAt(stored, c.version).m_bSummonSwitch, c.expected) << c.version;
}

TEST(SystemDataVersions, CarryFlagsGetTheirInsertedEntries)
{
    qbtest::cDataSettingsScope settings;
    auto flags = [](int from, int n) {
        std::vector<std::uint8_t> list;
        for (int i = 0; i < n; ++i) list.push_back(static_cast<std::uint8_t>(from + i));
        return list;
    };
    auto join = [](std::initializer_list<std::vector<std::uint8_t>> parts) {
        cSafeVector<BYTE> all;
        for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    // Stored flags are 100, 101, ...; the inserts put 1 at 16 (before 168), 0 at 14 (before
    // 201) and 0 at 9 (before 210), each in a list kept at 25.
    struct Case { std::uint32_t version; int stored; cSafeVector<BYTE> expected; } cases[] = {
        {167, 22, join({flags(100, 9), {0}, flags(109, 5), {0}, flags(114, 2), {1}, flags(116, 6)})},
        {168, 23, join({flags(100, 9), {0}, flags(109, 5), {0}, flags(114, 9)})},
        {200, 23, join({flags(100, 9), {0}, flags(109, 5), {0}, flags(114, 9)})},
        {201, 24, join({flags(100, 9), {0}, flags(109, 15)})},
        {209, 24, join({flags(100, 9), {0}, flags(109, 15)})},
        {210, 25, join({flags(100, 25)})},
    };
    for (const Case& c : cases) {
        SystemFileValues stored = qbtest::DefaultSystemValues();
        stored.m_CarryFlags = flags(100, c.stored);
        EXPECT_EQ(ReadAt(stored, c.version).m_CarryFlags, c.expected) << c.version;
    }
}

TEST(SystemDataVersions, TextsGetTheirInsertedEntriesInTheOrderTheFormatGrew)
{
    qbtest::cDataSettingsScope settings;
    auto texts = [](int n) {
        std::vector<std::string> list;
        for (int i = 0; i < n; ++i) list.push_back("t" + std::to_string(i));
        return list;
    };
    const std::string on = "オートセーブＯＮ", off = "オートセーブＯＦＦ", where = "保存先が不明です！一度は「セーブ」して下さい！";
    const std::string hp = "残りHP", sp = "残りSP", retry = "リトライ", map = "マップへ戻る";
    struct Case { std::uint32_t version; int stored; std::vector<std::string> expected; } cases[] = {
        {168, 21, {"t0", "t1", "t2", "t3", "t4", "t5", "t6", "t7", hp, sp, "t8", "t9", "t10", "t11", on, off, where,
                   "t12", "t13", "t14", "t15", "t16", retry, map, "t17", "t18", "t19", "t20"}},
        {169, 24, {"t0", "t1", "t2", "t3", "t4", "t5", "t6", "t7", hp, sp, "t8", "t9", "t10", "t11", "t12", "t13",
                   "t14", "t15", "t16", "t17", "t18", "t19", retry, map, "t20", "t21", "t22", "t23"}},
        {180, 26, {"t0", "t1", "t2", "t3", "t4", "t5", "t6", "t7", hp, sp, "t8", "t9", "t10", "t11", "t12", "t13",
                   "t14", "t15", "t16", "t17", "t18", "t19", retry, map, "t20", "t21", "t22", "t23"}},
        {181, 26, {"t0", "t1", "t2", "t3", "t4", "t5", "t6", "t7", "t8", "t9", "t10", "t11", "t12", "t13", "t14",
                   "t15", "t16", "t17", "t18", "t19", "t20", "t21", retry, map, "t22", "t23", "t24", "t25"}},
        {192, 26, {"t0", "t1", "t2", "t3", "t4", "t5", "t6", "t7", "t8", "t9", "t10", "t11", "t12", "t13", "t14",
                   "t15", "t16", "t17", "t18", "t19", "t20", "t21", retry, map, "t22", "t23", "t24", "t25"}},
        {193, 26, texts(26)},
    };
    for (const Case& c : cases) {
        SystemFileValues stored = qbtest::DefaultSystemValues();
        stored.m_Texts = texts(c.stored);
        const cSystemData data = ReadAt(stored, c.version);
        EXPECT_EQ(std::vector<std::string>(data.m_Texts.begin(), data.m_Texts.end()), c.expected) << c.version;
    }
}

TEST(SystemDataVersions, StoryMenuGetsTheAutoSaveItemBefore169)
{
    qbtest::cDataSettingsScope settings;
    SystemFileValues stored = qbtest::DefaultSystemValues();
    stored.m_StoryMenu = {{0, "セーブ"}, {1, "もどる"}, {1, "タイトルへ"}};
    const cSystemData older = ReadAt(stored, 168);
    EXPECT_EQ(Labels(older.m_StoryMenu), (std::vector<std::string>{"セーブ", "オートセーブ", "もどる", "タイトルへ"}));
    EXPECT_EQ(older.m_StoryMenu[0].m_bEnabled, 0);
    EXPECT_EQ(older.m_StoryMenu[1].m_bEnabled, 1);
    EXPECT_EQ(Labels(ReadAt(stored, 169).m_StoryMenu), (std::vector<std::string>{"セーブ", "もどる", "タイトルへ"}));
}

TEST(SystemDataVersions, ListsAFileLacksKeepTheirDefaultsOrTakeTheirFixUps)
{
    qbtest::cDataSettingsScope settings;
    const SystemFileValues stored = qbtest::DistinctSystemValues();
    qbtest::SetBgmRecords(100);
    auto flagsOf = [](const cSystemData& d, int mode) { return d.m_ModeResults[mode].m_ValueFlags; };

    // Mode results are stored from 186; before 181 the fifth and fourth value flags go off.
    const cSystemData v180 = ReadAt(stored, 180);
    EXPECT_EQ(flagsOf(v180, 0), (cSafeVector<BYTE>{1, 1, 1, 0, 0}));
    EXPECT_EQ(flagsOf(v180, 3), (cSafeVector<BYTE>{0, 0, 0, 0, 0}));
    EXPECT_EQ(flagsOf(ReadAt(stored, 181), 0), (cSafeVector<BYTE>{1, 1, 1, 1, 1}));
    EXPECT_EQ(ReadAt(stored, 185).m_ModeResults[2].m_bEnabled, 1);
    EXPECT_EQ(ReadAt(stored, 186).m_ModeResults[2].m_bEnabled, stored.m_ModeResults[2].m_bEnabled);
    EXPECT_EQ(flagsOf(ReadAt(stored, 186), 2),
              cSafeVector<BYTE>(stored.m_ModeResults[2].m_ValueFlags.begin(), stored.m_ModeResults[2].m_ValueFlags.end()));

    EXPECT_EQ(ReadAt(stored, 190).m_UnlimitedLives, (cSafeVector<int>{0, 0, 0, 1}));
    EXPECT_EQ(ReadAt(stored, 191).m_UnlimitedLives, (cSafeVector<int>{3011, 3012, 3013, 3014}));

    EXPECT_EQ(ReadAt(stored, 201).m_ScreenBgmLoop, (cSafeVector<BYTE>{1, 1, 1, 1}));
    EXPECT_EQ(ReadAt(stored, 202).m_ScreenBgmLoop,
              cSafeVector<BYTE>(stored.m_ScreenBgmLoop.begin(), stored.m_ScreenBgmLoop.end()));

    EXPECT_EQ(ReadAt(stored, 500).m_DeathClearFlags, cSafeVector<BYTE>(25, 0));
    EXPECT_EQ(ReadAt(stored, 501).m_DeathClearFlags,
              cSafeVector<BYTE>(stored.m_DeathClearFlags.begin(), stored.m_DeathClearFlags.end()));

    const SystemFileValues defaults = qbtest::DefaultSystemValues();
    EXPECT_EQ(ReadAt(stored, 673).m_RankingModeNames,
              cSafeVector<std::string>(defaults.m_RankingModeNames.begin(), defaults.m_RankingModeNames.end()));
    EXPECT_EQ(ReadAt(stored, 674).m_RankingModeNames,
              cSafeVector<std::string>(stored.m_RankingModeNames.begin(), stored.m_RankingModeNames.end()));
}

TEST(SystemDataVersions, BootOptionsGetTheKeysLaterVersionsAdded)
{
    qbtest::cDataSettingsScope settings;
    struct Option { std::string key; int kind; int value; std::string text; };
    auto read = [](std::uint32_t version, const std::vector<qbtest::SystemBootOption>& options) {
        SystemFileValues stored = qbtest::DefaultSystemValues();
        stored.m_BootOptions = options;
        std::vector<Option> result;
        for (const cBootOptionData& o : ReadAt(stored, version).m_BootOptions)
            result.push_back({o.m_strKey, o.m_nKind, o.m_nValue, o.m_strValue});
        return result;
    };
    auto expectOptions = [](const std::vector<Option>& got, const std::vector<Option>& want, std::uint32_t version) {
        ASSERT_EQ(got.size(), want.size()) << version;
        for (std::size_t i = 0; i < want.size(); ++i) {
            EXPECT_EQ(got[i].key, want[i].key) << version << " entry " << i;
            EXPECT_EQ(got[i].kind, want[i].kind) << version << " entry " << i;
            EXPECT_EQ(got[i].value, want[i].value) << version << " entry " << i;
            EXPECT_EQ(got[i].text, want[i].text) << version << " entry " << i;
        }
    };
    // A version-280 file: no "Direct3D" yet, and a VSync of 3.
    const std::vector<qbtest::SystemBootOption> v280 = {
        {0, 1, "WindowMode", ""}, {0, 16, "Bpp", ""}, {0, 3, "VSync", ""}, {0, 0, "ShowFps", ""}, {1, 0, "FreeStage", "s"},
    };
    const std::vector<Option> want280 = {
        {"Direct3D", 0, 1, ""}, {"WindowMode", 0, 1, ""}, {"Bpp", 0, 16, ""}, {"VSync", 0, 2, ""},
        {"D3D_FontCache", 0, 0, ""}, {"DD_FontCache", 0, 1, ""}, {"DD_VideoStretch", 0, 0, ""},
        {"ShowFps", 0, 0, ""}, {"FreeStage", 1, 0, "s"}, {"English", 0, 0, ""},
    };
    expectOptions(read(280, v280), want280, 280);
    expectOptions(read(285, v280), want280, 285);
    // From 286 "Direct3D" is stored and VSync is left alone.
    const std::vector<qbtest::SystemBootOption> v286 = {
        {0, 2, "Direct3D", ""}, {0, 1, "WindowMode", ""}, {0, 16, "Bpp", ""}, {0, 3, "VSync", ""},
        {0, 0, "ShowFps", ""}, {1, 0, "FreeStage", "s"},
    };
    const std::vector<Option> tail566 = {{"ShowFps", 0, 0, ""}, {"FreeStage", 1, 0, "s"}, {"English", 0, 0, ""}};
    std::vector<Option> want = {{"Direct3D", 0, 2, ""}, {"WindowMode", 0, 1, ""}, {"Bpp", 0, 16, ""}, {"VSync", 0, 3, ""},
                                {"D3D_FontCache", 0, 0, ""}, {"DD_FontCache", 0, 1, ""}, {"DD_VideoStretch", 0, 0, ""}};
    want.insert(want.end(), tail566.begin(), tail566.end());
    expectOptions(read(286, v286), want, 286);
    expectOptions(read(566, v286), want, 566);

    // 567 stores "DD_VideoStretch" at 4 and gets the two font caches in front of it.
    std::vector<qbtest::SystemBootOption> v567 = v286;
    v567.insert(v567.begin() + 4, {0, 1, "DD_VideoStretch", ""});
    want[6].value = 1;
    expectOptions(read(567, v567), want, 567);

    // 568 stores all but "English", which files before 672 get at index 9.
    std::vector<qbtest::SystemBootOption> v568 = v567;
    v568.insert(v568.begin() + 4, {{0, 1, "D3D_FontCache", ""}, {0, 0, "DD_FontCache", ""}});
    v568.push_back({0, 7, "Other", "x"});
    want[4].value = 1;
    want[5].value = 0;
    expectOptions(read(568, v568), want, 568);
    expectOptions(read(671, v568), want, 671);
    std::vector<Option> stored672 = want;
    stored672[9] = {"Other", 0, 7, "x"};
    expectOptions(read(672, v568), stored672, 672);
}
