#pragma once
// The System.ini key list as the shell's reader takes it, from the boot options of the System
// data: same order, so that each key keeps the position that decides its setting.
#include "data/system_data.h"
#include "shell/system_ini.h"

SYSTEMINIKEYS SystemIniKeys(const cSystemData& system);
