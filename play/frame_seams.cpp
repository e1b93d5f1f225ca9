// Charas against the block-like charas: pushes, landings, rides and crushes.
#include "play/frame_seams.h"

#include <algorithm>

#include "data/command_info.h"
#include "data/role_accessors.h"
#include "objects/hero.h"
#include "play/block_grid.h"
#include "play/play_scene.h"
#include "shell/log.h"

namespace {

int (*s_ProcessHitsStandIn)(cChara&) = nullptr;

constexpr double kNoCandidate = -1.0;
constexpr int kRideUnstickSteps = 15;
constexpr double kRideUnstickStep = 0.1;
constexpr double kRideFeetBand = 5;

// One correction offered by the block-like charas: its value (kNoCandidate until one is offered), the
// chara that offered it and that chara's velocity along the axis concerned.
struct RIDECANDIDATE {
    double dValue = kNoCandidate;
    cChara* lpBy = nullptr;
    double dVelocity = 0;

    bool IsSet() const { return dValue != kNoCandidate; }
    // A later offer wins only when strictly better, so list order settles ties.
    bool Offer(double value, cChara& by, double velocity, bool largestWins)
    {
        if (IsSet() && !(largestWins ? value > dValue : value < dValue)) return false;
        dValue = value;
        lpBy = &by;
        dVelocity = velocity;
        return true;
    }
};

struct RIDECANDIDATES {
    RIDECANDIDATE pushRight;
    RIDECANDIDATE pushLeft;
    RIDECANDIDATE ceiling;
    RIDECANDIDATE landing;
};

bool RideTakesPart(const cChara& other, const cChara& chara)
{
    return CharaIsBlock(other.m_Def) != 0 && other.m_bActive != 0 && other.m_bDead == 0 &&
           other.m_nSerial != chara.m_nSerial;
}

bool RideOverlaps(const cChara& other, const DBLRECT& r) { return other.OverlapsRect(r.left, r.top, r.right, r.bottom) != 0; }

bool RideRectsOverlap(const DBLRECT& a, const DBLRECT& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

DBLRECT RideBoundsOf(const cChara& chara) { return DBLRECT{chara.m_dX, chara.m_dY, chara.m_dRight, chara.m_dBottom}; }

bool AnyBlockCharaIn(const cCharaList& charas, const cChara& chara, const DBLRECT& box, int ignoreSerial)
{
    for (const cStageChara& x : charas) {
        if (RideTakesPart(x, chara) && x.m_nSerial != ignoreSerial && RideOverlaps(x, box)) return true;
    }
    return false;
}

// The block-like chara the chara rides, while it takes part.
const cChara* FindRidden(const cCharaList& charas, const cChara& chara)
{
    for (const cStageChara& x : charas)
        if (x.m_nSerial == chara.m_nRideSerial && RideTakesPart(x, chara)) return &x;
    return nullptr;
}

// The overlap of two rectangles in pixels, inclusive, taken in double.
void RideOverlapSize(const DBLRECT& a, const DBLRECT& b, double& width, double& height)
{
    width = std::min(a.right, b.right) - std::max(a.left, b.left) + 1;
    height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top) + 1;
}

bool RideTouches(const cChara& other, double x1, double y1, double x2, double y2)
{
    return other.OverlapsRect(x1, y1, x2, y2) != 0;
}

void TakeRide(cChara& chara, const cChara& ridden)
{
    chara.m_nRideSerial = ridden.m_nSerial;
    chara.m_RideRect = RideBoundsOf(ridden);
}

bool RideIsHero(const cChara& chara) { return chara.m_nKind == 0; }

void RaiseRiddenTriggers(cChara& ridden, const cChara& rider)
{
    if (RideIsHero(rider)) ridden.RaiseTrigger(TRIGGER_RIDDEN_BY_HERO);
    ridden.RaiseTrigger(TRIGGER_RIDDEN_BY_CHARA);
}

// A block-like chara the chara meets along one edge offers the corrections of that edge.
void OfferPushRight(cChara& chara, RIDECANDIDATES& c, cChara& x, double extra)
{
    chara.m_bContactLeft = 1;
    c.pushRight.Offer(x.m_dRight + 1 + extra, x, x.m_dVX, true);
}

void OfferPushLeft(cChara& chara, RIDECANDIDATES& c, cChara& x, double extra)
{
    chara.m_bContactRight = 1;
    c.pushLeft.Offer(x.m_dX - chara.m_nWidth - extra, x, x.m_dVX, false);
}

void OfferCeiling(cChara& chara, RIDECANDIDATES& c, cChara& x)
{
    chara.m_bContactUp = 1;
    c.ceiling.Offer(x.m_dBottom + 1, x, x.m_dVY, true);
}

void OfferLanding(cChara& chara, RIDECANDIDATES& c, cChara& x)
{
    chara.m_bContactDown = 1;
    c.landing.Offer(x.m_dY - chara.m_nHeight, x, x.m_dVY, false);
}

// The edges of a rectangle tested against one block-like chara, as a flyer meets it or as a
// chara is pushed out along one axis (vertical: top and bottom; horizontal: left and right).
void TestEdges(cChara& chara, RIDECANDIDATES& c, cChara& x, bool vertical)
{
    const double left = chara.m_dX;
    const double top = chara.m_dY;
    const double right = chara.m_dRight;
    const double bottom = chara.m_dBottom;
    if (vertical) {
        if (RideTouches(x, left + 1, top, right - 1, top)) OfferCeiling(chara, c, x);
        if (RideTouches(x, left + 1, bottom, right - 1, bottom)) OfferLanding(chara, c, x);
    } else {
        if (RideTouches(x, left, top + 1, left, bottom - 1)) OfferPushRight(chara, c, x, 0);
        if (RideTouches(x, right, top + 1, right, bottom - 1)) OfferPushLeft(chara, c, x, 0);
    }
}

void SetLeftRide(cChara& chara, const RIDECANDIDATE& push)
{
    if (!(push.lpBy->m_nSerial == chara.m_nRideSerial && chara.m_bRiding)) chara.m_bLeftRide = 1;
}

void ApplyPushX(cChara& chara, const RIDECANDIDATE& push)
{
    SetLeftRide(chara, push);
    chara.m_dX = push.dValue;
    chara.OnMovedX();
}

void SetJumpStopped(cChara& chara)
{
    chara.m_bJumpUsed = 1;
    chara.m_bJumpRise = 1;
    chara.m_bCeilingStop = 1;
}

int ProcessFlyerHits(cPlayScene& scene, cChara& chara, cCharaList& charas)
{
    RIDECANDIDATES c;
    bool any = false;
    const DBLRECT bounds = RideBoundsOf(chara);
    for (cStageChara& x : charas) {
        if (!RideTakesPart(x, chara) || !RideOverlaps(x, bounds)) continue;
        any = true;
        double w = 0;
        double h = 0;
        RideOverlapSize(bounds, RideBoundsOf(x), w, h);
        TestEdges(chara, c, x, w > h);
    }
    if (any) chara.RaiseTrigger(TRIGGER_HIT_BLOCK_CHARA);
    if (chara.m_byCollision == 2) {
        return (c.pushRight.IsSet() || c.pushLeft.IsSet() || c.ceiling.IsSet() || c.landing.IsSet()) ? 2 : 0;
    }
    // A block-like chara moving away from the flyer does not drag it along: the flyer is only
    // pushed out across the other axis. `sign` is the direction in which the candidate pushes.
    auto correct = [&](const RIDECANDIDATE& edge, double sign, bool horizontal, int& flag) {
        if (!edge.IsSet()) return;
        (horizontal ? chara.m_dInertiaX : chara.m_dInertiaY) = 0;
        const double own = horizontal ? chara.m_dVX : chara.m_dVY;
        if (edge.dVelocity * sign < 0 && own * sign >= 0) {
            flag = 0;
            scene.PushOutOfBlockCharas(chara, charas, horizontal ? 1 : 0);
            return;
        }
        if (horizontal) {
            chara.m_dX = edge.dValue;
            chara.m_bLeftRide = 1;
            chara.OnMovedX();
        } else {
            chara.m_dY = edge.dValue;
            chara.OnMovedY();
        }
    };
    correct(c.pushRight, 1, true, chara.m_bContactLeft);
    correct(c.pushLeft, -1, true, chara.m_bContactRight);
    correct(c.ceiling, 1, false, chara.m_bContactUp);
    correct(c.landing, -1, false, chara.m_bContactDown);
    return 0;
}

// The landing offer of a block-like chara under the feet; the one that wins is the ride.
void OfferFeetLanding(cChara& chara, RIDECANDIDATES& c, cChara& x)
{
    if (x.m_dVY < 0) chara.m_bContactDown = 1;
    if (c.landing.Offer(x.m_dY - chara.m_nHeight, x, x.m_dVY, false)) TakeRide(chara, x);
}

// One block-like chara overlapping a walking chara: the contacts it makes and what it offers.
void TestWalkerAgainst(cChara& chara, RIDECANDIDATES& c, cChara& x, double fast, double slack)
{
    const int halfHeight = chara.m_nHeight / 2;
    const double left = chara.m_dX;
    const double top = chara.m_dY;
    const double right = chara.m_dRight;
    const double bottom = chara.m_dBottom;
    const DBLRECT upperHalf{left, top, right, top + halfHeight};
    const DBLRECT probe{chara.m_SavedBounds.left, top, chara.m_SavedBounds.right, bottom};
    const DBLRECT xBounds = RideBoundsOf(x);
    double w = 0;
    double h = 0;
    if (RideOverlaps(x, upperHalf)) {
        RideOverlapSize(upperHalf, xBounds, w, h);
        const bool probeMeetsSaved = RideRectsOverlap(probe, x.m_SavedBounds);
        if (chara.m_dVY > fast && probeMeetsSaved && chara.m_SavedBounds.top < x.m_SavedBounds.top) {
            // Fallen through the platform's top within one sub-step: it still lands.
            EcLog("D Hit");
            OfferFeetLanding(chara, c, x);
        } else if ((w - h > slack && bottom > x.m_dBottom) ||
                   (probeMeetsSaved && chara.m_SavedBounds.top > x.m_SavedBounds.top &&
                    !RideRectsOverlap(chara.m_SavedBounds, xBounds))) {
            if (x.m_dVY <= 0) chara.m_bContactUp = 1;
            c.ceiling.Offer(x.m_dBottom + 1, x, x.m_dVY, true);
            if (chara.m_bRiding && chara.m_dVY < 0) chara.m_bContactDown = 1;
        } else {
            const bool leftHit = RideTouches(x, left, top, left, top + halfHeight);
            const bool rightHit = RideTouches(x, right, top, right, top + halfHeight);
            if (chara.m_dVX < 0) {
                if (leftHit) OfferPushRight(chara, c, x, 0.5);
                else if (rightHit) OfferPushLeft(chara, c, x, 0.5);
            } else {
                if (rightHit) OfferPushLeft(chara, c, x, 0.5);
                else if (leftHit) OfferPushRight(chara, c, x, 0.5);
            }
        }
        return;
    }
    RideOverlapSize(RideBoundsOf(chara), xBounds, w, h);
    if (h <= w) {
        const int thirdHeight = chara.m_nHeight / 3;
        if (RideTouches(x, left + 1, bottom - thirdHeight, right - 1, bottom)) OfferFeetLanding(chara, c, x);
    } else {
        if (RideTouches(x, right, top, right, bottom)) OfferPushLeft(chara, c, x, 0.5);
        if (RideTouches(x, left, top, left, bottom)) OfferPushRight(chara, c, x, 0.5);
    }
}

// The first block-like chara over the upper half pushes the chara down; the side contacts go.
void SqueezeDown(cChara& chara, cCharaList& charas)
{
    const DBLRECT upperHalf{chara.m_dX, chara.m_dY, chara.m_dRight, chara.m_dY + chara.m_nHeight / 2};
    for (cStageChara& x : charas) {
        if (!RideTakesPart(x, chara) || !RideOverlaps(x, upperHalf)) continue;
        if (x.m_dVY <= 0) chara.m_bContactUp = 1;
        chara.m_dInertiaY = 0;
        SetJumpStopped(chara);
        chara.m_dVY = x.m_dVY;
        chara.m_dY = x.m_dBottom + 1;
        chara.OnMovedY();
        break;
    }
    chara.m_bContactLeft = 0;
    chara.m_bContactRight = 0;
}

// Undoes a push that left the chara inside the grid, a tenth of a pixel at a time.
void Unstick(cChara& chara, int flag, double dx, double dy)
{
    if (flag == 0) return;
    for (int i = 0; i < kRideUnstickSteps && chara.IsInsideBlock(g_BlockGrid); ++i) {
        if (dx != 0) {
            chara.m_dX += dx;
            chara.OnMovedX();
        } else {
            chara.m_dY += dy;
            chara.OnMovedY();
        }
    }
}

void LandOnBlockChara(cChara& chara, const RIDECANDIDATE& landing, bool& landed)
{
    chara.m_dInertiaY = 0;
    landed = true;
    if (chara.m_bRiding == 0) {
        chara.m_bRiding = 1;
        RaiseRiddenTriggers(*landing.lpBy, chara);
    }
    chara.m_dY = landing.dValue;
    chara.OnMovedY();
    chara.m_dVY = 0;
    chara.m_nAirborne = 0;
    chara.m_bJumpUsed = 0;
    chara.m_bJumpRise = 0;
    chara.m_bFalling = 0;
    chara.m_Knockback.bKnocked = 0;
    if (chara.m_nKind == 1) chara.m_bCeilingStop = 0;
    if (RideIsHero(chara) && !Player.empty()) Player.At(0).m_bNoJump = 0;
}

}  // namespace

