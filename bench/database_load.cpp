// Loading the ten databases of a large game (1,000 entries each) through cDatabase::Load,
// against reading the same bytes raw from the same files, in one run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

#include "data/database.h"

namespace {

constexpr int kEntries = 1000;

std::string Name(const char* stem, int i)
{
    return std::string(stem) + std::to_string(i);
}

// A database whose every list holds kEntries entries of a typical shape.
void FillLarge(cDatabase& db)
{
    db.m_AnimeSets.resize(kEntries);
    db.m_Animes.resize(kEntries);
    db.m_BmpCharaExcs.resize(kEntries);
    db.m_SwordTypes.resize(kEntries);
    db.m_Effects.resize(kEntries);
    db.m_CharaEffects.resize(kEntries);
    db.m_ScrEffects.resize(kEntries);
    db.m_Pictures.resize(kEntries);
    db.m_Sounds.resize(kEntries);
    db.m_Bgms.resize(kEntries);
    for (int i = 0; i < kEntries; ++i) {
        db.m_AnimeSets[i].m_strName = Name("キャラ動作", i);
        cAnimeData& anime = db.m_Animes[i];
        anime.m_strName = Name("アニメーション", i);
        anime.m_Frames.resize(4);
        for (int k = 0; k < 4; ++k) anime.m_Frames[k].m_nFrame = i + k;
        db.m_BmpCharaExcs[i].m_strName = Name("専用画像", i);
        db.m_BmpCharaExcs[i].m_strFile = Name("bmp\\chara_sp\\chara", i) + ".bmp";
        cSwordTypeData& sword = db.m_SwordTypes[i];
        sword.m_strName = Name("剣", i);
        sword.m_strFile = Name("bmp\\sword\\sword", i) + ".bmp";
        sword.m_strFile2 = Name("bmp\\sword\\sword_r", i) + ".bmp";
        sword.m_Frames.resize(3);
        cEffectData& effect = db.m_Effects[i];
        effect.m_strName = Name("エフェクト", i);
        effect.m_strFile = Name("bmp\\effect\\effect", i) + ".bmp";
        effect.m_Frames.resize(4);
        db.m_CharaEffects[i].m_strName = Name("キャラ演出", i);
        db.m_CharaEffects[i].m_nKind = 1 + i % 16;
        db.m_ScrEffects[i].m_strName = Name("画面演出", i);
        db.m_ScrEffects[i].m_nKind = 1 + i % 13;
        db.m_Pictures[i].m_strName = Name("ピクチャ", i);
        db.m_Pictures[i].m_strFile = Name("bmp\\picture\\picture", i) + ".bmp";
        db.m_Sounds[i].m_strName = Name("効果音", i);
        db.m_Sounds[i].m_strFile = Name("wave\\se", i) + ".wav";
        db.m_Bgms[i].m_strName = Name("BGM", i);
        db.m_Bgms[i].m_strFile = Name("bgm\\bgm", i) + ".ogg";
    }
}

// A game folder in the temporary folder holding the ten files; the working folder while the
// benchmarks run.
class cLargeGame {
public:
    cLargeGame()
    {
        char pattern[] = "/tmp/qb-bench-database-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        m_Folder = pattern;
        std::filesystem::create_directories(m_Folder / "data" / "database");
        m_Previous = std::filesystem::current_path();
        std::filesystem::current_path(m_Folder);
        cDatabase db;
        FillLarge(db);
        for (int file = 0; file < DATABASE_FILES; ++file) {
            cDataWriter writer;
            if (!OpenDataFileWrite(DatabasePath(file), writer)) std::abort();
            db.WriteList(file, writer);
            if (!CloseDataFile(writer)) std::abort();
            m_nBytes += static_cast<std::int64_t>(writer.Image().size());
        }
    }
    ~cLargeGame()
    {
        std::error_code ignored;
        std::filesystem::current_path(m_Previous, ignored);
        std::filesystem::remove_all(m_Folder, ignored);
    }
    std::int64_t Bytes() const { return m_nBytes; }

private:
    std::filesystem::path m_Folder;
    std::filesystem::path m_Previous;
    std::int64_t m_nBytes = 0;
};

cLargeGame& Game()
{
    static cLargeGame game;
    return game;
}

void Databases_Load(benchmark::State& state)
{
    g_nDataVersion = kDataVersion;
    g_bStripCR = 1;
    const std::int64_t bytes = Game().Bytes();
    for (auto _ : state) {
        cDatabase db;
        if (db.Load() != 1) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(db.m_Bgms.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(Databases_Load)->Unit(benchmark::kMillisecond);

// The same files read whole into memory with the C library, as the loader's reader does,
// without turning them into records.
void Databases_ReadRaw(benchmark::State& state)
{
    const std::int64_t bytes = Game().Bytes();
    std::vector<char> buffer;
    for (auto _ : state) {
        for (int file = 0; file < DATABASE_FILES; ++file) {
            std::string path = DatabasePath(file);
            for (char& c : path) {
                if (c == '\\') c = '/';
            }
            FILE* in = std::fopen(path.c_str(), "rb");
            if (!in) {
                state.SkipWithError("open failed");
                break;
            }
            buffer.resize(static_cast<std::size_t>(std::filesystem::file_size(path)));
            const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), in);
            std::fclose(in);
            benchmark::DoNotOptimize(got);
            benchmark::DoNotOptimize(buffer.data());
        }
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(Databases_ReadRaw)->Unit(benchmark::kMillisecond);

}  // namespace
