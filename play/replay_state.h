#pragma once
// What the stage keeps for replays: the seed of the current attempt, which a recording stores
// and a playback restores, and the play frame's input recorded or played back. The save and
// load of replay files run on the window thread while the game thread waits for them.
#include <string>

#include "platform/os/windows_types.h"

class cInput;
class cStageData;
class cSaveData;

class cReplayState {
public:
    // Player 1's input of one play frame into the recording.
    void Record(const cInput& input);
    // The words of the next frame of the replay played back: 0, or 1 when it has ended.
    int Play(cInput& input);
    // The seed of a new attempt (the set-up's step before anything random). Playback takes the
    // replay's seed from its start; a recording keeps the finished attempt as the previous one
    // and starts a new one with the clock as its seed, keeping the progress record and the
    // hero's placement as this attempt begins with them.
    void BeginAttempt(bool replaying, const cStageData& stage, const cSaveData& save);
    // A replay played again reads its file again from path: false (after the box) when it
    // cannot, and the scene then goes back to the title.
    bool ReloadStage(std::string path);

    // The random seed of the current attempt: the set-up seeds the generator with it.
    int m_nSeed = 0;
    // The replay's file could not be read again: the stage ends at its next READY frame.
    int m_bReplayLost = 0;
};

// F1 / F2 save the replay of this or the previous attempt: true when a save request was made
// (the caller ends its frame or pass).
bool CheckReplaySaveKeys();
// Frames the refusal sound of an empty attempt waits before it sounds again.
constexpr int kReplaySaveCoolDown = 60;
// The cool-down back at 0, as the program starts with it.
void ResetReplaySaveCoolDown();

// The title's replay item: the replay-file dialog on the window thread; 1 when a replay was
// loaded.
int RequestReplayLoad();

// The window thread's side of the requests. Writes the current (0) or previous (1) attempt to
// path: 1, or 0 after a box and a report line (play goes on; an old file is kept).
int SaveAttemptReplay(const char* path, int previous);
// Loads path for playback into the replay, the stage records and the progress record: 1, or
// 0 after a box, with everything as it was.
int LoadReplayForPlay(const char* path);
