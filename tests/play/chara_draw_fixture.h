#pragma once
// A chara of the stage drawn by itself on a real device: its picture is cell (0, 32) of chara
// sheet 1 (standard surface 4, its effect copy 22), written pixel by pixel in the display's own
// format; the work surfaces of the effects exist; its chara effects come from the database
// entries a test sets.
#include <cstdint>
#include <functional>
#include <vector>

#include "data/stage_geometry.h"
#include "graphics/device.h"
#include "graphics/palette.h"
#include "graphics/standard_surfaces.h"
#include "graphics/surface.h"
#include "objects/chara.h"
#include "objects/image_source.h"
#include "tests/graphics/effect_modes.h"
#include "tests/play/stage_draw_fixture.h"
#include "tests/stage/chara_effects.h"

namespace qbtest {

// A pixel of the display's format: at 8 bits a palette index, at 16 bits the surface's word,
// at 32 bits 0xAARRGGBB (alpha 0 transparent under Direct3D).
using CHARAPIXEL = std::function<std::uint32_t(int x, int y)>;

class cCharaDrawTest : public cStageDrawTest {
protected:
    void SetUpMode(const cEffectMode& mode)
    {
        m_Mode = mode;
        SetUpDisplay({mode.bDirect3D, mode.nBpp, mode.nWindowMode});
        // Under DirectDraw at 8 bits palette index 0 is the transparent colour, as in the game.
        if (!mode.bDirect3D) g_dwColorKey = mode.nBpp == 8 ? 0 : mode.Key();
        for (int i : {kWorkPicture, kWorkPicture + 1}) MakeSurface(i, 640, 480, nullptr);
        for (int i : {kWorkPicture + 2, kWorkPicture + 3}) MakeSurface(i, 1024, 1024, nullptr);
    }
    void SetUp() override { SetUpMode(kEffectModes[0]); }

    // Standard surface i made empty at w x h, its pixels from `pixel` when given.
    void MakeSurface(int i, int w, int h, const CHARAPIXEL& pixel)
    {
        DDReleaseSurface(&g_StdSurface[i]);
        ClearSurfaceData(&g_StdSurface[i]);
        ASSERT_TRUE(DDCreateSurface(&g_StdSurface[i], w, h, TRUE, 1, DTMEMORYTYPE_SYSTEM, nullptr, FALSE));
        if (!pixel) return;
        cImage image{w, h, {}};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) image.px.push_back(pixel(x, y));
        WriteImage(&g_StdSurface[i], image);
    }
    // The chara's cell of sheet 4 and its effect copy: `pixel` of the cell's own coordinates
    // (32 x 32), the rest of the sheet transparent.
    void SetPicture(const CHARAPIXEL& pixel)
    {
        const auto sheet = [&](int x, int y) { return (y >= kCell && x < kCell) ? pixel(x, y - kCell) : Transparent(); };
        MakeSurface(kFirstCharaSheet, 4 * kCell, 2 * kCell, sheet);
        MakeSurface(kFirstCharaSheet + kEffectCopyOffset, 4 * kCell, 2 * kCell, sheet);
    }
    std::uint32_t Transparent() const
    {
        if (!m_Mode.bDirect3D) return g_dwColorKey;
        return 0;
    }
    // An opaque colour of the display's format from its 8-bit components (at 8 bits: index).
    std::uint32_t Colour(int r, int g, int b) const
    {
        if (m_Mode.nBpp == 8) return static_cast<std::uint32_t>(r);
        if (m_Mode.nBpp == 16) return m_Mode.Store(r >> 3, m_Mode.bDirect3D ? g >> 3 : g >> 2, b >> 3, 0);
        return m_Mode.Store(r, g, b, 0);
    }
    // The chara: picture 1 of the chara sheets, at screen (x, y) with the scroll at (320, 320),
    // of the given scale, its effect entry 1 started when it has one.
    cStageChara& MakeChara(int x, int y, int scale = 1)
    {
        m_Scene->m_Charas.clear();
        cStageChara& chara = m_Scene->m_Charas.emplace_back();
        chara.m_nImage = 1;
        chara.m_Def.m_nImageKind = 1;
        chara.m_Def.m_nGiantScale = static_cast<BYTE>(scale);
        chara.m_nDrawWidth = chara.m_nDrawHeight = kCell * scale;
        chara.m_nBaseDrawWidth = chara.m_nBaseDrawHeight = kCell;
        chara.m_dX = 320 + x;
        chara.m_dY = 320 + y;
        chara.m_bOnScreen = 1;
        chara.m_nKind = 1;
        return chara;
    }
    // The effect entry 1 of the kind and parameters, started on the chara.
    void StartEffect(cChara& chara, int kind, const std::vector<int>& params, int mode = 0, int loop = 0)
    {
        m_Effects.Set(1, kind, params);
        chara.m_DrawEffect.Start(1, mode, loop);
    }
    // The screen with every pixel `background`, then the chara drawn on it.
    cImage DrawOn(cChara& chara, std::uint32_t background, int paused = 0)
    {
        ClearScreen(background);
        chara.Draw(&g_BackBuffer, paused);
        return Screen();
    }

    cEffectMode m_Mode = kEffectModes[0];
    cCharaEffects m_Effects;
};

// The smallest rectangle holding every pixel of `colour`: x, y, w, h (w 0 when none).
struct PIXELBOX {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const PIXELBOX&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const PIXELBOX& b)
{
    return out << "(" << b.x << ", " << b.y << ") " << b.w << " x " << b.h;
}

inline PIXELBOX BoxOf(const cImage& image, std::uint32_t colour, std::uint32_t mask = 0xFFFFFFFFu)
{
    int left = image.w, top = image.h, right = -1, bottom = -1;
    for (int y = 0; y < image.h; ++y)
        for (int x = 0; x < image.w; ++x) {
            if ((image.At(x, y) & mask) != (colour & mask)) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    if (right < 0) return {};
    return {left, top, right - left + 1, bottom - top + 1};
}

}  // namespace qbtest
