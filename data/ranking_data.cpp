#include "data/ranking_data.h"

#include <algorithm>

#include "data/data_paths.h"
#include "data/player_file.h"
#include "shell/format.h"
#include "shell/path_utils.h"

namespace {

// The last version whose files may lack the tables for remaining HP and SP.
constexpr DWORD kLastFiveTablesFixVersion = 180;

// Whether a larger value ranks higher, by kind.
constexpr int kDefaultLargerWins[RANKING_KINDS] = {1, 1, 0, 1, 1};

const DATAPATH kModeFolders[] = {DATAPATH_RANKING_STORY, DATAPATH_RANKING_CHALLENGE, DATAPATH_RANKING_FREE};

}  // namespace

void cRankingEntry::RegisterFields(DWORD)
{
    ClearTables();
    AddField4(&m_bUsed, 1, "bUsed");
    AddField4(&m_nValue, 1, "nValue");
    AddString(&m_strName, "strName");
}

cRankingTable::cRankingTable()
{
    m_Entries.resize(kRankingPlaces);
}

void cRankingTable::RegisterFields(DWORD)
{
    ClearTables();
    AddField4(&m_bLargerWins, 1, "bLargerWins");
    AddRecordList(&m_Entries, "Entries");
}

void cRankingTable::SetDefaults()
{
    Clear();
    m_Entries.clear();
    m_Entries.resize(kRankingPlaces);
}

int cRankingTable::FindRank(int value) const
{
    for (std::size_t place = 0; place < m_Entries.size(); ++place) {
        const cRankingEntry& entry = m_Entries[place];
        if (!entry.m_bUsed) return static_cast<int>(place);
        if (m_bLargerWins ? value > entry.m_nValue : value < entry.m_nValue) return static_cast<int>(place);
    }
    return -1;
}

void cRankingTable::Insert(const std::string& name, int value)
{
    const int place = FindRank(value);
    cRankingEntry entry;
    entry.m_bUsed = 1;
    entry.m_strName = name;
    entry.m_nValue = value;
    if (place >= 0 && static_cast<std::size_t>(place) < m_Entries.size())
        m_Entries.insert(m_Entries.begin() + place, entry);
    else
        m_Entries.push_back(entry);
    m_Entries.pop_back();
}

cRankingData::cRankingData()
{
    SetDefaults();
}

void cRankingData::RegisterFields(DWORD)
{
    ClearTables();
    AddRecordList(&m_Tables, "Tables");
}

void cRankingData::SetDefaults()
{
    Clear();
    m_Tables.clear();
    m_Tables.resize(RANKING_KINDS);
    for (int kind = 0; kind < RANKING_KINDS; ++kind) m_Tables[static_cast<std::size_t>(kind)].m_bLargerWins = kDefaultLargerWins[kind];
}

void cRankingData::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    if (reader.Failed()) return;
    // Every kind is shown and ranked, so five tables of 20 places whatever the file held.
    const std::size_t stored = m_Tables.size();
    m_Tables.resize(RANKING_KINDS);
    const bool oldFile = reader.Version() <= kLastFiveTablesFixVersion;
    for (std::size_t kind = stored; kind < m_Tables.size(); ++kind)
        m_Tables[kind].m_bLargerWins = oldFile ? 0 : kDefaultLargerWins[kind];
    if (oldFile) {
        m_Tables[RANKING_REMAINING_HP].m_bLargerWins = 1;
        m_Tables[RANKING_REMAINING_SP].m_bLargerWins = 1;
    }
    for (cRankingTable& table : m_Tables) table.m_Entries.resize(kRankingPlaces);
}

int cRankingData::LoadForStage(int playMode, const char* stageBase)
{
    std::string path;
    if (RankingFilePath(path, playMode, stageBase) && LoadPlayerFile(*this, path.c_str()) == PLAYERFILE_LOADED)
        return 1;
    SetDefaults();
    return 0;
}

int cRankingData::SaveForStage(int playMode, const char* stageBase)
{
    std::string path;
    return RankingFilePath(path, playMode, stageBase) && Save(path.c_str()) ? 1 : 0;
}

cRankingTable& cRankingData::Table(int kind)
{
    return m_Tables.At(std::clamp(kind, 0, RANKING_KINDS - 1));
}

bool RankingFilePath(std::string& out, int playMode, const char* stageBase)
{
    if (playMode < 0 || playMode >= static_cast<int>(std::size(kModeFolders))) return false;
    FormatString(out, "%s%s%s", g_DataPaths[kModeFolders[playMode]], StripDirectory(stageBase ? stageBase : "").c_str(),
                 g_DataExts[3]);
    return true;
}

void FormatTime(std::string& out, int hundredths)
{
    std::string minutes, seconds, fraction;
    FormatNumber(minutes, hundredths / 6000, 2, true, false);
    FormatNumber(seconds, hundredths / 100 % 60, 2, true, false);
    FormatNumber(fraction, hundredths % 100, 2, true, false);
    FormatString(out, "%s:%s.%s", minutes.c_str(), seconds.c_str(), fraction.c_str());
}
