#pragma once
// What the stage keeps for replays: the seed of the current attempt, which a recording stores
// and a playback restores, and the play frame's input recorded or played back.
#include <string>

class cInput;

class cReplayState {
public:
    // Player 1's input of one play frame into the recording, or from the replay played back.
    void Record(cInput& input);
    void Play(cInput& input);
    // A retry during playback starts again from the stage file at `path`.
    void ReloadStage(std::string path);

    // The random seed of the current attempt: the set-up seeds the generator with it.
    int m_nSeed = 0;
};

// F1 / F2 save the replay of this or the previous attempt: true when they acted.
bool CheckReplaySaveKeys();

// The title's replay item: the replay-file dialog on the window thread; 1 when a replay was
// loaded.
int RequestReplayLoad();
