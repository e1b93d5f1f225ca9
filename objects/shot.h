#pragma once
// A shot or a sword swing on the stage: a game object carrying its own copy of the command's
// shot settings, its hit rectangle, the charas it has already hit and the chara it aims at.
// Flight and the block test are in objects/shot.cpp, the sword's swing and the drawing in
// objects/shot_sword.cpp, the trajectories in objects/trajectory.cpp.
#include <cstddef>
#include <cstdint>

#include "data/role_accessors.h"
#include "data/shot_part.h"
#include "objects/object_base.h"
#include "shell/safe_container.h"

class cBlockHitSource;
class cChara;
struct DDSURFACEDATA;
struct SPAWNPARAM;

// The flow command kinds that make a shot object.
constexpr int kShotObjectShot = 11;
constexpr int kShotObjectSword = 12;
// The owner serial of a shot whose owner is gone: no chara is ever numbered so.
constexpr int kNoOwnerSerial = -1;

// The serials of the charas a shot or sword has hit. Serials are never handed out twice, so a
// chara built later at a freed address is never taken for one that was hit. Room for the
// usual few is made when the shot is built or copied, not while the hits are tested.
class cHitSerialList {
public:
    cHitSerialList() { m_Serials.reserve(kRoom); }
    cHitSerialList(const cHitSerialList& other) : cHitSerialList() { m_Serials = other.m_Serials; }
    cHitSerialList& operator=(const cHitSerialList& other)
    {
        m_Serials = other.m_Serials;
        return *this;
    }

    bool Contains(int serial) const;
    void Add(int serial) { m_Serials.push_back(serial); }
    bool empty() const { return m_Serials.empty(); }
    std::size_t capacity() const { return m_Serials.capacity(); }

private:
    static constexpr std::size_t kRoom = 8;
    cSafeVector<int> m_Serials;
};

class cShot : public cGameObject {
public:
    cShot();

    // Sets a shot (kind 11) or a sword (kind 12) up from the command's settings, on the
    // object that is then copied into the stage's list. A settings scale of 0 becomes 1 in
    // `def` itself.
    void InitFromTemplate(int serial, const cChara& owner, int kind, cEdShot& def, const SPAWNPARAM& spawn);
    // The acceleration vector of the shot's acceleration along (dx, dy).
    void VelocityToward(double& ix, double& iy, double dx, double dy) const;

    // One sub-step of flight: 1 when the shot is to be removed. A sword follows its owner.
    int Update();
    int MoveX();
    int MoveY();
    using cGameObject::ClampX;
    // The stage's edges only: 3 when clamped, else 0.
    int ClampX();
    // 1 when the shot touches a solid block.
    int HitsBlock();
    int HitsBlockIn(const cBlockHitSource& grid);
    // A sword's sub-step beside its owner: 1 when the swing ends.
    int FollowOwner();
    // Homing: the own velocity (and the acceleration) toward the chara's screen centre.
    void SteerToward(const cChara& chara);
    void Draw(DDSURFACEDATA* target, int paused);

    void ScaleBoxes(int newScale) override;
    void AdjustYForScale(int newScale, int oldScale) override;
    void UpdateBoxesX() override;
    void UpdateBoxesY() override;

    // 1 for a shot, 0 for a sword swing.
    bool IsShot() const { return m_bShot != 0; }
    // The draw pass that shows the shot, from its settings (not its hit layer).
    int DrawLayer() const { return m_Def.m_nDrawLayer; }
    int Power() const { return m_Def.m_nPower; }
    int Impact() const;
    int HitEffect() const { return m_Def.m_nEffect; }
    // The item given to player 1 on a hit: its palette (0 none) and its index there.
    int ItemKind() const { return m_Def.m_nItemSource; }
    int ItemNumber() const { return m_Def.m_nItemIndex; }
    int PiercesCharas() const { return m_Def.m_bPierceCharas; }
    int PiercesBlockCharas() const { return m_Def.m_bPierceBlockCharas; }
    // Breakable shots are destroyed by shots of other layers; their strengths decide which.
    // Inline: the shots-against-shots pass asks every pair of shots of two layers.
    int Breakable() const { return ShotBreakable(m_Def); }
    int Strength() const { return ShotStrength(m_Def); }
    // The settings' scale, at least 1.
    int Scale() const;
    // The hit rectangle with its offsets and sizes, as a hit effect takes it.
    HITBOX HitBox() const;
    // The bounds, which shots test against each other.
    DBLRECT Bounds() const { return DBLRECT{m_dX, m_dY, m_dRight, m_dBottom}; }

    bool HasHit(int serial) const { return m_HitSerials.Contains(serial); }
    void AddHit(int serial) { m_HitSerials.Add(serial); }

    int m_nOwnerSerial = 0;
    int m_bShot = 1;
    int m_nRangeLeft = 0;        // sub-steps
    int m_nLifeLeft = 0;         // sub-steps
    int m_nSteps = 0;
    int m_nSwordFrame = 0;
    double m_dAcceleration = 0;
    double m_dTrajectorySpeed = 0;
    double m_dOwnVX = 0;
    double m_dOwnVY = 0;
    int m_bAccelerating = 0;
    int m_nTrajectoryStart = 0;
    int m_nTrajectoryEnd = 0;
    int m_bTrajectoryDone = 0;
    double m_dWavePhase = 0;
    double m_dWaveSin = 0;
    double m_dWaveCos = 0;
    DBLRECT m_HitRect;           // stage pixels, inclusive
    int m_nHitLeft = 0;          // the hit box from the position, scaled
    int m_nHitTop = 0;
    int m_nHitWidth = 0;
    int m_nHitHeight = 0;
    int m_nBaseHitLeft = 0;      // the same at scale 1
    int m_nBaseHitTop = 0;
    int m_nBaseHitWidth = 0;
    int m_nBaseHitHeight = 0;
    cHitSerialList m_HitSerials;
    cEdShot m_Def;
    // The chara the shot aims at; the stage clears it when that chara leaves.
    cChara* m_lpTarget = nullptr;
};
