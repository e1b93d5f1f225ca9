#pragma once
// The palettes that template references resolve against: the common palette (source 1) and
// the stage palette (source 2). A reader sets them for the record it reads, so that a file
// read into a copy resolves against that copy and never against the globals it will replace.
// Outside any reader, references resolve against g_CommonPalette and the stage palette that
// the stage record registers (until it does, a palette of one default template per list).
#include <cstddef>

#include "data/command_data.h"
#include "shell/safe_container.h"

class cBlockData;
class cCharaData;
class cItemData;

// The three template lists of one palette.
struct TEMPLATELISTS {
    const cSafeVector<cBlockData>* blocks = nullptr;
    const cSafeVector<cCharaData>* charas = nullptr;
    const cSafeVector<cItemData>* items = nullptr;
};

struct TEMPLATESOURCES {
    TEMPLATELISTS common;   // source 1
    TEMPLATELISTS stage;    // source 2
};

// The sources of this thread: those of the innermost cTemplateSourceScope, else
// PlayTemplateSources().
TEMPLATESOURCES CurrentTemplateSources();
// g_CommonPalette and the registered stage palette.
TEMPLATESOURCES PlayTemplateSources();
// The stage palette of play: g_StageData's lists, registered once at start-up.
void SetStagePaletteLists(const TEMPLATELISTS& lists);
// A stage palette of one default template per list: what the common palette is checked
// against, the same on every run.
TEMPLATELISTS DefaultStagePaletteLists();

// The sizes of a palette's lists (a missing list counts as empty).
PALETTECOUNTS CountsOf(const TEMPLATELISTS& lists);

// Sets this thread's sources while it lives.
class cTemplateSourceScope {
public:
    explicit cTemplateSourceScope(const TEMPLATESOURCES& sources);
    ~cTemplateSourceScope();
    cTemplateSourceScope(const cTemplateSourceScope&) = delete;
    cTemplateSourceScope& operator=(const cTemplateSourceScope&) = delete;

private:
    const TEMPLATESOURCES* m_pPrevious;
    TEMPLATESOURCES m_Sources;
};

// The template at index of the list of the given source, or null: source 0 or another value,
// or an index at or beyond the list's size. The index is compared as unsigned.
template <class T>
const T* FindTemplate(const cSafeVector<T>* list, int index)
{
    if (!list || index < 0 || static_cast<std::size_t>(index) >= list->size()) return nullptr;
    return &(*list)[static_cast<std::size_t>(index)];
}
