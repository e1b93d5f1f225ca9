// Blits through the runtime's own entry points (DDBltFast, DDBlt and the sprite batch on
// surfaces made under DDInit, Direct3D at 32 bits, headless), each beside a peer doing the
// same work in the same run: SDL2's blitter, and memcpy for the physical limit.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstring>
#include <vector>
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/sprite_batch.h"
#include "graphics/surface.h"
#include "graphics/surface_lock.h"

namespace {

constexpr int kScreenW = 640, kScreenH = 480, kTile = 32;
constexpr std::uint32_t kKeyArgb = 0xFFFF00FF;

// A tile whose corners are transparent (a disc), a screen-size picture and a half-size one.
std::uint32_t TilePixel(int x, int y)
{
    const int dx = 2 * x - kTile + 1, dy = 2 * y - kTile + 1;
    return dx * dx + dy * dy <= kTile * kTile ? 0xFF000000u | static_cast<std::uint32_t>(x * 7 << 16 | y * 7 << 8 | 0x40) : 0;
}
std::uint32_t PicturePixel(int x, int y) { return 0xFF000000u | static_cast<std::uint32_t>((x * 3) << 16 ^ (y * 5) << 8 ^ (x + y)); }

struct cScene {
    DDSURFACEDATA tile{}, screen{}, half{};
    SDL_Surface* sdlTile = nullptr;
    SDL_Surface* sdlScreen = nullptr;
    SDL_Surface* sdlHalf = nullptr;
    SDL_Surface* sdlTarget = nullptr;
    std::vector<std::uint32_t> memcpySource, memcpyTarget;

    cScene()
    {
        DDInit(TRUE, nullptr, kScreenW, kScreenH, 32, FALSE, 1, 1, 60, FALSE, nullptr, nullptr, 0, 0);
        Make(&tile, kTile, kTile, TRUE, TilePixel);
        Make(&screen, kScreenW, kScreenH, FALSE, PicturePixel);
        Make(&half, kScreenW / 2, kScreenH / 2, FALSE, PicturePixel);
        sdlTile = SdlPicture(kTile, kTile, [](int x, int y) { const std::uint32_t p = TilePixel(x, y); return p ? p : kKeyArgb; });
        SDL_SetColorKey(sdlTile, SDL_TRUE, kKeyArgb);
        SDL_SetSurfaceBlendMode(sdlTile, SDL_BLENDMODE_NONE);
        sdlScreen = SdlPicture(kScreenW, kScreenH, PicturePixel);
        sdlHalf = SdlPicture(kScreenW / 2, kScreenH / 2, PicturePixel);
        SDL_SetSurfaceBlendMode(sdlHalf, SDL_BLENDMODE_NONE);
        // The back buffer's format: X8R8G8B8.
        sdlTarget = SDL_CreateRGBSurfaceWithFormat(0, kScreenW, kScreenH, 32, SDL_PIXELFORMAT_RGB888);
        memcpySource.assign(static_cast<std::size_t>(kScreenW) * kScreenH, 0xFF123456);
        memcpyTarget.assign(memcpySource.size(), 0);
    }
    ~cScene()
    {
        for (SDL_Surface* s : {sdlTile, sdlScreen, sdlHalf, sdlTarget}) SDL_FreeSurface(s);
        for (DDSURFACEDATA* sd : {&tile, &screen, &half}) DDReleaseSurface(sd);
        DDUninit();
    }
    template <class F>
    static void Make(DDSURFACEDATA* sd, int w, int h, BOOL transmit, F pixel)
    {
        DDCreateSurface(sd, w, h, transmit, 0, 0, nullptr, FALSE);
        cSurfaceLock lock;
        if (!lock.Lock(sd)) return;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint32_t p = pixel(x, y);
                std::memcpy(lock.PixelAddress(x, y), &p, 4);
            }
    }
    template <class F>
    static SDL_Surface* SdlPicture(int w, int h, F pixel)
    {
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint32_t p = pixel(x, y);
                std::memcpy(static_cast<Uint8*>(s->pixels) + y * s->pitch + 4 * x, &p, 4);
            }
        return s;
    }
};

