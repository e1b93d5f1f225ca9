#pragma once
// A draw outside the play frame (the pause state, READY, the fade-in, a modal loop) must leave
// the game as it found it, so that an attempt replays the same whatever the viewer's timing:
// while a sandbox lives on a thread, appearance conditions write no latches, and when it ends
// the thread's random generator is put back.

class cDrawSandbox {
public:
    cDrawSandbox();
    ~cDrawSandbox();
    cDrawSandbox(const cDrawSandbox&) = delete;
    cDrawSandbox& operator=(const cDrawSandbox&) = delete;

private:
    unsigned int m_nSavedSeed;
};

// True while a sandbox lives on the calling thread.
bool InDrawSandbox();
