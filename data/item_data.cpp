#include "data/item_data.h"

#include <cstddef>

#include "data/database.h"
#include "data/template_common.h"

cItemData::cItemData()
{
    Reset();
}

bool cItemData::Reset()
{
    Clear();
    ResetInheritFlags(m_InheritFlags, kGroups);
    m_nImageKind = 2;
    m_nGroup5Setting = 6;
    m_bPickupMessage = 1;
    m_nGiantScale = 1;
    return true;
}

void cItemData::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    if (reader.Failed()) return;
    if (reader.Version() < kShotImageShiftVersion) ShiftShotImage(m_nImageKind, m_nImageNumber);
    const TEMPLATESOURCES sources = CurrentTemplateSources();
    Inherit(sources);
    Validate(sources);
}

void cItemData::Write(cDataWriter& writer)
{
    Validate();
    cDataRecord::Write(writer);
}

void cItemData::Validate()
{
    Validate(CurrentTemplateSources());
}

void cItemData::Validate(const TEMPLATESOURCES& sources)
{
    CheckInheritReference(*this, CountsOf(sources.common).items, CountsOf(sources.stage).items);
    if (m_nGiantScale == 0) m_nGiantScale = 1;
    if (static_cast<std::size_t>(static_cast<std::uint16_t>(m_nSound)) >= g_Database.m_Sounds.size()) m_nSound = 0;
    for (cCommandData& action : m_Actions) action.Validate();
}

void cItemData::CheckActionReferences()
{
    CheckActionReferences(CurrentTemplateSources());
}

void cItemData::CheckActionReferences(const TEMPLATESOURCES& sources)
{
    const PALETTECOUNTS common = CountsOf(sources.common);
    const PALETTECOUNTS stage = CountsOf(sources.stage);
    for (cCommandData& action : m_Actions) action.CheckTemplateRefs(common, stage);
}

void cItemData::Inherit(const TEMPLATESOURCES& sources)
{
    InheritGroups(*this, sources, &TEMPLATELISTS::items, kGroups);
}

BYTE cItemData::InheritFlag(int group) const
{
    return InheritFlagAt(m_InheritFlags, group);
}

void cItemData::CopyGroup(int group, const cItemData& from)
{
    switch (group) {
    case 0: m_strName = from.m_strName; break;
    case 1:
        m_Conditions = from.m_Conditions;
        m_nConditionMode = from.m_nConditionMode;
        m_bCheckOnce = from.m_bCheckOnce;
        break;
    case 2: m_nGroup2Setting = from.m_nGroup2Setting; break;
    case 3: m_nGroup3Setting = from.m_nGroup3Setting; break;
    case 4:
        m_nImageKind = from.m_nImageKind;
        m_nImageNumber = from.m_nImageNumber;
        m_nImageFrame = from.m_nImageFrame;
        break;
    case 5: m_nGroup5Setting = from.m_nGroup5Setting; break;
    case 6: m_bHidden = from.m_bHidden; break;
    case 7:
        m_bMark = from.m_bMark;
        m_nMarkTile = from.m_nMarkTile;
        break;
    case 8: m_nGiantScale = from.m_nGiantScale; break;
    case 9: m_nPickupMode = from.m_nPickupMode; break;
    case 10: m_bPickupMessage = from.m_bPickupMessage; break;
    case 11: m_nSound = from.m_nSound; break;
    case 12: m_Actions = from.m_Actions; break;
    default: break;
    }
}

const cItemData* FindItemTemplate(int source, int index)
{
    const TEMPLATESOURCES sources = PlayTemplateSources();
    if (source == 1) return FindTemplate(sources.common.items, index);
    if (source == 2) return FindTemplate(sources.stage.items, index);
    return nullptr;
}
