#include "play/palette_colors.h"

#include <algorithm>
#include <string>
#include "data/system_data.h"
#include "graphics/device.h"
#include "graphics/palette.h"
#include "graphics/standard_surfaces.h"
#include "play/game_manager.h"
#include "shell/error_box.h"
#include "shell/format.h"
#include "shell/log.h"

FLASHCOLOR g_FlashColors[10] = {};

namespace {

// Colour-animation state: levels and their directions (index 1 to 9), the hue phase of
// level 9 and the call counter of the DirectDraw palette animation.
int s_anLevel[10] = {};
int s_anFalling[10] = {};
int s_nHuePhase = 0;
BYTE s_bAnimCounter = 0;

constexpr int kAddOp = 7, kSubtractOp = 10;

DWORD Argb(int r, int g, int b)
{
    return 0xFF000000u | static_cast<DWORD>(r) << 16 | static_cast<DWORD>(g) << 8 | static_cast<DWORD>(b);
}

FLASHCOLOR FlashColor(int k, int c)
{
    switch (k) {
    case 1: return {Argb(c, c, c), kAddOp};
    case 2: return {Argb(c, c, c), kSubtractOp};
    case 3: return {Argb(c, 0, 0), kAddOp};
    case 4: return {Argb(0, c, 0), kAddOp};
    case 5: return {Argb(0, 0, c), kAddOp};
    case 6: return {Argb(c, c, 0), kAddOp};
    case 7: return {Argb(c, 0, c >> 2), kAddOp};
    case 8: return {Argb(c >> 2, 0, c), kAddOp};
    default: {
        static const int hues[4][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}};
        const int* h = hues[s_nHuePhase & 3];
        return {Argb(c * h[0], c * h[1], c * h[2]), kAddOp};
    }
    }
}

}  // namespace

bool LoadHbtPalette(int nNumber)
{
    if (lpDTCon || !lpDDCon || g_nBpp != 8) return true;
    // The options record holds 0 to 23; others would read past the palette's rows.
    const int n = std::clamp(nNumber, 0, 23);
    std::string name;
    FormatNumber(name, n, 2, true, false);
    const std::string path = "bmp\\hbt\\hbt" + name + ".dat";
    if (!DDLoadBlendTable(g_BlendTable, path.c_str())) {
        ErrorBoxF("%s の読み込みに失敗！", path.c_str());
        return false;
    }
    if (!DDLoadPaletteFromFile(g_Palette, g_SurfaceInfo[0].szFileName)) {
        EcLog("DDLoadPaletteFromFile失敗");
        return false;
    }
    if (n < 12) {
        DDRotatePalette(g_Palette, 16, 207, n * 16, 1, g_Palette);
    } else {
        const PALETTEENTRY* row = g_Palette + 16 * (n - 11);
        PALETTEENTRY copy[16];
        std::copy(row, row + 16, copy);
        for (int r = 1; r <= 12; ++r) std::copy(copy, copy + 16, g_Palette + 16 * r);
    }
    std::copy(g_Palette, g_Palette + 256, g_DisplayPalette);
    if (g_lpDDPalette) g_lpDDPalette->SetEntries(0, 0, 255, g_DisplayPalette);
    return true;
}

void AnimatePaletteColors()
{
    if (lpDTCon) {
        const int step = g_SystemData.m_nColorAnimStep;
        for (int k = 1; k <= 9; ++k) {
            const int c = s_anLevel[k];
            const bool cycle = PingPongStep(s_anLevel[k], s_anFalling[k], step, 0, 255);
            if (k == 9 && cycle) s_nHuePhase = (s_nHuePhase + 1) % 4;
            g_FlashColors[k] = FlashColor(k, c);
        }
        return;
    }
    if (!lpDDCon || !g_SystemData.m_bColorAnim || g_nBpp != 8) return;
    if (++s_bAnimCounter != 6) return;
    s_bAnimCounter = 0;
    for (int i = 0; i < 8; ++i) DDRotatePalette(g_DisplayPalette, 208 + 4 * i, 211 + 4 * i, 1, 1, g_DisplayPalette);
    if (g_lpDDPalette) g_lpDDPalette->SetEntries(0, 208, 32, g_DisplayPalette + 208);
}

void ResetPaletteAnimation()
{
    std::fill(std::begin(s_anLevel), std::end(s_anLevel), 0);
    std::fill(std::begin(s_anFalling), std::end(s_anFalling), 0);
    s_nHuePhase = 0;
    s_bAnimCounter = 0;
    std::fill(std::begin(g_FlashColors), std::end(g_FlashColors), FLASHCOLOR{});
}
