#include "objects/chara_draw_effect.h"

#include <cstdint>

#include "shell/game_arithmetic.h"
#include "shell/not_built_yet.h"

void cCharaDrawEffect::Start(int id, int mode, int loop)
{
    // Playing chara effects is not built yet: the request is kept for it.
    m_EffectPlayback = cEffectPlayback{};
    m_EffectPlayback.m_nId = static_cast<std::int16_t>(id);
    m_EffectPlayback.m_nMode = mode;
    m_EffectPlayback.m_bLoop = loop;
    LogNotBuiltYet("chara effect playback");
}

int cCharaDrawEffect::Run(cChara&, DDSURFACEDATA*, const cImageSource*, int, int)
{
    if (!IsPlaying()) return 0;
    LogNotBuiltYet("chara draw effects");
    m_EffectPlayback.m_nId = 0;
    return 1;
}

int cCharaDrawEffect::AdvanceDeathDisplay(int frames)
{
    m_nDefeatCount = WrapAdd(m_nDefeatCount, 1);
    return m_nDefeatCount > frames ? 1 : 0;
}
