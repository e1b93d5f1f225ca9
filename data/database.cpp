#include "data/database.h"

#include <cstdint>
#include <type_traits>
#include <utility>

#include "data/record_tails.h"
#include "shell/error_box.h"
#include "shell/format.h"
#include "shell/log.h"

const char* DatabasePath(int file)
{
    // The ten databases are every other path from DATAPATH_DB_ANIMESET on, in loading order.
    return g_DataPaths[DATAPATH_DB_ANIMESET + 2 * file];
}

cDatabase::cDatabase()
{
    SetDefaults();
}

void cDatabase::RegisterFields(DWORD)
{
    ClearTables();
}

void cDatabase::SetDefaults()
{
    Clear();
    m_AnimeSets.assign(1, cAnimeSetData());
    m_Animes.assign(2, cAnimeData());
    m_Animes[0].m_strName = "なし";
    m_Animes[1].m_strName = "アクションA";
    m_BmpCharaExcs.assign(2, cBmpCharaExcData());
    m_SwordTypes.assign(1, cSwordTypeData());
    m_Effects.assign(2, cEffectData());
    m_CharaEffects.assign(2, cCharaEffectData());
    m_ScrEffects.assign(2, cScrEffectData());
    m_Pictures.assign(2, cPictureData());
    m_Sounds.assign(2, cSoundData());
    m_Bgms.assign(2, cBgmData());
    m_CharaEffectsReverse.clear();
    m_ScrEffectsReverse.clear();
}

void cDatabase::FillReverseLists()
{
    m_CharaEffectsReverse = m_CharaEffects;
    m_ScrEffectsReverse = m_ScrEffects;
}

void cDatabase::ResetNoneEffectKinds()
{
    // An empty list has no entry 0 to reset.
    if (!m_CharaEffects.empty()) m_CharaEffects.At(0).m_nKind = 0;
    if (!m_ScrEffects.empty()) m_ScrEffects.At(0).m_nKind = 0;
}

bool cDatabase::ReadList(int file, cDataReader& reader)
{
    return VisitList(file, [&reader](auto& list) {
        std::int32_t stored = 0;
        if (!reader.ReadInt32(stored)) return false;
        // The count is unsigned; every entry takes at least an empty record body.
        const std::uint32_t count = static_cast<std::uint32_t>(stored);
        if (static_cast<std::uint64_t>(count) * kMinRecordBodyBytes > reader.Remaining()) {
            std::string why;
            FormatString(why, "entry count %u needs more than the %zu bytes left", count, reader.Remaining());
            reader.Fail(why);
            return false;
        }
        using RECORD = typename std::decay_t<decltype(list)>::value_type;
        if (!ChargeRecords<RECORD>(reader, count)) return false;
        if (list.size() > count) list.resize(count);
        list.reserve(count);
        for (std::uint32_t i = 0; i < count && !reader.Failed(); ++i) {
            if (i == list.size()) list.emplace_back();
            list[i].Read(reader);
            if (g_bStripCR) list[i].StripCR();
        }
        return !reader.Failed();
    });
}

void cDatabase::WriteList(int file, cDataWriter& writer)
{
    VisitList(file, [&writer](auto& list) { WriteRecordList(writer, list); });
}

std::size_t cDatabase::Count(int file) const
{
    return const_cast<cDatabase*>(this)->VisitList(file, [](const auto& list) { return list.size(); });
}

int cDatabase::Load()
{
    // Read over copies of the lists, taken only when all ten files were read.
    cDatabase staged(*this);
    for (int file = 0; file < DATABASE_FILES; ++file) {
        const char* path = DatabasePath(file);
        cDataReader reader;
        if (!OpenDataFileRead(path, reader)) {
            ErrorBoxF("%s のロードに失敗！", path);
            return 0;
        }
        if (!staged.ReadList(file, reader)) {
            ReportLog("%s : %s", path, reader.Error().c_str());
            ErrorBoxF("%s のロードに失敗！", path);
            return 0;
        }
        if (reader.Remaining() > 0) ReportLog("%s : %zu bytes after the last entry are not read", path, reader.Remaining());
    }
    staged.ResetNoneEffectKinds();
    *this = std::move(staged);
    return 1;
}
