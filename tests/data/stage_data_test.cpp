// The stage file: its round trip, the upgrades of older versions, the refused sizes, the end
// mark, the speed levels, the scroll limits and the templates placed in it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/stage_data.h"
#include "tests/data/record_test_support.h"
#include "tests/data/stage_file_builder.h"

using qbtest::KIND_BLOCK;
using qbtest::KIND_CHARA;
using qbtest::KIND_ITEM;
using qbtest::STAGEFILE;
using qbtest::StageImage;
using qbtest::DistinctStage;
using qbtest::Empty;
using qbtest::TEMPLATEBODY;

namespace {

// Room for every BGM number the fixtures use.
constexpr std::size_t kBgmRecords = 2000;

std::string Write(cStageData& stage)
{
    return qbtest::WriteImage(stage);
}

}  // namespace

TEST(StageFile, ReadsAndWritesTheCurrentVersionByteForByte)
{
    qbtest::cDataSettingsScope settings(1, kBgmRecords);
    const std::string image = StageImage(692, DistinctStage()).bytes;
    cStageData stage;
    ASSERT_EQ(qbtest::ReadImage(stage, image), 1);
    EXPECT_EQ(stage.m_nWidth, 300);
    EXPECT_EQ(stage.m_nCharaInvincible, 1098);
    EXPECT_EQ(stage.m_strText, "ステージの説明");
    EXPECT_EQ(stage.m_ResultFlags.size(), 7u);
    EXPECT_EQ(stage.m_OutOfRange[4].m_nBottomMargin, 7);
    ASSERT_EQ(stage.m_PaletteItems.size(), 2u);
    EXPECT_EQ(stage.m_PaletteItems[1].m_strName, "コイン");
    ASSERT_EQ(stage.m_Charas.size(), 1u);
    EXPECT_EQ(stage.m_Charas[0].m_nColumn, 7);
    EXPECT_EQ(stage.m_Backgrounds[0].m_strPicture, "bg\\空.bmp");
    EXPECT_EQ(stage.m_Texts[0].m_strText, "はじめ");
    EXPECT_EQ(stage.FindHero(), 0);
    EXPECT_EQ(Write(stage), image);
}

TEST(StageFile, OlderVersionsUpgradeAtEachThreshold)
{
    qbtest::cDataSettingsScope settings(1, kBgmRecords);
    struct Case {
        std::uint32_t version;
        int cStageData::*member;
        int expected;
    } cases[] = {
        {154, &cStageData::m_nHeroBox2FlyW, 1040},  // box 2 flying = walking
        {154, &cStageData::m_nHeroBox2FlyH, 1041},
        {154, &cStageData::m_nCharaBox2FlyW, 1064},
        {154, &cStageData::m_nCharaBox2FlyH, 1065},
        {154, &cStageData::m_nHeroBox2Align, 0},
        {154, &cStageData::m_nHeroBox2FlyAlign, 0},
        {154, &cStageData::m_nCharaBox2Align, 0},
        {154, &cStageData::m_nCharaBox2FlyAlign, 0},
        {155, &cStageData::m_nHeroBox2FlyW, 1042},
        {155, &cStageData::m_nHeroBox2Align, 1050},
        {155, &cStageData::m_nCharaBox2FlyAlign, 1073},
        {165, &cStageData::m_bBgmLoop, 1},
        {166, &cStageData::m_bBgmLoop, 1025},
        {182, &cStageData::m_bPlaySwitch, 1},
        {183, &cStageData::m_bPlaySwitch, 1030},
        {183, &cStageData::m_bClearAutoAdvance, 0},
        {184, &cStageData::m_bClearAutoAdvance, 1031},
        {198, &cStageData::m_bBgmKeep, 0},
        {199, &cStageData::m_bBgmKeep, 1026},
        {199, &cStageData::m_nHeroBodyW, 16},
        {199, &cStageData::m_nHeroBodyH, 24},
        {199, &cStageData::m_nHeroBodyFlyW, 16},
        {199, &cStageData::m_nHeroBodyFlyH, 16},
        {199, &cStageData::m_nHeroBodyAlign, 1},
        {199, &cStageData::m_nHeroBodyFlyAlign, 0},
        {199, &cStageData::m_nHeroBodyShow, 0},
        {199, &cStageData::m_nHeroBodyColor, 5},
        {199, &cStageData::m_nCharaBodyW, 16},
        {199, &cStageData::m_nCharaBodyH, 30},
        {199, &cStageData::m_nCharaBodyFlyW, 16},
        {199, &cStageData::m_nCharaBodyFlyH, 30},
        {199, &cStageData::m_nCharaBodyAlign, 1},
        {199, &cStageData::m_nCharaBodyFlyAlign, 1},
        {199, &cStageData::m_nHeroBox3Show, 1054},   // the other displays were stored before
        {200, &cStageData::m_nHeroBodyW, 1036},
        {200, &cStageData::m_nHeroBodyColor, 1056},
        {200, &cStageData::m_nCharaBodyFlyAlign, 1071},
        {224, &cStageData::m_bStartSignSmall, 0},
        {225, &cStageData::m_bStartSignSmall, 1033},
        {225, &cStageData::m_bGameOverSign, 1035},
        {225, &cStageData::m_nCharaInvincible, 1098},
    };
    for (const Case& c : cases) {
        STAGEFILE s = DistinctStage();
        cStageData stage;
        ASSERT_EQ(qbtest::ReadImage(stage, StageImage(static_cast<int>(c.version), s).bytes), 1) << c.version;
        EXPECT_EQ(stage.*c.member, c.expected) << "version " << c.version;
    }
}

