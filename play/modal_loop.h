#pragma once
// The modal loop that a flow's wait, message, effect or picture command runs while the play
// frame waits, and the wait that loop runs by: the stage keeps one, the commands set it.
class cPlayScene;

// How the loop waits: mode, delay frames, key-wait flag, frames left and a counter.
struct WAITSTATE {
    int nMode = 0;
    int nDelay = 0;
    int bKeyWait = 0;
    int nFrames = 0;
    int nCounter = 0;

    void Set(int mode, int keyWait, int frames, int noDelay)
    {
        nMode = mode;
        bKeyWait = keyWait;
        nFrames = frames;
        nCounter = 0;
        nDelay = (keyWait != 0 && mode == 1 && noDelay == 0) ? 10 : 0;
    }
};

// The loops' thread bodies; the argument is the stage-play scene. PauseThreadProc waits as
// the scene's m_Wait says (0 when the quit request was already set, else 1); RankingThreadProc
// shows the rankings until decide (1).
unsigned PauseThreadProc(void* scene);
unsigned RankingThreadProc(void* scene);

// The starters: the loop runs on thPause or thRanking and the calling play frame waits until it
// has ended. Nothing starts once the program is closing, and a thread that cannot be made acts
// as a loop that has ended.
void RunModalLoop(cPlayScene& scene);
void RunRankingLoop(cPlayScene& scene);

// Tests of what a command hands the loop, rather than of the loop, put a function in the loops'
// place (the loop then runs no thread); it is told which loop it stands for. Null puts the loops
// back.
enum MODALLOOP { MODALLOOP_PAUSE, MODALLOOP_RANKING };
using MODALLOOPSTANDIN = void (*)(cPlayScene& scene, MODALLOOP loop);
void SetModalLoopStandIn(MODALLOOPSTANDIN standIn);

// True on the thread of a running loop.
bool OnModalLoopThread();
// The game thread's random state: on a loop's thread, the state the game thread had when it
// started the loop (it waits, unchanged, until the loop ends).
unsigned GameThreadRandomState();
