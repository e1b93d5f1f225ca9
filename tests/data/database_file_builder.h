#pragma once
// Database file images built by hand from the file layout, for any version, independently of
// the runtime's writer: the version word, the entry count, then each entry's body (blocks,
// strings, tail) with only the fields that version stored.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "tests/support/byte_builder.h"

namespace qbtest {

struct AnimeFrameValues { int nFrame = 0, nDuration = 1, bLock = 0; };
struct AnimeValues {
    std::string strName;
    int shExtraA = 0, byExtra = 1, shExtraB = 0;
    std::vector<AnimeFrameValues> frames;
};
struct AnimeSetValues { std::string strName; int nRowOffsetA = 0, nRowOffsetB = 0, nRowOffsetC = 0; std::vector<AnimeValues> slots; };
struct BmpCharaExcValues { std::string strName; int nReserved = 0; std::string strFile; int bLargeCell = 0, nCellSize = 0; };
struct SwordFrameValues { int v[10] = {}; };  // x, y, flip x, flip y, placement, src x, src y, width, height, duration
struct SwordTypeValues { std::string strName; int nReserved = 0; std::string strFile, strFile2; std::vector<SwordFrameValues> frames; };
struct EffectFrameValues { int nFrame = 0, nDuration = 0; };
struct EffectValues {
    std::string strName;
    int nReserved = 0;
    std::string strFile;
    int nWidth = 0, nHeight = 0, bScaleWithChara = 0;
    std::vector<EffectFrameValues> frames;
};
struct EffectKindValues { std::string strName; int nKind = 0; int nParams[5] = {}; };
struct FileEntryValues { std::string strName; int nReserved = 0; std::string strFile; };

// The bodies of one version; each call appends one body to the image.
class cDatabaseFileBuilder {
public:
    cDatabaseFileBuilder(std::uint32_t version, std::uint32_t count) : m_nVersion(version)
    {
        m_Bytes.U32(version);
        m_CountOffsets.push_back(m_Bytes.Size());
        m_Bytes.U32(count);
    }

    const std::string& Str() const { return m_Bytes.Str(); }
    // Where every count and string length of the image stands.
    const std::vector<std::size_t>& CountOffsets() const { return m_CountOffsets; }
    std::size_t Size() const { return m_Bytes.Size(); }

    cDatabaseFileBuilder& AnimeSet(const AnimeSetValues& v)
    {
        cByteBuilder blocks;
        int n = 2;
        blocks.I32(v.nRowOffsetA).I32(v.nRowOffsetB);
        if (m_nVersion >= 119) { blocks.I32(v.nRowOffsetC); ++n; }
        Body(n, blocks, {v.strName});
        Count(v.slots.size());
        for (const AnimeValues& slot : v.slots) Anime(slot);
        return *this;
    }
    cDatabaseFileBuilder& Anime(const AnimeValues& v)
    {
        cByteBuilder blocks;
        int n = 0;
        if (m_nVersion >= 55) {
            blocks.U16(static_cast<std::uint16_t>(v.shExtraA)).U8(static_cast<std::uint8_t>(v.byExtra)).U16(static_cast<std::uint16_t>(v.shExtraB));
            n = 3;
        }
        Body(n, blocks, {v.strName});
        Count(v.frames.size());
        for (const AnimeFrameValues& f : v.frames) Body(3, cByteBuilder().I32(f.nFrame).I32(f.nDuration).I32(f.bLock), {});
        return *this;
    }
    cDatabaseFileBuilder& BmpCharaExc(const BmpCharaExcValues& v)
    {
        cByteBuilder blocks;
        int n = 0;
        if (m_nVersion >= 152) { blocks.I32(v.nReserved); ++n; }
        if (m_nVersion >= 172) { blocks.I32(v.bLargeCell).I32(v.nCellSize); n += 2; }
        Body(n, blocks, {v.strName, v.strFile});
        return *this;
    }
    cDatabaseFileBuilder& SwordType(const SwordTypeValues& v)
    {
        cByteBuilder blocks;
        int n = 0;
        if (m_nVersion >= 151) { blocks.I32(v.nReserved); ++n; }
        Body(n, blocks, {v.strName, v.strFile, v.strFile2});
        Count(v.frames.size());
        for (const SwordFrameValues& f : v.frames) {
            cByteBuilder frame;
            int fields = 0;
            for (int i = 0; i < 10; ++i) {
                if ((i == 2 || i == 3) && m_nVersion < 138) continue;
                frame.I32(f.v[i]);
                ++fields;
            }
            Body(fields, frame, {});
        }
        return *this;
    }
    cDatabaseFileBuilder& Effect(const EffectValues& v)
    {
        cByteBuilder blocks;
        int n = 3;
        if (m_nVersion >= 151) { blocks.I32(v.nReserved); ++n; }
        blocks.I32(v.nWidth).I32(v.nHeight).I32(v.bScaleWithChara);
        Body(n, blocks, {v.strName, v.strFile});
        Count(v.frames.size());
        for (const EffectFrameValues& f : v.frames) Body(2, cByteBuilder().I32(f.nFrame).I32(f.nDuration), {});
        return *this;
    }
    // A chara effect or a screen effect: the kind, then the five parameters as one block.
    cDatabaseFileBuilder& EffectKind(const EffectKindValues& v)
    {
        cByteBuilder blocks;
        blocks.I32(v.nKind);
        for (int p : v.nParams) blocks.I32(p);
        Body(2, blocks, {v.strName});
        return *this;
    }
    // A picture, a sound effect or a BGM.
    cDatabaseFileBuilder& FileEntry(const FileEntryValues& v)
    {
        cByteBuilder blocks;
        int n = 0;
        if (m_nVersion >= 151) { blocks.I32(v.nReserved); ++n; }
        Body(n, blocks, {v.strName, v.strFile});
        return *this;
    }

private:
    void Count(std::size_t n)
    {
        m_CountOffsets.push_back(m_Bytes.Size());
        m_Bytes.I32(static_cast<std::int32_t>(n));
    }
    void Body(int blockCount, const cByteBuilder& blocks, std::initializer_list<std::string> strings)
    {
        Count(static_cast<std::size_t>(blockCount));
        m_Bytes.Bytes(blocks.Str());
        Count(strings.size());
        for (const std::string& text : strings) {
            Count(text.size() + 1);
            if (!text.empty()) m_Bytes.Bytes(text).U8(0);
        }
    }

    std::uint32_t m_nVersion;
    cByteBuilder m_Bytes;
    std::vector<std::size_t> m_CountOffsets;
};

}  // namespace qbtest
