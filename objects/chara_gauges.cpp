#include "objects/chara_gauges.h"

#include <algorithm>

#include "data/role_accessors.h"
#include "graphics/blit.h"
#include "graphics/standard_surfaces.h"
#include "objects/chara.h"
#include "play/gauge_warning.h"
#include "shell/game_arithmetic.h"

namespace {

constexpr int kGaugeBarPixels = 50;
constexpr int kGaugeChangeFrames = 60;   // the change shows during the first second

// A width of the gauge as drawn: truncated, and kept inside the gauge as the status bar's are.
int GaugeWidth(double pixels) { return std::clamp(TruncToInt(pixels), 0, kGaugeBarPixels); }

}  // namespace

void cCharaGauges::DrawGauge(DDSURFACEDATA* target, const cChara& chara, int isSp)
{
    GAUGE& gauge = isSp ? m_SpGauge : m_HpGauge;
    if (gauge.nTimer <= 0 || chara.m_bDead) return;
    DDSURFACEDATA* sheet = &g_StdSurface[kAccessoryPicture];
    // A tall accessory sheet keeps its gauge rows lower down and closer together.
    const int base = sheet->nHeight > 208 ? 208 : 128;
    const int step = sheet->nHeight > 208 ? 2 : 16;
    const int sx = isSp ? 64 : 0;
    const int gx = WrapSub(WrapAdd(chara.m_ScreenRect.left, chara.m_nDrawWidth / 2), kGaugeBarPixels / 2);
    const int gy = WrapSub(chara.m_ScreenRect.top, isSp ? 7 : 3);
    DDBltFast(target, gx, gy, kGaugeBarPixels, 2, sheet, sx, base, DDBLTFAST_SRCCOLORKEY);

    const int value = isSp ? chara.m_nSp : chara.m_nHp;
    const int max = isSp ? CharaMaxSp(chara.m_Def) : CharaMaxHp(chara.m_Def);
    const int low = IsGaugeLow(isSp ? 3 : 2, value, max);
    const int length = std::clamp(gauge.nLength, 0, kGaugeBarPixels);
    DDBltFast(target, gx, gy, length, 2, sheet, sx, base + (low ? 2 : 1) * step, DDBLTFAST_SRCCOLORKEY);

    if (gauge.dChange >= 0) {
        const int width = GaugeWidth(gauge.dChange);
        DDBltFast(target, WrapSub(WrapAdd(gx, length), width), gy, width, 2, sheet, sx, base + 4 * step, DDBLTFAST_SRCCOLORKEY);
    } else {
        const int width = GaugeWidth(-gauge.dChange);
        DDBltFast(target, WrapAdd(gx, length), gy, width, 2, sheet, sx, base + 3 * step, DDBLTFAST_SRCCOLORKEY);
    }
    --gauge.nTimer;
    if (gauge.nTimer < kGaugeChangeFrames) gauge.dChange = 0;
    else gauge.dChange -= gauge.dStep;
}
