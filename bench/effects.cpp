// The per-pixel effects through the runtime's own entry points on surfaces made under DDInit
// (headless), each beside a straightforward per-pixel version of the same effect written here
// in the plainest form, run in the same program so that each ratio comes from one run:
// a full-screen blur of radius 4 and the lens, rotation and fade under DirectDraw at 32 bits,
// and the screen colour under Direct3D at 32 bits.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include "graphics/blur.h"
#include "graphics/device.h"
#include "graphics/lens.h"
#include "graphics/rotate.h"
#include "graphics/screen_color.h"
#include "graphics/surface.h"
#include "graphics/surface_lock.h"

namespace {

constexpr int kW = 640, kH = 480;
constexpr int kBlurRadius = 4, kLensRadius = 120, kLensDepth = 80, kAngle = 45;

std::uint32_t PicturePixel(int x, int y) { return static_cast<std::uint32_t>((x * 3) << 16 ^ (y * 5) << 8 ^ (x + y)) & 0xFFFFFFu; }

// The graphics device of one back end with a screen-size picture and a target.
class cScene {
public:
    static cScene& Get(BOOL direct3D)
    {
        static cScene* scene = nullptr;
        if (scene && scene->m_bDirect3D != direct3D) {
            delete scene;
            scene = nullptr;
        }
        if (!scene) scene = new cScene(direct3D);
        return *scene;
    }
    DDSURFACEDATA picture{}, target{};

private:
    explicit cScene(BOOL direct3D) : m_bDirect3D(direct3D)
    {
        DDInit(direct3D, nullptr, kW, kH, 32, FALSE, direct3D ? 1 : 0, 1, 60, FALSE, nullptr, nullptr, 0, 0);
        g_dwColorKey = 0xFF00FF;
        DDCreateSurface(&picture, kW, kH, FALSE, 1, DTMEMORYTYPE_SYSTEM, nullptr, FALSE);
        DDCreateSurface(&target, kW, kH, FALSE, 1, DTMEMORYTYPE_SYSTEM, nullptr, FALSE);
        for (DDSURFACEDATA* sd : {&picture, &target, &g_BackBuffer, &g_DDWork}) {
            cSurfaceLock lock;
            if (!lock.Lock(sd)) continue;
            for (int y = 0; y < lock.Locked()->nHeight; ++y)
                for (int x = 0; x < lock.Locked()->nWidth; ++x) {
                    const std::uint32_t p = 0xFF000000u | PicturePixel(x, y);
                    std::memcpy(lock.PixelAddress(x, y), &p, 4);
                }
        }
        if (direct3D) DDSetVirBackBuffer(TRUE);
    }
    ~cScene()
    {
        if (m_bDirect3D) DDSetVirBackBuffer(FALSE);
        DDReleaseSurface(&picture);
        DDReleaseSurface(&target);
        DDUninit();
    }
    BOOL m_bDirect3D;
};

// Both records locked for a straightforward version: 32-bit pixels by row.
struct cLocked {
    cSurfaceLock dst, src;
    cLocked(DDSURFACEDATA* d, DDSURFACEDATA* s)
    {
        dst.Lock(d);
        src.Lock(s);
    }
    std::uint32_t* Out(int y) { return reinterpret_cast<std::uint32_t*>(dst.PixelAddress(0, y)); }
    const std::uint32_t* In(int y) { return reinterpret_cast<const std::uint32_t*>(src.PixelAddress(0, y)); }
};

// --- blur of radius 4 over the whole screen ----------------------------------------------

void Blur_DDBltBlur(benchmark::State& state)
{
    cScene& scene = cScene::Get(FALSE);
    for (auto _ : state) DDBltBlur(&scene.target, 0, 0, kW, kH, kBlurRadius, kBlurRadius, &scene.picture, 0, 0, 0);
}
BENCHMARK(Blur_DDBltBlur)->Unit(benchmark::kMicrosecond);

void Blur_Straightforward(benchmark::State& state)
{
    cScene& scene = cScene::Get(FALSE);
    for (auto _ : state) {
        cLocked l(&scene.target, &scene.picture);
        for (int r = 0; r < kH; ++r)
            for (int c = 0; c < kW; ++c) {
                int sum[3] = {0, 0, 0}, count = 0;
                for (int dy = -kBlurRadius; dy < kBlurRadius; ++dy)
                    for (int dx = -kBlurRadius; dx < kBlurRadius; ++dx) {
                        if (c + dx < 0 || c + dx >= kW || r + dy < 0 || r + dy >= kH) continue;
                        const std::uint32_t p = l.In(r + dy)[c + dx];
                        for (int k = 0; k < 3; ++k) sum[k] += static_cast<int>((p >> (8 * k)) & 0xFF);
                        ++count;
                    }
                BYTE* out = reinterpret_cast<BYTE*>(l.Out(r) + c);
                for (int k = 0; k < 3; ++k) out[k] = static_cast<BYTE>(sum[k] / count);
            }
        benchmark::DoNotOptimize(l.Out(0));
    }
}
BENCHMARK(Blur_Straightforward)->Unit(benchmark::kMicrosecond);

// --- lens of radius 120 and depth 80 ------------------------------------------------------

void Lens_DDBltLens(benchmark::State& state)
{
    cScene& scene = cScene::Get(FALSE);
    for (auto _ : state) DDBltLens(&scene.target, 320, 240, kLensRadius, kLensDepth, &scene.picture, 320, 240, 0, FALSE);
}
BENCHMARK(Lens_DDBltLens)->Unit(benchmark::kMicrosecond);

void Lens_Straightforward(benchmark::State& state)
{
    cScene& scene = cScene::Get(FALSE);
    const int R = static_cast<int>(std::sqrt(static_cast<double>(kLensRadius * kLensRadius + kLensDepth * kLensDepth)));
    for (auto _ : state) {
        cLocked l(&scene.target, &scene.picture);
        for (int dy = -kLensRadius; dy <= kLensRadius; ++dy)
            for (int dx = -kLensRadius; dx <= kLensRadius; ++dx) {
                const int X = 320 + dx, Y = 240 + dy;
                if (X < 0 || Y < 0 || X >= kW || Y >= kH) continue;
                const int rho2 = dx * dx + dy * dy;
                if (rho2 > kLensRadius * kLensRadius) continue;
                const double Z = std::sqrt(static_cast<double>(R * R - rho2));
                const int ox = Z == 0 ? dx : static_cast<int>(static_cast<double>(dx * kLensDepth) / Z + 0.5);
                const int oy = Z == 0 ? dy : static_cast<int>(static_cast<double>(dy * kLensDepth) / Z + 0.5);
                const int SX = 320 + ox, SY = 240 + oy;
                if (SX < 0 || SY < 0 || SX >= kW || SY >= kH) continue;
                const std::uint32_t p = l.In(SY)[SX];
                if (p == g_dwColorKey) continue;
                l.Out(Y)[X] = p;
            }
        benchmark::DoNotOptimize(l.Out(0));
    }
}
BENCHMARK(Lens_Straightforward)->Unit(benchmark::kMicrosecond);

// --- the whole screen turned by 45 degrees about its centre --------------------------------

void Rotate_DDBltRotate(benchmark::State& state)
{
    cScene& scene = cScene::Get(FALSE);
    for (auto _ : state) DDBltRotate(&scene.target, 320, 240, kW, kH, 320, 240, kAngle, &scene.picture, 0, 0, 1);
}
BENCHMARK(Rotate_DDBltRotate)->Unit(benchmark::kMicrosecond);

void Rotate_Straightforward(benchmark::State& state)
{
    cScene& scene = cScene::Get(FALSE);
    const double t = kAngle * 0.017453292519943278;
    const int s = static_cast<int>(std::sin(t) * 1024), c = static_cast<int>(std::cos(t) * 1024);
    const int s2 = static_cast<int>(std::sin(-t) * 1024), c2 = static_cast<int>(std::cos(-t) * 1024);
    const int px = 320, py = 240;
    for (auto _ : state) {
        cLocked l(&scene.target, &scene.picture);
        int minX = 1 << 30, maxX = -(1 << 30), minY = 1 << 30, maxY = -(1 << 30);
        for (int cx : {0, kW - 1})
            for (int cy : {0, kH - 1}) {
                const int X = (((cx - px) * c - (cy - py) * s) >> 10) + px, Y = (((cx - px) * s + (cy - py) * c) >> 10) + py;
                minX = std::min(minX, X), maxX = std::max(maxX, X), minY = std::min(minY, Y), maxY = std::max(maxY, Y);
            }
        for (int Y = minY - 2; Y < maxY + 2; ++Y)
            for (int X = minX - 2; X < maxX + 2; ++X) {
                const int DX = X - px + 320, DY = Y - py + 240;
                if (DX < 0 || DY < 0 || DX >= kW || DY >= kH) continue;
                const int u = px + ((c2 * (X - px) - s2 * (Y - py)) >> 10), v = py + ((s2 * (X - px) + c2 * (Y - py)) >> 10);
                if (u < 0 || v < 0 || u >= kW || v >= kH) continue;
                const std::uint32_t p = l.In(v)[u];
                if (p == g_dwColorKey) continue;
                l.Out(DY)[DX] = p;
            }
        benchmark::DoNotOptimize(l.Out(0));
    }
}
BENCHMARK(Rotate_Straightforward)->Unit(benchmark::kMicrosecond);

// --- the fade: the saved picture pulled half way toward a colour ---------------------------

void Fade_DDFade_UnPal(benchmark::State& state)
{
    cScene::Get(FALSE);
    for (auto _ : state) DDFade_UnPal(&g_BackBuffer, 128, 40, 200, 90, &g_DDWork);
}
BENCHMARK(Fade_DDFade_UnPal)->Unit(benchmark::kMicrosecond);

void Fade_Straightforward(benchmark::State& state)
{
    cScene::Get(FALSE);
    const int w = 128, colour[3] = {90, 200, 40};  // blue, green, red
    for (auto _ : state) {
        cLocked l(&g_BackBuffer, &g_DDWork);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const BYTE* in = reinterpret_cast<const BYTE*>(l.In(y) + x);
                BYTE* out = reinterpret_cast<BYTE*>(l.Out(y) + x);
                for (int k = 0; k < 3; ++k) out[k] = static_cast<BYTE>((colour[k] * (256 - w) + w * in[k]) >> 8);
            }
        benchmark::DoNotOptimize(l.Out(0));
    }
}
BENCHMARK(Fade_Straightforward)->Unit(benchmark::kMicrosecond);

