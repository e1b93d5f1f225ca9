#include "tools/demo-game/demo_records.h"

#include <cstdio>
#include <utility>

#include "data/command_info.h"
#include "data/data_paths.h"
#include "data/data_writer.h"
#include "data/database.h"
#include "data/palette_data.h"
#include "data/stage_data.h"
#include "data/system_data.h"
#include "data/template_lists.h"
#include "data/template_sources.h"
#include "data/world_map_data.h"
#include "platform/os/files.h"
#include "tools/demo-game/demo_game.h"

const char* const kDemoStageFiles[] = {"data\\stg4\\Meadow.stg4_001", "data\\stg4\\Caves.stg4_001"};
const int kDemoStages = 2;

namespace {

constexpr int kStageRows = 15;

// The database entries the demo's templates name.
enum { DEMO_SOUND_JUMP = 1, DEMO_SOUND_COIN, DEMO_SOUND_HIT, DEMO_SOUNDS = DEMO_SOUND_HIT };

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

cSystemData DemoSystem()
{
    cSystemData system;
    system.m_strTitle = kDemoGameTitle;
    static const char* const kEffects[] = {"wave\\Cursor.wav", "wave\\Decide.wav", "wave\\Jump.wav", "wave\\Coin.wav",
                                           "wave\\Hit.wav"};
    for (int i = 0; i < static_cast<int>(system.m_SoundFiles.size()); ++i) system.m_SoundFiles[i] = kEffects[i % 5];
    return system;
}

cDatabase DemoDatabase()
{
    cDatabase database;
    database.m_Sounds.resize(DEMO_SOUNDS + 1);
    const char* const sounds[][2] = {{"ジャンプ", "wave\\Jump.wav"}, {"コイン", "wave\\Coin.wav"}, {"ヒット", "wave\\Hit.wav"}};
    for (int i = 0; i < DEMO_SOUNDS; ++i) {
        database.m_Sounds[i + 1].m_strName = sounds[i][0];
        database.m_Sounds[i + 1].m_strFile = sounds[i][1];
    }
    database.m_Bgms.resize(3);
    database.m_Bgms[1].m_strName = "Ogg";
    database.m_Bgms[1].m_strFile = "bgm\\Title.ogg";
    database.m_Bgms[2].m_strName = "MIDI";
    database.m_Bgms[2].m_strFile = "bgm\\Title.mid";
    database.m_Pictures[1].m_strName = "タイトル";
    database.m_Pictures[1].m_strFile = "bmp\\Title.bmp";
    return database;
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

cBlockData DemoBlock(const char* name, int frame, int hitMode)
{
    cBlockData block;
    block.m_strName = name;
    block.m_nImageNumber = 1;
    block.m_nImageFrame = static_cast<std::int16_t>(frame);
    block.m_nHitMode = static_cast<BYTE>(hitMode);
    return block;
}

cCommandData Command(int kind, int tenths)
{
    cCommandData command;
    command.m_nKind = static_cast<std::int8_t>(kind);
    command.m_nTime = static_cast<std::int16_t>(tenths);
    return command;
}

// A walker: it walks forward for two seconds, turns, and cries when it is hit.
cCharaData DemoWalker(int sheet)
{
    cCharaData chara;
    chara.m_strName = "ウォーカー";
    chara.m_nImageNumber = static_cast<std::int16_t>(sheet);
    chara.m_nOperator = 1;
    chara.m_nMaxHp = 2;
    chara.m_nBodyAttack = 1;
    chara.m_nScore = 100;

    cFlowData walk;
    walk.m_nTrigger = TRIGGER_ALWAYS;
    cCommandData move = Command(COMMAND_STRAIGHT_MOVE, 20);
    cEdMove::Create(move.m_pMove);
    move.m_pMove->m_nDirection = 0;  // forward
    move.m_pMove->m_nSpeed = 10;
    walk.m_Commands.push_back(move);
    walk.m_Commands.push_back(Command(COMMAND_TURN, 0));
    chara.m_Flows.push_back(walk);

    cFlowData cry;
    cry.m_nTrigger = TRIGGER_DAMAGED;
    cCommandData sound = Command(COMMAND_SOUND, 0);
    sound.m_nSound = DEMO_SOUND_HIT;
    cry.m_Commands.push_back(sound);
    chara.m_Flows.push_back(cry);
    return chara;
}

// Key histories of a key condition: the direction alone, then the buttons after the no-button one.
constexpr int kRightOnly = 2;
constexpr int kFirstButton = 11;

cKeyConditionData HeldKey(int key)
{
    cKeyConditionData condition;
    condition.m_Keys[static_cast<std::size_t>(key)] = 1;
    condition.m_bAnyDuration = 1;
    return condition;
}

cCharaData DemoHero()
{
    cCharaData hero;
    hero.m_strName = "主人公";
    hero.m_nImageNumber = 1;
    hero.m_nOperator = 0;
    hero.m_nMaxHp = 3;
    hero.m_nFacing = 1;

    // Right held walks right; the key repeats the flow for as long as it is held.
    cFlowData walk;
    walk.m_nTrigger = TRIGGER_ALWAYS;
    walk.m_bKeyRepeat = 1;
    cCommandData step = Command(COMMAND_STRAIGHT_MOVE, 1);
    cEdMove::Create(step.m_pMove);
    step.m_pMove->m_nDirection = 3;  // right
    step.m_pMove->m_nSpeed = 30;
    walk.m_Commands.push_back(step);
    walk.m_KeyConditions.push_back(HeldKey(kRightOnly));
    hero.m_Flows.push_back(walk);

    cFlowData jump;
    jump.m_nTrigger = TRIGGER_ALWAYS;
    cCommandData command = Command(COMMAND_JUMP, 0);
    command.m_nSound = DEMO_SOUND_JUMP;
    command.m_Params.resize(3);
    command.m_Params[2] = 5;  // the height in half blocks
    jump.m_Commands.push_back(command);
    jump.m_KeyConditions.push_back(HeldKey(kFirstButton));
    hero.m_Flows.push_back(jump);
    return hero;
}

cItemData DemoCoin()
{
    cItemData coin;
    coin.m_strName = "コイン";
    coin.m_nImageNumber = 1;
    coin.m_nSound = DEMO_SOUND_COIN;
    return coin;
}

template <class T>
T Placed(const T& from, int column, int row, int paletteIndex)
{
    T placed = from;
    placed.m_nColumn = static_cast<std::int16_t>(column);
    placed.m_nRow = static_cast<std::int16_t>(row);
    placed.m_nInheritSource = 2;  // the stage palette
    placed.m_nInheritIndex = static_cast<std::int16_t>(paletteIndex);
    return placed;
}

// A stage of width blocks: ground along the bottom with a gap, a few ledges, the hero at the
// left, walkers and coins along the way.
cStageData DemoStage(int number, int width)
{
    cStageData stage;
    stage.Reset();
    stage.m_nWidth = width;
    stage.m_nHeight = kStageRows;
    // The camera's axes span the whole stage; left at 0 they end at the screen's size and the
    // hero standing on the ground is already below the stage's bottom.
    stage.m_nScrollAxisX = width * 32;
    stage.m_nScrollAxisY = kStageRows * 32;
    stage.m_nBgm = 1 + number % 2;
    stage.m_bBgmLoop = 1;
    stage.m_Backgrounds[0].m_strPicture = number == 0 ? "背景その1.bmp" : "背景その2.bmp";
    stage.m_PaletteBlocks.push_back(DemoBlock("地面", 0, 1));
    stage.m_PaletteBlocks.push_back(DemoBlock("足場", 11 + number, 1));
    stage.m_PaletteCharas.push_back(DemoHero());
    stage.m_PaletteCharas.push_back(DemoWalker(2 + number));
    stage.m_PaletteItems.push_back(DemoCoin());

    for (int column = 0; column < width; ++column) {
        if (column % 13 == 9 && column < width - 4) continue;  // a gap to jump over
        stage.m_Blocks.push_back(Placed(stage.m_PaletteBlocks[1], column, kStageRows - 2, 1));
        stage.m_Blocks.push_back(Placed(stage.m_PaletteBlocks[1], column, kStageRows - 1, 1));
    }
    for (int ledge = 0; ledge < width / 10; ++ledge)
        for (int k = 0; k < 3; ++k) stage.m_Blocks.push_back(Placed(stage.m_PaletteBlocks[2], ledge * 10 + 5 + k, 9 - ledge % 2 * 2, 2));
    stage.m_Charas.push_back(Placed(stage.m_PaletteCharas[1], 2, kStageRows - 3, 1));
    for (int walker = 1; walker <= 2 + number; ++walker)
        stage.m_Charas.push_back(Placed(stage.m_PaletteCharas[2], walker * 9 + 3, kStageRows - 3, 2));
    for (int coin = 0; coin < width / 5; ++coin)
        stage.m_Items.push_back(Placed(stage.m_PaletteItems[1], coin * 5 + 4, 8 - coin % 3, 1));
    return stage;
}

cWorldMapData DemoWorldMap()
{
    cWorldMapData map;
    for (int i = 0; i < kDemoStages; ++i) {
        cWorldPointData point;
        point.m_nX = 4 + i * 6;
        point.m_nY = 7;
        point.m_strName = i == 0 ? "草原" : "洞窟";
        point.m_Stages[0].m_strLabel = point.m_strName;
        point.m_Stages[0].m_strStageFile = kDemoStageFiles[i];
        map.m_Points.push_back(point);
    }
    return map;
}

}  // namespace

bool WriteDemoRecords(const std::string& root, std::string& error)
{
    cDatabase database = DemoDatabase();
    cDatabaseScope databases(database);
    cSystemData system = DemoSystem();
    cPaletteData common;
    cWorldMapData worldMap = DemoWorldMap();
    if (!WriteDatabase(database, root, error) || !SaveRecord(system, root + "\\data\\System.dat", error) ||
        !SaveRecord(worldMap, root + "\\data\\WorldMap.dat", error) ||
        !SaveRecord(common, root + "\\data\\CommonPalette.cplt4", error))
        return false;
    for (int i = 0; i < kDemoStages; ++i) {
        cStageData stage = DemoStage(i, 40 + 20 * i);
        const TEMPLATESOURCES sources{ListsOf(common.m_Blocks, common.m_Charas, common.m_Items), stage.PaletteLists()};
        cTemplateSourceScope scope(sources);
        if (!SaveRecord(stage, root + "\\" + kDemoStageFiles[i], error)) return false;
    }
    return true;
}
