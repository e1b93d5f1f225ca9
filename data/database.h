#pragma once
// The ten databases of "data\database": lists of entries that other data names by position,
// entry 0 of each being the "none" entry. Loaded once at start-up into g_Database and only read
// afterwards; the reverse lists are copies of the chara and screen effects that the effect
// templates prepare for playing backwards.
#include <cstddef>

#include "data/anime_data.h"
#include "data/chara_bitmap_data.h"
#include "data/data_paths.h"
#include "data/data_record.h"
#include "data/effect_data.h"
#include "data/file_entry_data.h"
#include "data/sword_type_data.h"
#include "shell/safe_container.h"

// The database files in loading order.
enum DATABASEFILE {
    DATABASE_ANIMESET,
    DATABASE_ANIME,
    DATABASE_BMPCHARAEXC,
    DATABASE_SWORDTYPE,
    DATABASE_EFFECT,
    DATABASE_CHARAEFFECT,
    DATABASE_SCREFFECT,
    DATABASE_PICTURE,
    DATABASE_SOUND,
    DATABASE_BGM,
    DATABASE_FILES
};

// The path of a database file (an entry of g_DataPaths).
const char* DatabasePath(int file);

class cDatabase : public cDataRecordOf<cDatabase> {
public:
    cDatabase();

    // The container stores nothing itself: each list has a file of its own.
    void RegisterFields(DWORD version) override;

    // Reads the ten files from the working folder, all or nothing: 1 when every file was read
    // whole. Otherwise the box "%s のロードに失敗！" names the first file that cannot be opened
    // or is damaged, and every list stays as it was. Entry 0 of the chara and screen effects
    // then has kind 0.
    int Load();
    // The default lists: the database of a game without database files.
    void SetDefaults();
    // The reverse lists become copies of the chara-effect and screen-effect lists.
    void FillReverseLists();
    // Entry 0 of the chara effects and of the screen effects is "none": its kind becomes 0,
    // whatever a file gave it. Part of every read of the databases.
    void ResetNoneEffectKinds();

    // One database file's image (after the version word): an unsigned entry count n, then n
    // entry bodies. Read over the list in place: entries beyond n are dropped, missing ones
    // are new default entries, present ones are read over. False, with the reason in the
    // reader, when the file is damaged; the list may then be half-read.
    bool ReadList(int file, cDataReader& reader);
    void WriteList(int file, cDataWriter& writer);
    std::size_t Count(int file) const;

    // Calls visit(&cDatabase::m_...) with the member that holds the list of a database file
    // (DATABASEFILE) and returns its result.
    template <class F>
    static decltype(auto) VisitMember(int file, F&& visit)
    {
        switch (file) {
        case DATABASE_ANIMESET: return visit(&cDatabase::m_AnimeSets);
        case DATABASE_ANIME: return visit(&cDatabase::m_Animes);
        case DATABASE_BMPCHARAEXC: return visit(&cDatabase::m_BmpCharaExcs);
        case DATABASE_SWORDTYPE: return visit(&cDatabase::m_SwordTypes);
        case DATABASE_EFFECT: return visit(&cDatabase::m_Effects);
        case DATABASE_CHARAEFFECT: return visit(&cDatabase::m_CharaEffects);
        case DATABASE_SCREFFECT: return visit(&cDatabase::m_ScrEffects);
        case DATABASE_PICTURE: return visit(&cDatabase::m_Pictures);
        case DATABASE_SOUND: return visit(&cDatabase::m_Sounds);
        default: return visit(&cDatabase::m_Bgms);
        }
    }
    // Calls visit(list) with the list of a database file and returns its result.
    template <class F>
    decltype(auto) VisitList(int file, F&& visit)
    {
        return VisitMember(file, [this, &visit](auto member) -> decltype(auto) { return visit(this->*member); });
    }
    // The list of a database file becomes a copy of the same list of another database.
    void CopyList(int file, const cDatabase& from)
    {
        VisitMember(file, [this, &from](auto member) { this->*member = from.*member; });
    }

    cSafeVector<cAnimeSetData> m_AnimeSets;
    cSafeVector<cAnimeData> m_Animes;
    cSafeVector<cBmpCharaExcData> m_BmpCharaExcs;
    cSafeVector<cSwordTypeData> m_SwordTypes;
    cSafeVector<cEffectData> m_Effects;
    cSafeVector<cCharaEffectData> m_CharaEffects;
    cSafeVector<cScrEffectData> m_ScrEffects;
    cSafeVector<cPictureData> m_Pictures;
    cSafeVector<cSoundData> m_Sounds;
    cSafeVector<cBgmData> m_Bgms;
    cSafeVector<cCharaEffectData> m_CharaEffectsReverse;
    cSafeVector<cScrEffectData> m_ScrEffectsReverse;
};

extern cDatabase g_Database;

// Where a fix-up makes a database reference name the first real entry: 1 when the list has
// one (two entries or more), else 0, the "none" entry.
template <class T>
int FirstEntryOrNone(const cSafeVector<T>& list)
{
    return list.size() >= 2 ? 1 : 0;
}
