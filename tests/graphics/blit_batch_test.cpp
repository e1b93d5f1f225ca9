// The sprite batch: overlapping sprites drawn in the order the batch gives (unregistered
// sources first in issue order, then registered surfaces in registration order), runs, a
// begin that discards, and the debug text drawn through it.
#include "tests/graphics/graphics_fixture.h"

#include "graphics/blit.h"
#include "graphics/debug_text.h"
#include "graphics/fill.h"
#include "graphics/sprite_batch.h"
#include "tests/graphics/blit_reference.h"

namespace {

using qbtest::cImage;
using BlitBatchTest = qbtest::cGraphicsTest;

// Solid 4 × 4 pictures of one colour each, and a 16 × 16 render target.
class cBatch : public BlitBatchTest {
protected:
    void SetUp() override
    {
        BlitBatchTest::SetUp();
        ASSERT_TRUE(Init({TRUE, 32, 1}));
        DDSetTransmit(0xFF, 0x00, 0xFF);
        for (int i = 0; i < 3; ++i) {
            const std::string name = "p" + std::to_string(i) + ".bmp";
            Write(name.c_str(), qbtest::BuildBmp24(4, 4, std::vector<std::uint32_t>(16, kColors[i])));
            ClearSurfaceData(&m_Pictures[i]);
            ASSERT_EQ(DDCreateSurfaceFromFile(&m_Pictures[i], name.c_str(), TRUE, 32, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
        }
        ClearSurfaceData(&m_Target);
        ASSERT_TRUE(DDCreateSurface(&m_Target, 16, 16, FALSE, 0, 0, nullptr, FALSE));
        WriteImage(&m_Target, qbtest::Pattern(16, 16, 0));
    }
    void TearDown() override
    {
        for (DDSURFACEDATA& p : m_Pictures) DDReleaseSurface(&p);
        DDReleaseSurface(&m_Target);
        BlitBatchTest::TearDown();
    }
    // The colour left at (1, 1), where every sprite below overlaps.
    std::uint32_t Top() { return qbtest::ReadImage(&m_Target).At(1, 1) & 0xFFFFFF; }
    void Sprite(int picture, int offset) { DDBltFast(&m_Target, offset, offset, 4, 4, &m_Pictures[picture], 0, 0, 1); }

    static constexpr std::uint32_t kColors[3] = {0x102030, 0x405060, 0x708090};
    DDSURFACEDATA m_Pictures[3], m_Target;
};

TEST_F(cBatch, UnregisteredSourcesComeFirstThenRegisteredSurfacesInRegistrationOrder)
{
    struct Step { int picture; int offset; };
    struct Case {
        const char* what;
        BOOL group;
        std::vector<int> registered;
        std::vector<Step> issued;
        std::uint32_t top;
    } cases[] = {
        {"no grouping: issue order", FALSE, {}, {{2, 0}, {0, 1}, {1, 0}}, kColors[1]},
        {"grouped: the registered surface drawn last", TRUE, {0}, {{0, 0}, {1, 1}, {2, 0}}, kColors[0]},
        {"grouped: registration order, not issue order", TRUE, {2, 1}, {{1, 0}, {2, 1}, {1, 0}}, kColors[1]},
        {"grouped: issue order within a surface", TRUE, {0, 1}, {{1, 0}, {0, 0}, {0, 1}}, kColors[1]},
        {"registering twice keeps the first place", TRUE, {1, 0, 1}, {{0, 0}, {1, 1}}, kColors[0]},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteImage(&m_Target, qbtest::Pattern(16, 16, 0));
        DDBeginSpriteBatch(c.group);
        for (int r : c.registered) DDAddBatchSurface(&m_Pictures[r]);
        for (const Step& s : c.issued) Sprite(s.picture, s.offset);
        // Nothing is drawn before the end.
        EXPECT_EQ(qbtest::ReadImage(&m_Target), qbtest::Pattern(16, 16, 0));
        DDEndSpriteBatch();
        EXPECT_EQ(Top(), c.top);
        EXPECT_FALSE(g_SpriteBatch.bActive);
    }
}

TEST_F(cBatch, BatchedBlitsDrawTheSamePixelsAsSingleOnes)
{
    // Runs of one source, a change of draw colour and of flags, and a second target.
    auto draw = [&] {
        Sprite(0, 0);
        Sprite(0, 5);
        DDSetDrawColor(0x80FF8040);
        Sprite(0, 9);
        DDResetDrawColor();
        DDBltFast(&m_Target, 11, 2, 4, 4, &m_Pictures[1], 0, 0, 0);
        DDBlt(&m_Target, 2, 10, 8, 6, &m_Pictures[2], 0, 0, 4, 4, 1);
        DDBltFast(&g_BackBuffer, 3, 3, 4, 4, &m_Pictures[2], 0, 0, 1);
    };
    draw();
    const cImage single = qbtest::ReadImage(&m_Target);
    const cImage singleBack = qbtest::ReadImage(&g_BackBuffer);
    WriteImage(&m_Target, qbtest::Pattern(16, 16, 0));
    DDFillSurface(&g_BackBuffer, 0xFF000000);
    DDBeginSpriteBatch(FALSE);
    draw();
    DDEndSpriteBatch();
    EXPECT_EQ(qbtest::ReadImage(&m_Target), single);
    EXPECT_EQ(qbtest::ReadImage(&g_BackBuffer), singleBack);
}

TEST_F(cBatch, ABatchBegunTwiceDrawsOnlyWhatFollowedTheSecondBegin)
{
    DDBeginSpriteBatch(TRUE);
    DDAddBatchSurface(&m_Pictures[0]);
    Sprite(0, 0);
    DDBeginSpriteBatch(FALSE);
    Sprite(1, 8);
    EXPECT_TRUE(g_SpriteBatch.surfaces.empty());
    DDEndSpriteBatch();
    const cImage after = qbtest::ReadImage(&m_Target);
    EXPECT_EQ(after.At(1, 1), qbtest::Pattern(16, 16, 0).At(1, 1));
    EXPECT_EQ(after.At(9, 9) & 0xFFFFFF, kColors[1]);
}

TEST_F(cBatch, BatchesLeftOpenEndWithTheDevice)
{
    DDBeginSpriteBatch(TRUE);
    DDAddBatchSurface(&m_Pictures[0]);
    Sprite(0, 0);
    DDBeginFillBatch();
    DDFillRect(&m_Target, 0, 0, 4, 4, 0x80FFFFFF);
    DDUninit();
    EXPECT_FALSE(g_SpriteBatch.bActive);
    EXPECT_TRUE(g_SpriteBatch.records.empty());
    EXPECT_TRUE(g_SpriteBatch.surfaces.empty());
    EXPECT_FALSE(g_FillBatch.bActive);
    EXPECT_TRUE(g_FillBatch.records.empty());
    // The next device draws at once.
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    DDSURFACEDATA target;
    ClearSurfaceData(&target);
    ASSERT_TRUE(DDCreateSurface(&target, 4, 4, FALSE, 0, 0, nullptr, FALSE));
    DDFillRect(&target, 0, 0, 4, 4, 0xFF123456);
    EXPECT_EQ(qbtest::ReadImage(&target).At(3, 3), 0xFF123456u);
    DDReleaseSurface(&target);
}

TEST_F(cBatch, AFailedVertexBufferDropsTheRunWithALine)
{
    DDBeginSpriteBatch(FALSE);
    Sprite(0, 0);
    plat::FailDeviceCall("IDirect3DDevice9::CreateVertexBuffer");
    DDEndSpriteBatch();
    EXPECT_EQ(qbtest::ReadImage(&m_Target), qbtest::Pattern(16, 16, 0));
    EXPECT_NE(EcLogText().find("CreateVertexBuffer Err"), std::string::npos);
}

TEST_F(cBatch, DebugTextStepsByCellsAndStartsNewLinesAtItsX)
{
    // A glyph sheet of 16 × 16 cells of 8 × 16 pixels: cell (c % 16, c / 16) holds colour c + 1.
    std::vector<std::uint32_t> sheet(128 * 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 128; ++x) sheet[static_cast<std::size_t>(y) * 128 + x] = static_cast<std::uint32_t>((y / 16) * 16 + x / 8 + 1);
    Write("glyphs.bmp", qbtest::BuildBmp24(128, 256, sheet));
    DDSURFACEDATA glyphs;
    ClearSurfaceData(&glyphs);
    ASSERT_EQ(DDCreateSurfaceFromFile(&glyphs, "glyphs.bmp", TRUE, 32, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
    DDFillSurface(&g_BackBuffer, 0xFF000000);
    DDPrintDebugText(&g_BackBuffer, 495, 16, 8, 16, &glyphs, "%s%d\n%c", "FPS-Ave", 60, static_cast<char>(0xB1));
    const cImage back = qbtest::ReadImage(&g_BackBuffer);
    const std::string first = "FPS-Ave60";  // nine characters: x = 495 to 566
    for (std::size_t i = 0; i < first.size(); ++i) {
        const int c = static_cast<unsigned char>(first[i]);
        EXPECT_EQ(back.At(495 + 8 * static_cast<int>(i), 16) & 0xFFFFFF, static_cast<std::uint32_t>(c + 1)) << i;
        EXPECT_EQ(back.At(495 + 8 * static_cast<int>(i) + 7, 31) & 0xFFFFFF, static_cast<std::uint32_t>(c + 1)) << i;
    }
    EXPECT_EQ(back.At(567, 16) & 0xFFFFFF, 0u);
    // 0xB1 (half-width katakana) comes from row 11 − 10 = 1, at x again on the next line.
    EXPECT_EQ(back.At(495, 32) & 0xFFFFFF, static_cast<std::uint32_t>(1 * 16 + 1 + 1));
    EXPECT_FALSE(g_SpriteBatch.bActive);
    DDReleaseSurface(&glyphs);
}

}  // namespace
