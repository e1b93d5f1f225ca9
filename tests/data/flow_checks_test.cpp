// The fixtures name only the fields a case sets; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "data/command_info.h"
#include "data/flow_data.h"
#include "data/system_data.h"
#include "shell/shared_flags.h"
#include "tests/data/allocation_probe.h"
#include "tests/data/flow_file_builder.h"
#include "tests/data/flow_record_builder.h"
#include "tests/data/record_test_support.h"

using namespace qbtest;

namespace {

cCommandData ReadCommand(const COMMANDBODY& body)
{
    cCommandData command;
    EXPECT_EQ(ReadImage(command, FileImage(kDataVersion, CommandBody(body))), 1);
    return command;
}


}  // namespace

TEST(CommandValidate, DatabaseReferencesAgainstTheDatabaseSizes)
{
    // (n - 1 kept; n, negative and a huge value out of range) for every database size tried.
    struct Reference { const char* what; int kind; int file; bool firstParam; int replacement; } references[] = {
        {"anime set", COMMAND_CHANGE_ANIMESET, DATABASE_ANIMESET, true, 0},
        {"anime", COMMAND_ANIME, DATABASE_ANIME, true, 1},
        {"effect", COMMAND_EFFECT, DATABASE_EFFECT, true, 1},
        {"chara effect", COMMAND_CHARA_EFFECT, DATABASE_CHARAEFFECT, true, 1},
        {"screen effect", COMMAND_SCREEN_EFFECT, DATABASE_SCREFFECT, true, 1},
        {"picture", COMMAND_PICTURE, DATABASE_PICTURE, true, 1},
        {"sound", COMMAND_SOUND, DATABASE_SOUND, true, 1},
        {"bgm", COMMAND_BGM, DATABASE_BGM, true, 1},
        {"command anime", COMMAND_WAIT, DATABASE_ANIME, false, 0},
        {"command sound", COMMAND_WAIT, DATABASE_SOUND, false, 0},
    };
    for (std::size_t n : {1u, 2u, 9u}) {
        cDatabaseSizesScope databases;
        databases.SetAll(n);
        for (const auto& r : references) {
            for (int itemAction : {0, 1}) {
                const int kind = itemAction ? r.kind - kItemActionCommandOffset : r.kind;
                if (itemAction && kind < ITEMACTION_FIRST_COMMAND) continue;
                const int size = static_cast<int>(n);
                struct Value { int stored; bool kept; } values[] = {{size - 1, true}, {size, false}, {-1, false}, {30000, false}};
                for (const auto& v : values) {
                    COMMANDBODY body{.itemAction = itemAction, .kind = kind};
                    if (r.firstParam) {
                        body.params = {v.stored, 0, 0};
                    } else if (r.file == DATABASE_ANIME) {
                        body.anime = v.stored;
                    } else {
                        body.sound = v.stored;
                    }
                    const cCommandData command = ReadCommand(body);
                    const int after = r.firstParam ? command.m_Params.at(0) : (r.file == DATABASE_ANIME ? command.m_nAnime : command.m_nSound);
                    // A one-entry database has no first real entry: the reference becomes "none".
                    const int replacement = (r.replacement == 1 && n < 2) ? 0 : r.replacement;
                    EXPECT_EQ(after, v.kept ? v.stored : replacement)
                        << r.what << " item action " << itemAction << " size " << n << " stored " << v.stored;
                }
            }
        }
    }
}

TEST(CommandValidate, ASwordTakesTheSumOfItsFrameDurationsHeldAt9999)
{
    cDatabaseSizesScope databases;
    databases.SetAll(4);
    auto frames = [](std::vector<int> durations) {
        cSafeVector<cSwordFrameData> list(durations.size());
        for (std::size_t i = 0; i < durations.size(); ++i) list[i].m_nDuration = durations[i];
        return list;
    };
    g_Database.m_SwordTypes[0].m_Frames = frames({2, 3});
    g_Database.m_SwordTypes[1].m_Frames = frames({5000, 6000});
    g_Database.m_SwordTypes[2].m_Frames = frames({9999, -5});
    g_Database.m_SwordTypes[3].m_Frames = frames({4, 6, 1});
    struct Case { int type; int typeAfter; int time; } cases[] = {
        {1, 1, 9999}, {2, 2, 9994}, {3, 3, 11}, {4, 0, 5}, {-1, 0, 5},
    };
    for (const auto& c : cases) {
        COMMANDBODY body{.kind = COMMAND_SWORD, .time = 77};
        body.shot = PartBody(ShotLayout(), kDataVersion, [&](int block) -> std::uint64_t {
            return block == 27 ? static_cast<std::uint8_t>(c.type) : 1;
        });
        const cCommandData command = ReadCommand(body);
        EXPECT_EQ(command.m_pShot->m_nTrajectory, c.typeAfter) << c.type;
        EXPECT_EQ(command.m_nTime, c.time) << c.type;
    }
    // A sword stored without its part keeps its time.
    EXPECT_EQ(ReadCommand({.kind = COMMAND_SWORD, .time = 77}).m_nTime, 77);
}

