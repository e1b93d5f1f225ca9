#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "objects/hero.h"
#include "shell/log.h"
#include "tests/play/block_stage.h"
#include "tests/support/temp_folder.h"

namespace {

// Flows for the triggers riding raises: 5 hit, 6 riding, 16 ridden by the hero, 17 by a chara.
void WatchRideTriggers(cChara& chara)
{
    chara.m_Def.m_Flows.clear();
    for (int trigger : {5, 6, 16, 17}) {
        cFlowData flow;
        flow.m_nTrigger = static_cast<std::int8_t>(trigger);
        chara.m_Def.m_Flows.push_back(flow);
    }
    chara.LoadFlows(chara.m_Def.m_Flows, chara.m_nDirection, 0, 0);
}

// The error-check log in a folder of its own while it lives.
class cRideLog {
public:
    cRideLog()
    {
        m_Folder.ChangeInto();
        SetEcLogFile(1, "ec.txt");
    }
    ~cRideLog() { SetEcLogFile(0, "ec.txt"); }
    cRideLog(const cRideLog&) = delete;
    cRideLog& operator=(const cRideLog&) = delete;
    bool Has(const char* line) const
    {
        return m_Folder.Exists("ec.txt") && m_Folder.ReadFile("ec.txt").find(line) != std::string::npos;
    }

private:
    qbtest::cTempFolder m_Folder;
};

struct RIDEBODY {
    double x, y;
    int width, height;
    double savedX, savedY;   // the bounds at the start of the sub-step
    double vx, vy;
    int moveType;            // 0 walking, 2 flying, 3 flying and killed by blocks
};

// Block-like charas, serials 21, 22, ... in list order.
void AddPlatforms(cPlayScene& scene, std::initializer_list<RIDEBODY> platforms)
{
    int serial = 21;
    for (const RIDEBODY& p : platforms) {
        cStageChara& x = scene.m_Charas.emplace_back();
        cBlockStage::SetUpChara(x, p.savedX, p.savedY, p.width, p.height, 1, p.moveType, 1, serial++);
        x.SavePosition();
        x.m_dX = p.x;
        x.m_dY = p.y;
        x.ClampX(2);
        x.ClampY(2);
        x.m_Def.m_bWholeCellBoxes = 1;
        x.m_bActive = 1;
        x.m_dVX = p.vx;
        x.m_dVY = p.vy;
        WatchRideTriggers(x);
    }
}

void PlaceRider(cChara& rider, const RIDEBODY& r, int kind)
{
    cBlockStage::SetUpChara(rider, r.savedX, r.savedY, r.width, r.height, kind, r.moveType, 1, 7);
    rider.SavePosition();
    rider.m_dX = r.x;
    rider.m_dY = r.y;
    rider.OnMovedX();
    rider.OnMovedY();
    rider.m_dVX = r.vx;
    rider.m_dVY = r.vy;
    WatchRideTriggers(rider);
}

struct RideCase {
    const char* name;
    std::initializer_list<const char*> grid;   // from block (10, 10), pixel (320, 320)
    RIDEBODY rider;
    int riding, rideSerial;
    std::initializer_list<RIDEBODY> platforms;
    // Expected:
    int result;
    double x, y, vy;
    int left, right, up, down;
    int ridingAfter, rideSerialAfter;
    bool dHit;
    std::vector<int> riderTriggers;
    std::vector<int> firstPlatformTriggers;
};

}  // namespace

