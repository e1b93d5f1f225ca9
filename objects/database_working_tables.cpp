#include "objects/database_working_tables.h"

#include "data/database_tables.h"

void BuildDatabaseWorkingTables()
{
    BuildAnimeTables(g_AnimePatterns);
    BuildEffectTables(g_EffectPatterns);
    InitCharaEffectSlots(g_CharaEffectTemplates, g_CharaEffectTemplatesReverse,
                         [](cEffectPlayback& playback, int id, int reversed) { playback.InitCharaEffectTemplate(id, reversed); });
    InitScreenEffectSlots(g_ScrEffectTemplates, g_ScrEffectTemplatesReverse,
                          [](cEffectPlayback& playback, int id, int reversed) { playback.InitScreenEffectTemplate(id, reversed); });
}
