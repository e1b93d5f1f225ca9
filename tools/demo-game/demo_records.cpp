#include "tools/demo-game/demo_records.h"

#include <utility>

#include "data/data_paths.h"
#include "data/data_writer.h"
#include "data/template_lists.h"
#include "data/template_sources.h"
#include "platform/os/files.h"

namespace {

// The writers check database references against g_Database: the demo's databases stand in
// while its records are written, and the program's come back afterwards.
class cDatabaseScope {
public:
    explicit cDatabaseScope(const cDatabase& database) : m_Saved(g_Database) { g_Database = database; }
    ~cDatabaseScope() { g_Database = std::move(m_Saved); }
    cDatabaseScope(const cDatabaseScope&) = delete;
    cDatabaseScope& operator=(const cDatabaseScope&) = delete;

private:
    cDatabase m_Saved;
};

bool Fail(std::string& error, const std::string& path)
{
    error = "cannot write " + plat::NativePath(path.c_str());
    return false;
}

bool SaveRecord(cDataRecord& record, const std::string& path, std::string& error)
{
    return record.Save(path.c_str()) ? true : Fail(error, path);
}

bool WriteDatabase(cDatabase& database, const std::string& root, std::string& error)
{
    for (int file = 0; file < DATABASE_FILES; ++file) {
        const std::string path = root + "\\" + DatabasePath(file);
        cDataWriter writer;
        if (!OpenDataFileWrite(path.c_str(), writer)) return Fail(error, path);
        database.WriteList(file, writer);
        if (!CloseDataFile(writer)) return Fail(error, path);
    }
    return true;
}

}  // namespace

bool WriteDemoRecords(DEMOGAME& game, const std::string& root, std::string& error)
{
    cDatabaseScope databases(game.database);
    cPaletteData& common = game.commonPalette;
    if (!WriteDatabase(game.database, root, error) || !SaveRecord(game.system, root + "\\data\\System.dat", error) ||
        !SaveRecord(game.worldMap, root + "\\data\\WorldMap.dat", error) ||
        !SaveRecord(common, root + "\\data\\CommonPalette.cplt4", error))
        return false;
    for (std::vector<DEMOSTAGE>* list : {&game.stages, &game.challengeStages, &game.laterParts}) {
        for (DEMOSTAGE& stage : *list) {
            const TEMPLATESOURCES sources{ListsOf(common.m_Blocks, common.m_Charas, common.m_Items),
                                          stage.stage.PaletteLists()};
            cTemplateSourceScope scope(sources);
            if (!SaveRecord(stage.stage, root + "\\" + stage.file, error)) return false;
        }
    }
    return true;
}
