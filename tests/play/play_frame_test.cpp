#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "data/role_accessors.h"
#include "flow/triggers.h"
#include "objects/shot.h"
#include "platform/input/keyboard.h"
#include "play/frame_seams.h"
#include "tests/stage/stage_fixture.h"

using qbtest::cRequestLog;
using qbtest::cStageFixture;

namespace {

class PlayFrame : public ::testing::Test {
protected:
    cPlayScene& Scene()
    {
        plat::SetKeyState(VK_SPACE, false);
        m_Fixture.Commit();
        cPlayScene& scene = m_Fixture.NewScene();
        scene.SetStage(0, 1);
        scene.m_nState = PLAYSTATE_PLAY;
        return scene;
    }
    // A floor under the hero, so that it stands through long runs instead of falling out.
    static void AddFloor()
    {
        for (int column = 0; column < 13; ++column) g_StageData.m_Blocks.push_back(qbtest::PlacedBlock(column, 6, 1));
    }
    // Charas of serials 1 and 2 on the floor, and one sub-step a frame.
    static void TwoCharasOnOneSubStep()
    {
        g_StageData.SetSpeedLevel(1);
        g_StageData.m_Charas.push_back(qbtest::PlacedChara(5, 5, false));
        g_StageData.m_Charas.push_back(qbtest::PlacedChara(7, 5, false));
        AddFloor();
    }
    // 30 rows, so that the rows below 14 lie off the screen.
    static void TallStage()
    {
        g_StageData.m_nHeight = 30;
        g_StageData.m_nScrollAxisY = (30 + 20) * 32 - 640;
    }
    void Frames(cPlayScene& scene, int n)
    {
        for (int i = 0; i < n; ++i) scene.Run();
    }

