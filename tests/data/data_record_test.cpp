// The record file format: bodies, strings, versions, copies and the failures of damaged files.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <thread>

#include "data/data_record.h"
#include "shell/log.h"
#include "tests/data/record_test_support.h"
#include "tests/support/byte_builder.h"
#include "tests/support/temp_folder.h"

using qbtest::cByteBuilder;
using qbtest::ReadImage;
using qbtest::WriteImage;

namespace {

// Fields of every width; one that version 100 brought in, one that only versions before 150
// stored (read into the scratch int), and two strings.
class cSampleRecord : public cDataRecordOf<cSampleRecord> {
public:
    cSampleRecord() { Clear(); }
    void RegisterFields(DWORD version) override
    {
        ++m_nRegistrations;
        ClearTables();
        AddField4(&m_nA, 1, "nA");
        if (version >= 100) AddField2(&m_wB, 1, "wB");
        AddField1(m_Bytes, 3, "Bytes");
        if (version < 150) AddField4(&g_nDiscardField, 1, "discarded");
        AddField8(&m_llC, 1, "llC");
        AddString(&m_strName, "strName");
        AddString(&m_strText, "strText");
    }

    std::int32_t m_nA = 0;
    std::int16_t m_wB = 0;
    std::uint8_t m_Bytes[3] = {};
    std::int64_t m_llC = 0;
    std::string m_strName;
    std::string m_strText;
    int m_nRegistrations = 0;  // not stored
};

// A record that counts its class's registrations by version.
class cCountedRegistrations : public cDataRecordOf<cCountedRegistrations> {
public:
    void RegisterFields(DWORD version) override
    {
        ++s_Registrations[version];
        ClearTables();
        AddField4(&m_nA, 1, "nA");
    }

    static inline std::map<DWORD, int> s_Registrations;
    std::int32_t m_nA = 0;
};

// A record whose version-1 files stored a value that is read and dropped.
class cDroppedValueRecord : public cDataRecordOf<cDroppedValueRecord> {
public:
    void RegisterFields(DWORD version) override
    {
        ClearTables();
        if (version < 2) AddField4(&g_nDiscardField, 1, "discarded");
        AddField4(&m_nA, 1, "nA");
    }

    std::int32_t m_nA = 0;
};

// The body of a cSampleRecord at version 692: 4 blocks, 2 strings.
cByteBuilder SampleBody(std::int32_t a, std::int16_t b, std::string_view bytes3, std::int64_t c,
                        std::string_view name, std::string_view text)
{
    cByteBuilder body;
    body.I32(4).I32(a).U16(static_cast<std::uint16_t>(b)).Bytes(bytes3);
    body.U32(static_cast<std::uint32_t>(c)).U32(static_cast<std::uint32_t>(static_cast<std::uint64_t>(c) >> 32));
    body.I32(2);
    for (std::string_view s : {name, text}) {
        body.I32(static_cast<std::int32_t>(s.size() + 1));
        if (!s.empty()) body.Bytes(s).U8(0);
    }
    return body;
}

std::string SampleFile(std::uint32_t version, const cByteBuilder& body)
{
    return cByteBuilder().U32(version).Bytes(body.Str()).Str();
}

cSampleRecord FilledSample()
{
    cSampleRecord record;
    record.m_nA = 0x11223344;
    record.m_wB = -2;
    std::memcpy(record.m_Bytes, "xyz", 3);
    record.m_llC = 0x0102030405060708LL;
    record.m_strName = "名前";
    record.m_strText = "text";
    return record;
}

}  // namespace

TEST(DataRecordFormat, EmptyRecordIsTwelveBytes)
{
    qbtest::cDataSettingsScope settings;
    cDataRecord empty;
    EXPECT_EQ(WriteImage(empty), std::string("\xB4\x02\x00\x00" "\x00\x00\x00\x00" "\x00\x00\x00\x00", 12));
}

