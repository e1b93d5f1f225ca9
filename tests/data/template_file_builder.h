#pragma once
// Hand-built bodies of block, chara and item templates and of palette files, written from the
// file layout (not by the runtime's writer).
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tests/data/flow_file_builder.h"
#include "tests/data/flow_record_builder.h"

namespace qbtest {

// One registered field: its number, width, first version that stores it and default.
struct TEMPLATEFIELD {
    int number;
    int width;
    int since;
    std::int64_t byDefault;
};

inline const std::vector<TEMPLATEFIELD>& BlockFields()
{
    static const std::vector<TEMPLATEFIELD> rows = {
        {1, 1, 0, 0}, {2, 2, 0, 0}, {3, 1, 0, 0}, {4, 1, 0, 0}, {5, 2, 0, 0}, {6, 1, 0, 0},
        {7, 2, 0, 0}, {8, 1, 0, 0}, {9, 1, 0, 0}, {10, 1, 0, 0}, {11, 2, 0, 0}, {12, 1, 0, 1},
        {13, 1, 0, -1}, {14, 1, 0, 0}, {15, 4, 0, 0}, {16, 1, 0, 0}, {17, 2, 0, 0}, {18, 1, 0, 0},
    };
    return rows;
}

inline const std::vector<TEMPLATEFIELD>& CharaFields()
{
    static const std::vector<TEMPLATEFIELD> rows = {
        {1, 1, 0, 0}, {2, 2, 0, 0}, {3, 1, 0, 0}, {4, 1, 0, 0}, {5, 1, 0, 0}, {6, 1, 0, 0},
        {7, 2, 0, 0}, {8, 2, 0, 0}, {9, 2, 0, 0}, {10, 2, 0, 0}, {11, 1, 0, 0}, {12, 1, 0, 0},
        {13, 2, 0, 0}, {14, 1, 0, 1}, {15, 2, 0, 0}, {16, 2, 0, 0}, {17, 1, 0, 3}, {18, 1, 0, 0},
        {19, 2, 0, 0}, {20, 1, 196, 0}, {21, 1, 0, 1}, {22, 2, 0, 0}, {23, 1, 196, 0}, {24, 1, 0, 0},
        {25, 2, 0, 0}, {26, 1, 0, 1}, {27, 1, 0, 0}, {28, 1, 0, 1}, {29, 1, 0, 0}, {30, 1, 0, 0},
        {31, 1, 0, 1}, {32, 1, 0, 0}, {33, 1, 285, 0}, {34, 1, 0, 0}, {35, 1, 0, 1}, {36, 1, 210, 0},
        {37, 1, 0, 0}, {38, 1, 0, 0}, {39, 4, 0, 10}, {40, 4, 0, 0}, {41, 2, 0, 10}, {42, 1, 201, 0},
        {43, 4, 0, 0}, {44, 1, 0, 0}, {45, 2, 0, 0}, {46, 4, 168, 0}, {47, 1, 0, 0}, {48, 4, 0, 0},
        {49, 1, 0, 1}, {50, 1, 0, 0}, {51, 2, 0, 0}, {52, 1, 0, 0}, {53, 1, 0, 0},
    };
    return rows;
}

inline const std::vector<TEMPLATEFIELD>& ItemFields()
{
    static const std::vector<TEMPLATEFIELD> rows = {
        {1, 1, 0, 0}, {2, 2, 0, 0}, {3, 1, 0, 0}, {4, 1, 0, 0}, {5, 2, 0, 0}, {6, 2, 0, 0},
        {7, 2, 0, 0}, {8, 1, 0, 2}, {9, 2, 0, 0}, {10, 1, 0, 6}, {11, 1, 0, 0}, {12, 1, 0, 0},
        {13, 2, 0, 0}, {14, 1, 0, 1}, {15, 1, 0, 0}, {16, 1, 0, 1}, {17, 2, 0, 0},
    };
    return rows;
}

enum TEMPLATEKIND { KIND_BLOCK, KIND_CHARA, KIND_ITEM };

// A template body: fields by number (the others take their defaults), the name, the position,
// the held item (charas), the flags, and bodies of the conditions and of the flows (charas) or
// actions (items).
struct TEMPLATEBODY {
    std::map<int, std::int64_t> fields;
    std::string name;
    int column = 0;
    int row = 0;
    int heldItem = -1;
    std::vector<std::uint8_t> flags;
    std::vector<std::string> conditions;
    std::vector<std::string> lists;
};

inline const std::vector<TEMPLATEFIELD>& FieldsOf(TEMPLATEKIND kind)
{
    return kind == KIND_BLOCK ? BlockFields() : kind == KIND_CHARA ? CharaFields() : ItemFields();
}

inline std::string TemplateBody(TEMPLATEKIND kind, int version, const TEMPLATEBODY& t)
{
    std::vector<FLOWBLOCK> blocks;
    for (const TEMPLATEFIELD& field : FieldsOf(kind)) {
        if (version < field.since) continue;
        auto it = t.fields.find(field.number);
        const std::int64_t value = it != t.fields.end() ? it->second : field.byDefault;
        blocks.push_back({field.width, static_cast<std::uint64_t>(value)});
    }
    cByteBuilder b;
    AppendBody(b, blocks, {t.name});
    b.U16(static_cast<std::uint16_t>(t.column)).U16(static_cast<std::uint16_t>(t.row));
    if (kind == KIND_CHARA) b.I32(t.heldItem);
    b.U32(static_cast<std::uint32_t>(t.flags.size()));
    for (std::uint8_t flag : t.flags) b.U8(flag);
    b.U32(static_cast<std::uint32_t>(t.conditions.size()));
    for (const std::string& body : t.conditions) b.Bytes(body);
    if (kind != KIND_BLOCK) {
        b.U32(static_cast<std::uint32_t>(t.lists.size()));
        for (const std::string& body : t.lists) b.Bytes(body);
    }
    return b.Str();
}

// A template with source, index and the flags of the given groups set (count: the class's).
inline TEMPLATEBODY Inheriting(int source, int index, std::size_t groups, std::vector<int> flagged)
{
    TEMPLATEBODY t;
    t.fields[1] = source;
    t.fields[2] = index;
    t.flags.assign(groups, 0);
    for (int g : flagged) t.flags[static_cast<std::size_t>(g)] = 1;
    return t;
}

// A palette file: version, two zero counts, then the three lists of template bodies.
inline std::string PaletteImage(int version, const std::vector<TEMPLATEBODY>& blocks, const std::vector<TEMPLATEBODY>& charas,
                                const std::vector<TEMPLATEBODY>& items)
{
    cByteBuilder b;
    b.U32(static_cast<std::uint32_t>(version)).U32(0).U32(0);
    const std::vector<TEMPLATEBODY>* lists[] = {&blocks, &charas, &items};
    for (int kind = 0; kind < 3; ++kind) {
        b.U32(static_cast<std::uint32_t>(lists[kind]->size()));
        for (const TEMPLATEBODY& t : *lists[kind]) b.Bytes(TemplateBody(static_cast<TEMPLATEKIND>(kind), version, t));
    }
    return b.Str();
}

// Entry 0 as a palette holds it after loading: the defaults, a block without image not solid.
inline TEMPLATEBODY Empty(std::size_t groups)
{
    TEMPLATEBODY t;
    if (groups == 11) t.fields = {{12, 0}};
    t.heldItem = 0;
    t.flags.assign(groups, 0);
    return t;
}

// A palette at the current version whose fields hold distinct values, with a name, conditions,
// a flow and an action; it reads back unchanged when the databases are empty. A chara flow
// marked for test play is added when testPlayFlow is set.
inline std::string DistinctPaletteImage(bool testPlayFlow = false)
{
    TEMPLATEBODY block;
    block.fields = {{5, 12}, {6, 1}, {7, 13}, {8, 1}, {9, 1}, {10, 1}, {11, 3}, {12, 2}, {13, 4}, {14, 3},
                    {15, -5}, {16, 1}, {17, 1}, {18, 1}};
    block.name = "岩";
    block.column = 3;
    block.flags.assign(11, 0);
    block.conditions = {ConditionBody(692, CONDITIONBODY{})};
    TEMPLATEBODY chara;
    for (const TEMPLATEFIELD& field : CharaFields()) chara.fields[field.number] = field.number % 5 + 1;
    for (int databaseField : {16, 19, 22, 45}) chara.fields[databaseField] = 0;
    chara.fields[1] = 1;
    chara.fields[2] = 1;
    chara.fields[14] = 1;
    chara.flags.assign(37, 0);
    chara.name = "敵";
    FLOWBODY flow;
    flow.id = 3;
    COMMANDBODY wait;
    wait.kind = 1;
    wait.time = 4;
    flow.commands = {CommandBody(wait)};
    chara.lists = {FlowBody(692, flow)};
    if (testPlayFlow) {
        flow.testPlayOnly = 1;
        chara.lists.push_back(FlowBody(692, flow));
    }
    TEMPLATEBODY item;
    item.fields = {{5, 9}, {6, 10}, {7, 11}, {8, 1}, {9, 2}, {10, 3}, {11, 1}, {12, 1}, {13, 4}, {14, 0}, {15, 1}, {16, 2}};
    item.flags.assign(13, 0);
    COMMANDBODY action;
    action.itemAction = 1;
    item.lists = {CommandBody(action)};
    TEMPLATEBODY block2 = block;
    block2.fields[5] = 40;
    block2.name = "";
    return PaletteImage(692, {Empty(11), block, block2}, {Empty(37), chara}, {Empty(13), item});
}

}  // namespace qbtest
