// Block, chara and item templates: their bodies at every version that changed them, the
// upgrades of older files, the defaults, the checks after a read and the collision mode.
#include <gtest/gtest.h>

#include <vector>

#include "data/block_data.h"
#include "data/chara_data.h"
#include "data/item_data.h"
#include "tests/data/flow_record_builder.h"
#include "tests/data/record_test_support.h"
#include "tests/data/template_file_builder.h"
#include "tests/support/cp932_printer.h"

using namespace qbtest;

namespace {

class TemplateRecordTest : public ::testing::Test {
protected:
    void SetUp() override { m_Databases.SetAll(100); }
    cDataSettingsScope m_Settings;
    cDatabaseSizesScope m_Databases;
};

template <class T>
T ReadTemplate(TEMPLATEKIND kind, int version, const TEMPLATEBODY& body, int expectRead = 1)
{
    T record;
    EXPECT_EQ(ReadImage(record, FileImage(version, TemplateBody(kind, version, body))), expectRead) << version;
    return record;
}

std::vector<int> Flags(const cSafeVector<BYTE>& flags)
{
    return std::vector<int>(flags.begin(), flags.end());
}

// Every chara field numbered by its own number (bytes stay below 128), so that a field read
// from the wrong place shows.
TEMPLATEBODY NumberedChara(std::size_t flags)
{
    TEMPLATEBODY t;
    for (const TEMPLATEFIELD& field : CharaFields()) t.fields[field.number] = field.number;
    t.fields[1] = 0;
    t.fields[2] = 0;
    t.flags.assign(flags, 0);
    t.name = "キャラ";
    return t;
}

std::string WaitCommand()
{
    COMMANDBODY command;
    command.kind = 1;
    command.time = 3;
    return CommandBody(command);
}

// A flow with an id; with a command unless empty.
std::string FlowWithId(int id, int testPlayOnly = 0, bool empty = false)
{
    FLOWBODY flow;
    flow.id = id;
    flow.testPlayOnly = testPlayOnly;
    if (!empty) flow.commands = {WaitCommand()};
    return FlowBody(692, flow);
}

}  // namespace

TEST_F(TemplateRecordTest, CharaFieldsAndUpgradesFollowTheFileVersion)
{
    struct Case {
        int version;
        int defence;
        int effectMode;
        int contactRange;
        int sync;
        int flash;
    } cases[] = {
        {167, 0, 0, 0, 0, 1},   {168, 46, 0, 0, 0, 1},   {195, 46, 0, 0, 0, 1},   {196, 46, 20, 0, 0, 1},
        {200, 46, 20, 0, 0, 1}, {201, 46, 20, 43, 0, 1}, {205, 46, 20, 43, 0, 1}, {206, 46, 20, 42, 0, 1},
        {209, 46, 20, 42, 0, 1}, {210, 46, 20, 42, 36, 1}, {284, 46, 20, 42, 36, 1}, {285, 46, 20, 42, 36, 33},
        {692, 46, 20, 42, 36, 33},
    };
    for (const Case& c : cases) {
        const cCharaData chara = ReadTemplate<cCharaData>(KIND_CHARA, c.version, NumberedChara(37));
        EXPECT_EQ(chara.m_nDefence, c.defence) << c.version;
        EXPECT_EQ(chara.m_nCharaEffectMode, c.effectMode) << c.version;
        EXPECT_EQ(chara.m_nDefeatEffectMode, c.effectMode ? 23 : 0) << c.version;
        EXPECT_EQ(chara.m_nContactRange, c.contactRange) << c.version;
        EXPECT_EQ(chara.m_bSyncAutoScroll, c.sync) << c.version;
        EXPECT_EQ(chara.m_nFlashColor, c.flash) << c.version;
        // The fields around and after the version-dependent ones land in their places.
        EXPECT_EQ(chara.m_nInvincible, 32) << c.version;
        EXPECT_EQ(chara.m_nHitEffect, 45) << c.version;
        EXPECT_EQ(chara.m_nScore, 48) << c.version;
        EXPECT_EQ(chara.m_nActivation, 53) << c.version;
        EXPECT_EQ(chara.m_strName, "キャラ") << c.version;
        EXPECT_EQ(chara.m_InheritFlags.size(), 37u) << c.version;
    }
}

