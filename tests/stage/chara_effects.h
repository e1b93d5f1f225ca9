#pragma once
// Chara-effect and screen-effect entries of the database made by a test, with their playback
// templates built as start-up builds them. The database and the template lists are put back when it goes.
#include <vector>

#include "data/database.h"
#include "objects/database_working_tables.h"
#include "tests/support/restore.h"

namespace qbtest {

class cCharaEffects {
public:
    // Entry id of the CharaEffect database (the list grows to hold it) gets the kind and the
    // parameters p1.. given; then every template is made again.
    void Set(int id, int kind, const std::vector<int>& params) { SetEntry(g_Database.m_CharaEffects, id, kind, params); }
    // The same for entry id of the ScrEffect database.
    void SetScreen(int id, int kind, const std::vector<int>& params) { SetEntry(g_Database.m_ScrEffects, id, kind, params); }

private:
    template <class LIST>
    static void SetEntry(LIST& list, int id, int kind, const std::vector<int>& params)
    {
        if (list.size() <= static_cast<std::size_t>(id)) list.resize(static_cast<std::size_t>(id) + 1);
        list[static_cast<std::size_t>(id)].m_nKind = kind;
        int i = 0;
        for (int p : params) list[static_cast<std::size_t>(id)].m_nParams[i++] = p;
        g_Database.FillReverseLists();
        BuildDatabaseWorkingTables();
    }

    cRestore<cDatabase> m_Database{g_Database};
    cRestore<cSafeVector<cSafeVector<ANIMEFRAME>>> m_AnimePatterns{g_AnimePatterns};
    cRestore<cSafeVector<cSafeVector<ANIMEFRAME>>> m_EffectPatterns{g_EffectPatterns};
    cRestore<cSafeVector<cEffectPlayback>> m_Chara{g_CharaEffectTemplates};
    cRestore<cSafeVector<cEffectPlayback>> m_CharaReversed{g_CharaEffectTemplatesReverse};
    cRestore<cSafeVector<cEffectPlayback>> m_Screen{g_ScrEffectTemplates};
    cRestore<cSafeVector<cEffectPlayback>> m_ScreenReversed{g_ScrEffectTemplatesReverse};
};

}  // namespace qbtest
