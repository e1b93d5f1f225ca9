// The screen-effect command: the stage's screen effect replaced by the entry it names.
#include "data/command_data.h"
#include "flow/media_commands.h"
#include "graphics/device.h"
#include "play/play_scene.h"

void ExecCmdRunScreenEffect(cChara&, cCommandData& command)
{
    cPlayScene* scene = Scene();
    if (!scene) return;
    cSafeVector<std::int32_t>& p = command.m_Params;
    scene->m_ScreenEffect.StartScreenEffect(static_cast<std::int16_t>(p.At(0)), p.At(1), p.At(2));
    // Entry 0 stops the effect at once: the frame goes back to the real back buffer now, not
    // at the effect's next draw.
    if (scene->m_ScreenEffect.m_nId == 0 && lpDTCon && lpDTCon->bVirBackBuffer) DDSetVirBackBuffer(FALSE);
}
