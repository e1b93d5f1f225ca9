#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "objects/frame_animator.h"
#include "shell/log.h"
#include "tests/support/temp_folder.h"

namespace {

// Frames returned by n ticks.
std::vector<int> TickFrames(cFrameAnimator& animator, int n)
{
    std::vector<int> frames;
    for (int i = 0; i < n; ++i) frames.push_back(animator.Tick());
    return frames;
}

// The error-check log written into a folder of its own while it lives, and how many times it
// names a bad index.
class cIndexReports {
public:
    cIndexReports()
    {
        m_Folder.ChangeInto();
        SetEcLogFile(1, "ec.txt");
    }
    ~cIndexReports() { SetEcLogFile(0, "ec.txt"); }
    cIndexReports(const cIndexReports&) = delete;
    cIndexReports& operator=(const cIndexReports&) = delete;

    int Count() const
    {
        if (!m_Folder.Exists("ec.txt")) return 0;
        const std::string log = m_Folder.ReadFile("ec.txt");
        int count = 0;
        for (std::size_t at = log.find("err V["); at != std::string::npos; at = log.find("err V[", at + 1)) ++count;
        return count;
    }

private:
    qbtest::cTempFolder m_Folder;
};

}  // namespace

TEST(FrameAnimator, WithoutPatternsReturnsFrameZero)
{
    cFrameAnimator animator;
    EXPECT_EQ(animator.Tick(), 0);
    EXPECT_EQ(animator.CurrentFrame(), 0);
    animator.Build(nullptr);
    EXPECT_TRUE(animator.m_Patterns.empty());
}

TEST(FrameAnimator, BuildCopiesEachPatternUpToItsControlEntry)
{
    cFrameAnimator animator;
    animator.Build(g_ShotAnimePatterns);
    ASSERT_EQ(animator.m_Patterns.size(), 2u);
    EXPECT_EQ(animator.m_Patterns[0].size(), 4u);
    EXPECT_EQ(animator.m_Patterns[0][3].frame, kAnimeEnd);
    EXPECT_EQ(animator.m_Patterns[1].size(), 3u);

    animator.Build(g_ItemAnimePatterns);
    ASSERT_EQ(animator.m_Patterns.size(), 1u);
    EXPECT_EQ(animator.m_Patterns[0][0].bLock, 1);
    EXPECT_EQ(animator.m_nPattern, 0);
}

TEST(FrameAnimator, ControlCodesHoldRestartSwitchAndEnd)
{
    const int hold[] = {4, 2, 0, 5, 2, 0, kAnimeHold, 0, 0};
    const int restart[] = {7, 1, 0, 8, 1, 0, kAnimeRestart, 0, 0};
    const int oneShot[] = {3, 1, 0, kAnimeEnd, 0, 0};
    const int* const table[] = {hold, restart, oneShot, nullptr};
    struct Case { int pattern; std::vector<int> frames; } cases[] = {
        {0, {4, 5, 5, 5, 5, 5}},          // the last real frame stays
        {1, {8, 7, 8, 7}},                // back to entry 0
        {2, {kAnimeEnd, kAnimeEnd, kAnimeEnd}},   // the end mark is returned and never passed
    };
    for (const auto& c : cases) {
        cFrameAnimator animator;
        animator.Build(table);
        animator.SetPattern(c.pattern, 1);
        EXPECT_EQ(TickFrames(animator, static_cast<int>(c.frames.size())), c.frames) << c.pattern;
    }

    // A switch continues with the named pattern from its first entry on the same tick.
    const int switchTo2[] = {1, 1, 0, kAnimeSwitch, 2, 0};
    const int target[] = {9, 3, 0, kAnimeHold, 0, 0};
    const int* const switching[] = {switchTo2, hold, target, nullptr};
    cFrameAnimator animator;
    animator.Build(switching);
    EXPECT_EQ(animator.Tick(), 9);
    EXPECT_EQ(animator.m_nPattern, 2);
    EXPECT_EQ(animator.m_nEntry, 0);
}

