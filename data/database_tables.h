#pragma once
// The working tables that start-up derives from the databases: one animation pattern per
// animation and per effect, and a normal and a reversed playback template per chara effect and
// screen effect. The pattern and template types belong to the game objects, so the builders
// take them as they come: a pattern step is any aggregate of three members {frame number,
// duration in ticks, lock flag}, and a template is made by the initialiser passed in.
#include <cstddef>
#include <type_traits>

#include "data/database.h"
#include "shell/game_arithmetic.h"
#include "shell/safe_container.h"

namespace database_tables_detail {

template <class STEP>
void SetStep(STEP& step, int frame, int duration, int lock)
{
    auto& [stepFrame, stepDuration, stepLock] = step;
    stepFrame = static_cast<std::remove_reference_t<decltype(stepFrame)>>(frame);
    stepDuration = static_cast<std::remove_reference_t<decltype(stepDuration)>>(duration);
    stepLock = static_cast<std::remove_reference_t<decltype(stepLock)>>(lock);
}

// One pattern per entry. Entry 0, the "none" entry, holds each frame for good and loops
// (end mark -2); the others play once (end mark -4, which the animator reports as the frame)
// and lock from their first locked frame on. Durations become ticks of 1/60 s.
template <class PATTERNS, class ENTRY, class LOCKED>
void BuildPatterns(const cSafeVector<ENTRY>& entries, PATTERNS& patterns, LOCKED isLocked)
{
    patterns.resize(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& frames = entries[i].m_Frames;
        auto& pattern = patterns[i];
        pattern.resize(frames.size() + 1);
        int lock = 0;
        for (std::size_t k = 0; k < frames.size(); ++k) {
            if (i == 0) {
                SetStep(pattern[k], frames[k].m_nFrame, 0, 1);
                continue;
            }
            if (isLocked(frames[k])) lock = 1;
            SetStep(pattern[k], frames[k].m_nFrame, WrapMul(frames[k].m_nDuration, 6), lock);
        }
        if (i == 0) SetStep(pattern[frames.size()], -2, 0, 1);
        else SetStep(pattern[frames.size()], -4, 0, 0);
    }
}

// Both template lists sized to count, zeroed, then entry i of each made by init(template, i,
// reversed) in index order, the normal one first.
template <class PLAYBACK, class INIT>
void InitSlots(std::size_t count, cSafeVector<PLAYBACK>& normal, cSafeVector<PLAYBACK>& reverse, INIT&& init)
{
    normal.clear();
    reverse.clear();
    normal.resize(count);
    reverse.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        init(normal[i], static_cast<int>(i), 0);
        init(reverse[i], static_cast<int>(i), 1);
    }
}

}  // namespace database_tables_detail

// One pattern per animation of g_Database.
template <class PATTERNS>
void BuildAnimeTables(PATTERNS& patterns)
{
    database_tables_detail::BuildPatterns(g_Database.m_Animes, patterns,
                                          [](const cAnimeFrameData& frame) { return frame.m_bLock != 0; });
}

// One pattern per effect of g_Database; effects never lock.
template <class PATTERNS>
void BuildEffectTables(PATTERNS& patterns)
{
    database_tables_detail::BuildPatterns(g_Database.m_Effects, patterns, [](const cEffectFrameData&) { return false; });
}

// The chara-effect templates: init(template, id, reversed) is the playback's chara-effect
// template initialiser; it reads the reverse list of g_Database for reversed templates.
template <class PLAYBACK, class INIT>
void InitCharaEffectSlots(cSafeVector<PLAYBACK>& normal, cSafeVector<PLAYBACK>& reverse, INIT&& init)
{
    database_tables_detail::InitSlots(g_Database.m_CharaEffects.size(), normal, reverse, init);
}

// The screen-effect templates, the same way.
template <class PLAYBACK, class INIT>
void InitScreenEffectSlots(cSafeVector<PLAYBACK>& normal, cSafeVector<PLAYBACK>& reverse, INIT&& init)
{
    database_tables_detail::InitSlots(g_Database.m_ScrEffects.size(), normal, reverse, init);
}
