#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "data/move_part.h"
#include "data/shot_part.h"
#include "tests/data/flow_file_builder.h"
#include "tests/data/record_test_support.h"

using namespace qbtest;

namespace {

// A distinct value for every block: its number plus 100 (block 31 of the move, the double,
// gets a signalling NaN with a payload, so that its bytes must travel unchanged).
std::uint64_t DistinctMoveValue(int block)
{
    return block == 31 ? 0x7FF4000000001234ULL : static_cast<std::uint64_t>(block + 100);
}

// Shot blocks whose value must stay valid: the size (at least 1) and the Effect entry.
std::uint64_t DistinctShotValue(int block)
{
    return static_cast<std::uint64_t>(block + 10);
}

}  // namespace

TEST(MovePart, ACurrentBodyWithADistinctValueInEveryBlockWritesBackByteIdentical)
{
    const std::string image = FileImage(kDataVersion, PartBody(MoveLayout(), kDataVersion, DistinctMoveValue));
    ASSERT_EQ(image.size(), 4u + 4u + 52u + 4u);
    cEdMove move;
    ASSERT_EQ(ReadImage(move, image), 1);
    EXPECT_EQ(move.m_nMode, 101);
    EXPECT_EQ(move.m_bMirrorAngle, 105);
    EXPECT_EQ(move.m_nSpeed, 122);
    EXPECT_EQ(move.m_nDistanceUnit, 126);
    EXPECT_EQ(DoubleBits(move.m_dTurnFactor), 0x7FF4000000001234ULL);
    EXPECT_EQ(move.m_bKeepAnime, 132);
    EXPECT_EQ(WriteImage(move), image);

    // A copy carries the double's bytes as they are.
    cEdMove copy;
    copy = move;
    EXPECT_EQ(DoubleBits(copy.m_dTurnFactor), 0x7FF4000000001234ULL);
    EXPECT_EQ(WriteImage(copy), image);
}

TEST(MovePart, BlocksAnOlderBodyLacksReadAsZeroNotAsTheDefaults)
{
    const cEdMove fresh;
    EXPECT_EQ(fresh.m_bMirrorAngle, 1);
    EXPECT_EQ(fresh.m_nSpeed, 10);
    EXPECT_EQ(fresh.m_dTurnFactor, 1.0);

    struct Case { int version; std::size_t blocks; int mirror; int keepFacing; int unit; int keepAnime; } cases[] = {
        {157, 28, 0, 0, 0, 0},
        {158, 29, 105, 0, 0, 0},
        {159, 30, 105, 0, 126, 0},
        {161, 30, 105, 0, 126, 0},
        {162, 32, 105, 120, 126, 132},
    };
    for (const auto& c : cases) {
        const std::vector<FLOWBLOCK> blocks = LayoutBlocks(MoveLayout(), c.version, DistinctMoveValue);
        EXPECT_EQ(blocks.size(), c.blocks) << c.version;
        cByteBuilder body;
        AppendBody(body, blocks);
        cEdMove move;
        ASSERT_EQ(ReadImage(move, FileImage(c.version, body.Str())), 1) << c.version;
        EXPECT_EQ(move.m_bMirrorAngle, c.mirror) << c.version;
        EXPECT_EQ(move.m_bKeepFacing, c.keepFacing) << c.version;
        EXPECT_EQ(move.m_nDistanceUnit, c.unit) << c.version;
        EXPECT_EQ(move.m_bKeepAnime, c.keepAnime) << c.version;
        // The blocks after a missing one still land in their members.
        EXPECT_EQ(move.m_nTimeMode, 121) << c.version;
        EXPECT_EQ(move.m_nRadius, 127) << c.version;
    }
}

TEST(MovePart, CreateReplacesThePartWithOneAtTheDefaults)
{
    std::shared_ptr<cEdMove> part = std::make_shared<cEdMove>();
    part->m_nSpeed = 77;
    std::shared_ptr<cEdMove> held = part;
    cEdMove::Create(part);
    EXPECT_NE(part, held);
    EXPECT_EQ(part->m_nSpeed, 10);
    EXPECT_EQ(held->m_nSpeed, 77);
}

