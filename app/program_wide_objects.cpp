// The program-wide objects, defined in this one unit so that they are built in this order
// before WinMain and destroyed in the reverse order at exit: across units C++ gives no order,
// and a later object may use an earlier one while it is built or torn down (a font leaves the
// font list; the thread objects find their threads ended).
#include "app/main_window.h"
#include "data/database.h"
#include "data/option_data.h"
#include "data/palette_data.h"
#include "data/ranking_data.h"
#include "data/replay_data.h"
#include "data/save_data.h"
#include "data/stage_data.h"
#include "data/system_data.h"
#include "data/world_map_data.h"
#include "graphics/font.h"
#include "graphics/font_digit_surfaces.h"
#include "graphics/stage_picture_surfaces.h"
#include "graphics/standard_surfaces.h"
#include "objects/database_working_tables.h"
#include "objects/hero.h"
#include "play/block_grid.h"
#include "play/menu_cursor.h"
#include "shell/input.h"
#include "shell/thread.h"
#include "shell/window.h"
#include "sound/bgm.h"
#include "sound/direct_sound.h"

// The windows and dialogs open now; handed to every dialog.
cWindowRegistry g_WindowRegistry;
cMainWindow g_MainWindow;

cThread thGame;
cThread thPause;
cThread thRanking;
cThread thStageLoad;

// The menus' cursor: one zeroed entry.
cMenuCursor g_MenuCursor;

// Player 1.
cSafeVector<cInput> g_Input(1);

// The pictures the stage, its picture commands, the message windows and the scenes make while
// they run, each beside the descriptions they are made from; all empty.
cSafeVector<DDSURFACEDATA> g_CharaSurface;
cSafeVector<SURFACEINFO> g_CharaSurfaceInfo;
cSafeVector<DDSURFACEDATA> g_SwordSurface;
cSafeVector<SURFACEINFO> g_SwordSurfaceInfo;
cSafeVector<DDSURFACEDATA> g_EffectSurface;
cSafeVector<SURFACEINFO> g_EffectSurfaceInfo;
cSafeList<DDSURFACEDATA> g_PictureSurface;
cSafeList<SURFACEINFO> g_PictureSurfaceInfo;
cSafeList<DDSURFACEDATA> Off_Msg;
cSafeList<SURFACEINFO> Off_MsgInfo;
cSafeVector<DDSURFACEDATA> g_SceneSurface;
cSafeVector<SURFACEINFO> g_SceneSurfaceInfo;

DDSURFACEDATA g_StdSurface[kStdSurfaceCount] = {};

// Built before the fonts so that it outlives them: a font leaves the list when destroyed.
std::list<cFont*> g_FontList;
cFont g_Font[kFontCount];

DDSURFACEDATA g_FontDigitSurface[kFontDigitSurfaceCount] = {};