TEST(StageFile, RulesAndBackgroundsOfOldFilesTakeTheNewStagesValuesForWhatTheyLack)
{
    qbtest::cDataSettingsScope settings(1, kBgmRecords);
    struct Case {
        std::uint32_t version;
        int rule4Right, rule1Right;   // what a new stage has, or the file's
        int backgroundShown;
        double factorX, offsetX;
    } cases[] = {
        {60, 1, 0, 1, 0.1, 0.0},
        {61, 1, 0, 1, 0.25, 0.0},
        {62, 1, 0, 0, 0.25, 1.5},
        {124, 1, 0, 0, 0.25, 1.5},
        {125, 0, 1, 0, 0.25, 1.5},
    };
    for (const Case& c : cases) {
        STAGEFILE s = DistinctStage();
        s.rules[0].right = 1;
        s.rules[3].right = 0;
        s.backgrounds[0].show = 0;
        cStageData stage;
        // A stage read before must leave nothing behind.
        stage.m_OutOfRange[0].m_bRight = 7;
        stage.m_OutOfRange[3].m_bRight = 7;
        ASSERT_EQ(qbtest::ReadImage(stage, StageImage(static_cast<int>(c.version), s).bytes), 1) << c.version;
        EXPECT_EQ(stage.m_OutOfRange[3].m_bRight, c.rule4Right) << c.version;
        EXPECT_EQ(stage.m_OutOfRange[0].m_bRight, c.rule1Right) << c.version;
        EXPECT_EQ(stage.m_OutOfRange[4].m_nBottomMargin, 7) << c.version;
        EXPECT_EQ(stage.m_Backgrounds[0].m_bShow, c.backgroundShown) << c.version;
        EXPECT_EQ(stage.m_Backgrounds[0].m_dFactorX, c.factorX) << c.version;
        EXPECT_EQ(stage.m_Backgrounds[0].m_dOffsetX, c.offsetX) << c.version;
        EXPECT_EQ(stage.m_Backgrounds[0].m_strPicture, "bg\\空.bmp") << c.version;
    }
}