cScene& Scene()
{
    static cScene scene;
    return scene;
}

// 336 tiles: 21 × 16 of 32 × 32 from (−16, −16), as a scrolled map, clipped at every edge.
template <class F>
void ForEachTile(F blit)
{
    for (int row = 0; row < 16; ++row)
        for (int column = 0; column < 21; ++column) blit(-16 + column * kTile, -16 + row * kTile);
}

void KeyedTiles_SpriteBatch(benchmark::State& state)
{
    cScene& s = Scene();
    for (auto _ : state) {
        DDBeginSpriteBatch(TRUE);
        DDAddBatchSurface(&s.tile);
        ForEachTile([&](int x, int y) { DDBltFast(&g_BackBuffer, x, y, kTile, kTile, &s.tile, 0, 0, 1); });
        DDEndSpriteBatch();
    }
}
BENCHMARK(KeyedTiles_SpriteBatch);

void KeyedTiles_DDBltFast(benchmark::State& state)
{
    cScene& s = Scene();
    for (auto _ : state) ForEachTile([&](int x, int y) { DDBltFast(&g_BackBuffer, x, y, kTile, kTile, &s.tile, 0, 0, 1); });
}
BENCHMARK(KeyedTiles_DDBltFast);

void KeyedTiles_SDL(benchmark::State& state)
{
    cScene& s = Scene();
    for (auto _ : state)
        ForEachTile([&](int x, int y) {
            SDL_Rect to{x, y, kTile, kTile};
            SDL_BlitSurface(s.sdlTile, nullptr, s.sdlTarget, &to);
        });
}
BENCHMARK(KeyedTiles_SDL);

void OpaqueScreen_DDBltFast(benchmark::State& state)
{
    cScene& s = Scene();
    for (auto _ : state) DDBltFast(&g_BackBuffer, 0, 0, kScreenW, kScreenH, &s.screen, 0, 0, 0);
}
BENCHMARK(OpaqueScreen_DDBltFast);

void OpaqueScreen_memcpy(benchmark::State& state)
{
    cScene& s = Scene();
    for (auto _ : state) {
        std::memcpy(s.memcpyTarget.data(), s.memcpySource.data(), s.memcpySource.size() * 4);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(OpaqueScreen_memcpy);

void TranslucentScreen_DDBltEx(benchmark::State& state)
{
    cScene& s = Scene();
    const int half[2] = {static_cast<int>(0x80FFFFFFu), D3DTOP_MODULATE};
    DDSetAlphaOp(D3DTOP_MODULATE);
    for (auto _ : state) DDBltEx(&g_BackBuffer, 0, 0, kScreenW, kScreenH, &s.screen, 0, 0, kScreenW, kScreenH, 1, half);
    DDResetAlphaOp();
}
BENCHMARK(TranslucentScreen_DDBltEx);

void TranslucentScreen_SDL(benchmark::State& state)
{
    cScene& s = Scene();
    SDL_SetSurfaceBlendMode(s.sdlScreen, SDL_BLENDMODE_BLEND);
    SDL_SetSurfaceAlphaMod(s.sdlScreen, 128);
    for (auto _ : state) SDL_BlitSurface(s.sdlScreen, nullptr, s.sdlTarget, nullptr);
    SDL_SetSurfaceAlphaMod(s.sdlScreen, 255);
}
BENCHMARK(TranslucentScreen_SDL);

void ScaledScreen_DDBlt(benchmark::State& state)
{
    cScene& s = Scene();
    for (auto _ : state) DDBlt(&g_BackBuffer, 0, 0, kScreenW, kScreenH, &s.half, 0, 0, kScreenW / 2, kScreenH / 2, 0);
}
BENCHMARK(ScaledScreen_DDBlt);

void ScaledScreen_SDL(benchmark::State& state)
{
    cScene& s = Scene();
    for (auto _ : state) {
        SDL_Rect to{0, 0, kScreenW, kScreenH};
        SDL_BlitScaled(s.sdlHalf, nullptr, s.sdlTarget, &to);
    }
}
BENCHMARK(ScaledScreen_SDL);

}  // namespace
