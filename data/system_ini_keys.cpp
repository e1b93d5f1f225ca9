#include "data/system_ini_keys.h"

SYSTEMINIKEYS SystemIniKeys(const cSystemData& system)
{
    SYSTEMINIKEYS keys;
    keys.reserve(system.m_BootOptions.size());
    for (const cBootOptionData& option : system.m_BootOptions) {
        keys.push_back({option.m_strKey, option.m_nValue, option.m_strValue});
    }
    return keys;
}
