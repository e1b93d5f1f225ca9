#include "tools/lib/data_file_kinds.h"

#include "data/boot_data.h"
#include "data/data_paths.h"
#include "data/database.h"
#include "data/option_data.h"
#include "data/palette_data.h"
#include "data/ranking_data.h"
#include "data/replay_file.h"
#include "data/save_data.h"
#include "data/stage_data.h"
#include "data/system_data.h"
#include "data/window_data.h"
#include "data/world_map_data.h"
#include "tools/lib/data_dump.h"

namespace {

// A file that holds one record of class T.
template <class T>
class cRecordFile : public cDataFile {
public:
    bool ReadFrom(cDataReader& reader) override { return m_Record.LoadFrom(reader) != 0; }
    void WriteTo(cDataWriter& writer) override { m_Record.Write(writer); }
    void Dump(std::string& out) override { DumpRecord(m_Record, out); }

private:
    T m_Record;
};

template <class T>
std::unique_ptr<cDataFile> CreateRecordFile()
{
    return std::make_unique<cRecordFile<T>>();
}

// The names of the database lists in listings, by DATABASEFILE.
const char* const kDatabaseListNames[DATABASE_FILES] = {
    "AnimeSets", "Animes", "BmpCharaExcs", "SwordTypes", "Effects",
    "CharaEffects", "ScrEffects", "Pictures", "Sounds", "Bgms",
};

// A database list seen as a record whose tail is that list, for the listing.
class cDatabaseListView : public cDataRecord {
public:
    cDatabaseListView(cDatabase& database, int file) : m_Database(database), m_nFile(file) {}
    void RegisterFields(DWORD) override
    {
        ClearTables();
        m_Database.VisitList(m_nFile, [this](auto& list) { AddRecordList(&list, kDatabaseListNames[m_nFile]); });
    }

private:
    cDatabase& m_Database;
    int m_nFile;
};

// A database file, read as start-up reads it: over the list the defaults make, beside the
// other nine as g_Database holds them (their defaults, or a game's with --game).
template <int FILE>
class cDatabaseFile : public cDataFile {
public:
    cDatabaseFile() : m_Database(g_Database) { m_Database.CopyList(FILE, cDatabase()); }

    bool ReadFrom(cDataReader& reader) override
    {
        cDatabase staged(m_Database);
        if (!staged.ReadList(FILE, reader)) return false;
        staged.ResetNoneEffectKinds();
        m_Database = std::move(staged);
        return true;
    }
    void WriteTo(cDataWriter& writer) override { m_Database.WriteList(FILE, writer); }
    void Dump(std::string& out) override { DumpRecord(cDatabaseListView(m_Database, FILE), out); }

private:
    cDatabase m_Database;
};

template <int FILE>
std::unique_ptr<cDataFile> CreateDatabaseFile()
{
    return std::make_unique<cDatabaseFile<FILE>>();
}

// A replay file: its stage, its input streams and the progress at the start of its attempt.
class cReplayDataFile : public cDataFile {
public:
    // A new stage one screen large (a stage must have blocks to be read back), and a replay
    // of no frames on it.
    void ResetStage()
    {
        m_File.stage.Reset();
        m_File.stage.m_nWidth = 20;
        m_File.stage.m_nHeight = 15;
        m_File.stage.Normalize();
    }
    bool ReadFrom(cDataReader& reader) override { return ReadReplayFile(reader, m_File); }
    void WriteTo(cDataWriter& writer) override
    {
        WriteReplayFile(writer, m_File.stage, m_File.stage, m_File.replay, m_File.progress);
    }
    void Dump(std::string& out) override
    {
        out += "stage:\n";
        DumpRecord(m_File.stage, out);
        out += "replay:\n";
        DumpRecord(m_File.replay, out);
        DumpStream(out, "m_DirectionValues", m_File.replay.m_DirectionValues);
        DumpStream(out, "m_ButtonValues", m_File.replay.m_ButtonValues);
        DumpStream(out, "m_DirectionRuns", m_File.replay.m_DirectionRuns);
        DumpStream(out, "m_ButtonRuns", m_File.replay.m_ButtonRuns);
        out += "progress:\n";
        DumpRecord(m_File.progress, out);
    }

private:
    template <class T>
    static void DumpStream(std::string& out, const char* name, const cSafeVector<T>& stream)
    {
        out += std::string(name) + ".count = " + std::to_string(stream.size()) + "\n";
        for (std::size_t i = 0; i < stream.size(); ++i)
            out += std::string(name) + "[" + std::to_string(i) + "] = " + std::to_string(stream[i]) + "\n";
    }

