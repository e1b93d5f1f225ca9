// Palettes and inheritance: the order in which references resolve while a palette or a stage
// palette is read, what a loaded palette keeps, and the palette file's round trip.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/palette_data.h"
#include "tests/data/flow_record_builder.h"
#include "tests/data/record_test_support.h"
#include "tests/data/template_file_builder.h"
#include "tests/support/cp932_printer.h"

using namespace qbtest;

namespace {

constexpr int kImageGroup = 2;          // block group: image kind, number and frame
constexpr int kCharaFlowGroup = 36;

class PaletteTest : public ::testing::Test {
protected:
    void SetUp() override { m_Databases.SetAll(100); }
    cDataSettingsScope m_Settings;
    cDatabaseSizesScope m_Databases;
};

// A block with its own picture number and mark tile.
TEMPLATEBODY Block(int image, int mark = 0)
{
    TEMPLATEBODY t;
    t.fields = {{5, image}, {6, 1}, {7, image + 1}, {11, mark}};
    t.flags.assign(cBlockData::kGroups, 0);
    return t;
}

// A block with its own picture that takes the groups given from source/index.
TEMPLATEBODY InheritingBlock(int source, int index, std::vector<int> groups, int image = 60, int mark = 9)
{
    TEMPLATEBODY t = Inheriting(source, index, cBlockData::kGroups, groups);
    TEMPLATEBODY own = Block(image, mark);
    for (auto& [number, value] : own.fields) t.fields.insert({number, value});
    return t;
}

std::vector<int> ImageNumbers(const cSafeVector<cBlockData>& blocks)
{
    std::vector<int> numbers;
    for (const cBlockData& block : blocks) numbers.push_back(block.m_nImageNumber);
    return numbers;
}

cPaletteData ReadPalette(const std::string& image)
{
    cPaletteData palette;
    EXPECT_EQ(ReadImage(palette, image), 1);
    return palette;
}

// Reads a block list as the stage reader does: against `common` and the list being read.
cSafeVector<cBlockData> ReadStageBlocks(const cPaletteData& common, const std::vector<TEMPLATEBODY>& bodies)
{
    cByteBuilder b;
    b.U32(kDataVersion).U32(static_cast<std::uint32_t>(bodies.size()));
    for (const TEMPLATEBODY& t : bodies) b.Bytes(TemplateBody(KIND_BLOCK, kDataVersion, t));
    cSafeVector<cBlockData> blocks;
    cSafeVector<cCharaData> charas(1);
    cSafeVector<cItemData> items(1);
    const cTemplateSourceScope scope({ListsOf(common.m_Blocks, common.m_Charas, common.m_Items), ListsOf(blocks, charas, items)});
    cDataReader reader(b.Str());
    ReadBlockList(blocks, reader);
    EXPECT_FALSE(reader.Failed()) << reader.Error();
    return blocks;
}

}  // namespace

TEST_F(PaletteTest, ReferencesResolveInListOrderWithinTheCommonPalette)
{
    // 1 own picture 7; 2 takes 1's; 3 takes 2's (the chain); 4 refers forward to 5 (a default
    // template then); 5 refers to itself; 6 refers to index 9 of 7 blocks.
    const std::vector<TEMPLATEBODY> blocks = {
        Block(0),
        Block(7, 3),
        InheritingBlock(1, 1, {kImageGroup}),
        InheritingBlock(1, 2, {kImageGroup}),
        InheritingBlock(1, 5, {kImageGroup, 5}),
        InheritingBlock(1, 5, {kImageGroup}, 40),
        InheritingBlock(1, 9, {kImageGroup}, 41),
    };
    const cPaletteData palette = ReadPalette(PaletteImage(kDataVersion, blocks, {}, {}));
    EXPECT_EQ(ImageNumbers(palette.m_Blocks), (std::vector<int>{0, 7, 7, 7, 0, 40, 41}));
    // Only the flagged groups are copied: the chain keeps its own mark tiles.
    EXPECT_EQ(palette.m_Blocks[3].m_nMarkTile, 9);
    EXPECT_EQ(palette.m_Blocks[3].m_nImageFrame, 8);
    // The forward reference copied a default template's mark too.
    EXPECT_EQ(palette.m_Blocks[4].m_nMarkTile, 0);
    // Out of range: the source reads back 0 and the index is kept.
    EXPECT_EQ(palette.m_Blocks[6].m_nInheritSource, 0);
    EXPECT_EQ(palette.m_Blocks[6].m_nInheritIndex, 9);
    // After loading no template of the file refers to another.
    for (const cBlockData& block : palette.m_Blocks) {
        EXPECT_EQ(block.m_InheritFlags.size(), 11u);
        for (BYTE flag : block.m_InheritFlags) EXPECT_EQ(flag, 0);
    }
}

TEST_F(PaletteTest, ReferencesResolveInListOrderWithinTheStagePalette)
{
    cPaletteData common = ReadPalette(PaletteImage(kDataVersion, {Block(0), Block(11), Block(12), Block(13)}, {}, {}));
    const std::vector<TEMPLATEBODY> stage = {
        Block(0),
        InheritingBlock(1, 3, {kImageGroup}),      // common block 3
        InheritingBlock(2, 1, {kImageGroup}),      // the chain: 2 -> 1 -> common 3
        InheritingBlock(2, 2, {kImageGroup}),
        InheritingBlock(2, 5, {kImageGroup}),      // forward: a default template
        InheritingBlock(2, 5, {kImageGroup}, 44),  // itself
        InheritingBlock(1, 4, {kImageGroup}, 45),  // beyond the common palette
    };
    const cSafeVector<cBlockData> blocks = ReadStageBlocks(common, stage);
    EXPECT_EQ(ImageNumbers(blocks), (std::vector<int>{0, 13, 13, 13, 0, 44, 45}));
    EXPECT_EQ(blocks[6].m_nInheritSource, 0);
    // Stage templates keep their flags: stage play and the editor see them.
    EXPECT_EQ(blocks[3].InheritFlag(kImageGroup), 1);
}

