// The demo's pictures have the sizes and layouts the runtime reads: every cell a record names is
// inside its sheet and painted, and what is drawn opaque holds no transparent colour.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "data/game_modes.h"
#include "data/stage_data.h"
#include "platform/os/files.h"
#include "platform/video/bmp_reader.h"
#include "tests/support/demo_game.h"

namespace {

class DemoPictures : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_Demo.Load()); }

    static plat::cBmpImage Picture(const std::string& file)
    {
        plat::cBmpImage image;
        std::string error;
        EXPECT_TRUE(plat::ReadBmpFile(file.c_str(), image, &error)) << file << ": " << error;
        return image;
    }

    // Whether the 32 x 32 cell at (x, y) holds a pixel other than the transparent index 0.
    static bool Painted(const plat::cBmpImage& sheet, int x, int y)
    {
        for (int j = y; j < y + 32; ++j)
            for (int i = x; i < x + 32; ++i)
                if (sheet.indices[static_cast<std::size_t>(j * sheet.nWidth + i)] != 0) return true;
        return false;
    }

    qbtest::cDemoStages m_Demo;
};

TEST_F(DemoPictures, EachCharaShowsAPaintedCellAndTheWalkersASheetOfTheirOwn)
{
    for (int sheet = 1; sheet <= 8; ++sheet) {
        const plat::cBmpImage image = Picture("bmp\\Character" + std::to_string(sheet) + ".bmp");
        EXPECT_EQ(image.nHeight, 15 * 32) << "sheet " << sheet << ": an image number counts 15 rows a sheet";
        EXPECT_GE(image.nWidth, 32) << "sheet " << sheet;
    }
    for (const cStageData& stage : m_Demo.Stages()) {
        int heroSheet = 0;
        std::vector<int> walkerSheets;
        for (const cCharaData& chara : stage.m_Charas) {
            ASSERT_EQ(chara.m_nImageKind, 1) << stage.m_strPath << ": the chara sheets";
            const int number = chara.m_nImageNumber, sheet = number / 15 + 1;
            const plat::cBmpImage image = Picture("bmp\\Character" + std::to_string(sheet) + ".bmp");
            const int x = chara.m_nImageFrame * 32, y = number % 15 * 32;
            ASSERT_LE(x + 32, image.nWidth) << chara.m_strName << " " << number;
            ASSERT_LE(y + 32, image.nHeight) << chara.m_strName << " " << number;
            EXPECT_TRUE(Painted(image, x, y)) << chara.m_strName << " " << number;
            if (chara.m_nOperator == 0) heroSheet = sheet;
            else walkerSheets.push_back(sheet);
        }
        ASSERT_FALSE(walkerSheets.empty());
        for (int sheet : walkerSheets) EXPECT_NE(sheet, heroSheet) << stage.m_strPath << ": a walker looks like the hero";
    }
}

// The rows of adjacent columns x and x + 1 of a picture (x + 1 wrapping to 0) that differ.
int RowsDifferingAcross(const plat::cBmpImage& image, int x)
{
    int rows = 0;
    for (int y = 0; y < image.nHeight; ++y) rows += image.Pixel(x, y) != image.Pixel((x + 1) % image.nWidth, y);
    return rows;
}

// A stage's first background layer is drawn opaque and tiled: it must hold no transparent
// colour, its seam must be no sharper than any step inside it, and below the ground's top,
// where a gap in the ground shows it, it must look like a pit, not like more ground.
TEST_F(DemoPictures, EachStageBackgroundIsOpaqueTilesAcrossItsSidesAndIsDarkWhereAPitShowsIt)
{
    for (const cStageData& stage : m_Demo.Stages()) {
        const std::string& file = stage.m_Backgrounds.At(0).m_strPicture;
        SCOPED_TRACE(file);
        ASSERT_FALSE(file.empty());
        const plat::cBmpImage image = Picture(file);
        ASSERT_EQ(image.nWidth, 640);
        ASSERT_EQ(image.nHeight, 480) << "the stage is 15 rows tall";
        int transparent = 0;
        for (BYTE index : image.indices) transparent += index == 0;
        EXPECT_EQ(transparent, 0);
        int steepest = 0;
        for (int x = 0; x + 1 < image.nWidth; ++x) steepest = std::max(steepest, RowsDifferingAcross(image, x));
        EXPECT_LE(RowsDifferingAcross(image, image.nWidth - 1), steepest) << "the seam of the tiles";
        const int groundTop = (stage.m_nHeight - 2) * 32;
        for (int y = groundTop; y < image.nHeight; ++y)
            for (int x = 0; x < image.nWidth; ++x) {
                const std::uint32_t c = image.Pixel(x, y);
                ASSERT_LT(std::max({c >> 16 & 0xFF, c >> 8 & 0xFF, c & 0xFF}), 0x40u) << x << "," << y;
            }
    }
}