    REPLAYFILE m_File;
};

std::unique_ptr<cDataFile> CreateReplayFile()
{
    auto file = std::make_unique<cReplayDataFile>();
    file->ResetStage();
    return file;
}

const DATAFILEKIND kKinds[] = {
    {"system", CreateRecordFile<cSystemData>, DATACHECK_DATABASES},
    {"boot", CreateRecordFile<cBootData>, DATACHECK_NONE},
    {"window", CreateRecordFile<cWindowData>, DATACHECK_NONE},
    {"animeset", CreateDatabaseFile<DATABASE_ANIMESET>, DATACHECK_DATABASES, true},
    {"anime", CreateDatabaseFile<DATABASE_ANIME>, DATACHECK_DATABASES, true},
    {"bmpcharaexc", CreateDatabaseFile<DATABASE_BMPCHARAEXC>, DATACHECK_DATABASES, true},
    {"swordtype", CreateDatabaseFile<DATABASE_SWORDTYPE>, DATACHECK_DATABASES, true},
    {"effect", CreateDatabaseFile<DATABASE_EFFECT>, DATACHECK_DATABASES, true},
    {"charaeffect", CreateDatabaseFile<DATABASE_CHARAEFFECT>, DATACHECK_DATABASES, true},
    {"screffect", CreateDatabaseFile<DATABASE_SCREFFECT>, DATACHECK_DATABASES, true},
    {"picture", CreateDatabaseFile<DATABASE_PICTURE>, DATACHECK_DATABASES, true},
    {"sound", CreateDatabaseFile<DATABASE_SOUND>, DATACHECK_DATABASES, true},
    {"bgm", CreateDatabaseFile<DATABASE_BGM>, DATACHECK_DATABASES, true},
    {"worldmap", CreateRecordFile<cWorldMapData>, DATACHECK_NONE, true},
    {"option", CreateRecordFile<cOptionData>, DATACHECK_NONE, true},
    {"ranking", CreateRecordFile<cRankingData>, DATACHECK_NONE, true},
    {"palette", CreateRecordFile<cPaletteData>, DATACHECK_DATABASES | DATACHECK_SYSTEM, true},
    // A save is read against the challenge stage count of the System data and the world map.
    {"save", CreateRecordFile<cSaveData>, DATACHECK_DATABASES | DATACHECK_SYSTEM | DATACHECK_WORLDMAP, true},
    {"challenge", CreateRecordFile<cSaveData>, DATACHECK_DATABASES | DATACHECK_SYSTEM | DATACHECK_WORLDMAP, true},
    // A stage as the game reads it: over the game's databases, System data and common palette.
    {"stage", CreateRecordFile<cStageData>, DATACHECK_DATABASES | DATACHECK_SYSTEM | DATACHECK_COMMONPALETTE},
    // A replay carries a stage and a progress record: read against all that both are.
    {"replay", CreateReplayFile,
     DATACHECK_DATABASES | DATACHECK_SYSTEM | DATACHECK_COMMONPALETTE | DATACHECK_WORLDMAP, true},
};

}  // namespace

std::span<const DATAFILEKIND> DataFileKinds()
{
    return kKinds;
}

const DATAFILEKIND* FindDataFileKind(const std::string& name)
{
    for (const DATAFILEKIND& kind : kKinds) {
        if (name == kind.name) return &kind;
    }
    return nullptr;
}

bool LoadDataChecks(unsigned checks, std::string& error)
{
    if (checks & DATACHECK_DATABASES) {
        if (!g_Database.Load()) {
            error = "cannot read the databases of data\\database";
            return false;
        }
    }
    // After the databases: the System data checks its BGM against them.
    if (checks & DATACHECK_SYSTEM) {
        if (!g_SystemData.Load(g_DataPaths[DATAPATH_SYSTEM])) {
            error = "cannot read data\\System.dat";
            return false;
        }
    }
    if (checks & DATACHECK_WORLDMAP) {
        if (!g_WorldMapData.Load(g_DataPaths[DATAPATH_WORLDMAP])) {
            error = "cannot read data\\WorldMap.dat";
            return false;
        }
    }
    // Last: its templates are checked against the databases and keep flows by the System data.
    if (checks & DATACHECK_COMMONPALETTE) {
        if (!g_CommonPalette.Load(g_DataPaths[DATAPATH_COMMONPALETTE])) {
            error = std::string("cannot read ") + g_DataPaths[DATAPATH_COMMONPALETTE];
            return false;
        }
    }
    return true;
}