TEST(FrameAnimator, APatternOfItsControlEntryAloneStaysInside)
{
    const int onlyHold[] = {kAnimeHold, 0, 0};
    const int onlyRestart[] = {kAnimeRestart, 0, 0};
    const int* const table[] = {onlyHold, onlyRestart, nullptr};
    for (int pattern = 0; pattern < 2; ++pattern) {
        cFrameAnimator animator;
        animator.Build(table);
        animator.SetPattern(pattern, 1);
        for (int i = 0; i < 3; ++i) animator.Tick();
        EXPECT_EQ(animator.m_nEntry, 0);
    }
}

TEST(FrameAnimator, SetPatternRestartsChangePatternKeepsTheCurrentOne)
{
    cFrameAnimator animator;
    animator.Build(g_ShotAnimePatterns);
    for (int i = 0; i < 8; ++i) animator.Tick();
    ASSERT_EQ(animator.CurrentFrame(), 1);
    EXPECT_EQ(animator.ChangePattern(0, 0), 1);
    EXPECT_EQ(animator.CurrentFrame(), 1);
    EXPECT_EQ(animator.SetPattern(0, 0), 1);
    EXPECT_EQ(animator.CurrentFrame(), 0);
    EXPECT_EQ(animator.m_nTick, 0);
}

TEST(FrameAnimator, ALockedEntryRefusesOnlyUnforcedChanges)
{
    const int locked[] = {2, 5, 1, kAnimeRestart, 0, 1};
    const int other[] = {6, 5, 0, kAnimeRestart, 0, 0};
    const int* const table[] = {locked, other, nullptr};
    cFrameAnimator animator;
    animator.Build(table);
    EXPECT_EQ(animator.SetPattern(1, 0), 0);
    EXPECT_EQ(animator.ChangePattern(1, 0), 0);
    EXPECT_EQ(animator.m_nPattern, 0);
    EXPECT_EQ(animator.ChangePattern(1, 1), 1);
    EXPECT_EQ(animator.CurrentFrame(), 6);
    EXPECT_EQ(animator.SetPattern(0, 0), 1);   // entry of pattern 1 is not locked
}

TEST(FrameAnimator, ShotAndItemTablesRunAsTheObjectsExpect)
{
    cFrameAnimator shot;
    shot.Build(g_ShotAnimePatterns);
    std::vector<int> frames = TickFrames(shot, 22);
    EXPECT_EQ(frames[5], 0);
    EXPECT_EQ(frames[6], 1);     // 7 ticks per frame
    EXPECT_EQ(frames[20], kAnimeEnd);
    EXPECT_EQ(frames[21], kAnimeEnd);

    cFrameAnimator item;
    item.Build(g_ItemAnimePatterns);
    frames = TickFrames(item, 30);
    EXPECT_EQ(frames[13], 0);
    EXPECT_EQ(frames[14], 1);
    EXPECT_EQ(frames[29], 0);    // looped
}

TEST(FrameAnimator, FreePatternsEmptiesTheList)
{
    cFrameAnimator animator;
    animator.Build(g_ItemAnimePatterns);
    animator.FreePatterns();
    EXPECT_TRUE(animator.m_Patterns.empty());
    EXPECT_EQ(animator.Tick(), 0);
}

TEST(FrameAnimator, ABadPatternIndexIsReportedOncePerTick)
{
    cIndexReports reports;
    const int stepping[] = {4, 1, 0, 5, 1, 0, kAnimeRestart, 0, 0};
    const int* const table[] = {stepping, nullptr};
    cFrameAnimator animator;
    animator.Build(table);
    animator.m_nPattern = 3;
    // Pattern 0 stands in for it, one tick after another, with one report each.
    EXPECT_EQ(TickFrames(animator, 3), (std::vector<int>{5, 4, 5}));
    EXPECT_EQ(reports.Count(), 3);
}
