#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "objects/chara.h"

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