TEST(CommandValidate, SwordTypesFrom128To255AreEntriesLikeAnyOther)
{
    struct Case { std::size_t types; int type; int typeAfter; int time; } cases[] = {
        {256, 200, 200, 15}, {256, 255, 255, 15}, {256, 127, 127, 15}, {200, 200, 0, 3},
    };
    for (const auto& c : cases) {
        cDatabaseSizesScope databases;
        databases.SetAll(c.types);
        for (cSwordTypeData& type : g_Database.m_SwordTypes) {
            type.m_Frames.assign(2, cSwordFrameData());
            type.m_Frames[0].m_nDuration = 7;
            type.m_Frames[1].m_nDuration = 8;
        }
        g_Database.m_SwordTypes[0].m_Frames[1].m_nDuration = -4;
        COMMANDBODY body{.kind = COMMAND_SWORD, .time = 77};
        body.shot = PartBody(ShotLayout(), kDataVersion, [&](int block) -> std::uint64_t {
            return block == 27 ? static_cast<std::uint64_t>(c.type) : 1;
        });
        const cCommandData command = ReadCommand(body);
        EXPECT_EQ(command.m_pShot->m_nTrajectory, c.typeAfter) << c.types << " " << c.type;
        EXPECT_EQ(command.m_nTime, c.time) << c.types << " " << c.type;
    }
}

TEST(TestPlayFlows, AreDroppedFromCommandsUnlessTheEditorStartedUsOrTheSystemKeepsThem)
{
    COMMANDBODY carrier{.itemAction = 1, .kind = ITEMACTION_CHANGE_FLOWS, .params = {0, 0}};
    carrier.flows = {FlowBody(kDataVersion, {.id = 1}), FlowBody(kDataVersion, {.id = 2, .testPlayOnly = 1}),
                     FlowBody(kDataVersion, {.id = 3}), FlowBody(kDataVersion, {.id = 4, .testPlayOnly = 7})};
    // Flows inside a flow's command inside a command: the inner command drops its own too.
    COMMANDBODY outer{.itemAction = 1, .kind = ITEMACTION_CHANGE_FLOWS, .params = {0, 0}};
    outer.flows = {FlowBody(kDataVersion, {.id = 5, .testPlayOnly = 1}),
                   FlowBody(kDataVersion, {.id = 6, .commands = {CommandBody(carrier)}})};
    struct Case { int editor; int keep; std::vector<int> ids; std::vector<int> outerIds; } cases[] = {
        {0, 0, {1, 3}, {6}},
        {1, 0, {1, 2, 3, 4}, {5, 6}},
        {0, 1, {1, 2, 3, 4}, {5, 6}},
        {1, 1, {1, 2, 3, 4}, {5, 6}},
    };
    auto ids = [](const cSafeVector<cFlowData>& flows) {
        std::vector<int> result;
        for (const cFlowData& flow : flows) result.push_back(flow.m_nId);
        return result;
    };
    for (const auto& c : cases) {
        cTestPlayScope scope(c.editor, c.keep);
        EXPECT_EQ(ids(ReadCommand(carrier).m_Flows), c.ids) << c.editor << c.keep;
        const cCommandData command = ReadCommand(outer);
        EXPECT_EQ(ids(command.m_Flows), c.outerIds) << c.editor << c.keep;
        EXPECT_EQ(ids(command.m_Flows.back().m_Commands.at(0).m_Flows), c.ids) << c.editor << c.keep;
    }
}

