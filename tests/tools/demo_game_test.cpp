// The demo game: the fixture of every whole-program test, so it must be the same bytes on every
// run and every file of it must read back as the runtime reads it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "data/command_info.h"
#include "data/database.h"
#include "data/palette_data.h"
#include "data/stage_data.h"
#include "data/system_data.h"
#include "data/world_map_data.h"
#include "platform/audio/ogg_decoder.h"
#include "platform/audio/wave_reader.h"
#include "platform/video/bmp_reader.h"
#include "sound/midi_file.h"
#include "tests/support/demo_game.h"
#include "tests/support/restore.h"
#include "tests/support/temp_folder.h"
#include "tools/demo-game/demo_game.h"

namespace fs = std::filesystem;

namespace {

std::map<std::string, std::string> ReadTree(const fs::path& root)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), root).string()] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
}

}  // namespace

TEST(DemoGame, IsTheSameBytesOnEveryBuild)
{
    qbtest::cTempFolder first, second;
    ASSERT_TRUE(qbtest::WriteDemoGame(first.Path()));
    ASSERT_TRUE(qbtest::WriteDemoGame(second.Path()));
    const auto a = ReadTree(first.Path()), b = ReadTree(second.Path());
    ASSERT_EQ(a.size(), b.size());
    for (const auto& [name, bytes] : a) {
        ASSERT_TRUE(b.count(name)) << name;
        EXPECT_TRUE(bytes == b.at(name)) << name;
    }
}

TEST(DemoGame, EveryDataFileReadsBackAndTheStagesArePlayable)
{
    qbtest::cTempFolder folder;
    ASSERT_TRUE(qbtest::WriteDemoGame(folder.Path()));
    folder.ChangeInto();
    qbtest::cRestore<cDatabase> database(g_Database);
    qbtest::cRestore<cPaletteData> common(g_CommonPalette);

    ASSERT_EQ(g_Database.Load(), 1);
    EXPECT_EQ(g_Database.m_Sounds.size(), 4u);
    EXPECT_EQ(g_Database.m_Sounds[1].m_strFile, "wave\\Jump.wav");
    cSystemData system;
    ASSERT_TRUE(system.Load("data\\System.dat"));
    EXPECT_EQ(system.m_strTitle, "Quillbramwood demo");
    for (const std::string& sound : system.m_SoundFiles) EXPECT_FALSE(sound.empty());
    cWorldMapData map;
    ASSERT_TRUE(map.Load("data\\WorldMap.dat"));
    const std::vector<std::string> stageFiles = DemoStageFiles();
    ASSERT_FALSE(stageFiles.empty());
    ASSERT_EQ(map.m_Points.size(), stageFiles.size());
    ASSERT_TRUE(g_CommonPalette.Load("data\\CommonPalette.cplt4"));

    for (std::size_t i = 0; i < stageFiles.size(); ++i) {
        EXPECT_EQ(map.m_Points[i].m_Stages[0].m_strStageFile, stageFiles[i]);
        cStageData stage;
        ASSERT_TRUE(stage.Load(stageFiles[i].c_str())) << stageFiles[i];
        EXPECT_TRUE(stage.HasHero()) << stageFiles[i];
        EXPECT_GT(stage.m_Blocks.size(), 40u);
        EXPECT_GE(stage.m_Items.size(), 8u);
        int walkers = 0;
        for (const cCharaData& chara : stage.m_Charas) {
            if (chara.m_strName != "ウォーカー") continue;   // platforms and the sign aside
            ++walkers;
            ASSERT_EQ(chara.m_Flows.size(), 2u);
            EXPECT_EQ(chara.m_Flows[0].m_Commands.size(), 4u);
            ASSERT_TRUE(chara.m_Flows[0].m_Commands[0].m_pMove);
            // The cry names a sound of the database, which the writer's check kept.
            ASSERT_FALSE(chara.m_Flows[1].m_Commands[0].m_Params.empty());
            EXPECT_EQ(chara.m_Flows[1].m_Commands[0].m_Params[0], 3);
        }
        EXPECT_GE(walkers, 2);
    }
}

TEST(DemoGame, TheRidgeIsASeriesWhoseSecondPartIsReachedOnlyThroughItsFirst)
{
    qbtest::cDemoStages demo;
    ASSERT_TRUE(demo.Load());
    cWorldMapData map;
    ASSERT_TRUE(map.Load("data\\WorldMap.dat"));
    std::set<std::string> onMap;
    for (const cWorldPointData& point : map.m_Points)
        for (const cWorldStageData& entry : point.m_Stages) onMap.insert(entry.m_strStageFile);
    EXPECT_EQ(onMap.count("data\\stg4\\Ridge-1.stg4_001"), 1u);
    EXPECT_EQ(onMap.count("data\\stg4\\Ridge-2.stg4_001"), 0u);
    // Each part's goal: the item of the last column's top block clears the stage on to the
    // next part.
    for (const char* file : {"data\\stg4\\Ridge-1.stg4_001", "data\\stg4\\Ridge-2.stg4_001"}) {
        cStageData stage;
        ASSERT_TRUE(stage.Load(file)) << file;
        EXPECT_TRUE(stage.HasHero()) << file;
        int goals = 0;
        for (const cBlockData& block : stage.m_Blocks) {
            if (block.m_nItemSource != 2) continue;
            const cItemData& item = stage.m_PaletteItems.At(block.m_nItemIndex);
            ASSERT_EQ(item.m_Actions.size(), 1u) << file;
            EXPECT_EQ(item.m_Actions[0].m_nKind, COMMAND_STAGE_CLEAR - kItemActionCommandOffset) << file;
            EXPECT_EQ(item.m_Actions[0].m_Params.At(0), 0) << file << ": on to the next part";
            EXPECT_EQ(block.m_nColumn, stage.m_nWidth - 1) << file;
            ++goals;
        }
        EXPECT_EQ(goals, 1) << file;
    }
}

