#pragma once
// The stage-play scene (scene type 4). Stage play itself is not built yet: the scene keeps the
// members the window thread and the dialogs touch, and its frame says it is not built.
#include <atomic>
#include <string>

#include "play/scene.h"
#include "play/scroll_axis.h"
#include "shell/safe_container.h"

class cChara;
class cRunningFlow;
class cFlowCommandEntry;

class cPlayScene : public cScene {
public:
    ~cPlayScene() override;
    void Run() override;

    // Set to 1 by the window thread when WM_CLOSE comes while thPause runs; the next play
    // frame then posts WM_CLOSE itself.
    std::atomic<int> m_nQuitRequest{0};
    // The published frames per second, written by the game manager every frame.
    int m_nFrameRate = 0;
    // The ranking name that the name-entry dialog edits (at most 3 characters).
    std::string m_strRankingName;
    // The camera: game objects clamp and test themselves against these.
    cScrollAxis m_ScrollX;
    cScrollAxis m_ScrollY;
    // The chara, flow and command being run; command handlers read them. A chara or flow that
    // goes away clears the ones that point at it.
    cChara* m_lpCurChara = nullptr;
    cRunningFlow* m_lpCurFlow = nullptr;
    cFlowCommandEntry* m_lpCurEntry = nullptr;
    // Set by a chara's frame when it must be handled after its update.
    int m_bCharaResult = 0;

    // The stage values that expressions and status operations read and write.
    int m_nTimeLeft = 0;               // seconds, 0 to 999
    int m_bNoTimeLimit = 0;            // the time is shown as 999 and never counted down
    // Set when a flow leaves a chara other than the one running it with HP 0 or less.
    int m_bStatusChanged = 0;
    cSafeVector<int> m_StageVars;      // S0..S254, sized by the set-up
};

// The stage-play scene while it exists, null otherwise. Set by the game thread; the window
// thread reads it when WM_CLOSE comes during the stage's modal loop.
extern std::atomic<cPlayScene*> g_lpPlayScene;
