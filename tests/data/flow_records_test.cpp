// The fixtures name only the fields a case sets; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/command_info.h"
#include "data/flow_data.h"
#include "data/system_data.h"
#include "shell/shared_flags.h"
#include "tests/data/flow_file_builder.h"
#include "tests/data/flow_record_builder.h"
#include "tests/data/record_test_support.h"
#include "tests/support/cp932_printer.h"

using namespace qbtest;

namespace {

// The databases sized so that small references are valid: 20 entries each.
class FlowRecordTest : public ::testing::Test {
protected:
    void SetUp() override { m_Databases.SetAll(20); }
    cDatabaseSizesScope m_Databases;
};

std::uint64_t Small(int block)
{
    return static_cast<std::uint64_t>(block % 7 + 1);
}

// Reads one command body of a version.
cCommandData ReadCommand(int version, const COMMANDBODY& body, int expectRead = 1)
{
    cCommandData command;
    EXPECT_EQ(ReadImage(command, FileImage(version, CommandBody(body))), expectRead);
    return command;
}

std::vector<std::int32_t> Params(const cCommandData& command)
{
    return std::vector<std::int32_t>(command.m_Params.begin(), command.m_Params.end());
}

}  // namespace

TEST_F(FlowRecordTest, AFlowWithConditionsKeyConditionsAndPartsRoundTripsWithItsNameEmptied)
{
    CONDITIONBODY condition;
    condition.kind = 4;
    condition.operand = -70000;
    condition.randomMin = 3;
    condition.randomMax = 9;
    condition.item = 11;
    condition.operandVariable = 255;
    condition.op = 5;
    condition.area = 6;
    COMMANDBODY move;
    move.kind = COMMAND_STRAIGHT_MOVE;
    move.time = 30;
    move.timePerFactor = -2;
    move.sound = 19;
    move.onScreenOnly = 0;
    move.anime = 4;
    move.move = PartBody(MoveLayout(), kDataVersion, Small);
    COMMANDBODY shot;
    shot.kind = COMMAND_SHOT;
    shot.parallel = 1;
    shot.shot = PartBody(ShotLayout(), kDataVersion, Small);
    COMMANDBODY code;
    code.kind = COMMAND_CODE;
    code.code = "V[1] = 2;";
    COMMANDBODY message;
    message.kind = COMMAND_MESSAGE;
    message.code = "こんにちは";
    message.params = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    COMMANDBODY carrier;
    carrier.itemAction = 1;
    carrier.kind = ITEMACTION_CHANGE_FLOWS;
    carrier.params = {1, 2};
    FLOWBODY inner;
    inner.trigger = TRIGGER_DEATH;
    carrier.flows = {FlowBody(kDataVersion, inner)};

    FLOWBODY flow;
    flow.id = 7;
    flow.group = 26;
    flow.conditionRule = 1;
    flow.checkOnce = 1;
    flow.trigger = TRIGGER_NONE;
    flow.keySlack = 5;
    flow.keyRepeat = 1;
    flow.conditions = {ConditionBody(kDataVersion, condition), ConditionBody(kDataVersion, CONDITIONBODY{})};
    flow.keyConditions = {KeyConditionBody(std::vector<std::uint8_t>(19, 1), 1, 2, 30, 0, 2)};
    flow.commands = {CommandBody(move), CommandBody(shot), CommandBody(code), CommandBody(message), CommandBody(carrier)};

    const std::string written = FileImage(kDataVersion, FlowBody(kDataVersion, flow));
    flow.name = "名前";
    cFlowData read;
    ASSERT_EQ(ReadImage(read, FileImage(kDataVersion, FlowBody(kDataVersion, flow))), 1);
    EXPECT_EQ(read.m_strName, "");
    EXPECT_EQ(read.m_nGroup, 26);
    EXPECT_EQ(read.m_nTrigger, TRIGGER_NONE);
    ASSERT_EQ(read.m_Conditions.size(), 2u);
    EXPECT_EQ(read.m_Conditions[0].m_nOperand, -70000);
    EXPECT_EQ(read.m_Conditions[0].m_nOperandVariable, 255);
    ASSERT_EQ(read.m_KeyConditions.size(), 1u);
    EXPECT_EQ(read.m_KeyConditions[0].m_nMaxFrames, 30);
    ASSERT_EQ(read.m_Commands.size(), 5u);
    ASSERT_TRUE(read.m_Commands[0].m_pMove);
    EXPECT_FALSE(read.m_Commands[0].m_pShot);
    EXPECT_EQ(read.m_Commands[0].m_pMove->m_nSpeed, Small(22));
    EXPECT_EQ(read.m_Commands[0].m_bSoundOnScreenOnly, 0);
    ASSERT_TRUE(read.m_Commands[1].m_pShot);
    EXPECT_EQ(read.m_Commands[1].m_pShot->m_nPower, static_cast<int>(Small(47)));
    EXPECT_EQ(Cp932(read.m_Commands[3].m_strCode), Cp932("こんにちは"));
    ASSERT_EQ(read.m_Commands[4].m_Flows.size(), 1u);
    EXPECT_EQ(read.m_Commands[4].m_Flows[0].m_nTrigger, TRIGGER_DEATH);
    EXPECT_EQ(WriteImage(read), written);

    // A copy is deep and writes the same.
    cFlowData copy;
    copy = read;
    copy.m_Commands[1].m_pShot->m_nPower = 99;
    EXPECT_EQ(WriteImage(read), written);
}