    cStageFixture m_Fixture;
};

TEST_F(PlayFrame, TheTimeLimitCountsEvery60thFrameAndRunsOutWithSound8)
{
    g_StageData.m_bTimeLimit = 1;
    g_StageData.m_nTimeLimit = 2;
    // No time warning, whose sound 13 would come each second: the time-out's sound alone.
    g_StageData.m_nTimeWarning = 0;
    AddFloor();
    cPlayScene& scene = Scene();
    cRequestLog log;
    Frames(scene, 59);
    EXPECT_EQ(scene.m_TimeLimit.m_nTimeLeft, 2);
    Frames(scene, 1);
    EXPECT_EQ(scene.m_TimeLimit.m_nTimeLeft, 1);
    EXPECT_TRUE(cRequestLog::s_Sounds.empty());
    const int steps = scene.m_nSubStepTotal;
    Frames(scene, 60);
    EXPECT_EQ(scene.m_TimeLimit.m_nTimeLeft, 0);
    EXPECT_EQ(cRequestLog::s_Sounds, std::vector<int>{8});
    EXPECT_EQ(scene.m_nSubStepTotal, steps + 59 * 4) << "the frame of the time-out runs no sub-step";
}

TEST_F(PlayFrame, WithoutALimitTheTimeStaysAt999AndThePlayTimeCountsHundredths)
{
    AddFloor();
    cPlayScene& scene = Scene();
    Frames(scene, 90);
    EXPECT_EQ(scene.m_TimeLimit.m_nTimeLeft, 999);
    EXPECT_EQ(scene.m_TimeLimit.m_nPlayFrames, 90);
    EXPECT_EQ(scene.m_TimeLimit.m_nPlayTime, 150);
    EXPECT_EQ(scene.m_nFrame, 90);
    EXPECT_EQ(scene.m_nSubStepTotal, 360);   // speed level 4: four sub-steps a frame
    EXPECT_EQ(scene.m_nSubStep, 4);
}

TEST_F(PlayFrame, ACharaWhoseLifetimeRunsOutIsUnlinkedInTheSubStepItGoesBelowZero)
{
    g_StageData.m_Charas.push_back(qbtest::PlacedChara(5, 5, false));
    g_StageData.m_Charas.push_back(qbtest::PlacedChara(7, 5, false));
    cPlayScene& scene = Scene();
    ASSERT_EQ(scene.m_Charas.size(), 2u);
    scene.m_Charas.front().m_nLife = 1;   // 0 after sub-step 1, below 0 in sub-step 2
    scene.Run();
    ASSERT_EQ(scene.m_Charas.size(), 1u);
    EXPECT_EQ(scene.m_Charas.front().m_nSerial, 2);
    EXPECT_EQ(scene.m_CharaLayers.At(1).size(), 2u) << "the hero and the chara that stays";
}

TEST_F(PlayFrame, TheQuitRequestEndsTheFrameBeforeAnythingCounts)
{
    cPlayScene& scene = Scene();
    scene.m_nQuitRequest.store(1);
    scene.Run();
    EXPECT_EQ(scene.m_nFrame, 0);
    EXPECT_EQ(scene.m_nSubStepTotal, 0);
}

TEST_F(PlayFrame, ATimeOutKillsALivingPlayerAndEndsTheFrameButLeavesADeadOneToItsDisplay)
{
    g_StageData.m_bTimeLimit = 1;
    g_StageData.m_nTimeLimit = 1;
    AddFloor();
    struct Case {
        bool deadBefore;
        std::vector<int> sounds;
        int subSteps;   // run by the frame of the time-out
    } cases[] = {{false, {8}, 0}, {true, {}, 4}};
    for (const Case& c : cases) {
        cPlayScene& scene = Scene();
        cHero& hero = Player.At(0);
        hero.m_bDead = c.deadBefore ? 1 : 0;
        Frames(scene, 59);
        ASSERT_EQ(scene.m_TimeLimit.m_nTimeLeft, 1);
        cRequestLog log;
        const int steps = scene.m_nSubStepTotal;
        Frames(scene, 1);
        EXPECT_EQ(scene.m_TimeLimit.m_nTimeLeft, 0) << c.deadBefore;
        EXPECT_EQ(cRequestLog::s_Sounds, c.sounds) << c.deadBefore;
        EXPECT_EQ(scene.m_nSubStepTotal - steps, c.subSteps) << c.deadBefore;
        EXPECT_EQ(hero.m_bDead, 1) << "the time-out defeats player 1";
        EXPECT_EQ(scene.m_nState, PLAYSTATE_PLAY) << c.deadBefore;
    }
}

TEST_F(PlayFrame, TheSecondsCountFromTheStagesSetUp)
{
    g_StageData.m_bTimeLimit = 1;
    g_StageData.m_nTimeLimit = 5;
    AddFloor();
    cPlayScene& scene = Scene();
    Frames(scene, 30);
    scene.SetStage(0, 0);
    scene.m_nState = PLAYSTATE_PLAY;
    Frames(scene, 59);
    EXPECT_EQ(scene.m_TimeLimit.m_nTimeLeft, 5) << "the counter restarted with the stage";
    Frames(scene, 1);
    EXPECT_EQ(scene.m_TimeLimit.m_nTimeLeft, 4);
}

TEST_F(PlayFrame, ThePlayTimeStopsAt599999Hundredths)
{
    AddFloor();
    cPlayScene& scene = Scene();
    scene.m_TimeLimit.m_nPlayFrames = 359998;
    scene.m_TimeLimit.m_nPlayTime = 599996;
    struct Step { int frames; int time; } steps[] = {{359999, 599998}, {360000, 599999}, {360000, 599999}};
    for (const Step& s : steps) {
        Frames(scene, 1);
        EXPECT_EQ(scene.m_TimeLimit.m_nPlayFrames, s.frames);
        EXPECT_EQ(scene.m_TimeLimit.m_nPlayTime, s.time);
    }
}

TEST_F(PlayFrame, AResultSetByAFlowIsTakenBeforeThePlayersMoves)
{
    struct Case {
        int result;
        int state;
        int dead;
        std::vector<int> sounds;
    } cases[] = {{1, PLAYSTATE_CLEAR, 0, {14}}, {2, PLAYSTATE_PLAY, 1, {8}}};   // 14: the clear's sound
    for (const Case& c : cases) {
        cPlayScene& scene = Scene();
        cHero& hero = Player.At(0);
        const double y = hero.m_dY;
        scene.m_nResult = c.result;
        cRequestLog log;
        Frames(scene, 1);
        EXPECT_EQ(scene.m_nState, c.state) << c.result;
        EXPECT_EQ(hero.m_bDead, c.dead) << c.result;
        EXPECT_EQ(cRequestLog::s_Sounds, c.sounds) << c.result;
        EXPECT_EQ(hero.m_dY, y) << "no gravity, no move: " << c.result;
        EXPECT_EQ(scene.m_nSubStep, 1) << c.result;
    }
}

// What the chara of serial 2 finds when its hits are processed: the charas in the list, and
// whether the first of them is dead.
std::size_t s_CharasSeenBySecond = 0;
int s_FirstDeadForSecond = 0;
int CountCharasForTheSecond(cChara& chara)
{
    if (chara.m_nSerial != 2) return 0;
    const cCharaList& charas = g_lpPlayScene.load()->m_Charas;
    s_CharasSeenBySecond = charas.size();
    s_FirstDeadForSecond = charas.front().m_bDead;
    return 0;
}

// The draw removes a chara whose death display has ended, so the list is looked at from the
// chara after it, in the same pass.
TEST_F(PlayFrame, ACharaWhoseUpdateReportsItsEndLeavesOrStaysAsTheDefeatDisplaySwitchSays)
{
    TwoCharasOnOneSubStep();
    struct Case {
        int display;
        int removeRequest;
        std::size_t charas;
        int dead;
        std::vector<int> sounds;
    } cases[] = {
        {0, 0, 1, 0, {}},    // removed at once
        {1, 0, 2, 1, {9}},   // stays to show its death
        {1, 1, 1, 0, {}},    // asked to be removed: no defeat
    };
    SetProcessHitsStandIn(CountCharasForTheSecond);
    for (const Case& c : cases) {
        g_SystemData.m_bHitCheckSwitch = c.display;
        cPlayScene& scene = Scene();
        ASSERT_EQ(scene.m_Charas.size(), 2u);
        scene.m_Charas.front().m_nHp = 0;
        scene.m_Charas.front().m_bRemoveRequest = c.removeRequest;
        s_CharasSeenBySecond = 0;
        s_FirstDeadForSecond = 0;
        cRequestLog log;
        Frames(scene, 1);
        EXPECT_EQ(s_CharasSeenBySecond, c.charas) << c.display << c.removeRequest;
        EXPECT_EQ(s_FirstDeadForSecond, c.dead) << c.display << c.removeRequest;
        EXPECT_EQ(cRequestLog::s_Sounds, c.sounds) << c.display << c.removeRequest;
    }
    SetProcessHitsStandIn(nullptr);
}

TEST_F(PlayFrame, InvincibilityRunsOutOneSubStepAtATime)
{
    g_StageData.m_Charas.push_back(qbtest::PlacedChara(7, 5, false));
    AddFloor();
    cPlayScene& scene = Scene();
    Player.At(0).m_nInvincibleTimer = 6;
    scene.m_Charas.front().m_nInvincibleTimer = 6;
    Frames(scene, 1);
    EXPECT_EQ(Player.At(0).m_nInvincibleTimer, 2);
    EXPECT_EQ(scene.m_Charas.front().m_nInvincibleTimer, 2);
}

TEST_F(PlayFrame, AStageRunsAtLeastOneSubStepAFrame)
{
    AddFloor();
    cPlayScene& scene = Scene();
    g_StageData.m_nSubSteps = 0;
    Frames(scene, 2);
    EXPECT_EQ(scene.m_nSubStepTotal, 2);
    EXPECT_EQ(scene.m_nSubStep, 1);
}

// Stage row 0 lies at the top of the screen; a camera moving down 12 pixels a sub-step leaves
// an object of that row (bottom at y 351 at the most) off the screen from sub-step 4 of the
// first frame on.
TEST_F(PlayFrame, ObjectsOutsideTheirRuleLeaveInTheFirstSubStepOfAFrameOnly)
{
    enum What { Chara, BlockChara, Item, HeroShot, OtherShot };
    struct Case {
        What what;
        int rule;         // the out-of-range rule switched on, top side, no margin
        bool playerDead;
        bool removed;     // by the end of the second frame
    } cases[] = {
        {Chara, 0, false, true},       {BlockChara, 1, false, true}, {Item, 2, false, true},
        {HeroShot, 3, false, true},    {OtherShot, 4, false, true},
        {Chara, 1, false, false},      {BlockChara, 0, false, false}, {HeroShot, 4, false, false},
        {OtherShot, 3, false, false},
        // While player 1 is dead only the shots go on.
        {Chara, 0, true, false},       {Item, 2, true, false},       {OtherShot, 4, true, true},
    };
    TallStage();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "object " << c.what << " rule " << c.rule << " dead " << c.playerDead);
        g_StageData.m_Charas.resize(1);   // the hero
        g_StageData.m_Items.clear();
        for (cOutOfRangeData& rule : g_StageData.m_OutOfRange) rule = cOutOfRangeData{};
        g_StageData.m_OutOfRange[c.rule].m_bTop = 1;
        if (c.what == Chara || c.what == BlockChara) {
            g_StageData.m_Charas.push_back(qbtest::PlacedChara(5, 0, false));
            g_StageData.m_Charas.back().m_bWholeCellBoxes = (c.what == BlockChara) ? 1 : 0;
        }
        cPlayScene& scene = Scene();
        scene.m_ScrollY.m_bAuto = 1;
        scene.m_ScrollY.m_dSpeed = 12;
        Player.At(0).m_bDead = c.playerDead ? 1 : 0;
        auto place = [](cGameObject& object) {
            object.m_dX = 480;
            object.m_dRight = 495;
            object.m_dY = 320;
            object.m_dBottom = 335;
            object.m_bActive = 1;
        };
        if (c.what == Item) {
            scene.m_Items.emplace_back();
            place(scene.m_Items.back());
            scene.m_Items.back().m_nLife = 2147483647;
        }
        if (c.what == HeroShot || c.what == OtherShot) {
            scene.m_ShotLists.m_Shots.emplace_back();
            cShot& shot = scene.m_ShotLists.m_Shots.back();
            place(shot);
            shot.m_bFlying = 1;
            shot.m_nKind = (c.what == HeroShot) ? 0 : 1;
            scene.m_ShotLists.m_ShotLayers.At(0).push_back(&shot);
        }
        auto count = [&scene, &c]() -> std::size_t {
            if (c.what == Item) return scene.m_Items.size();
            if (c.what == HeroShot || c.what == OtherShot) return scene.m_ShotLists.m_Shots.size() + scene.m_ShotLists.m_ShotLayers.At(0).size();
            return scene.m_Charas.size();
        };
        const std::size_t before = count();
        ASSERT_GT(before, 0u);
        cRequestLog log;
        Frames(scene, 1);
        EXPECT_EQ(count(), before) << "off the screen only after sub-step 1";
        Frames(scene, 1);
        EXPECT_EQ(count(), c.removed ? 0u : before);
        EXPECT_TRUE(cRequestLog::s_Sounds.empty()) << "leaving is no death";
    }
}

