#include "play/stage_clear_seams.h"

#include "objects/hero.h"
#include "play/play_scene.h"
#include "shell/shared_flags.h"

namespace {

constexpr int kExtraLifeShownFrames = 30;
constexpr int kAboveTheHero = 4;

}  // namespace

MESSAGENODE ShowExtraLifeMessage(std::list<cMessage>& messages)
{
    MESSAGESETUP setup;
    setup.nKind = kMessageExtraLife;
    setup.nPosMode = kAboveTheHero;
    setup.bFixed = 1;
    setup.nDisplayMode = 2;
    setup.nFrames = kExtraLifeShownFrames;
    // The loop that shows it draws the stage paused.
    setup.bTimerWhilePaused = 1;
    if (!Player.empty()) setup.nCharaSerial = Player.front().m_nSerial;
    AddMessageToList(messages, cMessage(setup));
    return reinterpret_cast<MESSAGENODE>(&messages.back());
}

void RemoveExtraLifeMessage(std::list<cMessage>& messages, MESSAGENODE node)
{
    for (auto it = messages.begin(); it != messages.end(); ++it) {
        if (reinterpret_cast<MESSAGENODE>(&*it) == node) {
            messages.erase(it);
            return;
        }
    }
}

bool ClearClosing(const cPlayScene& scene) { return scene.m_nQuitRequest.load() != 0 || g_bClosing.load() != 0; }