TEST_F(FlowRecordTest, TriggersAndGroupsOfOlderFilesAreRenumbered)
{
    struct Case { int version; int trigger; int group; int triggerAfter; int groupAfter; } cases[] = {
        {100, 12, 3, 15, 0},
        {130, 12, 3, 15, 0},
        {131, 12, 3, 15, 0},
        {132, 12, 3, 14, 0},
        {160, 12, 3, 14, 0},
        {162, 12, 3, 14, 0},
        {163, 12, 3, 14, 3},
        {164, 12, 3, 12, 3},
        {692, 12, 3, 12, 3},
        {130, 4, 3, 4, 0},
        {160, 4, 3, 4, 0},
        {131, 10, 0, 12, 0},   // not moved by the first insertion, by the second
        {131, 0, 5, 0, 5},     // trigger 0 keeps its group
        {163, 5, 2, 7, 2},
    };
    for (const auto& c : cases) {
        FLOWBODY body;
        body.trigger = c.trigger;
        body.group = c.group;
        cFlowData flow;
        ASSERT_EQ(ReadImage(flow, FileImage(c.version, FlowBody(c.version, body))), 1) << c.version;
        EXPECT_EQ(flow.m_nTrigger, c.triggerAfter) << c.version << " trigger " << c.trigger;
        EXPECT_EQ(flow.m_nGroup, c.groupAfter) << c.version << " trigger " << c.trigger;
    }
}

TEST_F(FlowRecordTest, ConditionsOfOlderFilesAreUpgraded)
{
    struct Case {
        const char* what;
        int version;
        CONDITIONBODY body;
        int kind;
        int holder;
        int item;
        int operandItem;
        int op;
    } cases[] = {
        {"old kind 5 is the distance condition", 150, {.kind = 5, .holder = 1}, 7, 0, 0, 0, 0},
        {"kind 6 test 2 is inverted", 160, {.kind = 6, .item = 2, .op = 0}, 6, 0, 2, 0, 1},
        {"kind 6 test 2 kept", 161, {.kind = 6, .item = 2, .op = 0}, 6, 0, 2, 0, 0},
        {"statuses from 10 move twice", 167,
         {.kind = 4, .item = 10, .operandSource = 2, .operandItem = 12}, 4, 0, 12, 14, 0},
        {"statuses from 5 move once", 167, {.kind = 4, .item = 5, .operandSource = 2, .operandItem = 4}, 4, 0, 6, 4, 0},
        {"system values stay", 167, {.kind = 4, .holder = 2, .item = 10}, 4, 2, 10, 0, 0},
        {"a variable is no status", 167, {.kind = 4, .item = 10, .valueSource = 1}, 4, 0, 10, 0, 0},
        {"statuses from 5 at 202", 202, {.kind = 4, .item = 10}, 4, 0, 11, 0, 0},
        {"status list of 203", 203, {.kind = 4, .item = 10}, 4, 0, 10, 0, 0},
        {"flag 6 moves", 209, {.kind = 5, .item = 6}, 5, 0, 7, 0, 0},
        {"flag 5 stays", 209, {.kind = 5, .item = 5}, 5, 0, 5, 0, 0},
        {"distance from the hero", 656, {.kind = 7, .holder = 1}, 7, 0, 0, 0, 0},
        {"distance from the target", 657, {.kind = 7, .holder = 1}, 7, 1, 0, 0, 0},
    };
    for (const auto& c : cases) {
        cConditionData condition;
        ASSERT_EQ(ReadImage(condition, FileImage(c.version, ConditionBody(c.version, c.body))), 1) << c.what;
        EXPECT_EQ(condition.m_nKind, c.kind) << c.what;
        EXPECT_EQ(condition.m_nHolder, c.holder) << c.what;
        EXPECT_EQ(condition.m_nItem, c.item) << c.what;
        EXPECT_EQ(condition.m_nOperandItem, c.operandItem) << c.what;
        EXPECT_EQ(condition.m_nOperator, c.op) << c.what;
    }

    // Below 110 two dropped values stand between the operand and the operator; below 43 there
    // is no percent switch.
    for (int version : {42, 109}) {
        cConditionData condition;
        ASSERT_EQ(ReadImage(condition, FileImage(version, ConditionBody(version, {.kind = 1, .operand = 77, .op = 3, .percent = 1, .area = 2}))), 1);
        EXPECT_EQ(condition.m_nOperand, 77);
        EXPECT_EQ(condition.m_nOperator, 3);
        EXPECT_EQ(condition.m_bPercent, version >= 43 ? 1 : 0);
        EXPECT_EQ(condition.m_nArea, 2);
        EXPECT_EQ(condition.m_nRandomMin, 0);
    }
    cConditionData current;
    EXPECT_EQ(WriteImage(current).size(), 4u + 36u);
}