TEST(CommandTemplateRefs, ReferencesOutsideThePalettesAreReset)
{
    const PALETTECOUNTS common{.blocks = 3, .charas = 4, .items = 5};
    const PALETTECOUNTS stage{.blocks = 6, .charas = 7, .items = 8};
    auto shotCommand = [](int kind, int source, int index, int palette, int summon) {
        cCommandData command;
        command.m_nKind = static_cast<std::int8_t>(kind);
        cEdShot::Create(command.m_pShot);
        command.m_pShot->m_nItemSource = static_cast<std::int8_t>(source);
        command.m_pShot->m_nItemIndex = static_cast<std::int16_t>(index);
        command.m_pShot->m_nSummonPalette = static_cast<std::int8_t>(palette);
        command.m_pShot->m_nSummonIndex = static_cast<std::int16_t>(summon);
        return command;
    };
    struct Case { int kind; int source; int index; int palette; int summon; int sourceAfter; int indexAfter; int summonAfter; } cases[] = {
        {COMMAND_SHOT, 1, 4, 0, 9, 1, 4, 9},
        {COMMAND_SHOT, 1, 5, 0, 9, 0, 0, 9},
        {COMMAND_SWORD, 2, 7, 0, 9, 2, 7, 9},
        {COMMAND_SWORD, 2, 8, 0, 9, 0, 0, 9},
        {COMMAND_SHOT, 2, -1, 0, 9, 0, 0, 9},
        {COMMAND_SHOT, 0, 99, 0, 9, 0, 99, 9},
        {COMMAND_BLOCK_SUMMON, 0, 0, 0, 2, 0, 0, 2},
        {COMMAND_BLOCK_SUMMON, 0, 0, 0, 3, 0, 0, 1},
        {COMMAND_BLOCK_SUMMON, 0, 0, 1, 5, 0, 0, 5},
        {COMMAND_CHARA_SUMMON, 0, 0, 0, 4, 0, 0, 1},
        {COMMAND_CHARA_SUMMON, 0, 0, 1, 6, 0, 0, 6},
        {COMMAND_ITEM_SUMMON, 0, 0, 1, 8, 0, 0, 1},
        {COMMAND_ITEM_SUMMON, 0, 0, 2, 80, 0, 0, 80},   // no such palette choice: left as it is
        {COMMAND_ITEM_SUMMON, 0, 0, 0, -4, 0, 0, 1},
    };
    for (const auto& c : cases) {
        cCommandData command = shotCommand(c.kind, c.source, c.index, c.palette, c.summon);
        command.CheckTemplateRefs(common, stage);
        EXPECT_EQ(command.m_pShot->m_nItemSource, c.sourceAfter) << c.kind << ' ' << c.index;
        EXPECT_EQ(command.m_pShot->m_nItemIndex, c.indexAfter) << c.kind << ' ' << c.index;
        EXPECT_EQ(command.m_pShot->m_nSummonIndex, c.summonAfter) << c.kind << ' ' << c.summon;
    }

    // Get item, as a flow command and as an item action, also inside carried flows.
    for (int itemAction : {0, 1}) {
        cCommandData get;
        get.m_bItemAction = static_cast<BYTE>(itemAction);
        get.m_nKind = static_cast<std::int8_t>(itemAction ? COMMAND_GET_ITEM - kItemActionCommandOffset : COMMAND_GET_ITEM);
        get.m_Params = {1, 8};
        cFlowData flow;
        flow.m_Commands.push_back(get);
        get.m_Params = {0, 5};
        get.m_Flows.push_back(flow);
        get.CheckTemplateRefs(common, stage);
        EXPECT_EQ(get.m_Params[1], 1);
        EXPECT_EQ(get.m_Flows[0].m_Commands[0].m_Params[1], 1);
    }
    // A shot command without its part is passed over.
    cCommandData bare;
    bare.m_nKind = COMMAND_SHOT;
    bare.CheckTemplateRefs(common, stage);
    EXPECT_FALSE(bare.m_pShot);
}

