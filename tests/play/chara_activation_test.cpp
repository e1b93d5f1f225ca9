#include <gtest/gtest.h>

#include "play/play_scene.h"
#include "tests/play/stage_objects_fixture.h"

namespace {

class CharaActivation : public StageObjectsTest {
protected:
    // A flying chara (the airborne rule of walkers stays out of the way) with wake switch
    // `wakeSwitch` (-1 none), placed at block (column, 0) and then moved to stage x `x`.
    cStageChara& Add(double x, int wakeSwitch, int keepAwake = 0)
    {
        cCharaData definition = CharaTemplate();
        definition.m_nFlying = 1;
        definition.m_bGroupSwitch = wakeSwitch >= 0 ? 1 : 0;
        definition.m_nGroupSwitch = static_cast<std::int16_t>(wakeSwitch >= 0 ? wakeSwitch : 0);
        definition.m_nActivation = static_cast<BYTE>(keepAwake);
        Scene().PlaceChara(0, 0, definition, nullptr);
        cStageChara& chara = Scene().m_Charas.back();
        MoveTo(chara, x);
        return chara;
    }
    static void MoveTo(cStageChara& chara, double x)
    {
        chara.m_dRight += x - chara.m_dX;
        chara.m_dX = x;
    }
};

// The camera shows stage x 320 to 959.
constexpr double kInView = 400;
constexpr double kOutOfView = 1000;

TEST_F(CharaActivation, ACharaInViewWakesEveryCharaSharingItsSwitchWhateverTheirOrder)
{
    cStageChara& before = Add(kOutOfView, 5);
    cStageChara& seen = Add(kInView, 5);
    cStageChara& other = Add(kOutOfView, 6);
    cStageChara& none = Add(kOutOfView, -1);
    Scene().UpdateCharaActivation();
    EXPECT_EQ(seen.m_bAwake, 1);
    EXPECT_EQ(before.m_bAwake, 1);
    EXPECT_EQ(before.m_bInView, 0);
    EXPECT_EQ(other.m_bAwake, 0);
    EXPECT_EQ(none.m_bAwake, 0);
    EXPECT_EQ(Scene().m_ActivityTable.At(5), 1);
    EXPECT_EQ(Scene().m_ActivityTable.At(6), 0);

    // The table is rebuilt every pass: once the chara in view leaves it, the other sleeps.
    MoveTo(seen, kOutOfView);
    Scene().UpdateCharaActivation();
    EXPECT_EQ(seen.m_bAwake, 0);
    EXPECT_EQ(before.m_bAwake, 0);
}

TEST_F(CharaActivation, KeepAwakeCharasStayAwakeOutOfViewOnceWoken)
{
    cStageChara& kept = Add(kInView, -1, 1);
    cStageChara& plain = Add(kInView, -1, 0);
    cStageChara& never = Add(kOutOfView, -1, 1);
    Scene().UpdateCharaActivation();
    MoveTo(kept, kOutOfView);
    MoveTo(plain, kOutOfView);
    Scene().UpdateCharaActivation();
    EXPECT_EQ(kept.m_bAwake, 1);
    EXPECT_EQ(plain.m_bAwake, 0);
    EXPECT_EQ(never.m_bAwake, 0);
}

TEST_F(CharaActivation, WalkingCharasStayAwakeWhileRisingOrFallingAfterWaking)
{
    Scene().PlaceChara(0, 0, CharaTemplate(), nullptr);
    cStageChara& walker = Scene().m_Charas.back();
    walker.m_bFalling = 0;
    MoveTo(walker, kOutOfView);
    Scene().UpdateCharaActivation();
    EXPECT_EQ(walker.m_bAwake, 0);
    walker.m_bJumpRise = 1;     // a jump wakes it even before it was ever seen
    Scene().UpdateCharaActivation();
    EXPECT_EQ(walker.m_bAwake, 1);
    walker.m_bJumpRise = 0;
    walker.m_bFalling = 1;      // and, woken once, a fall keeps it awake
    Scene().UpdateCharaActivation();
    EXPECT_EQ(walker.m_bAwake, 1);
    walker.m_bFalling = 0;
    Scene().UpdateCharaActivation();
    EXPECT_EQ(walker.m_bAwake, 0);
}

TEST_F(CharaActivation, AWakeSwitchBeyondTheTableGoesThroughTheCheckedAccess)
{
    cStageChara& seen = Add(kInView, 75);
    cStageChara& sharer = Add(kOutOfView, 75);
    Scene().UpdateCharaActivation();
    EXPECT_EQ(Scene().m_ActivityTable.size(), 60u);
    EXPECT_EQ(Scene().m_ActivityTable.At(0), 1);   // the checked access's element
    EXPECT_EQ(seen.m_bAwake, 1);
    EXPECT_EQ(sharer.m_bAwake, 1);
}

}  // namespace
