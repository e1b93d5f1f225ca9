// What the play frame calls of riding and block effects before they exist.
#include "play/frame_seams.h"

#include "play/play_scene.h"
#include "shell/not_built_yet.h"

namespace {

int (*s_ProcessHitsStandIn)(cChara&) = nullptr;

}  // namespace

void SetProcessHitsStandIn(int (*standIn)(cChara& chara)) { s_ProcessHitsStandIn = standIn; }

int cRidingAndBlockEffects::ProcessHits(cChara& chara, cCharaList&)
{
    if (s_ProcessHitsStandIn) return s_ProcessHitsStandIn(chara);
    LogNotBuiltYet("hits with block-like charas");
    return 0;
}

int cRidingAndBlockEffects::FollowRiddenChara(cChara&, cCharaList&)
{
    LogNotBuiltYet("riding");
    return 0;
}

int cRidingAndBlockEffects::ApplyBlockEffect(cChara&)
{
    LogNotBuiltYet("block effects");
    return 0;
}

int cRidingAndBlockEffects::ApplyBlockItemEffect(cChara&)
{
    LogNotBuiltYet("block item effects");
    return 0;
}