TEST_F(TemplateRecordTest, OldCharaFlagsGetTheInsertedGroupsInOrder)
{
    // 30 flags of version 150: padded to 37, then 1 inserted at 27, 24 and 21 in that order.
    const cCharaData old = ReadTemplate<cCharaData>(KIND_CHARA, 150, NumberedChara(30));
    std::vector<int> expected(37, 0);
    expected[21] = expected[25] = expected[29] = 1;
    EXPECT_EQ(Flags(old.m_InheritFlags), expected);

    // From 210 on the flags are kept as the file gives them, longer or shorter.
    for (std::size_t count : {std::size_t{0}, std::size_t{5}, std::size_t{50}}) {
        const cCharaData chara = ReadTemplate<cCharaData>(KIND_CHARA, 210, NumberedChara(count));
        EXPECT_EQ(chara.m_InheritFlags.size(), count);
        EXPECT_EQ(chara.InheritFlag(60), 0);
    }
}

TEST_F(TemplateRecordTest, ShotImagesOfFilesBefore219MoveUpByOneAtMost119)
{
    struct Case { int version; int kind; int number; int expected; } cases[] = {
        {218, 3, 5, 6}, {218, 3, 119, 119}, {218, 3, 118, 119}, {218, 2, 5, 5}, {219, 3, 5, 5},
    };
    for (const Case& c : cases) {
        TEMPLATEBODY block;
        block.fields = {{5, c.number}, {6, c.kind}};
        block.flags.assign(11, 0);
        EXPECT_EQ(ReadTemplate<cBlockData>(KIND_BLOCK, c.version, block).m_nImageNumber, c.expected) << c.version;
        TEMPLATEBODY item;
        item.fields = {{7, c.number}, {8, c.kind}};
        item.flags.assign(13, 0);
        EXPECT_EQ(ReadTemplate<cItemData>(KIND_ITEM, c.version, item).m_nImageNumber, c.expected) << c.version;
        TEMPLATEBODY chara;
        chara.fields = {{13, c.number}, {14, c.kind}};
        chara.flags.assign(37, 0);
        EXPECT_EQ(ReadTemplate<cCharaData>(KIND_CHARA, c.version, chara).m_nImageNumber, c.expected) << c.version;
    }
}

TEST_F(TemplateRecordTest, ItemPickupMessageIsStoredBeforeThePickupMode)
{
    TEMPLATEBODY item;
    item.fields = {{14, 0}, {15, 2}, {16, 3}, {17, 9}};
    item.column = 12;
    item.row = -3;
    const cItemData read = ReadTemplate<cItemData>(KIND_ITEM, 692, item);
    EXPECT_EQ(read.m_bPickupMessage, 0);
    EXPECT_EQ(read.m_nPickupMode, 2);
    EXPECT_EQ(read.m_nGiantScale, 3);
    EXPECT_EQ(read.m_nSound, 9);
    EXPECT_EQ(read.m_nColumn, 12);
    EXPECT_EQ(read.m_nRow, -3);
}

TEST_F(TemplateRecordTest, TemplatesWriteBackTheBytesTheyRead)
{
    TEMPLATEBODY chara = NumberedChara(40);
    chara.column = 7;
    chara.row = 9;
    chara.heldItem = 4;
    CONDITIONBODY condition;
    condition.kind = 3;
    condition.operand = 5;
    chara.conditions = {ConditionBody(692, condition)};
    chara.lists = {FlowWithId(4)};
    TEMPLATEBODY block;
    block.fields = {{5, 7}, {12, 2}, {13, 4}, {15, -70000}, {18, 1}};
    block.name = "ブロック";
    block.flags.assign(11, 0);
    TEMPLATEBODY item;
    item.fields = {{5, 300}, {6, -2}, {10, 9}};
    item.flags.assign(13, 0);
    COMMANDBODY action;
    action.itemAction = 1;
    item.lists = {CommandBody(action)};
    struct Case { TEMPLATEKIND kind; const TEMPLATEBODY* body; } cases[] = {
        {KIND_BLOCK, &block}, {KIND_CHARA, &chara}, {KIND_ITEM, &item},
    };
    for (const Case& c : cases) {
        const std::string image = FileImage(692, TemplateBody(c.kind, 692, *c.body));
        std::string written;
        if (c.kind == KIND_BLOCK) {
            cBlockData record;
            ASSERT_EQ(ReadImage(record, image), 1);
            written = WriteImage(record);
        } else if (c.kind == KIND_CHARA) {
            cCharaData record;
            ASSERT_EQ(ReadImage(record, image), 1);
            EXPECT_EQ(record.m_nHeldItem, 4);
            EXPECT_EQ(record.m_Flows.size(), 1u);
            written = WriteImage(record);
        } else {
            cItemData record;
            ASSERT_EQ(ReadImage(record, image), 1);
            EXPECT_EQ(record.m_Actions.size(), 1u);
            written = WriteImage(record);
        }
        EXPECT_EQ(written, image) << c.kind;
    }
}

