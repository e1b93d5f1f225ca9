// The tail shapes, registered in a record's tables: counted record lists, value lists and
// string lists, single strings, nested records and optional sub-records (unique or shared).
#include <gtest/gtest.h>

#include "data/record_tails.h"
#include "tests/data/record_test_support.h"
#include "tests/support/byte_builder.h"

using qbtest::cByteBuilder;
using qbtest::ReadImage;
using qbtest::WriteImage;

namespace {

class cItemRecord : public cDataRecordOf<cItemRecord> {
public:
    cItemRecord() { Clear(); m_nValue = 7; }
    void RegisterFields(DWORD) override
    {
        ClearTables();
        AddField4(&m_nValue, 1, "nValue");
        AddString(&m_strName, "strName");
    }
    int m_nValue = 0;
    std::string m_strName;
};

// A record whose tail has one entry of every shape; version 600 brought in the pair and the
// shared sub-record.
class cHolderRecord : public cDataRecordOf<cHolderRecord> {
public:
    cHolderRecord() { Clear(); }
    cHolderRecord(const cHolderRecord& other) : cDataRecordOf(other), m_Items(other.m_Items), m_Ints(other.m_Ints),
        m_Flags(other.m_Flags), m_Names(other.m_Names), m_strNote(other.m_strNote), m_Pair{other.m_Pair[0], other.m_Pair[1]},
        m_lpShared(other.m_lpShared),
        m_lpSub(other.m_lpSub ? std::make_unique<cItemRecord>(*other.m_lpSub) : nullptr) {}
    cHolderRecord& operator=(cHolderRecord&&) = default;
    void RegisterFields(DWORD version) override
    {
        ClearTables();
        AddRecordList(&m_Items, "Items");
        AddValueList(&m_Ints, "Ints");
        AddValueList(&m_Flags, "Flags");
        AddStringList(&m_Names, "Names");
        AddTailString(&m_strNote, 1, "strNote");
        if (version >= 600) AddRecord(m_Pair, 2, "Pair");
        if (version >= 600) AddOptionalRecord(&m_lpShared, "lpShared");
        AddOptionalRecord(&m_lpSub, "lpSub");
    }

    cSafeVector<cItemRecord> m_Items;
    cSafeVector<int> m_Ints;
    cSafeVector<BYTE> m_Flags;
    cSafeVector<std::string> m_Names;
    std::string m_strNote;
    cItemRecord m_Pair[2];
    std::shared_ptr<cItemRecord> m_lpShared;
    std::unique_ptr<cItemRecord> m_lpSub;
};

cByteBuilder ItemBody(int value, std::string_view name)
{
    cByteBuilder b;
    b.I32(1).I32(value).I32(1).I32(static_cast<std::int32_t>(name.size() + 1));
    if (!name.empty()) b.Bytes(name).U8(0);
    return b;
}

// The image of a holder with two items, ints {-1, 300}, flags {1, 0, 2}, names {"a", ""},
// the note "ノート", from version 600 on the pair {40 "p", 41 ""} and the shared sub-record
// 50 "sh", and, when sub is set, a sub-record.
std::string HolderFile(bool sub, std::uint32_t version = 692)
{
    cByteBuilder b;
    b.U32(version).I32(0).I32(0);
    b.I32(2).Bytes(ItemBody(10, "x").Str()).Bytes(ItemBody(20, "").Str());
    b.I32(2).I32(-1).I32(300);
    b.I32(3).U8(1).U8(0).U8(2);
    b.I32(2).I32(2).Bytes("a").U8(0).I32(1);
    b.I32(7).Bytes("ノート").U8(0);
    if (version >= 600) {
        b.Bytes(ItemBody(40, "p").Str()).Bytes(ItemBody(41, "").Str());
        b.I32(1).Bytes(ItemBody(50, "sh").Str());
    }
    if (sub) b.I32(1).Bytes(ItemBody(30, "sub").Str());
    else b.I32(0);
    return b.Str();
}

}  // namespace

TEST(RecordTails, EveryShapeReadsAndWritesAsLaidOut)
{
    qbtest::cDataSettingsScope settings;
    for (bool sub : {true, false}) {
        cHolderRecord holder;
        holder.m_lpSub = std::make_unique<cItemRecord>();
        ASSERT_EQ(ReadImage(holder, HolderFile(sub)), 1) << sub;
        ASSERT_EQ(holder.m_Items.size(), 2u);
        EXPECT_EQ(holder.m_Items[0].m_nValue, 10);
        EXPECT_EQ(holder.m_Items[0].m_strName, "x");
        EXPECT_EQ(holder.m_Items[1].m_nValue, 20);
        EXPECT_EQ(holder.m_Ints, (cSafeVector<int>{-1, 300}));
        EXPECT_EQ(holder.m_Flags, (cSafeVector<BYTE>{1, 0, 2}));
        EXPECT_EQ(holder.m_Names, (cSafeVector<std::string>{"a", ""}));
        EXPECT_EQ(holder.m_strNote, "ノート");
        EXPECT_EQ(holder.m_Pair[0].m_nValue, 40);
        EXPECT_EQ(holder.m_Pair[0].m_strName, "p");
        EXPECT_EQ(holder.m_Pair[1].m_nValue, 41);
        ASSERT_NE(holder.m_lpShared, nullptr);
        EXPECT_EQ(holder.m_lpShared->m_strName, "sh");
        EXPECT_EQ(holder.m_lpSub != nullptr, sub);
        if (sub) {
            EXPECT_EQ(holder.m_lpSub->m_strName, "sub");
        }
        EXPECT_EQ(WriteImage(holder), HolderFile(sub));
    }
}