TEST(DataRecordFormat, StringsAreLengthPlusOneThenTextAndNul)
{
    struct Case { std::string text; std::string stored; } cases[] = {
        {"abc", std::string("\x04\x00\x00\x00" "abc\x00", 8)},
        {"", std::string("\x01\x00\x00\x00", 4)},
    };
    for (const Case& c : cases) {
        cDataWriter writer;
        writer.WriteString(c.text);
        EXPECT_EQ(writer.Image().substr(4), c.stored) << c.text;
        cDataReader reader(std::string("\xB4\x02\x00\x00", 4) + c.stored);
        std::string read = "old";
        EXPECT_EQ(ReadDataString(reader, read), 1);
        EXPECT_EQ(read, c.text);
        EXPECT_EQ(reader.Remaining(), 0u);
    }
}

TEST(DataRecordFormat, BodyHoldsEachFieldsMemoryImageThenTheStrings)
{
    qbtest::cDataSettingsScope settings;
    cSampleRecord record = FilledSample();
    const std::string expected = SampleFile(692, SampleBody(0x11223344, -2, "xyz", 0x0102030405060708LL, "名前", "text"));
    EXPECT_EQ(WriteImage(record), expected);

    cSampleRecord read;
    ASSERT_EQ(ReadImage(read, expected), 1);
    EXPECT_EQ(read.m_nA, 0x11223344);
    EXPECT_EQ(read.m_wB, -2);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(read.m_Bytes), 3), "xyz");
    EXPECT_EQ(read.m_llC, 0x0102030405060708LL);
    EXPECT_EQ(read.m_strName, "名前");
    EXPECT_EQ(read.m_strText, "text");
}

TEST(DataRecordFormat, CarriageReturnsAreStrippedFromRecordStringsOnlyWhenSwitchedOn)
{
    struct Case { int strip; std::string stored; std::string read; } cases[] = {
        {1, "a\r\nb", "a\nb"},
        {0, "a\r\nb", "a\r\nb"},
        {1, "\r\r\r", ""},
        {1, "\r\ra\r", "a"},
    };
    for (const Case& c : cases) {
        qbtest::cDataSettingsScope settings(c.strip);
        cSampleRecord record;
        ASSERT_EQ(ReadImage(record, SampleFile(692, SampleBody(1, 2, "abc", 3, c.stored, "x\ry"))), 1);
        EXPECT_EQ(record.m_strName, c.read) << c.strip;
        EXPECT_EQ(record.m_strText, c.strip ? "xy" : "x\ry");
    }
}

TEST(DataRecordFormat, SingleStringsOfTailsKeepTheirCarriageReturns)
{
    qbtest::cDataSettingsScope settings(1);
    cDataReader reader(cByteBuilder().U32(692).I32(4).Bytes(std::string("a\rb\0", 4)).Str());
    std::string text;
    ASSERT_EQ(ReadDataString(reader, text), 1);
    EXPECT_EQ(text, "a\rb");
}

TEST(DataRecordFormat, AStoredNulEndsTheTextAndAnEmbeddedNulCutsTheWrittenString)
{
    qbtest::cDataSettingsScope settings(0);
    cSampleRecord read;
    cByteBuilder body;
    body.I32(0).I32(1).I32(6).Bytes(std::string("ab\0cd\0", 6));
    ASSERT_EQ(ReadImage(read, SampleFile(692, body)), 1);
    EXPECT_EQ(read.m_strName, "ab");

    cSampleRecord written;
    written.m_strName = std::string("ab\0cd", 5);
    const std::string image = WriteImage(written);
    EXPECT_NE(image.find(std::string("\x03\x00\x00\x00" "ab\x00", 7)), std::string::npos);
    EXPECT_EQ(written.m_strName, "ab");
}

TEST(DataRecordFormat, StoredBytesWithoutNulAreTakenWhole)
{
    qbtest::cDataSettingsScope settings(0);
    cSampleRecord read;
    cByteBuilder body;
    body.I32(0).I32(1).I32(3).Bytes("abc");
    ASSERT_EQ(ReadImage(read, SampleFile(692, body)), 1);
    EXPECT_EQ(read.m_strName, "abc");
}