TEST(DemoGame, EachKindOfBlockShowsAPaintedCellOfItsOwnOnTheBlockSheet)
{
    qbtest::cTempFolder folder;
    ASSERT_TRUE(qbtest::WriteDemoGame(folder.Path()));
    folder.ChangeInto();
    qbtest::cRestore<cPaletteData> common(g_CommonPalette);
    ASSERT_TRUE(g_CommonPalette.Load("data\\CommonPalette.cplt4"));
    plat::cBmpImage sheet;
    ASSERT_TRUE(plat::ReadBmpFile("bmp\\Block.bmp", sheet));
    ASSERT_TRUE(sheet.IsPaletted());
    for (const std::string& file : DemoStageFiles()) {
        cStageData stage;
        ASSERT_TRUE(stage.Load(file.c_str())) << file;
        std::set<int> numbers;
        for (const cBlockData& block : stage.m_Blocks) {
            // The number is the cell, 15 to a column; index 0 of the sheet is transparent.
            const int number = block.m_nImageNumber;
            ASSERT_EQ(block.m_nImageKind, 0) << file;
            ASSERT_GT(number, 0) << file;
            const int x = number / 15 * 32, y = number % 15 * 32;
            ASSERT_LE(x + 32, sheet.nWidth) << file << ": " << number;
            ASSERT_LE(y + 32, sheet.nHeight) << file << ": " << number;
            EXPECT_NE(sheet.indices[static_cast<std::size_t>((y + 1) * sheet.nWidth + x + 1)], 0) << number;
            numbers.insert(number);
        }
        EXPECT_GE(numbers.size(), 2u) << file << ": the ground and the ledges are bricks of their own";
    }
}

TEST(DemoGame, EveryPictureAndSoundReadsAsTheRuntimeReadsIt)
{
    qbtest::cTempFolder folder;
    ASSERT_TRUE(qbtest::WriteDemoGame(folder.Path()));
    folder.ChangeInto();
    std::vector<std::string> pictures = {"bmp\\plt\\Palette.bmp", "bmp\\Debug.bmp", "bmp\\Block.bmp", "bmp\\Shot.bmp",
                                         "bmp\\Item.bmp", "bmp\\Item_Mini.bmp", "bmp\\Mark.bmp", "bmp\\Window.bmp",
                                         "bmp\\StatusWindow.bmp", "bmp\\Title.bmp", "bmp\\GameMode.bmp",
                                         "bmp\\Accessory.bmp", "bmp\\Symbol.bmp", "bmp\\Word.bmp",
                                         "bmp\\WorldMapChip.bmp", "bmp\\WorldEvent.bmp", "bmp\\WorldBack.bmp"};
    for (int i = 1; i <= 8; ++i) {
        pictures.push_back("bmp\\Character" + std::to_string(i) + ".bmp");
        pictures.push_back("背景その" + std::to_string(i) + ".bmp");
    }
    for (const std::string& picture : pictures) {
        plat::cBmpImage image;
        std::string error;
        EXPECT_TRUE(plat::ReadBmpFile(picture.c_str(), image, &error)) << picture << ": " << error;
    }
    // The title is a picture, not a flat colour: the sky above differs from the ground below.
    plat::cBmpImage title;
    ASSERT_TRUE(plat::ReadBmpFile("bmp\\Title.bmp", title));
    EXPECT_EQ(title.nWidth, 640);
    EXPECT_NE(title.Pixel(10, 10), title.Pixel(10, 450));

    for (const char* wave : {"wave\\Cursor.wav", "wave\\Decide.wav", "wave\\Jump.wav", "wave\\Coin.wav", "wave\\Hit.wav"}) {
        plat::cWaveData data;
        std::string error;
        EXPECT_TRUE(plat::ReadWaveFile(wave, data, &error)) << wave << ": " << error;
    }
    const std::string midi = folder.ReadFile("bgm/Title.mid");
    std::vector<BYTE> image;
    std::string error;
    EXPECT_TRUE(ConvertMidiFile(reinterpret_cast<const BYTE*>(midi.data()), midi.size(), image, &error)) << error;
    plat::cOggDecoder ogg;
    ASSERT_TRUE(ogg.OpenFile("bgm\\Title.ogg", &error)) << error;
    EXPECT_EQ(ogg.Rate(), 22050);
    std::vector<float> frames(2 * 4096);
    int total = 0;
    for (int n; (n = ogg.Read(frames.data(), 4096)) > 0;) total += n;
    EXPECT_GT(total, 22050);  // more than a second of tune
}