TEST_F(PlayFrame, ShotsFallWhileThePlayerIsDead)
{
    AddFloor();
    cPlayScene& scene = Scene();
    Player.At(0).m_bDead = 1;
    scene.m_ShotLists.m_Shots.emplace_back();
    cShot& shot = scene.m_ShotLists.m_Shots.back();
    shot.m_dX = 480;
    shot.m_dRight = 495;
    shot.m_dY = 400;
    shot.m_dBottom = 415;
    scene.m_ShotLists.m_ShotLayers.At(0).push_back(&shot);
    Frames(scene, 1);
    ASSERT_EQ(scene.m_ShotLists.m_Shots.size(), 1u);
    EXPECT_DOUBLE_EQ(scene.m_ShotLists.m_Shots.front().m_dVY, 4 * 0.025) << "one gravity step a sub-step";
}

// The serials the hit step saw (the hero's is 0), and a summon the first time it sees serial 2.
std::vector<int> s_Visited;
int RecordAndSummon(cChara& chara)
{
    s_Visited.push_back(chara.m_nSerial);
    cPlayScene& scene = *g_lpPlayScene.load();
    if (chara.m_nSerial == 2 && scene.m_Charas.size() == 1) {
        scene.SummonChara(chara.m_dX - 64, chara.m_dY - 8, 1, 0, cEdShot{}, chara.m_Def);
        // Awake at once, so that only the walk decides whether it is visited now.
        scene.m_Charas.back().m_bActive = 1;
        scene.m_Charas.back().m_bAwake = 1;
    }
    return 0;
}