void SetProcessHitsStandIn(int (*standIn)(cChara& chara)) { s_ProcessHitsStandIn = standIn; }

int cRidingAndBlockEffects::ProcessHits(cChara& chara, cCharaList& charas)
{
    if (s_ProcessHitsStandIn) return s_ProcessHitsStandIn(chara);
    cPlayScene& scene = SceneOf(this);
    if (chara.m_bFlying != 0) {
        if (chara.m_byCollision == 0) return 0;
        return ProcessFlyerHits(scene, chara, charas);
    }

    const STAGESPEED speed = CurrentStageSpeed();
    const double fast = 2.0 / speed.dSteps;
    const double slack = 0.4 / speed.dSteps;
    const DBLRECT entry = RideBoundsOf(chara);
    RIDECANDIDATES c;
    bool touched = false;
    for (cStageChara& x : charas) {
        if (!RideTakesPart(x, chara) || !RideOverlaps(x, RideBoundsOf(chara))) continue;
        touched = true;
        TestWalkerAgainst(chara, c, x, fast, slack);
    }

    const bool bothSides = c.pushRight.IsSet() && c.pushLeft.IsSet();
    const bool ceilingOnly = c.ceiling.IsSet() && !c.landing.IsSet();
    bool landed = false;
    bool pushes = true;
    if (ceilingOnly) {
        bool refused = false;
        if (c.ceiling.dVelocity < 0) {
            refused = chara.IsInsideBlock(g_BlockGrid) != 0;
            if (!refused) {
                const DBLRECT box{chara.m_dX, c.ceiling.dValue, chara.m_dRight, chara.m_dBottom};
                refused = AnyBlockCharaIn(charas, chara, box, c.ceiling.lpBy->m_nSerial);
            }
        }
        if (!refused) {
            chara.m_dY = c.ceiling.dValue;
            SetJumpStopped(chara);
            chara.m_dInertiaY = 0;
            chara.m_dVY = c.ceiling.dVelocity;
            chara.OnMovedY();
            scene.CollideYBoth(chara);
        }
    } else if (bothSides && !c.landing.IsSet()) {
        SqueezeDown(chara, charas);
        pushes = false;
    } else if (c.landing.IsSet() && !bothSides) {
        if (c.landing.dVelocity > 0 && chara.IsInsideBlock(g_BlockGrid)) chara.m_bRiding = 0;
        else LandOnBlockChara(chara, c.landing, landed);
    }
    if (pushes) {
        for (const RIDECANDIDATE* push : {&c.pushRight, &c.pushLeft}) {
            if (!push->IsSet()) continue;
            chara.m_dInertiaX = 0;
            ApplyPushX(chara, *push);
        }
        if (bothSides && !c.landing.IsSet()) {
            chara.m_dX = entry.left;
            chara.OnMovedX();
            SqueezeDown(chara, charas);
        }
    }

    if (touched || chara.m_bRiding) chara.RaiseTrigger(TRIGGER_HIT_BLOCK_CHARA);
    if (chara.m_bRiding) chara.RaiseTrigger(TRIGGER_ON_BLOCK_CHARA);

    if (chara.m_bContactLeft && chara.m_bContactRight) return 2;
    if (chara.m_bContactUp && chara.m_bContactDown) return 2;
    if (IsEnclosedByBlockCharas(chara, entry)) return 2;

    Unstick(chara, chara.m_bContactLeft, -kRideUnstickStep, 0);
    Unstick(chara, chara.m_bContactRight, kRideUnstickStep, 0);
    Unstick(chara, chara.m_bContactUp, 0, -kRideUnstickStep);
    Unstick(chara, chara.m_bContactDown, 0, kRideUnstickStep);

    if (chara.m_bRiding && !landed) {
        if (chara.m_Knockback.dSpeedY < 0) {
            chara.ClearRideState(1);
        } else if (IsStillOnRiddenChara(chara)) {
            chara.m_nAirborne = 0;
            chara.m_Knockback.bKnocked = 0;
            if (const cChara* ridden = FindRidden(charas, chara)) chara.m_RideRect = RideBoundsOf(*ridden);
        } else if (cChara* under = FindBlockCharaUnderFeet(chara)) {
            chara.m_nAirborne = 0;
            chara.m_Knockback.bKnocked = 0;
            TakeRide(chara, *under);
        } else {
            chara.ClearRideState(1);
        }
    }
    return 0;
}