// A rider 20 x 30 of kind 1 against platforms; the stage runs one sub-step per frame, so a fall
// faster than 2 pixels per sub-step is fast and the ceiling slack is 0.4.
TEST(Riding, HitsWithBlockLikeCharasMoveLandAndCrushAsTheTableSays)
{
    const RideCase cases[] = {
        {"landing on a still platform starts a ride", {}, {410, 471, 20, 30, 410, 470, 0, 1, 0}, 0, 0,
         {{400, 500, 64, 16, 400, 500, 0, 0, 0}}, 0, 410, 470, 0, 0, 0, 0, 0, 1, 21, false, {5, 6}, {17}},
        {"a fast fall through the top lands and logs D Hit", {}, {410, 490, 20, 30, 410, 470, 0, 20, 0}, 0, 0,
         {{400, 500, 64, 16, 400, 500, 0, 0, 0}}, 0, 410, 470, 0, 0, 0, 0, 0, 1, 21, true, {5, 6}, {17}},
        {"of two landings the higher wins, the later one only when strictly higher", {},
         {410, 471, 20, 30, 410, 470, 0, 1, 0}, 0, 0,
         {{380, 500, 40, 16, 380, 500, 0, 0, 0}, {415, 500, 40, 16, 415, 500, 0, 0, 0}}, 0, 410, 470, 0, 0, 0,
         0, 0, 1, 21, false, {5, 6}, {17}},
        {"a platform rising under the feet sets the down flag", {}, {410, 471, 20, 30, 410, 470, 0, 1, 0}, 0, 0,
         {{400, 500, 64, 16, 400, 502, 0, -2, 0}}, 0, 410, 470, 0, 0, 0, 0, 1, 1, 21, false, {5, 6}, {17}},
        {"a jump into a platform's underside stops at its bottom", {}, {410, 510, 20, 30, 410, 513, 0, -3, 0},
         0, 0, {{400, 490, 64, 30, 400, 490, 0, 0, 0}}, 0, 410, 520, 0, 0, 0, 1, 0, 0, 0, false, {5}, {}},
        {"pressed from both sides dies", {}, {410, 400, 20, 30, 410, 400, 0, 0, 0}, 0, 0,
         {{380, 400, 31, 30, 380, 400, 0, 0, 0}, {429, 400, 30, 30, 429, 400, 0, 0, 0}}, 2, 410, 430, 0, 0, 0, 1,
         0, 0, 0, false, {5}, {}},
        {"a platform at the side pushes the chara out", {}, {420, 400, 20, 30, 420, 400, 0, 0, 0}, 0, 0,
         {{380, 400, 49, 30, 380, 400, 0, 0, 0}}, 0, 429.5, 400, 0, 1, 0, 0, 0, 0, 0, false, {5}, {}},
        // Five steps in double bring the right edge from 448.5 to just under 448.
        {"a push into the grid is undone a tenth of a pixel at a time", {"....#", "....#"},
         {420, 330, 20, 30, 420, 330, 0, 0, 0}, 0, 0, {{380, 330, 49, 30, 380, 330, 0, 0, 0}}, 0, 429.5 - 0.1 - 0.1 - 0.1 - 0.1 - 0.1, 330, 0,
         1, 0, 0, 0, 0, 0, false, {5}, {}},
        {"the undoing stops after 1.5 pixels", {"...##", "...##"}, {420, 330, 20, 30, 420, 330, 0, 0, 0}, 0, 0,
         {{380, 330, 49, 30, 380, 330, 0, 0, 0}}, 0, 428.0, 330, 0, 1, 0, 0, 0, 0, 0, false, {5}, {}},
        {"a platform within 5 pixels under the feet keeps the ride", {}, {410, 470, 20, 30, 410, 470, 0, 0, 0}, 1,
         21, {{400, 504, 64, 16, 400, 504, 0, 0, 0}}, 0, 410, 470, 0, 0, 0, 0, 0, 1, 21, false, {5, 6}, {}},
        {"at 6 pixels the ride ends", {}, {410, 470, 20, 30, 410, 470, 0, 0, 0}, 1, 21,
         {{400, 505, 64, 16, 400, 505, 0, 0, 0}}, 0, 410, 470, 0, 0, 0, 0, 0, 0, 21, false, {5, 6}, {}},
        {"at 6 pixels another platform in the band takes the ride", {}, {410, 470, 20, 30, 410, 470, 0, 0, 0}, 1,
         21, {{400, 505, 64, 16, 400, 505, 0, 0, 0}, {420, 503, 64, 16, 420, 503, 0, 0, 0}}, 0, 410, 470, 0, 0,
         0, 0, 0, 1, 22, false, {5, 6}, {}},
        {"a platform moving down into a wall refuses the landing but keeps the snapshot", {"#", "#", "#"},
         {330, 371, 20, 30, 330, 370, 0, 1, 0}, 0, 0, {{320, 400, 64, 16, 320, 398, 0, 2, 0}}, 0, 330, 371, 1,
         0, 0, 0, 0, 0, 21, false, {5}, {}},
        {"a flyer of collision mode 2 dies without moving", {}, {410, 400, 20, 30, 410, 400, 1, 0, 3}, 0, 0,
         {{380, 400, 31, 30, 380, 400, 0, 0, 0}}, 2, 410, 400, 0, 1, 0, 0, 0, 0, 0, false, {5}, {}},
        {"a flyer is pushed by a platform moving into it", {}, {410, 400, 20, 30, 410, 400, 0, 0, 2}, 0, 0,
         {{380, 400, 31, 30, 380, 400, 3, 0, 0}}, 0, 411, 400, 0, 1, 0, 0, 0, 0, 0, false, {5}, {}},
        {"a platform moving away does not drag a flyer", {}, {410, 400, 20, 30, 410, 400, 0, 0, 2}, 0, 0,
         {{380, 400, 31, 30, 380, 400, -3, 0, 0}}, 0, 410, 400, 0, 0, 0, 0, 0, 0, 0, false, {5}, {}},
        {"equal overlap width and height is a side for a flyer", {}, {410, 400, 20, 30, 410, 400, 0, 0, 2}, 0,
         0, {{400, 424, 16, 16, 400, 424, 0, 0, 0}}, 0, 416, 400, 0, 1, 0, 0, 0, 0, 0, false, {5}, {}},
    };
    for (const RideCase& c : cases) {
        cBlockStage stage;
        cRideLog log;
        cBlockStage::DrawBlocks(c.grid, 10, 10);
        cPlayScene& scene = stage.Scene();
        AddPlatforms(scene, c.platforms);
        cStageChara rider;
        PlaceRider(rider, c.rider, 1);
        rider.m_bRiding = c.riding;
        rider.m_nRideSerial = c.rideSerial;
        rider.ResetFlowFrameFlags();
        for (cStageChara& x : scene.m_Charas) x.ResetFlowFrameFlags();

        EXPECT_EQ(scene.ProcessHits(rider, scene.m_Charas), c.result) << c.name;
        EXPECT_NEAR(rider.m_dX, c.x, 1e-9) << c.name;
        EXPECT_NEAR(rider.m_dY, c.y, 1e-9) << c.name;
        EXPECT_DOUBLE_EQ(rider.m_dVY, c.vy) << c.name;
        EXPECT_EQ(rider.m_bContactLeft, c.left) << c.name;
        EXPECT_EQ(rider.m_bContactRight, c.right) << c.name;
        EXPECT_EQ(rider.m_bContactUp, c.up) << c.name;
        EXPECT_EQ(rider.m_bContactDown, c.down) << c.name;
        EXPECT_EQ(rider.m_bRiding, c.ridingAfter) << c.name;
        EXPECT_EQ(rider.m_nRideSerial, c.rideSerialAfter) << c.name;
        EXPECT_EQ(log.Has("D Hit"), c.dHit) << c.name;
        EXPECT_EQ(cBlockStage::StartedTriggers(rider), c.riderTriggers) << c.name;
        EXPECT_EQ(cBlockStage::StartedTriggers(scene.m_Charas.front()), c.firstPlatformTriggers) << c.name;
    }
}

