#include "objects/frame_animator.h"

void cFrameAnimator::Build(const int* const* table)
{
    if (!table) return;
    m_Patterns.clear();
    m_nPattern = 0;
    m_nEntry = 0;
    m_nTick = 0;
    std::size_t count = 0;
    while (table[count]) ++count;
    m_Patterns.resize(count);
    for (std::size_t p = 0; p < count; ++p) {
        const int* triples = table[p];
        std::size_t entries = 0;
        while (triples[entries * 3] >= 0) ++entries;
        ++entries;   // the control entry that ends it
        cSafeVector<ANIMEFRAME>& pattern = m_Patterns[p];
        pattern.resize(entries);
        for (std::size_t e = 0; e < entries; ++e) {
            pattern[e] = ANIMEFRAME{triples[e * 3], triples[e * 3 + 1], triples[e * 3 + 2] & 0xFF};
        }
    }
}

ANIMEFRAME* cFrameAnimator::Current()
{
    if (m_Patterns.empty()) return nullptr;
    cSafeVector<ANIMEFRAME>& pattern = m_Patterns.At(m_nPattern);
    if (pattern.empty()) return nullptr;
    return &pattern.At(m_nEntry);
}

int cFrameAnimator::SetPattern(int pattern, int force)
{
    if (!force) {
        const ANIMEFRAME* entry = Current();
        if (entry && entry->bLock) return 0;
    }
    m_nPattern = pattern;
    m_nEntry = 0;
    m_nTick = 0;
    return 1;
}

int cFrameAnimator::ChangePattern(int pattern, int force)
{
    if (pattern == m_nPattern) return 1;
    return SetPattern(pattern, force);
}

int cFrameAnimator::Tick()
{
    if (m_Patterns.empty()) return 0;
    // The pattern and the entry are looked up once, so that a bad index is reported once a tick.
    cSafeVector<ANIMEFRAME>* pattern = &m_Patterns.At(m_nPattern);
    if (pattern->empty()) return 0;
    const ANIMEFRAME* entry = &pattern->At(m_nEntry);
    if (++m_nTick >= entry->duration) {
        m_nTick = 0;
        // The end entry of a pattern is never stepped past: a pattern that ends in a code
        // other than the three below keeps returning that code, which callers read as its end.
        if (static_cast<std::size_t>(m_nEntry) + 1 < pattern->size()) {
            ++m_nEntry;
            entry = &(*pattern)[static_cast<std::size_t>(m_nEntry)];
            if (entry->frame == kAnimeSwitch) {
                SetPattern(entry->duration, 1);
                pattern = &m_Patterns.At(m_nPattern);
                if (pattern->empty()) return 0;
                entry = &pattern->front();
            } else if (entry->frame == kAnimeRestart) {
                m_nEntry = 0;
                entry = &pattern->front();
            } else if (entry->frame == kAnimeHold) {
                --m_nEntry;
                entry = &pattern->At(m_nEntry);
            }
        }
    }
    return entry->frame;
}

int cFrameAnimator::CurrentFrame()
{
    const ANIMEFRAME* entry = Current();
    return entry ? entry->frame : 0;
}

void cFrameAnimator::FreePatterns()
{
    m_Patterns.clear();
    m_Patterns.shrink_to_fit();
}

namespace {

const int kShotPattern0[] = {0, 7, 0, 1, 7, 0, 2, 7, 0, kAnimeEnd, 0, 0};
const int kShotPattern1[] = {0, 8, 0, 1, 8, 0, kAnimeRestart, 0, 0};
const int kItemPattern0[] = {0, 15, 1, 1, 15, 1, kAnimeRestart, 0, 1};

}  // namespace

const int* const g_ShotAnimePatterns[3] = {kShotPattern0, kShotPattern1, nullptr};
const int* const g_ItemAnimePatterns[2] = {kItemPattern0, nullptr};
