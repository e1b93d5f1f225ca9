#include "objects/chara_lookup.h"

#include <atomic>

#include "objects/hero.h"
#include "play/play_scene.h"

cChara* FindCharaBySerial(int serial)
{
    for (cHero& hero : Player) {
        if (hero.m_nSerial == serial) return &hero;
    }
    if (cPlayScene* scene = g_lpPlayScene.load(std::memory_order_relaxed)) {
        for (cStageChara& chara : scene->m_Charas) {
            if (chara.m_nSerial == serial) return &chara;
        }
    }
    return nullptr;
}
