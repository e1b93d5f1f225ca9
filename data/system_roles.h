#pragma once
// The System data's switches under the names of what they do in stage play. Each accessor
// reads the one member of g_SystemData that holds that switch; the mapping is recorded here
// and nowhere else.
#include "data/system_data.h"

// The auto-scroll speed is added to every approach velocity, and only the hero follows the
// auto-scroll in its own frame update.
inline int ScrollCarrySwitch() { return g_SystemData.m_bScrollFollow; }
// A change of scale moves a chara vertically by its bounds' height instead of its drawing.
inline int ScaleByBoundsSwitch() { return g_SystemData.m_bScaleByHeight; }
