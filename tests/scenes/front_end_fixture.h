#pragma once
// The front-end scenes on the demo game: its folder as the working folder, its System data and
// world map loaded, Direct3D at 32 bits over the standard picture table with the demo palette,
// the program's fonts, and a fade that ends in one step. Sound and BGM requests are recorded;
// boxes are answered and recorded; a scene runs frame by frame with fresh presses. Every
// program-wide value a test may change is put back.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/start_up_fonts.h"
#include "data/ranking_data.h"
#include "data/save_data.h"
#include "data/stage_data.h"
#include "data/system_data.h"
#include "data/world_map_data.h"
#include "graphics/device.h"
#include "graphics/palette.h"
#include "graphics/stage_picture_surfaces.h"
#include "graphics/standard_surfaces.h"
#include "graphics/surface.h"
#include "platform/os/files.h"
#include "platform/os/message_box.h"
#include "platform/os/messages.h"
#include "play/game_manager.h"
#include "play/menu_cursor.h"
#include "shell/game_requests.h"
#include "shell/input.h"
#include "shell/shared_flags.h"
#include "tests/support/demo_game.h"
#include "tests/support/restore.h"
#include "tests/support/temp_folder.h"

namespace qbtest {

// One request a scene sent to the window thread.
struct FRONTREQUEST {
    UINT msg;
    int wParam;
    int lParam;
    bool operator==(const FRONTREQUEST&) const = default;
};

inline std::vector<FRONTREQUEST> g_FrontRequests;
inline std::vector<std::string> g_FrontBoxes;

inline void RecordFrontRequest(UINT msg, WPARAM wParam, LPARAM lParam)
{
    g_FrontRequests.push_back({msg, static_cast<int>(wParam), static_cast<int>(lParam)});
}

inline int RecordFrontBox(HWND, const char* text, const char*, UINT)
{
    g_FrontBoxes.push_back(text);
    return IDOK;
}

// The game manager's values a scene reads and writes.
struct MANAGERVALUES {
    int scene, next, prev, gameMode, playMode, ranking, fadeSpeed, bgm, selectRow, selectTop;
    static MANAGERVALUES Take()
    {
        const cGameManager& m = g_GameManager;
        return {m.m_nScene, m.m_nNextScene, m.m_nPrevScene, m.m_nGameMode, m.m_nPlayMode, m.m_bRanking, m.m_nFadeSpeed,
                m.m_nBgm, m.m_nStageSelectRow, m.m_nStageSelectTop};
    }
    void Put() const
    {
        cGameManager& m = g_GameManager;
        m.m_nScene = scene;
        m.m_nNextScene = next;
        m.m_nPrevScene = prev;
        m.m_nGameMode = gameMode;
        m.m_nPlayMode = playMode;
        m.m_bRanking = ranking;
        m.m_nFadeSpeed = fadeSpeed;
        m.m_nBgm = bgm;
        m.m_nStageSelectRow = selectRow;
        m.m_nStageSelectTop = selectTop;
    }
};

class cFrontEndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::SetBoxesShownBySdl(false);
        plat::SetBoxPresenter(RecordFrontBox);
        g_FrontRequests.clear();
        g_FrontBoxes.clear();
        SetRequestObserver(RecordFrontRequest);
        ASSERT_TRUE(WriteDemoGame(m_Folder.Path()));
        m_Folder.ChangeInto();
        // The folders the start-up makes.
        for (const char* folder : {"user_data/story", "user_data/challenge", "user_data/rpl4"})
            std::filesystem::create_directories(m_Folder.Path() / folder);
        plat::FlushPathCache();
        ASSERT_TRUE(g_SystemData.Load("data\\System.dat"));
        ASSERT_TRUE(g_WorldMapData.Load("data\\WorldMap.dat"));
        ASSERT_TRUE(DDInit(TRUE, nullptr, 640, 480, 32, FALSE, 1, 1, 60, FALSE, g_StdSurface, g_SurfaceInfo,
                           kStdSurfaceCount, 0));
        ASSERT_TRUE(DDLoadPaletteFromFile(g_Palette, "bmp\\plt\\Palette.bmp"));
        DDSetTransmitFromFile("bmp\\plt\\Palette.bmp");
        std::memcpy(g_DisplayPalette, g_Palette, sizeof g_Palette);
        const int fontPictures[] = {45, 50};
        ASSERT_TRUE(DDLoadSurfaces(g_StdSurface, fontPictures, 2));
        ASSERT_TRUE(InitFonts());
        g_GameManager.m_nFadeSpeed = 255;
        g_GameManager.m_nBgm = 0;
        g_GameManager.m_nGameMode = GAMEMODE_NEWSTORY;
        g_GameManager.m_nPlayMode = PLAYMODE_STORY;
        g_SaveData.Reset();
        g_MenuCursor.Reset();
        TakeCloses();
    }
    void TearDown() override
    {
        TakeCloses();
        ReleaseFonts();
        DDReleaseSurfaceVector(&g_SceneSurface);
        g_SceneSurface.clear();
        g_SceneSurfaceInfo.clear();
        for (DDSURFACEDATA& sd : g_StdSurface) {
            DDReleaseSurface(&sd);
            ClearSurfaceData(&sd);
        }
        DDUninit();
        SetRequestObserver(nullptr);
        plat::SetBoxPresenter(nullptr);
        m_Manager.Put();
        g_Input.At(0) = m_Input;
        std::memcpy(g_SurfaceInfo, m_SurfaceInfo, sizeof m_SurfaceInfo);
    }

    // One frame of the scene with these buttons and directions freshly pressed.
    static void Frame(cScene& scene, WORD buttons = 0, WORD direction = 0)
    {
        cInput& input = g_Input.At(0);
        input = cInput{};
        input.m_wButton = buttons;
        input.m_wDirection = direction;
        scene.Run();
    }
    // Frames without input until the state changes from `state` (at most `bound`).
    static void RunWhile(cScene& scene, int state, int bound = 10)
    {
        for (int i = 0; i < bound && scene.m_nState == state; ++i) Frame(scene);
    }
    // Frames without input until the game manager's current scene changes (at most `bound`).
    static void RunUntilHandedOver(cScene& scene, int bound = 300)
    {
        const int current = g_GameManager.m_nScene;
        for (int i = 0; i < bound && g_GameManager.m_nScene == current; ++i) Frame(scene);
    }
    // How many close requests wait in this thread's queue (they are taken).
    static int TakeCloses()
    {
        int closes = 0;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE)) ++closes;
        return closes;
    }
    static void ClearRequests() { g_FrontRequests.clear(); }
    static const std::vector<std::string>& Boxes() { return g_FrontBoxes; }
    static std::vector<int> Sounds()
    {
        std::vector<int> sounds;
        for (const FRONTREQUEST& r : g_FrontRequests)
            if (r.msg == WM_GAME_PLAYSE) sounds.push_back(r.wParam);
        return sounds;
    }
    static std::vector<int> BgmScreens()
    {
        std::vector<int> screens;
        for (const FRONTREQUEST& r : g_FrontRequests)
            if (r.msg == WM_GAME_PLAYBGM) screens.push_back(r.wParam);
        return screens;
    }

    cTempFolder m_Folder;
    cRestore<cSystemData> m_System{g_SystemData};
    cRestore<cWorldMapData> m_WorldMap{g_WorldMapData};
    cRestore<cSaveData> m_Save{g_SaveData};
    cRestore<cStageData> m_Stage{g_StageData};
    cRestore<cStageData> m_Backup{g_StageBackup};
    cRestore<cRankingData> m_Ranking{g_RankingData};
    cRestore<cMenuCursor> m_Cursor{g_MenuCursor};
    cRestore<cSafeVector<cSaveSlotInfo>> m_Slots{g_SaveSlots};
    cRestore<std::atomic<int>> m_TestPlay{g_bTestPlay};
    MANAGERVALUES m_Manager = MANAGERVALUES::Take();
    cInput m_Input = g_Input.At(0);
    SURFACEINFO m_SurfaceInfo[kStdSurfaceCount] = {};
    bool m_bInfoSaved = (std::memcpy(m_SurfaceInfo, g_SurfaceInfo, sizeof m_SurfaceInfo), true);
};

}  // namespace qbtest
