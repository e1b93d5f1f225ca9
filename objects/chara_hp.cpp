#include "objects/chara_hp.h"

#include "shell/game_arithmetic.h"

namespace {

constexpr int kGaugeFrames = 120;
constexpr int kGaugePixels = 50;

// A positive delta is cut to the room left below the maximum; the sum then clamps to 0 first
// and to the maximum second (so a negative maximum wins).
void AddClamped(POINTS points, int& delta)
{
    const int room = WrapSub(points.nMax, points.nValue);
    if (delta > 0 && delta > room) delta = room;
    int value = WrapAdd(points.nValue, delta);
    if (value < 0) value = 0;
    if (value > points.nMax) value = points.nMax;
    points.nValue = value;
}

}  // namespace

int AddHpPoints(POINTS hp, int invincible, int delta, int force, int show)
{
    if (force == 0 && delta <= 0 && invincible != 0) return 0;
    AddClamped(hp, delta);
    if (hp.nValue <= 0) {
        hp.nValue = 0;
        return 1;
    }
    if (show != 0) ShowGauge(hp, delta);
    return 0;
}

int AddSpPoints(POINTS sp, int delta, int show)
{
    AddClamped(sp, delta);
    if (sp.nMax <= 0) return 1;
    if (show != 0) ShowGauge(sp, delta);
    return 0;
}

void ShowGauge(POINTS points, int delta)
{
    if (delta == 0 || points.nMax <= 0) return;
    points.gauge.nTimer = kGaugeFrames;
    points.gauge.nLength = WrapDiv(WrapMul(points.nValue, kGaugePixels), points.nMax);
    points.gauge.dChange = static_cast<double>(delta) * kGaugePixels / points.nMax;
    points.gauge.dStep = points.gauge.dChange * kOneSixtieth;
}
