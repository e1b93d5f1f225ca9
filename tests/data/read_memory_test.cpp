// What reading a large file takes in memory: files of a few megabytes, crafted from the
// smallest bodies a count may promise or written as an editor would, are read as the game
// reads them (the file image included). Everything the read asks for, freed or not, stays
// within eight times the file's size beyond a fixed base, whether the read takes the file or
// refuses it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "data/database.h"
#include "data/palette_data.h"
#include "data/stage_data.h"
#include "tests/data/allocation_probe.h"
#include "tests/data/record_test_support.h"
#include "tests/data/stage_file_builder.h"
#include "tests/data/template_file_builder.h"
#include "tests/support/byte_builder.h"

using namespace qbtest;

namespace {

constexpr std::size_t kLargeFileBytes = 4 * 1024 * 1024;

// An empty record body: no blocks, no strings.
constexpr const char kEmptyBody[] = "\0\0\0\0\0\0\0\0";

// How many bodies fill about kLargeFileBytes.
std::size_t Fill(const std::string& body, std::size_t each = 0)
{
    return kLargeFileBytes / (body.size() + each);
}

// The smallest anime set: an empty body and no slots.
std::string MinimalAnimeSet()
{
    return cByteBuilder().Bytes(std::string(kEmptyBody, 8)).U32(0).Str();
}

// An anime set as the editor writes one: its name and four named slots of three frames.
std::string EditorAnimeSet()
{
    auto text = [](cByteBuilder& b, const std::string& s) { b.U32(static_cast<std::uint32_t>(s.size() + 1)).Bytes(s).U8(0); };
    cByteBuilder set;
    set.U32(3).I32(4).I32(8).I32(0).U32(1);
    text(set, "歩く人");
    set.U32(4);
    for (int slot = 0; slot < 4; ++slot) {
        set.U32(3).U16(0).U8(1).U16(0).U32(1);
        text(set, "立ち");
        set.U32(3);
        for (int frame = 0; frame < 3; ++frame) set.U32(3).I32(frame).I32(2).I32(0).U32(0);
    }
    return set.Str();
}

// The smallest block: an empty body, the position and two empty lists.
std::string MinimalBlock()
{
    return cByteBuilder().Bytes(std::string(kEmptyBody, 8)).U16(0).U16(0).U32(0).U32(0).Str();
}

// The smallest chara: an empty body, the position, the held item and three empty lists.
std::string MinimalChara()
{
    return cByteBuilder().Bytes(std::string(kEmptyBody, 8)).U16(0).U16(0).I32(-1).U32(0).U32(0).U32(0).Str();
}

// A chara of a file from before three groups were added, with just enough flags that its
// records fit the budget: reading it inserts the three flags.
std::string OldChara()
{
    return cByteBuilder().Bytes(std::string(kEmptyBody, 8)).U16(0).U16(0).I32(-1).U32(17).Zeros(17).U32(0).U32(0).Str();
}

// A chara with one flow of as many commands as fit in about kLargeFileBytes, each a status
// operation (the kind with the most parameters) that stores none.
std::string CharaOfManyCommands()
{
    const std::string command = cByteBuilder().U32(2).U8(0).U8(22).U32(0).U32(0).U32(0).U32(0).U32(0).Str();
    cByteBuilder flow;
    const std::size_t count = Fill(command);
    flow.Bytes(std::string(kEmptyBody, 8)).U32(0).U32(0).U32(static_cast<std::uint32_t>(count));
    for (std::size_t i = 0; i < count; ++i) flow.Bytes(command);
    TEMPLATEBODY chara;
    chara.flags.assign(cCharaData::kGroups, 0);
    chara.lists = {flow.Str()};
    return TemplateBody(KIND_CHARA, kDataVersion, chara);
}

// A chara as the editor writes one: every field, a name and a flag for each group.
std::string EditorChara()
{
    TEMPLATEBODY chara;
    chara.name = "敵キャラ";
    chara.column = 3;
    chara.row = 4;
    chara.flags.assign(cCharaData::kGroups, 0);
    return TemplateBody(KIND_CHARA, kDataVersion, chara);
}

std::string AnimeSetFile(const std::string& body)
{
    cByteBuilder file;
    const std::size_t count = Fill(body);
    file.U32(kDataVersion).U32(static_cast<std::uint32_t>(count));
    for (std::size_t i = 0; i < count; ++i) file.Bytes(body);
    return file.Str();
}

// A palette of charas (one at least) and no blocks or items.
std::string CharaPalette(const std::string& body, std::uint32_t version = kDataVersion)
{
    cByteBuilder file;
    const std::size_t count = std::max<std::size_t>(Fill(body), 1);
    file.U32(version).U32(0).U32(0).U32(0).U32(static_cast<std::uint32_t>(count));
    for (std::size_t i = 0; i < count; ++i) file.Bytes(body);
    file.U32(0);
    return file.Str();
}

// A 300 x 40 stage with objects of one kind placed and nothing else.
std::string StagePlacing(TEMPLATEKIND kind, const std::string& body)
{
    STAGEFILE stage;
    stage.fields[1] = 300;
    stage.fields[4] = 40;
    const std::string empty = StageImage(kDataVersion, stage).bytes;
    // The three placed counts come before the backgrounds, the texts and the end mark.
    const std::size_t placedAt = empty.size() - (3 * 4 + 4 + BackgroundBody(kDataVersion, STAGEBACKGROUND{}).size() + 4 + 4);
    const std::size_t countAt = placedAt + 4 * static_cast<std::size_t>(kind);
    cByteBuilder file;
    const std::size_t count = Fill(body, 4);
    file.Bytes(empty.substr(0, countAt)).U32(static_cast<std::uint32_t>(count));
    for (std::size_t i = 0; i < count; ++i) file.U32(0).Bytes(body);
    file.Bytes(empty.substr(countAt + 4));
    return file.Str();
}

struct LargeFile {
    const char* what;
    std::function<std::string()> build;
    // Reads the image as the game does; true when the file was taken.
    std::function<bool(const std::string&)> read;
    bool editorMade;   // a file an editor writes, which must be read
};

bool ReadAnimeSets(const std::string& image)
{
    cDatabase database;
    cDataReader reader(image);
    return database.ReadList(DATABASE_ANIMESET, reader);
}

template <class R>
bool LoadRecord(const std::string& image)
{
    R record;
    cDataReader reader(image);
    return record.LoadFrom(reader) == 1;
}

const LargeFile kLargeFiles[] = {
    {"anime sets, smallest", [] { return AnimeSetFile(MinimalAnimeSet()); }, ReadAnimeSets, false},
    {"anime sets, as edited", [] { return AnimeSetFile(EditorAnimeSet()); }, ReadAnimeSets, true},
    {"palette charas, smallest", [] { return CharaPalette(MinimalChara()); }, LoadRecord<cPaletteData>, false},
    {"palette charas of an old version", [] { return CharaPalette(OldChara(), 150); }, LoadRecord<cPaletteData>, false},
    {"palette chara of many commands", [] { return CharaPalette(CharaOfManyCommands()); }, LoadRecord<cPaletteData>, false},
    {"palette charas, as edited", [] { return CharaPalette(EditorChara()); }, LoadRecord<cPaletteData>, true},
    {"placed blocks, smallest", [] { return StagePlacing(KIND_BLOCK, MinimalBlock()); }, LoadRecord<cStageData>, false},
    {"placed charas, smallest", [] { return StagePlacing(KIND_CHARA, MinimalChara()); }, LoadRecord<cStageData>, false},
    {"placed charas, as edited", [] { return StagePlacing(KIND_CHARA, EditorChara()); }, LoadRecord<cStageData>, true},
};

}  // namespace

TEST(ReadMemory, ALargeFileTakesAtMostEightTimesItsSize)
{
    cDataSettingsScope settings;
    cDatabaseSizesScope databases;
    databases.SetAll(20);
    for (const LargeFile& file : kLargeFiles) {
        const std::string image = file.build();
        ASSERT_GE(image.size(), kLargeFileBytes * 9 / 10) << file.what;
        cAllocationProbe probe;
        const bool read = file.read(image);
        EXPECT_LE(probe.Total(), ReadMemoryLimit(image.size()))
            << file.what << ": " << image.size() << " bytes, peak " << probe.Peak() << (read ? ", read" : ", refused");
        if (file.editorMade) {
            EXPECT_TRUE(read) << file.what;
        }
    }
}