TEST_F(TemplateRecordTest, ResetSetsTheDefaultsAndKeepsTheLists)
{
    cCharaData chara;
    chara.m_nHeldItem = -1;
    chara.m_nMaxHp = 99;
    chara.m_InheritFlags.assign(3, 1);
    chara.m_Flows.resize(2);
    chara.m_nColumn = 5;
    EXPECT_TRUE(chara.Reset());
    EXPECT_EQ(chara.m_nHeldItem, 0);
    EXPECT_EQ(chara.m_nMaxHp, 10);
    EXPECT_EQ(chara.m_nZ, 3);
    EXPECT_EQ(chara.m_nImageKind, 1);
    EXPECT_EQ(chara.m_nEaseOfStopping, 10);
    EXPECT_EQ(Flags(chara.m_InheritFlags), std::vector<int>(37, 0));
    EXPECT_EQ(chara.m_Flows.size(), 2u);
    EXPECT_EQ(chara.m_nColumn, 5);

    const cBlockData block;
    EXPECT_EQ(block.m_nHitMode, 1);
    EXPECT_EQ(block.m_nPassLayer, -1);
    EXPECT_EQ(block.m_InheritFlags.size(), 11u);
    const cItemData item;
    EXPECT_EQ(item.m_nImageKind, 2);
    EXPECT_EQ(item.m_nGroup5Setting, 6);
    EXPECT_EQ(item.m_bPickupMessage, 1);
    EXPECT_EQ(item.m_InheritFlags.size(), 13u);
}

TEST_F(TemplateRecordTest, ValidateRepairsReferencesOutsideTheirLists)
{
    m_Databases.Set(DATABASE_BMPCHARAEXC, 4);
    m_Databases.Set(DATABASE_ANIMESET, 5);
    m_Databases.Set(DATABASE_CHARAEFFECT, 6);
    m_Databases.Set(DATABASE_EFFECT, 7);
    m_Databases.Set(DATABASE_SOUND, 8);

    TEMPLATEBODY chara;
    chara.fields = {{13, 4}, {14, 4}, {16, 5}, {19, 6}, {22, -1}, {35, 0}, {45, 7}};
    const cCharaData c = ReadTemplate<cCharaData>(KIND_CHARA, 692, chara);
    EXPECT_EQ(c.m_nImageNumber, 1);
    EXPECT_EQ(c.m_nAnimeSet, 0);
    EXPECT_EQ(c.m_nCharaEffect, 0);
    EXPECT_EQ(c.m_nDefeatEffect, 0);
    EXPECT_EQ(c.m_nGiantScale, 1);
    EXPECT_EQ(c.m_nHitEffect, 0);
    chara.fields = {{13, 3}, {14, 4}, {16, 4}, {19, 5}, {22, 5}, {45, 6}};
    const cCharaData kept = ReadTemplate<cCharaData>(KIND_CHARA, 692, chara);
    EXPECT_EQ(kept.m_nImageNumber, 3);
    EXPECT_EQ(kept.m_nAnimeSet, 4);
    EXPECT_EQ(kept.m_nDefeatEffect, 5);
    EXPECT_EQ(kept.m_nHitEffect, 6);

    TEMPLATEBODY item;
    item.fields = {{16, 0}, {17, 8}};
    const cItemData i = ReadTemplate<cItemData>(KIND_ITEM, 692, item);
    EXPECT_EQ(i.m_nGiantScale, 1);
    EXPECT_EQ(i.m_nSound, 0);

    // A block without an image neither collides nor stays fixed.
    TEMPLATEBODY block;
    block.fields = {{5, 0}, {12, 2}, {18, 1}};
    const cBlockData b = ReadTemplate<cBlockData>(KIND_BLOCK, 692, block);
    EXPECT_EQ(b.m_nHitMode, 0);
    EXPECT_EQ(b.m_bFixed, 0);
}

