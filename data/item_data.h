#pragma once
// An item template: an entry of a palette, or an item placed in a stage (with its grid
// position). Its pickup rules and sound and the actions run when it is taken, beside what every
// template has (data/template_data.h).
#include <cstdint>
#include <string>

#include "data/command_data.h"
#include "data/template_data.h"
#include "platform/os/windows_types.h"
#include "shell/safe_container.h"

class cItemData : public cTemplateData<cItemData> {
public:
    static constexpr int kGroups = 13;
    static constexpr int kConditionGroup = 1;
    static constexpr auto kList = &TEMPLATELISTS::items;
    static constexpr auto kCount = &PALETTECOUNTS::items;

    cItemData();

    void RegisterFields(DWORD version) override;
    // Fields and name cleared, the flags one 0 per group, the non-zero defaults. The position,
    // conditions and actions are kept.
    bool Reset();
    // The template references of every action inside the two palettes.
    void CheckActionReferences(const TEMPLATESOURCES& sources);

    std::int16_t m_nGroup2Setting = 0;
    std::int16_t m_nGroup3Setting = 0;
    BYTE m_nGroup5Setting = 6;
    BYTE m_bHidden = 0;
    BYTE m_bMark = 0;
    std::int16_t m_nMarkTile = 0;
    BYTE m_nPickupMode = 0;              // 0 once, 1 every time, 2 cannot be taken
    BYTE m_bPickupMessage = 1;           // stored before the pickup mode
    BYTE m_nGiantScale = 1;
    std::int16_t m_nSound = 0;
    cSafeVector<cCommandData> m_Actions; // item-action form

private:
    friend class cTemplateData<cItemData>;
    // The giant scale at least 1, the sound inside its database, the actions validated.
    void ValidateBody();
};

// The item template of the common palette (source 1) or the stage palette (source 2) at index,
// or null for another source or an index outside the list.
const cItemData* FindItemTemplate(int source, int index);
