#include "app/start_up.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/drawing_mode_dialog.h"
#include "app/main_window.h"
#include "app/program_hooks.h"
#include "app/start_up_fonts.h"
#include "app/start_up_screen.h"
#include "app/start_up_sound.h"
#include "data/boot_data.h"
#include "data/data_paths.h"
#include "data/data_version.h"
#include "data/database.h"
#include "data/first_run.h"
#include "data/option_data.h"
#include "data/palette_data.h"
#include "data/player_file.h"
#include "data/system_data.h"
#include "data/system_ini_keys.h"
#include "data/world_map_data.h"
#include "graphics/device.h"
#include "objects/database_working_tables.h"
#include "platform/os/files.h"
#include "platform/os/random.h"
#include "platform/os/text.h"
#include "platform/os/timer.h"
#include "play/free_play.h"
#include "play/game_manager.h"
#include "play/palette_colors.h"
#include "shell/input.h"
#include "shell/keyboard_hook.h"
#include "shell/key_config.h"
#include "shell/log.h"
#include "shell/path_utils.h"
#include "shell/shared_flags.h"
#include "shell/system_ini.h"
#include "sound/bgm.h"
#include "sound/direct_sound.h"

int g_bWindowed = 1;
int g_nRequestedBpp = 0;
HICON g_hIcon = nullptr;

namespace {

bool s_bStartUpCancelled = false;

bool PrepareDataFolders()
{
    if (!CreateDefaultData(g_MainWindow.m_hWnd)) {
        ReportLogBox("「data」フォルダの作成に失敗…\n「default」フォルダに問題がある可能性があります。");
        return false;
    }
    for (const char* const* folder = g_CreateFolders; *folder; ++folder) CreateDirectoryA(*folder, nullptr);
    return true;
}

// The ten databases, then the tables derived from them.
bool LoadDatabases()
{
    if (!g_Database.Load()) {
        ReportLogBox("データベースの読み込みに失敗…");
        return false;
    }
    g_Database.FillReverseLists();
    BuildDatabaseWorkingTables();
    return true;
}

bool LoadSystemData()
{
    const char* path = g_DataPaths[DATAPATH_SYSTEM];
    if (g_SystemData.Load(path)) return true;
    ReportLogBox("%s の読み込みに失敗…", path);
    return false;
}

bool TakeBootChoice()
{
    if (g_SystemIni.Direct3D < 2) return true;
    g_BootData.Load(g_DataPaths[DATAPATH_BOOT]);  // a missing file leaves the defaults
    if (!g_BootData.m_bDoNotAsk && !RunDrawingModeDialog()) {
        s_bStartUpCancelled = true;
        return false;
    }
    g_SystemIni.Direct3D = g_BootData.m_nDrawingMode == 1 ? 1 : 0;
    return true;
}

// A stage named at start that cannot be played: the report line and box name what was looked
// for and where, and standard error says the same in English with how a stage is named; the
// game then goes on at the title.
void ReportStageNotFound(const char* name, const std::string& lookedFor, const std::string& lookedForUtf8)
{
    ReportLogBox("「%s」の読み込みに失敗しました！\n%s\nゲームのフォルダ：%s", name, lookedFor.c_str(),
                 GameFolderCp932().c_str());
    std::fprintf(stderr,
                 "quillbramwood: %s in the game folder %s. A stage is named by its file without the _NNN "
                 "number, relative to the game folder: data/stg4/NAME.stg4 plays the highest "
                 "data/stg4/NAME.stg4_NNN. Starting at the title instead.\n",
                 lookedForUtf8.c_str(), GameFolderUtf8().c_str());
    std::fflush(stderr);
}

// A stage named on the command line: surrounding quotes go, and a name too long for a path is
// reported as a stage that cannot be read, so that no cut name is played instead.
void TakeCommandLineStage(const char* commandLine)
{
    if (!commandLine || !*commandLine) return;
    std::string name = commandLine;
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
    if (name.size() >= sizeof g_SystemIni.FreeStage) {
        const std::string limit = std::to_string(sizeof g_SystemIni.FreeStage - 1);
        ReportStageNotFound(name.c_str(), "名前が長すぎます（" + limit + " バイトまで）。",
                            "the stage name is longer than a path may be (" + limit + " bytes)");
        name.clear();
    }
    std::memcpy(g_SystemIni.FreeStage, name.c_str(), name.size() + 1);
}

// Without a sound device the game goes on silent (DS_Init has said why in the report).
void StartSound()
{
    FillSoundTable();
    if (!DS_Init(g_MainWindow.m_hWnd, 22050, 8, 1)) {
        EcLogString("DS_Init失敗！");
        return;
    }
    DS_LoadSoundTable(g_SoundTable, g_SoundFileTable, DS_VolumeOfLevel(g_OptionData.m_nVolume));
}

// The options: a missing file leaves the defaults; a damaged one is kept aside (and the
// defaults stay).
bool LoadOptions()
{
    LoadPlayerFile(g_OptionData, g_DataPaths[DATAPATH_OPTION]);
    return g_nBpp != 8 || LoadHbtPalette(std::clamp(g_OptionData.m_nWindowColor, 0, kWindowColors - 1));
}

// The world map and the common palette: a file that cannot be read fails the start-up.
bool LoadRequiredRecord(cDataRecord& record, int pathIndex)
{
    const char* path = g_DataPaths[pathIndex];
    if (record.Load(path)) return true;
    ReportLogBox("%s のロードに失敗！", path);
    return false;
}

// A stage named at start (the editor's test play): its highest-numbered file is read and
// checked, and the first frame goes straight to stage play in free play. A name that matches
// no file starts the game at the title instead, after saying which files were looked for.
// False when the file cannot be played.
bool StartStageGivenAtStart()
{
    char* stage = g_SystemIni.FreeStage;
    if (!*stage) return true;
    FindHighestNumberedFile(stage, stage, g_DataExts[1]);
    if (GetFileAttributesA(stage) == INVALID_FILE_ATTRIBUTES) {
        // The numbered files tried, then the name itself.
        char numbered[MAX_PATH];
        ChangeExtension(numbered, stage, g_DataExts[1]);
        const std::string candidates = std::string(numbered) + "_000.." + numbered + "_999";
        ReportStageNotFound(stage, "探したファイル：" + candidates + "、" + stage,
                            "no stage file " + plat::Cp932ToUtf8(candidates) + " or " + plat::Cp932ToUtf8(stage));
        stage[0] = '\0';
        return true;
    }
    return StartStageFromCommandLine(stage);
}

}  // namespace

