#pragma once
// Hand-built bodies of flows, commands and conditions, from the file layout.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/data/flow_file_builder.h"

namespace qbtest {

// A condition of version 110 or later: the 17 blocks in file order.
struct CONDITIONBODY {
    int kind = 0;
    int operand = 0;
    int randomMin = 0;
    int randomMax = 0;
    int holder = 0;
    int item = 0;
    int valueSource = 0;
    int variableScope = 0;
    int variable = 0;
    int operandSource = 0;
    int operandHolder = 0;
    int operandItem = 0;
    int operandScope = 0;
    int operandVariable = 0;
    int op = 0;
    int percent = 0;
    int area = 0;
};

inline std::string ConditionBody(int version, const CONDITIONBODY& c)
{
    auto u = [](int v) { return static_cast<std::uint64_t>(static_cast<std::uint32_t>(v)); };
    std::vector<FLOWBLOCK> blocks = {{1, u(c.kind)}, {4, u(c.operand)}};
    if (version >= 110) {
        blocks.insert(blocks.end(), {{4, u(c.randomMin)}, {4, u(c.randomMax)}, {1, u(c.holder)}, {1, u(c.item)},
                                     {1, u(c.valueSource)}, {1, u(c.variableScope)}, {2, u(c.variable)},
                                     {1, u(c.operandSource)}, {1, u(c.operandHolder)}, {1, u(c.operandItem)},
                                     {1, u(c.operandScope)}, {2, u(c.operandVariable)}});
    } else {
        blocks.insert(blocks.end(), {{2, 0xAAAA}, {2, 0xBBBB}});   // dropped by the reader
    }
    blocks.push_back({1, u(c.op)});
    if (version >= 43) blocks.push_back({1, u(c.percent)});
    blocks.push_back({1, u(c.area)});
    cByteBuilder b;
    AppendBody(b, blocks);
    return b.Str();
}

inline std::string KeyConditionBody(const std::vector<std::uint8_t>& keys, int facing = 0, int minFrames = 0,
                                    int maxFrames = 0, int any = 0, int rule = 0)
{
    cByteBuilder b;
    AppendBody(b, {{1, static_cast<std::uint64_t>(facing)}, {2, static_cast<std::uint64_t>(minFrames)},
                   {2, static_cast<std::uint64_t>(maxFrames)}, {1, static_cast<std::uint64_t>(any)},
                   {1, static_cast<std::uint64_t>(rule)}});
    b.U32(static_cast<std::uint32_t>(keys.size()));
    for (std::uint8_t key : keys) b.U8(key);
    return b.Str();
}

struct COMMANDBODY {
    int itemAction = 0;
    int kind = 0;
    int time = 0;
    int timePerFactor = 0;
    int parallel = 0;
    int sound = 0;
    int onScreenOnly = 1;
    int anime = 0;
    std::string code;
    std::optional<std::string> move;     // a movement part's body
    std::optional<std::string> shot;     // a shot part's body
    std::vector<std::string> flows;      // flow bodies
    std::vector<std::int32_t> params;
};

inline std::string CommandBody(const COMMANDBODY& c)
{
    auto u = [](int v) { return static_cast<std::uint64_t>(static_cast<std::uint32_t>(v)); };
    cByteBuilder b;
    AppendBody(b, {{1, u(c.itemAction)}, {1, u(c.kind)}, {2, u(c.time)}, {2, u(c.timePerFactor)}, {1, u(c.parallel)},
                   {2, u(c.sound)}, {1, u(c.onScreenOnly)}, {2, u(c.anime)}},
               {c.code});
    b.U32(c.move ? 1 : 0);
    if (c.move) b.Bytes(*c.move);
    b.U32(c.shot ? 1 : 0);
    if (c.shot) b.Bytes(*c.shot);
    b.U32(static_cast<std::uint32_t>(c.flows.size()));
    for (const std::string& flow : c.flows) b.Bytes(flow);
    b.U32(static_cast<std::uint32_t>(c.params.size()));
    for (std::int32_t p : c.params) b.I32(p);
    return b.Str();
}

struct FLOWBODY {
    std::string name;
    int id = 0;
    int group = 0;
    int testPlayOnly = 0;
    int conditionRule = 0;
    int checkOnce = 0;
    int trigger = 0;
    int keySlack = 3;
    int keyRepeat = 0;
    std::vector<std::string> conditions;
    std::vector<std::string> keyConditions;
    std::vector<std::string> commands;
};

inline std::string FlowBody(int version, const FLOWBODY& f)
{
    auto u = [](int v) { return static_cast<std::uint64_t>(static_cast<std::uint32_t>(v)); };
    cByteBuilder b;
    std::vector<std::string> strings;
    if (version >= 676) strings.push_back(f.name);
    AppendBody(b, {{1, u(f.id)}, {1, u(f.group)}, {1, u(f.testPlayOnly)}, {1, u(f.conditionRule)},
                   {1, u(f.checkOnce)}, {1, u(f.trigger)}, {1, u(f.keySlack)}, {1, u(f.keyRepeat)}},
               strings);
    for (const auto* list : {&f.conditions, &f.keyConditions, &f.commands}) {
        b.U32(static_cast<std::uint32_t>(list->size()));
        for (const std::string& body : *list) b.Bytes(body);
    }
    return b.Str();
}

}  // namespace qbtest
