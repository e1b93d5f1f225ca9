#include "objects/chara_animation.h"

#include <climits>

#include "objects/database_working_tables.h"
#include "shell/game_arithmetic.h"

void cCharaAnimation::Begin()
{
    if (bBegun) return;
    bBegun = 1;
    animator.m_Patterns.assign(1, g_AnimePatterns.At(nAnime));
    if (bHold) {
        for (ANIMEFRAME& entry : animator.m_Patterns.front()) {
            if (entry.frame < 0) break;
            if (entry.bLock == 0) continue;
            entry.duration = WrapAdd(entry.duration, WrapSub(nCommandFrames, 1));
            break;
        }
    }
    animator.SetPattern(0, 1);
    for (int i = 0; i < nSkip; ++i) animator.Tick();
}

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
    if (!paused) {
        own.Tick();
        for (auto it = begin(); it != end();) {
            if (it->bStopped) {
                ++it;
                continue;
            }
            it->Begin();
            if (it->animator.Tick() == kAnimeEnd) {
                it = erase(it);
                continue;
            }
            it->nPlay = WrapSub(it->nPlay, 1);
            ++it;
        }
    }
    if (empty()) return own.CurrentFrame();
    // The scheduled animation with the fewest frames left wins; once one has run out while
    // an earlier choice had too, the one that ran out last wins from there on. An animation
    // a command started is taken only while nothing else is.
    int best = INT_MAX;
    cCharaAnimation* chosen = nullptr;
    bool found = false;
    for (cCharaAnimation& animation : *this) {
        if (animation.bStopped) continue;
        const int left = animation.nPlay;
        if (found) {
            if (left <= 0 && best <= 0 && left > best) {
                chosen = &animation;
                best = left;
            }
        } else if (animation.bScheduled) {
            if (left <= 0 && best <= 0) {
                chosen = &animation;
                best = left;
                found = true;
            } else if (left < best) {
                chosen = &animation;
                best = left;
            }
        } else if (!chosen) {
            chosen = &animation;
            best = INT_MAX;
        }
    }
    if (!chosen) return own.CurrentFrame();
    chosen->Begin();
    return chosen->animator.CurrentFrame();
}
