#include "app/start_up.h"

#include "app/main_window.h"
#include "app/scene_factory.h"
#include "data/data_version.h"
#include "platform/random.h"
#include "platform/timer.h"
#include "platform/window.h"
#include "play/game_manager.h"
#include "shell/globals.h"
#include "shell/input.h"
#include "shell/key_config.h"
#include "shell/not_built_yet.h"
#include "sound/bgm.h"
#include "sound/direct_sound.h"

bool InitGame(const char*, int showCommand)
{
    timeBeginPeriod(1);
    srand(timeGetTime());
    g_nDataVersion = 692;
    g_bStripCR = 1;
    SetSceneFactory(MakeScene);
    // The game's data files, System.ini and the boot choice, the graphics device, palette,
    // fonts, options, BGM, the sound table and a stage named at start come with the start-up
    // that loads a game folder.
    LogNotBuiltYet("InitGame: data files, System.ini, graphics, fonts, options, sound table, stage at start");

    g_GameManager.m_nFps = 60;
    g_GameManager.m_dScaleX = 1.0;
    g_GameManager.m_dScaleY = 1.0;
    g_GameManager.m_nFadeSpeed = 10;
    for (cInput& input : g_Input) input.SetRepeat(18, 6);

    g_hWnd.store(g_MainWindow.m_hWnd);
    ShowWindow(g_MainWindow.m_hWnd, showCommand);

    for (cInput& input : g_Input) input.ResetButtonMasks();
    if (!ReadKeyConfig("user_data\\KeyConfig.dat", g_KeyConfig)) DefaultKeyConfig(g_KeyConfig);
    return true;
}

void UnInitGame()
{
    timeEndPeriod(1);
    DS_UnInit();
    g_Bgm.UnInit();
    g_GameManager.DeleteScenes();
    LogNotBuiltYet("UnInitGame: fonts, surfaces, graphics device, keyboard hooks");
}
