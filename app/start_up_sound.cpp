#include "app/start_up_sound.h"

#include <algorithm>
#include <cstdio>

#include "data/database.h"
#include "data/system_data.h"
#include "sound/direct_sound.h"

void FillSoundTable()
{
    const int databaseEntries = std::max(static_cast<int>(g_Database.m_Sounds.size()), 1);
    const std::size_t entries = static_cast<std::size_t>(databaseEntries + 16);
    g_SoundTable.clear();
    g_SoundTable.resize(entries);
    g_SoundFileTable.assign(entries, DSSOUNDFILE{});
    for (std::size_t i = 0; i < entries; ++i) {
        DSSOUNDFILE& file = g_SoundFileTable[i];
        const int entry = static_cast<int>(i);
        const char* name = entry < kBuiltInSounds ? g_SystemData.m_SoundFiles.At(entry).c_str()
                                                  : g_Database.m_Sounds.At(entry - 16).m_strFile.c_str();
        std::snprintf(file.szFile, sizeof file.szFile, "%s", name ? name : "");
        file.nCopies = 1;
        file.nVolume = 0;
        file.nFlag = 1;
    }
}