TEST_F(PaletteTest, ALoadResolvesAgainstTheFileAndNeverTheOldPalette)
{
    cPaletteData old = ReadPalette(PaletteImage(kDataVersion, {Block(0), Block(50), Block(51)}, {}, {}));
    // Six blocks: 5 refers to 4, which the old palette of three has not.
    const std::vector<TEMPLATEBODY> blocks = {Block(0), Block(1), Block(2), Block(3), Block(4), InheritingBlock(1, 4, {kImageGroup})};
    cPaletteData palette = old;
    ASSERT_EQ(ReadImage(palette, PaletteImage(kDataVersion, blocks, {}, {})), 1);
    EXPECT_EQ(ImageNumbers(palette.m_Blocks), (std::vector<int>{0, 1, 2, 3, 4, 4}));
    EXPECT_EQ(palette.m_Blocks[5].m_nInheritSource, 1);

    // A stage palette met before never decides what the common palette keeps: source 2 is
    // checked against a palette of one default template per list.
    cSafeVector<cBlockData> bigStage(10);
    cSafeVector<cCharaData> charas(10);
    cSafeVector<cItemData> items(10);
    SetStagePaletteLists(ListsOf(bigStage, charas, items));
    const cPaletteData again = ReadPalette(PaletteImage(kDataVersion, {Block(0), InheritingBlock(2, 1, {kImageGroup})}, {}, {}));
    SetStagePaletteLists(TEMPLATELISTS{});
    EXPECT_EQ(again.m_Blocks[1].m_nInheritSource, 0);
    EXPECT_EQ(again.m_Blocks[1].m_nImageNumber, 60);
}

TEST_F(PaletteTest, ListsAreGivenEntryZeroAndPaddedToTwo)
{
    TEMPLATEBODY named = Block(5);
    named.name = "最初";
    TEMPLATEBODY chara;
    chara.fields = {{39, 77}};
    chara.flags.assign(37, 0);
    const cPaletteData palette = ReadPalette(PaletteImage(kDataVersion, {named}, {chara}, {}));
    ASSERT_EQ(palette.m_Blocks.size(), 2u);
    EXPECT_EQ(palette.m_Blocks[0].m_strName, "");
    EXPECT_EQ(palette.m_Blocks[0].m_nImageNumber, 0);
    ASSERT_EQ(palette.m_Charas.size(), 2u);
    EXPECT_EQ(palette.m_Charas[0].m_nMaxHp, 10);
    EXPECT_EQ(palette.m_Items.size(), 2u);
}

TEST_F(PaletteTest, FlagCountsBeyondTheGroupsNeverReachACopy)
{
    TEMPLATEBODY wide = InheritingBlock(1, 1, {});
    wide.flags.assign(200, 1);
    TEMPLATEBODY few = InheritingBlock(1, 1, {});
    few.flags.assign(3, 1);
    const cPaletteData palette = ReadPalette(PaletteImage(kDataVersion, {Block(0), Block(8, 4), wide, few}, {}, {}));
    EXPECT_EQ(palette.m_Blocks[2].m_nMarkTile, 4);       // group 5 copied
    EXPECT_EQ(palette.m_Blocks[2].m_InheritFlags.size(), 200u);
    EXPECT_EQ(palette.m_Blocks[3].m_nImageNumber, 8);    // group 2 is within 3 flags
    EXPECT_EQ(palette.m_Blocks[3].m_nMarkTile, 9);       // group 5 is not
}

TEST_F(PaletteTest, ACharaTakingFlowsFromATemplateWithoutFlowsEndsWithout)
{
    cPaletteData common;
    common.m_Charas.resize(2);
    cCharaData chara;
    chara.m_nInheritSource = 1;
    chara.m_nInheritIndex = 1;
    chara.m_InheritFlags[kCharaFlowGroup] = 1;
    chara.m_Flows.resize(3);
    chara.Inherit(common.OwnSources());
    EXPECT_EQ(chara.m_Flows.size(), 1u);
    chara.Validate(common.OwnSources());
    EXPECT_EQ(chara.m_Flows.size(), 0u);
}

TEST_F(PaletteTest, FindItemTemplateLooksInTheCommonOrTheStagePalette)
{
    cPaletteData saved = g_CommonPalette;
    g_CommonPalette.m_Items.resize(3);
    cSafeVector<cBlockData> blocks(1);
    cSafeVector<cCharaData> charas(1);
    cSafeVector<cItemData> items(2);
    SetStagePaletteLists(ListsOf(blocks, charas, items));
    struct Case { int source; int index; const cItemData* expected; } cases[] = {
        {2, 0, &items[0]}, {2, 1, &items[1]}, {2, 2, nullptr}, {1, 2, &g_CommonPalette.m_Items[2]},
        {1, 3, nullptr}, {1, -1, nullptr}, {0, 1, nullptr}, {3, 1, nullptr},
    };
    for (const Case& c : cases) EXPECT_EQ(FindItemTemplate(c.source, c.index), c.expected) << c.source << "," << c.index;
    SetStagePaletteLists(TEMPLATELISTS{});
    g_CommonPalette = saved;
}

TEST_F(PaletteTest, APaletteWritesBackTheBytesItRead)
{
    const std::string image = DistinctPaletteImage();
    cPaletteData palette = ReadPalette(image);
    EXPECT_EQ(WriteImage(palette), image);
}
