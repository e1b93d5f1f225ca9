// The BGM record count that System data clamps its screen BGM numbers to.
#include <gtest/gtest.h>

#include "data/bgm_record_count.h"
#include "tests/data/record_test_support.h"
#include "tests/support/byte_builder.h"
#include "tests/support/temp_folder.h"

using qbtest::cByteBuilder;

TEST(BgmRecordCount, IsTheSecondWordOfTheBgmDatabaseWhenTheFileCanHoldThatManyEntries)
{
    qbtest::cDataSettingsScope settings(1, 2);
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    cByteBuilder entry;  // an entry of version 692: the added int, then name and file name
    entry.I32(1).I32(0).I32(2).I32(2).Bytes("a").U8(0).I32(1);
    struct Case { const char* what; std::string file; bool read; DWORD count; } cases[] = {
        {"three entries", cByteBuilder().U32(692).U32(3).Bytes(entry.Str()).Bytes(entry.Str()).Bytes(entry.Str()).Str(), true, 3},
        {"no entries", cByteBuilder().U32(692).U32(0).Str(), true, 0},
        {"no count", cByteBuilder().U32(692).Str(), false, 2},
        {"more entries than bytes", cByteBuilder().U32(692).U32(0x7FFFFFFF).Bytes(entry.Str()).Str(), false, 2},
        {"count -1", cByteBuilder().U32(692).U32(0xFFFFFFFF).Bytes(entry.Str()).Str(), false, 2},
    };
    for (const Case& c : cases) {
        SetBgmRecordCount(2);
        folder.WriteFile("data/database/Bgm.dat", c.file);
        EXPECT_EQ(LoadBgmRecordCount("data\\database\\Bgm.dat"), c.read) << c.what;
        EXPECT_EQ(GetBgmRecordCount(), c.count) << c.what;
    }
    EXPECT_FALSE(LoadBgmRecordCount("data\\database\\Missing.dat"));
}
