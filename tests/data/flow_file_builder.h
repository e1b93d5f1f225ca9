#pragma once
// Hand-built bodies of the flow records and their parts, written from the file layout (not by
// the runtime's writer), and a scope that gives the databases chosen sizes for a test.
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "data/data_version.h"
#include "data/database.h"
#include "tests/support/byte_builder.h"

namespace qbtest {

// One block of a body: its width in bytes and its value (the bits, for the double).
struct FLOWBLOCK {
    int width;
    std::uint64_t value;
};

inline void AppendBlock(cByteBuilder& b, const FLOWBLOCK& block)
{
    for (int i = 0; i < block.width; ++i) b.U8(static_cast<std::uint8_t>(block.value >> (8 * i)));
}

// Block count, blocks, string count, strings ("" is the length 1 alone).
inline void AppendBody(cByteBuilder& b, const std::vector<FLOWBLOCK>& blocks, const std::vector<std::string>& strings = {})
{
    b.U32(static_cast<std::uint32_t>(blocks.size()));
    for (const FLOWBLOCK& block : blocks) AppendBlock(b, block);
    b.U32(static_cast<std::uint32_t>(strings.size()));
    for (const std::string& text : strings) {
        b.U32(static_cast<std::uint32_t>(text.size() + 1));
        if (!text.empty()) b.Bytes(text).U8(0);
    }
}

// A layout row: block number, width, first version that stores it.
struct LAYOUTROW {
    int block;
    int width;
    int since;
};

// The movement part: 32 blocks, 52 bytes at the current version.
inline const std::vector<LAYOUTROW>& MoveLayout()
{
    static const std::vector<LAYOUTROW> rows = {
        {1, 1, 0}, {2, 1, 0}, {3, 2, 0}, {4, 2, 0}, {5, 1, 158}, {6, 1, 0}, {7, 1, 0}, {8, 2, 0},
        {9, 2, 0}, {10, 2, 0}, {11, 2, 0}, {12, 1, 0}, {13, 1, 0}, {14, 1, 0}, {15, 1, 0},
        {16, 1, 0}, {17, 1, 0}, {18, 1, 0}, {19, 1, 0}, {20, 1, 162}, {21, 1, 0}, {22, 2, 0},
        {23, 2, 0}, {24, 2, 0}, {25, 2, 0}, {26, 1, 159}, {27, 2, 0}, {28, 2, 0}, {29, 1, 0},
        {30, 2, 0}, {31, 8, 0}, {32, 1, 162},
    };
    return rows;
}

// The shot part: 60 blocks (block 3 and 28 are three 2-byte values), 93 bytes.
inline const std::vector<LAYOUTROW>& ShotLayout()
{
    static const std::vector<LAYOUTROW> rows = {
        {1, 1, 0}, {2, 1, 0}, {3, 6, 0}, {4, 1, 671}, {5, 1, 0}, {6, 1, 0}, {7, 2, 0}, {8, 2, 0},
        {9, 1, 158}, {10, 2, 0}, {11, 1, 0}, {12, 1, 0}, {13, 2, 0}, {14, 2, 0}, {15, 2, 0},
        {16, 2, 0}, {17, 1, 0}, {18, 1, 0}, {19, 2, 0}, {20, 1, 0}, {21, 1, 0}, {22, 1, 0},
        {23, 1, 0}, {24, 1, 0}, {25, 1, 0}, {26, 1, 0}, {27, 1, 0}, {28, 6, 0}, {29, 1, 211},
        {30, 2, 0}, {31, 2, 0}, {32, 1, 213}, {33, 2, 213}, {34, 2, 213}, {35, 2, 0}, {36, 1, 0},
        {37, 2, 0}, {38, 1, 0}, {39, 1, 0}, {40, 2, 0}, {41, 2, 0}, {42, 1, 0}, {43, 1, 0},
        {44, 1, 636}, {45, 1, 0}, {46, 1, 0}, {47, 4, 0}, {48, 2, 0}, {49, 1, 0}, {50, 2, 0},
        {51, 1, 0}, {52, 2, 0}, {53, 1, 0}, {54, 1, 0}, {55, 1, 197}, {56, 1, 0}, {57, 2, 0},
        {58, 1, 0}, {59, 1, 0}, {60, 1, 0},
    };
    return rows;
}

// The blocks a body of that version holds, each with value(block number). A 6-byte block is an
// array of three 2-byte values, one block of the body: they are v, v + 1 and v + 2.
inline std::vector<FLOWBLOCK> LayoutBlocks(const std::vector<LAYOUTROW>& layout, int version,
                                           const std::function<std::uint64_t(int block)>& value)
{
    std::vector<FLOWBLOCK> blocks;
    for (const LAYOUTROW& row : layout) {
        if (version < row.since) continue;
        if (row.width == 6) {
            const std::uint64_t v = value(row.block) & 0xFFFF;
            blocks.push_back({6, v | ((v + 1) << 16) | ((v + 2) << 32)});
        } else {
            blocks.push_back({row.width, value(row.block)});
        }
    }
    return blocks;
}

// A part's body of that version.
inline std::string PartBody(const std::vector<LAYOUTROW>& layout, int version,
                            const std::function<std::uint64_t(int block)>& value)
{
    cByteBuilder b;
    AppendBody(b, LayoutBlocks(layout, version, value));
    return b.Str();
}

inline std::uint64_t DoubleBits(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// A file image: the version word, then the bodies.
inline std::string FileImage(int version, const std::string& bodies)
{
    cByteBuilder b;
    b.U32(static_cast<std::uint32_t>(version));
    b.Bytes(bodies);
    return b.Str();
}

// Sizes the databases for a test (entries default-constructed) and puts them back after.
class cDatabaseSizesScope {
public:
    cDatabaseSizesScope() : m_Saved(g_Database) {}
    ~cDatabaseSizesScope() { g_Database = m_Saved; }
    cDatabaseSizesScope(const cDatabaseSizesScope&) = delete;
    cDatabaseSizesScope& operator=(const cDatabaseSizesScope&) = delete;

    void SetAll(std::size_t n)
    {
        for (int file = 0; file < DATABASE_FILES; ++file) Set(file, n);
    }
    void Set(int file, std::size_t n)
    {
        switch (file) {
        case DATABASE_ANIMESET: g_Database.m_AnimeSets.resize(n); break;
        case DATABASE_ANIME: g_Database.m_Animes.resize(n); break;
        case DATABASE_BMPCHARAEXC: g_Database.m_BmpCharaExcs.resize(n); break;
        case DATABASE_SWORDTYPE: g_Database.m_SwordTypes.resize(n); break;
        case DATABASE_EFFECT: g_Database.m_Effects.resize(n); break;
        case DATABASE_CHARAEFFECT: g_Database.m_CharaEffects.resize(n); break;
        case DATABASE_SCREFFECT: g_Database.m_ScrEffects.resize(n); break;
        case DATABASE_PICTURE: g_Database.m_Pictures.resize(n); break;
        case DATABASE_SOUND: g_Database.m_Sounds.resize(n); break;
        default: g_Database.m_Bgms.resize(n); break;
        }
    }

private:
    cDatabase m_Saved;
};

}  // namespace qbtest
