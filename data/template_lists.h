#pragma once
// Lists of templates as palettes and stages store them: a 4-byte count, then the template
// bodies. The list is first filled with default templates and then read entry by entry, so a
// reference to a later entry of the list being read finds a default template.
#include "data/block_data.h"
#include "data/chara_data.h"
#include "data/item_data.h"
#include "data/record_tables.h"
#include "data/template_sources.h"

void ReadBlockList(cSafeVector<cBlockData>& list, cDataReader& reader);
void ReadCharaList(cSafeVector<cCharaData>& list, cDataReader& reader);
void ReadItemList(cSafeVector<cItemData>& list, cDataReader& reader);

inline void ReadTemplateList(cSafeVector<cBlockData>& list, cDataReader& reader) { ReadBlockList(list, reader); }
inline void ReadTemplateList(cSafeVector<cCharaData>& list, cDataReader& reader) { ReadCharaList(list, reader); }
inline void ReadTemplateList(cSafeVector<cItemData>& list, cDataReader& reader) { ReadItemList(list, reader); }

// The lists of a palette as references resolve against them.
TEMPLATELISTS ListsOf(const cSafeVector<cBlockData>& blocks, const cSafeVector<cCharaData>& charas,
                      const cSafeVector<cItemData>& items);

// After a palette's lists are read: entry 0 of each becomes an empty template again (an empty
// list first gets its default entry). Its own lists are kept.
void ResetFirstTemplates(cSafeVector<cBlockData>& blocks, cSafeVector<cCharaData>& charas, cSafeVector<cItemData>& items);
// Every list of fewer than two entries padded to two; then each template's Validate and its
// second check against sources.
void NormalizePaletteLists(cSafeVector<cBlockData>& blocks, cSafeVector<cCharaData>& charas, cSafeVector<cItemData>& items,
                           const TEMPLATESOURCES& sources);
// Each template's Validate and its second check against sources (placed objects too).
void CheckTemplateLists(cSafeVector<cBlockData>& blocks, cSafeVector<cCharaData>& charas, cSafeVector<cItemData>& items,
                        const TEMPLATESOURCES& sources);

// A template list registered in a record's tail: read as above, written as a counted list.
namespace record_tail_types {

template <class T>
void ReadTemplates(const DATATAIL& entry, cDataReader& reader)
{
    ReadTemplateList(Member<cSafeVector<T>>(entry), reader);
}

template <class T>
inline constexpr DATATAILTYPE kTemplateList = {DATAELEMENT_RECORD, DATASHAPE_COUNTED, 0, DATAVALUE_SIGNED,
                                               ListCount<cSafeVector<T>>, ListRecord<T>, ReadTemplates<T>, WriteRecords<T>,
                                               nullptr, RecordListHeap<T>};

}  // namespace record_tail_types
