#pragma once
// A chara of a stage, the hero or any other: its own copy of its template, its target and the
// charas that target it, its running flows, knock-back and jump state, contacts, HP and SP with
// their gauges, variables, animations, draw effect and hit boxes. Motion rules are in
// chara_movement.h, HP and SP in chara_hp.h, their gauges in chara_gauges.h, the command
// animations in chara_animation.h and the draw effect in chara_draw_effect.h.
#include <cstdint>
#include <vector>

#include "data/chara_data.h"
#include "flow/running_flow.h"
#include "objects/chara_animation.h"
#include "objects/chara_draw_effect.h"
#include "objects/chara_gauges.h"
#include "objects/chara_knockback.h"
#include "objects/chara_movement.h"
#include "objects/hit_immunity.h"
#include "objects/object_base.h"
#include "shell/safe_container.h"

struct CHARASIZE;
struct DDSURFACEDATA;

class cBlockData;
class cChara;
class cImageSource;
class cItem;
class cShot;

// The charas whose target is a chara. The relation belongs to the chara itself, so a copy of
// a chara starts with nobody aiming at it.
class cTargetedByList : public cSafeVector<cChara*> {
public:
    cTargetedByList() = default;
    cTargetedByList(const cTargetedByList&) {}
    cTargetedByList& operator=(const cTargetedByList&) { return *this; }
};

// Flag rows by flow group (1..26, 0 none).
constexpr int kFlowGroupFlags = 27;

// The chara's own state after its game-object part, in declaration order.
struct CHARAFIELDS {
    cChara* m_lpTarget = nullptr;
    cTargetedByList m_TargetedBy;
    cSafeVector<cGameObject*> m_Followers;
    cCharaData m_Def;
    int m_nNextFlowId = 0;
    cSafeVector<cRunningFlow> m_RunningFlows;
    cSafeVector<std::uint8_t> m_GroupStarted;     // read by triggers and key conditions
    cSafeVector<std::uint8_t> m_GroupEnded;       // cleared at the end of the chara's update
    cSafeVector<std::uint8_t> m_GroupThisFrame;   // cleared once per frame
    int m_bGroupEnded = 0;
    int m_bFlowRemoval = 0;
    double m_dHomeX = 0;
    double m_dHomeY = 0;
    int m_bMoved = 0;
    KNOCKBACK m_Knockback;
    int m_bGravityHold = 0;
    int m_nWallSide = -1;
    int m_bFalling = 1;
    int m_bJumpUsed = 0;
    int m_bJumpRise = 0;
    int m_nJumpSpare = 0;
    int m_bCeilingStop = 0;
    int m_nAirborne = 0;
    const cBlockData* m_lpFloorCell = nullptr;
    const cBlockData* m_lpFloorCell2 = nullptr;
    const cBlockData* m_lpPrevFloorCell = nullptr;
    int m_nCrushGrace = 0;
    int m_bFixedScreenX = 0;
    int m_bFixedScreenY = 0;
    int m_nFixedScreenX = 0;
    int m_nFixedScreenY = 0;
    int m_bDead = 0;
    int m_bContactLeft = 0;
    int m_bContactRight = 0;
    int m_bContactUp = 0;
    int m_bContactDown = 0;
    int m_bLeftRide = 0;
    int m_bRiding = 0;
    int m_nRideSerial = 0;
    int m_nRideExtra = 0;
    DBLRECT m_RideRect;
    DBLRECT m_SavedBounds;
    int m_nHp = 0;
    int m_nSp = 0;
    cCharaGauges m_Gauges;
    cSafeVector<int> m_Vars;
    int m_nInvincibleTimer = 0;
    cHitImmunityList m_Immunity;
    cCharaAnimationList m_Animations;
    cCharaDrawEffect m_DrawEffect;
    int m_bRemoveRequest = 0;
    int m_nActivationPass = 0;
    int m_nSightRadius = 0;            // pixels
    int m_bHidden = 0;
    HITBOX m_BodyBox;
    HITBOX m_ShotBox;
};

class cChara : public cGameObject, public CHARAFIELDS {
public:
    cChara();
    // A copy aims at the source's target (and is registered there), and its flows point at its
    // own definition.
    cChara(const cChara& source);
    cChara& operator=(const cChara& source);
    // Leaves its target's list, and the charas aiming at it lose their target.
    ~cChara() override;