// --- the screen colour under Direct3D: the screen multiplied by a colour at alpha 155 ----

void ChangeColor_DDChangeColor(benchmark::State& state)
{
    cScene::Get(TRUE);
    for (auto _ : state) {
        DDChangeColor(&g_BackBuffer, 0, 0, kW, kH, 100, 255, 160, 80);
        DDEndScene();
    }
}
BENCHMARK(ChangeColor_DDChangeColor)->Unit(benchmark::kMicrosecond);

void ChangeColor_Straightforward(benchmark::State& state)
{
    cScene::Get(TRUE);
    const std::uint32_t color = 155u << 24 | 255u << 16 | 160u << 8 | 80u;
    for (auto _ : state) {
        cSurfaceLock lock;
        lock.Lock(&g_BackBuffer);
        for (int y = 0; y < kH; ++y) {
            std::uint32_t* row = reinterpret_cast<std::uint32_t*>(lock.PixelAddress(0, y));
            for (int x = 0; x < kW; ++x) {
                const std::uint32_t p = row[x];
                std::uint32_t shaded = 0, out = 0;
                for (int k = 0; k < 4; ++k)
                    shaded |= ((((p >> (8 * k)) & 0xFF) * ((color >> (8 * k)) & 0xFF) + 127) / 255) << (8 * k);
                const std::uint32_t a = shaded >> 24;
                for (int k = 0; k < 4; ++k)
                    out |= ((((shaded >> (8 * k)) & 0xFF) * a + ((p >> (8 * k)) & 0xFF) * (255 - a) + 127) / 255) << (8 * k);
                row[x] = out;
            }
        }
        benchmark::DoNotOptimize(lock.m_lpBits);
    }
}
BENCHMARK(ChangeColor_Straightforward)->Unit(benchmark::kMicrosecond);

}  // namespace