TEST(DataRecordFormat, StringsLongerThanAnyWorkingBufferAreWrittenWholeAndReadBack)
{
    qbtest::cDataSettingsScope settings(0);
    cSampleRecord record = FilledSample();
    record.m_strText = std::string(6000, 'w') + "表";   // its trail byte is a backslash
    const std::string image = WriteImage(record);
    EXPECT_EQ(image, SampleFile(692, SampleBody(0x11223344, -2, "xyz", 0x0102030405060708LL, "名前", record.m_strText)));
    cSampleRecord read;
    ASSERT_EQ(ReadImage(read, image), 1);
    EXPECT_EQ(read.m_strText, record.m_strText);
}

TEST(DataRecordVersions, AClassRegistersItsTablesOncePerVersionWhateverItsRecordsDo)
{
    qbtest::cDataSettingsScope settings;
    for (int round = 0; round < 3; ++round) {
        for (std::uint32_t version : {692u, 150u}) {
            cSafeVector<cCountedRegistrations> records(4);
            for (cCountedRegistrations& record : records) {
                cDataReader reader(SampleFile(version, cByteBuilder().I32(1).I32(version).I32(0)));
                record.Read(reader);
                ASSERT_FALSE(reader.Failed());
                EXPECT_EQ(record.m_nA, static_cast<std::int32_t>(version));
                WriteImage(record);
                record.Clear();
            }
        }
    }
    EXPECT_EQ(cCountedRegistrations::s_Registrations, (std::map<DWORD, int>{{150, 1}, {692, 1}}));
}

TEST(DataRecordVersions, ADroppedValueGoesToTheSinkOfTheThreadThatReadsIt)
{
    qbtest::cDataSettingsScope settings;
    // Another thread reads such a file first (and builds the class's tables), then ends.
    auto readDropped = [](std::int32_t dropped, std::int32_t a) {
        cDroppedValueRecord record;
        cDataReader reader(SampleFile(1, cByteBuilder().I32(2).I32(dropped).I32(a).I32(0)));
        record.Read(reader);
        EXPECT_FALSE(reader.Failed());
        EXPECT_EQ(record.m_nA, a);
        return g_nDiscardField;
    };
    std::int32_t otherSink = 0;
    std::thread([&] { otherSink = readDropped(111, 1); }).join();
    EXPECT_EQ(otherSink, 111);
    g_nDiscardField = 0;
    EXPECT_EQ(readDropped(222, 2), 222);
}

TEST(DataRecordVersions, MembersAnOlderVersionLacksKeepTheirValuesAndDroppedOnesAreSkipped)
{
    qbtest::cDataSettingsScope settings;
    cSampleRecord record = FilledSample();
    // Version 99: no 16-bit field, and the int that only versions before 150 stored.
    cByteBuilder body;
    body.I32(4).I32(7).Bytes("abc").I32(0x5A5A5A5A).U32(9).U32(0).I32(2).I32(2).Bytes("n").U8(0).I32(1);
    ASSERT_EQ(ReadImage(record, SampleFile(99, body)), 1);
    EXPECT_EQ(record.m_nA, 7);
    EXPECT_EQ(record.m_wB, -2);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(record.m_Bytes), 3), "abc");
    EXPECT_EQ(record.m_llC, 9);
    EXPECT_EQ(record.m_strName, "n");
    EXPECT_EQ(record.m_strText, "");
    // Written back at the current version, without the dropped int.
    EXPECT_EQ(WriteImage(record), SampleFile(692, SampleBody(7, -2, "abc", 9, "n", "")));
}

TEST(DataRecordVersions, FewerBlocksAndStringsThanRegisteredLeaveTheRestAsTheyWere)
{
    qbtest::cDataSettingsScope settings;
    cSampleRecord record = FilledSample();
    cByteBuilder body;
    body.I32(1).I32(5).I32(1).I32(2).Bytes("m").U8(0);
    ASSERT_EQ(ReadImage(record, SampleFile(692, body)), 1);
    EXPECT_EQ(record.m_nA, 5);
    EXPECT_EQ(record.m_wB, -2);
    EXPECT_EQ(record.m_strName, "m");
    EXPECT_EQ(record.m_strText, "text");
}