    using cGameObject::Assign;
    virtual void Assign(const cChara& source);
    void AdjustYForScale(int newScale, int oldScale) override;
    void SetCenter(int x, int y) override;
    void SnapCenter(int x, int y, cFlowCommandEntry& state) override;
    void SetCenterX(int x) override;
    void SnapCenterX(int x, cFlowCommandEntry& state) override;
    void SetCenterY(int y) override;
    void SnapCenterY(int y, cFlowCommandEntry& state) override;
    virtual cItem* HeldItem() { return nullptr; }
    virtual int OnMovedX() { return 0; }
    virtual int OnMovedY() { return 0; }
    virtual int MoveX() { return 0; }
    virtual int MoveY() { return 0; }
    virtual int Update(int /*restricted*/) { return 0; }
    // Runs in the frame update after the flows, before the flows they ended are removed.
    virtual void AfterFlows() {}
    virtual void StartJump(cFlowCommandEntry& /*jump*/) {}

    // Set-up from a template (none keeps the definition, HP and SP 0). `playerOne` is the chara
    // every chara aims at first; `speed` the stage's speed settings.
    void InitFromDefinition(const cCharaData* definition, double homeX, double homeY, int copyIndex,
                            cChara* playerOne, const STAGESPEED& speed);
    void SetBodyBox(int bottomAligned, int width, int height);
    // The body box by the template's box mode: 0 the body size, 1 the shot box, 2 the box of its
    // side's shots against charas, 3 one cell; any other mode leaves it as it is.
    void SetBodyBoxByMode(int mode, const CHARASIZE& body, const CHARASIZE& shot, const CHARASIZE& shotHit);
    void SetAnimeSet(int set, int force);
    // The chara's scale as it sizes: its template's, at least 1.
    int Scale() const;

    void CopyRunningFlows(const cSafeVector<cRunningFlow>& source);
    void RebindRunningFlows();
    void RemoveFlow(int index);
    // The command animations that flow `flowSerial` started: removed; finished (those with
    // frames left are held on their frame); or let go on again.
    void StopAnimation(int flowSerial) { m_Animations.Stop(flowSerial); }
    void FinishAnimation(int flowSerial) { m_Animations.Finish(flowSerial); }
    void ResumeAnimation(int flowSerial) { m_Animations.Resume(flowSerial); }
    int RemoveFlowsByGroup(int group);
    void ResetFlowFrameFlags();
    // The steps every chara's frame update shares: velocity reset, flows, clean-up, the idle
    // pattern. True when the chara died (or, for a stage chara, asked to be removed).
    bool UpdateCommon(int restricted, bool hero, const APPROACHSCROLL& scroll);

    // Builds running flows for `flows`: with merge 0 they are the chara's own definition flows,
    // which replace every running flow; with merge 1 copies join the definition at
    // `insertPos` (appended when it lies outside the list). `direction` is the facing the
    // commands' initialisers see. Returns the number of flows given.
    int LoadFlows(cSafeVector<cFlowData>& flows, int direction, int merge, int insertPos);
    // Starts the command animations that the running flows have scheduled for this step.
    void StartFlowAnimations();

    // Raises a flow trigger on this chara: starts every matching flow that is idle, may start,
    // and whose start conditions and key conditions hold.
    void RaiseTrigger(int trigger);
    // Start conditions of kinds 5 (switches), 6 (facing, standing, on screen) and 7 (distance).
    bool TestValueCondition(const cConditionData& condition);
    bool TestStateCondition(const cConditionData& condition);
    bool TestPositionCondition(const cConditionData& condition);
    // The key gate of a flow: without the repeat switch it opens only when the keys start to
    // match.
    bool CheckKeyConditions(cRunningFlow& flow);
    // Whether player 1's recent input ends in the sequence of key conditions, with up to
    // `tolerance` frames of anything between two of them.
    bool MatchKeyConditions(const cSafeVector<cKeyConditionData*>& keys, int tolerance);

