#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "objects/chara.h"
#include "objects/database_working_tables.h"
#include "tests/support/restore.h"

namespace {

struct SHOWN {
    int nAnime;
    int bStopped;

    bool operator==(const SHOWN&) const = default;
};

std::ostream& operator<<(std::ostream& out, const SHOWN& s)
{
    return out << "(" << s.nAnime << (s.bStopped ? " stopped" : "") << ")";
}

// Animations 1 and 3 of flow 5 (1 still playing, 3 played out), 2 of flow 6 (played out).
void StartThree(cChara& chara)
{
    chara.m_Animations.clear();
    chara.m_Animations.push_back({.nAnime = 1, .nOwner = 5, .nPlay = 10, .nCommandFrames = 0});
    chara.m_Animations.push_back({.nAnime = 2, .nOwner = 6, .nPlay = -30, .nCommandFrames = 6});
    chara.m_Animations.push_back({.nAnime = 3, .nOwner = 5, .nPlay = -6, .nCommandFrames = 6});
}

std::vector<SHOWN> Shown(const cChara& chara)
{
    std::vector<SHOWN> shown;
    for (const cCharaAnimation& a : chara.m_Animations) shown.push_back({a.nAnime, a.bStopped});
    return shown;
}

TEST(CharaAnimationControl, AFlowStopsFinishesAndResumesOnlyTheAnimationsItStarted)
{
    cChara chara;
    StartThree(chara);
    chara.StopAnimation(5);
    EXPECT_EQ(Shown(chara), (std::vector<SHOWN>{{2, 0}}));

    // Frames to play + command frames - 1 below 0 has played out and goes.
    StartThree(chara);
    chara.FinishAnimation(5);
    EXPECT_EQ(Shown(chara), (std::vector<SHOWN>{{1, 1}, {2, 0}}));
    chara.ResumeAnimation(5);
    EXPECT_EQ(Shown(chara), (std::vector<SHOWN>{{1, 0}, {2, 0}}));

    // An unknown flow touches nothing.
    StartThree(chara);
    chara.FinishAnimation(7);
    chara.StopAnimation(7);
    EXPECT_EQ(Shown(chara), (std::vector<SHOWN>{{1, 0}, {2, 0}, {3, 0}}));
}

TEST(CharaAnimationControl, FinishingTestsTheFramesLeftAsA32BitSum)
{
    cChara chara;
    cCharaAnimation a;
    a.nOwner = 5;
    a.nPlay = INT_MAX;
    a.nCommandFrames = 2;   // the sum wraps negative: played out
    chara.m_Animations.push_back(a);
    a.nPlay = INT_MIN;
    a.nCommandFrames = 0;   // minus 1 wraps to INT_MAX: still playing
    chara.m_Animations.push_back(a);
    chara.FinishAnimation(5);
    ASSERT_EQ(chara.m_Animations.size(), 1u);
    EXPECT_EQ(chara.m_Animations.front().nPlay, INT_MIN);
    EXPECT_EQ(chara.m_Animations.front().bStopped, 1);
}

}  // namespace

namespace {

// Animation 1: frame 5 for 2 ticks, frame 6 locked for 3, frame 7 for 2, then its end.
class CharaAnimationPlay : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_AnimePatterns.assign(2, {});
        g_AnimePatterns[1] = {{5, 2, 0}, {6, 3, 1}, {7, 2, 0}, {kAnimeEnd, 0, 0}};
    }
    // The frames drawn on `draws` unpaused draws of the chara.
    static std::vector<int> Frames(cChara& chara, int draws)
    {
        std::vector<int> frames;
        for (int i = 0; i < draws; ++i) frames.push_back(chara.CurrentFrame(0));
        return frames;
    }
    qbtest::cRestore<cSafeVector<cSafeVector<ANIMEFRAME>>> m_Patterns{g_AnimePatterns};
};

TEST_F(CharaAnimationPlay, ACommandAnimationPlaysItsPatternAndGoesAtItsEnd)
{
    cChara chara;   // its own animator has no pattern: frame 0
    chara.m_Animations.push_back({.nAnime = 1, .nOwner = 5});
    EXPECT_EQ(Frames(chara, 8), (std::vector<int>{5, 6, 6, 6, 7, 7, 0, 0}));
    EXPECT_TRUE(chara.m_Animations.empty());
}

TEST_F(CharaAnimationPlay, AScheduledAnimationSkipsItsLeadInAndHoldsItsPoseForTheCommand)
{
    cChara chara;
    chara.m_Animations.push_back({.nAnime = 1, .nOwner = 5, .bScheduled = 1, .nPlay = 1, .nCommandFrames = 4, .nSkip = 2,
                                  .bHold = 1});
    // Two ticks skipped: the locked frame is reached, and lasts 3 + 4 - 1 ticks.
    EXPECT_EQ(Frames(chara, 9), (std::vector<int>{6, 6, 6, 6, 6, 7, 7, 0, 0}));
}

TEST_F(CharaAnimationPlay, PausedDrawsNeitherTickNorCountDown)
{
    cChara chara;
    chara.m_Animations.push_back({.nAnime = 1, .nOwner = 5, .bScheduled = 1, .nPlay = 3});
    EXPECT_EQ(chara.CurrentFrame(0), 5);
    EXPECT_EQ(chara.CurrentFrame(1), 5);
    EXPECT_EQ(chara.CurrentFrame(1), 5);
    EXPECT_EQ(chara.m_Animations.front().nPlay, 2);
    EXPECT_EQ(chara.CurrentFrame(0), 6);
}

TEST_F(CharaAnimationPlay, TheScheduledAnimationWithFewestFramesLeftIsDrawn)
{
    g_AnimePatterns.resize(4);
    g_AnimePatterns[2] = {{20, 100, 0}, {kAnimeRestart, 0, 0}};
    g_AnimePatterns[3] = {{30, 100, 0}, {kAnimeRestart, 0, 0}};
    struct Case {
        const char* what;
        std::vector<cCharaAnimation> running;
        int frame;
    } cases[] = {
        {"fewer frames left wins", {{.nAnime = 2, .bScheduled = 1, .nPlay = 11}, {.nAnime = 3, .bScheduled = 1, .nPlay = 4}}, 30},
        {"a command's animation only while nothing else is chosen",
         {{.nAnime = 3}, {.nAnime = 2, .bScheduled = 1, .nPlay = 50}}, 20},
        {"a scheduled one keeps its choice against a later command's", {{.nAnime = 2, .bScheduled = 1, .nPlay = 50}, {.nAnime = 3}}, 20},
        {"a stopped one is never drawn", {{.nAnime = 2, .bScheduled = 1, .nPlay = 2, .bStopped = 1}, {.nAnime = 3, .bScheduled = 1, .nPlay = 9}}, 30},
        {"once two have run out, later ones that ran out more recently",
         {{.nAnime = 2, .bScheduled = 1, .nPlay = -4}, {.nAnime = 2, .bScheduled = 1, .nPlay = -3}, {.nAnime = 3, .bScheduled = 1, .nPlay = -1}},
         30},
        {"once two have run out, later ones that ran out earlier are passed over",
         {{.nAnime = 2, .bScheduled = 1, .nPlay = -4}, {.nAnime = 2, .bScheduled = 1, .nPlay = 0}, {.nAnime = 3, .bScheduled = 1, .nPlay = -1}},
         20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cChara chara;
        for (const cCharaAnimation& a : c.running) chara.m_Animations.push_back(a);
        EXPECT_EQ(chara.CurrentFrame(1), c.frame);
    }
}

}  // namespace
