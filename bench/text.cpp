// A text-heavy frame (three text windows of 20 lines of mixed half- and full-width text)
// drawn through the runtime's fonts on the Direct3D back buffer at 32 bits, headless, with
// the glyph cache on and off, beside FreeType rendering the same text straight into a
// surface every frame.
#include <benchmark/benchmark.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstring>
#include <string>
#include <vector>
#include "graphics/device.h"
#include "graphics/fill.h"
#include "graphics/font.h"
#include "graphics/palette.h"
#include "graphics/surface.h"
#include "platform/os/text.h"

namespace {

constexpr int kScreenW = 640, kScreenH = 480;
constexpr int kWindows = 3, kLines = 20, kPitch = 16;
constexpr int kWindowX[kWindows] = {8, 220, 432};
constexpr int kWindowY = 60;

// Twenty lines of twelve cells each, mixing half- and full-width characters.
std::string FrameText()
{
    const char* const lines[] = {
        "ＨＰ 120/250", "ＭＰ  45/ 80", "Lv12 勇者", "こうげき 37", "ぼうぎょ 21", "すばやさ 18", "ＥＸＰ 10234",
        "つぎまで 566", "ゴールド 980", "やくそう ×3", "どくけし ×1", "魔法の鍵", "ATK+5 DEF+2", "銅の剣",
        "革の盾", "旅人の服", "Stage 3-2", "タイム 01:23", "スコア 004500", "のこり ×05",
    };
    std::string text;
    for (const char* line : lines) {
        if (!text.empty()) text += '\n';
        text += line;
    }
    return text;
}

struct cTextScene {
    DDSURFACEDATA window{};
    cFont cached, uncached;
    std::string text = FrameText();

    cTextScene()
    {
        for (int i = 0; i < 256; ++i) g_Palette[i] = {static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
        g_Palette[0] = {255, 0, 255, 0};
        g_Palette[240] = {200, 200, 255, 0};
        g_Palette[241] = {255, 255, 255, 0};
        DDInit(TRUE, nullptr, kScreenW, kScreenH, 32, FALSE, 1, 1, 60, FALSE, nullptr, nullptr, 0, 0);
        DDSetTransmit(255, 0, 255);
        DDCreateSurface(&window, kScreenW, kScreenH, FALSE, 0, 0, nullptr, FALSE);
        DDFillSurfacePal(&window, 20);
        cached.Create("ＭＳ ゴシック", 0, 16, kPitch, kPitch, 241, &window, 1, 240, nullptr, TRUE);
        uncached.Create("ＭＳ ゴシック", 0, 16, kPitch, kPitch, 241, &window, 1, 240, nullptr, FALSE);
    }
    ~cTextScene()
    {
        cached.Release();
        uncached.Release();
        DDReleaseSurface(&window);
        DDUninit();
    }
    void DrawFrame(cFont& font)
    {
        for (int x : kWindowX) font.DrawTextWindow(&g_BackBuffer, x, kWindowY, 200, 0, text.c_str(), 4);
        DDEndScene();
    }
};

cTextScene& Scene()
{
    static cTextScene scene;
    return scene;
}

void BM_TextFrame_Cached(benchmark::State& state)
{
    cTextScene& scene = Scene();
    scene.DrawFrame(scene.cached);  // the characters beyond the default set are added once
    for (auto _ : state) scene.DrawFrame(scene.cached);
}
BENCHMARK(BM_TextFrame_Cached)->Unit(benchmark::kMicrosecond);

void BM_TextFrame_Uncached(benchmark::State& state)
{
    cTextScene& scene = Scene();
    for (auto _ : state) scene.DrawFrame(scene.uncached);
}
BENCHMARK(BM_TextFrame_Uncached)->Unit(benchmark::kMicrosecond);

// The peer: FreeType renders every glyph of the frame into a 640 × 480 ARGB surface.
void BM_TextFrame_FreeTypeStraight(benchmark::State& state)
{
    FT_Library library;
    FT_Init_FreeType(&library);
    FT_Face face;
    FT_New_Face(library, "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf", 0, &face);
    FT_Set_Pixel_Sizes(face, 0, 16);
    std::vector<std::vector<unsigned>> lines(1);
    const std::string utf8 = plat::Cp932ToUtf8(FrameText());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const int n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        unsigned cp = n == 1 ? c : c & (0x3F >> (n - 1));
        for (int k = 1; k < n; ++k) cp = cp << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += n;
        if (cp == '\n') lines.emplace_back();
        else lines.back().push_back(cp);
    }
    std::vector<std::uint32_t> surface(static_cast<std::size_t>(kScreenW) * kScreenH, 0);
    const int ascent = static_cast<int>(face->size->metrics.ascender >> 6);
    for (auto _ : state) {
        for (int x0 : kWindowX)
            for (std::size_t line = 0; line < lines.size(); ++line) {
                int pen = x0 + 4;
                const int baseline = kWindowY + static_cast<int>(line) * kPitch + ascent;
                for (unsigned cp : lines[line]) {
                    FT_Load_Char(face, cp, FT_LOAD_TARGET_MONO | FT_LOAD_RENDER);
                    FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO);
                    const FT_Bitmap& bitmap = face->glyph->bitmap;
                    for (unsigned r = 0; r < bitmap.rows; ++r)
                        for (unsigned c = 0; c < bitmap.width; ++c) {
                            if (!((bitmap.buffer[r * bitmap.pitch + c / 8] >> (7 - c % 8)) & 1)) continue;
                            const int px = pen + face->glyph->bitmap_left + static_cast<int>(c);
                            const int py = baseline - face->glyph->bitmap_top + static_cast<int>(r);
                            if (px >= 0 && px < kScreenW && py >= 0 && py < kScreenH)
                                surface[static_cast<std::size_t>(py) * kScreenW + px] = 0xFFFFFFFF;
                        }
                    pen += kPitch;
                }
            }
        benchmark::DoNotOptimize(surface.data());
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
}
BENCHMARK(BM_TextFrame_FreeTypeStraight)->Unit(benchmark::kMicrosecond);

}  // namespace
