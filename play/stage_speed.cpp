#include "play/stage_speed.h"

#include "data/stage_data.h"

STAGESPEED StageSpeed()
{
    const cStageData& s = g_StageData;
    STAGESPEED speed;
    speed.nSteps = s.m_nSubSteps;
    speed.dSteps = s.m_dSubSteps;
    speed.dSteps2 = s.m_dSubStepsSquared;
    speed.dBaseGravity = s.m_dGravity;
    speed.dGravity = s.m_dGravityPerStep;
    speed.dSpeedLimit = s.m_dSpeedLimitPerStep;
    speed.nFallLimit = s.m_nSubSteps8;
    return speed;
}
