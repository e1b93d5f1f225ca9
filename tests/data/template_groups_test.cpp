// The property groups of the block, chara and item templates: inheriting a group copies exactly
// the members that belong to it, as the editor groups them, and nothing else.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "data/block_data.h"
#include "data/chara_data.h"
#include "data/item_data.h"
#include "tests/data/record_test_support.h"

using namespace qbtest;

namespace {

using NAMES = std::set<std::string>;

// A template whose every stored member differs from a new one's: fields of bytes 0x7B, strings
// "from", and the lists filled by `fill`.
template <class T, class F>
T Different(F fill)
{
    T from;
    const DATATABLES tables = from.Tables();
    for (const DATAFIELD& field : tables.fields) std::memset(field.address, 0x7B, static_cast<std::size_t>(field.count) * field.size);
    for (const DATASTRING& entry : tables.strings) *entry.address = "from";
    from.m_nColumn = 5;
    from.m_nRow = 6;
    from.m_Conditions.emplace_back();
    fill(from);
    return from;
}

// The members of `to` that differ from a new template's.
template <class T>
NAMES Changed(const T& to)
{
    const T fresh;
    NAMES names;
    const DATATABLES a = to.Tables(), b = fresh.Tables();
    for (std::size_t i = 0; i < a.fields.size(); ++i)
        if (std::memcmp(a.fields[i].address, b.fields[i].address, static_cast<std::size_t>(a.fields[i].count) * a.fields[i].size) != 0)
            names.insert(a.fields[i].name);
    for (std::size_t i = 0; i < a.strings.size(); ++i)
        if (*a.strings[i].address != *b.strings[i].address) names.insert(a.strings[i].name);
    for (std::size_t i = 0; i < a.tail.size(); ++i) {
        bool same = a.tail[i].Count() == b.tail[i].Count();
        if (same && a.tail[i].type->element == DATAELEMENT_VALUE)
            for (std::size_t k = 0; k < a.tail[i].Count(); ++k)
                same = same && std::memcmp(a.tail[i].At(k), b.tail[i].At(k), static_cast<std::size_t>(a.tail[i].type->valueSize)) == 0;
        if (!same) names.insert(a.tail[i].name);
    }
    return names;
}

template <class T>
void ExpectGroups(const T& from, const std::vector<NAMES>& groups)
{
    ASSERT_EQ(groups.size(), static_cast<std::size_t>(T::kGroups));
    for (int group = 0; group < T::kGroups; ++group) {
        T to;
        to.CopyGroup(group, from);
        EXPECT_EQ(Changed(to), groups[static_cast<std::size_t>(group)]) << "group " << group;
    }
}

}  // namespace

TEST(TemplateGroups, ABlockGroupCopiesItsMembersAlone)
{
    cDataSettingsScope settings;
    const cBlockData from = Different<cBlockData>([](cBlockData&) {});
    ExpectGroups(from, {{"strName"},
                        {"Conditions", "nConditionMode", "bCheckOnce"},
                        {"nImageKind", "nImageNumber", "nImageFrame"},
                        {"nDrawPass"},
                        {"bHidden"},
                        {"bMark", "nMarkTile"},
                        {"nHitMode"},
                        {"nPassLayer"},
                        {"nEffect", "nEffectValue"},
                        {"nItemSource", "nItemIndex"},
                        {"bFixed"}});
}

TEST(TemplateGroups, ACharaGroupCopiesItsMembersAlone)
{
    cDataSettingsScope settings;
    const cCharaData from = Different<cCharaData>([](cCharaData& chara) {
        chara.m_nHeldItem = 3;
        chara.m_Flows.resize(2);
    });
    ExpectGroups(from, {{"strName"},
                        {"nOperator", "nPlayerNumber"},
                        {"nGroup2Setting"},
                        {"nCharaId"},
                        {"Conditions", "nConditionMode", "bCheckOnce"},
                        {"nFacing"},
                        {"nCopies"},
                        {"nCopyXBase", "nCopyXStep", "bMirrorX"},
                        {"nCopyYBase", "nCopyYStep", "bMirrorY"},
                        {"nImageKind", "nImageNumber", "nImageFrame"},
                        {"nAnimeSet"},
                        {"nZ"},
                        {"bTransparent"},
                        {"nCharaEffect", "nCharaEffectMode", "bCharaEffectLoop"},
                        {"nDefeatEffect", "nDefeatEffectMode"},
                        {"bMark", "nMark"},
                        {"bFixedFacing"},
                        {"nFlying"},
                        {"nInvincible", "nFlashColor"},
                        {"bWholeCellBoxes"},
                        {"nGiantScale"},
                        {"bSyncAutoScroll"},
                        {"nSightShape", "nSightRange"},
                        {"nMaxHp"},
                        {"nMaxSp"},
                        {"nContactRange"},
                        {"nBodyAttack"},
                        {"nBodyImpact"},
                        {"nHitEffect"},
                        {"nDefence"},
                        {"nImpactResistance"},
                        {"nEaseOfStopping"},
                        {"nScreenRange", "nActivation"},
                        {"nGroupSwitch", "bGroupSwitch"},
                        {"nScore"},
                        {"nGroup35Setting"},
                        {"Flows"}});
}

TEST(TemplateGroups, ACharaWithoutFlowsPassesOnOneDefaultFlow)
{
    cDataSettingsScope settings;
    const cCharaData from;
    cCharaData to;
    to.m_Flows.resize(3);
    to.CopyGroup(cCharaData::kFlowGroup, from);
    EXPECT_EQ(to.m_Flows.size(), 1u);
}

TEST(TemplateGroups, AnItemGroupCopiesItsMembersAlone)
{
    cDataSettingsScope settings;
    const cItemData from = Different<cItemData>([](cItemData& item) { item.m_Actions.resize(1); });
    ExpectGroups(from, {{"strName"},
                        {"Conditions", "nConditionMode", "bCheckOnce"},
                        {"nGroup2Setting"},
                        {"nGroup3Setting"},
                        {"nImageKind", "nImageNumber", "nImageFrame"},
                        {"nGroup5Setting"},
                        {"bHidden"},
                        {"bMark", "nMarkTile"},
                        {"nGiantScale"},
                        {"nPickupMode"},
                        {"bPickupMessage"},
                        {"nSound"},
                        {"Actions"}});
}