void cRidingAndBlockEffects::PushOutOfBlockCharas(cChara& chara, cCharaList& charas, int axis)
{
    RIDECANDIDATES c;
    const DBLRECT bounds = RideBoundsOf(chara);
    for (cStageChara& x : charas) {
        if (RideTakesPart(x, chara) && RideOverlaps(x, bounds)) TestEdges(chara, c, x, axis == 1);
    }
    if (axis == 0) {
        for (const RIDECANDIDATE* push : {&c.pushRight, &c.pushLeft})
            if (push->IsSet()) ApplyPushX(chara, *push);
        return;
    }
    for (const RIDECANDIDATE* edge : {&c.ceiling, &c.landing}) {
        if (!edge->IsSet()) continue;
        chara.m_dY = edge->dValue;
        chara.OnMovedY();
    }
}

int cRidingAndBlockEffects::IsStillOnRiddenChara(cChara& chara)
{
    const cChara* ridden = FindRidden(SceneOf(this).m_Charas, chara);
    if (!ridden) return 0;
    return ridden->OverlapsRect(chara.m_dX, chara.m_dBottom, chara.m_dRight, chara.m_dBottom + kRideFeetBand);
}

cChara* cRidingAndBlockEffects::FindBlockCharaUnderFeet(cChara& chara)
{
    for (cStageChara& x : SceneOf(this).m_Charas) {
        if (RideTakesPart(x, chara) &&
            x.OverlapsRect(chara.m_dX, chara.m_dBottom, chara.m_dRight, chara.m_dBottom + kRideFeetBand))
            return &x;
    }
    return nullptr;
}

