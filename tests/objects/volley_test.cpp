#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "data/command_data.h"
#include "data/command_info.h"
#include "flow/running_flow.h"
#include "objects/shot.h"
#include "objects/volley.h"
#include "shell/game_arithmetic.h"
#include "shell/root_two.h"
#include "tests/stage/stage_fixture.h"

namespace {

bool SameDoubleBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct PLACED {
    int x, y;
    bool operator==(const PLACED&) const = default;
};

// A chara at screen (100, 200), 32 x 32, under a camera at (320.5, 320.25), firing 16-dot
// shots at one sub-step per frame.
class Volley : public qbtest::cStageTest {
protected:
    Volley()
    {
        g_StageData.SetSpeedLevel(1);
        Scene().PlaceChara(1, 1, CharaTemplate(), nullptr);
        m_Owner = &Scene().m_Charas.back();
        m_Owner->m_nDrawOffsetX = m_Owner->m_nDrawOffsetY = 0;
        m_Owner->m_nDrawWidth = m_Owner->m_nDrawHeight = 32;
        m_Owner->m_dX = 420;
        m_Owner->m_dY = 520;
        m_Owner->m_nDirection = 0;
        m_Owner->m_nPassLayer = 2;
        Scene().m_ScrollX.m_dPos = 320.5;
        Scene().m_ScrollY.m_dPos = 320.25;
        m_Command.m_nKind = COMMAND_SHOT;
        m_Entry.m_lpCommand = &m_Command;
        m_Def.m_nFormationCount = 1;
        m_Def.m_nSpeed = 40;
        m_Def.m_bMirrorAngle = 0;
        m_Def.m_bMirrorOffsetX = 0;
        Clear();
    }

    void FireVolley() { FireShotVolley(Scene().m_ShotLists, *m_Owner, m_Entry, m_Def); }

    std::vector<PLACED> Placed() const
    {
        std::vector<PLACED> placed;
        for (const cShot& shot : m_Stage.Scene().m_ShotLists.m_Shots)
            placed.push_back({TruncToInt(shot.m_dX), TruncToInt(shot.m_dY)});
        return placed;
    }
    std::vector<cShot*> Shots()
    {
        std::vector<cShot*> shots;
        for (cShot& shot : Scene().m_ShotLists.m_Shots) shots.push_back(&shot);
        return shots;
    }
    void Clear()
    {
        Scene().m_ShotLists.Reset(8);
    }

