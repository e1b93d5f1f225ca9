#include "data/template_lists.h"

#include <cstddef>

namespace {

// The fewest bytes a template body takes: the record body's two counts, the position, the
// flag count and the condition count, plus the held item and flow count of a chara or the
// action count of an item.
constexpr std::size_t kMinBlockBytes = kMinRecordBodyBytes + 4 + 4 + 4;
constexpr std::size_t kMinCharaBytes = kMinBlockBytes + 4 + 4;
constexpr std::size_t kMinItemBytes = kMinBlockBytes + 4;

template <class T>
void ReadList(cSafeVector<T>& list, cDataReader& reader, std::size_t minBytes)
{
    int n = 0;
    if (!reader.ReadCount(n, minBytes, "template count")) return;
    if (!ChargeRecords<T>(reader, static_cast<std::size_t>(n))) return;
    list.clear();
    list.assign(static_cast<std::size_t>(n), T());
    for (T& entry : list) {
        if (reader.Failed()) return;
        entry.Read(reader);
    }
}

template <class T>
void ResetFirst(cSafeVector<T>& list)
{
    if (list.empty()) list.emplace_back();
    list[0].Reset();
}

template <class T>
void PadToTwo(cSafeVector<T>& list)
{
    while (list.size() < 2) list.emplace_back();
}

}  // namespace

void ReadBlockList(cSafeVector<cBlockData>& list, cDataReader& reader)
{
    ReadList(list, reader, kMinBlockBytes);
}

void ReadCharaList(cSafeVector<cCharaData>& list, cDataReader& reader)
{
    ReadList(list, reader, kMinCharaBytes);
}

void ReadItemList(cSafeVector<cItemData>& list, cDataReader& reader)
{
    ReadList(list, reader, kMinItemBytes);
}

TEMPLATELISTS ListsOf(const cSafeVector<cBlockData>& blocks, const cSafeVector<cCharaData>& charas,
                      const cSafeVector<cItemData>& items)
{
    return TEMPLATELISTS{&blocks, &charas, &items};
}

void ResetFirstTemplates(cSafeVector<cBlockData>& blocks, cSafeVector<cCharaData>& charas, cSafeVector<cItemData>& items)
{
    ResetFirst(blocks);
    ResetFirst(charas);
    ResetFirst(items);
}

void NormalizePaletteLists(cSafeVector<cBlockData>& blocks, cSafeVector<cCharaData>& charas, cSafeVector<cItemData>& items,
                           const TEMPLATESOURCES& sources)
{
    PadToTwo(blocks);
    PadToTwo(charas);
    PadToTwo(items);
    CheckTemplateLists(blocks, charas, items, sources);
}

void CheckTemplateLists(cSafeVector<cBlockData>& blocks, cSafeVector<cCharaData>& charas, cSafeVector<cItemData>& items,
                        const TEMPLATESOURCES& sources)
{
    for (cBlockData& block : blocks) {
        block.Validate(sources);
        block.CheckItemReference(sources);
    }
    for (cCharaData& chara : charas) {
        chara.Validate(sources);
        chara.CheckFlowReferences(sources);
    }
    for (cItemData& item : items) {
        item.Validate(sources);
        item.CheckActionReferences(sources);
    }
}