TEST(DataRecordVersions, OpeningAFileSetsTheFileVersion)
{
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    folder.WriteFile("v.dat", SampleFile(321, cByteBuilder().I32(0).I32(0)));
    cDataReader reader;
    ASSERT_TRUE(OpenDataFileRead("v.dat", reader));
    EXPECT_EQ(reader.Version(), 321u);
}

TEST(DataRecordDamage, ReadsThatCannotBeTrustedFailAndLeaveTheRecordAsItWas)
{
    qbtest::cDataSettingsScope settings;
    struct Case { const char* what; std::string file; } cases[] = {
        {"no version word", std::string("\xB4\x02", 2)},
        {"no block count", cByteBuilder().U32(692).Str()},
        {"more blocks than fields", SampleFile(692, cByteBuilder().I32(5).Zeros(64))},
        {"negative block count", SampleFile(692, cByteBuilder().I32(-1).I32(0))},
        {"file ends inside a block", SampleFile(692, cByteBuilder().I32(4).I32(1).U16(2))},
        {"no string count", SampleFile(692, cByteBuilder().I32(0))},
        {"more strings than registered", SampleFile(692, cByteBuilder().I32(0).I32(3).I32(1).I32(1).I32(1))},
        {"negative string count", SampleFile(692, cByteBuilder().I32(0).I32(-1))},
        {"string length 0", SampleFile(692, cByteBuilder().I32(0).I32(1).I32(0))},
        {"string length -1", SampleFile(692, cByteBuilder().I32(0).I32(1).I32(-1))},
        {"string past the end", SampleFile(692, cByteBuilder().I32(0).I32(1).I32(5).Bytes("ab"))},
        {"string length huge", SampleFile(692, cByteBuilder().I32(0).I32(1).I32(0x7FFFFFFF).Bytes("ab"))},
    };
    for (const Case& c : cases) {
        cSampleRecord record = FilledSample();
        const std::string before = WriteImage(record);
        EXPECT_EQ(ReadImage(record, c.file), 0) << c.what;
        EXPECT_EQ(WriteImage(record), before) << c.what;
    }
}

TEST(DataRecordDamage, ARecordWithoutFieldsRefusesBlocksAndStrings)
{
    qbtest::cDataSettingsScope settings;
    for (const std::string& file : {SampleFile(692, cByteBuilder().I32(1).I32(7).I32(0)),
                                    SampleFile(692, cByteBuilder().I32(0).I32(1).I32(1))}) {
        cDataRecord empty;
        EXPECT_EQ(ReadImage(empty, file), 0);
    }
}

TEST(DataRecordFiles, LoadReadsAWholeFileAndReportsDamageWithTheRecordUnchanged)
{
    qbtest::cDataSettingsScope settings;
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    folder.WriteFile("data/good.dat", SampleFile(692, SampleBody(1, 2, "abc", 3, "名", "t")));
    folder.WriteFile("data/short.dat", SampleFile(692, SampleBody(1, 2, "abc", 3, "名", "t")).substr(0, 20));

    cSampleRecord record = FilledSample();
    const std::string before = WriteImage(record);
    EXPECT_EQ(record.Load(""), 0);
    EXPECT_EQ(record.Load(nullptr), 0);
    EXPECT_EQ(record.Load("data\\missing.dat"), 0);
    EXPECT_EQ(record.Load("data\\short.dat"), 0);
    EXPECT_EQ(record.Load(("data\\" + std::string(300, 'a') + ".dat").c_str()), 0);   // longer than MAX_PATH
    EXPECT_EQ(WriteImage(record), before);
    ASSERT_EQ(record.Load("DATA\\Good.dat"), 1);
    EXPECT_EQ(record.m_strName, "名");
}

