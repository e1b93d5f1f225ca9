#include "data/flow_data.h"

#include <algorithm>

#include "data/command_info.h"
#include "data/system_data.h"
#include "shell/shared_flags.h"

namespace {

// How many flows the reads on this thread are inside.
thread_local int t_nFlowNesting = 0;

struct cNestingGuard {
    cNestingGuard() { ++t_nFlowNesting; }
    ~cNestingGuard() { --t_nFlowNesting; }
    cNestingGuard(const cNestingGuard&) = delete;
    cNestingGuard& operator=(const cNestingGuard&) = delete;
};

}  // namespace

void cFlowData::RegisterFields(DWORD version)
{
    ClearTables();
    if (version >= 676) AddString(&m_strName, "strName");
    AddField1(&m_nId, 1, "nId");
    AddField1(&m_nGroup, 1, "nGroup");
    AddField1(&m_bTestPlayOnly, 1, "bTestPlayOnly");
    AddField1(&m_nConditionRule, 1, "nConditionRule");
    AddField1(&m_bCheckOnce, 1, "bCheckOnce");
    AddField1(&m_nTrigger, 1, "nTrigger");
    AddField1(&m_nKeySlack, 1, "nKeySlack");
    AddField1(&m_bKeyRepeat, 1, "bKeyRepeat");
    AddRecordList(&m_Conditions, "Conditions");
    AddRecordList(&m_KeyConditions, "KeyConditions");
    AddRecordList(&m_Commands, "Commands");
}

void cFlowData::Read(cDataReader& reader)
{
    cNestingGuard nesting;
    if (t_nFlowNesting > kMaxFlowNesting) {
        reader.Fail("flows nested more than 64 deep");
        return;
    }
    cDataRecord::Read(reader);
    if (reader.Failed()) return;

    const DWORD version = reader.Version();
    // Triggers were inserted twice: one after trigger 10, then two after trigger 4.
    if (version <= 131 && m_nTrigger >= 11) m_nTrigger = static_cast<std::int8_t>(m_nTrigger + 1);
    if (version < 163 && m_nTrigger != 0) m_nGroup = 0;
    if (version < 164 && m_nTrigger >= 5) m_nTrigger = static_cast<std::int8_t>(m_nTrigger + 2);
    m_strName.clear();
    Validate();
}

void cFlowData::Write(cDataWriter& writer)
{
    Validate();
    cDataRecord::Write(writer);
}

void cFlowData::Validate()
{
    for (cCommandData& command : m_Commands) command.Validate();
}

void cFlowData::CheckTemplateRefs(const PALETTECOUNTS& common, const PALETTECOUNTS& stage)
{
    for (cCommandData& command : m_Commands) command.CheckTemplateRefs(common, stage);
}

int cFlowData::GroupFlagIndex() const
{
    return m_nGroup < kFlowGroups ? m_nGroup : 0;
}

void RemoveTestPlayFlows(cSafeVector<cFlowData>& flows)
{
    flows.erase(std::remove_if(flows.begin(), flows.end(),
                               [](const cFlowData& flow) { return flow.m_bTestPlayOnly != 0; }),
                flows.end());
}

bool KeepTestPlayFlows()
{
    return g_bEditorLaunch.load() != 0 || g_SystemData.m_bKeepMarkedFlows != 0;
}