// The indices of a box of a picture, row by row.
std::vector<BYTE> BoxOf(const plat::cBmpImage& image, int x, int y, int w, int h)
{
    std::vector<BYTE> box;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) box.push_back(image.indices[static_cast<std::size_t>(j * image.nWidth + i)]);
    return box;
}

// The stage draws its captions from boxes of the word sheet and its stage number and time left
// digit by digit from two rows of ten 32 x 32 cells: every box must be inside the sheet,
// painted, and unlike every other box of its size.
TEST_F(DemoPictures, TheWordSheetHoldsTheCaptionsAndTwoRowsOfTenDigits)
{
    const plat::cBmpImage word = Picture("bmp\\Word.bmp");
    ASSERT_GE(word.nWidth, 320);
    ASSERT_GE(word.nHeight, 192);
    struct Box { int x, y, w, h; const char* what; };
    std::vector<Box> boxes = {{0, 0, 128, 32, "start caption"}, {160, 0, 80, 32, "small start caption"},
                              {0, 32, 128, 32, "replay caption"}, {0, 64, 128, 32, "clear caption"},
                              {0, 96, 144, 32, "game-over caption"}};
    for (int row : {128, 160})
        for (int digit = 0; digit < 10; ++digit) boxes.push_back({digit * 32, row, 32, 32, row == 128 ? "stage digit" : "time digit"});
    std::vector<std::vector<BYTE>> seen;
    for (const Box& box : boxes) {
        const std::vector<BYTE> pixels = BoxOf(word, box.x, box.y, box.w, box.h);
        const long painted = std::count_if(pixels.begin(), pixels.end(), [](BYTE index) { return index != 0; });
        EXPECT_GE(painted * 10, static_cast<long>(pixels.size())) << box.what << " at " << box.x << "," << box.y;
        for (std::size_t k = 0; k < seen.size(); ++k) {
            if (seen[k].size() != pixels.size()) continue;
            EXPECT_NE(seen[k], pixels) << box.what << " at " << box.x << "," << box.y << " repeats " << boxes[k].what;
        }
        seen.push_back(pixels);
    }
}

// A text window's face is the top-left corner of the window picture as large as the window,
// drawn opaque; the frame-rate window alone is 145 pixels wide, and a window may span the
// screen.
TEST_F(DemoPictures, TheWindowFaceCoversTheScreenWithoutTransparentPixels)
{
    const plat::cBmpImage face = Picture("bmp\\Window.bmp");
    EXPECT_GE(face.nWidth, 640);
    EXPECT_GE(face.nHeight, 480);
    EXPECT_EQ(std::count(face.indices.begin(), face.indices.end(), BYTE{0}), 0);
}

// The transparent colour is the palette picture's top-left pixel; any pixel of that colour is
// transparent wherever the picture is drawn keyed, whatever its index. So only index 0 may
// have it, in every picture of the game but the palette picture, which shows every colour of
// the palette and is never drawn.
TEST_F(DemoPictures, OnlyTheTransparentIndexHasTheTransparentColour)
{
    const std::uint32_t key = Picture("bmp\\plt\\Palette.bmp").Pixel(0, 0) & 0xFFFFFFu;
    int pictures = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(std::filesystem::current_path())) {
        if (entry.path().extension() != ".bmp" || entry.path().filename() == "Palette.bmp") continue;
        ++pictures;
        std::string path;
        ASSERT_TRUE(plat::ToProgramPath(entry.path().string(), path)) << entry.path();
        const plat::cBmpImage image = Picture(path);
        int keyed = 0;
        for (int y = 0; y < image.nHeight; ++y)
            for (int x = 0; x < image.nWidth; ++x)
                keyed += image.indices[static_cast<std::size_t>(y * image.nWidth + x)] != 0 && (image.Pixel(x, y) & 0xFFFFFFu) == key;
        EXPECT_EQ(keyed, 0) << entry.path().filename().string();
    }
    EXPECT_GT(pictures, 20);
}

// The title menu shows item i from row i (32 pixels) of its sheet, one item for each game mode.
TEST_F(DemoPictures, TheTitleMenuSheetHasAPaintedRowOfItsOwnForEachGameMode)
{
    const plat::cBmpImage sheet = Picture("bmp\\GameMode.bmp");
    ASSERT_GE(sheet.nHeight, kGameModes * 32);
    std::vector<std::vector<BYTE>> rows;
    for (int mode = 0; mode < kGameModes; ++mode) {
        rows.push_back(BoxOf(sheet, 0, mode * 32, sheet.nWidth, 32));
        EXPECT_GT(std::count_if(rows.back().begin(), rows.back().end(), [](BYTE index) { return index != 0; }), 0) << mode;
        for (int other = 0; other < mode; ++other) EXPECT_NE(rows[static_cast<std::size_t>(other)], rows.back()) << mode;
    }
}

}  // namespace
