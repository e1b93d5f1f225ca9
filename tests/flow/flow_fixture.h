#pragma once
// Charas with flows built in code, on the one stage fixture's view stage with a chosen number of
// sub-steps, for the flow tests. The stage-play scene is published while the fixture lives.
#include <initializer_list>
#include <memory>

#include "data/chara_data.h"
#include "data/command_info.h"
#include "objects/chara.h"
#include "tests/stage/stage_fixture.h"

// A command of `kind`; `parallel` 1 lets the flow go on without waiting for it.
inline cCommandData FlowCommand(int kind, int parallel = 0, int tenths = 0)
{
    cCommandData command;
    command.m_nKind = static_cast<std::int8_t>(kind);
    command.m_bParallel = static_cast<BYTE>(parallel);
    command.m_nTime = static_cast<std::int16_t>(tenths);
    command.m_Params.assign(static_cast<std::size_t>(g_CommandInfo[kind].count), 0);
    return command;
}

inline cFlowData FlowOf(int trigger, std::initializer_list<cCommandData> commands, int group = 0)
{
    cFlowData flow;
    flow.m_nTrigger = static_cast<std::int8_t>(trigger);
    flow.m_nGroup = static_cast<BYTE>(group);
    for (const cCommandData& command : commands) flow.m_Commands.push_back(command);
    return flow;
}

class FlowStageFixture : public qbtest::cViewStage {
public:
    explicit FlowStageFixture(int subSteps = 1)
    {
        g_StageData.SetSpeedLevel(subSteps);
        g_SystemData.m_bRunMarkedTriggers = 0;
        g_SystemData.m_bConditionSwitch = 0;
        g_Input.assign(1, cInput());
        m_Chara = std::make_unique<cChara>();
        m_Chara->m_nKind = 1;
        m_Chara->m_nDirection = 1;
        m_Chara->m_Vars.assign(9, 0);
    }

    cChara& Chara() { return *m_Chara; }

    // The chara's flows become these, built as a spawn builds them.
    void SetFlows(std::initializer_list<cFlowData> flows)
    {
        m_Chara->m_Def.m_Flows.clear();
        for (const cFlowData& flow : flows) m_Chara->m_Def.m_Flows.push_back(flow);
        m_Chara->LoadFlows(m_Chara->m_Def.m_Flows, m_Chara->m_nDirection, 0, 0);
    }

private:
    std::unique_ptr<cChara> m_Chara;
};
