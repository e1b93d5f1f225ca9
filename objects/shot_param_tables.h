#pragma once
// The parameters of the formations (cEdShot m_Formation) and trajectories (m_TrajectoryParams)
// of a shot part: three descriptors each, in value order; an empty label means the formation
// or trajectory has no such parameter.
#include "objects/param_desc.h"

extern const cParamDesc g_FormationParams[6][3];
extern const cParamDesc g_TrajectoryParams[10][3];
