// Equality of records from their tables: which member differs, down into the tail.
#include <gtest/gtest.h>

#include "data/record_compare.h"
#include "data/system_data.h"
#include "tests/data/record_test_support.h"

namespace {

class cPartRecord : public cDataRecordOf<cPartRecord> {
public:
    cPartRecord() { Clear(); }
    void RegisterFields(DWORD) override
    {
        ClearTables();
        AddField2(&m_wValue, 1, "wValue");
        AddString(&m_strName, "strName");
    }
    std::int16_t m_wValue = 0;
    std::string m_strName;
};

class cWholeRecord : public cDataRecordOf<cWholeRecord> {
public:
    cWholeRecord() { Clear(); }
    cWholeRecord(const cWholeRecord& other) = default;
    cWholeRecord& operator=(const cWholeRecord& other) = default;
    void RegisterFields(DWORD) override
    {
        ClearTables();
        AddField4(m_Values, 3, "Values");
        AddField8(&m_dScale, 1, "dScale");
        AddString(m_strNames, 2, "strNames");
        AddRecordList(&m_Parts, "Parts");
        AddValueList(&m_Flags, "Flags");
        AddOptionalRecord(&m_lpExtra, "lpExtra");
    }
    int m_Values[3] = {};
    double m_dScale = 0;
    std::string m_strNames[2];
    cSafeVector<cPartRecord> m_Parts;
    cSafeVector<BYTE> m_Flags;
    std::shared_ptr<cPartRecord> m_lpExtra;
};

cWholeRecord Sample()
{
    cWholeRecord record;
    record.m_Values[2] = 5;
    record.m_dScale = 1.5;
    record.m_strNames[1] = "名前";
    record.m_Parts.resize(2);
    record.m_Parts[1].m_strName = "part";
    record.m_Flags = {1, 0};
    record.m_lpExtra = std::make_shared<cPartRecord>();
    return record;
}

}  // namespace

TEST(RecordCompare, NamesTheFirstMemberThatDiffers)
{
    qbtest::cDataSettingsScope settings;
    struct Case {
        const char* where;
        void (*change)(cWholeRecord&);
    } cases[] = {
        {"", [](cWholeRecord&) {}},
        {"m_Values[2]", [](cWholeRecord& r) { r.m_Values[2] = 6; }},
        {"m_dScale", [](cWholeRecord& r) { r.m_dScale = -1.5; }},
        {"m_strNames[1]", [](cWholeRecord& r) { r.m_strNames[1] = "別"; }},
        {"m_Parts.count", [](cWholeRecord& r) { r.m_Parts.pop_back(); }},
        {"m_Parts[1].m_strName", [](cWholeRecord& r) { r.m_Parts[1].m_strName = "x"; }},
        {"m_Parts[0].m_wValue", [](cWholeRecord& r) { r.m_Parts[0].m_wValue = -1; }},
        {"m_Flags[1]", [](cWholeRecord& r) { r.m_Flags[1] = 2; }},
        {"m_lpExtra.count", [](cWholeRecord& r) { r.m_lpExtra.reset(); }},
        {"m_lpExtra.m_wValue", [](cWholeRecord& r) { r.m_lpExtra = std::make_shared<cPartRecord>(); r.m_lpExtra->m_wValue = 3; }},
    };
    for (const Case& c : cases) {
        const cWholeRecord a = Sample();
        cWholeRecord b = Sample();
        c.change(b);
        std::string where = "unset";
        EXPECT_EQ(SameRecordImage(a, b, &where), *c.where == '\0') << c.where;
        EXPECT_EQ(where, c.where);
    }
}

TEST(RecordCompare, TextAfterAnEmbeddedNulIsNotPartOfTheImage)
{
    qbtest::cDataSettingsScope settings;
    cWholeRecord a = Sample();
    cWholeRecord b = Sample();
    b.m_strNames[0] = std::string("\0tail", 5);
    EXPECT_TRUE(SameRecordImage(a, b));
}

TEST(RecordCompare, TheSystemRecordEqualsItsOwnReadBackImage)
{
    qbtest::cDataSettingsScope settings;
    cSystemData written;
    written.m_ModeResults[2].m_ValueFlags[4] = 7;
    cSystemData read;
    std::string where;
    EXPECT_FALSE(SameRecordImage(written, read, &where));
    EXPECT_EQ(where, "m_ModeResults[2].m_ValueFlags[4]");
    written.m_Texts[3] = "変更";
    ASSERT_EQ(qbtest::ReadImage(read, qbtest::WriteImage(written)), 1);
    EXPECT_TRUE(SameRecordImage(written, read, &where)) << where;
}