    cStageChara* m_Owner = nullptr;
    cCommandData m_Command;
    cFlowCommandEntry m_Entry;
    cEdShot m_Def;
};

TEST_F(Volley, TheStraightFormationsPlaceTheirRowsBesideTheOwner)
{
    // Direction choices 2 "左", 3 "右", 6 "上", 7 "下", 8 "左上"; spacing 1 hbl.
    struct Case { int formation, choice, n; std::vector<PLACED> placed; } cases[] = {
        {kFormationStraightA, 2, 3, {{405, 496}, {405, 528}, {405, 560}}},
        {kFormationStraightA, 3, 3, {{452, 496}, {452, 528}, {452, 560}}},
        {kFormationStraightA, 6, 3, {{396, 504}, {428, 504}, {460, 504}}},
        {kFormationStraightA, 7, 3, {{396, 552}, {428, 552}, {460, 552}}},
        {kFormationStraightA, 8, 1, {{411, 511}}},
        {kFormationStraightA, 8, 2, {{399, 522}, {431, 490}}},
        {kFormationStraightA, 9, 2, {{399, 532}, {431, 564}}},
        {kFormationStraightA, 10, 2, {{432, 499}, {464, 531}}},
        {kFormationStraightA, 11, 2, {{432, 555}, {464, 523}}},
        {kFormationStraightA, 2, 1, {{405, 528}}},
        {kFormationStraightA, 2, 0, {}},
        {kFormationStraightB, 2, 2, {{405, 536}, {405, 504}}},
        {kFormationStraightB, 6, 1, {{405, 536}}},   // facing left: the left side
        {kFormationStraightB, 3, 2, {{452, 536}, {452, 504}}},
        {kFormationStraightB, 10, 1, {{452, 536}}},
        {kFormationStraightB, 9, 1, {{405, 536}}},
        {kFormationStraightB, 7, 3, {{405, 536}, {405, 504}, {405, 472}}},
        {kFormationSpread, 2, 1, {{405, 528}}},
        {kFormationSpread, 7, 1, {{428, 552}}},
        {kFormationSpread, 8, 1, {{411, 511}}},
        {kFormationSpread, 9, 1, {{411, 544}}},
        {kFormationSpread, 10, 1, {{444, 511}}},
        {kFormationSpread, 11, 1, {{444, 544}}},
        {kFormationSpread, 11, 0, {}},
        {kFormationSpread, 3, 1, {{452, 528}}},
        {kFormationSpread, 6, 1, {{428, 504}}},
        {kFormationExplosion, 2, 2, {{428, 528}, {428, 528}}},
    };
    for (const auto& c : cases) {
        Clear();
        m_Def.m_nFormation = static_cast<BYTE>(c.formation);
        m_Def.m_nDirection = static_cast<BYTE>(c.choice);
        m_Def.m_nFormationCount = static_cast<BYTE>(c.n);
        m_Def.m_nFormationParams[0] = (c.formation == kFormationSpread) ? 30 : 1;
        FireVolley();
        EXPECT_EQ(Placed(), c.placed) << "formation " << c.formation << " choice " << c.choice << " n " << c.n;
    }
}

TEST_F(Volley, ARotatedFormationStartsOnTheRingAroundTheOwner)
{
    // Angle 0 to the left: 225 degrees round the ring of radius c × 24 on both axes.
    m_Def.m_nFormation = kFormationSpread;
    m_Def.m_nDirection = 2;
    m_Def.m_bRotateAboutOwner = 1;
    FireVolley();
    EXPECT_EQ(Placed(), (std::vector<PLACED>{{404, 528}}));
    // 90 degrees on: right above the owner, level with its top.
    Clear();
    m_Def.m_nAngle = 90;
    FireVolley();
    EXPECT_EQ(Placed(), (std::vector<PLACED>{{428, 504}}));
}

TEST_F(Volley, TheStraightFormationsFlyByTheirTableWithoutAnAngle)
{
    const double c = g_dInvSqrt2;
    struct Case { int choice; double vx, vy; } cases[] = {
        {2, -4, 0}, {3, 4, 0}, {6, 0, -4}, {7, 0, 4}, {8, -c * 4, -c * 4}, {11, c * 4, c * 4},
    };
    for (const auto& k : cases) {
        Clear();
        m_Def.m_nDirection = static_cast<BYTE>(k.choice);
        FireVolley();
        ASSERT_EQ(Shots().size(), 1u);
        EXPECT_TRUE(SameDoubleBits(Shots()[0]->m_dOwnVX, k.vx)) << k.choice;
        EXPECT_TRUE(SameDoubleBits(Shots()[0]->m_dOwnVY, k.vy)) << k.choice;
    }
}

TEST_F(Volley, ASpreadOfTwoFiresHalfItsAngleEitherSideOfTheCentre)
{
    m_Def.m_nFormation = kFormationSpread;
    m_Def.m_nDirection = 2;
    m_Def.m_nFormationCount = 2;
    m_Def.m_nFormationParams[0] = 30;
    FireVolley();
    const std::vector<cShot*> shots = Shots();
    ASSERT_EQ(shots.size(), 2u);
    for (int k = 0; k < 2; ++k) {
        const double angle = (k == 0) ? -15.0 : 15.0;
        EXPECT_TRUE(SameDoubleBits(shots[k]->m_dOwnVX, -GameCos(DegToRad(angle)) * 4)) << k;
        EXPECT_TRUE(SameDoubleBits(shots[k]->m_dOwnVY, -GameSin(DegToRad(angle)) * 4)) << k;
    }
}

TEST_F(Volley, RepetitionsAddTheSpeedStepToARunningSum)
{
    m_Def.m_nDirection = 2;
    m_Def.m_nRepeat = 2;
    m_Def.m_nSpeed = 13;
    m_Def.m_nSpeedStep = 7;
    FireVolley();
    const std::vector<cShot*> shots = Shots();
    ASSERT_EQ(shots.size(), 3u);
    double s = 13 * 0.1;
    for (int i = 0; i < 3; ++i) {
        if (i > 0) s += 7 * 0.1;
        EXPECT_TRUE(SameDoubleBits(shots[i]->m_dOwnVX, -s)) << i;
        EXPECT_EQ(shots[i]->m_sCopyIndex, i);
    }
}

TEST_F(Volley, TheMirroredAngleOfACharaFacingRightComesBeforeTheSpread)
{
    m_Owner->m_nDirection = 1;
    m_Def.m_nFormation = kFormationSpread;
    m_Def.m_nDirection = 0;   // "前": right
    m_Def.m_nAngle = 30;
    m_Def.m_bMirrorAngle = 1;
    m_Def.m_nSpread = 5;
    m_Def.m_nRepeat = 2;
    srand(1234);
    int draws[3];
    for (int& d : draws) d = rand() % 11 - 5;
    const int after = rand();
    srand(1234);
    FireVolley();
    EXPECT_EQ(rand(), after);
    const std::vector<cShot*> shots = Shots();
    ASSERT_EQ(shots.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const double angle = 180 + (330 + draws[i]);
        EXPECT_TRUE(SameDoubleBits(shots[i]->m_dOwnVX, -GameCos(DegToRad(angle)) * 4)) << i;
        EXPECT_TRUE(SameDoubleBits(shots[i]->m_dOwnVY, -GameSin(DegToRad(angle)) * 4)) << i;
    }
}

TEST_F(Volley, NoSpreadDrawsNoRandomNumber)
{
    m_Def.m_nRepeat = 4;
    srand(99);
    const int next = rand();
    srand(99);
    FireVolley();
    EXPECT_EQ(rand(), next);
}

TEST_F(Volley, AFormationOrDirectionOutsideTheTablesPlacesNothing)
{
    struct Case { int formation, choice; } cases[] = {{6, 2}, {200, 2}, {255, 3}, {0, 13}, {1, 200}, {2, 14}};
    for (const auto& c : cases) {
        Clear();
        m_Def.m_nFormation = static_cast<BYTE>(c.formation);
        m_Def.m_nDirection = static_cast<BYTE>(c.choice);
        FireVolley();
        EXPECT_TRUE(Shots().empty()) << c.formation << " " << c.choice;
    }
}

TEST_F(Volley, TheLightningCentresItsColumnsOnTheTarget)
{
    // Player 1 at screen (300, 100): its centre is (316, 116). Falling shots (choice 7).
    m_Player.m_ScreenRect = INTRECT{300, 100, 331, 131};
    m_Def.m_nFormation = kFormationLightning;
    m_Def.m_nFormationTarget = 1;
    m_Def.m_nDirection = 7;
    m_Def.m_nFormationCount = 2;
    m_Def.m_nFormationParams[0] = 1;
    m_Def.m_nFormationParams[2] = 2;   // columns 32 dots apart
    struct Case { int columns; int spacingSwitch; std::vector<PLACED> placed; } cases[] = {
        {1, 0, {{628, 320}, {628, 288}}},
        {1, 1, {{628, 320}, {628, 304}}},
        {2, 0, {{612, 320}, {644, 320}, {612, 288}, {644, 288}}},
        {3, 0, {{596, 320}, {628, 320}, {660, 320}, {596, 288}, {628, 288}, {660, 288}}},
    };
    for (const auto& c : cases) {
        Clear();
        g_SystemData.m_bSummonSwitch = c.spacingSwitch;
        m_Def.m_nFormationParams[1] = static_cast<std::int16_t>(c.columns);
        FireVolley();
        EXPECT_EQ(Placed(), c.placed) << c.columns << " columns, switch " << c.spacingSwitch;
    }
}

TEST_F(Volley, TheLightningWithoutAnAngleFliesByTheStraightTable)
{
    // The table's diagonal is exactly c × speed on both axes, which -cos and -sin of 225
    // degrees are not.
    const double c = g_dInvSqrt2;
    m_Player.m_ScreenRect = INTRECT{300, 100, 331, 131};
    m_Def.m_nFormation = kFormationLightning;
    m_Def.m_nFormationTarget = 1;
    m_Def.m_nDirection = 11;
    m_Def.m_nFormationParams[1] = 1;
    FireVolley();
    ASSERT_EQ(Shots().size(), 1u);
    EXPECT_TRUE(SameDoubleBits(Shots()[0]->m_dOwnVX, c * 4));
    EXPECT_TRUE(SameDoubleBits(Shots()[0]->m_dOwnVY, c * 4));
    // With an angle, the base angle and the angle give it.
    Clear();
    m_Def.m_nAngle = 10;
    FireVolley();
    ASSERT_EQ(Shots().size(), 1u);
    EXPECT_TRUE(SameDoubleBits(Shots()[0]->m_dOwnVX, -GameCos(DegToRad(235.0)) * 4));
}

TEST_F(Volley, SurroundingATargetThatIsNotThereFiresNothing)
{
    m_Def.m_nFormation = kFormationSurround;
    m_Def.m_nFormationTarget = 0;
    m_Def.m_nFormationCount = 4;
    m_Def.m_nFormationParams[0] = 6;
    m_Owner->UnregisterFromTarget();
    m_Owner->m_lpTarget = nullptr;
    FireVolley();
    EXPECT_TRUE(Shots().empty());
    m_Def.m_nFormationTarget = 2;   // the owner itself: four shots around it, flying inward
    FireVolley();
    const std::vector<cShot*> shots = Shots();
    ASSERT_EQ(shots.size(), 4u);
    EXPECT_EQ(TruncToInt(shots[0]->m_dX), 428 + 96);
    EXPECT_LT(shots[0]->m_dOwnVX, 0);
}

TEST_F(Volley, TheAimFlagAimsOnceFromThePlacedStartsCentre)
{
    // The target's centre (636, 520) is level with the start's centre (413, 520), to its right.
    Scene().PlaceChara(2, 2, CharaTemplate(), nullptr);
    cStageChara& target = Scene().m_Charas.back();
    target.m_nDrawOffsetX = target.m_nDrawOffsetY = 0;
    target.m_nDrawWidth = target.m_nDrawHeight = 32;
    target.m_dX = 620;
    target.m_dY = 504;
    m_Owner->UnregisterFromTarget();
    m_Owner->m_lpTarget = &target;
    m_Owner->RegisterWithTarget();
    m_Def.m_nDirection = 2;
    m_Def.m_bAim = 1;
    m_Def.m_nFormationCount = 2;
    m_Def.m_nFormationParams[0] = 1;
    FireVolley();
    const std::vector<cShot*> shots = Shots();
    ASSERT_EQ(shots.size(), 2u);
    for (cShot* shot : shots) {
        // 180 degrees for both: the second object does not aim again from its own place.
        EXPECT_TRUE(SameDoubleBits(shot->m_dOwnVX, -GameCos(DegToRad(180.0)) * 4));
        EXPECT_TRUE(SameDoubleBits(shot->m_dOwnVY, -GameSin(DegToRad(180.0)) * 4));
    }
}

TEST_F(Volley, OnlyShotsAimingAtTheTargetKeepIt)
{
    cStageChara& target = *m_Owner;
    Scene().PlaceChara(2, 2, CharaTemplate(), nullptr);
    m_Owner = &Scene().m_Charas.back();
    m_Owner->UnregisterFromTarget();
    m_Owner->m_lpTarget = &target;
    m_Owner->RegisterWithTarget();
    for (int trajectory = 0; trajectory < 10; ++trajectory) {
        Clear();
        m_Def.m_nTrajectory = static_cast<BYTE>(trajectory);
        FireVolley();
        ASSERT_EQ(Shots().size(), 1u);
        const bool keeps = trajectory == 3 || trajectory == 6;
        EXPECT_EQ(Shots()[0]->m_lpTarget, keeps ? &target : nullptr) << trajectory;
    }
}

TEST_F(Volley, EveryShotEntersTheListOfItsLayerWithTheNextSerial)
{
    m_Def.m_nFormationCount = 3;
    m_Def.m_bOwnersForce = 1;
    Scene().m_ShotLists.m_nShotSerial = 40;
    FireVolley();
    EXPECT_EQ(Scene().m_ShotLists.m_nShotSerial, 43);
    EXPECT_EQ(Scene().m_ShotLists.m_ShotLayers.At(2).size(), 3u);
    int serial = 40;
    for (cShot* shot : Shots()) EXPECT_EQ(shot->m_nSerial, serial++);
}

}  // namespace