bool StartUpWasCancelled() { return s_bStartUpCancelled; }

std::string GameFolderUtf8()
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? std::string(".") : folder.string();
}

std::string GameFolderCp932()
{
    const std::string folder = GameFolderUtf8();
    std::string converted;
    return plat::Utf8ToCp932(folder, converted) ? converted : folder;
}

bool InitGame(const char* commandLine, int showCommand)
{
    s_bStartUpCancelled = false;
    timeBeginPeriod(1);
    srand(timeGetTime());
    g_nDataVersion = kDataVersion;
    g_bStripCR = 1;
    RegisterProgramHooks();

    if (!PrepareDataFolders()) return false;
    if (!LoadDatabases()) return false;
    if (!LoadSystemData()) return false;
    LoadSystemIni("System.ini", g_SystemIni, SystemIniKeys(g_SystemData));
    if (!TakeBootChoice()) return false;
    TakeCommandLineStage(commandLine);

    g_GameManager.m_nFps = 60;
    g_GameManager.m_dScaleX = 1.0;
    g_GameManager.m_dScaleY = 1.0;
    g_GameManager.m_nFadeSpeed = 10;
    for (cInput& input : g_Input) input.SetRepeat(18, 6);

    if (!InitScreen(showCommand)) return false;
    if (!InitFonts()) return false;

    for (cInput& input : g_Input) input.ResetButtonMasks();
    if (!ReadKeyConfig(g_DataPaths[DATAPATH_KEYCONFIG], g_KeyConfig)) DefaultKeyConfig(g_KeyConfig);
    if (!LoadOptions()) return false;
    if (g_OptionData.m_bBgm) g_Bgm.Init(1, g_BgmOggNames, g_BgmMidiNames, kBgmSlots);
    StartSound();
    if (!LoadRequiredRecord(g_WorldMapData, DATAPATH_WORLDMAP)) return false;
    if (!LoadRequiredRecord(g_CommonPalette, DATAPATH_COMMONPALETTE)) return false;
    EcLog("4");
    return StartStageGivenAtStart();
}

void UnInitGame()
{
    ReportFontCaches();
    timeEndPeriod(1);
    // The sound effects go first; the audio device closes once the BGM lets go of it too.
    DS_UnInit();
    g_Bgm.UnInit();
    g_GameManager.DeleteScenes();
    ReleaseFonts();
    if (g_bWindowed == 1) DDRelease();
    else DDUninit();
    UnhookKeyboardHooks();
    DestroyIcon(g_hIcon);
    g_hIcon = nullptr;
}