    void ApplyGravity(double gravity);
    void StartKnockback(int strength, double dx, double dy, const STAGESPEED& speed);
    void KnockbackFromChara(const cChara& attacker, const STAGESPEED& speed);
    void ApplyKnockbackY(bool floorSolid);
    void DecayKnockbackX(const STAGESPEED& speed) { DecayKnockback(m_Knockback.dSpeedX, speed); }
    void DecayKnockbackY(const STAGESPEED& speed) { DecayKnockback(m_Knockback.dSpeedY, speed); }
    void LandOnFloor();
    void HitCeiling();
    void ClearRideState(int followUp);
    void ClearContactFlags();
    void SavePosition();
    void RestorePosition();

    // The chara's screen centre plus the command's target offsets, on the axes the command
    // moves along (its no-x and no-y switches).
    void MoveTargetPoint(double& x, double& y, const cFlowCommandEntry& state) const;
    // Velocity and facing request of a movement command toward a point, from the screen centre
    // at the command's speed; on arrival (when asked) the centre snaps to the point.
    void MoveToward(cFlowCommandEntry& state, const cGameObject* mover, double toX, double toY, int relative,
                    int arrival);
    void MoveTowardX(cFlowCommandEntry& state, const cGameObject* mover, double toX, int relative, int arrival);
    void MoveTowardY(cFlowCommandEntry& state, const cGameObject* mover, double toY, int relative, int arrival);

    void PlaceAtBlock(int column, int row);
    void PlaceAtBlockX(int column);
    void PlaceAtBlockY(int row);

    int AddHp(int delta, int force, int show);
    int AddSp(int delta, int show);
    void ShowHpGauge(int delta);
    void ShowSpGauge(int delta);

    // Invincibility counts sub-steps: the stage's settings in frames (one pair for the hero's
    // side, one for the others) times the sub-steps per frame.
    void StartInvincibility();
    // The same, and the attacker cannot hurt the chara again until its own entry runs out.
    void StartInvincibilityFrom(int attackerSerial);
    // Once per sub-step.
    void TickInvincibility();
    bool IsInvincible() const;
    bool IsImmuneTo(int attackerSerial) const;

    // Damage from another chara's body or from a shot: 1 when the chara's HP reached 0.
    int TakeCharaHit(const cChara& attacker);
    int TakeShotHit(const cShot& shot);
    // The defeat: its triggers and score, the held item, then the death display. 1 when the
    // defeat ends the stage; the chara is then left as it is.
    int Defeat();

    // Drawing (objects/chara_draw.cpp). Draw draws the frame of this tick; DrawDefeated the
    // death display, 1 once it has ended. CurrentFrame ticks the animation unless paused.
    void Draw(DDSURFACEDATA* target, int paused);
    int DrawDefeated(DDSURFACEDATA* target, int paused);
    int CurrentFrame(int paused);
    void RunHiddenEffect(int paused);
    // The cell's row (or column) for the image source, with the row offsets of the chara's
    // animation set; sets the source's colour change.
    int ImageRow(cImageSource& source);
    // Whether the cell is drawn at another size than the picture holds it.
    bool NeedsScaling(const cImageSource& source) const;
    // The frame copied opaque to (0, 0) of a work surface at the chara's draw size: scaled
    // from the scaling surface or copied from the effect surface; Raw always copies it from
    // the surface itself.
    void DrawEffectSurface(DDSURFACEDATA* work, const cImageSource& source);
    void DrawEffectSurfaceRaw(DDSURFACEDATA* work, const cImageSource& source);
    void DrawHpGauge(DDSURFACEDATA* target) { m_Gauges.DrawGauge(target, *this, 0); }
    void DrawSpGauge(DDSURFACEDATA* target) { m_Gauges.DrawGauge(target, *this, 1); }

    // The charas aiming at `this` lose their target; this leaves its own target's list.
    void RegisterWithTarget();
    void UnregisterFromTarget();

private:
    void ReleaseTargets();
    // The HP loss of a hit and its effect; the result of AddHp.
    int TakeDamage(int power, int hitEffect, const HITBOX& ownBox, const HITBOX& otherBox, int scale);
    void RaiseHitTriggers(int power, int impact);
    // The followers lose their owner and the list is emptied.
    void ReleaseFollowers();
    // Clears the play scene's current chara, flow and entry where they point into this chara's
    // flows from `firstFlow` on (and at the chara itself when `self`).
    void ForgetSceneReferences(int firstFlow, bool self);
};
