#include "play/effect_list.h"

#include "graphics/sprite_batch.h"

void cEffectList::Draw(DDSURFACEDATA* target, int paused)
{
    DDBeginSpriteBatch(FALSE);
    for (auto it = m_Effects.begin(); it != m_Effects.end();) {
        if (it->Draw(target, paused)) it = m_Effects.erase(it);
        else ++it;
    }
    DDEndSpriteBatch();
}
