#include "data/item_data.h"

#include <cstddef>

#include "data/database.h"

cItemData::cItemData()
{
    Reset();
}

bool cItemData::Reset()
{
    ResetTemplate();
    m_nImageKind = 2;
    m_nGroup5Setting = 6;
    m_bPickupMessage = 1;
    m_nGiantScale = 1;
    return true;
}

void cItemData::ValidateBody()
{
    if (m_nGiantScale == 0) m_nGiantScale = 1;
    if (static_cast<std::size_t>(static_cast<std::uint16_t>(m_nSound)) >= g_Database.m_Sounds.size()) m_nSound = 0;
    for (cCommandData& action : m_Actions) action.Validate();
}

void cItemData::CheckActionReferences(const TEMPLATESOURCES& sources)
{
    CheckListReferences(m_Actions, sources);
}

const cItemData* FindItemTemplate(int source, int index)
{
    const TEMPLATESOURCES sources = PlayTemplateSources();
    if (source == 1) return FindTemplate(sources.common.items, index);
    if (source == 2) return FindTemplate(sources.stage.items, index);
    return nullptr;
}