TEST_F(PlayFrame, TheCharaWalkGoesOnAfterAnErasedCharaAndVisitsASummonInTheSamePass)
{
    TwoCharasOnOneSubStep();
    cPlayScene& scene = Scene();
    ASSERT_EQ(scene.m_Charas.size(), 2u);
    scene.m_Charas.front().m_nHp = 0;   // its update ends it, and it is erased at once
    s_Visited.clear();
    SetProcessHitsStandIn(RecordAndSummon);
    Frames(scene, 1);
    SetProcessHitsStandIn(nullptr);
    ASSERT_EQ(scene.m_Charas.size(), 2u);
    EXPECT_EQ(s_Visited, (std::vector<int>{0, 2, scene.m_Charas.back().m_nSerial}));
}

TEST_F(PlayFrame, APlayerKilledByATouchIsDefeatedOnceAndTheFrameEndsInThatSubStep)
{
    AddFloor();
    cCharaData enemy = qbtest::PlacedChara(2, 5, false);
    SetCharaLayer(enemy, 2);
    enemy.m_nBodyAttack = 1000;
    enemy.m_nMaxHp = 1;
    g_StageData.m_Charas.push_back(enemy);
    cPlayScene& scene = Scene();
    cRequestLog log;
    Frames(scene, 1);
    cHero& hero = Player.At(0);
    EXPECT_EQ(hero.m_bDead, 1);
    ASSERT_FALSE(cRequestLog::s_Sounds.empty());
    EXPECT_EQ(cRequestLog::s_Sounds.back(), 8);
    EXPECT_EQ(std::count(cRequestLog::s_Sounds.begin(), cRequestLog::s_Sounds.end(), 8), 1);
    EXPECT_EQ(scene.m_nSubStep, 1) << "the frame ends in the sub-step of the touch";
    EXPECT_EQ(scene.m_nState, PLAYSTATE_PLAY);
}

