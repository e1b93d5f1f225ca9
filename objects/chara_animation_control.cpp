// The command animations a flow started on a chara, as the flow operation command stops,
// finishes or resumes them by the flow's serial number.
#include "objects/chara.h"
#include "shell/game_arithmetic.h"

void cChara::StopAnimation(int flowSerial)
{
    m_Animations.remove_if([flowSerial](const cCharaAnimation& a) { return a.nOwner == flowSerial; });
}

void cChara::FinishAnimation(int flowSerial)
{
    // One that has played out goes; the others hold their frame until resumed.
    m_Animations.remove_if([flowSerial](const cCharaAnimation& a) {
        return a.nOwner == flowSerial && WrapSub(WrapAdd(a.nPlay, a.nCommandFrames), 1) < 0;
    });
    for (cCharaAnimation& animation : m_Animations) {
        if (animation.nOwner == flowSerial) animation.bStopped = 1;
    }
}

void cChara::ResumeAnimation(int flowSerial)
{
    for (cCharaAnimation& animation : m_Animations) {
        if (animation.nOwner == flowSerial) animation.bStopped = 0;
    }
}