TEST(DataRecordFiles, BytesAfterTheLastValueAreNotReadAndTheReportNamesTheirCount)
{
    qbtest::cDataSettingsScope settings;
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    ASSERT_TRUE(OpenReportFile("Report_Game.txt"));
    const std::string file = SampleFile(692, SampleBody(1, 2, "abc", 3, "名", "t"));
    folder.WriteFile("data/longer.dat", file + std::string(16, '\x5A'));
    folder.WriteFile("data/plain.dat", file);

    cSampleRecord longer = FilledSample();
    cSampleRecord plain = FilledSample();
    ASSERT_EQ(longer.Load("data\\longer.dat"), 1);
    ASSERT_EQ(plain.Load("data\\plain.dat"), 1);
    EXPECT_EQ(WriteImage(longer), WriteImage(plain));
    const std::string report = folder.ReadFile("Report_Game.txt");
    EXPECT_NE(report.find("data\\longer.dat : 16 bytes after the last value were not read"), std::string::npos) << report;
    EXPECT_EQ(report.find("plain.dat"), std::string::npos) << report;
}

TEST(DataRecordFiles, SaveReplacesTheFileWholeAndLeavesNoTemporaryFile)
{
    qbtest::cDataSettingsScope settings;
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    folder.WriteFile("user_data/Option.dat", "old contents");
    cSampleRecord record = FilledSample();
    ASSERT_EQ(record.Save("user_data\\Option.dat"), 1);
    EXPECT_EQ(folder.ReadFile("user_data/Option.dat"), WriteImage(record));
    EXPECT_FALSE(folder.Exists("user_data/Option.dat.tmp"));
}

TEST(DataRecordFiles, AFailedSaveReportsItAndKeepsWhatWasThere)
{
    qbtest::cDataSettingsScope settings;
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    folder.WriteFile("taken/inside.txt", "a folder stands where the file would go");
    cSampleRecord record = FilledSample();
    EXPECT_EQ(record.Save("missing_folder\\x.dat"), 0);
    EXPECT_EQ(record.Save("taken"), 0);
    EXPECT_EQ(record.Save(""), 0);
    EXPECT_EQ(record.Save(nullptr), 0);
    EXPECT_EQ(folder.ReadFile("taken/inside.txt"), "a folder stands where the file would go");
    EXPECT_FALSE(folder.Exists("taken.tmp"));
}

TEST(DataRecordCopies, AnAssignedRecordReadsAndWritesOnlyItsOwnMembers)
{
    qbtest::cDataSettingsScope settings;
    cSampleRecord source = FilledSample();
    cSampleRecord copy;
    WriteImage(source);  // the source's tables point into the source
    copy = source;
    cSampleRecord constructed(source);
    source.m_nA = 99;
    source.m_strName = "changed";
    for (cSampleRecord* record : {&copy, &constructed}) {
        EXPECT_EQ(WriteImage(*record), SampleFile(692, SampleBody(0x11223344, -2, "xyz", 0x0102030405060708LL, "名前", "text")));
        ASSERT_EQ(ReadImage(*record, SampleFile(692, SampleBody(5, 6, "abc", 7, "n", "m"))), 1);
        EXPECT_EQ(record->m_nA, 5);
    }
    EXPECT_EQ(source.m_nA, 99);
    EXPECT_EQ(source.m_strName, "changed");
}

TEST(DataRecordCopies, CopyFromTakesTheRegisteredImageOnlyAndClearEmptiesIt)
{
    qbtest::cDataSettingsScope settings;
    const cSampleRecord source = FilledSample();
    cSampleRecord target;
    target.m_nRegistrations = 1000;
    target.CopyFrom(source);
    EXPECT_EQ(WriteImage(target), WriteImage(const_cast<cSampleRecord&>(source)));
    EXPECT_GE(target.m_nRegistrations, 1000);  // not part of the image

    target.Clear();
    EXPECT_EQ(target.m_nA, 0);
    EXPECT_EQ(target.m_llC, 0);
    EXPECT_EQ(target.m_strName, "");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(target.m_Bytes), 3), std::string(3, '\0'));
}

TEST(DataRecordCopies, StripCRRemovesCarriageReturnsUpToTheFirstNul)
{
    cSampleRecord record;
    record.m_strName = "a\rb\r";
    record.m_strText = std::string("\rx\0\ry", 5);
    record.StripCR();
    EXPECT_EQ(record.m_strName, "ab");
    EXPECT_EQ(record.m_strText, std::string("x\0\ry", 4));
}
