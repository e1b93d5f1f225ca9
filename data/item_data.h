#pragma once
// An item template: an entry of a palette, or an item placed in a stage (with its grid
// position). Its picture, pickup rules and sound, its appearance conditions, the actions run
// when it is taken, and the groups of properties it takes from another template.
#include <cstdint>
#include <string>

#include "data/command_data.h"
#include "data/condition_data.h"
#include "data/data_record.h"
#include "data/template_sources.h"
#include "platform/os/windows_types.h"
#include "shell/safe_container.h"

class cItemData : public cDataRecordOf<cItemData> {
public:
    static constexpr int kGroups = 13;

    cItemData();

    void RegisterFields(DWORD version) override;
    // The body, position, flags, conditions and actions, the upgrades of older files, then
    // Inherit and Validate against the sources of the read.
    void Read(cDataReader& reader) override;
    // Validate, then the body and the tail.
    void Write(cDataWriter& writer) override;

    // Fields and name cleared, the flags one 0 per group, the non-zero defaults. The position,
    // conditions and actions are kept.
    bool Reset();
    void Validate();
    void Validate(const TEMPLATESOURCES& sources);
    // The template references of every action inside the two palettes.
    void CheckActionReferences();
    void CheckActionReferences(const TEMPLATESOURCES& sources);
    void Inherit(const TEMPLATESOURCES& sources);
    void CopyGroup(int group, const cItemData& from);
    BYTE InheritFlag(int group) const;

    std::int16_t m_nColumn = 0;
    std::int16_t m_nRow = 0;
    BYTE m_nInheritSource = 0;
    std::int16_t m_nInheritIndex = 0;
    cSafeVector<BYTE> m_InheritFlags;
    std::string m_strName;
    cSafeVector<cConditionData> m_Conditions;
    BYTE m_nConditionMode = 0;
    BYTE m_bCheckOnce = 0;
    std::int16_t m_nGroup2Setting = 0;
    std::int16_t m_nGroup3Setting = 0;
    std::int16_t m_nImageNumber = 0;
    BYTE m_nImageKind = 2;
    std::int16_t m_nImageFrame = 0;
    BYTE m_nGroup5Setting = 6;
    BYTE m_bHidden = 0;
    BYTE m_bMark = 0;
    std::int16_t m_nMarkTile = 0;
    BYTE m_nPickupMode = 0;              // 0 once, 1 every time, 2 cannot be taken
    BYTE m_bPickupMessage = 1;           // stored before the pickup mode
    BYTE m_nGiantScale = 1;
    std::int16_t m_nSound = 0;
    cSafeVector<cCommandData> m_Actions; // item-action form
};

// The item template of the common palette (source 1) or the stage palette (source 2) at index,
// or null for another source or an index outside the list.
const cItemData* FindItemTemplate(int source, int index);
