#pragma once
// The shot part of a flow command: the settings of a volley of shots, a sword swing or a
// summon of blocks, charas or items. Held by the command through a shared_ptr that the command
// alone owns; a shot object copies it when fired. The settings the shot and summon code alone
// give a meaning to are stored, upgraded and copied here unchanged.
#include <cstdint>
#include <memory>

#include "data/data_record.h"
#include "platform/os/windows_types.h"

class cEdShot : public cDataRecordOf<cEdShot> {
public:
    // A new part: the fields of the current version cleared, then the defaults.
    cEdShot();
    // Makes part own a new part with the defaults, releasing the one it held.
    static void Create(std::shared_ptr<cEdShot>& part);

    // The file follows the block order, which differs from the declaration order below.
    void RegisterFields(DWORD version) override;
    // The body, the upgrades in the order the format grew, then Validate.
    void Read(cDataReader& reader) override;
    // Validate, then the body.
    void Write(cDataWriter& writer) override;
    // A size of 0 or less becomes 1; an Effect entry outside the Effect database becomes 0.
    void Validate();

    // The offset of shot i of a volley, mirrored for a chara facing right (facing 1) when the
    // mirror switch is on.
    int OffsetX(int shot, int facing) const;
    int OffsetY(int shot, int facing) const;

    // One-byte settings are unsigned, all but the size, which the checks read as signed.
    BYTE m_nFormationCount = 0;             // objects one run of the formation places
    BYTE m_nFormation = 0;                  // 0..5, formation list
    std::int16_t m_nFormationParams[3] = {};
    BYTE m_nFormationTarget = 0;            // 0 the owner's target, 1 player 1, 2 the owner
    BYTE m_nDirection = 0;                  // the direction list of the movement part
    BYTE m_bAim = 0;                        // turn the angle toward the shooter's target
    std::int16_t m_nAngle = 0;              // degrees, first shot
    std::int16_t m_nAngleStep = 0;
    BYTE m_bMirrorAngle = 1;                // 360 - angle for a chara facing right
    std::int16_t m_nSpread = 0;             // random spread, +- degrees
    BYTE m_bRotateAboutOwner = 0;
    BYTE m_nRepeat = 0;                     // formation runs minus 1
    std::int16_t m_nOffsetX = 0;
    std::int16_t m_nOffsetXStep = 0;
    std::int16_t m_nOffsetY = 0;
    std::int16_t m_nOffsetYStep = 0;
    BYTE m_bMirrorOffsetX = 1;
    BYTE m_bMirrorOffsetY = 0;
    std::int16_t m_nGraphic = 0;            // the shot's picture cell
    BYTE m_nDrawLayer = 0;
    BYTE m_bInvisible = 0;
    BYTE m_bOwnersForce = 1;                // the shot takes its shooter's force
    BYTE m_nForce = 0;                      // force number; a summoned chara's under force rule 2
    BYTE m_nShotSetting24 = 0;
    std::int8_t m_nSize = 1;                // hbl, at least 1: 128 to 255 read as 0 or less
    BYTE m_nShotSetting26 = 0;
    BYTE m_nTrajectory = 0;                 // 0..9, trajectory list; a sword's SwordType entry
    std::int16_t m_nTrajectoryParams[3] = {};
    BYTE m_bScrollFollow = 0;               // read when a volley aims at a target
    std::int16_t m_nSpeed = 0;              // tenths of a dot per frame, first shot
    std::int16_t m_nSpeedStep = 0;
    BYTE m_bAccelerate = 0;
    std::int16_t m_nAcceleration = 0;
    std::int16_t m_nAccelerationPerFactor = 0;
    BYTE m_bRangeLimit = 0;                 // declared before the range it switches
    std::int16_t m_nRange = 0;              // hbl; a summoned chara's life time, tenths of a second
    std::int16_t m_nRangeStep = 0;
    BYTE m_bStopAtRangeEnd = 0;
    BYTE m_bLifeLimit = 0;
    std::int16_t m_nLife = 0;               // tenths of a second
    std::int16_t m_nLifeStep = 0;
    BYTE m_nPassBlocks = 0;                 // read by the block test and the block summon
    BYTE m_bPierceCharas = 0;
    BYTE m_bPierceBlockCharas = 0;          // older files: a copy of m_bPierceCharas
    BYTE m_nShotSetting45 = 0;
    BYTE m_nBlockSummonSetting = 0;         // read by the block summon
    std::int32_t m_nPower = 0;
    std::int16_t m_nShotSetting48 = 0;
    BYTE m_nShotSetting49 = 0;
    std::int16_t m_nEffect = 0;             // Effect database entry
    BYTE m_nItemSource = 0;                 // 0 none, 1 common palette, 2 stage palette
    std::int16_t m_nItemIndex = 0;
    BYTE m_nBlockSummonMode = 0;            // 0 place, 1 remove, 2 toggle
    BYTE m_nSummonPalette = 0;              // 0 common, 1 stage
    std::int16_t m_nSummonIndex = 0;        // block, chara or item template in that palette
    BYTE m_nForceRule = 0;                  // 0 the template's, 1 the summoner's, 2 m_nForce
    BYTE m_nShotSetting54 = 0;
    BYTE m_nShotSetting55 = 0;              // older files: a copy of m_nShotSetting54
    BYTE m_nShotSetting59 = 0;
    BYTE m_bSummonReversed = 0;             // a summoned chara faces away from the summoner
};