TEST_F(TemplateRecordTest, AnOwnPictureOutsideItsListBecomesEntryOneOnlyWhenTheListHasIt)
{
    struct Case { int entries; int number; int kept; } cases[] = {
        {1, 1, 0}, {1, 5, 0}, {1, -1, 0}, {2, 5, 1}, {2, 1, 1}, {3, 2, 2}, {0, 1, 0},
    };
    for (const Case& c : cases) {
        m_Databases.Set(DATABASE_BMPCHARAEXC, static_cast<std::size_t>(c.entries));
        TEMPLATEBODY chara;
        chara.fields = {{13, c.number}, {14, 4}};   // image number, image kind (own picture)
        const cCharaData read = ReadTemplate<cCharaData>(KIND_CHARA, 692, chara);
        EXPECT_EQ(read.m_nImageNumber, c.kept) << c.entries << " entries, number " << c.number;
    }
}

TEST_F(TemplateRecordTest, EmptyFlowsAreDroppedAndTestPlayFlowsOnlyWhenNotKept)
{
    TEMPLATEBODY chara;
    chara.lists = {FlowWithId(1), FlowWithId(2, 1), FlowWithId(3, 0, true)};
    struct Case { int editor; int keep; std::vector<int> ids; } cases[] = {
        {0, 0, {1}}, {1, 0, {1, 2}}, {0, 1, {1, 2}}, {1, 1, {1, 2}},
    };
    for (const Case& c : cases) {
        cTestPlayScope scope(c.editor, c.keep);
        const cCharaData read = ReadTemplate<cCharaData>(KIND_CHARA, 692, chara);
        std::vector<int> ids;
        for (const cFlowData& flow : read.m_Flows) ids.push_back(flow.m_nId);
        EXPECT_EQ(ids, c.ids) << c.editor << c.keep;
    }
}

namespace {

bool s_bConditionsHold = true;

bool TestConditions(cBlockData&)
{
    return s_bConditionsHold;
}

}  // namespace

TEST_F(TemplateRecordTest, HitModeGivesWayToTheConditionsAndThePassThroughLayer)
{
    SetBlockConditionTest(TestConditions);
    cBlockData block;
    block.m_nImageNumber = 1;
    block.m_nHitMode = 2;
    block.m_nPassLayer = 3;
    struct Case { bool conditions; bool hold; int layer; int expected; } cases[] = {
        {false, false, 3, 0}, {false, false, 2, 2}, {true, true, 2, 2}, {true, false, 2, 0}, {true, false, 0, 0},
    };
    for (const Case& c : cases) {
        block.m_Conditions.resize(c.conditions ? 1 : 0);
        s_bConditionsHold = c.hold;
        EXPECT_EQ(block.GetHitMode(c.layer), c.expected) << c.conditions << c.hold << c.layer;
    }
    SetBlockConditionTest(nullptr);
}

TEST_F(TemplateRecordTest, CopyOffsetsMirrorWithTheFacing)
{
    cCharaData chara;
    chara.m_nCopyXBase = 8;
    chara.m_nCopyXStep = -3;
    chara.m_bMirrorX = 1;
    chara.m_nCopyYBase = 2;
    chara.m_nCopyYStep = 5;
    EXPECT_DOUBLE_EQ(chara.OffsetX(2, 0), 2.0);
    EXPECT_DOUBLE_EQ(chara.OffsetX(2, 1), -2.0);
    EXPECT_DOUBLE_EQ(chara.OffsetY(2, 1), 12.0);
    int x = 0, y = 0;
    MarkTileSource(17, x, y);
    EXPECT_EQ(x, 32);
    EXPECT_EQ(y, 64);
}

TEST_F(TemplateRecordTest, TableIndicesAreClampedWhereTheyAreUsed)
{
    cCharaData chara;
    struct Case { int z; int flash; int z2; int flash2; } cases[] = {
        {0, 0, 0, 0}, {8, 9, 8, 9}, {9, 10, 8, 9}, {255, -1, 8, 0},
    };
    for (const Case& c : cases) {
        chara.m_nZ = static_cast<BYTE>(c.z);
        chara.m_nFlashColor = static_cast<std::int8_t>(c.flash);
        EXPECT_EQ(chara.ZLayer(), c.z2);
        EXPECT_EQ(chara.FlashColor(), c.flash2);
    }
}
