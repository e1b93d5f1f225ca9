#include "data/boot_data.h"
#include "tools/lib/data_file_kinds.h"
#include "data/window_data.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/os/files.h"
#include "platform/ui/window.h"
#include "tests/support/byte_builder.h"
#include "tests/support/temp_folder.h"

namespace {

class BootWindowData : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Folder.ChangeInto();
        std::filesystem::create_directories(m_Folder.Path() / "user_data");
        plat::FlushPathCache();
    }
    void Put(const char* name, const std::string& bytes)
    {
        m_Folder.WriteFile(std::string("user_data/") + name, bytes);
        plat::FlushPathCache();
    }
    std::string Get(const char* name) { return m_Folder.ReadFile(std::string("user_data/") + name); }

    qbtest::cTempFolder m_Folder;
};

qbtest::cByteBuilder BootFile(DWORD version, int mode, int doNotAsk)
{
    qbtest::cByteBuilder b;
    b.U32(version).U32(2).I32(mode).I32(doNotAsk).U32(0);
    return b;
}

qbtest::cByteBuilder WindowFile(int x, int y, int width, int height, int maximized)
{
    qbtest::cByteBuilder b;
    b.U32(692).U32(5).I32(x).I32(y).I32(width).I32(height).I32(maximized).U32(0);
    return b;
}

// The client size of a maximised window: the work area less a caption.
SIZE DesktopLimit()
{
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return SIZE{work.right - work.left, work.bottom - work.top - GetSystemMetrics(SM_CYCAPTION)};
}

}  // namespace

TEST_F(BootWindowData, BootRecordStartsWithDirect3DAndTheDialog)
{
    const cBootData boot;
    EXPECT_EQ(boot.m_nDrawingMode, 1);
    EXPECT_EQ(boot.m_bDoNotAsk, 0);
}

TEST_F(BootWindowData, BootDatIsTheVersionTwoFieldsAndNoStrings)
{
    cBootData boot;
    boot.m_nDrawingMode = 0;
    boot.m_bDoNotAsk = 1;
    ASSERT_EQ(boot.Save("user_data\\Boot.dat"), 1);
    EXPECT_EQ(Get("Boot.dat"), BootFile(692, 0, 1).Str());

    for (DWORD version : {100u, 692u, 900u}) {
        Put("Boot.dat", BootFile(version, 7, -3).Str());
        cBootData read;
        ASSERT_EQ(read.Load("user_data\\Boot.dat"), 1) << version;
        EXPECT_EQ(read.m_nDrawingMode, 7) << version;
        EXPECT_EQ(read.m_bDoNotAsk, -3) << version;
    }
}

TEST_F(BootWindowData, AMissingOrShortBootDatLeavesTheRecord)
{
    cBootData boot;
    EXPECT_EQ(boot.Load("user_data\\Boot.dat"), 0);
    const std::string whole = BootFile(692, 0, 1).Str();
    for (std::size_t size : {0u, 4u, 10u, 16u}) {
        Put("Boot.dat", whole.substr(0, size));
        EXPECT_EQ(boot.Load("user_data\\Boot.dat"), 0) << size;
        EXPECT_EQ(boot.m_nDrawingMode, 1) << size;
        EXPECT_EQ(boot.m_bDoNotAsk, 0) << size;
    }
}

TEST_F(BootWindowData, WindowDatIsTheVersionFiveFieldsAndNoStrings)
{
    cWindowData window;
    EXPECT_EQ(window.m_nX + window.m_nY + window.m_nWidth + window.m_nHeight + window.m_bMaximized, 0);
    window.Set(120, 80, 640, 480, 1);
    ASSERT_EQ(window.Save("user_data\\Window.dat"), 1);
    EXPECT_EQ(Get("Window.dat"), WindowFile(120, 80, 640, 480, 1).Str());

    cWindowData read;
    ASSERT_EQ(read.Load("user_data\\Window.dat"), 1);
    EXPECT_EQ(read.m_nX, 120);
    EXPECT_EQ(read.m_nY, 80);
    EXPECT_EQ(read.m_nWidth, 640);
    EXPECT_EQ(read.m_nHeight, 480);
    EXPECT_EQ(read.m_bMaximized, 1);
}

TEST_F(BootWindowData, APlacementOutsideTheDesktopIsClampedToIt)
{
    const SIZE limit = DesktopLimit();
    ASSERT_GT(limit.cx, 0);
    ASSERT_GT(limit.cy, 0);
    struct Case { int x, y, width, height; int keptX, keptY, keptWidth, keptHeight; } cases[] = {
        {-50, 99999, 640, 480, 0, limit.cy, 640, 480},
        {99999, -1, 800, 600, limit.cx, 0, 800, 600},
        {limit.cx, limit.cy, limit.cx, limit.cy, limit.cx, limit.cy, limit.cx, limit.cy},
        {10, 20, -640, -2147483647 - 1, 10, 20, 0, 0},
        {10, 20, 2147483647, limit.cy + 1, 10, 20, limit.cx, limit.cy},
        {-2147483647 - 1, 2147483647, 1, 1, 0, limit.cy, 1, 1},
    };
    for (const auto& c : cases) {
        Put("Window.dat", WindowFile(c.x, c.y, c.width, c.height, 5).Str());
        cWindowData read;
        ASSERT_EQ(read.Load("user_data\\Window.dat"), 1);
        EXPECT_EQ(read.m_nX, c.keptX) << c.x;
        EXPECT_EQ(read.m_nY, c.keptY) << c.y;
        EXPECT_EQ(read.m_nWidth, c.keptWidth) << c.width;
        EXPECT_EQ(read.m_nHeight, c.keptHeight) << c.height;
        EXPECT_EQ(read.m_bMaximized, 5);   // not a position: kept as written
    }
}

TEST_F(BootWindowData, AShortWindowDatLeavesTheRecord)
{
    const std::string whole = WindowFile(300, 200, 640, 480, 1).Str();
    for (std::size_t size : {0u, 3u, 8u, 20u, 27u, 28u}) {
        Put("Window.dat", whole.substr(0, size));
        cWindowData window;
        window.Set(1, 2, 3, 4, 0);
        EXPECT_EQ(window.Load("user_data\\Window.dat"), 0) << size;
        EXPECT_EQ(window.m_nX, 1) << size;
        EXPECT_EQ(window.m_nHeight, 4) << size;
    }
}

TEST(BootWindowKinds, TheDataToolReadsWritesAndListsBothFiles)
{
    struct Case { const char* kind; std::string image; const char* listing; } cases[] = {
        {"boot", BootFile(692, 0, 1).Str(), "m_nDrawingMode = 0\nm_bDoNotAsk = 1\n"},
        {"window", WindowFile(10, 20, 640, 480, 1).Str(),
         "m_nX = 10\nm_nY = 20\nm_nWidth = 640\nm_nHeight = 480\nm_bMaximized = 1\n"},
    };
    for (const auto& c : cases) {
        const DATAFILEKIND* kind = FindDataFileKind(c.kind);
        ASSERT_NE(kind, nullptr) << c.kind;
        EXPECT_EQ(kind->checks, DATACHECK_NONE) << c.kind;
        std::unique_ptr<cDataFile> file = kind->create();
        cDataReader reader(c.image);
        ASSERT_TRUE(file->ReadFrom(reader)) << c.kind;
        cDataWriter writer;
        file->WriteTo(writer);
        EXPECT_EQ(writer.Image(), c.image) << c.kind;
        std::string listing;
        file->Dump(listing);
        EXPECT_EQ(listing, c.listing) << c.kind;
    }
}