// The triggers raised on charas ("T<trigger>:<serial>", the hero's serial is 0) and the sounds
// asked for ("S<n>"), in the order they happen. The block triggers (9 to 15) are left out, and
// the always trigger (0) unless asked for.
class cFrameLog {
public:
    explicit cFrameLog(bool always = false)
    {
        s_Lines.clear();
        s_bAlways = always;
        SetTriggerObserver(OnTrigger);
        SetRequestObserver(OnRequest);
    }
    ~cFrameLog()
    {
        SetTriggerObserver(nullptr);
        SetRequestObserver(nullptr);
    }
    cFrameLog(const cFrameLog&) = delete;
    cFrameLog& operator=(const cFrameLog&) = delete;
    static std::vector<std::string> Take()
    {
        std::vector<std::string> lines;
        lines.swap(s_Lines);
        return lines;
    }

private:
    static void OnTrigger(const cChara& chara, int trigger)
    {
        const bool block = trigger >= 9 && trigger <= 15;
        if (!block && (trigger != 0 || s_bAlways)) s_Lines.push_back("T" + std::to_string(trigger) + ":" + std::to_string(chara.m_nSerial));
    }
    static void OnRequest(UINT msg, WPARAM wParam, LPARAM)
    {
        if (msg == WM_GAME_PLAYSE) s_Lines.push_back("S" + std::to_string(static_cast<int>(wParam)));
    }
    inline static std::vector<std::string> s_Lines;
    inline static bool s_bAlways = false;
};

TEST_F(PlayFrame, ASubStepRunsTheBlockLikeCharasThenThePlayerThenTheOtherCharas)
{
    g_StageData.SetSpeedLevel(1);
    g_StageData.m_Charas.push_back(qbtest::PlacedChara(5, 5, false));   // serial 1
    g_StageData.m_Charas.push_back(qbtest::PlacedChara(7, 5, false));   // serial 2, block-like
    g_StageData.m_Charas.back().m_bWholeCellBoxes = 1;
    AddFloor();
    cPlayScene& scene = Scene();
    cFrameLog log(true);
    Frames(scene, 1);
    EXPECT_EQ(cFrameLog::Take(), (std::vector<std::string>{"T0:2", "T0:0", "T0:1"}));
}

TEST_F(PlayFrame, ACharaFallingOutDiesWithItsSoundAndTriggerWhileTheTimeOutDefeatsThePlayer)
{
    struct Case {
        const char* what;
        int timeLimit;    // seconds, 0 none
        int frames;
        std::vector<std::string> log;
    } cases[] = {
        // Falls below the playfield: sound 9, then its defeat raises trigger 3.
        {"fall", 0, 60, {"S9", "T3:1"}},
        {"time-out", 1, 60, {"S8", "T3:0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_StageData.m_Charas.resize(1);
        if (c.timeLimit == 0) g_StageData.m_Charas.push_back(qbtest::PlacedChara(5, 8, false));
        g_StageData.m_bTimeLimit = c.timeLimit != 0;
        g_StageData.m_nTimeLimit = c.timeLimit;
        g_StageData.m_Blocks.clear();
        AddFloor();
        cPlayScene& scene = Scene();
        cFrameLog log;
        Frames(scene, c.frames);
        EXPECT_EQ(cFrameLog::Take(), c.log);
    }
}

}  // namespace