TEST(ShotPart, ACurrentBodyWithADistinctValueInEveryBlockWritesBackByteIdentical)
{
    cDatabaseSizesScope databases;
    databases.Set(DATABASE_EFFECT, 100);
    const std::string image = FileImage(kDataVersion, PartBody(ShotLayout(), kDataVersion, DistinctShotValue));
    ASSERT_EQ(image.size(), 4u + 4u + 93u + 4u);
    cEdShot shot;
    ASSERT_EQ(ReadImage(shot, image), 1);
    EXPECT_EQ(shot.m_nFormationParams[2], 15);
    EXPECT_EQ(shot.m_nFormationTarget, 14);
    EXPECT_EQ(shot.m_nSize, 35);
    EXPECT_EQ(shot.m_nTrajectoryParams[0], 38);
    EXPECT_EQ(shot.m_nRange, 45);          // block 35, declared after block 36
    EXPECT_EQ(shot.m_bRangeLimit, 46);
    EXPECT_EQ(shot.m_nPower, 57);
    EXPECT_EQ(shot.m_nEffect, 60);
    EXPECT_EQ(shot.m_nShotSetting54, 64);  // blocks 54, 55 come before 56..58 in the file
    EXPECT_EQ(shot.m_nShotSetting55, 65);
    EXPECT_EQ(shot.m_nSummonPalette, 66);
    EXPECT_EQ(shot.m_nSummonIndex, 67);
    EXPECT_EQ(shot.m_bSummonReversed, 70);
    EXPECT_EQ(WriteImage(shot), image);
}

TEST(ShotPart, UpgradesOfOlderBodiesRunInOrder)
{
    cDatabaseSizesScope databases;
    databases.Set(DATABASE_EFFECT, 100);
    struct Case {
        int version;
        int trajectory;
        int mirror;       // block 9
        int scrollFollow; // block 29
        int accelerate;   // block 32
        int pierceBlock;  // block 44
        int setting55;    // block 55
        int target;       // block 4
    } cases[] = {
        {157, 6, 0, 1, 0, 53, 64, 0},
        {196, 6, 19, 1, 0, 53, 64, 0},    // 55 copies 54
        {197, 8, 19, 0, 0, 53, 65, 0},
        {210, 6, 19, 1, 0, 53, 65, 0},
        {211, 8, 19, 0, 0, 53, 65, 0},    // stored, but set from the trajectory
        {212, 6, 19, 39, 0, 53, 65, 0},
        {213, 6, 19, 39, 42, 53, 65, 0},
        {635, 6, 19, 39, 42, 53, 65, 0},  // 44 copies 43
        {636, 6, 19, 39, 42, 54, 65, 0},
        {670, 6, 19, 39, 42, 54, 65, 0},
        {671, 6, 19, 39, 42, 54, 65, 14},
    };
    for (const auto& c : cases) {
        auto value = [&](int block) -> std::uint64_t {
            return block == 27 ? static_cast<std::uint64_t>(c.trajectory) : static_cast<std::uint64_t>(block + 10);
        };
        cEdShot shot;
        ASSERT_EQ(ReadImage(shot, FileImage(c.version, PartBody(ShotLayout(), c.version, value))), 1) << c.version;
        EXPECT_EQ(shot.m_bMirrorAngle, c.mirror) << c.version;
        EXPECT_EQ(shot.m_bScrollFollow, c.scrollFollow) << c.version;
        EXPECT_EQ(shot.m_bAccelerate, c.accelerate) << c.version;
        EXPECT_EQ(shot.m_nAcceleration, c.accelerate ? 43 : 0) << c.version;
        EXPECT_EQ(shot.m_bPierceBlockCharas, c.pierceBlock) << c.version;
        EXPECT_EQ(shot.m_nShotSetting55, c.setting55) << c.version;
        EXPECT_EQ(shot.m_nFormationTarget, c.target) << c.version;
        EXPECT_EQ(shot.m_bSummonReversed, 70) << c.version;
    }
}

