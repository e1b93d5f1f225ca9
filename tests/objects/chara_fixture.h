#pragma once
// Chara templates and flows for the chara tests, built in code.
#include <vector>

#include "data/chara_data.h"
#include "flow/running_flow.h"
#include "objects/chara.h"

// A template with the given maxima and a body of 32 x 32.
inline cCharaData CharaTemplate(int maxHp = 100, int maxSp = 50)
{
    cCharaData definition;
    definition.Reset();
    definition.m_nMaxHp = maxHp;
    definition.m_nMaxSp = maxSp;
    return definition;
}

// Adds a flow of `commands` commands in group `group` to the template.
inline void AddFlow(cCharaData& definition, int group, int commands, int keyConditions = 1)
{
    cFlowData flow;
    flow.m_nGroup = static_cast<BYTE>(group);
    flow.m_Commands.resize(static_cast<std::size_t>(commands));
    flow.m_KeyConditions.resize(static_cast<std::size_t>(keyConditions));
    definition.m_Flows.push_back(flow);
}

// One running flow per flow record of the chara's definition, each with one entry per command,
// bound to the records (as building the flows does).
inline void MirrorFlows(cChara& chara)
{
    chara.m_RunningFlows.clear();
    for (const cFlowData& flow : chara.m_Def.m_Flows) {
        cRunningFlow running;
        running.m_nSerial = chara.m_nNextFlowId++;
        running.m_Entries.resize(flow.m_Commands.size());
        running.m_KeyConditions.resize(flow.m_KeyConditions.size());
        chara.m_RunningFlows.push_back(running);
    }
    chara.RebindRunningFlows();
}

// Whether every pointer of the chara's running flows leads into its own definition.
inline bool FlowsPointIntoOwnDefinition(const cChara& chara)
{
    for (std::size_t i = 0; i < chara.m_RunningFlows.size(); ++i) {
        const cRunningFlow& running = chara.m_RunningFlows[i];
        const cFlowData& record = chara.m_Def.m_Flows[i];
        if (running.m_nIndex != static_cast<int>(i) || running.m_lpFlow != &record) return false;
        for (std::size_t k = 0; k < running.m_Entries.size(); ++k)
            if (running.m_Entries[k].m_lpCommand != &record.m_Commands[k]) return false;
        for (std::size_t k = 0; k < running.m_KeyConditions.size(); ++k)
            if (running.m_KeyConditions[k] != &record.m_KeyConditions[k]) return false;
    }
    return true;
}