TEST(CommandCopy, PartsAreCopiedDeeply)
{
    cCommandData source;
    source.m_nKind = COMMAND_SHOT;
    cEdShot::Create(source.m_pShot);
    source.m_pShot->m_nPower = 5;
    cCommandData destination;
    destination = source;
    ASSERT_TRUE(destination.m_pShot);
    EXPECT_NE(destination.m_pShot, source.m_pShot);
    destination.m_pShot->m_nPower = 9;
    EXPECT_EQ(source.m_pShot->m_nPower, 5);

    cCommandData constructed(source);
    EXPECT_NE(constructed.m_pShot, source.m_pShot);
    EXPECT_EQ(constructed.m_pShot->m_nPower, 5);

    // An empty part empties the destination's.
    cEdMove::Create(destination.m_pMove);
    destination = cCommandData();
    EXPECT_FALSE(destination.m_pMove);
    EXPECT_FALSE(destination.m_pShot);
    EXPECT_EQ(destination.m_bSoundOnScreenOnly, 1);

    destination = source;
    destination.Clear();
    EXPECT_FALSE(destination.m_pShot);
    EXPECT_EQ(destination.m_bSoundOnScreenOnly, 1);
    EXPECT_EQ(destination.m_nKind, 0);
}

// Every prefix, counts set to 0, -1 and huge, and byte flips from a fixed seed: a damaged file
// fails or reads, never crashes or hangs, never allocates far beyond its size, and a failed
// read leaves the record as it was.
TEST(FlowFileDamage, PrefixesCountsAndFlipsFailCleanly)
{
    cDatabaseSizesScope databases;
    databases.SetAll(20);
    COMMANDBODY move{.kind = COMMAND_CIRCLE_MOVE, .move = PartBody(MoveLayout(), kDataVersion, [](int) -> std::uint64_t { return 2; })};
    COMMANDBODY shot{.kind = COMMAND_SHOT, .shot = PartBody(ShotLayout(), kDataVersion, [](int) -> std::uint64_t { return 3; })};
    COMMANDBODY message{.kind = COMMAND_MESSAGE, .code = "text", .params = std::vector<std::int32_t>(17, 1)};
    COMMANDBODY carrier{.itemAction = 1, .kind = 1, .flows = {FlowBody(kDataVersion, {.commands = {CommandBody(message)}})}, .params = {0, 0}};
    FLOWBODY body{.conditions = {ConditionBody(kDataVersion, {.kind = 4, .operand = 3})},
                  .keyConditions = {KeyConditionBody(std::vector<std::uint8_t>(19, 1))},
                  .commands = {CommandBody(move), CommandBody(shot), CommandBody(carrier)}};
    body.name = "flow";
    const std::string file = FileImage(kDataVersion, FlowBody(kDataVersion, body));

    cFlowData reference;
    reference.m_nId = 42;
    const std::string before = WriteImage(reference);
    auto check = [&](const std::string& image, const std::string& what) {
        cFlowData flow = reference;
        std::size_t total = 0;
        int read = 0;
        {
            cAllocationProbe probe;
            read = ReadImage(flow, image);
            total = probe.Total();
        }
        EXPECT_LE(total, ReadMemoryLimit(image.size())) << what;
        if (!read) {
            EXPECT_EQ(WriteImage(flow), before) << what;
        } else {
            // What reads writes an image that reads back to the same image.
            const std::string again = WriteImage(flow);
            cFlowData second;
            ASSERT_EQ(ReadImage(second, again), 1) << what;
            EXPECT_EQ(WriteImage(second), again) << what;
        }
    };
    for (std::size_t n = 0; n < file.size(); ++n) {
        cFlowData flow = reference;
        EXPECT_EQ(ReadImage(flow, file.substr(0, n)), 0) << n;
        EXPECT_EQ(WriteImage(flow), before) << n;
    }
    check(file, "whole");
    // Every 4-byte word set to 0, -1 and a huge count in turn.
    for (std::size_t at = 4; at + 4 <= file.size(); ++at) {
        for (std::uint32_t value : {0u, 0xFFFFFFFFu, 0x7FFFFFFFu, 0x10000u}) {
            std::string damaged = file;
            for (int i = 0; i < 4; ++i) damaged[at + i] = static_cast<char>(value >> (8 * i));
            check(damaged, "word at " + std::to_string(at));
        }
    }
    std::mt19937 random(12);
    for (int round = 0; round < 3000; ++round) {
        std::string damaged = file;
        for (int flips = 1 + static_cast<int>(random() % 4); flips > 0; --flips) {
            damaged[4 + random() % (damaged.size() - 4)] = static_cast<char>(random());
        }
        check(damaged, "round " + std::to_string(round));
    }
}