// The standard surfaces: file ("E" an empty surface of the given size), then transparent,
// memory type, Direct3D memory type, mirror, palette map, optional, mirror cell width and
// height, width, height.
SURFACEINFO g_SurfaceInfo[kStdSurfaceCount] = {
    {"bmp\\plt\\Palette.bmp", 0, 1, 0, 0, 0, 0, 0, 0, 0, 0},  // 0
    {"bmp\\Debug.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 1
    {"bmp\\Block.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 2
    {"bmp\\Block.bmp", 1, 1, 0, 1, 0, 0, 0, 0, 0, 0},  // 3
    {"bmp\\Character1.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 4
    {"bmp\\Character1.bmp", 1, 0, 0, 1, 0, 0, 32, 0, 0, 0},  // 5
    {"bmp\\Character2.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},  // 6
    {"bmp\\Character2.bmp", 1, 0, 0, 1, 0, 1, 32, 0, 0, 0},  // 7
    {"bmp\\Character3.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},  // 8
    {"bmp\\Character3.bmp", 1, 0, 0, 1, 0, 1, 32, 0, 0, 0},  // 9
    {"bmp\\Character4.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},  // 10
    {"bmp\\Character4.bmp", 1, 0, 0, 1, 0, 1, 32, 0, 0, 0},  // 11
    {"bmp\\Character5.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},  // 12
    {"bmp\\Character5.bmp", 1, 0, 0, 1, 0, 1, 32, 0, 0, 0},  // 13
    {"bmp\\Character6.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},  // 14
    {"bmp\\Character6.bmp", 1, 0, 0, 1, 0, 1, 32, 0, 0, 0},  // 15
    {"bmp\\Character7.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},  // 16
    {"bmp\\Character7.bmp", 1, 0, 0, 1, 0, 1, 32, 0, 0, 0},  // 17
    {"bmp\\Character8.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},  // 18
    {"bmp\\Character8.bmp", 1, 0, 0, 1, 0, 1, 32, 0, 0, 0},  // 19
    {"bmp\\Shot.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 20
    {"bmp\\Shot.bmp", 1, 0, 0, 1, 0, 0, 16, 0, 0, 0},  // 21
    {"bmp\\Character1.bmp", 1, 1, 0, 1, 0, 0, 0, 0, 0, 0},  // 22
    {"bmp\\Character1.bmp", 1, 1, 0, 1, 0, 0, 32, 0, 0, 0},  // 23
    {"bmp\\Character2.bmp", 1, 1, 0, 1, 0, 1, 0, 0, 0, 0},  // 24
    {"bmp\\Character2.bmp", 1, 1, 0, 1, 0, 1, 32, 0, 0, 0},  // 25
    {"bmp\\Character3.bmp", 1, 1, 0, 1, 0, 1, 0, 0, 0, 0},  // 26
    {"bmp\\Character3.bmp", 1, 1, 0, 1, 0, 1, 32, 0, 0, 0},  // 27
    {"bmp\\Character4.bmp", 1, 1, 0, 1, 0, 1, 0, 0, 0, 0},  // 28
    {"bmp\\Character4.bmp", 1, 1, 0, 1, 0, 1, 32, 0, 0, 0},  // 29
    {"bmp\\Character5.bmp", 1, 1, 0, 1, 0, 1, 0, 0, 0, 0},  // 30
    {"bmp\\Character5.bmp", 1, 1, 0, 1, 0, 1, 32, 0, 0, 0},  // 31
    {"bmp\\Character6.bmp", 1, 1, 0, 1, 0, 1, 0, 0, 0, 0},  // 32
    {"bmp\\Character6.bmp", 1, 1, 0, 1, 0, 1, 32, 0, 0, 0},  // 33
    {"bmp\\Character7.bmp", 1, 1, 0, 1, 0, 1, 0, 0, 0, 0},  // 34
    {"bmp\\Character7.bmp", 1, 1, 0, 1, 0, 1, 32, 0, 0, 0},  // 35
    {"bmp\\Character8.bmp", 1, 1, 0, 1, 0, 1, 0, 0, 0, 0},  // 36
    {"bmp\\Character8.bmp", 1, 1, 0, 1, 0, 1, 32, 0, 0, 0},  // 37
    {"bmp\\Shot.bmp", 1, 1, 0, 1, 0, 0, 0, 0, 0, 0},  // 38
    {"bmp\\Shot.bmp", 1, 1, 0, 1, 0, 0, 16, 0, 0, 0},  // 39
    {"bmp\\Item.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 40
    {"bmp\\Item.bmp", 1, 1, 0, 1, 0, 0, 0, 0, 0, 0},  // 41
    {"bmp\\Item_Mini.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 42
    {"bmp\\Mark.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 43
    {"bmp\\Mark.bmp", 1, 1, 0, 1, 0, 0, 0, 0, 0, 0},  // 44
    {"bmp\\Window.bmp", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 45
    {"bmp\\StatusWindow.bmp", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 46
    {"bmp\\Title.bmp", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 47
    {"bmp\\GameMode.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},  // 48
    {"bmp\\Accessory.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 49
    {"bmp\\Symbol.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 50
    {"bmp\\Word.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 51
    {"bmp\\WorldMapChip.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 52
    {"bmp\\WorldEvent.bmp", 1, 1, 0, 0, 0, 0, 0, 0, 0, 0},  // 53
    {"bmp\\WorldBack.bmp", 0, 1, 0, 0, 0, 1, 0, 0, 0, 0},  // 54
    {"背景その1.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},  // 55
    {"背景その2.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},  // 56
    {"背景その3.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},  // 57
    {"背景その4.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},  // 58
    {"背景その5.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},  // 59
    {"背景その6.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},  // 60
    {"背景その7.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},  // 61
    {"背景その8.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},  // 62
    {"E", 1, 1, 0, 0, 0, 0, 0, 0, 256, 960},  // 63
    {"E", 1, 1, 0, 0, 0, 0, 0, 0, 256, 960},  // 64
    {"E", 1, 1, 0, 0, 0, 0, 0, 0, 640, 480},  // 65
    {"E", 0, 1, 0, 0, 0, 0, 0, 0, 640, 480},  // 66
    {"E", 1, 0, 0, 0, 0, 0, 0, 0, 640, 480},  // 67
    {"E", 1, 1, 0, 1, 0, 0, 0, 0, 640, 480},  // 68
    {"E", 1, 0, 2, 0, 0, 0, 0, 0, 1024, 1024},  // 69
    {"E", 1, 1, 1, 0, 0, 0, 0, 0, 1024, 1024},  // 70
};

// The three fonts: a small one, the one of menus and windows, and a large one. Start-up puts
// the game's face into each and resolves a cache setting of 2. Fields: face, typeface width
// and height, cell width and height, colour, window surface, frame width and colour, letter
// surface, glyph cache.
FONTINFO g_FontInfo[kFontCount] = {
    {"ＭＳ ゴシック", 0, 9, 10, 10, 241, 45, 1, 240, 50, 2},
    {"ＭＳ ゴシック", 0, 16, 16, 16, 241, 45, 1, 240, 50, 2},
    {"ＭＳ ゴシック", 0, 30, 32, 32, 241, 45, 1, 240, 50, 0},
};

// Each font's digits: 10 cells of the font's cell size, transparent.
SURFACEINFO g_FontDigitSurfaceInfo[kFontDigitSurfaceCount] = {{"", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                                                              {"", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                                                              {"", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}};

// Filled by start-up: entries 0..16 the built-in sounds, entry k + 16 Sound database entry k.
cSafeVector<DSSOUNDDATA> g_SoundTable;
cSafeVector<DSSOUNDFILE> g_SoundFileTable;

cBgm g_Bgm;

cPaletteData g_CommonPalette;
cSystemData g_SystemData;
cDatabase g_Database;

cSafeVector<cSafeVector<ANIMEFRAME>> g_AnimePatterns;
cSafeVector<cSafeVector<ANIMEFRAME>> g_EffectPatterns;
cSafeVector<cEffectPlayback> g_ScrEffectTemplates;
cSafeVector<cEffectPlayback> g_ScrEffectTemplatesReverse;
cSafeVector<cEffectPlayback> g_CharaEffectTemplates;
cSafeVector<cEffectPlayback> g_CharaEffectTemplatesReverse;

cReplayData g_ReplayData;
cReplayData g_PrevReplayData;

// The stage's run-time containers, empty until a stage is set up: the heroes (element 0 is
// player 1) and the block grid.
cSafeVector<cHero> Player;
cBlockGrid g_BlockGrid;

cStageData g_StageData;
cStageData g_StageBackup;

cWorldMapData g_WorldMapData;

cSaveData g_SaveData;
cSaveData g_SaveAtStageStart;
cSaveData g_SaveAtPrevStageStart;

cOptionData g_OptionData;

cSafeVector<cSaveSlotInfo> g_SaveSlots(kSaveSlots);

cRankingData g_RankingData;
