#include <gtest/gtest.h>

#include <vector>

#include "play/scroll_axis.h"

namespace {

// The horizontal axis of a stage `blocks` wide whose whole extent is (blocks + 20) * 32.
cScrollAxis Horizontal(int blocks)
{
    cScrollAxis axis;
    axis.SetUp(0, blocks, (blocks + 20) * 32 - 640);
    axis.SetLimit(0, 0, 0, 0);
    return axis;
}

}  // namespace

TEST(ScrollAxis, SetUpGivesTheGridShapeAndTheStageEdges)
{
    struct Case { int axis; int blocks; int shift; int pitch; int size; int baseMax; int screen; } cases[] = {
        {0, 40, 6, 64, 60, 1600, 640},    // bit length of 59
        {0, 44, 6, 64, 64, 1728, 640},    // 63: still 6 bits
        {0, 45, 7, 128, 65, 1760, 640},   // 64 needs 7
        {1, 20, 0, 40, 40, 960, 480},     // vertical: pitch is the row count
    };
    for (const auto& c : cases) {
        cScrollAxis axis;
        axis.SetUp(c.axis, c.blocks, 1000);
        EXPECT_EQ(axis.m_nShift, c.shift) << c.blocks;
        EXPECT_EQ(axis.m_nPitch, c.pitch) << c.blocks;
        EXPECT_EQ(axis.m_nSize, c.size) << c.blocks;
        EXPECT_EQ(axis.m_nBaseMin, 320) << c.blocks;
        EXPECT_EQ(axis.m_nBaseMax, c.baseMax) << c.blocks;
        EXPECT_EQ(axis.m_nScreenSize, c.screen) << c.blocks;
        EXPECT_EQ(axis.m_nExtent, 1640) << c.blocks;
        EXPECT_EQ(axis.m_nMargin, 10) << c.blocks;
    }
}

TEST(ScrollAxis, ClampKeepsThePositionBetweenTheLimits)
{
    // Limits [320, 1600): the position may be 320 .. 960.
    struct Case { double position; double expected; int clamped; } cases[] = {
        {319.5, 320, 1}, {320, 320, 0}, {959.5, 959.5, 0},
        {960, 960, 1},     // position + screen == maximum: stays, but counts as clamped
        {960.25, 960, 1}, {5000, 960, 1},
    };
    for (const auto& c : cases) {
        cScrollAxis axis = Horizontal(40);
        axis.m_dPos = c.position;
        axis.Clamp();
        EXPECT_EQ(axis.m_dPos, c.expected) << c.position;
        EXPECT_EQ(axis.m_bClamped, c.clamped) << c.position;
    }
}

TEST(ScrollAxis, NarrowStagesAndCrossedLimitsHoldThePositionAtTheMinimum)
{
    cScrollAxis narrow = Horizontal(15);   // maximum 800: 800 - 640 < 320
    narrow.m_dPos = 500;
    narrow.Clamp();
    EXPECT_EQ(narrow.m_dPos, 320);
    EXPECT_EQ(narrow.m_bClamped, 1);

    struct Case { int from; int to; int useFrom; int useTo; int min; int max; } cases[] = {
        {2, 29, 1, 1, 384, 1280},
        {10, 5, 1, 1, 640, 640},     // to < from: the maximum is raised to the minimum
        {10, 5, 0, 1, 320, 512},
        {10, 5, 1, 0, 640, 1600},
        {10, 5, 0, 0, 320, 1600},
    };
    for (const auto& c : cases) {
        cScrollAxis axis = Horizontal(40);
        axis.SetLimit(c.from, c.to, c.useFrom, c.useTo);
        EXPECT_EQ(axis.m_nMin, c.min) << c.from << ".." << c.to;
        EXPECT_EQ(axis.m_nMax, c.max) << c.from << ".." << c.to;
        for (double position : {0.0, 700.0, 3000.0}) {
            axis.m_dPos = position;
            axis.Clamp();
            EXPECT_GE(axis.m_dPos, c.min) << position;
        }
    }
}

TEST(ScrollAxis, AutoScrollSpeedIsTenthsOfAPixelPerFrameSharedBySubSteps)
{
    cScrollAxis axis = Horizontal(40);
    axis.SetAutoScroll(1, 10, 4.0);
    EXPECT_EQ(axis.m_dSpeed, 0.25);
    EXPECT_EQ(axis.m_bAuto, 1);
    axis.m_dPos = 400;
    for (int step = 0; step < 4; ++step) axis.Advance();
    EXPECT_EQ(axis.m_dPos, 401);    // one pixel per frame

    axis.SetAutoScroll(0, 10, 4.0);
    EXPECT_EQ(axis.m_dSpeed, 0.0);
    EXPECT_EQ(axis.m_bAuto, 0);
    axis.SetAutoScroll(1, -20, 2.0);
    EXPECT_EQ(axis.m_dSpeed, -1.0);
}

TEST(ScrollAxis, AutoScrollRunsIntoTheLimitAndStopsCarrying)
{
    cScrollAxis axis = Horizontal(40);
    axis.SetAutoScroll(1, 25, 4.0);    // 0.625 pixels per sub-step
    axis.m_dPos = 958;
    axis.Clamp();
    std::vector<double> positions;
    std::vector<double> carried;
    for (int step = 0; step < 6; ++step) {
        axis.Advance();
        positions.push_back(axis.m_dPos);
        carried.push_back(axis.CarrySpeed());
    }
    EXPECT_EQ(positions, (std::vector<double>{958.625, 959.25, 959.875, 960, 960, 960}));
    // From the fourth sub-step the axis is held at its limit: objects no longer follow it.
    EXPECT_EQ(carried, (std::vector<double>{0.625, 0.625, 0.625, 0, 0, 0}));
}
