#pragma once
// Plays frame patterns: lists of {frame, duration in ticks, lock flag} whose last entry holds a
// negative control code. The animator only yields frame numbers; drawing code turns them into
// pictures.
#include <cstdint>

#include "shell/safe_container.h"

// Control codes that end a pattern.
constexpr int kAnimeHold = -1;       // step back to the previous entry: the last frame stays
constexpr int kAnimeRestart = -2;    // start the pattern again at entry 0
constexpr int kAnimeSwitch = -3;     // go on with the pattern numbered in the duration field
constexpr int kAnimeEnd = -4;        // end of a one-shot pattern, returned as the frame

struct ANIMEFRAME {
    std::int32_t frame;      // a picture frame, or a control code when negative
    std::int32_t duration;   // ticks (0 and 1 last one tick); for kAnimeSwitch the next pattern
    std::int32_t bLock;      // non-zero: unforced pattern changes are refused on this entry
};

class cFrameAnimator {
public:
    cFrameAnimator() = default;

    // Replaces the patterns by those of a static table: pointers to int triples (frame,
    // duration, flag) ended by a null pointer, each pattern ended by its first triple with a
    // negative frame, which becomes its last entry. A null table changes nothing.
    void Build(const int* const* table);
    // 1 when the pattern was set (entry and tick 0, even when it is current already); 0 when
    // refused because the current entry is locked and force is 0.
    int SetPattern(int pattern, int force);
    // 1 at once when pattern is current; otherwise as SetPattern.
    int ChangePattern(int pattern, int force);
    // One tick; returns the frame of the entry now current (0 without patterns).
    int Tick();
    // The frame of the current entry, without ticking (0 without patterns).
    int CurrentFrame();
    void FreePatterns();

    cSafeVector<cSafeVector<ANIMEFRAME>> m_Patterns;
    std::int32_t m_nPattern = 0;
    std::int32_t m_nEntry = 0;
    std::int32_t m_nTick = 0;

private:
    // The current entry, or null without patterns. A bad index is reported by the checked
    // access, which then yields an existing entry.
    ANIMEFRAME* Current();
};

// Static pattern tables of the shots (0: three frames then the end mark; 1: two frames looped)
// and of the items (two locked frames looped).
extern const int* const g_ShotAnimePatterns[3];
extern const int* const g_ItemAnimePatterns[2];