TEST(RecordTails, ListsTakeTheStoredLengthAndNewElementsStartFromTheirDefaults)
{
    qbtest::cDataSettingsScope settings;
    cHolderRecord holder;
    holder.m_Items.resize(5);
    holder.m_Ints.assign(9, 4);
    cByteBuilder b;
    b.U32(692).I32(0).I32(0);
    b.I32(1).I32(0).I32(0);  // one item with no blocks: keeps the element's default value
    b.I32(0).I32(0).I32(0).I32(1);   // no ints, flags or names, the note ""
    b.I32(0).I32(0).I32(0).I32(0);   // the pair: two empty bodies
    b.I32(0).I32(0);                 // neither sub-record
    ASSERT_EQ(ReadImage(holder, b.Str()), 1);
    ASSERT_EQ(holder.m_Items.size(), 1u);
    EXPECT_EQ(holder.m_Items[0].m_nValue, 7);
    EXPECT_TRUE(holder.m_Ints.empty());
}

TEST(RecordTails, CountsTheFileCannotHoldFailBeforeAnythingIsSized)
{
    qbtest::cDataSettingsScope settings;
    const std::string good = HolderFile(true);
    // Offsets of the counts: items, ints, flags, names.
    const std::size_t items = 12;
    const std::size_t ints = items + 4 + ItemBody(10, "x").Size() + ItemBody(20, "").Size();
    const std::size_t flags = ints + 12;
    const std::size_t names = flags + 7;
    for (std::size_t offset : {items, ints, flags, names}) {
        for (std::uint32_t count : {0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x01000000u}) {
            cByteBuilder damaged;
            damaged.Bytes(good);
            damaged.PatchU32(offset, count);
            cHolderRecord holder;
            EXPECT_EQ(ReadImage(holder, damaged.Str()), 0) << offset << " " << count;
            EXPECT_TRUE(holder.m_Items.empty());
        }
    }
}

TEST(RecordTails, AnyNonZeroFlagBringsTheSubRecordAndZeroReleasesIt)
{
    qbtest::cDataSettingsScope settings;
    const std::string withSub = HolderFile(true);
    const std::size_t flag = withSub.size() - 4 - ItemBody(30, "sub").Size();
    for (std::uint32_t value : {1u, 2u, 0xFFFFFFFFu, 0x80000000u}) {
        cByteBuilder file;
        file.Bytes(withSub);
        file.PatchU32(flag, value);
        cHolderRecord holder;
        ASSERT_EQ(ReadImage(holder, file.Str()), 1) << value;
        ASSERT_NE(holder.m_lpSub, nullptr) << value;
        EXPECT_EQ(holder.m_lpSub->m_nValue, 30) << value;
        EXPECT_EQ(WriteImage(holder), withSub) << value;   // written back as 1
    }
    cHolderRecord holder;
    holder.m_lpSub = std::make_unique<cItemRecord>();
    ASSERT_EQ(ReadImage(holder, HolderFile(false)), 1);
    EXPECT_EQ(holder.m_lpSub, nullptr);
}

TEST(RecordTails, AnOlderFileLacksTheLaterEntriesAndTheyKeepTheirValues)
{
    qbtest::cDataSettingsScope settings;
    cHolderRecord holder;
    holder.m_Pair[1].m_nValue = 99;
    auto shared = std::make_shared<cItemRecord>();
    holder.m_lpShared = shared;
    ASSERT_EQ(ReadImage(holder, HolderFile(true, 599)), 1);
    EXPECT_EQ(holder.m_Pair[0].m_nValue, 7);
    EXPECT_EQ(holder.m_Pair[1].m_nValue, 99);
    EXPECT_EQ(holder.m_lpShared, shared);
    ASSERT_NE(holder.m_lpSub, nullptr);
    EXPECT_EQ(holder.m_lpSub->m_nValue, 30);
}

TEST(RecordTails, ASharedSubRecordReadIntoACopyLeavesTheOneItSharedAlone)
{
    qbtest::cDataSettingsScope settings;
    cHolderRecord holder;
    auto shared = std::make_shared<cItemRecord>();
    shared->m_strName = "kept";
    holder.m_lpShared = shared;
    ASSERT_EQ(ReadImage(holder, HolderFile(false)), 1);
    EXPECT_EQ(shared->m_strName, "kept");
    ASSERT_NE(holder.m_lpShared, nullptr);
    EXPECT_NE(holder.m_lpShared, shared);
    EXPECT_EQ(holder.m_lpShared->m_strName, "sh");
}
