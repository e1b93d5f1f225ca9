// The stress stage played headless through the stage-play scene, frame by frame: 120 awake
// charas with always-running flows, each drawn through one of the sixteen kinds of chara effect,
// ten sub-steps a frame, the full 640 x 480 draw with its backgrounds, at 32-bit Direct3D and at 16-bit DirectDraw,
// optionally with a screen effect of one kind running over it all the while. Each frame's update and draw are
// timed apart (the draw is the scene's Draw called by the play frame, reached through the
// linker's --wrap, see CMakeLists.txt), and the allocations made inside the hit passes (the
// contacts between objects, the item pickups and the block collision of each chara) are counted by a replaced
// global operator new that counts while a flag is set around them.
//
//   bench_play [--frames N] [--warm-up N] [--device d3d32|dd16] [--screen-effect KIND] [--dump FILE]
//
// Each device runs in a child process of its own, so that the second starts from a clean
// program state.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include "app/program_hooks.h"
#include "app/start_up_screen.h"
#include "data/data_paths.h"
#include "data/data_version.h"
#include "data/database.h"
#include "data/role_accessors.h"
#include "data/palette_data.h"
#include "data/system_data.h"
#include "graphics/device.h"
#include "graphics/palette.h"
#include "graphics/standard_surfaces.h"
#include "graphics/surface.h"
#include "objects/chara_draw_effect.h"
#include "objects/database_working_tables.h"
#include "objects/effect_kinds.h"
#include "objects/hero.h"
#include "platform/os/files.h"
#include "platform/video/presenter.h"
#include "play/free_play.h"
#include "play/game_manager.h"
#include "play/play_scene.h"
#include "shell/input.h"
#include "shell/shared_flags.h"
#include "tools/stage-generator/stress_stage.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// --- allocations inside the hit passes ------------------------------------------------------

namespace {

// The hit passes watched: the contacts between objects, and the block collision of a chara.
enum HITPASS { HITPASS_CONTACTS, HITPASS_BLOCKS, HITPASSES };

struct HITCOUNTS {
    long long nCalls = 0;
    long long nAllocations = 0;
    long long nBytes = 0;
};

// The outermost hit pass running on this thread (-1 none) and how deep; what it allocates
// meanwhile, nested passes included, counts for it.
thread_local int t_nHitPass = -1;
thread_local int t_nHitPassDepth = 0;
thread_local HITCOUNTS t_HitCounts[HITPASSES];

void* Allocate(std::size_t size, std::align_val_t alignment = std::align_val_t{alignof(std::max_align_t)})
{
    if (t_nHitPass >= 0) {
        ++t_HitCounts[t_nHitPass].nAllocations;
        t_HitCounts[t_nHitPass].nBytes += static_cast<long long>(size);
    }
    const std::size_t align = std::max(static_cast<std::size_t>(alignment), sizeof(void*));
    void* p = nullptr;
    if (posix_memalign(&p, align, size ? size : 1) != 0) return nullptr;
    return p;
}

void* AllocateOrThrow(std::size_t size, std::align_val_t alignment = std::align_val_t{alignof(std::max_align_t)})
{
    void* p = Allocate(size, alignment);
    if (!p) throw std::bad_alloc();
    return p;
}

// Counts the allocations of one hit pass while it lives.
class cHitPass {
public:
    explicit cHitPass(HITPASS pass)
    {
        ++t_HitCounts[pass].nCalls;
        if (t_nHitPassDepth++ == 0) t_nHitPass = pass;
    }
    ~cHitPass()
    {
        if (--t_nHitPassDepth == 0) t_nHitPass = -1;
    }
    cHitPass(const cHitPass&) = delete;
    cHitPass& operator=(const cHitPass&) = delete;
};

}  // namespace

