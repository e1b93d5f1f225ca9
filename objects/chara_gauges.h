#pragma once
// The HP and SP gauges a chara shows over its head for two seconds after its HP or SP changes:
// the bar, and for the first second the change beside it, shrinking away.
#include "objects/object_types.h"

struct DDSURFACEDATA;
class cChara;

class cCharaGauges {
public:
    void Reset() { *this = cCharaGauges{}; }
    // Draws the HP gauge (the SP gauge when isSp is non-zero) over `chara` and counts its frames
    // down; nothing once its time is out or the chara is dead.
    void DrawGauge(DDSURFACEDATA* target, const cChara& chara, int isSp);

    GAUGE m_HpGauge;
    GAUGE m_SpGauge;
};
