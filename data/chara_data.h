#pragma once
// A chara template: an entry of a palette, or a chara placed in a stage (with its grid position
// and the placed item it carries). Its body, combat and activation settings and its flows,
// beside what every template has (data/template_data.h).
#include <cstdint>
#include <string>

#include "data/flow_data.h"
#include "data/template_data.h"
#include "platform/os/windows_types.h"
#include "shell/safe_container.h"

class cCharaData : public cTemplateData<cCharaData> {
public:
    static constexpr int kGroups = 37;
    static constexpr int kConditionGroup = 4;
    static constexpr int kFlowGroup = 36;
    static constexpr auto kList = &TEMPLATELISTS::charas;
    static constexpr auto kCount = &PALETTECOUNTS::charas;

    cCharaData();

    void RegisterFields(DWORD version) override;

    // Fields and name cleared, the flags one 0 per group, the non-zero defaults, held item 0.
    // The position, conditions and flows are kept.
    bool Reset();
    // The template references of every flow inside the two palettes.
    void CheckFlowReferences(const TEMPLATESOURCES& sources);
    // A template without flows passes on one default flow (which Validate then drops).
    void CopyGroup(int group, const cCharaData& from);

    // Offset of placed copy i from the chara's position; mirrored when facing is 1.
    double OffsetX(int i, int facing) const;
    double OffsetY(int i, int facing) const;

    // The drawing layer, 0 to 8, and the invincibility flash colour, 0 to 9 (0 none), as the
    // tables they index take them.
    int ZLayer() const;
    int FlashColor() const;

    std::int32_t m_nHeldItem = 0;        // placed item carried, -1 none
    BYTE m_nFacing = 0;
    BYTE m_nCopies = 0;                  // extra copies placed with the chara
    std::int16_t m_nCopyXBase = 0;
    std::int16_t m_nCopyXStep = 0;
    std::int16_t m_nCopyYBase = 0;
    std::int16_t m_nCopyYStep = 0;
    BYTE m_bMirrorX = 0;
    BYTE m_bMirrorY = 0;
    std::int16_t m_nAnimeSet = 0;
    BYTE m_nZ = 3;
    BYTE m_bTransparent = 0;
    std::int16_t m_nCharaEffect = 0;
    std::int8_t m_nCharaEffectMode = 0;  // 0 normal, 1 reverse, 2 round trip
    BYTE m_bCharaEffectLoop = 1;
    std::int16_t m_nDefeatEffect = 0;
    std::int8_t m_nDefeatEffectMode = 0;
    BYTE m_bMark = 0;
    std::int16_t m_nMark = 0;
    BYTE m_nOperator = 1;                // 0 the player, 1 the computer
    BYTE m_nPlayerNumber = 0;
    BYTE m_nGroup2Setting = 1;           // handed to the common set-up with the operator
    BYTE m_nCharaId = 0;
    BYTE m_nFlying = 0;
    BYTE m_bFixedFacing = 1;
    BYTE m_nInvincible = 0;
    std::int8_t m_nFlashColor = 0;
    BYTE m_bWholeCellBoxes = 0;
    BYTE m_nGiantScale = 1;
    BYTE m_bSyncAutoScroll = 0;
    BYTE m_nSightShape = 0;
    BYTE m_nSightRange = 0;
    std::int32_t m_nMaxHp = 10;
    std::int32_t m_nMaxSp = 0;
    std::int16_t m_nEaseOfStopping = 10;
    std::int8_t m_nContactRange = 0;
    std::int32_t m_nBodyAttack = 0;
    std::int8_t m_nBodyImpact = 0;
    std::int16_t m_nHitEffect = 0;
    std::int32_t m_nDefence = 0;
    BYTE m_nImpactResistance = 0;
    std::int32_t m_nScore = 0;
    BYTE m_nGroup35Setting = 1;
    BYTE m_bGroupSwitch = 0;
    std::int16_t m_nGroupSwitch = 0;
    std::int8_t m_nScreenRange = 0;
    BYTE m_nActivation = 0;
    cSafeVector<cFlowData> m_Flows;

private:
    friend class cTemplateData<cCharaData>;
    // Test-play flows dropped unless kept, then the fix-ups of files before `version`.
    void Upgrade(DWORD version);
    // The database references inside their lists, the giant scale at least 1, the flows
    // validated and the empty ones dropped.
    void ValidateBody();
};