TEST(Riding, TheHeroLandingOnAPlatformRaisesBothRiddenTriggersAndClearsTheNoJumpFlag)
{
    cBlockStage stage;
    cPlayScene& scene = stage.Scene();
    AddPlatforms(scene, {{400, 500, 64, 16, 400, 500, 0, 0, 0}});
    cHero& hero = stage.AddPlayerOne();
    PlaceRider(hero, {410, 471, 20, 30, 410, 470, 0, 1, 0}, 0);
    hero.m_bNoJump = 1;
    scene.m_Charas.front().ResetFlowFrameFlags();

    EXPECT_EQ(scene.ProcessHits(hero, scene.m_Charas), 0);
    EXPECT_EQ(hero.m_bRiding, 1);
    EXPECT_EQ(hero.m_bNoJump, 0);
    EXPECT_EQ(cBlockStage::StartedTriggers(scene.m_Charas.front()), (std::vector<int>{16, 17}));
}

TEST(Riding, FollowingAPlatformTakesItsDisplacementSinceItWasLastSeen)
{
    struct Case {
        const char* name;
        int riderKind, riderMoveType;
        RIDEBODY platform;   // its saved place is the rider's snapshot
        int platformFalling;
        double vx, vy;
        std::vector<int> platformTriggers;
    } cases[] = {
        {"a walking platform moving right adds to velocity x", 1, 0, {403, 500, 64, 16, 400, 500, 3, 0, 0}, 0, 3.5,
         1, {17}},
        {"a flying platform gives its vertical move", 1, 0, {403, 497, 64, 16, 400, 500, 3, -3, 2}, 0, 3.5, -3,
         {17}},
        {"a falling platform gives its vertical move", 1, 0, {400, 504, 64, 16, 400, 500, 0, 4, 0}, 1, 0.5, 4,
         {17}},
        {"the hero raises 16 then 17", 0, 0, {400, 500, 64, 16, 400, 500, 0, 0, 0}, 0, 0.5, 1, {16, 17}},
        {"a flying rider does not follow", 1, 2, {403, 497, 64, 16, 400, 500, 3, -3, 2}, 0, 0.5, 1, {}},
    };
    for (const Case& c : cases) {
        cBlockStage stage;
        cPlayScene& scene = stage.Scene();
        AddPlatforms(scene, {c.platform});
        cStageChara& platform = scene.m_Charas.front();
        platform.m_bFalling = c.platformFalling;
        platform.ResetFlowFrameFlags();
        cStageChara rider;
        PlaceRider(rider, {410, 470, 20, 30, 410, 470, 0.5, 1, c.riderMoveType}, c.riderKind);
        rider.m_bRiding = 1;
        rider.m_nRideSerial = platform.m_nSerial;
        rider.m_RideRect = platform.m_SavedBounds;

        EXPECT_EQ(scene.FollowRiddenChara(rider, scene.m_Charas), 0) << c.name;
        EXPECT_DOUBLE_EQ(rider.m_dVX, c.vx) << c.name;
        EXPECT_DOUBLE_EQ(rider.m_dVY, c.vy) << c.name;
        EXPECT_EQ(cBlockStage::StartedTriggers(platform), c.platformTriggers) << c.name;
    }
}