TEST(ShotPart, ValidateHoldsTheSizeAndTheEffectEntry)
{
    cDatabaseSizesScope databases;
    databases.Set(DATABASE_EFFECT, 5);
    struct Case { std::uint64_t size; int sizeAfter; std::uint64_t effect; int effectAfter; } cases[] = {
        {0, 1, 4, 4},
        {253, 1, 5, 0},       // -3 as a signed byte; the entry equal to the count
        {0x80, 1, 0xFFFF, 0}, // -128; a negative entry
        {7, 7, 6, 0},
    };
    for (const auto& c : cases) {
        auto value = [&](int block) -> std::uint64_t {
            if (block == 25) return c.size;
            if (block == 50) return c.effect;
            return 0;
        };
        cEdShot shot;
        ASSERT_EQ(ReadImage(shot, FileImage(kDataVersion, PartBody(ShotLayout(), kDataVersion, value))), 1);
        EXPECT_EQ(shot.m_nSize, c.sizeAfter) << c.size;
        EXPECT_EQ(shot.m_nEffect, c.effectAfter) << c.effect;
    }
    // Writing validates too.
    cEdShot shot;
    shot.m_nSize = -1;
    shot.m_nEffect = 9;
    WriteImage(shot);
    EXPECT_EQ(shot.m_nSize, 1);
    EXPECT_EQ(shot.m_nEffect, 0);
}

TEST(ShotPart, OneByteBlocksReadUnsignedExceptTheSize)
{
    cDatabaseSizesScope databases;
    databases.Set(DATABASE_EFFECT, 100);
    // Every one-byte block at 128 + its number, the wider ones at 0.
    auto value = [](int block) -> std::uint64_t {
        for (const LAYOUTROW& row : ShotLayout())
            if (row.block == block) return row.width == 1 ? static_cast<std::uint64_t>(128 + block) : 0;
        return 0;
    };
    cEdShot shot;
    ASSERT_EQ(ReadImage(shot, FileImage(kDataVersion, PartBody(ShotLayout(), kDataVersion, value))), 1);
    struct Case { int block; int (*read)(const cEdShot&); } cases[] = {
        {1, [](const cEdShot& s) -> int { return s.m_nFormationCount; }},
        {2, [](const cEdShot& s) -> int { return s.m_nFormation; }},
        {5, [](const cEdShot& s) -> int { return s.m_nDirection; }},
        {12, [](const cEdShot& s) -> int { return s.m_nRepeat; }},
        {20, [](const cEdShot& s) -> int { return s.m_nDrawLayer; }},
        {23, [](const cEdShot& s) -> int { return s.m_nForce; }},
        {27, [](const cEdShot& s) -> int { return s.m_nTrajectory; }},
        {42, [](const cEdShot& s) -> int { return s.m_nPassBlocks; }},
        {49, [](const cEdShot& s) -> int { return s.m_nShotSetting49; }},
        {51, [](const cEdShot& s) -> int { return s.m_nItemSource; }},
        {53, [](const cEdShot& s) -> int { return s.m_nBlockSummonMode; }},
        {56, [](const cEdShot& s) -> int { return s.m_nSummonPalette; }},
        {58, [](const cEdShot& s) -> int { return s.m_nForceRule; }},
        {60, [](const cEdShot& s) -> int { return s.m_bSummonReversed; }},
    };
    for (const Case& c : cases) EXPECT_EQ(c.read(shot), 128 + c.block) << "block " << c.block;
    // 153 is -103 as the signed size: 0 or less, so 1.
    EXPECT_EQ(shot.m_nSize, 1);
}

TEST(ShotPart, OffsetsStepPerShotAndMirrorForARightFacingChara)
{
    cEdShot shot;
    shot.m_nOffsetX = 8;
    shot.m_nOffsetXStep = 16;
    shot.m_bMirrorOffsetX = 1;
    shot.m_nOffsetY = -3;
    shot.m_nOffsetYStep = 2;
    shot.m_bMirrorOffsetY = 0;
    EXPECT_EQ(shot.OffsetX(2, 0), 40);
    EXPECT_EQ(shot.OffsetX(2, 1), -40);
    EXPECT_EQ(shot.OffsetY(2, 1), 1);
    shot.m_bMirrorOffsetX = 0;
    EXPECT_EQ(shot.OffsetX(2, 1), 40);
}

TEST(ShotPart, DefaultsOfANewPart)
{
    const cEdShot shot;
    EXPECT_EQ(shot.m_bMirrorAngle, 1);
    EXPECT_EQ(shot.m_bMirrorOffsetX, 1);
    EXPECT_EQ(shot.m_bOwnersForce, 1);
    EXPECT_EQ(shot.m_nSize, 1);
    EXPECT_EQ(shot.m_nFormation, 0);
}