void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, std::align_val_t a) { return AllocateOrThrow(size, a); }
void* operator new[](std::size_t size, std::align_val_t a) { return AllocateOrThrow(size, a); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new(std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept { return Allocate(size, a); }
void* operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept { return Allocate(size, a); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }

// --- the scene's calls the benchmark watches ------------------------------------------------
// The linker sends the play frame's calls of these members here (-Wl,--wrap); __real_ is the
// member itself. A member takes its object as its first argument.

namespace {

thread_local Clock::duration t_DrawTime{};
thread_local int t_nDraws = 0;

}  // namespace

extern "C" {
void __real__ZN10cPlayScene4DrawEiiii(cPlayScene*, int, int, int, int);
int __real__ZN9cContacts15ProcessContactsEv(cContacts*);
int __real__ZN9cContacts10TouchItemsER5cHero(cContacts*, cHero&);
int __real__ZN15cBlockCollision8CollideXER6cChara(cBlockCollision*, cChara&);
int __real__ZN15cBlockCollision8CollideYER6cChara(cBlockCollision*, cChara&);
int __real__ZN15cBlockCollision12CollideXBothER6cChara(cBlockCollision*, cChara&);
int __real__ZN15cBlockCollision12CollideYBothER6cChara(cBlockCollision*, cChara&);

void __wrap__ZN10cPlayScene4DrawEiiii(cPlayScene* scene, int full, int paused, int timer, int bottomText)
{
    const Clock::time_point start = Clock::now();
    __real__ZN10cPlayScene4DrawEiiii(scene, full, paused, timer, bottomText);
    t_DrawTime += Clock::now() - start;
    ++t_nDraws;
}
// Each hit pass member the play frame calls, counted while it runs; its object is the part of
// the scene that declares it; the arguments after the object, if any: one, of the type given.
#define QB_HIT_PASS(kind, part, member, ...)                        \
    int __wrap_##member(part* object __VA_OPT__(, __VA_ARGS__ arg)) \
    {                                                               \
        cHitPass pass(kind);                                        \
        return __real_##member(object __VA_OPT__(, arg));           \
    }
QB_HIT_PASS(HITPASS_CONTACTS, cContacts, _ZN9cContacts15ProcessContactsEv)
QB_HIT_PASS(HITPASS_CONTACTS, cContacts, _ZN9cContacts10TouchItemsER5cHero, cHero&)
QB_HIT_PASS(HITPASS_BLOCKS, cBlockCollision, _ZN15cBlockCollision8CollideXER6cChara, cChara&)
QB_HIT_PASS(HITPASS_BLOCKS, cBlockCollision, _ZN15cBlockCollision8CollideYER6cChara, cChara&)
QB_HIT_PASS(HITPASS_BLOCKS, cBlockCollision, _ZN15cBlockCollision12CollideXBothER6cChara, cChara&)
QB_HIT_PASS(HITPASS_BLOCKS, cBlockCollision, _ZN15cBlockCollision12CollideYBothER6cChara, cChara&)
#undef QB_HIT_PASS
}

// --- the run --------------------------------------------------------------------------------

namespace {

// A DirectDraw window takes the desktop's depth, so 16 bits are asked for full screen, as a
// game set to 16 bits runs on a desktop of more.
struct DEVICE {
    const char* szName;
    BOOL bDirect3D;
    int nBpp;
    int nWindowMode;
};
constexpr DEVICE kDevices[] = {{"d3d32", TRUE, 32, 1}, {"dd16", FALSE, 16, 0}};

struct OPTIONS {
    int nFrames = 600;
    int nWarmUp = 60;
    const char* szDevice = nullptr;   // null: every device
    int nScreenEffect = 0;            // the kind of screen effect running over the stage, 0 none
    std::string strDump;              // where the last frame goes as PNG, the device's name added
};

// Every kind of chara effect, one database entry each (1 to 16), lasting a second and played
// back and forth for ever, so that every frame draws each chara through one of them.
void AddEveryCharaEffect()
{
    static const int kParams[kCharaDrawEffects][5] = {
        {0, 0, 0, 0, 0},   {10, 0, 16, 0, 0},   {10, 0, 16, 4, 0},  {10, 0, 16, 4, 0},   {10, 0, 16, 2, 2},
        {10, 0, 16, 2, 2}, {10, 3, 0, 0, 0},    {10, 0, 360, 0, 0}, {10, 0, 360, 0, 0},  {10, 0, 256, 0, 0},
        {10, 32, 4, 2, 0}, {10, 32, 64, 0, 0},  {10, 100, 5, 0, 0}, {10, 1, 4, 31, 0},   {10, 9999, 0, 0, 0},
        {10, 1, 8, 0, 0},  {10, 1, 4, 0, 0},
    };
    g_Database.m_CharaEffects.resize(kCharaDrawEffects);
    for (int kind = 1; kind < kCharaDrawEffects; ++kind) {
        cCharaEffectData& entry = g_Database.m_CharaEffects[static_cast<std::size_t>(kind)];
        entry.m_nKind = kind;
        for (int p = 0; p < 5; ++p) entry.m_nParams[p] = kParams[kind][p];
    }
    g_Database.FillReverseLists();
    BuildDatabaseWorkingTables();
}

// A screen-effect entry of the kind with its default parameters, added after the database's
// own; its id.
int AddScreenEffect(int kind)
{
    cScrEffectData& entry = g_Database.m_ScrEffects.emplace_back();
    entry.m_nKind = kind;
    for (int p = 0; p < kEffectParams; ++p) entry.m_nParams[p] = g_ScrEffectParams[kind][p].defaultValue;
    g_Database.FillReverseLists();
    BuildDatabaseWorkingTables();
    return static_cast<int>(g_Database.m_ScrEffects.size()) - 1;
}

// What the start-up loads before a stage can play: the databases, the System data, the
// common palette.
bool LoadGameRecords()
{
    g_nDataVersion = kDataVersion;
    g_bStripCR = 1;
    if (!g_Database.Load()) return false;
    g_Database.FillReverseLists();
    AddEveryCharaEffect();
    if (!g_SystemData.Load(g_DataPaths[DATAPATH_SYSTEM])) return false;
    if (!g_CommonPalette.Load(g_DataPaths[DATAPATH_COMMONPALETTE])) return false;
    g_GameManager.m_nFps = 60;
    g_GameManager.m_dScaleX = 1.0;
    g_GameManager.m_dScaleY = 1.0;
    g_GameManager.m_nFadeSpeed = 10;
    return true;
}

// The device as the start-up makes it, with the standard surfaces' mirrors, the palette and
// the transparent colour.
bool StartDevice(const DEVICE& device)
{
    if (!DDInit(device.bDirect3D, nullptr, 640, 480, device.nBpp, FALSE, device.nWindowMode, 1, 60, FALSE, g_StdSurface,
                g_SurfaceInfo, kStdSurfaceCount, 0))
        return false;
    if (lpDTCon) LinkStandardMirrors();
    else g_bPresentByBlt = 1;
    if (!SetPaletteAndTransparentColour()) return false;
    return DDLoadSurfaces(g_StdSurface, &kDebugSheet, 1) != 0;
}

struct FIGURES {
    double dMedian;
    double dP99;
    double dMax;
};

FIGURES Figures(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    const std::size_t n = ms.size();
    const std::size_t p99 = (n * 99 + 99) / 100;   // the ceiling of 0.99 n
    return {ms[n / 2], ms[std::max<std::size_t>(p99, 1) - 1], ms.back()};
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

int CountAwake(cPlayScene& scene)
{
    int awake = 0;
    for (cStageChara& chara : scene.m_Charas) awake += !chara.m_bDead && chara.m_bActive && chara.m_bAwake;
    return awake;
}

// The last frame drawn, presented as the game presents it and saved as PNG, to see what the
// measured frames drew.
void DumpLastFrame(const std::string& file)
{
    g_GameManager.Present();
    std::string path;
    if (!plat::ToProgramPath(file, path) || !plat::SaveLastFrameAsPng(path.c_str()))
        std::fprintf(stderr, "bench_play: %s cannot be written\n", file.c_str());
    else
        std::printf("  last frame saved as %s\n", file.c_str());
}

void PrintHitCounts(const char* name, const HITCOUNTS& counts)
{
    std::printf("  %s: %lld allocations (%lld bytes) in %lld calls\n", name, counts.nAllocations, counts.nBytes,
                counts.nCalls);
}

// What the hit passes of the measured frames allocated, and how much the charas' hits took.
void ReportHitPasses(cPlayScene& scene)
{
    const cHero& hero = Player.At(0);
    long long damage = CharaMaxHp(hero.m_Def) - hero.m_nHp;
    for (cStageChara& chara : scene.m_Charas) damage += CharaMaxHp(chara.m_Def) - chara.m_nHp;
    std::printf("  hits between charas took %lld HP in all since the start (the hero %d)\n", damage,
                CharaMaxHp(hero.m_Def) - hero.m_nHp);
    std::printf("  allocations inside the hit passes of the play frame:\n");
    PrintHitCounts("contacts between objects and item pickups", t_HitCounts[HITPASS_CONTACTS]);
    PrintHitCounts("block collision of charas", t_HitCounts[HITPASS_BLOCKS]);
}

// The charas take the effects in turn (the hero the blink), each at its own point of its cycle.
void GiveCharasEffects(cPlayScene& scene)
{
    int k = 0;
    for (cStageChara& chara : scene.m_Charas) {
        chara.m_DrawEffect.Start(1 + k % (kCharaDrawEffects - 1), 2, 1);
        for (int step = 0; step < k * 7 % 60; ++step) chara.m_DrawEffect.m_EffectPlayback.StepCharaEffect();
        ++k;
    }
    Player.At(0).m_DrawEffect.Start(6, 0, 1);
}

// One device in this process: the stress stage entered as free play, its fade-in and start
// caption skipped, warm-up frames, then the measured frames. 0 on success.
int RunDevice(const DEVICE& device, const OPTIONS& options)
{
    if (!StartDevice(device)) {
        std::fprintf(stderr, "bench_play: %s: the device cannot start\n", device.szName);
        return 1;
    }
    // The entry is made before the stage, whose charas keep the working tables it rebuilds.
    const int screenEffect = options.nScreenEffect ? AddScreenEffect(options.nScreenEffect) : 0;
    if (!StartStageFromCommandLine(kStressStageFile)) {
        std::fprintf(stderr, "bench_play: the stress stage cannot be loaded\n");
        return 1;
    }
    cPlayScene scene;
    g_lpPlayScene = &scene;
    scene.Init();
    if (scene.m_bSetUpFailed) {
        std::fprintf(stderr, "bench_play: the stage set-up failed\n");
        return 1;
    }
    scene.m_nState = PLAYSTATE_PLAY;
    GiveCharasEffects(scene);
    // Played back and forth for ever, so that every measured frame draws it.
    if (screenEffect) scene.m_ScreenEffect.StartScreenEffect(screenEffect, 2, 1);
    const int charasAtStart = static_cast<int>(scene.m_Charas.size());
    for (int i = 0; i < options.nWarmUp; ++i) scene.Run();

    std::vector<double> frame, update, draw;
    std::vector<int> shots;
    for (HITCOUNTS& counts : t_HitCounts) counts = HITCOUNTS{};
    int undrawn = 0;
    const std::clock_t cpuStart = std::clock();
    for (int i = 0; i < options.nFrames; ++i) {
        t_DrawTime = {};
        t_nDraws = 0;
        const Clock::time_point start = Clock::now();
        scene.Run();
        const Clock::duration total = Clock::now() - start;
        frame.push_back(Ms(total));
        update.push_back(Ms(total - t_DrawTime));
        draw.push_back(Ms(t_DrawTime));
        undrawn += t_nDraws == 0;
        shots.push_back(static_cast<int>(scene.m_ShotLists.m_Shots.size()));
    }
    const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;

    std::printf("%s: %d frames (after %d warm-up frames), %d sub-steps a frame, state %d at the end\n", device.szName,
                options.nFrames, options.nWarmUp, g_StageData.m_nSubSteps, scene.m_nState);
    if (screenEffect)
        std::printf("  screen effect of kind %d running over the stage, played back and forth\n", options.nScreenEffect);
    std::printf("  charas: %d placed besides the hero, %d at the start of play, %d left, %d awake at the end\n",
                kStressCharas, charasAtStart, static_cast<int>(scene.m_Charas.size()), CountAwake(scene));
    std::sort(shots.begin(), shots.end());
    std::printf("  shots in flight after a frame: least %d, median %d, most %d\n", shots.front(),
                shots[shots.size() / 2], shots.back());
    const struct {
        const char* szName;
        const std::vector<double>& ms;
    } rows[] = {{"frame ", frame}, {"update", update}, {"draw  ", draw}};
    for (const auto& row : rows) {
        const FIGURES f = Figures(row.ms);
        std::printf("  %s  median %7.3f ms   99th percentile %7.3f ms   max %7.3f ms\n", row.szName, f.dMedian, f.dP99,
                    f.dMax);
    }
    std::printf("  CPU time %.3f ms a frame on average; %d frames ended without a draw\n", cpuMs / options.nFrames,
                undrawn);
    if (!options.strDump.empty()) DumpLastFrame(options.strDump + "-" + device.szName + ".png");
    ReportHitPasses(scene);
    std::fflush(stdout);
    g_lpPlayScene = nullptr;
    return 0;
}

bool ParseOptions(int argc, char** argv, OPTIONS& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return false;
        const char* value = argv[++i];
        if (arg == "--frames") options.nFrames = std::atoi(value);
        else if (arg == "--warm-up") options.nWarmUp = std::atoi(value);
        else if (arg == "--device") options.szDevice = value;
        else if (arg == "--screen-effect") options.nScreenEffect = std::atoi(value);
        else if (arg == "--dump") options.strDump = fs::absolute(value).string();
        else return false;
    }
    return options.nFrames > 0 && options.nWarmUp >= 0 && options.nScreenEffect >= 0 &&
           options.nScreenEffect < kScrEffectKinds;
}

// The stress game in a temporary folder, removed when it goes.
class cStressGame {
public:
    cStressGame()
    {
        m_Folder = fs::temp_directory_path() / ("qb-bench-play-" + std::to_string(getpid()));
        std::string error;
        m_bWritten = BuildStressGame(m_Folder.string(), error);
        if (!m_bWritten) std::fprintf(stderr, "bench_play: %s\n", error.c_str());
    }
    ~cStressGame()
    {
        std::error_code ignored;
        fs::remove_all(m_Folder, ignored);
    }
    cStressGame(const cStressGame&) = delete;
    cStressGame& operator=(const cStressGame&) = delete;

    bool m_bWritten = false;
    fs::path m_Folder;
};

double LoadAverage()
{
    double load = -1;
    std::ifstream("/proc/loadavg") >> load;
    return load;
}

}  // namespace

int main(int argc, char** argv)
{
    RegisterProgramHooks();
    OPTIONS options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: bench_play [--frames N] [--warm-up N] [--device d3d32|dd16] [--screen-effect 1..13] "
                             "[--dump FILE]\n");
        return 2;
    }
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    cStressGame game;
    if (!game.m_bWritten) return 1;
    std::printf("stress stage: %d charas (%d block-like, %d hit layers), %d backgrounds, %d sub-steps a frame, "
                "rings of %d shots living %d tenths of a second; load average %.2f on %ld processors\n",
                kStressCharas, kStressBlockCharas, kStressHitLayers, kStressBackgrounds, kStressSpeedLevel,
                kStressVolley, kStressShotLife,
                LoadAverage(), sysconf(_SC_NPROCESSORS_ONLN));
    std::fflush(stdout);
    int failures = 0;
    for (const DEVICE& device : kDevices) {
        if (options.szDevice && std::strcmp(options.szDevice, device.szName) != 0) continue;
        const pid_t child = fork();
        if (child == 0) {
            std::error_code error;
            fs::current_path(game.m_Folder, error);
            if (error || !LoadGameRecords()) {
                std::fprintf(stderr, "bench_play: the stress game's records cannot be loaded\n");
                _exit(1);
            }
            const int result = RunDevice(device, options);
            std::fflush(nullptr);
            _exit(result);
        }
        int status = 0;
        if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            ++failures;
    }
    return failures == 0 ? 0 : 1;
}