int cRidingAndBlockEffects::IsEnclosedByBlockCharas(cChara& chara, const DBLRECT& rect)
{
    const DBLRECT own = RideBoundsOf(chara);
    // Top, right, bottom, left; the upright sides stop one pixel above the bottom.
    auto side = [](const DBLRECT& r, int n) {
        switch (n) {
        case 0: return DBLRECT{r.left, r.top, r.right, r.top};
        case 1: return DBLRECT{r.right, r.top, r.right, r.bottom - 1};
        case 2: return DBLRECT{r.left, r.bottom, r.right, r.bottom};
        default: return DBLRECT{r.left, r.top, r.left, r.bottom - 1};
        }
    };
    for (int n = 0; n < 4; ++n) {
        bool touched = false;
        for (const cStageChara& x : SceneOf(this).m_Charas) {
            if (RideTakesPart(x, chara) && (RideOverlaps(x, side(own, n)) || RideOverlaps(x, side(rect, n)))) {
                touched = true;
                break;
            }
        }
        if (!touched) return 0;
    }
    return 1;
}

int cRidingAndBlockEffects::OverlapsOtherBlockChara(cChara& chara, cCharaList& charas, int ignoreSerial)
{
    return AnyBlockCharaIn(charas, chara, RideBoundsOf(chara), ignoreSerial) ? 1 : 0;
}

int cRidingAndBlockEffects::FollowRiddenChara(cChara& chara, cCharaList& charas)
{
    if (chara.m_bFlying != 0) return 0;
    for (cStageChara& x : charas) {
        if (x.m_nSerial != chara.m_nRideSerial) continue;
        chara.m_dVX += x.m_dX - chara.m_RideRect.left;
        if (x.m_bFlying != 0 || x.m_bFalling != 0) chara.m_dVY = x.m_dY - chara.m_RideRect.top;
        RaiseRiddenTriggers(x, chara);
        break;
    }
    return 0;
}
