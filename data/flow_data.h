#pragma once
// One flow: a list of commands that starts when its trigger is raised and its conditions and
// key conditions hold. Flows live in chara definitions, and in commands that carry flows.
#include <cstdint>
#include <string>

#include "data/command_data.h"
#include "data/condition_data.h"
#include "data/data_record.h"
#include "platform/os/windows_types.h"
#include "shell/safe_container.h"

// Flows inside commands inside flows are read recursively: deeper nesting fails the read, so
// that a damaged file cannot exhaust the stack.
constexpr int kMaxFlowNesting = 64;

class cFlowData : public cDataRecordOf<cFlowData> {
public:
    void RegisterFields(DWORD version) override;
    // The body and the three lists, the upgrades of older files, then the name is emptied
    // (at run time every flow name is "") and Validate runs.
    void Read(cDataReader& reader) override;
    // Validate, then the body and the three lists.
    void Write(cDataWriter& writer) override;

    // Validate of every command.
    void Validate();
    // CheckTemplateRefs of every command.
    void CheckTemplateRefs(const PALETTECOUNTS& common, const PALETTECOUNTS& stage);

    // Index of the flow's group among a chara's 27 busy flags: a group beyond "Z" is kept as
    // read but counts as no group.
    int GroupFlagIndex() const;

    std::string m_strName;
    BYTE m_nId = 0;                     // the flow operation command addresses flows by it
    BYTE m_nGroup = 0;                  // 0 none, 1..26 "A".."Z"
    BYTE m_bTestPlayOnly = 0;           // dropped at load time outside editor test play
    cSafeVector<cConditionData> m_Conditions;
    BYTE m_nConditionRule = 0;          // 0 all must hold, 1 one must
    BYTE m_bCheckOnce = 0;
    std::int8_t m_nTrigger = 0;         // FLOWTRIGGER
    BYTE m_nKeySlack = 3;               // frames allowed between two key steps
    BYTE m_bKeyRepeat = 0;
    cSafeVector<cKeyConditionData> m_KeyConditions;
    cSafeVector<cCommandData> m_Commands;
};

// Removes every flow marked for test play only, keeping the order of the others.
void RemoveTestPlayFlows(cSafeVector<cFlowData>& flows);
// Whether flows marked for test play are kept at load time: when started by the editor, or
// when the System data keeps them.
bool KeepTestPlayFlows();
