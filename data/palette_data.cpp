#include "data/palette_data.h"

namespace {

template <class T>
void ClearInheritFlags(cSafeVector<T>& list)
{
    for (T& entry : list) {
        for (BYTE& flag : entry.m_InheritFlags) flag = 0;
    }
}

}  // namespace

cPaletteData::cPaletteData() : m_Blocks(1), m_Charas(1), m_Items(1)
{
}

void cPaletteData::RegisterFields(DWORD)
{
    ClearTables();
    AddTail(&m_Blocks, 0, &record_tail_types::kTemplateList<cBlockData>, "Blocks");
    AddTail(&m_Charas, 0, &record_tail_types::kTemplateList<cCharaData>, "Charas");
    AddTail(&m_Items, 0, &record_tail_types::kTemplateList<cItemData>, "Items");
}

TEMPLATESOURCES cPaletteData::OwnSources() const
{
    return TEMPLATESOURCES{ListsOf(m_Blocks, m_Charas, m_Items), DefaultStagePaletteLists()};
}

void cPaletteData::Read(cDataReader& reader)
{
    const cTemplateSourceScope scope(OwnSources());
    cDataRecord::Read(reader);
    if (reader.Failed()) return;
    ResetFirstTemplates(m_Blocks, m_Charas, m_Items);
    // No template of a palette file refers to another once it is loaded.
    ClearInheritFlags(m_Blocks);
    ClearInheritFlags(m_Charas);
    ClearInheritFlags(m_Items);
    Normalize();
}

void cPaletteData::Write(cDataWriter& writer)
{
    Normalize();
    const cTemplateSourceScope scope(OwnSources());
    cDataRecord::Write(writer);
}

void cPaletteData::Normalize()
{
    NormalizePaletteLists(m_Blocks, m_Charas, m_Items, OwnSources());
}
