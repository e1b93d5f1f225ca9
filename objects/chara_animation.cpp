#include "objects/chara_animation.h"

#include "shell/game_arithmetic.h"
#include "shell/not_built_yet.h"

void cCharaAnimationList::Stop(int flowSerial)
{
    remove_if([flowSerial](const cCharaAnimation& a) { return a.nOwner == flowSerial; });
}

void cCharaAnimationList::Finish(int flowSerial)
{
    // One that has played out goes; the others hold their frame until resumed.
    remove_if([flowSerial](const cCharaAnimation& a) {
        return a.nOwner == flowSerial && WrapSub(WrapAdd(a.nPlay, a.nCommandFrames), 1) < 0;
    });
    for (cCharaAnimation& animation : *this) {
        if (animation.nOwner == flowSerial) animation.bStopped = 1;
    }
}

void cCharaAnimationList::Resume(int flowSerial)
{
    for (cCharaAnimation& animation : *this) {
        if (animation.nOwner == flowSerial) animation.bStopped = 0;
    }
}

int cCharaAnimationList::CurrentFrame(cFrameAnimator& own, int paused)
{
    if (!paused) own.Tick();
    if (!empty()) LogNotBuiltYet("command animations");
    return own.CurrentFrame();
}
