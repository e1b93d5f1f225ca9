#include "objects/chara_gauges.h"

#include "shell/not_built_yet.h"

void cCharaGauges::DrawGauge(DDSURFACEDATA*, const cChara&, int isSp)
{
    const GAUGE& gauge = isSp ? m_SpGauge : m_HpGauge;
    if (gauge.nTimer > 0) LogNotBuiltYet("chara gauges");
}
