#pragma once
// The command animations of a chara: animations that flows start on it, drawn instead of its
// own animation while they run. The flow that started one stops, finishes or resumes it by its
// serial number.
#include "objects/frame_animator.h"
#include "shell/safe_container.h"

// A command animation, as a flow hands it over, with the animator that plays it.
struct cCharaAnimation {
    int nAnime = 0;             // Anime database entry
    int nOwner = 0;             // serial of the flow that started it
    int bScheduled = 0;
    int nPlay = 0;              // frames to play
    int nCommandFrames = 0;     // the command's base time x 6
    int nSkip = 0;              // frames of the lead-in skipped
    int bHold = 0;              // the first locked frame lasts the whole command
    int bStopped = 0;           // finished early: held on its frame, skipped by the frame choice
    cFrameAnimator animator{};
    int bBegun = 0;             // the animator holds the animation's pattern

    // Gives the animator its pattern (once): the animation's prepared pattern with its first
    // locked frame held for the whole command when asked, started with force and advanced
    // past the skipped frames.
    void Begin();
};

// The running command animations, in the order they are chosen from.
class cCharaAnimationList : public cSafeList<cCharaAnimation> {
public:
    // The animations of flow `flowSerial`: removed; finished (those with frames left are held
    // on their frame); or let go on again.
    void Stop(int flowSerial);
    void Finish(int flowSerial);
    void Resume(int flowSerial);
    // Unless paused ticks the chara's own animator and every animation that is not stopped
    // (one whose pattern ends goes), and gives the frame to draw: the chosen command
    // animation's, or the own animator's while none is chosen.
    int CurrentFrame(cFrameAnimator& own, int paused);
};
