#pragma once
// What the block, chara and item templates share: the inheritance header (source, index and
// one flag per property group) and its resolution, and the upgrades common to their files.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "data/template_sources.h"
#include "platform/os/windows_types.h"
#include "shell/safe_container.h"

enum TEMPLATESOURCE : BYTE {
    TEMPLATESOURCE_NONE = 0,
    TEMPLATESOURCE_COMMON = 1,
    TEMPLATESOURCE_STAGE = 2,
};

// Image kind 3 is the shot sheet; files before 219 counted its pictures from 0.
constexpr BYTE kImageKindShot = 3;
constexpr BYTE kImageKindOwnPicture = 4;
constexpr DWORD kShotImageShiftVersion = 219;
constexpr std::int16_t kLastShotImage = 119;

inline void ShiftShotImage(BYTE kind, std::int16_t& number)
{
    if (kind == kImageKindShot) number = static_cast<std::int16_t>(std::min<int>(number + 1, kLastShotImage));
}

// Flag i of a flag vector whose length the file gave: a flag the vector lacks is 0.
inline BYTE InheritFlagAt(const cSafeVector<BYTE>& flags, int i)
{
    return i >= 0 && static_cast<std::size_t>(i) < flags.size() ? flags[static_cast<std::size_t>(i)] : 0;
}

inline void ResetInheritFlags(cSafeVector<BYTE>& flags, int groups)
{
    flags.assign(static_cast<std::size_t>(groups), 0);
}

// Whether a reference (source 1 or 2 and an index, compared as unsigned) lies outside its list.
inline bool ReferenceOutside(BYTE source, std::int16_t index, std::size_t commonCount, std::size_t stageCount)
{
    const std::size_t at = static_cast<std::size_t>(static_cast<std::uint16_t>(index));
    if (source == TEMPLATESOURCE_COMMON) return at >= commonCount;
    if (source == TEMPLATESOURCE_STAGE) return at >= stageCount;
    return false;
}

// Copies the flagged groups of the referenced template into self (T::CopyGroup). An index
// outside the source's list clears the source and copies nothing; a source other than 1 and 2
// names the template itself, which changes nothing. Only groups that both the flag vector and
// the class have are copied.
template <class T>
void InheritGroups(T& self, const TEMPLATESOURCES& sources, const cSafeVector<T>* TEMPLATELISTS::*list, int groups)
{
    if (self.m_nInheritIndex == 0 || self.m_nInheritSource == TEMPLATESOURCE_NONE) return;
    const cSafeVector<T>* from = nullptr;
    if (self.m_nInheritSource == TEMPLATESOURCE_COMMON) from = sources.common.*list;
    else if (self.m_nInheritSource == TEMPLATESOURCE_STAGE) from = sources.stage.*list;
    else return;
    const T* source = FindTemplate(from, static_cast<std::uint16_t>(self.m_nInheritIndex));
    if (!source) {
        self.m_nInheritSource = TEMPLATESOURCE_NONE;
        return;
    }
    if (source == &self) return;
    const int n = std::min(static_cast<int>(self.m_InheritFlags.size()), groups);
    for (int i = 0; i < n; ++i) {
        if (self.m_InheritFlags[static_cast<std::size_t>(i)] != 0) self.CopyGroup(i, *source);
    }
}

// Source and index become 0 when the reference lies outside its list.
template <class T>
void CheckInheritReference(T& self, std::size_t commonCount, std::size_t stageCount)
{
    if (ReferenceOutside(self.m_nInheritSource, self.m_nInheritIndex, commonCount, stageCount)) {
        self.m_nInheritSource = TEMPLATESOURCE_NONE;
        self.m_nInheritIndex = 0;
    }
}
