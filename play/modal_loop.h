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

// The loop itself, which flows wait in.
void RunModalLoop(cPlayScene& scene);
