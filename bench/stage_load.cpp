// Reading a large stage (300 x 40 blocks, 4,000 placed objects: 2,000 blocks, 1,000 charas
// with flows and 1,000 items, and a full stage palette) through the stage reader, against
// reading the same bytes raw from the same file, in one run; and the same with 4,000 placed
// objects of each kind.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

#include "data/stage_data.h"
#include "data/template_common.h"

namespace {

constexpr int kPaletteBlocks = 256;
constexpr int kPaletteCharas = 128;
constexpr int kPaletteItems = 64;

std::string Name(const char* stem, int i)
{
    return std::string(stem) + std::to_string(i);
}

// A palette entry's flows: two of three commands each.
void GiveFlows(cCharaData& chara)
{
    chara.m_Flows.resize(2);
    for (cFlowData& flow : chara.m_Flows) {
        flow.m_strName = "移動";
        flow.m_Commands.resize(3);
    }
}

// A stage of 300 x 40 blocks with blocks, charas and items placed, inheriting their picture
// and (charas) their flows from the stage palette.
void FillLarge(cStageData& stage, int blocks, int charas, int items)
{
    stage.m_nWidth = 300;
    stage.m_nHeight = 40;
    stage.m_strText = "大きなステージ";
    stage.m_PaletteBlocks.resize(kPaletteBlocks);
    stage.m_PaletteCharas.resize(kPaletteCharas);
    stage.m_PaletteItems.resize(kPaletteItems);
    for (int i = 1; i < kPaletteBlocks; ++i) {
        stage.m_PaletteBlocks[i].m_strName = Name("ブロック", i);
        stage.m_PaletteBlocks[i].m_nImageNumber = static_cast<std::int16_t>(i);
    }
    for (int i = 1; i < kPaletteCharas; ++i) {
        stage.m_PaletteCharas[i].m_strName = Name("キャラ", i);
        stage.m_PaletteCharas[i].m_nImageNumber = static_cast<std::int16_t>(i);
        GiveFlows(stage.m_PaletteCharas[i]);
    }
    for (int i = 1; i < kPaletteItems; ++i) {
        stage.m_PaletteItems[i].m_strName = Name("アイテム", i);
        stage.m_PaletteItems[i].m_nImageNumber = static_cast<std::int16_t>(i);
        stage.m_PaletteItems[i].m_Actions.resize(2);
    }
    auto inherit = [](auto& placed, int index, int group) {
        placed.m_nInheritSource = TEMPLATESOURCE_STAGE;
        placed.m_nInheritIndex = static_cast<std::int16_t>(index);
        placed.m_InheritFlags[static_cast<std::size_t>(group)] = 1;
    };
    stage.m_Blocks.resize(blocks);
    stage.m_Charas.resize(charas);
    stage.m_Items.resize(items);
    for (int i = 0; i < blocks; ++i) {
        cBlockData& block = stage.m_Blocks[i];
        block.m_nColumn = static_cast<std::int16_t>(i % 300);
        block.m_nRow = static_cast<std::int16_t>(i / 300);
        inherit(block, 1 + i % (kPaletteBlocks - 1), 2);
    }
    for (int i = 0; i < charas; ++i) {
        cCharaData& chara = stage.m_Charas[i];
        chara.m_nColumn = static_cast<std::int16_t>(i % 300);
        chara.m_nRow = static_cast<std::int16_t>(20 + i / 300 % 20);
        chara.m_nHeldItem = -1;
        inherit(chara, 1 + i % (kPaletteCharas - 1), 9);
        chara.m_InheritFlags[36] = 1;
        GiveFlows(chara);
    }
    for (int i = 0; i < items; ++i) {
        cItemData& item = stage.m_Items[i];
        item.m_nColumn = static_cast<std::int16_t>(i % 300);
        item.m_nRow = static_cast<std::int16_t>(i / 300);
        inherit(item, 1 + i % (kPaletteItems - 1), 4);
    }
    stage.m_Charas[0].m_nOperator = 0;
}

// The two stage files in a temporary folder, the working folder while the benchmarks run.
const char* const kFiles[2] = {"mixed.stg4_000", "each.stg4_000"};

class cLargeStage {
public:
    cLargeStage()
    {
        char pattern[] = "/tmp/qb-bench-stage-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        m_Folder = pattern;
        m_Previous = std::filesystem::current_path();
        std::filesystem::current_path(m_Folder);
        g_nDataVersion = kDataVersion;
        g_bStripCR = 1;
        const int placed[2][3] = {{2000, 1000, 1000}, {4000, 4000, 4000}};
        for (int i = 0; i < 2; ++i) {
            cStageData stage;
            FillLarge(stage, placed[i][0], placed[i][1], placed[i][2]);
            if (!stage.Save(kFiles[i])) std::abort();
            m_nBytes[i] = static_cast<std::int64_t>(std::filesystem::file_size(kFiles[i]));
        }
    }
    ~cLargeStage()
    {
        std::error_code ignored;
        std::filesystem::current_path(m_Previous, ignored);
        std::filesystem::remove_all(m_Folder, ignored);
    }
    std::int64_t Bytes(int file) const { return m_nBytes[file]; }

private:
    std::filesystem::path m_Folder;
    std::filesystem::path m_Previous;
    std::int64_t m_nBytes[2] = {};
};

cLargeStage& Stage()
{
    static cLargeStage stage;
    return stage;
}

// What the loading thread does: the file read into a new stage, upgrades and checks included.
// Argument: 0 the 4,000 objects in all, 1 the 4,000 of each kind.
void Stage_Load(benchmark::State& state)
{
    const int file = static_cast<int>(state.range(0));
    const std::int64_t bytes = Stage().Bytes(file);
    for (auto _ : state) {
        cStageData stage;
        if (stage.Load(kFiles[file]) != 1) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(stage.m_Charas.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(Stage_Load)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same file read whole into memory with the C library, without turning it into records.
void Stage_ReadRaw(benchmark::State& state)
{
    const int file = static_cast<int>(state.range(0));
    const std::int64_t bytes = Stage().Bytes(file);
    std::vector<char> buffer;
    for (auto _ : state) {
        FILE* in = std::fopen(kFiles[file], "rb");
        if (!in) {
            state.SkipWithError("open failed");
            break;
        }
        buffer.resize(static_cast<std::size_t>(bytes));
        const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), in);
        std::fclose(in);
        benchmark::DoNotOptimize(got);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(Stage_ReadRaw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
