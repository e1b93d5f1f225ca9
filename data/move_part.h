#pragma once
// The movement part of a flow command: the settings of a straight, ground-turn, circle,
// charge, homing or avoid-offscreen move, or of a warp. Held by the command through a
// shared_ptr that the command alone owns. Durations and speeds come as a base and a
// per-factor part, used as base + per-factor part x the chara's factor.
#include <cstdint>
#include <memory>

#include "data/data_record.h"
#include "platform/os/windows_types.h"

class cEdMove : public cDataRecordOf<cEdMove> {
public:
    // A new part: the fields of the current version cleared, then the defaults.
    cEdMove();
    // Makes part own a new part with the defaults, releasing the one it held.
    static void Create(std::shared_ptr<cEdMove>& part);

    void RegisterFields(DWORD version) override;
    // The body, then the upgrades: blocks an older body lacks read as 0, not as the defaults.
    void Read(cDataReader& reader) override;

    BYTE m_nMode = 0;                // 0 by direction, 1 to target coordinates (warp: its own list)
    BYTE m_nDirection = 0;           // direction list, 13 values
    std::int16_t m_nAngle = 0;       // degrees
    std::int16_t m_nAnglePerFactor = 0;
    BYTE m_bMirrorAngle = 1;         // 360 - angle for a chara facing right
    BYTE m_bMoveX = 1;
    BYTE m_bMoveY = 1;
    std::int16_t m_nTargetBlockX = 0;
    std::int16_t m_nTargetBlockY = 0;
    std::int16_t m_nTargetDotX = 0;  // target = blocks x 32 + dots
    std::int16_t m_nTargetDotY = 0;
    BYTE m_nCoordinates = 0;         // 0 from the placement, 1 relative, 2 absolute, 3 screen
    BYTE m_bEndAtTarget = 1;
    BYTE m_bKeepX = 0;
    BYTE m_bKeepY = 0;
    BYTE m_bMirrorTargetX = 1;
    BYTE m_bMirrorTargetY = 0;
    BYTE m_bReverseOnTurn = 1;
    BYTE m_bStopAtTarget = 0;
    BYTE m_bKeepFacing = 0;
    BYTE m_nTimeMode = 0;
    std::int16_t m_nSpeed = 10;      // tenths of a dot per frame
    std::int16_t m_nSpeedPerFactor = 0;
    std::int16_t m_nDistance = 0;    // the circle move's end angle
    std::int16_t m_nDistancePerFactor = 0;
    BYTE m_nDistanceUnit = 0;        // 0 hbl, 1 dot
    std::int16_t m_nRadius = 0;      // circle radius in hbl, or the homing speed
    std::int16_t m_nRadiusPerFactor = 0;
    BYTE m_bInertia = 0;
    std::int16_t m_nInertiaSpeed = 0;
    double m_dTurnFactor = 1.0;      // stored and copied bit for bit
    BYTE m_bKeepAnime = 0;
};
