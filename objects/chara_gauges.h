#pragma once
// The HP and SP gauges a chara shows over its head for two seconds after its HP or SP changes.
// Drawing them is not built yet.
#include "objects/object_types.h"

struct DDSURFACEDATA;
class cChara;

class cCharaGauges {
public:
    void Reset() { *this = cCharaGauges{}; }
    // Draws the HP gauge (the SP gauge when isSp is non-zero) over `chara` and counts its frames
    // down.
    void DrawGauge(DDSURFACEDATA* target, const cChara& chara, int isSp);

    GAUGE m_HpGauge;
    GAUGE m_SpGauge;
};
