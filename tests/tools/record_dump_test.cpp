// The listing of a record built from its tables: every shape of field and tail, in the order
// the record declares its members.
#include <gtest/gtest.h>

#include "tools/lib/data_dump.h"
#include "tests/data/record_test_support.h"

namespace {

class cPointRecord : public cDataRecordOf<cPointRecord> {
public:
    cPointRecord() { Clear(); }
    void RegisterFields(DWORD) override
    {
        ClearTables();
        AddField4(&m_nX, 1, "nX");
    }
    int m_nX = 0;
};

// Registered in file order, declared in another: the listing follows the declarations.
class cShapesRecord : public cDataRecordOf<cShapesRecord> {
public:
    cShapesRecord() { Clear(); }
    void RegisterFields(DWORD) override
    {
        ClearTables();
        AddString(m_strNames, 2, "strNames");
        AddField1(&m_cSigned, 1, "cSigned");
        AddField1(&m_byFlag, 1, "byFlag");
        AddField2(&m_wCode, 1, "wCode");
        AddField4(m_Values, 2, "Values");
        AddField4(&m_fRate, 1, "fRate");
        AddField8(&m_dScale, 1, "dScale");
        AddField8(&m_llBig, 1, "llBig");
        AddString(&m_strTitle, "strTitle");
        AddValueList(&m_Flags, "Flags");
        AddStringList(&m_Texts, "Texts");
        AddRecordList(&m_Points, "Points");
        AddTailString(&m_strNote, 1, "strNote");
        AddRecord(&m_Corner, 1, "Corner");
        AddOptionalRecord(&m_lpNone, "lpNone");
        AddOptionalRecord(&m_lpSome, "lpSome");
    }
    std::string m_strTitle;
    std::int8_t m_cSigned = 0;
    BYTE m_byFlag = 0;
    std::uint16_t m_wCode = 0;
    int m_Values[2] = {};
    float m_fRate = 0;
    double m_dScale = 0;
    std::int64_t m_llBig = 0;
    cSafeVector<BYTE> m_Flags;
    cSafeVector<std::string> m_Texts;
    cSafeVector<cPointRecord> m_Points;
    std::string m_strNote;
    cPointRecord m_Corner;
    std::shared_ptr<cPointRecord> m_lpNone;
    std::shared_ptr<cPointRecord> m_lpSome;
    std::string m_strNames[2];
};

}  // namespace

TEST(RecordDump, ListsEveryShapeInDeclarationOrder)
{
    qbtest::cDataSettingsScope settings;
    cShapesRecord record;
    record.m_strTitle = "題\"名\"\r\n";
    record.m_cSigned = -2;
    record.m_byFlag = 200;
    record.m_wCode = 65535;
    record.m_Values[0] = -7;
    record.m_Values[1] = 2147483647;
    record.m_fRate = 0.25f;
    record.m_dScale = 1.0199999809265137;
    record.m_llBig = -4294967296LL;
    record.m_Flags = {0, 255};
    record.m_Texts = {"", "\\"};
    record.m_Points.resize(2);
    record.m_Points[1].m_nX = 9;
    record.m_strNote = "ノート";
    record.m_Corner.m_nX = -1;
    record.m_lpSome = std::make_shared<cPointRecord>();
    record.m_lpSome->m_nX = 5;
    record.m_strNames[1] = "b";
    std::string out;
    DumpRecord(record, out);
    EXPECT_EQ(out, u8R"(m_strTitle = "題\"名\"\r\n"
m_cSigned = -2
m_byFlag = 200
m_wCode = 65535
m_Values[0] = -7
m_Values[1] = 2147483647
m_fRate = 0.25
m_dScale = 1.0199999809265137
m_llBig = -4294967296
m_Flags.count = 2
m_Flags[0] = 0
m_Flags[1] = 255
m_Texts.count = 2
m_Texts[0] = ""
m_Texts[1] = "\\"
m_Points.count = 2
m_Points[0].m_nX = 0
m_Points[1].m_nX = 9
m_strNote = "ノート"
m_Corner.m_nX = -1
m_lpNone = none
m_lpSome.m_nX = 5
m_strNames[0] = ""
m_strNames[1] = "b"
)");
}