TEST(StageFile, ResultSwitchesAreFiveBefore181AndNeverFewerOrCutAfter)
{
    qbtest::cDataSettingsScope settings(1, kBgmRecords);
    struct Case {
        std::uint32_t version;
        std::vector<std::int32_t> stored, read;
    } cases[] = {
        {180, {1, 1, 1}, {1, 1, 1, 0, 0}},
        {180, {1, 1, 1, 1, 1, 1, 1}, {1, 1, 1, 0, 0}},
        {181, {1, 1, 1}, {1, 1, 1, 0, 0}},
        {181, {1, 0, 1, 1, 1, 1, 1}, {1, 0, 1, 1, 1, 1, 1}},
        {181, {}, {0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        STAGEFILE s = DistinctStage();
        s.results = c.stored;
        cStageData stage;
        ASSERT_EQ(qbtest::ReadImage(stage, StageImage(static_cast<int>(c.version), s).bytes), 1) << c.version;
        EXPECT_EQ(std::vector<std::int32_t>(stage.m_ResultFlags.begin(), stage.m_ResultFlags.end()), c.read) << c.version;
    }
}

TEST(StageFile, TheEndMarkIsReadFrom173AndRequiredWhereTheReadEndsFrom174)
{
    qbtest::cDataSettingsScope settings(1, kBgmRecords);
    struct Case {
        std::uint32_t version;
        std::optional<std::uint32_t> mark;
        bool cut;        // one placed block less than the count says, the mark pasted after
        bool reads;
        std::size_t remaining;
    } cases[] = {
        {172, std::nullopt, false, true, 0},
        {172, 123456789u, false, true, 4},     // not part of a 172 file: left unread
        {173, 42u, false, true, 0},            // read, not checked
        {174, 123456789u, false, true, 0},
        {174, 42u, false, false, 0},
        {692, 42u, false, false, 0},
        {692, 123456789u, true, false, 0},
    };
    for (const Case& c : cases) {
        STAGEFILE s = DistinctStage();
        if (c.version == 172) s.endMark = c.mark.value_or(0);
        else s.endMark = c.mark;
        std::string image = c.version == 172 && !c.mark ? StageImage(172, DistinctStage()).bytes
                                                       : StageImage(static_cast<int>(c.version), s).bytes;
        if (c.cut) {
            // The texts and the last background gone, the mark pasted at the end.
            s.texts.clear();
            s.backgrounds.clear();
            std::string whole = StageImage(static_cast<int>(c.version), s).bytes;
            image = whole.substr(0, whole.size() - 8) + whole.substr(whole.size() - 4);
        }
        cDataReader reader(image);
        cStageData stage;
        EXPECT_EQ(stage.LoadFrom(reader) == 1, c.reads) << c.version << " " << reader.Error();
        if (c.reads) {
            EXPECT_EQ(reader.Remaining(), c.remaining) << c.version;
        } else {
            EXPECT_FALSE(reader.Error().empty());
        }
    }
}

TEST(StageFile, AVersion173FileWithoutItsEndMarkIsReadWholeWithItsFixUps)
{
    qbtest::cDataSettingsScope settings(1, kBgmRecords);
    const std::string whole = StageImage(173, DistinctStage()).bytes;
    const std::string withoutMark = whole.substr(0, whole.size() - 4);
    struct Case { std::string image; std::size_t remaining; } cases[] = {
        {withoutMark, 0},
        {withoutMark + "ab", 2},   // too short for a mark: left unread
        {whole, 0},
    };
    for (const Case& c : cases) {
        cDataReader reader(c.image);
        cStageData stage;
        ASSERT_EQ(stage.LoadFrom(reader), 1) << c.image.size() << " " << reader.Error();
        EXPECT_EQ(reader.Remaining(), c.remaining) << c.image.size();
        EXPECT_EQ(stage.m_nWidth, 300) << c.image.size();
        EXPECT_EQ(stage.m_ResultFlags.size(), 5u) << "the fix-ups of a file before 181 ran";
        EXPECT_EQ(stage.m_bPlaySwitch, 1) << "the fix-ups of a file before 183 ran";
    }
}

TEST(StageFile, SizesNoStageCanHaveAreRefusedAsDamaged)
{
    qbtest::cDataSettingsScope settings(1, kBgmRecords);
    struct Case { int width, height; bool reads; } cases[] = {
        {0, 20, false}, {20, 0, false}, {-5, 20, false}, {20, -1, false},
        {4096, 4096, true}, {4097, 4096, false}, {1, 1, true}, {0x7FFFFFFF, 2, false},
    };
    for (const Case& c : cases) {
        STAGEFILE s = qbtest::PlayableStage(c.width, c.height);
        cStageData stage;
        stage.m_strText = "before";
        EXPECT_EQ(qbtest::ReadImage(stage, StageImage(692, s).bytes) == 1, c.reads) << c.width << " x " << c.height;
        if (!c.reads) {
            EXPECT_EQ(stage.m_strText, "before");
        }
    }
}

TEST(StageSpeedLevel, DerivesSubStepsAndLimitsAndKeepsTheLevelGiven)
{
    struct Case {
        int level, steps;
        double limit, limitPerStep;
    } cases[] = {
        {-1, 1, 6, 6}, {0, 1, 6, 6}, {1, 1, 6, 6}, {10, 10, 60, 6}, {11, 1, 60, 60},
        {15, 5, 60, 12}, {19, 9, 60, 60.0 / 9}, {20, 20, 120, 6},
    };
    for (const Case& c : cases) {
        cStageData stage;
        stage.m_dGravity = 0.4;
        stage.SetSpeedLevel(c.level);
        EXPECT_EQ(stage.m_nSpeedLevel, c.level);
        EXPECT_EQ(stage.m_nSubSteps, c.steps) << c.level;
        EXPECT_EQ(stage.m_dSubSteps, c.steps) << c.level;
        EXPECT_EQ(stage.m_nSubSteps6, 6 * c.steps) << c.level;
        EXPECT_EQ(stage.m_nSubSteps8, 8 * c.steps) << c.level;
        EXPECT_EQ(stage.m_dSubStepsSquared, double(c.steps) * c.steps) << c.level;
        EXPECT_DOUBLE_EQ(stage.m_dSpeedLimit, c.limit) << c.level;
        EXPECT_DOUBLE_EQ(stage.m_dSpeedLimitPerStep, c.limitPerStep) << c.level;
        EXPECT_DOUBLE_EQ(stage.m_dGravityPerStep, 0.4 / (double(c.steps) * c.steps)) << c.level;
    }
}

TEST(StageSpeedLevel, ALevelBelowOneIsWrittenBackAsRead)
{
    qbtest::cDataSettingsScope settings(1, kBgmRecords);
    for (int level : {-1, 0}) {
        STAGEFILE s = qbtest::PlayableStage();
        s.fields[22] = level;
        cStageData stage;
        ASSERT_EQ(qbtest::ReadImage(stage, StageImage(692, s).bytes), 1);
        EXPECT_EQ(stage.m_nSpeedLevel, level);
        EXPECT_EQ(stage.m_nSubSteps, 1);
        cStageData again;
        ASSERT_EQ(qbtest::ReadImage(again, Write(stage)), 1);
        EXPECT_EQ(again.m_nSpeedLevel, level);
    }
}

TEST(StageSpeedLevel, ALevelDerivingMoreSubStepsThanTheBoundIsRefusedAsDamaged)
{
    qbtest::cDataSettingsScope settings(1, kBgmRecords);
    struct Case { int level; bool reads; } cases[] = {
        {19, true}, {20, true}, {kMaxSubSteps, true}, {kMaxSubSteps + 1, false},
        {5000000, false}, {0x7FFFFFFF, false},
    };
    for (const Case& c : cases) {
        STAGEFILE s = qbtest::PlayableStage();
        s.fields[22] = c.level;
        cStageData stage;
        stage.m_strText = "before";
        EXPECT_EQ(qbtest::ReadImage(stage, StageImage(692, s).bytes) == 1, c.reads) << c.level;
        if (c.reads) {
            EXPECT_LE(stage.m_nSubSteps, kMaxSubSteps) << c.level;
        } else {
            EXPECT_EQ(stage.m_strText, "before") << c.level;
        }
    }
}

TEST(StageNormalize, WorksOnTheRecordGivenAndLeavesTheLoadedStageAlone)
{
    const cStageData before = g_StageData;
    cStageData stage;
    stage.m_nWidth = 40;
    stage.m_nHeight = 20;
    stage.m_nSpeedLevel = 3;
    stage.Normalize();
    EXPECT_EQ(stage.m_nSubSteps, 3);
    EXPECT_EQ(g_StageData.m_nSubSteps, before.m_nSubSteps);
    EXPECT_EQ(g_StageData.m_nSpeedLevel, before.m_nSpeedLevel);
}

TEST(StageNormalize, ScrollLimitsStayInsideTheStageAndMayFallBelowZero)
{
    qbtest::cDataSettingsScope settings(1, kBgmRecords);
    struct Case {
        int width, height;
        int left, right, top, bottom;                   // stored
        int readLeft, readRight, readTop, readBottom;
    } cases[] = {
        {15, 10, 3, 14, 2, 9, -5, 14, -5, 9},           // narrower and lower than the view
        {40, 30, 30, 50, 20, 40, 20, 39, 15, 29},
        {40, 30, -3, 1, -2, 3, -3, 1, -2, 3},           // already inside: kept
    };
    for (const Case& c : cases) {
        STAGEFILE s = qbtest::PlayableStage(c.width, c.height);
        s.fields[9] = c.left;
        s.fields[10] = c.right;
        s.fields[11] = c.top;
        s.fields[12] = c.bottom;
        cStageData stage;
        ASSERT_EQ(qbtest::ReadImage(stage, StageImage(692, s).bytes), 1);
        EXPECT_EQ(stage.m_nScrollLeft, c.readLeft) << c.width;
        EXPECT_EQ(stage.m_nScrollRight, c.readRight) << c.width;
        EXPECT_EQ(stage.m_nScrollTop, c.readTop) << c.width;
        EXPECT_EQ(stage.m_nScrollBottom, c.readBottom) << c.width;
    }
}

TEST(StageFile, AFrameRateOfZeroOrLessPacesAt60AndIsWrittenBackAsRead)
{
    qbtest::cDataSettingsScope settings(1, kBgmRecords);
    struct Case { int stored, paced; } cases[] = {{0, 60}, {-30, 60}, {1, 1}, {120, 120}};
    for (const Case& c : cases) {
        STAGEFILE s = qbtest::PlayableStage();
        s.fields[13] = c.stored;
        cStageData stage;
        ASSERT_EQ(qbtest::ReadImage(stage, StageImage(692, s).bytes), 1);
        EXPECT_EQ(stage.PaceFrameRate(), c.paced);
        cStageData again;
        ASSERT_EQ(qbtest::ReadImage(again, Write(stage)), 1);
        EXPECT_EQ(again.m_nFrameRate, c.stored);
    }
}

TEST(StageFile, AnUnknownBgmBecomesNone)
{
    qbtest::cDataSettingsScope settings(1, 5);
    struct Case { int stored, read; } cases[] = {{4, 4}, {5, 0}, {-1, 0}};
    for (const Case& c : cases) {
        STAGEFILE s = qbtest::PlayableStage();
        s.fields[24] = c.stored;
        cStageData stage;
        ASSERT_EQ(qbtest::ReadImage(stage, StageImage(692, s).bytes), 1);
        EXPECT_EQ(stage.m_nBgm, c.read) << c.stored;
    }
}

TEST(StageFile, PaletteListsGetTheirEmptyFirstEntryAndAtLeastTwo)
{
    qbtest::cDataSettingsScope settings(1, kBgmRecords);
    STAGEFILE s = qbtest::PlayableStage();
    TEMPLATEBODY named;
    named.name = "名前";
    named.flags.assign(11, 1);
    s.palette[KIND_BLOCK] = {named};
    s.palette[KIND_CHARA] = {};
    cStageData stage;
    ASSERT_EQ(qbtest::ReadImage(stage, StageImage(692, s).bytes), 1);
    ASSERT_EQ(stage.m_PaletteBlocks.size(), 2u);
    EXPECT_EQ(stage.m_PaletteBlocks[0].m_strName, "");
    ASSERT_EQ(stage.m_PaletteCharas.size(), 2u);
    ASSERT_EQ(stage.m_PaletteItems.size(), 2u);
}

TEST(StageFile, TemplatesResolveAgainstTheStageBeingReadNotTheLoadedOne)
{
    qbtest::cDataSettingsScope settings(1, kBgmRecords);
    const cStageData before = g_StageData;
    g_StageData.m_PaletteBlocks.resize(4);
    g_StageData.m_PaletteBlocks[3].m_nImageNumber = 99;

    STAGEFILE s = qbtest::PlayableStage();
    TEMPLATEBODY source;
    source.fields[5] = 7;   // image number
    TEMPLATEBODY forward = qbtest::Inheriting(2, 3, 11, {2});
    forward.fields[5] = 1;
    TEMPLATEBODY backward = qbtest::Inheriting(2, 1, 11, {2});
    s.palette[KIND_BLOCK] = {Empty(11), source, forward, backward};
    s.placed[KIND_BLOCK] = {qbtest::Inheriting(2, 1, 11, {2}), qbtest::Inheriting(2, 3, 11, {2})};
    cStageData stage;
    ASSERT_EQ(qbtest::ReadImage(stage, StageImage(692, s).bytes), 1);
    // Entry 2 refers to entry 3 before it is read: it copies a default template.
    EXPECT_EQ(stage.m_PaletteBlocks[2].m_nImageNumber, 0);
    EXPECT_EQ(stage.m_PaletteBlocks[3].m_nImageNumber, 7);
    EXPECT_EQ(stage.m_Blocks[0].m_nImageNumber, 7);
    EXPECT_EQ(stage.m_Blocks[1].m_nImageNumber, 7);   // entry 3 as read, which copied entry 1
    g_StageData = before;
}

TEST(StageFile, TestPlayFlowsOfPlacedCharasStayOnlyForTheEditorOrWithTheKeepSwitch)
{
    qbtest::cDataSettingsScope settings(1, kBgmRecords);
    STAGEFILE s = qbtest::PlayableStage();
    qbtest::FLOWBODY marked;
    marked.testPlayOnly = 1;
    marked.commands = {qbtest::CommandBody({})};
    qbtest::FLOWBODY plain;
    plain.commands = {qbtest::CommandBody({})};
    s.placed[KIND_CHARA][0].lists = {qbtest::FlowBody(692, marked), qbtest::FlowBody(692, plain)};
    struct Case { int editor, keep; std::size_t flows; } cases[] = {{0, 0, 1}, {1, 0, 2}, {0, 1, 2}, {1, 1, 2}};
    for (const Case& c : cases) {
        qbtest::cTestPlayScope testPlay(c.editor, c.keep);
        cStageData stage;
        ASSERT_EQ(qbtest::ReadImage(stage, StageImage(692, s).bytes), 1);
        EXPECT_EQ(stage.m_Charas[0].m_Flows.size(), c.flows) << "editor " << c.editor << " keep " << c.keep;
    }
}

TEST(StageFile, TheHeroIsTheFirstPlayerCharaWithAnImage)
{
    struct Case { std::vector<std::pair<int, int>> charas; int hero; } cases[] = {
        {{}, -1},
        {{{1, 1}}, -1},            // the computer's
        {{{0, 0}}, -1},            // no image
        {{{1, 1}, {0, 0}, {2, 0}, {3, 0}}, 2},
    };
    for (const Case& c : cases) {
        cStageData stage;
        for (auto [image, operatorKind] : c.charas) {
            stage.m_Charas.emplace_back();
            stage.m_Charas.back().m_nImageNumber = static_cast<std::int16_t>(image);
            stage.m_Charas.back().m_nOperator = static_cast<BYTE>(operatorKind);
        }
        EXPECT_EQ(stage.FindHero(), c.hero);
        EXPECT_EQ(stage.HasHero(), c.hero >= 0);
    }
}

TEST(StageFile, WriteWithSettingsTakesTheSettingsFromOneRecordAndTheObjectsFromThis)
{
    qbtest::cDataSettingsScope settings(1, kBgmRecords);
    cStageData stage;
    ASSERT_EQ(qbtest::ReadImage(stage, StageImage(692, DistinctStage()).bytes), 1);
    cStageData backup = stage;
    backup.m_nTimeLimit = 55;
    backup.m_strText = "設定";
    backup.m_Texts.clear();
    backup.m_PaletteBlocks.clear();
    backup.m_Charas.clear();
    cDataWriter writer;
    stage.WriteWithSettings(writer, backup);
    cStageData read;
    ASSERT_EQ(qbtest::ReadImage(read, writer.Image()), 1);
    EXPECT_EQ(read.m_nTimeLimit, 55);
    EXPECT_EQ(read.m_strText, "設定");
    EXPECT_TRUE(read.m_Texts.empty());
    EXPECT_EQ(read.m_PaletteBlocks.size(), 2u);
    EXPECT_EQ(read.m_Charas.size(), 1u);
    EXPECT_EQ(stage.m_Charas.size(), 1u);   // this record keeps its own
    EXPECT_EQ(stage.m_nTimeLimit, 1015);
}
