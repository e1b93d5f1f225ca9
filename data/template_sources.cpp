#include "data/template_sources.h"

#include "data/palette_data.h"

namespace {

thread_local const TEMPLATESOURCES* t_pSources = nullptr;

TEMPLATELISTS s_StagePaletteLists;

template <class T>
std::size_t SizeOf(const cSafeVector<T>* list)
{
    return list ? list->size() : 0;
}

}  // namespace

TEMPLATESOURCES CurrentTemplateSources()
{
    return t_pSources ? *t_pSources : PlayTemplateSources();
}

TEMPLATESOURCES PlayTemplateSources()
{
    const TEMPLATELISTS stage = s_StagePaletteLists.blocks ? s_StagePaletteLists : DefaultStagePaletteLists();
    return TEMPLATESOURCES{ListsOf(g_CommonPalette.m_Blocks, g_CommonPalette.m_Charas, g_CommonPalette.m_Items), stage};
}

void SetStagePaletteLists(const TEMPLATELISTS& lists)
{
    s_StagePaletteLists = lists;
}

TEMPLATELISTS DefaultStagePaletteLists()
{
    static const cPaletteData defaults;
    return ListsOf(defaults.m_Blocks, defaults.m_Charas, defaults.m_Items);
}

PALETTECOUNTS CountsOf(const TEMPLATELISTS& lists)
{
    return PALETTECOUNTS{SizeOf(lists.blocks), SizeOf(lists.charas), SizeOf(lists.items)};
}

cTemplateSourceScope::cTemplateSourceScope(const TEMPLATESOURCES& sources) : m_pPrevious(t_pSources), m_Sources(sources)
{
    t_pSources = &m_Sources;
}

cTemplateSourceScope::~cTemplateSourceScope()
{
    t_pSources = m_pPrevious;
}
