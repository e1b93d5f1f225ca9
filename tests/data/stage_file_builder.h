#pragma once
// Stage files built by hand from the file layout, for any version, independently of the
// runtime's writer: the scalar settings (each only from the version that brought it in), the
// text, the result switches, the five rules, the palette and placed lists, the backgrounds,
// the texts and the end mark.
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/data/flow_file_builder.h"
#include "tests/data/flow_record_builder.h"
#include "tests/data/template_file_builder.h"

namespace qbtest {

// One scalar setting: its number, width (4 or 8 for the doubles), first version and default.
struct STAGEFIELD {
    int number;
    int width;
    int since;
    double byDefault;
};

inline const std::vector<STAGEFIELD>& StageFields()
{
    static const std::vector<STAGEFIELD> rows = [] {
        std::vector<STAGEFIELD> r;
        const double defaults[99] = {
            0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  60, 0,  200, 20, 0,  0,  0,  0,   // 0-20
            0.4, 10, 0, 0,  0,  0,  1,  0,  0,  1,  0,  0,  1,  1,  1,  16, 24, 16, 16, 16, 24,  // 21-41
            16, 16, 12, 8,  16, 16, 1,  0,  1,  0,  0,  0,  0,  0,  0,  0,  0,  0,  16, 24, 16,  // 42-62
            16, 12, 24, 12, 16, 30, 30, 1,  0,  1,  0,  28, 28, 16, 16, 16, 16, 16, 16, 16, 16,  // 63-83
            1,  0,  0,  0,  0,  0,  0,  0,  0,  0,  1,  30, 0,  30, 0};                          // 84-98
        auto since = [](int n) {
            if (n == 25) return 166;
            if (n == 26) return 199;
            if (n == 30) return 183;
            if (n == 31) return 184;
            if (n == 33) return 225;
            if ((n >= 36 && n <= 39) || n == 48 || n == 49 || n == 52 || n == 56 || (n >= 60 && n <= 63) || n == 70 || n == 71)
                return 200;
            if (n == 42 || n == 43 || n == 50 || n == 51 || n == 66 || n == 67 || n == 72 || n == 73) return 155;
            return 0;
        };
        for (int n = 1; n <= 98; ++n) {
            const bool isDouble = n == 21 || (n >= 88 && n <= 92);
            r.push_back({n, isDouble ? 8 : 4, since(n), defaults[n]});
        }
        return r;
    }();
    return rows;
}

struct STAGERULE {
    int left = 0, right = 0, top = 0, bottom = 0;
    int leftMargin = 0, rightMargin = 0, topMargin = 0, bottomMargin = 0;
};

struct STAGEBACKGROUND {
    int show = 1, fillOnly = 0, fillColor = 16, layer = 0;
    double factorX = 0.1, factorY = 0.1;
    int autoX = 0, autoY = 0;
    std::string picture;
    double offsetX = 0, offsetY = 0;
};

// What a stage file stores; fields by number, the others take their defaults.
struct STAGEFILE {
    std::map<int, double> fields;
    std::string text;
    std::vector<std::int32_t> results = {1, 1, 1, 1, 1};
    STAGERULE rules[5] = {{}, {}, {}, {1, 1, 1, 1, 0, 0, 0, 0}, {1, 1, 1, 1, 10, 10, 10, 10}};
    std::vector<TEMPLATEBODY> palette[3];     // by TEMPLATEKIND
    std::vector<TEMPLATEBODY> placed[3];
    std::vector<STAGEBACKGROUND> backgrounds = {STAGEBACKGROUND{}};
    std::vector<std::string> texts;
    std::optional<std::uint32_t> endMark;     // none: 123456789 from version 173 on
};

inline std::string BackgroundBody(int version, const STAGEBACKGROUND& g)
{
    auto u = [](int v) { return static_cast<std::uint64_t>(static_cast<std::uint32_t>(v)); };
    std::vector<FLOWBLOCK> blocks;
    auto add = [&blocks](int width, std::uint64_t value) { blocks.push_back(FLOWBLOCK{width, value}); };
    if (version >= 62) add(4, u(g.show));
    add(4, u(g.fillOnly));
    add(4, u(g.fillColor));
    add(4, u(g.layer));
    if (version >= 61) {
        add(8, DoubleBits(g.factorX));
        add(8, DoubleBits(g.factorY));
        add(4, u(g.autoX));
        add(4, u(g.autoY));
    } else {
        add(4, 0);
        add(4, 0);
    }
    if (version >= 62) {
        add(8, DoubleBits(g.offsetX));
        add(8, DoubleBits(g.offsetY));
    } else if (version == 61) {
        add(4, 0);
        add(4, 0);
    }
    cByteBuilder b;
    AppendBody(b, blocks, {g.picture});
    return b.Str();
}

struct STAGEIMAGE {
    std::string bytes;
    std::size_t fieldsEnd = 0;   // offset just after the scalar settings
};

inline STAGEIMAGE StageImage(int version, const STAGEFILE& s)
{
    std::vector<FLOWBLOCK> blocks;
    for (const STAGEFIELD& field : StageFields()) {
        if (version < field.since) continue;
        auto it = s.fields.find(field.number);
        const double value = it != s.fields.end() ? it->second : field.byDefault;
        const std::uint64_t bits = field.width == 8 ? DoubleBits(value)
                                                    : static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
        blocks.push_back({field.width, bits});
    }
    cByteBuilder b;
    b.U32(static_cast<std::uint32_t>(version));
    b.U32(static_cast<std::uint32_t>(blocks.size()));
    for (const FLOWBLOCK& block : blocks) AppendBlock(b, block);
    STAGEIMAGE image;
    image.fieldsEnd = b.Size();
    b.U32(1).U32(static_cast<std::uint32_t>(s.text.size() + 1));
    if (!s.text.empty()) b.Bytes(s.text).U8(0);
    b.U32(static_cast<std::uint32_t>(s.results.size()));
    for (std::int32_t flag : s.results) b.I32(flag);
    for (const STAGERULE& r : s.rules) {
        if (version <= 124) {
            b.U32(5).I32(r.left);
        } else {
            b.U32(8).I32(r.left).I32(r.right).I32(r.top).I32(r.bottom);
        }
        b.I32(r.leftMargin).I32(r.rightMargin).I32(r.topMargin).I32(r.bottomMargin).U32(0);
    }
    for (int kind = 0; kind < 3; ++kind) {
        b.U32(static_cast<std::uint32_t>(s.palette[kind].size()));
        for (const TEMPLATEBODY& t : s.palette[kind]) b.Bytes(TemplateBody(static_cast<TEMPLATEKIND>(kind), version, t));
    }
    for (int kind = 0; kind < 3; ++kind) {
        b.U32(static_cast<std::uint32_t>(s.placed[kind].size()));
        for (const TEMPLATEBODY& t : s.placed[kind]) b.U32(0).Bytes(TemplateBody(static_cast<TEMPLATEKIND>(kind), version, t));
    }
    b.U32(static_cast<std::uint32_t>(s.backgrounds.size()));
    for (const STAGEBACKGROUND& g : s.backgrounds) b.Bytes(BackgroundBody(version, g));
    b.U32(static_cast<std::uint32_t>(s.texts.size()));
    for (const std::string& text : s.texts) {
        cByteBuilder body;
        AppendBody(body, {}, {text});
        b.Bytes(body.Str());
    }
    if (s.endMark) b.U32(*s.endMark);
    else if (version >= 173) b.U32(123456789);
    image.bytes = b.Str();
    return image;
}

// A placed hero: the player operates it and it has an image.
inline TEMPLATEBODY Hero(int column = 0, int row = 0)
{
    TEMPLATEBODY hero;
    hero.fields[13] = 1;   // image number
    hero.fields[26] = 0;   // operator: the player
    hero.column = column;
    hero.row = row;
    return hero;
}

// A playable stage of width x height blocks with one hero.
inline STAGEFILE PlayableStage(int width = 30, int height = 20)
{
    STAGEFILE s;
    s.fields[1] = width;
    s.fields[4] = height;
    s.placed[KIND_CHARA].push_back(Hero());
    return s;
}

// Every field its own value 1000 + its number, within what a valid stage holds: 300 x 40
// blocks, limits inside, speed level 13 with its derived values, BGM 17; two entries in each
// palette list, a placed block, hero and item, two backgrounds and two texts. Written back as
// it is read.
inline STAGEFILE DistinctStage()
{
    STAGEFILE s;
    for (int n = 1; n <= 98; ++n) s.fields[n] = 1000 + n;
    s.fields[1] = 300;
    s.fields[4] = 40;
    s.fields[9] = 5;
    s.fields[10] = 6;
    s.fields[11] = 7;
    s.fields[12] = 8;
    s.fields[21] = 0.5;
    s.fields[22] = 13;
    s.fields[24] = 17;
    s.fields[87] = 3;
    s.fields[88] = 3.0;
    s.fields[89] = 9.0;
    s.fields[90] = 60.0;
    s.fields[91] = 0.5 / 9.0;
    s.fields[92] = 20.0;
    s.fields[93] = 24;
    s.text = "ステージの説明";
    s.results = {1, 0, 1, 1, 0, 1, 1};
    for (int i = 0; i < 5; ++i) s.rules[i] = {i & 1, 1, 0, i & 1, i, i + 1, i + 2, i + 3};
    s.palette[KIND_BLOCK] = {Empty(11), {}};
    s.palette[KIND_CHARA] = {Empty(37), {}};
    s.palette[KIND_ITEM] = {Empty(13), {}};
    s.palette[KIND_BLOCK][1] = {{{5, 3}, {12, 2}}, "岩", 0, 0, -1, std::vector<std::uint8_t>(11, 0), {}, {}};
    s.palette[KIND_CHARA][1] = {{{13, 4}, {39, 77}}, "敵", 0, 0, -1, std::vector<std::uint8_t>(37, 0), {}, {}};
    s.palette[KIND_ITEM][1] = {{{7, 5}, {15, 1}}, "コイン", 0, 0, -1, std::vector<std::uint8_t>(13, 0), {}, {}};
    s.placed[KIND_BLOCK] = {{{{5, 2}}, "", 4, 5, -1, std::vector<std::uint8_t>(11, 0), {}, {}}};
    TEMPLATEBODY hero = qbtest::Hero(7, 8);
    hero.flags.assign(37, 0);
    hero.heldItem = 0;
    s.placed[KIND_CHARA] = {hero};
    s.placed[KIND_ITEM] = {{{{7, 6}}, "", 9, 10, -1, std::vector<std::uint8_t>(13, 0), {}, {}}};
    s.backgrounds = {{1, 0, 3, 0, 0.25, 0.5, 1, 0, "bg\\空.bmp", 1.5, 2.5}, {0, 1, 9, 1, 0.1, 0.1, 0, 1, "", 0, 0}};
    s.texts = {"はじめ", ""};
    return s;
}

}  // namespace qbtest
