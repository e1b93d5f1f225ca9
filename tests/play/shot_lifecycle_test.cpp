#include <gtest/gtest.h>

#include <iterator>
#include <memory>

#include "data/command_data.h"
#include "data/command_info.h"
#include "data/stage_data.h"
#include "objects/shot.h"
#include "objects/spawn_param.h"
#include "objects/trajectory.h"
#include "play/play_frame_steps.h"
#include "tests/play/contacts_fixture.h"

namespace {

// Shots and swords whose charas go away, run under the sanitizers: nothing may read a chara
// after it is gone.
class ShotLifecycle : public ContactsTest {
protected:
    cShot& FireHoming(cChara& owner, cChara& target)
    {
        cEdShot def;
        def.m_nTrajectory = kTrajectoryHomeTarget;
        def.m_nTrajectoryParams[1] = 999;
        def.m_nSpeed = 20;
        owner.UnregisterFromTarget();
        owner.m_lpTarget = &target;
        owner.RegisterWithTarget();
        SPAWNPARAM spawn;
        spawn.vx = spawn.speed = 2;
        spawn.x = spawn.y = 400;
        cShot shot;
        shot.InitFromTemplate(Scene().m_ShotLists.m_nShotSerial++, owner, kShotObjectShot, def, spawn);
        return Scene().m_ShotLists.Append(shot);
    }
};

TEST_F(ShotLifecycle, AHomingShotLosesItsTargetWhicheverWayTheTargetLeaves)
{
    enum { LIFETIME, OUT_OF_AREA, UNLINK_ALL } paths[] = {LIFETIME, OUT_OF_AREA, UNLINK_ALL};
    for (auto path : paths) {
        cStageChara& owner = AddChara(2, 0, 10);
        cStageChara& target = AddChara(3, 100, 10);
        cShot& shot = FireHoming(owner, target);
        ASSERT_EQ(shot.m_lpTarget, &target);
        switch (path) {
        case LIFETIME:
        case UNLINK_ALL:
            for (auto it = Scene().m_Charas.begin(); it != Scene().m_Charas.end();) {
                if (&*it == &target || path == UNLINK_ALL) it = Scene().UnlinkChara(it);
                else ++it;
            }
            break;
        case OUT_OF_AREA:
            Scene().m_bOutRuleChara = 1;
            g_StageData.m_OutOfRange[0].m_bLeft = 1;
            target.m_dX = target.m_dRight = -5000;
            target.m_bOnScreen = 0;
            RemoveOutOfAreaObjects(Scene());
            break;
        }
        EXPECT_EQ(shot.m_lpTarget, nullptr) << path;
        for (int step = 0; step < 5; ++step) MoveShots(Scene(), 2);
        Scene().m_ShotLists.Reset(kObjectLayers);
        Scene().m_Charas.clear();
        for (auto& layer : Scene().m_CharaLayers) layer.clear();
    }
}

TEST_F(ShotLifecycle, ASceneDeletedWithShotsAimedAtItsCharasLeavesNothingBehind)
{
    cStageChara& owner = AddChara(2, 0, 10);
    cStageChara& target = AddChara(3, 100, 10);
    FireHoming(owner, target);
    FireHoming(target, owner);
    m_Stage.NewScene();
    SUCCEED();
}

TEST_F(ShotLifecycle, ASwordWhoseOwnerGoesAwayEndsAtItsNextUpdate)
{
    g_Database.m_SwordTypes.resize(1);
    g_Database.m_SwordTypes[0].SetDefaults();
    g_Database.m_SwordTypes[0].m_Frames[0].m_nWidth = 20;
    g_Database.m_SwordTypes[0].m_Frames[0].m_nHeight = 8;
    cStageChara& owner = AddChara(2, 0, 10);
    cEdShot def;
    SPAWNPARAM spawn;
    cShot sword;
    sword.InitFromTemplate(7, owner, kShotObjectSword, def, spawn);
    Scene().m_ShotLists.Append(sword);
    MoveShots(Scene(), 2);
    ASSERT_EQ(ShotSerials(), std::vector<int>{7});
    Scene().UnlinkChara(std::prev(Scene().m_Charas.end()));
    MoveShots(Scene(), 2);
    EXPECT_TRUE(ShotSerials().empty());
    EXPECT_TRUE(Scene().m_ShotLists.m_ShotLayers.At(2).empty());
}

TEST_F(ShotLifecycle, ADefeatedCharasFollowersLoseTheirLinkToIt)
{
    cStageChara& owner = AddChara(2, 0, 10);
    cShot& shot = FireHoming(owner, Hero());
    owner.m_Followers.push_back(&shot);
    shot.m_nOwnerSerial = owner.m_nSerial;
    owner.m_nHp = 0;
    owner.Defeat();
    EXPECT_EQ(shot.m_nOwnerSerial, kNoOwnerSerial);
    EXPECT_TRUE(owner.m_Followers.empty());
}

TEST_F(ShotLifecycle, ShotsFiredByADeathDuringTheContactsAreWalkedInThatPass)
{
    // A chara of layer 2 fires three shots of layer 0 at its death; a shot of the hero's layer
    // kills it.
    cStageChara& victim = AddChara(2, 0, 1);
    cCommandData fire;
    fire.m_nKind = COMMAND_SHOT;
    fire.m_nTime = 1;
    cEdShot::Create(fire.m_pShot);
    fire.m_pShot->m_nFormationCount = 3;
    fire.m_pShot->m_nFormation = 2;
    fire.m_pShot->m_nFormationParams[0] = 30;
    fire.m_pShot->m_bOwnersForce = 0;
    fire.m_pShot->m_nForce = 0;
    cFlowData death;
    death.m_nTrigger = TRIGGER_DEATH;
    death.m_Commands.push_back(fire);
    victim.m_Def.m_Flows.clear();
    victim.m_Def.m_Flows.push_back(death);
    victim.LoadFlows(victim.m_Def.m_Flows, victim.m_nDirection, 0, 0);
    AddShot(0, 8, 5, 900);
    Scene().ProcessContacts();
    EXPECT_EQ(Scene().m_ShotLists.m_Shots.size(), 3u);
}

}  // namespace