TEST_F(FlowRecordTest, CommandsOfOlderFilesAreUpgradedUnderTheirOwnNumbering)
{
    using P = std::vector<std::int32_t>;
    struct Case {
        const char* what;
        int version;
        COMMANDBODY body;
        P params;
    } cases[] = {
        {"message of 500", 500, {.kind = COMMAND_MESSAGE, .params = {7, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
         {7, 1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 0, 0, 0, 1, 0, 1}},
        {"message of 500 at position 3", 500, {.kind = COMMAND_MESSAGE, .params = {3}},
         {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1}},
        {"message of 545, one parameter", 545, {.kind = COMMAND_MESSAGE, .params = {0}},
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1}},
        {"message of 546", 546, {.kind = COMMAND_MESSAGE, .params = {4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 9, 9, 9, 9, 9, 9}},
         {4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 0, 0, 0, 1, 0, 1}},
        {"message of 556", 556, {.kind = COMMAND_MESSAGE, .params = {4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 9, 9, 9, 9, 9, 9}},
         {4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 9, 9, 9, 9, 9, 9}},
        {"item action message", 500, {.itemAction = 1, .kind = 4, .params = {0}},
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1}},
        {"flow command 4 is a circle move", 500, {.kind = COMMAND_CIRCLE_MOVE, .params = {0}}, {}},
        {"picture of 193", 193, {.kind = COMMAND_PICTURE, .params = {1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
         {1, 1, 2, 3, 4, 5, 1, 6, 7, 8, 9, 0, 0, 0}},
        {"stage clear of 144", 144, {.kind = COMMAND_STAGE_CLEAR, .params = {1, 2}}, {1, 2, 0, 0, 0, 0, 0, 0, 0}},
        {"BGM of 165", 165, {.kind = COMMAND_BGM, .params = {3}}, {3, 1}},
        {"set target of 188", 188, {.kind = COMMAND_SET_TARGET, .params = {1, 2, 3, 4, 5, 6, 7, 8, 9}},
         {1, 2, 0, 3, 4, 5, 6, 7, 8, 9}},
        {"chara effect of 194", 194, {.kind = COMMAND_CHARA_EFFECT, .params = {3, 8}}, {3, 0, 8}},
        {"item action chara effect", 194, {.itemAction = 1, .kind = 14, .params = {3, 8}}, {3, 0, 8}},
        {"chara summon of 202", 202, {.kind = COMMAND_CHARA_SUMMON, .params = {5}}, {}},
        {"flow operation of 202", 202, {.kind = COMMAND_FLOW_OPERATION, .params = {1, 2, 3, 4}}, {1, 2, 3}},
        {"status of 167", 167, {.kind = COMMAND_STATUS, .params = {0, 0, 0, 0, 10, 0, 2, 0, 0, 0, 0, 0, 0, 5}},
         {0, 0, 0, 0, 12, 0, 2, 0, 0, 0, 0, 0, 0, 6, 0, 0, 0, 0}},
        {"status of 167, one parameter", 167, {.kind = COMMAND_STATUS, .params = {0}},
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"status 2 of 209", 209, {.kind = COMMAND_STATUS2, .params = {0, 6}}, {0, 7, 0}},
        {"status 2 of 209 for the system", 209, {.kind = COMMAND_STATUS2, .params = {2, 6}}, {2, 6, 0}},
        {"graphic of 218", 218, {.kind = COMMAND_CHANGE_GRAPHIC, .params = {3, 5}}, {3, 6, 0}},
        {"graphic of 218 held", 218, {.kind = COMMAND_CHANGE_GRAPHIC, .params = {3, 119, 1}}, {3, 119, 1}},
        {"graphic of 218, huge", 218, {.kind = COMMAND_CHANGE_GRAPHIC, .params = {3, 2147483647}}, {3, 119, 0}},
        {"turn with no parameter", 692, {.kind = COMMAND_TURN}, {0}},
        {"turn with three", 692, {.kind = COMMAND_TURN, .params = {4, 5, 6}}, {4}},
    };
    for (const auto& c : cases) {
        const cCommandData command = ReadCommand(c.version, c.body);
        EXPECT_EQ(Params(command), c.params) << c.what;
    }
}

TEST_F(FlowRecordTest, UpgradesOfThePartsPassOverCommandsWithoutThem)
{
    COMMANDBODY shot{.kind = COMMAND_SHOT};
    for (int graphic : {5, 118, 119, 300}) {
        shot.shot = PartBody(ShotLayout(), 219, [&](int block) -> std::uint64_t { return block == 19 ? graphic : 1; });
        const cCommandData command = ReadCommand(219, shot);
        ASSERT_TRUE(command.m_pShot);
        EXPECT_EQ(command.m_pShot->m_nGraphic, graphic >= 119 ? 119 : graphic + 1) << graphic;
    }
    shot.shot = PartBody(ShotLayout(), 220, [](int block) -> std::uint64_t { return block == 19 ? 5 : 1; });
    EXPECT_EQ(ReadCommand(220, shot).m_pShot->m_nGraphic, 5);

    COMMANDBODY charge{.kind = COMMAND_CHARGE_MOVE};
    charge.move = PartBody(MoveLayout(), 513, [](int block) -> std::uint64_t { return block <= 5 ? 45 : 0; });
    cCommandData command = ReadCommand(513, charge);
    ASSERT_TRUE(command.m_pMove);
    EXPECT_EQ(command.m_pMove->m_nAngle, 0);
    EXPECT_EQ(command.m_pMove->m_nAnglePerFactor, 0);
    EXPECT_EQ(command.m_pMove->m_bMirrorAngle, 1);
    EXPECT_EQ(ReadCommand(514, charge).m_pMove->m_nAngle, 45);

    // No part: nothing to upgrade, nothing dereferenced.
    EXPECT_FALSE(ReadCommand(219, {.kind = COMMAND_SHOT}).m_pShot);
    EXPECT_FALSE(ReadCommand(513, {.kind = COMMAND_CHARGE_MOVE}).m_pMove);
    EXPECT_FALSE(ReadCommand(692, {.kind = COMMAND_SWORD}).m_pShot);
}

TEST_F(FlowRecordTest, KindsOutsideTheTablesAreKeptAsRead)
{
    struct Case { int itemAction; int kind; } cases[] = {{0, 37}, {0, 100}, {0, -3}, {1, 22}, {1, -1}, {1, 127}};
    for (const auto& c : cases) {
        COMMANDBODY body{.itemAction = c.itemAction, .kind = c.kind, .params = {5, -6, 7}};
        const std::string image = FileImage(kDataVersion, CommandBody(body));
        for (int version : {100, 500, static_cast<int>(kDataVersion)}) {
            const cCommandData command = ReadCommand(version, body);
            EXPECT_EQ(command.m_nKind, c.kind);
            EXPECT_EQ(Params(command), (std::vector<std::int32_t>{5, -6, 7})) << c.kind << " of " << version;
        }
        cCommandData command = ReadCommand(kDataVersion, body);
        EXPECT_EQ(WriteImage(command), image) << c.kind;
        EXPECT_EQ(FindCommandInfo(c.itemAction, c.kind), nullptr);
    }
}

TEST(CommandInfo, ItemActionsHaveTheLabelAndCountOfTheirKind)
{
    struct Case { int kind; const char* label; int count; } cases[] = {
        {0, "", 0}, {1, "フローの変更", 2}, {2, "ステージクリア", 9}, {4, "メッセージ", 17},
        {7, "ステータスの操作", 18}, {13, "エフェクトの実行", 8}, {20, "BGMの再生", 2}, {21, "コードの実行", 0},
    };
    for (const auto& c : cases) {
        const COMMANDINFO* info = FindCommandInfo(1, c.kind);
        ASSERT_NE(info, nullptr) << c.kind;
        EXPECT_EQ(info->label, c.label) << c.kind;
        EXPECT_EQ(info->count, c.count) << c.kind;
    }
}

TEST_F(FlowRecordTest, GroupsBeyondZAreKeptAndCountAsNoGroup)
{
    for (int group : {0, 1, 26, 27, 200, 255}) {
        FLOWBODY body{.group = group};
        cFlowData flow;
        ASSERT_EQ(ReadImage(flow, FileImage(kDataVersion, FlowBody(kDataVersion, body))), 1);
        EXPECT_EQ(flow.m_nGroup, group);
        EXPECT_EQ(flow.GroupFlagIndex(), group <= 26 ? group : 0);
        EXPECT_EQ(WriteImage(flow), FileImage(kDataVersion, FlowBody(kDataVersion, body)));
    }
}

TEST(KeyConditionRecord, TheKeyListKeepsTheCountTheFileGives)
{
    const cKeyConditionData fresh;
    EXPECT_EQ(fresh.m_Keys.size(), 19u);
    for (std::size_t n : {0u, 5u, 19u, 25u}) {
        std::vector<std::uint8_t> keys(n, 2);
        const std::string image = FileImage(kDataVersion, KeyConditionBody(keys, 1, 3, 4, 1, 2));
        cKeyConditionData key;
        ASSERT_EQ(ReadImage(key, image), 1) << n;
        EXPECT_EQ(key.m_Keys.size(), n);
        EXPECT_EQ(key.KeyState(18), n > 18 ? 2 : 0);   // a missing key is ignored
        EXPECT_EQ(key.KeyState(-1), 0);
        EXPECT_EQ(WriteImage(key), image);
        key.Init();
        EXPECT_EQ(key.m_Keys.size(), 19u);
        EXPECT_EQ(key.m_nMaxFrames, 0);
    }
    // A count the file cannot hold fails the read before anything is sized by it.
    cByteBuilder damaged;
    AppendBody(damaged, {{1, 0}, {2, 0}, {2, 0}, {1, 0}, {1, 0}});
    damaged.U32(0x7FFFFFFF).U8(1);
    cKeyConditionData key;
    EXPECT_EQ(ReadImage(key, FileImage(kDataVersion, damaged.Str())), 0);
    EXPECT_EQ(key.m_Keys.size(), 19u);
}

TEST_F(FlowRecordTest, NestingDeeperThan64FlowsFailsTheRead)
{
    auto nested = [](int depth) {
        std::string body = FlowBody(kDataVersion, FLOWBODY{.id = 9});
        for (int i = 1; i < depth; ++i) {
            COMMANDBODY carrier{.itemAction = 1, .kind = ITEMACTION_CHANGE_FLOWS, .flows = {body}};
            body = FlowBody(kDataVersion, FLOWBODY{.commands = {CommandBody(carrier)}});
        }
        return FileImage(kDataVersion, body);
    };
    cFlowData flow;
    EXPECT_EQ(ReadImage(flow, nested(kMaxFlowNesting)), 1);
    cFlowData deepest = flow;
    for (int i = 1; i < kMaxFlowNesting; ++i) {
        ASSERT_EQ(deepest.m_Commands.size(), 1u);
        deepest = cFlowData(deepest.m_Commands[0].m_Flows.at(0));
    }
    EXPECT_EQ(deepest.m_nId, 9);

    cFlowData untouched;
    untouched.m_nId = 3;
    EXPECT_EQ(ReadImage(untouched, nested(kMaxFlowNesting + 1)), 0);
    EXPECT_EQ(untouched.m_nId, 3);
    EXPECT_TRUE(untouched.m_Commands.empty());
    // The depth is counted per read: a good file reads again after the failure.
    EXPECT_EQ(ReadImage(untouched, nested(2)), 1);
}
