#include "data/chara_data.h"

#include <algorithm>
#include <cstddef>

#include "data/database.h"

namespace {

// Old files held fewer groups: a group inserted at `at` takes the flag 1 (it was always
// inherited), the later flags move up and the last one drops off.
void InsertInheritFlag(cSafeVector<BYTE>& flags, std::size_t at)
{
    flags.resize(cCharaData::kGroups, 0);
    flags.insert(flags.begin() + static_cast<std::ptrdiff_t>(at), 1);
    flags.pop_back();
}

// Whether an index into a database list lies outside it (compared as unsigned).
template <class T>
bool OutsideList(int index, const cSafeVector<T>& list)
{
    return static_cast<std::size_t>(static_cast<std::uint16_t>(index)) >= list.size();
}

constexpr int kLastZLayer = 8;
constexpr int kFirstFlashColor = 0;   // entry 0 of the table is unused: no colour
constexpr int kLastFlashColor = 9;

}  // namespace

cCharaData::cCharaData()
{
    Reset();
}

bool cCharaData::Reset()
{
    ResetTemplate();
    m_nZ = 3;
    m_bCharaEffectLoop = 1;
    m_nOperator = 1;
    m_nGroup2Setting = 1;
    m_bFixedFacing = 1;
    m_nGiantScale = 1;
    m_nMaxHp = 10;
    m_nEaseOfStopping = 10;
    m_nGroup35Setting = 1;
    m_nImageKind = 1;
    m_nHeldItem = 0;
    return true;
}

void cCharaData::Upgrade(DWORD version)
{
    if (!KeepTestPlayFlows()) RemoveTestPlayFlows(m_Flows);
    if (version <= 167) {
        m_nDefence = 0;
        InsertInheritFlag(m_InheritFlags, 27);
    }
    if (version < 196) {
        m_nCharaEffectMode = 0;
        m_nDefeatEffectMode = 0;
    }
    if (version <= 200) {
        m_nContactRange = 0;
        InsertInheritFlag(m_InheritFlags, 24);
    }
    if (version < 206 && m_nContactRange >= 2) ++m_nContactRange;
    if (version < 210) {
        m_bSyncAutoScroll = 0;
        InsertInheritFlag(m_InheritFlags, 21);
    }
    if (version < 285) m_nFlashColor = 1;
}

void cCharaData::ValidateBody()
{
    // Entry 1 only when the list has it: drawing a number outside the list closes the game.
    if (m_nImageKind == kImageKindOwnPicture && OutsideList(m_nImageNumber, g_Database.m_BmpCharaExcs))
        m_nImageNumber = static_cast<std::int16_t>(FirstEntryOrNone(g_Database.m_BmpCharaExcs));
    if (m_nGiantScale == 0) m_nGiantScale = 1;
    if (OutsideList(m_nAnimeSet, g_Database.m_AnimeSets)) m_nAnimeSet = 0;
    if (OutsideList(m_nCharaEffect, g_Database.m_CharaEffects)) m_nCharaEffect = 0;
    if (OutsideList(m_nDefeatEffect, g_Database.m_CharaEffects)) m_nDefeatEffect = 0;
    if (OutsideList(m_nHitEffect, g_Database.m_Effects)) m_nHitEffect = 0;
    for (cFlowData& flow : m_Flows) flow.Validate();
    m_Flows.erase(std::remove_if(m_Flows.begin(), m_Flows.end(),
                                 [](const cFlowData& flow) {
                                     return flow.m_Conditions.empty() && flow.m_KeyConditions.empty() && flow.m_Commands.empty();
                                 }),
                  m_Flows.end());
}

void cCharaData::CheckFlowReferences(const TEMPLATESOURCES& sources)
{
    CheckListReferences(m_Flows, sources);
}

void cCharaData::CopyGroup(int group, const cCharaData& from)
{
    cTemplateData::CopyGroup(group, from);
    if (group == kFlowGroup && m_Flows.empty()) m_Flows.emplace_back();
}

double cCharaData::OffsetX(int i, int facing) const
{
    const double offset = static_cast<double>(i) * m_nCopyXStep + m_nCopyXBase;
    return facing == 1 && m_bMirrorX ? -offset : offset;
}

double cCharaData::OffsetY(int i, int facing) const
{
    const double offset = static_cast<double>(i) * m_nCopyYStep + m_nCopyYBase;
    return facing == 1 && m_bMirrorY ? -offset : offset;
}

int cCharaData::ZLayer() const
{
    return std::min<int>(m_nZ, kLastZLayer);
}

int cCharaData::FlashColor() const
{
    return std::clamp<int>(m_nFlashColor, kFirstFlashColor, kLastFlashColor);
}
